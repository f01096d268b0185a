#pragma once

#include <string>
#include <string_view>

namespace ardvane {

// Joins the report's schedules into whole tables. The templates write a schedule as a table
// per row (a heading table, then a one-row table for each row), so that a word processor may
// break a page between any two rows; a table split this way shows its headings on its first
// page only. Each run of tables that follow each other with only white space between them
// and open with the very same start tag (as one template writes it, e.g. `<table class="rows"
// width="100%">`) becomes one table with that tag: the rows of the first table that consist
// of `<th>` cells go into `<thead>`, which LibreOffice and browsers repeat at the top of
// every page, and all other rows into `<tbody>`. A lone table is given the same shape.
//
// Only tables whose content is a sequence of `<tr>...</tr>` rows (white space between them)
// take part; a table holding anything else (a caption, `<thead>`, a nested table, text) is
// left as it is and ends a run. Tags are matched as the templates write them, in lower case.
// Everything outside joined tables is copied unchanged, so an unfinished table, or text that
// holds no table, comes back as it was.
std::string JoinTableRuns(std::string_view html);

}  // namespace ardvane
