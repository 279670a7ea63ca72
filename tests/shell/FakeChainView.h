#pragma once
// The shell tests' stand-in for a data view.

#include "platform/qt/DataView.h"
#include "platform/qt/ShellIds.h"
#include "library/InputRoadLibrary.h"

namespace trazmark::test {

// A data view standing in for a real one: counts reloads and, when given
// input, stores a broken chain into the current road on commit.
class FakeChainView : public CDataView {
 public:
  FakeChainView(CDataViewHost& host, QWidget* parent) : CDataView(kKindBrokenChain, host, parent) {}
  bool pending = false;
  int reloads = 0;
  bool hasPendingInput() const override { return pending; }
  void commitPendingInput() override {
    Scisson_Data chain;
    chain.Before_mileage = 1200;
    chain.After_mileage = 1180;
    host().roadLibrary().scissons.append(chain);
    host().setRoadModified();
    pending = false;
  }
  void reloadFromRoad() override { ++reloads; }
};

}  // namespace trazmark::test
