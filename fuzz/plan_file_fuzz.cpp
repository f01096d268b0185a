// Opens arbitrary bytes as a plan file (the first byte decides the form, as it does for real
// files), then calculates the plan and writes it back, so every value a damaged file can
// carry goes through the whole engine.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/plan_calculation.h"
#include "planfiles/plan_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ardvane;
  RegionalSettings regional;
  if (size > 0 && (data[size - 1] & 1)) regional.decimalSeparator = ",";
  PlanParameters params;
  params.PermitConsolidate = params.PermitNegotiate = params.PermitCashOut = true;
  const PlanReadContext context{regional, params, 46363};

  PlanDocument plan;
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  if (!ReadPlanContent(content, "fuzz.bvx", plan, context).ok()) return 0;
  const PlanResults results = Calculate(plan, params, AppSettings{});
  volatile unsigned long long sink =
      static_cast<unsigned long long>(results.InterestSaved().Count()) + results.ProjectionMonths;
  (void)sink;
  PlanDocument again;
  if (!ReadPlanContent(PlanToXml(plan), "again.bvx", again, context).ok()) {
    __builtin_trap();  // what the program writes it must read
  }
  return 0;
}
