#include "folio/Folio.h"

#include "folio/FolioAccessible.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ScopeGuard.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Edges.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>
#include <utility>

namespace folio {

namespace {
// The control's accessible object, found by its class.
const TAccessibleRegistration AccessibleRegistration(TFolio::StaticClassInfo(),
                                                     CreateFolioAccessible);
} // namespace

const TClassInfo& TFolio::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TFolio>("TFolio", &TCustomControl::StaticClassInfo())
            .Enum("BorderStyle", "TBorderStyle", {"bsNone", "bsSingle"}, &TFolio::GetBorderStyle,
                  &TFolio::SetBorderStyle, std::optional<TBorderStyle>(bsSingle))
            .Object("GroupsFont", &TFolio::GetGroupsFont, &TFolio::SetGroupsFont)
            .Object("Groups", &TFolio::GetGroups, &TFolio::SetGroups)
            .Enum("Alignment", "TFolAlignment", {"baVertical", "baHorizontal"},
                  &TFolio::GetAlignment, &TFolio::SetAlignment,
                  std::optional<TFolAlignment>(baVertical))
            .Component("SmallImages", &TFolio::GetSmallImages, &TFolio::SetSmallImages)
            .Component("LargeImages", &TFolio::GetLargeImages, &TFolio::SetLargeImages)
            .Component("GroupImages", &TFolio::GetGroupImages, &TFolio::SetGroupImages)
            .Int("VisibleGroup", &TFolio::GetVisibleGroup, &TFolio::SetVisibleGroup)
            .Object("VisibleGroupObject", &TFolio::GetVisibleGroupObject,
                    &TFolio::SetVisibleGroupObject)
            .Int("GroupCaptionHeight", &TFolio::GetGroupCaptionHeight,
                 &TFolio::SetGroupCaptionHeight, 20)
            .Enum("AnimationStyle", "TFolAnimationStyle", {"asNone", "asLinear", "asAccelerate"},
                  &TFolio::GetAnimationStyle, &TFolio::SetAnimationStyle,
                  std::optional<TFolAnimationStyle>(asAccelerate))
            .Int("AnimationSpeed", &TFolio::GetAnimationSpeed, &TFolio::SetAnimationSpeed, 30)
            .Int("ItemSpacing", &TFolio::GetItemSpacing, &TFolio::SetItemSpacing, 12)
            .Color("FrameHighlightColor", &TFolio::GetFrameHighlightColor,
                   &TFolio::SetFrameHighlightColor, clBtnFace)
            .Color("FrameShadowColor", &TFolio::GetFrameShadowColor, &TFolio::SetFrameShadowColor,
                   cl3DDkShadow)
            .Int("Cursor", &TFolio::GetCursor, &TFolio::SetCursor, crDefault)
            .Bool("CustomDrawGroupCaption", &TFolio::GetCustomDrawGroupCaption,
                  &TFolio::SetCustomDrawGroupCaption)
            .Bool("CustomDrawGroup", &TFolio::GetCustomDrawGroup, &TFolio::SetCustomDrawGroup)
            .Int("ButtonClickDelay", &TFolio::GetButtonClickDelay, &TFolio::SetButtonClickDelay,
                 150)
            .Bool("AllowDragging", &TFolio::GetAllowDragging, &TFolio::SetAllowDragging, true)
            .Bool("FlatBorder", &TFolio::GetFlatBorder, &TFolio::SetFlatBorder)
            .Color("InsertMarkColor", &TFolio::GetInsertMarkColor, &TFolio::SetInsertMarkColor,
                   clBlack)
            .Bool("CustomItemEditing", &TFolio::GetCustomItemEditing, &TFolio::SetCustomItemEditing,
                  false)
            .Bool("CustomGroupEditing", &TFolio::GetCustomGroupEditing,
                  &TFolio::SetCustomGroupEditing, false)
            .Event("OnItemDeletion", &TFolio::OnItemDeletion)
            .Event("OnItemClick", &TFolio::OnItemClick)
            .Event("OnGroupDeletion", &TFolio::OnGroupDeletion)
            .Event("OnGroupClick", &TFolio::OnGroupClick)
            .Event("OnGroupCanClick", &TFolio::OnGroupCanClick)
            .Event("OnPrevButtonClick", &TFolio::OnPrevButtonClick)
            .Event("OnNextButtonClick", &TFolio::OnNextButtonClick)
            .Event("OnDrawGroupCaption", &TFolio::OnDrawGroupCaption)
            .Event("OnDrawGroup", &TFolio::OnDrawGroup)
            .Event("OnEditingItem", &TFolio::OnEditingItem)
            .Event("OnEditedItem", &TFolio::OnEditedItem)
            .Event("OnEditingGroup", &TFolio::OnEditingGroup)
            .Event("OnEditedGroup", &TFolio::OnEditedGroup)
            .Event("OnGetGroupEditRect", &TFolio::OnGetGroupEditRect)
            .Event("OnGetItemEditRect", &TFolio::OnGetItemEditRect)
            // Inherited properties and events the bar shows unchanged.
            .Publish("Align")
            .Publish("Anchors")
            .Publish("BiDiMode")
            .Publish("Color")
            .Publish("Constraints")
            .Publish("Ctl3D")
            .Publish("DockSite")
            .Publish("DragCursor")
            .Publish("DragKind")
            .Publish("DragMode")
            .Publish("Enabled")
            .Publish("Font")
            .Publish("ParentColor")
            .Publish("ParentCtl3D")
            .Publish("ParentFont")
            .Publish("ParentShowHint")
            .Publish("ParentBiDiMode")
            .Publish("PopupMenu")
            .Publish("ShowHint")
            .Publish("TabOrder")
            .Publish("TabStop")
            .Publish("UseDockManager")
            .Publish("Visible")
            .Publish("OnCanResize")
            .Publish("OnClick")
            .Publish("OnConstrainedResize")
            .Publish("OnDblClick")
            .Publish("OnDockDrop")
            .Publish("OnDockOver")
            .Publish("OnDragDrop")
            .Publish("OnDragOver")
            .Publish("OnEndDock")
            .Publish("OnEndDrag")
            .Publish("OnEnter")
            .Publish("OnExit")
            .Publish("OnGetSiteInfo")
            .Publish("OnKeyDown")
            .Publish("OnKeyPress")
            .Publish("OnKeyUp")
            .Publish("OnMouseDown")
            .Publish("OnMouseMove")
            .Publish("OnMouseUp")
            .Publish("OnMouseWheel")
            .Publish("OnMouseWheelDown")
            .Publish("OnMouseWheelUp")
            .Publish("OnResize")
            .Publish("OnStartDock")
            .Publish("OnStartDrag")
            .Publish("OnUnDock")
            .Creatable()
            .Build();
    return Info;
}

FOLIO_REGISTER_CLASS(TFolio)

TFolio::TFolio(TComponent* AOwner) : TCustomControl(AOwner) {
    FGroups = std::make_unique<TFolioGroups>(this);
    FGroupsFont = std::make_unique<TFont>();
    FRotatedFont = std::make_unique<TFont>();
    FGroupsFont->OnChange = [this](TObject* Sender) { GroupsFontChanged(Sender); };

    FSmallImagesLink = std::make_unique<TChangeLink>();
    FLargeImagesLink = std::make_unique<TChangeLink>();
    FGroupImagesLink = std::make_unique<TChangeLink>();
    for (TChangeLink* Link :
         {FSmallImagesLink.get(), FLargeImagesLink.get(), FGroupImagesLink.get()})
        Link->OnChange = [this](TObject* Sender) { ImagesChanged(Sender); };

    SetDoubleBuffered(true);
    TCustomControl::SetColor(clBtnShadow);
    CreateRotatedFont();
    SetWidth(50);
    SetHeight(100);
}

TFolio::~TFolio() {
    StopSwitch();
    // Groups go first, while the bar is whole: their deletion events reach
    // handlers that may still look at the bar.
    FGroups->Clear();
    FGroups.reset();
    FGroupsFont.reset();
    FRotatedFont.reset();
    FSmallImagesLink.reset();
    FLargeImagesLink.reset();
    FGroupImagesLink.reset();
}

// ---------------------------------------------------------------------------
// Properties

void TFolio::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    RecreateWnd();
}

void TFolio::SetGroupsFont(TFont* Value) {
    FGroupsFont->Assign(Value);
    CreateRotatedFont();
}

void TFolio::SetGroups(TFolioGroups* Value) {
    FGroups->Assign(Value);
}

void TFolio::SetAlignment(TFolAlignment Value) {
    if (Value == FAlignment) return;
    FAlignment = Value;
    Invalidate();
}

void TFolio::SetImageList(TImageList*& Field, TChangeLink& Link, TImageList* Value) {
    if (Value == Field) return;
    // A list being destroyed has already let go of its links; only a live
    // one is asked to drop ours.
    if (Field && Link.GetSender() == Field) Field->UnRegisterChanges(&Link);
    Field = Value;
    if (Value) {
        Value->RegisterChanges(&Link);
        Value->FreeNotification(this);
    }
}

void TFolio::SetSmallImages(TImageList* Value) {
    SetImageList(FSmallImages, *FSmallImagesLink, Value);
}

void TFolio::SetLargeImages(TImageList* Value) {
    SetImageList(FLargeImages, *FLargeImagesLink, Value);
}

void TFolio::SetGroupImages(TImageList* Value) {
    SetImageList(FGroupImages, *FGroupImagesLink, Value);
}

void TFolio::InternalSetVisibleGroup(int Index) {
    if (Index == FVisibleGroup) return;
    TFolioGroup* Closed = GetVisibleGroupObject();
    FVisibleGroup = Index;
    for (int I = 0; I < FGroups->GetCount(); ++I) FGroups->GetGroup(I)->SetAnimOffset(0);
    Invalidate();
    FTargetGroup = -1;
    ValidateFocus();
    if (IsDesigning()) DesignerModified();
    // A screen reader hears which group closed and which opened, and that
    // their items came and went.
    for (TFolioGroup* G : {Closed, GetVisibleGroupObject()}) {
        if (!G) continue;
        NotifyAccessible(this, G, TAccEvent::StateChanged);
        NotifyAccessible(this, G, TAccEvent::ChildrenChanged);
    }
}

void TFolio::DesignerModified() {
    if (TCustomForm* Form = GetParentForm(this))
        if (IDesigner* Designer = Form->GetDesigner()) Designer->Modified();
}

TFolioGroup* TFolio::GetVisibleGroupObject() const {
    if (FVisibleGroup < 0 || FVisibleGroup >= FGroups->GetCount()) return nullptr;
    return FGroups->GetGroup(FVisibleGroup);
}

void TFolio::SetVisibleGroupObject(TFolioGroup* Value) {
    if (Value) Value->SetVisible(true);
}

void TFolio::SetGroupCaptionHeight(int Value) {
    if (Value == FGroupCaptionHeight) return;
    FGroupCaptionHeight = Value;
    Invalidate();
}

void TFolio::SetAnimationSpeed(int Value) {
    if (Value == FAnimationSpeed) return;
    FAnimationSpeed = std::clamp(Value, 1, 100);
}

void TFolio::SetItemSpacing(int Value) {
    if (Value == FItemSpacing) return;
    FItemSpacing = Value;
    Invalidate();
}

void TFolio::ChangeScale(int M, int D) {
    if (M == D || M <= 0 || D <= 0) return;
    TCustomControl::ChangeScale(M, D);
    FGroupCaptionHeight = MulDiv(FGroupCaptionHeight, M, D);
    FItemSpacing = MulDiv(FItemSpacing, M, D);
    FGroupsFont->SetHeight(MulDiv(FGroupsFont->GetHeight(), M, D));
    Invalidate();
}

void TFolio::SetFrameHighlightColor(TColor Value) {
    if (Value == FFrameHighlightColor) return;
    FFrameHighlightColor = Value;
    Invalidate();
}

void TFolio::SetFrameShadowColor(TColor Value) {
    if (Value == FFrameShadowColor) return;
    FFrameShadowColor = Value;
    Invalidate();
}

void TFolio::SetCursor(TCursor Value) {
    FCursor = Value;
    TCustomControl::SetCursor(Value);
}

void TFolio::SetCustomDrawGroupCaption(bool Value) {
    if (Value == FCustomDrawGroupCaption) return;
    FCustomDrawGroupCaption = Value;
    Invalidate();
}

void TFolio::SetCustomDrawGroup(bool Value) {
    if (Value == FCustomDrawGroup) return;
    FCustomDrawGroup = Value;
    Invalidate();
}

void TFolio::SetButtonClickDelay(int Value) {
    FButtonClickDelay = std::max(Value, 50);
}

void TFolio::SetFlatBorder(bool Value) {
    if (Value == FFlatBorder) return;
    if (Value) {
        SetCtl3D(false);
        SetBorderStyle(bsSingle);
    }
    FFlatBorder = Value;
    RecreateWnd();
}

void TFolio::SetInsertMarkColor(TColor Value) {
    if (Value == FInsertMarkColor) return;
    FInsertMarkColor = Value;
    Invalidate();
}

// ---------------------------------------------------------------------------
// Image lists and fonts

void TFolio::ImagesChanged(TObject*) {
    Invalidate();
}

void TFolio::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove) {
        // One list may fill several properties; each one holding it is cleared.
        if (AComponent == FSmallImages) SetSmallImages(nullptr);
        if (AComponent == FLargeImages) SetLargeImages(nullptr);
        if (AComponent == FGroupImages) SetGroupImages(nullptr);
    }
    TCustomControl::Notification(AComponent, Operation);
}

void TFolio::GroupsFontChanged(TObject*) {
    CreateRotatedFont();
    Invalidate();
}

void TFolio::CreateRotatedFont() {
    // Horizontal bars write captions from bottom to top: the same font turned
    // by 90 degrees counter-clockwise.
    TLogFont LogFont = FGroupsFont->GetLogFont();
    LogFont.Escapement = 900;
    LogFont.Orientation = 900;
    FRotatedFont->Assign(FGroupsFont.get());
    FRotatedFont->SetHandle(CreateFontIndirect(LogFont));
}

// ---------------------------------------------------------------------------
// Window

void TFolio::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    if (FBorderStyle != bsSingle) return;
    if (GetCtl3D()) {
        Params.Style &= ~WS_BORDER;
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    } else {
        Params.Style |= WS_BORDER;
    }
}

void TFolio::Paint() {
    FGroups->Paint(GetCanvas());
    PaintFocusCue(GetCanvas());
}

void TFolio::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_CTL3DCHANGED:
        CMCtl3DChanged(Message);
        break;
    case WM_TIMER:
        WMTimer(Message);
        break;
    case WM_HIDEEDITOR:
        WMHideEditor(Message);
        break;
    case WM_NCPAINT:
        WMNCPaint(Message);
        break;
    case WM_ERASEBKGND:
        WMEraseBkgnd(Message);
        break;
    case CM_MOUSELEAVE:
        CMMouseLeave(Message);
        break;
    case CM_DESIGNHITTEST:
        CMDesignHitTest(Message);
        break;
    case WM_GETDLGCODE:
        WMGetDlgCode(Message);
        break;
    case CM_WANTSPECIALKEY:
        // Enter acts on the focused caption or item, even on a form with a
        // default button.
        if (Message.WParam == VK_RETURN && FGroups->GetCount() > 0)
            Message.Result = 1;
        else
            TCustomControl::Dispatch(Message);
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        WMFocusChanged(Message);
        break;
    case CM_HINTSHOW:
        CMHintShow(Message);
        break;
    default:
        TCustomControl::Dispatch(Message);
    }
}

void TFolio::CMCtl3DChanged(TMessage& Message) {
    TCustomControl::CMCtl3DChanged(Message);
    RecreateWnd();
}

void TFolio::WMTimer(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    if (Message.WParam == FolioRepeatTimerId) {
        // A held scroll button repeats only while the pointer is over it.
        TFolioGroup* Group = GetVisibleGroupObject();
        if (!Group) return;
        if (FPrevPressed && FPrevPressInside) Group->ClickPrevButton();
        if (FNextPressed && FNextPressInside) Group->ClickNextButton();
    } else if (Message.WParam == FolioOpenTimerId) {
        OpenTimerTick();
    }
}

void TFolio::WMNCPaint(TMessage& Message) {
    if (!FFlatBorder || !HandleAllocated()) {
        TCustomControl::Dispatch(Message);
        return;
    }
    // A one-pixel sunken edge around the client area, in window coordinates,
    // covers the plain one-pixel border the window has.
    TCanvas* DC = GetWindowDC(GetHandle());
    if (!DC) return;
    TScopeGuard Release([this, DC] { ReleaseDC(GetHandle(), DC); });
    TRect R = Rect(0, 0, GetClientWidth() + 2, GetClientHeight() + 2);
    DrawEdge(DC, R, BDR_SUNKENOUTER, BF_RECT);
}

void TFolio::CMMouseLeave(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    if ((FHoverGroup != -1 || FHoverItem != -1) && !FGroupPressed) {
        FHoverGroup = -1;
        FHoverItem = -1;
        TCustomControl::SetCursor(FCursor);
        Invalidate();
    }
}

void TFolio::CMDesignHitTest(TMessage& Message) {
    // At design time only the captions take the mouse; everything else goes
    // to the designer, which selects and moves the bar.
    const TPoint P = LParamToPoint(Message.LParam);
    Message.Result = 0;
    for (int I = 0; I < FGroups->GetCount(); ++I)
        if (FGroups->GetGroup(I)->GetCaptionRect().Contains(P)) {
            Message.Result = 1;
            return;
        }
}

// ---------------------------------------------------------------------------
// Public operations

TFolioGroup* TFolio::GetGroupUnderCurosr() const {
    if (!GetVisibleGroupObject() || FHoverGroup < 0 || FHoverGroup >= FGroups->GetCount())
        return nullptr;
    return FGroups->GetGroup(FHoverGroup);
}

TFolioItem* TFolio::GetItemUnderCurosr() const {
    TFolioGroup* Group = GetVisibleGroupObject();
    if (!Group || FHoverItem < 0 || FHoverItem >= Group->GetItems()->GetCount()) return nullptr;
    return Group->GetItems()->GetItem(FHoverItem);
}

void TFolio::Invalidate() {
    const TRect Frame = std::exchange(FFrameDamage, TRect{});
    if (FUpdateCount > 0) {
        FUpdateChanged = true;
        return;
    }
    // A slide's frame repaints what its moving groups covered before and
    // cover now; the rest of the bar would come out the same.
    if (!Frame.IsEmpty()) {
        InvalidateRect(Frame, true);
        return;
    }
    TCustomControl::Invalidate();
}

void TFolio::EndUpdate() {
    if (FUpdateCount == 0) return;
    if (--FUpdateCount > 0 || !FUpdateChanged) return;
    FUpdateChanged = false;
    Invalidate();
}

int TFolio::GetOnGroup(int X, int Y) const {
    if (FAnimating) return -1;
    for (int I = 0; I < FGroups->GetCount(); ++I)
        if (FGroups->GetGroup(I)->GetCaptionRect().Contains(Point(X, Y))) return I;
    return -1;
}

void TFolio::GroupAdded() {
    if (FGroups && FGroups->GetCount() == 1) {
        FVisibleGroup = 0;
        FTargetGroup = 0;
    }
    Invalidate();
}

void TFolio::GroupRemoving(int Index) {
    // A scroll button held on the open group goes with it rather than
    // scrolling whichever group opens next.
    if (Index >= 0 && Index == FVisibleGroup) StopButtonRepeat();
    if (!FGroups || FGroups->GetCount() < 2)
        FVisibleGroup = -1;
    else if (Index >= 0 && FVisibleGroup >= Index)
        FVisibleGroup = std::max(FVisibleGroup - 1, 0);
}

void TFolio::DeleteGroup(TFolioGroup* Group) {
    // An editor open on the group closes without applying its text.
    if (FEditedGroup == Group) {
        HideEditor(false);
        FEditedGroup = nullptr;
    }
    if (FClosingEdit == Group) FClosingEdit = nullptr;
    if (FFocusGroup == Group) FFocusGroup = nullptr;
    if (OnGroupDeletion) OnGroupDeletion(this, Group);
    // Group indices shift; hover and caption-press state would name another group.
    FHoverGroup = -1;
    FHoverItem = -1;
    FGroupPressed = false;
    FGroupPressInside = false;
    FPressedGroup = -1;
}

void TFolio::DeleteItem(TFolioItem* Item) {
    ForgetItem(Item);
    if (OnItemDeletion) OnItemDeletion(this, Item);
}

void TFolio::ForgetItem(TFolioItem* Item) {
    // An editor open on the item closes without applying its text.
    if (FEditedItem == Item) {
        HideEditor(false);
        FEditedItem = nullptr;
    }
    if (FClosingEdit == Item) FClosingEdit = nullptr;
    if (FFocusItem == Item) FFocusItem = nullptr;
    if (FPressedItem == Item) {
        FPressedItem = nullptr;
        FItemPressed = false;
        FItemPressInside = false;
    }
    if (Item->GetGroup() && Item->GetGroup()->GetVisible()) FHoverItem = -1;
}

// ---------------------------------------------------------------------------
// Editing entry points

bool TFolio::CanEditGroup(TFolioGroup* Group) {
    bool CanEdit = true;
    if (OnEditingGroup) OnEditingGroup(this, Group, CanEdit);
    return CanEdit;
}

bool TFolio::CanEditItem(TFolioItem* Item) {
    bool CanEdit = true;
    if (OnEditingItem) OnEditingItem(this, Item, CanEdit);
    return CanEdit;
}

TFolioGroup* TFolio::EditNewGroup(const String& Caption) {
    TFolioGroup* Group = FGroups->Add(Caption);
    Group->Edit();
    return Group;
}

} // namespace folio
