#include "language_table.h"

#include <utility>

// Where each line of a language file goes. A language file has no keys: a
// line's meaning is its position, and one line may set several targets (a
// table entry and the captions that show the same words).

namespace dorodure {

namespace {

using Kind = CaptionTarget::Kind;

CaptionTarget entry(int n) {
    return {Kind::Entry, {}, {}, n};
}
CaptionTarget caption(const char* form, const char* control) {
    return {Kind::Caption, QString::fromLatin1(form), QString::fromLatin1(control), 0};
}
CaptionTarget title(const char* form) {
    return {Kind::Title, QString::fromLatin1(form), {}, 0};
}
CaptionTarget menu(const char* form, const char* control) {
    return {Kind::Menu, QString::fromLatin1(form), QString::fromLatin1(control), 0};
}
CaptionTarget column(const char* form, const char* control, int n) {
    return {Kind::Column, QString::fromLatin1(form), QString::fromLatin1(control), n};
}
CaptionTarget tab(const char* form, const char* control, int n) {
    return {Kind::Tab, QString::fromLatin1(form), QString::fromLatin1(control), n};
}
CaptionTarget item(const char* form, const char* control, int n) {
    return {Kind::Item, QString::fromLatin1(form), QString::fromLatin1(control), n};
}
CaptionTarget dialogTitle(const char* form, const char* control) {
    return {Kind::DialogTitle, QString::fromLatin1(form), QString::fromLatin1(control), 0};
}
CaptionTarget memoClear(const char* form, const char* control) {
    return {Kind::MemoClear, QString::fromLatin1(form), QString::fromLatin1(control), 0};
}
CaptionTarget memoLine(const char* form, const char* control, int n) {
    return {Kind::MemoLine, QString::fromLatin1(form), QString::fromLatin1(control), n};
}

// Lines that set table entries only: lines first..last set entries from
// firstEntry on.
struct EntryRun {
    int firstLine;
    int lastLine;
    int firstEntry;
};

constexpr EntryRun kEntryRuns[] = {
    {1, 34, 1},      {93, 95, 37},    {98, 98, 41},    {107, 108, 42},  {110, 112, 44},
    {114, 114, 48},  {122, 124, 49},  {141, 141, 54},  {143, 163, 57},  {171, 173, 78},
    {175, 206, 81},  {251, 251, 148}, {286, 316, 114}, {317, 317, 146}, {318, 327, 149},
    {329, 331, 160}, {333, 333, 164}, {340, 346, 165}, {347, 351, 174},
};

// Lines that set window captions (and, for some, a table entry as well), with
// the English caption of the window's own layout. Lines in neither list are
// not used.
struct CaptionRow {
    int line;
    std::vector<CaptionTarget> targets;
    const char* english;
};

std::vector<CaptionRow> captionRows() {
    return {
        {35, {caption("frmMain", "GroupBox1")}, "Baton Information"},
        {36, {caption("frmMain", "lblID")}, "Id : "},
        {37, {caption("frmMain", "lblVer")}, "Version : "},
        {38, {caption("frmMain", "lblDate")}, "Date : "},
        {39, {caption("frmMain", "lblTime")}, "Time : "},
        {40, {caption("frmMain", "GroupBox3")}, "Status"},
        {43, {menu("frmMain", "File1")}, "File"},
        {44, {menu("frmMain", "Open1"), entry(173)}, "&Open Report"},
        {45, {menu("frmMain", "Import1")}, "&Import"},
        {46, {menu("frmMain", "Exit1")}, "E&xit"},
        {47, {menu("frmMain", "Setup1")}, "Setup"},
        {48,
         {menu("frmMain", "Preferences1"), caption("frmMain", "Label6"),
          caption("frmMain", "BitBtn3"), title("frmPref")},
         "&Preferences"},
        {49, {caption("frmPref", "CheckBox1")}, "Update Rozedava Date/Time Automatically"},
        {50, {caption("frmPref", "CheckBox3")}, "Clear Rozedava Memory after upload"},
        {51, {caption("frmPref", "CheckBox4")}, "Generate Frequency Report"},
        {52, {caption("frmPref", "CheckBox5")}, "Open Reports after processing"},
        {53,
         {menu("frmMain", "Checkpoints1"), caption("frmMain", "Label7"),
          caption("frmMain", "BitBtn2")},
         "&Checkpoints"},
        {54, {menu("frmMain", "SiteSetup1")}, "&Add New Site"},
        {56, {menu("frmMain", "IdNumber1")}, "&Id Number"},
        {57, {caption("frmPref", "Label2")}, "Change Language"},
        {58,
         {menu("frmMain", "Help1"), caption("frmMain", "Label2"), caption("frmMain", "BitBtn4")},
         "Help"},
        {59, {menu("frmMain", "Index1")}, "&Index"},
        {60, {menu("frmMain", "search1")}, "&Topics"},
        {61, {menu("frmMain", "About1"), entry(145)}, "&About"},
        {63, {caption("frmIdNum", "Label1")}, "The New Id Number must be four digits"},
        {64, {title("frmIdNum")}, "Enter in Id Number to set"},
        {65, {caption("frmIdNum", "btnOk")}, "&Ok"},
        {66, {caption("frmIdNum", "Button1")}, "&Cancel"},
        {67, {title("frmOpen")}, "Open Report file"},
        {68, {caption("frmOpen", "Label3")}, "Site Name"},
        {69, {caption("frmOpen", "btnDelete")}, "&Delete"},
        {70, {caption("frmOpen", "btnView")}, "&View"},
        {71, {column("frmOpen", "ListView1", 1)}, "Date"},
        {72, {column("frmOpen", "ListView1", 2)}, "Time"},
        {74,
         {caption("frmpoints", "btnAdd"), menu("frmpoints", "Add1"), menu("frmpoints", "Add2"),
          entry(56)},
         "&Add"},
        {75,
         {caption("frmpoints", "btnDeleate"), menu("frmpoints", "Delete1"),
          menu("frmpoints", "Delete2")},
         "&Delete"},
        {76,
         {caption("frmpoints", "Label3"), caption("frmFPSetup", "Label3")},
         " wish to work with"},
        {77, {column("frmpoints", "ListView", 2)}, "Id Number"},
        {78, {column("frmpoints", "ListView", 3)}, "Location Name"},
        {82,
         {caption("frmFPSetup", "Button1"), caption("frmInputBox", "Button1"),
          caption("frmPref", "Button1")},
         "&Ok"},
        {83, {title("frmUnknownP")}, "Unknown checkpoints"},
        {84, {caption("frmUnknownP", "Label1")}, "Unknown checkpoints have been found"},
        {85, {caption("frmUnknownP", "Label2")}, "What must be done with them?"},
        {86, {caption("frmUnknownP", "RadioButton1")}, "Place in existing site"},
        {87, {caption("frmUnknownP", "RadioButton2")}, "Place unknown checkpoints in new site"},
        {88,
         {caption("frmUnknownP", "RadioButton3"), caption("frmPref", "CheckBox6")},
         "Ignore unknown checkpoints"},
        {90, {dialogTitle("frmMain", "OpenDialog1")}, "Open file to be processed"},
        {91, {entry(35), title("frmInputBox")}, "New IdButton"},
        {92, {entry(36), caption("frmInputBox", "Label1")}, "Enter in the New 6 Digit Id Number"},
        {96, {caption("frmPref", "CheckBox2")}, "Upload Data from Rozedava Baton"},
        {97, {entry(40), caption("frmSiteDel", "Label1")}, "WARNING!!!"},
        {99, {title("frmFPSetup")}, "Setup the failed patrol"},
        {100, {menu("frmMain", "FailedPatrol1")}, "Failed Patrol"},
        {101,
         {caption("frmFPSetup", "Label5")},
         "This is used to setup the failed patrol system. For more information on programming the "
         "failed patrol consult the help file"},
        {102, {caption("frmFPSetup", "Label1")}, "Patrol Round Time in minutes"},
        {103, {entry(52), caption("frmFPSetup", "Label2")}, "Patrol Start Time"},
        {104, {entry(53), caption("frmFPSetup", "Label4")}, "Patrol Finish time"},
        {105,
         {caption("frmFPSetup", "Label6")},
         "WARNING : pressing OK will erase all information in the Rozedava baton"},
        {106, {caption("frmFPSetup", "Button2"), caption("frmInputBox", "Button2")}, "&Cancel"},
        {113, {entry(47), caption("frmNew", "Label5")}, "From"},
        {115,
         {title("frmNew"), caption("frmMain", "Label8"), caption("frmMain", "BitBtn1")},
         "Reports"},
        {116, {caption("frmNew", "Label1")}, "Select the date and time of the report"},
        {118, {caption("frmNew", "CheckBox1")}, "Sort by checkpoints"},
        {120, {caption("frmNew", "Button2"), entry(172)}, "Create/Open"},
        {121, {caption("frmPref", "Button2"), caption("frmSiteDel", "Button1")}, "&Cancel"},
        {134, {caption("frmNew", "CheckBox3")}, "Remove duplicates"},
        {135, {caption("frmNew", "CheckBox1")}, "Sort by checkpoints"},
        {136, {caption("frmNew", "CheckBox2")}, "Point filter"},
        {137, {caption("frmNew", "Label4")}, "Point Selector"},
        {138, {caption("frmMain", "Label4")}, "No Data in Rozedava"},
        {139, {tab("frmFPSetup", "TabControl1", 1)}, "Single Baton FP (Direru)"},
        {140, {tab("frmFPSetup", "TabControl1", 2)}, "Multiple Baton FP (Vodovo)"},
        {142, {caption("frmpoints", "Label10"), entry(55)}, "Number of Batons"},
        {164, {caption("frmNew", "Label6")}, "Secure reporting is off"},
        {165, {caption("frmPref", "CheckBox8")}, "Create Secure Reports"},
        {166, {caption("frmPref", "CheckBox7")}, "Remove Duplicate Checkpoints"},
        {167, {caption("frmPref", "Label1")}, "Report Header / Company Name"},
        {168, {caption("frmPref", "GroupBox1")}, "Rozedava Uploader Control"},
        {169, {caption("frmPref", "GroupBox2")}, "Reporting features"},
        {170, {caption("frmpoints", "Button1")}, "&View List"},
        {174, {caption("frmNew", "Panel1")}, "Working please wait..."},
        {207, {entry(113), memoClear("frmSiteDel", "Memo1")}, "Site could not be removed"},
        {208, {memoLine("frmSiteDel", "Memo1", 1)}, "You are atempting to remove a site "},
        {209, {memoLine("frmSiteDel", "Memo1", 2)}, "which has valid data. If you are sure "},
        {210, {memoLine("frmSiteDel", "Memo1", 3)}, "you want to do this please type the "},
        {211, {memoLine("frmSiteDel", "Memo1", 4)}, "name of the site you wish to delete in "},
        {212, {memoLine("frmSiteDel", "Memo1", 5)}, "the box below and press Enter."},
        {213, {title("frmSiteDel")}, "Delete a Site"},
        {214, {title("frmpoints")}, "Setup the check points"},
        {215, {caption("frmpoints", "GroupBox1"), caption("frmNew", "GroupBox7")}, "Step 1"},
        {216, {caption("frmpoints", "GroupBox2"), caption("frmNew", "GroupBox2")}, "Step 2"},
        {217, {caption("frmpoints", "GroupBox3"), caption("frmNew", "GroupBox3")}, "Step 3"},
        {218, {caption("frmpoints", "Label1")}, "Chose the site you"},
        {219, {caption("frmpoints", "Label3"), caption("frmNew", "Label20")}, " wish to work with"},
        {220, {caption("frmpoints", "Label2")}, "or"},
        {221, {caption("frmpoints", "Label4")}, "Select the point you want to work with"},
        {222, {caption("frmpoints", "Label5")}, "Select site specific options"},
        {223, {caption("frmpoints", "Label6")}, "Patrol Seperator"},
        {224, {caption("frmpoints", "Label7")}, "Patrol Round Time in minutes"},
        {225, {caption("frmpoints", "Label8")}, "Patrol Start Time"},
        {226, {caption("frmpoints", "Label9")}, "Patrol Finish time"},
        {227, {caption("frmpoints", "Label11")}, "Patrol Rest Time in minutes"},
        {228, {caption("frmpoints", "Label12")}, "Failed Patrol type"},
        {229,
         {caption("frmpoints", "Label13")},
         "Warning : Items in red cannot be programmed for the selected failed patrol unit"},
        {230, {caption("frmpoints", "Label14")}, "Patrol Time Window"},
        {231, {caption("frmpoints", "Label15")}, "Monday"},
        {232, {caption("frmpoints", "Label16")}, "Tuesday"},
        {233, {caption("frmpoints", "Label17")}, "Wednsday"},
        {234, {caption("frmpoints", "Label18")}, "Thursday"},
        {235, {caption("frmpoints", "Label19")}, "Friday"},
        {236, {caption("frmpoints", "Label20")}, "Saterday"},
        {237, {caption("frmpoints", "Label21")}, "Sunday"},
        {238, {caption("frmpoints", "Button1"), menu("frmpoints", "ViewList1")}, "&View List"},
        {239, {caption("frmpoints", "Button2")}, "Create a New site"},
        {240, {caption("frmpoints", "Button3"), menu("frmpoints", "MoveUp1")}, "Move &Up"},
        {241, {caption("frmpoints", "Button4"), menu("frmpoints", "MoveDown1")}, "Move D&own"},
        {242, {caption("frmpoints", "Button5")}, "Program Next Baton"},
        {243, {caption("frmpoints", "Button6")}, "AutoCorrect"},
        {244, {caption("frmpoints", "Button8")}, "All Days the Same"},
        {245, {caption("frmpoints", "Button9")}, "24 Hour Patrols"},
        {246, {caption("frmpoints", "Button10")}, "&Back"},
        {247, {item("frmpoints", "ComboBox2", 1)}, "none"},
        {248, {item("frmpoints", "ComboBox2", 2)}, "Single Baton"},
        {249, {item("frmpoints", "ComboBox2", 3)}, "Multiple Baton"},
        {250, {caption("frmNew", "Label1")}, "Select the date and time of the report"},
        {252, {caption("frmNew", "Label4")}, "Point Selector"},
        {253, {caption("frmNew", "Label5"), entry(147)}, "from"},
        {255, {caption("frmNew", "Label34")}, "report to create"},
        {256, {caption("frmNew", "Label9")}, "Patrol Round Time :"},
        {257, {caption("frmNew", "Label10")}, "Start Time :"},
        {258, {caption("frmNew", "Label11")}, "Patrol Rest Time :"},
        {259, {caption("frmNew", "Label12")}, "Finish time :"},
        {260, {caption("frmNew", "Label13")}, "Number of Batons :"},
        {261, {caption("frmNew", "Label15")}, "Amount of points :"},
        {262, {caption("frmNew", "Label16")}, "Patrol Time Window"},
        {263,
         {caption("frmNew", "Label17")},
         "Some of these settings can be modified by clicking here"},
        {265, {caption("frmNew", "Label19")}, "Create your report"},
        {266, {caption("frmNew", "Label21")}, "Site Information"},
        {267, {caption("frmNew", "Label22")}, "Report of data by "},
        {268, {caption("frmNew", "Label23")}, "Batons downloaded"},
        {269, {caption("frmNew", "Label24")}, "Report of data from"},
        {270, {caption("frmNew", "Label25")}, "and to custom dates"},
        {271, {caption("frmNew", "Label26")}, "Exception report useing"},
        {272, {caption("frmNew", "Label27")}, "site information"},
        {273, {caption("frmNew", "Label35")}, "Patrol Seperator :"},
        {274, {caption("frmNew", "Label37")}, "Mon"},
        {275, {caption("frmNew", "Label38")}, "Tue"},
        {276, {caption("frmNew", "Label39")}, "Wed"},
        {277, {caption("frmNew", "Label40")}, "Thu"},
        {278, {caption("frmNew", "Label41")}, "Fri"},
        {279, {caption("frmNew", "Label42")}, "Sat"},
        {280, {caption("frmNew", "Label43")}, "Sun"},
        {282, {caption("frmNew", "GroupBox6")}, "Step 5"},
        {283, {caption("frmNew", "RadioButton1")}, "Report by download"},
        {284, {caption("frmNew", "RadioButton2")}, "Clocking list Report"},
        {328, {entry(159), caption("frmNew", "Label2")}, "to"},
        {332, {entry(163), caption("frmNew", "Button1")}, "Advanced"},
        {334, {caption("frmNew", "Label14")}, "Site in question"},
        {335, {caption("frmNew", "Label8")}, "Type of report"},
        {336, {caption("frmNew", "RadioButton3")}, "Overview Report"},
        {337, {caption("frmNew", "GroupBox4")}, "Advanced settings"},
        {338, {caption("frmNew", "CheckBox4")}, "Create PDF report"},
        {339, {caption("frmMain", "lblExtra")}, "Time in Baton is not the same as PC!!"},
    };
}

std::vector<LanguageLine> buildLayout() {
    std::vector<LanguageLine> layout(TLanguageTable::kFileLines);
    for (int i = 0; i < TLanguageTable::kFileLines; ++i) {
        layout[static_cast<std::size_t>(i)].line = i + 1;
    }
    for (const EntryRun& run : kEntryRuns) {
        for (int line = run.firstLine; line <= run.lastLine; ++line) {
            const int n = run.firstEntry + line - run.firstLine;
            layout[static_cast<std::size_t>(line - 1)].targets = {entry(n)};
        }
    }
    for (CaptionRow& row : captionRows()) {
        LanguageLine& target = layout[static_cast<std::size_t>(row.line - 1)];
        target.targets = std::move(row.targets);
        target.english = QString::fromLatin1(row.english);
    }
    return layout;
}

}  // namespace

const std::vector<LanguageLine>& languageFileLayout() {
    static const std::vector<LanguageLine> layout = buildLayout();
    return layout;
}

std::vector<CaptionText> captionsForForm(const QStringList& lines, const QString& form) {
    std::vector<CaptionText> captions;
    if (lines.size() != TLanguageTable::kFileLines) {
        return captions;
    }
    for (const LanguageLine& layoutLine : languageFileLayout()) {
        for (const CaptionTarget& target : layoutLine.targets) {
            if (target.kind != Kind::Entry && target.form == form) {
                captions.push_back({target, lines[layoutLine.line - 1]});
            }
        }
    }
    return captions;
}

}  // namespace dorodure
