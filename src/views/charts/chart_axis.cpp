#include "views/charts/chart_axis.h"

#include <algorithm>
#include <cmath>

namespace evo {

double RoundStep(double span, int parts) {
  const double most = span / parts;
  const double power = std::pow(10.0, std::floor(std::log10(most)));
  for (const double multiple : {5.0, 2.0}) {
    if (multiple * power <= most) return multiple * power;
  }
  return power;
}

AxisScale::AxisScale(double low, double high, double step)
    : low_(low),
      high_(high),
      step_(step),
      decimals_(std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)))) {}

AxisScale AxisScale::FromZero(double highest) {
  const double step = std::max(1.0, RoundStep(std::max(highest, 1.0), 2));
  return {0, step * std::max(2.0, std::ceil(highest / step)), step};
}

AxisScale AxisScale::Fitted(double lowest, double highest, double floor, double ceiling) {
  constexpr double kLeastMargin = 0.02;
  const double margin = std::max((highest - lowest) / 10, kLeastMargin);
  double low = std::max(floor, lowest - margin);
  double high = std::min(ceiling, highest + margin);
  // Three intervals or more of the span kept make at least three multiples of the step in it.
  const double step = RoundStep(high - low, 3);
  low = std::max(floor, std::floor(low / step) * step);
  high = std::min(ceiling, std::ceil(high / step) * step);
  return {low, high, step};
}

std::vector<double> AxisScale::Ticks() const {
  std::vector<double> ticks;
  const auto first = static_cast<std::int64_t>(std::ceil(low_ / step_ - 1e-9));
  for (std::int64_t i = first; i * step_ <= high_ + step_ * 1e-9; ++i) {
    ticks.push_back(static_cast<double>(i) * step_);
  }
  return ticks;
}

QString AxisScale::Label(double tick) const {
  return QString::number(tick, 'f', decimals_);
}

}  // namespace evo
