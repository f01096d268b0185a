#include "reports/document_output.h"

#include <fstream>
#include <system_error>
#include <utility>

#include "base/atomic_file.h"
#include "base/file_names.h"
#include "reports/report_limits.h"
#include "reports/text_boxes.h"

namespace ardvane {
namespace {

// The word processor's view of the report: the document text and a selection, which is the
// content of one text box.
class WordProcessorDocument {
 public:
  explicit WordProcessorDocument(std::string html) : html_(std::move(html)) {}

  std::string& Html() { return html_; }

  // Selects the content of the text box named "Text Box <number>"; false when there is none.
  bool SelectTextBox(int number) {
    const std::vector<TextBox> boxes = FindTextBoxes(html_);
    if (number < 1 || static_cast<std::size_t>(number) > boxes.size()) return false;
    selection_ = boxes[number - 1];
    return true;
  }

  // Puts the picture in place of the selection, as an image stored in the document.
  void AddPicture(const EmbeddedPicture& picture) {
    const std::string image = "<img src=\"" + picture.dataUri + "\" width=\"" +
                              std::to_string(picture.width) + "\" height=\"" +
                              std::to_string(picture.height) + "\" alt=\"\">";
    html_.replace(selection_->contentBegin, selection_->contentEnd - selection_->contentBegin,
                  image);
    selection_.reset();  // the boxes behind it have moved
  }

 private:
  std::string html_;
  std::optional<TextBox> selection_;
};

// The creator field of a PDF's information dictionary as Qt writes it: a text string in
// UTF-16 with its byte order mark.
std::string Utf16Text(std::string_view text) {
  std::string utf16 = "\xfe\xff";
  for (const char c : text) {
    utf16 += '\0';
    utf16 += c;
  }
  return utf16;
}

std::function<void(std::string_view)>& StepHook() {
  static std::function<void(std::string_view)> hook;
  return hook;
}

void StepDone(std::string_view step) {
  if (StepHook()) StepHook()(step);
}

// The older file under the PDF's name (the file its links lead to), while the new pair is
// written.
class OlderPdf {
 public:
  // Moves the file at `pdfPath` aside; false with `error` set to the system's reason when it
  // is there and cannot be.
  bool SetAside(const std::filesystem::path& pdfPath, std::string* error) {
    std::error_code ec;
    const std::filesystem::path file = std::filesystem::canonical(pdfPath, ec);
    if (ec) {
      // Nothing there; a run killed after moving the older PDF aside left it behind.
      std::filesystem::remove(SetAsidePathFor(pdfPath), ec);
      return true;
    }
    if (!std::filesystem::is_regular_file(file, ec)) return true;
    const std::filesystem::path aside = SetAsidePathFor(file);
    std::filesystem::rename(file, aside, ec);
    if (ec) {
      *error = ec.message();
      return false;
    }
    file_ = file;
    aside_ = aside;
    StepDone("pdf set aside");
    return true;
  }
  // Puts it back, for a document that could not be written; false with `error` set when it
  // cannot be.
  bool PutBack(std::string* error) {
    if (file_.empty()) return true;
    std::error_code ec;
    std::filesystem::rename(aside_, file_, ec);
    if (ec) {
      *error = "the older PDF stays at \"" + aside_.string() + "\" (" + ec.message() + ")";
      return false;
    }
    file_.clear();
    return true;
  }
  // Removes it, once it no longer belongs beside the document.
  void Drop() {
    if (file_.empty()) return;
    std::error_code ec;
    std::filesystem::remove(aside_, ec);
    file_.clear();
  }

 private:
  std::filesystem::path file_;
  std::filesystem::path aside_;
};

}  // namespace

void SetReportWriteStepHook(std::function<void(std::string_view step)> hook) {
  StepHook() = std::move(hook);
}

std::filesystem::path SetAsidePathFor(const std::filesystem::path& pdfPath) {
  return pdfPath.parent_path() / ("." + pdfPath.filename().string() + ".replaced");
}

PictureBoxNumbers PictureBoxesFor(const AppSettings& settings) {
  const int strategyBoxes = settings.PrintPlanStrategy ? 6 : 0;
  PictureBoxNumbers numbers;
  if (settings.PrintPayoffSchedule) {
    numbers.payoffDates = strategyBoxes + (settings.PrintPayoffProjections ? 9 : 8);
  }
  if (settings.PrintPayoffProjections) numbers.balances = strategyBoxes + 8;
  return numbers;
}

bool PlaceGraphics(std::string* html, const AppSettings& settings, const EmbeddedPicture* payoff,
                   const EmbeddedPicture* balances, std::string* error) {
  WordProcessorDocument document(*html);
  const PictureBoxNumbers boxes = PictureBoxesFor(settings);
  const auto place = [&](int box, const EmbeddedPicture* picture) {
    if (box == 0) return true;
    if (!document.SelectTextBox(box)) {
      *error = "The report has no text box \"Text Box " + std::to_string(box) + "\".";
      return false;
    }
    if (picture != nullptr) document.AddPicture(*picture);
    return true;
  };
  if (!place(boxes.payoffDates, payoff) || !place(boxes.balances, balances)) return false;
  *html = std::move(document.Html());
  return true;
}

FinishedReport FinishReport(const ReportContext& context) {
  FinishedReport report;
  AssembledReport assembled = AssembleReport(context);
  report.missingParagraphs = std::move(assembled.missingParagraphs);
  if (!assembled.error.empty()) {
    report.error = std::move(assembled.error);
    return report;
  }
  if (context.pictures != nullptr) {
    for (const ReportPicture kind : {ReportPicture::kPayoffDates, ReportPicture::kBalances}) {
      std::optional<DrawnPicture> picture =
          context.pictures->Draw(kind, context.language, &report.error);
      if (!picture) return report;
      report.pictures.push_back(std::move(*picture));
    }
  }
  const auto picture = [&](std::size_t k) {
    return k < report.pictures.size() ? &report.pictures[k].embedded : nullptr;
  };
  std::string error;
  if (!PlaceGraphics(&assembled.text, *context.settings, picture(0), picture(1), &error)) {
    report.error = "Could not place graphics on report.\n\n" + error;
    return report;
  }
  report.document = CutReportBlocks(assembled.text);
  report.ok = true;
  return report;
}

ReportDocumentOutcome WriteReportDocument(const ReportContext& context,
                                          const std::filesystem::path& path, const PdfRequest* pdf,
                                          bool dropStalePdf) {
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
  FinishedReport report = FinishReport(context);
  outcome.missingParagraphs = std::move(report.missingParagraphs);
  if (!report.ok) {
    showError(report.error);
    return outcome;
  }
  // The PDF waits in a temporary file while the document replaces its own.
  std::optional<PreparedFile> pdfFile;
  if (pdf != nullptr) {
    std::string error;
    const std::optional<std::string> bytes =
        pdf->render ? pdf->render(report.document, &error) : std::nullopt;
    if (!pdf->render) error = "nothing draws it";
    if (!bytes) {
      showError("Could not make the PDF \"" + pdf->path.string() + "\": " + error);
      return outcome;
    }
    pdfFile.emplace(pdf->path, *bytes);
    if (!pdfFile->ready()) {
      showError("Could not write the PDF \"" + pdf->path.string() + "\": " + pdfFile->error());
      return outcome;
    }
  }
  std::string reason;
  OlderPdf olderPdf;
  if (pdfFile && !olderPdf.SetAside(pdf->path, &reason)) {
    showError("Could not write the PDF \"" + pdf->path.string() +
              "\": the older file cannot be moved aside (" + reason + ")");
    return outcome;
  }
  std::optional<std::filesystem::path> stalePdf;
  if (!pdfFile && dropStalePdf) stalePdf = StalePdfBeside(path);
  if (stalePdf && !olderPdf.SetAside(*stalePdf, &reason)) {
    showError("Could not write the report \"" + path.string() + "\": the PDF \"" +
              stalePdf->string() +
              "\" of an earlier report of the same name cannot be moved aside (" + reason + ")");
    return outcome;
  }
  if (!WriteFileAtomically(path, report.document.Text(), &reason)) {
    std::string message = "Could not write the report \"" + path.string() + "\": " + reason;
    if (std::string problem; !olderPdf.PutBack(&problem)) message += "\n\nAlso, " + problem;
    showError(message);
    return outcome;
  }
  StepDone("document written");
  outcome.saved = true;
  bool complete = true;
  if (pdfFile && !pdfFile->Commit(&reason)) {
    showError("Could not write the PDF \"" + pdf->path.string() + "\": " + reason);
    complete = false;
  } else if (pdfFile) {
    StepDone("pdf written");
  }
  // Of an earlier report: it does not come back beside the new document, written or not.
  olderPdf.Drop();
  outcome.removedPdf = stalePdf;
  const char* const copies[] = {kPayoffPictureName, kBalancesPictureName};
  for (std::size_t k = 0; k < report.pictures.size(); ++k) {
    const std::filesystem::path copy = context.programFolder / copies[k];
    if (!WriteFileAtomically(copy, report.pictures[k].bitmap, &reason)) {
      showError("Could not save the chart picture " + copy.string() + ": " + reason);
      complete = false;
    }
  }
  outcome.complete = complete;
  return outcome;
}

bool PdfMadeByThisProgram(const std::filesystem::path& path) {
  // The information dictionary comes first in the PDFs this program writes.
  constexpr std::size_t kHeadBytes = 64 * 1024;
  std::ifstream file(path, std::ios::binary);
  std::string head(kHeadBytes, '\0');
  file.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(file.gcount()));
  if (!head.starts_with("%PDF-")) return false;
  const std::string creator = "/Creator (";
  return head.find(creator + Utf16Text(kPdfCreator) + ")") != std::string::npos ||
         head.find(creator + kPdfCreator + ")") != std::string::npos;
}

std::optional<std::filesystem::path> StalePdfBeside(const std::filesystem::path& reportPath) {
  std::filesystem::path pdf = PdfPathFor(reportPath);
  std::error_code ec;
  if (pdf == reportPath || !std::filesystem::is_regular_file(pdf, ec)) return std::nullopt;
  if (!PdfMadeByThisProgram(pdf)) return std::nullopt;
  return pdf;
}

std::filesystem::path PdfPathFor(const std::filesystem::path& reportPath) {
  std::filesystem::path pdf = reportPath;
  pdf.replace_extension(".pdf");
  return pdf;
}

std::string ReportFileName(const PlanDocument& plan, bool languagePermitted,
                           const std::string& languageWord, const RegionalSettings& regional) {
  std::string name = plan.LastName + ", " + plan.FirstName + " " +
                     FormatShortDate(plan.Date, regional.shortDateFormat);
  if (languagePermitted) name += " " + languageWord;
  return SafeFileName(name, ".doc");
}

std::string ReportFolder(const std::string& reportDirectory,
                         const std::filesystem::path& programFolder) {
  const bool blank = reportDirectory.find_first_not_of(" \t") == std::string::npos;
  std::filesystem::path folder =
      blank ? std::filesystem::path("Reports") : std::filesystem::path(reportDirectory);
  if (folder.is_relative()) folder = programFolder / folder;
  std::error_code ec;
  if (folder.is_relative()) folder = std::filesystem::absolute(folder, ec);
  std::string text = folder.string();
  if (text.empty() || text.back() != '/') text += '/';
  return text;
}

std::filesystem::path ReportFilePath(const std::string& reportDirectory, const std::string& name) {
  if (reportDirectory.empty() || reportDirectory.back() == '/') return reportDirectory + name;
  return reportDirectory + "/" + name;
}

void MakeReportDirectory(const std::string& reportDirectory) {
  std::error_code ec;
  if (!reportDirectory.empty() && !std::filesystem::exists(reportDirectory, ec)) {
    std::filesystem::create_directory(reportDirectory, ec);  // a failure shows when saving
  }
}

std::string StalePdfQuestion(const std::filesystem::path& pdf) {
  return "An older PDF of this report, made by this program from an earlier report with "
         "perhaps other figures, has the same name:\n\n" +
         pdf.string() + "\n\nRemove it?";
}

std::optional<bool> WriteOrReuseReport(
    const std::string& reportDirectory, const std::filesystem::path& reportPath,
    const std::function<bool(const std::filesystem::path&, bool dropStalePdf)>& generate,
    const std::function<FileExistsAnswer(const std::string&)>& askFileExists,
    const std::function<bool(const std::string&)>& confirm) {
  MakeReportDirectory(reportDirectory);
  std::error_code ec;
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
  const std::optional<std::filesystem::path> stale = StalePdfBeside(reportPath);
  const bool dropStalePdf = stale && confirm(StalePdfQuestion(*stale));
  if (!generate(reportPath, dropStalePdf)) return std::nullopt;
  return true;
}

void PrepareReportFile(const PrintJob& job, std::shared_ptr<PrintSurroundings> surroundings,
                       std::function<void(const PrintOutcome&)> finished) {
  PrintOutcome outcome;
  const auto finish = [&finished](const PrintOutcome& done) {
    if (finished) finished(done);
  };
  const std::string path = job.reportPath.string();
  const std::optional<bool> generated = WriteOrReuseReport(
      job.reportDirectory, job.reportPath, job.generate,
      [&](const std::string& name) { return surroundings->AskFileExists(name); },
      [&](const std::string& question) { return surroundings->Confirm(question); });
  if (!generated) {
    finish(outcome);
    return;
  }
  const bool generate = *generated;
  outcome.generated = generate;
  outcome.opened = true;
  // An existing report opened as it is was not printed now.
  const bool logIt = job.printLog && generate;
  PrintSurroundings& around = *surroundings;
  around.OpenDocument(path, [outcome, logIt, path, programFolder = job.programFolder,
                             regional = job.regional, surroundings = std::move(surroundings),
                             finished = std::move(finished)](DesktopOpenResult result) mutable {
    outcome.openResult = result;
    if (result != DesktopOpenResult::kOpened) {
      surroundings->ShowInformation(kWordProcessorMissing);
    }
    if (logIt) {
      std::string error;
      outcome.logged = LogPrint(programFolder, path, result, surroundings->Now(), regional, &error);
      if (!outcome.logged) surroundings->ShowInformation(kCouldNotLogPrint);
    }
    if (finished) finished(outcome);
  });
}

}  // namespace ardvane
