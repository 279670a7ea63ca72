#pragma once
// The about box: the program's name, its version and OK.

#include <QDialog>

namespace trazmark {

class CAboutDlg : public QDialog {
 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace trazmark
