// Bessel functions of integer order, the cosine and sine integrals and the
// Fresnel integrals. Power series for small arguments, Hankel's asymptotic
// expansions for large ones, and recurrences in the order (forward where it is
// stable, Miller's backward recurrence with normalisation where it is not).

#include "mathparser/specfun2.h"

#include "mathparser/mathconstants.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

namespace supplink {

namespace besseltables {
// Hankel's coefficients a_m(nu) = prod_{j=1..m} (4 nu^2 - (2j-1)^2) / (m! 8^m), signed for
// the expansions below and held to 15 significant digits (J and Y) or 14 (I).
const double kJ0P[12] = {-0.0703125,        0.112152099609375, -0.572501420974731, 6.07404200127348,
                         -110.017140269247, 3038.09051092238,  -118838.426256783,  6252951.4934348,
                         -425939216.504767, 36468400807.0656,  -3833534661393.94,  485401468685290.0};
const double kJ0Q[12] = {0.0732421875,     -0.227108001708984, 1.72772750258446, -24.3805296995561,
                         551.335896122021, -18257.7554742932,  832859.304016289, -50069589.5319889,
                         3836255180.23043, -364901081884.983,  42189715702841.0, -5827244631566910.0};
const double kJ1P[12] = {0.1171875,        -0.144195556640625, 0.676592588424683, -6.88391426810995,
                         121.597891876536, -3302.27229448085,  127641.272646175,  -6656367.71881769,
                         450278600.305039, -38338575207.4279,  4011838599133.2,   -506056850331473.0};
const double kJ1Q[12] = {-0.1025390625,     0.277576446533203, -1.9935317337513,  27.2488273112685,
                         -603.84407670507,  19718.3759122366,  -890297.876707068, 53104110.1096852,
                         -4043620325.10775, 382701134659.861,  -44064814178522.8, 6065091351222700.0};
const double kI0[12] = {
    0.125,           0.0703125,       0.0732421875,    0.11215209960938, 0.22710800170898, 0.57250142097473,
    1.7277275025845, 6.0740420012735, 24.380529699556, 110.01714026925,  551.33589612202,  3038.0905109224};
const double kI1[12] = {-0.375,           -0.1171875,        -0.1025390625,    -0.14419555664063,
                        -0.2775764465332, -0.67659258842468, -1.9935317337513, -6.8839142681099,
                        -27.248827311269, -121.59789187654,  -603.84407670507, -3302.2722944809};
// (2k-1)!!/(2k)!! * ((2k-1)!!)^2 / 4^k: the expansion of I0(x) K0(x) 2x.
const double kI0K0[8] = {0.125,           0.2109375,       1.0986328125,    11.775970458984,
                         214.61706161499, 5951.1522710323, 233476.45606175, 12312234.987631};
} // namespace besseltables

namespace {

// The short constants the results are tuned to.
constexpr double kPi = mathtables::ShortPi;
constexpr double kTwoPi = mathtables::ShortTwoPi;
constexpr double kQuarterPi = 0.7853981633974475;
constexpr double kThreeQuarterPi = 2.3561944901923426;
constexpr double kTwoOverPi = 0.63661977236758;
constexpr double kEuler = mathtables::Euler;
constexpr double kEps = 1e-15;
constexpr double kInfinity = mathtables::Infinity;
constexpr double kNaN = mathtables::NaN;

// The order used to size the result arrays: n to the nearest integer, ties to
// even, and never below 1 so that orders 0 and 1 always have their places.
int arrayTop(double n)
{
    if (!(n > 1.0)) {
        return 1;
    }
    return static_cast<int>(std::nearbyint(std::min(n, static_cast<double>(INT_MAX / 2))));
}

// A start order from the secant searches, to the nearest integer (ties to even).
int roundOrder(double nn)
{
    if (!std::isfinite(nn) || nn < 0.0) {
        return 0; // only for arguments where no recurrence is run
    }
    return static_cast<int>(std::nearbyint(std::min(nn, static_cast<double>(INT_MAX / 2))));
}

// Secant search for the order where BesselMagnitude(order, a0) reaches target,
// starting from orders n0 and n0 + 5; at most 20 steps.
double secantOrder(double a0, double n0, double target)
{
    double f0 = BesselMagnitude(n0, a0) - target;
    double n1 = n0 + 5.0;
    double f1 = BesselMagnitude(n1, a0) - target;
    double nn = n1;
    for (int step = 1; step <= 20; ++step) {
        nn = n1 - (n1 - n0) / (1.0 - f0 / f1);
        const double f = BesselMagnitude(nn, a0) - target;
        if (std::fabs(nn - n1) < 1.0) {
            break;
        }
        n0 = n1;
        f0 = f1;
        n1 = nn;
        f1 = f;
    }
    return nn;
}

void clearArrays(int top, std::vector<double>& a, std::vector<double>& b, std::vector<double>& c,
                 std::vector<double>& d)
{
    for (auto* v : {&a, &b, &c, &d}) {
        v->assign(static_cast<std::size_t>(top) + 1, 0.0);
    }
}

// Element k of an array of an odd function of x stays, of an even one changes
// sign: applies (-1)^(k + shift) to every element.
void applyParity(std::vector<double>& v, int shift)
{
    for (std::size_t k = 0; k < v.size(); ++k) {
        if ((k + static_cast<std::size_t>(shift)) % 2 == 1) {
            v[k] = -v[k];
        }
    }
}

} // namespace

double Log10(double x)
{
    return std::log(x) / std::log(10.0);
}

double BesselMagnitude(double n, double x)
{
    return 0.5 * Log10(6.28 * n) - n * Log10(1.36 * x / n);
}

int BackwardStartAll(double x, int mp)
{
    const double a0 = std::fabs(x);
    const double n0 = std::floor(1.1 * a0) + 1.0;
    return roundOrder(secantOrder(a0, n0, mp));
}

int BackwardStartOrder(double x, double n, int mp)
{
    const double a0 = std::fabs(x);
    const double hmp = 0.5 * mp;
    const double ejn = BesselMagnitude(n, a0);
    double obj;
    double n0;
    if (ejn <= hmp) {
        obj = mp;
        n0 = std::floor(1.1 * a0) + 1.0;
    } else {
        obj = hmp + ejn;
        n0 = n;
    }
    return roundOrder(secantOrder(a0, n0, obj) + 10.0);
}

void BesselJY01(double x, double& j0, double& dj0, double& j1, double& dj1, double& y0, double& dy0,
                double& y1, double& dy1)
{
    if (x < 0.0) {
        // J0 is even and J1 odd; Y has no real value here.
        BesselJY01(-x, j0, dj0, j1, dj1, y0, dy0, y1, dy1);
        j1 = -j1;
        dj0 = -dj0;
        y0 = dy0 = y1 = dy1 = kNaN;
        return;
    }
    if (x == 0.0) {
        j0 = 1.0;
        dj0 = 0.0;
        j1 = 0.0;
        dj1 = 0.5;
        y0 = y1 = -kInfinity;
        dy0 = dy1 = kInfinity;
        return;
    }
    const double x2 = x * x;
    if (x <= 12.0) {
        j0 = 1.0;
        double r = 1.0;
        for (int k = 1; k <= 30; ++k) {
            r = -0.25 * r * x2 / (static_cast<double>(k) * k);
            j0 += r;
            if (std::fabs(r) < std::fabs(j0) * kEps) {
                break;
            }
        }
        j1 = 1.0;
        r = 1.0;
        for (int k = 1; k <= 30; ++k) {
            r = -0.25 * r * x2 / (k * (k + 1.0));
            j1 += r;
            if (std::fabs(r) < std::fabs(j1) * kEps) {
                break;
            }
        }
        j1 = 0.5 * x * j1;

        const double ec = std::log(x / 2.0) + kEuler;
        double cs0 = 0.0;
        double w0 = 0.0;
        double r0 = 1.0;
        for (int k = 1; k <= 30; ++k) {
            w0 += 1.0 / k;
            r0 = -0.25 * r0 / (static_cast<double>(k) * k) * x2;
            r = r0 * w0;
            cs0 += r;
            if (std::fabs(r) < std::fabs(cs0) * kEps) {
                break;
            }
        }
        y0 = kTwoOverPi * (ec * j0 - cs0);

        double cs1 = 1.0;
        double w1 = 0.0;
        double r1 = 1.0;
        for (int k = 1; k <= 30; ++k) {
            w1 += 1.0 / k;
            r1 = -0.25 * r1 / (k * (k + 1.0)) * x2;
            r = r1 * (2.0 * w1 + 1.0 / (k + 1.0));
            cs1 += r;
            if (std::fabs(r) < std::fabs(cs1) * kEps) {
                break;
            }
        }
        y1 = kTwoOverPi * (ec * j1 - 1.0 / x - 0.25 * x * cs1);
    } else {
        using namespace besseltables;
        int terms = 12;
        if (x >= 35.0) {
            terms = 10;
        }
        if (x >= 50.0) {
            terms = 8;
        }
        double p0 = 1.0;
        double q0 = -0.125 / x;
        double p1 = 1.0;
        double q1 = 0.375 / x;
        for (int k = 1; k <= terms; ++k) {
            const double even = std::pow(x, -2.0 * k);
            const double odd = std::pow(x, -2.0 * k - 1.0);
            p0 += kJ0P[k - 1] * even;
            q0 += kJ0Q[k - 1] * odd;
            p1 += kJ1P[k - 1] * even;
            q1 += kJ1Q[k - 1] * odd;
        }
        const double cu = std::sqrt(kTwoOverPi / x);
        const double t1 = x - kQuarterPi;
        j0 = cu * (p0 * std::cos(t1) - q0 * std::sin(t1));
        y0 = cu * (p0 * std::sin(t1) + q0 * std::cos(t1));
        const double t2 = x - kThreeQuarterPi;
        j1 = cu * (p1 * std::cos(t2) - q1 * std::sin(t2));
        y1 = cu * (p1 * std::sin(t2) + q1 * std::cos(t2));
    }
    dj0 = -j1;
    dj1 = j0 - j1 / x;
    dy0 = -y1;
    dy1 = y0 - y1 / x;
}

void BesselJYN(double n, double x, int& nm, std::vector<double>& j, std::vector<double>& dj,
               std::vector<double>& y, std::vector<double>& dy)
{
    const int top = arrayTop(n);
    if (x < 0.0) {
        // Jk(-x) = (-1)^k Jk(x) and Jk'(-x) = (-1)^(k+1) Jk'(x); Y has no real value here.
        BesselJYN(n, -x, nm, j, dj, y, dy);
        applyParity(j, 0);
        applyParity(dj, 1);
        std::fill(y.begin(), y.end(), kNaN);
        std::fill(dy.begin(), dy.end(), kNaN);
        return;
    }
    clearArrays(top, j, dj, y, dy);
    nm = top;

    if (x < 1e-100) {
        for (int k = 0; k <= top && k <= n; ++k) {
            y[k] = -kInfinity;
            dy[k] = kInfinity;
        }
        j[0] = 1.0;
        dj[1] = 0.5;
        return;
    }

    double j0, dj0, j1, dj1, y0, dy0, y1, dy1;
    BesselJY01(x, j0, dj0, j1, dj1, y0, dy0, y1, dy1);
    j[0] = j0;
    dj[0] = dj0;
    j[1] = j1;
    dj[1] = dj1;
    y[0] = y0;
    dy[0] = dy0;
    y[1] = y1;
    dy[1] = dy1;
    if (n <= 1.0) {
        return;
    }

    if (n < std::floor(0.9 * x)) {
        for (int k = 2; k <= top && k <= n; ++k) {
            j[k] = 2.0 * (k - 1.0) / x * j[k - 1] - j[k - 2];
        }
    } else {
        int m = BackwardStartAll(x, 200);
        if (m < n) {
            nm = m;
        } else {
            m = BackwardStartOrder(x, n, 15);
        }
        double f2 = 0.0;
        double f1 = 1e-100;
        double f = 0.0;
        for (int k = m; k >= 0; --k) {
            f = 2.0 * (k + 1.0) / x * f1 - f2;
            if (k <= nm) {
                j[k] = f;
            }
            f2 = f1;
            f1 = f;
        }
        const double scale = std::fabs(j0) > std::fabs(j1) ? j0 / f : j1 / f2;
        for (int k = 0; k <= nm; ++k) {
            j[k] *= scale;
        }
    }
    for (int k = 2; k <= nm; ++k) {
        dj[k] = j[k - 1] - k / x * j[k];
    }
    for (int k = 2; k <= nm; ++k) {
        y[k] = 2.0 * (k - 1.0) / x * y[k - 1] - y[k - 2];
    }
    for (int k = 2; k <= nm; ++k) {
        dy[k] = y[k - 1] - k * y[k] / x;
    }
}

void BesselIK01(double x, double& i0, double& di0, double& i1, double& di1, double& k0, double& dk0,
                double& k1, double& dk1)
{
    if (x < 0.0) {
        // I0 is even and I1 odd; K has no real value here.
        BesselIK01(-x, i0, di0, i1, di1, k0, dk0, k1, dk1);
        i1 = -i1;
        di0 = -di0;
        k0 = dk0 = k1 = dk1 = kNaN;
        return;
    }
    if (x == 0.0) {
        i0 = 1.0;
        di0 = 0.0;
        i1 = 0.0;
        di1 = 0.5;
        k0 = k1 = kInfinity;
        dk0 = dk1 = -kInfinity;
        return;
    }
    using namespace besseltables;
    const double x2 = x * x;
    if (x <= 18.0) {
        i0 = 1.0;
        double r = 1.0;
        for (int k = 1; k <= 50; ++k) {
            r = 0.25 * r * x2 / (static_cast<double>(k) * k);
            i0 += r;
            if (std::fabs(r / i0) < kEps) {
                break;
            }
        }
        i1 = 1.0;
        r = 1.0;
        for (int k = 1; k <= 50; ++k) {
            r = 0.25 * r * x2 / (k * (k + 1.0));
            i1 += r;
            if (std::fabs(r / i1) < kEps) {
                break;
            }
        }
        i1 = 0.5 * x * i1;
    } else {
        int terms = 12;
        if (x >= 35.0) {
            terms = 9;
        }
        if (x >= 50.0) {
            terms = 7;
        }
        const double ca = std::exp(x) / std::sqrt(kTwoPi * x);
        i0 = 1.0;
        i1 = 1.0;
        for (int k = 1; k <= terms; ++k) {
            const double xk = std::pow(x, -static_cast<double>(k));
            i0 += kI0[k - 1] * xk;
            i1 += kI1[k - 1] * xk;
        }
        i0 = ca * i0;
        i1 = ca * i1;
    }

    if (x <= 9.0) {
        const double ct = -(std::log(x / 2.0) + kEuler);
        double sum = 0.0;
        double previous = 0.0;
        double w0 = 0.0;
        double r = 1.0;
        for (int k = 1; k <= 50; ++k) {
            w0 += 1.0 / k;
            r = 0.25 * r / (static_cast<double>(k) * k) * x2;
            sum += r * (w0 + ct);
            if (std::fabs((sum - previous) / sum) < kEps) {
                break;
            }
            previous = sum;
        }
        k0 = sum + ct;
    } else {
        double sum = 1.0;
        for (int k = 1; k <= 8; ++k) {
            sum += kI0K0[k - 1] * std::pow(x, -2.0 * k);
        }
        k0 = 0.5 / x * sum / i0;
    }
    k1 = (1.0 / x - i1 * k0) / i0;
    di0 = i1;
    di1 = i0 - i1 / x;
    dk0 = -k1;
    dk1 = -k0 - k1 / x;
}

void BesselIKN(double n, double x, int& nm, std::vector<double>& i, std::vector<double>& di,
               std::vector<double>& k, std::vector<double>& dk)
{
    const int top = arrayTop(n);
    if (x < 0.0) {
        BesselIKN(n, -x, nm, i, di, k, dk);
        applyParity(i, 0);
        applyParity(di, 1);
        std::fill(k.begin(), k.end(), kNaN);
        std::fill(dk.begin(), dk.end(), kNaN);
        return;
    }
    clearArrays(top, i, di, k, dk);
    nm = top;

    if (x <= 1e-100) {
        for (int m = 0; m <= top && m <= n; ++m) {
            k[m] = kInfinity;
            dk[m] = -kInfinity;
        }
        i[0] = 1.0;
        di[1] = 0.5;
        return;
    }

    double i0, di0, i1, di1, k0, dk0, k1, dk1;
    BesselIK01(x, i0, di0, i1, di1, k0, dk0, k1, dk1);
    i[0] = i0;
    di[0] = di0;
    i[1] = i1;
    di[1] = di1;
    k[0] = k0;
    dk[0] = dk0;
    k[1] = k1;
    dk[1] = dk1;
    if (n <= 1.0) {
        return;
    }

    if (x <= 40.0 || std::floor(0.25 * x) <= n) {
        int m = BackwardStartAll(x, 200);
        if (m < n) {
            nm = m;
        } else {
            m = BackwardStartOrder(x, n, 15);
        }
        double f0 = 0.0;
        double f1 = 1e-100;
        double f = 0.0;
        for (int order = m; order >= 0; --order) {
            f = 2.0 * (order + 1.0) * f1 / x + f0;
            if (order <= nm) {
                i[order] = f;
            }
            f0 = f1;
            f1 = f;
        }
        const double scale = i0 / f;
        for (int order = 0; order <= nm; ++order) {
            i[order] *= scale;
        }
    } else {
        for (int order = 2; order <= top && order <= n; ++order) {
            i[order] = -2.0 * (order - 1.0) / x * i[order - 1] + i[order - 2];
        }
    }
    for (int order = 2; order <= nm; ++order) {
        k[order] = 2.0 * (order - 1.0) / x * k[order - 1] + k[order - 2];
    }
    for (int order = 2; order <= nm; ++order) {
        di[order] = i[order - 1] - order / x * i[order];
        dk[order] = -k[order - 1] - order / x * k[order];
    }
}

void CosSinIntegral(double x, double& ci, double& si)
{
    if (x < 0.0) {
        // Si is odd; Ci has no real value here.
        CosSinIntegral(-x, ci, si);
        si = -si;
        ci = kNaN;
        return;
    }
    if (x == 0.0) {
        ci = -kInfinity;
        si = 0.0;
        return;
    }
    const double x2 = x * x;
    if (x <= 16.0) {
        double xr = -0.25 * x2;
        ci = kEuler + std::log(x) + xr;
        for (int k = 2; k <= 40; ++k) {
            xr = -0.5 * xr * (k - 1.0) / (static_cast<double>(k) * k * (2.0 * k - 1.0)) * x2;
            ci += xr;
            if (std::fabs(xr) < std::fabs(ci) * kEps) {
                break;
            }
        }
        xr = x;
        si = x;
        for (int k = 1; k <= 40; ++k) {
            xr = -0.5 * xr * (2.0 * k - 1.0) / k / (4.0 * k * k + 4.0 * k + 1.0) * x2;
            si += xr;
            if (std::fabs(xr) < std::fabs(si) * kEps) {
                break;
            }
        }
    } else if (x <= 32.0) {
        // Spherical Bessel values by backward recurrence, normalised by their sum.
        const int m = static_cast<int>(std::floor(47.2 + 0.82 * x));
        double bj[102] = {};
        double xa1 = 0.0;
        double xa0 = 1e-100;
        for (int k = m; k >= 1; --k) {
            const double xa = 4.0 * k * xa0 / x - xa1;
            bj[k] = xa;
            xa1 = xa0;
            xa0 = xa;
        }
        double xs = bj[1];
        for (int k = 3; k <= m; k += 2) {
            xs += 2.0 * bj[k];
        }
        for (int k = 1; k <= m; ++k) {
            bj[k] /= xs;
        }
        double xr = 1.0;
        double xg1 = bj[1];
        for (int k = 2; k <= m; ++k) {
            const double u = 2.0 * k - 3.0;
            const double v = 2.0 * k - 1.0;
            xr = 0.25 * xr * u * u / ((k - 1.0) * v * v) * x;
            xg1 += bj[k] * xr;
        }
        xr = 1.0;
        double xg2 = bj[1];
        for (int k = 2; k <= m; ++k) {
            const double u = 2.0 * k - 5.0;
            const double v = 2.0 * k - 3.0;
            xr = 0.25 * xr * u * u / ((k - 1.0) * v * v) * x;
            xg2 += bj[k] * xr;
        }
        const double xcs = std::cos(x / 2.0);
        const double xss = std::sin(x / 2.0);
        ci = kEuler + std::log(x) - x * xss * xg1 + 2.0 * xcs * xg2 - 2.0 * xcs * xcs;
        si = x * xcs * xg1 + 2.0 * xss * xg2 - std::sin(x);
    } else {
        double xr = 1.0;
        double xf = 1.0;
        for (int k = 1; k <= 9; ++k) {
            xr = -2.0 * xr * k * (2.0 * k - 1.0) / x2;
            xf += xr;
        }
        xr = 1.0 / x;
        double xg = xr;
        for (int k = 1; k <= 8; ++k) {
            xr = -2.0 * xr * (2.0 * k + 1.0) * k / x2;
            xg += xr;
        }
        ci = xf * std::sin(x) / x - xg * std::cos(x) / x;
        si = kPi / 2.0 - xf * std::cos(x) / x - xg * std::sin(x) / x;
    }
}

void FresnelCS(double x, double& c, double& s)
{
    const double xa = std::fabs(x);
    const double px = kPi * xa;
    const double t = 0.5 * px * xa;
    const double t2 = t * t;
    if (xa == 0.0) {
        c = 0.0;
        s = 0.0;
    } else if (xa < 2.5) {
        double r = xa;
        c = r;
        for (int k = 1; k <= 50; ++k) {
            r = -0.5 * r * (4.0 * k - 3.0) / k / (2.0 * k - 1.0) / (4.0 * k + 1.0) * t2;
            c += r;
            if (std::fabs(r) < std::fabs(c) * kEps) {
                break;
            }
        }
        s = xa * t / 3.0;
        r = s;
        for (int k = 1; k <= 50; ++k) {
            r = -0.5 * r * (4.0 * k - 1.0) / k / (2.0 * k + 1.0) / (4.0 * k + 3.0) * t2;
            s += r;
            if (std::fabs(r) < std::fabs(s) * kEps) {
                break;
            }
        }
    } else if (xa < 4.5) {
        const int m = static_cast<int>(std::floor(42.0 + 1.75 * t));
        double su = 0.0;
        c = 0.0;
        s = 0.0;
        double f1 = 0.0;
        double f0 = 1e-100;
        for (int k = m; k >= 0; --k) {
            const double f = (2.0 * k + 3.0) * f0 / t - f1;
            if (k % 2 == 0) {
                c += f;
            } else {
                s += f;
            }
            su += (2.0 * k + 1.0) * f * f;
            f1 = f0;
            f0 = f;
        }
        const double q = std::sqrt(su);
        c = c * xa / q;
        s = s * xa / q;
    } else {
        double r = 1.0;
        double f = 1.0;
        for (int k = 1; k <= 20; ++k) {
            r = -0.25 * r * (4.0 * k - 1.0) * (4.0 * k - 3.0) / t2;
            f += r;
        }
        r = 1.0 / (px * xa);
        double g = r;
        for (int k = 1; k <= 12; ++k) {
            r = -0.25 * r * (4.0 * k + 1.0) * (4.0 * k - 1.0) / t2;
            g += r;
        }
        const double t0 = t - std::floor(t / kTwoPi) * kTwoPi;
        c = 0.5 + (f * std::sin(t0) - g * std::cos(t0)) / px;
        s = 0.5 - (f * std::cos(t0) + g * std::sin(t0)) / px;
    }
    if (x < 0.0) {
        c = -c;
        s = -s;
    }
}

} // namespace supplink
