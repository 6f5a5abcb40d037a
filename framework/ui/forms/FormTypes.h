#pragma once

#include "framework/core/Set.h"

namespace folio {

/// A form's frame and title bar (TCustomForm::SetBorderStyle): none, fixed,
/// sizeable, a dialog's, or a tool window's (fixed or sizeable).
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using enum TFormBorderStyle;
/// The same type as TFormBorderStyle.
using TBorderStyle = TFormBorderStyle;

/// What ends a modal form (TCustomForm::ShowModal): mrNone while it runs,
/// a button's mr... value, or any other non-zero number a program uses.
using TModalResult = int;
///@{
/// The modal results of the standard buttons (OK, Cancel, Abort, Retry,
/// Ignore, Yes, No); mrNone is none yet.
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
///@}

/// The buttons a form's title bar offers.
enum class TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using enum TBorderIcon;
/// The title bar's buttons of a form.
using TBorderIcons = TSet<TBorderIcon>;

/// Where a form goes when it is first shown: where its Left and Top say
/// (poDesigned, poDefaultSizeOnly), where new windows go (poDefault,
/// poDefaultPosOnly: down and to the right of the last one placed so), or
/// centred on the screen (poScreenCenter, poDesktopCenter) or on the form
/// that owns it (poMainFormCenter, poOwnerFormCenter; the screen without one).
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

/// What becomes of a closing form (OnClose): it stays (caNone), hides
/// (caHide, caMinimize) or is freed (caFree).
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;

} // namespace folio
