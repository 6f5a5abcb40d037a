#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/ColorSpace.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/dialogs/ColorDialog.h"
#include "framework/ui/dialogs/ColorSpectrum.h"
#include "framework/ui/dialogs/ColorSwatches.h"
#include "framework/ui/dialogs/MessageDialog.h"
#include "framework/ui/dialogs/MessageIcon.h"
#include "framework/ui/dialogs/OpenPictureDialog.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/ComboBox.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/Image.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/ListBox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

using namespace folio;
namespace fs = std::filesystem;

namespace {

template <class T>
T* Part(TCommonDialog& D, const char* Name) {
    auto* C = dynamic_cast<T*>(D.GetForm()->FindComponent(Name));
    EXPECT_NE(C, nullptr) << Name;
    return C;
}

// --- the colour dialog ----------------------------------------------------------------------

struct ColorDialogTest : ::testing::Test {
    THeadlessHost Host;
    TColorDialog Dialog{nullptr};
    void SetUp() override { Dialog.SetColor(RGB(10, 20, 30)); }
};

TEST_F(ColorDialogTest, OkReturnsTheBasicColourClickedAndCancelKeepsTheOldOne) {
    const TColor Picked = TColorDialog::BasicColors()[9];
    Host.Defer([&] {
        auto* Basic = Part<TColorSwatches>(Dialog, "BasicColors");
        const TRect R = Basic->CellRect(9);
        const TPoint P =
            Basic->ClientToScreen(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
        Host.Click(P.X, P.Y);
        EXPECT_EQ(Part<TEdit>(Dialog, "Red")->GetText(), std::to_string(GetRValue(Picked)));
        Host.Key(VK_RETURN);
    });
    EXPECT_TRUE(Dialog.Execute());
    EXPECT_EQ(Dialog.GetColor(), Picked);
    EXPECT_EQ(Dialog.GetForm(), nullptr);

    Host.Defer([&] {
        Host.Key(VK_RIGHT);
        EXPECT_NE(Dialog.GetCurrentColor(), Picked);
        Host.Key(VK_ESCAPE);
    });
    EXPECT_FALSE(Dialog.Execute());
    EXPECT_EQ(Dialog.GetColor(), Picked);
}

TEST_F(ColorDialogTest, TheRedGreenBlueFieldsMakeAnyColourAndJunkIsIgnored) {
    Host.Defer([&] {
        auto* Red = Part<TEdit>(Dialog, "Red");
        EXPECT_EQ(Red->GetText(), "10");
        // Alt+R is the field's accelerator.
        Host.Key('R', {ssAlt});
        ASSERT_TRUE(Red->Focused());
        Red->SelectAll();
        Host.Type("200");
        Host.Key(VK_TAB);
        auto* Green = Part<TEdit>(Dialog, "Green");
        Green->SelectAll();
        // "30" on the way counts; "300" is out of range and "x" no number,
        // so the colour keeps the green it had.
        Host.Type("300");
        EXPECT_EQ(Dialog.GetCurrentColor(), RGB(200, 30, 30));
        Green->SelectAll();
        Host.Type("x");
        EXPECT_EQ(Dialog.GetCurrentColor(), RGB(200, 30, 30));
        Green->SelectAll();
        Host.Type("128");
        EXPECT_EQ(Dialog.GetCurrentColor(), RGB(200, 128, 30));
        // The hue area follows the fields.
        const THLS HLS = ColorRGBToHLS(RGB(200, 128, 30));
        EXPECT_EQ(Part<TColorSpectrum>(Dialog, "Spectrum")->GetHue(), HLS.H);
        Host.Key(VK_RETURN);
    });
    ASSERT_TRUE(Dialog.Execute());
    EXPECT_EQ(Dialog.GetColor(), RGB(200, 128, 30));
}

TEST_F(ColorDialogTest, AClickInTheHueAreaKeepsTheLuminanceAndSetsHueAndSaturation) {
    Host.Defer([&] {
        auto* Spectrum = Part<TColorSpectrum>(Dialog, "Spectrum");
        const TPoint P = Spectrum->ClientToScreen(Spectrum->PointOf(80, HLSMAX));
        Host.Click(P.X, P.Y);
        const THLS Now = ColorRGBToHLS(Dialog.GetCurrentColor());
        EXPECT_NEAR(Now.H, 80, 2);
        EXPECT_NEAR(Now.S, HLSMAX, 2);
        EXPECT_NEAR(Now.L, ColorRGBToHLS(RGB(10, 20, 30)).L, 1);
        Host.Key(VK_RETURN);
    });
    ASSERT_TRUE(Dialog.Execute());
    // A pure green hue: red and blue alike, green above them.
    EXPECT_NEAR(GetRValue(Dialog.GetColor()), GetBValue(Dialog.GetColor()), 1);
    EXPECT_GT(GetGValue(Dialog.GetColor()), GetRValue(Dialog.GetColor()) + 20);
}

TEST(ColorSpace, ConversionsGoBothWaysOnTheWholeScale) {
    const struct {
        TColor Rgb;
        THLS Hls;
    } Cases[] = {{RGB(0, 0, 0), {0, 0, 0}},         {RGB(255, 255, 255), {0, 240, 0}},
                 {RGB(255, 0, 0), {0, 120, 240}},   {RGB(0, 255, 0), {80, 120, 240}},
                 {RGB(0, 0, 255), {160, 120, 240}}, {RGB(128, 128, 128), {0, 120, 0}},
                 {RGB(255, 255, 0), {40, 120, 240}}};
    for (const auto& C : Cases) {
        EXPECT_EQ(ColorRGBToHLS(C.Rgb), C.Hls) << std::hex << C.Rgb;
        EXPECT_EQ(ColorHLSToRGB(C.Hls.H, C.Hls.L, C.Hls.S),
                  C.Rgb == RGB(128, 128, 128) ? RGB(128, 128, 128) : C.Rgb);
    }
    // Every colour on a coarse grid comes back within one step.
    for (int R = 0; R < 256; R += 51)
        for (int G = 0; G < 256; G += 51)
            for (int B = 0; B < 256; B += 51) {
                const THLS H = ColorRGBToHLS(RGB(R, G, B));
                const TColor Back = ColorHLSToRGB(H.H, H.L, H.S);
                EXPECT_NEAR(GetRValue(Back), R, 3);
                EXPECT_NEAR(GetGValue(Back), G, 3);
                EXPECT_NEAR(GetBValue(Back), B, 3);
            }
}

// --- the file dialogs -----------------------------------------------------------------------

struct FileDialogTest : ::testing::Test {
    THeadlessHost Host;
    fs::path Dir;

    void SetUp() override {
        Dir = fs::temp_directory_path() / ("folio_filedlg_" + std::to_string(::getpid()));
        fs::remove_all(Dir);
        fs::create_directories(Dir / "pictures" / "old");
        for (const char* Name : {"b.BMP", "a.bmp", "notes.txt", ".hidden.bmp", "pictures/c.bmp"})
            std::ofstream(Dir / Name) << "x";
    }
    void TearDown() override { fs::remove_all(Dir); }

    static std::vector<String> Names(TListBox* L) { return L->GetItems()->Items(); }
};

TEST_F(FileDialogTest, TheFilterChoosesTheFilesAndTheTypeListSwitchesIt) {
    TOpenDialog Dialog(nullptr);
    Dialog.SetInitialDir(Dir.string());
    Dialog.SetFilter("Bitmaps (*.bmp)|*.bmp|Text|*.txt;*.TXT|All files (*.*)|*.*");
    Host.Defer([&] {
        EXPECT_EQ(Dialog.GetCurrentDir(), Dir.string());
        EXPECT_EQ(Names(Dialog.GetFileList()), (std::vector<String>{"a.bmp", "b.BMP"}));
        EXPECT_EQ(Names(Dialog.GetFolderList()), (std::vector<String>{"..", "pictures"}));
        auto* Types = Part<TComboBox>(Dialog, "FileTypeCombo");
        Types->SetFocus();
        Host.Key(VK_DOWN);
        EXPECT_EQ(Names(Dialog.GetFileList()), std::vector<String>{"notes.txt"});
        Host.Key(VK_DOWN);
        EXPECT_EQ(Names(Dialog.GetFileList()),
                  (std::vector<String>{"a.bmp", "b.BMP", "notes.txt"}));
        // A mask typed as the name filters by it.
        Part<TEdit>(Dialog, "FileNameEdit")->SetFocus();
        Host.Type("b*");
        Host.Key(VK_RETURN);
        EXPECT_EQ(Names(Dialog.GetFileList()), std::vector<String>{"b.BMP"});
        Host.Key(VK_ESCAPE);
    });
    EXPECT_FALSE(Dialog.Execute());
    EXPECT_EQ(Dialog.GetFileName(), "");
}

TEST_F(FileDialogTest, FoldersOpenByKeyboardAndTheDefaultExtensionIsAdded) {
    TSaveDialog Dialog(nullptr);
    Dialog.SetInitialDir(Dir.string());
    Dialog.SetFilter("Bitmaps (*.bmp)|*.bmp");
    Dialog.SetDefaultExt("bmp");
    Dialog.SetFilterIndex(1);
    Host.Defer([&] {
        EXPECT_EQ(Dialog.GetForm()->GetCaption(), "Save As");
        // Alt+F goes to the folders; Down picks "pictures"; Enter goes in.
        Host.Key('F', {ssAlt});
        Host.Key(VK_DOWN);
        Host.Key(VK_DOWN);
        Host.Key(VK_RETURN);
        EXPECT_EQ(Dialog.GetCurrentDir(), (Dir / "pictures").string());
        EXPECT_EQ(Names(Dialog.GetFileList()), std::vector<String>{"c.bmp"});
        // ".." goes back up; a folder typed as the name goes there.
        Host.Key(VK_HOME);
        Host.Key(VK_RETURN);
        EXPECT_EQ(Dialog.GetCurrentDir(), Dir.string());
        Host.Key('N', {ssAlt});
        Host.Type("pictures/old");
        Host.Key(VK_RETURN);
        EXPECT_EQ(Dialog.GetCurrentDir(), (Dir / "pictures" / "old").string());
        Host.Type("new");
        Host.Key(VK_RETURN);
    });
    ASSERT_TRUE(Dialog.Execute());
    EXPECT_EQ(Dialog.GetFileName(), (Dir / "pictures" / "old" / "new.bmp").string());
    // A name with an extension keeps it; the next run starts in its folder.
    Host.Defer([&] {
        EXPECT_EQ(Dialog.GetCurrentDir(), (Dir / "pictures" / "old").string());
        Part<TEdit>(Dialog, "FileNameEdit")->SetText("../../notes.txt");
        Host.Key(VK_RETURN);
    });
    ASSERT_TRUE(Dialog.Execute());
    EXPECT_EQ(Dialog.GetFileName(), (Dir / "notes.txt").string());
}

TEST_F(FileDialogTest, AFileThatMustExistKeepsTheDialogOpenWithAMessage) {
    TOpenDialog Dialog(nullptr);
    Dialog.SetInitialDir(Dir.string());
    Dialog.SetOptions({ofFileMustExist});
    Dialog.SetDefaultExt("bmp");
    Host.Defer([&] {
        Host.Type("missing");
        Host.Key(VK_RETURN);
        ASSERT_NE(Dialog.GetForm(), nullptr);
        EXPECT_NE(Part<TLabel>(Dialog, "StatusLabel")->GetCaption().find("missing.bmp"),
                  String::npos);
        // A double click on a listed file chooses it.
        TListBox* Files = Dialog.GetFileList();
        const TRect R = Files->ItemRect(1);
        const TPoint P = Files->ClientToScreen(Point(R.Left + 5, R.Top + 3));
        Host.DoubleClick(P.X, P.Y);
    });
    ASSERT_TRUE(Dialog.Execute());
    EXPECT_EQ(Dialog.GetFileName(), (Dir / "b.BMP").string());
}

// Saving over a file asks first: No keeps the dialog open on the name, Yes
// takes it.
TEST_F(FileDialogTest, ChoosingAFileThatExistsAsksBeforeReplacingIt) {
    TSaveDialog Dialog(nullptr);
    Dialog.SetInitialDir(Dir.string());
    Dialog.SetDefaultExt("bmp");
    Dialog.SetOptions({ofOverwritePrompt});
    std::vector<String> Asked;
    auto Answer = [&](unsigned short Key) {
        Host.Defer([&, Key] {
            TCustomForm* Message = Screen->GetActiveForm();
            ASSERT_NE(Message, nullptr);
            EXPECT_EQ(Message->GetName(), "MessageDialog");
            Asked.push_back(
                dynamic_cast<TLabel*>(Message->FindComponent("MessageLabel"))->GetCaption());
            Host.Key(Key);
        });
    };
    Host.Defer([&] {
        Host.Type("a");
        Answer(VK_ESCAPE);
        Host.Key(VK_RETURN);
        ASSERT_NE(Dialog.GetForm(), nullptr);
        EXPECT_EQ(Dialog.GetForm()->GetModalResult(), mrNone) << "No closed the file dialog";
        Answer(VK_RETURN);
        Host.Key(VK_RETURN);
    });
    ASSERT_TRUE(Dialog.Execute());
    EXPECT_EQ(Dialog.GetFileName(), (Dir / "a.bmp").string());
    EXPECT_EQ(Asked, std::vector<String>(2, "a.bmp already exists.\nDo you want to replace it?"));
}

// The buttons asked for, in their order; the first is the default and the
// most cautious answers Escape. A long message wraps and makes room.
TEST(MessageDialog, ButtonsDefaultAndCancelAnswersAndRoomForTheText) {
    THeadlessHost Host;
    const struct {
        TMsgDlgButtons Buttons;
        std::vector<String> Names;
        const char* Cancel;
    } Cases[] = {
        {{mbYes, mbNo}, {"YesButton", "NoButton"}, "NoButton"},
        {{mbCancel, mbNo, mbYes}, {"YesButton", "NoButton", "CancelButton"}, "CancelButton"},
        {{mbOK, mbCancel}, {"OKButton", "CancelButton"}, "CancelButton"},
        {{mbOK}, {"OKButton"}, "OKButton"},
        {{}, {"OKButton"}, "OKButton"},
    };
    for (const auto& C : Cases) {
        const auto Dialog = CreateMessageDialog("Sure?", mtConfirmation, C.Buttons);
        EXPECT_EQ(Dialog->GetCaption(), "Confirm");
        std::vector<String> Names;
        int Left = -1;
        for (int I = 0; I < Dialog->ControlCount(); ++I)
            if (auto* B = dynamic_cast<TButton*>(Dialog->Controls(I))) {
                EXPECT_GT(B->GetLeft(), Left) << B->GetName();
                Left = B->GetLeft();
                Names.push_back(B->GetName());
                EXPECT_EQ(B->GetDefault(), Names.size() == 1) << B->GetName();
                EXPECT_EQ(B->GetCancel(), B->GetName() == C.Cancel) << B->GetName();
                EXPECT_LE(B->GetLeft() + B->GetWidth(), Dialog->GetClientWidth());
            }
        EXPECT_EQ(Names, C.Names);
    }
    const auto Short = CreateMessageDialog("Short.", mtError, {mbOK});
    const auto Long = CreateMessageDialog(
        String(40, 'x') + " " + String(300, 'y') + " z " + String(200, 'w'), mtError, {mbOK});
    EXPECT_EQ(Long->GetCaption(), "Error");
    EXPECT_GT(Long->GetClientHeight(), Short->GetClientHeight());
}

TEST_F(FileDialogTest, ThePictureDialogPreviewsTheSelectedBitmap) {
    TBitmap Picture;
    Picture.SetSize(12, 7);
    Picture.SaveToFile((Dir / "a.bmp").string());
    TOpenPictureDialog Dialog(nullptr);
    Dialog.SetTitle("Select picture");
    Dialog.SetFilter("Bitmaps (*.bmp)|*.bmp");
    Dialog.SetInitialDir(Dir.string());
    Host.Defer([&] {
        EXPECT_EQ(Dialog.GetForm()->GetCaption(), "Select picture");
        EXPECT_EQ(Dialog.GetPreviewLabel()->GetCaption(), "(None)");
        TListBox* Files = Dialog.GetFileList();
        Files->SetFocus();
        Host.Key(VK_DOWN); // a.bmp, a real picture
        EXPECT_EQ(Dialog.GetPreview()->GetPicture()->GetWidth(), 12);
        EXPECT_EQ(Dialog.GetPreviewLabel()->GetCaption(), "12 x 7");
        Host.Key(VK_DOWN); // b.BMP holds one byte: no preview, still choosable
        EXPECT_TRUE(Dialog.GetPreview()->GetPicture()->GetEmpty());
        EXPECT_EQ(Dialog.GetPreviewLabel()->GetCaption(), "(None)");
        EXPECT_EQ(Part<TEdit>(Dialog, "FileNameEdit")->GetText(), "b.BMP");
        Host.Key(VK_UP);
        Host.Key(VK_RETURN);
    });
    ASSERT_TRUE(Dialog.Execute());
    EXPECT_EQ(Dialog.GetFileName(), (Dir / "a.bmp").string());
    EXPECT_EQ(Dialog.GetPreview(), nullptr);
}

TEST(FileFilter, ParsingMatchingAndTheDefaultExtension) {
    const auto E = ParseFileFilter("Bitmaps (*.bmp)|*.bmp|Pictures|*.bmp; *.png|Everything");
    ASSERT_EQ(E.size(), 3u);
    EXPECT_EQ(E[0].Description, "Bitmaps (*.bmp)");
    EXPECT_EQ(E[1].Masks, (std::vector<String>{"*.bmp", "*.png"}));
    EXPECT_EQ(E[2].Masks, std::vector<String>{"*"});
    EXPECT_TRUE(ParseFileFilter("").empty());
    const struct {
        const char* Name;
        const char* Mask;
        bool Match;
    } Cases[] = {{"a.BMP", "*.bmp", true},    {"a.bmp.txt", "*.bmp", false},
                 {"README", "*.*", true},     {"ab", "a?", true},
                 {"a", "a?", false},          {"abcabc", "*abc", true},
                 {"x.tar.gz", "*.t*z", true}, {"", "*", true},
                 {"bmp", "*.bmp", false}};
    for (const auto& C : Cases)
        EXPECT_EQ(MatchesMask(C.Name, C.Mask), C.Match) << C.Name << " " << C.Mask;
    EXPECT_EQ(AddDefaultExt("/d/pic", "bmp"), "/d/pic.bmp");
    EXPECT_EQ(AddDefaultExt("/d/pic.png", "bmp"), "/d/pic.png");
    EXPECT_EQ(AddDefaultExt("/d.x/pic", ".bmp"), "/d.x/pic.bmp");
    EXPECT_EQ(AddDefaultExt("/d/.profile", "bmp"), "/d/.profile.bmp");
    EXPECT_EQ(AddDefaultExt("/d/pic", ""), "/d/pic");
}

TEST(DialogFiles, DialogsAreReadBackFromAFormFile) {
    THeadlessHost Host;
    TForm Form(nullptr);
    auto* Colors = new TColorDialog(&Form);
    Colors->SetName("ColorDialog");
    Colors->SetColor(RGB(1, 2, 3));
    auto* Pictures = new TOpenPictureDialog(&Form);
    Pictures->SetName("OpenPictureDialog");
    Pictures->SetTitle("Select picture");
    Pictures->SetFilter("Bitmaps (*.bmp)|*.bmp");
    Pictures->SetDefaultExt("bmp");
    Pictures->SetOptions({ofFileMustExist});
    TMemoryStream S;
    WriteComponent(S, &Form, nullptr, feText);
    S.SetPosition(0);
    TForm Read(nullptr);
    ReadComponent(S, &Read);
    auto* C = dynamic_cast<TColorDialog*>(Read.FindComponent("ColorDialog"));
    auto* P = dynamic_cast<TOpenPictureDialog*>(Read.FindComponent("OpenPictureDialog"));
    ASSERT_TRUE(C && P);
    EXPECT_EQ(C->GetColor(), RGB(1, 2, 3));
    EXPECT_EQ(P->GetTitle(), "Select picture");
    EXPECT_EQ(P->GetFilter(), "Bitmaps (*.bmp)|*.bmp");
    EXPECT_EQ(P->GetDefaultExt(), "bmp");
    EXPECT_TRUE(P->GetOptions().Contains(ofFileMustExist));
}

} // namespace

// Each kind of message carries its icon left of the text, in its signal
// colour: red for an error, yellow for a warning, blue for information and
// questions; a custom message has none and its text starts at the margin.
TEST(MessageDialog, EachKindShowsItsIconBesideTheText) {
    THeadlessHost Host;
    const struct {
        TMsgDlgType Type;
        bool HasIcon;
    } Cases[] = {{mtError, true},
                 {mtWarning, true},
                 {mtInformation, true},
                 {mtConfirmation, true},
                 {mtCustom, false}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(static_cast<int>(C.Type));
        const auto Dialog = CreateMessageDialog("Something happened.", C.Type, {mbOK});
        auto* Icon = dynamic_cast<TMessageIcon*>(Dialog->FindComponent("MessageIcon"));
        auto* Text = dynamic_cast<TLabel*>(Dialog->FindComponent("MessageLabel"));
        ASSERT_NE(Text, nullptr);
        ASSERT_EQ(Icon != nullptr, C.HasIcon);
        if (!Icon) {
            EXPECT_EQ(Text->GetLeft(), 12);
            continue;
        }
        EXPECT_EQ(Icon->GetKind(), C.Type);
        EXPECT_GE(Text->GetLeft(), Icon->GetLeft() + Icon->GetWidth());
        EXPECT_LE(Text->GetLeft() + Text->GetWidth(), Dialog->GetClientWidth());
        // The buttons stand below the icon, not across it.
        auto* OK = dynamic_cast<TButton*>(Dialog->FindComponent("OKButton"));
        EXPECT_GE(OK->GetTop(), Icon->GetTop() + Icon->GetHeight());
    }
}

TEST(MessageDialog, IconsPaintTheirSignalColours) {
    auto Red = [](TColor C) { return (C & 0xFF) > 0xC0 && ((C >> 16) & 0xFF) < 0x60; };
    auto Blue = [](TColor C) { return ((C >> 16) & 0xFF) > 0xA0 && (C & 0xFF) < 0x60; };
    auto Yellow = [](TColor C) {
        return (C & 0xFF) > 0xC0 && ((C >> 8) & 0xFF) > 0xA0 && ((C >> 16) & 0xFF) < 0x60;
    };
    const struct {
        TMsgDlgType Type;
        std::function<bool(TColor)> Fill;
    } Cases[] = {
        {mtError, Red}, {mtWarning, Yellow}, {mtInformation, Blue}, {mtConfirmation, Blue}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(static_cast<int>(C.Type));
        TBitmap Picture(32, 32);
        Picture.GetCanvas()->GetBrush()->SetColor(clWhite);
        Picture.GetCanvas()->FillRect(Rect(0, 0, 32, 32));
        DrawMessageIcon(Picture.GetCanvas(), Rect(0, 0, 32, 32), C.Type);
        // Inside the shape, below its mark.
        EXPECT_TRUE(C.Fill(Picture.GetCanvas()->GetPixel(16, 28)))
            << std::hex << Picture.GetCanvas()->GetPixel(16, 28);
        // The corners stay the background.
        EXPECT_EQ(Picture.GetCanvas()->GetPixel(0, 0), clWhite);
        // The mark stands in the middle in another colour than the fill.
        bool Mark = false;
        for (int Y = 8; Y < 24; ++Y) Mark = Mark || !C.Fill(Picture.GetCanvas()->GetPixel(16, Y));
        EXPECT_TRUE(Mark);
    }
    TBitmap Blank(32, 32);
    Blank.GetCanvas()->GetBrush()->SetColor(clWhite);
    Blank.GetCanvas()->FillRect(Rect(0, 0, 32, 32));
    DrawMessageIcon(Blank.GetCanvas(), Rect(0, 0, 32, 32), mtCustom);
    EXPECT_EQ(Blank.GetCanvas()->GetPixel(16, 16), clWhite);
}
