#include "framework/ui/app/WindowHandles.h"

#include "framework/ui/app/Application.h"

#include <vector>

namespace folio {

namespace {

constexpr unsigned IndexBits = 20;
constexpr HWND IndexMask = (HWND{1} << IndexBits) - 1;

struct TSlot {
    TWndMethod Method;
    unsigned Generation = 1;
    bool Used = false;
};

struct THandleTable {
    std::vector<TSlot> Slots{1}; // slot 0 stays unused, so no handle is 0
    std::vector<unsigned> Free;
};

THandleTable& Table() {
    static THandleTable T;
    return T;
}

TSlot* Lookup(HWND Handle) {
    auto& T = Table();
    const HWND Index = Handle & IndexMask;
    if (Index == 0 || Index >= T.Slots.size()) return nullptr;
    TSlot& Slot = T.Slots[Index];
    if (!Slot.Used || (Handle >> IndexBits) != Slot.Generation) return nullptr;
    return &Slot;
}

} // namespace

HWND AllocateHWnd(TWndMethod Method) {
    auto& T = Table();
    unsigned Index;
    if (!T.Free.empty()) {
        Index = T.Free.back();
        T.Free.pop_back();
    } else {
        Index = static_cast<unsigned>(T.Slots.size());
        if (Index > IndexMask) throw EOutOfResources("Too many windows");
        T.Slots.emplace_back();
    }
    TSlot& Slot = T.Slots[Index];
    Slot.Method = std::move(Method);
    Slot.Used = true;
    return (static_cast<HWND>(Slot.Generation) << IndexBits) | Index;
}

void DeallocateHWnd(HWND Handle) {
    TSlot* Slot = Lookup(Handle);
    if (!Slot) return;
    Application->WindowDestroyed(Handle);
    Slot->Method = nullptr;
    Slot->Used = false;
    // Generations wrap within the 12 bits above the index, skipping 0.
    Slot->Generation = Slot->Generation % ((1u << (32 - IndexBits)) - 1) + 1;
    Table().Free.push_back(Handle & IndexMask);
}

bool IsWindow(HWND Handle) {
    return Lookup(Handle) != nullptr;
}

bool DeliverMessage(HWND Handle, TMessage& Message) {
    TSlot* Slot = Lookup(Handle);
    if (!Slot || !Slot->Method) return false;
    // Copy: the handler may free its own window (and so this slot's method).
    TWndMethod Method = Slot->Method;
    Method(Message);
    return true;
}

std::intptr_t SendMessage(HWND Handle, unsigned Msg, std::intptr_t WParam, std::intptr_t LParam) {
    TMessage Message{Msg, WParam, LParam, 0};
    DeliverMessage(Handle, Message);
    return Message.Result;
}

} // namespace folio
