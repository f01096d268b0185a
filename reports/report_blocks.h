#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ardvane {

// One block of a report document's body: an element that stands at the top level of the body
// (outside every box, table and list) with the text up to the next such element.
struct ReportBlock {
  enum class Kind {
    kHeading,     // <h1> ... <h6>
    kParagraph,   // any other text: paragraphs, boxes, lists
    kTable,       // a whole <table> element, nothing before or after it
    kPicture,     // a box that holds a picture (an <img>)
    kPageFooter,  // <div title="footer"> or <div title="header">: the word processor's page
                  // header or footer, which a PDF leaves out
  };
  Kind kind = Kind::kParagraph;
  std::string html;      // the block's text as the document holds it
  bool newPage = false;  // it opens with an element that asks for a page break
};

// A finished report document: its head (up to its <body> tag), the <body> tag, the blocks of
// its body in order, and its tail (from </body> on). Written out (Text()), it is the
// document's bytes exactly as they were cut (CutReportBlocks): every byte is in one part.
struct ReportBlocks {
  std::string head;
  std::string bodyTag;
  std::vector<ReportBlock> body;
  std::string tail;
  // False when the text has no <body> ... </body>: then the whole text is one paragraph block
  // and the other parts are empty.
  bool hasBody = true;

  std::string Text() const;
};

// Cuts a report document into its blocks. A block starts at each top-level start tag of a
// block element (p, h1-h6, div, table, ul, ol, blockquote, center, pre, hr, dl, address) or
// of any element asking for a page break before it (`page-break-before: always`); the text
// after a table starts a block of its own. A table whose end tag is missing is a paragraph
// and what follows it stays inside it. Tags are matched whatever their case.
ReportBlocks CutReportBlocks(std::string_view html);

// The report document without its page headers and footers: the elements `<div
// title="footer">` and `<div title="header">` with all they hold (an unclosed one to the end).
std::string DropPageFooters(const std::string& html);

// The text of `html` before its first <body tag; empty when it has none.
std::string_view TextBeforeBody(std::string_view html);

// Whether the text of a start tag (from its '<' to before its '>') asks for a page break
// before the element.
bool AsksForPageBreak(std::string_view tag);

}  // namespace ardvane
