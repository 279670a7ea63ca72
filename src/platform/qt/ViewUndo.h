#pragma once
// Undo and redo of a data view's edits. Every view keeps a QUndoStack; an
// edit (add, edit, delete, mirror, ...) is done on the view's working copy as
// before and then recorded: the command holds only what changed between the
// working copy before and after it, so one step of a 100,000-row list costs
// the rows it touched, not the list. Undo and redo give the view back its
// working copy through the view's own restore; the view's modified flag is
// the stack's (clean at the last Save or load).
//
// A view's working copy is a std::tuple of its parts: lists (RecordList or
// std::vector, diffed row by row) and plain values (kept whole).

#include <QUndoCommand>
#include <QUndoStack>
#include <cstddef>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace trazmark {

/// What changed in a list: the rows from `at` that were `before` and became
/// `after` (the common head and tail of both lists are not held).
template <class List>
struct ListDelta {
  std::size_t at = 0;
  List before;
  List after;

  static ListDelta between(const List& a, const List& b) {
    ListDelta d;
    std::size_t head = 0;
    const std::size_t shorter = std::min(a.size(), b.size());
    while (head < shorter && a[head] == b[head]) ++head;
    std::size_t tail = 0;
    while (tail < shorter - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) ++tail;
    d.at = head;
    d.before.assign(a.begin() + static_cast<std::ptrdiff_t>(head), a.end() - static_cast<std::ptrdiff_t>(tail));
    d.after.assign(b.begin() + static_cast<std::ptrdiff_t>(head), b.end() - static_cast<std::ptrdiff_t>(tail));
    return d;
  }
  bool empty() const { return before.empty() && after.empty(); }
  /// `list` (as it was after the edit, or before it when `undo` is false)
  /// becomes the other.
  void apply(List& list, bool undo) const {
    const List& from = undo ? after : before;
    const List& to = undo ? before : after;
    const auto start = list.begin() + static_cast<std::ptrdiff_t>(at);
    list.erase(start, start + static_cast<std::ptrdiff_t>(from.size()));
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), to.begin(), to.end());
  }
  std::size_t bytes() const { return (before.size() + after.size()) * sizeof(typename List::value_type); }
};

/// A plain value of the working copy (a start mileage, the page on show).
template <class T>
struct ValueDelta {
  T before{};
  T after{};
  static ValueDelta between(const T& a, const T& b) { return {a, b}; }
  bool empty() const { return before == after; }
  void apply(T& value, bool undo) const { value = undo ? before : after; }
  std::size_t bytes() const { return 2 * sizeof(T); }
};

template <class T>
struct PartDeltaOf {
  using type = ValueDelta<T>;
};
template <class T>
concept RowList = requires(const T& t) {
  typename T::value_type;
  t.size();
  t.begin();
};
template <RowList T>
struct PartDeltaOf<T> {
  using type = ListDelta<T>;
};

/// What one edit changed in a working copy of type `State` (a std::tuple).
template <class State>
class StateDelta;

template <class... Parts>
class StateDelta<std::tuple<Parts...>> {
 public:
  using State = std::tuple<Parts...>;
  static StateDelta between(const State& a, const State& b) {
    StateDelta d;
    d.fill(a, b, std::index_sequence_for<Parts...>{});
    return d;
  }
  bool empty() const {
    return std::apply([](const auto&... p) { return (p.empty() && ...); }, parts_);
  }
  void apply(State& state, bool undo) const { applyAll(state, undo, std::index_sequence_for<Parts...>{}); }
  /// Whether part `I` changed (a view with several lists shows the one edited).
  template <std::size_t I>
  bool changed() const {
    return !std::get<I>(parts_).empty();
  }
  std::size_t bytes() const {
    return std::apply([](const auto&... p) { return (p.bytes() + ... + std::size_t{0}); }, parts_);
  }

 private:
  template <std::size_t... I>
  void fill(const State& a, const State& b, std::index_sequence<I...>) {
    ((std::get<I>(parts_) = std::tuple_element_t<I, decltype(parts_)>::between(std::get<I>(a), std::get<I>(b))), ...);
  }
  template <std::size_t... I>
  void applyAll(State& state, bool undo, std::index_sequence<I...>) const {
    (std::get<I>(parts_).apply(std::get<I>(state), undo), ...);
  }
  std::tuple<typename PartDeltaOf<Parts>::type...> parts_;
};

/// The undo of one data view: its stack, the working copy as the last
/// command left it, and how the view gives and takes its working copy.
template <class State>
class CViewUndo {
 public:
  /// Steps kept; the oldest goes first. One step holds the rows it changed
  /// (about 150 bytes a row), an import both whole lists.
  static constexpr int kUndoLimit = 200;

  /// `take` reads the view's working copy, `restore` gives it back (after an
  /// undo or redo), `modifiedChanged` tells the view whether its working copy
  /// differs from the road (the stack is not at its clean index).
  CViewUndo(QObject* parent, std::function<State()> take, std::function<void(State)> restore,
            std::function<void(bool modified)> modifiedChanged)
      : stack_(new QUndoStack(parent)),
        take_(std::move(take)),
        restore_(std::move(restore)),
        modifiedChanged_(std::move(modifiedChanged)) {
    stack_->setUndoLimit(kUndoLimit);
    // Every push, undo and redo moves the index; reset and markSaved tell
    // the view themselves.
    connection_ = QObject::connect(stack_, &QUndoStack::indexChanged, stack_,
                                   [this] { modifiedChanged_(!stack_->isClean()); });
  }
  // The stack is the view's child and outlives this member by a moment: its
  // last signals must not reach a view that is going.
  ~CViewUndo() { QObject::disconnect(connection_); }
  CViewUndo(const CViewUndo&) = delete;
  CViewUndo& operator=(const CViewUndo&) = delete;

  QUndoStack* stack() const { return stack_; }

  /// The working copy was loaded from the road: no history, unmodified.
  void reset() {
    lastDelta_ = nullptr;
    stack_->clear();
    stack_->setClean();
    last_ = take_();
    modifiedChanged_(false);
  }
  /// An edit was made: records what changed since the last command under
  /// `text` (the action's name as the Edit menu shows it). An edit that
  /// changed nothing makes no step. Returns whether a step was made.
  bool record(const QString& text) {
    State now = take_();
    auto delta = StateDelta<State>::between(last_, now);
    if (delta.empty()) {
      // Nothing changed (an edit that kept every value): the view is as
      // modified as the stack says.
      lastDelta_ = nullptr;
      modifiedChanged_(!stack_->isClean());
      return false;
    }
    last_ = std::move(now);
    recording_ = true;
    stack_->push(new Command(*this, text, std::move(delta)));
    recording_ = false;
    return true;
  }
  /// The working copy was stored into the road.
  void markSaved() {
    lastDelta_ = nullptr;
    stack_->setClean();
    modifiedChanged_(!stack_->isClean());
  }
  /// The last undo or redo (or record): what it changed.
  const StateDelta<State>* lastDelta() const { return lastDelta_; }
  /// True while an edit is recorded: the view already shows it.
  bool recording() const { return recording_; }

 private:
  class Command : public QUndoCommand {
   public:
    Command(CViewUndo& owner, const QString& text, StateDelta<State> delta)
        : QUndoCommand(text), owner_(owner), delta_(std::move(delta)) {}
    void undo() override { owner_.apply(delta_, true); }
    void redo() override {
      // Pushed after the edit was made: the first redo has nothing to do.
      if (done_) owner_.apply(delta_, false);
      done_ = true;
      owner_.lastDelta_ = &delta_;
    }

   private:
    CViewUndo& owner_;
    StateDelta<State> delta_;
    bool done_ = false;
  };

  void apply(const StateDelta<State>& delta, bool undo) {
    // Applied to the copy the commands left, never to edits made since
    // without a command: the lists always match the delta's rows.
    delta.apply(last_, undo);
    lastDelta_ = &delta;
    restore_(last_);
  }

  QUndoStack* stack_;
  std::function<State()> take_;
  std::function<void(State)> restore_;
  std::function<void(bool)> modifiedChanged_;
  QMetaObject::Connection connection_;
  State last_{};
  const StateDelta<State>* lastDelta_ = nullptr;
  bool recording_ = false;
};

/// The name of an undo step: the verb's text ("IDS_UNDO_add": "Add %s") with
/// the row kind's text ("IDS_UNDO_chain": "broken chain") in place of %s;
/// without a row kind the verb's text alone ("IDS_UNDO_mirror").
QString undoText(const char* verbKey, const char* nounKey = nullptr);

}  // namespace trazmark
