#pragma once
// What every map shows besides its content: the background, the north arrow
// at the bottom-left corner (the plan only) and a scale bar of a round length
// at the bottom-right corner, and the composition of one presented frame from
// the cached image.

#include <QColor>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <functional>
#include <string>

#include "maps/MapView.h"

class QPainter;

namespace trazmark {

/// A 0x00BBGGRR colour as a QColor.
QColor colourFromRef(uint32_t colour);

/// What a map draws besides its content. The plan has a north; a profile's
/// axes are elevation and station and a section's elevation and offset, so
/// they go without the arrow.
struct MapDecorationStyle {
  bool northArrow = true;
  /// A profile's stations are shrunk by this factor: its scale bar measures
  /// stations, this many times the view's metres.
  double horizontalFactor = 1;
};

/// A scale bar of a round length (1, 2 or 5 × 10^n metres, roundLength).
struct ScaleBar {
  double metres = 0;
  double pixels = 0;
  std::string label;  ///< "50 m", "0.5 m"
};

/// The least length in pixels of the scale bar on a map on screen.
constexpr double kScaleBarLeastPixels = 60;

/// The round length that is at least `leastPixels` long at the view's scale,
/// its length in pixels (under 2.5 times the least) and its label. With a
/// `horizontalFactor` the metres are that many times the view's. A length
/// of 0 for a scale that is not positive.
ScaleBar roundScaleBar(const MapView& view, double leastPixels, double horizontalFactor = 1);

/// North arrow at the bottom-left corner of the client rectangle, in white
/// or in `colour`.
void drawNorthArrow(QPainter& painter, const ClientRect& rect,
                    const QColor& colour = QColor(255, 255, 255));
/// The box a map's scale bar takes with its label, so that grid labels keep
/// off it.
QRect scaleBarBox(const MapView& view, double horizontalFactor = 1);
/// Scale bar at the bottom-right corner, in the background colour XOR white.
void drawScaleBar(QPainter& painter, const MapView& view, double horizontalFactor = 1);

/// A grid of dashed lines at round steps over the window, each line
/// labelled: rows (world X, up) every `rowStep`, labelled at the left edge
/// above their line; columns every `columnStep` of a value whose world Y is
/// value / `columnFactor`, labelled along the bottom right of their line.
/// A label at the window's edge is moved inside; one that would cover
/// another, or `keepClear` (when given), is left out.
struct ValueGrid {
  double rowStep = 0;
  double columnStep = 0;
  double columnFactor = 1;
  std::function<QString(double)> rowText;
  std::function<QString(double)> columnText;
  QColor line;
  QColor text;
  int pointSize = 8;
};
void drawValueGrid(QPainter& painter, const MapView& view, const ValueGrid& grid,
                   const QRect* keepClear = nullptr);

/// The least distance in pixels between the grid's rows and its columns.
constexpr double kGridRowLeastPixels = 40;
constexpr double kGridColumnLeastPixels = 80;

/// The note across the top of a map whose drawing no longer shows the road
/// as it is: dark text on amber, centred, kept inside `area`.
void drawOutOfDateNote(QPainter& painter, const QRect& area, const QString& text);
/// The note's text in the user's language.
QString outOfDateText();

/// Composes one frame of the client size: the background, the cached image
/// (when not null), the north arrow (when the style has one) and the scale
/// bar. Image pixel (i, j) is window pixel (left + i, top + j) of the client
/// rectangle.
void presentFrame(QImage& frame, const MapView& view, const QImage& cache,
                  const MapDecorationStyle& style = {});

}  // namespace trazmark
