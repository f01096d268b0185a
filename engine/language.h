#pragma once

namespace ardvane {

// The languages a client report is written in. Files keep their own codes for it (the setting
// "Print" "Language", the command line's words); they are converted where they are read.
enum class Language { kEnglish, kSpanish };

}  // namespace ardvane
