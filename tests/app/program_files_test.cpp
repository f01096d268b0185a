// The built program's --version and the manual page made from its --help text.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "../planfiles/test_files.h"
#include "app/command_parser.h"
#include "platform/version_info.h"

namespace ardvane {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

struct ShellRun {
  int status = -1;
  std::string out;
};

// Runs a shell command line and collects its standard output.
ShellRun Shell(const std::string& command) {
  ShellRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

bool Has(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

// How the manual page writes a text: hyphens as minus signs.
std::string Roff(std::string text) {
  for (std::size_t at = 0; (at = text.find('-', at)) != std::string::npos; at += 2) {
    text.insert(at, "\\");
  }
  return text;
}

TEST(ProgramVersionTest, VersionIsTheStampedFileVersionAndTheProjectVersion) {
  const ShellRun run = Shell(Quoted(ARDVANE_PROGRAM) + " --version");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, std::string("ardvane ") + ARDVANE_PROJECT_VERSION + "\n");
  // The About box shows the stamp read back from the file.
  EXPECT_EQ(tFileVersionInformation(ARDVANE_PROGRAM).GetVersionValue("FileVersion"),
            ARDVANE_PROJECT_VERSION);
  EXPECT_TRUE(Has(UsageText(), "ardvane --version\n"));
}

TEST(ManualPageTest, MadeFromTheHelpTextWithEveryModeAndNoFormattingWarning) {
  TempFolder folder;
  const std::string page = (folder / "ardvane.1").string();
  ASSERT_EQ(Shell("sh " + Quoted(ARDVANE_HELP_TO_MAN) + " " + Quoted(ARDVANE_PROGRAM) + " " +
                  Quoted(page))
                .status,
            0);
  const std::string text = ReadFile(page);
  EXPECT_TRUE(Has(text, Roff(std::string(".TH ARDVANE 1 \"\" \"ardvane ") +
                             ARDVANE_PROJECT_VERSION + "\"")));
  int modes = 0;
  const std::string help = UsageText();
  for (std::size_t start = 0; start < help.size();) {
    std::size_t end = help.find('\n', start);
    if (end == std::string::npos) end = help.size();
    const std::string line = help.substr(start, end - start);
    if (line.rfind("  ardvane", 0) == 0) {
      ++modes;
      EXPECT_TRUE(Has(text, "\\fB" + Roff(line.substr(2)) + "\\fR")) << line;
    }
    start = end + 1;
  }
  EXPECT_GE(modes, 5);

  // Set in one long line without hyphenation, the page says every word of the help text in
  // its order: nothing was dropped or taken for a formatting request.
  if (Shell("command -v groff >/dev/null").status != 0) GTEST_SKIP() << "groff is not here";
  const ShellRun warnings = Shell("groff -man -ww -z " + Quoted(page) + " 2>&1");
  EXPECT_EQ(warnings.status, 0);
  EXPECT_EQ(warnings.out, "");
  const ShellRun shown =
      Shell("groff -man -Tascii -P-cbou -rHY=0 -rLL=5000n " + Quoted(page) + " 2>/dev/null");
  ASSERT_EQ(shown.status, 0);
  std::istringstream words(help.substr(help.find('\n')));
  std::size_t at = 0;
  for (std::string word; words >> word;) {
    const std::size_t found = shown.out.find(word, at);
    ASSERT_NE(found, std::string::npos) << "\"" << word << "\" is missing after:\n"
                                        << shown.out.substr(at, 300);
    at = found + word.size();
  }
}

TEST(ManualPageTest, AHelpTextOfAnotherShapeFailsTheBuildAndLeavesNoPage) {
  TempFolder folder;
  const std::string program = (folder / "program").string();
  WriteFile(program,
            "#!/bin/sh\n"
            "if [ \"$1\" = --version ]; then echo 'ardvane 1'; else echo 'Options: none'; fi\n");
  ASSERT_EQ(chmod(program.c_str(), 0755), 0);
  const std::string page = (folder / "ardvane.1").string();
  const ShellRun run = Shell("sh " + Quoted(ARDVANE_HELP_TO_MAN) + " " + Quoted(program) + " " +
                        Quoted(page) + " 2>/dev/null");
  EXPECT_NE(run.status, 0);
  EXPECT_FALSE(std::filesystem::exists(page));
  EXPECT_FALSE(std::filesystem::exists(page + ".tmp"));
}

}  // namespace
}  // namespace ardvane
