#include "FolioLiveInspector.h"

#include "framework/core/SysUtils.h"
#include "framework/gfx/FontEngine.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Edit.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace folio;
using LI = TFolioLiveInspector;

namespace {

// A shown form with a borderless 200 x 300 bar of two groups of three items,
// and a plain edit box beside it.
struct EditorTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TFolio* Bar = nullptr;
    TEdit* Other = nullptr;
    std::vector<String> Log;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 400);
        Bar = new TFolio(Form.get());
        Bar->SetBorderStyle(bsNone);
        Bar->SetAnimationStyle(asNone);
        Bar->SetBounds(0, 0, 200, 300);
        Bar->SetParent(Form.get());
        Other = new TEdit(Form.get());
        Other->SetBounds(250, 10, 100, 25);
        Other->SetParent(Form.get());
        for (int I = 0; I < 2; ++I) {
            TFolioGroup* Group = Bar->GetGroups()->Add(Format("Group %d", I));
            for (int J = 0; J < 3; ++J) Group->GetItems()->Add(Format("Item %d", J), -1);
        }
        Bar->OnEditedItem = [this](TObject* Sender, TFolioItem*, String& Text) {
            EXPECT_EQ(Sender, Bar);
            Log.push_back("item " + Text);
            if (Text == "Bad") Text = "Good";
        };
        Bar->OnEditedGroup = [this](TObject*, TFolioGroup*, String& Text) {
            Log.push_back("group " + Text);
        };
        Form->Show();
        Host.RunUntilIdle();
    }

    TFolioGroup* G(int I) { return Bar->GetGroups()->GetGroup(I); }
    TFolioItem* Item(int I) { return G(0)->GetItems()->GetItem(I); }
    TFolEditor* Editor() { return LI::Editor(*Bar); }
    unsigned Style() { return Editor()->GetStyle(); }
    void PressOnBar(int X, int Y, TMouseButton Button) {
        Host.MoveTo(Bar->ClientToScreen(Point(X, Y)));
        Host.Press(Button);
        Host.Release(Button);
    }
    bool Closed() { return !Editor() && !LI::Editing(*Bar); }
};

} // namespace

TEST_F(EditorTest, EnterAppliesWhatTheEditedEventsLeaveEscapeNothing) {
    ASSERT_TRUE(Bar->EditItem(Item(1)));
    EXPECT_TRUE(Item(1)->GetEdited());
    Host.Type("Bad");
    Host.Key(VK_RETURN);
    // The handler replaced the text; the large-picture box took no line break.
    EXPECT_EQ(Item(1)->GetCaption(), "Good");
    EXPECT_TRUE(Closed());
    EXPECT_FALSE(Item(1)->GetEdited());

    // An unchanged text is still reported.
    ASSERT_TRUE(Bar->EditGroup(G(1)));
    Host.Key(VK_RETURN);
    EXPECT_TRUE(Closed());

    ASSERT_TRUE(Bar->EditItem(Item(2)));
    Host.Type("Lost");
    Host.Key(VK_ESCAPE);
    EXPECT_TRUE(Closed());
    ASSERT_TRUE(Bar->EditGroup(G(0)));
    Host.Type("Lost");
    Host.Key(VK_ESCAPE);
    EXPECT_TRUE(Closed());
    EXPECT_EQ(Item(2)->GetCaption(), "Item 2");
    EXPECT_EQ(G(0)->GetCaption(), "Group 0");
    EXPECT_EQ(Log, (std::vector<String>{"item Bad", "group Group 1"}));

    // A close posted after the editor went only clears the editing flag.
    PostMessage(Bar->GetHandle(), WM_HIDEEDITOR, 1, 0);
    Host.RunUntilIdle();
    EXPECT_EQ(Log.size(), 2u);
}

TEST_F(EditorTest, EnterAndEscapeEndTheEditOnAFormWithDefaultAndCancelButtons) {
    // A dialog's default and cancel buttons must not take the keys that end
    // an edit in place.
    int Presses = 0;
    for (bool Default : {true, false}) {
        auto* B = new TButton(Form.get());
        B->SetParent(Form.get());
        B->SetBounds(250, Default ? 50 : 80, 75, 25);
        B->SetDefault(Default);
        B->SetCancel(!Default);
        B->OnClick = [&](TObject*) { ++Presses; };
    }
    // Group captions and small-picture items edit in a one-line box, which
    // does not ask for every key by itself.
    G(0)->SetImageSize(isSmall);
    ASSERT_TRUE(Bar->EditGroup(G(1)));
    Host.Type("Kept");
    Host.Key(VK_RETURN);
    EXPECT_TRUE(Closed());
    EXPECT_EQ(G(1)->GetCaption(), "Kept");
    ASSERT_TRUE(Bar->EditItem(Item(1)));
    Host.Type("Lost");
    Host.Key(VK_ESCAPE);
    EXPECT_TRUE(Closed());
    EXPECT_EQ(Item(1)->GetCaption(), "Item 1");
    EXPECT_EQ(Presses, 0);
    // Once the edit is over the buttons take the keys again.
    Host.Key(VK_ESCAPE);
    EXPECT_EQ(Presses, 1);
}

TEST_F(EditorTest, TheBarSeesTheKeysAndStaysTheFormsFocusedControl) {
    String Seen;
    Bar->OnKeyPress = [&](TObject* Sender, char& Key) {
        EXPECT_EQ(Sender, Bar);
        Seen += Key ? Key : '0';
        if (Key == 'x') Key = 0;
    };
    ASSERT_TRUE(Bar->EditItem(Item(0)));
    EXPECT_TRUE(Editor()->Focused());
    EXPECT_EQ(Form->GetActiveControl(), Bar);
    EXPECT_EQ(Form->GetFocusedControl(), Bar);
    EXPECT_EQ(Editor()->GetSelLength(), 6);
    Host.Type("axb");
    EXPECT_EQ(Editor()->GetText(), "ab");

    // Clicking another control gives it the keyboard and leaves the edit
    // open with its text; the next edit accepts that text first.
    Host.Click(Other->ClientToScreen(Point(5, 5)).X, Other->ClientToScreen(Point(5, 5)).Y);
    EXPECT_TRUE(Other->Focused());
    ASSERT_FALSE(Closed());
    EXPECT_EQ(Editor()->GetText(), "ab");
    EXPECT_EQ(Item(0)->GetCaption(), "Item 0");
    ASSERT_TRUE(Bar->EditItem(Item(0)));
    EXPECT_EQ(Item(0)->GetCaption(), "ab");
    Host.Key(VK_RETURN);
    EXPECT_EQ(Seen, "axb0");
    EXPECT_EQ(Item(0)->GetCaption(), "ab");
    // The keyboard goes back to the bar, so a rename key works again.
    EXPECT_TRUE(Bar->Focused());

    // A form that cannot take the focus yet still gets its editor.
    Form->Hide();
    ASSERT_TRUE(Bar->EditItem(Item(0)));
    EXPECT_FALSE(Editor()->Focused());
}

TEST_F(EditorTest, VetoesNilForeignObjectsAndEndEdit) {
    Bar->OnEditingItem = [&](TObject*, TFolioItem* It, bool& CanEdit) { CanEdit = It != Item(2); };
    EXPECT_FALSE(Bar->EditItem(Item(2)));
    EXPECT_TRUE(Closed());

    ASSERT_TRUE(Bar->EditItem(Item(1)));
    Host.Type("Kept");
    // Nil is refused, after the open editor was closed and applied.
    EXPECT_FALSE(Bar->EditItem(nullptr));
    EXPECT_TRUE(Closed());
    EXPECT_EQ(Item(1)->GetCaption(), "Kept");

    // Objects of another bar, or of none, would never tell this bar of their end.
    TFolio Foreign(nullptr);
    EXPECT_FALSE(Bar->EditGroup(Foreign.GetGroups()->Add("Foreign")));
    std::unique_ptr<TFolioItem> Loose(new TFolioItem(nullptr));
    EXPECT_FALSE(Bar->EditItem(Loose.get()));
    EXPECT_TRUE(Closed());

    // EndEdit acts on the edited object only: true cancels, false accepts.
    Item(0)->Edit();
    Host.Type("X");
    Item(1)->EndEdit(true);
    G(0)->EndEdit(true);
    ASSERT_NE(Editor(), nullptr);
    Item(0)->EndEdit(true);
    EXPECT_TRUE(Closed());
    EXPECT_EQ(Item(0)->GetCaption(), "Item 0");
    G(1)->Edit();
    Host.Type("Y");
    G(1)->EndEdit(false);
    EXPECT_EQ(G(1)->GetCaption(), "Y");

    TFolioGroup* Fresh = Bar->EditNewGroup("Fresh");
    EXPECT_EQ(Fresh, G(2));
    EXPECT_EQ(Editor()->GetText(), "Fresh");
    EXPECT_EQ(Editor()->GetSelStart(), 0);
    EXPECT_EQ(Editor()->GetSelLength(), 5);
    EXPECT_EQ(Editor()->GetBoundsRect(), Fresh->GetCaptionRect());
}

TEST_F(EditorTest, EditRectsAskTheApplicationOnlyWhenCustomAndStylesFollowTheContent) {
    std::vector<TRect> Offered;
    Bar->OnGetItemEditRect = [&](TObject*, TFolioItem*, TRect& R) {
        Offered.push_back(R);
        R = Rect(5, 100, 105, 120);
    };
    Bar->OnGetGroupEditRect = [&](TObject*, TFolioGroup*, TRect& R) {
        Offered.push_back(R);
        R = Rect(1, 1, 101, 19);
    };
    Bar->GetGroupsFont()->SetHeight(-17);
    Bar->SetBiDiMode(bdRightToLeft);
    G(0)->SetImageSize(isSmall);

    ASSERT_TRUE(Bar->EditItem(Item(1)));
    const TRect T = Item(1)->GetTextRect();
    const TRect Enlarged = Rect(T.Left - 3, T.Top - 2, T.Right + 3, T.Bottom + 2);
    EXPECT_EQ(Editor()->GetBoundsRect(), Enlarged);
    EXPECT_TRUE(Style() & ES_AUTOHSCROLL);
    EXPECT_FALSE(Style() & ES_MULTILINE);
    EXPECT_FALSE(Editor()->GetCtl3D());
    EXPECT_EQ(Editor()->GetFont()->GetHeight(), Bar->GetFont()->GetHeight());
    EXPECT_EQ(Editor()->GetBiDiMode(), bdRightToLeft);
    // With small pictures the box scrolls its text instead of growing.
    Host.Type("A caption far too long for the box that holds it");
    EXPECT_EQ(Editor()->GetBoundsRect(), Enlarged);

    ASSERT_TRUE(Bar->EditGroup(G(1)));
    EXPECT_EQ(Editor()->GetBoundsRect(), G(1)->GetCaptionRect());
    EXPECT_TRUE(Style() & ES_AUTOHSCROLL);
    EXPECT_EQ(Editor()->GetFont()->GetHeight(), -17);
    EXPECT_EQ(Editor()->GetFont()->GetColor(), clBtnText);
    EXPECT_TRUE(Offered.empty());

    Bar->SetCustomItemEditing(true);
    Bar->SetCustomGroupEditing(true);
    ASSERT_TRUE(Bar->EditItem(Item(1)));
    EXPECT_EQ(Editor()->GetBoundsRect(), Rect(5, 100, 105, 120));
    ASSERT_TRUE(Bar->EditGroup(G(1)));
    EXPECT_EQ(Editor()->GetBoundsRect(), Rect(1, 1, 101, 19));
    ASSERT_EQ(Offered.size(), 2u);
    EXPECT_EQ(Offered[1], G(1)->GetCaptionRect());
}

// A horizontal bar's group editor lies on the caption's tall, narrow strip
// as it is, at either end of the bar; the rectangle event is asked only
// with CustomGroupEditing, is offered that strip, and may give another.
TEST_F(EditorTest, AHorizontalBarsGroupEditorTakesTheCaptionStripUnlessTheEventGivesAnother) {
    Bar->SetAlignment(baHorizontal);
    G(1)->SetCaption("A longer caption");
    std::vector<TRect> Offered;
    TRect Given = Rect(20, 40, 180, 60);
    Bar->OnGetGroupEditRect = [&](TObject* Sender, TFolioGroup*, TRect& R) {
        EXPECT_EQ(Sender, Bar);
        Offered.push_back(R);
        R = Given;
    };
    for (TFolioGroup* Group : {G(0), G(1)}) {
        SCOPED_TRACE(Group->GetCaption());
        const TRect Strip = Group->GetCaptionRect();
        ASSERT_GT(Strip.Height(), 2 * Strip.Width()) << "a tall, narrow strip";
        Bar->SetCustomGroupEditing(false);
        ASSERT_TRUE(Bar->EditGroup(Group));
        EXPECT_EQ(Editor()->GetBoundsRect(), Strip);
        EXPECT_EQ(Editor()->GetText(), Group->GetCaption());
        EXPECT_TRUE(Offered.empty());

        Bar->SetCustomGroupEditing(true);
        ASSERT_TRUE(Bar->EditGroup(Group));
        EXPECT_EQ(Editor()->GetBoundsRect(), Given);
        EXPECT_EQ(Offered, std::vector<TRect>{Strip});
        Offered.clear();
    }
}

TEST_F(EditorTest, LargePictureEditorGrowsCentredThenWraps) {
    ASSERT_TRUE(Bar->EditItem(Item(0)));
    EXPECT_TRUE(Style() & ES_MULTILINE);
    EXPECT_TRUE(Style() & ES_CENTER);
    EXPECT_FALSE(Style() & ES_AUTOHSCROLL);
    const int Client = Bar->GetClientWidth();
    const int Limit = Client - 2 * Bar->GetItemSpacing();
    const int Top = Item(0)->GetTextRect().Top - 2;
    const int OneLine = Editor()->GetHeight();
    int LastWidth = 0;
    for (char Ch : String(
             "A caption long enough to wrap over three lines of the box, with a few more words")) {
        Host.Type(String(1, Ch));
        const TRect B = Editor()->GetBoundsRect();
        SCOPED_TRACE(Editor()->GetText());
        EXPECT_GE(B.Width(), LastWidth);
        EXPECT_LE(B.Width(), Limit);
        EXPECT_EQ(B.Left, (Client - B.Width()) / 2);
        EXPECT_EQ(B.Top, Top);
        LastWidth = B.Width();
    }
    EXPECT_EQ(LastWidth, Limit);
    EXPECT_GE(Editor()->GetLines().size(), 3u);
    EXPECT_GT(Editor()->GetHeight(), 2 * OneLine);
}

TEST_F(EditorTest, ANewEditOrAnyPressOnTheBarAppliesTheOpenOneFirst) {
    Bar->OnEditingItem = [&](TObject*, TFolioItem*, bool&) { Log.push_back("editing item"); };
    ASSERT_TRUE(Bar->EditGroup(G(0)));
    Host.Type("Renamed");
    ASSERT_TRUE(Bar->EditItem(Item(2)));
    EXPECT_EQ(G(0)->GetCaption(), "Renamed");
    EXPECT_EQ(Log, (std::vector<String>{"group Renamed", "editing item"}));
    EXPECT_EQ(Editor()->GetText(), "Item 2");

    // A right-button press away from the editor applies it and presses nothing.
    Host.Type("Right");
    PressOnBar(100, 270, mbRight);
    EXPECT_TRUE(Closed());
    EXPECT_EQ(Item(2)->GetCaption(), "Right");

    // On the caption of a closed group too: the group does not open.
    ASSERT_TRUE(Bar->EditGroup(G(0)));
    Host.Type("Again");
    const TRect Caption = G(1)->GetCaptionRect();
    PressOnBar(Caption.Left + 5, Caption.Top + 5, mbRight);
    EXPECT_TRUE(Closed());
    EXPECT_EQ(G(0)->GetCaption(), "Again");
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
    EXPECT_FALSE(LI::GroupPressed(*Bar));

    // An edited event may open the next editor: the text still lands and the
    // new editor keeps its object and the keyboard.
    Bar->OnEditedItem = [&](TObject*, TFolioItem* It, String&) {
        if (It == Item(0)) Bar->EditItem(Item(1));
    };
    ASSERT_TRUE(Bar->EditItem(Item(0)));
    Host.Type("First");
    Host.Key(VK_RETURN);
    EXPECT_EQ(Item(0)->GetCaption(), "First");
    ASSERT_NE(Editor(), nullptr);
    EXPECT_TRUE(Editor()->Focused());
    EXPECT_TRUE(Item(1)->GetEdited());
    Item(1)->Delete();
    EXPECT_TRUE(Closed());
}

TEST_F(EditorTest, DestroyingTheEditedObjectClosesWithoutApplying) {
    TFolioItem* First = Item(0);
    TFolioItem* Edited = Item(1);
    ASSERT_TRUE(Bar->EditItem(Edited));
    Host.Type("Gone");
    First->Delete();
    ASSERT_NE(Editor(), nullptr);
    EXPECT_TRUE(Edited->GetEdited());
    Edited->Delete();
    EXPECT_TRUE(Closed());

    ASSERT_TRUE(Bar->EditGroup(G(1)));
    Host.Type("Gone");
    G(1)->Delete();
    EXPECT_TRUE(Closed());

    // The whole group of the edited item, with an accepting close still queued.
    ASSERT_TRUE(Bar->EditItem(Item(0)));
    Host.Type("Gone");
    PostMessage(Bar->GetHandle(), WM_HIDEEDITOR, 1, 0);
    G(0)->Delete();
    Host.RunUntilIdle();
    EXPECT_TRUE(Closed());
    EXPECT_TRUE(Log.empty());

    // A handler may delete what it was told about.
    TFolioGroup* Last = Bar->GetGroups()->Add("Last");
    Bar->OnEditedGroup = [](TObject*, TFolioGroup* Group, String&) { Group->Delete(); };
    ASSERT_TRUE(Bar->EditGroup(Last));
    Host.Key(VK_RETURN);
    EXPECT_EQ(Bar->GetGroups()->GetCount(), 0);
    EXPECT_TRUE(Closed());

    // And the bar may go with its editor open.
    Bar->GetGroups()->Add("G")->GetItems()->Add("I", -1)->Edit();
    ASSERT_NE(Editor(), nullptr);
    delete Bar;
    Host.RunUntilIdle();
    EXPECT_TRUE(Log.empty());
}

TEST_F(EditorTest, AnEditedItemMovedToAnotherBarClosesItsEditorWithoutApplying) {
    auto* Second = new TFolio(Form.get());
    Second->SetBounds(210, 50, 150, 300);
    Second->SetParent(Form.get());
    TFolioItem* Anchor = Second->GetGroups()->Add("Other")->GetItems()->Add("Anchor", -1);

    TFolioItem* Moved = Item(1);
    ASSERT_TRUE(Bar->EditItem(Moved));
    Host.Type("Lost");
    Moved->MoveTo(Anchor, true);
    EXPECT_TRUE(Closed());
    EXPECT_EQ(Moved->GetBar(), Second);

    // Through the collection as well; the first bar keeps nothing that could
    // reach the item once the second bar deletes it.
    ASSERT_TRUE(Bar->EditItem(Item(0)));
    Moved = Item(0);
    Second->GetGroups()->GetGroup(0)->GetItems()->Move(Moved, 0);
    EXPECT_TRUE(Closed());
    delete Second;
    Host.RunUntilIdle();
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(G(0)->GetItems()->GetCount(), 1);
}

TEST_F(EditorTest, EventsRunFromTheEditorsOwnHandlersMayCloseIt) {
    // The bar's key event accepts the edit on a key of its own, and runs
    // the loop before it returns.
    Bar->OnKeyPress = [&](TObject*, char& Key) {
        if (Key != ';') return;
        Item(0)->EndEdit(false);
        Application->ProcessMessages();
    };
    ASSERT_TRUE(Bar->EditItem(Item(0)));
    Host.Type("Short;");
    EXPECT_TRUE(Closed());
    EXPECT_EQ(Item(0)->GetCaption(), "Short");
    EXPECT_EQ(Bar->ControlCount(), 0);

    // An exit event that the editor's focus fires deletes the item it opens on.
    Host.Click(Other->ClientToScreen(Point(5, 5)).X, Other->ClientToScreen(Point(5, 5)).Y);
    ASSERT_TRUE(Other->Focused());
    TFolioItem* Doomed = Item(1);
    Other->OnExit = [&](TObject*) { Doomed->Delete(); };
    EXPECT_FALSE(Bar->EditItem(Doomed));
    Host.RunUntilIdle();
    EXPECT_TRUE(Closed());
    EXPECT_EQ(G(0)->GetItems()->GetCount(), 2);
    EXPECT_EQ(Bar->ControlCount(), 0);
}

TEST_F(EditorTest, AGrownItemEditorShowsFromTheFirstLineAndScrollsOnlyForTheCaret) {
    const int Line = Bar->GetFont()->GetHandle()->Metrics().tmHeight;
    // The first line's top when nothing is scrolled, and whether the caret's
    // line lies wholly inside the box.
    auto FirstLineTop = [&] { return Editor()->PointFromPos(0).Y; };
    auto CaretInView = [&] {
        const int Y = Editor()->PointFromPos(Editor()->GetCaretPos()).Y;
        return Y >= 0 && Y + Line <= Editor()->GetClientHeight();
    };
    // A caption of several lines opens with all of it selected and the caret
    // at its end: the box grows to hold every line, so nothing is scrolled.
    Item(0)->SetCaption("A caption long enough to wrap over four lines of the grown box, "
                        "with a few more words to be sure that it takes at least four of them");
    ASSERT_TRUE(Bar->EditItem(Item(0)));
    ASSERT_GE(Editor()->GetLines().size(), 4u);
    EXPECT_EQ(FirstLineTop(), 1);
    EXPECT_TRUE(CaretInView());
    Host.Key(VK_ESCAPE);

    // Typing grows the box a line ahead of the text, so it never scrolls.
    ASSERT_TRUE(Bar->EditItem(Item(1)));
    Host.Key(VK_END);
    for (int Typed = 0; Editor()->GetLines().size() < 4 && Typed < 400; ++Typed) {
        Host.Type(Typed % 6 == 5 ? " " : "w");
        SCOPED_TRACE(Editor()->GetText());
        EXPECT_EQ(FirstLineTop(), 1);
        EXPECT_TRUE(CaretInView());
    }
    EXPECT_GE(Editor()->GetLines().size(), 4u);
}

// A press outside the bar leaves the editor open with what was typed: on
// another control, on the form's empty area, in another window, with any
// button. A press on the editor itself leaves it open too; a press on the bar
// beside it accepts the text.
TEST_F(EditorTest, APressOutsideTheBarLeavesTheEditorOpenAPressOnTheBarAccepts) {
    TForm Second(nullptr);
    Second.SetBounds(500, 0, 200, 200);
    Second.Show();
    Host.RunUntilIdle();
    struct TCase {
        const char* Where;
        TPoint At;
        TMouseButton Button;
        bool Closes;
    };
    const TCase Cases[] = {
        {"another control", Other->ClientToScreen(Point(5, 5)), mbLeft, false},
        {"another control, right button", Other->ClientToScreen(Point(5, 5)), mbRight, false},
        {"the form's empty area", Form->ClientToScreen(Point(300, 300)), mbLeft, false},
        {"another window", Second.ClientToScreen(Point(50, 50)), mbLeft, false},
        {"the bar beside the editor", Bar->ClientToScreen(Point(100, 250)), mbLeft, true},
        {"the bar, right button", Bar->ClientToScreen(Point(100, 250)), mbRight, true},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Where);
        Bar->HideEditor(false);
        Item(2)->SetCaption("Item 2");
        Host.Run(1000);
        ASSERT_TRUE(Bar->EditItem(Item(2)));
        Host.Type("Typed");
        const TPoint OnEditor = Editor()->ClientToScreen(Point(3, 3));
        Host.Click(OnEditor.X, OnEditor.Y);
        ASSERT_NE(Editor(), nullptr);
        Host.Run(1000);
        Host.Click(C.At.X, C.At.Y, C.Button);
        Host.RunUntilIdle();
        EXPECT_EQ(Closed(), C.Closes);
        EXPECT_EQ(Item(2)->GetCaption(), C.Closes ? "Typed" : "Item 2");
        EXPECT_EQ(Item(2)->GetEdited(), !C.Closes);
        if (!C.Closes) {
            ASSERT_NE(Editor(), nullptr);
            EXPECT_EQ(Editor()->GetText(), "Typed");
            // Back in the editor, Enter applies the text kept all along.
            Host.Click(OnEditor.X, OnEditor.Y);
            Host.Key(VK_RETURN);
            EXPECT_TRUE(Closed());
            EXPECT_EQ(Item(2)->GetCaption(), "Typed");
        }
    }
}
