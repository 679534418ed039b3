#!/usr/bin/env python3
"""Makes the pictures and PDF guides delivered with the desktop program.

Writes logo.gif, logobig.gif, Install.pdf, Basic.pdf, Advanced.pdf and the
Reports window's helps downhelp.pdf, listhelp.pdf and overhelp.pdf into
data/delivered/ (or the folder given as the first argument). The help page
Dorodure.html and the helper serial-setup.sh are kept as written files beside
them. The output is byte-for-byte the same on every run, so the digests the
program checks at start-up stay valid until the content changes; after a
change, run this script and update the digests in src/app/startup_sequence.cpp
(tests/app/startup_files_test.cpp says when they differ).
"""
import os
import sys

# --- Pictures -------------------------------------------------------------

# 5 x 7 capitals for the logo lettering.
GLYPHS = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "G": ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    " ": ["00000"] * 7,
}

PALETTE = [
    (0x0B, 0x2A, 0x5B),  # 0 night blue
    (0xFF, 0xFF, 0xFF),  # 1 white
    (0xF2, 0xB7, 0x05),  # 2 amber
    (0x3C, 0x6E, 0xB4),  # 3 light blue
    (0x22, 0xA0, 0x4B),  # 4 green
    (0x1B, 0x1B, 0x1B),  # 5 charcoal
    (0xD0, 0xD8, 0xE8),  # 6 pale
    (0x00, 0x00, 0x00),  # 7 black
]


class Canvas:
    def __init__(self, w, h, colour=0):
        self.w, self.h = w, h
        self.px = [[colour] * w for _ in range(h)]

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.px[y]
            for x in range(max(0, x0), min(self.w, x1)):
                row[x] = c

    def disc(self, cx, cy, r, c):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                if 0 <= x < self.w and 0 <= y < self.h and (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.px[y][x] = c

    def text(self, x, y, s, scale, c):
        for ch in s:
            g = GLYPHS[ch]
            for gy, line in enumerate(g):
                for gx, bit in enumerate(line):
                    if bit == "1":
                        self.rect(x + gx * scale, y + gy * scale,
                                  x + (gx + 1) * scale, y + (gy + 1) * scale, c)
            x += 6 * scale
        return x

    def line(self, x0, y0, x1, y1, width, c):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i // steps
            y = y0 + (y1 - y0) * i // steps
            self.disc(x, y, width, c)


def text_width(s, scale):
    return len(s) * 6 * scale - scale


def draw_logo(w, h):
    """A baton touching a checkpoint button, with the name beneath."""
    c = Canvas(w, h, 0)
    u = max(1, w // 160)
    c.rect(0, h - 4 * u, w, h, 2)
    # The checkpoint button: a grey disc in a ring.
    bx, by, br = w // 5, h * 2 // 5, h // 4
    c.disc(bx, by, br + 2 * u, 6)
    c.disc(bx, by, br, 5)
    c.disc(bx, by, br // 3, 3)
    # The baton: a slanted bar ending on the button, amber tip.
    c.line(bx + br * 3 // 2, by - br * 3 // 2, bx + br // 2, by - br // 2, 4 * u, 1)
    c.disc(bx + br // 2, by - br // 2, 5 * u, 2)
    # A tick for the clocking.
    tx, ty = w * 3 // 5, h * 3 // 10
    c.line(tx, ty + 8 * u, tx + 6 * u, ty + 14 * u, 2 * u, 4)
    c.line(tx + 6 * u, ty + 14 * u, tx + 18 * u, ty, 2 * u, 4)
    name = "DORODURE"
    scale = max(1, (w - 8 * u) // (6 * len(name) * 1) // 1)
    scale = min(scale, h // 20)
    x = (w - text_width(name, scale)) // 2
    c.text(x, h - 4 * u - 9 * scale, name, scale, 1)
    sub = "GUARD TOUR"
    s2 = max(1, scale // 2)
    c.text(w - text_width(sub, s2) - 4 * u, 4 * u, sub, s2, 3)
    return c


def lzw(indices, min_size):
    clear, end = 1 << min_size, (1 << min_size) + 1
    size = min_size + 1
    table = {(i,): i for i in range(clear)}
    nxt = end + 1
    out, acc, nbits = bytearray(), 0, 0

    def put(code):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    put(clear)
    cur = ()
    for p in indices:
        key = cur + (p,)
        if key in table:
            cur = key
            continue
        put(table[cur])
        if nxt < 4096:
            table[key] = nxt
            nxt += 1
            if nxt > (1 << size) and size < 12:
                size += 1
        else:
            put(clear)
            table = {(i,): i for i in range(clear)}
            nxt, size = end + 1, min_size + 1
        cur = (p,)
    if cur:
        put(table[cur])
    put(end)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif(canvas):
    w, h = canvas.w, canvas.h
    pal = PALETTE + [(0, 0, 0)] * (256 - len(PALETTE))
    data = bytearray(b"GIF89a")
    data += w.to_bytes(2, "little") + h.to_bytes(2, "little") + bytes([0xF7, 0, 0])
    for r, g, b in pal:
        data += bytes([r, g, b])
    data += b"," + (0).to_bytes(4, "little") + w.to_bytes(2, "little") + h.to_bytes(2, "little")
    data += b"\x00\x08"
    pixels = [p for row in canvas.px for p in row]
    stream = lzw(pixels, 8)
    for i in range(0, len(stream), 255):
        chunk = stream[i:i + 255]
        data += bytes([len(chunk)]) + chunk
    data += b"\x00;"
    return bytes(data)


# --- PDF guides -------------------------------------------------------------

def pdf_escape(s):
    return s.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")


def wrap(text, width):
    words, lines, cur = text.split(), [], ""
    for w in words:
        if cur and len(cur) + 1 + len(w) > width:
            lines.append(cur)
            cur = w
        else:
            cur = (cur + " " + w).strip()
    if cur:
        lines.append(cur)
    return lines or [""]


def layout(title, sections):
    """Turns headed paragraphs into pages of (font, size, x, text) lines."""
    pages, page, y = [], [], 780

    def emit(font, size, text, gap):
        nonlocal page, y
        if y - gap < 60:
            pages.append(page)
            page, y = [], 780
        y -= gap
        page.append((font, size, y, text))

    emit("F2", 20, title, 0)
    y -= 10
    for head, paragraphs in sections:
        emit("F2", 13, head, 26)
        for p in paragraphs:
            bullet = p.startswith("- ")
            body = p[2:] if bullet else p
            for i, line in enumerate(wrap(body, 88 if not bullet else 84)):
                prefix = ("-  " if i == 0 else "   ") if bullet else ""
                emit("F1", 10.5, prefix + line, 14)
            y -= 5
    pages.append(page)
    return pages


def pdf(title, sections):
    pages = layout(title, sections)
    objs = []
    objs.append("<< /Type /Catalog /Pages 2 0 R >>")
    kids = " ".join(f"{5 + 2 * i} 0 R" for i in range(len(pages)))
    objs.append(f"<< /Type /Pages /Kids [{kids}] /Count {len(pages)} >>")
    objs.append("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>")
    objs.append("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>")
    for n, page in enumerate(pages, 1):
        ops = ["0.04 0.16 0.36 RG 2 w 50 800 m 545 800 l S"]
        for font, size, y, text in page:
            ops.append(f"BT /{font} {size} Tf 56 {y} Td ({pdf_escape(text)}) Tj ET")
        ops.append(f"BT /F1 8 Tf 56 40 Td ({pdf_escape(title)} - page {n} of {len(pages)}) Tj ET")
        stream = "\n".join(ops)
        objs.append(f"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] "
                    f"/Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> "
                    f"/Contents {6 + 2 * (n - 1)} 0 R >>")
        objs.append(f"<< /Length {len(stream.encode('latin-1'))} >>\nstream\n{stream}\nendstream")
    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for i, o in enumerate(objs, 1):
        offsets.append(len(out))
        out += f"{i} 0 obj\n{o}\nendobj\n".encode("latin-1")
    xref = len(out)
    out += f"xref\n0 {len(objs) + 1}\n0000000000 65535 f \n".encode()
    for off in offsets:
        out += f"{off:010d} 00000 n \n".encode()
    out += (f"trailer\n<< /Size {len(objs) + 1} /Root 1 0 R "
            f"/Info << /Title ({pdf_escape(title)}) /Producer (Dorodure) >> >>\n"
            f"startxref\n{xref}\n%%EOF\n").encode("latin-1")
    return bytes(out)



# --- Guide texts --------------------------------------------------------------

GUIDES = {
    "Install.pdf": ("Dorodure uploader - Installation", [
        ("What you need", [
            "- A PC running Debian 12, Ubuntu 22.04 or newer (64-bit) with a free USB port or RS-232 "
            "port, or a network connection to a serial device server.",
            "- The Vuzozov2 upload station with its serial cable or USB serial adapter.",
            "- The package dorodure_<version>_amd64.deb.",
        ]),
        ("Installing the package", [
            "Install it as administrator: sudo apt install ./dorodure_1.04-1_amd64.deb. apt fetches "
            "what the program needs (the Qt 6 libraries, the PDF library and xdg-utils, which opens "
            "reports in your PDF viewer).",
            "The package puts the entry 'Dorodure uploader' into the applications menu, the launcher "
            "/usr/bin/dorodure, the program and its delivered files into /usr/lib/dorodure, the "
            "command-line tool /usr/bin/dorodure-cli, and a udev rule that keeps ModemManager away "
            "from USB serial adapters.",
            "To upgrade, install the newer package the same way. sudo apt remove dorodure removes the "
            "program; your data folder is never removed.",
        ]),
        ("The data folder", [
            "Start 'Dorodure uploader' from the applications menu, or type dorodure in a terminal. On "
            "the first start the launcher creates your data folder ~/Dorodure, puts the delivered "
            "files there (the help documents, the logos, Dorodure.html, serial-setup.sh, English.lng "
            "and a link to the program) and starts the program in it. The program checks these files "
            "at every start; the launcher puts back any that are missing or changed, so do not edit "
            "them.",
            "Sites, day files, reports, the activity logs and the settings file Dorodure.ini all live "
            "in the data folder; an upgrade never touches them. To keep the data elsewhere, write the "
            "folder's name on the first line of ~/.config/dorodure/data-folder, or set DORODURE_DATA.",
            "Back up the whole data folder regularly, for example with tar -czf "
            "~/dorodure-backup.tar.gz -C ~ Dorodure while no baton is on the station.",
        ]),
        ("Permission to use the serial port", [
            "Linux needs no driver for the usual USB serial adapters, but your user must be allowed to "
            "open serial ports. On Debian and Ubuntu this means membership of the group 'dialout'.",
            "Run the delivered helper in a terminal: sh ~/Dorodure/serial-setup.sh. It lists the "
            "serial ports it finds, tells you whether you may open them and, when you agree, adds "
            "your user to the group (it asks for the administrator password through sudo). Log out "
            "and in again afterwards. When a port exists but may not be opened, the program's status "
            "line and the About window's system check say so.",
            "Where ModemManager is installed it probes new USB serial adapters and holds them open "
            "for a while. The package keeps it away from the common adapters; for any other adapter "
            "plugged in, serial-setup.sh offers a rule that does the same "
            "(/etc/udev/rules.d/61-dorodure-station-local.rules).",
        ]),
        ("Connecting the upload station", [
            "Plug the station into the PC before starting the program. The program searches the ports "
            "in the order COM1, COM2, ... and takes the first one where the station answers; the "
            "status line shows 'Checking Port' with each number while it searches. The port found is "
            "remembered in Dorodure.ini (CommPort) for the next start.",
            "- COM1 to COM4 are the built-in ports /dev/ttyS0 to /dev/ttyS3.",
            "- COM5 to COM68 are USB serial adapters /dev/ttyUSB0 to /dev/ttyUSB63.",
            "- COM69 to COM132 are modem-class adapters /dev/ttyACM0 to /dev/ttyACM63.",
            "- COM133 to COM160 are /dev/ttyS4 to /dev/ttyS31, COM161 to COM192 Bluetooth serial "
            "ports /dev/rfcomm0 to /dev/rfcomm31; COM193 and up are free for your own devices.",
            "A USB adapter's number can change when other adapters are plugged in. To tie a number to "
            "the station's adapter itself, press # in the main window: Port Setup lists the serial "
            "devices found, stable /dev/serial/by-id names first, with description, maker and USB ids. "
            "Pick the station's adapter, press Ok and restart the program.",
        ]),
        ("A station on a serial device server", [
            "The station can hang on another machine and be reached over the network (RFC 2217, for "
            "example ser2net with 'accepter: telnet(rfc2217),tcp,4001'). Map a port number to it in "
            "Dorodure.ini with the program closed: CommPort=200 and "
            "Port200=rfc2217://stationbox.example.lan:4001.",
        ]),
        ("First start", [
            "When the data folder has no site yet, the program asks for the name of the first site "
            "(for example the name of the building guarded) and creates its folder. Then the main "
            "window shows 'Looking for Dorodure...' with a blinking light: the program is ready for "
            "the first baton.",
            "To try the program without hardware, start it with dorodure --demo: a simulated station "
            "with a demo baton is used.",
        ]),
    ]),
    "Basic.pdf": ("Dorodure uploader - Everyday use", [
        ("The main window", [
            "The small main window shows the baton on the station (its id, version, date and time), "
            "a round light, the status line with a progress bar, and four buttons: Reports, "
            "Checkpoints, Preferences and Help.",
            "- Light blinking purple and yellow: waiting for a baton.",
            "- Light green: a baton was found and is being read, or its data is being processed.",
            "- Red date line: a block of failed-patrol records waits to be written to the next baton.",
        ]),
        ("Uploading a baton", [
            "Put the baton on the upload station. The program reads its identity, sets its clock from "
            "the PC, downloads its memory and clears it. The status line shows 'Downloading Data' "
            "and the progress bar fills.",
            "Then every clocking is filed under the site whose checkpoint list holds the touched "
            "button, and a download report is written for each site: a text report, a CSV file and a "
            "PDF named after the month, day, hour and minute of the upload, in the site's folder. The "
            "report opens when the option 'Open Reports after processing' is on.",
            "When the program beeps once a second and the title blinks 'Download Complete', take the "
            "baton off the station.",
        ]),
        ("Unknown checkpoints", [
            "Clockings of buttons that are in no site's list are offered to you: add them to an "
            "existing site, make a new site of them, or ignore them.",
        ]),
        ("Sites and checkpoints", [
            "Each site is a folder with its checkpoint list. Use Checkpoints to name the checkpoints; "
            "touching a new button to the upload station while a site is selected adds it to that "
            "site. Setup, Add New Site creates an empty site.",
        ]),
        ("Reports over stored data", [
            "Reports asks for a site, a date and time window and a kind of report: a list of the "
            "clockings, an overview of day or night shifts, or one of the stored download reports. "
            "The ? beside each kind opens its own help: downhelp.pdf, listhelp.pdf, overhelp.pdf.",
        ]),
        ("If something goes wrong", [
            "- 'Checking Port' never ends: the station is not connected, or you may not open the port "
            "(see Install.pdf, serial-setup.sh).",
            "- 'No Data in Rozedava': the baton held no clockings.",
            "- 'Time in Baton is not the same as PC!!': the baton's clock was wrong; it is set at each "
            "upload when 'Update Rozedava Date/Time Automatically' is on.",
            "- When the program was closed before an upload was processed, it offers to process it at "
            "the next close; File, Import processes Raw.txt at any time.",
        ]),
    ]),
    "Advanced.pdf": ("Dorodure uploader - Advanced use", [
        ("The hidden menu and keys", [
            "Type these keys while the main window has the keyboard:",
            "- ! shows or hides the menu bar (File, Setup, Help).",
            "- @ widens the window to show the diagnostic box and narrows it again.",
            "- # opens Port Setup: the port number searched first at the next start, and the serial "
            "devices found; picking one keeps that device under its number (Port<N> in Dorodure.ini).",
            "- ^ chooses an upload file and processes it, for example a copy of an older Raw.txt.",
            "- ( opens the activity log viewer.",
        ]),
        ("Giving batons their id numbers", [
            "Setup, Id Number asks for a four-character id (a letter or digit and three digits). Ok "
            "gives it to the next baton placed on the station. Pressing ~ instead of Enter numbers "
            "the batons that follow one after another: 0041, 0042, ... Cancel withdraws the id.",
        ]),
        ("Failed patrol programming", [
            "Setup, Failed Patrol builds a block of patrol records from a site's round times and "
            "shifts and writes it to the next baton placed on the station. While the block waits, the "
            "date line of the main window is red.",
        ]),
        ("Settings file", [
            "Dorodure.ini in the data folder holds one key=value per line: CommPort (the port found "
            "last), LanguageFile, the upload options (UpdateDateTimeAutomatically, UploadDorodureData, "
            "ClearDorodureMemory, T or F), the report options, and CheckFileUrl, the address of the "
            "release check file fetched at most once every 31 days.",
            "Port<N> lines map port numbers to devices: a device path, 'none', "
            "'rfc2217://host:port' for a station on a serial device server, or 'simulator:FILE' "
            "for a simulated station that plays the batons of a baton file.",
        ]),
        ("Activity log and trace files", [
            "Every upload and every change made by a user is recorded in the monthly activity log "
            "LGyyyymm.txt. When a file named Rs232.txt exists in the data folder, the program also "
            "writes trace files (RsM... for the window, Rs... for the link): send them to support "
            "when the link misbehaves.",
        ]),
        ("Running more than one copy", [
            "Only one copy of the program runs per user and data folder. Starting it again brings the "
            "running window to the front.",
        ]),
    ]),
    "downhelp.pdf": ("Dorodure uploader - Report by download", [
        ("What it shows", [
            "Every upload writes a download report in the folder of each site it touched: a text "
            "report, a CSV file and a PDF, named after the month, day, hour and minute of the upload "
            "(05121403.pdf was written on 12 May at 14:03). Report by download opens these stored "
            "reports again; nothing is recalculated.",
        ]),
        ("Opening a stored report", [
            "1. Choose the site in Step 1.",
            "2. Choose 'Report by download' in Step 2. The list shows the site's download reports by "
            "date (year/month/day) and time.",
            "3. Select one or more rows (hold Ctrl or Shift to select several) and press Create/Open, "
            "or double-click a row. Each report opens in your PDF viewer, or in your text editor.",
            "'Create PDF report' under Advanced chooses between the PDF reports and the text reports.",
        ]),
        ("Good to know", [
            "- A file in the site folder whose name is not a download report's is reported; move it "
            "elsewhere.",
            "- The reports stay in the site folders until you delete them; the day files in the "
            "folder Raw keep every clocking, so clocking lists and overviews can always be made "
            "again.",
        ]),
    ]),
    "listhelp.pdf": ("Dorodure uploader - Clocking list report", [
        ("What it shows", [
            "A clocking list gathers every clocking of one site in a date and time window from the "
            "stored day files and writes it as a report with the same layout as a download report: "
            "the clockings in time order with the checkpoint names, the intervals, the frequency of "
            "each checkpoint and any tamper warnings. The report is Processed.txt, Processed.csv and, "
            "with 'Create PDF report', Report.pdf in the data folder; it opens when it is ready.",
        ]),
        ("Making a clocking list", [
            "1. Choose the site in Step 1 and 'Clocking list Report' in Step 2.",
            "2. Choose the date in Step 3. The simple list covers 12:00 of the day before to 12:00 of "
            "the chosen date, one night's patrols.",
            "3. Press Create/Open.",
        ]),
        ("Advanced settings", [
            "Advanced shows a from date and a to date with their times (the sliders set the hours), "
            "so any window can be chosen, and these settings:",
            "- Point filter: only the clockings of the checkpoint chosen in Point Selector.",
            "- Sort by checkpoints: the clockings grouped by checkpoint, in the order of the "
            "checkpoint list, each group in time order.",
            "- Remove duplicates: a checkpoint touched again within the same or the next minute is "
            "listed once.",
            "- Patrol Seperator: the checkpoint where a patrol starts. The list draws a dashed line "
            "before each of its clockings, so it reads patrol by patrol. The choice is kept with the "
            "site's checkpoints.",
            "- Create PDF report: also write Report.pdf.",
        ]),
        ("Nothing found", [
            "When the window holds no clocking of the site the program says so and names the window; "
            "choose another date or site.",
        ]),
    ]),
    "overhelp.pdf": ("Dorodure uploader - Overview report", [
        ("What it shows", [
            "The overview shows at a glance when each checkpoint of a site was clocked during a "
            "shift: a grid with one row per checkpoint and one column per hour, each cell holding the "
            "clock times of that hour and coloured green when the checkpoint was clocked in it. Empty "
            "cells are hours without a visit. The report is Report.pdf in the data folder, one page "
            "or more per shift, and opens when it is ready.",
        ]),
        ("Day and night shifts", [
            "- A day shift runs from 00:00 to 24:00 of the chosen date.",
            "- A night shift runs from 12:00 of the day before to 12:00 of the chosen date, and bears "
            "the date on which it ends.",
            "Choose 'Overview report day shift' or 'Overview report night shift' in Step 2.",
        ]),
        ("Making an overview", [
            "1. Choose the site in Step 1 and 'Overview Report' in Step 2, with the shift.",
            "2. Choose the date in Step 3. Advanced shows a from date and a to date: the report then "
            "has one page per shift of that period. A shift without clockings is reported and gets "
            "no page.",
            "3. Press Create/Open.",
            "With 'Point filter' under Advanced, the grid shows only the checkpoint chosen in Point "
            "Selector. A clocking uploaded twice is drawn once.",
        ]),
    ]),
}


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "delivered")
    os.makedirs(out, exist_ok=True)
    files = {
        "logo.gif": gif(draw_logo(160, 88)),
        "logobig.gif": gif(draw_logo(400, 220)),
    }
    for name, (title, sections) in GUIDES.items():
        files[name] = pdf(title, sections)
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
        print(name, len(data))


if __name__ == "__main__":
    main()
