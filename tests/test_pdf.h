#pragma once

#include <string>

namespace ardvane::testing {

// What a test can read of a PDF written by the toolkit without a PDF reader: its objects are
// plain text, only their streams are compressed.
struct PdfFacts {
  int pages = 0;     // one media box per page
  int pictures = 0;  // image objects
  std::string mediaBox;  // of the first page, e.g. "0 0 612.000000 792.000000"
  std::string title;     // ASCII letters of the document title
};

inline int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = 0; (at = text.find(part, at)) != std::string::npos; at += part.size()) {
    ++count;
  }
  return count;
}

inline PdfFacts ReadPdfFacts(const std::string& pdf) {
  PdfFacts facts;
  facts.pages = CountOf(pdf, "/MediaBox [");
  facts.pictures = CountOf(pdf, "/Subtype /Image");
  const std::size_t box = pdf.find("/MediaBox [");
  if (box != std::string::npos) {
    const std::size_t from = box + 11;
    facts.mediaBox = pdf.substr(from, pdf.find(']', from) - from);
  }
  // The title is UTF-16 (big-endian, after a byte order mark); ASCII letters are every second
  // byte.
  const std::size_t title = pdf.find("/Title (");
  if (title != std::string::npos) {
    for (std::size_t at = title + 8 + 2; at + 1 < pdf.size() && pdf[at] != ')'; at += 2) {
      if (pdf[at] == '\0') facts.title += pdf[at + 1];
    }
  }
  return facts;
}

}  // namespace ardvane::testing
