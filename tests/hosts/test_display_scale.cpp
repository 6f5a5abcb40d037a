#include "framework/hosts/DisplayScale.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Screen.h"

#include <gtest/gtest.h>

using namespace folio;

namespace {

TEST(DisplayScale, ScaleFactorsAsUsersWriteThem) {
    struct TCase {
        const char* Text;
        int Ppi;
    };
    const TCase Cases[] = {
        {"2", 192},  {"1.5", 144}, {"1", 96},  {"1.25", 120}, {" 2", 192}, {"2\n", 192},
        {"0.5", 48}, {"8", 768},   {"0.4", 0}, {"9", 0},      {"", 0},     {"two", 0},
        {"2x", 0},   {"nan", 0},   {"-2", 0},  {nullptr, 0},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(PixelsPerInchFromScale(C.Text), C.Ppi) << (C.Text ? C.Text : "(null)");
}

TEST(DisplayScale, XftDpiIsFoundAmongTheResources) {
    struct TCase {
        const char* Resources;
        int Ppi;
    };
    const TCase Cases[] = {
        {"Xft.dpi:\t192\n", 192},
        {"Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n", 144},
        {"Xft.dpi: 96.0", 96},
        {"Xft.dpi :\t120\n", 120},
        {"Xft.antialias:\t1\n", 0},
        {"Xft.dpix:\t192\n", 0},
        {"Xft.dpi:\tlarge\n", 0},
        {"Xft.dpi:\t5000\n", 0},
        {"", 0},
        {nullptr, 0},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(PixelsPerInchFromResources(C.Resources), C.Ppi)
            << (C.Resources ? C.Resources : "(null)");
}

TEST(DisplayScale, MeasuredDpiSnapsToQuarterStepsAndOrdinaryMonitorsStayStandard) {
    struct TCase {
        float Dpi;
        int Ppi;
    };
    const TCase Cases[] = {{93.5f, 96},  {110.f, 96},  {80.f, 96},   {119.f, 96}, {121.f, 120},
                           {140.f, 144}, {185.f, 192}, {200.f, 192}, {0.f, 0},    {-5.f, 0}};
    for (const TCase& C : Cases) EXPECT_EQ(PixelsPerInchFromDisplayDpi(C.Dpi), C.Ppi) << C.Dpi;
}

TEST(DisplayScale, TheHeadlessHostStartsAndLeavesTheScreenAtTheStandardResolution) {
    Screen->SetPixelsPerInch(192);
    {
        THeadlessHost Host;
        EXPECT_EQ(Screen->GetPixelsPerInch(), 96);
        Screen->SetPixelsPerInch(144);
        EXPECT_EQ(Screen->GetPixelsPerInch(), 144);
        Screen->SetPixelsPerInch(0); // ignored
        EXPECT_EQ(Screen->GetPixelsPerInch(), 144);
    }
    EXPECT_EQ(Screen->GetPixelsPerInch(), 96);
}

} // namespace
