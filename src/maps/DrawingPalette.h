#pragma once
// The colours and line weights a drawing is made with. The maps on screen draw
// light lines on black; a sheet for paper is white with dark lines, thicker
// where the road itself is drawn so it stands out from grids and labels. One
// palette is handed down to every drawing function instead of each choosing.

#include <QColor>

namespace trazmark {

struct DrawingPalette {
  QColor background;
  QColor ink;        ///< north arrow, scale bar, station ticks and names
  QColor labelBox;   ///< the opaque box behind a key point's name
  QColor labelText;  ///< a key point's name
  QColor markFill;   ///< inside a key point's circle
  /// The plan's centre line; invalid: the road's own pen colour.
  QColor centreLine;
  QColor profileLine;
  QColor gradePoint;
  QColor curveEnd;
  QColor tangent;
  QColor ground;
  QColor fillText;
  QColor cutText;
  QColor sectionGrid;
  QColor sectionGridText;
  QColor sectionSegment;
  QColor sectionLabel;
  QColor cornerText;
  QColor cornerBox;
  QColor cutShade;
  QColor fillShade;
  QColor earthworkLine;
  QColor earthworkPoint;
  /// Width in pixels of the road's own line (centre line, grade line, section
  /// components); grids, ground and leaders stay one pixel.
  double roadLineWidth = 1;
  double gradeLineWidth = 3;
  /// Point size of the labels along profiles and sections.
  int labelPointSize = 8;
  /// Stations written along the plan's centre line.
  bool planStations = false;

  /// The colours of the maps on screen.
  static const DrawingPalette& screen();
  /// White paper, dark lines, weights for a printed sheet at 96 dpi.
  static const DrawingPalette& paper();
};

}  // namespace trazmark
