// A report paragraph filled as the report fills it, and Language.kdf. The input's first byte
// chooses:
// - even: a paragraph (lines of any bytes) and up to six placeholders with values of any
//   bytes. Each value goes in as the report puts it: ReportHtmlText, and KeepFiguresWhole for
//   a placeholder inside a table cell. Checks that the filled text is what filling position by
//   position from the start gives (at each position the first placeholder registered that is
//   there; values never scanned again), so it is no longer than the paragraph plus the values
//   put in, and holds no more tags than the paragraph; that every value is escaped: no < > " '
//   nor any & but the five references, no control character, UTF-8, at most seven bytes for
//   a byte of the value; that it reads back as the value's characters (controls dropped,
//   blanks for line breaks and tabs, U+FFFD for a byte that is no UTF-8), and that a value
//   holding a direction control is one isolate that nothing in it closes early; and that in
//   a cell no blank next to a digit can break.
// - odd: Language.kdf of any bytes and a phrase. Checks that a translation is the phrase
//   itself or the text after the first ";" of one line of the file that holds the phrase and
//   ";" (for a phrase typed by the user, a line that starts with it), never empty and never
//   longer than a line; that language 0 translates nothing; and that a paragraph's path, when
//   the folder the file names is not refused, lies under Templates and holds no NUL byte.

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/fuzz_utf8.h"
#include "reports/report_document.h"
#include "reports/report_language.h"
#include "reports/report_text.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(std::string_view text, char end) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t at = text.find(end, start);
    lines.emplace_back(text.substr(start, at == std::string_view::npos ? at : at - start));
    if (at == std::string_view::npos) return lines;
    start = at + 1;
  }
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

bool IsDirectionControl(long c) {
  return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// The characters a value shows, direction controls left out.
std::u32string Shown(std::string_view value) {
  std::u32string out;
  for (std::size_t i = 0; i < value.size();) {
    std::size_t length = 0;
    long c = fuzzcheck::ReadCodePoint(value, i, &length);
    if (c == '\r' && value.substr(i, 2) == "\r\n") length = 2;
    i += length;
    if (c < 0) c = 0xFFFD;
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || IsDirectionControl(c)) continue;
    out += static_cast<char32_t>(c);
  }
  return out;
}

bool HoldsDirectionControl(std::string_view value) {
  for (std::size_t i = 0; i < value.size();) {
    std::size_t length = 0;
    if (IsDirectionControl(fuzzcheck::ReadCodePoint(value, i, &length))) return true;
    i += length;
  }
  return false;
}

// Checks the HTML text of `value`; gives its characters, direction controls left out.
std::u32string CheckEscaped(std::string_view html, std::string_view value) {
  if (html.size() > 7 * value.size() + 6) __builtin_trap();
  if (!fuzzcheck::IsValidUtf8(html)) __builtin_trap();
  std::u32string shown;
  int depth = 0;  // of isolates
  const bool fenced = HoldsDirectionControl(value);
  for (std::size_t i = 0; i < html.size();) {
    const char c = html[i];
    if (c == '<' || c == '>' || c == '"' || c == '\'') __builtin_trap();
    if (c == '&') {
      static constexpr std::pair<std::string_view, char> kReferences[] = {
          {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}};
      bool known = false;
      for (const auto& [reference, character] : kReferences) {
        if (html.substr(i, reference.size()) == reference) {
          shown += static_cast<char32_t>(character);
          i += reference.size();
          known = true;
          break;
        }
      }
      if (!known) __builtin_trap();
      if (fenced && depth == 0) __builtin_trap();  // outside the isolate
      continue;
    }
    std::size_t length = 0;
    const long code = fuzzcheck::ReadCodePoint(html, i, &length);
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) __builtin_trap();
    if (fenced) {
      // Opened first, closed last, never closed before the end.
      if (i == 0 && code != 0x2068) __builtin_trap();
      if (depth == 0 && i > 0) __builtin_trap();
    } else if (IsDirectionControl(code)) {
      __builtin_trap();
    }
    if (code >= 0x2066 && code <= 0x2068) ++depth;
    if (code == 0x2069 && --depth < 0) __builtin_trap();
    if (!IsDirectionControl(code)) shown += static_cast<char32_t>(code);
    i += length;
  }
  if (depth != 0) __builtin_trap();
  return shown;
}

// What filling position by position gives.
std::string Filled(std::string_view text,
                   const std::vector<std::pair<std::string, std::string>>& pairs) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    bool replaced = false;
    for (const auto& [placeholder, value] : pairs) {
      if (!placeholder.empty() && text.substr(at, placeholder.size()) == placeholder) {
        out += value;
        at += placeholder.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += text[at++];
  }
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void CheckParagraph(FuzzedDataProvider& input) {
  std::vector<std::pair<std::string, std::string>> pairs;  // placeholder, its value as put in
  std::vector<std::string> names;
  std::vector<std::string> values;
  for (int k = input.ConsumeIntegralInRange(0, 6); k > 0; --k) {
    std::string name = input.ConsumeRandomLengthString(6);
    std::erase_if(name, [](char c) { return c == '<' || c == '\n'; });
    names.push_back(name);
    values.push_back(input.ConsumeRandomLengthString(48));
  }
  const std::vector<std::string> lines = Lines(input.ConsumeRemainingBytesAsString(), '\n');
  const std::string paragraph = Joined(lines);
  const std::set<std::string, std::less<>> inCells = ardvane::PlaceholdersInCells(paragraph + "\n");

  ardvane::ReportDocument report;
  std::size_t longest = 0;
  std::size_t shortest = SIZE_MAX;
  for (std::size_t k = 0; k < names.size(); ++k) {
    const std::string placeholder = "[$" + names[k] + "$]";
    std::string text = ardvane::ReportHtmlText(values[k]);
    if (CheckEscaped(text, values[k]) != Shown(values[k])) __builtin_trap();
    if (inCells.contains(names[k])) {
      const std::string kept = ardvane::KeepFiguresWhole(text);
      if (kept.size() > 2 * text.size()) __builtin_trap();
      for (std::size_t i = 0; i < kept.size(); ++i) {
        if (kept[i] == ' ' &&
            ((i > 0 && IsDigit(kept[i - 1])) || (i + 1 < kept.size() && IsDigit(kept[i + 1])))) {
          __builtin_trap();  // a figure could break here
        }
      }
      text = kept;
    }
    longest = std::max(longest, text.size());
    shortest = std::min(shortest, placeholder.size());
    report.addReplacement(placeholder, text);
    pairs.emplace_back(placeholder, text);
  }
  report.setTemplateText(lines);
  report.applyReplacements();
  const std::string filled = Joined(report.reportText());
  if (filled != Filled(paragraph, pairs)) __builtin_trap();
  if (!pairs.empty() && filled.size() > paragraph.size() + paragraph.size() / shortest * longest) {
    __builtin_trap();
  }
  if (std::count(filled.begin(), filled.end(), '<') !=
      std::count(paragraph.begin(), paragraph.end(), '<')) {
    __builtin_trap();  // a value added markup
  }
}

const fs::path& Folder() {
  static const fs::path folder = [] {
    std::string pattern =
        (fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()).string();
    pattern += "/ardvane-language-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(Folder(), ec);
    });
    return fs::path(pattern);
  }();
  return folder;
}

// Checks a translation of `phrase` against the lines of Language.kdf; `exactly`: only a line
// whose text before its first ";" is the phrase may give it.
void CheckTranslation(const std::string& translated, std::string_view phrase,
                      const std::vector<std::string>& lines, bool exactly) {
  if (translated == phrase) return;
  std::string key(phrase);
  key += ';';
  for (const std::string& line : lines) {
    const std::size_t semicolon = line.find(';');
    const bool holds = exactly
                           ? line.substr(0, semicolon) == phrase && semicolon != std::string::npos
                           : line.find(key) != std::string::npos;
    if (!holds) continue;
    // The first such line gives the translation.
    if (translated != line.substr(semicolon + 1)) __builtin_trap();
    return;
  }
  __builtin_trap();  // a translation no line gives
}

void CheckLanguageFile(FuzzedDataProvider& input) {
  static constexpr std::string_view kPhrases[] = {"English", "Never", "NA", "and", "years", ""};
  std::string phrase = input.ConsumeBool()
                           ? std::string(kPhrases[input.ConsumeIntegralInRange(0, 5)])
                           : input.ConsumeRandomLengthString(12);
  const std::string file = input.ConsumeRemainingBytesAsString();
  {
    std::ofstream out(Folder() / "Language.kdf", std::ios::binary | std::ios::trunc);
    out.write(file.data(), static_cast<std::streamsize>(file.size()));
  }
  std::vector<std::string> lines = Lines(file, '\n');
  if (!file.empty() && file.back() == '\n') lines.pop_back();
  for (std::string& line : lines) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
  }

  const ardvane::ReportPhrases english(Folder(), ardvane::Language::kEnglish);
  if (english.Translate(phrase) != phrase || english.TranslateExactly(phrase) != phrase) {
    __builtin_trap();
  }
  const ardvane::ReportPhrases phrases(Folder(), ardvane::Language::kSpanish);
  const std::string translated = phrases.Translate(phrase);
  CheckTranslation(translated, phrase, lines, false);
  CheckTranslation(phrases.TranslateExactly(phrase), phrase, lines, true);
  if (translated.empty() && !phrase.empty()) __builtin_trap();
  if (translated.size() > std::max(phrase.size(), file.size())) __builtin_trap();

  // The paragraphs' folder: refused, or a folder under Templates.
  ardvane::ReportSources sources(Folder(), ardvane::Language::kSpanish);
  if (!sources.folderStatus().ok()) return;
  const fs::path path = ardvane::ParagraphPath("Cover", ardvane::Language::kSpanish, Folder());
  const std::string text = path.string();
  if (text.find('\0') != std::string::npos) __builtin_trap();  // the system would cut it there
  const fs::path templates = (Folder() / "Templates").lexically_normal();
  const fs::path normal = path.lexically_normal();
  const auto inside =
      std::mismatch(templates.begin(), templates.end(), normal.begin(), normal.end()).first;
  if (inside != templates.end() || std::distance(normal.begin(), normal.end()) <=
                                       std::distance(templates.begin(), templates.end())) {
    __builtin_trap();  // not a file under Templates
  }
  sources.Paragraph("Cover");
  if (sources.missingParagraphs().size() != 1 || sources.missingParagraphs()[0] != path) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 4096) return 0;
  FuzzedDataProvider input(data + 1, size - 1);
  if ((data[0] & 1) == 0) {
    CheckParagraph(input);
  } else {
    CheckLanguageFile(input);
  }
  return 0;
}
