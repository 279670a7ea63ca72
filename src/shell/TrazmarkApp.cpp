#include "shell/TrazmarkApp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QTableView>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "crosssection/qt/RoadSlopeView.h"
#include "editors/qt/RoadFlatView.h"
#include "maps/RoadMap.h"
#include "maps/SectionMapPanel.h"
#include "maps/SurveyCheckReport.h"
#include "shell/BottomDockPane.h"
#include "platform/qt/Localization.h"
#include "platform/qt/ShellIds.h"
#include "shell/LeftDockPane.h"
#include "shell/EarthworkPane.h"
#include "shell/MainFrame.h"
#include "shell/MyButton.h"
#include "platform/qt/QtText.h"
#include "shell/RoadManageView.h"
#include "shell/StartRoadList.h"
#include "shell/SurveyCheckPane.h"

#include <cstdio>

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
    } else if (a == QLatin1String("--list-mode") && i + 1 < arguments.size()) {
      options.listMode = arguments[++i].toInt();
    } else if (a == QLatin1String("--press") && i + 1 < arguments.size()) {
      options.press = arguments[++i].toStdString();
    } else if (a == QLatin1String("--select-row") && i + 1 < arguments.size()) {
      options.selectRow = arguments[++i].toInt();
    } else if (a == QLatin1String("--edit-row") && i + 1 < arguments.size()) {
      options.editRow = arguments[++i].toInt();
    } else if (a == QLatin1String("--delete-row") && i + 1 < arguments.size()) {
      options.deleteRow = arguments[++i].toInt();
    } else if (a == QLatin1String("--edit-menu")) {
      options.editMenu = true;
    } else if (a == QLatin1String("--slope-steps") && i + 1 < arguments.size()) {
      options.slopeSteps = arguments[++i].toInt();
    } else if (a == QLatin1String("--size") && i + 1 < arguments.size()) {
      const QStringList size = arguments[++i].split('x');
      if (size.size() == 2) {
        options.width = size[0].toInt();
        options.height = size[1].toInt();
      }
    } else if (a == QLatin1String("--plan-file") && i + 1 < arguments.size()) {
      options.planFile = pathFromQt(arguments[++i]);
    } else if (a == QLatin1String("--hover") && i + 1 < arguments.size()) {
      options.hover = arguments[++i].toStdString();
    } else if (a == QLatin1String("--tables") && i + 1 < arguments.size()) {
      options.tables = arguments[++i].toInt();
    } else if (a == QLatin1String("--check-points") && i + 1 < arguments.size()) {
      options.checkPoints = pathFromQt(arguments[++i]);
    } else if (a == QLatin1String("--check-report") && i + 1 < arguments.size()) {
      options.checkReport = pathFromQt(arguments[++i]);
    } else if (a == QLatin1String("--zoom-at") && i + 1 < arguments.size()) {
      options.zoomAt = arguments[++i].toStdString();
    } else if (a == QLatin1String("--earthwork") && i + 1 < arguments.size()) {
      options.earthwork = arguments[++i].toStdString();
    } else if (a == QLatin1String("--station") && i + 1 < arguments.size()) {
      options.station = arguments[++i].toStdString();
    } else if (a == QLatin1String("--out-of-date")) {
      options.outOfDate = true;
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

std::unique_ptr<QTranslator> CTrazmarkApp::loadToolkitTranslation(const std::string& language) {
  QString locale = language.empty() || language == "zh" ? QStringLiteral("zh_CN") : QString::fromStdString(language);
  if (locale == QLatin1String("en") || locale.startsWith(QLatin1String("en_"))) return nullptr;
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  auto translator = std::make_unique<QTranslator>();
  // "qt_" gathers the toolkit's modules; "qtbase_" alone is enough for the widgets.
  if (translator->load(QStringLiteral("qt_") + locale, folder) ||
      translator->load(QStringLiteral("qtbase_") + locale, folder)) {
    return translator;
  }
  return nullptr;
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

  // The toolkit's own buttons and dialogs speak the language of the texts.
  toolkitTranslator_ = loadToolkitTranslation(options.language);
  if (toolkitTranslator_) QCoreApplication::installTranslator(toolkitTranslator_.get());

  frame_ = std::make_unique<CMainFrame>();
  if (options.width > 0 && options.height > 0) frame_->resize(options.width, options.height);
  frame_->show();
  // Without a road list on the command line the window opens the one used
  // last, and on the very first start the demo roads with the first of them
  // open, so a new user has a road at once.
  const StartRoadList start =
      chooseStartRoadList(options.roadListPath, defaultStartRoadListPlaces(programFolder_));
  frame_->setRoadListPath(start.path);
  const auto& buttons = frame_->roadManageView()->roadButtons();
  if (start.demo && !buttons.empty()) buttons.front()->click();
  frame_->showRoadListView();

  if (!options.screenshot.empty()) takeScreenshot(options);
  return true;
}

void CTrazmarkApp::takeScreenshot(const Options& options) {
  CMainFrame* frame = frame_.get();
  int road = options.openRoad;
  int view = options.view;
  int slopeSteps = options.slopeSteps;
  std::string file = options.screenshot;
  QTimer::singleShot(600, frame, [frame, road] {
    const auto& buttons = frame->roadManageView()->roadButtons();
    if (road >= 0 && road < static_cast<int>(buttons.size())) buttons[static_cast<std::size_t>(road)]->click();
  });
  if (view >= 0) {
    QTimer::singleShot(1200, frame, [frame, view, slopeSteps] {
      frame->navigationPane()->markSelected(view);
      frame->showDataView(view);
      auto* slopes = dynamic_cast<CRoadSlopeView*>(frame->dataView(view));
      if (slopes != nullptr && slopeSteps >= 0) slopes->pageMessage(slopeSteps);
    });
  }
  const int listMode = options.listMode;
  if (view == kKindFlatCurve && listMode >= 0) {
    // The alignment view with its plan: the map of the page on show, then its list.
    QTimer::singleShot(1600, frame, [frame, listMode] {
      auto* flat = dynamic_cast<CRoadFlatView*>(frame->dataView(kKindFlatCurve));
      if (flat == nullptr) return;
      if (CRoadFlatPageBase* page = flat->page(flat->currentPage())) page->showMap();
      flat->setListMode(listMode);
    });
  }
  if (view >= 0 && !options.press.empty()) {
    // A command of the view, such as drawing the profile ("drawButton").
    const QString name = QString::fromStdString(options.press);
    QTimer::singleShot(1800, frame, [frame, view, name] {
      if (CDataView* v = frame->dataView(view)) {
        if (auto* button = v->findChild<QAbstractButton*>(name)) button->click();
      }
    });
  }
  if (view >= 0 && options.selectRow >= 0) {
    // A row of the list on show, such as a key point among the stakes.
    const int row = options.selectRow;
    QTimer::singleShot(2000, frame, [frame, view, row] {
      CDataView* v = frame->dataView(view);
      if (v == nullptr) return;
      for (QTableView* table : v->findChildren<QTableView*>()) {
        if (!table->isVisible() || table->model() == nullptr || row >= table->model()->rowCount()) continue;
        table->selectRow(row);
        table->scrollTo(table->model()->index(row, 0), QAbstractItemView::PositionAtCenter);
        return;
      }
    });
  }
  if (view >= 0 && options.editRow >= 0) {
    // A row's edit dialog, opened as a double click on the row opens it.
    const int row = options.editRow;
    QTimer::singleShot(1800, frame, [frame, view, row] {
      CDataView* v = frame->dataView(view);
      auto* table = v != nullptr ? v->findChild<QTableView*>() : nullptr;
      if (table == nullptr || table->model() == nullptr || row >= table->model()->rowCount()) return;
      const QModelIndex index = table->model()->index(row, 0);
      table->selectRow(row);
      emit table->doubleClicked(index);
    });
  }
  if (view >= 0 && options.deleteRow >= 0) {
    // A row deleted with the view's Delete: a step for the Edit menu's Undo.
    const int row = options.deleteRow;
    QTimer::singleShot(1900, frame, [frame, view, row] {
      CDataView* v = frame->dataView(view);
      auto* table = v != nullptr ? v->findChild<QTableView*>() : nullptr;
      auto* button = v != nullptr ? v->findChild<QAbstractButton*>(QStringLiteral("deleteButton")) : nullptr;
      if (table == nullptr || button == nullptr) return;
      table->selectRow(row);
      button->click();
    });
  }
  if (options.editMenu) {
    QTimer::singleShot(2400, frame, [frame] {
      auto* menu = frame->findChild<QMenu*>(QStringLiteral("editMenu"));
      if (menu == nullptr) return;
      QMenuBar* bar = frame->menuBar();
      menu->popup(bar->mapToGlobal(bar->actionGeometry(menu->menuAction()).bottomLeft()));
    });
  }
  if (!options.station.empty()) {
    // The cross-section map at a station, typed into its station control,
    // once the road's ground has had time to load.
    const QString station = QString::fromStdString(options.station);
    QTimer::singleShot(2200, frame, [frame, station] {
      frame->drawingPane()->show();
      frame->drawingPane()->showOnly(kSectionMap);
      if (auto* panel = frame->findChild<CSectionMapPanel*>()) panel->goToStation(station);
    });
  }
  if (options.outOfDate) {
    // After the drawing: an edit of the view on show marks its maps.
    QTimer::singleShot(2600, frame, [frame] { frame->viewEditsChanged(); });
  }
  if (!options.earthwork.empty()) {
    // The earthwork, once the road's ground has had time to load: its list,
    // or the mass-haul diagram in the drawing pane.
    const bool massHaul = options.earthwork == "mass-haul";
    QTimer::singleShot(2200, frame, [frame, massHaul] {
      if (massHaul)
        frame->showMassHaul();
      else
        frame->computeEarthwork();
    });
    // The list's end: the stations that lack ground and the totals.
    if (!massHaul)
      QTimer::singleShot(2800, frame, [frame] { frame->earthworkPane()->table()->scrollToBottom(); });
  }
  if (options.tables >= 0) {
    // File → Tables over the open road, the window drawn over the frame.
    const int tables = options.tables;
    QTimer::singleShot(2200, frame, [frame, tables] { frame->showTables(tables); });
  }
  if (!options.checkPoints.empty()) {
    // The check over the road's ground, once it has had time to load; then
    // its report, and the list scrolled to the first point beyond tolerance.
    const std::string points = options.checkPoints;
    const std::string report = options.checkReport;
    QTimer::singleShot(2200, frame, [frame, points] { frame->checkSurveyPoints(points); });
    QTimer::singleShot(2900, frame, [frame, report] {
      CSurveyCheckPane* pane = frame->surveyCheckPane();
      const auto& result = pane->list().result();
      if (!result) return;
      if (!report.empty()) {
        std::string error;
        if (!writeSurveyCheckReport(report, result->inputs->design, result->rows, result->summary,
                                    result->inputs->tolerances, result->inputs->roadName, error))
          std::fprintf(stderr, "%s\n", error.c_str());
      }
    });
  }
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
  if (const QStringList zoom = QString::fromStdString(options.zoomAt).split(','); zoom.size() == 3) {
    // The plan zoomed in on a point, as turns of the wheel over it.
    const double x = zoom[0].toDouble(), y = zoom[1].toDouble();
    const int turns = zoom[2].toInt();
    QTimer::singleShot(3200, frame, [frame, x, y, turns] {
      auto* map = frame->findChild<CRoadMap*>(QStringLiteral("planMap"));
      if (!map) return;
      const ScreenPoint p = map->mapManage().worldToScreen(x, y);
      for (int i = 0; i < turns; ++i) map->mapManage().onWheel(QPoint(p.x, p.y), 1);
    });
  }
  const int shotTime = !options.checkPoints.empty() ? 3600 : view >= 0 || options.tables >= 0 ? 3000 : 1800;
  QTimer::singleShot(shotTime, frame, [frame, file] {
    // Xvfb has no window manager to draw the title bar: the picture gets a
    // strip with the window's title above the window, as a desktop shows it.
    const QPixmap window = frame->grab();
    constexpr int kTitleStrip = 28;
    QImage shot(window.width(), window.height() + kTitleStrip, QImage::Format_RGB32);
    shot.fill(QColor(60, 63, 68));
    QPainter painter(&shot);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, window.width(), kTitleStrip), Qt::AlignCenter, frame->windowTitle());
    painter.drawPixmap(0, kTitleStrip, window);
    // A menu open over the window is drawn where it stands.
    if (QWidget* popup = QApplication::activePopupWidget()) {
      painter.drawPixmap(frame->mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))) + QPoint(0, kTitleStrip), popup->grab());
    }
    // A dialog open over the window is drawn where it stands, with its title.
    if (QWidget* dialog = QApplication::activeModalWidget(); dialog != nullptr && dialog != frame) {
      const QPoint at = frame->mapFromGlobal(dialog->mapToGlobal(QPoint(0, 0))) + QPoint(0, kTitleStrip);
      const QRect strip(at.x(), at.y() - kTitleStrip, dialog->width(), kTitleStrip);
      painter.fillRect(strip, QColor(60, 63, 68));
      painter.drawText(strip, Qt::AlignCenter, dialog->windowTitle());
      painter.drawPixmap(at, dialog->grab());
    }
    painter.end();
    shot.save(pathToQt(file), "PNG");
    // A picture may show edits not saved: leave without the save question.
    QCoreApplication::exit(0);
  });
}

}  // namespace trazmark
