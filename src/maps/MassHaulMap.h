#pragma once
// The mass-haul diagram in the drawing pane: the mass ordinate of the last
// earthwork computed, on its axes, over the whole window. Its axes follow
// the window's size rather than a map scale, so zoom and move leave it as it
// is; File → Export drawing writes it as `trazmark-cli mass-haul` does.

#include <string>

#include "maps/MapWindow.h"
#include "maps/MassHaulDrawing.h"

namespace trazmark {

class CMassHaulMap : public CMapWindow {
  Q_OBJECT

 public:
  explicit CMassHaulMap(QWidget* parent = nullptr);

  /// Shows a table's diagram (the road's name for its title).
  void setDiagram(MassHaulData data, const std::string& roadName, const MassHaulWords& words);
  const MassHaulData& diagram() const { return data_; }
  const std::string& roadName() const { return roadName_; }
  const MassHaulWords& words() const { return words_; }

 protected:
  std::optional<WorldBox> contentExtent() const override;
  void drawContent(QPainter& painter, const MapView& view) const override;

 private:
  MassHaulData data_;
  std::string roadName_;
  MassHaulWords words_;
};

}  // namespace trazmark
