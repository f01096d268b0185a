// Scans arbitrary bytes to the end, twice, touching every field of every part. External
// identifiers never reach the file system: the text of an external entity or subset is
// its system id itself, so the fuzzer can shape it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "planfiles/xml_parser.h"

namespace {

class FuzzParser : public ardvane::XmlParser {
 protected:
  std::unique_ptr<ardvane::XmlParser> OpenExternal(const std::string& systemId,
                                                   const std::string& /*publicId*/,
                                                   const std::string& /*notationName*/) override {
    auto external = std::make_unique<ardvane::XmlParser>();
    external->LoadFromBuffer(systemId);
    return external;
  }
};

std::size_t Touch(const ardvane::XmlParser& parser) {
  std::size_t sum = parser.PartName().size() + parser.PartContent().size() +
                    ardvane::PartTypeName(parser.PartType()).size();
  const ardvane::AttributeList& attributes = parser.PartAttributes();
  for (std::size_t i = 0; i < attributes.Count(); ++i) {
    const ardvane::TAttr& attr = attributes[i];
    sum += attr.Name.size() + attr.Value.size() + static_cast<std::size_t>(attr.ValueKind) +
           static_cast<std::size_t>(attr.AttrType);
    // Every present name must be found again by the binary search.
    if (attributes.FindEntry(attr.Name) == nullptr) __builtin_trap();
  }
  return sum + attributes.ValueOf("Name").size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzParser parser;
  parser.LoadFromBuffer(std::string_view(reinterpret_cast<const char*>(data), size));
  if (size > 0 && (data[0] & 1) != 0) parser.SetCollapseText(false);
  volatile std::size_t sink = 0;
  for (int scan = 0; scan < 2; ++scan) {
    parser.BeginScan();
    while (parser.NextPart()) sink = sink + Touch(parser);
    if (parser.NextPart()) __builtin_trap();  // an exhausted scan stays exhausted
  }
  sink = sink + parser.DoctypeName().size() + parser.Elements().Count() +
         parser.GeneralEntities().Count() + parser.ParameterEntities().Count() +
         parser.Notations().Count();
  return 0;
}
