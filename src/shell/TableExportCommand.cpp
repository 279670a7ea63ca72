#include "shell/TableExportCommand.h"

#include <QDate>

#include "maps/TablePdf.h"
#include "platform/CodePage.h"
#include "platform/qt/DesignTableModel.h"
#include "platform/qt/Localization.h"

namespace trazmark {

namespace {

std::string textOr(const char* key, const char* builtIn) {
  std::string text = GetLanguageText(key);
  return text.empty() || text == key ? builtIn : text;
}

/// What both exports share: nothing for an empty table, the save dialog for
/// `extension`, then `write`, whose failure is said with its reason.
template <typename Write>
std::string exportTable(UserDialogs& dialogs, const DesignTable& table, const std::string& roadName,
                        const std::string& folder, const char* filter, const char* extension,
                        Write write) {
  if (table.rows.empty()) {
    dialogs.warning("IDS_TABLES_empty");
    return {};
  }
  UserDialogs::FileRequest request;
  request.title = textOr("IDS_TABLES_export_title", "Export table");
  request.filter = filter;
  request.defaultExtension = extension;
  request.startFolder = folder;
  request.suggestedName = suggestedTableFileName(table, roadName, extension);
  const std::string path = dialogs.saveFileName(request);
  if (path.empty()) return {};
  std::string error;
  if (!write(path, error)) {
    dialogs.warningDetail("IDS_TABLES_export_failed", error);
    return {};
  }
  return path;
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
  return exportTable(dialogs, table, roadName, folder, "CSV (*.csv)|*.csv|", "csv",
                     [&](const std::string& path, std::string& error) {
                       return writeTableCsv(path, table, tableText, error);
                     });
}

std::string exportTablePdf(UserDialogs& dialogs, const DesignTable& table,
                           const std::string& roadName, const std::string& folder) {
  return exportTable(dialogs, table, roadName, folder, "PDF (*.pdf)|*.pdf|", "pdf",
                     [&](const std::string& path, std::string& error) {
                       TablePdfOptions options;
                       // The road's name is kept in the ANSI code page like the rest of the road.
                       options.roadName = ansiToUtf8(roadName);
                       options.date = QDate::currentDate().toString(Qt::ISODate).toStdString();
                       return writeTablePdf(path, table, tableText, options, error);
                     });
}

}  // namespace trazmark
