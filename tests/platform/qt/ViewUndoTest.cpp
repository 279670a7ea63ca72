// The undo seam's steps: what a step holds of a list (only the rows an edit
// changed) and that undoing and redoing it gives back each list exactly, also
// where rows repeat; a history of a working copy of several parts.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/qt/ViewUndo.h"
#include "support/UiTestSupport.h"

namespace trazmark {
namespace {

using Rows = std::vector<std::string>;

TEST(ViewUndo, AStepHoldsOnlyTheRowsChangedAndRestoresBothLists) {
  const Rows big = [] {
    Rows r;
    for (int i = 0; i < 1000; ++i) r.push_back("row" + std::to_string(i));
    return r;
  }();
  Rows inserted = big;
  inserted.insert(inserted.begin() + 500, "new");
  Rows edited = big;
  edited[999] = "changed";
  Rows removed(big.begin() + 1, big.end());
  const struct {
    const char* name;
    Rows before, after;
    std::size_t rowsHeld;
  } cases[] = {
      {"insert in the middle", big, inserted, 1},
      {"edit of the last", big, edited, 2},
      {"delete of the first", big, removed, 1},
      {"first row", {}, {"a"}, 1},
      {"repeated rows, one goes", {"x", "x", "x"}, {"x", "x"}, 1},
      {"repeated rows, one comes", {"x", "y", "x"}, {"x", "y", "y", "x"}, 1},
      {"everything replaced", {"a", "b"}, {"c"}, 3},
      {"nothing changed", big, big, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto delta = ListDelta<Rows>::between(c.before, c.after);
    EXPECT_EQ(delta.before.size() + delta.after.size(), c.rowsHeld);
    EXPECT_EQ(delta.empty(), c.rowsHeld == 0);
    Rows list = c.after;
    delta.apply(list, true);
    EXPECT_EQ(list, c.before);
    delta.apply(list, false);
    EXPECT_EQ(list, c.after);
  }
}

TEST(ViewUndo, AHistoryOfListsAndValuesWalksBackToTheCleanStateAndForward) {
  test::application();
  using State = std::tuple<Rows, double>;
  State copy{{"a"}, 1.0};
  std::vector<bool> modified;
  QObject owner;
  CViewUndo<State> undo(
      &owner, [&] { return copy; }, [&](State s) { copy = std::move(s); },
      [&](bool m) { modified.push_back(m); });
  undo.reset();
  std::get<0>(copy).push_back("b");
  EXPECT_TRUE(undo.record(QStringLiteral("Add b")));
  std::get<1>(copy) = 2.5;
  EXPECT_TRUE(undo.record(QStringLiteral("Edit value")));
  EXPECT_FALSE(undo.record(QStringLiteral("Nothing")));  // no change, no step
  ASSERT_EQ(undo.stack()->count(), 2);
  EXPECT_TRUE(undo.lastDelta() == nullptr);
  EXPECT_TRUE(modified.back());

  undo.markSaved();
  EXPECT_FALSE(modified.back());
  undo.stack()->undo();
  EXPECT_EQ(copy, State(Rows{"a", "b"}, 1.0));
  EXPECT_TRUE(modified.back());
  ASSERT_NE(undo.lastDelta(), nullptr);
  EXPECT_FALSE(undo.lastDelta()->changed<0>());
  EXPECT_TRUE(undo.lastDelta()->changed<1>());
  undo.stack()->undo();
  EXPECT_EQ(copy, State(Rows{"a"}, 1.0));
  undo.stack()->redo();
  undo.stack()->redo();
  EXPECT_EQ(copy, State(Rows{"a", "b"}, 2.5));
  EXPECT_FALSE(modified.back());  // back at the state saved

  // Changes made without a step are not what an undo works on: it gives
  // back the state of the step before.
  std::get<0>(copy).clear();
  undo.stack()->undo();
  EXPECT_EQ(copy, State(Rows{"a", "b"}, 1.0));
  undo.reset();
  EXPECT_EQ(undo.stack()->count(), 0);
  EXPECT_FALSE(modified.back());
}

}  // namespace
}  // namespace trazmark
