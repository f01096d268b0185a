// A version resource for the test program itself, as the build stamps the real program.
#include "platform/version_info.h"

// clang-format off
extern "C" {
[[gnu::used, gnu::section(ARDVANE_VERSION_SECTION)]] const char kTestVersionResource[] =
    ARDVANE_VERSION_ENTRY("ProductName", "Ardvane test")
    ARDVANE_VERSION_ENTRY("FileVersion", "9.8.7.6");
}
// clang-format on
