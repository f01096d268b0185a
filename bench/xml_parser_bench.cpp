// Speed of the XML scanner on documents shaped to find quadratic or deep-recursion behaviour:
// many attributes in descending name order, deep nesting, long runs of stray "&", and a large
// internal subset. Each runs at growing sizes and reports the fitted complexity, which should
// stay near N or N log N.
#include <benchmark/benchmark.h>

#include <string>

#include "planfiles/xml_parser.h"

namespace ardvane {
namespace {

std::string ManyAttributes(int count) {
  std::string document = "<a";
  for (int i = count; i > 0; --i) document += " n" + std::to_string(i) + "=''";
  return document + "/>";
}

std::string DeepNesting(int count) {
  std::string document;
  for (int i = 0; i < count; ++i) document += "<d>";
  return document;
}

std::string Ampersands(int count) { return std::string(static_cast<std::size_t>(count), '&'); }

std::string LargeInternalSubset(int count) {
  std::string document = "<!DOCTYPE d [<!ATTLIST e";
  for (int i = count; i > 0; --i) document += " a" + std::to_string(i) + " CDATA 'v'";
  document += ">";
  for (int i = count; i > 0; --i) {
    document += "<!ENTITY n" + std::to_string(i) + " ''><!ELEMENT e" + std::to_string(i) + " ANY>";
  }
  return document + "]><e/>";
}

template <std::string (*Make)(int)>
void BM_XmlScan(benchmark::State& state) {
  const std::string document = Make(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    XmlParser parser;
    parser.LoadFromBuffer(document);
    parser.BeginScan();
    std::size_t parts = 0;
    while (parser.NextPart()) ++parts;
    benchmark::DoNotOptimize(parts);
  }
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * document.size()));
}

BENCHMARK_TEMPLATE(BM_XmlScan, ManyAttributes)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 18)
    ->Complexity();
BENCHMARK_TEMPLATE(BM_XmlScan, DeepNesting)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 18)
    ->Complexity();
BENCHMARK_TEMPLATE(BM_XmlScan, Ampersands)
    ->RangeMultiplier(4)
    ->Range(1 << 12, 1 << 20)
    ->Complexity();
BENCHMARK_TEMPLATE(BM_XmlScan, LargeInternalSubset)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 17)
    ->Complexity();

}  // namespace
}  // namespace ardvane
