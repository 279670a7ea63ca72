#include "maps/MassHaulMap.h"

#include <QPainter>

namespace trazmark {

CMassHaulMap::CMassHaulMap(QWidget* parent) : CMapWindow(parent) {}

void CMassHaulMap::setDiagram(MassHaulData data, const std::string& roadName,
                              const MassHaulWords& words) {
  data_ = std::move(data);
  roadName_ = roadName;
  words_ = words;
  contentChanged(true);
}

std::optional<WorldBox> CMassHaulMap::contentExtent() const {
  // The diagram fills the window whatever the view; a unit box keeps full
  // extent well defined.
  return WorldBox{0, 0, 1, 1};
}

void CMassHaulMap::drawContent(QPainter& painter, const MapView& view) const {
  const ClientRect& r = view.clientRect();
  paintMassHaul(painter, QSize(r.width(), r.height()), data_, roadName_, words_, false);
}

}  // namespace trazmark
