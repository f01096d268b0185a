#pragma once

#include <QDialog>
#include <functional>

#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"
#include "ui/widgets/design_pixels.h"

class QTableWidget;

namespace ardvane {

// Schedule payments in the recommendation grid: rounded to five significant digits (the
// nearest ten-thousandth of the amount's leading five digits, halves away from zero).
Money RoundToSignificantDigits(Money amount, int digits);

// The consolidation recommendation: every debt with its balance, rate and scheduled payment,
// whether it is marked for the new loan now and whether it is recommended at the plan's new
// loan rate. "Accept Recommendation" runs `onAccept` (which applies the recommendation) and
// closes; "Keep Current Selections" closes without a change. The plan and results are read
// when the dialog is made.
class RecommendationWindow : public QDialog {
  Q_OBJECT

 public:
  RecommendationWindow(const PlanDocument& plan, const PlanResults& results,
                       const RegionalSettings& regional, std::function<void()> onAccept,
                       QWidget* parent);

 private:
  void FillGrid(const PlanDocument& plan, const PlanResults& results,
                const RegionalSettings& regional);

  DesignPixels px_;
  std::function<void()> accept_;
  QTableWidget* debtGrid_ = nullptr;
};

}  // namespace ardvane
