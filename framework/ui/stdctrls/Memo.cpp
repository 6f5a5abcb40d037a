#include "framework/ui/stdctrls/Memo.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/core/ScopeGuard.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/SystemMetrics.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>

namespace folio {

namespace {

const std::vector<String>& ScrollStyleNames() {
    static const std::vector<String> Names{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
    return Names;
}

bool HasVertical(TScrollStyle S) {
    return S == ssVertical || S == ssBoth;
}

bool HasHorizontal(TScrollStyle S) {
    return S == ssHorizontal || S == ssBoth;
}

} // namespace

const TClassInfo& TMemo::StaticClassInfo() {
    using C = TMemo;
    static const TClassInfo Info =
        TClassBuilder<C>("TMemo", &TCustomEdit::StaticClassInfo())
            .Object("Lines", &C::GetLines, &C::SetLines)
            .Enum("ScrollBars", "TScrollStyle", ScrollStyleNames(), &C::GetScrollBars,
                  &C::SetScrollBars, ssNone)
            .Bool("WantReturns", &C::GetWantReturns, &C::SetWantReturns, true)
            .Bool("WantTabs", &C::GetWantTabs, &C::SetWantTabs, false)
            .Bool("WordWrap", &C::GetWordWrap, &C::SetWordWrap, true)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedMouseEvents)
            .Publish(PublishedFocusEvents)
            .Publish({"Align", "BorderStyle", "Color", "Ctl3D", "Font", "HideSelection",
                      "MaxLength", "ParentColor", "ParentCtl3D", "ParentFont", "ReadOnly",
                      "TabOrder", "OnChange"})
            .Publish("TabStop", 1)
            .Creatable()
            .Build();
    return Info;
}

FOLIO_REGISTER_CLASS(TMemo)

// --- construction ----------------------------------------------------------------------------

TMemo::TMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(std::make_unique<TStringList>()) {
    // The bars are parts of the memo, not components of the form.
    FVert = std::make_unique<TScrollBar>(nullptr);
    FVert->SetKind(sbVertical);
    FHorz = std::make_unique<TScrollBar>(nullptr);
    FHorz->SetKind(sbHorizontal);
    for (TScrollBar* Bar : {FVert.get(), FHorz.get()}) {
        Bar->SetVisible(false);
        Bar->SetTabStop(false);
        Bar->SetParent(this);
    }
    FVert->OnChange = [this](TObject*) {
        if (!FPlacingBars) ScrollTo(GetScrollX(), FVert->GetPosition() * LineHeight());
    };
    FHorz->OnChange = [this](TObject*) {
        if (!FPlacingBars) ScrollTo(FHorz->GetPosition(), GetScrollY());
    };
    FLines->OnChange = [this](TObject*) { LinesChanged(); };
    SetBounds(GetLeft(), GetTop(), 185, 89);
    SetAutoSize(false);
}

TMemo::~TMemo() {
    FLines->OnChange = nullptr;
    FVert.reset();
    FHorz.reset();
}

void TMemo::CreateParams(TCreateParams& Params) {
    TCustomEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE;
}

// --- properties ------------------------------------------------------------------------------

void TMemo::SetScrollBars(TScrollStyle Value) {
    if (Value == FScrollBars) return;
    FScrollBars = Value;
    PlaceScrollBars();
    // The text area narrows or widens: the lines wrap anew.
    Perform(WM_SIZE, 0, 0);
    Invalidate();
}

void TMemo::SetWordWrap(bool Value) {
    SetWrapping(Value);
}

TPoint TMemo::GetCaretLineAndColumn() const {
    const String& Text = GetText();
    const int Caret = std::min(GetCaretPos(), static_cast<int>(Text.size()));
    int Line = 0, LineStart = 0;
    for (int I = 0; I < Caret; ++I)
        if (Text[static_cast<size_t>(I)] == '\n') {
            ++Line;
            LineStart = I + 1;
        }
    return TPoint{Caret - LineStart, Line};
}

// The text and the lines are one content seen two ways: typing changes
// the text, and the lines follow; a program or a form changes the lines,
// and the text follows.
void TMemo::TextChanged() {
    if (!FSyncing) {
        TTemporaryChange Syncing(FSyncing, true);
        FLines->SetText(GetText());
    }
    TCustomEdit::TextChanged();
    ScrollChanged();
}

void TMemo::LinesChanged() {
    if (FSyncing) return;
    TTemporaryChange Syncing(FSyncing, true);
    String Text = FLines->GetText();
    // The lines' text ends every line with a break; the memo's last line
    // has none.
    if (!Text.empty()) Text.pop_back();
    SetText(Text);
}

// --- geometry --------------------------------------------------------------------------------

TRect TMemo::GetEditRect() const {
    TRect R = GetClientRect();
    if (HasVertical(FScrollBars)) R.Right = std::max(R.Left, R.Right - FVert->GetWidth());
    if (HasHorizontal(FScrollBars)) R.Bottom = std::max(R.Top, R.Bottom - FHorz->GetHeight());
    return R;
}

int TMemo::WidestLine() const {
    int Widest = 0;
    for (const TLine& L : TCustomEdit::GetLines())
        Widest = std::max(Widest, TextWidth(L.Start, L.Length));
    return Widest;
}

void TMemo::Resize() {
    TCustomEdit::Resize();
    PlaceScrollBars();
}

void TMemo::ScrollChanged() {
    PlaceScrollBars();
}

void TMemo::PlaceScrollBars() {
    if (!FVert || !FHorz || FPlacingBars) return;
    TTemporaryChange Placing(FPlacingBars, true);
    const int W = GetSystemMetrics(SM_CXVSCROLL);
    const int H = GetSystemMetrics(SM_CYHSCROLL);
    const bool Vert = HasVertical(FScrollBars), Horz = HasHorizontal(FScrollBars);
    const int ClientW = GetClientWidth(), ClientH = GetClientHeight();
    FVert->SetVisible(Vert);
    FHorz->SetVisible(Horz);
    if (Vert) FVert->SetBounds(ClientW - W, 0, W, std::max(0, ClientH - (Horz ? H : 0)));
    if (Horz) FHorz->SetBounds(0, ClientH - H, std::max(0, ClientW - (Vert ? W : 0)), H);
    const TRect Edit = GetEditRect();
    const int LineH = std::max(1, LineHeight());
    if (Vert) {
        // The vertical bar counts lines as they are laid out.
        const int Lines = static_cast<int>(TCustomEdit::GetLines().size());
        const int Page = std::max(1, Edit.Height() / LineH);
        FVert->SetPageSize(std::min(Page, std::max(Lines, 1)));
        FVert->SetParams(GetScrollY() / LineH, 0, std::max(Lines - 1, 0));
        FVert->SetLargeChange(Page);
        FVert->SetEnabled(Lines > Page);
    }
    if (Horz) {
        // The sideways bar counts pixels, a line's height a step.
        const int Widest = GetWrapping() ? 0 : WidestLine() + 2;
        const int Page = std::max(1, Edit.Width());
        FHorz->SetPageSize(std::min(Page, std::max(Widest, 1)));
        FHorz->SetParams(GetScrollX(), 0, std::max(Widest - 1, 0));
        FHorz->SetSmallChange(LineH);
        FHorz->SetLargeChange(Page);
        FHorz->SetEnabled(Widest > Page);
    }
}

// --- messages --------------------------------------------------------------------------------

void TMemo::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        // Tab moves the focus on unless the memo wants it; Enter is asked
        // for on its own (CM_WANTSPECIALKEY).
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (FWantTabs ? DLGC_WANTTAB : 0u);
        return;
    case CM_WANTSPECIALKEY:
        if (static_cast<unsigned short>(Message.WParam) == VK_RETURN && FWantReturns) {
            Message.Result = 1;
            return;
        }
        break;
    case WM_CHAR:
        if ((Message.WParam == '\t' && !FWantTabs) ||
            ((Message.WParam == '\r' || Message.WParam == '\n') && !FWantReturns))
            return;
        break;
    default:
        break;
    }
    TCustomEdit::Dispatch(Message);
}

} // namespace folio
