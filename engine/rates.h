#pragma once

#include <compare>

namespace ardvane {

// A rate in percent, as an adviser enters it and a plan file holds it: Percent(18.5) is
// 18.5 %. Fraction() is the same rate as the simulation uses it.
class Percent {
 public:
  constexpr Percent() = default;
  constexpr explicit Percent(double percent) : percent_(percent) {}

  // The number in percent (18.5).
  constexpr double Value() const { return percent_; }
  // The fraction (0.185), divided in double exactly where a rate is used.
  constexpr double Fraction() const { return percent_ / 100; }

  friend constexpr bool operator==(Percent, Percent) = default;
  friend constexpr auto operator<=>(Percent, Percent) = default;

 private:
  double percent_ = 0;
};

// A rate as a fraction: Ratio(0.185) is 18.5 %.
class Ratio {
 public:
  constexpr Ratio() = default;
  constexpr explicit Ratio(double fraction) : fraction_(fraction) {}

  // The fraction (0.185).
  constexpr double Value() const { return fraction_; }
  // The same rate in percent (18.5), multiplied in double.
  constexpr Percent InPercent() const { return Percent(fraction_ * 100); }

  friend constexpr bool operator==(Ratio, Ratio) = default;
  friend constexpr auto operator<=>(Ratio, Ratio) = default;

 private:
  double fraction_ = 0;
};

}  // namespace ardvane
