#pragma once
// Figures the German way, whatever the system's locale: the one rounding rule and the one German
// number locale of the data layer, the grids, the reports and the program.
//
//     numbers::roundHalfAway(2.675, 2)                 // 2.68
//     numbers::german().toString(1234.5, 'f', 2)        // "1234,50"
//     numbers::german().toDouble(QStringLiteral("12,5"), &ok) // 12.5
#include <QLocale>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace numbers {

// Rounds to the given decimals (0 or more), half away from zero, on the decimal figure as written:
// 2.675 gives 2.68, -0.125 gives -0.13, 2.5 to 0 decimals gives 3. A result of zero is never
// negative (no "-0,00"); NaN and the infinities stay as they are.
inline double roundHalfAway(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    // A whole figure (counts, grams) is its own rounding.
    if (std::fabs(value) < 1e15 && std::trunc(value) == value)
        return value == 0.0 ? 0.0 : value;
    const double factor = std::pow(10.0, decimals);
    // A scaled figure without a fraction (quarter hours, cents) is what the reading back below
    // would give.
    const double scaled = value * factor;
    if (std::fabs(scaled) < 1e15 && scaled == std::trunc(scaled)) {
        const double rounded = scaled / factor;
        return rounded == 0.0 ? 0.0 : rounded;
    }
    // Reading the scaled figure back at 15 significant digits drops the binary representation
    // error (2.675 * 100 is 267.49999999999997), so the half is found where it was written.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", scaled);
    const double rounded = std::round(std::strtod(buffer, nullptr)) / factor;
    return rounded == 0.0 ? 0.0 : rounded;
}

// German (Germany) numbers: a decimal comma; no thousands separator written, and a text with one
// ("1.234,5") is not read as a figure.
inline const QLocale &german()
{
    static const QLocale de = [] {
        QLocale l(QLocale::German, QLocale::Germany);
        l.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
        return l;
    }();
    return de;
}

} // namespace numbers
