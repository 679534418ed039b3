#include "language_defaults.h"

#include <array>

namespace dorodure {

namespace {

// Entries 1 to 114, each exactly as shown to the user, blanks included.
constexpr std::array<const char*, kBuiltInTexts> kTexts = {
    "Initializing please wait...",                                              // 1
    "New Site",                                                                 // 2
    "Enter in the New Site Name",                                               // 3
    "Dorodure uploader",                                                        // 4
    "Upload cable Not Found",                                                   // 5
    "Ensure that the Dorodure Baton is NOT on the Upload station",              // 6
    "Consult the help file for further information",                            // 7
    "Looking for Dorodure...",                                                  // 8
    "Version :",                                                                // 9
    "Id :",                                                                     // 10
    "Setting Clock",                                                            // 11
    "Communicating with Dorodure",                                              // 12
    "Date :",                                                                   // 13
    "Time :",                                                                   // 14
    "Setting Dorodure Id Number",                                               // 15
    "Downloading Data",                                                         // 16
    "Clearing memory",                                                          // 17
    "The Recently uploaded data file has Not been processed",                   // 18
    "Would you like to process it now",                                         // 19
    "Could Not Create the new site",                                            // 20
    "Report of Rozedava data uploaded",                                         // 21
    "Site :",                                                                   // 22
    "Unknown checkpoint",                                                       // 23
    "Frequency Report :",                                                       // 24
    "Frequency  Id Number  Name",                                               // 25
    "Corupt Records Discarded",                                                 // 26
    "Are you sure you want to delete the selected Log File/s",                  // 27
    "Delete",                                                                   // 28
    "Are you sure you want to delete the selected item(s)",                     // 29
    "",                                                                         // 30: reserved
    "",                                                                         // 31: reserved
    "If the checkpoints are to be placed in an",                                // 32
    "existing site select the apropriate site",                                 // 33
    "and then click Ok",                                                        // 34
    "New IdButton",                                                             // 35
    "Enter in the New 6 Digit Id Number",                                       // 36
    "Processing Data...",                                                       // 37
    "From Unit",                                                                // 38
    "Date       Time   Id Number  Location",                                    // 39
    "WARNING!!!",                                                               // 40
    "Data will not be uploaded and might be lost",                              // 41
    "There are no checkpoints in the site",                                     // 42
    "Round trip time must be in intervals of 15 minutes",                       // 43
    "----------",                                                               // 44
    "Report of Dorodure Data processed on",                                     // 45
    "Sorted by Id Number",                                                      // 46
    "From",                                                                     // 47
    "to",                                                                       // 48
    "Could not open the port after id buton read",                              // 49
    "No Date Contained in device ?",                                            // 50
    "No Time Contained in device ?",                                            // 51
    "Patrol Start Time",                                                        // 52
    "Patrol Finish time",                                                       // 53
    "Rest Time in Minutes",                                                     // 54
    "Number of batons",                                                         // 55
    "&Add",                                                                     // 56
    "&Rename",                                                                  // 57
    "Missing Wav File \"done.wav\"",                                            // 58
    " Possible added point tampering",                                          // 59
    "Possible data tampering (?)",                                              // 60
    "End of File",                                                              // 61
    "Report compiled by Dorodure uploader Ver ",                                // 62
    "Deleting Files (Moving to Recycle Bin)",                                   // 63
    "Check Point List for ",                                                    // 64
    "Printed on ",                                                              // 65
    "at ",                                                                      // 66
    "Id     | Name",                                                            // 67
    "MissingLine",                                                              // 68
    "ExtraLine",                                                                // 69
    "New Date and time has been set",                                           // 70
    "Writing to Baton",                                                         // 71
    " Warnings ",                                                               // 72
    "Report has",                                                               // 73
    "Possible added point tampering",                                           // 74
    "Possible deleted point tampering",                                         // 75
    "Possible data tampering",                                                  // 76
    "Report has Warnings",                                                      // 77
    "Secure Reporting",                                                         // 78
    "&Print",                                                                   // 79
    "&Close",                                                                   // 80
    "------ Baton Uploaded ------",                                             // 81
    "============================================================",             // 82
    "does not belong in the directory",                                         // 83
    "none",                                                                     // 84
    "Simple <<",                                                                // 85
    "Advanced >>",                                                              // 86
    "The program needs to be closed and restarted for changes to take effect",  // 87
    "Exception report by point of data from",                                   // 88
    "Site Settings for",                                                        // 89
    "Round time",                                                               // 90
    "Rest time",                                                                // 91
    ":           : Mon : Tue : Wed : Thu : Fri : Sat : Sun :",                  // 92
    ":Start Time :",                                                            // 93
    ":Finish Time:",                                                            // 94
    "  /////////////////////////",                                              // 95
    " // Exceptions occuring //",                                               // 96
    "/////////////////////////",                                                // 97
    " Date      Time   Type           Interval  Point",                         // 98
    "Shift not done",                                                           // 99
    "Failed Patrol",                                                            // 100
    "Missed Point   ",                                                          // 101
    "      !!!! No Exceptions Found !!!!",                                      // 102
    "Legend",                                                                   // 103
    "No clockings were found during this shift",                                // 104
    "Less than half the required clocking were clocked",                        // 105
    "The times between the clocking of this point are",                         // 106
    "longer than the Round time and Rest time",                                 // 107
    "Initializing please wait  (Checking for Cable)",                           // 108
    "Initializing please wait  (Checking Port",                                 // 109
    "Initializing please wait  (Checking for Vuzozov2)",                        // 110
    "Initializing please wait  (Starting Program)",                             // 111
    "Charging",                                                                 // 112
    "Site could not be removed",                                                // 113
    "Download Complete",                                                        // 114
};

}  // namespace

QString builtInText(int n) {
    if (n < 1 || n > kBuiltInTexts) {
        return {};
    }
    return QString::fromLatin1(kTexts[static_cast<std::size_t>(n - 1)]);
}

}  // namespace dorodure
