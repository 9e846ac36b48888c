#include "report/format.h"

#include "common/datetext.h"
#include "common/numbers.h"
#include "dao/oledate.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>

#include <cmath>

namespace report {

namespace {

bool isDateFormat(const QString &format)
{
    return format.contains(QLatin1String("dd")) || format.contains(QLatin1String("MM")) ||
           format.contains(QLatin1String("yy"));
}

// A date from a value: a date, an OLE date (number), or a text written day.month.year.
std::optional<QDateTime> toDateTime(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDate: {
        const QDate d = value.toDate();
        return d.isValid() ? std::optional<QDateTime>(QDateTime(d, QTime(0, 0))) : std::nullopt;
    }
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return dt.isValid() ? std::optional<QDateTime>(dt) : std::nullopt;
    }
    case QMetaType::QString: {
        const QString t = value.toString().trimmed();
        for (const char *f : {"d.M.yyyy", "d.M.yy", "d.M.yyyy H:mm:ss", "d.M.yyyy H:mm"}) {
            const QDateTime dt = QDateTime::fromString(t, QString::fromLatin1(f));
            if (dt.isValid())
                return dt;
        }
        return std::nullopt;
    }
    default: break;
    }
    if (const auto n = ToNumber(value)) {
        const QDateTime dt = dao::FromOleDate(*n);
        if (dt.isValid())
            return dt;
    }
    return std::nullopt;
}

struct NumberPattern
{
    bool grouped = false;
    int minDecimals = 0;
    int maxDecimals = 0;
    int minIntegerDigits = 0;
};

std::optional<NumberPattern> numberPattern(const QString &format)
{
    static const QRegularExpression shape(QStringLiteral("^[#0.]*(,[#0]*)?$"));
    if (format.isEmpty() || !shape.match(format).hasMatch() || !format.contains(QLatin1Char('0')))
        return std::nullopt;
    NumberPattern p;
    const int comma = format.indexOf(QLatin1Char(','));
    const QString whole = comma < 0 ? format : format.left(comma);
    const QString decimals = comma < 0 ? QString() : format.mid(comma + 1);
    p.grouped = whole.contains(QLatin1Char('.'));
    p.minIntegerDigits = int(whole.count(QLatin1Char('0')));
    p.minDecimals = int(decimals.count(QLatin1Char('0')));
    p.maxDecimals = int(decimals.size());
    return p;
}

QString groupThousands(const QString &digits)
{
    QString out;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char('.');
        out += digits.at(i);
    }
    return out;
}

QString formatNumber(double value, const NumberPattern &p)
{
    const double rounded = numbers::roundHalfAway(value, p.maxDecimals);
    QString text = QString::number(std::fabs(rounded), 'f', p.maxDecimals);
    QString whole = text;
    QString decimals;
    if (const int dot = int(text.indexOf(QLatin1Char('.'))); dot >= 0) {
        whole = text.left(dot);
        decimals = text.mid(dot + 1);
    }
    while (decimals.size() > p.minDecimals && decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);
    if (whole == QLatin1String("0") && p.minIntegerDigits == 0)
        whole.clear();
    while (whole.size() < p.minIntegerDigits)
        whole.prepend(QLatin1Char('0'));
    if (p.grouped)
        whole = groupThousands(whole);
    QString out = whole;
    if (!decimals.isEmpty())
        out += QLatin1Char(',') + decimals;
    if (rounded < 0)
        out.prepend(QLatin1Char('-'));
    return out;
}

} // namespace

std::optional<double> ToNumber(const QVariant &value)
{
    // The values of number columns, read without a conversion through the meta-type system.
    switch (value.typeId()) {
    case QMetaType::LongLong: return double(*static_cast<const qlonglong *>(value.constData()));
    case QMetaType::Double: {
        const double d = *static_cast<const double *>(value.constData());
        return std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
    }
    default: break;
    }
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        return std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
    }
    case QMetaType::Bool: return value.toBool() ? -1.0 : 0.0;
    case QMetaType::QString: {
        static const QRegularExpression shape(
            QStringLiteral("^\\s*([-+]?)(\\d{1,3}(?:\\.\\d{3})+|\\d+)?(?:,(\\d+))?\\s*$"));
        const QRegularExpressionMatch m = shape.match(value.toString());
        if (!m.hasMatch() || (m.capturedLength(2) == 0 && m.capturedLength(3) == 0))
            return std::nullopt;
        QString plain = m.captured(2).remove(QLatin1Char('.'));
        if (plain.isEmpty())
            plain = QStringLiteral("0");
        if (m.capturedLength(3) > 0)
            plain += QLatin1Char('.') + m.captured(3);
        bool ok = false;
        const double d = plain.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            return std::nullopt;
        return m.captured(1) == QLatin1String("-") ? -d : d;
    }
    default: return std::nullopt;
    }
}

QString PlainText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QString: return value.toString();
    case QMetaType::Double:
    case QMetaType::Float: return numbers::german().toString(value.toDouble(), 'g', 15);
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
    case QMetaType::QDate: return datetext::date(value.toDate());
    case QMetaType::QDateTime: return datetext::dateTime(value.toDateTime());
    default: return value.toString();
    }
}

QString FormatValue(const QVariant &value, const QString &format)
{
    if (format.isEmpty())
        return PlainText(value);
    if (!value.isValid() || value.isNull())
        return QString();
    if (const auto pattern = numberPattern(format)) {
        if (const auto n = ToNumber(value))
            return formatNumber(*n, *pattern);
        return PlainText(value);
    }
    if (isDateFormat(format)) {
        if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())
            return QString();
        if (const auto n = ToNumber(value); n && *n == dao::kNoDate)
            return QString();
        if (const auto dt = toDateTime(value))
            return dt->toString(format);
        return PlainText(value);
    }
    return PlainText(value);
}

} // namespace report
