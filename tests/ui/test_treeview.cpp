#include "framework/core/Exceptions.h"
#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/comctrls/TreeView.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/input/Mouse.h"
#include "framework/ui/input/VirtualKeys.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

// A tree of
//   Animals (Cats (Lion, Tiger), Dogs (Wolf)), Plants (Trees (Oak)), Stones
struct TreeViewTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TTreeView* Tree = nullptr;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(50, 50, 400, 400);
        Tree = new TTreeView(Form.get());
        Tree->SetParent(Form.get());
        Tree->SetBounds(10, 10, 250, 300);
        TTreeNodes* N = Tree->GetItems();
        TTreeNode* Animals = N->AddChild(nullptr, "Animals");
        TTreeNode* Cats = N->AddChild(Animals, "Cats");
        N->AddChild(Cats, "Lion");
        N->AddChild(Cats, "Tiger");
        N->AddChild(N->AddChild(Animals, "Dogs"), "Wolf");
        TTreeNode* Plants = N->AddChild(nullptr, "Plants");
        N->AddChild(N->AddChild(Plants, "Trees"), "Oak");
        N->AddChild(nullptr, "Stones");
        Form->Show();
        Tree->SetFocus();
        Host.RunUntilIdle();
    }

    TTreeNode* Node(const char* Text) { return Tree->GetItems()->FindText(Text); }
    TPoint Screen(TPoint P) { return Tree->ClientToScreen(P); }
    TPoint LabelPoint(const char* Text) {
        const TRect R = Tree->LabelRect(Node(Text));
        return Screen(Point(R.Left + 4, (R.Top + R.Bottom) / 2));
    }
    String ExpandedNames() {
        String S;
        Tree->GetItems()->ForEach([&](TTreeNode* N) {
            if (N->GetExpanded()) S += (S.empty() ? "" : " ") + N->GetText();
        });
        return S;
    }
};

// Each row presses a key and names the selected node and the expanded
// nodes afterwards.
TEST_F(TreeViewTest, KeysMoveTheSelectionAndOpenAndCloseNodes) {
    struct Step {
        unsigned short Key;
        const char* Selected;
        const char* Expanded;
    };
    const Step Steps[] = {
        {VK_DOWN, "Animals", ""},
        {VK_DOWN, "Plants", ""},            // Animals is closed: its children have no rows
        {VK_UP, "Animals", ""},             //
        {VK_RIGHT, "Animals", "Animals"},   // opens
        {VK_RIGHT, "Cats", "Animals"},      // steps into the first child
        {VK_RIGHT, "Cats", "Animals Cats"}, //
        {VK_DOWN, "Lion", "Animals Cats"},  //
        {VK_LEFT, "Cats", "Animals Cats"},  // a leaf steps to its parent
        {VK_LEFT, "Cats", "Animals"},       // an open node closes
        {VK_SUBTRACT, "Cats", "Animals"},   //
        {VK_ADD, "Cats", "Animals Cats"},   //
        {VK_END, "Stones", "Animals Cats"}, //
        {VK_HOME, "Animals", "Animals Cats"},
        {VK_LEFT, "Animals", "Cats"},                  // Cats stays open inside
        {VK_MULTIPLY, "Animals", "Animals Cats Dogs"}, // everything below opens
        {VK_NEXT, "Stones", "Animals Cats Dogs"},      // the page reaches the end
        {VK_PRIOR, "Animals", "Animals Cats Dogs"},    //
    };
    for (const Step& S : Steps) {
        Host.Key(S.Key);
        ASSERT_NE(Tree->GetSelected(), nullptr) << S.Key;
        EXPECT_EQ(Tree->GetSelected()->GetText(), S.Selected) << S.Key;
        EXPECT_EQ(ExpandedNames(), S.Expanded) << S.Key;
    }
}

TEST_F(TreeViewTest, TheButtonAndADoubleClickOpenANodeAndAClickSelects) {
    const TRect Button = Tree->ButtonRect(Node("Animals"));
    ASSERT_FALSE(Button.IsEmpty());
    const TPoint B = Screen(Point(Button.Left + 4, Button.Top + 4));
    Host.Click(B.X, B.Y);
    EXPECT_TRUE(Node("Animals")->GetExpanded());
    EXPECT_EQ(Tree->GetSelected(), nullptr); // the button does not select
    Host.Run(1000);
    Host.Click(B.X, B.Y);
    EXPECT_FALSE(Node("Animals")->GetExpanded());
    Host.Run(1000);
    const TPoint Plants = LabelPoint("Plants");
    Host.DoubleClick(Plants.X, Plants.Y);
    EXPECT_TRUE(Node("Plants")->GetExpanded());
    EXPECT_EQ(Tree->GetSelected(), Node("Plants"));
    // Closing a node that holds the selection moves it up to the node.
    Tree->SetSelected(Node("Oak"));
    Node("Plants")->Collapse(true);
    EXPECT_EQ(Tree->GetSelected(), Node("Plants"));
}

TEST_F(TreeViewTest, RowsFollowExpansionAndHitTestsFindThePartsOfARow) {
    EXPECT_EQ(Tree->Rows().size(), 3u);
    Tree->FullExpand();
    EXPECT_EQ(Tree->Rows().size(), 10u);
    EXPECT_EQ(Tree->RowOf(Node("Oak")), 8);
    const int H = Tree->GetItemHeight();
    const TRect Label = Tree->LabelRect(Node("Lion"));
    EXPECT_EQ(Label.Top, 2 * H);
    EXPECT_EQ(Tree->GetNodeAt(Label.Left + 1, Label.Top + 1), Node("Lion"));
    EXPECT_EQ(Tree->GetHitTestAt(Label.Left + 1, Label.Top + 1), htOnLabel);
    EXPECT_EQ(Tree->GetHitTestAt(Label.Right + 5, Label.Top + 1), htOnRight);
    EXPECT_EQ(Tree->GetHitTestAt(1, Label.Top + 1), htOnIndent);
    EXPECT_EQ(Tree->GetNodeAt(5, 20 * H), nullptr);
    Tree->FullCollapse();
    EXPECT_EQ(Tree->RowOf(Node("Oak")), -1);
}

TEST_F(TreeViewTest, F2AndASlowSecondClickRenameInPlace) {
    std::vector<String> Log;
    Tree->OnEditing = [&](TObject*, TTreeNode* N, bool& Allow) {
        Log.push_back("editing " + N->GetText());
        Allow = N->GetText() != "Stones";
    };
    Tree->OnEdited = [&](TObject*, TTreeNode*, String& S) {
        Log.push_back("edited " + S);
        S += "!";
    };
    Tree->SetSelected(Node("Plants"));
    Host.Key(VK_F2);
    ASSERT_TRUE(Tree->IsEditing());
    EXPECT_EQ(Tree->GetEditor()->GetSelText(), "Plants");
    Host.Type("Flora");
    Host.Key(VK_RETURN);
    EXPECT_FALSE(Tree->IsEditing());
    EXPECT_TRUE(Tree->Focused());
    EXPECT_NE(Node("Flora!"), nullptr);
    // Escape keeps the caption.
    Host.Key(VK_F2);
    Host.Type("Gone");
    Host.Key(VK_ESCAPE);
    EXPECT_NE(Node("Flora!"), nullptr);
    // A second click on the selected caption renames once the double
    // click's time has passed.
    Host.Run(1000);
    const TPoint P = LabelPoint("Animals");
    Host.Click(P.X, P.Y);
    Host.Run(1000);
    EXPECT_FALSE(Tree->IsEditing());
    Host.Click(P.X, P.Y);
    EXPECT_FALSE(Tree->IsEditing());
    Host.Run(GetDoubleClickTime() + 100);
    ASSERT_TRUE(Tree->IsEditing());
    EXPECT_EQ(Tree->GetEditingNode(), Node("Animals"));
    Host.Key(VK_ESCAPE);
    // OnEditing refuses.
    Tree->SetSelected(Node("Stones"));
    Host.Key(VK_F2);
    EXPECT_FALSE(Tree->IsEditing());
    EXPECT_EQ(Log, (std::vector<String>{"editing Plants", "edited Flora", "editing Flora!",
                                        "editing Animals", "editing Stones"}));
}

TEST_F(TreeViewTest, DraggingANodeMovesItUnderAnother) {
    Tree->SetDragMode(dmAutomatic);
    Tree->FullExpand();
    Host.RunUntilIdle();
    Host.Drag(LabelPoint("Wolf"), LabelPoint("Trees"), 8);
    EXPECT_EQ(Node("Wolf")->GetParent(), Node("Trees"));
    EXPECT_EQ(Node("Trees")->GetCount(), 2);
    EXPECT_EQ(Node("Dogs")->GetCount(), 0);
    EXPECT_EQ(Tree->GetSelected(), Node("Wolf"));
    // A node never goes below itself.
    Host.Run(1000);
    Host.Drag(LabelPoint("Animals"), LabelPoint("Lion"), 8);
    EXPECT_EQ(Node("Animals")->GetParent(), nullptr);
    EXPECT_EQ(Node("Lion")->GetParent(), Node("Cats"));
    EXPECT_EQ(Tree->GetDropTarget(), nullptr);
}

TEST_F(TreeViewTest, DeletingNodesClearsWhatPointedAtThem) {
    Tree->FullExpand();
    Tree->SetSelected(Node("Tiger"));
    std::vector<TTreeNode*> Changes;
    Tree->OnChange = [&](TObject*, TTreeNode* N) { Changes.push_back(N); };
    Node("Cats")->Delete();
    EXPECT_EQ(Tree->GetSelected(), nullptr);
    EXPECT_EQ(Changes, (std::vector<TTreeNode*>{nullptr}));
    EXPECT_EQ(Tree->GetItems()->GetCount(), 7);
    EXPECT_EQ(Tree->Rows().size(), 7u);
    Tree->GetItems()->Clear();
    EXPECT_EQ(Tree->Rows().size(), 0u);
    Host.Key(VK_DOWN); // nothing to select, nothing breaks
}

TEST_F(TreeViewTest, BeginUpdateGathersChangesAndDeepTreesAreFreedWithoutRecursion) {
    TTreeNodes* N = Tree->GetItems();
    N->Clear();
    N->BeginUpdate();
    TTreeNode* Deep = nullptr;
    for (int I = 0; I < 200000; ++I) Deep = N->AddChild(Deep, "level");
    N->EndUpdate();
    EXPECT_EQ(N->GetCount(), 200000);
    EXPECT_EQ(Tree->Rows().size(), 1u);
    N->GetFirstNode()->Expand(true);
    EXPECT_EQ(Tree->Rows().size(), 200000u);
    Tree->SetSelected(Deep);
    EXPECT_EQ(Tree->GetTopIndex(), 200000 - Tree->VisibleRowCount());
    Host.RunUntilIdle(); // painting rows 200,000 levels deep
    N->Clear();
    EXPECT_EQ(N->GetCount(), 0);
}

TEST_F(TreeViewTest, TheSelectedCaptionIsHighlightedWhileTheTreeHasTheFocus) {
    Tree->SetSelected(Node("Plants"));
    Host.RunUntilIdle();
    const TPoint Form0 = Form->ClientToScreen(Point(0, 0));
    const TRect R = Tree->LabelRect(Node("Plants"));
    const TPoint P = Screen(Point(R.Right - 2, R.Bottom - 2));
    EXPECT_EQ(Host.Pixel(Form.get(), P.X - Form0.X, P.Y - Form0.Y), ColorToRGB(clHighlight));
    Tree->SetHideSelection(false);
    Form->FocusControl(nullptr);
    Host.RunUntilIdle();
    EXPECT_EQ(Host.Pixel(Form.get(), P.X - Form0.X, P.Y - Form0.Y), ColorToRGB(clBtnFace));
}

TEST_F(TreeViewTest, ScreenReadersSeeATreeOfItemsWithTheirStates) {
    Node("Animals")->Expand(false);
    Tree->SetSelected(Node("Cats"));
    const auto Root = GetAccessible(Tree);
    EXPECT_EQ(Root->GetRole(), TAccRole::Tree);
    ASSERT_EQ(Root->GetChildCount(), 5);
    const auto Animals = Root->GetChild(0);
    EXPECT_EQ(Animals->GetRole(), TAccRole::TreeItem);
    EXPECT_EQ(Animals->GetName(), "Animals");
    EXPECT_EQ(Animals->GetStates(), asSelectable | asExpandable | asExpanded);
    EXPECT_EQ(Root->GetChild(1)->GetStates(), asSelectable | asSelected | asExpandable);
    EXPECT_EQ(Root->GetChild(4)->GetStates(), unsigned(asSelectable));
    ASSERT_TRUE(Root->GetChild(3)->DoAction("expand"));
    EXPECT_TRUE(Node("Plants")->GetExpanded());
    EXPECT_EQ(Root->GetChildCount(), 6);
}

// --- form files ------------------------------------------------------------------------------

String ReadError(const String& Nodes) {
    const String Text = "object Form1: TForm\n"
                        "  object Tree: TTreeView\n"
                        "    Items.Nodes = (" +
                        Nodes +
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

TEST(TreeViewForm, NodeListsThatAreNoTreeAreRefusedWithTheirLine) {
    THeadlessHost Host;
    const struct {
        const char* What;
        String Nodes;
        const char* Expected;
    } Rows[] = {
        {"a good tree", "(0 'a' -1) (1 'b' 0) (2 'c' 1) (0 'd' -1)", "read"},
        {"a level skipped", "(0 'a' -1) (2 'b' 0)", "line 3"},
        {"a first node below the top", "(1 'a' -1)", "level must be 0 to 0"},
        {"a negative level", "(0 'a' -1) (-1 'b' 0)", "line 3"},
        {"a node of two values", "(0 'a')", "line 3"},
        {"a caption that is a number", "(0 5 -1)", "line 3"},
    };
    for (const auto& Row : Rows) {
        const String Got = ReadError(Row.Nodes);
        EXPECT_NE(Got.find(Row.Expected), String::npos) << Row.What << ": " << Got;
    }
    // A tree nested deeper than the bound is refused, not read.
    String Deep;
    for (int I = 0; I <= TTreeNodes::MaxFormTreeLevel + 1; ++I)
        Deep += "(" + std::to_string(I) + " 'n' -1) ";
    const String Got = ReadError(Deep);
    EXPECT_NE(Got.find("line 3"), String::npos) << Got;
    EXPECT_NE(Got.find("at most 10000"), String::npos) << Got;
}

TEST(TreeViewForm, AFailedReadLeavesTheNodesAsTheyWere) {
    THeadlessHost Host;
    TTreeView Tree(nullptr);
    Tree.GetItems()->AddChild(nullptr, "kept");
    TMemoryStream Good;
    TForm Form(nullptr);
    auto* Copy = new TTreeView(&Form);
    Copy->SetName("Tree");
    Copy->GetItems()->AddChild(nullptr, "kept");
    const String Bad = "object Form1: TForm\n  object Tree: TTreeView\n"
                       "    Items.Nodes = ((0 'new' -1) (3 'bad' -1))\n  end\nend\n";
    TMemoryStream S;
    S.Write(Bad.data(), static_cast<std::int64_t>(Bad.size()));
    S.SetPosition(0);
    EXPECT_THROW(ReadComponent(S, &Form), EFormError);
    ASSERT_EQ(Copy->GetItems()->GetCount(), 1);
    EXPECT_EQ(Copy->GetItems()->GetFirstNode()->GetText(), "kept");
}

} // namespace
