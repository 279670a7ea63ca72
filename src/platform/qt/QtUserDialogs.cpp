#include "platform/qt/QtUserDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"

namespace trazmark {
namespace {

QString caption() { return languageTextOr("IDS_DATA_prompt", QStringLiteral("Trazmark")); }

// A message whose text is missing from the language file still tells the user
// something: its key.
QString messageText(const std::string& key) { return languageTextOr(key.c_str(), QString::fromStdString(key)); }

QString withDefaultSuffix(const QString& path, const std::string& extension) {
  if (path.isEmpty() || extension.empty()) return path;
  if (!QFileInfo(path).suffix().isEmpty()) return path;
  QString ext = QString::fromStdString(extension);
  if (ext.startsWith('.')) ext.remove(0, 1);
  return path + '.' + ext;
}

}  // namespace

void QtUserDialogs::warning(const std::string& key) {
  QMessageBox::warning(parent_, caption(), messageText(key), QMessageBox::Ok);
}

void QtUserDialogs::information(const std::string& key) {
  QMessageBox::information(parent_, caption(), messageText(key), QMessageBox::Ok);
}

void QtUserDialogs::informationWithDetail(const std::string& key, const std::string& detail) {
  QMessageBox::information(parent_, caption(), messageText(key) + QStringLiteral("\n") + pathToQt(detail),
                           QMessageBox::Ok);
}

bool QtUserDialogs::questionOkCancel(const std::string& key) {
  return QMessageBox::warning(parent_, caption(), messageText(key), QMessageBox::Ok | QMessageBox::Cancel,
                              QMessageBox::Ok) == QMessageBox::Ok;
}

UserDialogs::SaveAnswer QtUserDialogs::questionSaveDiscardCancel(const std::string& key) {
  // Escape and closing the box stay: only Don't Save leaves the edits behind.
  switch (QMessageBox::warning(parent_, caption(), messageText(key),
                               QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save)) {
    case QMessageBox::Save:
      return SaveAnswer::kSave;
    case QMessageBox::Discard:
      return SaveAnswer::kDiscard;
    default:
      return SaveAnswer::kCancel;
  }
}

bool QtUserDialogs::questionYesNo(const std::string& key) {
  return QMessageBox::question(parent_, caption(), messageText(key), QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

void QtUserDialogs::warningDetail(const std::string& key, const std::string& detail) {
  QMessageBox box(QMessageBox::Warning, caption(), messageText(key), QMessageBox::Ok, parent_);
  box.setInformativeText(toQt(detail));
  box.exec();
}

UserDialogs::ReplaceAnswer QtUserDialogs::questionReplaceFile(const std::string& key, const std::string& path,
                                                              bool offerAnotherName) {
  QMessageBox box(QMessageBox::Warning, caption(), messageText(key), QMessageBox::NoButton, parent_);
  box.setInformativeText(pathToQt(path));
  QPushButton* replace =
      box.addButton(languageTextOr("IDS_DATA_replace_file", QString::fromUtf8("替换(&R)")), QMessageBox::DestructiveRole);
  QPushButton* another = nullptr;
  if (offerAnotherName) {
    another = box.addButton(languageTextOr("IDS_DATA_choose_another_name", QString::fromUtf8("另存为其他文件(&A)...")),
                            QMessageBox::AcceptRole);
  }
  QPushButton* cancel = box.addButton(QMessageBox::Cancel);
  // The safe answers come first: Enter picks another name (or cancels),
  // Escape cancels.
  box.setDefaultButton(another ? another : cancel);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == replace) return ReplaceAnswer::kReplace;
  if (another && box.clickedButton() == another) return ReplaceAnswer::kChooseAnotherName;
  return ReplaceAnswer::kCancel;
}

QString QtUserDialogs::qtFilter(const std::string& filter) {
  QStringList parts = toQt(filter).split('|');
  QStringList lines;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
      patterns << p;
      if (p.toLower() != p) patterns << p.toLower();
    }
    if (parts[i].isEmpty()) continue;
    lines << parts[i] + " (" + patterns.join(' ') + ")";
  }
  return lines.join(";;");
}

std::string QtUserDialogs::openFileName(const FileRequest& request) {
  QString path =
      QFileDialog::getOpenFileName(parent_, toQt(request.title), pathToQt(request.startFolder), qtFilter(request.filter));
  return pathFromQt(path);
}

std::string QtUserDialogs::openFileNameAndFilter(const FileRequest& request, int& chosenFilter) {
  const QStringList filters = qtFilter(request.filter).split(QStringLiteral(";;"));
  QString selected = request.selectedFilter >= 0 && request.selectedFilter < filters.size()
                         ? filters[request.selectedFilter]
                         : QString();
  const QString path = QFileDialog::getOpenFileName(parent_, toQt(request.title), pathToQt(request.startFolder),
                                                    filters.join(QStringLiteral(";;")), &selected);
  chosenFilter = static_cast<int>(filters.indexOf(selected));
  if (chosenFilter < 0) chosenFilter = request.selectedFilter;
  return pathFromQt(path);
}

std::string QtUserDialogs::saveFileName(const FileRequest& request) {
  QFileDialog dialog(parent_, toQt(request.title), pathToQt(request.startFolder), qtFilter(request.filter));
  if (!request.suggestedName.empty()) dialog.selectFile(pathToQt(request.suggestedName));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  QString suffix = QString::fromStdString(request.defaultExtension);
  if (suffix.startsWith('.')) suffix.remove(0, 1);
  dialog.setDefaultSuffix(suffix);
  if (!request.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return pathFromQt(withDefaultSuffix(dialog.selectedFiles().first(), request.defaultExtension));
}

}  // namespace trazmark
