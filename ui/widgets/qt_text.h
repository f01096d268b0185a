#pragma once

#include <QString>
#include <string>

namespace ardvane {

// Qt's text from the UTF-8 text the layers below the windows hold.
inline QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace ardvane
