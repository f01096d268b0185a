#pragma once

#include <string>
#include <string_view>

#include "base/status.h"
#include "engine/plan_document.h"
#include "planfiles/plan_text.h"

namespace ardvane {

// Reads a plan of the older line-per-value form from the whole file `content` into `plan`.
// The caller passes the plan as it was before the file was opened but with debts and notes
// emptied (values a version lacks and "unchanged" rows keep what `plan` holds). `fileName` is
// used only in messages.
//
// The first line holds the format version V (a number such as 1, 2.5 or 16); V decides which
// of the following lines are present. Lines end with CR LF, LF or a lone CR, and the last line
// needs no line end. Numbers take the user's decimal separator or a point; amounts become
// Money rounded to the nearest ten-thousandth; rates are percents as written, except that the
// setup fee rate line (a percent) is stored as a fraction. A value the version lacks comes
// from the parameter defaults in `context`, from a fixed value (0, or month 1), or stays as
// `plan` holds it. Debt lines go into their cells as written; the file's bytes become text by
// the rule of code_page.h (old files hold Windows-1252). An empty compounding cell becomes
// "1" (monthly). For V >= 5 every line after the debts is one line of the client notes.
//
// Every line the version calls for must be there: a missing line, a number line that holds
// no number or a whole-number line that holds none fails with InvalidData naming the file,
// the 1-based line and the text, and `plan` is left untouched. Rows are added only as their lines
// are read, so a debt count larger than the file holds costs no memory before it fails. A
// negative debt count reads as no debts.
Status ReadTextFile(std::string_view content, const std::string& fileName, PlanDocument& plan,
                    const PlanReadContext& context);

}  // namespace ardvane
