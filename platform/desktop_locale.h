#pragma once

#include <QLocale>

#include "engine/regional_settings.h"

namespace ardvane {

// The regional settings of `locale`: its separators, negative sign, currency symbol and
// patterns, short date and long time formats. The C (POSIX) locale counts as United States
// English. Any text the locale leaves empty takes the United States fallback.
RegionalSettings RegionalSettingsFromLocale(const QLocale& locale);

}  // namespace ardvane
