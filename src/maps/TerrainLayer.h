#pragma once
// The terrain under the plan: the TIN's triangles drawn faintly and its
// outline (the edges that only one triangle has: the hull and the rims of
// holes) a little brighter, as a layer the plan map's drawing thread draws
// under the road.
//
// A large TIN stays fast: only triangles whose box meets the window are
// looked at, and a triangle smaller than a couple of pixels becomes one faint
// pixel instead of three lines, so a zoomed-out TIN of a million triangles
// costs about one pass over them. The outline is found once, on the drawing
// thread at the first drawing.

#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "maps/MapLayer.h"
#include "terrain/RoadGround.h"

namespace trazmark {

class CTerrainLayer : public CMapLayer {
 public:
  /// `ground` must have a TIN; it is shared, never changed.
  explicit CTerrainLayer(std::shared_ptr<const CRoadGround> ground);

  /// None: full extent fits the road, not the terrain around it.
  std::optional<WorldBox> extent() const override { return std::nullopt; }
  void draw(QPainter& painter, const MapView& view, int32_t listFlag) override;

  /// The outline's edges as pairs of point indices (found at the first call).
  const std::vector<std::pair<std::uint32_t, std::uint32_t>>& outline() const;
  /// Triangles drawn as lines and as single pixels by the last drawing.
  std::size_t lastDrawnAsLines() const { return lastLines_; }
  std::size_t lastDrawnAsPixels() const { return lastPixels_; }

 private:
  std::shared_ptr<const CRoadGround> ground_;
  mutable std::once_flag outlineOnce_;
  mutable std::vector<std::pair<std::uint32_t, std::uint32_t>> outline_;
  std::size_t lastLines_ = 0;
  std::size_t lastPixels_ = 0;
};

/// The edges of `triangles` that belong to one triangle only, each as (lower
/// index, higher index), sorted.
std::vector<std::pair<std::uint32_t, std::uint32_t>> terrainOutline(const std::vector<TerrainTriangle>& triangles);

}  // namespace trazmark
