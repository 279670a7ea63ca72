#pragma once
// File → Export drawing: the map shown in the drawing pane written as a
// drawing (PNG, SVG, PDF; the plan also DXF) with a title block, the file
// chosen through the dialog seam. No window of its own, so tests drive it.

#include <string>

#include "platform/qt/UserDialogs.h"

namespace trazmark {

class CBottomDockPane;

/// The sheet of an exported drawing: A3 landscape at 96 dpi.
constexpr int kExportSheetWidth = 1587;
constexpr int kExportSheetHeight = 1123;

/// Asks for a file and writes the shown map's drawing. Says so and writes
/// nothing when no map is shown or it shows nothing ("IDS_EXPORT_DRAWING_none");
/// a file that cannot be written is "IDS_EXPORT_DRAWING_failed" with the
/// reason. `roadName` goes into the title block, `folder` is where the dialog
/// starts. The drawing is for paper (white, dark lines) unless
/// `screenColours` keeps the map's colours. Returns the written file, empty
/// when nothing was written.
std::string exportShownDrawing(UserDialogs& dialogs, CBottomDockPane& pane,
                               const std::string& roadName, const std::string& folder,
                               bool screenColours = false);

}  // namespace trazmark
