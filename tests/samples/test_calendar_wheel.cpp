#include "samples/Ccalendr.h"

#include "framework/core/SysUtils.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

TEST(CalendarWheel, EachNotchTurnsOneMonthWithTheDayClamped) {
    THeadlessHost Host;
    auto Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 300, 200);
    auto* Cal = new TCCalendar(Form.get());
    Cal->SetBounds(10, 10, 150, 120);
    Cal->SetParent(Form.get());
    Cal->SeTCCalendarDate(EncodeDate(2024, 1, 31));
    int Changes = 0;
    Cal->OnChange = [&](TObject*) { ++Changes; };
    Form->Show();
    Host.RunUntilIdle();
    Host.MoveTo(Cal->ClientToScreen(Point(70, 60)));

    // Towards the user: the next month, the 31st clamped to February's end.
    Host.Wheel(-WHEEL_DELTA);
    EXPECT_EQ(Cal->GetCalendarDate(), EncodeDate(2024, 2, 29));
    EXPECT_EQ(Changes, 1);
    // Away: back two months, in two notches of one turn.
    Host.Wheel(2 * WHEEL_DELTA);
    EXPECT_EQ(Cal->GetCalendarDate(), EncodeDate(2023, 12, 29));
    EXPECT_EQ(Changes, 3);
    // A fine-grained wheel turns the month once its parts make a notch.
    Host.Wheel(-60);
    EXPECT_EQ(Changes, 3);
    Host.Wheel(-60);
    EXPECT_EQ(Cal->GetCalendarDate(), EncodeDate(2024, 1, 29));
    EXPECT_EQ(Changes, 4);
}
