// Feeds arbitrary bytes to the readers of the surveyed ground line files
// (.dmx and .hdm) and checks that what they read writes out as text that
// reads back to the same text, and that the queries stay within the data.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "terrain/GroundLineFiles.h"

using namespace trazmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error, written, again;

  SurveyedGroundProfile profile;
  if (parseGroundProfileText(text, "fuzz.dmx", profile, error)) {
    if (profile.points.empty()) std::abort();
    for (std::size_t k = 1; k < profile.points.size(); ++k)
      if (!(profile.points[k].station > profile.points[k - 1].station)) std::abort();
    // At each station the line has that station's elevation; before the
    // first and after the last none.
    for (const GroundProfilePoint& p : profile.points)
      if (profile.elevationAt(p.station) != p.elevation) std::abort();
    const double first = profile.points.front().station, last = profile.points.back().station;
    if (profile.elevationAt(std::nextafter(first, -INFINITY)) ||
        profile.elevationAt(std::nextafter(last, INFINITY)))
      std::abort();
    // Stations closer than a millimetre cannot be written; whatever is
    // written reads back and writes again byte-identical.
    if (groundProfileText(profile, written, error)) {
      SurveyedGroundProfile back;
      if (!parseGroundProfileText(written, "fuzz.dmx", back, error) ||
          back.points.size() != profile.points.size() || !groundProfileText(back, again, error) ||
          again != written)
        std::abort();
    }
  } else if (error.empty() || error.find('\n') != std::string::npos) {
    std::abort();
  }

  error.clear();
  SurveyedGroundSections sections;
  if (parseGroundSectionsText(text, "fuzz.hdm", sections, error)) {
    if (sections.sections.empty()) std::abort();
    for (const SurveyedGroundSection& s : sections.sections)
      if (sections.find(s.station, 0) != &s) std::abort();
    if (groundSectionsText(sections, written, error)) {
      SurveyedGroundSections back;
      if (!parseGroundSectionsText(written, "fuzz.hdm", back, error) ||
          back.sections.size() != sections.sections.size() ||
          !groundSectionsText(back, again, error) || again != written)
        std::abort();
    }
  } else if (error.empty() || error.find('\n') != std::string::npos) {
    std::abort();
  }
  return 0;
}
