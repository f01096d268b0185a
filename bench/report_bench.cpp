// Speed of the client report: GenerateReport with every section and both pictures, then the
// pictures placed into the document, for the sample plan and for a 25-debt plan of 30 years
// (thousands of table rows); the PDF of the sample plan's report, and of a long name.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "bench/payload_folder.h"
#include "engine/calendar.h"
#include "planfiles/plan_file.h"
#include "reports/document_output.h"
#include "reports/pdf_export.h"
#include "settings/settings_files.h"
#include "settings/startup_settings.h"
#include "ui/charts/chart_form_pictures.h"
#include "ui/charts/chart_forms.h"

namespace ardvane {
namespace {

PlanDocument LargePlan() {
  PlanDocument plan;
  plan.FirstName = "Large";
  plan.LastName = "Plan";
  plan.Date = EncodeDate(2026, 12, 7);
  plan.ReturnRate = Percent(6);
  plan.Consolidate = true;
  plan.ConsolidationLoan.Term = 30;
  plan.ConsolidationLoan.InterestRate = Percent(7.5);
  for (int i = 0; i < 25; ++i) {
    // A 30-year mortgage first; the rest spread from a few years to about twenty.
    const double balance = i == 0 ? 250000 : 2000 + 1500.0 * i;
    const double rate = i == 0 ? 6.5 : 5 + (i % 15);
    const double payment = i == 0 ? 1580.17 : balance * (rate / 1200) + balance / (30 + 9 * i);
    Debt debt;
    debt.Name = "Debt " + std::to_string(i + 1);
    debt.Balance = GeneralValue(balance);
    debt.InterestRate = Percent(GeneralValue(rate));
    debt.CurrentPayment = GeneralValue(payment);
    debt.MinimumPaymentAmount = GeneralValue(payment * 0.8);
    debt.Escrow = i == 0 ? 310 : 0;
    debt.Consolidate = i % 6 == 3;
    plan.Debts.AddDebt(debt);
  }
  return plan;
}

// A plan calculated with every report section on, its chart pictures drawn, ready for
// GenerateReport in a scratch program folder.
// `nameLength` > 0 names the sample's second debt with that many "Ä" and no space.
struct ReportFixture {
  explicit ReportFixture(bool large, std::size_t nameLength = 0) {
    params = LoadParams(folder.path(), regional).value();
    ApplyPermissions(settings, params);  // every section on
    if (large) {
      plan = LargePlan();
    } else {
      const Status read =
          ReadData(folder.path() / "Sample.bvx", plan, PlanReadContext{regional, params, 0});
      if (!read.ok()) {
        std::cerr << "cannot read the sample plan: " << read.message() << "\n";
        std::abort();
      }
    }
    if (nameLength > 0) {
      Debt debt = plan.Debts.At(1);
      debt.Name.clear();
      for (std::size_t i = 0; i < nameLength; ++i) debt.Name += "\xc3\x84";
      plan.Debts.EditDebt(1, debt);
    }
    results = Calculate(plan, params, settings);
    forms.Refresh(plan, results, ComputePlanFigures(plan, results), params);
    context.plan = &plan;
    context.results = &results;
    context.params = &params;
    context.settings = &settings;
    context.regional = &regional;
    context.programFolder = folder.path();
    context.pictures = &pictures;
  }

  PayloadFolder folder;
  const RegionalSettings regional;
  PlanParameters params;
  AppSettings settings;
  PlanDocument plan;
  PlanResults results;
  ChartForms forms{regional, folder.path(), nullptr};
  ChartFormPictures pictures{forms};
  ReportContext context;
};

void MeasureReport(benchmark::State& state, bool large) {
  ReportFixture fixture(large);
  const auto path = fixture.folder.path() / "Report.doc";
  std::size_t bytes = 0;
  for (auto _ : state) {
    if (!WriteReportDocument(fixture.context, path).complete) {
      state.SkipWithError("the report was not written whole");
      break;
    }
    bytes = std::filesystem::file_size(path);
  }
  state.counters["report_bytes"] = static_cast<double>(bytes);
}

void BM_GenerateReport(benchmark::State& state) { MeasureReport(state, false); }
void BM_GenerateReportLarge(benchmark::State& state) { MeasureReport(state, true); }

// The PDF of the sample plan's finished report (every section, both pictures), from the
// document to the file.
void BM_ExportPdf(benchmark::State& state) {
  ReportFixture fixture(false);
  const auto report = fixture.folder.path() / "Report.doc";
  const auto pdf = fixture.folder.path() / "Report.pdf";
  if (!WriteReportDocument(fixture.context, report).complete) {
    state.SkipWithError("the report was not written whole");
    return;
  }
  for (auto _ : state) {
    if (const Status written = WriteReportPdf(report, pdf, PaperSize::kLetter); !written.ok()) {
      state.SkipWithError(written.message().c_str());
      break;
    }
  }
  state.counters["pdf_bytes"] = static_cast<double>(std::filesystem::file_size(pdf));
}

// The PDF of a name without a space, of state.range(0) characters, in a paragraph and in a
// narrow column of a table: its cost must grow with the name's length, not its square (the
// fitted complexity says which; a square once cost 16.8 s for a report of a
// 300,000-character name).
void BM_PdfLongName(benchmark::State& state) {
  const std::string name(static_cast<std::size_t>(state.range(0)), 'W');
  const std::string html =
      "<html><head><title>Long name</title></head><body><p>Debt: " + name +
      "</p><table border=\"1\" width=\"100%\"><tr><td width=\"20%\">" + name +
      "</td><td width=\"80%\" align=\"right\">$1,234.56</td></tr></table></body></html>";
  std::size_t bytes = 0;
  for (auto _ : state) {
    const StatusOr<std::string> pdf = RenderReportPdf(html, PaperSize::kLetter);
    if (!pdf.ok()) {
      state.SkipWithError(pdf.status().message().c_str());
      break;
    }
    bytes = pdf->size();
  }
  state.counters["pdf_bytes"] = static_cast<double>(bytes);
  state.SetComplexityN(state.range(0));
}

// The whole report of the sample plan, and its PDF, with a debt named by 300,000 characters
// without a space (a name that once took 16.8 s, and then 2.8 s to set in 621 pages).
void BM_ReportAndPdfOfLongName(benchmark::State& state) {
  ReportFixture fixture(false, 300000);
  const auto report = fixture.folder.path() / "Report.doc";
  const auto pdf = fixture.folder.path() / "Report.pdf";
  for (auto _ : state) {
    if (!WriteReportDocument(fixture.context, report).complete ||
        !WriteReportPdf(report, pdf, PaperSize::kLetter).ok()) {
      state.SkipWithError("the report or its PDF was not written");
      break;
    }
  }
  state.counters["pdf_bytes"] = static_cast<double>(std::filesystem::file_size(pdf));
}

BENCHMARK(BM_GenerateReport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfLongName)
    ->RangeMultiplier(2)
    ->Range(12500, 100000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportAndPdfOfLongName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateReportLarge)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ardvane
