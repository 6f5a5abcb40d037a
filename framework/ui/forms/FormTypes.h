#pragma once

#include "framework/core/Set.h"

namespace folio {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using enum TFormBorderStyle;
using TBorderStyle = TFormBorderStyle;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;

// The buttons a form's title bar offers.
enum class TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using enum TBorderIcon;
using TBorderIcons = TSet<TBorderIcon>;

// Where a form goes when it is first shown: where its Left and Top say
// (poDesigned), where the system puts new windows (poDefault, which may
// also choose the size, and poDefaultPosOnly), or centred on the screen or
// on the form that owns it.
enum class TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
using enum TPosition;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;

} // namespace folio
