// Feeds arbitrary bytes to the readers of the VR, LE, IP and XY texts and
// checks that what they read writes out as text that reads back the same.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "editors/LineElementFile.h"
#include "editors/SurveyImport.h"
#include "vertical/VerticalCurveCal.h"
#include "vertical/VerticalCurveFile.h"

using namespace trazmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  RecordList<CVerticalCurveCal> points;
  if (parseVerticalCurveText(text, points)) {
    double elevation = 0;
    for (double station : {-1e6, 0.0, 123.4, 1e6}) elevationOnGradeLine(points, station, elevation);
    std::vector<GradeLineSample> samples;
    sampleGradeLine(points, 20, samples, 100000);
    // The profile's sampling ends at the last curve end, after every other sample.
    if (sampleGradeLine(points, 20, samples, 100000, true) && samples.size() >= 2 &&
        samples.back().mileage == points.back().calc3 &&
        !(samples[samples.size() - 2].mileage < samples.back().mileage))
      std::abort();
    // Once written (rounded to millimetres, the grades refreshed from the
    // rounded values), grade points read back as the same text.
    RecordList<CVerticalCurveCal> second, third;
    if (!parseVerticalCurveText(verticalCurveText(points), second) ||
        second.size() != points.size())
      std::abort();
    const std::string written = verticalCurveText(second);
    if (!parseVerticalCurveText(written, third) || verticalCurveText(third) != written)
      std::abort();
  }

  LineElementData elements;
  parseLineElementText(text, elements);
  elementTextFromLineElements(elements);
  // The chain the line elements describe: a start point and its tangent, then
  // at most an element and two joints per line element.
  const RecordList<Road_Element> chain = roadElementsFromLineElements(elements);
  if (!elements.elements.empty() && elements.elements.front().Type == 1 &&
      (chain.size() < 2 || chain[0].Type != 1 || chain[1].Type != 2 ||
       chain.size() > 3 * elements.elements.size() + 2))
    std::abort();
  if (!elements.elements.empty() && elements.elements.front().Type == 1 && elements.elements.size() < 900) {
    LineElementData second, third;
    parseLineElementText(lineElementText(elements), second);
    const std::string written = lineElementText(second);
    parseLineElementText(written, third);
    if (lineElementText(third) != written) std::abort();
  }

  std::string rp;
  convertIpSurveyText(text, "fuzz.RP", rp);
  convertXySurveyText(text, "fuzz.RP", rp);
  return 0;
}
