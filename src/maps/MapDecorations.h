#pragma once
// What every map shows besides its content: the background, the north arrow at
// the bottom-left corner and the scale bar at the bottom-right corner, and the
// composition of one presented frame from the cached image.

#include <QColor>
#include <QImage>
#include <cstdint>
#include <string>

#include "maps/MapView.h"

class QPainter;

namespace trazmark {

/// A 0x00BBGGRR colour as a QColor.
QColor colourFromRef(uint32_t colour);

/// Length in pixels of the scale bar.
constexpr int kScaleBarPixels = 60;

/// The world length that the 60-pixel scale bar covers: the distance between
/// the world points of its two ends, i.e. 60 times the scale.
double scaleBarLength(const MapView& view);
/// The bar's label: "%.2fm" below 1, "%.1fm" below 5, "%.0fm" otherwise.
std::string scaleBarLabel(double length);

/// North arrow at the bottom-left corner of the client rectangle, in white
/// or in `colour`.
void drawNorthArrow(QPainter& painter, const ClientRect& rect,
                    const QColor& colour = QColor(255, 255, 255));
/// Scale bar at the bottom-right corner, in the background colour XOR white.
void drawScaleBar(QPainter& painter, const MapView& view);

/// Composes one frame of the client size: the background, the cached image
/// (when not null), the north arrow and the scale bar. Image pixel (i, j) is
/// window pixel (left + i, top + j) of the client rectangle.
void presentFrame(QImage& frame, const MapView& view, const QImage& cache);

}  // namespace trazmark
