#include "planfiles/xml_parser.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <optional>

#include "base/atomic_file.h"
#include "planfiles/code_page.h"
#include "planfiles/xml_chars.h"

namespace ardvane {
namespace {

constexpr std::string_view kBufferSource = "<buffer>";

// The five entities every document knows; 0 when `name` is none of them.
char PredefinedEntity(std::string_view name) {
  if (name == "lt") return '<';
  if (name == "gt") return '>';
  if (name == "amp") return '&';
  if (name == "apos") return '\'';
  if (name == "quot") return '"';
  return 0;
}

// The code point of the body of a character reference ("#65", "#x41"), if it is one.
std::optional<char32_t> CharacterReferenceCode(std::string_view body) {
  if (body.empty() || body[0] != '#') return std::nullopt;
  body.remove_prefix(1);
  int base = 10;
  if (!body.empty() && (body[0] == 'x' || body[0] == 'X')) {
    base = 16;
    body.remove_prefix(1);
  }
  if (body.empty()) return std::nullopt;
  char32_t code = 0;
  for (const char c : body) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    code = code * base + digit;
    if (code > 0x10FFFF) return std::nullopt;
  }
  return code;
}

// The text a character reference stands for: its character, or a blank when the reference
// does not convert or names no character a text can hold (code point 0, a surrogate).
std::string CharacterReferenceText(std::string_view body) {
  const std::optional<char32_t> code = CharacterReferenceCode(body);
  if (!code || *code == 0 || (*code >= 0xD800 && *code <= 0xDFFF)) return " ";
  std::string text;
  AppendUtf8(text, *code);
  return text;
}

// The ";" that closes the reference starting at `amp`, or null. A reference name cannot
// contain "&" or "<", so a stray "&" never swallows the markup or references after it.
const char* ReferenceEnd(const char* amp) {
  const char* q = amp + 1;
  while (*q != '\0' && *q != ';' && *q != '&' && *q != '<') ++q;
  return *q == ';' && q > amp + 1 ? q : nullptr;
}

// Pass (b) of attribute values: every "&#digits;" and "&#xhex;" becomes its character.
std::string ResolveCharacterReferences(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '#') {
      std::size_t j = i + 1;
      while (j < text.size() && text[j] != ';' && text[j] != '&' && text[j] != '<') ++j;
      if (j < text.size() && text[j] == ';') {
        out += CharacterReferenceText(text.substr(i + 1, j - i - 1));
        i = j + 1;
        continue;
      }
    }
    out += text[i++];
  }
  return out;
}

// Whitespace runs become one blank and the ends are trimmed.
std::string CollapseWhitespace(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool pendingBlank = false;
  for (const char c : text) {
    if (IsXmlWhitespace(c)) {
      pendingBlank = !out.empty();
      continue;
    }
    if (pendingBlank) out += ' ';
    pendingBlank = false;
    out += c;
  }
  return out;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

// The attribute state machine over the text at `p`: 1 expecting a name, 2 expecting "=",
// 3 expecting a quoted value. Whitespace is skipped throughout; a zero byte or ">" ends it,
// and so does a character that cannot start a name where a name is expected. Only an
// attribute with a quoted value is kept. Returns where the analysis stopped.
const char* AnalyseAttributes(const char* p, std::vector<std::unique_ptr<NameValuePair>>& out) {
  int state = 1;
  std::string name;
  for (;;) {
    const char c = *p;
    if (c == '\0' || c == '>') return p;
    if (IsXmlWhitespace(c)) {
      ++p;
      continue;
    }
    if (state == 1) {
      if (!IsAttrNameStart(c)) return p;
      const char* start = p;
      while (!IsAttrNameEnd(*p)) ++p;
      name.assign(start, p);
      state = 2;
    } else if (state == 2) {
      if (c == '=') state = 3;
      ++p;
    } else if (c == '"' || c == '\'') {
      const char* start = p + 1;
      const char* close = std::strchr(start, c);
      const char* stop = close != nullptr ? close : start + std::strlen(start);
      out.push_back(std::make_unique<TAttr>(name, std::string(start, stop)));
      p = close != nullptr ? close + 1 : stop;
      state = 1;
    } else {
      ++p;
    }
  }
}

void AnalyseInto(const std::string& text, AttributeList& attributes) {
  std::vector<std::unique_ptr<NameValuePair>> found;
  AnalyseAttributes(text.c_str(), found);
  attributes.Clear();
  attributes.InsertAllSorted(std::move(found));
}

bool StartsWith(const char* p, std::string_view prefix) {
  // Stops at the first difference, so it never reads past the terminating zero.
  for (const char c : prefix) {
    if (*p++ != c) return false;
  }
  return true;
}

const char* EndOfText(const char* p) { return p + std::strlen(p); }

// Whether a document says it is UTF-8: by a byte order mark, or by a prolog at its start
// that names UTF-8 or no encoding at all (XML's own default).
bool SaysUtf8(std::string_view bytes) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) return true;
  if (bytes.size() < 6 || bytes.substr(0, 5) != "<?xml" || !IsXmlWhitespace(bytes[5])) {
    return false;
  }
  const std::size_t close = bytes.find("?>");
  const std::string prolog(bytes.substr(5, close == std::string_view::npos ? close : close - 5));
  std::vector<std::unique_ptr<NameValuePair>> found;
  AnalyseAttributes(prolog.c_str(), found);
  for (const auto& node : found) {
    if (node->Name != "encoding") continue;
    const std::string encoding = UpperAscii(node->Value);
    return encoding == "UTF-8" || encoding == "UTF8";
  }
  return true;
}

}  // namespace

std::string_view PartTypeName(XmlPartKind type) {
  static constexpr std::array<std::string_view, 10> kNames = {
      "(none)",    "XML Prolog", "Comment", "PI",   "DTD Declaration",
      "Start Tag", "Empty Tag",  "End Tag", "Text", "CDATA"};
  return NameOf(kNames, type);
}

EntityStack::EntityStack() = default;
EntityStack::~EntityStack() = default;

bool EntityStack::Contains(std::string_view entityName) const {
  return std::any_of(nodes_.begin(), nodes_.end(),
                     [&](const auto& node) { return node->EntityName == entityName; });
}

EntityStackNode& EntityStack::Push(std::unique_ptr<EntityStackNode> node) {
  nodes_.push_back(std::move(node));
  return *nodes_.back();
}

void EntityStack::Pop() { nodes_.pop_back(); }
void EntityStack::Clear() { nodes_.clear(); }

XmlParser::XmlParser() { Clear(); }
XmlParser::~XmlParser() = default;

void XmlParser::Clear() {
  // The stack first: its nodes may hold scanners and texts the rest refers to.
  entityStack_.Clear();
  buffer_.clear();
  source_.clear();
  declaredVersion_.clear();
  declaredEncoding_.clear();
  declaredStandalone_ = false;
  doctypeName_.clear();
  dtdKnown_ = false;
  dtdStart_ = dtdEnd_ = 0;
  collapseText_ = true;
  activeEncoding_.clear();
  elements_.Clear();
  generalEntities_.Clear();
  parameterEntities_.Clear();
  notations_.Clear();
  expanding_.clear();
  expansionLeft_ = kExpansionBudget;
  partType_ = XmlPartKind::None;
  partName_.clear();
  partContent_.clear();
  partAttributes_.Clear();
  partEnd_ = nullptr;
}

bool XmlParser::LoadFile(const std::string& path, std::size_t maxBytes) {
  Clear();
  // Only regular files, checked without waiting: a pipe or a device could block the reader
  // or never end.
  const StatusOr<std::string> file = ReadRegularFile(path, maxBytes);
  if (!file.ok()) return false;
  buffer_ = FileTextToUtf8(*file, SaysUtf8(*file));
  source_ = path;
  return true;
}

void XmlParser::LoadFromBuffer(std::string_view text) {
  Clear();
  buffer_ = FileTextToUtf8(text, SaysUtf8(text));
  source_ = kBufferSource;
}

void XmlParser::BeginScan() {
  partType_ = XmlPartKind::None;
  partName_.clear();
  partContent_.clear();
  partEnd_ = nullptr;
  partAttributes_.Clear();
  entityStack_.Clear();
  expanding_.clear();
  expansionLeft_ = kExpansionBudget;
}

const char* XmlParser::PopEntity() {
  EntityStackNode& top = entityStack_.Top();
  const char* back = top.ReturnPosition;
  if (!top.SavedEncoding.empty()) activeEncoding_ = top.SavedEncoding;
  entityStack_.Pop();
  return back;
}

bool XmlParser::ChargeExpansion(std::size_t bytes) {
  if (bytes > expansionLeft_ || expansionLeft_ - bytes < kExpansionOverhead) return false;
  expansionLeft_ -= bytes + kExpansionOverhead;
  return true;
}

bool XmlParser::CanExpand(std::string_view entityName) const {
  if (entityStack_.Depth() + expanding_.size() >= kMaxEntityDepth) return false;
  if (entityStack_.Contains(entityName)) return false;
  return std::find(expanding_.begin(), expanding_.end(), entityName) == expanding_.end();
}

std::size_t XmlParser::PartEndLine() const {
  const char* begin = buffer_.c_str();
  // An entity's text lies elsewhere; std::less orders pointers into different objects too.
  const std::less<const char*> before;
  if (partEnd_ == nullptr || !before(begin, partEnd_) || before(begin + buffer_.size(), partEnd_)) {
    return 0;
  }
  std::size_t line = 1;
  // The part's last character decides, so a line end just before partEnd_ does not count.
  for (const char* c = begin; c < partEnd_ - 1; ++c) {
    if (*c == '\n' || (*c == '\r' && c[1] != '\n')) ++line;
  }
  return line;
}

bool XmlParser::NextPart() {
  for (;;) {
    const char* p = partEnd_ != nullptr ? partEnd_ : buffer_.c_str();
    // An entity's text is over: go on after its reference, through every entity that
    // ended at the same place.
    while (*p == '\0' && !entityStack_.Empty()) p = PopEntity();
    if (*p == '\0') {
      entityStack_.Clear();
      partEnd_ = buffer_.c_str() + buffer_.size();
      return false;
    }
    if (StartsWith(p, "<?xml") && IsXmlWhitespace(p[5])) {
      CutProlog(p);
    } else if (StartsWith(p, "<?")) {
      CutPi(p);
    } else if (StartsWith(p, "<!--")) {
      CutComment(p);
    } else if (StartsWith(p, "<!DOCTYPE")) {
      CutDoctype(p);
    } else if (StartsWith(p, "<![CDATA[")) {
      CutCData(p);
    } else if (*p == '<') {
      CutTag(p);
    } else if (!CutText(p)) {
      continue;
    }
    return true;
  }
}

void XmlParser::CutProlog(const char* p) {
  partType_ = XmlPartKind::XmlProlog;
  partName_.clear();
  partContent_.clear();
  const char* body = p + 5;
  const char* close = std::strstr(body, "?>");
  const char* bodyEnd = close != nullptr ? close : EndOfText(body);
  partEnd_ = close != nullptr ? close + 2 : bodyEnd;
  // Only the text before "?>" is analysed, so a broken quote cannot eat the document.
  AnalyseInto(std::string(body, bodyEnd), partAttributes_);
  const std::string encoding = partAttributes_.ValueOf("encoding");
  if (entityStack_.Empty()) {
    declaredVersion_ = partAttributes_.ValueOf("version");
    declaredEncoding_ = encoding;
    if (partAttributes_.ValueOf("standalone") == "yes") declaredStandalone_ = true;
  }
  activeEncoding_ = encoding.empty() ? std::string("UTF-8") : UpperAscii(encoding);
}

void XmlParser::CutPi(const char* p) {
  partType_ = XmlPartKind::PI;
  const char* nameStart = p + 2;
  const char* q = nameStart;
  while (!IsPiTargetEnd(*q)) ++q;
  partName_.assign(nameStart, q);
  const char* close = std::strstr(q, "?>");
  const char* contentEnd = close != nullptr ? close : EndOfText(q);
  partEnd_ = close != nullptr ? close + 2 : contentEnd;
  // The data starts after the blanks that separate it from the target.
  while (q < contentEnd && IsXmlWhitespace(*q)) ++q;
  partContent_.assign(q, contentEnd);
  AnalyseInto(partContent_, partAttributes_);
}

void XmlParser::CutComment(const char* p) {
  partType_ = XmlPartKind::Comment;
  const char* close = std::strstr(p + 4, "-->");
  partEnd_ = close != nullptr ? close + 3 : EndOfText(p + 4);
}

void XmlParser::CutCData(const char* p) {
  partType_ = XmlPartKind::CData;
  const char* body = p + 9;
  const char* close = std::strstr(body, "]]>");
  const char* bodyEnd = close != nullptr ? close : EndOfText(body);
  partContent_.assign(body, bodyEnd);
  partEnd_ = close != nullptr ? close + 3 : bodyEnd;
}

void XmlParser::CutTag(const char* p) {
  partType_ = XmlPartKind::StartTag;
  const char* q = p + 1;
  if (*q == '/') {
    partType_ = XmlPartKind::EndTag;
    ++q;
  }
  const char* nameStart = q;
  // The name takes its first character whatever it is, except the ">" that closes an
  // empty "<>" or "</>" and the end of the text.
  if (*q != '\0' && *q != '>') ++q;
  while (!IsTagNameEnd(*q)) ++q;
  partName_.assign(nameStart, q);

  std::vector<std::unique_ptr<NameValuePair>> found;
  const char* stop = AnalyseAttributes(q, found);
  partAttributes_.Clear();
  partAttributes_.InsertAllSorted(std::move(found));
  if (*stop == '/' && partType_ == XmlPartKind::StartTag) partType_ = XmlPartKind::EmptyTag;
  const char* close = std::strchr(stop, '>');
  partEnd_ = close != nullptr ? close + 1 : EndOfText(stop);

  if (partType_ == XmlPartKind::EndTag) return;
  ApplyDtdDefaults();
  for (std::size_t i = 0; i < partAttributes_.Count(); ++i) {
    TAttr& attr = partAttributes_[i];
    attr.Value = ProcessAttributeValue(attr.Value, attr.AttrType);
  }
}

bool XmlParser::CutText(const char* p) {
  partType_ = XmlPartKind::Text;
  partContent_.clear();
  const char* run = p;
  for (;;) {
    while (*p != '\0' && *p != '<' && *p != '&') ++p;
    if (p > run) partContent_.append(run, p);
    if (*p == '&') {
      p = HandleTextReference(p);
    } else if (*p == '\0' && !entityStack_.Empty()) {
      p = PopEntity();
    } else {
      break;
    }
    run = p;
  }
  partEnd_ = p;
  if (!collapseText_) return true;
  partContent_ = CollapseWhitespace(partContent_);
  return !partContent_.empty();
}

const char* XmlParser::HandleTextReference(const char* amp) {
  const char* semicolon = ReferenceEnd(amp);
  // Not a reference: the "&" is dropped.
  if (semicolon == nullptr) return amp + 1;
  const char* next = semicolon + 1;
  const std::string_view name(amp + 1, static_cast<std::size_t>(semicolon - amp - 1));
  if (name[0] == '#') {
    partContent_ += CharacterReferenceText(name);
    return next;
  }
  if (const char c = PredefinedEntity(name); c != 0) {
    partContent_ += c;
    return next;
  }
  const EntityDefinition* entity = generalEntities_.Find(name);
  if (entity == nullptr) {
    partContent_ += name;
    return next;
  }
  if (!CanExpand(name)) return next;

  auto node = std::make_unique<EntityStackNode>();
  if (entity->External) {
    node->External = OpenExternal(entity->SystemId, entity->PublicId, entity->NotationName);
    const std::size_t size = node->External != nullptr ? node->External->buffer_.size() : 0;
    if (node->External == nullptr || !ChargeExpansion(size + kExternalOverhead)) return next;
  } else {
    if (!ChargeExpansion(entity->Value.size())) return next;
    node->Text = entity->Value;
  }
  node->EntityName.assign(name);
  node->ReturnPosition = next;
  node->SavedEncoding = activeEncoding_;
  const EntityStackNode& pushed = entityStack_.Push(std::move(node));
  return pushed.External != nullptr ? pushed.External->buffer_.c_str() : pushed.Text.c_str();
}

void XmlParser::ApplyDtdDefaults() {
  const ElementDefinition* element = elements_.Find(partName_);
  if (element == nullptr) return;
  std::vector<std::unique_ptr<NameValuePair>> missing;
  for (const auto& [name, def] : element->AttrDefs) {
    if (def->Value.empty() || partAttributes_.FindEntry(name) != nullptr) continue;
    auto attr = std::make_unique<TAttr>(name, def->Value);
    attr->ValueKind = AttrValueKind::Default;
    missing.push_back(std::move(attr));
  }
  partAttributes_.InsertAllSorted(std::move(missing));
  for (const auto& [name, def] : element->AttrDefs) {
    TAttr* attr = partAttributes_.Find(name);
    if (attr == nullptr) continue;
    if (def->DefaultType == AttrDefaultKind::Implied) {
      attr->ValueKind = AttrValueKind::Implied;
    } else if (def->DefaultType == AttrDefaultKind::Fixed) {
      attr->ValueKind = AttrValueKind::Fixed;
      attr->Value = def->Value;
    }
    attr->AttrType = def->AttrType;
  }
}

std::string XmlParser::ProcessAttributeValue(std::string_view value, AttrKind type) {
  std::string text;
  ExpandNamedReferences(value, text);
  if (type == AttrKind::Unknown || type == AttrKind::CData) {
    // Whitespace written as such becomes a blank; whitespace written as a character
    // reference is kept, as in any XML reader, so a tab or a line break can be stored.
    std::replace_if(text.begin(), text.end(), IsXmlWhitespace, ' ');
    return ResolveCharacterReferences(text);
  }
  return CollapseWhitespace(ResolveCharacterReferences(text));
}

void XmlParser::ExpandNamedReferences(std::string_view text, std::string& out) {
  std::size_t runStart = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '&') {
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    while (j < text.size() && text[j] != ';' && text[j] != '&' && text[j] != '<') ++j;
    if (j >= text.size() || text[j] != ';' || j == i + 1) {
      ++i;  // a lone "&" stays as it is
      continue;
    }
    const std::string_view name = text.substr(i + 1, j - i - 1);
    const char predefined = PredefinedEntity(name);
    const EntityDefinition* entity = predefined != 0 ? nullptr : generalEntities_.Find(name);
    if (predefined == 0 && entity == nullptr) {
      ++i;  // an undeclared name (or a character reference) is left as written
      continue;
    }
    out.append(text.substr(runStart, i - runStart));
    if (predefined != 0) {
      out += predefined;
    } else if (CanExpand(name)) {
      expanding_.emplace_back(name);
      if (entity->External) {
        std::unique_ptr<XmlParser> external =
            OpenExternal(entity->SystemId, entity->PublicId, entity->NotationName);
        if (external != nullptr && ChargeExpansion(external->buffer_.size() + kExternalOverhead)) {
          ExpandNamedReferences(external->buffer_, out);
        }
      } else if (ChargeExpansion(entity->Value.size())) {
        ExpandNamedReferences(entity->Value, out);
      }
      expanding_.pop_back();
    }
    i = j + 1;
    runStart = i;
  }
  out.append(text.substr(runStart));
}

std::unique_ptr<XmlParser> XmlParser::OpenExternal(const std::string& systemId,
                                                   const std::string& /*publicId*/,
                                                   const std::string& /*notationName*/) {
  std::string path = systemId;
  std::replace(path.begin(), path.end(), '\\', '/');
  const bool absolute = !path.empty() && path[0] == '/';
  const bool drive = path.size() > 1 && path[1] == ':';
  if (!source_.empty() && source_[0] != '<' && !absolute && !drive) {
    const std::size_t slash = source_.rfind('/');
    if (slash != std::string::npos) path.insert(0, source_, 0, slash + 1);
  }
  auto external = std::make_unique<XmlParser>();
  external->LoadFile(path, kMaxExternalBytes);
  return external;
}

void XmlParser::DeclarationSeen(const DtdDeclaration& /*declaration*/) {}

}  // namespace ardvane
