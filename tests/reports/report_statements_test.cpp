// The report's statements on the hard plans, read in the shipped templates of both languages.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

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

Written Write(const PlanDocument& plan, Language language,
              const PlanParameters& params = PlanParameters{}) {
  AppSettings settings;
  settings.PrintStrategiesCompared = true;
  PlanResults results = Calculate(plan, params, settings);
  ReportContext context =
      testing::ContextFor(plan, results, params, settings, kDist, language);
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

void ExpectSays(const Written& report, Language language, std::initializer_list<Statement> says,
                std::initializer_list<Statement> never) {
  EXPECT_TRUE(report.missing.empty());
  for (const Statement& s : says) {
    const std::string piece = language == Language::kEnglish ? s.english : s.spanish;
    EXPECT_NE(report.text.find(piece), std::string::npos) << "says: " << piece;
  }
  for (const Statement& s : never) {
    const std::string piece = language == Language::kEnglish ? s.english : s.spanish;
    EXPECT_EQ(report.text.find(piece), std::string::npos) << "never: " << piece;
  }
}

// The report's text in lower case, HTML as it is: the phrases below are searched in it
// whatever their case.
std::string Lower(std::string text) {
  std::ranges::transform(text, text.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// What no plan that is not a saving may say.
const std::initializer_list<Statement> kSavingClaims = {
    {"pays for itself", "se paga solo"},
    {"saves the most", "ahorra más"},
    {"saves you", "le ahorra"},
    {"starts working for you", "empieza a trabajar para usted"},
};

TEST(ReportStatementsOnHardPlansTest, TheHopelessCardsLeadWithWhatNeverEnds) {
  for (const Language language : {Language::kEnglish, Language::kSpanish}) {
    SCOPED_TRACE((language == Language::kEnglish ? "English" : "Spanish"));
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
    EXPECT_EQ(Count(report.text, language == Language::kEnglish
                                     ? "a month would pay off every debt by"
                                     : "al mes liquidaría todas las deudas para"),
              2u);
    // The payments that would pay today's debt off are listed once.
    EXPECT_EQ(Count(report.text, language == Language::kEnglish ? "to pay it off within 60 months"
                                                                : "para liquidarla en 60 meses"),
              1u);
  }
}

// A plan that never ends has no debt-free date, no "debt free" text and no saving on any page:
// not in the tables' labels, the fixed texts nor the investment projection. With fees and a
// return rate, the strategies that never end show no return on the fees nor investment value.
TEST(ReportStatementsOnHardPlansTest, TheHopelessCardsSayNothingOfDebtFreedomNorSavings) {
  PlanDocument withFees = testing::HopelessCardsPlan();
  withFees.SetupFee = Money::FromUnits(995);
  withFees.ManagementFee = Money::FromUnits(25);
  withFees.ReturnRate = Percent(6);
  const std::vector<std::string> english = {"debt free", "debt-free", "pays for itself", "saves the most",
                                 "saves you", "the plan saves", "build savings",
                                 "your savings could grow", "growth of your investment",
                                 "working for you", "saves ("};
  const std::vector<std::string> spanish = {"libre de deudas", "sin deudas", "se paga solo", "ahorra más",
                                 "le ahorra", "reunir ahorros", "podrían crecer sus ahorros",
                                 "crecimiento de su inversión", "trabajar para usted", "ahorra ("};
  for (const Language language : {Language::kEnglish, Language::kSpanish}) {
    for (const PlanDocument& plan : {testing::HopelessCardsPlan(), withFees}) {
      SCOPED_TRACE((language == Language::kEnglish ? "English" : "Spanish"));
      SCOPED_TRACE(plan.SetupFee.Units());
      const Written report = Write(plan, language);
      EXPECT_TRUE(report.missing.empty());
      const std::string text = Lower(report.text);
      const auto strategies = report.text.find(
          language == Language::kEnglish ? "Strategies Compared" : "Comparación de estrategias");
      ASSERT_NE(strategies, std::string::npos);
      EXPECT_EQ(report.text.substr(strategies, report.text.find("<h2", strategies + 1) - strategies)
                    .find("%</td>"),
                std::string::npos);
      for (const std::string& phrase : language == Language::kEnglish ? english : spanish) {
        const auto at = text.find(phrase);
        EXPECT_EQ(at, std::string::npos)
            << phrase << ": ..." << report.text.substr(at == std::string::npos ? 0 : at, 120);
      }
      // What the pages say instead.
      ExpectSays(report, language,
                 {{"<td>All debts paid off in</td>", "<td>Todas las deudas liquidadas en</td>"},
                  {"<b>All debts paid off by</b>", "<b>Todas las deudas liquidadas para</b>"},
                  {">All debts paid off</font>", ">Todas las deudas liquidadas</font>"},
                  {"could be invested once every debt is paid off, but as it stands the plan never "
                   "pays off every debt.",
                   "podría invertirse una vez liquidadas todas, pero tal como está el plan nunca "
                   "liquida todas sus deudas."},
                  {"The plan frees no payments to invest", "El plan no libera pagos que invertir"}},
                 {});
    }
  }
}

// Only today's payments never pay A off: each section says so once, and the immediate results
// state the saving after what it is measured against, not a second time in the note.
TEST(ReportStatementsOnHardPlansTest, OnlyTodaysDebtNeverEndsAndTheSavingIsSaidOncePerSection) {
  for (const Language language : {Language::kEnglish, Language::kSpanish}) {
    SCOPED_TRACE((language == Language::kEnglish ? "English" : "Spanish"));
    const Written report = Write(testing::NeverPaidOffTodayPlan(), language);
    EXPECT_TRUE(report.missing.empty());
    const std::string today =
        language == Language::kEnglish
            ? "On today&#39;s payments, A is never paid off: after 1.8 years you would "
              "still owe $1,122.36."
            : "Con los pagos actuales, A nunca se liquida: después de 1.8 años aún "
              "debería $1,122.36.";
    const std::string saving =
        language == Language::kEnglish
            ? "Over the same 22 months, the plan saves $123.12 in interest."
            : "En los mismos 22 meses, el plan le ahorra $123.12 en intereses.";
    const auto start = report.text.find(language == Language::kEnglish ? "Immediate Results"
                                                                       : "Resultados inmediatos");
    const auto end =
        report.text.find(language == Language::kEnglish ? "Your next steps" : "Sus próximos pasos");
    ASSERT_LT(start, end);
    const std::string results = report.text.substr(start, end - start);
    EXPECT_EQ(Count(results, today), 1u);
    EXPECT_EQ(Count(results, saving), 1u);
    EXPECT_NE(results.find(today + " " + saving), std::string::npos) << results;
    // The projections, the payoff schedule and the immediate results.
    EXPECT_EQ(Count(report.text, saving), 3u);
  }
}

TEST(ReportStatementsOnHardPlansTest, ACostlierPlanSaysWhatItCostsAndWhyNoFee) {
  for (const Language language : {Language::kEnglish, Language::kSpanish}) {
    SCOPED_TRACE((language == Language::kEnglish ? "English" : "Spanish"));
    const Written report = Write(testing::CostlierPlan(), language);
    ExpectSays(report, language,
               {{"The plan costs $1,", "El plan le cuesta $1,"},
                {"more in interest than today&#39;s payments.",
                 "más en intereses que los pagos actuales."},
                {"More interest than today", "Intereses de más frente a hoy"},
                {"Because the plan saves no interest before its fee, and so falls short of the "
                 "minimum saving of $500.00, the setup fee of $995.00 is waived, and the down "
                 "payment is $0.00 instead of $295.00.",
                 "Como el plan no ahorra ningún interés antes de su cuota, y por tanto no alcanza "
                 "el ahorro mínimo de $500.00, la cuota de apertura de $995.00 no se cobra, y el "
                 "pago inicial es de $0.00 en lugar de $295.00."},
                // A strategy or an option that costs more says so under "Interest saved".
                {">Costs $1,397.92", ">Cuesta $1,397.92"},
                {"Your Plan Fees", "Las cuotas de su plan"}},
               {{">($1,", ">($1,"}, {"saves ($", "ahorra ($"}, {"right\">$1,397.92", "right\">$1,397.92"},
                {"the interest the plan saves", "los intereses que el plan ahorra"}});
    ExpectSays(report, language, {}, kSavingClaims);
    // In the agreement too, beside its $0.00 rows (a table cell, whose figures keep their
    // blanks unbroken).
    const auto start = report.text.find(language == Language::kEnglish ? "Service Agreement"
                                                                       : "Contrato de servicios");
    ASSERT_NE(start, std::string::npos);
    const std::string agreement = report.text.substr(start);
    EXPECT_NE(agreement.find(language == Language::kEnglish
                                 ? "falls short of the minimum saving of $500.00"
                                 : "no alcanza el ahorro mínimo de $500.00"),
              std::string::npos);
  }
}

TEST(ReportStatementsOnHardPlansTest, TheMinimumFeeIsExplained) {
  for (const Language language : {Language::kEnglish, Language::kSpanish}) {
    SCOPED_TRACE((language == Language::kEnglish ? "English" : "Spanish"));
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
  for (const Language language : {Language::kEnglish, Language::kSpanish}) {
    SCOPED_TRACE((language == Language::kEnglish ? "English" : "Spanish"));
    const Written report = Write(testing::SamplePlan(), language, testing::SampleParams());
    ExpectSays(report, language,
               {{"The plan saves $66,293.76 in interest.",
                 "El plan le ahorra $66,293.76 en intereses."},
                {"on average $552.45 a month over the 120 months of the plan",
                 "en promedio en $552.45 al mes durante los 120 meses del plan"},
                {"you could build savings of $379,482.44", "podría reunir ahorros de $379,482.44"},
                {"A month-by-month plan to pay off every debt",
                 "Un plan mes a mes para liquidar todas sus deudas"},
                {"We look forward to helping you become debt free.",
                 "Será un placer ayudarle a quedar libre de deudas."},
                {"Once you are debt free, the money that went to your debts can be invested.",
                 "Una vez libre de deudas, el dinero que destinaba a pagarlas puede invertirse."},
                {"<td>Debt free in</td>", "<td>Libre de deudas en</td>"},
                {"<b>Debt free by</b>", "<b>Libre de deudas para</b>"},
                {">Debt free</font>", ">Libre de deudas</font>"},
                {"changes the time it takes to become debt free and the interest you save.",
                 "cambia el tiempo para quedar libre de deudas y los intereses que se ahorra."},
                {"the growth of your investment.", "el crecimiento de su inversión."},
                {"How your savings could grow once the plan frees your payments.",
                 "Cómo podrían crecer sus ahorros una vez que el plan libere sus pagos."},
                {"It makes you debt free in 10.0 years", "Le permite quedar libre de deudas en 10.0 años"},
                {"pays for itself", "se paga solo"}},
               {{"Before You Read This Plan", "Antes de leer este plan"},
                {"never paid off", "nunca se liquida"},
                {"below the minimum saving", "ahorro mínimo"},
                {"All debts paid off", "Todas las deudas liquidadas"},
                {"Lo deja", "Lo deja"}});
  }
}

}  // namespace
}  // namespace ardvane
