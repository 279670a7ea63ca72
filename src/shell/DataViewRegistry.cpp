#include "shell/DataViewRegistry.h"

#include <QLabel>
#include <QVBoxLayout>

#include "library/InputRoadLibrary.h"
#include "platform/TextFile.h"
#include "shell/Artwork.h"
#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/ShellIds.h"

namespace trazmark {

CDataView* CDataViewRegistry::create(int kind, CDataViewHost& host, QWidget* parent) const {
  auto it = factories_.find(kind);
  if (it != factories_.end() && it->second) {
    if (CDataView* view = it->second(host, parent)) return view;
  }
  return new CPlaceholderView(kind, host, parent);
}

QString dataKindName(int kind) {
  static const char* const keys[kDataKindCount] = {
      "IDS_DATA_road_manage", "IDS_DATA_broken_chain",           "IDS_DATA_flat_curve",
      "IDS_DATA_ver_curve",   "IDS_DATA_standard_cross_section", "IDS_DATA_slope",
      "IDS_DATA_super_high",  "IDS_DATA_super_widen"};
  static const char* const builtIn[kDataKindCount] = {"道路管理", "断链",   "平曲线", "竖曲线",
                                                      "标准横断面", "边坡", "超高",   "加宽"};
  if (kind < 0 || kind >= kDataKindCount) return QString::number(kind);
  return languageTextOr(keys[kind], QString::fromUtf8(builtIn[kind]));
}

CPlaceholderView::CPlaceholderView(int kind, CDataViewHost& host, QWidget* parent)
    : CDataView(kind, host, parent), heading_(new QLabel(this)), label_(new QLabel(this)), details_(new QLabel(this)) {
  setObjectName(QStringLiteral("placeholderView%1").arg(kind));
  setControlId(label_, kCtlNotAvailableText);
  auto* picture = new QLabel(this);
  picture->setPixmap(navigationPicture(kind, PictureState::Normal, QSize(96, 84)));
  picture->setAlignment(Qt::AlignCenter);
  heading_->setAlignment(Qt::AlignCenter);
  QFont font = heading_->font();
  font.setPointSizeF(font.pointSizeF() * 1.5);
  font.setBold(true);
  heading_->setFont(font);
  heading_->setText(dataKindName(kind));
  for (QLabel* l : {label_, details_}) {
    l->setAlignment(Qt::AlignCenter);
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
  }
  label_->setStyleSheet(QStringLiteral("color: #404040;"));
  details_->setStyleSheet(QStringLiteral("color: #707070;"));
  auto* layout = new QVBoxLayout(this);
  layout->addStretch(2);
  layout->addWidget(picture);
  layout->addSpacing(8);
  layout->addWidget(heading_);
  layout->addSpacing(6);
  layout->addWidget(label_);
  layout->addWidget(details_);
  layout->addStretch(3);
  updateText();
}

QString CPlaceholderView::message() const { return label_->text() + '\n' + details_->text(); }

int CPlaceholderView::recordCount() const {
  const CInputRoadLibrary& road = host().roadLibrary();
  switch (kind()) {
    case kKindBrokenChain:
      return road.scissons.count();
    case kKindFlatCurve:
      return road.FlatcurveType == kFlatcurveElements       ? road.elements.count()
             : road.FlatcurveType == kFlatcurveLineElements ? road.lineElements.count()
                                                            : road.crossPoints.count();
    case kKindVerCurve:
      return road.verticalCurves.count();
    case kKindCrossSection:
      return road.leftSections.count() + road.rightSections.count();
    case kKindSlope:
      return road.slopes.count();
    case kKindSuperHigh:
      return road.superHighs.count();
    case kKindSuperWiden:
      return road.widens.count();
    default:
      return 0;
  }
}

void CPlaceholderView::updateText() {
  label_->setText(languageTextOr("IDS_DATA_view_not_available", QString::fromUtf8("“%1”的编辑器尚未提供。"))
                      .replace(QStringLiteral("%s"), QStringLiteral("%1"))
                      .arg(dataKindName(kind())));
  QStringList details;
  if (host().roadFileState().roadOpen) {
    details << languageTextOr("IDS_DATA_records_in_road", QString::fromUtf8("当前道路中有 %1 条此类记录。"))
                   .replace(QStringLiteral("%d"), QStringLiteral("%1"))
                   .arg(recordCount());
  }
  if (!importedFile_.empty()) {
    details << languageTextOr("IDS_DATA_file_kept_as_road", QString::fromUtf8("导入的文件:")) + ' ' +
                   pathToQt(importedFile_);
  }
  details_->setText(details.join('\n'));
}

ImportResult CPlaceholderView::importAlignmentFile(const std::string& path, int /*elementFile*/) {
  // Without an editor the file is not parsed, but one that cannot even be read
  // is told to the user rather than kept as if it had been taken.
  std::string text;
  if (!readTextFileAsAnsi(path, text)) return ImportResult::kUnreadable;
  importedFile_ = path;
  updateText();
  return ImportResult::kNoEditor;
}

}  // namespace trazmark
