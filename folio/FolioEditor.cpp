#include "folio/FolioEditor.h"

#include "framework/core/ScopeGuard.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/FontEngine.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/VirtualKeys.h"

namespace folio {

FOLIO_DEFINE_CLASS(TFolEditor, TCustomEdit)

TFolEditor::TFolEditor(TFolio* ABar) : TCustomEdit(ABar) {
    SetTabStop(false);
    SetAutoSize(false);
    SetParentCtl3D(false);
    SetCtl3D(false);
}

bool TFolEditor::LargeItemEdit() const {
    TFolio* B = Bar();
    if (!B || B->GetEditingGroup()) return false;
    const TFolioGroup* Open = B->GetVisibleGroupObject();
    return Open && Open->GetImageSize() == isLarge;
}

void TFolEditor::CreateParams(TCreateParams& Params) {
    TCustomEdit::CreateParams(Params);
    TFolio* B = Bar();
    if (!B) return;
    SetBiDiMode(B->GetBiDiMode());
    if (LargeItemEdit()) {
        Params.Style &= ~ES_AUTOHSCROLL;
        Params.Style |= ES_MULTILINE | ES_CENTER;
    } else {
        Params.Style |= ES_AUTOHSCROLL;
    }
}

TFolio* TFolEditor::LiveBar() const {
    TFolio* B = Bar();
    return B && B->GetEditor() == this ? B : nullptr;
}

void TFolEditor::KeyDown(unsigned short& Key, TShiftState Shift) {
    if (Key == VK_ESCAPE) {
        if (TFolio* B = LiveBar()) PostMessage(B->GetHandle(), WM_HIDEEDITOR, 0, 0);
        Key = 0;
        return;
    }
    TCustomEdit::KeyDown(Key, Shift);
}

void TFolEditor::KeyPress(char& Key) {
    TFolio* B = LiveBar();
    if (Key == '\r' || Key == '\n') {
        if (B) PostMessage(B->GetHandle(), WM_HIDEEDITOR, 1, 0);
        // A multi-line box must never take the line break itself.
        Key = 0;
    }
    TCustomEdit::KeyPress(Key);
    // The application sees what is typed into the editor through the bar's
    // own key event.
    if (B && B->OnKeyPress) B->OnKeyPress(B, Key);
}

void TFolEditor::Change() {
    TCustomEdit::Change();
    if (!HandleAllocated() || !LargeItemEdit()) return;
    TFolio* B = Bar();
    TCanvas* Canvas = B->GetCanvas();
    Canvas->SetFont(B->GetFont());
    // Three wide letters of margin keep the next characters from wrapping
    // before the box has grown.
    const String Sample = GetText() + "WWW";
    const int Limit = B->GetClientWidth() - 2 * B->GetItemSpacing();
    int W = Canvas->TextWidth(Sample);
    if (W >= Limit) W = Limit;
    TRect R = Rect(0, 0, W, GetHeight());
    const int Ht =
        DrawText(Canvas->GetHandle(), Sample, R, DT_EDITCONTROL | DT_CALCRECT | DT_WORDBREAK);
    SetBounds((B->GetClientWidth() - W) / 2, GetTop(), W, Ht - B->GetFont()->GetHeight() / 2);
}

void TFolEditor::WndProc(TMessage& Message) {
    if (Message.Msg == CM_RELEASE) {
        // A handler of the editor that runs a nested loop is still on the
        // stack: the editor goes when that handler returns.
        if (FBusy == 0)
            delete this;
        else
            FReleasePending = true;
        return;
    }
    ++FBusy;
    TScopeGuard Done([this] {
        if (--FBusy == 0 && FReleasePending) delete this;
    });
    HandleMessage(Message);
}

void TFolEditor::HandleMessage(TMessage& Message) {
    if (Message.Msg == CM_WANTSPECIALKEY &&
        (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) {
        // Enter and Escape end the edit, even on a form whose default or
        // cancel button would otherwise take them.
        Message.Result = 1;
        return;
    }
    if (Message.Msg == WM_SETFOCUS) {
        // The bar, not its editor, stays the form's focused control, so the
        // form's focus bookkeeping never sees the short-lived editor.
        if (TCustomForm* Form = GetParentForm(this)) {
            if (!Form->SetFocusedControl(Bar())) return;
            TControl::WndProc(Message);
            return;
        }
    }
    TCustomEdit::WndProc(Message);
}

void TFolEditor::Retire() {
    Hide();
    // When the bar goes first it frees the editor it owns, and the queued
    // message goes with the editor's window.
    PostMessage(GetHandle(), CM_RELEASE, 0, 0);
}

// ---------------------------------------------------------------------------
// The bar's side

namespace {

// A form that cannot take the focus yet (not shown, disabled) would refuse
// the request with an exception; the editor then opens without the focus and
// the user clicks into it once the form shows.
void GiveFocus(TFolEditor* Editor) {
    if (!GetParentForm(Editor) || Editor->CanFocus()) Editor->SetFocus();
}

// Marks the object whose edited event runs, and puts back the outer mark when
// the event returns or raises.
class TClosingScope {
public:
    TClosingScope(TPersistent*& Field, TPersistent* Object) : FField(Field), FOuter(Field) {
        FField = Object;
    }
    ~TClosingScope() { FField = FOuter; }
    TClosingScope(const TClosingScope&) = delete;
    TClosingScope& operator=(const TClosingScope&) = delete;

private:
    TPersistent*& FField;
    TPersistent* FOuter;
};

} // namespace

bool TFolio::EditGroup(TFolioGroup* Group) {
    HideEditor(true);
    // A group of another bar would never tell this one that it is going, so
    // the editor could outlive it. While a switch slides the captions no
    // editor opens: it would stay where the caption was.
    if (!Group || Group->GetBar() != this || FSwitching || !CanEditGroup(Group)) return false;
    FEditedGroup = Group;
    FEditingGroup = true;
    auto* Editor = new TFolEditor(this);
    FEditor = Editor;
    Editor->SetColor(clWindow);
    Editor->SetFont(FGroupsFont.get());
    Editor->GetFont()->SetColor(clBtnText);
    // On a horizontal bar this is the tall, narrow caption strip, whose text
    // is drawn turned while the editor's runs across; an application that
    // wants a wider box gives one through OnGetGroupEditRect.
    TRect R = Group->GetCaptionRect();
    if (FCustomGroupEditing && OnGetGroupEditRect) OnGetGroupEditRect(this, Group, R);
    Editor->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    Editor->SetText(Group->GetCaption());
    Editor->SetParent(this);
    Editor->SelectAll();
    GiveFocus(Editor);
    // A handler of the focus change (an exit event elsewhere) may have closed
    // the edit again.
    if (FEditor != Editor) return false;
    FEditing = true;
    return true;
}

bool TFolio::EditItem(TFolioItem* Item) {
    HideEditor(true);
    // Only the open group shows its items: an editor for an item of another
    // group would float over captions and other items. During a switch even
    // the open group is on its way out.
    if (!Item || Item->GetBar() != this || Item->GetGroup() != GetVisibleGroupObject() ||
        FSwitching || !CanEditItem(Item))
        return false;
    FEditedItem = Item;
    FEditingGroup = false;
    auto* Editor = new TFolEditor(this);
    FEditor = Editor;
    Editor->SetColor(clWindow);
    Editor->SetFont(GetFont());
    Editor->GetFont()->SetColor(clBtnText);
    TRect R = Item->GetTextRect();
    R = Rect(R.Left - 3, R.Top - 2, R.Right + 3, R.Bottom + 2);
    if (FCustomItemEditing && OnGetItemEditRect) OnGetItemEditRect(this, Item, R);
    Editor->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    Editor->SetText(Item->GetCaption());
    Editor->SetParent(this);
    Editor->SelectAll();
    GiveFocus(Editor);
    if (FEditor != Editor) return false;
    Editor->Change();
    FEditing = true;
    Invalidate();
    return true;
}

void TFolio::HideEditor(bool Accept) {
    FEditing = false;
    if (!FEditor) return;
    String Text = FEditor->GetText();
    TFolEditor* Editor = FEditor;
    FEditor = nullptr;
    if (Editor->GetBusy())
        Editor->Retire();
    else
        delete Editor;
    if (!Accept) {
        FEditedItem = nullptr;
        FEditedGroup = nullptr;
        Invalidate();
        return;
    }
    // The edited event may delete the object, or open the next editor, which
    // takes over the edited reference; the text still goes to the object as
    // long as it exists.
    auto Apply = [this, &Text](auto* Object, auto*& Edited, auto& Event) {
        if (!Object) return;
        bool Alive;
        {
            TClosingScope Scope(FClosingEdit, Object);
            if (Event) Event(this, Object, Text);
            Alive = FClosingEdit == Object;
        }
        if (Edited == Object) Edited = nullptr;
        if (Alive) Object->SetCaption(Text);
    };
    if (FEditingGroup) {
        Apply(FEditedGroup, FEditedGroup, OnEditedGroup);
    } else {
        Apply(FEditedItem, FEditedItem, OnEditedItem);
        // The caption under the editor shows again.
        Invalidate();
    }
}

void TFolio::WMHideEditor(TMessage& Message) {
    const bool HadFocus = FEditor && FEditor->Focused();
    HideEditor(Message.WParam != 0);
    // After Enter or Escape the keyboard goes back to the bar, which the
    // form kept as its focused control all along, unless an edited event
    // opened the next editor.
    if (HadFocus && !FEditor && CanFocus()) SetFocus();
}

} // namespace folio
