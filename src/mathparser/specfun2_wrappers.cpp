// The evaluator's built-in names for the second half of the special functions:
// argument checks, choice of the routine and of the result it returns.

#include "mathparser/mathconstants.h"
#include "mathparser/specfun1.h"
#include "mathparser/specfun2.h"

#include <cmath>

namespace supplink {

namespace {

constexpr double kPi = mathtables::ShortPi;
// Orders above this would size the result arrays beyond any sensible use.
constexpr int kMaxBesselOrder = 32767;

QString textOrder()
{
    return QStringLiteral("De orde moet een geheel getal van 0 tot en met %1 zijn").arg(kMaxBesselOrder);
}
QString textNegative()
{
    return QStringLiteral("Het argument mag niet negatief zijn");
}
QString textNotFinite()
{
    return QStringLiteral("De uitkomst is geen eindig getal");
}
QString textOrderTooHigh()
{
    return QStringLiteral("De orde is te hoog voor dit argument");
}
QString textAboveOne()
{
    return QStringLiteral("x mag niet groter zijn dan 1");
}

bool refuse(QString& errorText, const QString& text)
{
    errorText = text;
    return false;
}

bool deliver(double value, double& result, QString& errorText)
{
    if (!std::isfinite(value)) {
        return refuse(errorText, textNotFinite());
    }
    result = value;
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

// A whole order: the nearest whole number (ties to even) when the value lies
// within 5e-14 of it.
bool wholeOrder(double value, int& order)
{
    if (!std::isfinite(value)) {
        return false;
    }
    const double rounded = std::nearbyint(value);
    if (std::fabs(rounded - value) > 5e-14 || rounded < 0.0 || rounded > kMaxBesselOrder) {
        return false;
    }
    order = static_cast<int>(rounded);
    return true;
}

enum class BesselKind
{
    J,
    Y,
    I,
    K
};

bool bessel(BesselKind kind, double x, double orderValue, double& result, QString& errorText)
{
    const bool secondKind = (kind == BesselKind::Y || kind == BesselKind::K);
    if (std::isnan(x)) {
        return refuse(errorText, textNotFinite());
    }
    if (secondKind && x < 0.0) {
        return refuse(errorText, textNegative());
    }
    int n = 0;
    if (!wholeOrder(orderValue, n)) {
        return refuse(errorText, textOrder());
    }

    if (kind == BesselKind::J || kind == BesselKind::Y) {
        if (n > 1) {
            int nm = 0;
            std::vector<double> j, dj, y, dy;
            BesselJYN(n, x, nm, j, dj, y, dy);
            if (n > nm && kind == BesselKind::Y) {
                // |Yn(x)| is beyond every double here; the recurrence never reached it.
                return refuse(errorText, textOrderTooHigh());
            }
            return deliver(kind == BesselKind::J ? j[n] : y[n], result, errorText);
        }
        double j0, dj0, j1, dj1, y0, dy0, y1, dy1;
        BesselJY01(x, j0, dj0, j1, dj1, y0, dy0, y1, dy1);
        if (kind == BesselKind::J) {
            return deliver(n == 0 ? j0 : j1, result, errorText);
        }
        return deliver(n == 0 ? y0 : y1, result, errorText);
    }

    if (n > 1) {
        int nm = 0;
        std::vector<double> i, di, k, dk;
        BesselIKN(n, x, nm, i, di, k, dk);
        if (kind == BesselKind::K) {
            if (!std::isfinite(i[0])) {
                // K comes from I0, which overflowed.
                return refuse(errorText, textNotFinite());
            }
            if (n > nm) {
                return refuse(errorText, textOrderTooHigh());
            }
            return deliver(k[n], result, errorText);
        }
        return deliver(i[n], result, errorText);
    }
    double i0, di0, i1, di1, k0, dk0, k1, dk1;
    BesselIK01(x, i0, di0, i1, di1, k0, dk0, k1, dk1);
    if (kind == BesselKind::I) {
        return deliver(n == 0 ? i0 : i1, result, errorText);
    }
    if (!std::isfinite(i0)) {
        return refuse(errorText, textNotFinite());
    }
    return deliver(n == 0 ? k0 : k1, result, errorText);
}

// besselj(x [, n]) and its kin: the order is optional and defaults to 0.
bool besselWithOrder(BesselKind kind, const double* args, int argCount, double& result, QString& errorText)
{
    if (argCount != 1 && argCount != 2) {
        return refuse(errorText, SpecFault::argumentCount());
    }
    return bessel(kind, args[0], argCount == 2 ? args[1] : 0.0, result, errorText);
}

bool besselOrderZero(BesselKind kind, const double* args, int argCount, double& result, QString& errorText)
{
    if (!countIs(argCount, 1, errorText)) {
        return false;
    }
    return bessel(kind, args[0], 0.0, result, errorText);
}

bool elliptic(bool secondKind, const double* args, int argCount, double& result, QString& errorText)
{
    if (!countIs(argCount, 2, errorText)) {
        return false;
    }
    double f = 0.0;
    double e = 0.0;
    EllipticIntegrals(args[0], args[1] * 180.0 / kPi, f, e);
    return deliver(secondKind ? e : f, result, errorText);
}

bool airy(bool second, const double* args, int argCount, double& result, QString& errorText)
{
    if (!countIs(argCount, 1, errorText)) {
        return false;
    }
    double ai = 0.0, bi = 0.0, dai = 0.0, dbi = 0.0;
    AiryFunctions(args[0], ai, bi, dai, dbi);
    return deliver(second ? bi : ai, result, errorText);
}

bool fresnel(bool sine, const double* args, int argCount, double& result, QString& errorText)
{
    if (!countIs(argCount, 1, errorText)) {
        return false;
    }
    double c = 0.0, s = 0.0;
    FresnelCS(args[0], c, s);
    return deliver(sine ? s : c, result, errorText);
}

} // namespace

bool sf_besselj(const double* args, int argCount, double& result, QString& errorText)
{
    return besselWithOrder(BesselKind::J, args, argCount, result, errorText);
}

bool sf_bessely(const double* args, int argCount, double& result, QString& errorText)
{
    return besselWithOrder(BesselKind::Y, args, argCount, result, errorText);
}

bool sf_besseli(const double* args, int argCount, double& result, QString& errorText)
{
    return besselWithOrder(BesselKind::I, args, argCount, result, errorText);
}

bool sf_besselk(const double* args, int argCount, double& result, QString& errorText)
{
    return besselWithOrder(BesselKind::K, args, argCount, result, errorText);
}

bool sf_j0(const double* args, int argCount, double& result, QString& errorText)
{
    return besselOrderZero(BesselKind::J, args, argCount, result, errorText);
}

bool sf_y0(const double* args, int argCount, double& result, QString& errorText)
{
    return besselOrderZero(BesselKind::Y, args, argCount, result, errorText);
}

bool sf_i0(const double* args, int argCount, double& result, QString& errorText)
{
    return besselOrderZero(BesselKind::I, args, argCount, result, errorText);
}

bool sf_k0(const double* args, int argCount, double& result, QString& errorText)
{
    return besselOrderZero(BesselKind::K, args, argCount, result, errorText);
}

bool sf_si(const double* args, int argCount, double& result, QString& errorText)
{
    if (!countIs(argCount, 1, errorText)) {
        return false;
    }
    const double x = args[0];
    double ci = 0.0, si = 0.0;
    CosSinIntegral(std::fabs(x), ci, si);
    const double sign = (x > 0.0) ? 1.0 : (x < 0.0 ? -1.0 : 0.0);
    return deliver(sign * si, result, errorText);
}

bool sf_ci(const double* args, int argCount, double& result, QString& errorText)
{
    if (!countIs(argCount, 1, errorText)) {
        return false;
    }
    if (args[0] < 0.0) {
        return refuse(errorText, textNegative());
    }
    double ci = 0.0, si = 0.0;
    CosSinIntegral(args[0], ci, si);
    return deliver(ci, result, errorText);
}

bool sf_fresnels(const double* args, int argCount, double& result, QString& errorText)
{
    return fresnel(true, args, argCount, result, errorText);
}

bool sf_fresnelc(const double* args, int argCount, double& result, QString& errorText)
{
    return fresnel(false, args, argCount, result, errorText);
}

bool sf_airya(const double* args, int argCount, double& result, QString& errorText)
{
    return airy(false, args, argCount, result, errorText);
}

bool sf_airyb(const double* args, int argCount, double& result, QString& errorText)
{
    return airy(true, args, argCount, result, errorText);
}

bool sf_elli1(const double* args, int argCount, double& result, QString& errorText)
{
    return elliptic(false, args, argCount, result, errorText);
}

bool sf_elli2(const double* args, int argCount, double& result, QString& errorText)
{
    return elliptic(true, args, argCount, result, errorText);
}

bool sf_gammai(const double* args, int argCount, double& result, QString& errorText)
{
    if (!countIs(argCount, 2, errorText)) {
        return false;
    }
    double lower = 0.0, upper = 0.0, regularised = 0.0;
    QString message;
    IncompleteGamma(args[0], args[1], lower, upper, regularised, message);
    if (!message.isEmpty()) {
        return refuse(errorText, message);
    }
    return deliver(lower, result, errorText);
}

bool sf_betai(const double* args, int argCount, double& result, QString& errorText)
{
    if (!countIs(argCount, 3, errorText)) {
        return false;
    }
    double ix = 0.0;
    IncompleteBeta(args[1], args[2], args[0], ix);
    return deliver(ix, result, errorText);
}

bool sf_hypgeom(const double* args, int argCount, double& result, QString& errorText)
{
    if (!countIs(argCount, 4, errorText)) {
        return false;
    }
    const double x = args[0];
    if (!(x <= 1.0)) {
        return refuse(errorText, textAboveOne());
    }
    double f = 0.0;
    QString message;
    Hypergeometric2F1(args[1], args[2], args[3], x, f, message);
    if (!message.isEmpty()) {
        return refuse(errorText, message);
    }
    return deliver(f, result, errorText);
}

} // namespace supplink
