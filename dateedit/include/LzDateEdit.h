#pragma once
// LzDateEdit: the public face of the date-edit control library (type library LZDATE2Lib).
// Clients include this header and create the control by CLSID or ProgID; they never link the
// library.
//
// The control's interfaces are dispatch interfaces: their members are reached through
// IDispatch::Invoke with the DISPIDs below (no further vtable entries).
#include "com/dispatch.h"

// ---- type library -----------------------------------------------------------------------------
inline constexpr GUID LIBID_LZDATE2Lib = com::makeGuid("CC696B60-4159-11D0-BDCB-0020A90B183A");
inline constexpr WORD LZDATE2Lib_VersionMajor = 8;
inline constexpr WORD LZDATE2Lib_VersionMinor = 0;
inline constexpr char16_t LZDATE2Lib_HelpString[] = u"Larkspire Date Edit Control";
inline constexpr char16_t LZDATE2Lib_HelpFile[] = u"lzDateEdit.chm";

// ---- interfaces, in vtable order ---------------------------------------------------------------
// Dispatch interface of the control (properties and methods below).
struct _DLzDate2 : IDispatch
{
    static constexpr IID iid = com::makeGuid("CC696B61-4159-11D0-BDCB-0020A90B183A");
    using base_type = IDispatch;
};
// Event interface of the control (the default source); sinks answer IDispatch.
struct _DLzDate2Events : IDispatch
{
    static constexpr IID iid = com::makeGuid("CC696B62-4159-11D0-BDCB-0020A90B183A");
    using base_type = IDispatch;
};
inline constexpr IID DIID__DLzDate2 = _DLzDate2::iid;
inline constexpr IID DIID__DLzDate2Events = _DLzDate2Events::iid;

// ---- classes ----------------------------------------------------------------------------------
inline constexpr CLSID CLSID_LzDate2 = com::makeGuid("CC696B63-4159-11D0-BDCB-0020A90B183A");
inline constexpr char16_t LzDate2_ProgID[] = u"LZDATE2.LzDate2.1";
// Property pages.
inline constexpr CLSID CLSID_LzDatePPage = com::makeGuid("CC696B64-4159-11D0-BDCB-0020A90B183A");
inline constexpr char16_t LzDatePPage_ProgID[] = u"LZDATE2.LzDatePPage.1";
inline constexpr CLSID CLSID_CFormatPPage = com::makeGuid("EFF2CE22-4DB9-11D0-BDCB-0020A90B183A");
inline constexpr char16_t CFormatPPage_ProgID[] = u"LZDATE2.CFormatPPage";
inline constexpr CLSID CLSID_CInfoPage = com::makeGuid("FC2EE801-5425-11D0-BDCB-0020A90B183A");
inline constexpr char16_t CInfoPage_ProgID[] = u"LZDATE2.CInfoPage";
inline constexpr CLSID CLSID_CCalendarFormatPropPage = com::makeGuid("8F50D8D4-F91E-11D3-9DCC-00A0CC3A1AD6");
inline constexpr char16_t CCalendarFormatPropPage_ProgID[] = u"lzDate0.CCalendarFormatPropPage";

// ---- enumerations -----------------------------------------------------------------------------
enum enumDateAlignment : SHORT { lzdLeft = 0, lzdCenter = 1, lzdRight = 2 };
enum enumDateDisplayStyle : SHORT {
    lzdNormal = 0, lzdFormatted = 1, lzdOdometer = 2, lzdOdomLight = 3, lzdOdomInvert = 4, lzdLED = 5,
    lzdLEDBold = 6
};
enum enumDateBorder : SHORT { lzdNone = 0, lzdFlat = 1, lzd3D = 2 };
// -1: no calendar.
enum enumCalendarFormat : SHORT {
    lzdOne = 1, lzdThree = 2, lzdSix = 3, lzdCvnOne = 4, lzdCvnThree = 5, lzdCvnSix = 6
};
enum enumDateFormat : SHORT {
    lzdShort = 0, lzdLong = 1,
    lzdMd = 2, lzdMmdd = 3, lzdDm = 4, lzdDdmm = 5,
    lzdMdyy = 6, lzdMmddyy = 7, lzdDmyy = 8, lzdDdmmyy = 9,
    lzdMdyyyy = 10, lzdMmddyyyy = 11, lzdDmyyyy = 12, lzdDdmmyyyy = 13,
    lzdLmdy = 14, lzdLmddy = 15, lzdLdmy = 16, lzdLddmy = 17,
    lzdLwmdy = 18, lzdLwmddy = 19, lzdLwdmy = 20, lzdLwddmy = 21,
    lzdYymd = 22, lzdYymmdd = 23, lzdYydm = 24, lzdYyddmm = 25,
    lzdYyyymd = 26, lzdYyyymmdd = 27, lzdYyyydm = 28, lzdYyyyddmm = 29
};
enum enumDateStatus : SHORT { lzdValid = 0, lzdInvalid = 1, lzdNull = 2 };
enum enumDateInitial : SHORT { lzdCurrent = 0, lzdCustom = 1 };

// ---- DISPIDs of _DLzDate2 ---------------------------------------------------------------------
namespace LzDate2Disp {
inline constexpr DISPID Alignment = 1;
inline constexpr DISPID DisplayFormat = 2;
inline constexpr DISPID HighlightInverted = 3;
inline constexpr DISPID HighlightColor = 4;
inline constexpr DISPID DateFormat = 5;
inline constexpr DISPID Separator = 6;
inline constexpr DISPID DisabledColor = 7;
inline constexpr DISPID TimeStore = 8;
inline constexpr DISPID Modified = 9;
inline constexpr DISPID SeparatorDefault = 10;
inline constexpr DISPID Border = 11;
inline constexpr DISPID EditMode = 12;
inline constexpr DISPID EditModeChange = 13;
inline constexpr DISPID ValueReset = 14;
inline constexpr DISPID CalendarDOWs = 15;
inline constexpr DISPID CalendarMonths = 16;
inline constexpr DISPID NullString = 17;
inline constexpr DISPID SelectionPersistance = 18;
inline constexpr DISPID Value = 19;                // also the default member (DISPID_VALUE)
inline constexpr DISPID Day = 20;
inline constexpr DISPID Month = 21;
inline constexpr DISPID Year = 22;
inline constexpr DISPID DateString = 23;
inline constexpr DISPID CalendarFormat = 24;
inline constexpr DISPID Status = 25;               // read only
inline constexpr DISPID DayOfWeek = 26;            // read only
inline constexpr DISPID DayOfYear = 27;            // read only
inline constexpr DISPID WeekOfYear = 28;           // read only
inline constexpr DISPID FreeFormEntry = 29;
inline constexpr DISPID VariantData = 30;
inline constexpr DISPID CalendarControl = 31;      // read only
inline constexpr DISPID SetSelection = 500;        // (short start, short end)
inline constexpr DISPID getCaretPosition = 501;    // returns short
inline constexpr DISPID getStartSelection = 502;   // returns short
inline constexpr DISPID getEndSelection = 503;     // returns short
inline constexpr DISPID AboutBox = DISPID_ABOUTBOX;
inline constexpr DISPID Font = DISPID_FONT;
inline constexpr DISPID BackColor = DISPID_BACKCOLOR;
inline constexpr DISPID ForeColor = DISPID_FORECOLOR;
inline constexpr DISPID Enabled = DISPID_ENABLED;
inline constexpr DISPID hWnd = DISPID_HWND;        // read only
} // namespace LzDate2Disp

// A control whose properties were loaded from data of version 0x00010000 answers with this
// layout: DISPIDs 1-17 as above, then these; no SelectionPersistance, FreeFormEntry, VariantData,
// CalendarControl, hWnd or selection getters.
namespace LzDate2DispV1 {
inline constexpr DISPID Value = 18;
inline constexpr DISPID Day = 19;
inline constexpr DISPID Month = 20;
inline constexpr DISPID Year = 21;
inline constexpr DISPID DateString = 22;
inline constexpr DISPID CalendarFormat = 23;
inline constexpr DISPID Status = 24;
inline constexpr DISPID DayOfWeek = 25;
inline constexpr DISPID DayOfYear = 26;
inline constexpr DISPID WeekOfYear = 27;
inline constexpr DISPID SetSelection = 28;
} // namespace LzDate2DispV1
// Data of version 0x00020000 gives the current layout without FreeFormEntry, VariantData,
// CalendarControl and the selection getters.

// ---- DISPIDs of _DLzDate2Events ---------------------------------------------------------------
namespace LzDate2Event {
inline constexpr DISPID KeyDown = DISPID_KEYDOWN;      // (short* KeyCode, short Shift)
inline constexpr DISPID KeyUp = DISPID_KEYUP;          // (short* KeyCode, short Shift)
inline constexpr DISPID MouseDown = DISPID_MOUSEDOWN;  // (short Button, short Shift, OLE_XPOS x, OLE_YPOS y)
inline constexpr DISPID MouseUp = DISPID_MOUSEUP;
inline constexpr DISPID MouseMove = DISPID_MOUSEMOVE;
inline constexpr DISPID Click = DISPID_CLICK;
inline constexpr DISPID DblClick = DISPID_DBLCLICK;
inline constexpr DISPID KeyPress = DISPID_KEYPRESS;    // (short* KeyAscii)
inline constexpr DISPID GotFocusEvent = 1;
inline constexpr DISPID LostFocusEvent = 2;
inline constexpr DISPID Change = 3;
inline constexpr DISPID BeforeLostFocus = 4;
inline constexpr DISPID BeforeOpenCalendar = 5;
inline constexpr DISPID AfterCloseCalendar = 6;
inline constexpr DISPID GetCentury = 7;                // (short Year, long* century)
inline constexpr DISPID InvalidDate = 8;               // (short Year, short Month, short Day)
} // namespace LzDate2Event

// ---- persisted property versions --------------------------------------------------------------
inline constexpr ULONG LzDate2_Version1 = 0x00010000;
inline constexpr ULONG LzDate2_Version2 = 0x00020000;
inline constexpr ULONG LzDate2_CurrentVersion = 0x00080000;
