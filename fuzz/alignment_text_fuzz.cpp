// Feeds arbitrary bytes to the readers of the intersection-point (RP),
// element (RE) and curve files, computes whatever they read and lays the
// result out in the alignment engine. Nothing may crash, hang or write a
// number that is not finite into a curve file.

#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <fstream>
#include <string>
#include <vector>
#include <unistd.h>

#include "alignment/CurveFile.h"
#include "alignment/RoadDesign.h"
#include "alignment/RoadDesign_CrossPoint.h"
#include "alignment/RoadDesign_Element.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"
#include "platform/WarningSink.h"

using namespace trazmark;

namespace {

// Every save is flushed to disk; in memory (/dev/shm) that costs nothing, on a
// disk it makes the target a hundred times slower.
std::string scratch(const char* name) {
  const std::string folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return folder + "/trazmark-fuzz-" + std::to_string(::getpid()) + "-" + name;
}

// Every number of the curve file is finite. Only the numeric records are
// checked: the road name ("RN,") is free text and may well hold "inf" or "nan".
void checkFinite(const std::string& curvePath) {
  std::string text;
  if (!readTextFileAsAnsi(curvePath, text)) return;
  forEachLine(text, 1 << 20, [](const std::string& line) {
    static const char* const kNumericTags[] = {"START CHAINAGE,", "PT,", "R.,", "CC,", "CL,"};
    const char* const* tag =
        std::find_if(std::begin(kNumericTags), std::end(kNumericTags),
                     [&](const char* t) { return line.rfind(t, 0) == 0; });
    if (tag == std::end(kNumericTags)) return;
    const std::vector<std::string> fields = splitCommaFields(line.substr(std::strlen(*tag)));
    for (const std::string& field : fields) {
      if (field.empty()) continue;  // after the trailing comma
      char* end = nullptr;
      const double value = std::strtod(field.c_str(), &end);
      if (end == field.c_str() || !std::isfinite(value)) std::abort();
    }
  });
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
  // The two scratch files, removed when the fuzzer exits.
  static const struct Files {
    std::string input = scratch("input");
    std::string curve = scratch("curve");
    ~Files() {
      std::remove(input.c_str());
      std::remove(curve.c_str());
    }
  } files;
  const std::string& input = files.input;
  const std::string& curve = files.curve;
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
