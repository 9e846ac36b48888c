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
// Property pages. ISpecifyPropertyPages::GetPages lists five: LzDatePPage, CFormatPPage,
// CCalendarFormatPropPage and the stock colour and font pages {0BE35201-8F91-11CE-9DE3-00AA004BB851} and
// {0BE35200-8F91-11CE-9DE3-00AA004BB851}, which no library here serves, so the runtime's property frame
// leaves them out and shows three. CInfoPage is not listed.
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
    lzdNormal = 0,
    lzdFormatted = 1,
    lzdOdometer = 2,
    lzdOdomLight = 3,
    lzdOdomInvert = 4,
    lzdLED = 5,
    lzdLEDBold = 6
};
enum enumDateBorder : SHORT { lzdNone = 0, lzdFlat = 1, lzd3D = 2 };
// -1: no calendar.
enum enumCalendarFormat : SHORT { lzdOne = 1, lzdThree = 2, lzdSix = 3, lzdCvnOne = 4, lzdCvnThree = 5, lzdCvnSix = 6 };
enum enumDateFormat : SHORT {
    lzdShort = 0,
    lzdLong = 1,
    lzdMd = 2,
    lzdMmdd = 3,
    lzdDm = 4,
    lzdDdmm = 5,
    lzdMdyy = 6,
    lzdMmddyy = 7,
    lzdDmyy = 8,
    lzdDdmmyy = 9,
    lzdMdyyyy = 10,
    lzdMmddyyyy = 11,
    lzdDmyyyy = 12,
    lzdDdmmyyyy = 13,
    lzdLmdy = 14,
    lzdLmddy = 15,
    lzdLdmy = 16,
    lzdLddmy = 17,
    lzdLwmdy = 18,
    lzdLwmddy = 19,
    lzdLwdmy = 20,
    lzdLwddmy = 21,
    lzdYymd = 22,
    lzdYymmdd = 23,
    lzdYydm = 24,
    lzdYyddmm = 25,
    lzdYyyymd = 26,
    lzdYyyymmdd = 27,
    lzdYyyydm = 28,
    lzdYyyyddmm = 29
};
enum enumDateStatus : SHORT { lzdValid = 0, lzdInvalid = 1, lzdNull = 2 };
enum enumDateInitial : SHORT { lzdCurrent = 0, lzdCustom = 1 };

// ---- DISPIDs of _DLzDate2 ---------------------------------------------------------------------
enum LzDate2Dispid : DISPID {
    // enumDateAlignment; default lzdLeft; a value outside 0-2 becomes lzdLeft, S_OK.
    DISPID_LD_Alignment = 1,
    // enumDateDisplayStyle; default lzdNormal; outside 0-6 becomes lzdNormal; resets Back/Fore/HighlightColor.
    DISPID_LD_DisplayFormat = 2,
    // VARIANT_BOOL; default false; any value taken, S_OK.
    DISPID_LD_HighlightInverted = 3,
    // OLE_COLOR of the selection; default 0x8000000D (a system colour); any value taken, S_OK.
    DISPID_LD_HighlightColor = 4,
    // enumDateFormat; default lzdShort; a value outside 0-29 becomes lzdShort, S_OK.
    DISPID_LD_DateFormat = 5,
    // One of / - . \ (first character counts); default "/"; anything else becomes "/", S_OK.
    DISPID_LD_Separator = 6,
    // OLE_COLOR of the text while disabled; default 0x80000011 (a system colour); any value taken.
    DISPID_LD_DisabledColor = 7,
    // VARIANT_BOOL; default false; any value taken, S_OK. On, typing, the calendar and Day/Month/Year keep the
    // time of day held, and a Value put with a time of day takes only its day and keeps the held time too:
    // 15.01.2024 14:30 onto a value held at midnight reads back 15.01.2024 00:00 (a put of a whole day gives
    // midnight). Off, every put and edit drops the time of day.
    DISPID_LD_TimeStore = 8,
    // VARIANT_BOOL, set by a change; default false; at run time a put only clears it, S_OK.
    DISPID_LD_Modified = 9,
    // VARIANT_BOOL, use the system's date separator; default false; any value taken, S_OK.
    DISPID_LD_SeparatorDefault = 10,
    // enumDateBorder; default lzd3D; a value outside 0-2 becomes lzdNone, S_OK.
    DISPID_LD_Border = 11,
    // 0 overtype, 1 insert; default 1; any other value becomes 1, S_OK.
    DISPID_LD_EditMode = 12,
    // VARIANT_BOOL, the Insert key switches EditMode; default true; any value taken, S_OK.
    DISPID_LD_EditModeChange = 13,
    // enumDateInitial, 2 = empty; default lzdCurrent (0); outside 0-2 becomes 0; applied to Value at once. Saving
    // in run mode (ambient UserMode) a control painted wider than 1 pixel sets it to 1 first (from 0 or 2), so
    // that the saved date loads again; it then reads back 1.
    DISPID_LD_ValueReset = 14,
    // Weekday letters of the calendar; default "SMTWTFS"; any text up to LzDate2_MaxTextChars, S_OK.
    DISPID_LD_CalendarDOWs = 15,
    // Month names of the calendar, "|"-separated; default "January|...|December"; texts as CalendarDOWs.
    DISPID_LD_CalendarMonths = 16,
    // Text shown while there is no date; default empty; any text up to LzDate2_MaxTextChars, S_OK.
    DISPID_LD_NullString = 17,
    // 0 caret at start, 1 kept, 2 all selected on a new text; default 2; outside 0-2 becomes 2.
    DISPID_LD_SelectionPersistance = 18,
    // Default member: OLE date, days since 1899-12-30; default now; 0 or outside -657000..2958465 empties it;
    // S_OK. A VT_R8 that is no OLE date (1e300, NaN, beyond -657434..2958465) fails the argument conversion
    // with DISP_E_OVERFLOW and the old value stays.
    DISPID_LD_Value = 19,
    // Day, Month and Year: that part of the date, -1 without a date. A put replaces the part in the
    // date the control holds (at midnight, the time of day kept with TimeStore) and makes the status
    // valid, also on a control without a date: a control emptied by a put keeps the date it held
    // before (a new control holds today), so a Day put of 5 on an emptied 31.01.2024 gives
    // 05.01.2024, and a put of the part it already has (Day 31) makes 31.01.2024 itself valid
    // again, its time of day unchanged. A put making an impossible date (Month 2 on the 31st) is
    // ignored and the status kept. No Change fires; S_OK.
    // Day of month 1-31.
    DISPID_LD_Day = 20,
    // Month 1-12.
    DISPID_LD_Month = 21,
    // Year.
    DISPID_LD_Year = 22,
    // The shown text; put reads it in DateFormat's field order, unreadable text empties the date, S_OK.
    DISPID_LD_DateString = 23,
    // enumCalendarFormat; default -1 (no calendar); any value outside 1-6 means -1, S_OK.
    DISPID_LD_CalendarFormat = 24,
    // enumDateStatus; read only, a put gives CTL_E_SETNOTSUPPORTED.
    DISPID_LD_Status = 25,
    // 1 (Sunday) to 7, -1 without a date; read only, a put gives CTL_E_SETNOTSUPPORTED.
    DISPID_LD_DayOfWeek = 26,
    // 1-366, -1 without a date; read only, a put gives CTL_E_SETNOTSUPPORTED.
    DISPID_LD_DayOfYear = 27,
    // DayOfYear / 7 + 1, -1 without a date; read only, a put gives CTL_E_SETNOTSUPPORTED.
    DISPID_LD_WeekOfYear = 28,
    // VARIANT_BOOL, free-form typing; default false; any value taken, S_OK.
    DISPID_LD_FreeFormEntry = 29,
    // VT_DATE, or VT_NULL without a date; put: VT_EMPTY/VT_NULL/unconvertible/out of range empties; S_OK.
    DISPID_LD_VariantData = 30,
    // The drop-down's calendar object, null while none exists; read only, CTL_E_SETNOTSUPPORTED.
    DISPID_LD_CalendarControl = 31,
    // (short start, short end), 0-based character positions, clamped to the text; S_OK.
    DISPID_LD_SetSelection = 500,
    // Returns short, the caret's 0-based character position.
    DISPID_LD_getCaretPosition = 501,
    // Returns short, the selection's 0-based start.
    DISPID_LD_getStartSelection = 502,
    // Returns short, the selection's 0-based end.
    DISPID_LD_getEndSelection = 503,
    // Shows the about box; S_OK.
    DISPID_LD_AboutBox = DISPID_ABOUTBOX,
    // IFontDisp; default the library's default font; a copy of the given font is kept, and a put of
    // no font (null, by value or by reference) gives the library's default font again; S_OK.
    DISPID_LD_Font = DISPID_FONT,
    // OLE_COLOR; default 0x80000005 (a system colour); any value taken, S_OK.
    DISPID_LD_BackColor = DISPID_BACKCOLOR,
    // OLE_COLOR of the text; default 0x80000008 (a system colour); any value taken, S_OK.
    DISPID_LD_ForeColor = DISPID_FORECOLOR,
    // VARIANT_BOOL; default true; any value taken, S_OK.
    DISPID_LD_Enabled = DISPID_ENABLED,
    // Window handle of the runtime's handle table, 0 without a window; read only, CTL_E_SETNOTSUPPORTED.
    DISPID_LD_hWnd = DISPID_HWND,
};

// A control whose properties were loaded from data of version 0x00010000 answers with this
// layout: DISPIDs 1-17 as above, then these; no SelectionPersistance, FreeFormEntry, VariantData,
// CalendarControl, hWnd or selection getters.
enum LzDate2DispidV1 : DISPID {
    DISPID_LD1_Value = 18,
    DISPID_LD1_Day = 19,
    DISPID_LD1_Month = 20,
    DISPID_LD1_Year = 21,
    DISPID_LD1_DateString = 22,
    DISPID_LD1_CalendarFormat = 23,
    DISPID_LD1_Status = 24,
    DISPID_LD1_DayOfWeek = 25,
    DISPID_LD1_DayOfYear = 26,
    DISPID_LD1_WeekOfYear = 27,
    DISPID_LD1_SetSelection = 28,
};
// Data of version 0x00020000 gives the current layout without FreeFormEntry, VariantData,
// CalendarControl and the selection getters.

// ---- DISPIDs of _DLzDate2Events ---------------------------------------------------------------
// How often the keyboard's events fire while the control has the focus:
// - KeyDown twice per key pressed: the stock event with the real Shift state, then the control's
//   own with Shift 0 before it handles the key (the KeyCode it returns is the one handled); the
//   own one not for Shift, Ctrl, Alt, Caps Lock, Escape, Num Lock and Tab, nor while Alt is held.
// - KeyPress twice per character: the stock event, then the control's own before it handles the
//   character (a KeyAscii set to 0 stops it); the own one not while Ctrl or Alt is held, nor for
//   codes below 20 and Escape.
// - KeyUp once per key released.
// Change fires once per setting of the value: once per Value or DateString put, twice per
// VariantData put the container allows (its Value put, then once more); a refused Value or
// VariantData put fires it too, a refused DateString put does not; the Day, Month and Year puts
// fire none. It fires once per paste, once per date taken from the calendar; while typing,
// once per key that changes the date or leaves the text without a date, and once for a selection
// replaced by a key. So typing the eight digits of "24122026" over a selected date fires Change
// eight times.
enum LzDate2EventDispid : DISPID {
    DISPID_LDE_KeyDown = DISPID_KEYDOWN,     // (short* KeyCode, short Shift)
    DISPID_LDE_KeyUp = DISPID_KEYUP,         // (short* KeyCode, short Shift)
    DISPID_LDE_MouseDown = DISPID_MOUSEDOWN, // (short Button, short Shift, OLE_XPOS x, OLE_YPOS y)
    DISPID_LDE_MouseUp = DISPID_MOUSEUP,     // (short Button, short Shift, OLE_XPOS x, OLE_YPOS y)
    DISPID_LDE_MouseMove = DISPID_MOUSEMOVE, // (short Button, short Shift, OLE_XPOS x, OLE_YPOS y)
    DISPID_LDE_Click = DISPID_CLICK,         // () a click on the control
    DISPID_LDE_DblClick = DISPID_DBLCLICK,   // () after the double click selected the text
    DISPID_LDE_KeyPress = DISPID_KEYPRESS,   // (short* KeyAscii)
    DISPID_LDE_GotFocusEvent = 1,            // () the focus came, not back from the own popup
    DISPID_LDE_LostFocusEvent = 2,           // () last step of losing the focus
    DISPID_LDE_Change = 3,                   // () the value was set; Modified is TRUE already
    DISPID_LDE_BeforeLostFocus = 4,          // () first step of losing the focus, not to the popup
    DISPID_LDE_BeforeOpenCalendar = 5,       // () the calendar popup is about to open
    DISPID_LDE_AfterCloseCalendar = 6,       // () the calendar popup has closed
    DISPID_LDE_GetCentury = 7,               // (short Year, long* century)
    DISPID_LDE_InvalidDate = 8,              // (short Year, short Month, short Day)
};

// Longest text that NullString, CalendarDOWs and CalendarMonths take: a longer one is refused
// with CTL_E_INVALIDPROPERTYVALUE and the old text kept, as the loaders refuse longer texts.
inline constexpr ULONG LzDate2_MaxTextChars = 4096;

// ---- persisted property versions --------------------------------------------------------------
// Loading takes data of the versions from LzDate2_Version1 to LzDate2_CurrentVersion; any other (0 too)
// fails with E_FAIL and no control is created. A bag without "_Version" is read as current data; saving
// always writes the current version.
inline constexpr ULONG LzDate2_Version1 = 0x00010000;
inline constexpr ULONG LzDate2_Version2 = 0x00020000;
inline constexpr ULONG LzDate2_CurrentVersion = 0x00080000;
