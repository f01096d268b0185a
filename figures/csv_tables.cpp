#include "figures/csv_tables.h"

#include <cstdint>
#include <ostream>
#include <string_view>

#include "engine/calculation_limits.h"

namespace ardvane {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kAmortizationColumns =
    "year,month,beginning_balance,interest,payment,extra_payment,ending_balance";
constexpr std::string_view kInvestmentColumns =
    "year,month,beginning_value,growth,savings,ending_value";

// Pieces a CSV written to a stream is handed over in: the text is never held whole.
constexpr std::size_t kPieceBytes = 1 << 20;

// Builds the text one field and one row at a time; with a stream, hands each piece of about
// kPieceBytes to it at the end of a row, and stops writing once the stream fails.
class CsvWriter {
 public:
  explicit CsvWriter(CsvFlavour flavour, std::ostream* out = nullptr)
      : flavour_(flavour), out_(out) {
    if (flavour_ == CsvFlavour::kSpreadsheet) text_ += kByteOrderMark;
  }

  // A row of field names, written as they are.
  CsvWriter& Header(std::string_view names) {
    Separate();
    text_ += names;
    return *this;
  }
  CsvWriter& Text(std::string_view field) {
    Separate();
    const bool formula = flavour_ == CsvFlavour::kSpreadsheet && !field.empty() &&
                         std::string_view("=+-@\t\r").find(field.front()) != std::string_view::npos;
    const bool quoted = field.find_first_of(",\"\r\n") != std::string_view::npos;
    if (quoted) text_ += '"';
    if (formula) text_ += '\'';
    for (const char c : field) {
      if (c == '"') text_ += '"';
      text_ += c;
    }
    if (quoted) text_ += '"';
    return *this;
  }
  CsvWriter& Number(long long number) {
    Separate();
    text_ += std::to_string(number);
    return *this;
  }
  CsvWriter& Amount(Money amount) {
    Separate();
    text_ += PlainCents(amount);
    return *this;
  }
  CsvWriter& EndRow() {
    text_ += "\r\n";
    rowStarted_ = false;
    if (out_ != nullptr && text_.size() >= kPieceBytes) Flush();
    return *this;
  }
  std::string Take() { return std::move(text_); }
  // Hands what is left to the stream and flushes it; whether everything reached it.
  bool Finish() {
    Flush();
    if (out_->good()) out_->flush();
    return out_->good();
  }
  bool Failed() const { return out_ != nullptr && !out_->good(); }

 private:
  void Separate() {
    if (rowStarted_) text_ += ',';
    rowStarted_ = true;
  }
  void Flush() {
    if (out_->good()) out_->write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
  }
  CsvFlavour flavour_;
  std::ostream* out_;
  std::string text_;
  bool rowStarted_ = false;
};

// The year, month and amounts of row m of `table`.
void WriteTableRow(CsvWriter& csv, const MonthlyTable& table, int m) {
  const YearMonth month = table.YearAndMonth(m);
  csv.Number(month.year).Number(month.month);
  for (int column = 2; column < table.ColumnCount(); ++column) csv.Amount(table.Amount(m, column));
  csv.EndRow();
}

}  // namespace

std::string PlainCents(Money amount) {
  const std::int64_t count = amount.Count();
  // Whole cents, half away from zero, on the magnitude (unsigned: the most negative count).
  const std::uint64_t magnitude =
      count < 0 ? 0ULL - static_cast<std::uint64_t>(count) : static_cast<std::uint64_t>(count);
  const std::uint64_t cents = magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0);
  std::string text = count < 0 && cents != 0 ? "-" : "";
  text += std::to_string(cents / 100);
  text += '.';
  text += static_cast<char>('0' + cents % 100 / 10);
  text += static_cast<char>('0' + cents % 10);
  return text;
}

namespace {

// The amortization tables into `csv`; stops early once a stream it writes to fails.
void WriteAmortizationTables(CsvWriter& csv, const PlanDocument& plan, const PlanResults& results) {
  csv.Header("plan,loan,debt").Header(kAmortizationColumns).EndRow();
  // The window's debt list: every row, then the new loan of a consolidating plan.
  const int loans = plan.Debts.GetDebtCount() + (results.Consolidating ? 1 : 0);
  for (const bool current : {true, false}) {
    for (int index = 0; index < loans && !csv.Failed(); ++index) {
      if (!ShowAmortization(plan, results, current, index)) continue;
      const MonthlyTable table = MonthlyTable::Amortization(results, plan.Date, current, index);
      const std::string name = GetDebtName(plan, results, index);
      for (int m = 0; m < table.RowCount(); ++m) {
        csv.Text(current ? "current" : "proposed").Number(index).Text(name);
        WriteTableRow(csv, table, m);
      }
    }
  }
}

}  // namespace

std::string AmortizationCsv(const PlanDocument& plan, const PlanResults& results,
                            CsvFlavour flavour) {
  CsvWriter csv(flavour);
  WriteAmortizationTables(csv, plan, results);
  return csv.Take();
}

bool WriteAmortizationCsv(const PlanDocument& plan, const PlanResults& results, CsvFlavour flavour,
                          std::ostream& out) {
  CsvWriter csv(flavour, &out);
  WriteAmortizationTables(csv, plan, results);
  return csv.Finish();
}

long long AmortizationCsvBytes(const PlanDocument& plan, const PlanResults& results) {
  // A row's fields besides the plan, the loan's index and its name: year, month, five amounts
  // of seven characters (1234.56) and their commas, the line end.
  constexpr long long kRowBytes = 5 + 3 + 5 * 8 + 2;
  long long bytes = static_cast<long long>(kAmortizationColumns.size()) + 17;  // the header
  const int loans = plan.Debts.GetDebtCount() + (results.Consolidating ? 1 : 0);
  for (const bool current : {true, false}) {
    for (int index = 0; index < loans; ++index) {
      if (!ShowAmortization(plan, results, current, index)) continue;
      const long long rows = ScheduleMonths(results, current, index);
      // The plan, the index and the name, each with its comma; the name quoted, its quotes
      // doubled, when it needs to be.
      const std::string name = GetDebtName(plan, results, index);
      long long fields = (current ? 8 : 9) + static_cast<long long>(std::to_string(index).size()) +
                         1 + static_cast<long long>(name.size()) + 1;
      if (name.find_first_of(",\"\r\n") != std::string::npos) fields += 2;
      for (const char c : name) fields += c == '"' ? 1 : 0;
      bytes += rows * (kRowBytes + fields);
    }
  }
  return bytes;
}

std::string CsvSizeRefusal(const PlanDocument& plan, const PlanResults& results) {
  const long long bytes = AmortizationCsvBytes(plan, results);
  if (bytes <= kMostCsvBytes) return {};
  constexpr long long kMB = 1'000'000;
  std::string message = "The table was not written: it would take about ";
  message += GroupedCount((bytes + kMB - 1) / kMB);
  message += " MB, more than the ";
  message += GroupedCount(kMostCsvBytes / kMB);
  message += " MB a table can hold. Split the plan into smaller ones.";
  return message;
}

std::string InvestmentCsv(const PlanResults& results, DayNumber planDate, CsvFlavour flavour) {
  return MonthlyTableCsv(MonthlyTable::Investment(results, planDate), flavour);
}

std::string MonthlyTableCsv(const MonthlyTable& table, CsvFlavour flavour) {
  CsvWriter csv(flavour);
  csv.Header(table.IsInvestment() ? kInvestmentColumns : kAmortizationColumns).EndRow();
  for (int m = 0; m < table.RowCount(); ++m) WriteTableRow(csv, table, m);
  return csv.Take();
}

std::string TabSeparatedRows(const std::vector<std::vector<std::string>>& rows) {
  std::string text;
  for (const std::vector<std::string>& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) text += '\t';
      for (const char c : row[i]) text += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
    }
    text += '\n';
  }
  return text;
}

}  // namespace ardvane
