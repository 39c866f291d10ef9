#pragma once
// Special functions, second half: Bessel functions of integer order, the sine,
// cosine and Fresnel integrals, the Gauss hypergeometric function, the
// incomplete gamma and beta functions, the Airy functions and the incomplete
// elliptic integrals.
//
// The routines are stateless and return their results through reference
// arguments. Infinite values are represented by +-1e300. Where an operation
// leaves the real numbers (the logarithm of a negative number, an overflow)
// the affected result is NaN or infinite; the sf_ wrappers at the end turn
// that, and every message text a routine returns, into a refusal.

#include <QString>
#include <vector>

namespace supplink {

// Texts that the hypergeometric and incomplete gamma routines return.
inline constexpr const char* kHypergeometricDivergent = "The hypergeometric series is divergent";
inline constexpr const char* kHypergeometricCheckAccuracy = "Warning! You should check the accuracy";
inline constexpr const char* kIncompleteGammaTooLarge = "a and/or x too large";

// ---------------------------------------------------------------------------
// Bessel functions and related integrals

// J0, J0', J1, J1', Y0, Y0', Y1, Y1' at x. For x < 0 the J values follow from
// their symmetry and the Y values are NaN.
void BesselJY01(double x, double& j0, double& dj0, double& j1, double& dj1, double& y0, double& dy0,
                double& y1, double& dy1);

// J, J', Y and Y' of every order 0 .. n at x. The vectors are resized to hold
// orders 0 .. n (n rounded, ties to even) and cleared first. nm receives the
// highest order actually computed; elements above nm stay 0. Meant for n > 1.
void BesselJYN(double n, double x, int& nm, std::vector<double>& j, std::vector<double>& dj,
               std::vector<double>& y, std::vector<double>& dy);

// I0, I0', I1, I1', K0, K0', K1, K1' at x. For x < 0 the I values follow from
// their symmetry and the K values are NaN.
void BesselIK01(double x, double& i0, double& di0, double& i1, double& di1, double& k0, double& dk0,
                double& k1, double& dk1);

// I, I', K and K' of every order 0 .. n at x; nm as in BesselJYN.
void BesselIKN(double n, double x, int& nm, std::vector<double>& i, std::vector<double>& di,
               std::vector<double>& k, std::vector<double>& dk);

// The order at which |Jn(x)| has fallen to about 10^-mp.
int BackwardStartAll(double x, int mp);
// The order from which the backward recurrence yields Jn(x) to mp significant digits.
int BackwardStartOrder(double x, double n, int mp);
// Minus the decimal exponent of Jn(x), estimated.
double BesselMagnitude(double n, double x);
double Log10(double x);

// Ci(x) and Si(x) for x >= 0 (Ci(0) = -1e300). For x < 0, Si follows from its
// symmetry and Ci is NaN.
void CosSinIntegral(double x, double& ci, double& si);

// Fresnel integrals C(x) and S(x) (kernels cos(pi t^2 / 2) and sin(pi t^2 / 2)).
void FresnelCS(double x, double& c, double& s);

// ---------------------------------------------------------------------------
// Hypergeometric, incomplete gamma and beta, Airy and elliptic functions

// F(a, b; c; x) for x <= 1. Sets message to kHypergeometricDivergent (leaving f
// untouched) or to kHypergeometricCheckAccuracy (with f set); otherwise leaves
// message as it was.
void Hypergeometric2F1(double a, double b, double c, double x, double& f, QString& message);

// Lower gamma(a, x), upper Gamma(a, x) and P(a, x) = gamma(a, x) / Gamma(a).
// Sets message to kIncompleteGammaTooLarge (results untouched) when a > 170 or
// a ln x - x > 700.
void IncompleteGamma(double a, double x, double& lower, double& upper, double& regularised, QString& message);

// Regularised incomplete beta function I_x(a, b).
void IncompleteBeta(double a, double b, double x, double& ix);

// Ai(x), Bi(x), Ai'(x), Bi'(x).
void AiryFunctions(double x, double& ai, double& bi, double& dai, double& dbi);

// F(k, phi) and E(k, phi), phi in degrees; phi = 90 gives the complete integrals.
void EllipticIntegrals(double k, double phiDegrees, double& f, double& e);

// ---------------------------------------------------------------------------
// Coefficients of the asymptotic expansions (exposed for their tests).
namespace besseltables {
extern const double kJ0P[12]; // 1 + sum kJ0P[k-1] x^-2k
extern const double kJ0Q[12]; // -1/(8x) + sum kJ0Q[k-1] x^-(2k+1)
extern const double kJ1P[12];
extern const double kJ1Q[12];
extern const double kI0[12]; // 1 + sum kI0[k-1] x^-k
extern const double kI1[12];
extern const double kI0K0[8]; // 1 + sum kI0K0[k-1] x^-2k
} // namespace besseltables

// ---------------------------------------------------------------------------
// Wrappers of the evaluator's built-in names. Each checks the argument count
// and the domain, calls the routine and returns true with the result, or false
// with a text that says why (the evaluator reports it as an evaluation error).
// A result that is not a finite number is always refused.
//
//   besselj, bessely, besseli, besselk   (x [, n])  order n whole, 0 .. 32767, default 0
//   j0, y0, i0, k0                        (x)
//   si, ci, fresnels, fresnelc            (x)
//   airya, airyb                          (x)
//   elli1, elli2                          (k, phi)   phi in radians
//   gammai                                (a, x)     lower incomplete gamma
//   betai                                 (x, a, b)  regularised incomplete beta
//   hypgeom                               (x, a, b, c)
bool sf_besselj(const double* args, int argCount, double& result, QString& errorText);
bool sf_bessely(const double* args, int argCount, double& result, QString& errorText);
bool sf_besseli(const double* args, int argCount, double& result, QString& errorText);
bool sf_besselk(const double* args, int argCount, double& result, QString& errorText);
bool sf_j0(const double* args, int argCount, double& result, QString& errorText);
bool sf_y0(const double* args, int argCount, double& result, QString& errorText);
bool sf_i0(const double* args, int argCount, double& result, QString& errorText);
bool sf_k0(const double* args, int argCount, double& result, QString& errorText);
bool sf_si(const double* args, int argCount, double& result, QString& errorText);
bool sf_ci(const double* args, int argCount, double& result, QString& errorText);
bool sf_fresnels(const double* args, int argCount, double& result, QString& errorText);
bool sf_fresnelc(const double* args, int argCount, double& result, QString& errorText);
bool sf_airya(const double* args, int argCount, double& result, QString& errorText);
bool sf_airyb(const double* args, int argCount, double& result, QString& errorText);
bool sf_elli1(const double* args, int argCount, double& result, QString& errorText);
bool sf_elli2(const double* args, int argCount, double& result, QString& errorText);
bool sf_gammai(const double* args, int argCount, double& result, QString& errorText);
bool sf_betai(const double* args, int argCount, double& result, QString& errorText);
bool sf_hypgeom(const double* args, int argCount, double& result, QString& errorText);

} // namespace supplink
