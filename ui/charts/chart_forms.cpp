#include "ui/charts/chart_forms.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <utility>

#include "ui/charts/plan_charts.h"

namespace ardvane {
namespace {

bool IsPayoff(ChartFormKind kind) {
  return kind == ChartFormKind::kPayoff || kind == ChartFormKind::kPayoffSpanish;
}
bool IsSpanish(ChartFormKind kind) {
  return kind == ChartFormKind::kPayoffSpanish || kind == ChartFormKind::kBalancesSpanish;
}

const char* ObjectName(ChartFormKind kind) {
  switch (kind) {
    case ChartFormKind::kPayoff:
      return "frmPayoffGraph";
    case ChartFormKind::kPayoffSpanish:
      return "frmPayoffGraphSpanish";
    case ChartFormKind::kBalances:
      return "frmBalancesGraph";
    case ChartFormKind::kBalancesSpanish:
      return "frmBalancesGraphSpanish";
  }
  return "";
}

QString PictureWhat(ChartFormKind kind) {
  return IsPayoff(kind) ? QStringLiteral("payoff chart") : QStringLiteral("balances chart");
}

ChartTexts TextsFor(ChartFormKind kind) {
  return IsPayoff(kind) ? FormPayoffTexts(IsSpanish(kind)) : FormBalancesTexts(IsSpanish(kind));
}

}  // namespace

ChartForm::ChartForm(ChartFormKind kind, const RegionalSettings& regional, QWidget* parent)
    : QWidget(parent, Qt::Window), kind_(kind), regional_(regional) {
  setObjectName(QString::fromLatin1(ObjectName(kind)));
  setWindowTitle(TextsFor(kind).title);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);

  chart_ = new QChart();
  view_ = new QChartView(chart_, this);  // the view owns the chart
  view_->setObjectName(IsPayoff(kind) ? QStringLiteral("graphPayoffDates")
                                      : QStringLiteral("Chart3"));
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setFrameShape(QFrame::NoFrame);
  view_->setBackgroundBrush(Qt::white);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  resize(kWidth, kHeight);
}

int ChartForm::PayoffHeight(int loans) {
  return kHeight + 40 * std::max(0, PayoffChartRows(loans) - 5);
}

void ChartForm::Fill(const PlanDocument& plan, const PlanResults& results,
                     const PlanFigures& figures, const ReportPhrases& phrases) {
  const ChartTexts texts = TextsFor(kind_);
  if (IsPayoff(kind_)) {
    const int height = PayoffHeight(results.CurrentPlan.GetCount());
    if (this->height() != height || width() != kWidth) resize(kWidth, height);
    FillPayoffDatesChart(*chart_, plan, results, figures.payoffs, texts, regional_, &phrases);
  } else {
    FillBalancesChart(*chart_, plan, results, texts, regional_);
  }
}

StatusOr<QImage> DrawChart(QChart& chart, QSize size, const QString& what) {
  const auto fail = [&](const QString& cause) {
    return Status::IoError(
        QStringLiteral("The %1 could not be drawn: %2.").arg(what, cause).toStdString());
  };
  if (size.isEmpty() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide) {
    return fail(QStringLiteral("a picture of %1 by %2 pixels is beyond the %3 pixels a side may "
                               "have")
                    .arg(size.width())
                    .arg(size.height())
                    .arg(kMaxPictureSide));
  }
  QImage image(size, QImage::Format_RGB32);
  if (image.isNull()) {
    return fail(QStringLiteral("there is not enough memory for a picture of %1 by %2 pixels")
                    .arg(size.width())
                    .arg(size.height()));
  }
  // A chart that was never shown has had no resize delivered to its view: size it here so
  // the picture has a finished layout.
  const QRectF area(QPointF(0, 0), QSizeF(size));
  if (chart.geometry() != area) chart.setGeometry(area);
  // The axes choose their labels for the size they get, which lays the chart out again.
  for (int pass = 0; pass < 4 && chart.layout(); ++pass) chart.layout()->activate();
  image.fill(Qt::white);
  QPainter painter;
  if (!painter.begin(&image)) return fail(QStringLiteral("the picture could not be painted"));
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  // A chart outside any view is lent a scene for the drawing.
  std::optional<QGraphicsScene> ownScene;
  if (!chart.scene()) {
    ownScene.emplace();
    ownScene->addItem(&chart);
  }
  chart.scene()->render(&painter, area, area);
  painter.end();
  if (ownScene) ownScene->removeItem(&chart);
  return image;
}

StatusOr<QImage> ChartForm::Draw() { return DrawChart(*chart_, size(), PictureWhat(kind_)); }

void ChartForm::Show() {
  show();
  raise();
}

ChartForms::ChartForms(const RegionalSettings& regional, std::filesystem::path programFolder,
                       QWidget* owner)
    : programFolder_(std::move(programFolder)) {
  for (ChartFormKind kind : {ChartFormKind::kPayoff, ChartFormKind::kPayoffSpanish,
                             ChartFormKind::kBalances, ChartFormKind::kBalancesSpanish}) {
    forms_[static_cast<int>(kind)] = new ChartForm(kind, regional, owner);
  }
}

ChartForms::~ChartForms() {
  for (const QPointer<ChartForm>& form : forms_) delete form.data();
}

void ChartForms::Refresh(const PlanDocument& plan, const PlanResults& results,
                         const PlanFigures& figures, const PlanParameters& params) {
  const ReportPhrases english(programFolder_, Language::kEnglish);
  std::optional<ReportPhrases> spanish;
  if (params.PermitLanguage) spanish.emplace(programFolder_, Language::kSpanish);
  for (ChartForm* form : forms_) {
    if (!form) continue;
    if (IsSpanish(form->kind()) && !spanish) continue;
    form->Fill(plan, results, figures, IsSpanish(form->kind()) ? *spanish : english);
  }
}

void ChartForms::ShowEnglishForms() {
  Form(ChartFormKind::kPayoff).Show();
  Form(ChartFormKind::kBalances).Show();
}

}  // namespace ardvane
