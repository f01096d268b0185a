#pragma once

#include <set>
#include <string>
#include <string_view>

namespace ardvane {

// What starts every report document: the UTF-8 byte order mark. Without it, LibreOffice's
// type detection reads a document whose names hold right-to-left letters or bidi marks
// (U+202E, U+200F) as plain text and shows its HTML source; with it, as HTML. Browsers take
// it as the document's encoding.
inline constexpr std::string_view kReportDocumentStart = "\xEF\xBB\xBF";

// A plan value (a name, a figure, a phrase; UTF-8) as HTML text of the report document. It
// prints as typed and cannot add markup: & < > " ' are written as references. Characters
// that HTML does not allow in a document are dropped: the controls U+0001 to U+001F, U+007F
// and U+0080 to U+009F; a tab, a line feed, a carriage return and a CR LF pair become one
// blank each. A byte that is not part of a well-formed UTF-8 character becomes U+FFFD.
// A value holding an explicit direction control (an embedding, override or isolate, U+202A
// to U+202E and U+2066 to U+2069) is set apart as a first-strong isolate (U+2068 ... U+2069)
// whose end closes whatever the value left open, so that it cannot reverse the paragraph's
// text around it; marks (U+200E, U+200F) and right-to-left letters need no such fence.
std::string ReportHtmlText(std::string_view value);

// `text` (a value for a table cell) with the blanks inside its figures made no-break spaces
// (U+00A0), so that no table breaks a date or an amount over two lines, while the words
// around may still wrap: a blank with a digit on either side ("174 months", "February 2031",
// "1 234,50 €") and the blank before a "de" that leads to a number ("febrero de 2031").
std::string KeepFiguresWhole(std::string_view text);

// The names of the placeholders ("[$Name$]" gives "Name") that `html` (a paragraph) puts
// inside a table cell, a `<td>` or `<th>` element, as the templates write them in lower case.
std::set<std::string, std::less<>> PlaceholdersInCells(std::string_view html);

}  // namespace ardvane
