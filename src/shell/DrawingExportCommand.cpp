#include "shell/DrawingExportCommand.h"

#include "maps/DrawingExport.h"
#include "platform/qt/Localization.h"
#include "shell/BottomDockPane.h"

namespace trazmark {

namespace {

/// The language text of `key`, or `builtIn` where the language file has none.
std::string textOr(const char* key, const char* builtIn) {
  std::string text = GetLanguageText(key);
  return text.empty() || text == key ? builtIn : text;
}

}  // namespace

std::string exportShownDrawing(UserDialogs& dialogs, CBottomDockPane& pane,
                               const std::string& roadName, const std::string& folder,
                               bool screenColours) {
  int shown = -1;
  for (int i = 0; i < kMapCount; ++i) {
    if (pane.isMapShown(i)) shown = i;
  }
  if (shown < 0 || !pane.map(shown).hasDrawing()) {
    dialogs.warning("IDS_EXPORT_DRAWING_none");
    return {};
  }
  CMapSlot& map = pane.map(shown);
  static const char* const kMapNames[kMapCount] = {"plan", "profile", "section", "mass_haul"};
  UserDialogs::FileRequest request;
  request.title = textOr("IDS_EXPORT_DRAWING_title", "Export drawing");
  request.filter = "PDF (*.pdf)|*.pdf|SVG (*.svg)|*.svg|PNG (*.png)|*.png|";
  if (map.drawsDxf()) request.filter += "DXF (*.dxf)|*.dxf|";
  request.defaultExtension = "pdf";
  request.startFolder = folder;
  request.suggestedName =
      (roadName.empty() ? std::string("road") : roadName) + "_" + kMapNames[shown] + ".pdf";
  const std::string path = dialogs.saveFileName(request);
  if (path.empty()) return {};
  TitleBlock title;
  title.roadName = roadName;
  title.roadLabel = textOr("IDS_TITLE_BLOCK_road", "Road");
  title.scaleLabel = textOr("IDS_TITLE_BLOCK_scale", "Scale");
  title.dateLabel = textOr("IDS_TITLE_BLOCK_date", "Date");
  title.horizontalLabel = textOr("IDS_TITLE_BLOCK_horizontal", "H");
  title.verticalLabel = textOr("IDS_TITLE_BLOCK_vertical", "V");
  std::string error;
  const DrawingPalette& palette =
      screenColours ? DrawingPalette::screen() : DrawingPalette::paper();
  if (!map.exportDrawing(path, QSize(kExportSheetWidth, kExportSheetHeight), title, palette,
                         error)) {
    dialogs.warningDetail("IDS_EXPORT_DRAWING_failed", error);
    return {};
  }
  return path;
}

}  // namespace trazmark
