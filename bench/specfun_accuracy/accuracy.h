#pragma once
// Small helpers for the accuracy tables: a row collects the largest error of
// one function over one branch of its domain and prints it.

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

namespace supplink::accuracy {

// The error of value against the oracle's reference, relative to
// max(|reference|, floor): a floor above 0 measures absolute error where the
// function passes through zero.
inline double relativeError(double value, double reference, double floor = 0.0)
{
    const double scale = std::fmax(std::fabs(reference), floor);
    if (scale == 0.0) {
        return std::fabs(value);
    }
    return std::fabs(value - reference) / scale;
}

class Row
{
public:
    Row(std::string function, std::string branch)
        : m_function(std::move(function)), m_branch(std::move(branch))
    {
    }

    // One point of a one-argument function; ok = false counts a failed
    // evaluation (reported apart, never as an error figure).
    void add(double x, double value, double reference, double floor = 0.0, bool ok = true)
    {
        add2(x, std::nan(""), value, reference, floor, ok);
    }

    // One point of a two-argument function.
    void add2(double x, double y, double value, double reference, double floor = 0.0, bool ok = true)
    {
        ++m_points;
        if (!ok) {
            ++m_failures;
            return;
        }
        const double e = relativeError(value, reference, floor);
        if (!(e <= m_maxError)) {
            m_maxError = e;
            m_worstX = x;
            m_worstY = y;
        }
    }

    double maxError() const { return m_maxError; }

    void print() const
    {
        char where[64];
        if (std::isnan(m_worstY)) {
            std::snprintf(where, sizeof where, "%.10g", m_worstX);
        } else {
            std::snprintf(where, sizeof where, "%.10g, %.10g", m_worstX, m_worstY);
        }
        std::printf("%-9s %-46s %7d %10.2e  %s%s\n", m_function.c_str(), m_branch.c_str(), m_points,
                    m_maxError, where, m_failures ? "  (failures!)" : "");
    }

    static void printHeader(const char* title)
    {
        std::printf("%s\n", title);
        std::printf("%-9s %-46s %7s %10s  %s\n", "function", "branch / grid", "points", "max error",
                    "worst at");
    }

private:
    std::string m_function;
    std::string m_branch;
    int m_points = 0;
    int m_failures = 0;
    double m_maxError = 0.0;
    double m_worstX = 0.0;
    double m_worstY = std::nan("");
};

} // namespace supplink::accuracy
