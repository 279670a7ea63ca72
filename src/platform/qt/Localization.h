#pragma once
// Every text shown to the user comes from the language file: message keys
// through GetLanguageText, dialog captions and control texts through
// LocalizeDialog. Controls carry their numeric identifier as the property
// "controlId" so that LocalizeDialog finds them.

#include <QString>
#include <string>

class QWidget;

namespace trazmark {

class CLanguageFile;

/// The process-wide language file (owned here; CTrazmarkApp names its path).
CLanguageFile& languageFile();
/// Names the language file; the next lookup loads it.
void setLanguageFilePath(const std::string& path);

/// The text of `key` (ANSI code page); empty when the file or key is missing.
std::string GetLanguageText(const std::string& key);
/// The text of `key` for a widget, or `fallback` when the language file has
/// none (menus and labels keep their built-in text then).
QString languageTextOr(const char* key, const QString& fallback);

/// Replaces the caption of `window` and the texts of its controls from the
/// dialog element "IDD<dialogId>". Controls without an element, and the
/// caption without a title element, keep their texts.
void LocalizeDialog(QWidget* window, int dialogId);

/// Gives a control its numeric identifier.
void setControlId(QWidget* control, int id);
/// The identifier given by setControlId, or 0.
int controlId(const QWidget* control);

}  // namespace trazmark
