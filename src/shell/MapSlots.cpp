// The maps of the drawing pane behind CMapSlot.

#include <QPainter>

#include "cad/PlanDxf.h"
#include "maps/MassHaulMap.h"
#include "maps/PlanDrawing.h"
#include "maps/ProfileDrawing.h"
#include "maps/RoadMap.h"
#include "maps/RoadSectionMap.h"
#include "maps/SectionMapPanel.h"
#include "maps/VertricalCurveMap.h"
#include "platform/qt/ShellIds.h"
#include "shell/MapSlot.h"

namespace trazmark {
namespace {

bool writeSheet(const DrawingPalette& palette, std::optional<DrawingSheet> sheet,
                const std::string& path, std::string& error) {
  if (!sheet) {
    error = "the map shows nothing to draw";
    return false;
  }
  sheet->palette = palette;
  return writeDrawing(*sheet, path, error);
}

// A black page in place of a map the program does not have yet.
class EmptyMapPage : public QWidget {
 public:
  explicit EmptyMapPage(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
  }
};

class EmptyMapSlot : public CMapSlot {
 public:
  explicit EmptyMapSlot(QWidget* parent) : page_(new EmptyMapPage(parent)) {}
  QWidget* widget() override { return page_; }
  void zoomIn() override {}
  void zoomOut() override {}
  void fullExtent() override {}
  void selectMoveTool() override {}

 private:
  EmptyMapPage* page_;
};

// What every map of the pane does alike: the view commands of the drawing
// pane reach the map widget, which the pane owns as a child.
template <class Map>
class MapSlotOver : public CMapSlot {
 public:
  MapSlotOver(QWidget* parent, const char* objectName) : map_(new Map(parent)) {
    map_->setObjectName(QLatin1String(objectName));
  }
  QWidget* widget() override { return map_; }
  void zoomIn() override { map_->zoomIn(); }
  void zoomOut() override { map_->zoomOut(); }
  void fullExtent() override { map_->fullExtent(); }
  void selectMoveTool() override { map_->move(); }
  void redraw() override { map_->update(); }

 protected:
  Map* map_;
};

// The plan map.
class RoadMapSlot : public MapSlotOver<CRoadMap> {
 public:
  explicit RoadMapSlot(QWidget* parent) : MapSlotOver(parent, "planMap") {}
  bool showFile(const std::string& path) override { return map_->showAlignmentFile(path); }
  void setBrokenChains(const RecordList<Scisson_Data>& chains) override {
    map_->setBrokenChains(chains);
  }
  void setGround(std::shared_ptr<const CRoadGround> ground) override {
    map_->setGround(std::move(ground));
  }
  void setTerrainShown(bool shown) override { map_->setTerrainShown(shown); }
  void setOutOfDate(bool outOfDate) override { map_->setOutOfDate(outOfDate && hasDrawing()); }
  bool outOfDate() const override { return map_->outOfDate(); }
  void clear() override { map_->clear(); }
  bool drawnFrom(int kind) const override {
    return hasDrawing() && (kind == kKindBrokenChain || kind == kKindFlatCurve);
  }
  void setSurveyCheck(std::shared_ptr<const std::vector<CheckedPoint>> rows, const CRoadDesign* design) override {
    if (design != nullptr) map_->showDesign(*design);
    map_->setSurveyCheck(std::move(rows));
    if (design != nullptr) map_->fullExtent();
  }
  void showPoint(double x, double y) override { map_->centreOn(x, y); }
  bool hasDrawing() const override { return planExtent(map_->roadDesign()).has_value(); }
  bool drawsDxf() const override { return true; }
  bool exportDrawing(const std::string& path, QSize size, const TitleBlock& title,
                     const DrawingPalette& palette, std::string& error) override {
    if (drawingFormatFor(path) == DrawingFormat::Dxf)
      return writePlanDxf(map_->roadDesign(), path, error);
    return writeSheet(palette, planSheet(map_->roadDesign(), size, title), path, error);
  }
};

// The profile map.
class VertricalCurveMapSlot : public MapSlotOver<CVertricalCurveMap> {
 public:
  explicit VertricalCurveMapSlot(QWidget* parent) : MapSlotOver(parent, "profileMap") {}
  bool showFile(const std::string& path) override { return map_->showVerticalCurveFile(path); }
  void setLabelsShown(bool shown) override { map_->setLabelsShown(shown); }
  void setGroundSamples(std::vector<GroundSample> samples) override {
    map_->setGroundSamples(std::move(samples));
  }
  void setHeightLabelsShown(bool shown) override { map_->setHeightLabelsShown(shown); }
  // Whether a grade line is drawn, without sampling the line again at each edit.
  bool showsLine() const { return map_->profilePoints().size() >= 2; }
  void setOutOfDate(bool outOfDate) override { map_->setOutOfDate(outOfDate && showsLine()); }
  bool outOfDate() const override { return map_->outOfDate(); }
  void clear() override { map_->clear(); }
  bool drawnFrom(int kind) const override {
    // The ground at the stakes follows the alignment and its chains.
    return showsLine() && (kind == kKindVerCurve ||
                            (!map_->groundSamples().empty() &&
                             (kind == kKindBrokenChain || kind == kKindFlatCurve)));
  }
  bool hasDrawing() const override { return profileLinePoints(map_->gradePoints()).size() >= 2; }
  bool exportDrawing(const std::string& path, QSize size, const TitleBlock& title,
                     const DrawingPalette& palette, std::string& error) override {
    // As the map shows it: with the labels only while View shows them.
    const std::vector<GroundSample>& ground = map_->groundSamples();
    return writeSheet(palette,
                      profileSheet(map_->gradePoints(), size, title, map_->labelsShown(),
                                   ground.empty() ? nullptr : &ground, map_->heightLabelsShown()),
                      path, error);
  }
};

// The cross-section map, in its panel with the station control.
class RoadSectionMapSlot : public CMapSlot {
 public:
  explicit RoadSectionMapSlot(QWidget* parent)
      : panel_(new CSectionMapPanel(parent)), map_(panel_->map()) {
    map_->setObjectName(QStringLiteral("sectionMap"));
  }
  QWidget* widget() override { return panel_; }
  void zoomIn() override { map_->zoomIn(); }
  void zoomOut() override { map_->zoomOut(); }
  void fullExtent() override { map_->fullExtent(); }
  void selectMoveTool() override { map_->move(); }
  void redraw() override { map_->update(); }
  void clear() override { panel_->clear(); }
  bool drawnFrom(int kind) const override {
    // The standard section is the component lists; a section at a station
    // is the whole road there.
    if (!hasDrawing()) return false;
    return kind == kKindCrossSection ||
           (map_->stationShown() && kind >= kKindBrokenChain && kind < kDataKindCount);
  }
  void setOutOfDate(bool outOfDate) override { map_->setOutOfDate(outOfDate && hasDrawing()); }
  bool outOfDate() const override { return map_->outOfDate(); }
  void setSections(const RecordList<Road_Section_Item>& left,
                   const RecordList<Road_Section_Item>& right) override {
    map_->setSections(left, right);
  }
  void setGround(std::shared_ptr<const CRoadGround> ground) override {
    panel_->setGround(std::move(ground));
  }
  void setPavementDepth(double depth) override { panel_->setPavementDepth(depth); }
  void setRoad(const RoadDataSet& road, const std::string& roadName) override {
    panel_->setRoad(road, roadName);
  }
  bool hasDrawing() const override { return map_->stationShown() || !map_->segments().empty(); }
  bool exportDrawing(const std::string& path, QSize size, const TitleBlock& title,
                     const DrawingPalette& palette, std::string& error) override {
    if (map_->stationShown())
      return writeSheet(palette, stationSectionSheet(map_->stationPicture(), size, title), path,
                        error);
    return writeSheet(palette,
                      sectionSheet(map_->leftSections(), map_->rightSections(), size, title), path,
                      error);
  }

 private:
  CSectionMapPanel* panel_;
  CRoadSectionMap* map_;
};

// The mass-haul diagram of the last earthwork computed.
class MassHaulMapSlot : public MapSlotOver<CMassHaulMap> {
 public:
  explicit MassHaulMapSlot(QWidget* parent) : MapSlotOver(parent, "massHaulMap") {}
  void setMassHaul(MassHaulData data, const std::string& roadName,
                   const MassHaulWords& words) override {
    map_->setDiagram(std::move(data), roadName, words);
  }
  bool hasDrawing() const override { return map_->diagram().points.size() >= 2; }
  bool exportDrawing(const std::string& path, QSize size, const TitleBlock& title,
                     const DrawingPalette& palette, std::string& error) override {
    // The diagram has one look, for paper: its screen page is the map's own.
    (void)palette;
    return writeMassHaul(map_->diagram(), path, size, title.roadName, error, map_->words());
  }
};

}  // namespace

std::unique_ptr<CMapSlot> createEmptyMapSlot(QWidget* parent) {
  return std::make_unique<EmptyMapSlot>(parent);
}

std::unique_ptr<CMapSlot> createMapSlot(int index, QWidget* parent) {
  switch (index) {
    case kPlanMap:
      return std::make_unique<RoadMapSlot>(parent);
    case kProfileMap:
      return std::make_unique<VertricalCurveMapSlot>(parent);
    case kSectionMap:
      return std::make_unique<RoadSectionMapSlot>(parent);
    case kMassHaulMap:
      return std::make_unique<MassHaulMapSlot>(parent);
    default:
      return createEmptyMapSlot(parent);
  }
}

}  // namespace trazmark
