// Converting the large generated card (read the CAD export, post-process, write the cache) and
// reading its cache, on cards of one and two times the large card's contents.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "dravon/card/cad_export_reader.h"
#include "dravon/card/card_cache.h"
#include "dravon/card/card_document.h"
#include "tools/dravon/card_generator.h"

namespace {

struct Card {
  std::string partsList;
  std::string cadExport;
  std::string cachePath;
};

// The large card, `scale` times over on the same board area.
const Card& card(int scale) {
  static std::map<int, Card> cards;
  auto it = cards.find(scale);
  if (it != cards.end()) return it->second;
  dravon::tools::CardShape shape = dravon::tools::largeCard();
  shape.devices *= scale;
  shape.pads *= scale;
  shape.nets = std::min(shape.nets * scale, 32000);  // pads hold their net in 16 bits
  shape.lines *= scale;
  shape.vias *= scale;
  shape.testPoints *= scale;
  Card c{
      dravon::tools::makePartsList(shape), dravon::tools::makeCadExport(shape),
      (std::filesystem::temp_directory_path() / ("dravon_bench_" + std::to_string(scale) + ".QDX"))
          .string()};
  return cards.emplace(scale, std::move(c)).first->second;
}

void BM_ConvertLargeCard(benchmark::State& state) {
  const Card& c = card(static_cast<int>(state.range(0)));
  dravon::CardHost host;
  for (auto _ : state) {
    dravon::CDravonDoc doc;
    dravon::readPartsList(doc, c.partsList, host);
    if (!dravon::readCadExportText(doc, c.cadExport) || !dravon::writeCardCache(doc, c.cachePath)) {
      state.SkipWithError("conversion failed");
      break;
    }
    benchmark::DoNotOptimize(doc.devices.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.cadExport.size()));
  state.counters["exportMB"] = static_cast<double>(c.cadExport.size()) / 1e6;
}
BENCHMARK(BM_ConvertLargeCard)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_ReadLargeCardCache(benchmark::State& state) {
  const Card& c = card(static_cast<int>(state.range(0)));
  dravon::CardHost host;
  {
    dravon::CDravonDoc doc;
    dravon::readPartsList(doc, c.partsList, host);
    if (!dravon::readCadExportText(doc, c.cadExport) || !dravon::writeCardCache(doc, c.cachePath)) {
      state.SkipWithError("conversion failed");
      return;
    }
  }
  dravon::CDravonDoc doc;
  dravon::readPartsList(doc, c.partsList, host);
  const auto entries = doc.listEntries;
  for (auto _ : state) {
    doc.clearModel();
    doc.listEntries = entries;
    if (!dravon::readCardCache(doc, c.cachePath)) {
      state.SkipWithError("cache read failed");
      break;
    }
    benchmark::DoNotOptimize(doc.pads.data());
  }
  state.counters["pads"] = static_cast<double>(doc.pads.size());
  state.counters["lines"] = static_cast<double>(doc.lines.size());
}
BENCHMARK(BM_ReadLargeCardCache)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
