#pragma once

#include <QLocale>

namespace ardvane {

// The paper a printed document is laid out for.
enum class PaperSize { kA4, kLetter };

// The paper of `locale`'s territory: US Letter in the territories that use it (the United
// States, Canada, Mexico, much of Central and South America, the Philippines), A4 elsewhere.
// The C (POSIX) locale counts as the United States, as for the regional settings.
PaperSize PaperSizeForLocale(const QLocale& locale);

}  // namespace ardvane
