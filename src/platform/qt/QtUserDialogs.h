#pragma once
// The window's implementation of the dialog seam: QMessageBox and QFileDialog.

#include "platform/qt/UserDialogs.h"

class QWidget;
class QString;

namespace trazmark {

class QtUserDialogs : public UserDialogs {
 public:
  explicit QtUserDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  void warning(const std::string& key) override;
  void information(const std::string& key) override;
  void informationWithDetail(const std::string& key, const std::string& detail) override;
  bool questionOkCancel(const std::string& key) override;
  bool questionYesNo(const std::string& key) override;
  SaveAnswer questionSaveDiscardCancel(const std::string& key) override;
  void warningDetail(const std::string& key, const std::string& detail) override;
  ReplaceAnswer questionReplaceFile(const std::string& key, const std::string& path, bool offerAnotherName) override;
  std::string openFileName(const FileRequest& request) override;
  std::string openFileNameAndFilter(const FileRequest& request, int& chosenFilter) override;
  std::string saveFileName(const FileRequest& request) override;

  /// "Files(*.RE;*.RP)|*.RE;*.RP|" as Qt's "Files(*.RE;*.RP) (*.RE *.re *.RP *.rp)"
  /// lines: patterns match either case, as they do on the desktop the files come from.
  static QString qtFilter(const std::string& filter);

 private:
  QWidget* parent_;
};

}  // namespace trazmark
