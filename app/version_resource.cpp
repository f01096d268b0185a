// The program's version resource, written into the executable at build time. It is read
// back from the file by tFileVersionInformation, as the About box and the report do.
#include "platform/version_info.h"

// clang-format off
extern "C" {
[[gnu::used, gnu::section(ARDVANE_VERSION_SECTION)]] const char kArdvaneVersionResource[] =
    ARDVANE_VERSION_ENTRY("CompanyName", "Ardvane")
    ARDVANE_VERSION_ENTRY("FileDescription", "Ardvane debt elimination plans")
    ARDVANE_VERSION_ENTRY("FileVersion", ARDVANE_VERSION)
    ARDVANE_VERSION_ENTRY("ProductName", "Ardvane")
    ARDVANE_VERSION_ENTRY("ProductVersion", ARDVANE_VERSION);
}
// clang-format on
