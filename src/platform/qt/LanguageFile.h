#pragma once
// The language file: every text the user sees, looked up by key. Layout:
//   <HEAD>
//     <Language>Chinese</Language>            (optional, not read)
//     <String><IDS_DATA_prompt>提示</IDS_DATA_prompt> ...</String>
//     <Dialog><IDD313><IDD313_Title>..</IDD313_Title><IDD313_1>..</IDD313_1></IDD313> ...</Dialog>
//   </HEAD>
// Plain C++ over the markup document; the widgets' side is Localization.h.

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace trazmark {

class MarkupDocument;

class CLanguageFile {
 public:
  CLanguageFile();
  ~CLanguageFile();
  CLanguageFile(const CLanguageFile&) = delete;
  CLanguageFile& operator=(const CLanguageFile&) = delete;

  /// Names the file to read; the next lookup loads it.
  void setPath(const std::string& path);
  const std::string& path() const { return path_; }

  /// The text of `key` under HEAD/String; empty when the file cannot be
  /// loaded (the next lookup tries again) or the key is missing.
  std::string text(const std::string& key);

  /// What LocalizeDialog applies to one dialog.
  struct DialogTexts {
    bool found = false;                ///< the "IDD%d" element exists
    std::optional<std::string> title;  ///< "IDD%d_Title"
    /// One entry per identifier passed in, in the same order; empty optional
    /// where the control keeps its own text.
    std::vector<std::optional<std::string>> controls;
  };
  /// The caption and control texts of dialog `dialogId` for the controls
  /// `controlIds`, given in the window's child order.
  DialogTexts dialogTexts(int dialogId, const std::vector<int>& controlIds);

 private:
  bool ensureLoaded();

  std::string path_;
  std::unique_ptr<MarkupDocument> document_;
  bool loaded_ = false;
};

}  // namespace trazmark
