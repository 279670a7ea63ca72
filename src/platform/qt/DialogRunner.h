#pragma once
// How a data view runs its modal dialogs. The window runs them with exec();
// tests put a function in its place that fills the dialog's fields and presses
// its OK, so the view's own code runs with the real dialog and no event loop.

#include <QDialog>
#include <functional>

namespace trazmark {

/// Runs `dialog` modally; true when it was accepted.
using DialogRunner = std::function<bool(QDialog& dialog)>;

inline bool execDialog(QDialog& dialog) { return dialog.exec() == QDialog::Accepted; }

}  // namespace trazmark
