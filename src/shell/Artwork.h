#pragma once
// The program's own pictures, drawn with QPainter when first asked for: the
// toolbar icons, the pictures of the navigation buttons and the window icon.

#include <QIcon>
#include <QPixmap>

namespace trazmark {

enum class ToolbarIcon { New, Open, Save, ZoomIn, ZoomOut, FullExtent, Move, About };
enum class PictureState { Normal, Pressed, Disabled };

QIcon toolbarIcon(ToolbarIcon which);
/// The picture of the navigation button of `kind`, in one of its three looks;
/// `symbolHeight` above 0 keeps the symbol within that many pixels from the top.
QPixmap navigationPicture(int kind, PictureState state, QSize size = QSize(80, 70), int symbolHeight = 0);
QIcon applicationIcon();

}  // namespace trazmark
