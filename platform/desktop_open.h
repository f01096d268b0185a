#pragma once

#include <string>

namespace ardvane {

// Result codes of the desktop's "Open" action: anything below 32 means it failed.
inline constexpr int kDesktopOpenSucceeded = 42;
inline constexpr int kDesktopOpenFailed = 2;

// Opens a document file (a local path) or an address ("http:", "https:", "mailto:") with
// the program the desktop associates with it. Returns kDesktopOpenSucceeded or
// kDesktopOpenFailed.
int OpenWithDesktop(const std::string& pathOrAddress);

}  // namespace ardvane
