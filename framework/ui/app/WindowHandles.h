#pragma once

#include "framework/core/Messages.h"

#include <cstdint>
#include <functional>

namespace folio {

/// A window handle: what messages, timers and the paint pass address. Zero is
/// no window. A handle is never reused while anything may still hold it: a
/// freed slot comes back with a new generation.
using HWND = std::uint32_t;

/// What receives a window's messages.
using TWndMethod = std::function<void(TMessage&)>;

/// Gives a message receiver a window handle. User-interface thread only.
HWND AllocateHWnd(TWndMethod Method);
/// Frees the handle: its timers stop and messages still queued for it are dropped.
void DeallocateHWnd(HWND Handle);
/// Whether Handle is a live window.
bool IsWindow(HWND Handle);

/// Delivers a message at once, on the calling (user-interface) thread. Returns
/// the message's Result; 0 when the handle is not a window.
std::intptr_t SendMessage(HWND Handle, unsigned Msg, std::intptr_t WParam = 0,
                          std::intptr_t LParam = 0);
/// Dispatches a message that is already built, as the loop does.
bool DeliverMessage(HWND Handle, TMessage& Message);

} // namespace folio
