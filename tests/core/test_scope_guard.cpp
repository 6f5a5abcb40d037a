#include "framework/core/ScopeGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace folio;

namespace {

TEST(ScopeGuard, RunsAtTheEndOfItsScopeHoweverItEndsUnlessDismissed) {
    int Runs = 0;
    {
        TScopeGuard Guard([&] { ++Runs; });
    }
    EXPECT_EQ(Runs, 1);
    EXPECT_THROW(
        {
            TScopeGuard Guard([&] { ++Runs; });
            throw std::runtime_error("fails");
        },
        std::runtime_error);
    EXPECT_EQ(Runs, 2);
    {
        TScopeGuard Guard([&] { ++Runs; });
        Guard.Dismiss();
    }
    EXPECT_EQ(Runs, 2);
}

TEST(ScopeGuard, AFailingUndoIsDroppedWhileAnotherFailureUnwinds) {
    auto Fail = [] { throw std::logic_error("undo"); };
    // Unwinding: the first failure reaches the caller, the program goes on.
    try {
        TScopeGuard Guard(Fail);
        throw std::runtime_error("work");
    } catch (const std::exception& E) {
        EXPECT_EQ(std::string(E.what()), "work");
    }
    // At a normal end the undo's failure is the caller's to see.
    EXPECT_THROW({ TScopeGuard Guard(Fail); }, std::logic_error);
}

TEST(TemporaryChange, PutsTheOldValueBackHoweverTheScopeEnds) {
    bool Busy = false;
    std::string Mode = "idle";
    {
        TTemporaryChange A(Busy, true);
        TTemporaryChange B(Mode, std::string("outer"));
        EXPECT_TRUE(Busy);
        {
            TTemporaryChange C(Mode, std::string("inner"));
            EXPECT_EQ(Mode, "inner");
        }
        EXPECT_EQ(Mode, "outer");
    }
    EXPECT_FALSE(Busy);
    EXPECT_EQ(Mode, "idle");
    EXPECT_THROW(
        {
            TTemporaryChange A(Busy, true);
            throw std::runtime_error("fails");
        },
        std::runtime_error);
    EXPECT_FALSE(Busy);
}

} // namespace
