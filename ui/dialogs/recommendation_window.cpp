#include "ui/dialogs/recommendation_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdint>

#include "base/number_text.h"
#include "engine/consolidation_recommendation.h"
#include "figures/display_formats.h"
#include "ui/widgets/qt_text.h"

namespace ardvane {
namespace {

constexpr char kMark[] = "          X";  // ten blanks and the mark, as the column reads

}  // namespace

Money RoundToSignificantDigits(Money amount, int digits) {
  const std::int64_t count = amount.Count();
  std::uint64_t magnitude =
      count < 0 ? 0 - static_cast<std::uint64_t>(count) : static_cast<std::uint64_t>(count);
  std::uint64_t limit = 1;
  for (int i = 0; i < digits; ++i) limit *= 10;
  std::uint64_t scale = 1;
  while (magnitude / scale >= limit) scale *= 10;
  if (scale == 1) return amount;
  magnitude = (magnitude / scale + (magnitude % scale >= scale / 2 ? 1 : 0)) * scale;
  const auto rounded = static_cast<std::int64_t>(magnitude);
  return Money::FromCount(count < 0 ? -rounded : rounded);
}

RecommendationWindow::RecommendationWindow(const PlanDocument& plan, const PlanResults& results,
                                           const RegionalSettings& regional,
                                           std::function<void()> onAccept, QWidget* parent)
    : QDialog(parent), accept_(std::move(onAccept)) {
  setObjectName("frmRecommendation");
  setWindowTitle("Consolidation Recommendation");
  px_ = DesignPixels(*this);

  auto* layout = new QVBoxLayout(this);
  auto* top = new QFrame(this);
  top->setObjectName("Panel1");
  auto* topLayout = new QVBoxLayout(top);
  topLayout->setContentsMargins(0, 0, 0, 0);
  auto* intro = new QLabel(
      "The following table lists all the entered debts, whether each debt is currently marked "
      "as a debt that will be restructed, and whether each debt is recommended to be "
      "restructured.",
      top);
  intro->setWordWrap(true);
  topLayout->addWidget(intro);
  auto* rateLine = new QHBoxLayout;
  rateLine->setSpacing(0);
  rateLine->addWidget(new QLabel(
      "These recommendations assume the new consolidation loan carries an interest rate of ", top));
  auto* interestRateLabel =
      new QLabel(Q(FormatPercent3(plan.ConsolidationLoan.InterestRate.Value(), regional)), top);
  interestRateLabel->setObjectName("lblInterestRate");
  rateLine->addWidget(interestRateLabel);
  rateLine->addStretch(1);
  topLayout->addLayout(rateLine);
  layout->addWidget(top);

  debtGrid_ = new QTableWidget(this);
  debtGrid_->setObjectName("gridDebts");
  debtGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  debtGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  debtGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
  debtGrid_->setShowGrid(true);
  debtGrid_->setWordWrap(false);
  debtGrid_->verticalHeader()->hide();
  debtGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  debtGrid_->horizontalHeader()->setHighlightSections(false);
  FillGrid(plan, results, regional);
  layout->addWidget(debtGrid_, 1);

  auto* acceptButton = new QPushButton("Accept Recommendation", this);
  acceptButton->setObjectName("btnAccept");
  auto* rejectButton = new QPushButton("Keep Current Selections", this);
  rejectButton->setObjectName("btnReject");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(acceptButton);
  buttons->addWidget(rejectButton);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  connect(acceptButton, &QPushButton::clicked, this, [this] {
    if (accept_) accept_();
    accept();
  });
  connect(rejectButton, &QPushButton::clicked, this, &QDialog::reject);

  const int tableWidth = debtGrid_->horizontalHeader()->length() + px_(40);
  resize(std::max(px_(640), tableWidth), px_(480));
}

void RecommendationWindow::FillGrid(const PlanDocument& plan, const PlanResults& results,
                                    const RegionalSettings& regional) {
  const QStringList headings = {"Description", "Balance", "Int Rate",
                                "Current Pmt", "Current", "Recommended"};
  const DebtList& debts = plan.Debts;
  const int count = debts.GetDebtCount();
  debtGrid_->setColumnCount(static_cast<int>(headings.size()));
  debtGrid_->setHorizontalHeaderLabels(headings);
  debtGrid_->setRowCount(count);
  const Percent newLoanRate = plan.ConsolidationLoan.InterestRate;
  std::vector<int> widest(static_cast<size_t>(headings.size()), 0);
  const QFontMetrics metrics(debtGrid_->font());
  const auto set = [&](int row, int column, const std::string& text, bool right) {
    auto* item = new QTableWidgetItem(Q(text));
    item->setTextAlignment(right ? (Qt::AlignRight | Qt::AlignVCenter)
                                 : (Qt::AlignLeft | Qt::AlignVCenter));
    debtGrid_->setItem(row, column, item);
    int& width = widest[static_cast<size_t>(column)];
    width = std::max(width, metrics.horizontalAdvance(item->text()));
  };
  for (int i = 0; i < count; ++i) {
    const Debt& debt = debts.At(i);
    set(i, 0, debt.Name, false);
    set(i, 1, FormatMoneyUnits(debt.Balance, 2, regional), true);
    set(i, 2, FormatPercent3(debt.InterestRate.Value(), regional), true);
    const Loan* loan = results.CurrentPlan.GetLoan(i);
    const Money payment = loan ? loan->GetScheduledPayment() : Money();
    set(i, 3, FormatMoney(RoundToSignificantDigits(payment, 5), 2, regional), true);
    set(i, 4, debt.Consolidate ? kMark : "", false);
    set(i, 5, IsRecommendedForConsolidation(debt, newLoanRate) ? kMark : "", false);
  }
  // The drawn widths, widened where this font needs more for a heading or a figure.
  const int padding = px_(10);
  const int designWidths[] = {150, 75, 75, 75, 75, 75};
  for (int column = 0; column < static_cast<int>(headings.size()); ++column) {
    const int width =
        std::max({px_(designWidths[column]), metrics.horizontalAdvance(headings[column]) + padding,
                  widest[static_cast<size_t>(column)] + padding});
    debtGrid_->setColumnWidth(column, column == 0 ? std::min(width, px_(250)) : width);
  }
  debtGrid_->verticalHeader()->setDefaultSectionSize(std::max(px_(18), metrics.height() + 4));
}

}  // namespace ardvane
