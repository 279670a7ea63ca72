#include "maps/MapLayer.h"

namespace trazmark {

void CMapLayer::clear() {
  LayerProperties fresh;
  fresh.extraText1 = properties_.extraText1;
  fresh.extraText2 = properties_.extraText2;
  fresh.extraValues = properties_.extraValues;
  properties_ = fresh;
  image_ = QImage();
}

void CMapLayer::draw(QPainter&, const MapView&, int32_t) {}

int32_t CMapLayer::selectInRect(int32_t, int32_t, int32_t, int32_t) { return 0; }

bool CMapLayer::hitTest(int32_t, int32_t, WorldPoint&) { return false; }

}  // namespace trazmark
