// The scale of a chart's axis: round steps (1, 2 or 5 times a power of ten) with a labelled tick
// at each, so that a reader can tell the values apart however narrow their range.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace evo {

// The largest round step (1, 2 or 5 times a power of ten) that divides span into at least parts.
double RoundStep(double span, int parts);

class AxisScale {
 public:
  // From zero up to at least highest, on whole steps: at least three ticks, at most six.
  static AxisScale FromZero(double highest);
  // Holds lowest to highest with a margin of a tenth of their spread on either side (some margin
  // even when they are equal), within floor to ceiling: at least three ticks, at most eight.
  static AxisScale Fitted(double lowest, double highest, double floor, double ceiling);

  double Low() const { return low_; }
  double High() const { return high_; }
  // Where value stands between Low (0) and High (1).
  double Fraction(double value) const { return (value - low_) / (high_ - low_); }
  // Every multiple of the step from Low to High.
  std::vector<double> Ticks() const;
  // A tick's label, with the decimals its step needs: "7.05", "200".
  QString Label(double tick) const;

 private:
  AxisScale(double low, double high, double step);

  double low_;
  double high_;
  double step_;
  int decimals_;
};

}  // namespace evo
