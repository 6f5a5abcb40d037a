#include "samples/Ccalendr.h"

#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"
#include "framework/design/DesignRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/VirtualKeys.h"
#include "samples/SampleStrings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace folio;

namespace {

// A calendar sized as a window of 150 x 120 client pixels would size it:
// columns of 20 and rows of 16 pixels, one-pixel lines between them.
std::unique_ptr<TCCalendar> MakeCalendar(int Y, int M, int D) {
    auto Cal = std::make_unique<TCCalendar>(nullptr);
    Cal->SetBounds(0, 0, 150, 120);
    Cal->Perform(WM_SIZE, 0, MAKELPARAM(150, 120));
    Cal->SeTCCalendarDate(EncodeDate(Y, M, D));
    return Cal;
}

// The client point in the middle of a cell of such a calendar.
TPoint CellCentre(int ACol, int ARow) {
    return TPoint{ACol * 21 + 10, ARow * 17 + 8};
}

void ClickCell(TCCalendar& Cal, int ACol, int ARow) {
    const TPoint P = CellCentre(ACol, ARow);
    Cal.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(P.X, P.Y));
    Cal.Perform(WM_LBUTTONUP, 0, MAKELPARAM(P.X, P.Y));
}

struct TChangeCounter {
    int Count = 0;
    void Attach(TCCalendar& Cal) {
        Cal.OnChange = [this, &Cal](TObject* Sender) {
            EXPECT_EQ(Sender, &Cal);
            ++Count;
        };
    }
};

} // namespace

TEST(Calendar, NewCalendarShowsTodayMondayFirst) {
    TCCalendar Cal(nullptr);
    EXPECT_EQ(Cal.GetCalendarDate(), Date());
    EXPECT_TRUE(Cal.GetUseCurrentDate());
    EXPECT_EQ(Cal.GetStartOfWeek(), 1);
    EXPECT_EQ(Cal.GetColCount(), 7);
    EXPECT_EQ(Cal.GetRowCount(), 7);
    EXPECT_EQ(Cal.GetFixedCols(), 0);
    EXPECT_EQ(Cal.GetFixedRows(), 1);
    EXPECT_FALSE(Cal.GetOptions().Contains(goRangeSelect));
    EXPECT_TRUE(Cal.GetOptions().Contains(goDrawFocusSelected));
    EXPECT_EQ(Cal.GetScrollBars(), ssNone);
    EXPECT_EQ(Cal.GetCellText(0, 0), "Mon");
    EXPECT_EQ(Cal.GetCellText(6, 0), "Sun");
    // The current cell is today's.
    EXPECT_EQ(Cal.GetCellText(Cal.GetCol(), Cal.GetRow()), IntToStr(Cal.GetDay()));
}

TEST(Calendar, LeapFebruaryLaidOutMondayFirst) {
    // 1 February 2020 was a Saturday.
    auto Cal = MakeCalendar(2020, 2, 29);
    EXPECT_EQ(Cal->GetMonthOffset(), -4);
    for (int C = 0; C < 5; ++C) EXPECT_EQ(Cal->GetCellText(C, 1), "") << C;
    EXPECT_EQ(Cal->GetCellText(5, 1), "1");
    EXPECT_EQ(Cal->GetCellText(6, 1), "2");
    EXPECT_EQ(Cal->GetCellText(5, 5), "29");
    EXPECT_EQ(Cal->GetCellText(6, 5), "");
    for (int C = 0; C < 7; ++C) EXPECT_EQ(Cal->GetCellText(C, 6), "") << C;
    EXPECT_EQ(Cal->GetCol(), 5);
    EXPECT_EQ(Cal->GetRow(), 5);
}

TEST(Calendar, MonthStartingOnTheWeeksLastDayKeepsDayOneInTheFirstRow) {
    // 1 March 2020 was a Sunday: with Monday first it closes the first row.
    auto Cal = MakeCalendar(2020, 3, 1);
    EXPECT_EQ(Cal->GetMonthOffset(), -5);
    EXPECT_EQ(Cal->GetCellText(6, 1), "1");
    EXPECT_EQ(Cal->GetCol(), 6);
    EXPECT_EQ(Cal->GetRow(), 1);
    // Sunday first: the same day opens the first row.
    Cal->SetStartOfWeek(7);
    EXPECT_EQ(Cal->GetMonthOffset(), 1);
    EXPECT_EQ(Cal->GetCellText(0, 0), "Sun");
    EXPECT_EQ(Cal->GetCellText(0, 1), "1");
    EXPECT_EQ(Cal->GetCol(), 0);
}

TEST(Calendar, StartOfWeekOutsideTheWeekBecomesMonday) {
    auto Cal = MakeCalendar(2020, 2, 29);
    Cal->SetStartOfWeek(3);
    EXPECT_EQ(Cal->GetCellText(0, 0), "Wed");
    for (short Bad : {short(0), short(8), short(-3)}) {
        Cal->SetStartOfWeek(3);
        Cal->SetStartOfWeek(Bad);
        EXPECT_EQ(Cal->GetStartOfWeek(), 1) << Bad;
        EXPECT_EQ(Cal->GetMonthOffset(), -4);
    }
}

TEST(Calendar, MonthSteppingClampsTheDayAndCrossesYears) {
    struct TCase {
        int Y, M, D;
        bool Next;
        int EY, EM, ED;
    };
    const TCase Cases[] = {
        {2021, 1, 31, true, 2021, 2, 28},  {2020, 1, 31, true, 2020, 2, 29},
        {2021, 3, 31, false, 2021, 2, 28}, {2020, 3, 31, false, 2020, 2, 29},
        {2020, 12, 15, true, 2021, 1, 15}, {2021, 1, 15, false, 2020, 12, 15},
        {2021, 5, 31, true, 2021, 6, 30},  {2021, 1, 1, false, 2020, 12, 1},
    };
    for (const TCase& C : Cases) {
        auto Cal = MakeCalendar(C.Y, C.M, C.D);
        TChangeCounter Changes;
        Changes.Attach(*Cal);
        if (C.Next)
            Cal->NextMonth();
        else
            Cal->PrevMonth();
        EXPECT_EQ(Cal->GetCalendarDate(), EncodeDate(C.EY, C.EM, C.ED)) << C.Y << "-" << C.M;
        EXPECT_EQ(Changes.Count, 1);
        // Stepping months goes through CalendarDate, which keeps the flag.
        EXPECT_TRUE(Cal->GetUseCurrentDate());
        EXPECT_EQ(Cal->GetCellText(Cal->GetCol(), Cal->GetRow()), IntToStr(C.ED));
    }
}

TEST(Calendar, YearSteppingFromLeapDayFiresTwice) {
    auto Cal = MakeCalendar(2000, 2, 29);
    TChangeCounter Changes;
    Changes.Attach(*Cal);
    Cal->NextYear();
    EXPECT_EQ(Cal->GetCalendarDate(), EncodeDate(2001, 2, 28));
    EXPECT_EQ(Changes.Count, 2);
    EXPECT_FALSE(Cal->GetUseCurrentDate());

    Cal->SeTCCalendarDate(EncodeDate(2000, 2, 29));
    Changes.Count = 0;
    Cal->PrevYear();
    EXPECT_EQ(Cal->GetCalendarDate(), EncodeDate(1999, 2, 28));
    EXPECT_EQ(Changes.Count, 2);

    // Any other day steps in one change.
    Changes.Count = 0;
    Cal->NextYear();
    EXPECT_EQ(Cal->GetCalendarDate(), EncodeDate(2000, 2, 28));
    EXPECT_EQ(Changes.Count, 1);
}

TEST(Calendar, ImpossibleDatesFailAndChangeNothing) {
    auto Cal = MakeCalendar(2021, 1, 31);
    TChangeCounter Changes;
    Changes.Attach(*Cal);
    const int Col = Cal->GetCol(), Row = Cal->GetRow();
    EXPECT_THROW(Cal->SetMonth(4), EConvertError);
    EXPECT_EQ(Cal->GetCalendarDate(), EncodeDate(2021, 1, 31));
    EXPECT_TRUE(Cal->GetUseCurrentDate());
    EXPECT_EQ(Cal->GetCol(), Col);
    EXPECT_EQ(Cal->GetRow(), Row);
    EXPECT_EQ(Cal->GetMonthOffset(), -3);

    Cal->SeTCCalendarDate(EncodeDate(2020, 2, 29));
    Changes.Count = 0;
    EXPECT_THROW(Cal->SetYear(2021), EConvertError);
    EXPECT_EQ(Cal->GetCalendarDate(), EncodeDate(2020, 2, 29));
    EXPECT_TRUE(Cal->GetUseCurrentDate());
    EXPECT_THROW(Cal->SetYear(10000), EConvertError);
    EXPECT_EQ(Changes.Count, 0);

    // A value that is no day at all is refused before it is stored.
    EXPECT_THROW(Cal->SeTCCalendarDate(-700000.0), EConvertError);
    EXPECT_EQ(Cal->GetCalendarDate(), EncodeDate(2020, 2, 29));
}

TEST(Calendar, OutOfRangeAndUnchangedElementsAreIgnoredQuietly) {
    auto Cal = MakeCalendar(2021, 4, 30);
    TChangeCounter Changes;
    Changes.Attach(*Cal);
    Cal->SetMonth(13);
    Cal->SetDay(31);
    Cal->SetDay(0);
    Cal->SetYear(-5);
    Cal->SetDay(30);
    Cal->SetDateElement(4, 7);
    EXPECT_EQ(Cal->GetCalendarDate(), EncodeDate(2021, 4, 30));
    EXPECT_EQ(Changes.Count, 0);
    EXPECT_TRUE(Cal->GetUseCurrentDate());
    EXPECT_EQ(Cal->GetDateElement(0), -1);

    Cal->SetDay(12);
    EXPECT_EQ(Cal->GetCalendarDate(), EncodeDate(2021, 4, 12));
    EXPECT_EQ(Changes.Count, 1);
    EXPECT_FALSE(Cal->GetUseCurrentDate());
}

TEST(Calendar, UseCurrentDateReturnsToTodayWithoutChange) {
    auto Cal = MakeCalendar(2001, 7, 4);
    Cal->SetDay(5);
    ASSERT_FALSE(Cal->GetUseCurrentDate());
    TChangeCounter Changes;
    Changes.Attach(*Cal);
    Cal->SetUseCurrentDate(true);
    EXPECT_EQ(Cal->GetCalendarDate(), Date());
    EXPECT_EQ(Changes.Count, 0);
    EXPECT_EQ(Cal->GetCellText(Cal->GetCol(), Cal->GetRow()), IntToStr(Cal->GetDay()));
}

TEST(Calendar, ClickingADaySetsTheDate) {
    auto Cal = MakeCalendar(2020, 2, 10);
    TChangeCounter Changes;
    Changes.Attach(*Cal);
    ClickCell(*Cal, 5, 5);
    EXPECT_EQ(Cal->GetCalendarDate(), EncodeDate(2020, 2, 29));
    EXPECT_EQ(Changes.Count, 1);
    EXPECT_FALSE(Cal->GetUseCurrentDate());

    // A blank cell before day 1 and a day-name cell change nothing.
    ClickCell(*Cal, 2, 1);
    ClickCell(*Cal, 2, 0);
    ClickCell(*Cal, 3, 6);
    EXPECT_EQ(Cal->GetCalendarDate(), EncodeDate(2020, 2, 29));
    EXPECT_EQ(Cal->GetCol(), 5);
    EXPECT_EQ(Cal->GetRow(), 5);
    EXPECT_EQ(Changes.Count, 1);
}

TEST(Calendar, ReadOnlyBlocksClicksButNotTheLayout) {
    auto Cal = MakeCalendar(2020, 2, 10);
    Cal->SetReadOnly(true);
    TChangeCounter Changes;
    Changes.Attach(*Cal);
    const int Col = Cal->GetCol(), Row = Cal->GetRow();
    ClickCell(*Cal, 5, 5);
    EXPECT_EQ(Cal->GetCol(), Col);
    EXPECT_EQ(Cal->GetRow(), Row);
    EXPECT_EQ(Cal->GetCalendarDate(), EncodeDate(2020, 2, 10));
    EXPECT_EQ(Changes.Count, 0);

    // The program still moves the date, and the selection follows it.
    Cal->SetDay(29);
    EXPECT_EQ(Cal->GetCol(), 5);
    EXPECT_EQ(Cal->GetRow(), 5);
    EXPECT_EQ(Changes.Count, 1);
}

TEST(Calendar, SizeMessageSharesTheClientArea) {
    TCCalendar Cal(nullptr);
    Cal.Perform(WM_SIZE, 0, MAKELPARAM(150, 120));
    EXPECT_EQ(Cal.GetDefaultColWidth(), 20);
    EXPECT_EQ(Cal.GetDefaultRowHeight(), 16);
    Cal.SetGridLineWidth(3);
    Cal.Perform(WM_SIZE, 0, MAKELPARAM(150, 120));
    EXPECT_EQ(Cal.GetDefaultColWidth(), 18);
    EXPECT_EQ(Cal.GetDefaultRowHeight(), 14);
}

TEST(Calendar, MonthLengthRuleIsVirtual) {
    // A calendar without leap years: its February always has 28 days.
    struct TNoLeapCalendar : TCCalendar {
        using TCCalendar::TCCalendar;
        bool IsLeapYear(int) const override { return false; }
    } Cal(nullptr);
    Cal.SeTCCalendarDate(EncodeDate(2020, 2, 10));
    EXPECT_EQ(Cal.DaysThisMonth(), 28);
    EXPECT_EQ(Cal.GetCellText(4, 5), "28");
    EXPECT_EQ(Cal.GetCellText(5, 5), "");
    EXPECT_THROW(Cal.DaysPerMonth(2020, 13), ERangeError);
}

TEST(Calendar, PublishedPropertiesAndRegistration) {
    const TClassInfo& Info = TCCalendar::StaticClassInfo();
    TCCalendar Cal(nullptr);
    for (const char* Name : {"Day", "Month", "Year"}) {
        const TPropInfo* P = Info.FindProperty(Name);
        ASSERT_NE(P, nullptr) << Name;
        EXPECT_FALSE(P->IsStored(Cal)) << Name;
    }
    EXPECT_EQ(Info.FindProperty("CalendarDate"), nullptr);
    EXPECT_TRUE(Info.FindProperty("StartOfWeek")->HasDefaultValue(Cal));
    EXPECT_TRUE(Info.FindProperty("UseCurrentDate")->HasDefaultValue(Cal));
    EXPECT_TRUE(Info.FindProperty("ReadOnly")->HasDefaultValue(Cal));
    EXPECT_TRUE(Info.FindProperty("GridLineWidth")->HasDefaultValue(Cal));
    EXPECT_TRUE(Info.FindProperty("BorderStyle")->HasDefaultValue(Cal));
    EXPECT_NE(Info.FindProperty("OnChange"), nullptr);
    EXPECT_EQ(Info.FindProperty("ColCount"), nullptr);

    Ccalendr::Register();
    EXPECT_EQ(PalettePageOf(Info), LoadStr(SSamplesPage));
    std::unique_ptr<TComponent> Made(CreateComponent("TCCalendar", nullptr));
    EXPECT_NE(dynamic_cast<TCCalendar*>(Made.get()), nullptr);
}

TEST(CalendarPaint, DaysAreCentredAndTheDayIsHighlighted) {
    THeadlessHost Host;
    TForm Form(nullptr);
    Form.SetBorderStyle(bsNone);
    Form.SetBounds(0, 0, 300, 200);
    auto* Cal = new TCCalendar(&Form);
    Cal->SetBorderStyle(bsNone);
    Cal->SetBounds(0, 0, 150, 120);
    Cal->SeTCCalendarDate(EncodeDate(2020, 2, 29));
    // Out of the tab order, the calendar does not get the keyboard as the
    // form opens: the unfocused look is tested here.
    Cal->SetTabStop(false);
    Cal->SetParent(&Form);
    Form.Show();
    Host.RunUntilIdle();
    // The window's size message gave cells of 20 x 16.
    ASSERT_EQ(Cal->GetDefaultColWidth(), 20);
    ASSERT_EQ(Cal->GetDefaultRowHeight(), 16);

    // Ink of a cell: the box of pixels that differ from its background,
    // inside the one-pixel edge that fixed cells draw.
    auto Ink = [&](int ACol, int ARow, TColor Background) {
        const TRect R = Cal->CellRect(ACol, ARow);
        TRect Box{R.Right, R.Bottom, R.Left, R.Top};
        for (int Y = R.Top + 1; Y < R.Bottom - 1; ++Y)
            for (int X = R.Left + 1; X < R.Right - 1; ++X) {
                const TColor C = Host.Pixel(&Form, X, Y);
                EXPECT_NE(C, -1);
                if (C == Background) continue;
                Box = TRect{std::min(Box.Left, X), std::min(Box.Top, Y), std::max(Box.Right, X + 1),
                            std::max(Box.Bottom, Y + 1)};
            }
        return Box;
    };
    const TColor Highlight = ColorToRGB(clHighlight);
    const TRect Day = Cal->CellRect(5, 5);
    EXPECT_EQ(Host.Pixel(&Form, Day.Left, Day.Top), Highlight);
    const TRect Box = Ink(5, 5, Highlight);
    ASSERT_FALSE(Box.IsEmpty());
    // Centred: the ink's middle lies within two pixels of the cell's.
    EXPECT_NEAR(Box.Left + Box.Right, Day.Left + Day.Right, 4);
    EXPECT_NEAR(Box.Top + Box.Bottom, Day.Top + Day.Bottom, 4);

    EXPECT_TRUE(Ink(6, 6, ColorToRGB(clWindow)).IsEmpty());
    EXPECT_TRUE(Ink(0, 1, ColorToRGB(clWindow)).IsEmpty());
    EXPECT_FALSE(Ink(0, 0, ColorToRGB(clBtnFace)).IsEmpty());
}

// Page keys turn the calendar's pages: months, and years with Ctrl, keeping
// the day as the stepping operations keep it; typed on a focused calendar.
TEST(CalendarKeys, PageKeysStepMonthsAndWithCtrlYears) {
    THeadlessHost Host;
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 300, 200);
    auto* Cal = new TCCalendar(&Form);
    Cal->SetBounds(0, 0, 150, 120);
    Cal->SetParent(&Form);
    Form.Show();
    Cal->SetFocus();
    Host.RunUntilIdle();
    struct TCase {
        TDateTime From;
        unsigned short Key;
        TShiftState Shift;
        TDateTime To;
    };
    const TShiftState Ctrl{ssCtrl};
    const TCase Cases[] = {
        {EncodeDate(2024, 1, 31), VK_NEXT, {}, EncodeDate(2024, 2, 29)},
        {EncodeDate(2023, 3, 31), VK_PRIOR, {}, EncodeDate(2023, 2, 28)},
        {EncodeDate(2024, 12, 15), VK_NEXT, {}, EncodeDate(2025, 1, 15)},
        {EncodeDate(2024, 1, 15), VK_PRIOR, {}, EncodeDate(2023, 12, 15)},
        {EncodeDate(2024, 6, 15), VK_NEXT, Ctrl, EncodeDate(2025, 6, 15)},
        {EncodeDate(2024, 2, 29), VK_NEXT, Ctrl, EncodeDate(2025, 2, 28)},
        {EncodeDate(2024, 2, 29), VK_PRIOR, Ctrl, EncodeDate(2023, 2, 28)},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(Format("day %d%s%s", static_cast<int>(C.From),
                            C.Shift.Contains(ssCtrl) ? " Ctrl" : "",
                            C.Key == VK_NEXT ? " PgDn" : " PgUp"));
        Cal->SeTCCalendarDate(C.From);
        Host.KeyDown(VK_CONTROL, C.Shift);
        Host.Key(C.Key, C.Shift);
        Host.KeyUp(VK_CONTROL);
        EXPECT_EQ(Cal->GetCalendarDate(), C.To);
        // The current cell follows the date.
        EXPECT_EQ(Cal->GetCellText(Cal->GetCol(), Cal->GetRow()), IntToStr(Cal->GetDay()));
    }

    // A read-only calendar stays where it is; so does one whose key event
    // takes the key.
    const TDateTime Fixed = EncodeDate(2024, 5, 10);
    Cal->SeTCCalendarDate(Fixed);
    Cal->SetReadOnly(true);
    Host.Key(VK_NEXT);
    EXPECT_EQ(Cal->GetCalendarDate(), Fixed);
    Cal->SetReadOnly(false);
    Cal->OnKeyDown = [](TObject*, unsigned short& Key, TShiftState) { Key = 0; };
    Host.Key(VK_PRIOR);
    EXPECT_EQ(Cal->GetCalendarDate(), Fixed);
}
