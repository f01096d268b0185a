#include "engine/calculation_limits.h"

namespace ardvane {

std::string GroupedCount(long long count) {
  std::string digits = std::to_string(count);
  const int first = count < 0 ? 1 : 0;
  for (int i = static_cast<int>(digits.size()) - 3; i > first; i -= 3) {
    digits.insert(static_cast<std::size_t>(i), 1, ',');
  }
  return digits;
}

std::string DebtsRefusal(int debts, const DebtsLimit& limit) {
  if (debts <= limit.mostDebts) return {};
  std::string message = limit.notDone;
  message += ": the plan has ";
  message += GroupedCount(debts);
  message += " debts, more than the ";
  message += GroupedCount(limit.mostDebts);
  message += ' ';
  message += limit.work;
  message += " can hold. Split the plan into smaller ones.";
  return message;
}

}  // namespace ardvane
