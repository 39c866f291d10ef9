#pragma once
// The numbers the evaluator and its special functions share, written once:
// the short decimal pi and its double that the results depend on (not the
// Double nearest to pi), Euler's constant, and the stand-ins the functions
// return for an infinite result and for no number. Include this header; never
// write the digits again.

#include <limits>

namespace supplink::mathtables {

inline constexpr double ShortPi = 3.14159265358979;
inline constexpr double ShortTwoPi = 6.28318530717958;
inline constexpr double Euler = 0.577215664901533;
inline constexpr double Infinity = 1e300;
inline constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

} // namespace supplink::mathtables
