// The built-in functions of the evaluator that rest on the special functions
// of specfun1: argument checks, conversions and the hand-over of faults.

#include "mathparser/specfun1.h"

#include <cmath>
#include <limits>

namespace supplink {

namespace {

// A whole-number argument: rounded with ties to even, refused when the
// rounding moved it by more than 5e-14, then taken as a 32-bit integer.
bool wholeArgument(double v, qint32& out, QString& errorText)
{
    const double r = std::nearbyint(v);
    if (!(std::fabs(r - v) <= 5e-14)) {
        errorText = SpecFault::notWhole();
        return false;
    }
    if (r < std::numeric_limits<qint32>::min() || r > std::numeric_limits<qint32>::max()) {
        errorText = SpecFault::overflow();
        return false;
    }
    out = static_cast<qint32>(r);
    return true;
}

bool countIs(int argCount, int expected, QString& errorText)
{
    if (argCount != expected) {
        errorText = SpecFault::argumentCount();
        return false;
    }
    return true;
}

bool deliver(const SpecValue& v, double& result, QString& errorText)
{
    if (!v.ok()) {
        errorText = v.error;
        return false;
    }
    if (!std::isfinite(v.value)) {
        errorText = SpecFault::overflow();
        return false;
    }
    result = v.value;
    return true;
}

bool deliver(double v, double& result, QString& errorText)
{
    return deliver(SpecValue::of(v), result, errorText);
}

using Unary = SpecValue (*)(double);
using Binary = SpecValue (*)(double, double);
using Ternary = SpecValue (*)(double, double, double);
using Quaternary = SpecValue (*)(double, double, double, double);

bool call(Unary f, const double* args, int argCount, double& result, QString& errorText)
{
    return countIs(argCount, 1, errorText) && deliver(f(args[0]), result, errorText);
}

bool call(Binary f, const double* args, int argCount, double& result, QString& errorText)
{
    return countIs(argCount, 2, errorText) && deliver(f(args[0], args[1]), result, errorText);
}

bool call(Ternary f, const double* args, int argCount, double& result, QString& errorText)
{
    return countIs(argCount, 3, errorText) && deliver(f(args[0], args[1], args[2]), result, errorText);
}

bool call(Quaternary f, const double* args, int argCount, double& result, QString& errorText)
{
    return countIs(argCount, 4, errorText) &&
           deliver(f(args[0], args[1], args[2], args[3]), result, errorText);
}

// f(args[0], n) for a whole n = args[1].
bool withWholeSecond(Binary f, const double* args, int argCount, double& result, QString& errorText)
{
    qint32 n = 0;
    return countIs(argCount, 2, errorText) && wholeArgument(args[1], n, errorText) &&
           deliver(f(args[0], n), result, errorText);
}

// exp(k ln(lambda) - lambda - gammaln(k + 1)) for a whole k.
SpecValue poissonTerm(qint32 k, double lambda)
{
    if (!(lambda > 0.0)) {
        return SpecValue::fault(SpecFault::invalidArgument());
    }
    const SpecValue lg = LogGamma(static_cast<double>(k) + 1.0);
    if (!lg.ok()) {
        return lg;
    }
    return SpecValue::of(std::exp(k * std::log(lambda) - lambda - lg.value));
}

} // namespace

bool sf_erf(const double* args, int argCount, double& result, QString& errorText)
{
    return call(ErrorFunction, args, argCount, result, errorText);
}

bool sf_gamma(const double* args, int argCount, double& result, QString& errorText)
{
    // GammaValue refuses the poles (whole x <= 0) and reflects negative x.
    return call(GammaValue, args, argCount, result, errorText);
}

bool sf_gammaln(const double* args, int argCount, double& result, QString& errorText)
{
    return call(LogGamma, args, argCount, result, errorText);
}

bool sf_digamma(const double* args, int argCount, double& result, QString& errorText)
{
    return call(Digamma, args, argCount, result, errorText);
}

bool sf_psi(const double* args, int argCount, double& result, QString& errorText)
{
    return sf_digamma(args, argCount, result, errorText);
}

bool sf_beta(const double* args, int argCount, double& result, QString& errorText)
{
    return call(BetaFunction, args, argCount, result, errorText);
}

bool sf_zeta(const double* args, int argCount, double& result, QString& errorText)
{
    return call(ZetaFunction, args, argCount, result, errorText);
}

bool sf_ei(const double* args, int argCount, double& result, QString& errorText)
{
    return call(ExpIntegralEi, args, argCount, result, errorText);
}

bool sf_ein(const double* args, int argCount, double& result, QString& errorText)
{
    // The order must be whole: the recurrences of E_n mix n and n - 1.
    return withWholeSecond(ExpIntegralEn, args, argCount, result, errorText);
}

bool sf_cnorm(const double* args, int argCount, double& result, QString& errorText)
{
    if (!countIs(argCount, 3, errorText)) {
        return false;
    }
    const double x = args[0];
    const double mu = args[1];
    const double sigma = args[2];
    if (sigma == 0.0) {
        errorText = SpecFault::divisionByZero();
        return false;
    }
    const SpecValue e = ErrorFunction((x - mu) / (std::sqrt(2.0) * sigma));
    if (!e.ok()) {
        errorText = e.error;
        return false;
    }
    return deliver((e.value + 1.0) / 2.0, result, errorText);
}

bool sf_dpoisson(const double* args, int argCount, double& result, QString& errorText)
{
    qint32 k = 0;
    return countIs(argCount, 2, errorText) && wholeArgument(args[0], k, errorText) &&
           deliver(poissonTerm(k, args[1]), result, errorText);
}

bool sf_cpoisson(const double* args, int argCount, double& result, QString& errorText)
{
    qint32 k = 0;
    if (!countIs(argCount, 2, errorText) || !wholeArgument(args[0], k, errorText)) {
        return false;
    }
    const double lambda = args[1];
    double sum = 0.0;
    for (qint64 i = 0; i <= k; ++i) {
        const SpecValue term = poissonTerm(static_cast<qint32>(i), lambda);
        if (!term.ok()) {
            errorText = term.error;
            return false;
        }
        sum += term.value;
        // Past the mode the terms only shrink: once one is 0, all are.
        if (term.value == 0.0 && i > lambda) {
            break;
        }
    }
    return deliver(sum, result, errorText);
}

bool sf_polyle(const double* args, int argCount, double& result, QString& errorText)
{
    return withWholeSecond(PolyLegendre, args, argCount, result, errorText);
}

bool sf_polyhe(const double* args, int argCount, double& result, QString& errorText)
{
    return withWholeSecond(PolyHermite, args, argCount, result, errorText);
}

bool sf_polyla(const double* args, int argCount, double& result, QString& errorText)
{
    return withWholeSecond(PolyLaguerre, args, argCount, result, errorText);
}

bool sf_polych(const double* args, int argCount, double& result, QString& errorText)
{
    return withWholeSecond(PolyChebyshev, args, argCount, result, errorText);
}

bool sf_wtri(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wtri, args, argCount, result, errorText);
}

bool sf_wsqr(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wsqr, args, argCount, result, errorText);
}

bool sf_wsaw(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wsaw, args, argCount, result, errorText);
}

bool sf_wraise(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wraise, args, argCount, result, errorText);
}

bool sf_wparab(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wparab, args, argCount, result, errorText);
}

bool sf_wrect(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wrect, args, argCount, result, errorText);
}

bool sf_wpulse(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wpulse, args, argCount, result, errorText);
}

bool sf_wtrapez(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wtrapez, args, argCount, result, errorText);
}

bool sf_wlin(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wlin, args, argCount, result, errorText);
}

bool sf_wsteps(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wsteps, args, argCount, result, errorText);
}

bool sf_wexp(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wexp, args, argCount, result, errorText);
}

bool sf_wexpb(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wexpb, args, argCount, result, errorText);
}

bool sf_wpulsef(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wpulsef, args, argCount, result, errorText);
}

bool sf_wripple(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wripple, args, argCount, result, errorText);
}

bool sf_wring(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wring, args, argCount, result, errorText);
}

bool sf_wam(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wam, args, argCount, result, errorText);
}

bool sf_wfm(const double* args, int argCount, double& result, QString& errorText)
{
    return call(wfm, args, argCount, result, errorText);
}

} // namespace supplink
