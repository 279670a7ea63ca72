#pragma once
// A data view's host without a frame: the road library store, scripted
// dialogs and a file identity, counting the views' "road modified" notices.

#include <string>

#include "library/InputRoadLibrary.h"
#include "platform/qt/DataView.h"
#include "platform/qt/Localization.h"
#include "support/UiTestSupport.h"

namespace trazmark::test {

class DataViewTestHost : public CDataViewHost {
 public:
  CInputRoadLibrary road;
  ScriptedDialogs dialogs;
  RoadFileState state;
  int modifiedNotices = 0;

  CInputRoadLibrary& roadLibrary() override { return road; }
  UserDialogs& userDialogs() override { return dialogs; }
  const RoadFileState& roadFileState() const override { return state; }
  void setRoadModified() override { ++modifiedNotices; }
  void showAlignmentFile(const std::string&) override {}
  void showProfileFile(const std::string&) override {}
  void showCrossSection() override {}
};

/// The English language file of the source tree, so that tests read real texts.
inline void useEnglishTexts() { setLanguageFilePath(std::string(TRAZMARK_SOURCE_DIR) + "/lang/Language.en.xml"); }

}  // namespace trazmark::test
