#include "samples/Ccalendr.h"

#include "samples/SamplesAccessible.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"
#include "framework/ui/forms/Palette.h"
#include "framework/ui/input/VirtualKeys.h"
#include "samples/SampleStrings.h"

#include <algorithm>

namespace folio {

namespace {
// The control's accessible object, found by its class.
const TAccessibleRegistration AccessibleRegistration(TCCalendar::StaticClassInfo(),
                                                     CreateCalendarAccessible);
} // namespace

const TClassInfo& TCCalendar::StaticClassInfo() {
    using C = TCCalendar;
    static const TClassInfo Info =
        TClassBuilder<C>("TCCalendar", &TCustomGrid::StaticClassInfo())
            .Publish("Align")
            .Publish("Anchors")
            .Publish("BorderStyle", static_cast<long long>(bsSingle))
            .Publish("Color", clWindow)
            .Publish("Constraints")
            .Publish("Ctl3D")
            .Publish("DragCursor")
            .Publish("DragKind")
            .Publish("DragMode")
            .Publish("Enabled")
            .Publish("Font")
            .Publish("GridLineWidth", 1)
            .Publish("ParentColor")
            .Publish("ParentFont")
            .Publish("ParentShowHint")
            .Publish("PopupMenu")
            .Publish("ShowHint")
            .Publish("TabOrder")
            .Publish("TabStop")
            .Publish("Visible")
            .Publish("OnClick")
            .Publish("OnDblClick")
            .Publish("OnDragDrop")
            .Publish("OnDragOver")
            .Publish("OnEndDock")
            .Publish("OnEndDrag")
            .Publish("OnEnter")
            .Publish("OnExit")
            .Publish("OnKeyDown")
            .Publish("OnKeyPress")
            .Publish("OnKeyUp")
            .Publish("OnStartDock")
            .Publish("OnStartDrag")
            // The date itself is never stored: a loaded calendar starts at
            // the day it is created.
            .Int("Day", &C::GetDay, &C::SetDay)
            .NotStored()
            .Int("Month", &C::GetMonth, &C::SetMonth)
            .NotStored()
            .Bool("ReadOnly", &C::GetReadOnly, &C::SetReadOnly, false)
            .Int("StartOfWeek", &C::GetStartOfWeek, &C::SetStartOfWeek, 1)
            .Bool("UseCurrentDate", &C::GetUseCurrentDate, &C::SetUseCurrentDate, true)
            .Int("Year", &C::GetYear, &C::SetYear)
            .NotStored()
            .Event("OnChange", &C::OnChange)
            .Creatable()
            .Build();
    return Info;
}

FOLIO_REGISTER_CLASS(TCCalendar)

// --- construction ------------------------------------------------------------------------

TCCalendar::TCCalendar(TComponent* AOwner) : TCustomGrid(AOwner) {
    SetFixedCols(0);
    SetFixedRows(1);
    SetColCount(7);
    SetRowCount(7);
    SetStartOfWeek(1);
    SetScrollBars(ssNone);
    FDate = Date();
    TGridOptions Options = GetOptions();
    Options.Exclude(goRangeSelect);
    Options.Include(goDrawFocusSelected);
    SetOptions(Options);
    UpdateCalendar();
}

// --- the date ------------------------------------------------------------------------------

void TCCalendar::SeTCCalendarDate(TDateTime Value) {
    // A value that decodes to no real day would break the layout; refuse it
    // before anything changes.
    int Y = 0, M = 0, D = 0;
    TDateTime Check = 0;
    DecodeDate(Value, Y, M, D);
    if (!TryEncodeDate(Y, M, D, Check)) throw EConvertError(SInvalidDate);
    FDate = Value;
    UpdateCalendar();
    Change();
}

int TCCalendar::GetDateElement(int Index) const {
    int Y = 0, M = 0, D = 0;
    DecodeDate(FDate, Y, M, D);
    switch (Index) {
    case 1:
        return Y;
    case 2:
        return M;
    case 3:
        return D;
    default:
        return -1;
    }
}

void TCCalendar::SetDateElement(int Index, int Value) {
    if (Value <= 0) return;
    int Y = 0, M = 0, D = 0;
    DecodeDate(FDate, Y, M, D);
    bool Taken = false;
    switch (Index) {
    case 1:
        if (Value != Y) {
            Y = Value;
            Taken = true;
        }
        break;
    case 2:
        if (Value <= 12 && Value != M) {
            M = Value;
            Taken = true;
        }
        break;
    case 3:
        if (Value <= DaysThisMonth() && Value != D) {
            D = Value;
            Taken = true;
        }
        break;
    default:
        break;
    }
    if (!Taken) return;
    // Encoding fails for a day the new month or year lacks; nothing has
    // changed by then.
    FDate = EncodeDate(Y, M, D);
    FUseCurrentDate = false;
    UpdateCalendar();
    Change();
}

void TCCalendar::SetStartOfWeek(short Value) {
    if (Value > 7 || Value < 1) Value = 1;
    if (Value == FStartOfWeek) return;
    FStartOfWeek = Value;
    UpdateCalendar();
}

void TCCalendar::SetUseCurrentDate(bool Value) {
    if (Value == FUseCurrentDate) return;
    FUseCurrentDate = Value;
    if (Value) {
        FDate = Date();
        UpdateCalendar();
    }
}

void TCCalendar::Change() {
    if (OnChange) OnChange(this);
}

bool TCCalendar::IsLeapYear(int AYear) const {
    return AYear % 4 == 0 && (AYear % 100 != 0 || AYear % 400 == 0);
}

int TCCalendar::DaysPerMonth(int AYear, int AMonth) const {
    static const int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (AMonth < 1 || AMonth > 12)
        throw ERangeError(Format("Month %d is outside the range 1 to 12", AMonth));
    return Days[AMonth - 1] + (AMonth == 2 && IsLeapYear(AYear) ? 1 : 0);
}

int TCCalendar::DaysThisMonth() const {
    int Y = 0, M = 0, D = 0;
    DecodeDate(FDate, Y, M, D);
    return DaysPerMonth(Y, M);
}

// --- stepping ------------------------------------------------------------------------------

void TCCalendar::ChangeMonth(int Delta) {
    int Y = 0, M = 0, D = 0;
    DecodeDate(FDate, Y, M, D);
    // Stepping from the month's last (or first) day lands in the next (or
    // previous) month whatever the day, and years roll over by themselves.
    TDateTime Anchor = EncodeDate(Y, M, Delta > 0 ? DaysPerMonth(Y, M) : 1) + Delta;
    int NewYear = 0, NewMonth = 0, NewDay = 0;
    DecodeDate(Anchor, NewYear, NewMonth, NewDay);
    NewDay = std::min(D, DaysPerMonth(NewYear, NewMonth));
    SeTCCalendarDate(EncodeDate(NewYear, NewMonth, NewDay));
}

void TCCalendar::NextYear() {
    // 29 February has no match in the next year; step back a day first.
    if (IsLeapYear(GetYear()) && GetMonth() == 2 && GetDay() == 29) SetDay(28);
    SetYear(GetYear() + 1);
}

void TCCalendar::PrevYear() {
    if (IsLeapYear(GetYear()) && GetMonth() == 2 && GetDay() == 29) SetDay(28);
    SetYear(GetYear() - 1);
}

// --- layout --------------------------------------------------------------------------------

void TCCalendar::UpdateCalendar() {
    // SelectCell lets the current cell move even when the calendar is read-only.
    struct TUpdating {
        bool& Flag;
        explicit TUpdating(bool& F) : Flag(F) { Flag = true; }
        ~TUpdating() { Flag = false; }
    } Guard(FUpdating);
    int Y = 0, M = 0, D = 0;
    DecodeDate(FDate, Y, M, D);
    const int FirstWeekday = DayOfWeek(EncodeDate(Y, M, 1)); // 1 Sunday .. 7 Saturday
    FMonthOffset = 2 - ((FirstWeekday - FStartOfWeek + 7) % 7);
    // Day 1 must sit in the first day row.
    if (FMonthOffset == 2) FMonthOffset = -5;
    const int N = D - FMonthOffset;
    MoveColRow(N % 7, N / 7 + 1, false, false);
    Invalidate();
}

String TCCalendar::GetCellText(int ACol, int ARow) const {
    if (ARow == 0) return ShortDayName((FStartOfWeek + ACol) % 7 + 1);
    const int DayNum = FMonthOffset + ACol + (ARow - 1) * 7;
    if (DayNum < 1 || DayNum > DaysThisMonth()) return String();
    return IntToStr(DayNum);
}

// --- grid ----------------------------------------------------------------------------------

void TCCalendar::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState) {
    TCanvas* Canvas = GetCanvas();
    const String Text = GetCellText(ACol, ARow);
    const int X = ARect.Left + (ARect.Width() - Canvas->TextWidth(Text)) / 2;
    const int Y = ARect.Top + (ARect.Height() - Canvas->TextHeight(Text)) / 2;
    Canvas->TextRect(ARect, X, Y, Text);
}

bool TCCalendar::SelectCell(int ACol, int ARow) {
    if (FReadOnly && !FUpdating) return false;
    if (GetCellText(ACol, ARow).empty()) return false;
    return TCustomGrid::SelectCell(ACol, ARow);
}

void TCCalendar::Click() {
    TCustomGrid::Click();
    const String Text = GetCellText(GetCol(), GetRow());
    if (!Text.empty()) SetDateElement(3, StrToInt(Text));
}

void TCCalendar::KeyDown(unsigned short& Key, TShiftState Shift) {
    if (Key != VK_PRIOR && Key != VK_NEXT) {
        TCustomGrid::KeyDown(Key, Shift);
        return;
    }
    // A page of the grid is most of the month, which says nothing: the
    // pages of a calendar are its months, and with Ctrl its years. The key
    // event comes first and may take the key; the grid's own paging is
    // left out.
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0 || FReadOnly) return;
    const bool Forward = Key == VK_NEXT;
    Key = 0;
    if (Shift.Contains(ssCtrl)) {
        if (Forward)
            NextYear();
        else
            PrevYear();
    } else if (Forward) {
        NextMonth();
    } else {
        PrevMonth();
    }
}

void TCCalendar::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_SIZE) {
        WMSize(Message);
        return;
    }
    TCustomGrid::Dispatch(Message);
}

void TCCalendar::WMSize(TMessage& Message) {
    const int Width = static_cast<int>(Message.LParam & 0xFFFF);
    const int Height = static_cast<int>((Message.LParam >> 16) & 0xFFFF);
    const int Lines = 6 * GetGridLineWidth();
    SetDefaultColWidth((Width - Lines) / 7);
    SetDefaultRowHeight((Height - Lines) / 7);
}

// --- registration --------------------------------------------------------------------------

namespace Ccalendr {
void Register() {
    RegisterComponents(LoadStr(SSamplesPage), {&TCCalendar::StaticClassInfo()});
}
} // namespace Ccalendr

} // namespace folio
