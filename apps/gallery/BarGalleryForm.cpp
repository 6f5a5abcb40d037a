#include "BarGalleryForm.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/EventHandlers.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/FontEngine.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>

namespace gallery {

using namespace folio;

namespace {

// The demo draws its own icons with the canvas: a few simple shapes in
// distinct colours, on a transparent (magenta) key.
constexpr TColor Key = 0x00FF00FF;

constexpr int Margin = 10;
constexpr int BarSideWidth = 260;
constexpr int StripHeight = 180;

void DrawIcon(TCanvas* C, int Kind, int Size, TColor Colour) {
    C->GetBrush()->SetColor(Key);
    C->FillRect(Rect(0, 0, Size, Size));
    const int M = Size / 8;
    C->GetPen()->SetColor(0x202020);
    C->GetBrush()->SetColor(Colour);
    switch (Kind % 5) {
    case 0: // an envelope
        C->Rectangle(M, Size / 4, Size - M, Size - Size / 4);
        C->MoveTo(M, Size / 4);
        C->LineTo(Size / 2, Size / 2 + M / 2);
        C->LineTo(Size - M, Size / 4 - 1);
        break;
    case 1: // a calendar page
        C->Rectangle(M, M + 1, Size - M, Size - M);
        C->GetBrush()->SetColor(0x0000C0);
        C->FillRect(Rect(M + 1, M + 2, Size - M - 1, M + Size / 5 + 1));
        break;
    case 2: // a disc
        C->Ellipse(M, M, Size - M, Size - M);
        break;
    case 3: // a folder
        C->Polygon({Point(M, Size / 4), Point(Size / 2 - M, Size / 4), Point(Size / 2, Size / 3),
                    Point(Size - M, Size / 3), Point(Size - M, Size - M), Point(M, Size - M)});
        break;
    default: // a note with lines
        C->Rectangle(Size / 5, M, Size - Size / 5, Size - M);
        for (int Y = M + Size / 5; Y < Size - 2 * M; Y += Size / 6) {
            C->MoveTo(Size / 5 + M, Y);
            C->LineTo(Size - Size / 5 - M, Y);
        }
        break;
    }
}

void FillImages(TImageList& List, int Size) {
    const TColor Colours[] = {0x40C0F0, 0x60A060, 0xE08040, 0x50D0FF, 0xF0F0F0,
                              0x3060E0, 0xC060C0, 0x80E0A0, 0x2090FF, 0xB0B0B0};
    List.SetWidth(Size);
    List.SetHeight(Size);
    for (int I = 0; I < 10; ++I) {
        TBitmap B(Size, Size);
        DrawIcon(B.GetCanvas(), I, Size, Colours[I]);
        List.AddMasked(&B, Key);
    }
}

// The Places group's tiled picture, in a light or a dark variant.
std::unique_ptr<TBitmap> TilePicture(bool Dark) {
    const TColor Face = Dark ? 0x3C4650 : 0x9CB4C8;
    const TColor Checks = Dark ? 0x343E48 : 0x8CA4B8;
    const TColor Stroke = Dark ? 0x505C6A : 0xB8CCDC;
    auto B = std::make_unique<TBitmap>(24, 24);
    TCanvas* C = B->GetCanvas();
    C->GetBrush()->SetColor(Face);
    C->FillRect(Rect(0, 0, 24, 24));
    C->GetBrush()->SetColor(Checks);
    C->FillRect(Rect(0, 0, 12, 12));
    C->FillRect(Rect(12, 12, 24, 24));
    C->GetPen()->SetColor(Stroke);
    C->MoveTo(0, 0);
    C->LineTo(24, 24);
    return B;
}

// A panel without bevels that keeps Margin pixels round what it holds.
TPanel* MarginPanel(TGalleryBarForm& Form, const char* Name, TAlign Align) {
    auto* Panel = new TPanel(&Form);
    Panel->SetName(Name);
    Panel->SetBevelOuter(bvNone);
    Panel->SetPanelBorderWidth(Margin);
    Panel->SetParent(&Form);
    Panel->SetAlign(Align);
    return Panel;
}

} // namespace

void TGalleryBarForm::BarItemClick(TObject*, TFolioItem* Item) {
    SetCaption("Folio bar gallery: " + Item->GetCaption());
}

void TGalleryBarForm::WndProc(TMessage& Message) {
    TForm::WndProc(Message);
    if (Message.Msg == CM_SYSCOLORCHANGE && OnSystemColorsChanged) OnSystemColorsChanged();
}

void TGalleryBarForm::BarGetGroupEditRect(TObject* Sender, TFolioGroup* Group, TRect& EditRect) {
    const auto* Bar = dynamic_cast<const TFolio*>(Sender);
    if (!Bar || Bar->IsVertical()) return;
    // The box gets the width of the caption and a caret (at least a few
    // characters), the height of one line, and lies centred on the strip,
    // inside the bar.
    const TRect Strip = Group->GetCaptionRect();
    const TFontFace& Face = *Bar->GetGroupsFont()->GetHandle();
    const int Frame = 2 + 2; // the editor's one-pixel margins and flat border
    const int Caret = 2;
    const int Text =
        std::max(Face.TextWidth(Group->GetCaption()), 8 * Face.Metrics().tmAveCharWidth);
    const int W = std::min(Text + Caret + Frame, std::max(Bar->GetClientWidth(), Strip.Width()));
    const int H = std::min(Face.Metrics().tmHeight + Frame, std::max(Bar->GetClientHeight(), 1));
    int Left = (Strip.Left + Strip.Right - W) / 2;
    int Top = (Strip.Top + Strip.Bottom - H) / 2;
    Left = std::max(0, std::min(Left, Bar->GetClientWidth() - W));
    Top = std::max(0, std::min(Top, Bar->GetClientHeight() - H));
    EditRect = Rect(Left, Top, Left + W, Top + H);
}

const TClassInfo& TGalleryBarForm::StaticClassInfo() {
    using C = TGalleryBarForm;
    static const TClassInfo Info = TClassBuilder<C>("TGalleryBarForm", &TForm::StaticClassInfo())
                                       .Method("BarItemClick", &C::BarItemClick)
                                       .Method("BarGetGroupEditRect", &C::BarGetGroupEditRect)
                                       .Creatable()
                                       .Build();
    return Info;
}

FOLIO_REGISTER_CLASS(TGalleryBarForm)

TGalleryForm::TGalleryForm() : Tile(TilePicture(false)) {
    // The form owns and names everything, so that its form file holds
    // the image lists and the bars' references to them.
    Form.SetName("BarGallery");
    Large = new TImageList(&Form);
    Large->SetName("LargeIcons");
    Small = new TImageList(&Form);
    Small->SetName("SmallIcons");
    FillImages(*Large, 32);
    FillImages(*Small, 16);
    // On a denser screen the icons are drawn again at the size they show
    // at, so that they stay sharp.
    if (const int Ppi = Screen->GetPixelsPerInch(); Ppi > 96) {
        const int L = MulDiv(32, Ppi, 96);
        const int S = MulDiv(16, Ppi, 96);
        FillImages(*Large->AddSize(L, L), L);
        FillImages(*Small->AddSize(S, S), S);
    }
    Form.SetCaption("Folio bar gallery");
    Form.SetBounds(40, 40, 720, 560);
    Form.SetClientWidth(700);

    // The bars fill their panels, the panels the form: the vertical bar runs
    // down the whole height, the horizontal one across the whole width
    // beside it, whatever size the window is given.
    BarSide = MarginPanel(Form, "BarSide", alLeft);
    BarSide->SetWidth(BarSideWidth);
    StripSide = MarginPanel(Form, "StripSide", alClient);

    Vertical = new TFolio(&Form);
    Vertical->SetName("VerticalBar");
    Vertical->SetAnimationStyle(asAccelerate);
    Vertical->SetParent(BarSide);
    Vertical->SetAlign(alClient);
    Vertical->SetLargeImages(Large);
    Vertical->SetSmallImages(Small);
    TFolioGroups* G = Vertical->GetGroups();

    TFolioGroup* Mail = G->Add("Mail");
    const char* MailItems[] = {
        "Inbox",  "Outbox",  "Sent items", "Deleted items", "A folder with a rather long name",
        "Drafts", "Archive", "Junk",       "Receipts",      "Travel",
        "Family", "Projects"};
    int Index = 0;
    for (const char* Caption : MailItems) Mail->GetItems()->Add(Caption, Index++ % 10);
    Mail->SetStyle(gbGradient);

    TFolioGroup* Calendar = G->Add("Calendar");
    for (const char* Caption : {"Today", "This week", "Holidays"})
        Calendar->GetItems()->Add(Caption, 1);

    TFolioGroup* Places = G->Add("Places");
    Places->SetStyle(gbBitmap);
    Places->SetBitmap(Tile.get());
    Places->SetImageSize(isSmall);
    for (const char* Caption : {"Desktop", "Documents", "Pictures", "Music", "Downloads"})
        Places->GetItems()->Add(Caption, 3);

    G->Add("Notes")->GetItems()->Add("Shopping list", 4);

    Horizontal = new TFolio(&Form);
    Horizontal->SetName("HorizontalBar");
    Horizontal->SetAnimationStyle(asLinear);
    Horizontal->SetAnimationSpeed(40);
    Horizontal->SetAlignment(baHorizontal);
    Horizontal->SetParent(StripSide);
    Horizontal->SetHeight(StripHeight);
    Horizontal->SetAlign(alTop);
    Horizontal->SetLargeImages(Large);
    Horizontal->SetSmallImages(Small);
    TFolioGroups* H = Horizontal->GetGroups();
    TFolioGroup* Tools = H->Add("Tools");
    H->Add("Shortcuts with a caption far too long for the strip");
    TFolioGroup* Apps = H->Add("Apps");
    Apps->SetStyle(gbGradient);
    for (const char* Caption : {"Editor", "Mail", "Calendar", "Files"})
        Apps->GetItems()->Add(Caption, Index++ % 10);
    for (const char* Caption : {"Clock", "Notes"}) Tools->GetItems()->Add(Caption, 2);
    // Still being built, so the group opens without sliding.
    Horizontal->SetAnimationStyle(asNone);
    Horizontal->SetVisibleGroup(2);
    Horizontal->SetAnimationStyle(asLinear);

    // A hovered item shows its over picture; here it is the same one,
    // so that the hover frame is seen around a picture.
    for (TFolio* Bar : {Vertical, Horizontal})
        for (int GI = 0; GI < Bar->GetGroups()->GetCount(); ++GI) {
            TFolioItems* Items = Bar->GetGroups()->GetGroup(GI)->GetItems();
            for (int II = 0; II < Items->GetCount(); ++II)
                Items->GetItem(II)->SetOverImageIndex(Items->GetItem(II)->GetImageIndex());
        }
    for (TFolio* Bar : {Vertical, Horizontal}) {
        // A bar is not a tab stop by itself; the gallery makes both bars
        // reachable by Tab and a click, so the arrows, Enter, Space and F2
        // work in them.
        Bar->SetTabStop(true);
        WireRenaming(Bar);
        BindEventHandler(Bar, "OnItemClick", "BarItemClick");
    }
    Horizontal->SetCustomGroupEditing(true);
    BindEventHandler(Horizontal, "OnGetGroupEditRect", "BarGetGroupEditRect");
    ShowHints();
    WireF2();
    SetMinimumSize();
    ColorGroupsForScheme();
    Form.OnSystemColorsChanged = [this] { ColorGroupsForScheme(); };
}

void TGalleryForm::ColorGroupsForScheme() {
    // Light faces under the dark text of classic, light and high contrast
    // light; darker ones of the same hue under the light text of the dark
    // schemes. A single colour has both ends equal.
    struct TGroupColors {
        TColor Start, End;
    };
    const struct {
        TFolio* Bar;
        int Group;
        TGroupColors Light, Dark;
    } Groups[] = {
        {Vertical, 0, {0xF0E0D0, 0xC8A070}, {0x705030, 0x301C10}},
        {Vertical, 1, {0xC8D8C0, 0xC8D8C0}, {0x304830, 0x304830}},
        {Horizontal, 0, {0xE8E0D8, 0xE8E0D8}, {0x403A34, 0x403A34}},
        {Horizontal, 2, {0xF8F0E0, 0xB09070}, {0x685038, 0x281C10}},
    };
    const bool Dark = GetColorSchemeTraits().Dark;
    Tile = TilePicture(Dark);
    Vertical->GetGroups()->GetGroup(2)->SetBitmap(Tile.get());
    for (const auto& G : Groups) {
        TFolioGroup* Group = G.Bar->GetGroups()->GetGroup(G.Group);
        const TGroupColors& C = Dark ? G.Dark : G.Light;
        if (Group->GetStyle() == gbGradient) {
            Group->SetStartColor(C.Start);
            Group->SetEndColor(C.End);
        } else {
            Group->SetColor(C.Start);
        }
    }
}

// The bars show tooltips: a caption cut short shows whole, a few items
// tell what they hold, and elsewhere over a bar its own hint says how it is
// used.
void TGalleryForm::ShowHints() {
    Vertical->SetHint("Click a caption to open its group; double click or F2 renames");
    Horizontal->SetHint("Drag items here from the other bar");
    const struct {
        TFolio* Bar;
        int Group, Item;
        const char* Hint;
    } Hints[] = {{Vertical, 0, 0, "Mail that came in"},
                 {Vertical, 0, 5, "Mail not sent yet"},
                 {Vertical, 1, 0, "What is due today"},
                 {Horizontal, 2, 0, "Opens the text editor"}};
    for (const auto& H : Hints) {
        TFolioItem* Item = H.Bar->GetGroups()->GetGroup(H.Group)->GetItems()->GetItem(H.Item);
        Item->SetHint(H.Hint);
        Item->SetShowHint(true);
    }
    for (TFolio* Bar : {Vertical, Horizontal}) Bar->SetShowHint(true);
}

// Renaming in place is the application's choice: here a double click on
// an item or on the open group's caption, or F2 (below), opens the
// editor, and a bar takes the keyboard when it is pressed. Every press
// accepts and closes an open editor, and the second press of a double
// click arrives right after the double-click event, so the editor opens
// when that press is released.
void TGalleryForm::WireRenaming(TFolio* Bar) {
    auto RenameOnRelease = std::make_shared<bool>(false);
    Bar->OnMouseDown = [Bar](TObject*, TMouseButton, TShiftState, int, int) {
        if (Bar->CanFocus()) Bar->SetFocus();
    };
    Bar->OnDblClick = [RenameOnRelease](TObject*) { *RenameOnRelease = true; };
    Bar->OnMouseUp = [Bar, RenameOnRelease](TObject*, TMouseButton, TShiftState, int, int) {
        if (!*RenameOnRelease) return;
        *RenameOnRelease = false;
        // A caption comes first: items scrolled below the open group's
        // slots reach under the captions stacked there. A double click
        // on another caption only opens its group.
        if (TFolioGroup* Group = Bar->GetGroupUnderCurosr()) {
            if (Group == Bar->GetVisibleGroupObject()) Bar->EditGroup(Group);
            return;
        }
        if (TFolioItem* Item = Bar->GetItemUnderCurosr()) Bar->EditItem(Item);
    };
}

// A bar with the keyboard renames its focused caption or item on F2 by
// itself. The gallery adds only what no bar does: with the keyboard on the
// form, F2 renames what lies under the pointer.
void TGalleryForm::WireF2() {
    Form.OnKeyDown = [this](TObject*, unsigned short& Key, TShiftState) {
        if (Key == VK_F2 && RenameUnderPointer()) Key = 0;
    };
}

bool TGalleryForm::RenameUnderPointer() {
    for (TFolio* Bar : {Vertical, Horizontal}) {
        // A caption comes first: items scrolled below the open group's
        // slots reach under the captions stacked there.
        if (TFolioGroup* Group = Bar->GetGroupUnderCurosr()) return Bar->EditGroup(Group);
        if (TFolioItem* Item = Bar->GetItemUnderCurosr()) return Bar->EditItem(Item);
    }
    return false;
}

void TGalleryForm::SetAnimation(TFolAnimationStyle Style) {
    Vertical->SetAnimationStyle(Style);
    Horizontal->SetAnimationStyle(Style);
}

// Opens the long group and scrolls it so that both scroll buttons show.
void TGalleryForm::OpenLongGroup() {
    const TFolAnimationStyle Style = Vertical->GetAnimationStyle();
    Vertical->SetAnimationStyle(asNone);
    Vertical->SetVisibleGroup(0);
    Vertical->SetAnimationStyle(Style);
    Vertical->GetGroups()->GetGroup(0)->SetStartItem(2);
}

// Rests the pointer on a picture of the vertical bar's open group, as a
// user would, so that the item shows its hover frame. Answers whether
// the bar took it as the item under the pointer.
bool TGalleryForm::HoverItem(THeadlessHost& Host, int Index) {
    TFolioItem* Item = Vertical->GetVisibleGroupObject()->GetItems()->GetItem(Index);
    const TRect Picture = Item->GetImageRect();
    Host.MoveTo(Vertical->ClientToScreen(
        Point((Picture.Left + Picture.Right) / 2, (Picture.Top + Picture.Bottom) / 2)));
    Host.RunUntilIdle();
    return Vertical->GetItemUnderCursor() == Item;
}

// Moves the pointer onto the form beside the bars, where nothing hovers.
void TGalleryForm::RestPointer(THeadlessHost& Host) {
    Host.MoveTo(Form.ClientToScreen(Point(Form.ScalePixels(600), Form.ScalePixels(500))));
    Host.RunUntilIdle();
}

namespace {

// The smallest room in which a bar shows all its captions and one whole
// item slot of whichever group is open, along its stacking axis.
int LeastExtent(const TFolio& Bar) {
    const TFolioGroups* Groups = Bar.GetGroups();
    int Slot = 0;
    for (int I = 0; I < Groups->GetCount(); ++I) {
        const TFolioGroup* Group = Groups->GetGroup(I);
        Slot = std::max(Slot, Bar.IsVertical() ? Group->GetItemHeight() : Group->GetItemWidth());
    }
    const int Frame = Bar.IsVertical() ? Bar.GetHeight() - Bar.GetClientHeight()
                                       : Bar.GetWidth() - Bar.GetClientWidth();
    return Groups->GetCount() * Bar.GetGroupCaptionHeight() + Slot + 2 * Bar.GetItemSpacing() +
           Frame;
}

} // namespace

void TGalleryForm::SetMinimumSize() {
    const int ClientWidth = BarSideWidth + LeastExtent(*Horizontal) + 2 * Margin;
    const int ClientHeight = std::max(LeastExtent(*Vertical), StripHeight) + 2 * Margin;
    TSizeConstraints* Least = Form.GetConstraints();
    Least->SetMinWidth(ClientWidth + Form.GetWidth() - Form.GetClientWidth());
    Least->SetMinHeight(ClientHeight + Form.GetHeight() - Form.GetClientHeight());
}

} // namespace gallery
