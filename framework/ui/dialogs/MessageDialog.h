#pragma once

#include "framework/core/Set.h"
#include "framework/ui/forms/Form.h"

#include <memory>

namespace folio {

/// What a message is about: it gives the dialog its caption (none for
/// mtCustom, whose caller gives one).
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using enum TMsgDlgType;

/// The buttons a message offers, shown in this order.
enum class TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel };
using enum TMsgDlgBtn;
/// The set of buttons a message offers ({mbYes, mbNo}).
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

/// A dialog form with the message and a button per answer, each closing the
/// form with its modal result (mrYes, mrNo, mrOk, mrCancel). The first
/// button is the default one; Cancel (or else No, or else the only button)
/// answers Escape. The message wraps at the dialog's width. The caller may
/// rename or recaption it before showing it.
std::unique_ptr<TForm> CreateMessageDialog(const String& Msg, TMsgDlgType DlgType,
                                           TMsgDlgButtons Buttons);

/// Shows the message modally and answers the modal result of the button
/// pressed (mrCancel when the dialog was closed otherwise).
TModalResult MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);

} // namespace folio
