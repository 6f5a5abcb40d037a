#include "framework/ui/dialogs/MessageDialog.h"

#include "framework/ui/dialogs/MessageIcon.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Label.h"

#include <algorithm>

namespace folio {

namespace {

const char* Caption(TMsgDlgType Type) {
    switch (Type) {
    case mtWarning:
        return "Warning";
    case mtError:
        return "Error";
    case mtInformation:
        return "Information";
    case mtConfirmation:
        return "Confirm";
    case mtCustom:
        break;
    }
    return "";
}

struct TButtonKind {
    TMsgDlgBtn Button;
    const char* Name;
    const char* Caption;
    TModalResult Result;
};

constexpr TButtonKind ButtonKinds[] = {{mbYes, "YesButton", "&Yes", mrYes},
                                       {mbNo, "NoButton", "&No", mrNo},
                                       {mbOK, "OKButton", "OK", mrOk},
                                       {mbCancel, "CancelButton", "Cancel", mrCancel}};

constexpr int Margin = 12;
constexpr int ButtonWidth = 75, ButtonHeight = 25, ButtonGap = 8;
constexpr int TextWidth = 336;

} // namespace

std::unique_ptr<TForm> CreateMessageDialog(const String& Msg, TMsgDlgType DlgType,
                                           TMsgDlgButtons Buttons) {
    if (Buttons.Empty()) Buttons = {mbOK};
    auto Dialog = std::make_unique<TForm>(nullptr);
    Dialog->SetName("MessageDialog");
    Dialog->SetBorderStyle(bsDialog);
    Dialog->SetPosition(poScreenCenter);
    Dialog->SetCaption(Caption(DlgType));

    // The icon stands left of the text, which moves over to make room.
    int TextLeft = Margin;
    int IconBottom = 0;
    if (DlgType != mtCustom) {
        auto* Icon = new TMessageIcon(Dialog.get());
        Icon->SetName("MessageIcon");
        Icon->SetKind(DlgType);
        Icon->SetParent(Dialog.get());
        Icon->SetBounds(Margin, Margin, MessageIconSize, MessageIconSize);
        TextLeft += MessageIconSize + Margin;
        IconBottom = Margin + MessageIconSize;
    }
    auto* Text = new TLabel(Dialog.get());
    Text->SetName("MessageLabel");
    Text->SetParent(Dialog.get());
    // The label keeps its width and takes the height of the wrapped text.
    Text->SetWordWrap(true);
    Text->SetBounds(TextLeft, Margin, TextWidth, 0);
    Text->SetCaption(Msg);
    const int TextBottom = std::max(Margin + std::max(Text->GetHeight(), 16), IconBottom);

    std::vector<const TButtonKind*> Shown;
    for (const TButtonKind& K : ButtonKinds)
        if (Buttons.Contains(K.Button)) Shown.push_back(&K);
    const int Count = static_cast<int>(Shown.size());
    const int Row = Count * ButtonWidth + (Count - 1) * ButtonGap;
    const int Width = std::max(TextLeft - Margin + TextWidth, Row) + 2 * Margin;
    const TButtonKind* Escape = Shown.size() == 1 ? Shown[0] : nullptr;
    for (const TButtonKind* K : Shown)
        if (K->Button == mbCancel || (K->Button == mbNo && (!Escape || Escape->Button != mbCancel)))
            Escape = K;
    int Left = (Width - Row) / 2;
    for (const TButtonKind* K : Shown) {
        auto* Button = new TButton(Dialog.get());
        Button->SetName(K->Name);
        Button->SetParent(Dialog.get());
        Button->SetBounds(Left, TextBottom + Margin, ButtonWidth, ButtonHeight);
        Button->SetCaption(K->Caption);
        Button->SetModalResult(K->Result);
        Button->SetDefault(K == Shown.front());
        Button->SetCancel(K == Escape);
        Left += ButtonWidth + ButtonGap;
    }
    Dialog->SetClientWidth(Width);
    Dialog->SetClientHeight(TextBottom + 2 * Margin + ButtonHeight);
    return Dialog;
}

TModalResult MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
    const std::unique_ptr<TForm> Dialog = CreateMessageDialog(Msg, DlgType, Buttons);
    const TModalResult Result = Dialog->ShowModal();
    return Result == mrNone ? mrCancel : Result;
}

} // namespace folio
