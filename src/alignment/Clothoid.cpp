#include "alignment/Clothoid.h"

#include <cmath>
#include <limits>

namespace trazmark::clothoid {
namespace {

// Divisors of the series terms: (4n+1)·(2n)!·2^(2n) for the along-tangent
// coordinate, (4n+3)·(2n+1)!·2^(2n+1) for the offset, n = 0..6.
constexpr double kU[7] = {1.0, 40.0, 3456.0, 599040.0, 175472640.0, 7.80337152e10, 4.904976384e13};
constexpr double kW[7] = {6.0,          336.0,           42240.0,           9676800.0,
                          3530096640.0, 1.8802409472e12, 1.3773173686272e15};

// Eight-point Gauss-Legendre nodes on [-1, 1] (positive half) and weights; exact
// for polynomials up to degree 15.
constexpr double kNode[4] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267,
                             0.9602898564975363};
constexpr double kWeight[4] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745,
                               0.1012285362903763};

// Turn of the tangent across one quadrature panel. With eight nodes the relative
// error of a panel turning this far is below 1e-15.
constexpr double kPanelTurn = 2.0;

}  // namespace

LocalPoint seriesPoint(double l, double a2, int terms) {
  const double q = l * l / a2;  // twice the angle turned since the origin
  const double q2 = q * q;
  if (terms < 1) terms = 1;
  if (terms > 7) terms = 7;
  // Summed from the smallest term up so that rounding stays at the last place.
  double powers[7];
  powers[0] = 1.0;
  for (int n = 1; n < terms; ++n) powers[n] = powers[n - 1] * q2;
  double u = 0;
  double w = 0;
  for (int n = terms - 1; n >= 0; --n) {
    const double sign = (n % 2 == 0) ? 1.0 : -1.0;
    u += sign * powers[n] / kU[n];
    w += sign * powers[n] / kW[n];
  }
  return {l * u, l * q * w};
}

double seriesErrorBound(double l, double a2) {
  const double q = l * l / a2;
  // Beyond this the terms no longer shrink at once and the bound means nothing.
  if (!(q < 4.0)) return std::numeric_limits<double>::infinity();
  const double q4 = q * q * q * q;
  const double q12 = q4 * q4 * q4;
  return std::fabs(l) * q12 * (1.0 / kU[6] + q / kW[6]);
}

bool integrateTangent(double azimuth, double curvature, double curvatureRate, double s, double& dx,
                      double& dy) {
  const double turn = std::fabs(curvature * s) + 0.5 * std::fabs(curvatureRate) * s * s;
  if (!(turn <= kMaxIntegratedTurn) || !std::isfinite(azimuth) || !std::isfinite(s)) return false;
  const int panels = turn > kPanelTurn ? static_cast<int>(std::ceil(turn / kPanelTurn)) : 1;
  const double h = s / panels;
  const double half = 0.5 * h;
  const double halfRate = 0.5 * curvatureRate;
  // Integrated in the frame of the start tangent, then turned by the azimuth.
  double sumX = 0;
  double sumY = 0;
  for (int p = 0; p < panels; ++p) {
    const double mid = (p + 0.5) * h;
    for (int i = 0; i < 4; ++i) {
      const double t1 = mid - half * kNode[i];
      const double t2 = mid + half * kNode[i];
      const double a1 = t1 * (curvature + halfRate * t1);
      const double a2 = t2 * (curvature + halfRate * t2);
      sumX += kWeight[i] * (std::cos(a1) + std::cos(a2));
      sumY += kWeight[i] * (std::sin(a1) + std::sin(a2));
    }
  }
  sumX *= half;
  sumY *= half;
  const double c = std::cos(azimuth);
  const double sn = std::sin(azimuth);
  dx = sumX * c - sumY * sn;
  dy = sumX * sn + sumY * c;
  return true;
}

namespace {

double normaliseOnce(double a) {
  if (a > 2.0 * kPi) {
    a -= 2.0 * kPi;
  } else if (a < 0) {
    a += 2.0 * kPi;
  }
  return a;
}

}  // namespace

StationPoint seriesStationPoint(const SeriesFrame& f, double l, double d) {
  const LocalPoint local = seriesPoint(l, f.a2, 6);
  const double ct = std::cos(f.originAzimuth);
  const double st = std::sin(f.originAzimuth);
  double phi = f.originAzimuth + l * l / (2.0 * f.a2);
  // Running towards the origin, the road's right is the series' left.
  const double dd = f.reversed ? -d : d;
  const double baseX = f.originX + local.u * ct - local.w * st;
  const double baseY = f.originY + local.u * st + local.w * ct;
  StationPoint p;
  if (!f.mirrored) {
    p.x = baseX - dd * std::sin(phi);
    p.y = baseY + dd * std::cos(phi);
  } else {
    // The offset goes to the other side first, then the whole point is reflected
    // across the start tangent. The reflection is taken in vector form, which
    // keeps full precision for tangents of every direction.
    const double mx = baseX + dd * std::sin(phi);
    const double my = baseY - dd * std::cos(phi);
    const double ex = std::cos(f.lineAzimuth);
    const double ey = std::sin(f.lineAzimuth);
    const double vx = mx - f.lineX;
    const double vy = my - f.lineY;
    const double along = vx * ex + vy * ey;
    p.x = f.lineX + 2.0 * along * ex - vx;
    p.y = f.lineY + 2.0 * along * ey - vy;
    phi = 2.0 * f.lineAzimuth - phi;
  }
  if (f.reversed) phi += kPi;
  p.azimuth = normaliseOnce(phi);
  return p;
}

std::optional<StationPoint> integratedStationPoint(double x0, double y0, double azimuth,
                                                   double curvature, double curvatureRate, double s,
                                                   double d) {
  double dx = 0;
  double dy = 0;
  if (!integrateTangent(azimuth, curvature, curvatureRate, s, dx, dy)) return std::nullopt;
  const double phi = azimuth + s * (curvature + 0.5 * curvatureRate * s);
  StationPoint p;
  p.x = x0 + dx - d * std::sin(phi);
  p.y = y0 + dy + d * std::cos(phi);
  p.azimuth = normaliseOnce(phi);
  if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.azimuth)) {
    return std::nullopt;
  }
  return p;
}

}  // namespace trazmark::clothoid
