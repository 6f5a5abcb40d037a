#pragma once

#include "framework/core/Types.h"

#include <cstdint>

namespace folio {

/// What CreateParams fills in before a window is made.
struct TCreateParams {
    /// The window's title or text.
    String Caption;
    /// WS_... bits.
    unsigned Style = 0;
    /// WS_EX_... bits.
    unsigned ExStyle = 0;
    ///@{
    /// The window's bounds in its parent's client coordinates, in pixels.
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    ///@}
    /// The parent's window handle; 0 for a top-level window or a parent
    /// without a window yet.
    std::uint32_t WndParent = 0;
};

/// Window style bits.
enum : unsigned {
    WS_OVERLAPPED = 0x00000000u,
    WS_POPUP = 0x80000000u,
    WS_CHILD = 0x40000000u,
    WS_MINIMIZE = 0x20000000u,
    WS_VISIBLE = 0x10000000u,
    WS_DISABLED = 0x08000000u,
    WS_CLIPSIBLINGS = 0x04000000u,
    WS_CLIPCHILDREN = 0x02000000u,
    WS_MAXIMIZE = 0x01000000u,
    WS_CAPTION = 0x00C00000u,
    WS_BORDER = 0x00800000u,
    WS_DLGFRAME = 0x00400000u,
    WS_VSCROLL = 0x00200000u,
    WS_HSCROLL = 0x00100000u,
    WS_SYSMENU = 0x00080000u,
    WS_THICKFRAME = 0x00040000u,
    WS_GROUP = 0x00020000u,
    WS_TABSTOP = 0x00010000u,
    // On a top-level window the last two bits are its title bar's buttons.
    WS_MINIMIZEBOX = 0x00020000u,
    WS_MAXIMIZEBOX = 0x00010000u,
};
/// Extended window style bits.
enum : unsigned {
    WS_EX_DLGMODALFRAME = 0x00000001u,
    WS_EX_TOPMOST = 0x00000008u,
    WS_EX_TOOLWINDOW = 0x00000080u,
    WS_EX_WINDOWEDGE = 0x00000100u,
    WS_EX_CLIENTEDGE = 0x00000200u,
    WS_EX_RIGHT = 0x00001000u,
    WS_EX_RTLREADING = 0x00002000u,
    WS_EX_LEFTSCROLLBAR = 0x00004000u,
    WS_EX_STATICEDGE = 0x00020000u,
};
/// Edit box style bits.
enum : unsigned {
    ES_LEFT = 0x0000u,
    ES_CENTER = 0x0001u,
    ES_RIGHT = 0x0002u,
    ES_MULTILINE = 0x0004u,
    ES_UPPERCASE = 0x0008u,
    ES_LOWERCASE = 0x0010u,
    ES_PASSWORD = 0x0020u,
    ES_AUTOVSCROLL = 0x0040u,
    ES_AUTOHSCROLL = 0x0080u,
    ES_NOHIDESEL = 0x0100u,
    ES_READONLY = 0x0800u,
    ES_WANTRETURN = 0x1000u,
};

/// GetWindowLong / SetWindowLong indexes.
enum : int { GWL_EXSTYLE = -20, GWL_STYLE = -16, GWL_ID = -12 };

} // namespace folio
