#include "figures/cent_search.h"

namespace ardvane {

std::int64_t BisectCents(std::int64_t failing, std::int64_t passing,
                         const std::function<bool(std::int64_t cents)>& passes) {
  while (passing - failing > 1) {
    const std::int64_t middle = failing + (passing - failing) / 2;
    (passes(middle) ? passing : failing) = middle;
  }
  return passing;
}

}  // namespace ardvane
