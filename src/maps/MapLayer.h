#pragma once
// A layer of drawable content that a map manager can hold: the extension point
// through which content is added to a map. Full extent asks every layer for its
// extent, and the drawing thread draws the visible ones into the cached image.
// The maps of this program add no layers of their own.
//
// Threads: `draw` runs on the manager's drawing thread while it holds the
// process-wide map lock (`mapDrawMutex()`); code that changes a layer that a
// manager holds takes that lock for the change.

#include <QImage>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "maps/MapView.h"

class QPainter;

namespace trazmark {

struct LayerProperties {
  std::string name;        ///< layer name
  std::string extraText1;  ///< free text, carried along
  std::string extraText2;  ///< free text, carried along
  uint32_t colour = kColourWhite;  ///< 0x00BBGGRR
  int32_t visible = 1;             ///< drawn only when non-zero
  int32_t selectable = 0;
  std::array<int32_t, 11> extraValues{};  ///< carried along, unused by the manager
};

/// Which list a layer is drawn from; passed to `draw`.
enum LayerListFlag : int32_t { kLayerList = 0, kOverlayList = 1 };

class CMapLayer {
 public:
  CMapLayer() = default;
  virtual ~CMapLayer() = default;
  CMapLayer(const CMapLayer&) = delete;
  CMapLayer& operator=(const CMapLayer&) = delete;

  virtual void setFirstValue(int32_t value) { firstValue_ = value; }
  virtual void setSecondValue(int32_t value) { secondValue_ = value; }
  virtual void setProperties(const LayerProperties& properties) { properties_ = properties; }
  virtual LayerProperties properties() const { return properties_; }
  /// Empties the name, resets the flags to their initial values and releases
  /// the layer's own image.
  virtual void clear();
  /// The layer's world extent, if it has one (the base has none).
  virtual std::optional<WorldBox> extent() const { return std::nullopt; }
  /// Draws the layer with the view it is drawn for; `listFlag` says which list
  /// it is drawn from. The base draws nothing.
  virtual void draw(QPainter& painter, const MapView& view, int32_t listFlag);
  /// Selects what lies in a window rectangle; returns the number selected (base 0).
  virtual int32_t selectInRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
  /// Whether something lies at window (x, y); fills `hit` with its world point.
  virtual bool hitTest(int32_t x, int32_t y, WorldPoint& hit);
  /// Empties the selected items.
  virtual void clearSelection() { selected_.clear(); }

  int32_t firstValue() const { return firstValue_; }
  int32_t secondValue() const { return secondValue_; }
  const std::vector<int32_t>& selectedItems() const { return selected_; }

 protected:
  QImage image_;  ///< the layer's own off-screen image, if it keeps one
  LayerProperties properties_;
  std::vector<int32_t> selected_;
  int32_t firstValue_ = 0;
  int32_t secondValue_ = 0;
};

}  // namespace trazmark
