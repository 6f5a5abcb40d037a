#pragma once

#include "framework/core/DateUtils.h"
#include "framework/ui/grids/Grids.h"
#include "framework/ui/input/WheelNotches.h"

namespace folio {

/// A month calendar: a 7 x 7 grid whose first row names the weekdays and
/// whose other six rows hold the day numbers of one month, with the
/// calendar's day as the current cell. Every change of the date made through
/// its properties, a click on a day or the stepping operations fires
/// OnChange.
class TCCalendar : public TCustomGrid {
    FOLIO_CLASS(TCCalendar)
public:
    /// A calendar showing today's month with today as the current cell
    /// (UseCurrentDate true), owned by AOwner.
    explicit TCCalendar(TComponent* AOwner);

    ///@{
    /// The calendar's date. Setting stores it, lays its month out and fires
    /// OnChange; UseCurrentDate stays as it is. Raises EConvertError for a
    /// value that is no date of years 1 to 9999. "SeTC" is the published
    /// spelling, which callers use; SetCalendarDate does the same.
    TDateTime GetCalendarDate() const { return FDate; }
    void SeTCCalendarDate(TDateTime Value);
    void SetCalendarDate(TDateTime Value) { SeTCCalendarDate(Value); }
    ///@}

    ///@{
    /// A part of the date by Index, 1: year, 2: month, 3: day; -1 for any
    /// other index. Setting ignores values of 0 or less, months above 12
    /// and days beyond the month; a combination that does not exist
    /// (31 April) raises EConvertError and leaves everything as it was. A
    /// change fires OnChange.
    int GetDateElement(int Index) const;
    void SetDateElement(int Index, int Value);
    ///@}
    ///@{
    /// The day of the month, as SetDateElement(3, Value).
    int GetDay() const { return GetDateElement(3); }
    void SetDay(int Value) { SetDateElement(3, Value); }
    ///@}
    ///@{
    /// The month, 1 to 12, as SetDateElement(2, Value).
    int GetMonth() const { return GetDateElement(2); }
    void SetMonth(int Value) { SetDateElement(2, Value); }
    ///@}
    ///@{
    /// The year, 1 to 9999, as SetDateElement(1, Value).
    int GetYear() const { return GetDateElement(1); }
    void SetYear(int Value) { SetDateElement(1, Value); }
    ///@}

    ///@{
    /// Whether the user is kept from choosing another day; false by default.
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    ///@}
    ///@{
    /// The weekday in the first column, 1 (Monday, the default) to 7
    /// (Sunday); anything else means 1. A change lays the month out again.
    short GetStartOfWeek() const { return FStartOfWeek; }
    void SetStartOfWeek(short Value);
    ///@}
    ///@{
    /// Whether the calendar started on today; true by default. Setting it
    /// true returns the date to today (without OnChange).
    bool GetUseCurrentDate() const { return FUseCurrentDate; }
    void SetUseCurrentDate(bool Value);
    ///@}

    /// Row 0: the weekday's short name; other rows: the day number, or an
    /// empty string for a cell outside the month.
    String GetCellText(int ACol, int ARow) const;
    /// The day number shown in the first column of the first day row.
    int GetMonthOffset() const { return FMonthOffset; }

    ///@{
    /// Moves to the same day of the next or previous month, clamped to that
    /// month's length (31 January goes to 28 or 29 February); fires
    /// OnChange.
    void NextMonth() { ChangeMonth(1); }
    void PrevMonth() { ChangeMonth(-1); }
    ///@}
    ///@{
    /// Moves to the same day of the next or previous year (29 February to
    /// 28 February where needed); fires OnChange.
    void NextYear();
    void PrevYear();
    ///@}

    /// Fires OnChange; called for every change of the date.
    virtual void Change();
    /// The number of days of the calendar's month.
    virtual int DaysThisMonth() const;
    /// Whether AYear is a leap year of the Gregorian calendar.
    virtual bool IsLeapYear(int AYear) const;
    /// Lays the date's month out and moves the current cell to its day.
    virtual void UpdateCalendar();
    /// The number of days of AMonth in AYear; raises ERangeError for a
    /// month outside 1 to 12.
    virtual int DaysPerMonth(int AYear, int AMonth) const;

    /// @cond internal
    void Click() override;
    void Dispatch(TMessage& Message) override;
    /// @endcond

    /// Fired after every change of the date, by the user or the program.
    TNotifyEvent OnChange;

    /// @cond internal
protected:
    // Moves to the same day Delta months on (only the sign counts), clamped
    // to the target month's length.
    void ChangeMonth(int Delta);
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    // Page Up and Page Down step the month, with Ctrl the year; the other
    // keys move through the grid.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    // Columns and rows share the new client size equally.
    void WMSize(TMessage& Message);
    // Each notch of the wheel turns one month: towards the user the next,
    // away from the user the previous (CcalendrWheel.cpp).
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    /// @endcond

private:
    TDateTime FDate = 0;
    int FMonthOffset = 0;
    bool FReadOnly = false;
    short FStartOfWeek = 0;
    bool FUpdating = false;
    bool FUseCurrentDate = true;
    TWheelNotches FWheel;
};

namespace Ccalendr {
/// Puts the calendar on the sample controls' palette page.
void Register();
} // namespace Ccalendr

} // namespace folio
