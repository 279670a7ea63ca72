#pragma once
// The view state of one map window and the rules that change it: the transform
// between world coordinates and window pixels, the commit of a new view, and the
// zoom, move and full-extent commands with their click rules. Plain C++ with no
// window, so that the rules can be driven directly.
//
// World coordinates follow the survey convention: X is north and grows upwards
// on the screen, Y is east and grows to the right; the scale is in metres (world
// units) per pixel.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trazmark {

/// A window client rectangle in pixels. Like the platform's rectangles it
/// excludes its right and bottom edges.
struct ClientRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  /// True for a pixel inside; the right and bottom edges are outside.
  bool contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const ClientRect&) const = default;
};

/// Background colours are stored as 0x00BBGGRR, the form the settings file writes.
constexpr uint32_t kColourWhite = 0xFFFFFF;
constexpr uint32_t kColourBlack = 0x000000;

/// The view state of one map window.
struct MapViewParams {
  std::string settingsFolder;  ///< folder of the settings file; empty = the user's config folder
  double centreX = 0;          ///< world X (north) at the centre of the client rectangle
  double centreY = 0;          ///< world Y (east) at the centre
  double centreH = 0;          ///< height of the centre, always 0
  double scale = 1.0;          ///< metres per pixel
  ClientRect clientRect;       ///< window client rectangle in pixels
  uint32_t background = kColourWhite;  ///< 0x00BBGGRR; every map window sets black
};

struct ScreenPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

struct WorldPoint {
  double x = 0;  ///< north
  double y = 0;  ///< east
  double h = 0;
};

/// A world box; a maximum below its minimum makes it inverted.
struct WorldBox {
  double minX = 0;
  double minY = 0;
  double maxX = 0;
  double maxY = 0;
};

/// A view that a command asks for: the centre it wants and the new scale.
struct ViewTarget {
  double centreX = 0;
  double centreY = 0;
  double scale = 1.0;
};

/// Scales a commit accepts (metres per pixel).
constexpr double kMinScale = 1e-6;
constexpr double kMaxScale = 1e6;
/// A drag of at most this many pixels in either direction is a click.
constexpr int kClickTolerancePixels = 5;
/// Fitting a box for zoom in and zoom out leaves this much room around it.
constexpr double kFitMarginFactor = 1.1;
/// Full extent fills this share of the window.
constexpr double kFullExtentFill = 0.9;
/// A zoom-in click shows this share of the window's width and height.
constexpr double kZoomInClickShare = 0.8;
/// Client rectangles narrower or lower than this are ignored (a minimised window).
constexpr int kMinClientSize = 5;

class MapView {
 public:
  const MapViewParams& params() const { return params_; }
  double scale() const { return params_.scale; }
  const ClientRect& clientRect() const { return params_.clientRect; }

  void setBackground(uint32_t colour) { params_.background = colour; }
  void setSettingsFolder(const std::string& folder) { params_.settingsFolder = folder; }

  /// World (X north, Y east) to the nearest pixel. Both results are 0 when the
  /// scale is below 1e-7. Results beyond ±1e9 pixels are clamped there.
  ScreenPoint worldToScreen(double x, double y) const;
  /// The same pixel as a double (rounded to a whole pixel, not clamped), for
  /// drawing that clips long segments itself.
  bool worldToScreenF(double x, double y, double& px, double& py) const;
  /// Pixel to world; the height is always 0.
  WorldPoint screenToWorld(double x, double y) const;

  /// Takes a new client rectangle. Returns false (and ignores it) when it is
  /// narrower or lower than 5 pixels or equals the stored one.
  bool setClientRect(const ClientRect& rect);

  /// The origin that encodes a wanted centre at a given scale; commitView turns
  /// it back into the centre with the scale it actually takes.
  void originFor(double centreX, double centreY, double scale, double& originX, double& originY) const;
  /// The single place where a new view is taken. Returns true when the origin or
  /// the scale differed by 1e-7 or more, so the view was (re)taken: a scale
  /// outside [1e-6, 1e6] is refused and the old one kept, and an origin
  /// coordinate beyond ±1e11 leaves that centre coordinate unchanged.
  bool commitView(double originX, double originY, double newScale);
  /// Commits a target view through its origin.
  bool commitTarget(const ViewTarget& target);

  /// Fits a world box into the window with the factor 1.1 around it; fails for
  /// an inverted box or a window without size.
  std::optional<ViewTarget> fitBox(const WorldBox& box) const;

  /// Zoom in with a drag rectangle in tenths of a pixel. A drag of 5 pixels or
  /// less in either direction is a click: the view shrinks to 0.88 times the
  /// scale with the clicked world point staying under the cursor. A dragged
  /// rectangle is fitted and becomes the centre.
  std::optional<ViewTarget> zoomInTarget(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const;
  /// Zoom out with a rectangle in whole pixels. A click centres the clicked
  /// point at 1.1 times the scale; a dragged rectangle shrinks the window's
  /// content into the rectangle.
  std::optional<ViewTarget> zoomOutTarget(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const;
  /// Move from the button-down point to the button-up point; nothing when equal.
  std::optional<ViewTarget> panTarget(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const;
  /// Full extent of the union of the given boxes (layers' extents and the
  /// owning window's box), filling 0.9 of the window. Nothing without any box.
  std::optional<ViewTarget> fullExtentTarget(const std::vector<WorldBox>& boxes) const;

 private:
  MapViewParams params_;
};

}  // namespace trazmark
