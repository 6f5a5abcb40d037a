#pragma once

#include <cstdint>

namespace folio {

/// A window message. WParam and LParam are pointer-sized so that a message can
/// carry an object reference.
struct TMessage {
    unsigned Msg = 0;         ///< the message number (WM_PAINT, CM_ENABLEDCHANGED ...)
    std::intptr_t WParam = 0; ///< the first parameter; its meaning depends on Msg
    std::intptr_t LParam = 0; ///< the second parameter; its meaning depends on Msg
    std::intptr_t Result = 0; ///< what the handler answers; 0 unless it sets one
};

// Window messages used by the framework and its controls.
enum : unsigned {
    WM_NULL = 0x0000,
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_MOVE = 0x0003,
    WM_SIZE = 0x0005,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_ENABLE = 0x000A,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_ERASEBKGND = 0x0014,
    WM_SHOWWINDOW = 0x0018,
    WM_SETCURSOR = 0x0020,
    WM_NCPAINT = 0x0085,
    WM_GETDLGCODE = 0x0087,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    // The input method's text being composed: WParam is the cursor in it
    // (characters), LParam points at its UTF-8 (empty when it ends).
    WM_IME_COMPOSITION = 0x010F,
    WM_TIMER = 0x0113,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209,
    WM_MOUSEWHEEL = 0x020A,
    WM_MOUSEHWHEEL = 0x020E,
    WM_CAPTURECHANGED = 0x0215,
    WM_USER = 0x0400,
};

// Component messages: notifications between controls of the framework.
enum : unsigned {
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0,
    CM_DEACTIVATE = CM_BASE + 1,
    CM_ENABLEDCHANGED = CM_BASE + 3,
    CM_COLORCHANGED = CM_BASE + 4,
    CM_FONTCHANGED = CM_BASE + 5,
    CM_CURSORCHANGED = CM_BASE + 6,
    CM_CTL3DCHANGED = CM_BASE + 16,
    CM_PARENTCOLORCHANGED = CM_BASE + 9,
    CM_PARENTFONTCHANGED = CM_BASE + 8,
    CM_PARENTCTL3DCHANGED = CM_BASE + 15,
    CM_MOUSEENTER = CM_BASE + 19,
    CM_MOUSELEAVE = CM_BASE + 20,
    CM_VISIBLECHANGED = CM_BASE + 23,
    CM_DESIGNHITTEST = CM_BASE + 28,
    CM_BIDIMODECHANGED = CM_BASE + 60,
    CM_PARENTBIDIMODECHANGED = CM_BASE + 61,
    CM_RELEASE = CM_BASE + 33,
    CM_DRAG = CM_BASE + 47,
};

// Answers of WM_GETDLGCODE.
enum : unsigned {
    DLGC_WANTARROWS = 0x0001,
    DLGC_WANTTAB = 0x0002,
    DLGC_WANTALLKEYS = 0x0004,
    DLGC_WANTCHARS = 0x0080,
};

} // namespace folio
