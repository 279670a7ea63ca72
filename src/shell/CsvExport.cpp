#include "shell/CsvExport.h"

#include "platform/TextFile.h"
#include "platform/qt/UserDialogs.h"

namespace trazmark {

bool saveCsvAs(UserDialogs& dialogs, const std::string& startFolder, const std::string& suggestedName,
               const std::string& text, const char* failureKey) {
  UserDialogs::FileRequest request;
  request.filter = "CSV(*.csv)|*.csv|";
  request.defaultExtension = "csv";
  request.startFolder = startFolder;
  request.suggestedName = suggestedName;
  const std::string path = dialogs.saveFileName(request);
  if (path.empty()) return false;
  if (!writeTextFileAtomically(path, text)) {
    dialogs.warningDetail(failureKey, path);
    return false;
  }
  return true;
}

}  // namespace trazmark
