#!/bin/sh
# Dorodure uploader: serial port set-up helper.
#
# The upload station hangs on a serial port (a built-in RS-232 port or a USB
# serial adapter). Linux needs no driver for it, but:
#   1. your user must be allowed to open the port: on Debian that means
#      membership of the group that owns the serial devices, normally
#      "dialout";
#   2. ModemManager, where installed, probes every new USB serial adapter with
#      modem commands and holds it open for a while, so the program cannot
#      open the port or the station receives stray bytes. The Dorodure package
#      keeps it away from the common adapters; for any other adapter this
#      helper can add a rule that does the same.
# The helper lists the ports, says what it finds and changes nothing without
# your consent.
#
# Usage: sh serial-setup.sh          (asks before changing anything)
#        sh serial-setup.sh --check  (only reports; exit status 1 when a
#                                     change is needed)

user=$(id -un)
group=dialout
check_only=0
[ "${1:-}" = "--check" ] && check_only=1
# Where the system is; changed only by the helper's own tests.
dev_dir=${DORODURE_DEV:-/dev}
sysfs=${DORODURE_SYSFS:-/sys}
rules_dir=${DORODURE_UDEV_RULES:-/etc/udev/rules.d}
udevadm=${DORODURE_UDEVADM:-udevadm}
modem_manager=${DORODURE_MODEMMANAGER:-/usr/sbin/ModemManager}
local_rule=$rules_dir/61-dorodure-station-local.rules
# The adapters the package's own rule already covers (vendor:product).
packaged_ids="0403:6001 0403:6015 10c4:ea60 067b:2303 1a86:7523"
group_needed=0
rule_needed=0

# Runs a command as administrator (sudo asks for the password).
as_admin() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

ask() {  # ask "question" -> 0 for yes
    printf "%s [y/N] " "$1"
    read -r answer || answer=""
    case "$answer" in y | Y | yes | YES) return 0 ;; *) return 1 ;; esac
}

# "vvvv:pppp" of the USB device a tty belongs to, "" for other ports.
usb_ids() {
    dir=$(readlink -f "$sysfs/class/tty/$1/device" 2>/dev/null) || return 0
    for _ in 1 2 3 4; do
        [ -n "$dir" ] && [ "$dir" != / ] || return 0
        if [ -r "$dir/idVendor" ] && [ -r "$dir/idProduct" ]; then
            echo "$(cat "$dir/idVendor"):$(cat "$dir/idProduct")"
            return 0
        fi
        dir=$(dirname "$dir")
    done
}

echo "Serial ports on this PC:"
found=0
all_open=1
uncovered=""
for dev in "$dev_dir"/ttyS[0-9]* "$dev_dir"/ttyUSB[0-9]* "$dev_dir"/ttyACM[0-9]* \
    "$dev_dir"/rfcomm[0-9]*; do
    [ -e "$dev" ] || continue
    found=1
    name=$(basename "$dev")
    owner_group=$(stat -c %G "$dev" 2>/dev/null || echo "?")
    if [ -r "$dev" ] && [ -w "$dev" ]; then
        access="you may open it"
    else
        access="no permission for $user"
        all_open=0
    fi
    ids=$(usb_ids "$name")
    echo "  $dev  (group $owner_group: $access${ids:+; USB $ids})"
    [ "$owner_group" != "?" ] && [ "$owner_group" != "root" ] && group=$owner_group
    case " $packaged_ids $uncovered " in
        *" $ids "*) ;;
        *) [ -n "$ids" ] && uncovered="$uncovered $ids" ;;
    esac
done
[ $found -eq 1 ] || echo "  none found - plug in the upload station's cable or adapter and run this again"

echo
if id -nG "$user" | tr ' ' '\n' | grep -qx "$group"; then
    echo "$user is a member of the group $group: the program may open the serial ports."
    echo "(If you were added just now, log out and in again first.)"
elif [ $found -eq 1 ] && [ $all_open -eq 1 ]; then
    echo "$user may open every serial port found, without the group $group."
else
    echo "$user is not a member of the group $group, so the program cannot open the serial ports."
    group_needed=1
    if [ $check_only -eq 0 ]; then
        if ask "Add $user to the group $group now? This needs the administrator password."; then
            if as_admin usermod -a -G "$group" "$user"; then
                echo "Done. Log out and in again, then start the Dorodure uploader."
                group_needed=0
            else
                echo "Could not change the group membership."
            fi
        else
            echo "Nothing changed. An administrator can run: usermod -a -G $group $user"
        fi
    fi
fi

# ModemManager and adapters the package's rule does not know.
uncovered=${uncovered# }
if [ -n "$uncovered" ] && [ -e "$local_rule" ]; then
    missing=""
    for ids in $uncovered; do
        grep -q "idVendor}==\"${ids%:*}\", ATTRS{idProduct}==\"${ids#*:}\"" "$local_rule" ||
            missing="$missing $ids"
    done
    uncovered=${missing# }
fi
if [ -n "$uncovered" ]; then
    echo
    if [ ! -e "$modem_manager" ]; then
        echo "ModemManager is not installed: it cannot disturb the adapters ($uncovered)."
    else
        echo "ModemManager may hold these USB adapters open: $uncovered."
        rule_needed=1
        if [ $check_only -eq 0 ]; then
            if ask "Add a rule that keeps ModemManager away from them? This needs the administrator password."; then
                rule=$(mktemp)
                [ -e "$local_rule" ] && cat "$local_rule" >"$rule"
                [ -s "$rule" ] || echo "# Dorodure uploader: adapters added by serial-setup.sh" >"$rule"
                for ids in $uncovered; do
                    printf 'SUBSYSTEM=="tty", SUBSYSTEMS=="usb", ATTRS{idVendor}=="%s", ATTRS{idProduct}=="%s", ENV{ID_MM_DEVICE_IGNORE}="1"\n' \
                        "${ids%:*}" "${ids#*:}" >>"$rule"
                done
                if as_admin install -m 644 "$rule" "$local_rule"; then
                    as_admin "$udevadm" control --reload-rules 2>/dev/null
                    as_admin "$udevadm" trigger --subsystem-match=tty 2>/dev/null
                    echo "Done: $local_rule. Unplug the adapter and plug it in again."
                    rule_needed=0
                else
                    echo "Could not write $local_rule."
                fi
                rm -f "$rule"
            else
                echo "Nothing changed."
            fi
        fi
    fi
fi
[ $group_needed -eq 0 ] && [ $rule_needed -eq 0 ]
