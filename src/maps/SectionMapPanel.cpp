#include "maps/SectionMapPanel.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"

namespace trazmark {
namespace {

QString text(const char* key, const char* builtIn) { return languageTextOr(key, QString::fromUtf8(builtIn)); }

SectionCornerWords cornerWords() {
  SectionCornerWords words;
  words.design = fromQt(text("IDS_DATA_design_elevation", "设计"));
  words.ground = fromQt(text("IDS_DATA_ground_elevation", "地面"));
  words.cut = fromQt(text("IDS_DATA_cut_area", "挖方"));
  words.fill = fromQt(text("IDS_DATA_fill_area", "填方"));
  words.left = fromQt(text("IDS_DATA_left_side", "左侧"));
  words.right = fromQt(text("IDS_DATA_right_side", "右侧"));
  // In the order of EarthworkSideStatus.
  words.statuses = {fromQt(text("IDS_DATA_earthwork_status_ok", "正常")),
                    fromQt(text("IDS_DATA_earthwork_status_no_slope", "无边坡")),
                    fromQt(text("IDS_DATA_earthwork_status_no_ground", "无地面")),
                    fromQt(text("IDS_DATA_earthwork_status_not_meeting", "边坡未与地面相交")),
                    fromQt(text("IDS_DATA_earthwork_status_ground_gap", "地面有缺口"))};
  return words;
}

}  // namespace

CSectionMapPanel::CSectionMapPanel(QWidget* parent)
    : QWidget(parent),
      map_(new CRoadSectionMap(this)),
      field_(new QLineEdit(this)),
      previous_(new QToolButton(this)),
      next_(new QToolButton(this)),
      standard_(new QToolButton(this)),
      message_(new QLabel(this)) {
  setObjectName(QStringLiteral("sectionMapPanel"));
  field_->setObjectName(QStringLiteral("sectionStationField"));
  field_->setPlaceholderText(text("IDS_DATA_station_placeholder", "桩号 K0+000"));
  field_->setMaximumWidth(160);
  previous_->setObjectName(QStringLiteral("previousStakeButton"));
  previous_->setText(text("IDS_DATA_previous_stake", "上一桩"));
  previous_->setToolTip(QStringLiteral("PgUp"));
  next_->setObjectName(QStringLiteral("nextStakeButton"));
  next_->setText(text("IDS_DATA_next_stake", "下一桩"));
  next_->setToolTip(QStringLiteral("PgDn"));
  standard_->setObjectName(QStringLiteral("standardSectionButton"));
  standard_->setText(text("IDS_DATA_standard_section", "标准横断面"));
  message_->setObjectName(QStringLiteral("sectionStationMessage"));
  message_->setStyleSheet(QStringLiteral("color: #c03020"));

  auto* bar = new QHBoxLayout;
  bar->setContentsMargins(4, 2, 4, 2);
  bar->addWidget(new QLabel(text("IDS_DATA_station", "桩号"), this));
  bar->addWidget(field_);
  bar->addWidget(previous_);
  bar->addWidget(next_);
  bar->addWidget(standard_);
  bar->addWidget(message_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addLayout(bar);
  layout->addWidget(map_, 1);

  connect(field_, &QLineEdit::returnPressed, this, [this] { goToStation(field_->text()); });
  connect(previous_, &QToolButton::clicked, this, [this] { stepPrevious(); });
  connect(next_, &QToolButton::clicked, this, [this] { stepNext(); });
  connect(standard_, &QToolButton::clicked, this, [this] { showStandard(); });
}

QString CSectionMapPanel::message() const { return message_->text(); }

void CSectionMapPanel::setMessage(const std::string& key, const std::string& detail) {
  QString shown = key.empty() ? QString() : languageTextOr(key.c_str(), QString::fromStdString(key));
  if (!detail.empty()) shown += QStringLiteral(": ") + toQt(detail);
  message_->setText(shown);
}

void CSectionMapPanel::setRoad(const RoadDataSet& road, const std::string& roadName) {
  source_.setRoad(road, roadName);
  redrawStation();
}

void CSectionMapPanel::clear() {
  source_.clear();
  source_.setRoad(RoadDataSet{}, {});
  field_->clear();
  setMessage({});
  map_->clear();
}

void CSectionMapPanel::setGround(std::shared_ptr<const CRoadGround> ground) {
  source_.setGround(std::move(ground));
  redrawStation();
}

void CSectionMapPanel::setPavementDepth(double depth) {
  if (depth == source_.pavementDepth()) return;
  source_.setPavementDepth(depth);
  redrawStation();
}

void CSectionMapPanel::redrawStation() {
  // A road or ground that no longer gives a section at the chosen station
  // shows the standard section with the reason, never the old picture.
  if (!source_.stations().current() || !showOutcome({})) map_->clearStation();
}

bool CSectionMapPanel::showOutcome(const std::string& key) {
  if (!key.empty()) {
    setMessage(key);
    return false;
  }
  StationSectionPicture picture;
  std::string error;
  if (!source_.picture(cornerWords(), picture, error)) {
    setMessage("IDS_WARN_station_section_failed", error);
    return false;
  }
  setMessage({});
  field_->setText(QString::fromStdString(formatStation(source_.stations().current()->station)));
  map_->setStationPicture(picture);
  return true;
}

bool CSectionMapPanel::goToStation(const QString& typed) { return showOutcome(source_.choose(fromQt(typed))); }

bool CSectionMapPanel::stepNext() { return showOutcome(source_.stepNext()); }

bool CSectionMapPanel::stepPrevious() { return showOutcome(source_.stepPrevious()); }

void CSectionMapPanel::showStandard() {
  source_.clear();
  field_->clear();
  setMessage({});
  map_->clearStation();
}

void CSectionMapPanel::keyPressEvent(QKeyEvent* event) {
  // Page down walks on along the road, page up back, wherever the focus is
  // in the panel (the field and the map pass these keys on).
  if (event->key() == Qt::Key_PageDown) {
    stepNext();
    event->accept();
  } else if (event->key() == Qt::Key_PageUp) {
    stepPrevious();
    event->accept();
  } else {
    QWidget::keyPressEvent(event);
  }
}

}  // namespace trazmark
