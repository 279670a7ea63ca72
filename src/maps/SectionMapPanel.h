#pragma once
// The cross-section map with its station control above it: a field to type
// a station, the previous and next stake buttons (PgUp and PgDn anywhere in
// the panel), and a button back to the standard cross section. The rules are
// CStationSectionSource's; the panel shows their outcome and a refusal in a
// line beside the buttons.

#include <QWidget>
#include <memory>
#include <string>

#include "maps/RoadSectionMap.h"
#include "maps/StationSectionSource.h"

class QLabel;
class QLineEdit;
class QToolButton;

namespace trazmark {

class CSectionMapPanel : public QWidget {
  Q_OBJECT

 public:
  explicit CSectionMapPanel(QWidget* parent = nullptr);

  CRoadSectionMap* map() const { return map_; }
  CStationSectionSource& source() { return source_; }
  QLineEdit* stationField() const { return field_; }
  QToolButton* previousButton() const { return previous_; }
  QToolButton* nextButton() const { return next_; }
  QToolButton* standardButton() const { return standard_; }
  /// The refusal shown beside the buttons (empty when none).
  QString message() const;

  /// The road the stations are on (a copy); a station already shown is drawn
  /// again on it.
  void setRoad(const RoadDataSet& road, const std::string& roadName);
  /// The ground under the sections; a station already shown is drawn again.
  void setGround(std::shared_ptr<const CRoadGround> ground);
  /// The formation's depth under the paved components, metres (the road's
  /// terrain settings); a station already shown is drawn again.
  void setPavementDepth(double depth);

  /// Forgets the road, its station and sections (another road is current).
  void clear();

  /// The station control's commands, as its field, buttons and keys run them.
  bool goToStation(const QString& typed);
  bool stepNext();
  bool stepPrevious();
  void showStandard();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  /// Shows the outcome of a command: the section at the chosen station, or
  /// the refusal `key`.
  bool showOutcome(const std::string& key);
  void redrawStation();
  void setMessage(const std::string& key, const std::string& detail = {});

  CStationSectionSource source_;
  CRoadSectionMap* map_;
  QLineEdit* field_;
  QToolButton* previous_;
  QToolButton* next_;
  QToolButton* standard_;
  QLabel* message_;
};

}  // namespace trazmark
