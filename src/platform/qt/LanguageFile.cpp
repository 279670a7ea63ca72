#include "platform/qt/LanguageFile.h"

#include <cstdio>

#include "markup/MarkupDocument.h"

namespace trazmark {

CLanguageFile::CLanguageFile() : document_(std::make_unique<MarkupDocument>()) {}
CLanguageFile::~CLanguageFile() = default;

void CLanguageFile::setPath(const std::string& path) {
  path_ = path;
  loaded_ = false;
  document_ = std::make_unique<MarkupDocument>();
}

bool CLanguageFile::ensureLoaded() {
  if (loaded_) return true;
  if (path_.empty() || !document_->loadFile(path_)) return false;
  loaded_ = true;
  return true;
}

std::string CLanguageFile::text(const std::string& key) {
  if (!ensureLoaded()) return {};
  MarkupDocument& doc = *document_;
  doc.resetPositions();
  if (!doc.findElement("HEAD") || !doc.enterElement()) return {};
  if (!doc.findElement("String") || !doc.enterElement()) return {};
  if (!doc.findElement(key)) return {};
  return doc.elementData();
}

CLanguageFile::DialogTexts CLanguageFile::dialogTexts(int dialogId, const std::vector<int>& controlIds) {
  DialogTexts result;
  result.controls.resize(controlIds.size());
  if (!ensureLoaded()) return result;
  MarkupDocument& doc = *document_;
  char name[64];
  std::snprintf(name, sizeof name, "IDD%d", dialogId);
  const std::string dialogName = name;

  // Positions the document on the dialog element with no child position, so
  // that a child search starts at its first child.
  auto findDialog = [&]() {
    doc.resetPositions();
    return doc.findElement("HEAD") && doc.enterElement() && doc.findElement("Dialog") &&
           doc.enterElement() && doc.findElement(dialogName);
  };
  if (!findDialog()) return result;
  result.found = true;

  std::snprintf(name, sizeof name, "IDD%d_Title", dialogId);
  if (doc.findChildElement(name)) result.title = doc.childData();
  // The first control is searched after the title element; every later one
  // from the dialog's first child again.
  for (std::size_t i = 0; i < controlIds.size(); ++i) {
    std::snprintf(name, sizeof name, "IDD%d_%d", dialogId, controlIds[i]);
    if (doc.findChildElement(name)) result.controls[i] = doc.childData();
    if (!findDialog()) break;
  }
  return result;
}

}  // namespace trazmark
