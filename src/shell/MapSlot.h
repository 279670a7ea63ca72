#pragma once
// One map of the drawing pane behind a small interface, so the pane hosts the
// plan, profile and cross-section maps alike, and a map not built yet shows an
// empty page.

#include <QWidget>
#include <memory>
#include <string>

#include "asbuilt/SurveyCheck.h"
#include "maps/DrawingExport.h"
#include "maps/MassHaulDrawing.h"
#include "maps/ProfileDrawing.h"
#include "records/RoadRecords.h"
#include "terrain/RoadGround.h"

namespace trazmark {

class CMapSlot {
 public:
  virtual ~CMapSlot() = default;
  /// The map's window (a child of the drawing pane).
  virtual QWidget* widget() = 0;
  virtual void zoomIn() = 0;
  virtual void zoomOut() = 0;
  virtual void fullExtent() = 0;
  /// Selects the move tool: a drag moves the view.
  virtual void selectMoveTool() = 0;
  /// Draws the map again at once.
  virtual void redraw() {}
  /// Another road became current: the map forgets the road it showed and
  /// shows nothing of it until drawn again.
  virtual void clear() {}
  /// Whether the map's drawing is made from the data that the data view of
  /// `kind` edits (the plan from the alignment and broken chains, the
  /// section at a station from the whole road, ...). False while it shows
  /// nothing.
  virtual bool drawnFrom(int kind) const {
    (void)kind;
    return false;
  }
  /// Marks the drawing as out of date (a note says so) or, drawn again, not.
  virtual void setOutOfDate(bool outOfDate) { (void)outOfDate; }
  virtual bool outOfDate() const { return false; }
  /// Loads the map's file (plan: curve or alignment file; profile: VR file).
  virtual bool showFile(const std::string& path) {
    (void)path;
    return false;
  }
  /// Shows or hides the map's labels (the profile map's grade-point labels).
  virtual void setLabelsShown(bool shown) { (void)shown; }
  /// The road's broken chains, for displayed stations (the plan map).
  virtual void setBrokenChains(const RecordList<Scisson_Data>& chains) { (void)chains; }
  /// Whether the map has something to export as a drawing, and in DXF too.
  virtual bool hasDrawing() const { return false; }
  virtual bool drawsDxf() const { return false; }
  /// Writes what the map holds at full extent as a drawing of `size` with
  /// `title`, by the name's extension (PNG, SVG, PDF; DXF where drawsDxf),
  /// in `palette` (the mass-haul diagram is drawn for paper only). False
  /// with a one-line `error`.
  virtual bool exportDrawing(const std::string& path, QSize size, const TitleBlock& title,
                             const DrawingPalette& palette, std::string& error) {
    (void)path;
    (void)size;
    (void)title;
    (void)palette;
    error = "this map has no drawing";
    return false;
  }
  /// The road's ground, shared and never changed (null: none): the plan's
  /// terrain, the sections' ground across.
  virtual void setGround(std::shared_ptr<const CRoadGround> ground) { (void)ground; }
  /// The formation's depth under the paved components, metres (the
  /// cross-section map's earthwork).
  virtual void setPavementDepth(double depth) { (void)depth; }
  /// Shows or hides the terrain's triangles (the plan map).
  virtual void setTerrainShown(bool shown) { (void)shown; }
  /// The points of an as-built check and the road they were checked
  /// against (the plan map; null rows: none, null design: the road kept).
  virtual void setSurveyCheck(std::shared_ptr<const std::vector<CheckedPoint>> rows, const CRoadDesign* design) {
    (void)rows;
    (void)design;
  }
  /// Centres the map on a plan point, zoomed in (the plan map).
  virtual void showPoint(double x, double y) {
    (void)x;
    (void)y;
  }
  /// The ground at the road's stakes (the profile map).
  virtual void setGroundSamples(std::vector<GroundSample> samples) { (void)samples; }
  /// Shows or hides the fill/cut heights (the profile map).
  virtual void setHeightLabelsShown(bool shown) { (void)shown; }
  /// The whole road, for the sections at stations (the cross-section map).
  virtual void setRoad(const RoadDataSet& road, const std::string& roadName) {
    (void)road;
    (void)roadName;
  }
  /// The mass-haul diagram of the last earthwork computed (the mass-haul map).
  virtual void setMassHaul(MassHaulData data, const std::string& roadName,
                           const MassHaulWords& words) {
    (void)data;
    (void)roadName;
    (void)words;
  }
  /// Hands over the cross section's components (the cross-section map).
  virtual void setSections(const RecordList<Road_Section_Item>& left,
                           const RecordList<Road_Section_Item>& right) {
    (void)left;
    (void)right;
  }
};

/// The maps in the pane's order.
enum MapIndex : int { kPlanMap = 0, kProfileMap = 1, kSectionMap = 2, kMassHaulMap = 3 };
constexpr int kMapCount = 4;

/// The map the program has for `index`, or an empty page.
std::unique_ptr<CMapSlot> createMapSlot(int index, QWidget* parent);
/// An empty black page that ignores every command.
std::unique_ptr<CMapSlot> createEmptyMapSlot(QWidget* parent);

}  // namespace trazmark
