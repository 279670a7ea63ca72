// Cells of the design tables and the CSV form every table shares.

#include <cerrno>
#include <cmath>
#include <cstring>

#include "platform/TextFields.h"
#include "platform/TextFile.h"
#include "tables/DesignTables.h"

namespace trazmark {

namespace {

constexpr double kPi = 3.141592653589793;

// A cell needs quotes in CSV when it holds the separator, a quote or a line end.
void appendCsvField(std::string& out, const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

std::string formatChainStation(double displayedStation, int decimals) {
  if (!std::isfinite(displayedStation)) return "";
  if (decimals < 0) decimals = 0;
  // Rounded to the shown decimals first, so 999.9996 at three reads K1+000.000.
  const double scale = std::pow(10.0, decimals);
  const double units = std::round(std::fabs(displayedStation) * scale);
  const double perKm = 1000.0 * scale;
  const double km = std::floor(units / perKm);
  const double metres = (units - km * perKm) / scale;
  std::string s = displayedStation < 0 && units > 0 ? "-K" : "K";
  s += formatFixed(km, 0) + "+";
  std::string m = formatFixed(metres, decimals);
  const std::size_t width = decimals > 0 ? static_cast<std::size_t>(4 + decimals) : 3;
  while (m.size() < width) m.insert(m.begin(), '0');
  return s + m;
}

TableCell stationCell(double displayedStation, int decimals) {
  if (!std::isfinite(displayedStation)) return {};
  return {formatChainStation(displayedStation, decimals), formatFixed(displayedStation, decimals), false};
}

TableCell numberCell(std::optional<double> value, int decimals) {
  if (!value || !std::isfinite(*value)) return {};
  // "-0.000" reads as a sign that is not there.
  std::string text = formatFixed(*value, decimals);
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return {text, {}, false};
}

TableCell angleCell(double radians) {
  if (!std::isfinite(radians)) return {};
  const double degrees = radians * 180.0 / kPi;
  // Whole tenths of a second, so 59.96″ carries into the minute.
  const double tenths = std::round(std::fabs(degrees) * 36000.0);
  const long long t = static_cast<long long>(tenths);
  const long long d = t / 36000;
  const long long m = (t % 36000) / 600;
  const long long s10 = t % 600;
  std::string text = degrees < 0 && t > 0 ? "-" : "";
  text += formatInt(d) + "°";
  if (m < 10) text += '0';
  text += formatInt(m) + "′";
  if (s10 < 100) text += '0';
  text += formatInt(s10 / 10) + "." + formatInt(s10 % 10) + "″";
  return {text, formatFixed(degrees, 8), false};
}

std::string tableCsv(const DesignTable& table, const TableTextLookup& text) {
  std::string out = "\xEF\xBB\xBF";
  out.reserve(64 + table.rows.size() * table.columns.size() * 12);
  for (std::size_t c = 0; c < table.columns.size(); ++c) {
    if (c) out += ',';
    std::string title = text ? text(table.columns[c].headerKey) : table.columns[c].headerKey;
    if (!table.columns[c].detail.empty()) title += " " + table.columns[c].detail;
    appendCsvField(out, title);
  }
  out += "\r\n";
  for (const std::vector<TableCell>& row : table.rows) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c) out += ',';
      appendCsvField(out, row[c].textIsKey && text ? text(row[c].text) : row[c].csv());
    }
    out += "\r\n";
  }
  return out;
}

bool writeTableCsv(const std::string& path, const DesignTable& table, const TableTextLookup& text,
                   std::string& error) {
  if (!writeTextFileAtomically(path, tableCsv(table, text))) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace trazmark
