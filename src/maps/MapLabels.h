#pragma once
// Placing map labels without letting them cover each other: a label whose box
// overlaps one already placed is dropped, so a zoomed-out map shows fewer
// labels rather than an unreadable heap. Labels are offered in order of
// importance.

#include <QRect>
#include <vector>

namespace trazmark {

class CLabelPlacer {
 public:
  /// `bounds`: the window; a label not wholly inside it is dropped too.
  explicit CLabelPlacer(const QRect& bounds) : bounds_(bounds) {}
  /// Takes `box` when it lies inside the window and overlaps no placed label.
  bool place(const QRect& box);
  /// Whether `box` could be placed now (without placing it).
  bool isFree(const QRect& box) const;
  const std::vector<QRect>& placed() const { return placed_; }

 private:
  QRect bounds_;
  std::vector<QRect> placed_;
};

}  // namespace trazmark
