// Numbers as drawing units and angles as text, the formats of AutoCAD's LUNITS and AUNITS, with
// the settings of a new drawing (DIMZIN 0: zeros kept; UNITMODE 0).
//
// FormatDistance(x, mode, precision): (rtos x mode precision). Modes: 1 scientific
//   "1.7500E+01", 2 decimal "17.50", 3 engineering (feet and decimal inches) "1'-5.50\"",
//   4 architectural (feet and fractional inches, precision p: to 1/2^p inch) "1'-5 1/2\"",
//   5 fractional "17 1/2". Halves round away from zero.
// ParseDistance(text): (distof text mode): the number a text in any of those formats stands for
//   (feet with ', inches with an optional ", mixed fractions "5 1/2" or "5-1/2"); nothing when
//   the text is not such a number.
// FormatAngle(radians, mode, precision): (angtos angle mode precision), the angle taken into
//   0 ... 2 pi. Modes: 0 degrees "45.0000", 1 degrees/minutes/seconds "45d30'15\"" (precision
//   0 degrees, 1-2 minutes, 3-4 seconds, 5-8 seconds with decimals), 2 grads "50.0000g",
//   3 radians "0.7854r", 4 surveyor's units "N 45d E" (the bearing in mode 1's form).
// Modes and precisions out of range throw LispError "bad argument value: ...".
#pragma once

#include <optional>
#include <string>

namespace kafcad {

std::string FormatDistance(double x, int mode, int precision);
std::optional<double> ParseDistance(const std::string& text);
std::string FormatAngle(double radians, int mode, int precision);

}  // namespace kafcad
