#pragma once
// The broken chain dialog: the displayed mileage before the chain and the one
// after it, as texts. OK hands them to acceptChainEntry; a refusal is shown
// through the dialog seam and keeps the dialog open.

#include <QDialog>

#include "records/RoadRecords.h"

class QLineEdit;

namespace trazmark {

class UserDialogs;

class CRoadChainNewDlg : public QDialog {
  Q_OBJECT
 public:
  /// `chain` non-null: the fields show its two mileages ("%.4f").
  CRoadChainNewDlg(UserDialogs& dialogs, const Scisson_Data* chain, QWidget* parent = nullptr);

  QLineEdit* beforeEdit() const { return before_; }
  QLineEdit* afterEdit() const { return after_; }
  /// The chain built by the last accepted OK.
  const Scisson_Data& chain() const { return chain_; }

  /// OK: accepts the dialog when the texts make a chain.
  void tryAccept();

 private:
  UserDialogs& dialogs_;
  QLineEdit* before_;
  QLineEdit* after_;
  Scisson_Data chain_;
};

}  // namespace trazmark
