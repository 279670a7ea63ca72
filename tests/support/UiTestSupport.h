#pragma once
// Shared pieces of the window tests: the application object, scripted answers
// for the dialog seam, and a scratch folder.

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <deque>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/qt/UserDialogs.h"

namespace trazmark::test {

/// Gives this test process a home and config folder of its own: ctest runs
/// test processes side by side, and settings written by one (the folder of
/// the last file dialog) must not reach another, nor the user's own.
inline void useOwnHomeFolder() {
  static QTemporaryDir home;
  static const bool done = [] {
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    return true;
  }();
  (void)done;
}

inline QApplication& application() {
  useOwnHomeFolder();
  static int argc = 1;
  static char name[] = "test_shell";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Settings files go to a test folder, never the user's own.
  QStandardPaths::setTestModeEnabled(true);
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

/// The dialog seam with answers given in advance; records what was shown.
class ScriptedDialogs : public UserDialogs {
 public:
  std::vector<std::string> warnings;
  std::vector<std::string> informations;
  std::vector<std::string> questions;
  std::deque<bool> answers;        ///< OK/Yes = true; when empty: Cancel/No
  std::deque<std::string> openNames;  ///< when empty: the dialog is cancelled
  std::deque<std::string> saveNames;
  std::deque<int> chosenFilters;   ///< the filter each open dialog is answered under; when empty: the offered one
  std::vector<FileRequest> requests;
  std::vector<std::string> details;   ///< the detail of each warningDetail and informationWithDetail, in order
  std::vector<std::string> replaceQuestions;  ///< the file of each questionReplaceFile
  std::deque<ReplaceAnswer> replaceAnswers;   ///< when empty: Cancel
  /// The answers to the save question; when empty the question is answered
  /// from `answers` (OK: Save, Cancel: Don't save).
  std::deque<SaveAnswer> saveAnswers;

  void warning(const std::string& key) override { warnings.push_back(key); }
  void information(const std::string& key) override { informations.push_back(key); }
  void informationWithDetail(const std::string& key, const std::string& detail) override {
    informations.push_back(key);
    details.push_back(detail);
  }
  bool questionOkCancel(const std::string& key) override { return answer(key); }
  bool questionYesNo(const std::string& key) override { return answer(key); }
  SaveAnswer questionSaveDiscardCancel(const std::string& key) override {
    if (saveAnswers.empty()) return answer(key) ? SaveAnswer::kSave : SaveAnswer::kDiscard;
    questions.push_back(key);
    SaveAnswer a = saveAnswers.front();
    saveAnswers.pop_front();
    return a;
  }
  void warningDetail(const std::string& key, const std::string& detail) override {
    warnings.push_back(key);
    details.push_back(detail);
  }
  ReplaceAnswer questionReplaceFile(const std::string& key, const std::string& path, bool offerAnotherName) override {
    questions.push_back(key);
    replaceQuestions.push_back(path);
    if (replaceAnswers.empty()) return ReplaceAnswer::kCancel;
    ReplaceAnswer a = replaceAnswers.front();
    replaceAnswers.pop_front();
    return a == ReplaceAnswer::kChooseAnotherName && !offerAnotherName ? ReplaceAnswer::kCancel : a;
  }
  std::string openFileName(const FileRequest& request) override { return next(openNames, request); }
  std::string saveFileName(const FileRequest& request) override { return next(saveNames, request); }
  std::string openFileNameAndFilter(const FileRequest& request, int& chosenFilter) override {
    chosenFilter = request.selectedFilter;
    if (!chosenFilters.empty()) {
      chosenFilter = chosenFilters.front();
      chosenFilters.pop_front();
    }
    return next(openNames, request);
  }

 private:
  bool answer(const std::string& key) {
    questions.push_back(key);
    if (answers.empty()) return false;
    bool a = answers.front();
    answers.pop_front();
    return a;
  }
  std::string next(std::deque<std::string>& names, const FileRequest& request) {
    requests.push_back(request);
    if (names.empty()) return {};
    std::string n = names.front();
    names.pop_front();
    return n;
  }
};

/// A scratch folder removed with the test.
class ScratchFolder {
 public:
  std::string path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }
  std::string root() const { return dir_.path().toStdString(); }

 private:
  QTemporaryDir dir_;
};

inline void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline bool fileExists(const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); }

}  // namespace trazmark::test
