#pragma once
// Display texts of report values, the German way whatever the system's locale.
//
// Display formats are written in German notation: "," marks the decimals and "." the thousands.
//     "0"         whole number, no grouping            1234.5  -> "1235"
//     "#.##0"     whole number, thousands grouped      1234.5  -> "1.235"
//     "0,00"      two decimals, no grouping            -3      -> "-3,00"
//     "#.##0,00"  two decimals, thousands grouped      1234.5  -> "1.234,50"
//     "dd.MM.yyyy" (and other day/month/year patterns) a date
// Figures are rounded half away from zero (numbers::roundHalfAway). A value that a number format cannot read as a
// figure, or a date format as a date, is shown as it is; Null and the no-date value 0 of a date
// format show as an empty text.
#include <QString>
#include <QVariant>

#include <optional>

namespace report {

// The text of a value without a display format: texts as they are, numbers with the decimal
// comma, dates as "dd.MM.yyyy", Null as "".
QString PlainText(const QVariant &value);

// The text of a value under a display format; an empty format gives PlainText.
QString FormatValue(const QVariant &value, const QString &format);

// A value read as a figure: numbers, and texts written the German way ("12,50", "1.234,5",
// "-3"). Null, empty and other texts give nothing.
std::optional<double> ToNumber(const QVariant &value);

} // namespace report
