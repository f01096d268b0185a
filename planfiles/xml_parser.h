#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "planfiles/nvp_list.h"
#include "planfiles/xml_declarations.h"

namespace ardvane {

// The kinds of part the scanner cuts a document into.
enum class XmlPartKind {
  None = 0,            // before the first part
  XmlProlog = 1,       // <?xml ...?>
  Comment = 2,         // <!-- ... -->
  PI = 3,              // <?target ...?>
  DtdDeclaration = 4,  // <!DOCTYPE ...>
  StartTag = 5,        // <name ...>
  EmptyTag = 6,        // <name .../>
  EndTag = 7,          // </name>
  Text = 8,            // character data up to the next "<"
  CData = 9,           // <![CDATA[ ... ]]>
};

// "(none)", "XML Prolog", "Comment", "PI", "DTD Declaration", "Start Tag", "Empty Tag",
// "End Tag", "Text", "CDATA".
std::string_view PartTypeName(XmlPartKind type);

class XmlParser;

// An entity whose text is being scanned in place of its reference.
struct EntityStackNode {
  std::string EntityName;
  const char* ReturnPosition = nullptr;  // just after the reference, in the enclosing text
  std::string Text;                      // an internal entity's text, held for the scan
  std::unique_ptr<XmlParser> External;   // the scanner holding an external entity's text
  std::string SavedEncoding;             // ActiveEncoding when the entity was entered
};

// The entities being scanned, innermost last. Nodes stay where they are while the stack
// grows, so positions inside an entity's text remain valid until it is popped.
class EntityStack {
 public:
  EntityStack();
  EntityStack(const EntityStack&) = delete;
  EntityStack& operator=(const EntityStack&) = delete;
  ~EntityStack();

  bool Empty() const { return nodes_.empty(); }
  std::size_t Depth() const { return nodes_.size(); }
  bool Contains(std::string_view entityName) const;
  EntityStackNode& Push(std::unique_ptr<EntityStackNode> node);
  EntityStackNode& Top() { return *nodes_.back(); }
  void Pop();
  void Clear();

 private:
  std::vector<std::unique_ptr<EntityStackNode>> nodes_;
};

// A forgiving pull scanner over a whole XML document held in memory. It never rejects a
// document and never reports an error: malformed input yields whatever parts can be cut
// from it, and scanning ends at the end of the text (or at a zero byte in it). The document
// is turned into UTF-8 text as it is loaded, by the rule of code_page.h (a prolog or byte
// order mark at its start says whether it is UTF-8), and every part is UTF-8; names compare
// byte by byte, case-sensitively.
//
// Typical use:
//   XmlParser parser;
//   parser.LoadFile(path);
//   parser.BeginScan();
//   while (parser.NextPart()) {
//     if (parser.PartType() == XmlPartKind::StartTag || parser.PartType() == XmlPartKind::EmptyTag)
//       ... parser.PartName(), parser.PartAttributes().ValueOf("Balance") ...
//   }
//
// Hostile input is bounded: files are read only when they are regular files no larger
// than a limit, entity references nest at most kMaxEntityDepth deep and never into an
// entity already being expanded, and a scan expands at most kExpansionBudget bytes of
// entity text; references beyond these bounds expand to nothing.
class XmlParser {
 public:
  static constexpr std::size_t kMaxDocumentBytes = std::size_t{64} << 20;
  static constexpr std::size_t kMaxExternalBytes = std::size_t{4} << 20;
  static constexpr std::size_t kMaxEntityDepth = 16;
  static constexpr std::size_t kExpansionBudget = std::size_t{16} << 20;

  XmlParser();
  XmlParser(const XmlParser&) = delete;
  XmlParser& operator=(const XmlParser&) = delete;
  virtual ~XmlParser();

  // Clears all state (document, source, declared values, DoctypeName, the remembered DTD,
  // every declaration list, the attributes, the entity stack, ActiveEncoding; CollapseText
  // back on), then reads the whole file. The file is opened read-only and never locked.
  // Returns false, leaving the scanner empty, when the path is not a regular file, cannot
  // be read, or holds more than `maxBytes` bytes.
  bool LoadFile(const std::string& path, std::size_t maxBytes = kMaxDocumentBytes);
  // The same clearing, then takes the document from memory. Source() becomes "<buffer>",
  // so relative external identifiers are taken from the working directory.
  void LoadFromBuffer(std::string_view text);

  // Starts a scan at the beginning of the document: PartType None, empty name, content and
  // attributes, empty entity stack. Declarations read by an earlier scan are kept.
  void BeginScan();
  // Cuts the next part and fills the current-part fields. False once the document is
  // exhausted, and on every later call. A text part that CollapseText reduces to nothing
  // is skipped. Name, content and attributes are set only by the parts that have them:
  // tags set the name and the attributes, text and CDATA the content, a PI all three, the
  // prolog the attributes (clearing name and content), a DOCTYPE clears name and content,
  // a comment changes none of them.
  bool NextPart();

  XmlPartKind PartType() const { return partType_; }
  // The tag name (without "/" for an end tag), or the PI target.
  const std::string& PartName() const { return partName_; }
  // Text with references resolved; CDATA as written; a PI's data after its target.
  const std::string& PartContent() const { return partContent_; }
  // The tag's attributes in name order, for start and empty tags with references
  // resolved, line breaks and tabs turned into blanks (those written as character
  // references are kept), DTD defaults applied. For an end
  // tag, a PI or the prolog: as written. Look values up with ValueOf: an absent attribute
  // and an attribute written name="" both give empty text.
  const AttributeList& PartAttributes() const { return partAttributes_; }
  // The line of the document (from 1; CR LF, LF and a lone CR each end one) on which the
  // current part ends, or 0 when it comes from an entity's text or before the first part.
  std::size_t PartEndLine() const;

  // On: text parts are trimmed, inner runs of whitespace become one blank, and text parts
  // left empty are not reported. Off: text parts are reported as they stand.
  bool CollapseText() const { return collapseText_; }
  void SetCollapseText(bool on) { collapseText_ = on; }

  const std::string& Source() const { return source_; }
  const std::string& DeclaredVersion() const { return declaredVersion_; }
  const std::string& DeclaredEncoding() const { return declaredEncoding_; }
  bool DeclaredStandalone() const { return declaredStandalone_; }
  const std::string& DoctypeName() const { return doctypeName_; }
  // The upper-case encoding the last prolog named: empty until a prolog sets it, "UTF-8"
  // for a prolog without an encoding. It tells, and changes nothing: the text was decoded
  // when the document was loaded.
  const std::string& ActiveEncoding() const { return activeEncoding_; }

  const ElementList& Elements() const { return elements_; }
  const NvpSet<EntityDefinition>& GeneralEntities() const { return generalEntities_; }
  const NvpSet<EntityDefinition>& ParameterEntities() const { return parameterEntities_; }
  const NvpSet<NotationDefinition>& Notations() const { return notations_; }

 protected:
  // A scanner loaded with the external text named by `systemId`, or null. Backslashes
  // become slashes; an id that is not absolute is taken relative to the folder of the
  // source file (unless the source is "<buffer>"). Reads at most kMaxExternalBytes.
  virtual std::unique_ptr<XmlParser> OpenExternal(const std::string& systemId,
                                                  const std::string& publicId,
                                                  const std::string& notationName);
  // Called once for each declaration, comment or PI of a DTD and once for the whole
  // DOCTYPE, the latter after its declarations. Does nothing here.
  virtual void DeclarationSeen(const DtdDeclaration& declaration);

 private:
  // What an expansion costs beyond its text, so that empty entities cannot be expanded
  // without limit; opening a file costs more.
  static constexpr std::size_t kExpansionOverhead = 64;
  static constexpr std::size_t kExternalOverhead = 4096;

  void Clear();
  const char* PopEntity();
  bool ChargeExpansion(std::size_t bytes);
  bool CanExpand(std::string_view entityName) const;

  void CutProlog(const char* p);
  void CutPi(const char* p);
  void CutComment(const char* p);
  void CutCData(const char* p);
  void CutTag(const char* p);
  bool CutText(const char* p);
  void CutDoctype(const char* p);

  const char* HandleTextReference(const char* amp);
  void ApplyDtdDefaults();
  std::string ProcessAttributeValue(std::string_view value, AttrKind type);
  void ExpandNamedReferences(std::string_view text, std::string& out);

  // DTD reading.
  const char* ReadDeclarations(const char* p, bool internalSubset);
  const char* ReadMarkupDeclaration(const char* p);
  void ReadExternalSubset(const std::string& systemId, const std::string& publicId);
  bool ParameterEntityText(std::string_view name, std::string& text);
  void ReadParameterEntityDeclarations(std::string_view name);
  std::string ExpandParameterReferences(std::string_view text);
  void DeclareElement(const std::string& body, const std::string& text);
  void DeclareAttributes(const std::string& body, const std::string& text);
  void DeclareEntity(const std::string& body, const std::string& text);
  void DeclareNotation(const std::string& body, const std::string& text);

  std::string buffer_;
  std::string source_;
  std::string declaredVersion_;
  std::string declaredEncoding_;
  bool declaredStandalone_ = false;
  std::string doctypeName_;
  // The DOCTYPE read by an earlier scan, as offsets into buffer_.
  bool dtdKnown_ = false;
  std::size_t dtdStart_ = 0;
  std::size_t dtdEnd_ = 0;
  bool collapseText_ = true;
  std::string activeEncoding_;

  ElementList elements_;
  NvpSet<EntityDefinition> generalEntities_;
  NvpSet<EntityDefinition> parameterEntities_;
  NvpSet<NotationDefinition> notations_;
  EntityStack entityStack_;
  // Entities being expanded inside an attribute value or a DTD, to refuse loops.
  std::vector<std::string> expanding_;
  std::size_t expansionLeft_ = kExpansionBudget;

  XmlPartKind partType_ = XmlPartKind::None;
  std::string partName_;
  std::string partContent_;
  AttributeList partAttributes_;
  // Just past the current part, where the next one starts: in the document or in the text
  // of an entity on the stack. Null before the first part of a scan.
  const char* partEnd_ = nullptr;
};

}  // namespace ardvane
