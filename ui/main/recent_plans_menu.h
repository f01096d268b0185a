#pragma once

#include <functional>
#include <string>
#include <vector>

class QMenu;

namespace ardvane {

// Fills `menu` (the File menu's recent plans submenu) with one entry per path, in the order
// given (most recent first): "&1 Smith.bvx", "&2 ...", the file name with any "&" shown as
// itself, and the full path as status tip and tool tip. Entries put there before are removed,
// so the window calls this again whenever the list changes. With no paths the menu is empty
// and disabled, in its parent menu too. Choosing an entry calls `open` with its path exactly
// as given.
void FillRecentPlansMenu(QMenu& menu, const std::vector<std::string>& paths,
                         std::function<void(const std::string&)> open);

}  // namespace ardvane
