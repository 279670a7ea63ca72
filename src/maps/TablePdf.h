#pragma once
// A design table on paper: landscape pages drawn directly with QPainter on a
// PDF writer (a text document would lay out every cell of 5,000 rows first).
// Each page repeats the header row and carries a title block: the road, the
// table's title, the date and "page n of m".

#include <string>

#include "tables/DesignTables.h"

namespace trazmark {

struct TablePdfOptions {
  std::string roadName;  ///< UTF-8
  std::string date;      ///< UTF-8, as printed ("2026-12-08")
  bool a3 = false;       ///< A3 landscape; A4 landscape otherwise
};

/// How many pages the table takes: rows a page from the page's height.
int tablePdfPageCount(const DesignTable& table, const TablePdfOptions& options);

/// Writes the table as a PDF. Column titles and key cells through `text`
/// (UTF-8). False with a one-line `error` when the file cannot be written.
/// Needs a QGuiApplication.
bool writeTablePdf(const std::string& path, const DesignTable& table, const TableTextLookup& text,
                   const TablePdfOptions& options, std::string& error);

}  // namespace trazmark
