#pragma once
// The one seam between the program and its message boxes and file dialogs. The
// window implements it with Qt's message boxes and file dialogs (QtUserDialogs);
// tests implement it with scripted answers. No view opens a message box or a
// file dialog of its own.
//
// Messages are named by their language key ("IDS_WARN_import_failed"); the
// implementation shows the key's text under the caption of "IDS_DATA_prompt".

#include <string>

namespace trazmark {

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  /// A failure: warning icon, OK.
  virtual void warning(const std::string& key) = 0;
  /// A completion: information icon, OK.
  virtual void information(const std::string& key) = 0;
  /// A completion that names a file: the key's text, then `detail`.
  virtual void informationWithDetail(const std::string& key, const std::string& detail) {
    (void)detail;
    information(key);
  }
  /// A question with a warning icon and the buttons OK and Cancel; true for OK.
  virtual bool questionOkCancel(const std::string& key) = 0;
  /// A question with a question icon and the buttons Yes and No; true for Yes.
  virtual bool questionYesNo(const std::string& key) = 0;

  /// A file filter in the program's own form: "Files(*.RE;*.RP)|*.RE;*.RP|",
  /// pairs of description and patterns separated by '|'.
  struct FileRequest {
    std::string title;         ///< ANSI text; empty for the toolkit's own title
    std::string filter;
    std::string defaultExtension;  ///< without the dot, added when the name has none
    bool confirmOverwrite = true;  ///< save dialogs only
  };
  /// The chosen file's full path, empty when cancelled.
  virtual std::string openFileName(const FileRequest& request) = 0;
  virtual std::string saveFileName(const FileRequest& request) = 0;
};

}  // namespace trazmark
