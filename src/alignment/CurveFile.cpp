#include "alignment/CurveFile.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <filesystem>
#include <system_error>

#include "markup/MarkupDocument.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"

namespace trazmark {

CCurveFileWriter::CCurveFileWriter(CurveFileKind kind) : kind_(kind) {}

void CCurveFileWriter::writeHeader(double startChainage, const std::string& roadName) {
  text_ += kind_ == CurveFileKind::RP ? "CURVE FILE(RP) Ver1.0\r\n" : "CURVE FILE(RE) Ver1.0\r\n";
  text_ += "METRES\r\nDEGREES\r\n";
  text_ += formatRecord("START CHAINAGE,%.4f\r\n", startChainage);
  text_ += "HORIZ\r\n";
  text_ += "RN," + sanitizeFieldText(roadName) + "\r\n";
}

void CCurveFileWriter::writeStartPoint(double x, double y) { appendLine("PT,%.6f,%.6f,\r\n", y, x); }

void CCurveFileWriter::writeLine(double length, double azimuthDegrees) {
  appendLine(kind_ == CurveFileKind::RP ? "R.,%.6f,%.8f,\r\n" : "R.,%.6f,%.10f,\r\n", length,
             azimuthDegrees);
}

void CCurveFileWriter::writeArc(double length, double radius) {
  appendLine("CC,%.6f,%.6f,\r\n", length, radius);
}

void CCurveFileWriter::writeSpiral(double length, double parameter) {
  appendLine(kind_ == CurveFileKind::RP ? "CL,%.6f,%.8f,\r\n" : "CL,%.6f,%.6f,\r\n", length,
             parameter);
}

bool CCurveFileWriter::save(const std::string& path) const {
  return writeTextFileAtomically(path, text_);
}

void CCurveFileWriter::appendLine(const char* format, double a, double b) {
  appendFormat(text_, format, a, b);
}

std::vector<std::string> splitCommaFields(const std::string& data) {
  std::vector<std::string> fields;
  std::size_t pos = 0;
  while (true) {
    std::size_t comma = data.find(',', pos);
    if (comma == std::string::npos) {
      fields.push_back(data.substr(pos));
      break;
    }
    fields.push_back(data.substr(pos, comma - pos));
    pos = comma + 1;
  }
  return fields;
}

std::string sanitizeFieldText(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c == ',') c = ';';
    else if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

std::string formatRecord(const char* format, ...) {
  std::string out;
  va_list args;
  va_start(args, format);
  appendFormatV(out, format, args);
  va_end(args);
  return out;
}

std::string userSettingsFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/trazmark";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.config/trazmark";
  return std::string();
}

bool writeMethodSettings(const std::string& folder, const char* fileName, const char* methodName,
                         int calculateMode, double interval) {
  if (folder.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  MarkupDocument doc;
  doc.setText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
  bool ok = doc.addElement("HEAD") && doc.enterElement() && doc.addElement(methodName) &&
            doc.enterElement() && doc.addElement("Ver", "1.0.1.1") && doc.addElement("Option") &&
            doc.addChildElement("CalculateMode", formatRecord("%d", calculateMode)) &&
            doc.addChildElement("Interval", formatRecord("%.4f", interval));
  return ok && doc.saveFile(folder + "/" + fileName);
}

bool readMethodFileLines(const std::string& path, std::vector<MethodFileLine>& lines) {
  const std::string trimmed = trimWhiteSpace(path);
  if (trimmed.empty()) return false;
  std::string text;
  if (!readTextFileAsAnsi(trimmed, text)) return false;
  lines.clear();
  forEachLine(text, kMethodFileMaxLines, [&](const std::string& line) {
    if (line.size() <= 7) return;
    lines.push_back({line.substr(0, 9), line.size() > 9 ? line.substr(9) : std::string()});
  });
  return true;
}

}  // namespace trazmark
