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
  // Moves the file at `pdfPath` aside; an IoError with the system's reason when it is there
  // and cannot be.
  Status SetAside(const std::filesystem::path& pdfPath) {
    std::error_code ec;
    const std::filesystem::path file = std::filesystem::canonical(pdfPath, ec);
    if (ec) {
      // Nothing there; a run killed after moving the older PDF aside left it behind.
      std::filesystem::remove(SetAsidePathFor(pdfPath), ec);
      return Status::Ok();
    }
    if (!std::filesystem::is_regular_file(file, ec)) return Status::Ok();
    const std::filesystem::path aside = SetAsidePathFor(file);
    std::filesystem::rename(file, aside, ec);
    if (ec) return Status::IoError(ec.message());
    file_ = file;
    aside_ = aside;
    StepDone("pdf set aside");
    return Status::Ok();
  }
  // Puts it back, for a document that could not be written; an IoError saying where it stays
  // when it cannot be.
  Status PutBack() {
    if (file_.empty()) return Status::Ok();
    std::error_code ec;
    std::filesystem::rename(aside_, file_, ec);
    if (ec) {
      return Status::IoError("the older PDF stays at \"" + aside_.string() + "\" (" + ec.message() +
                             ")");
    }
    file_.clear();
    return Status::Ok();
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

// Draws the PDF of `document` and writes it to a temporary file in `file`, where it waits
// while the document replaces its own. A failure's message is the one to show.
Status PreparePdf(const PdfRequest& pdf, const ReportBlocks& document,
                  std::optional<PreparedFile>* file) {
  const std::string name = pdf.path.string();
  const StatusOr<std::string> bytes =
      pdf.render ? pdf.render(document) : Status::InvalidData("nothing draws it");
  if (!bytes.ok()) {
    return bytes.status().WithMessage("Could not make the PDF \"" + name +
                                      "\": " + bytes.status().message());
  }
  const Status& prepared = file->emplace(pdf.path, *bytes).status();
  if (prepared.ok()) return prepared;
  return prepared.WithMessage("Could not write the PDF \"" + name + "\": " + prepared.message());
}

// Moves aside, into `older`, the PDF that must not stand beside the new document at
// `documentPath`: the older file under the new PDF's name `newPdf` when one is written, else
// the `stalePdf` of an earlier report. A failure's message is the one to show.
Status SetOlderPdfAside(const std::filesystem::path& documentPath,
                        const std::filesystem::path* newPdf,
                        const std::optional<std::filesystem::path>& stalePdf, OlderPdf* older) {
  if (newPdf != nullptr) {
    const Status aside = older->SetAside(*newPdf);
    if (aside.ok()) return aside;
    return aside.WithMessage("Could not write the PDF \"" + newPdf->string() +
                             "\": the older file cannot be moved aside (" + aside.message() + ")");
  }
  if (!stalePdf) return Status::Ok();
  const Status aside = older->SetAside(*stalePdf);
  if (aside.ok()) return aside;
  return aside.WithMessage("Could not write the report \"" + documentPath.string() +
                           "\": the PDF \"" + stalePdf->string() +
                           "\" of an earlier report of the same name cannot be moved aside (" +
                           aside.message() + ")");
}

}  // namespace

void SetReportWriteStepHook(std::function<void(std::string_view step)> hook) {
  StepHook() = std::move(hook);
}

std::filesystem::path SetAsidePathFor(const std::filesystem::path& pdfPath) {
  std::string name(1, '.');
  name += pdfPath.filename().string();
  name += ".replaced";
  return pdfPath.parent_path() / name;
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

Status PlaceGraphics(std::string* html, const AppSettings& settings, const EmbeddedPicture* payoff,
                     const EmbeddedPicture* balances) {
  WordProcessorDocument document(*html);
  const PictureBoxNumbers boxes = PictureBoxesFor(settings);
  const auto place = [&](int box, const EmbeddedPicture* picture) {
    if (box == 0) return Status::Ok();
    if (!document.SelectTextBox(box)) {
      return Status::InvalidData("The report has no text box \"Text Box " + std::to_string(box) +
                                 "\".");
    }
    if (picture != nullptr) document.AddPicture(*picture);
    return Status::Ok();
  };
  if (Status placed = place(boxes.payoffDates, payoff); !placed.ok()) return placed;
  if (Status placed = place(boxes.balances, balances); !placed.ok()) return placed;
  *html = std::move(document.Html());
  return Status::Ok();
}

FinishedReport FinishReport(const ReportContext& context) {
  FinishedReport report;
  AssembledReport assembled = AssembleReport(context);
  report.missingParagraphs = std::move(assembled.missingParagraphs);
  if (!assembled.status.ok()) {
    report.status = std::move(assembled.status);
    return report;
  }
  if (context.pictures != nullptr) {
    for (const ReportPicture kind : {ReportPicture::kPayoffDates, ReportPicture::kBalances}) {
      StatusOr<DrawnPicture> picture = context.pictures->Draw(kind, context.language);
      if (!picture.ok()) {
        report.status = picture.status();
        return report;
      }
      report.pictures.push_back(std::move(picture).value());
    }
  }
  const auto picture = [&](std::size_t k) {
    return k < report.pictures.size() ? &report.pictures[k].embedded : nullptr;
  };
  const Status placed = PlaceGraphics(&assembled.text, *context.settings, picture(0), picture(1));
  if (!placed.ok()) {
    report.status =
        placed.WithMessage("Could not place graphics on report.\n\n" + placed.message());
    return report;
  }
  report.document = CutReportBlocks(assembled.text);
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
  if (!report.status.ok()) {
    showError(report.status.message());
    return outcome;
  }
  std::optional<PreparedFile> pdfFile;
  if (pdf != nullptr) {
    if (const Status prepared = PreparePdf(*pdf, report.document, &pdfFile); !prepared.ok()) {
      showError(prepared.message());
      return outcome;
    }
  }
  std::optional<std::filesystem::path> stalePdf;
  if (!pdfFile && dropStalePdf) stalePdf = StalePdfBeside(path);
  OlderPdf olderPdf;
  if (const Status aside =
          SetOlderPdfAside(path, pdfFile ? &pdf->path : nullptr, stalePdf, &olderPdf);
      !aside.ok()) {
    showError(aside.message());
    return outcome;
  }
  if (const Status written = WriteFileAtomically(path, report.document.Text()); !written.ok()) {
    std::string message =
        "Could not write the report \"" + path.string() + "\": " + written.message();
    if (const Status putBack = olderPdf.PutBack(); !putBack.ok()) {
      message += "\n\nAlso, " + putBack.message();
    }
    showError(message);
    return outcome;
  }
  StepDone("document written");
  outcome.saved = true;
  bool complete = true;
  if (pdfFile) {
    if (const Status committed = pdfFile->Commit(); !committed.ok()) {
      showError("Could not write the PDF \"" + pdf->path.string() + "\": " + committed.message());
      complete = false;
    } else {
      StepDone("pdf written");
    }
  }
  // Of an earlier report: it does not come back beside the new document, written or not.
  olderPdf.Drop();
  outcome.removedPdf = stalePdf;
  const char* const copies[] = {kPayoffPictureName, kBalancesPictureName};
  for (std::size_t k = 0; k < report.pictures.size(); ++k) {
    const std::filesystem::path copy = context.programFolder / copies[k];
    if (const Status written = WriteFileAtomically(copy, report.pictures[k].bitmap);
        !written.ok()) {
      showError("Could not save the chart picture " + copy.string() + ": " + written.message());
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
      // The reason is not shown: the message has always been the same for every failure.
      outcome.logged = LogPrint(programFolder, path, result, surroundings->Now(), regional).ok();
      if (!outcome.logged) surroundings->ShowInformation(kCouldNotLogPrint);
    }
    if (finished) finished(outcome);
  });
}

}  // namespace ardvane
