#pragma once
// The date held by one control with its status, format, separator and display text, and the
// ways the value changes. The control object forwards its properties here; what the model
// needs of the control (bound-property requests, events, repaint) goes through DateModelHost.
#include "DateText.h"
#include "OleCalendar.h"

#include <QString>

namespace lzdate {

class IntlPort;

enum class Status : short { Valid = 0, Invalid = 1, Null = 2 };

// Inclusive ranges accepted by the puts; anything else becomes 0.0 (a null date).
constexpr double kValuePutMin = -657000.0;
constexpr double kValuePutMax = 2958465.0;
constexpr double kVariantPutMax = 2957000.0;

class DateModelHost
{
public:
    virtual ~DateModelHost() = default;
    // May the bound properties Value and VariantData change? (the container's edit request)
    virtual bool requestBoundEdit() { return true; }
    // Tells the container that Value and VariantData changed.
    virtual void boundChanged() {}
    // Fires Change; the host sets Modified first.
    virtual void changeEvent() {}
    virtual void repaint() {}
    // The persistent state differs from what was last saved.
    virtual void setDirty() {}
};

class DateModel
{
public:
    explicit DateModel(DateModelHost *host = nullptr, IntlPort *port = nullptr);

    void setHost(DateModelHost *host) { host_ = host; }
    IntlPort &port() const;

    // --- value
    double date() const { return value_; }
    Status status() const { return status_; }
    // Value get: the date when valid, else 0.0.
    double value() const { return status_ == Status::Valid ? value_ : 0.0; }
    // Sets the raw state without side effects (persistence, construction).
    void setRaw(double value, Status status);
    // The Value put: range check, bound-edit request, selection to the whole text, Change.
    void putValue(double x);
    // The VariantData put once the variant was turned into a date number.
    void putVariantDate(double x);
    // Set value from a date number (0.0 makes the value null).
    void setValueFromNumber(double x);
    // The Day, Month and Year puts.
    void setPart(FieldKind kind, int n);
    // The DateString put.
    void putDateString(const QString &text);
    // ValueReset applied: now unless 1; null for 2.
    void applyValueReset(int valueReset);

    // Parts of a valid value, -1 otherwise.
    int year() const;
    int month() const;
    int day() const;
    int dayOfWeek() const;
    int dayOfYear() const;
    int weekOfYear() const;
    // The century added to a typed two-digit year: the held value's hundreds, or the current
    // date's when no valid value is held.
    int heldCentury() const;

    // --- format
    int dateFormat() const { return dateFormat_; }
    // DateFormat put: outside 0..29 becomes 0; display code recomputed, text rebuilt.
    void putDateFormat(int dateFormat);
    // Exchange form: stores a checked DateFormat and recomputes the display code only.
    void loadDateFormat(int dateFormat);
    int displayCode() const { return displayCode_; }
    void computeDisplayCode();
    int fieldOrder() const { return fieldOrder_; }

    QString separator() const { return QString(separator_); }
    void putSeparator(const QString &separator);
    void loadSeparator(const QString &separator);
    bool separatorDefault() const { return separatorDefault_; }
    void putSeparatorDefault(bool on);
    void loadSeparatorDefault(bool on) { separatorDefault_ = on; }

    QString nullString() const { return nullString_; }
    void setNullString(const QString &s) { nullString_ = s; }
    bool timeStore() const { return timeStore_; }
    void setTimeStore(bool on) { timeStore_ = on; }
    int selectionPersistence() const { return selectionPersistence_; }
    void setSelectionPersistence(int sp) { selectionPersistence_ = sp >= 0 && sp <= 2 ? sp : 2; }

    // --- text, focus and selection
    const QString &text() const { return text_; }
    void rebuild(bool selectionPolicy);
    bool hasFocus() const { return focus_; }
    void setFocusFlag(bool on) { focus_ = on; }
    bool changeEventsEnabled() const { return changeEvents_; }
    void setChangeEventsEnabled(bool on) { changeEvents_ = on; }
    int caret() const { return caret_; }
    int selStart() const { return selStart_; }
    int selEnd() const { return selEnd_; }
    // The SetSelection method.
    void setSelection(int start, int end);
    // The numbers the free-form check reports with InvalidDate.
    Ymd freeFormCheck() const;

    // --- for the keyboard editor
    QChar separatorChar() const { return separator_; }
    // Stores a typed text as it is (no rebuild); caret and selection are kept inside it.
    void setEditText(const QString &text);
    void setCaretAndSelection(int caret, int start, int end);
    void setStatus(Status status) { status_ = status; }
    // Stores a date number as the value (the status is left) and marks the state dirty.
    void storeDate(double x);
    // Fires Change while change events are enabled (the host sets Modified first).
    void fireChange();
    bool requestBoundEdit() { return host_->requestBoundEdit(); }
    void boundChanged() { host_->boundChanged(); }

private:
    void dirty();
    // Reads a text as the DateString put does: the fields by field order, a missing or short year
    // completed from the held value. False when the entry is not acceptable.
    bool readText(const QString &text, Ymd &out) const;

    DateModelHost *host_;
    IntlPort *port_;
    double value_ = 0.0;
    Status status_ = Status::Valid;
    int dateFormat_ = 0;
    int displayCode_ = 2;
    int fieldOrder_ = 0;
    QChar separator_ = u'/';
    bool separatorDefault_ = false;
    bool timeStore_ = false;
    int selectionPersistence_ = 2;
    QString nullString_;
    QString text_;
    int caret_ = 0;
    int selStart_ = 0;
    int selEnd_ = 0;
    bool focus_ = false;
    bool changeEvents_ = true;
};

} // namespace lzdate
