#pragma once
// Export of a design table shown in File → Tables: the file chosen through the
// dialog seam, the table written as CSV or as PDF pages. No window of its
// own, so tests drive it.

#include <string>

#include "platform/qt/UserDialogs.h"
#include "tables/DesignTables.h"

namespace trazmark {

/// The file name offered for a table: "<road>_<table>.<extension>", the table
/// named by its title key without "IDS_TABLE_" ("demo_stake_coordinates.csv");
/// "road" for a road without a name.
std::string suggestedTableFileName(const DesignTable& table, const std::string& roadName,
                                   const std::string& extension);

/// Asks for a CSV file and writes `table` with its column titles in the
/// interface language. A table without rows is not written
/// ("IDS_TABLES_empty"); a file that cannot be written is
/// "IDS_TABLES_export_failed" with the reason. `folder` is where the dialog
/// starts. Returns the written file, empty when nothing was written.
std::string exportTableCsv(UserDialogs& dialogs, const DesignTable& table,
                           const std::string& roadName, const std::string& folder);

/// The same for PDF: landscape pages with the header row repeated and a
/// title block (road, table, today's date, page n of m).
std::string exportTablePdf(UserDialogs& dialogs, const DesignTable& table,
                           const std::string& roadName, const std::string& folder);

}  // namespace trazmark
