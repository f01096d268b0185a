// The JSON of --results, --compare and --needed, with names of any bytes. The input's first
// byte chooses:
// - even: a small plan whose debts are named by the input's NUL-separated pieces (up to
//   three), written by ResultsToJson;
// - odd: the --compare and --needed objects of figures taken straight from the input (any
//   amount, rate, date and month, names of any bytes).
// Checks that the text is one JSON value by RFC 8259 (read here by a strict reader of its
// own: UTF-8 strings, no bare control characters, escapes and numbers by the grammar, no key
// twice in an object, nothing after the value), that every name comes back as it went in (a
// byte that is no UTF-8 as U+FFFD), and that every amount reads back as the same amount.

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/results_json.h"
#include "base/utf8.h"
#include "engine/plan_calculation.h"
#include "fuzz/fuzz_utf8.h"
#include "tests/test_support.h"

namespace {

struct Json {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = Kind::kNull;
  std::string text;  // a string's characters (UTF-8), a number's text
  std::vector<Json> items;
  std::map<std::string, Json> members;

  const Json& operator[](const std::string& key) const {
    const auto found = members.find(key);
    if (kind != Kind::kObject || found == members.end()) __builtin_trap();
    return found->second;
  }
  const Json& At(std::size_t i) const {
    if (kind != Kind::kArray || i >= items.size()) __builtin_trap();
    return items[i];
  }
};

// A strict RFC 8259 reader; traps on anything else.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  Json Document() {
    Json value = Value(0);
    Blanks();
    if (at_ != text_.size()) __builtin_trap();  // text after the value
    return value;
  }

 private:
  char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
  void Expect(char c) {
    if (Peek() != c || at_ >= text_.size()) __builtin_trap();
    ++at_;
  }
  void Blanks() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r')) {
      ++at_;
    }
  }
  void Word(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) __builtin_trap();
    at_ += word.size();
  }

  Json Value(int depth) {
    if (depth > 16) __builtin_trap();
    Blanks();
    Json value;
    switch (Peek()) {
      case '{':
        value.kind = Json::Kind::kObject;
        ++at_;
        Blanks();
        if (Peek() == '}') {
          ++at_;
          break;
        }
        while (true) {
          Blanks();
          std::string key = String();
          Blanks();
          Expect(':');
          Json member = Value(depth + 1);
          if (!value.members.emplace(std::move(key), std::move(member)).second) __builtin_trap();
          Blanks();
          if (Peek() == '}') {
            ++at_;
            break;
          }
          Expect(',');
        }
        break;
      case '[':
        value.kind = Json::Kind::kArray;
        ++at_;
        Blanks();
        if (Peek() == ']') {
          ++at_;
          break;
        }
        while (true) {
          value.items.push_back(Value(depth + 1));
          Blanks();
          if (Peek() == ']') {
            ++at_;
            break;
          }
          Expect(',');
        }
        break;
      case '"':
        value.kind = Json::Kind::kString;
        value.text = String();
        break;
      case 't':
        value.kind = Json::Kind::kBool;
        Word("true");
        value.text = "true";
        break;
      case 'f':
        value.kind = Json::Kind::kBool;
        Word("false");
        break;
      case 'n':
        Word("null");
        break;
      default:
        value.kind = Json::Kind::kNumber;
        value.text = Number();
    }
    return value;
  }

  // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
  std::string Number() {
    const std::size_t start = at_;
    const auto digits = [&] {
      const std::size_t from = at_;
      while (Peek() >= '0' && Peek() <= '9' && at_ < text_.size()) ++at_;
      if (at_ == from) __builtin_trap();
      return at_ - from;
    };
    if (Peek() == '-') ++at_;
    const bool zero = Peek() == '0';
    if (digits() > 1 && zero) __builtin_trap();  // a leading zero
    if (Peek() == '.') ++at_, digits();
    if (Peek() == 'e' || Peek() == 'E') {
      ++at_;
      if (Peek() == '+' || Peek() == '-') ++at_;
      digits();
    }
    return std::string(text_.substr(start, at_ - start));
  }

  unsigned Hex4() {
    unsigned value = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = Peek();
      if (at_ >= text_.size()) __builtin_trap();
      ++at_;
      value <<= 4;
      if (c >= '0' && c <= '9') {
        value |= static_cast<unsigned>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        value |= static_cast<unsigned>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        value |= static_cast<unsigned>(c - 'A' + 10);
      } else {
        __builtin_trap();
      }
    }
    return value;
  }

  std::string String() {
    Expect('"');
    std::string out;
    while (true) {
      if (at_ >= text_.size()) __builtin_trap();  // an unclosed string
      const unsigned char c = static_cast<unsigned char>(text_[at_]);
      if (c == '"') {
        ++at_;
        return out;
      }
      if (c < 0x20) __builtin_trap();  // a bare control character
      if (c != '\\') {
        std::size_t length = 0;
        if (fuzzcheck::ReadCodePoint(text_, at_, &length) < 0) __builtin_trap();  // no UTF-8
        out.append(text_.substr(at_, length));
        at_ += length;
        continue;
      }
      ++at_;
      const char e = Peek();
      if (at_ >= text_.size()) __builtin_trap();
      ++at_;
      static constexpr std::string_view kEscapes = "\"\\/bfnrt";
      static constexpr std::string_view kEscaped = "\"\\/\b\f\n\r\t";
      if (const std::size_t k = kEscapes.find(e); k != std::string_view::npos) {
        out += kEscaped[k];
        continue;
      }
      if (e != 'u') __builtin_trap();  // no such escape
      char32_t code = Hex4();
      if (code >= 0xDC00 && code <= 0xDFFF) __builtin_trap();  // a lone low surrogate
      if (code >= 0xD800 && code <= 0xDBFF) {
        Word("\\u");
        const unsigned low = Hex4();
        if (low < 0xDC00 || low > 0xDFFF) __builtin_trap();
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
      }
      ardvane::AppendUtf8(out, code);
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

// A name as the JSON must give it back: each byte that starts no well-formed UTF-8 sequence
// as U+FFFD.
std::string Expected(std::string_view name) {
  std::string out;
  for (std::size_t i = 0; i < name.size();) {
    std::size_t length = 0;
    if (fuzzcheck::ReadCodePoint(name, i, &length) < 0) {
      out += "\xEF\xBF\xBD";
    } else {
      out.append(name.substr(i, length));
    }
    i += length;
  }
  return out;
}

// The amount a JSON number of currency units states, in ten-thousandths; traps on a number
// that is not one (an exponent, more than four decimals, too large).
std::int64_t AmountCount(const Json& value) {
  if (value.kind != Json::Kind::kNumber) __builtin_trap();
  std::string_view text = value.text;
  const bool negative = text.starts_with('-');
  if (negative) text.remove_prefix(1);
  unsigned __int128 count = 0;
  int decimals = -1;
  for (const char c : text) {
    if (c == '.') {
      if (decimals >= 0) __builtin_trap();
      decimals = 0;
      continue;
    }
    if (c < '0' || c > '9') __builtin_trap();
    if (decimals >= 0 && ++decimals > 4) __builtin_trap();
    count = count * 10 + static_cast<unsigned>(c - '0');
    if (count > (static_cast<unsigned __int128>(1) << 64)) __builtin_trap();
  }
  for (int k = decimals < 0 ? 0 : decimals; k < 4; ++k) count *= 10;
  const unsigned __int128 limit = static_cast<unsigned __int128>(INT64_MAX) + (negative ? 1 : 0);
  if (count > limit) __builtin_trap();
  return negative ? static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(count))
                  : static_cast<std::int64_t>(count);
}

void CheckNames(const Json& list, const std::vector<std::string>& names) {
  if (list.kind != Json::Kind::kArray || list.items.size() != names.size()) __builtin_trap();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (list.At(i).kind != Json::Kind::kString || list.At(i).text != Expected(names[i])) {
      __builtin_trap();
    }
  }
}

void CheckPlanResults(std::string_view text) {
  std::vector<std::string> names;
  for (std::size_t start = 0; start <= text.size() && names.size() < 3;) {
    const std::size_t end = std::min(text.find('\0', start), text.size());
    names.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  // A few months each. (Names of debts never paid off go through the same writer as the
  // names of the --compare objects below; writing the payments that would pay such a debt off
  // takes milliseconds.)
  const auto planOf = [](const std::vector<std::string>& debtNames) {
    ardvane::PlanDocument plan;
    plan.Date = ardvane::EncodeDate(2008, 1, 15);
    const double balances[] = {150, 250, 90};
    const double payments[] = {100, 100, 100};
    for (std::size_t d = 0; d < debtNames.size(); ++d) {
      plan.Debts.AddDebt(ardvane::testing::MakeDebt(debtNames[d], balances[d], 12, payments[d], 0));
    }
    return plan;
  };
  const ardvane::PlanDocument plan = planOf(names);
  // The figures do not depend on the names, so each plan is calculated once, which keeps
  // runs quick.
  static std::map<std::size_t, ardvane::PlanResults> calculated;
  auto known = calculated.find(names.size());
  if (known == calculated.end()) {
    known = calculated
                .emplace(names.size(),
                         ardvane::Calculate(planOf(std::vector<std::string>(names.size(), "x")), {},
                                            ardvane::AppSettings{}))
                .first;
  }
  const ardvane::PlanResults& results = known->second;
  const Json json = Reader(ardvane::ResultsToJson(plan, results)).Document();

  const Json& loans = json["loans"];
  if (loans.kind != Json::Kind::kArray || loans.items.size() < names.size()) __builtin_trap();
  for (std::size_t d = 0; d < names.size(); ++d) {
    if (loans.At(d)["name"].text != Expected(names[d])) __builtin_trap();
  }
  CheckNames(json["current"]["never_paid_off"], {});
  if (AmountCount(json["interest_saved_before_fee"]) != results.InterestSavedBeforeFee.Count()) {
    __builtin_trap();
  }
}

ardvane::Money AnyMoney(FuzzedDataProvider& input) {
  return ardvane::Money::FromCount(input.ConsumeIntegral<std::int64_t>());
}

void CheckComparison(FuzzedDataProvider& input) {
  ardvane::StrategyComparison comparison;
  if (input.ConsumeBool()) comparison.chosen = input.ConsumeIntegral<int>();
  const int count = input.ConsumeIntegralInRange(0, 9);
  std::vector<std::vector<std::string>> names;
  for (int k = 0; k < count; ++k) {
    ardvane::PriorityFigures& f = comparison.strategies.emplace_back();
    f.priority = input.ConsumeIntegralInRange(-2, 10);
    f.proposed.months = input.ConsumeIntegral<int>();
    f.proposed.date = input.ConsumeIntegral<int>();
    f.proposed.totalInterest = AnyMoney(input);
    f.interestSaved = AnyMoney(input);
    f.investmentValue = AnyMoney(input);
    f.annualReturnFraction = input.ConsumeFloatingPoint<double>();
    if (input.ConsumeBool()) f.annualReturnFraction = std::nan("");
    const int unpaid = input.ConsumeIntegralInRange(0, 3);
    for (int n = 0; n < unpaid; ++n) {
      f.proposed.neverPaidOffNames.push_back(input.ConsumeRandomLengthString(24));
    }
    names.push_back(f.proposed.neverPaidOffNames);
  }
  const Json json = Reader(ardvane::StrategiesToJson(comparison)).Document();
  const Json& chosen = json["chosen"];
  if (comparison.chosen ? chosen.text != std::to_string(*comparison.chosen)
                        : chosen.kind != Json::Kind::kNull) {
    __builtin_trap();
  }
  const Json& strategies = json["strategies"];
  if (strategies.kind != Json::Kind::kArray || strategies.items.size() != names.size()) {
    __builtin_trap();
  }
  for (std::size_t k = 0; k < names.size(); ++k) {
    const ardvane::PriorityFigures& f = comparison.strategies[k];
    const Json& row = strategies.At(k);
    CheckNames(row["never_paid_off"], names[k]);
    if (AmountCount(row["total_interest"]) != f.proposed.totalInterest.Count() ||
        AmountCount(row["interest_saved"]) != f.interestSaved.Count() ||
        AmountCount(row["investment_value"]) != f.investmentValue.Count()) {
      __builtin_trap();
    }
    const Json& rate = row["annual_return"];
    if (std::isfinite(f.annualReturnFraction)
            ? rate.kind != Json::Kind::kNumber ||
                  std::strtod(rate.text.c_str(), nullptr) != f.annualReturnFraction
            : rate.kind != Json::Kind::kNull) {
      __builtin_trap();
    }
  }

  ardvane::PowerPaymentGoal found;
  found.attainable = input.ConsumeBool();
  found.powerPayment = AnyMoney(input);
  found.proposed.months = input.ConsumeIntegral<int>();
  found.proposed.date = input.ConsumeIntegral<int>();
  const ardvane::YearMonth goal{input.ConsumeIntegral<int>(), input.ConsumeIntegral<int>()};
  const Json needed =
      Reader(ardvane::PowerPaymentGoalToJson(goal, found, input.ConsumeIntegral<int>())).Document();
  if (needed["by"].kind != Json::Kind::kString ||
      (found.attainable && needed["power_payment"].kind != Json::Kind::kNumber)) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 600) return 0;
  if ((data[0] & 1) == 0) {
    CheckPlanResults(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  } else {
    FuzzedDataProvider input(data + 1, size - 1);
    CheckComparison(input);
  }
  return 0;
}
