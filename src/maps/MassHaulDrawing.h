#pragma once
// The mass-haul diagram: the mass ordinate (cumulative cut × bulking −
// cumulative fill, m³) along the road, on axes of round numbers, with the
// zero line and the totals. Shared by the drawing pane's map and
// `trazmark-cli mass-haul`; the axes are plain arithmetic, tested without
// painting.

#include <QSize>
#include <optional>
#include <string>
#include <vector>

class QPainter;

namespace trazmark {

/// One point of the diagram.
struct MassPoint {
  double distance = 0;  ///< along the road (continuous metres), for the position
  double station = 0;   ///< displayed station, for the labels
  double mass = 0;      ///< mass ordinate, m³
};

/// What the diagram shows.
struct MassHaulData {
  std::vector<MassPoint> points;  ///< in road order
  double totalCut = 0;            ///< m³, before bulking
  double totalFill = 0;           ///< m³
  double bulking = 1;             ///< the cut's factor
};

/// An axis of round numbers: first and last tick and the step between them.
struct MassAxis {
  double from = 0;
  double to = 1;
  double step = 1;
  /// The ticks from `from` to `to` (at most a few hundred).
  std::vector<double> ticks() const;
};

/// The step of 1, 2 or 5 × 10^n that divides `span` into at most `maxTicks`
/// intervals (1 for a span that is not positive and finite).
double roundStep(double span, int maxTicks);

/// An axis covering [low, high] on whole steps, about `maxTicks` intervals;
/// `withZero` stretches it to hold 0. A range of no length is widened by one
/// step each way.
MassAxis roundAxis(double low, double high, int maxTicks, bool withZero = false);

/// The two axes of a diagram: distance along, mass up (always with 0). None
/// without points.
struct MassHaulAxes {
  MassAxis along;
  MassAxis mass;
};
std::optional<MassHaulAxes> massHaulAxes(const MassHaulData& data);

/// The words of the diagram, in the caller's language.
struct MassHaulWords {
  std::string title = "Mass haul";
  std::string road = "Road";
  std::string station = "Station";
  std::string mass = "Mass ordinate (m\xC2\xB3)";
  std::string cut = "Cut";
  std::string fill = "Fill";
  std::string bulking = "bulking";
  std::string balance = "Balance";
};

/// The totals line: "Cut 1234.5 m³ (bulking 1.00)   Fill 987.6 m³   Balance 246.9 m³".
std::string massHaulTotalsText(const MassHaulData& data, const MassHaulWords& words = {});

/// Paints the diagram over `size` pixels: white page, axes with their
/// ticks and labels, the zero line, the mass line (above zero blue, below
/// red), the title and the totals. `background`: the map's black page when
/// false.
void paintMassHaul(QPainter& painter, QSize size, const MassHaulData& data,
                   const std::string& roadName, const MassHaulWords& words = {},
                   bool whitePage = true);

/// Writes the diagram as PNG, SVG or PDF by `path`'s extension, through a
/// temporary file. False with a one-line `error`.
bool writeMassHaul(const MassHaulData& data, const std::string& path, QSize size,
                   const std::string& roadName, std::string& error,
                   const MassHaulWords& words = {});

}  // namespace trazmark
