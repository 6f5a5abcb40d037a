#include "framework/core/FormFiles.h"
#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Clipboard.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Memo.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct MemoTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TMemo* Memo = nullptr;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(50, 50, 400, 300);
        Memo = new TMemo(Form.get());
        Memo->SetParent(Form.get());
        Memo->SetBounds(10, 10, 300, 200);
        Form->Show();
        Memo->SetFocus();
        Host.RunUntilIdle();
    }

    void Press(unsigned short Key, TShiftState Shift = {}) {
        Host.Key(Key, Shift);
        Host.RunUntilIdle();
    }
};

TEST_F(MemoTest, LinesAndTextAreOneContent) {
    Memo->GetLines()->Add("first");
    Memo->GetLines()->Add("second");
    EXPECT_EQ(Memo->GetText(), "first\nsecond");
    Memo->SetText("a\nb\nc");
    EXPECT_EQ(Memo->GetLines()->Items(), (std::vector<String>{"a", "b", "c"}));
    Memo->SetSelStart(1);
    Press(VK_RETURN);
    Host.Type("x");
    EXPECT_EQ(Memo->GetLines()->Items(), (std::vector<String>{"a", "x", "b", "c"}));
    EXPECT_EQ(Memo->GetCaretLineAndColumn().Y, 1);
    EXPECT_EQ(Memo->GetCaretLineAndColumn().X, 1);
}

// Each row presses one key (with its modifiers) and names where the caret
// and the selection stand afterwards, as byte offsets into the text.
TEST_F(MemoTest, KeysMoveTheCaretAndTheSelection) {
    Memo->SetText("one two three\nfour five\n\nsix");
    struct Step {
        unsigned short Key;
        TShiftState Shift;
        int Caret;
        int SelStart;
        int SelLength;
    };
    const Step Steps[] = {
        {VK_RIGHT, {ssCtrl}, 4, 4, 0},           // to the next word
        {VK_RIGHT, {ssCtrl}, 8, 8, 0},           //
        {VK_RIGHT, {ssCtrl, ssShift}, 14, 8, 6}, // over the line's end to the next line
        {VK_LEFT, {}, 8, 8, 0},                  // a selection collapses to its start
        {VK_LEFT, {ssCtrl}, 4, 4, 0},            // back a word
        {VK_END, {}, 13, 13, 0},                 //
        {VK_DOWN, {}, 23, 23, 0},                // down to a shorter line: its end
        {VK_DOWN, {}, 24, 24, 0},                // the empty line
        {VK_HOME, {ssCtrl, ssShift}, 0, 0, 24},  //
        {VK_END, {ssCtrl}, 28, 28, 0},           //
        {VK_UP, {ssShift}, 24, 24, 4},           //
        {VK_HOME, {}, 24, 24, 0},                //
        {VK_PRIOR, {}, 0, 0, 0},                 // a page up from near the top: the first line
        {VK_NEXT, {ssShift}, 25, 0, 25},         // a page down from the top: the last line
    };
    for (const Step& S : Steps) {
        Press(S.Key, S.Shift);
        EXPECT_EQ(Memo->GetCaretPos(), S.Caret) << S.Key;
        EXPECT_EQ(Memo->GetSelStart(), S.SelStart) << S.Key;
        EXPECT_EQ(Memo->GetSelLength(), S.SelLength) << S.Key;
    }
}

TEST_F(MemoTest, TypingEnterBackspaceAndDeleteEditByCharacter) {
    Host.Type("ab");
    Press(VK_RETURN);
    Host.Type("c\xC3\xA9"); // c, e with acute
    EXPECT_EQ(Memo->GetText(), "ab\nc\xC3\xA9");
    Host.Type("\b");
    EXPECT_EQ(Memo->GetText(), "ab\nc");
    Host.Type("\b\b");
    EXPECT_EQ(Memo->GetText(), "ab");
    Press(VK_HOME);
    Press(VK_DELETE);
    EXPECT_EQ(Memo->GetText(), "b");
    Memo->SetReadOnly(true);
    Host.Type("zz");
    Press(VK_RETURN);
    Press(VK_DELETE);
    EXPECT_EQ(Memo->GetText(), "b");
}

TEST_F(MemoTest, TheClipboardCopiesCutsAndPastesSeveralLines) {
    Memo->SetText("alpha\nbeta");
    Press('A', {ssCtrl});
    Press('C', {ssCtrl});
    EXPECT_EQ(Clipboard()->GetAsText(), "alpha\nbeta");
    Press(VK_END, {ssCtrl});
    Press(VK_RETURN);
    Press('V', {ssCtrl});
    EXPECT_EQ(Memo->GetLines()->Items(), (std::vector<String>{"alpha", "beta", "alpha", "beta"}));
    Press(VK_HOME, {ssCtrl});
    Press(VK_END, {ssShift});
    Press('X', {ssCtrl});
    EXPECT_EQ(Memo->GetLines()->GetCount(), 4);
    EXPECT_EQ(Memo->GetLines()->GetString(0), "");
    EXPECT_EQ(Clipboard()->GetAsText(), "alpha");
}

TEST_F(MemoTest, AClickPlacesTheCaretAndADragSelects) {
    Memo->SetText("first line\nsecond line");
    const int H = Memo->LineHeight();
    const TPoint Start = Memo->ClientToScreen(Point(2, 1 + H + H / 2));
    Host.Click(Start.X, Start.Y);
    EXPECT_EQ(Memo->GetCaretPos(), 11);
    // Later than a double click's time, a press starts a drag.
    Host.Run(2000);
    const TPoint End = Memo->ClientToScreen(Point(280, 1 + H / 2));
    Host.Drag(Start, End, 4);
    EXPECT_EQ(Memo->GetSelStart(), 10);
    EXPECT_EQ(Memo->GetSelLength(), 1);
}

TEST_F(MemoTest, WordWrapWrapsAtTheWidthAndWithoutItTheBoxScrollsSideways) {
    String Long;
    for (int I = 0; I < 40; ++I) Long += "word ";
    Memo->SetText(Long);
    EXPECT_GT(Memo->TCustomEdit::GetLines().size(), 3u);
    Memo->SetWordWrap(false);
    EXPECT_EQ(Memo->TCustomEdit::GetLines().size(), 1u);
    Press(VK_END);
    EXPECT_GT(Memo->GetScrollX(), 0);
    Press(VK_HOME);
    EXPECT_EQ(Memo->GetScrollX(), 0);
}

TEST_F(MemoTest, ScrollBarsFollowTheTextAndScrollIt) {
    Memo->SetScrollBars(ssBoth);
    Memo->SetWordWrap(false);
    String Text;
    for (int I = 0; I < 50; ++I) Text += "line " + std::to_string(I) + "\n";
    Text += String(200, 'x');
    Memo->SetText(Text);
    Host.RunUntilIdle();
    TScrollBar* Vert = Memo->GetVertScrollBar();
    TScrollBar* Horz = Memo->GetHorzScrollBar();
    ASSERT_TRUE(Vert->GetVisible());
    ASSERT_TRUE(Horz->GetVisible());
    EXPECT_TRUE(Vert->GetEnabled());
    EXPECT_LT(Memo->GetEditRect().Right, Memo->GetClientWidth());
    Press(VK_END, {ssCtrl});
    EXPECT_EQ(Vert->GetPosition(), Memo->GetScrollY() / Memo->LineHeight());
    EXPECT_GT(Vert->GetPosition(), 30);
    EXPECT_GT(Horz->GetPosition(), 0);
    // Moving the bar scrolls the text.
    Vert->SetPosition(0);
    EXPECT_EQ(Memo->GetScrollY(), 0);
    Horz->SetPosition(0);
    EXPECT_EQ(Memo->GetScrollX(), 0);
    Memo->SetScrollBars(ssNone);
    EXPECT_FALSE(Vert->GetVisible());
    EXPECT_EQ(Memo->GetEditRect().Right, Memo->GetClientWidth());
}

TEST_F(MemoTest, EnterAndTabFollowWantReturnsAndWantTabs) {
    auto* Ok = new TButton(Form.get());
    Ok->SetParent(Form.get());
    Ok->SetBounds(10, 220, 75, 25);
    Ok->SetDefault(true);
    int Clicks = 0;
    Ok->OnClick = [&](TObject*) { ++Clicks; };
    Memo->SetFocus();
    Press(VK_RETURN);
    EXPECT_EQ(Memo->GetText(), "\n");
    EXPECT_EQ(Clicks, 0);
    Memo->SetWantReturns(false);
    Press(VK_RETURN);
    EXPECT_EQ(Memo->GetText(), "\n");
    EXPECT_EQ(Clicks, 1);
    Memo->SetWantTabs(true);
    Press(VK_TAB);
    EXPECT_EQ(Memo->GetText(), "\n\t");
    EXPECT_TRUE(Memo->Focused());
    Memo->SetWantTabs(false);
    Press(VK_TAB);
    EXPECT_FALSE(Memo->Focused());
}

TEST_F(MemoTest, TheTextIsPaintedInTheWindowColourAndTheSelectionHighlighted) {
    Memo->SetText("    \n    ");
    Press('A', {ssCtrl});
    Host.RunUntilIdle();
    const TPoint Form0 = Form->ClientToScreen(Point(0, 0));
    const TPoint InSel = Memo->ClientToScreen(Point(3, 3));
    const TPoint Below = Memo->ClientToScreen(Point(3, 150));
    EXPECT_EQ(Host.Pixel(Form.get(), InSel.X - Form0.X, InSel.Y - Form0.Y),
              ColorToRGB(clHighlight));
    EXPECT_EQ(Host.Pixel(Form.get(), Below.X - Form0.X, Below.Y - Form0.Y), ColorToRGB(clWindow));
}

TEST_F(MemoTest, ItIsAMultiLineTextToAScreenReader) {
    Memo->SetText("hello\nworld");
    const auto Node = GetAccessible(Memo);
    EXPECT_EQ(Node->GetRole(), TAccRole::Text);
    EXPECT_EQ(Node->GetValue(), "hello\nworld");
    EXPECT_TRUE(Node->GetStates() & asMultiLine);
    EXPECT_TRUE(Node->GetStates() & asFocused);
}

} // namespace
