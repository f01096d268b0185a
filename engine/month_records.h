#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "engine/money.h"

namespace ardvane {

// A schedule's monthly records: one growable array of Money per record, indexed by month
// number from 0.

// Entries a record ever needs: the longest schedule (Loan::kMaxMonths, 1080 months) and the
// opening balance of the month after it.
inline constexpr std::size_t kMostRecords = 1081;

// The entry of month m; 0 where there is none.
inline Money RecordAt(const std::vector<Money>& records, int m) {
  return m >= 0 && m < static_cast<int>(records.size()) ? records[m] : Money();
}

// Stores the entry of month m, growing the array with zero entries as needed. Months are
// mostly stored in order, so the common case appends.
[[gnu::always_inline]] inline void StoreRecord(std::vector<Money>& records, int m, Money value) {
  const int size = static_cast<int>(records.size());
  if (m < size) {
    records[m] = value;
  } else {
    if (m > size) records.resize(m);
    // Doubling would leave a schedule of 1080 months room for 1920: grow to what a schedule
    // can use instead, which keeps a plan of thousands of long debts in half the memory.
    if (records.size() == records.capacity() && records.size() < kMostRecords) {
      records.reserve(std::min(2 * records.size() + 1, kMostRecords));
    }
    records.push_back(value);
  }
}

}  // namespace ardvane
