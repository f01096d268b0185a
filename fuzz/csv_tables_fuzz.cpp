// The amortization CSV of a small plan whose debts are named by the input (its NUL-separated
// pieces, up to three). Checks that the text reads as RFC 4180 (records ended by CR LF,
// quoted fields with "" inside) with ten fields a record, that every debt's name comes back
// whole (in the spreadsheet flavour after the byte-order mark, and behind a ' when it starts
// with = + - @, a tab or a CR), and that the text is no longer than its rows need.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/plan_calculation.h"
#include "figures/csv_tables.h"
#include "tests/test_support.h"

namespace {

using Records = std::vector<std::vector<std::string>>;

// Strict RFC 4180; traps on anything else.
Records ReadCsv(std::string_view text) {
  Records records;
  std::vector<std::string> record;
  std::string field;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '"') {
      for (++i;; ++i) {
        if (i >= text.size()) __builtin_trap();  // an unclosed quote
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            ++i;
          } else {
            ++i;
            break;
          }
        } else {
          field += text[i];
        }
      }
    } else {
      while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
        if (text[i] == '"') __builtin_trap();  // a quote inside an unquoted field
        field += text[i++];
      }
    }
    if (i >= text.size()) __builtin_trap();  // a record without CR LF
    record.push_back(std::move(field));
    field.clear();
    if (text[i] == ',') {
      ++i;
    } else if (text.substr(i, 2) == "\r\n") {
      i += 2;
      records.push_back(std::move(record));
      record.clear();
    } else {
      __builtin_trap();  // a bare CR or LF, or text after a closing quote
    }
  }
  return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 600) return 0;
  std::vector<std::string> names;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (std::size_t start = 0; start <= text.size() && names.size() < 3;) {
    const std::size_t end = std::min(text.find('\0', start), text.size());
    names.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  ardvane::PlanDocument plan;
  plan.Date = ardvane::EncodeDate(2008, 1, 15);
  const double balances[] = {150, 250, 90};  // a few months, to keep runs quick
  for (std::size_t d = 0; d < names.size(); ++d) {
    plan.Debts.AddDebt(ardvane::testing::MakeDebt(names[d], balances[d], 12, 100, 50));
  }
  const ardvane::PlanResults results = ardvane::Calculate(plan, {}, ardvane::AppSettings{});

  std::size_t longest = 0;
  for (const std::string& name : names) longest = std::max(longest, name.size());
  for (const auto flavour : {ardvane::CsvFlavour::kPlain, ardvane::CsvFlavour::kSpreadsheet}) {
    std::string csv = ardvane::AmortizationCsv(plan, results, flavour);
    const bool sheet = flavour == ardvane::CsvFlavour::kSpreadsheet;
    if (sheet) {
      if (!csv.starts_with("\xEF\xBB\xBF")) __builtin_trap();
      csv.erase(0, 3);
    }
    const Records records = ReadCsv(csv);
    if (records.empty() || records[0].size() != 10 || records[0][2] != "debt") __builtin_trap();
    // A row: the plan, the loan, the quoted name with its quotes doubled and a ', and at most
    // two dates and five amounts of 24 characters.
    if (csv.size() > records.size() * (2 * longest + 4 + 200)) __builtin_trap();
    std::vector<bool> seen(names.size(), false);
    for (std::size_t r = 1; r < records.size(); ++r) {
      const std::vector<std::string>& row = records[r];
      if (row.size() != 10) __builtin_trap();
      const std::size_t loan = std::stoul(row[1]);
      if (loan >= names.size()) continue;  // the new loan
      std::string name = names[loan];
      if (sheet && !name.empty() &&
          std::string_view("=+-@\t\r").find(name.front()) != std::string_view::npos) {
        name.insert(0, "'");
      }
      if (row[2] != name) __builtin_trap();
      seen[loan] = true;
    }
    for (const bool shown : seen) {
      if (!shown) __builtin_trap();  // a debt without rows
    }
  }
  return 0;
}
