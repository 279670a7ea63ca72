// Parse speed of the markup document on a generated road file of about 10 MB,
// side by side with pugixml's DOM parse of the same bytes; and building and
// reading such a document through the navigation.

#include "markup/MarkupDocument.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <string>

namespace {

using trazmark::MarkupDocument;

constexpr int kCrossPoints = 45000;  // about 10 MB of text

void addNumber(MarkupDocument& doc, const char* name, double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.4f", value);
  doc.addChildElement(name, text);
}

// A road with many intersection points, as the road file writes it.
MarkupDocument buildRoad(int crossPoints) {
  MarkupDocument doc;
  doc.setText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
  doc.addElement("HEAD");
  doc.enterElement();
  doc.addElement("RoadLibrary");
  doc.enterElement();
  doc.addElement("Ver", "1.0.1.1");
  doc.addElement("Scisson");
  doc.addElement("Flat_Curve");
  doc.enterElement();
  doc.addElement("FlatcurveType", "0");
  for (int i = 0; i < crossPoints; ++i) {
    doc.addElement("CROSSPT");
    doc.addChildElement("Name", "JD" + std::to_string(i));
    addNumber(doc, "Dx", 3000000.0 + i * 101.25);
    addNumber(doc, "Dy", 500000.0 - i * 77.5);
    addNumber(doc, "CurveLength_Left", 60.0);
    addNumber(doc, "CurveLength_Right", 60.0);
    addNumber(doc, "Radius", 800.0 + i % 7);
    addNumber(doc, "Mileage", i * 150.0);
  }
  doc.leaveElement();
  for (const char* container : {"Vertical_Curve", "Cross_Section", "Change_Section", "Slope_Data",
                                "SuperHigh", "Widen"})
    doc.addElement(container);
  return doc;
}

const std::string& roadText() {
  static const std::string text = buildRoad(kCrossPoints).text();
  return text;
}

void BM_MarkupParse(benchmark::State& state) {
  const std::string& text = roadText();
  for (auto _ : state) {
    MarkupDocument doc;
    bool ok = doc.setText(text);
    benchmark::DoNotOptimize(ok);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_MarkupParse)->Unit(benchmark::kMillisecond);

void BM_PugixmlParse(benchmark::State& state) {
  const std::string& text = roadText();
  for (auto _ : state) {
    pugi::xml_document doc;
    pugi::xml_parse_result result = doc.load_buffer(text.data(), text.size());
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PugixmlParse)->Unit(benchmark::kMillisecond);

// Reading every value the way the road reader does.
void BM_MarkupReadAll(benchmark::State& state) {
  MarkupDocument doc;
  doc.setText(roadText());
  for (auto _ : state) {
    double sum = 0;
    doc.resetPositions();
    doc.findElement("HEAD");
    doc.enterElement();
    doc.findElement("RoadLibrary");
    doc.enterElement();
    doc.findElement("Flat_Curve");
    doc.enterElement();
    while (doc.findElement("CROSSPT")) {
      for (const char* name : {"Name", "Dx", "Dy", "CurveLength_Left", "CurveLength_Right", "Radius", "Mileage"}) {
        doc.findChildElement(name);
        sum += static_cast<double>(doc.childData().size());
      }
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_MarkupReadAll)->Unit(benchmark::kMillisecond);

void BM_MarkupBuild(benchmark::State& state) {
  for (auto _ : state) {
    MarkupDocument doc = buildRoad(kCrossPoints);
    benchmark::DoNotOptimize(doc.text().size());
  }
}
BENCHMARK(BM_MarkupBuild)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
