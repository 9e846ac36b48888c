#include "DateModel.h"

#include "IntlPort.h"

#include <algorithm>
#include <cmath>

namespace lzdate {
namespace {

DateModelHost g_noHost;

bool inPutRange(double x, double max)
{
    return std::isfinite(x) && x >= kValuePutMin && x <= max;
}

} // namespace

DateModel::DateModel(DateModelHost *host, IntlPort *port) : host_(host ? host : &g_noHost), port_(port)
{
    displayCode_ = this->port().doubleByteCodePage() ? 19 : 2;
}

IntlPort &DateModel::port() const
{
    return port_ ? *port_ : intlPort();
}

void DateModel::fireChange()
{
    if (changeEvents_)
        host_->changeEvent();
}

void DateModel::dirty()
{
    host_->setDirty();
}

void DateModel::setRaw(double value, Status status)
{
    value_ = std::isfinite(value) ? value : 0.0;
    status_ = status;
}

// ---------------------------------------------------------------- value

void DateModel::setValueFromNumber(double x)
{
    if (x == 0.0) {
        status_ = Status::Null;
        rebuild(false);
        return;
    }
    Ymd d;
    double day = 0.0;
    if (ymdFromOle(x, d) && oleFromYmd(d, day)) {
        double stored = day;
        if (timeStore_ && oleHasTime(x))
            stored = oleCombine(day, oleTimePart(value_));
        status_ = Status::Valid;
        if (stored != value_) {
            value_ = stored;
            dirty();
        }
    }
    rebuild(false);
}

void DateModel::putValue(double x)
{
    if (!inPutRange(x, kValuePutMax))
        x = 0.0;
    if (host_->requestBoundEdit()) {
        setValueFromNumber(x);
        selStart_ = 0;
        selEnd_ = caret_ = static_cast<int>(text_.size());
        host_->boundChanged();
    }
    fireChange();
    dirty();
}

void DateModel::putVariantDate(double x)
{
    if (!inPutRange(x, kVariantPutMax))
        x = 0.0;
    if (host_->requestBoundEdit()) {
        setValueFromNumber(x);
        selStart_ = 0;
        selEnd_ = caret_ = static_cast<int>(text_.size());
        putValue(x);
        host_->boundChanged();
    }
    dirty();
    fireChange();
}

void DateModel::setPart(FieldKind kind, int n)
{
    const Status old = status_;
    status_ = Status::Valid;
    Ymd d;
    if (!ymdFromOle(value_, d)) {
        status_ = old;
        return;
    }
    int &part = kind == FieldYear ? d.year : kind == FieldMonth ? d.month : d.day;
    if (part != n) {
        part = n;
        double nd = 0.0;
        if (!oleFromYmd(d, nd)) {
            status_ = old;
            return;
        }
        if (timeStore_)
            nd = oleCombine(nd, oleTimePart(value_));
        value_ = nd;
        dirty();
    }
    rebuild(false);
}

bool DateModel::readText(const QString &text, Ymd &out) const
{
    Ymd f = readDateFields(text.left(kMaxChars), fieldOrder_);
    const int heldYear = year();
    if (f.year < 0) { // no year typed: the held one, or this year when none is held
        Ymd today;
        f.year = heldYear >= 0 ? heldYear : ymdFromOle(port().now(), today) ? today.year : 2000;
    }
    if (f.year < 100) {
        if (heldYear >= 0)
            f.year += heldYear / 100 * 100;
        if (f.year < 100)
            f.year += f.year < 38 ? 2000 : 1900;
    }
    out = f;
    return f.day >= 1 && f.day <= 31 && f.month >= 1 && f.month <= 12 && f.year <= 9999;
}

void DateModel::putDateString(const QString &text)
{
    if (!host_->requestBoundEdit())
        return;
    Ymd f;
    if (readText(text, f)) {
        double nd = 0.0;
        if (oleFromYmd(f, nd)) {
            value_ = nd;
            status_ = Status::Valid;
        }
    } else {
        status_ = Status::Null;
        value_ = 0.0;
    }
    fireChange();
    rebuild(true);
    host_->boundChanged();
}

void DateModel::applyValueReset(int valueReset)
{
    if (valueReset != 1)
        value_ = port().now();
    status_ = valueReset == 2 ? Status::Null : Status::Valid;
    rebuild(true);
}

int DateModel::year() const
{
    Ymd d;
    return status_ == Status::Valid && ymdFromOle(value_, d) ? d.year : -1;
}

int DateModel::month() const
{
    Ymd d;
    return status_ == Status::Valid && ymdFromOle(value_, d) ? d.month : -1;
}

int DateModel::day() const
{
    Ymd d;
    return status_ == Status::Valid && ymdFromOle(value_, d) ? d.day : -1;
}

int DateModel::dayOfWeek() const
{
    return year() >= 0 ? oleDayOfWeek(value_) : -1;
}

int DateModel::dayOfYear() const
{
    return year() >= 0 ? oleDayOfYear(value_) : -1;
}

int DateModel::weekOfYear() const
{
    const int doy = dayOfYear();
    return doy >= 0 ? doy / 7 + 1 : -1;
}

int DateModel::heldCentury() const
{
    int y = year();
    if (y < 0) {
        Ymd today;
        y = ymdFromOle(port().now(), today) ? today.year : 2000;
    }
    return y / 100 * 100;
}

// ---------------------------------------------------------------- format

void DateModel::loadDateFormat(int dateFormat)
{
    dateFormat_ = dateFormat >= 0 && dateFormat < kDateFormatCount ? dateFormat : 0;
    computeDisplayCode();
}

void DateModel::putDateFormat(int dateFormat)
{
    loadDateFormat(dateFormat);
    rebuild(true);
    dirty();
}

void DateModel::computeDisplayCode()
{
    displayCode_ = displayCodeForFormat(dateFormat_, port());
    fieldOrder_ = fieldOrderFor(displayCode_);
}

void DateModel::loadSeparator(const QString &separator)
{
    separator_ = validateSeparator(separator);
}

void DateModel::putSeparator(const QString &separator)
{
    if (separatorDefault_) {
        separator_ = systemSeparator(port());
        return;
    }
    separator_ = validateSeparator(separator);
    rebuild(true);
    dirty();
}

void DateModel::putSeparatorDefault(bool on)
{
    separatorDefault_ = on;
    if (on)
        separator_ = systemSeparator(port());
    rebuild(true);
    dirty();
}

// ---------------------------------------------------------------- text

void DateModel::rebuild(bool selectionPolicy)
{
    const int code = displayCode_;
    const QChar sep = textSeparator(code, separator_);
    fieldOrder_ = fieldOrderFor(code);
    Ymd d;
    if (status_ != Status::Valid || !ymdFromOle(value_, d) || d.day <= 0)
        text_ = codeLong(code) || !focus_ ? nullString_ : blankDateText(code, sep);
    else
        text_ = formatDate(code, d, oleDayOfWeek(value_), sep, port());

    const int len = static_cast<int>(text_.size());
    if (selectionPolicy) {
        if (selectionPersistence_ == 0) {
            selStart_ = selEnd_ = 0;
        } else if (selectionPersistence_ == 2) {
            selStart_ = 0;
            selEnd_ = len;
        }
        selEnd_ = std::clamp(selEnd_, 0, len);
        selStart_ = std::clamp(selStart_, 0, selEnd_);
        caret_ = selEnd_;
    } else {
        selEnd_ = std::clamp(selEnd_, 0, len);
        selStart_ = std::clamp(selStart_, 0, len);
        caret_ = std::clamp(caret_, 0, len);
    }
    host_->repaint();
}

void DateModel::setSelection(int start, int end)
{
    const int len = static_cast<int>(text_.size());
    start = std::max(start, 0);
    end = std::clamp(end, 0, len); // a negative end would index before the text
    caret_ = selEnd_ = end;
    selStart_ = std::min(start, end);
}

void DateModel::setEditText(const QString &text)
{
    text_ = text;
    setCaretAndSelection(caret_, selStart_, selEnd_);
    host_->repaint();
}

void DateModel::setCaretAndSelection(int caret, int start, int end)
{
    const int len = static_cast<int>(text_.size());
    caret_ = std::clamp(caret, 0, len);
    selStart_ = std::clamp(start, 0, len);
    selEnd_ = std::clamp(end, 0, len);
}

void DateModel::storeDate(double x)
{
    if (!std::isfinite(x) || x == value_)
        return;
    value_ = x;
    dirty();
}

Ymd DateModel::freeFormCheck() const
{
    return freeFormFields(text_, textSeparator(displayCode_, separator_), fieldOrder_);
}

} // namespace lzdate
