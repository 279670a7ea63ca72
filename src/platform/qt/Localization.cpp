#include "platform/qt/Localization.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "platform/qt/LanguageFile.h"
#include "platform/qt/QtText.h"

namespace trazmark {
namespace {

constexpr const char* kControlIdProperty = "controlId";

void setControlText(QWidget* control, const QString& text) {
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
    group->setTitle(text);
  } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setText(text);
  } else {
    control->setWindowTitle(text);
  }
}

}  // namespace

CLanguageFile& languageFile() {
  static CLanguageFile file;
  return file;
}

void setLanguageFilePath(const std::string& path) { languageFile().setPath(path); }

std::string GetLanguageText(const std::string& key) { return languageFile().text(key); }

QString languageTextOr(const char* key, const QString& fallback) {
  std::string text = GetLanguageText(key);
  return text.empty() ? fallback : toQt(text);
}

void setControlId(QWidget* control, int id) { control->setProperty(kControlIdProperty, id); }

int controlId(const QWidget* control) {
  QVariant v = control->property(kControlIdProperty);
  return v.isValid() ? v.toInt() : 0;
}

void LocalizeDialog(QWidget* window, int dialogId) {
  if (window == nullptr) return;
  // The controls in window order: every descendant that carries an identifier,
  // depth first in creation order.
  std::vector<QWidget*> controls;
  std::vector<int> ids;
  for (QWidget* child : window->findChildren<QWidget*>()) {
    int id = controlId(child);
    if (id == 0) continue;
    controls.push_back(child);
    ids.push_back(id);
  }
  CLanguageFile::DialogTexts texts = languageFile().dialogTexts(dialogId, ids);
  if (!texts.found) return;
  if (texts.title) window->setWindowTitle(toQt(*texts.title));
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (texts.controls[i]) setControlText(controls[i], toQt(*texts.controls[i]));
  }
}

}  // namespace trazmark
