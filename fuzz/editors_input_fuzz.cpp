// Drives the rules of the broken chain, slope, superelevation and widening
// editors with arbitrary typed texts and button presses (rows that may not
// exist included), and checks what every list must keep: each row names a
// change point, no item is left without change points, a slope's steps carry
// its name, and a saved road reads back what the editor held.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "crosssection/RoadSlopeEditor.h"
#include "crosssection/RoadSuperEditor.h"
#include "editors/RoadChainEditor.h"

using namespace trazmark;

namespace {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool more() const { return pos_ < size_; }
  int byte() { return more() ? data_[pos_++] : 0; }
  int index() { return byte() % 8 - 2; }  // -2 .. 5: rows that exist and rows that do not
  std::string text() {
    const int n = byte() % 12;
    std::string t;
    for (int i = 0; i < n && more(); ++i) t += static_cast<char>(byte());
    return t;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  RoadDataSet road;
  for (const char* name : {"lane", "A-B"}) {
    Road_Section_Item c;
    c.setModuleName(name);
    c.LeftOrRight = 0;
    road.leftSections.append(c);
    c.LeftOrRight = 1;
    road.rightSections.append(c);
  }
  CRoadChainEditor chains;
  CRoadSlopeEditor slopes;
  CRoadSuperEditor supers(SuperValueKind::kSlope);
  CRoadSuperEditor widens(SuperValueKind::kWidth);
  chains.load(road);
  slopes.load(road);
  supers.load(road);
  widens.load(road);
  const auto entries = superComponentEntries(road.leftSections, road.rightSections, "L", "R");

  for (int steps = 0; in.more() && steps < 200; ++steps) {
    switch (in.byte() % 12) {
      case 0: {
        std::string b = in.text(), a = in.text();
        ChainEntryResult r = acceptChainEntry(b, a);
        if (r.outcome == ChainEntryResult::kAccepted) {
          check(std::isfinite(r.chain.Length) && r.chain.Length >= 0);
          chains.add(r.chain);
        }
        break;
      }
      case 1:
        chains.remove(in.index());
        break;
      case 2: {
        SlopeEntryFields f;
        f.leftRight = in.byte() & 1;
        f.type = in.byte() & 1;
        f.name = in.text();
        f.startText = in.text();
        f.endText = in.text();
        const int edited = in.index();
        SlopeEntryResult r = acceptSlopeEntry(slopes.slopes(), edited, f);
        if (r.outcome != SlopeEntryResult::kAccepted) break;
        if (edited >= 0 && edited < slopes.slopes().count()) {
          slopes.replaceSlope(edited, r.slope);
        } else {
          slopes.addSlope(r.slope);
        }
        break;
      }
      case 3:
        slopes.removeSlope(in.index());
        break;
      case 4:
        slopes.pageMessage(in.index() == 0 ? kSlopeStepsDone : in.index());
        break;
      case 5: {
        StepEntryFields f;
        f.mode = in.byte() & 1;
        f.name = in.text();
        f.firstText = in.text();
        f.secondText = in.text();
        StepEntryResult r = acceptStepEntry(slopes.chosenSlopeName(), f);
        if (r.outcome == StepEntryResult::kAccepted) slopes.addStep(r.step);
        break;
      }
      case 6:
        slopes.removeStep(in.index());
        break;
      case 7:
      case 8: {
        CRoadSuperEditor& editor = in.byte() & 1 ? widens : supers;
        SuperEntryFields f;
        f.modeIndex = in.index();
        f.componentIndex = in.index();
        f.valueText = in.text();
        f.mileageText = in.text();
        const bool yes = in.byte() & 1;
        SuperEntryResult r = acceptNewSuperEntry(editor.kind(), entries, f);
        if (r.outcome == SuperEntryResult::kAccepted)
          editor.add(r.item, r.value, [yes](const std::string&) { return yes; });
        break;
      }
      case 9: {
        CRoadSuperEditor& editor = in.byte() & 1 ? widens : supers;
        const int row = in.index();
        if (row < 0 || row >= editor.rowCount()) {
          check(!editor.remove(row));
          break;
        }
        SuperEntryFields f;
        f.valueText = in.text();
        f.mileageText = in.text();
        SuperEntryResult r = acceptSuperEdit(editor.kind(), editor.itemOfRow(row), editor.rows()[row].value, f);
        if (r.outcome == SuperEntryResult::kAccepted) editor.replace(row, r.value);
        break;
      }
      case 10: {
        CRoadSuperEditor& editor = in.byte() & 1 ? widens : supers;
        editor.remove(in.index());
        break;
      }
      default:
        chains.save(road);
        slopes.save(road);
        supers.save(road);
        widens.save(road);
        break;
    }
    for (const CRoadSuperEditor* editor : {&supers, &widens}) {
      int rows = 0;
      for (const Road_Super_Item& item : editor->items()) {
        check(!item.values.empty());
        rows += item.values.count();
      }
      check(rows == editor->rowCount());
      for (int r = 0; r < editor->rowCount(); ++r) (void)editor->valueOfRow(r);
    }
    for (const Road_Slope& s : slopes.slopes()) {
      for (const Road_Slope_Item& step : s.items) check(step.SlopeName == s.SlopeName);
    }
    check(slopes.chosenSlope() < slopes.slopes().count());
  }
  return 0;
}
