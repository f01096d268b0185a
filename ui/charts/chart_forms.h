#pragma once

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <filesystem>

#include "base/status.h"
#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"
#include "engine/settings.h"
#include "figures/plan_figures.h"
#include "reports/report_language.h"

class QChart;
class QChartView;

namespace ardvane {

enum class ChartFormKind { kPayoff, kPayoffSpanish, kBalances, kBalancesSpanish };

// A window holding one chart that the report draws its pictures from: the payoff dates or
// the balances chart, in English or Spanish. It is made at start-up and stays hidden unless
// shown on request; 730 pixels wide, 380 high, the payoff form 40 more for every row of its
// chart beyond five (PayoffChartRows: at most kMostPayoffDebts debts and a row for the rest).
class ChartForm : public QWidget {
 public:
  static constexpr int kWidth = 730;
  static constexpr int kHeight = 380;

  // `parent` owns the form; the form is a window of its own.
  ChartForm(ChartFormKind kind, const RegionalSettings& regional, QWidget* parent);

  ChartFormKind kind() const { return kind_; }
  QChart& chart() const { return *chart_; }

  // Refills the chart from the results and their figures, debt names through `phrases` (the
  // phrases of the form's language); the payoff form first takes the height for the number of
  // loans of the current plan.
  void Fill(const PlanDocument& plan, const PlanResults& results, const PlanFigures& figures,
            const ReportPhrases& phrases);

  // The chart drawn at the form's size on a white background (DrawChart). A failure names the
  // chart and the cause ("The payoff chart could not be drawn: ...").
  StatusOr<QImage> Draw();

  // Brings the form up on screen.
  void Show();

  // Height of the payoff form for a plan of `loans` simulated loans; at most
  // PayoffHeight(kMostPayoffDebts + 1) however many there are.
  static int PayoffHeight(int loans);

 private:
  ChartFormKind kind_;
  const RegionalSettings& regional_;
  QChartView* view_ = nullptr;
  QChart* chart_ = nullptr;
};

// Widest and tallest picture DrawChart makes, in pixels: beyond this a picture is more than
// a page can show and more than an image reader takes back.
inline constexpr int kMaxPictureSide = 4096;

// `chart` laid out at `size` and drawn on white into a new image of that size. On failure
// (a size that is empty or beyond kMaxPictureSide, no memory for the image, a painter that
// cannot start) the status says "The <what> could not be drawn: <cause>.".
StatusOr<QImage> DrawChart(QChart& chart, QSize size, const QString& what);

// The four chart forms of the program, made once at start-up. The Spanish pair is filled
// only while the permission "Language" is on; it shows debt names as the Spanish report
// does, through Language.kdf of the program folder.
class ChartForms {
 public:
  // `regional` must outlive the forms; `owner` (the main window) owns them.
  ChartForms(const RegionalSettings& regional, std::filesystem::path programFolder, QWidget* owner);
  ~ChartForms();
  ChartForms(const ChartForms&) = delete;
  ChartForms& operator=(const ChartForms&) = delete;

  // `figures` are ComputePlanFigures of the plan and its results.
  void Refresh(const PlanDocument& plan, const PlanResults& results, const PlanFigures& figures,
               const PlanParameters& params);

  ChartForm& Form(ChartFormKind kind) const { return *forms_[static_cast<int>(kind)]; }
  // Shows the two English forms.
  void ShowEnglishForms();

 private:
  std::filesystem::path programFolder_;
  std::array<QPointer<ChartForm>, 4> forms_{};
};

}  // namespace ardvane
