// The pocket calculator opened with Alt+R from a number field or the prompt
// line: strictly left to right on a one-line tape of 46 characters.
#pragma once

#include <string>

// The tape of the calculator that runs or ran last (46 characters).
extern std::string CalculatorTape;

// Runs the calculator; result is the number at the end of the tape when left
// with OK, else empty.
void RunCalculator(std::string& result);

// The calculator's number text: fixed-point in 8 characters up to
// 9999999.999, else exponent form in 16 characters.
std::string FormatCalculatorNumber(float value);
