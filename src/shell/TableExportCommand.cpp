#include "shell/TableExportCommand.h"

#include "platform/qt/DesignTableModel.h"
#include "platform/qt/Localization.h"

namespace trazmark {

namespace {

std::string textOr(const char* key, const char* builtIn) {
  std::string text = GetLanguageText(key);
  return text.empty() || text == key ? builtIn : text;
}

}  // namespace

std::string suggestedTableFileName(const DesignTable& table, const std::string& roadName,
                                   const std::string& extension) {
  static const std::string kPrefix = "IDS_TABLE_";
  std::string name = table.titleKey;
  if (name.rfind(kPrefix, 0) == 0) name.erase(0, kPrefix.size());
  if (name.empty()) name = "table";
  return (roadName.empty() ? std::string("road") : roadName) + "_" + name + "." + extension;
}

std::string exportTableCsv(UserDialogs& dialogs, const DesignTable& table,
                           const std::string& roadName, const std::string& folder) {
  if (table.rows.empty()) {
    dialogs.warning("IDS_TABLES_empty");
    return {};
  }
  UserDialogs::FileRequest request;
  request.title = textOr("IDS_TABLES_export_title", "Export table");
  request.filter = "CSV (*.csv)|*.csv|";
  request.defaultExtension = "csv";
  request.startFolder = folder;
  request.suggestedName = suggestedTableFileName(table, roadName, "csv");
  const std::string path = dialogs.saveFileName(request);
  if (path.empty()) return {};
  std::string error;
  if (!writeTableCsv(path, table, tableText, error)) {
    dialogs.warningDetail("IDS_TABLES_export_failed", error);
    return {};
  }
  return path;
}

}  // namespace trazmark
