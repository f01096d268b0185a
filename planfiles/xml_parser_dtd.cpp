// The DOCTYPE part of XmlParser: the external and internal subsets, their declarations,
// and parameter entities.

#include <array>
#include <cstring>
#include <optional>

#include "base/text.h"
#include "planfiles/xml_chars.h"
#include "planfiles/xml_parser.h"

namespace ardvane {
namespace {

// Characters that may appear in a name or keyword of a declaration ("#PCDATA" included).
bool IsDtdNameChar(char c) {
  if (c == '\0' || IsXmlWhitespace(c)) return false;
  return std::strchr("\"'<>()|[],%;", c) == nullptr;
}

bool StartsWith(const char* p, std::string_view prefix) {
  for (const char c : prefix) {
    if (*p++ != c) return false;
  }
  return true;
}

const char* EndOfText(const char* p) { return p + std::strlen(p); }


// Reads the tokens of a declaration from zero-terminated text. Never moves past the end.
class DtdCursor {
 public:
  explicit DtdCursor(const char* p) : p_(p) {}

  const char* Position() const { return p_; }
  char Peek() const { return *p_; }
  bool AtEnd() const { return *p_ == '\0'; }
  void SkipOne() {
    if (*p_ != '\0') ++p_;
  }
  void SkipWhitespace() {
    while (IsXmlWhitespace(*p_)) ++p_;
  }
  // The keyword, when it stands here as a whole word.
  bool TakeKeyword(std::string_view keyword) {
    if (!StartsWith(p_, keyword) || IsDtdNameChar(p_[keyword.size()])) return false;
    p_ += keyword.size();
    return true;
  }
  std::string TakeName() {
    const char* start = p_;
    while (IsDtdNameChar(*p_)) ++p_;
    return std::string(start, p_);
  }
  // A quoted literal without its quotes; an unclosed one runs to the end.
  std::optional<std::string> TakeQuoted() {
    const char quote = *p_;
    if (quote != '"' && quote != '\'') return std::nullopt;
    const char* start = ++p_;
    while (*p_ != '\0' && *p_ != quote) ++p_;
    std::string literal(start, p_);
    SkipOne();
    return literal;
  }
  // A parenthesised group with nested groups and a trailing "?", "*" or "+", as written.
  std::string TakeGroup() {
    if (*p_ != '(') return std::string();
    const char* start = p_;
    std::size_t open = 0;
    do {
      if (*p_ == '(') ++open;
      if (*p_ == ')') --open;
      ++p_;
    } while (open > 0 && *p_ != '\0');
    if (*p_ == '?' || *p_ == '*' || *p_ == '+') ++p_;
    return std::string(start, p_);
  }
  std::string Rest() const { return std::string(Trim(p_, kXmlWhiteSpace)); }

 private:
  const char* p_;
};

// A SYSTEM or PUBLIC identifier: for SYSTEM the first literal is the system id, for PUBLIC
// the first is the public id and the next (optional for a notation) the system id.
struct ExternalId {
  bool Present = false;
  std::string SystemId;
  std::string PublicId;
};

ExternalId ReadExternalId(DtdCursor& cursor) {
  ExternalId id;
  if (cursor.TakeKeyword("SYSTEM")) {
    id.Present = true;
    cursor.SkipWhitespace();
    id.SystemId = cursor.TakeQuoted().value_or(std::string());
  } else if (cursor.TakeKeyword("PUBLIC")) {
    id.Present = true;
    cursor.SkipWhitespace();
    id.PublicId = cursor.TakeQuoted().value_or(std::string());
    cursor.SkipWhitespace();
    id.SystemId = cursor.TakeQuoted().value_or(std::string());
  }
  return id;
}

AttrKind AttrTypeOf(std::string_view keyword) {
  static constexpr std::array<std::pair<std::string_view, AttrKind>, 9> kTypes = {{
      {"CDATA", AttrKind::CData},
      {"ID", AttrKind::Id},
      {"IDREF", AttrKind::IdRef},
      {"IDREFS", AttrKind::IdRefs},
      {"ENTITY", AttrKind::Entity},
      {"ENTITIES", AttrKind::Entities},
      {"NMTOKEN", AttrKind::NmToken},
      {"NMTOKENS", AttrKind::NmTokens},
      {"NOTATION", AttrKind::Notation},
  }};
  for (const auto& [name, type] : kTypes) {
    if (name == keyword) return type;
  }
  return AttrKind::Unknown;
}

ElemKind ElemTypeOf(std::string_view contentModel) {
  if (contentModel == "EMPTY") return ElemKind::Empty;
  if (contentModel == "ANY") return ElemKind::Any;
  if (contentModel.find("#PCDATA") != std::string_view::npos) return ElemKind::Mixed;
  return ElemKind::ChildsOnly;
}

// "(x | y)" gives "x|y".
std::string GroupNames(std::string_view group) {
  std::string names;
  for (const char c : group) {
    if (c != '(' && c != ')' && !IsXmlWhitespace(c)) names += c;
  }
  return names;
}

}  // namespace

std::string_view ElemTypeName(ElemKind type) {
  static constexpr std::array<std::string_view, 4> kNames = {"Empty", "Any", "Childs only",
                                                             "Mixed"};
  return NameOf(kNames, type);
}

std::string_view AttrDefaultTypeName(AttrDefaultKind type) {
  static constexpr std::array<std::string_view, 4> kNames = {"Default", "Required", "Implied",
                                                             "Fixed"};
  return NameOf(kNames, type);
}

void XmlParser::CutDoctype(const char* p) {
  partType_ = XmlPartKind::DtdDeclaration;
  partName_.clear();
  partContent_.clear();
  DtdCursor cursor(p + 9);
  cursor.SkipWhitespace();
  doctypeName_ = cursor.TakeName();

  // The document's first DOCTYPE is read once; later scans skip it. Any other is read
  // each time it is met, so a second DOCTYPE can never send the scan back to the first.
  const bool inDocument = entityStack_.Empty();
  const std::size_t offset = inDocument ? static_cast<std::size_t>(p - buffer_.c_str()) : 0;
  if (inDocument && dtdKnown_ && dtdStart_ == offset) {
    partEnd_ = buffer_.c_str() + dtdEnd_;
    return;
  }

  cursor.SkipWhitespace();
  const ExternalId external = ReadExternalId(cursor);
  if (external.Present) ReadExternalSubset(external.SystemId, external.PublicId);
  cursor.SkipWhitespace();
  const char* q = cursor.Position();
  if (*q == '[') {
    q = ReadDeclarations(q + 1, true);
    if (*q == ']') ++q;
  }
  const char* close = std::strchr(q, '>');
  partEnd_ = close != nullptr ? close + 1 : EndOfText(q);
  DeclarationSeen({DeclarationKind::Doctype, doctypeName_, std::string(p, partEnd_)});
  if (inDocument && !dtdKnown_) {
    dtdKnown_ = true;
    dtdStart_ = offset;
    dtdEnd_ = static_cast<std::size_t>(partEnd_ - buffer_.c_str());
  }
}

const char* XmlParser::ReadDeclarations(const char* p, bool internalSubset) {
  for (;;) {
    while (IsXmlWhitespace(*p)) ++p;
    const char c = *p;
    if (c == '\0') return p;
    if (c == ']') {
      if (internalSubset) return p;
      ++p;
    } else if (c == '%') {
      const char* q = p + 1;
      while (IsDtdNameChar(*q)) ++q;
      if (*q == ';' && q > p + 1) {
        ReadParameterEntityDeclarations(
            std::string_view(p + 1, static_cast<std::size_t>(q - p - 1)));
        p = q + 1;
      } else {
        ++p;
      }
    } else if (StartsWith(p, "<!--")) {
      const char* close = std::strstr(p + 4, "-->");
      const char* end = close != nullptr ? close + 3 : EndOfText(p + 4);
      DeclarationSeen({DeclarationKind::Comment, std::string(), std::string(p, end)});
      p = end;
    } else if (StartsWith(p, "<?")) {
      const char* close = std::strstr(p + 2, "?>");
      const char* end = close != nullptr ? close + 2 : EndOfText(p + 2);
      const char* target = p + 2;
      while (!IsPiTargetEnd(*target)) ++target;
      DeclarationSeen({DeclarationKind::PI, std::string(p + 2, target), std::string(p, end)});
      p = end;
    } else if (c == '<') {
      p = ReadMarkupDeclaration(p);
    } else {
      ++p;  // stray text between declarations
    }
  }
}

const char* XmlParser::ReadMarkupDeclaration(const char* p) {
  if (StartsWith(p, "<![")) {
    // A conditional section: skipped whole.
    const char* close = std::strstr(p + 3, "]]>");
    return close != nullptr ? close + 3 : EndOfText(p + 3);
  }
  const char* q = p + 1;
  char quote = 0;
  for (; *q != '\0'; ++q) {
    if (quote != 0) {
      if (*q == quote) quote = 0;
    } else if (*q == '"' || *q == '\'') {
      quote = *q;
    } else if (*q == '>') {
      break;
    }
  }
  const char* end = *q != '\0' ? q + 1 : q;
  using Declare = void (XmlParser::*)(const std::string&, const std::string&);
  static constexpr std::array<std::pair<std::string_view, Declare>, 4> kDeclarations = {{
      {"<!ELEMENT", &XmlParser::DeclareElement},
      {"<!ATTLIST", &XmlParser::DeclareAttributes},
      {"<!ENTITY", &XmlParser::DeclareEntity},
      {"<!NOTATION", &XmlParser::DeclareNotation},
  }};
  for (const auto& [keyword, declare] : kDeclarations) {
    if (!StartsWith(p, keyword) || IsDtdNameChar(p[keyword.size()])) continue;
    const char* body = p + keyword.size();
    const std::string expanded =
        ExpandParameterReferences(std::string_view(body, static_cast<std::size_t>(q - body)));
    (this->*declare)(expanded, std::string(p, end));
    break;
  }
  return end;
}

void XmlParser::ReadExternalSubset(const std::string& systemId, const std::string& publicId) {
  if (entityStack_.Depth() + expanding_.size() >= kMaxEntityDepth) return;
  std::unique_ptr<XmlParser> external = OpenExternal(systemId, publicId, std::string());
  if (external == nullptr || !ChargeExpansion(external->buffer_.size() + kExternalOverhead)) return;
  ReadDeclarations(external->buffer_.c_str(), false);
}

bool XmlParser::ParameterEntityText(std::string_view name, std::string& text) {
  const EntityDefinition* entity = parameterEntities_.Find(name);
  if (entity == nullptr || !CanExpand('%' + std::string(name))) return false;
  if (entity->External) {
    std::unique_ptr<XmlParser> external =
        OpenExternal(entity->SystemId, entity->PublicId, entity->NotationName);
    if (external == nullptr || !ChargeExpansion(external->buffer_.size() + kExternalOverhead)) {
      return false;
    }
    text = std::move(external->buffer_);
    return true;
  }
  if (!ChargeExpansion(entity->Value.size())) return false;
  // A copy: the declarations read from it may replace the entity itself.
  text = entity->Value;
  return true;
}

void XmlParser::ReadParameterEntityDeclarations(std::string_view name) {
  std::string text;
  if (!ParameterEntityText(name, text)) return;
  expanding_.push_back('%' + std::string(name));
  ReadDeclarations(text.c_str(), false);
  expanding_.pop_back();
}

std::string XmlParser::ExpandParameterReferences(std::string_view text) {
  std::string out;
  std::size_t runStart = 0;
  std::size_t i = 0;
  char quote = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '%') {
      std::size_t j = i + 1;
      while (j < text.size() && IsDtdNameChar(text[j])) ++j;
      if (j > i + 1 && j < text.size() && text[j] == ';') {
        const std::string_view name = text.substr(i + 1, j - i - 1);
        out.append(text.substr(runStart, i - runStart));
        std::string replacement;
        if (ParameterEntityText(name, replacement)) {
          expanding_.push_back('%' + std::string(name));
          // Blanks around the replacement keep it from gluing onto its neighbours.
          out += ' ';
          out += ExpandParameterReferences(replacement);
          out += ' ';
          expanding_.pop_back();
        }
        i = j + 1;
        runStart = i;
        continue;
      }
    }
    ++i;
  }
  out.append(text.substr(runStart));
  return out;
}

void XmlParser::DeclareElement(const std::string& body, const std::string& text) {
  DtdCursor cursor(body.c_str());
  cursor.SkipWhitespace();
  const std::string name = cursor.TakeName();
  if (!name.empty()) {
    auto element = std::make_unique<ElementDefinition>(name, std::string());
    element->ContentModel = cursor.Rest();
    element->ElemType = ElemTypeOf(element->ContentModel);
    element->DeclaredByElement = true;
    // Attributes listed before the element's declaration belong to it.
    if (ElementDefinition* known = elements_.Find(name);
        known != nullptr && !known->DeclaredByElement) {
      element->AttrDefs = std::move(known->AttrDefs);
    }
    elements_.Replace(std::move(element));
  }
  DeclarationSeen({DeclarationKind::Element, name, text});
}

void XmlParser::DeclareAttributes(const std::string& body, const std::string& text) {
  DtdCursor cursor(body.c_str());
  cursor.SkipWhitespace();
  const std::string elementName = cursor.TakeName();
  DeclarationSeen({DeclarationKind::AttList, elementName, text});
  if (elementName.empty()) return;
  ElementDefinition* element = elements_.Find(elementName);
  if (element == nullptr) {
    auto added = std::make_unique<ElementDefinition>(elementName, std::string());
    added->ContentModel = "ANY";
    added->ElemType = ElemKind::Any;
    element = &elements_.Replace(std::move(added));
  }
  for (;;) {
    cursor.SkipWhitespace();
    if (cursor.AtEnd()) break;
    const std::string name = cursor.TakeName();
    if (name.empty()) {
      cursor.SkipOne();
      continue;
    }
    auto def = std::make_unique<AttributeDefinition>(name, std::string());
    cursor.SkipWhitespace();
    if (cursor.Peek() == '(') {
      def->TypeDef = cursor.TakeGroup();
      def->AttrType = AttrKind::Enumeration;
    } else {
      def->TypeDef = cursor.TakeName();
      def->AttrType = AttrTypeOf(def->TypeDef);
      if (def->AttrType == AttrKind::Notation) {
        cursor.SkipWhitespace();
        const std::string group = cursor.TakeGroup();
        if (!group.empty()) def->TypeDef += ' ' + group;
        def->Notations = GroupNames(group);
      }
    }
    cursor.SkipWhitespace();
    if (cursor.TakeKeyword("#REQUIRED")) {
      def->DefaultType = AttrDefaultKind::Required;
    } else if (cursor.TakeKeyword("#IMPLIED")) {
      def->DefaultType = AttrDefaultKind::Implied;
    } else {
      if (cursor.TakeKeyword("#FIXED")) {
        def->DefaultType = AttrDefaultKind::Fixed;
        cursor.SkipWhitespace();
      }
      def->Value = cursor.TakeQuoted().value_or(std::string());
    }
    element->AttrDefs.Replace(std::move(def));
  }
}

void XmlParser::DeclareEntity(const std::string& body, const std::string& text) {
  DtdCursor cursor(body.c_str());
  cursor.SkipWhitespace();
  bool parameter = false;
  if (cursor.Peek() == '%') {
    parameter = true;
    cursor.SkipOne();
    cursor.SkipWhitespace();
  }
  const std::string name = cursor.TakeName();
  cursor.SkipWhitespace();
  auto entity = std::make_unique<EntityDefinition>(name, std::string());
  if (std::optional<std::string> value = cursor.TakeQuoted()) {
    entity->Value = std::move(*value);
  } else if (const ExternalId id = ReadExternalId(cursor); id.Present) {
    entity->External = true;
    entity->SystemId = id.SystemId;
    entity->PublicId = id.PublicId;
    cursor.SkipWhitespace();
    if (cursor.TakeKeyword("NDATA")) {
      cursor.SkipWhitespace();
      entity->NotationName = cursor.TakeName();
    }
  }
  if (!name.empty()) {
    (parameter ? parameterEntities_ : generalEntities_).Replace(std::move(entity));
  }
  DeclarationSeen(
      {parameter ? DeclarationKind::ParameterEntity : DeclarationKind::Entity, name, text});
}

void XmlParser::DeclareNotation(const std::string& body, const std::string& text) {
  DtdCursor cursor(body.c_str());
  cursor.SkipWhitespace();
  const std::string name = cursor.TakeName();
  cursor.SkipWhitespace();
  const ExternalId id = ReadExternalId(cursor);
  if (!name.empty()) {
    auto notation = std::make_unique<NotationDefinition>(name, std::string());
    notation->SystemId = id.SystemId;
    notation->PublicId = id.PublicId;
    notations_.Replace(std::move(notation));
  }
  DeclarationSeen({DeclarationKind::Notation, name, text});
}

}  // namespace ardvane
