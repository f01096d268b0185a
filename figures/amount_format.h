#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/regional_settings.h"

namespace ardvane {

// The rules of the numeric entry field (AmountField), free of any widget: how a value is shown
// when the field is left, how typed text becomes a value, which typed characters are let in.

// What the display face of a field shows. Unscoped so that both `kCurrencyAmount` and
// `AmountKind::kCurrencyAmount` read naturally.
enum AmountKind : int { kPercentAmount, kCurrencyAmount, kNumberAmount, kUngroupedAmount };

// Decimal places are kept within 0..kMaxDecimalPlaces; a field never holds more than
// kMaxSignificantDigits digits in total (integer digits plus decimal places).
inline constexpr int kMaxDecimalPlaces = 10;
inline constexpr int kMaxSignificantDigits = 15;

// The display face of `value` (a field's value, already limited and rounded).
// With D decimal places, r = value x 10^D rounded to an integer, ties to even:
//   - showZero off and r = 0: the empty text;
//   - otherwise the negative sign when r < 0 (so -0.004 at 2 decimals shows no sign), then
//     kCurrencyAmount: currency symbol, integer part grouped with the monetary thousands
//       separator, monetary decimal separator and D decimals            -$1,234.50
//     kPercentAmount: integer part grouped with the thousands separator, decimal separator,
//       decimals, "%"                                                    7.500%
//     kNumberAmount: as kPercentAmount without "%"                       1,234
//     kUngroupedAmount: as kNumberAmount without grouping                1234.5
//   With D = 0 there is no decimal separator. The sign always comes first, whatever the
//   locale's pattern for negative money. A percent field holds the percent: 7.5 is 7.50%.
// Non-finite values show as 0.
std::string FormatAmount(double value, int decimalPlaces, AmountKind maskType, bool showZero,
                         const RegionalSettings& regional);

// The value of a field's text. Empty text, the negative sign alone, and the unfinished
// numbers "." and "-" followed by "." count as 0. Otherwise every negative sign becomes "-"
// and the text must be a plain decimal number with "." as the decimal point: optional
// blanks around, an optional sign, digits with at most one ".", an optional exponent.
// A well-formed number too large for a double gives plus or minus infinity (which
// LimitAndRound brings back within range); one too small gives 0. Anything else (thousands
// separators, currency or percent signs, letters) gives nullopt.
std::optional<double> ParseAmount(std::string_view text, std::string_view negativeSign);

// Whether `text` is a whole number that ParseAmount reads, as a paste must be: not empty, not
// the negative sign alone, not an unfinished "." or "-.".
bool IsCompleteAmount(std::string_view text, std::string_view negativeSign);

// Limits `value` to minimum..maximum (no limit at all when the two are equal), then to what
// kMaxSignificantDigits digits hold with `decimalPlaces` decimals (999,999,999,999.99 at 2),
// then rounds it to `decimalPlaces` decimals, ties to even. NaN gives 0.
double LimitAndRound(double value, double minimum, double maximum, int decimalPlaces);

// The key filter of a field being typed in: whether `character` (one character, UTF-8)
// enters `text`, of which `selected` is the selected part (it is replaced by the typing).
//   - the digits and backspace ("\b") always;
//   - "." (whatever the locale) when decimal entry is allowed and `text` holds no "." or
//     `selected` holds one;
//   - the first character of the negative sign when negative entry is allowed and `text` is
//     empty, or `selected` holds the negative sign, or `selected` is the whole text;
//   - nothing else.
bool AcceptsKey(std::string_view text, std::string_view selected, std::string_view character,
                bool decimalEntryAllowed, bool negativeEntryAllowed, std::string_view negativeSign);

// The typing face of a value: its shortest decimal form with at most 15 significant digits,
// "." as the decimal point, no grouping, no trailing zeros, with the negative sign in place
// of "-": 1500, 7.5, 0.125. Non-finite values give "0".
std::string PlainAmount(double value, std::string_view negativeSign);

// `digits` (an integer part without sign) with `separator` between groups of three from the
// right; an empty separator leaves them ungrouped.
std::string GroupThousands(std::string_view digits, std::string_view separator);

}  // namespace ardvane
