#pragma once

#include <QDialog>

#include "engine/regional_settings.h"

class QComboBox;
class QPushButton;

namespace ardvane {

class PlanSession;
class TVornMask;

// The power payment dialog: the plan's three power payment options, each a monthly amount,
// an annual amount (limits -99,999 to 99,999) and the month the annual amount is paid in. The
// first is the plan's own; the other two only appear in the printed plan.
//
// OK stores all three options through the session; the caller then shows the first in its
// own fields and recalculates. Cancel (Escape, closing the window) stores nothing.
class TfrmAccelerator : public QDialog {
  Q_OBJECT

 public:
  TfrmAccelerator(PlanSession& session, const RegionalSettings& regional, QWidget* parent);

 public slots:
  void accept() override;

 private:
  PlanSession& session_;
  TVornMask* monthly_[3] = {};
  TVornMask* annual_[3] = {};
  QComboBox* month_[3] = {};
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
};

}  // namespace ardvane
