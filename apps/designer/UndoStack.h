#pragma once

#include "framework/core/Types.h"

#include <cstddef>
#include <deque>

namespace designer {

// The designer's undo steps: each is the whole form as it was before a
// change. The oldest steps go once there are more than the limit.
class TUndoStack {
public:
    explicit TUndoStack(std::size_t Limit = 100) : FLimit(Limit) {}

    void Push(folio::String State) {
        FSteps.push_back(std::move(State));
        if (FSteps.size() > FLimit) FSteps.pop_front();
    }
    bool CanUndo() const { return !FSteps.empty(); }
    folio::String Pop() {
        folio::String State = std::move(FSteps.back());
        FSteps.pop_back();
        return State;
    }
    void Clear() { FSteps.clear(); }
    std::size_t Count() const { return FSteps.size(); }

private:
    std::size_t FLimit;
    std::deque<folio::String> FSteps;
};

} // namespace designer
