#pragma once
// Triangulates survey points into a terrain model: the Delaunay triangulation
// of the points in plan (x north, y east, metres), constrained by breaklines
// so that every breakline segment is an edge of the TIN and the ground bends
// exactly along it.
//
// Points of the same x and y are one place: the first keeps it, the others are
// left out and counted (TerrainSummary::duplicatePoints). A breakline vertex
// at the place of a survey point is that point; one elsewhere becomes a point
// of the TIN. Where two breaklines cross, the crossing becomes a point whose
// elevation is interpolated along the breaklines through it.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "terrain/TerrainModel.h"

namespace trazmark {

/// Triangulates `points` with `breaklines` (polylines, each segment a
/// constraint) into `model`.
/// @param maxEdge triangles with an edge longer than this (metres, plan) are
///   dropped, so that the hull of scattered points invents no ground; 0 or
///   less keeps them all
/// @param progress called with the share done (0 to 1); returning false stops
///   with error "cancelled"
/// @return false with a one-line `error` (fewer than three points, points all
///   on one line, cancelled), `model` unchanged
bool triangulateTerrain(std::vector<TerrainPoint> points,
                        const std::vector<std::vector<TerrainPoint>>& breaklines, double maxEdge,
                        CTerrainModel& model, std::string& error,
                        const std::function<bool(double)>& progress = {});

}  // namespace trazmark
