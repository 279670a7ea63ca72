#include "maps/MapSettingsFile.h"

#include <QDir>
#include <QStandardPaths>
#include <cstdio>
#include <fstream>

#include "markup/MarkupDocument.h"

namespace trazmark {

namespace {

std::string formatted(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

MarkupDocument settingsDocument(const MapViewParams& p) {
  char background[32];
  std::snprintf(background, sizeof background, "%ld", static_cast<long>(p.background));
  MarkupDocument doc;
  doc.setText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
  doc.addElement("HEAD");
  doc.enterElement();
  doc.addElement("MapConfig");
  doc.enterElement();
  doc.addElement("Ver", "1.0.1.1");
  doc.addElement("StartCor");
  doc.addChildElement("Coorx", formatted("%.4f", p.centreX));
  doc.addChildElement("Coory", formatted("%.4f", p.centreY));
  doc.addChildElement("Coorh", formatted("%.4f", p.centreH));
  doc.addElement("Scale", formatted("%.8f", p.scale));
  doc.addElement("BackGround", background);
  return doc;
}

}  // namespace

std::string mapSettingsText(const MapViewParams& p) { return settingsDocument(p).text(); }

std::string defaultMapSettingsFolder() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return (base + QStringLiteral("/trazmark")).toStdString();
}

std::string mapSettingsPath(const MapViewParams& params) {
  const std::string folder =
      params.settingsFolder.empty() ? defaultMapSettingsFolder() : params.settingsFolder;
  return folder + "/MapConvert.cfg";
}

bool writeMapSettings(const MapViewParams& params) {
  const std::string path = mapSettingsPath(params);
  const std::string folder = path.substr(0, path.size() - std::string("/MapConvert.cfg").size());
  if (!QDir().mkpath(QString::fromStdString(folder))) return false;
  // Written on every change of view, on the window thread: a temporary file
  // renamed over the old one, without the flush to disk that the road files
  // get, since the file is never read back and a wheel turn must not wait for
  // the disk.
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << mapSettingsText(params);
    if (!out.flush()) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace trazmark
