#include "framework/core/Exceptions.h"
#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/comctrls/ListView.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/input/Mouse.h"
#include "framework/ui/input/VirtualKeys.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct ListViewTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TListView* View = nullptr;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(50, 50, 500, 400);
        View = new TListView(Form.get());
        View->SetParent(Form.get());
        View->SetBounds(10, 10, 300, 200);
        View->SetViewStyle(vsReport);
        for (const char* Caption : {"Name", "Size"}) {
            TListColumn* C = View->GetColumns()->Add();
            C->SetCaption(Caption);
            C->SetWidth(120);
        }
        View->GetColumns()->GetColumn(1)->SetAlignment(taRightJustify);
        const char* Names[] = {"delta", "Alpha", "charlie", "Bravo", "echo"};
        const char* Sizes[] = {"4", "10", "3", "22", "1"};
        for (int I = 0; I < 5; ++I) {
            TListItem* Item = View->GetItems()->Add();
            Item->SetCaption(Names[I]);
            Item->GetSubItems()->Add(Sizes[I]);
        }
        Form->Show();
        View->SetFocus();
        Host.RunUntilIdle();
    }

    TPoint Screen(TPoint P) { return View->ClientToScreen(P); }
    TPoint CaptionPoint(int Index) {
        const TRect R = View->ItemRect(Index);
        return Screen(Point(R.Left + 6, (R.Top + R.Bottom) / 2));
    }
    String Captions() {
        String S;
        for (int I = 0; I < View->GetItems()->GetCount(); ++I)
            S += (I ? " " : "") + View->GetItems()->GetItem(I)->GetCaption();
        return S;
    }
};

// Each style lays items out in its own lines: the keys move along and
// across them.
TEST_F(ListViewTest, KeysMoveTheSelectionInEachStyle) {
    for (int I = 0; I < 35; ++I) View->GetItems()->Add()->SetCaption("more " + std::to_string(I));
    struct Step {
        TViewStyle Style;
        unsigned short Key;
        int Index;
    };
    std::vector<Step> Steps;
    View->SetViewStyle(vsIcon);
    const int PerRow = View->ItemsPerLine();
    View->SetViewStyle(vsSmallIcon);
    const int PerSmallRow = View->ItemsPerLine();
    View->SetViewStyle(vsList);
    const int PerColumn = View->ItemsPerLine();
    ASSERT_GT(PerRow, 1);
    ASSERT_GT(PerColumn, 1);
    Steps = {
        {vsReport, VK_DOWN, 0},  {vsReport, VK_DOWN, 1},
        {vsReport, VK_RIGHT, 1}, {vsReport, VK_END, 39},
        {vsReport, VK_DOWN, 39}, {vsReport, VK_HOME, 0},
        {vsIcon, VK_RIGHT, 1},   {vsIcon, VK_DOWN, 1 + PerRow},
        {vsIcon, VK_UP, 1},      {vsIcon, VK_LEFT, 0},
        {vsList, VK_DOWN, 1},    {vsList, VK_RIGHT, 1 + PerColumn},
        {vsList, VK_LEFT, 1},    {vsSmallIcon, VK_DOWN, 1 + PerSmallRow},
    };
    View->SetViewStyle(vsReport);
    View->SetItemIndex(-1);
    for (const Step& S : Steps) {
        View->SetViewStyle(S.Style);
        Host.Key(S.Key);
        EXPECT_EQ(View->GetItemIndex(), S.Index) << int(S.Style) << " " << S.Key;
        // The selection is always in view.
        const TRect R = View->ItemRect(View->GetItemIndex());
        EXPECT_TRUE(R.Top >= 0 && R.Left >= 0) << int(S.Style) << " " << S.Key;
    }
}

TEST_F(ListViewTest, AClickOnAColumnHeaderSortsByItAndASecondTurnsTheOrder) {
    std::vector<String> Clicked;
    View->OnColumnClick = [&](TObject*, TListColumn* C) { Clicked.push_back(C->GetCaption()); };
    View->SetItemIndex(1); // Alpha
    const TRect Header = View->HeaderRect();
    const TPoint Name = Screen(Point(30, Header.Bottom / 2));
    const TPoint Size = Screen(Point(150, Header.Bottom / 2));
    Host.Click(Name.X, Name.Y);
    EXPECT_EQ(Captions(), "Alpha Bravo charlie delta echo");
    EXPECT_EQ(View->GetSelected()->GetCaption(), "Alpha");
    Host.Run(1000);
    Host.Click(Name.X, Name.Y);
    EXPECT_EQ(Captions(), "echo delta charlie Bravo Alpha");
    EXPECT_EQ(View->GetItemIndex(), 4);
    // OnCompare decides: the sizes as numbers.
    View->OnCompare = [](TObject*, TListItem* A, TListItem* B, int Column, int& Compare) {
        Compare = std::stoi(A->ColumnText(Column)) - std::stoi(B->ColumnText(Column));
    };
    Host.Run(1000);
    Host.Click(Size.X, Size.Y);
    EXPECT_EQ(Captions(), "echo charlie delta Alpha Bravo");
    EXPECT_EQ(Clicked, (std::vector<String>{"Name", "Name", "Size"}));
    // SortType keeps the captions sorted as items come.
    View->OnCompare = nullptr;
    View->SetSortType(stText);
    View->GetItems()->Add()->SetCaption("aardvark");
    EXPECT_EQ(Captions(), "aardvark Alpha Bravo charlie delta echo");
}

TEST_F(ListViewTest, F2AndASlowSecondClickRenameInPlace) {
    std::vector<String> Log;
    View->OnEditing = [&](TObject*, TListItem* I, bool& Allow) {
        Log.push_back("editing " + I->GetCaption());
        Allow = I->GetCaption() != "echo";
    };
    View->OnEdited = [&](TObject*, TListItem*, String& S) { Log.push_back("edited " + S); };
    View->SetItemIndex(0);
    Host.Key(VK_F2);
    ASSERT_TRUE(View->IsEditing());
    Host.Type("omega");
    Host.Key(VK_RETURN);
    EXPECT_FALSE(View->IsEditing());
    EXPECT_EQ(View->GetItems()->GetItem(0)->GetCaption(), "omega");
    Host.Run(1000);
    const TPoint P = CaptionPoint(2);
    Host.Click(P.X, P.Y);
    Host.Run(1000);
    Host.Click(P.X, P.Y);
    Host.Run(GetDoubleClickTime() + 100);
    ASSERT_TRUE(View->IsEditing());
    Host.Type("x");
    Host.Key(VK_ESCAPE);
    EXPECT_EQ(View->GetItems()->GetItem(2)->GetCaption(), "charlie");
    View->SetItemIndex(4);
    Host.Key(VK_F2);
    EXPECT_FALSE(View->IsEditing());
    EXPECT_EQ(Log, (std::vector<String>{"editing delta", "edited omega", "editing charlie",
                                        "editing echo"}));
}

TEST_F(ListViewTest, DeletingAndInsertingKeepTheSelectionOnItsItem) {
    View->SetItemIndex(3); // Bravo
    View->GetItems()->Insert(0)->SetCaption("first");
    EXPECT_EQ(View->GetSelected()->GetCaption(), "Bravo");
    View->GetItems()->Delete(0);
    EXPECT_EQ(View->GetSelected()->GetCaption(), "Bravo");
    View->GetItems()->Delete(3);
    EXPECT_EQ(View->GetItemIndex(), -1);
    View->GetItems()->Clear();
    Host.Key(VK_DOWN);
    EXPECT_EQ(View->GetItemIndex(), -1);
}

TEST_F(ListViewTest, OwnerDataShowsAMillionEntriesAskingOnlyForThoseShown) {
    int Asked = 0;
    View->OnData = [&](TObject*, TListItem* Item) {
        ++Asked;
        Item->SetCaption("Entry " + std::to_string(reinterpret_cast<std::intptr_t>(Item->Data)));
    };
    View->SetOwnerData(true);
    View->SetItemCount(1000000);
    Host.RunUntilIdle();
    EXPECT_LT(Asked, 50);
    Asked = 0;
    Host.Key(VK_END);
    Host.RunUntilIdle();
    EXPECT_EQ(View->GetItemIndex(), 999999);
    EXPECT_EQ(View->GetSelected()->GetCaption(), "Entry 999999");
    EXPECT_LT(Asked, 60);
    const TRect R = View->ItemRect(999999);
    EXPECT_EQ(View->IndexAt(R.Left + 3, R.Top + 3), 999999);
    View->SetItemCount(2000000000);
    EXPECT_EQ(View->GetItemCount(), TListView::MaxVirtualCount);
}

TEST_F(ListViewTest, TheHeaderAndTheSelectionArePaintedInSystemColours) {
    View->SetItemIndex(1);
    Host.RunUntilIdle();
    const TPoint Form0 = Form->ClientToScreen(Point(0, 0));
    const auto Px = [&](TPoint Client) {
        const TPoint S = Screen(Client);
        return Host.Pixel(Form.get(), S.X - Form0.X, S.Y - Form0.Y);
    };
    const TRect Header = View->HeaderRect();
    EXPECT_EQ(Px(Point(60, Header.Bottom - 3)), ColorToRGB(clBtnFace));
    const TRect Item = View->ItemRect(1);
    EXPECT_EQ(Px(Point(Item.Left + 2, Item.Bottom - 2)), ColorToRGB(clHighlight));
    EXPECT_EQ(Px(Point(Item.Left + 2, View->ItemRect(3).Bottom - 2)), ColorToRGB(clWindow));
}

TEST_F(ListViewTest, ScreenReadersSeeAListOfItems) {
    View->SetItemIndex(2);
    const auto Root = GetAccessible(View);
    EXPECT_EQ(Root->GetRole(), TAccRole::List);
    ASSERT_EQ(Root->GetChildCount(), 5);
    EXPECT_EQ(Root->GetChild(2)->GetName(), "charlie");
    EXPECT_EQ(Root->GetChild(2)->GetStates(), asSelectable | asSelected);
    ASSERT_TRUE(Root->GetChild(0)->DoAction("press"));
    EXPECT_EQ(View->GetItemIndex(), 0);
}

String ReadError(const String& Entries) {
    const String Text = "object Form1: TForm\n"
                        "  object View: TListView\n"
                        "    Items.Entries = (" +
                        Entries +
                        ")\n"
                        "  end\n"
                        "end\n";
    TMemoryStream S;
    S.Write(Text.data(), static_cast<std::int64_t>(Text.size()));
    S.SetPosition(0);
    TForm Read(nullptr);
    try {
        ReadComponent(S, &Read);
    } catch (const Exception& E) {
        return E.what();
    }
    return "read";
}

TEST(ListViewForm, EntriesThatAreNoItemsAreRefusedWithTheirLine) {
    THeadlessHost Host;
    const struct {
        const char* What;
        String Entries;
        const char* Expected;
    } Rows[] = {
        {"good items", "('a' 0 ('x' 'y')) ('b' -5 ())", "read"},
        {"an item without sub-items", "('a' 0)", "line 3"},
        {"a number for a caption", "(1 0 ())", "line 3"},
        {"an item not in a list", "'a'", "line 3"},
    };
    for (const auto& Row : Rows) {
        const String Got = ReadError(Row.Entries);
        EXPECT_NE(Got.find(Row.Expected), String::npos) << Row.What << ": " << Got;
    }
}

} // namespace
