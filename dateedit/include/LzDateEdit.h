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
enum LzDate2Dispid : DISPID {
    DISPID_LD_Alignment = 1,
    DISPID_LD_DisplayFormat = 2,
    DISPID_LD_HighlightInverted = 3,
    DISPID_LD_HighlightColor = 4,
    DISPID_LD_DateFormat = 5,
    DISPID_LD_Separator = 6,
    DISPID_LD_DisabledColor = 7,
    DISPID_LD_TimeStore = 8,
    DISPID_LD_Modified = 9,
    DISPID_LD_SeparatorDefault = 10,
    DISPID_LD_Border = 11,
    DISPID_LD_EditMode = 12,
    DISPID_LD_EditModeChange = 13,
    DISPID_LD_ValueReset = 14,
    DISPID_LD_CalendarDOWs = 15,
    DISPID_LD_CalendarMonths = 16,
    DISPID_LD_NullString = 17,
    DISPID_LD_SelectionPersistance = 18,
    DISPID_LD_Value = 19,                // also the default member (DISPID_VALUE)
    DISPID_LD_Day = 20,
    DISPID_LD_Month = 21,
    DISPID_LD_Year = 22,
    DISPID_LD_DateString = 23,
    DISPID_LD_CalendarFormat = 24,
    DISPID_LD_Status = 25,               // read only
    DISPID_LD_DayOfWeek = 26,            // read only
    DISPID_LD_DayOfYear = 27,            // read only
    DISPID_LD_WeekOfYear = 28,           // read only
    DISPID_LD_FreeFormEntry = 29,
    DISPID_LD_VariantData = 30,
    DISPID_LD_CalendarControl = 31,      // read only
    DISPID_LD_SetSelection = 500,        // (short start, short end)
    DISPID_LD_getCaretPosition = 501,    // returns short
    DISPID_LD_getStartSelection = 502,   // returns short
    DISPID_LD_getEndSelection = 503,     // returns short
    DISPID_LD_AboutBox = DISPID_ABOUTBOX,
    DISPID_LD_Font = DISPID_FONT,
    DISPID_LD_BackColor = DISPID_BACKCOLOR,
    DISPID_LD_ForeColor = DISPID_FORECOLOR,
    DISPID_LD_Enabled = DISPID_ENABLED,
    DISPID_LD_hWnd = DISPID_HWND,        // read only
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
enum LzDate2EventDispid : DISPID {
    DISPID_LDE_KeyDown = DISPID_KEYDOWN,      // (short* KeyCode, short Shift)
    DISPID_LDE_KeyUp = DISPID_KEYUP,          // (short* KeyCode, short Shift)
    DISPID_LDE_MouseDown = DISPID_MOUSEDOWN,  // (short Button, short Shift, OLE_XPOS x, OLE_YPOS y)
    DISPID_LDE_MouseUp = DISPID_MOUSEUP,
    DISPID_LDE_MouseMove = DISPID_MOUSEMOVE,
    DISPID_LDE_Click = DISPID_CLICK,
    DISPID_LDE_DblClick = DISPID_DBLCLICK,
    DISPID_LDE_KeyPress = DISPID_KEYPRESS,    // (short* KeyAscii)
    DISPID_LDE_GotFocusEvent = 1,
    DISPID_LDE_LostFocusEvent = 2,
    DISPID_LDE_Change = 3,
    DISPID_LDE_BeforeLostFocus = 4,
    DISPID_LDE_BeforeOpenCalendar = 5,
    DISPID_LDE_AfterCloseCalendar = 6,
    DISPID_LDE_GetCentury = 7,                // (short Year, long* century)
    DISPID_LDE_InvalidDate = 8,               // (short Year, short Month, short Day)
};

// ---- persisted property versions --------------------------------------------------------------
inline constexpr ULONG LzDate2_Version1 = 0x00010000;
inline constexpr ULONG LzDate2_Version2 = 0x00020000;
inline constexpr ULONG LzDate2_CurrentVersion = 0x00080000;
