// The main window's report commands: Print, Export PDF and the data collection form.

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QToolButton>

#include "reports/document_output.h"
#include "reports/pdf_export.h"
#include "reports/report_context.h"
#include "reports/report_language.h"
#include "settings/preferences_rules.h"
#include "ui/charts/chart_form_pictures.h"
#include "ui/charts/chart_forms.h"
#include "ui/main/main_window.h"

namespace ardvane {
namespace {

// The print command's questions and actions, answered by the window's prompts.
class WindowPrintSurroundings : public PrintSurroundings {
 public:
  WindowPrintSurroundings(WindowPrompts& prompts, const MainWindowOptions& options)
      : prompts_(prompts), options_(options) {}
  FileExistsAnswer AskFileExists(const std::string& path) override {
    return prompts_.AskFileExists(path);
  }
  void OpenDocument(const std::string& path, DesktopOpenDone done) override {
    prompts_.OpenDocument(path, std::move(done));
  }
  void ShowInformation(const std::string& message) override { prompts_.ShowInformation(message); }
  bool Confirm(const std::string& question) override { return prompts_.Confirm(question); }
  LocalDateTime Now() override {
    return options_.now ? options_.now() : LocalDateTime{options_.today, 0, 0, 0};
  }

 private:
  WindowPrompts& prompts_;
  const MainWindowOptions& options_;
};

// The PDF export's questions and messages, answered by the window's prompts.
class WindowPdfSurroundings : public PdfExportSurroundings {
 public:
  explicit WindowPdfSurroundings(WindowPrompts& prompts) : prompts_(prompts) {}
  FileExistsAnswer AskFileExists(const std::string& path) override {
    return prompts_.AskFileExists(path);
  }
  std::optional<std::filesystem::path> ChoosePdfFile(const std::filesystem::path& folder,
                                                     const std::string& proposedName) override {
    return prompts_.ChoosePdfFile(folder, proposedName);
  }
  void ShowInformation(const std::string& message) override { prompts_.ShowInformation(message); }
  void ShowError(const std::string& message) override { prompts_.ShowError(message); }
  bool Confirm(const std::string& question) override { return prompts_.Confirm(question); }
  void ShowBusy(bool busy) override {
    if (busy) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::restoreOverrideCursor();
    }
  }

 private:
  WindowPrompts& prompts_;
};

}  // namespace

void MainWindow::Print() { StartReport(false); }

void MainWindow::ExportPdf() { StartReport(true); }

void MainWindow::StartReport(bool pdf) {
  reportAsPdf_ = pdf;
  Recalculate();
  const std::optional<Language> language = PrintLanguageOf(settings_.PrintLanguage);
  if (!language) {
    // Just below the Print button; nothing happens until a language is chosen.
    languageMenu_->popup(printButton_->mapToGlobal(QPoint(0, printButton_->height() + 20)));
    return;
  }
  PrintReport(*language);
}

void MainWindow::PrintReport(Language language) {
  reportLanguage_ = language;
  if (reportAsPdf_) {
    ExportReportPdf();
  } else {
    PrepareReportFile();
  }
}

std::filesystem::path MainWindow::ReportFilePath() const {
  const std::string languageWord = Translate("English", reportLanguage_, options_.programFolder);
  return ::ardvane::ReportFilePath(
      ReportFolder(settings_.ReportDirectory, options_.programFolder),
      ReportFileName(session_.Plan(), params_.PermitLanguage, languageWord, options_.regional));
}

bool MainWindow::WriteReport(const std::filesystem::path& path, bool dropStalePdf) {
  ChartFormPictures pictures(*chartForms_);
  const ReportContext context =
      MakeReportContext(session_.Plan(), results_, params_, settings_, options_.regional,
                        options_.programFolder, reportLanguage_, &pictures,
                        [this](const std::string& message) { prompts_.ShowError(message); });
  const ReportDocumentOutcome outcome = WriteReportDocument(context, path, nullptr, dropStalePdf);
  // One box at the end of the run names every paragraph that was not found.
  if (!outcome.missingParagraphs.empty()) {
    std::string message;
    for (const std::filesystem::path& paragraph : outcome.missingParagraphs) {
      if (!message.empty()) message += '\n';
      message += MissingParagraphMessage(paragraph);
    }
    prompts_.ShowError(message);
  }
  return outcome.saved;
}

void MainWindow::PrepareReportFile() {
  PrintJob job;
  job.reportDirectory = ReportFolder(settings_.ReportDirectory, options_.programFolder);
  job.reportPath = ReportFilePath();
  job.programFolder = options_.programFolder;
  job.printLog = params_.PermitPrintLog;
  job.regional = options_.regional;
  job.generate = [this](const std::filesystem::path& path, bool dropStalePdf) {
    return WriteReport(path, dropStalePdf);
  };
  // Kept by the print until the desktop has answered the open.
  ::ardvane::PrepareReportFile(job, std::make_shared<WindowPrintSurroundings>(prompts_, options_));
}

void MainWindow::ExportReportPdf() {
  PdfExportJob job;
  job.reportDirectory = ReportFolder(settings_.ReportDirectory, options_.programFolder);
  job.reportPath = ReportFilePath();
  job.paper = options_.paper;
  job.generate = [this](const std::filesystem::path& path, bool dropStalePdf) {
    return WriteReport(path, dropStalePdf);
  };
  WindowPdfSurroundings surroundings(prompts_);
  ::ardvane::ExportReportPdf(job, surroundings);
}

void MainWindow::OpenDataForm() {
  const std::filesystem::path form = options_.programFolder / "Templates" / "DataSheet.doc";
  std::error_code ec;
  if (std::filesystem::exists(form, ec)) {
    prompts_.OpenDocument(form.string(),
                          [window = QPointer<MainWindow>(this)](DesktopOpenResult result) {
                            if (window && result != DesktopOpenResult::kOpened) {
                              window->prompts_.ShowInformation(kDataFormNeedsWordProcessor);
                            }
                          });
  } else {
    prompts_.ShowInformation("Data Form not found:\n\n" + form.string());
  }
}

}  // namespace ardvane
