#pragma once
// A list's CSV written where the user says, through the dialog seam.

#include <string>

namespace trazmark {

class UserDialogs;

/// Asks for a CSV file (starting in `startFolder`, offering `suggestedName`)
/// and writes `text` there whole or not at all.
/// @return false when the dialog was cancelled or the write failed (then
///   `failureKey` is shown with the path)
bool saveCsvAs(UserDialogs& dialogs, const std::string& startFolder, const std::string& suggestedName,
               const std::string& text, const char* failureKey);

}  // namespace trazmark
