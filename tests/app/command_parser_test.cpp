#include "app/command_parser.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ardvane {
namespace {

// The command in one line, every field that the run uses.
std::string Describe(const Command& command) {
  std::ostringstream text;
  if (command.programFolder) text << "folder " << command.programFolder->string() << ": ";
  if (const auto* start = std::get_if<WindowStart>(&command.action)) {
    text << "window";
    for (const std::string& word : start->planWords) text << " [" << word << "]";
  } else if (const auto* report = std::get_if<ReportRequest>(&command.action)) {
    text << "report [" << report->planPath << "] as [" << report->reportName << "]"
         << (report->language == Language::kSpanish ? " Spanish" : "")
         << (report->pdf ? " pdf" : "");
  } else if (const auto* query = std::get_if<PlanQuery>(&command.action)) {
    const char* modes[] = {"results", "compare", "needed", "csv"};
    text << modes[static_cast<int>(query->mode)] << " " << query->plan.string();
    if (query->params) text << " params " << query->params->string();
    if (query->settings) text << " settings " << query->settings->string();
    if (query->by) {
      text << " by " << query->by->year << "-" << query->by->month << " (" << query->byText << ")";
    }
    if (query->investmentTable) text << " investment";
  } else if (std::holds_alternative<ShowHelp>(command.action)) {
    text << "help";
  } else if (std::holds_alternative<ShowVersion>(command.action)) {
    text << "version";
  } else {
    text << "error: " << std::get<CommandError>(command.action).message;
  }
  return text.str();
}

TEST(CommandParserTest, EveryModeAndEachMistakeWithItsOneWording) {
  const struct {
    std::vector<std::string> args;
    const char* command;
  } cases[] = {
      // The window: plan path words, which a path with blanks may come in.
      {{}, "window"},
      {{"/home/ana/My", "Plans/a.bvx"}, "window [/home/ana/My] [Plans/a.bvx]"},
      {{"-h", "x.bvx"}, "window [-h] [x.bvx]"},
      // --program-folder first, in the middle and last, in every mode.
      {{"--program-folder", "/pf", "a.bvx"}, "folder /pf: window [a.bvx]"},
      {{"My", "--program-folder", "/p f", "Plans.bvx"}, "folder /p f: window [My] [Plans.bvx]"},
      {{"a.bvx", "--program-folder", "/pf"}, "folder /pf: window [a.bvx]"},
      {{"--results", "a.bvx", "--program-folder", "/pf"}, "folder /pf: results a.bvx"},
      {{"a.bvx", "--program-folder", "/pf", "-<p>R"}, "folder /pf: report [a.bvx] as [R]"},
      {{"--program-folder", "/pf", "--help"}, "folder /pf: help"},
      {{"--version", "--program-folder", "/pf"}, "folder /pf: version"},
      {{"-h"}, "help"},
      // A report request: the words without it name the plan; the name follows "-<p>".
      {{"My", "-<p>Smith report", "Plans/a.bvx"}, "report [My Plans/a.bvx] as [Smith report]"},
      {{"-<p>Report1"}, "report [] as [Report1]"},
      {{"a.bvx", "-<p>First", "-<p>Second"}, "report [a.bvx] as [Second]"},
      {{"a.bvx", "x-<p>R"}, "report [a.bvx] as [>R]"},
      {{"a.bvx", "--pdf", "-<p>R", "--language", "Spanish", "--pdf"},
       "report [a.bvx] as [R] Spanish pdf"},
      {{"a.bvx", "-<p>R", "--language", "English"}, "report [a.bvx] as [R]"},
      // Plan queries take the next word as the value, whatever it is.
      {{"--csv", "--table", "--table", "investment", "--params", "p.ini", "--settings", "s.ini"},
       "csv --table params p.ini settings s.ini investment"},
      {{"--by", "2030-06", "--needed", "a.bvx"}, "needed a.bvx by 2030-6 (2030-06)"},
      // Each mistake, in one wording wherever it is made.
      {{"--compare", "a.bvx", "--table", "amortization", "--csv", "b.bvx"},
       "error: --compare and --csv cannot be combined."},
      {{"--program-folder"}, "error: --program-folder needs a folder."},
      {{"--results", "a.bvx", "--program-folder"}, "error: --program-folder needs a folder."},
      {{"--program-folder", "/a", "x", "--program-folder", "/b"},
       "error: --program-folder names one folder."},
      {{"a.bvx", "--bogus"}, "error: unknown option \"--bogus\"."},
      {{"--results", "a.bvx", "--bogus"}, "error: unknown option \"--bogus\"."},
      {{"--help", "a.bvx"}, "error: --help stands alone."},
      {{"--results", "a.bvx", "--version"}, "error: --version stands alone."},
      {{"a.bvx", "--pdf"}, "error: --pdf goes with a report request (-<p>NAME)."},
      {{"--results", "a.bvx", "--pdf"}, "error: --pdf goes with a report request (-<p>NAME)."},
      {{"a.bvx", "--language", "Spanish"},
       "error: --language goes with a report request (-<p>NAME)."},
      {{"--results", "a.bvx", "--language", "Spanish"},
       "error: --language goes with a report request (-<p>NAME)."},
      {{"a.bvx", "-<p>R", "--language", "French"},
       "error: --language needs English or Spanish, once."},
      {{"a.bvx", "-<p>R", "--language"}, "error: --language needs English or Spanish, once."},
      {{"a.bvx", "-<p>R", "--language", "English", "--language", "English"},
       "error: --language needs English or Spanish, once."},
      {{"a.bvx", "-<p>"},
       "error: the report request \"-<p>\" names no report; write the name after it, e.g. "
       "-<p>Report1."},
      {{"--results", "a.bvx", "-<p>R"}, "error: unexpected argument \"-<p>R\"."},
      {{"--results", "My", "Plans/a.bvx"}, "error: unexpected argument \"Plans/a.bvx\"."},
      {{"--results"}, "error: --results needs a file name."},
      {{"--needed", "a.bvx", "--by"}, "error: --by needs a month, YYYY-MM."},
      {{"--csv", "a.bvx", "--table"}, "error: --table needs amortization or investment."},
      {{"--params", "x"}, "error: --results, --compare, --needed or --csv PLAN is missing."},
      {{"--results", "a.bvx", "--results", "a.bvx"}, "error: --results names one plan file."},
      {{"--results", "a", "--params", "p", "--params", "p"},
       "error: --params names one parameters file."},
      {{"--results", "a", "--settings", "s", "--settings", "s"},
       "error: --settings names one settings file."},
      {{"--needed", "a", "--by", "2030-01", "--by", "2030-02"}, "error: --by names one month."},
      {{"--csv", "a", "--table", "investment", "--table", "investment"},
       "error: --table names one table."},
      {{"--needed", "a"}, "error: --needed needs --by YYYY-MM, the month to be debt free by."},
      {{"--results", "a", "--by", "2030-01"}, "error: --by goes with --needed."},
      {{"--compare", "a", "--table", "investment"}, "error: --table goes with --csv."},
      {{"--csv", "a", "--table", "balances"},
       "error: --table needs amortization or investment, not \"balances\"."},
      {{"--needed", "a", "--by", "2030-13"},
       "error: --by 2030-13 is not a month: months run from 01 to 12."},
      {{"--needed", "a", "--by", "2030-00"},
       "error: --by 2030-00 is not a month: months run from 01 to 12."},
      {{"--needed", "a", "--by", "2030-6"},
       "error: --by \"2030-6\" is not a month: write it as YYYY-MM, e.g. 2030-06."},
      {{"--needed", "a", "--by", "June 2030"},
       "error: --by \"June 2030\" is not a month: write it as YYYY-MM, e.g. 2030-06."},
      // A bad month is reported before the mode it does not go with.
      {{"--results", "a", "--by", "2030-13"},
       "error: --by 2030-13 is not a month: months run from 01 to 12."},
  };
  for (const auto& c : cases) {
    std::string args;
    for (const std::string& arg : c.args) args += " [" + arg + "]";
    EXPECT_EQ(Describe(ParseCommandLine(c.args)), c.command) << "arguments:" << args;
  }
}

TEST(CommandParserTest, AMistakeIsSaidWithTheUsageAndExitStatus2) {
  std::ostringstream err;
  EXPECT_EQ(ReportCommandError({"--results needs a file name."}, err), 2);
  EXPECT_EQ(err.str(), "ardvane: --results needs a file name.\n\n" + UsageText());
}

}  // namespace
}  // namespace ardvane
