#pragma once

#include "framework/core/DateUtils.h"
#include "framework/ui/grids/Grids.h"
#include "framework/ui/input/WheelNotches.h"

namespace folio {

// A month calendar: a 7 x 7 grid whose first row names the weekdays and
// whose other six rows hold the day numbers of one month, with the
// calendar's day as the current cell. Every change of the date made through
// its properties, a click on a day or the stepping operations fires
// OnChange.
class TCCalendar : public TCustomGrid {
    FOLIO_CLASS(TCCalendar)
public:
    explicit TCCalendar(TComponent* AOwner);

    TDateTime GetCalendarDate() const { return FDate; }
    // Stores the date and fires OnChange; UseCurrentDate stays as it is.
    // Raises EConvertError for a value that is no date of years 1 to 9999.
    // "SeTC" is the published spelling, which callers use; SetCalendarDate
    // does the same.
    void SeTCCalendarDate(TDateTime Value);
    void SetCalendarDate(TDateTime Value) { SeTCCalendarDate(Value); }

    // 1: year, 2: month, 3: day; -1 for any other index.
    int GetDateElement(int Index) const;
    // Values of 0 or less, months above 12 and days beyond the month are
    // ignored. A combination that does not exist (31 April) raises
    // EConvertError and leaves everything as it was.
    void SetDateElement(int Index, int Value);
    int GetDay() const { return GetDateElement(3); }
    void SetDay(int Value) { SetDateElement(3, Value); }
    int GetMonth() const { return GetDateElement(2); }
    void SetMonth(int Value) { SetDateElement(2, Value); }
    int GetYear() const { return GetDateElement(1); }
    void SetYear(int Value) { SetDateElement(1, Value); }

    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    // 1 Monday .. 7 Sunday in the first column; anything else means 1.
    short GetStartOfWeek() const { return FStartOfWeek; }
    void SetStartOfWeek(short Value);
    bool GetUseCurrentDate() const { return FUseCurrentDate; }
    // Setting it true returns the date to today (without OnChange).
    void SetUseCurrentDate(bool Value);

    // Row 0: the weekday's short name; other rows: the day number, or an
    // empty string for a cell outside the month.
    String GetCellText(int ACol, int ARow) const;
    // The day number shown in the first column of the first day row.
    int GetMonthOffset() const { return FMonthOffset; }

    void NextMonth() { ChangeMonth(1); }
    void PrevMonth() { ChangeMonth(-1); }
    void NextYear();
    void PrevYear();

    virtual void Change();
    virtual int DaysThisMonth() const;
    virtual bool IsLeapYear(int AYear) const;
    // Lays the date's month out and moves the current cell to its day.
    virtual void UpdateCalendar();
    // Raises ERangeError for a month outside 1 to 12.
    virtual int DaysPerMonth(int AYear, int AMonth) const;

    void Click() override;
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnChange;

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
// Puts the calendar on the sample controls' palette page.
void Register();
} // namespace Ccalendr

} // namespace folio
