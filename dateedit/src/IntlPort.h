#pragma once
// What the date control reads from the system: the "intl" date settings, the names of months
// and weekdays, whether the code page is a double-byte one, and the current date and time.
// The library installs a port on the registry; tests install their own.
#include <QString>
#include <optional>

namespace lzdate {

class IntlPort
{
public:
    virtual ~IntlPort() = default;
    // A value of the profile section "intl" ("sShortDate", "sLongDate", "sDate"); none when missing.
    virtual std::optional<QString> profileString(const QString &key) const = 0;
    // Full month name, 1..12, as the runtime's time formatting gives it in the current locale.
    virtual QString monthName(int month) const;
    // Full weekday name, 1 Sunday .. 7 Saturday.
    virtual QString weekdayName(int dayOfWeek) const;
    virtual bool doubleByteCodePage() const { return false; }
    // The current local date and time as an OLE date.
    virtual double now() const;
};

// The port the controls use. Never null: without an installed port the profile is empty and
// every value takes its default.
IntlPort &intlPort();
// Installs a port (not owned); nullptr restores the built-in empty one.
void setIntlPort(IntlPort *port);

} // namespace lzdate
