#include "reports/document_output.h"

#include <system_error>
#include <utility>

#include "planfiles/atomic_file.h"
#include "platform/picture_embedding.h"
#include "reports/report_limits.h"
#include "reports/text_boxes.h"

namespace ardvane {
namespace {

// Reports of long plans with every table run to tens of megabytes; this leaves room.
constexpr std::size_t kMaxReportBytes = std::size_t{1} << 30;

std::string Replace(std::string text, char from, char to) {
  for (char& c : text) {
    if (c == from) c = to;
  }
  return text;
}

// The word processor's view of the report: the document text and a selection, which is the
// content of one text box.
class ReportDocument {
 public:
  explicit ReportDocument(std::string html) : html_(std::move(html)) {}

  const std::string& Html() const { return html_; }

  // Selects the content of the text box named "Text Box <number>"; false when there is none.
  bool SelectTextBox(int number) {
    const std::vector<TextBox> boxes = FindTextBoxes(html_);
    if (number < 1 || static_cast<std::size_t>(number) > boxes.size()) return false;
    selection_ = boxes[number - 1];
    return true;
  }

  // Puts the picture in place of the selection, as an image stored in the document.
  bool AddPicture(const std::filesystem::path& file, std::string* error) {
    const std::optional<EmbeddedPicture> picture = EmbedPicture(file, error);
    if (!picture) return false;
    const std::string image = "<img src=\"" + picture->dataUri + "\" width=\"" +
                              std::to_string(picture->width) + "\" height=\"" +
                              std::to_string(picture->height) + "\" alt=\"\">";
    html_.replace(selection_->contentBegin, selection_->contentEnd - selection_->contentBegin,
                  image);
    selection_.reset();  // the boxes behind it have moved
    return true;
  }

 private:
  std::string html_;
  std::optional<TextBox> selection_;
};

}  // namespace

PictureBoxNumbers PictureBoxesFor(const AppSettings& settings) {
  const int strategyBoxes = settings.PrintPlanStrategy ? 6 : 0;
  PictureBoxNumbers numbers;
  if (settings.PrintPayoffSchedule) {
    numbers.payoffDates = strategyBoxes + (settings.PrintPayoffProjections ? 9 : 8);
  }
  if (settings.PrintPayoffProjections) numbers.balances = strategyBoxes + 8;
  return numbers;
}

bool PlaceGraphics(const std::filesystem::path& path, const AppSettings& settings,
                   const std::filesystem::path& programFolder, std::string* error) {
  std::string html;
  if (!ReadWholeFile(path, kMaxReportBytes, &html, error)) return false;
  ReportDocument document(std::move(html));
  const PictureBoxNumbers boxes = PictureBoxesFor(settings);
  const auto place = [&](int box, const char* pictureName) {
    if (box == 0) return true;
    if (!document.SelectTextBox(box)) {
      *error = "The report \"" + path.string() + "\" has no text box \"Text Box " +
               std::to_string(box) + "\".";
      return false;
    }
    const std::filesystem::path picture = programFolder / pictureName;
    std::error_code ec;
    if (!std::filesystem::exists(picture, ec)) return true;
    return document.AddPicture(picture, error);
  };
  if (!place(boxes.payoffDates, kPayoffPictureName)) return false;
  if (!place(boxes.balances, kBalancesPictureName)) return false;
  return WriteFileAtomically(path, document.Html(), error);
}

ReportDocumentOutcome WriteReportDocument(const ReportContext& context,
                                          const std::filesystem::path& path) {
  const auto showError = [&](const std::string& message) {
    if (context.showError) context.showError(message);
  };
  ReportDocumentOutcome outcome;
  // A plan too large to report on is refused before anything is assembled or replaced.
  if (const std::string refusal =
          ReportSizeRefusal(*context.plan, *context.results, *context.settings);
      !refusal.empty()) {
    showError(refusal);
    return outcome;
  }
  ReportOutcome report = GenerateReport(context, path);
  outcome.missingParagraphs = std::move(report.missingParagraphs);
  if (!report.saved) {
    showError(report.error);
    return outcome;
  }
  outcome.saved = true;
  // A picture that was not drawn now would leave the previous report's file in its place.
  if (!report.pictureError.empty()) {
    showError(report.pictureError);
    return outcome;
  }
  std::string error;
  if (!PlaceGraphics(path, *context.settings, context.programFolder, &error)) {
    showError(std::string(kPlaceGraphicsFailed) + "\n\n" + error);
    return outcome;
  }
  outcome.complete = true;
  return outcome;
}

std::string ReportFileName(const PlanDocument& plan, bool languagePermitted,
                           const std::string& languageWord, const RegionalSettings& regional) {
  std::string name = plan.LastName + ", " + plan.FirstName + " " +
                     FormatShortDate(plan.Date, regional.shortDateFormat);
  if (languagePermitted) name += " " + languageWord;
  return Replace(Replace(name, '/', '.'), '\0', ' ') + ".doc";
}

std::filesystem::path ReportFilePath(const std::string& reportDirectory, const std::string& name) {
  if (reportDirectory.empty() || reportDirectory.back() == '/') return reportDirectory + name;
  return reportDirectory + "/" + name;
}

std::optional<bool> WriteOrReuseReport(
    const std::string& reportDirectory, const std::filesystem::path& reportPath,
    const std::function<bool(const std::filesystem::path&)>& generate,
    const std::function<FileExistsAnswer(const std::string&)>& askFileExists) {
  std::error_code ec;
  if (!reportDirectory.empty() && !std::filesystem::exists(reportDirectory, ec)) {
    std::filesystem::create_directory(reportDirectory, ec);  // a failure shows when saving
  }
  if (std::filesystem::exists(reportPath, ec)) {
    switch (askFileExists(reportPath.string())) {
      case FileExistsAnswer::Cancel:
        return std::nullopt;
      case FileExistsAnswer::Open:
        return false;
      case FileExistsAnswer::Overwrite:
        break;
    }
  }
  if (!generate(reportPath)) return std::nullopt;
  return true;
}

PrintOutcome PrepareReportFile(const PrintJob& job, PrintSurroundings& surroundings) {
  PrintOutcome outcome;
  const std::string path = job.reportPath.string();
  const std::optional<bool> generated =
      WriteOrReuseReport(job.reportDirectory, job.reportPath, job.generate,
                         [&](const std::string& name) { return surroundings.AskFileExists(name); });
  if (!generated) return outcome;
  const bool generate = *generated;
  outcome.generated = generate;
  outcome.opened = true;
  outcome.openResult = surroundings.OpenDocument(path);
  if (outcome.openResult < 32) surroundings.ShowInformation(kWordProcessorMissing);
  // An existing report opened as it is was not printed now.
  if (job.printLog && generate) {
    std::string error;
    outcome.logged = LogPrint(job.programFolder, path, outcome.openResult, surroundings.Now(),
                              job.regional, &error);
    if (!outcome.logged) surroundings.ShowInformation(kCouldNotLogPrint);
  }
  return outcome;
}

}  // namespace ardvane
