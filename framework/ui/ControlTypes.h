#pragma once

#include "framework/core/Messages.h"
#include "framework/core/Set.h"
#include "framework/core/Types.h"

#include <cstdint>
#include <functional>

namespace folio {

class TObject;
class TControl;
class TDragObject;

// Alignment of a control inside its parent's client area.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
using enum TAlign;

enum class TAnchorKind { akLeft, akTop, akRight, akBottom };
using enum TAnchorKind;
using TAnchors = TSet<TAnchorKind>;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

enum class TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using enum TShiftStateFlag;
using TShiftState = TSet<TShiftStateFlag>;

enum class TControlStyleFlag {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents,
};
using enum TControlStyleFlag;
using TControlStyle = TSet<TControlStyleFlag>;

// Transient state a control keeps while handling input.
enum class TControlStateFlag {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csFocusing,
    csCreating,
    csAlignmentNeeded
};
using TControlState = TSet<TControlStateFlag>;

enum class TBiDiMode {
    bdLeftToRight,
    bdRightToLeft,
    bdRightToLeftNoAlign,
    bdRightToLeftReadingOnly
};
using enum TBiDiMode;

// A cursor shape: 0 is "the default of the control", negative values are the
// built-in shapes.
using TCursor = short;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSize = -22;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using enum TFormBorderStyle;
using TBorderStyle = TFormBorderStyle;

enum class TDragMode { dmManual, dmAutomatic };
using enum TDragMode;
enum class TDragKind { dkDrag, dkDock };
using enum TDragKind;
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using enum TDragState;
// What a CM_DRAG message asks of its target.
enum class TDragMessage {
    dmDragEnter,
    dmDragLeave,
    dmDragMove,
    dmDragDrop,
    dmDragCancel,
    dmFindTarget
};
using enum TDragMessage;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;

// What CreateParams fills in before a window is made.
struct TCreateParams {
    String Caption;
    unsigned Style = 0;
    unsigned ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    std::uint32_t WndParent = 0;
};

// Window style bits.
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
};
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
// Edit box style bits.
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

// GetWindowLong / SetWindowLong indexes.
enum : int { GWL_EXSTYLE = -20, GWL_STYLE = -16, GWL_ID = -12 };

// Virtual key codes.
enum : unsigned short {
    VK_LBUTTON = 0x01,
    VK_RBUTTON = 0x02,
    VK_CANCEL = 0x03,
    VK_MBUTTON = 0x04,
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_CLEAR = 0x0C,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_SELECT = 0x29,
    VK_PRINT = 0x2A,
    VK_EXECUTE = 0x2B,
    VK_SNAPSHOT = 0x2C,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_HELP = 0x2F,
    // '0'..'9' and 'A'..'Z' are their ASCII codes.
    VK_LWIN = 0x5B,
    VK_RWIN = 0x5C,
    VK_APPS = 0x5D,
    VK_NUMPAD0 = 0x60,
    VK_NUMPAD9 = 0x69,
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SEPARATOR = 0x6C,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,
    VK_F2 = 0x71,
    VK_F3 = 0x72,
    VK_F4 = 0x73,
    VK_F5 = 0x74,
    VK_F6 = 0x75,
    VK_F7 = 0x76,
    VK_F8 = 0x77,
    VK_F9 = 0x78,
    VK_F10 = 0x79,
    VK_F11 = 0x7A,
    VK_F12 = 0x7B,
    VK_NUMLOCK = 0x90,
    VK_SCROLL = 0x91,
};

// Key and button flags in the WParam of mouse messages.
enum : unsigned {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
    MK_MBUTTON = 0x0010,
};

// More messages of the control layer. The numbers not given by the core list
// sit well apart from it so the two never collide.
enum : unsigned {
    WM_SETTEXT = 0x000C,
    WM_GETTEXT = 0x000D,
    WM_CANCELMODE = 0x001F,
    WM_NCCALCSIZE = 0x0083,
    WM_NCHITTEST = 0x0084,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_CUT = 0x0300,
    WM_COPY = 0x0301,
    WM_PASTE = 0x0302,
    WM_CLEAR = 0x0303,
    CM_TEXTCHANGED = CM_BASE + 118,
    CM_ENTER = CM_BASE + 119,
    CM_EXIT = CM_BASE + 120,
    CM_SHOWHINTCHANGED = CM_BASE + 121,
    CM_PARENTSHOWHINTCHANGED = CM_BASE + 122,
    CM_DIALOGKEY = CM_BASE + 123,
    CM_WANTSPECIALKEY = CM_BASE + 124,
    CM_SHOWINGCHANGED = CM_BASE + 125,
    CM_BORDERCHANGED = CM_BASE + 126,
    CM_INVOKEHELP = CM_BASE + 127,
    CM_CONTROLLISTCHANGE = CM_BASE + 128,
    CM_CHANGED = CM_BASE + 129,
};

// Mouse messages carry the point in LParam as two signed 16-bit halves.
constexpr std::intptr_t MAKELPARAM(int Low, int High) {
    return static_cast<std::intptr_t>(
        static_cast<std::uint32_t>((Low & 0xFFFF) | ((High & 0xFFFF) << 16)));
}
constexpr int GET_X_LPARAM(std::intptr_t LParam) {
    return static_cast<short>(static_cast<std::uint32_t>(LParam) & 0xFFFF);
}
constexpr int GET_Y_LPARAM(std::intptr_t LParam) {
    return static_cast<short>((static_cast<std::uint32_t>(LParam) >> 16) & 0xFFFF);
}
constexpr std::intptr_t PointToLParam(TPoint P) {
    return MAKELPARAM(P.X, P.Y);
}
constexpr TPoint LParamToPoint(std::intptr_t LParam) {
    return TPoint{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
}
// A wheel message carries the signed delta in the high half of WParam.
constexpr int GET_WHEEL_DELTA_WPARAM(std::intptr_t WParam) {
    return static_cast<short>((static_cast<std::uint32_t>(WParam) >> 16) & 0xFFFF);
}
constexpr unsigned GET_KEYSTATE_WPARAM(std::intptr_t WParam) {
    return static_cast<unsigned>(WParam) & 0xFFFF;
}
constexpr int WHEEL_DELTA = 120;

// The system colours the control layer starts controls with (the colour
// table proper lives with the graphics layer).
constexpr TColor SysColorWindow = static_cast<TColor>(0x80000005u);
constexpr TColor SysColorBtnFace = static_cast<TColor>(0x8000000Fu);

// Events.
using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, unsigned short& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                            TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent =
    std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TCanResizeEvent =
    std::function<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
using TConstrainedResizeEvent = std::function<void(TObject* Sender, int& MinWidth, int& MinHeight,
                                                   int& MaxWidth, int& MaxHeight)>;
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// Docking is stored and re-published only; its events keep the usual shapes
// with the dock-specific arguments passed as plain objects.
using TDockDropEvent = std::function<void(TObject* Sender, TDragObject* Source, int X, int Y)>;
using TDockOverEvent = std::function<void(TObject* Sender, TDragObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TStartDockEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TEndDockEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TUnDockEvent =
    std::function<void(TObject* Sender, TControl* Client, TObject* NewTarget, bool& Allow)>;
using TGetSiteInfoEvent = std::function<void(TObject* Sender, TControl* DockClient,
                                             TRect& InfluenceRect, TPoint MousePos, bool& CanDock)>;

// Conversions between shift states and the flags of mouse messages.
TShiftState KeysToShiftState(unsigned Keys);
unsigned ShiftStateToKeys(TShiftState Shift);

} // namespace folio
