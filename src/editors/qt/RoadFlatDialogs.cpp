#include "editors/qt/RoadFlatDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "platform/TextFields.h"
#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/ShellIds.h"
#include "platform/qt/UserDialogs.h"

namespace trazmark {
namespace {

QString langText(const char* key) { return languageTextOr(key, QString::fromLatin1(key)); }

QString labelText(const char* key) { return langText(key) + QStringLiteral(":"); }

QLineEdit* numberField(QWidget* parent, double value = 0) {
  auto* f = new QLineEdit(parent);
  setFieldNumber(f, value);
  return f;
}

// OK and Cancel under the fields, OK running `accept`.
QDialogButtonBox* okCancel(QDialog* dialog, const std::function<void()>& accept) {
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  setControlId(box->button(QDialogButtonBox::Ok), kCtlOk);
  setControlId(box->button(QDialogButtonBox::Cancel), kCtlCancel);
  QObject::connect(box, &QDialogButtonBox::accepted, dialog, accept);
  QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return box;
}

}  // namespace

double fieldNumber(const QLineEdit* field) {
  bool ok = false;
  const double v = QLocale::c().toDouble(field->text().trimmed(), &ok);
  return ok ? v : std::numeric_limits<double>::quiet_NaN();
}

void setFieldNumber(QLineEdit* field, double value) { field->setText(toQt(formatFixed(value, 4))); }


// ---------------------------------------------------------------------------

CRoadFlatCrossNewDlg::CRoadFlatCrossNewDlg(UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
  auto* form = new QFormLayout;
  leftLength = numberField(this);
  rightLength = numberField(this);
  radius = numberField(this);
  mileage = numberField(this);
  name = new QLineEdit(this);
  north = new QLineEdit(this);
  east = new QLineEdit(this);
  elevation = new QLineEdit(this);
  form->addRow(labelText("IDS_DATA_left_curve_length"), leftLength);
  form->addRow(labelText("IDS_DATA_right_curve_length"), rightLength);
  form->addRow(labelText("IDS_DATA_radius"), radius);
  form->addRow(labelText("IDS_DATA_mileage"), mileage);
  form->addRow(labelText("IDS_DATA_name"), name);
  form->addRow(labelText("IDS_DATA_coordinate_north"), north);
  form->addRow(labelText("IDS_DATA_coordinate_east"), east);
  form->addRow(labelText("IDS_DATA_coordinate_hight"), elevation);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(okCancel(this, [this] { tryAccept(); }));
  LocalizeDialog(this, kDlgRoadFlatCrossNew);
}

void CRoadFlatCrossNewDlg::setFields(const CrossPointFields& f) {
  setFieldNumber(leftLength, f.leftLength);
  setFieldNumber(rightLength, f.rightLength);
  setFieldNumber(radius, f.radius);
  setFieldNumber(mileage, f.mileage);
  name->setText(toQt(f.name));
  north->setText(toQt(f.north));
  east->setText(toQt(f.east));
  elevation->setText(toQt(f.elevation));
}

CrossPointFields CRoadFlatCrossNewDlg::fields() const {
  CrossPointFields f;
  f.leftLength = fieldNumber(leftLength);
  f.rightLength = fieldNumber(rightLength);
  f.radius = fieldNumber(radius);
  f.mileage = fieldNumber(mileage);
  f.name = fromQt(name->text());
  f.north = fromQt(north->text().trimmed());
  f.east = fromQt(east->text().trimmed());
  f.elevation = fromQt(elevation->text().trimmed());
  return f;
}

void CRoadFlatCrossNewDlg::setRoadPoints(const RecordList<Road_CrossPoint>* points, const Road_CrossPoint* edited) {
  points_ = points;
  edited_ = edited;
}

bool CRoadFlatCrossNewDlg::tryAccept() {
  const CrossPointFields f = fields();
  const std::string refused = f.refuse();
  if (!refused.empty()) {
    dialogs_.warning(refused);
    return false;
  }
  // Two points of one name make the stake lists ambiguous; the user may mean it.
  if (points_ != nullptr && f.nameTaken(*points_, edited_) && !dialogs_.questionOkCancel("IDS_ASK_point_name_exists"))
    return false;
  accept();
  return true;
}

// ---------------------------------------------------------------------------

CRoadFlatElementNewDlg::CRoadFlatElementNewDlg(bool firstElement, bool editing, QWidget* parent,
                                               UserDialogs* dialogs)
    : QDialog(parent), first_(firstElement), dialogs_(dialogs) {
  auto* form = new QFormLayout;
  kind = new QComboBox(this);
  for (const char* key : {"IDS_DATA_point", "IDS_DATA_line", "IDS_DATA_circle", "IDS_DATA_curve"}) kind->addItem(langText(key));
  form->addRow(labelText("IDS_DATA_type"), kind);
  text = new QLineEdit(this);
  labels[0] = new QLabel(this);
  form->addRow(labels[0], text);
  for (int i = 0; i < 3; ++i) {
    numbers[i] = numberField(this);
    labels[i + 1] = new QLabel(this);
    form->addRow(labels[i + 1], numbers[i]);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(okCancel(this, [this] { tryAccept(); }));
  kind->setCurrentIndex(ElementFields::allowedKind(1, firstElement));
  kind->setEnabled(!firstElement && !editing);
  applyKind(kind->currentIndex());
  connect(kind, &QComboBox::currentIndexChanged, this, [this](int index) {
    const int allowed = ElementFields::allowedKind(index, first_);
    if (allowed != index) {
      kind->setCurrentIndex(allowed);  // a start point only begins the road
      return;
    }
    applyKind(index);
  });
  LocalizeDialog(this, kDlgRoadFlatElementNew);
}

void CRoadFlatElementNewDlg::applyKind(int index) {
  const std::array<const char*, 4> keys = ElementFields::labelKeys(index);
  for (int i = 0; i < 4; ++i) {
    QWidget* field = i == 0 ? static_cast<QWidget*>(text) : numbers[i - 1];
    const bool shown = keys[static_cast<std::size_t>(i)] != nullptr;
    labels[i]->setVisible(shown);
    field->setVisible(shown);
    if (!shown) continue;
    // The start point's labels are the keys' texts; the others end in ":".
    labels[i]->setText(index == 0 ? langText(keys[static_cast<std::size_t>(i)]) : labelText(keys[static_cast<std::size_t>(i)]));
  }
}

void CRoadFlatElementNewDlg::setFields(const ElementFields& f) {
  kind->blockSignals(true);
  kind->setCurrentIndex(f.kind);
  kind->blockSignals(false);
  applyKind(f.kind);
  text->setText(toQt(f.text));
  setFieldNumber(numbers[0], f.first);
  setFieldNumber(numbers[1], f.second);
  setFieldNumber(numbers[2], f.third);
}

ElementFields CRoadFlatElementNewDlg::fields() const {
  ElementFields f;
  f.kind = kind->currentIndex();
  f.text = fromQt(text->text().trimmed());
  f.first = fieldNumber(numbers[0]);
  f.second = fieldNumber(numbers[1]);
  f.third = fieldNumber(numbers[2]);
  return f;
}

bool CRoadFlatElementNewDlg::tryAccept() {
  const std::string refused = fields().refuse();
  if (!refused.empty()) {
    if (dialogs_ != nullptr) dialogs_->warning(refused);
    return false;
  }
  accept();
  return true;
}

// ---------------------------------------------------------------------------

CRoadFlatLineElementNewDlg::CRoadFlatLineElementNewDlg(UserDialogs& dialogs, bool withStart, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), withStart_(withStart) {
  auto* form = new QFormLayout;
  type = new QComboBox(this);
  for (const char* key : {"IDS_DATA_line", "IDS_DATA_arc", "IDS_DATA_curve1"}) type->addItem(langText(key));
  north = numberField(this);
  east = numberField(this);
  mileage = numberField(this);
  azimuth = numberField(this);
  startRadius = numberField(this);
  endRadius = numberField(this);
  length = numberField(this);
  startInfinite = new QCheckBox(langText("IDS_DATA_infinite"), this);
  endInfinite = new QCheckBox(langText("IDS_DATA_infinite"), this);
  direction = new QComboBox(this);
  direction->addItem(langText("IDS_DATA_left"));
  direction->addItem(langText("IDS_DATA_right"));
  form->addRow(labelText("IDS_DATA_type"), type);
  form->addRow(labelText("IDS_DATA_coordinate_north"), north);
  form->addRow(labelText("IDS_DATA_coordinate_east"), east);
  form->addRow(labelText("IDS_DATA_start_mileage"), mileage);
  form->addRow(labelText("IDS_DATA_position"), azimuth);
  form->addRow(labelText("IDS_DATA_lineelement_start_radius"), startRadius);
  form->addRow(QString(), startInfinite);
  form->addRow(labelText("IDS_DATA_lineelement_end_radius"), endRadius);
  form->addRow(QString(), endInfinite);
  form->addRow(labelText("IDS_DATA_length"), length);
  form->addRow(labelText("IDS_DATA_lineelement_direction"), direction);
  for (QLineEdit* f : {north, east, mileage, azimuth}) f->setEnabled(withStart);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(okCancel(this, [this] { tryAccept(); }));
  applyType(0);
  connect(type, &QComboBox::currentIndexChanged, this, [this](int index) {
    // A new type starts from clear radii.
    setFieldNumber(startRadius, 0);
    setFieldNumber(endRadius, 0);
    startInfinite->setChecked(false);
    endInfinite->setChecked(false);
    applyType(index);
  });
  connect(startInfinite, &QCheckBox::toggled, this, [this](bool on) {
    if (on) setFieldNumber(startRadius, 0);
    startRadius->setEnabled(!on && LineElementFields::startRadiusEnabled(type->currentIndex()));
  });
  connect(endInfinite, &QCheckBox::toggled, this, [this](bool on) {
    if (on) setFieldNumber(endRadius, 0);
    endRadius->setEnabled(!on && LineElementFields::endRadiusEnabled(type->currentIndex()));
  });
  LocalizeDialog(this, kDlgRoadFlatLineElementNew);
}

void CRoadFlatLineElementNewDlg::applyType(int index) {
  startRadius->setEnabled(LineElementFields::startRadiusEnabled(index) && !startInfinite->isChecked());
  endRadius->setEnabled(LineElementFields::endRadiusEnabled(index) && !endInfinite->isChecked());
  startInfinite->setEnabled(LineElementFields::infiniteEnabled(index));
  endInfinite->setEnabled(LineElementFields::infiniteEnabled(index));
  direction->setEnabled(LineElementFields::directionEnabled(index));
}

void CRoadFlatLineElementNewDlg::setFields(const LineElementFields& f) {
  type->blockSignals(true);
  type->setCurrentIndex(f.type);
  type->blockSignals(false);
  setFieldNumber(north, f.north);
  setFieldNumber(east, f.east);
  setFieldNumber(mileage, f.mileage);
  azimuth->setText(toQt(formatFixed(f.azimuth, 4)));
  setFieldNumber(startRadius, f.startRadius);
  setFieldNumber(endRadius, f.endRadius);
  setFieldNumber(length, f.length);
  startInfinite->setChecked(f.startInfinite);
  endInfinite->setChecked(f.endInfinite);
  direction->setCurrentIndex(f.direction);
  applyType(f.type);
}

LineElementFields CRoadFlatLineElementNewDlg::fields() const {
  LineElementFields f;
  f.withStart = withStart_;
  f.north = fieldNumber(north);
  f.east = fieldNumber(east);
  f.mileage = fieldNumber(mileage);
  f.azimuth = fieldNumber(azimuth);
  f.type = type->currentIndex();
  f.startRadius = fieldNumber(startRadius);
  f.endRadius = fieldNumber(endRadius);
  f.length = fieldNumber(length);
  f.startInfinite = startInfinite->isChecked();
  f.endInfinite = endInfinite->isChecked();
  f.direction = direction->currentIndex();
  return f;
}

bool CRoadFlatLineElementNewDlg::tryAccept() {
  const std::string refused = fields().refuse();
  if (!refused.empty()) {
    dialogs_.warning(refused);
    return false;
  }
  accept();
  return true;
}

// ---------------------------------------------------------------------------

CRoadFlatExportDlg::CRoadFlatExportDlg(UserDialogs& dialogs, int filterKind, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), filterKind_(filterKind) {
  auto* form = new QFormLayout;
  exportType = new QComboBox(this);
  exportType->addItem(langText("IDS_DATA_export_line_file"));
  exportType->addItem(langText("IDS_DATA_export_stake_file"));
  calculateMode = new QComboBox(this);
  calculateMode->addItem(langText("IDS_DATA_cal_stake_number"));
  calculateMode->addItem(langText("IDS_DATA_cal_stake_distance"));
  interval = numberField(this);
  offset = numberField(this);
  form->addRow(labelText("IDS_DATA_export_type"), exportType);
  form->addRow(labelText("IDS_DATA_cal_mode"), calculateMode);
  form->addRow(labelText("IDS_DATA_stake_interval"), interval);
  form->addRow(labelText("IDS_DATA_side_stake_offset"), offset);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(okCancel(this, [this] { tryAccept(); }));
  applyType(0);
  connect(exportType, &QComboBox::currentIndexChanged, this, [this](int index) { applyType(index); });
  LocalizeDialog(this, kDlgRoadFlatExport);
}

void CRoadFlatExportDlg::applyType(int index) {
  const bool stakes = index == 1;
  calculateMode->setEnabled(stakes);
  interval->setEnabled(stakes);
  offset->setEnabled(stakes);
}

FlatExportRequest CRoadFlatExportDlg::request() const {
  FlatExportRequest r;
  r.exportType = exportType->currentIndex();
  r.calculateMode = calculateMode->currentIndex();
  r.interval = fieldNumber(interval);
  r.offset = fieldNumber(offset);
  r.path = path_;
  return r;
}

bool CRoadFlatExportDlg::tryAccept() {
  const FlatExportRequest r = request();
  const std::string refused = CFlatPage::refuseExportFields(r.exportType, r.calculateMode, r.interval);
  if (!refused.empty()) {
    dialogs_.warning(refused);
    return false;
  }
  if (r.exportType == 1 && !std::isfinite(r.offset)) {
    dialogs_.warning("IDS_WARN_stake_offset_error");
    return false;
  }
  UserDialogs::FileRequest file;
  file.filter = CFlatPage::exportFilter(r.exportType, filterKind_);
  file.defaultExtension = CFlatPage::exportExtension(r.exportType, filterKind_);
  file.confirmOverwrite = true;
  for (;;) {
    FlatExportRequest chosen = r;
    chosen.path = dialogs_.saveFileName(file);
    if (chosen.path.empty()) return false;  // back to this dialog, values kept
    // The file dialog asked about the stake file; its side stakes would
    // replace a second file the user did not choose.
    const std::string side = CFlatPage::sideStakeFileReplaced(chosen);
    if (!side.empty()) {
      const UserDialogs::ReplaceAnswer answer =
          dialogs_.questionReplaceFile("IDS_WARN_side_stake_file_exists_replace", side, true);
      if (answer == UserDialogs::ReplaceAnswer::kChooseAnotherName) continue;
      if (answer != UserDialogs::ReplaceAnswer::kReplace) return false;
    }
    path_ = chosen.path;
    accept();
    return true;
  }
}

// ---------------------------------------------------------------------------

CRoadFlatAddStakeDlg::CRoadFlatAddStakeDlg(QWidget* parent) : QDialog(parent) {
  auto* form = new QFormLayout;
  side = new QComboBox(this);
  side->addItem(langText("IDS_DATA_chain_before"));
  side->addItem(langText("IDS_DATA_chain_after"));
  mileage = numberField(this);
  offset = numberField(this);
  form->addRow(labelText("IDS_DATA_side"), side);
  form->addRow(labelText("IDS_DATA_mileage"), mileage);
  form->addRow(labelText("IDS_DATA_offset"), offset);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(okCancel(this, [this] { accept(); }));
  LocalizeDialog(this, kDlgRoadFlatAddStake);
}

CRoadFlatStakeResultDlg::CRoadFlatStakeResultDlg(const QString& shown, QWidget* parent) : QDialog(parent) {
  setWindowTitle(langText("IDS_DATA_add_stake"));
  result = new QPlainTextEdit(shown, this);
  result->setReadOnly(true);
  auto* copy = new QPushButton(langText("IDS_DATA_copy"), this);
  auto* close = new QPushButton(langText("IDS_DATA_close"), this);
  connect(copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(result->toPlainText()); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(copy);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(result);
  layout->addLayout(buttons);
  resize(420, 180);
}

}  // namespace trazmark
