#pragma once
// The drawing pane: the plan, profile, cross-section and mass-haul maps on top of one
// another, at most one visible, and the view commands of message 1627.

#include <QDockWidget>
#include <array>
#include <memory>

#include "shell/MapSlot.h"

namespace trazmark {

class CBottomDockPane : public QDockWidget {
  Q_OBJECT
 public:
  /// `mapSlots` may hold maps made by the caller (tests); empty entries get the
  /// program's own map or an empty page.
  explicit CBottomDockPane(QWidget* parent = nullptr,
                           std::array<std::unique_ptr<CMapSlot>, kMapCount> mapSlots = {});
  ~CBottomDockPane() override;

  CMapSlot& map(int index) { return *maps_[static_cast<std::size_t>(index)]; }
  /// Whether map `index` is the shown one (its own flag, also while the pane
  /// itself is hidden).
  bool isMapShown(int index) const;
  /// Hides the maps and shows map `index` (none for an invalid index).
  void showOnly(int index);

  /// The plan of an alignment file, its stations read across `chains`: the
  /// plan map shown, loaded, at full extent and no longer out of date. False
  /// when the file could not be loaded (the map keeps what it had).
  bool showAlignmentFile(const std::string& path, const RecordList<Scisson_Data>& chains = {});
  /// Profile of a vertical curve file: the profile map shown, loaded, at full
  /// extent and no longer out of date; false as for the plan.
  bool showProfileFile(const std::string& path);
  /// The standard cross section: the components handed over, full extent.
  void showCrossSection(const RecordList<Road_Section_Item>& left, const RecordList<Road_Section_Item>& right);

  /// Another road became current: every map forgets what it showed.
  void clearMaps();
  /// The data of view `kind` changed: every map drawn from it, except map
  /// `except` (-1: none), says that it is out of date until drawn again.
  void markOutOfDate(int kind, int except = -1);

  /// Message 1627: 2 zoom in, 3 zoom out, 4 full extent, 5 move; acts on every
  /// shown map. Other commands are ignored.
  void viewCommand(int command);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QWidget* area_;
  std::array<std::unique_ptr<CMapSlot>, kMapCount> maps_;
};

}  // namespace trazmark
