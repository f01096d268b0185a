#pragma once

#include <string>
#include <string_view>

#include "planfiles/nvp_list.h"

namespace ardvane {

// Records of what a DOCTYPE declares. The scanner keeps them to apply attribute defaults
// and to expand entities; the plan file reader never looks at them.

enum class ElemKind {
  Empty = 0,       // EMPTY
  Any = 1,         // ANY, and elements known only from an attribute list
  ChildsOnly = 2,  // a content model of child elements
  Mixed = 3,       // a content model with #PCDATA
};

enum class AttrDefaultKind {
  Default = 0,   // a plain default value
  Required = 1,  // #REQUIRED
  Implied = 2,   // #IMPLIED
  Fixed = 3,     // #FIXED with its value
};

// "Empty", "Any", "Childs only", "Mixed".
std::string_view ElemTypeName(ElemKind type);
// "Default", "Required", "Implied", "Fixed".
std::string_view AttrDefaultTypeName(AttrDefaultKind type);

// One attribute of an <!ATTLIST>. Value is the declared default as written (references
// are resolved when the default is applied to a tag), empty when there is none.
class AttributeDefinition : public NameValuePair {
 public:
  using NameValuePair::NameValuePair;

  std::string TypeDef;    // the type as written: "CDATA", "(a|b)", "NOTATION (x|y)"
  std::string Notations;  // for NOTATION types the names in the group, "x|y"
  AttrKind AttrType = AttrKind::Unknown;
  AttrDefaultKind DefaultType = AttrDefaultKind::Default;
};

// An <!ELEMENT> with the attributes declared for it. Name is the element name.
class ElementDefinition : public NameValuePair {
 public:
  using NameValuePair::NameValuePair;

  std::string ContentModel;  // as written, trimmed: "EMPTY", "(#PCDATA|b)*"
  ElemKind ElemType = ElemKind::Any;
  // False while the element is known only from an attribute list; its <!ELEMENT> then
  // keeps those attributes, while a second <!ELEMENT> starts afresh.
  bool DeclaredByElement = false;
  NvpSet<AttributeDefinition> AttrDefs;
};

class ElementList : public NvpSet<ElementDefinition> {};

// An <!ENTITY>. Value is the literal replacement text as written; an external entity has
// a system id (and possibly a public id and, when unparsed, a notation name) instead.
class EntityDefinition : public NameValuePair {
 public:
  using NameValuePair::NameValuePair;

  bool External = false;  // declared with SYSTEM or PUBLIC
  std::string SystemId;
  std::string PublicId;
  std::string NotationName;
};

// A <!NOTATION>.
class NotationDefinition : public NameValuePair {
 public:
  using NameValuePair::NameValuePair;

  std::string SystemId;
  std::string PublicId;
};

enum class DeclarationKind {
  Doctype,
  Element,
  AttList,
  Entity,
  ParameterEntity,
  Notation,
  Comment,
  PI,
};

// What DeclarationSeen receives: one declaration, comment or PI of a DTD, or the whole
// DOCTYPE.
struct DtdDeclaration {
  DeclarationKind Kind = DeclarationKind::Doctype;
  std::string Name;  // the declared name; the DOCTYPE's root element name; a PI's target
  std::string Text;  // the declaration as written, from "<" to ">" (references unexpanded)
};

}  // namespace ardvane
