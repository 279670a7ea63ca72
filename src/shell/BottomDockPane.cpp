#include "shell/BottomDockPane.h"

#include <QContextMenuEvent>
#include <QResizeEvent>

#include "platform/qt/Localization.h"
#include "platform/qt/ShellIds.h"

namespace trazmark {
namespace {

// Keeps every map the size of the pane's client area.
class MapArea : public QWidget {
 public:
  explicit MapArea(QWidget* parent) : QWidget(parent) { setMinimumSize(120, 80); }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    for (QObject* child : children()) {
      if (auto* w = qobject_cast<QWidget*>(child)) w->setGeometry(rect());
    }
  }
};

}  // namespace

CBottomDockPane::CBottomDockPane(QWidget* parent, std::array<std::unique_ptr<CMapSlot>, kMapCount> mapSlots)
    : QDockWidget(parent), area_(new MapArea(this)), maps_(std::move(mapSlots)) {
  setObjectName(QStringLiteral("drawingPane"));
  setControlId(this, kDrawingPaneId);
  setWindowTitle(languageTextOr("IDS_DATA_pane_graph", QStringLiteral("Graph")));
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
  setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
  for (int i = 0; i < kMapCount; ++i) {
    auto& slot = maps_[static_cast<std::size_t>(i)];
    if (!slot) slot = createMapSlot(i, area_);
    QWidget* w = slot->widget();
    if (w->parentWidget() != area_) w->setParent(area_);
    w->setGeometry(area_->rect());
    w->hide();
  }
  setWidget(area_);
}

CBottomDockPane::~CBottomDockPane() {
  // The map windows are children of the pane; let each slot go while they live.
  for (auto& slot : maps_) slot.reset();
}

bool CBottomDockPane::isMapShown(int index) const {
  if (index < 0 || index >= kMapCount) return false;
  return !maps_[static_cast<std::size_t>(index)]->widget()->isHidden();
}

void CBottomDockPane::showOnly(int index) {
  for (int i = 0; i < kMapCount; ++i) {
    QWidget* w = maps_[static_cast<std::size_t>(i)]->widget();
    w->setVisible(i == index);
    if (i == index) w->setGeometry(area_->rect());
  }
}

bool CBottomDockPane::showAlignmentFile(const std::string& path, const RecordList<Scisson_Data>& chains) {
  showOnly(kPlanMap);
  map(kPlanMap).setBrokenChains(chains);
  if (!map(kPlanMap).showFile(path)) return false;
  map(kPlanMap).fullExtent();
  map(kPlanMap).setOutOfDate(false);
  return true;
}

bool CBottomDockPane::showProfileFile(const std::string& path) {
  showOnly(kProfileMap);
  if (!map(kProfileMap).showFile(path)) return false;
  map(kProfileMap).fullExtent();
  map(kProfileMap).setOutOfDate(false);
  return true;
}

void CBottomDockPane::clearMaps() {
  for (auto& slot : maps_) slot->clear();
}

void CBottomDockPane::markOutOfDate(int kind, int except) {
  for (int i = 0; i < kMapCount; ++i) {
    if (i != except && map(i).drawnFrom(kind)) map(i).setOutOfDate(true);
  }
}

void CBottomDockPane::showCrossSection(const RecordList<Road_Section_Item>& left,
                                       const RecordList<Road_Section_Item>& right) {
  showOnly(kSectionMap);
  map(kSectionMap).setSections(left, right);
  map(kSectionMap).fullExtent();
  map(kSectionMap).setOutOfDate(false);
}

void CBottomDockPane::viewCommand(int command) {
  for (int i = 0; i < kMapCount; ++i) {
    if (!isMapShown(i)) continue;
    CMapSlot& m = map(i);
    switch (command) {
      case kViewZoomIn:
        m.zoomIn();
        break;
      case kViewZoomOut:
        m.zoomOut();
        break;
      case kViewFullExtent:
        m.fullExtent();
        break;
      case kViewMove:
        m.selectMoveTool();
        if (i == kSectionMap) m.redraw();
        break;
      default:
        return;
    }
  }
}

void CBottomDockPane::contextMenuEvent(QContextMenuEvent* event) { event->accept(); }

}  // namespace trazmark
