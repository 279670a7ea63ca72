// The maps of the drawing pane behind CMapSlot.

#include <QPainter>

#include "maps/RoadMap.h"
#include "shell/MapSlot.h"

namespace trazmark {
namespace {

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

// The plan map.
class RoadMapSlot : public CMapSlot {
 public:
  explicit RoadMapSlot(QWidget* parent) : map_(new CRoadMap(parent)) { map_->setObjectName(QStringLiteral("planMap")); }
  QWidget* widget() override { return map_; }
  void zoomIn() override { map_->zoomIn(); }
  void zoomOut() override { map_->zoomOut(); }
  void fullExtent() override { map_->fullExtent(); }
  void selectMoveTool() override { map_->move(); }
  void redraw() override { map_->update(); }
  bool showFile(const std::string& path) override { return map_->showAlignmentFile(path); }

 private:
  CRoadMap* map_;
};

}  // namespace

std::unique_ptr<CMapSlot> createEmptyMapSlot(QWidget* parent) { return std::make_unique<EmptyMapSlot>(parent); }

std::unique_ptr<CMapSlot> createMapSlot(int index, QWidget* parent) {
  // The profile and cross-section maps join here as they are built.
  if (index == kPlanMap) return std::make_unique<RoadMapSlot>(parent);
  return createEmptyMapSlot(parent);
}

}  // namespace trazmark
