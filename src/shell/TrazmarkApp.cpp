#include "shell/TrazmarkApp.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTimer>

#include "maps/RoadMap.h"
#include "platform/qt/Localization.h"
#include "shell/MainFrame.h"
#include "shell/MyButton.h"
#include "platform/qt/QtText.h"
#include "shell/RoadManageView.h"

namespace trazmark {

CTrazmarkApp::CTrazmarkApp() = default;
CTrazmarkApp::~CTrazmarkApp() = default;

CTrazmarkApp::Options CTrazmarkApp::parseArguments(const QStringList& arguments) {
  Options options;
  int i = 0;
  for (; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    if (a == QLatin1String("--lang") && i + 1 < arguments.size()) {
      options.language = arguments[++i].toStdString();
    } else if (a == QLatin1String("--screenshot") && i + 1 < arguments.size()) {
      options.screenshot = pathFromQt(arguments[++i]);
    } else if (a == QLatin1String("--open-road") && i + 1 < arguments.size()) {
      options.openRoad = arguments[++i].toInt();
    } else if (a == QLatin1String("--view") && i + 1 < arguments.size()) {
      options.view = arguments[++i].toInt();
    } else if (a == QLatin1String("--plan-file") && i + 1 < arguments.size()) {
      options.planFile = pathFromQt(arguments[++i]);
    } else if (a == QLatin1String("--hover") && i + 1 < arguments.size()) {
      options.hover = arguments[++i].toStdString();
    } else if (a == QLatin1String("--")) {
      ++i;
      break;
    } else {
      break;
    }
  }
  // A path with spaces given without quotes still names one file.
  options.roadListPath = pathFromQt(arguments.mid(i).join(' '));
  return options;
}

std::string CTrazmarkApp::findLanguageFile(const std::string& programFolder, const std::string& language) {
  std::string name = language.empty() || language == "zh" ? "Language.xml" : "Language." + language + ".xml";
  const std::string candidates[] = {programFolder + name, programFolder + "../share/trazmark/" + name};
  for (const std::string& candidate : candidates) {
    if (QFileInfo::exists(pathToQt(candidate))) return QDir::cleanPath(pathToQt(candidate)).toStdString();
  }
  return candidates[0];
}

bool CTrazmarkApp::InitInstance(const QStringList& arguments) {
  Options options = parseArguments(arguments);
  if (options.language.empty()) options.language = qEnvironmentVariable("TRAZMARK_LANG").toStdString();

  programFolder_ = pathFromQt(QCoreApplication::applicationDirPath()) + "/";
  languageFilePath_ = findLanguageFile(programFolder_, options.language);

  // The copy UI.xml is made once, and only where the program's folder may be
  // written (never in an installed, read-only place); an existing one stays.
  QString uiCopy = pathToQt(programFolder_ + "UI.xml");
  QFileInfo folder(pathToQt(programFolder_));
  if (!QFileInfo::exists(uiCopy) && folder.isWritable() && QFileInfo::exists(pathToQt(languageFilePath_))) {
    QFile::copy(pathToQt(languageFilePath_), uiCopy);
  }
  setLanguageFilePath(languageFilePath_);

  frame_ = std::make_unique<CMainFrame>();
  frame_->show();
  frame_->setRoadListPath(options.roadListPath);
  frame_->showRoadListView();

  if (!options.screenshot.empty()) takeScreenshot(options);
  return true;
}

void CTrazmarkApp::takeScreenshot(const Options& options) {
  CMainFrame* frame = frame_.get();
  int road = options.openRoad;
  int view = options.view;
  std::string file = options.screenshot;
  QTimer::singleShot(600, frame, [frame, road] {
    const auto& buttons = frame->roadManageView()->roadButtons();
    if (road >= 0 && road < static_cast<int>(buttons.size())) buttons[static_cast<std::size_t>(road)]->click();
  });
  if (view >= 0) QTimer::singleShot(1200, frame, [frame, view] { frame->showDataView(view); });
  if (!options.planFile.empty()) {
    // A plan and the station readout of a point on it, for pictures of the plan map.
    const std::string planFile = options.planFile;
    const QStringList hover = QString::fromStdString(options.hover).split(',');
    QTimer::singleShot(1600, frame, [frame, planFile] {
      if (auto* map = frame->findChild<CRoadMap*>(QStringLiteral("planMap")))
        map->showAlignmentFile(planFile);
    });
    if (hover.size() == 2) {
      const double x = hover[0].toDouble(), y = hover[1].toDouble();
      QTimer::singleShot(2400, frame, [frame, x, y] {
        auto* map = frame->findChild<CRoadMap*>(QStringLiteral("planMap"));
        if (!map) return;
        const ScreenPoint p = map->mapManage().worldToScreen(x, y);
        const QPointF at = QPointF(p.x, p.y) + map->contentsRect().topLeft();
        QMouseEvent move(QEvent::MouseMove, at, map->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(map, &move);
      });
    }
  }
  QTimer::singleShot(view >= 0 ? 3000 : 1800, frame, [frame, file] {
    frame->grab().save(pathToQt(file), "PNG");
    QCoreApplication::quit();
  });
}

}  // namespace trazmark
