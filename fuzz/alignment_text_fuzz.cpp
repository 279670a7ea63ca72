// Feeds arbitrary bytes to the readers of the intersection-point (RP),
// element (RE) and curve files, computes whatever they read and lays the
// result out in the alignment engine. Nothing may crash, hang or write a
// number that is not finite into a curve file.

#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "alignment/RoadDesign.h"
#include "alignment/RoadDesign_CrossPoint.h"
#include "alignment/RoadDesign_Element.h"
#include "platform/TextFile.h"
#include "platform/WarningSink.h"

using namespace trazmark;

namespace {

std::string scratch(const char* name) {
  return "/tmp/trazmark-fuzz-" + std::to_string(::getpid()) + "-" + name;
}

void checkFinite(const std::string& curvePath) {
  std::string text;
  if (!readTextFileAsAnsi(curvePath, text)) return;
  if (text.find("nan") != std::string::npos || text.find("inf") != std::string::npos) std::abort();
}

void layOut(const std::string& curvePath) {
  CRoadDesign design;
  if (!design.loadFromCurveFile(curvePath)) return;
  design.pointAtStation(design.startMileage() + 1.5, 2.0, -1);
  // A stake list of a road of any length at an interval that keeps it small.
  const double length = design.endMileage() - design.startMileage();
  std::string list;
  design.stakeListText(1, std::max(50.0, length / 1000), 0, list);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = [] {
    setWarningSink([](const std::string&, const std::string&) {});
    return true;
  }();
  (void)quiet;
  static const std::string input = scratch("input");
  static const std::string curve = scratch("curve");
  {
    std::ofstream out(input, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }

  // The input as a curve file.
  layOut(input);

  CRoadDesign_CrossPoint crossPoints(std::string{});
  if (crossPoints.readText(input) && crossPoints.points.size() <= 200) {
    if (crossPoints.writeCurveFile(curve)) {
      checkFinite(curve);
      layOut(curve);
    }
  }

  CRoadDesign_Element elements(std::string{});
  if (elements.readText(input) && elements.elements.size() <= 200) {
    if (elements.writeCurveFile(curve)) {
      checkFinite(curve);
      layOut(curve);
    }
  }
  return 0;
}
