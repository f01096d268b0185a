#pragma once

#include <cstdint>
#include <functional>

#include "engine/money.h"

namespace ardvane {

// Money in whole cents, as the payment searches count it.
constexpr std::int64_t kCountsPerCent = 100;
inline Money MoneyFromCents(std::int64_t cents) { return Money::FromCount(cents * kCountsPerCent); }

// The search both payment figures share: given a whole number of cents `failing` for which
// `passes` is false and a larger `passing` for which it is true, halves the range between them
// until they are a cent apart and returns the passing end. The cents returned pass and a cent
// less fails. `passes` need not rise steadily with the cents, so a smaller amount the search
// never tried may pass as well. `passes` is called only with cents strictly between the two.
std::int64_t BisectCents(std::int64_t failing, std::int64_t passing,
                         const std::function<bool(std::int64_t cents)>& passes);

}  // namespace ardvane
