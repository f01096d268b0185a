// The main window's menu bar, tool bar and the report language menu.

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "ui/main/main_window.h"

namespace ardvane {

void MainWindow::BuildMenuAndToolBar() {
  BuildMenus();
  BuildToolBar();
}

void MainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  QAction* newAction = file->addAction("&New", QKeySequence(Qt::CTRL | Qt::Key_N));
  QAction* openAction = file->addAction("&Open…", QKeySequence(Qt::CTRL | Qt::Key_O));
  QAction* saveAction = file->addAction("&Save", QKeySequence(Qt::CTRL | Qt::Key_S));
  QAction* saveAsAction = file->addAction("Save &As…", QKeySequence(Qt::Key_F12));
  recentMenu_ = file->addMenu("Recent &Plans");
  recentMenu_->setObjectName("mnuRecentPlans");
  file->addSeparator();
  QAction* notesAction = file->addAction("No&tes…", QKeySequence(Qt::CTRL | Qt::Key_T));
  QAction* formAction = file->addAction("Data Collection &Form");
  file->addSeparator();
  printAction_ = file->addAction("&Print", QKeySequence(Qt::CTRL | Qt::Key_P));
  exportPdfAction_ = file->addAction("&Export PDF…", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
  exportPdfAction_->setObjectName("ExportPdf1");
  file->addSeparator();
  QAction* exitAction = file->addAction("E&xit");
  QMenu* edit = menuBar()->addMenu("&Edit");
  edit->addAction(history_.UndoAction());
  edit->addAction(history_.RedoAction());
  edit->addSeparator();
  setPaymentAction_ = edit->addAction("Set Pa&yment");
  setPaymentAction_->setObjectName("SetPayment1");
  setPaymentAction_->setEnabled(false);
  edit->addSeparator();
  preferencesAction_ = edit->addAction("&Preferences…");
  QMenu* help = menuBar()->addMenu("&Help");
  QAction* aboutAction = help->addAction("&About");

  connect(newAction, &QAction::triggered, this, &MainWindow::NewPlan);
  connect(openAction, &QAction::triggered, this, &MainWindow::OpenPlan);
  connect(saveAction, &QAction::triggered, this, [this] { SavePlan(false); });
  connect(saveAsAction, &QAction::triggered, this, [this] { SavePlan(true); });
  connect(notesAction, &QAction::triggered, this, &MainWindow::OpenNotes);
  connect(formAction, &QAction::triggered, this, &MainWindow::OpenDataForm);
  connect(exitAction, &QAction::triggered, this, &QWidget::close);
  connect(aboutAction, &QAction::triggered, this, &MainWindow::ShowAbout);
  connect(preferencesAction_, &QAction::triggered, this, &MainWindow::EditPreferences);
  connect(setPaymentAction_, &QAction::triggered, this, &MainWindow::SetPayment);
  connect(printAction_, &QAction::triggered, this, &MainWindow::Print);
  connect(exportPdfAction_, &QAction::triggered, this, &MainWindow::ExportPdf);

  languageMenu_ = new QMenu(this);
  languageMenu_->setObjectName("popLanguage");
  QAction* english = languageMenu_->addAction("&English");
  english->setObjectName("English1");
  QAction* spanish = languageMenu_->addAction("&Spanish");
  spanish->setObjectName("Spanish1");
  connect(english, &QAction::triggered, this, [this] { PrintReport(Language::kEnglish); });
  connect(spanish, &QAction::triggered, this, [this] { PrintReport(Language::kSpanish); });
}

void MainWindow::BuildToolBar() {
  QToolBar* bar = addToolBar("Tools");
  bar->setObjectName("ToolBar1");
  bar->setMovable(false);
  bar->setMinimumHeight(px_(41));
  bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  const auto button = [this, bar](const char* name, const char* caption, const char* hint,
                                  QStyle::StandardPixmap icon) {
    auto* b = new QToolButton(bar);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setAutoRaise(true);
    b->setIcon(style()->standardIcon(icon));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->addWidget(b);
    return b;
  };
  newPlanButton_ = button("spdbtnNew", "New", "Create a new plan (Ctrl+N)", QStyle::SP_FileIcon);
  openPlanButton_ =
      button("spdbtnOpen", "Open", "Open an existing plan (Ctrl+O)", QStyle::SP_DialogOpenButton);
  saveButton_ =
      button("spdbtnSave", "Save", "Save this plan (Ctrl+S)", QStyle::SP_DialogSaveButton);
  notesButton_ = button("spdbtnNotes", "Notes", "Make notes on this plan (Ctrl+T)",
                        QStyle::SP_FileDialogDetailedView);
  formButton_ = button("spdbtnForm", "Form", "Open the data collection form",
                       QStyle::SP_FileDialogContentsView);
  printButton_ =
      button("spdbtnPrint", "Print", "Print this plan (Ctrl+P)", QStyle::SP_FileDialogListView);
  connect(newPlanButton_, &QToolButton::clicked, this, &MainWindow::NewPlan);
  connect(openPlanButton_, &QToolButton::clicked, this, &MainWindow::OpenPlan);
  connect(saveButton_, &QToolButton::clicked, this, [this] { SavePlan(false); });
  connect(notesButton_, &QToolButton::clicked, this, &MainWindow::OpenNotes);
  connect(formButton_, &QToolButton::clicked, this, &MainWindow::OpenDataForm);
  connect(printButton_, &QToolButton::clicked, this, &MainWindow::Print);
}

}  // namespace ardvane
