#pragma once
// A data view host for view tests: a road store, scripted dialogs, and a
// record of what the view asked the drawing pane to show.

#include <string>
#include <vector>

#include "library/InputRoadLibrary.h"
#include "platform/qt/DataView.h"
#include "support/UiTestSupport.h"

namespace trazmark::test {

class FakeDataViewHost : public CDataViewHost {
 public:
  CInputRoadLibrary store;
  ScriptedDialogs dialogs;
  RoadFileState state;
  int roadModified = 0;
  std::vector<std::string> alignmentFiles;
  /// Each profile file shown, with its text as it was while shown.
  std::vector<std::pair<std::string, std::string>> profileFiles;
  int crossSectionsShown = 0;
  RecordList<Road_Section_Item> shownLeft, shownRight;

  CInputRoadLibrary& roadLibrary() override { return store; }
  UserDialogs& userDialogs() override { return dialogs; }
  const RoadFileState& roadFileState() const override { return state; }
  void setRoadModified() override { ++roadModified; }
  void showAlignmentFile(const std::string& path) override { alignmentFiles.push_back(path); }
  void showProfileFile(const std::string& path) override { profileFiles.emplace_back(path, readFile(path)); }
  void showCrossSection() override {
    ++crossSectionsShown;
    shownLeft = store.leftSections;
    shownRight = store.rightSections;
  }
  void showSectionComponents(const RecordList<Road_Section_Item>& left,
                             const RecordList<Road_Section_Item>& right) override {
    ++crossSectionsShown;
    shownLeft = left;
    shownRight = right;
  }
};

}  // namespace trazmark::test
