#pragma once

namespace ardvane {

// The order in which the plan pays its debts down. Plan files, Params.ini and the priority
// list hold the codes (the list's positions); a file may hold another number, which is kept
// as it is (a PaydownPriority of that value) and pays the debts as HighestInterestRate does.
enum class PaydownPriority : int {
  HighestInterestRate = 0,
  HighestBalance = 1,
  HighestPayment = 2,
  LowestInterestRate = 3,
  LowestBalance = 4,
  LowestPayment = 5,
  AsListed = 6,
  MinimizeInterest = 7,
  MaximizeWealth = 8,
};
inline constexpr int kPriorityCodeCount = 9;

constexpr int PriorityCode(PaydownPriority priority) { return static_cast<int>(priority); }
constexpr PaydownPriority PriorityFromCode(int code) { return static_cast<PaydownPriority>(code); }

}  // namespace ardvane
