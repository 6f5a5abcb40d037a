#include "framework/gfx/Colors.h"
#include "framework/gfx/FontEngine.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Clipboard.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/Edit.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct EditTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TEdit* Edit = nullptr;
    int Changes = 0;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Edit = new TEdit(Form.get());
        Edit->SetBounds(10, 10, 150, 25);
        Edit->SetParent(Form.get());
        Edit->OnChange = [this](TObject*) { ++Changes; };
        Form->Show();
        Edit->SetFocus();
        Host.RunUntilIdle();
    }
};

TEST_F(EditTest, TypingInsertsAtTheCaretAndFiresChange) {
    Host.Type("hello");
    EXPECT_EQ(Edit->GetText(), "hello");
    EXPECT_EQ(Edit->GetSelStart(), 5);
    EXPECT_EQ(Changes, 5);
    Host.Key(VK_LEFT);
    Host.Key(VK_LEFT);
    Host.Type("XY");
    EXPECT_EQ(Edit->GetText(), "helXYlo");
    Host.Key(VK_BACK);
    Host.Key(VK_DELETE);
    EXPECT_EQ(Edit->GetText(), "helXo");
    Host.Key(VK_HOME);
    Host.Type("<");
    Host.Key(VK_END);
    Host.Type(">");
    EXPECT_EQ(Edit->GetText(), "<helXo>");
}

TEST_F(EditTest, ShiftSelectsAndTypingReplacesTheSelection) {
    Edit->SetText("abcdef");
    EXPECT_EQ(Edit->GetSelStart(), 0);
    Host.Key(VK_RIGHT);
    Host.Key(VK_RIGHT, {ssShift});
    Host.Key(VK_RIGHT, {ssShift});
    EXPECT_EQ(Edit->GetSelStart(), 1);
    EXPECT_EQ(Edit->GetSelLength(), 2);
    EXPECT_EQ(Edit->GetSelText(), "bc");
    Host.Type("Z");
    EXPECT_EQ(Edit->GetText(), "aZdef");
    Host.Key(VK_END, {ssShift});
    EXPECT_EQ(Edit->GetSelText(), "def");
    Host.Key(VK_LEFT); // collapses to the start of the selection
    EXPECT_EQ(Edit->GetSelStart(), 2);
    EXPECT_EQ(Edit->GetSelLength(), 0);
}

TEST_F(EditTest, SelectAllAndTheClipboardKeys) {
    Edit->SetText("copy me");
    Host.Key('A', {ssCtrl});
    EXPECT_EQ(Edit->GetSelLength(), 7);
    Host.Key('C', {ssCtrl});
    EXPECT_EQ(Clipboard()->GetAsText(), "copy me");
    Host.Key('X', {ssCtrl});
    EXPECT_EQ(Edit->GetText(), "");
    Host.Key('V', {ssCtrl});
    Host.Key('V', {ssCtrl});
    EXPECT_EQ(Edit->GetText(), "copy mecopy me");
    // A single-line box pastes only the first line.
    Clipboard()->SetAsText("one\ntwo");
    Edit->SelectAll();
    Edit->PasteFromClipboard();
    EXPECT_EQ(Edit->GetText(), "one");
}

TEST_F(EditTest, ADescendantSwallowsKeysInKeyDownAndKeyPress) {
    class TFiltered : public TEdit {
    public:
        using TEdit::TEdit;
        int Escapes = 0;

    protected:
        void KeyDown(unsigned short& Key, TShiftState Shift) override {
            if (Key == VK_ESCAPE) {
                ++Escapes;
                Key = 0;
            }
            if (Key == VK_DELETE) Key = 0;
            TEdit::KeyDown(Key, Shift);
        }
        void KeyPress(char& Key) override {
            if (Key == '\r' || Key == 'q') Key = 0;
            TEdit::KeyPress(Key);
        }
    };
    auto* F = new TFiltered(Form.get());
    F->SetParent(Form.get());
    F->SetMaxLength(0);
    F->SetFocus();
    Host.Type("aqb");
    Host.Key(VK_HOME);
    Host.Key(VK_DELETE);
    Host.Key(VK_RETURN);
    Host.Key(VK_ESCAPE);
    EXPECT_EQ(F->GetText(), "ab");
    EXPECT_EQ(F->Escapes, 1);
}

TEST_F(EditTest, MaxLengthAndReadOnlyLimitEditing) {
    Edit->SetMaxLength(3);
    Host.Type("abcdef");
    EXPECT_EQ(Edit->GetText(), "abc");
    Edit->SetReadOnly(true);
    Host.Key(VK_BACK);
    EXPECT_EQ(Edit->GetText(), "abc");
}

TEST_F(EditTest, ClickPlacesTheCaretAndDragSelects) {
    Edit->SetText("abcdefghij");
    const TPoint End = Edit->PointFromPos(10);
    const TPoint Mid = Edit->PointFromPos(4);
    ASSERT_GT(End.X, Mid.X);
    const TPoint Origin = Edit->ClientToScreen(Point(0, 0));
    Host.Click(Origin.X + Mid.X, Origin.Y + 5);
    EXPECT_EQ(Edit->GetSelStart(), 4);
    EXPECT_EQ(Edit->GetSelLength(), 0);
    // A second later: a press at once would pair with the click into a
    // double click, which selects the word.
    Host.Run(1000);
    Host.Drag(Point(Origin.X + Mid.X, Origin.Y + 5), Point(Origin.X + End.X + 30, Origin.Y + 5));
    EXPECT_EQ(Edit->GetSelStart(), 4);
    EXPECT_EQ(Edit->GetSelLength(), 6);
    EXPECT_EQ(Host.GetCursor(), crIBeam);
}

TEST_F(EditTest, AutoSizeFitsTheFontAndTheLookFollowsCtl3D) {
    const int LineHeight = Edit->GetFont()->GetHandle()->Metrics().tmHeight;
    EXPECT_EQ(Edit->GetClientHeight(), LineHeight + 2);
    EXPECT_EQ(GetWindowLong(Edit->GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
    Edit->SetCtl3D(false);
    EXPECT_EQ(GetWindowLong(Edit->GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0u);
    EXPECT_EQ(GetWindowLong(Edit->GetHandle(), GWL_STYLE) & WS_BORDER, WS_BORDER);
    EXPECT_EQ(Edit->GetHeight(), LineHeight + 2 + 2);
    EXPECT_TRUE(Edit->Focused()); // recreating the window kept the focus
    Edit->GetFont()->SetHeight(-30);
    EXPECT_EQ(Edit->GetClientHeight(), Edit->GetFont()->GetHandle()->Metrics().tmHeight + 2);
}

TEST_F(EditTest, MultiLineCentredBoxWrapsWordsAndCentresLines) {
    class TCentred : public TEdit {
    public:
        using TEdit::TEdit;

    protected:
        void CreateParams(TCreateParams& P) override {
            TEdit::CreateParams(P);
            P.Style = (P.Style & ~ES_AUTOHSCROLL) | ES_MULTILINE | ES_CENTER;
        }
    };
    auto* M = new TCentred(Form.get());
    M->SetAutoSize(false);
    M->SetBounds(10, 50, 80, 100);
    M->SetParent(Form.get());
    M->SetText("alpha beta gamma delta");
    const auto& Lines = M->GetLines();
    ASSERT_GT(Lines.size(), 1u);
    // Every line fits, and each one is centred.
    for (const auto& L : Lines) {
        const TPoint P = M->PointFromPos(L.Start);
        EXPECT_GE(P.X, 0);
        EXPECT_LE(P.X, M->GetClientWidth() / 2);
    }
    EXPECT_GT(M->PointFromPos(Lines[0].Start).X, 1);
    // Down moves to the next line.
    M->SetFocus();
    Host.Key(VK_DOWN);
    EXPECT_GE(M->GetSelStart(), Lines[1].Start);
    // A long word is broken between characters.
    M->SetText("abcdefghijklmnopqrstuvwxyz");
    EXPECT_GT(M->GetLines().size(), 1u);
}

TEST_F(EditTest, PaintsTheBackgroundAndTheCaret) {
    Edit->SetColor(clYellow);
    Host.RunUntilIdle();
    const TPoint O = Edit->ClientToScreen(Point(0, 0));
    EXPECT_EQ(Host.Pixel(Form.get(), O.X + 100, O.Y + 3), clYellow);
    // The caret is a one-pixel line in the font colour at the text start.
    const TPoint C = Edit->PointFromPos(0);
    EXPECT_EQ(Host.Pixel(Form.get(), O.X + C.X, O.Y + C.Y + 2),
              ColorToRGB(Edit->GetFont()->GetColor()));
}

TEST_F(EditTest, TheCaretBlinksWhileFocusedAndShowsAgainOnEveryMove) {
    Edit->SetColor(clYellow);
    Host.RunUntilIdle();
    const unsigned Blink = GetCaretBlinkTime();
    const TPoint O = Edit->ClientToScreen(Point(0, 0));
    auto CaretPixel = [&] {
        Host.RunUntilIdle();
        const TPoint C = Edit->PointFromPos(Edit->GetCaretPos());
        return Host.Pixel(Form.get(), O.X + C.X, O.Y + C.Y + 2);
    };
    const TColor Ink = ColorToRGB(Edit->GetFont()->GetColor());
    EXPECT_EQ(CaretPixel(), Ink);
    Host.Run(Blink);
    EXPECT_FALSE(Edit->GetCaretShown());
    EXPECT_EQ(CaretPixel(), clYellow);
    Host.Run(Blink);
    EXPECT_EQ(CaretPixel(), Ink);
    // Typing while it is hidden shows it at once, for a whole period.
    Host.Run(Blink);
    EXPECT_EQ(CaretPixel(), clYellow);
    Host.Type("a");
    EXPECT_EQ(CaretPixel(), Ink);
    Host.Run(Blink - 1);
    EXPECT_TRUE(Edit->GetCaretShown());
    Host.Run(1);
    EXPECT_FALSE(Edit->GetCaretShown());

    // Without the focus there is no caret and no timer.
    auto* Other = new TEdit(Form.get());
    Other->SetBounds(10, 100, 150, 25);
    Other->SetParent(Form.get());
    Host.RunUntilIdle();
    const std::size_t Timers = Application->TimerCount();
    Other->SetFocus();
    EXPECT_FALSE(Edit->Focused());
    EXPECT_EQ(Application->TimerCount(), Timers); // one stopped, the other's started
    Host.Run(Blink * 3);
    EXPECT_EQ(CaretPixel(), clYellow);
    Edit->SetFocus();
    EXPECT_EQ(CaretPixel(), Ink);
}

TEST_F(EditTest, Utf8CharactersAreEditedWhole) {
    Host.Type("a\xC3\xA9z");
    Host.Key(VK_LEFT);
    Host.Key(VK_BACK);
    EXPECT_EQ(Edit->GetText(), "az");
    Edit->SetText("\xC3\xA9");
    Edit->SetSelStart(1); // inside the character: moved to its start
    EXPECT_EQ(Edit->GetSelStart(), 0);
}

} // namespace
