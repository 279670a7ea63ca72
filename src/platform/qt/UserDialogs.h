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

  /// A failure with what it concerns: the key's text, then `detail` (already
  /// in the ANSI code page: the file and the system's reason). Warning icon, OK.
  virtual void warningDetail(const std::string& key, const std::string& detail) {
    (void)detail;
    warning(key);
  }

  /// The answers to "this file exists: replace it?".
  enum class ReplaceAnswer { kReplace, kChooseAnotherName, kCancel };
  /// Asks whether the existing file `path` may be replaced: warning icon, the
  /// key's text and the path, the buttons Replace, Choose another name (when
  /// `offerAnotherName`) and Cancel.
  virtual ReplaceAnswer questionReplaceFile(const std::string& key, const std::string& path, bool offerAnotherName) {
    (void)path;
    (void)offerAnotherName;
    return questionOkCancel(key) ? ReplaceAnswer::kReplace : ReplaceAnswer::kCancel;
  }

  /// The answers to "save the unsaved work before going on?".
  enum class SaveAnswer { kSave, kDiscard, kCancel };
  /// Asks before unsaved work would be left: Save, Don't save (go on without
  /// saving) and Cancel (stay, nothing happens). A seam without the third
  /// button reads OK as Save and Cancel as Don't save.
  virtual SaveAnswer questionSaveDiscardCancel(const std::string& key) {
    return questionOkCancel(key) ? SaveAnswer::kSave : SaveAnswer::kDiscard;
  }

  /// A file filter in the program's own form: "Files(*.RE;*.RP)|*.RE;*.RP|",
  /// pairs of description and patterns separated by '|'.
  struct FileRequest {
    std::string title;         ///< ANSI text; empty for the toolkit's own title
    std::string filter;
    std::string defaultExtension;  ///< without the dot, added when the name has none
    bool confirmOverwrite = true;  ///< save dialogs only
    std::string startFolder;   ///< folder the dialog starts in; empty: the toolkit's choice
    std::string suggestedName; ///< file name offered in a save dialog
    int selectedFilter = 0;    ///< the filter (pair) offered first, counted from 0
  };
  /// The chosen file's full path, empty when cancelled.
  virtual std::string openFileName(const FileRequest& request) = 0;
  /// The same, and which filter (pair of the request's filter, from 0) the
  /// user chose it under: where the filter says how to read the file.
  virtual std::string openFileNameAndFilter(const FileRequest& request, int& chosenFilter) {
    chosenFilter = request.selectedFilter;
    return openFileName(request);
  }
  virtual std::string saveFileName(const FileRequest& request) = 0;
};

}  // namespace trazmark
