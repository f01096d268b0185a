#pragma once

#include <compare>
#include <cstdint>
#include <limits>

namespace ardvane {

// An amount of money: a signed 64-bit count of ten-thousandths of a currency unit
// (1.00 is a count of 10000). Arithmetic with fractions is done in long double
// (64-bit mantissa on x86-64) and every result is rounded to the nearest ten-thousandth,
// ties to even. Results that would not fit saturate at the limits of the count instead of
// overflowing, and a NaN becomes 0, so runaway balances stay defined.
class Money {
 public:
  constexpr Money() = default;

  static constexpr Money FromCount(std::int64_t count) { return Money(count); }
  // Rounds units (1.5 means 1.50) to the nearest ten-thousandth, ties to even.
  static Money FromUnits(long double units);
  // Rounds to a whole currency unit, ties to even.
  static Money WholeUnits(long double units);
  // Whether FromUnits(units) is `units` to the ten-thousandth rather than a limit of the
  // count: false beyond about ±922,337,203,685,477.58, for infinities and for NaN. What a
  // person or a file states is checked with this, so that it is never changed silently.
  static bool HoldsUnits(long double units) {
    const long double count = units * 10000.0L;
    // Below 2^63 - 0.5 rounds to at most 2^63 - 1; -2^63 is a count itself.
    return count >= -9223372036854775808.0L && count < 9223372036854775807.5L;
  }

  constexpr std::int64_t Count() const { return count_; }
  // The amount in currency units, as the extended-precision value arithmetic starts from.
  long double Units() const { return static_cast<long double>(count_) / 10000.0L; }

  friend Money operator+(Money a, Money b) {
    std::int64_t sum;
    if (__builtin_add_overflow(a.count_, b.count_, &sum)) return Saturated(a.count_ > 0);
    return Money(sum);
  }
  friend Money operator-(Money a, Money b) {
    std::int64_t difference;
    if (__builtin_sub_overflow(a.count_, b.count_, &difference)) return Saturated(a.count_ >= 0);
    return Money(difference);
  }
  friend Money operator-(Money a) { return Money(0) - a; }
  Money& operator+=(Money other) { return *this = *this + other; }
  Money& operator-=(Money other) { return *this = *this - other; }
  // The amount times a factor (a rate, a count), rounded as described above.
  friend Money operator*(Money a, long double factor) {
    return Money(RoundCount(static_cast<long double>(a.count_) * factor));
  }

  friend constexpr auto operator<=>(Money a, Money b) = default;
  friend constexpr bool operator==(Money a, Money b) = default;

 private:
  constexpr explicit Money(std::int64_t count) : count_(count) {}
  // Rounds to the nearest integer count, ties to even (the processor's default rounding),
  // saturating at the limits; NaN gives 0.
  static std::int64_t RoundCount(long double value) {
    constexpr long double kLimit = 9223372036854775808.0L;  // 2^63, exact
    if (!(value == value)) return 0;
    if (value >= kLimit) return std::numeric_limits<std::int64_t>::max();
    if (value < -kLimit) return std::numeric_limits<std::int64_t>::min();
    return __builtin_llrintl(value);
  }
  static constexpr Money Saturated(bool positive) {
    return Money(positive ? std::numeric_limits<std::int64_t>::max()
                          : std::numeric_limits<std::int64_t>::min());
  }
  std::int64_t count_ = 0;
};

inline Money Min(Money a, Money b) { return b < a ? b : a; }
inline Money Max(Money a, Money b) { return a < b ? b : a; }

}  // namespace ardvane
