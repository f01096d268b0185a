#include "engine/money.h"

namespace ardvane {

Money Money::FromUnits(long double units) { return Money(RoundCount(units * 10000.0L)); }

Money Money::WholeUnits(long double units) {
  const std::int64_t whole = RoundCount(units);
  if (whole > std::numeric_limits<std::int64_t>::max() / 10000) return Saturated(true);
  if (whole < std::numeric_limits<std::int64_t>::min() / 10000) return Saturated(false);
  return Money(whole * 10000);
}

}  // namespace ardvane
