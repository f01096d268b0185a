#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ardvane {

// The text of an initialisation file, line by line, read and edited in place: a save changes
// the lines of the keys it sets and adds lines for new ones; every other byte (comments,
// blank lines, line ends, lines that are no entry, a leading UTF-8 signature) stays as it was.
//
// How a line reads, after blanks (spaces and tabs) at its start:
//   ";" or "#"   a comment
//   "["          a section line; the name runs to the first "]" or, when there is none, to the
//                end of the line, without blanks around it. A section line without a name
//                opens a section that no name reaches. Text after "]" is ignored.
//   key=value    an entry, when "=" follows a key that is not empty; key and value are taken
//                without blanks around them
//   anything else, and blank lines, are ignored.
// Lines end at LF, CR LF or a lone CR. Section and key names match without regard to ASCII
// case; a section that comes again continues the earlier one, and of a key that comes again
// in a section the last value counts.
class IniText {
 public:
  // `bytes` is the whole file. A NUL byte ends the text read (the callers refuse to write
  // such a file back).
  explicit IniText(std::string_view bytes = {});

  // The value of `key` in `section`; nothing when the key is absent.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;

  // Sets every entry of `key` in `section` to `value`, keeping the key as it is spelt in the
  // file. An absent key gets a line after the last entry of the section's last occurrence;
  // an absent section is added at the end, after a blank line. `value` must hold no line end.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // Removes every entry line of `key` in `section`.
  void Erase(std::string_view section, std::string_view key);

  // The file's bytes as they now stand. New lines end as the file's first line does (CR LF
  // or LF; LF for an empty file).
  std::string Bytes() const;

 private:
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\n", "\r\n", "\r", or empty for a last line without one
    // The section the line belongs to (for a section line, the one it opens); nothing for a
    // section without a name.
    std::optional<std::string> section;
    bool opensSection = false;
    bool entry = false;
    std::string key;
    size_t valueBegin = 0;  // where the value starts in `text` (entries)
  };

  static Line ParseLine(std::string text, std::string end,
                        const std::optional<std::string>& section);
  bool Matches(const Line& line, std::string_view section, std::string_view key) const;
  std::string LineEnd() const;

  std::string signature_;  // a UTF-8 signature that opened the file
  std::vector<Line> lines_;
};

}  // namespace ardvane
