#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "base/status.h"
#include "engine/plan_document.h"
#include "planfiles/plan_text.h"

namespace ardvane {

class XmlParser;

// Plan files (.bvx): one XML element per line, CR LF line ends, no prolog. Numbers are written
// with a point and read with the user's decimal separator or a point; percents are written
// in percent (a SetupFeeRate of Ratio(0.25) as "25"). Texts are written in
// UTF-8 as they are held; text attributes escape '&', '<', '>' and '"', and control
// characters as character references, so every text comes back exactly as typed, except a
// zero character, which comes back as a blank. Reading takes a file's bytes as text by the
// rule of code_page.h (UTF-8, or Windows-1252 for the files of older releases).

// The bytes of the plan's file.
std::string PlanToXml(const PlanDocument& plan);
// Writes the plan to `path`, replacing the file there only once the new one is complete.
// On failure returns an IoError whose message names the file and the system's reason; the
// old file is left intact.
Status SaveData(const PlanDocument& plan, const std::filesystem::path& path);

// Applies every plan element the scanner finds to `plan`, which the caller has prepared:
// the plan as it was, with its debts and notes emptied. Elements may come in any order and
// any number of times; unknown elements and attributes are skipped. An amount beyond what
// money holds (Money::HoldsUnits) is applied as the nearest it holds. Every element is
// applied whatever the outcome, which is for the caller to refuse the file with: InvalidData
// "<fileName> is not an Ardvane plan file." when the document has no Client element (the mark
// of a plan file, however damaged the rest is), else InvalidData "<fileName>, " and the first
// amount beyond what money holds (its line, element, attribute and text), else Ok.
Status ApplyXmlPlan(XmlParser& parser, PlanDocument& plan, const PlanReadContext& context,
                    const std::string& fileName);

// Reads a plan file of either form. On success `plan` is replaced by the plan read; on
// failure `plan` is untouched and the status's message names the file (and line). A file
// that cannot be read fails with "Cannot open " and its path and reason: NotFound when
// nothing is there, an IoError (or InvalidData for a file beyond kMaxPlanFileBytes)
// otherwise. The content is refused with InvalidData: a file holding a zero byte is damaged,
// with the line and byte where the zero stands; a file that is neither of the older form nor
// has a Client element is no plan file; a balance, payment or fee beyond what money holds is
// refused with its line and name, never read as the largest amount there is.
Status ReadData(const std::filesystem::path& path, PlanDocument& plan,
                const PlanReadContext& context);
// The same for a file's content already in memory; `fileName` is used in messages only.
Status ReadPlanContent(std::string_view content, const std::string& fileName, PlanDocument& plan,
                       const PlanReadContext& context);

// Plan files larger than this are refused: a real plan is a few hundred kilobytes at most,
// and the limit bounds what a damaged or hostile file can make the reader hold.
inline constexpr std::size_t kMaxPlanFileBytes = std::size_t{8} << 20;

}  // namespace ardvane
