#pragma once
// LzCalendar: the month calendar controls that the date-edit control drops down. The platform
// has no calendar controls of its own, so this small component library stands in for the two
// outside ones, on Qt's calendar widget:
//
//  - the "one-piece" calendar, ProgID "LzCalendar.LzCalendarCtrl.1";
//  - the "grid" calendar, ProgID "LzATLCalendar.LzCalendar".
//
// Both show one, three or six months, take the date, the selection colours, the weekday letters
// (Sunday first) and the month names from their client, and report picks, scrolling and keys as
// events. Their members are reached through IDispatch::Invoke with the DISPIDs below.
#include "com/dispatch.h"

// ---- the one-piece calendar -------------------------------------------------------------------
inline constexpr CLSID CLSID_LzCalendarCtrl = com::makeGuid("6A3D2E10-8C41-4B7A-9E25-41C7D0B3A801");
inline constexpr char16_t LzCalendarCtrl_ProgID[] = u"LzCalendar.LzCalendarCtrl.1";
inline constexpr IID DIID__DLzCalendarCtrl = com::makeGuid("6A3D2E11-8C41-4B7A-9E25-41C7D0B3A801");
inline constexpr IID DIID__DLzCalendarCtrlEvents = com::makeGuid("6A3D2E12-8C41-4B7A-9E25-41C7D0B3A801");

namespace LzCalendarCtrlDisp {
inline constexpr DISPID Months = 4;             // short: 0 one, 1 three, 3 six months
inline constexpr DISPID Value = 7;              // DATE: the picked date (midnight)
inline constexpr DISPID SelectedForeColor = 11; // long (COLORREF or OLE_COLOR)
inline constexpr DISPID SelectedBackColor = 12; // long
inline constexpr DISPID DayLetters = 13;        // BSTR: one letter per weekday, Sunday first
inline constexpr DISPID MonthNames = 14;        // BSTR: twelve names joined by "|"
} // namespace LzCalendarCtrlDisp
namespace LzCalendarCtrlEvent {
inline constexpr DISPID Click = DISPID_CLICK;     // a day was clicked
inline constexpr DISPID KeyDown = DISPID_KEYDOWN; // (short* KeyCode, short Shift)
} // namespace LzCalendarCtrlEvent

// ---- the grid calendar ------------------------------------------------------------------------
inline constexpr CLSID CLSID_LzGridCalendar = com::makeGuid("6A3D2E20-8C41-4B7A-9E25-41C7D0B3A801");
inline constexpr char16_t LzGridCalendar_ProgID[] = u"LzATLCalendar.LzCalendar";
inline constexpr IID DIID_ILzGridCalendar = com::makeGuid("6A3D2E21-8C41-4B7A-9E25-41C7D0B3A801");
inline constexpr IID DIID__ILzGridCalendarEvents = com::makeGuid("6A3D2E22-8C41-4B7A-9E25-41C7D0B3A801");

namespace LzGridCalendarDisp {
inline constexpr DISPID Value = 1;              // DATE
inline constexpr DISPID BackColor = 6;          // long
inline constexpr DISPID GridBackColor = 7;      // long: behind the days
inline constexpr DISPID BorderStyle = 12;       // short: 0 none, 1 a line round the calendar
inline constexpr DISPID SelectedForeColor = 14; // long
inline constexpr DISPID SelectedBackColor = 15; // long
inline constexpr DISPID Months = 16;            // short: 0 one, 1 three, 3 six months
inline constexpr DISPID MonthSpacing = 17;      // short: pixels between the months
inline constexpr DISPID WeekdayColor = 21;      // (short weekday 0 Sunday .. 6) long colour
inline constexpr DISPID DayLetter = 23;         // (short weekday 0 Sunday .. 6) BSTR
inline constexpr DISPID MonthName = 24;         // (short month 0 January .. 11) BSTR
inline constexpr DISPID Font = 39;              // IDispatch: a font object
inline constexpr DISPID ShowToday = 77;         // long: non-zero frames today's date
} // namespace LzGridCalendarDisp
namespace LzGridCalendarEvent {
inline constexpr DISPID DateChanged = 1; // (DATE) a day was picked or the months were scrolled
inline constexpr DISPID KeyDown = 5;     // (short KeyCode, short Shift)
inline constexpr DISPID MouseUp = 10;    // (short Button, short Shift, long x, long y) after a day click
inline constexpr DISPID Scrolled = 11;   // the months were scrolled (DateChanged follows)
} // namespace LzGridCalendarEvent
