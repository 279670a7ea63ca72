#pragma once
// The three pages of the horizontal alignment view. One page widget shows
// what they share (the list over the working copy or the key points and
// stakes, the buttons, Save, Map, Export, the messages); each page adds its
// own list columns, its dialog and its rules (editors/FlatPages.h).
//
// The page's dialogs are reached through replaceable functions so that tests
// answer them as they answer message boxes through UserDialogs.

#include <QWidget>
#include <functional>
#include <optional>

#include "editors/FlatDialogs.h"
#include "editors/FlatPages.h"
#include "platform/qt/DataView.h"
#include "platform/qt/RecordTableModel.h"

class QPushButton;
class QTableView;

namespace trazmark {

/// Answer of the add-stake dialog.
struct AddStakeChoice {
  int side = 0;  ///< 0 before the broken chain, 1 after it
  double mileage = 0;
  double offset = 0;
};

class CRoadFlatPageBase : public QWidget {
  Q_OBJECT
 public:
  CRoadFlatPageBase(CFlatPage& rules, CDataViewHost& host, QWidget* parent);

  CFlatPage& rules() { return rules_; }
  QTableView* table() const { return table_; }
  CRecordTableModel* model() const { return model_; }
  QPushButton* saveButton() const { return save_; }

  /// The selected row, -1 for none.
  int selectedRow() const;
  void selectRow(int row);

  /// Rows of the page's input list.
  virtual int inputRowCount() const = 0;
  /// Copies the current road again (title and folder from the host).
  virtual void reloadFromRoad() = 0;
  /// Takes an alignment file handed over by the frame; false when it cannot
  /// be read (nothing changed then).
  virtual bool importFile(const std::string& path) {
    (void)path;
    return false;
  }
  virtual void add() = 0;
  virtual void edit() = 0;
  virtual void remove() = 0;
  /// Stores the working copy into the current road.
  void save();
  void showMap();
  void exportFile();
  virtual void addStake() {}
  /// The input changed (Add, Edit, Delete, the start mileage): Save on, the
  /// view told; `step` names the edit for undo (empty: the view records it
  /// later, as the start mileage's typing).
  void changed(const QString& step = QString());
  /// Shows the input (0), the key points (1) or the stakes (2).
  void setListMode(int mode);
  /// The same list computed from the road as it stands, writing no file
  /// (after New, Open or a reload).
  void setListModeFromRoad(int mode);
  /// The list's rows and columns are read again.
  void refreshList();

  /// The export dialog: the request with its path, empty when cancelled.
  std::function<std::optional<FlatExportRequest>(int filterKind)> exportDialog;

 signals:
  /// The input changed (Add, Edit, Delete).
  void dataChanged();
  /// The input was stored into the road.
  void dataSaved();
  /// An edit the view's undo records under the name `step`.
  void edited(const QString& step);

 protected:
  virtual std::vector<CRecordTableModel::Column> inputColumns() = 0;
  /// The language key of the page's kind of row in undo steps.
  virtual const char* undoNoun() const = 0;
  /// The name of an undo step on this page ("IDS_UNDO_add" and the row kind).
  QString stepText(const char* verbKey) const;
  virtual void storeInto(CInputRoadLibrary& library, const std::string& roadPath) = 0;
  /// Shows the message of an action (none when its key is empty).
  void report(const FlatMessage& m);
  /// The folder and title of the current road.
  std::string roadTitle() const;
  std::string roadFolder() const;
  /// Imported files name the road: stores the page and points the road at
  /// <folder>/<name>.rec, asking before it would take over another road file.
  void takeImportedRoad();
  UserDialogs& dialogs() const;
  /// The road's broken chains as they stand, for the next calculation.
  void takeBrokenChains();
  /// What reloadFromRoad and importFile do on every page, on its own rules.
  template <class Page>
  void reloadPage(Page& page);
  template <class Page>
  bool importIntoPage(Page& page, const std::string& path);

  CDataViewHost& host_;
  QPushButton* addStake_;

 private:
  CFlatPage& rules_;
  QTableView* table_;
  CRecordTableModel* model_;
  QPushButton* save_;
};

/// Intersection-point page.
class CRoadFlatCrossDlg : public CRoadFlatPageBase {
  Q_OBJECT
 public:
  CRoadFlatCrossDlg(CDataViewHost& host, QWidget* parent = nullptr);
  CFlatCrossPage page;

  int inputRowCount() const override { return page.rowCount(); }
  void reloadFromRoad() override;
  bool importFile(const std::string& path) override;
  void add() override;
  void edit() override;
  void remove() override;
  void addStake() override;

  /// The point dialog, filled from `initial` (null: empty); empty on Cancel.
  std::function<std::optional<Road_CrossPoint>(const Road_CrossPoint* initial)> pointDialog;
  std::function<std::optional<AddStakeChoice>()> addStakeDialog;
  /// Shows the computed stake (text with north, east, azimuth).
  std::function<void(const std::string& text)> showStakeResult;

 protected:
  const char* undoNoun() const override { return "IDS_UNDO_cross_point"; }
  std::vector<CRecordTableModel::Column> inputColumns() override;
  void storeInto(CInputRoadLibrary& library, const std::string& roadPath) override {
    page.store(library, roadPath);
  }
};

/// Element page.
class CRoadFlatElementDlg : public CRoadFlatPageBase {
  Q_OBJECT
 public:
  CRoadFlatElementDlg(CDataViewHost& host, QWidget* parent = nullptr);
  CFlatElementPage page;

  int inputRowCount() const override { return page.rowCount(); }
  void reloadFromRoad() override;
  bool importFile(const std::string& path) override;
  void add() override;
  void edit() override;
  void remove() override;

  /// The element dialog: `firstElement` fixes the kind to the start point;
  /// `initial` (null: new) is the element edited.
  std::function<std::optional<Road_Element>(const Road_Element* initial, bool firstElement)> elementDialog;

 protected:
  const char* undoNoun() const override { return "IDS_UNDO_element"; }
  std::vector<CRecordTableModel::Column> inputColumns() override;
  void storeInto(CInputRoadLibrary& library, const std::string& roadPath) override {
    page.store(library, roadPath);
  }
};

/// Line-element page.
class CRoadFlatLineElementDlg : public CRoadFlatPageBase {
  Q_OBJECT
 public:
  CRoadFlatLineElementDlg(CDataViewHost& host, QWidget* parent = nullptr);
  CFlatLineElementPage page;

  int inputRowCount() const override { return page.rowCount(); }
  void reloadFromRoad() override;
  void add() override;
  void edit() override;
  void remove() override;

  /// The element dialog with its fields filled in; false on Cancel.
  std::function<bool(LineElementFields& fields)> elementDialog;

 protected:
  const char* undoNoun() const override { return "IDS_UNDO_line_element"; }
  std::vector<CRecordTableModel::Column> inputColumns() override;
  void storeInto(CInputRoadLibrary& library, const std::string& roadPath) override {
    page.store(library, roadPath);
  }
};

}  // namespace trazmark
