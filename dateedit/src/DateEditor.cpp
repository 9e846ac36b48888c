#include "DateEditor.h"

#include "IntlPort.h"

#include <algorithm>

namespace lzdate {
namespace {

constexpr QChar kBlank(u' ');

bool fourDigitYear(int code)
{
    return codeHasYear(code) && !codeTwoDigitYear(code);
}

// Holds change events back while it lives and restores the previous state.
class ChangeEventsHeld
{
public:
    explicit ChangeEventsHeld(DateModel &m) : m_(m), was_(m.changeEventsEnabled()) { m_.setChangeEventsEnabled(false); }
    ~ChangeEventsHeld() { m_.setChangeEventsEnabled(was_); }

private:
    DateModel &m_;
    bool was_;
};

} // namespace

DateEditor::DateEditor(DateModel &model, DateEditorHost &host) : model_(model), host_(host)
{}

QChar DateEditor::sep() const
{
    return textSeparator(code(), model_.separatorChar());
}

bool DateEditor::isSep(QChar c) const
{
    return isSeparatorChar(c, sep());
}

bool DateEditor::numeric() const
{
    return !codeLong(code());
}

DateEditor::Field DateEditor::fieldAt(const QString &t, int pos) const
{
    const int len = int(t.size());
    pos = std::clamp(pos, 0, len);
    Field f;
    f.start = pos;
    while (f.start > 0 && !isSep(t[f.start - 1]))
        --f.start;
    f.end = pos;
    while (f.end < len && !isSep(t[f.end]))
        ++f.end;
    for (int i = 0; i < f.start; ++i)
        if (isSep(t[i]))
            ++f.index;
    f.kind = f.index < 3 ? fieldKindAt(model_.fieldOrder(), f.index) : FieldNone;
    return f;
}

int DateEditor::fieldMaxLength(const Field &f) const
{
    return f.kind == FieldYear && fourDigitYear(code()) ? 4 : 2;
}

int DateEditor::fieldMaxValue(const Field &f) const
{
    switch (f.kind) {
    case FieldMonth: return 12;
    case FieldDay: return 31;
    case FieldYear: return codeTwoDigitYear(code()) ? 99 : 9999;
    default: return 9999;
    }
}

// ---------------------------------------------------------------- characters

void DateEditor::character(QChar c)
{
    const bool selection = model_.selStart() != model_.selEnd();
    const bool digit = isDigitChar(c);
    if (selection) {
        if (digit)
            replaceSelection(Typed::Digit, c);
        else if (c == kBlank)
            replaceSelection(Typed::Blank, c);
        else
            replaceSelection(std::nullopt, c);
        return;
    }
    if (isSep(c)) {
        jumpToNextField();
        return;
    }
    if (digit)
        typeAt(Typed::Digit, c);
    else if (c == kBlank)
        typeAt(Typed::Blank, c);
    else if (!host_.editEnabled() || !numeric())
        host_.beep(); // a disabled control or a long format refuses every character
}

void DateEditor::typeAt(Typed kind, QChar digit, bool forceInsert)
{
    if (!host_.editEnabled() || !numeric()) {
        host_.beep();
        return;
    }
    QString t = model_.text();
    int caret = std::clamp(model_.caret(), 0, int(t.size()));
    bool forceOverwrite = false;

    if (caret < t.size() && isSep(t[caret])) {
        if (kind != Typed::Digit)
            return;
        if (caret > 0 && t[caret - 1] == kBlank) {
            --caret; // the digit overwrites the blank before the separator
            forceOverwrite = true;
        } else if (caret == 1) {
            forceInsert = true;
        } else if (fieldAt(t, caret).length() >= 2) {
            ++caret; // on into the next field
        } else {
            forceInsert = true; // a separator is never typed over
        }
    }
    if (caret < t.size() && t[caret] == kBlank) {
        if (kind == Typed::Delete)
            return;
        if (kind == Typed::Digit) {
            while (caret > 0 && t[caret - 1] == kBlank)
                --caret;
            forceOverwrite = true;
        }
    }
    Field f = fieldAt(t, caret);
    const int c = code();

    switch (kind) {
    case Typed::Digit: {
        const bool overwrite = forceOverwrite || (!forceInsert && host_.editMode() == 0);
        if (overwrite && caret < t.size() && !isSep(t[caret]))
            t[caret] = digit;
        else
            t.insert(caret, digit);
        f = fieldAt(t, caret);
        const int maxLen = fieldMaxLength(f);
        if (f.length() > maxLen) { // the extra character at the field's end is dropped
            t.remove(f.start + maxLen, f.length() - maxLen);
            f = fieldAt(t, caret);
        }
        if (!host_.freeFormEntry()) {
            const int n = readDateFields(t.mid(f.start, f.length()), FieldDay).day;
            const int max = fieldMaxValue(f);
            if (n > max) {
                const QString m = QString::number(max);
                t.replace(f.start, f.length(), m);
                f = fieldAt(t, f.start);
                host_.beep();
            }
        }
        caret = std::min(caret + 1, int(t.size()));
        if (caret < t.size() && isSep(t[caret]) && fieldAt(t, caret).length() >= 2)
            ++caret;
        break;
    }
    case Typed::Blank: {
        if (c >= 24 && c <= 27) {
            typeAt(Typed::Delete, digit);
            return;
        }
        const int n = f.kind == FieldYear && fourDigitYear(c) ? 4 : codePadded(c) ? 2 : 1;
        t.replace(f.start, f.length(), QString(n, kBlank));
        caret = f.start;
        break;
    }
    case Typed::Delete: {
        if (caret >= t.size())
            return;
        if (f.kind == FieldYear) {
            if (c >= 8 && c <= 19) {
                t.remove(caret, 1);
            } else if (c >= 24 && c <= 27) {
                t[caret] = kBlank;
            } else if (caret + 1 < t.size() && isDigitChar(t[caret + 1])) {
                t.remove(caret, 1);
                t.append(kBlank);
            } else {
                t[caret] = kBlank;
            }
        } else if (codePadded(c)) {
            t[caret] = kBlank;
        } else if (f.length() > 1) {
            t.remove(caret, 1);
        } else {
            t[caret] = kBlank;
        }
        break;
    }
    }
    model_.setEditText(t);
    model_.setCaretAndSelection(caret, caret, caret);
    typed_ = true;
    liveCommit();
}

void DateEditor::replaceSelection(std::optional<Typed> kind, QChar digit)
{
    if (!host_.editEnabled() || !numeric() || !kind) {
        host_.beep();
        return;
    }
    const int start = std::min(model_.selStart(), model_.selEnd());
    const int end = std::max(model_.selStart(), model_.selEnd());
    const QString before = model_.text();
    {
        ChangeEventsHeld held(model_);
        for (int i = end - 1; i >= start; --i) {
            model_.setCaretAndSelection(i, i, i);
            typeAt(Typed::Delete, QChar());
        }
        model_.setCaretAndSelection(start, start, start);
        if (*kind != Typed::Delete)
            typeAt(*kind, digit, true); // typed in insert mode
    }
    // One Change for the whole replacement (the commits above were held back).
    if (model_.text() != before)
        model_.fireChange();
}

void DateEditor::jumpToNextField()
{
    QString t = model_.text();
    const int len = int(t.size());
    int caret = model_.caret();
    if (!host_.editEnabled() || !numeric() || caret <= 0 || caret >= len - 1) {
        host_.beep();
        return;
    }
    if (isSep(t[caret])) {
        ++caret;
    } else if (isSep(t[caret + 1]) && isDigitChar(t[caret - 1])) {
        typeAt(Typed::Delete, QChar());
        t = model_.text();
        caret = model_.caret();
        if (!codePadded(code())) {
            ++caret;
        } else {
            while (caret < t.size() && !isSep(t[caret]))
                ++caret;
            ++caret;
        }
    } else {
        host_.beep();
        return;
    }
    model_.setCaretAndSelection(caret, caret, caret);
    liveCommit();
}

// ---------------------------------------------------------------- commits

DateEditor::Typed3 DateEditor::readTyped()
{
    const int c = code();
    const Ymd typed = freeFormFields(model_.text(), sep(), model_.fieldOrder());
    Typed3 r;
    r.typedYear = typed.year;
    r.month = typed.month;
    r.day = typed.day;
    int y = typed.year;
    if (!codeHasYear(c)) {
        // The held value's year; a control without a valid value takes this year.
        Ymd held;
        if (model_.status() == Status::Valid && ymdFromOle(model_.date(), held))
            y = held.year;
        else
            y = ymdFromOle(model_.port().now(), held) ? held.year : 2000;
    } else if (codeTwoDigitYear(c)) {
        if (y >= 0 && y <= 99) {
            long century = model_.heldCentury();
            host_.getCentury(y, century);
            y = int(std::clamp<long>(y + century, -1, 99999));
        }
    } else if (y <= 99) {
        Ymd today;
        long century = ymdFromOle(model_.port().now(), today) ? today.year / 100 * 100 : 2000;
        host_.getCentury(y, century);
        y = int(std::clamp<long>(y == -1 ? century : y + century, -1, 99999));
    }
    r.year = y;
    return r;
}

void DateEditor::store(double day)
{
    double x = day;
    if (model_.timeStore())
        x = oleCombine(day, oleTimePart(model_.date()));
    model_.storeDate(x);
}

void DateEditor::liveCommit()
{
    if (!host_.editEnabled() || !numeric())
        return;
    const Status before = model_.status();
    const double held = model_.date();
    const Typed3 t = readTyped();
    model_.setStatus(Status::Valid);
    double nd = 0.0;
    if (oleFromYmd(t.year, t.month, t.day, nd)) {
        store(nd);
        // A date typed over a null or invalid value is a change even when the number is the same.
        if (model_.date() != held || before != Status::Valid)
            model_.fireChange();
    } else {
        model_.fireChange();
        model_.setStatus(t.day > 0 || t.month > 0 || t.year > 0 ? Status::Invalid : Status::Null);
    }
}

QString DateEditor::textFromNumbers(int year, int month, int day) const
{
    const int c = code();
    const bool pad = codePadded(c);
    auto part = [&](int n) {
        if (n < 1)
            return QString(pad ? 2 : 1, kBlank);
        return pad && n < 10 ? QStringLiteral("0%1").arg(n) : QString::number(n);
    };
    QString yearText;
    if (codeHasYear(c)) {
        if (year == -1)
            yearText = QString(codeTwoDigitYear(c) ? 2 : 4, kBlank);
        else if (codeTwoDigitYear(c) && year >= 0 && year < 10)
            yearText = QStringLiteral("0%1").arg(year);
        else
            yearText = QString::number(year);
    }
    QStringList fields;
    for (int i = 0; i < 3; ++i) {
        switch (fieldKindAt(model_.fieldOrder(), i)) {
        case FieldYear: fields << yearText; break;
        case FieldMonth: fields << part(month); break;
        case FieldDay: fields << part(day); break;
        default: break;
        }
    }
    return fields.join(sep());
}

void DateEditor::focusCommit()
{
    if (!typed_ || !host_.editEnabled() || !numeric())
        return;
    typed_ = false;
    Typed3 t = readTyped();
    const bool freeForm = host_.freeFormEntry();
    double nd = 0.0;
    bool exists = oleFromYmd(t.year, t.month, t.day, nd);
    if (!exists && !freeForm) {
        Ymd d{t.year, t.month, t.day};
        if (settleTypedDate(d)) { // 31 April becomes 30 April
            t.day = d.day;
            exists = oleFromYmd(d, nd);
        }
        model_.setStatus(exists ? Status::Valid : Status::Null);
    } else if (exists) {
        model_.setStatus(Status::Valid);
    }
    const int caret = model_.caret();
    model_.setEditText(textFromNumbers(t.typedYear, t.month, t.day));
    model_.setCaretAndSelection(caret, model_.selStart(), model_.selEnd());
    if (exists && t.year > 0)
        store(nd);
}

// ---------------------------------------------------------------- keys

bool DateEditor::grantEdit()
{
    if (editGranted_)
        return true;
    if (!model_.requestBoundEdit())
        return false;
    model_.boundChanged();
    editGranted_ = true;
    return true;
}

void DateEditor::keyDown(int key, bool shift, bool ctrl)
{
    if (shift) {
        selectWith(key);
    } else if (ctrl) {
        if (key == vk::KeyC)
            copy();
        else if (key == vk::KeyV)
            paste();
    } else if (key != 0) {
        navigate(key);
    }
}

void DateEditor::navigate(int key)
{
    switch (key) {
    case vk::Back:
    case vk::Prior:
    case vk::Home:
    case vk::Next:
    case vk::End:
    case vk::Left:
    case vk::Right:
    case vk::Up:
    case vk::Down:
    case vk::Insert:
    case vk::Delete:
    case vk::F4: break;
    default: return;
    }
    if (!grantEdit())
        return;
    const int len = int(model_.text().size());
    const int start = std::min(model_.selStart(), model_.selEnd());
    const int end = std::max(model_.selStart(), model_.selEnd());
    const bool selection = start != end;
    int caret = model_.caret();
    switch (key) {
    case vk::Back:
        if (selection) {
            model_.setCaretAndSelection(end, start, end);
            replaceSelection(Typed::Delete, QChar());
        } else if (caret > 0) {
            model_.setCaretAndSelection(caret - 1, caret - 1, caret - 1);
            typeAt(Typed::Delete, QChar());
        }
        caret = model_.caret();
        break;
    case vk::Prior:
    case vk::Home: caret = 0; break;
    case vk::Next:
    case vk::End: caret = len; break;
    case vk::Left: caret = selection ? start : std::max(caret - 1, 0); break;
    case vk::Right: caret = selection ? end : std::min(caret + 1, len); break;
    case vk::Up:
        spin(1);
        caret = model_.caret();
        break;
    case vk::Down:
        spin(-1);
        caret = model_.caret();
        break;
    case vk::Insert:
        if (host_.editModeChange() && host_.caretExists())
            host_.toggleEditMode();
        break;
    case vk::Delete:
        if (selection)
            replaceSelection(Typed::Delete, QChar());
        else
            typeAt(Typed::Delete, QChar());
        caret = model_.caret();
        break;
    case vk::F4:
        host_.openCalendar();
        caret = model_.caret();
        break;
    default: break;
    }
    model_.setCaretAndSelection(caret, caret, caret);
}

void DateEditor::selectWith(int key)
{
    const int len = int(model_.text().size());
    int start = model_.selStart();
    int end = model_.selEnd();
    int caret = model_.caret();
    switch (key) {
    case vk::Back:
    case vk::Left:
        if (caret > 0) {
            const int to = caret - 1;
            if (caret <= start)
                start = to;
            else
                end = to;
            caret = to;
        }
        break;
    case vk::Right:
        if (caret < len) {
            const int to = caret + 1;
            if (caret >= end)
                end = to;
            else
                start = to;
            caret = to;
        }
        break;
    case vk::Prior:
    case vk::Home:
    case vk::Up:
        end = start;
        start = 0;
        caret = 0;
        break;
    case vk::Next:
    case vk::End:
    case vk::Down:
        start = end;
        end = len;
        caret = len;
        break;
    default: return;
    }
    model_.setCaretAndSelection(caret, std::min(start, end), std::max(start, end));
}

void DateEditor::spin(int delta)
{
    if (!host_.editEnabled() || model_.status() != Status::Valid)
        return;
    Ymd d;
    if (!ymdFromOle(model_.date(), d))
        return;
    int kind = FieldDay;
    if (numeric()) {
        const QString t = model_.text();
        int pos = model_.caret();
        if (pos >= t.size() || (pos >= 0 && pos < t.size() && isSep(t[pos])))
            --pos;
        kind = fieldAt(t, std::max(pos, 0)).kind;
    }
    switch (kind) {
    case FieldYear: d.year += delta; break;
    case FieldMonth: d.month += delta; break;
    case FieldDay: d.day += delta; break;
    default: return;
    }
    double nd = 0.0;
    if (!oleFromYmd(d, nd))
        return; // no wrap-around: 13th month, 32nd day, 29 February of a common year
    if (model_.timeStore())
        nd = oleCombine(nd, oleTimePart(model_.date()));
    if (nd == model_.date() || !model_.requestBoundEdit())
        return;
    model_.storeDate(nd);
    model_.fireChange();
    model_.rebuild(false);
    model_.boundChanged();
}

// ---------------------------------------------------------------- clipboard

void DateEditor::copy()
{
    const int start = std::min(model_.selStart(), model_.selEnd());
    const int end = std::max(model_.selStart(), model_.selEnd());
    if (start == end) {
        host_.beep();
        return;
    }
    const QString t = model_.text().left(kMaxChars);
    if (!host_.copyText(t.mid(start, end - start)))
        host_.beep();
}

void DateEditor::paste()
{
    const std::optional<QString> text = host_.pasteText();
    if (!text) {
        host_.beep();
        return;
    }
    if (text->isEmpty())
        return;
    // As the DateString put: a text that is no date makes the value null, a day that does not
    // exist leaves it; either way Change fires.
    model_.putDateString(*text);
}

} // namespace lzdate
