// trazmark [--lang CODE] [--screenshot FILE [--open-road N] [--view KIND] [--list-mode N]
//           [--press NAME] [--select-row N] [--delete-row N] [--edit-menu] [--slope-steps N]
//           [--size WxH]] [ROAD-LIST-FILE]
// Starts the window. The road list file names the known roads; the road list
// view shows them as buttons.

#include <QApplication>
#include <clocale>

#include "shell/TrazmarkApp.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The toolkit takes the user's locale for everything; numbers in the
  // program's files are always written and read with a dot, whatever the
  // desktop's language.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("Trazmark"));
  QApplication::setOrganizationName(QStringLiteral("Trazmark"));
  QApplication::setApplicationVersion(QStringLiteral("1.0"));

  trazmark::CTrazmarkApp app;
  if (!app.InitInstance(QApplication::arguments().mid(1))) return 1;
  return QApplication::exec();
}
