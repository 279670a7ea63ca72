// Feeds arbitrary bytes to the terrain readers: a survey point file in one of
// the three formats (with a breakline file after a form feed) or a LandXML
// surface, chosen by the first byte. A refusal must say why; whatever is
// accepted must be a model whose queries keep their promises: elevations
// within the model's range, ground lines in order along the line, pieces
// apart from one another.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "terrain/LandXmlSurface.h"
#include "terrain/SurveyPointFile.h"
#include "terrain/TerrainTriangulation.h"

using namespace trazmark;

namespace {

// The triangulation of more points than this would only make a run slow.
constexpr std::size_t kMaxPoints = 20000;

void check(bool condition) {
  if (!condition) std::abort();
}

void checkElevation(const CTerrainModel& model, std::optional<double> z) {
  if (!z) return;
  const TerrainSummary& s = model.summary();
  const double slack = 1e-9 * (std::fabs(s.minZ) + std::fabs(s.maxZ) + 1);
  check(*z >= s.minZ - slack && *z <= s.maxZ + slack);
}

void checkLine(const CTerrainModel& model, double x0, double y0, double x1, double y1) {
  const GroundLine line = model.groundAlong(x0, y0, x1, y1);
  const double length = std::hypot(x1 - x0, y1 - y0);
  double last = -1;
  for (const auto& piece : line.pieces) {
    check(!piece.empty());
    check(piece.front().distance > last);  // a gap, or the first piece
    for (std::size_t k = 0; k < piece.size(); ++k) {
      if (k > 0) check(piece[k].distance > piece[k - 1].distance);
      check(piece[k].distance >= 0 && piece[k].distance <= length * (1 + 1e-12) + 1e-9);
      checkElevation(model, piece[k].elevation);
    }
    last = piece.back().distance;
  }
}

void exercise(const CTerrainModel& model) {
  const auto& points = model.points();
  const auto& triangles = model.triangles();
  check(model.summary().triangles == triangles.size());
  for (const TerrainTriangle& t : triangles) check(t.a < points.size() && t.b < points.size() && t.c < points.size());
  const std::size_t n = std::min<std::size_t>(triangles.size(), 64);
  for (std::size_t i = 0; i < n; ++i) {
    const TerrainTriangle& t = triangles[i];
    const TerrainPoint& a = points[t.a];
    const TerrainPoint& b = points[t.b];
    const TerrainPoint& c = points[t.c];
    checkElevation(model, model.elevationAt((a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3));
    checkElevation(model, model.elevationAt(a.x, a.y));
    checkLine(model, a.x, a.y, c.x, c.y);
    const TerrainTriangle& u = triangles[(i * 7 + 3) % triangles.size()];
    checkLine(model, (a.x + b.x) / 2, (a.y + b.y) / 2, points[u.b].x, points[u.b].y);
  }
  const TerrainSummary& s = model.summary();
  checkLine(model, s.minX - 1, s.minY - 1, s.maxX + 1, s.maxY + 1);
  checkLine(model, s.minX, s.maxY, s.maxX, s.minY);
  check(!model.elevationAt(s.maxX + 1, s.minY));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const unsigned mode = data[0];
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const double maxEdge = (mode & 4) ? 1.0 + (mode >> 3) * 10.0 : 0.0;
  CTerrainModel model;
  std::string error;
  if ((mode & 3) == 3) {
    if (!readLandXmlSurface(text, "", maxEdge, model, error)) {
      check(!error.empty());
      return 0;
    }
    check(!model.empty());
    exercise(model);
    return 0;
  }
  const PointFormat formats[] = {PointFormat::kXYZ, PointFormat::kNameXYZ, PointFormat::kNameCodeENZ};
  const std::size_t split = text.find('\f');
  std::vector<TerrainPoint> points;
  if (!readSurveyPoints(std::string_view(text).substr(0, split), formats[mode & 3], points, error)) {
    check(!error.empty() && error.rfind("line ", 0) == 0);
    return 0;
  }
  std::vector<std::vector<TerrainPoint>> breaklines;
  if (split != std::string::npos &&
      !readBreaklines(std::string_view(text).substr(split + 1), breaklines, error)) {
    check(!error.empty());
    return 0;
  }
  std::size_t total = points.size();
  for (const auto& line : breaklines) total += line.size();
  if (total > kMaxPoints) return 0;
  if (!triangulateTerrain(std::move(points), breaklines, maxEdge, model, error)) {
    check(!error.empty());
    return 0;
  }
  exercise(model);
  return 0;
}
