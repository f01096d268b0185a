// The report's statements on the hard plans, read in the shipped templates of both languages.

#include <gtest/gtest.h>

#include <string>

#include "reports/report_generator.h"
#include "tests/figures/test_plans.h"
#include "tests/reports/report_test_files.h"

namespace ardvane {
namespace {

using testing::kPointRegional;

const std::filesystem::path kDist = ARDVANE_DIST_DIR;

struct Written {
  std::string text;
  std::vector<std::filesystem::path> missing;
};

Written Write(const PlanDocument& plan, int language,
              const PlanParameters& params = PlanParameters{}) {
  AppSettings settings;
  settings.PrintStrategiesCompared = true;
  PlanResults results = Calculate(plan, params, settings, kPointRegional);
  ReportContext context;
  context.plan = &plan;
  context.results = &results;
  context.params = &params;
  context.settings = &settings;
  context.regional = &kPointRegional;
  context.programFolder = kDist;
  context.language = language;
  AssembledReport report = AssembleReport(context);
  return {report.text, report.missingParagraphs};
}

std::size_t Count(const std::string& text, const std::string& piece) {
  std::size_t count = 0;
  for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

// Pieces a report says (English, Spanish) and pieces it must never say.
struct Statement {
  const char* english;
  const char* spanish;
};

void ExpectSays(const Written& report, int language, std::initializer_list<Statement> says,
                std::initializer_list<Statement> never) {
  EXPECT_TRUE(report.missing.empty());
  for (const Statement& s : says) {
    const std::string piece = language == 0 ? s.english : s.spanish;
    EXPECT_NE(report.text.find(piece), std::string::npos) << "says: " << piece;
  }
  for (const Statement& s : never) {
    const std::string piece = language == 0 ? s.english : s.spanish;
    EXPECT_EQ(report.text.find(piece), std::string::npos) << "never: " << piece;
  }
}

// What no plan that is not a saving may say.
const std::initializer_list<Statement> kSavingClaims = {
    {"pays for itself", "se paga solo"},
    {"saves the most", "ahorra más"},
    {"saves you", "le ahorra"},
    {"starts working for you", "empieza a trabajar para usted"},
};

TEST(ReportStatementsOnHardPlansTest, TheHopelessCardsLeadWithWhatNeverEnds) {
  for (const int language : {0, 1}) {
    SCOPED_TRACE(language);
    const Written report = Write(testing::HopelessCardsPlan(), language);
    ExpectSays(report, language,
               {{"Before You Read This Plan", "Antes de leer este plan"},
                {"under this plan these debts are never paid off: Capital One and Discover",
                 "con este plan estas deudas nunca se liquidan: Capital One y Discover"},
                {"a month would pay off every debt by", "al mes liquidaría todas las deudas para"},
                {"On today&#39;s payments, Capital One is never paid off: after",
                 "Con los pagos actuales, Capital One nunca se liquida: después de"},
                {"A month-by-month plan for your debts, and what it takes",
                 "Un plan mes a mes para sus deudas, y lo que hace falta"},
                {"on a plan that pays off every debt.", "en un plan que liquide todas sus deudas."}},
               {{"to pay off every debt and start building savings",
                 "para liquidar todas sus deudas y empezar a ahorrar"},
                {"become debt free", "quedar libre de deudas"},
                {"will be debt free by", "quedará libre de deudas en"},
                {"makes you debt free", "deja libre de deudas"},
                {"Interest saved</b></td><td>&nbsp;</td><td align=\"right\"><b>$",
                 "Intereses ahorrados</b></td><td>&nbsp;</td><td align=\"right\"><b>$"},
                {"you could build savings", "podría reunir ahorros"}});
    ExpectSays(report, language, {}, kSavingClaims);
    // The lead's power payment is stated on its page and in the immediate results only.
    EXPECT_EQ(Count(report.text, language == 0 ? "a month would pay off every debt by"
                                               : "al mes liquidaría todas las deudas para"),
              2u);
    // The payments that would pay today's debt off are listed once.
    EXPECT_EQ(Count(report.text, language == 0 ? "to pay it off within 60 months"
                                               : "para liquidarla en 60 meses"),
              1u);
  }
}

TEST(ReportStatementsOnHardPlansTest, ACostlierPlanSaysWhatItCostsAndWhyNoFee) {
  for (const int language : {0, 1}) {
    SCOPED_TRACE(language);
    const Written report = Write(testing::CostlierPlan(), language);
    ExpectSays(report, language,
               {{"The plan costs $1,", "El plan le cuesta $1,"},
                {"more in interest than today&#39;s payments.",
                 "más en intereses que los pagos actuales."},
                {"More interest than today", "Intereses de más frente a hoy"},
                {"minimum saving of $500.00, the setup fee is waived instead of $995.00",
                 "ahorro mínimo de $500.00, no se cobra cuota de apertura, en lugar de $995.00"},
                {"Your Plan Fees", "Las cuotas de su plan"}},
               {{">($1,", ">($1,"}, {"saves ($", "ahorra ($"}});
    ExpectSays(report, language, {}, kSavingClaims);
    // In the agreement too, beside its $0.00 rows.
    const auto start = report.text.find(language == 0 ? "Service Agreement" : "Contrato de servicios");
    ASSERT_NE(start, std::string::npos);
    const std::string agreement = report.text.substr(start);
    EXPECT_NE(agreement.find(language == 0 ? "the setup fee is waived" : "no se cobra cuota"),
              std::string::npos);
  }
}

TEST(ReportStatementsOnHardPlansTest, TheMinimumFeeIsExplained) {
  for (const int language : {0, 1}) {
    SCOPED_TRACE(language);
    const Written report = Write(testing::MinimumFeePlan(), language);
    ExpectSays(report, language,
               {{"the setup fee is $150.00 instead of $995.00, and the down payment is $50.00 "
                 "instead of $295.00.",
                 "la cuota de apertura es de $150.00 en lugar de $995.00, y el pago inicial es de "
                 "$50.00 en lugar de $295.00."}},
               {});
  }
}

TEST(ReportStatementsOnHardPlansTest, TheSampleSavesAndSaysTheAverage) {
  for (const int language : {0, 1}) {
    SCOPED_TRACE(language);
    const Written report = Write(testing::SamplePlan(), language, testing::SampleParams());
    ExpectSays(report, language,
               {{"The plan saves $66,293.76 in interest.",
                 "El plan le ahorra $66,293.76 en intereses."},
                {"on average $552.45 a month over the 120 months of the plan",
                 "en promedio en $552.45 al mes durante los 120 meses del plan"},
                {"you could build savings of $379,482.44", "podría reunir ahorros de $379,482.44"},
                {"A month-by-month plan to pay off every debt",
                 "Un plan mes a mes para liquidar todas sus deudas"},
                {"become debt free", "quedar libre de deudas"},
                {"pays for itself", "se paga solo"}},
               {{"Before You Read This Plan", "Antes de leer este plan"},
                {"never paid off", "nunca se liquida"},
                {"below the minimum saving", "ahorro mínimo"}});
  }
}

}  // namespace
}  // namespace ardvane
