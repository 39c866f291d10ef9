#pragma once
// Special functions of the expression evaluator, first half: the gamma family,
// the error function, Riemann's zeta function, the exponential integrals, the
// classical orthogonal polynomials and the periodic signal functions.
//
// Every routine is a stateless function on doubles. Instead of raising a
// run-time error it hands back its value together with a Dutch fault text;
// an empty text means the value is valid. A routine that fails leaves the
// value 0.
//
// The sf_* wrappers at the end are what the evaluator's function table calls:
// they check the arguments as the built-in functions require, call the
// routines and turn every fault into `false` with the text in errorText.

#include <QString>

namespace supplink {

// Fault texts of the special functions.
namespace SpecFault {
inline QString divisionByZero()
{
    return QStringLiteral("Deling door nul");
}
inline QString overflow()
{
    return QStringLiteral("Overloop");
}
inline QString invalidArgument()
{
    return QStringLiteral("Ongeldig argument");
}
inline QString notWhole()
{
    return QStringLiteral("Het argument moet een geheel getal zijn");
}
inline QString pole()
{
    return QStringLiteral("De functie is oneindig in dit punt");
}
inline QString noConvergence()
{
    return QStringLiteral("De berekening convergeert niet");
}
inline QString argumentCount()
{
    return QStringLiteral("Onjuist aantal argumenten");
}
} // namespace SpecFault

// A value, or the fault that stopped its computation (then value is 0).
struct SpecValue
{
    double value = 0.0;
    QString error;

    bool ok() const { return error.isEmpty(); }
    static SpecValue of(double v) { return SpecValue{v, QString()}; }
    static SpecValue fault(const QString& text) { return SpecValue{0.0, text}; }
};

// Gamma as a mantissa (1 <= mantissa < 10) and a whole power of ten.
struct GammaParts
{
    double mantissa = 0.0;
    double exponent = 0.0;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// --- Gamma, error function, zeta and exponential integrals ------------------

SpecValue ErrorFunction(double x);
// Lanczos approximation for x > 0; other x are refused.
GammaParts GammaMantExp(double x);
// Gamma(x) for every x that is not a pole; negative x by reflection.
SpecValue GammaValue(double x);
// ln Gamma(x); for negative x only where Gamma(x) > 0.
SpecValue LogGamma(double x);
SpecValue BetaFunction(double a, double b);
SpecValue Digamma(double x);
SpecValue ZetaFunction(double s);
// Ei(x); for x < 0 as -E1(-x); Ei(0) is a fault.
SpecValue ExpIntegralEi(double x);
// E_n(x) for n >= 0 and x >= 0; E0(0) and E1(0) are faults.
SpecValue ExpIntegralEn(double x, double n);

// --- Orthogonal polynomials (degree n rounded to a whole number) ------------

SpecValue PolyLegendre(double x, double n);
SpecValue PolyHermite(double x, double n);  // physicists' form, H1 = 2x
SpecValue PolyLaguerre(double x, double n); // n! * L_n(x)
SpecValue PolyChebyshev(double x, double n);

// --- Periodic signal functions (t: time, p: period) -------------------------

// 0 when |v| < 5e-14, otherwise v.
double SnapToZero(double v);

SpecValue wtri(double t, double p);
SpecValue wsqr(double t, double p);
SpecValue wsaw(double t, double p);
SpecValue wraise(double t, double p);
SpecValue wparab(double t, double p);
SpecValue wrect(double t, double p, double d);
SpecValue wpulse(double t, double p, double d);
SpecValue wtrapez(double t, double p, double d);
SpecValue wlin(double t, double p, double d);
SpecValue wsteps(double t, double p, double n);
SpecValue wexp(double t, double p, double a);
SpecValue wexpb(double t, double p, double a);
SpecValue wpulsef(double t, double p, double a);
SpecValue wripple(double t, double p, double a);
SpecValue wring(double t, double p, double a, double f);
SpecValue wam(double t, double fo, double fm, double m);
SpecValue wfm(double t, double fo, double fm, double m);

// --- Built-in function wrappers ----------------------------------------------
// Each takes the evaluated arguments in call order. On success it sets result
// and returns true; otherwise it sets errorText and returns false.

bool sf_erf(const double* args, int argCount, double& result, QString& errorText);
bool sf_gamma(const double* args, int argCount, double& result, QString& errorText);
bool sf_gammaln(const double* args, int argCount, double& result, QString& errorText);
bool sf_digamma(const double* args, int argCount, double& result, QString& errorText);
bool sf_psi(const double* args, int argCount, double& result, QString& errorText);
bool sf_beta(const double* args, int argCount, double& result, QString& errorText);
bool sf_zeta(const double* args, int argCount, double& result, QString& errorText);
bool sf_ei(const double* args, int argCount, double& result, QString& errorText);
bool sf_ein(const double* args, int argCount, double& result, QString& errorText);
bool sf_cnorm(const double* args, int argCount, double& result, QString& errorText);
bool sf_dpoisson(const double* args, int argCount, double& result, QString& errorText);
bool sf_cpoisson(const double* args, int argCount, double& result, QString& errorText);

bool sf_polyle(const double* args, int argCount, double& result, QString& errorText);
bool sf_polyhe(const double* args, int argCount, double& result, QString& errorText);
bool sf_polyla(const double* args, int argCount, double& result, QString& errorText);
bool sf_polych(const double* args, int argCount, double& result, QString& errorText);

bool sf_wtri(const double* args, int argCount, double& result, QString& errorText);
bool sf_wsqr(const double* args, int argCount, double& result, QString& errorText);
bool sf_wsaw(const double* args, int argCount, double& result, QString& errorText);
bool sf_wraise(const double* args, int argCount, double& result, QString& errorText);
bool sf_wparab(const double* args, int argCount, double& result, QString& errorText);
bool sf_wrect(const double* args, int argCount, double& result, QString& errorText);
bool sf_wpulse(const double* args, int argCount, double& result, QString& errorText);
bool sf_wtrapez(const double* args, int argCount, double& result, QString& errorText);
bool sf_wlin(const double* args, int argCount, double& result, QString& errorText);
bool sf_wsteps(const double* args, int argCount, double& result, QString& errorText);
bool sf_wexp(const double* args, int argCount, double& result, QString& errorText);
bool sf_wexpb(const double* args, int argCount, double& result, QString& errorText);
bool sf_wpulsef(const double* args, int argCount, double& result, QString& errorText);
bool sf_wripple(const double* args, int argCount, double& result, QString& errorText);
bool sf_wring(const double* args, int argCount, double& result, QString& errorText);
bool sf_wam(const double* args, int argCount, double& result, QString& errorText);
bool sf_wfm(const double* args, int argCount, double& result, QString& errorText);

} // namespace supplink
