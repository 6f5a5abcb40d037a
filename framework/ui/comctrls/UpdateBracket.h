#pragma once

namespace folio {

/// The BeginUpdate / EndUpdate count of a collection of entries: changes
/// made inside the brackets are told once, when the last one closes.
class TUpdateBracket {
public:
    /// Opens a bracket; brackets nest.
    void Begin() { ++FCount; }
    /// True when the last bracket closed over changes still to be told.
    bool End() {
        if (FCount == 0 || --FCount > 0 || !FPending) return false;
        FPending = false;
        return true;
    }
    /// True when a change is to be told now; inside brackets it waits.
    bool Change() {
        FPending = FCount > 0;
        return !FPending;
    }
    /// True while at least one bracket is open.
    bool Open() const { return FCount > 0; }

private:
    int FCount = 0;
    bool FPending = false;
};

} // namespace folio
