#pragma once

// The evaluator's built-in routines that are not plain library calls. Every routine returns its
// value; a refused argument or a failing operation gives a value that is not finite (NaN), which
// the evaluation loop reports as an evaluation error of the call.

namespace supplink::mathfunctions {

// Rounds to the nearest whole number (ties to even); false when that differs from x by more than
// 5e-14 or does not fit in a 32-bit integer.
bool ToWholeNumber(double x, int& whole);

// Rounds half to even, as the evaluator's integer conversions do.
double RoundHalfEven(double x);

double Acos(double x);
double Asin(double x);
double Cosh(double x);
double Sinh(double x);
double Tanh(double x);
double Acosh(double x);
double Asinh(double x);
double Atanh(double x);

double Round(double x, double decimals);
double Fact(double n);
double Comb(double n, double k);
double Perm(double n, double k);
double Gcd(double a, double b);
double Lcm(double a, double b);
double Max(double a, double b);
double Min(double a, double b);
double Mod(double a, double b);
double Root(double x, double n);
double Dec(double x);
double Clip(double x, double low, double high);

double DNorm(double x, double mean, double sigma);
double CNorm(double x, double mean, double sigma);
double DBinom(double k, double n, double p);
double CBinom(double k, double n, double p);
double DPoisson(double k, double lambda);
double CPoisson(double k, double lambda);

// Part of a date serial number (days from 30 December 1899, the fraction the time of day):
// code 150 year, 151 month, 152 day, 153 hour, 154 minute, 155 second.
double DatePart(int code, double serial);
double DateSerial(double year, double month, double day);
double TimeSerial(double hour, double minute, double second);

} // namespace supplink::mathfunctions
