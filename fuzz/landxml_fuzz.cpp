// Feeds arbitrary bytes to the LandXML import. Whatever it accepts must be a
// road the engine chains, and must export and import again to the same
// number of elements, broken chains and grade points.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "alignment/RoadDesign.h"
#include "library/LandXmlExport.h"
#include "library/LandXmlImport.h"
#include "platform/WarningSink.h"

using namespace trazmark;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    setWarningSink([](const std::string&, const std::string&) {});
    return true;
  }();
  (void)quiet;
  const std::string text(reinterpret_cast<const char*>(data), size);
  LandXmlAlignment first;
  std::string error;
  if (!importLandXml(text, "", first, error)) {
    if (error.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  CRoadDesign design;
  design.brokenChains = first.road.scissons;
  if (!design.loadFromRoad(first.name, first.startMileage, first.road.elements)) std::abort();
  std::string xml;
  // A grade line the road cannot place is refused by the export with a reason.
  if (!exportLandXml(design, first.road.verticalCurves, first.name, xml, error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  LandXmlAlignment second;
  if (!importLandXml(xml, "", second, error)) {
    // Geometry at the edge of what the file's rounding allows may be refused
    // the second time; it must say why.
    if (error.empty()) std::abort();
    return 0;
  }
  if (second.road.scissons.size() != first.road.scissons.size() ||
      second.road.verticalCurves.size() != first.road.verticalCurves.size())
    std::abort();
  return 0;
}
