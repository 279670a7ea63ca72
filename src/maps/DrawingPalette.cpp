#include "maps/DrawingPalette.h"

namespace trazmark {

const DrawingPalette& DrawingPalette::screen() {
  static const DrawingPalette palette = [] {
    DrawingPalette p;
    p.background = QColor(0, 0, 0);
    p.ink = QColor(255, 255, 255);
    p.labelBox = QColor(255, 255, 255);
    p.labelText = QColor(0, 0, 0);
    p.markFill = QColor(255, 255, 255);
    p.profileLine = QColor(255, 0, 0);
    p.gradePoint = QColor(255, 255, 255);
    p.curveEnd = QColor(255, 220, 0);
    p.tangent = QColor(128, 128, 128);
    // The ground in an earth colour that stands apart from the red grade line
    // and the white labels on black.
    p.ground = QColor(150, 200, 90);
    p.fillText = QColor(90, 200, 255);
    p.cutText = QColor(255, 170, 60);
    p.sectionGrid = QColor(198, 195, 198);
    p.sectionGridText = QColor(255, 0, 0);
    p.sectionSegment = QColor(0, 0, 255);
    p.sectionLabel = QColor(120, 170, 255);
    p.cornerText = QColor(255, 255, 255);
    p.cornerBox = QColor(40, 40, 40);
    p.cutShade = QColor(255, 150, 40, 110);
    p.fillShade = QColor(60, 140, 255, 110);
    p.earthworkLine = QColor(255, 220, 0);
    p.earthworkPoint = QColor(255, 255, 255);
    return p;
  }();
  return palette;
}

const DrawingPalette& DrawingPalette::paper() {
  // Dark enough to read on a monochrome printer; the few colours kept (ground,
  // cut and fill) are dark shades that still tell the lines apart in colour.
  static const DrawingPalette palette = [] {
    DrawingPalette p;
    p.background = QColor(255, 255, 255);
    p.ink = QColor(0, 0, 0);
    // No box behind a name on paper: it would cut the centre line it names.
    p.labelBox = QColor(Qt::transparent);
    p.labelText = QColor(0, 0, 0);
    p.markFill = QColor(255, 255, 255);
    p.centreLine = QColor(0, 0, 0);
    p.profileLine = QColor(0, 0, 0);
    p.gradePoint = QColor(0, 0, 0);
    p.curveEnd = QColor(60, 60, 60);
    p.tangent = QColor(110, 110, 110);
    p.ground = QColor(90, 60, 20);
    p.fillText = QColor(0, 60, 150);
    p.cutText = QColor(150, 60, 0);
    p.sectionGrid = QColor(190, 190, 190);
    p.sectionGridText = QColor(60, 60, 60);
    p.sectionSegment = QColor(0, 0, 0);
    p.sectionLabel = QColor(40, 40, 40);
    p.cornerText = QColor(0, 0, 0);
    p.cornerBox = QColor(235, 235, 235);
    p.cutShade = QColor(200, 120, 40, 70);
    p.fillShade = QColor(40, 100, 200, 70);
    p.earthworkLine = QColor(0, 0, 0);
    p.earthworkPoint = QColor(0, 0, 0);
    // 0.5 mm for the road itself at 96 dpi; 0.26 mm (one pixel) for the rest.
    p.roadLineWidth = 2;
    p.gradeLineWidth = 2;
    // 9 pt reads on paper at arm's length; 8 pt is the screen's density.
    p.labelPointSize = 9;
    p.planStations = true;
    return p;
  }();
  return palette;
}

}  // namespace trazmark
