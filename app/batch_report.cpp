#include "app/batch_report.h"

#include "engine/plan_calculation.h"
#include "figures/plan_figures.h"
#include "planfiles/plan_session.h"
#include "reports/document_output.h"
#include "reports/pdf_export.h"
#include "reports/report_context.h"
#include "reports/report_language.h"
#include "reports/report_limits.h"
#include "settings/startup_settings.h"
#include "ui/charts/chart_form_pictures.h"
#include "ui/charts/chart_forms.h"

namespace ardvane {
namespace {

// Nothing may wait for an answer: questions get the cautious answer, messages go to `err`.
class StderrPrompts : public PlanPrompts {
 public:
  explicit StderrPrompts(std::ostream& err) : err_(err) {}
  SaveAnswer AskSaveChanges(const std::string&) override { return SaveAnswer::Cancel; }
  bool Confirm(const std::string&) override { return false; }
  std::optional<std::filesystem::path> ChooseOpenFile(const std::filesystem::path&) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path&,
                                                      const std::string&) override {
    return std::nullopt;
  }
  void ShowError(const std::string& message) override { err_ << "ardvane: " << message << "\n"; }

 private:
  std::ostream& err_;
};

}  // namespace

int RunBatchReport(const ReportRequest& request, PaperSize paper, const CommandLineEnvironment& env,
                   std::ostream& err) {
  const Language language = request.language;
  StartupFiles files;
  files.programFolder = env.programFolder;
  files.regional = env.regional;
  const StartupSettings startup = LoadStartupSettings(files);
  if (const Status& problem = startup.Problem(); !problem.ok()) {
    err << "ardvane: " << problem.message() << "\n";
    return 1;
  }
  const PlanParameters& params = startup.params;
  const AppSettings& settings = startup.settings;
  if (language != Language::kEnglish && !params.PermitLanguage) {
    err << "ardvane: this installation's parameters (Params.ini) do not permit reports in "
           "another language than English.\n";
    return 2;
  }

  StderrPrompts prompts(err);
  PlanSession session(params, env.regional, env.today, prompts);
  const std::string& name = request.planPath;
  const Status status =
      name.empty() ? Status::NotFound("no plan file is named") : session.TryOpenFile(name);
  if (!status.ok()) {
    err << "Could not open file " << name << "\n"
        << "ardvane: " << status.message() << "\n";
    return 1;
  }
  // A plan too large to report on is refused before its calculation takes the memory.
  if (const std::string refusal = ReportDebtsRefusal(session.Plan().Debts.GetDebtCount());
      !refusal.empty()) {
    err << "ardvane: " << refusal << "\n";
    return 1;
  }
  PlanResults results = Calculate(session.Plan(), params, settings);
  ChartForms forms(env.regional, env.programFolder, nullptr);
  forms.Refresh(session.Plan(), results, ComputePlanFigures(session.Plan(), results), params);
  ChartFormPictures pictures(forms);

  bool failed = false;
  const ReportContext context =
      MakeReportContext(session.Plan(), results, params, settings, env.regional, env.programFolder,
                        language, &pictures, [&](const std::string& message) {
                          err << "ardvane: " << message << "\n";
                          failed = true;
                        });
  const std::string folder = ReportFolder(settings.ReportDirectory, env.programFolder);
  MakeReportDirectory(folder);
  const std::filesystem::path path = ReportFilePath(folder, request.reportName + ".doc");
  const PdfRequest pdf = PdfRequestFor(PdfPathFor(path), paper);
  // A PDF this program wrote of an earlier report would show other figures under this name.
  const ReportDocumentOutcome outcome =
      WriteReportDocument(context, path, request.pdf ? &pdf : nullptr, !request.pdf);
  for (const std::filesystem::path& paragraph : outcome.missingParagraphs) {
    err << "ardvane: " << MissingParagraphMessage(paragraph) << "\n";
    failed = true;
  }
  if (!outcome.saved) return 1;
  if (outcome.removedPdf) {
    err << "ardvane: removed " << *outcome.removedPdf
        << ", a PDF this program made of an earlier report of the same name, whose figures "
           "may differ from the new report's.\n";
  }
  return outcome.complete && !failed ? 0 : 1;
}

}  // namespace ardvane
