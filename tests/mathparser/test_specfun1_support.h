#pragma once
// Helpers shared by the special-function tests: error measures and grids.

#include <QByteArray>
#include <QtTest>

#include <cmath>
#include <vector>

namespace supplink::test {

// |value - reference| relative to max(|reference|, floor).
inline double relError(double value, double reference, double floor = 0.0)
{
    const double scale = std::fmax(std::fabs(reference), floor);
    return scale == 0.0 ? std::fabs(value) : std::fabs(value - reference) / scale;
}

inline QByteArray mismatch(const char* what, double x, double value, double reference, double tolerance)
{
    return QByteArray(what) + " at " + QByteArray::number(x, 'g', 17) + ": " +
           QByteArray::number(value, 'g', 17) + " against " + QByteArray::number(reference, 'g', 17) +
           " (tolerance " + QByteArray::number(tolerance, 'g', 3) + ", error " +
           QByteArray::number(relError(value, reference), 'g', 3) + ")";
}

// n + 1 points from a to b.
inline std::vector<double> linearGrid(double a, double b, int n)
{
    std::vector<double> v;
    for (int i = 0; i <= n; ++i) {
        v.push_back(a + (b - a) * i / n);
    }
    return v;
}

// n + 1 points from a to b (both > 0), evenly spaced in the logarithm.
inline std::vector<double> logGrid(double a, double b, int n)
{
    std::vector<double> v;
    for (int i = 0; i <= n; ++i) {
        const double t = static_cast<double>(i) / n;
        v.push_back(i == n ? b : std::exp(std::log(a) + t * (std::log(b) - std::log(a))));
    }
    return v;
}

} // namespace supplink::test

// Compares value with reference to a relative tolerance (absolute below floor).
#define SPEC_COMPARE(what, x, value, reference, tolerance, floor)                                            \
    QVERIFY2(supplink::test::relError((value), (reference), (floor)) <= (tolerance),                         \
             supplink::test::mismatch((what), (x), (value), (reference), (tolerance)).constData())

// Exact comparison of doubles (QCOMPARE treats doubles as equal within 1e-12).
#define SPEC_EXACT(actual, expected)                                                                         \
    QVERIFY2((actual) == (expected), (QByteArray(#actual " is ") + QByteArray::number((actual), 'g', 17) +   \
                                      ", expected " + QByteArray::number((expected), 'g', 17))               \
                                         .constData())
