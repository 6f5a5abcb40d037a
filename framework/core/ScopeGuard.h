#pragma once

#include <exception>
#include <utility>

namespace folio {

/// Runs an action when the scope that holds it ends, whether it ends by
/// return or by an exception: the undo half of a change, written once, next
/// to the change. Dismiss keeps the action from running (an undo that is
/// needed only when something fails).
///
/// While an exception unwinds the scope, an exception from the action itself
/// is dropped: the caller hears of the failure that started the unwinding.
/// At a normal end it propagates as from any other statement.
template <typename TAction>
class TScopeGuard {
public:
    /// Holds Action, to run when the guard goes.
    explicit TScopeGuard(TAction Action)
        : FAction(std::move(Action)), FUncaught(std::uncaught_exceptions()) {}
    TScopeGuard(const TScopeGuard&) = delete;
    TScopeGuard& operator=(const TScopeGuard&) = delete;

    ~TScopeGuard() noexcept(false) {
        if (FDismissed) return;
        if (std::uncaught_exceptions() == FUncaught) {
            FAction();
            return;
        }
        try {
            FAction();
        } catch (...) {
        }
    }

    /// Keeps the action from running.
    void Dismiss() { FDismissed = true; }

private:
    TAction FAction;
    int FUncaught;
    bool FDismissed = false;
};

/// Gives a variable a new value for the length of a scope and puts the old
/// one back when the scope ends, however it ends.
template <typename T>
class TTemporaryChange {
public:
    /// Sets Variable to Value now and back to its old value when the change goes.
    TTemporaryChange(T& Variable, T Value)
        : FVariable(Variable), FOld(std::exchange(Variable, std::move(Value))) {}
    TTemporaryChange(const TTemporaryChange&) = delete;
    TTemporaryChange& operator=(const TTemporaryChange&) = delete;
    ~TTemporaryChange() { FVariable = std::move(FOld); }

private:
    T& FVariable;
    T FOld;
};

} // namespace folio
