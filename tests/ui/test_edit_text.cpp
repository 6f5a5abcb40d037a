// The edit box with text of every script: the caret steps over whole
// characters (a letter with its accents, a conjunct, an emoji sequence),
// follows the screen in mixed directions, and an input method's composition
// shows at the caret until it is typed.

#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/Edit.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace folio;

namespace {

struct EditTextTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TEdit* Edit = nullptr;
    int Changes = 0;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 200);
        Edit = new TEdit(Form.get());
        Edit->SetBounds(10, 10, 300, 25);
        Edit->SetParent(Form.get());
        Edit->OnChange = [this](TObject*) { ++Changes; };
        Form->Show();
        Edit->SetFocus();
        Host.RunUntilIdle();
    }

    // The pixels of the edit box as the screen shows them.
    std::vector<TPixel> Pixels() {
        Host.RunUntilIdle();
        const TPixelSurface* S = Form->GetSurface();
        std::vector<TPixel> Out;
        const TPoint P = Edit->ClientToScreen(TPoint{0, 0});
        const TPoint F = Form->ClientToScreen(TPoint{0, 0});
        for (int Y = 0; Y < Edit->GetClientHeight(); ++Y)
            for (int X = 0; X < Edit->GetClientWidth(); ++X)
                Out.push_back(S->Row(P.Y - F.Y + Y)[P.X - F.X + X]);
        return Out;
    }
};

const char* const Hebrew = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D"; // four letters, two bytes each

TEST_F(EditTextTest, BackspaceAndTheArrowsTakeWholeCharacters) {
    struct TCase {
        const char* Name;
        const char* Text;
        const char* AfterBackspace; // Backspace at the end
        int FirstStep;              // where Right from the start stops
    };
    const TCase Cases[] = {
        {"a letter and a combining accent", "xe\xCC\x81", "x", 1},
        {"a Devanagari conjunct",
         "\xE0\xA4\xA8\xE0\xA4\xAE\xE0\xA4\xB8\xE0\xA5\x8D\xE0\xA4\xA4\xE0\xA5\x87",
         "\xE0\xA4\xA8\xE0\xA4\xAE", 3},
        {"an emoji joined by ZWJ", "a\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x92\xBB", "a", 1},
        {"a flag of two regional indicators", "\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7", "", 8},
        {"Hangul jamo making one syllable", "\xE1\x84\x80\xE1\x85\xA1\xE1\x86\xA8", "", 9},
    };
    for (const TCase& K : Cases) {
        SCOPED_TRACE(K.Name);
        Edit->SetText(K.Text);
        Host.Key(VK_HOME);
        Host.Key(VK_RIGHT);
        EXPECT_EQ(Edit->GetSelStart(), K.FirstStep);
        Host.Key(VK_END);
        Host.Key(VK_BACK);
        EXPECT_EQ(Edit->GetText(), K.AfterBackspace);
        // Delete at the start takes the first character whole too.
        Edit->SetText(K.Text);
        Host.Key(VK_HOME);
        Host.Key(VK_DELETE);
        EXPECT_EQ(Edit->GetText(), String(K.Text).substr(static_cast<size_t>(K.FirstStep)));
    }
}

TEST_F(EditTextTest, TheArrowsFollowTheScreenInMixedText) {
    struct TCase {
        const char* Name;
        String Text;
        TBiDiMode Mode;
        size_t Places; // characters and one
    };
    const TCase Cases[] = {
        {"English around a Hebrew word", String("ab ") + Hebrew + " cd", bdLeftToRight, 11},
        {"Hebrew around an English word", String(Hebrew) + " ab 12 " + Hebrew, bdRightToLeft, 16},
        {"Hebrew alone, read right to left", Hebrew, bdRightToLeft, 5},
        {"plain English", "Inbox", bdLeftToRight, 6},
    };
    for (const TCase& K : Cases) {
        SCOPED_TRACE(K.Name);
        Edit->SetBiDiMode(K.Mode);
        Edit->SetText(K.Text);
        // From the place furthest left, Right moves the caret right on the
        // screen every time until it can go no further, and Left walks the
        // same places back.
        Edit->SetSelStart(Edit->PosFromPoint(TPoint{-50, 5}));
        std::vector<int> Places{Edit->GetSelStart()};
        int X = Edit->PointFromPos(Edit->GetSelStart()).X;
        for (int Step = 0; Step < 40; ++Step) {
            Host.Key(VK_RIGHT);
            const int Pos = Edit->GetSelStart();
            if (Pos == Places.back()) break;
            const int NX = Edit->PointFromPos(Pos).X;
            EXPECT_GT(NX, X) << "step " << Step << " to " << Pos;
            X = NX;
            Places.push_back(Pos);
        }
        // Every place of the text was visited.
        EXPECT_EQ(std::set<int>(Places.begin(), Places.end()).size(), K.Places);
        EXPECT_EQ(Places.size(), K.Places);
        for (size_t I = Places.size() - 1; I > 0; --I) {
            Host.Key(VK_LEFT);
            EXPECT_EQ(Edit->GetSelStart(), Places[I - 1]);
        }
    }
}

TEST_F(EditTextTest, RightToLeftTextStandsAtTheRightAndReadsFromThere) {
    Edit->SetBiDiMode(bdRightToLeft);
    Edit->SetText(Hebrew);
    // The first letter is the rightmost; the end of the text is at its left.
    const int Start = Edit->PointFromPos(0).X, End = Edit->PointFromPos(8).X;
    EXPECT_GT(Start, Edit->GetClientWidth() - 6);
    EXPECT_LT(End, Start);
    // Left reads on: from the start, it steps to after the first letter.
    Host.Key(VK_HOME);
    Host.Key(VK_LEFT);
    EXPECT_EQ(Edit->GetSelStart(), 2);
    // A click left of the text puts the caret at its end.
    EXPECT_EQ(Edit->PosFromPoint(TPoint{1, 5}), 8);
    // Typed text that overflows scrolls so the caret stays in the box.
    Host.Key(VK_END);
    for (int I = 0; I < 30; ++I) Host.Type(Hebrew);
    const int Caret = Edit->PointFromPos(Edit->GetSelStart()).X;
    EXPECT_GE(Caret, 0);
    EXPECT_LT(Caret, Edit->GetClientWidth());
}

TEST_F(EditTextTest, TypedBytesOfACharacterArriveAsOneChange) {
    Host.Type(Hebrew);
    EXPECT_EQ(Edit->GetText(), Hebrew);
    EXPECT_EQ(Changes, 4);
    // A stray continuation byte and a lead byte cut short are dropped.
    Host.Type("\x80"
              "a\xD7"
              "b");
    EXPECT_EQ(Edit->GetText(), String(Hebrew) + "ab");
}

TEST_F(EditTextTest, TheInputMethodsCompositionShowsAtTheCaretUntilTyped) {
    Host.Type("ab");
    Host.Key(VK_LEFT);
    const std::vector<TPixel> Before = Pixels();
    InputRouter->Composition("\xE4\xBD\xA0\xE5\xA5\xBD", 1);
    EXPECT_EQ(Edit->GetComposition(), "\xE4\xBD\xA0\xE5\xA5\xBD");
    EXPECT_EQ(Edit->GetText(), "ab");
    EXPECT_EQ(Changes, 2);
    EXPECT_NE(Pixels(), Before);
    // Typed, the composition becomes text at the caret.
    InputRouter->Text("\xE4\xBD\xA0\xE5\xA5\xBD");
    InputRouter->Composition("", 0);
    EXPECT_EQ(Edit->GetComposition(), "");
    EXPECT_EQ(Edit->GetText(), "a\xE4\xBD\xA0\xE5\xA5\xBD"
                               "b");
    // Dropped, it leaves the text as it was.
    InputRouter->Composition("xyz", 3);
    InputRouter->Composition("", 0);
    EXPECT_EQ(Edit->GetText(), "a\xE4\xBD\xA0\xE5\xA5\xBD"
                               "b");
    // A read-only box shows none.
    Edit->SetReadOnly(true);
    InputRouter->Composition("xyz", 3);
    EXPECT_EQ(Edit->GetComposition(), "");
}

} // namespace
