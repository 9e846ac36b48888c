#pragma once
// The persisted properties of the date control and the one exchange routine that resets, loads
// and saves them, over a stream or a property bag.
//
// The version, the extent and the encoding of each type (stream and bag) are the framework's
// control property exchange (ole/persist.h); this control fixes the names, the order, the
// defaults and which properties a version holds (exchange() in PropExchange.cpp). Its stock
// properties are all in its own list.
#include "DateModel.h"
#include "LzDateEdit.h"

#include "com/interfaces.h"
#include "ole/font.h"

#include <QString>

namespace lzdate {

inline constexpr ULONG kVersion1 = 0x00010000;
inline constexpr ULONG kVersion2 = 0x00020000;
inline constexpr ULONG kCurrentVersion = 0x00080000;
// Longest text a put takes and a loader accepts, so that whatever is saved loads again.
inline constexpr ULONG kMaxStoredChars = LzDate2_MaxTextChars;

struct LzDate2Props
{
    ULONG version = kCurrentVersion;
    LONG extentX = 0; // HIMETRIC; 0 when unknown
    LONG extentY = 0;
    com::ComPtr<IFontDisp> font;
    SHORT alignment = 0;
    SHORT border = 2;
    SHORT displayFormat = 0;
    SHORT calendarFormat = -1; // internal code
    SHORT dateFormat = 0;
    bool separatorDefault = false;
    QString separator = QStringLiteral("/");
    bool enabled = true;
    bool timeStore = false;
    bool highlightInverted = false;
    bool editModeChange = true;
    SHORT editMode = 1;
    OLE_COLOR disabledColor = 0x80000011;
    OLE_COLOR highlightColor = 0x8000000D;
    OLE_COLOR backColor = 0x80000005;
    OLE_COLOR foreColor = 0x80000008;
    SHORT valueReset = 0;
    double value = 0.0;
    Status status = Status::Valid;
    QString calendarMonths;
    QString calendarDOWs;
    QString nullString;
    SHORT selectionPersistance = 2;
    bool freeFormEntry = false;
};

extern const QString kDefaultCalendarMonths;
extern const QString kDefaultCalendarDOWs;

// What the exchange needs to know of the control beyond its properties.
struct ExchangeContext
{
    bool userMode = true; // the container's ambient UserMode
    int drawnWidth = 0;   // width of the last paint
    double now = 0.0;     // the current date and time
};

// Replacement values for numbers outside their ranges.
SHORT checkedAlignment(int v);
SHORT checkedBorder(int v);
SHORT checkedDisplayFormat(int v);
SHORT checkedCalendarCode(int v);
SHORT checkedDateFormat(int v);
SHORT checkedEditMode(int v);
SHORT checkedValueReset(int v);
SHORT checkedSelectionPersistance(int v);

// Reset: every property to its default (the value is left; ValueReset then applies).
HRESULT resetProps(LzDate2Props &p, const ExchangeContext &ctx);
// Loads over p; on failure p may be partly changed (callers load into a copy).
HRESULT loadProps(IStream *stream, LzDate2Props &p, const ExchangeContext &ctx);
HRESULT loadProps(IPropertyBag *bag, IErrorLog *log, LzDate2Props &p, const ExchangeContext &ctx);
// Saving may set ValueReset to 1 (run mode, painted control), hence the non-const props.
HRESULT saveProps(IStream *stream, LzDate2Props &p, const ExchangeContext &ctx);
HRESULT saveProps(IPropertyBag *bag, LzDate2Props &p, const ExchangeContext &ctx);

} // namespace lzdate
