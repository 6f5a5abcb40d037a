#include "BarGallery.h"

#include "BarGalleryForm.h"

#include "folio/Folio.h"
#include "framework/core/ClassBuilder.h"
#include "framework/core/EventHandlers.h"
#include "framework/core/Exceptions.h"
#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Thread.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/ImageList.h"
#include "framework/gfx/Png.h"
#include "framework/hosts/DesktopColorScheme.h"
#include "framework/hosts/DisplayScale.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/hosts/SdlHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/QuitSignals.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/Mouse.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

namespace gallery {

using namespace folio;

namespace {

TPoint CentreOf(const TRect& R) {
    return Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

// Puts the pointer over an item of a bar's open group, as a user would
// before a click or a drag.
void PointAtItem(THeadlessHost& Host, TFolio* Bar, int Index) {
    TFolioItem* Item = Bar->GetVisibleGroupObject()->GetItems()->GetItem(Index);
    Host.MoveTo(Bar->ClientToScreen(CentreOf(Item->GetImageRect())));
}

// Waits (bounded) until a worker asks the user-interface thread for a step.
bool WaitForStep() {
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!SynchronizePending()) {
        if (std::chrono::steady_clock::now() > Deadline) return false;
        WaitForSynchronize(SynchronizeSignalCount(), 20);
    }
    return true;
}

// Where a control lies on its form's picture: its parents' places add up
// (the panels the gallery lays its bars out on have no frame of their own).
TPoint PlaceOnForm(const TControl& Control) {
    TPoint P = Point(Control.GetLeft(), Control.GetTop());
    for (const TWinControl* Parent = Control.GetParent(); Parent && Parent->GetParent();
         Parent = Parent->GetParent()) {
        P.X += Parent->GetLeft();
        P.Y += Parent->GetTop();
    }
    return P;
}

// Copies the control's area of the form's picture into Strip at column X.
void CopyControl(const TPixelSurface& From, const TControl& Control, TBitmap& Strip, int X) {
    const TPixelSurface To = Strip.GetSurface();
    const TPoint At = PlaceOnForm(Control);
    const int W = std::min({Control.GetWidth(), To.Width - X, From.Width - At.X});
    const int H = std::min({Control.GetHeight(), To.Height, From.Height - At.Y});
    if (W <= 0 || H <= 0 || At.X < 0 || At.Y < 0) return;
    for (int Y = 0; Y < H; ++Y)
        std::memcpy(To.Row(Y) + X, From.Row(At.Y + Y) + At.X,
                    static_cast<std::size_t>(W) * sizeof(TPixel));
}

// Slides the vertical bar from its open group to Target and writes the
// frames side by side: the picture before the switch, every frame the
// worker hands over, and the picture after it.
bool WriteSwitchStrip(std::ostream& Out, THeadlessHost& Host, TGalleryForm& Gallery, int Target,
                      const String& Path) {
    TFolio* Bar = Gallery.Vertical;
    constexpr int Gap = 8;
    constexpr int MaxColumns = 9;
    const int Column = Bar->GetWidth() + Gap;
    TBitmap Strip(MaxColumns * Column - Gap, Bar->GetHeight());
    Strip.GetCanvas()->GetBrush()->SetColor(0x303030);
    Strip.GetCanvas()->FillRect(Rect(0, 0, Strip.GetWidth(), Strip.GetHeight()));

    int Columns = 0;
    auto Take = [&] {
        if (Columns < MaxColumns)
            CopyControl(*Gallery.Form.GetSurface(), *Bar, Strip, Columns++ * Column);
    };
    // The first frame shows the captions where they rest, as before the
    // switch; every later one moves the target's caption.
    TFolioGroup* Moving = Bar->GetGroups()->GetGroup(Target);
    const TRect Caption = Moving->GetCaptionRect();
    int Seen = Caption.Top;
    // The switch comes from a click on the caption, as in the window: the
    // first picture shows the caption held down.
    const TPoint P = Bar->ClientToScreen(
        Point((Caption.Left + Caption.Right) / 2, (Caption.Top + Caption.Bottom) / 2));
    Host.MoveTo(P);
    Host.Press();
    Take();
    Host.Release();
    // Every step the worker asks for runs here, and the loop repaints right
    // after it.
    while (Bar->GetVisibleGroup() != Target) {
        if (!WaitForStep()) {
            Out << "The switch in the gallery stopped before its end.\n";
            return false;
        }
        Application->ProcessMessages();
        const int Now = Moving->GetCaptionRect().Top;
        if (Bar->GetVisibleGroup() != Target && Now != Seen && Columns < MaxColumns - 1) {
            Seen = Now;
            Take();
        }
    }
    Take();
    const int Width = Columns * Column - Gap;
    TBitmap Used(Width, Strip.GetHeight());
    Used.GetCanvas()->Draw(0, 0, &Strip);
    SavePng(Used, Path);
    Out << "Bar gallery switch, " << Columns
        << " pictures from before to after: " << std::filesystem::absolute(Path).string() << "\n";
    // The worker frees itself after its finishing step; let it go before
    // the bar does.
    Sleep(20);
    Application->ProcessMessages();
    return true;
}

// Saves the gallery's form as a text form file beside the snapshots, reads
// it back into a second form and checks that the two show the same picture.
// The bars show their picture and gradient groups; what the form does not
// hold is reset first: the scroll position and the pointer's hover.
bool WriteFormFile(std::ostream& Out, THeadlessHost& Host, TGalleryForm& Gallery,
                   const String& Folder) {
    Gallery.Form.SetCaption("Folio bar gallery");
    Gallery.Vertical->GetGroups()->GetGroup(0)->SetStartItem(0);
    Gallery.Vertical->SetVisibleGroup(2);
    Gallery.Horizontal->SetVisibleGroup(2);
    Gallery.RestPointer(Host);
    const String Path = Folder + "/bar-gallery.form";
    WriteComponentFile(Path, &Gallery.Form, feText);
    TGalleryBarForm Copy(nullptr);
    ReadComponentFile(Path, &Copy);
    Copy.Show();
    Host.RunUntilIdle();
    const TPixelSurface* Saved = Gallery.Form.GetSurface();
    const TPixelSurface* Read = Copy.GetSurface();
    if (!Read || !Read->Valid() || Read->Width != Saved->Width || Read->Height != Saved->Height) {
        Out << "The form read back from " << Path << " is not the size of the saved one.\n";
        return false;
    }
    long long Differ = 0;
    for (int Y = 0; Y < Saved->Height; ++Y)
        for (int X = 0; X < Saved->Width; ++X)
            Differ += (Saved->Row(Y)[X] & 0xFFFFFF) != (Read->Row(Y)[X] & 0xFFFFFF);
    const String SavedPicture = Folder + "/bar-gallery-saved.png";
    const String ReadPicture = Folder + "/bar-gallery-read.png";
    SavePng(*Saved, SavedPicture);
    SavePng(*Read, ReadPicture);
    Out << "Bar gallery form file: " << std::filesystem::absolute(Path).string() << " ("
        << std::filesystem::file_size(Path) << " bytes)\n"
        << "Bar gallery as saved and as read back from it: "
        << std::filesystem::absolute(SavedPicture).string() << ", "
        << std::filesystem::absolute(ReadPicture).string() << "\n";
    if (Differ) {
        Out << "The form read back shows " << Differ << " pixels other than the saved one.\n";
        return false;
    }
    Out << "The form read back shows the same " << Saved->Width << " x " << Saved->Height
        << " pixels as the saved one.\n";
    return true;
}

String CaptionsOf(const TFolioGroup* Group) {
    String S;
    for (int I = 0; I < Group->GetItems()->GetCount(); ++I)
        S += (I ? ", " : "") + Group->GetItems()->GetItem(I)->GetCaption();
    return S;
}

// Drags items as a user does, with the pointer: within the long group (the
// picture is taken mid-drag, with the insert mark showing), into the
// Calendar group by resting on its caption, and across to the other bar.
bool WriteDragSnapshot(std::ostream& Out, THeadlessHost& Host, TGalleryForm& Gallery,
                       const String& Path) {
    TFolio* Bar = Gallery.Vertical;
    Gallery.SetAnimation(asNone);
    Gallery.OpenLongGroup();
    Gallery.Horizontal->SetVisibleGroup(2);
    TFolioGroup* Mail = Bar->GetGroups()->GetGroup(0);
    TFolioItem* Drafts = Mail->GetItems()->GetItem(5);
    auto Drag = [&](TFolio* From, int Item) {
        PointAtItem(Host, From, Item);
        Host.Press();
        const TPoint P = Host.GetPointer();
        Host.MoveTo(P.X + Mouse->GetDragThreshold(), P.Y + Mouse->GetDragThreshold());
    };
    auto ToGap = [&](TFolio* Over, int Gap) {
        const TRect R = Over->GetVisibleGroupObject()->GetInsertMarkRect(Gap);
        Host.MoveTo(Over->ClientToScreen(CentreOf(R)));
    };

    // "Drafts" goes up, between "Deleted items" and the long-named folder.
    Drag(Bar, 5);
    ToGap(Bar, 2);
    ToGap(Bar, 4);
    if (Bar->GetInsertIndex() != 4) {
        Out << "A drag in the gallery shows no insert mark between two items.\n";
        Host.Key(VK_ESCAPE);
        Host.Release();
        return false;
    }
    SavePng(*Gallery.Form.GetSurface(), Path);
    Out << "Bar gallery snapshot mid-drag: " << std::filesystem::absolute(Path).string() << "\n";
    Host.Release();
    const bool Reordered = Mail->GetItems()->GetItem(4) == Drafts;

    // "Archive" rests on the Calendar caption until the group opens, then
    // goes to its end.
    Drag(Bar, 6);
    const TFolioGroup* Calendar = Bar->GetGroups()->GetGroup(1);
    Host.MoveTo(Bar->ClientToScreen(CentreOf(Calendar->GetCaptionRect())));
    Host.Run(FolioOpenDelay);
    const bool Opened = Bar->GetVisibleGroupObject() == Calendar;
    if (Opened) ToGap(Bar, Calendar->GetItems()->GetCount());
    Host.Release();

    // "Today" goes across to the horizontal bar, between "Editor" and "Mail".
    Drag(Bar, 0);
    ToGap(Gallery.Horizontal, 1);
    Host.Release();
    const TFolioGroup* Across = Gallery.Horizontal->GetVisibleGroupObject();
    Out << "Dragged in the gallery: Mail holds " << CaptionsOf(Mail) << "; Calendar holds "
        << CaptionsOf(Calendar) << "; " << Across->GetCaption() << " holds " << CaptionsOf(Across)
        << ".\n";
    if (!Reordered || !Opened || Calendar->GetItems()->GetLastItem()->GetCaption() != "Archive" ||
        Across->GetItems()->GetItem(1)->GetCaption() != "Today") {
        Out << "The drags in the gallery did not move the items where they were let go.\n";
        return false;
    }
    return true;
}

// FOLIO_SCALE=2 takes the snapshots as a screen of twice the standard
// resolution shows the gallery.
int SnapshotPixelsPerInch() {
    const int Ppi = PixelsPerInchFromEnvironment();
    return Ppi ? Ppi : 96;
}

bool WriteSnapshots(std::ostream& Out, const TBarGalleryOptions& Options) {
    const int Ppi = SnapshotPixelsPerInch();
    THeadlessHost Host(MulDiv(1024, Ppi, 96), MulDiv(768, Ppi, 96));
    FollowSchemeVariable();
    Screen->SetPixelsPerInch(Ppi);
    TGalleryForm Gallery;
    // The still pictures switch at once; the strip below slides.
    Gallery.SetAnimation(asNone);
    Gallery.Form.Show();
    Gallery.OpenLongGroup();
    Host.RunUntilIdle();
    if (!Gallery.HoverItem(Host, 3)) {
        Out << "The pointer on an item of the gallery did not hover it.\n";
        return false;
    }

    std::filesystem::create_directories(Options.SnapshotDir);
    const TPixelSurface* Surface = Gallery.Form.GetSurface();
    if (!Surface || !Surface->Valid()) {
        Out << "The gallery form has no picture to save.\n";
        return false;
    }
    const String Path = Options.SnapshotDir + "/bar-gallery.png";
    SavePng(*Surface, Path);
    Out << "Bar gallery snapshot: " << std::filesystem::absolute(Path).string() << "\n";

    // The same vertical bar with the small-picture group open.
    Gallery.RestPointer(Host);
    Gallery.Vertical->SetVisibleGroup(2);
    Host.RunUntilIdle();
    if (!Gallery.HoverItem(Host, 1)) {
        Out << "The pointer on a small item of the gallery did not hover it.\n";
        return false;
    }
    const String Second = Options.SnapshotDir + "/bar-gallery-small.png";
    SavePng(*Gallery.Form.GetSurface(), Second);
    Out << "Bar gallery snapshot: " << std::filesystem::absolute(Second).string() << "\n";

    // One animated switch, frame by frame: from the long group down to the
    // small-picture group, the captions between them sliding up.
    Gallery.RestPointer(Host);
    Gallery.OpenLongGroup();
    Host.RunUntilIdle();
    Gallery.Vertical->SetAnimationStyle(asLinear);
    Gallery.Vertical->SetAnimationSpeed(60);
    if (!WriteSwitchStrip(Out, Host, Gallery, 2, Options.SnapshotDir + "/bar-gallery-switch.png"))
        return false;

    // An item being renamed in place: a double click on it opens the editor,
    // through the same events as in the window.
    Gallery.SetAnimation(asNone);
    Gallery.OpenLongGroup();
    Gallery.RestPointer(Host);
    TFolio* Bar = Gallery.Vertical;
    TFolioItem* Item = Bar->GetGroups()->GetGroup(0)->GetItems()->GetItem(4);
    const TRect Picture = Item->GetImageRect();
    const TPoint OnItem = Bar->ClientToScreen(
        Point((Picture.Left + Picture.Right) / 2, (Picture.Top + Picture.Bottom) / 2));
    Host.DoubleClick(OnItem.X, OnItem.Y);
    if (!Item->GetEdited()) {
        Out << "A double click on an item of the gallery did not open its editor.\n";
        return false;
    }
    Host.Key(VK_END);
    Host.Type(" (renamed)");
    Host.RunUntilIdle();
    const String Editing = Options.SnapshotDir + "/bar-gallery-editor.png";
    SavePng(*Gallery.Form.GetSurface(), Editing);
    Out << "Bar gallery snapshot: " << std::filesystem::absolute(Editing).string() << "\n";
    Bar->HideEditor(false);
    Host.RunUntilIdle();

    // F2 over a caption of the other bar renames that group.
    TFolioGroup* Tools = Gallery.Horizontal->GetGroups()->GetGroup(0);
    const TRect Strip = Tools->GetCaptionRect();
    Host.MoveTo(Gallery.Horizontal->ClientToScreen(
        Point((Strip.Left + Strip.Right) / 2, (Strip.Top + Strip.Bottom) / 2)));
    Host.Click();
    Host.Key(VK_F2);
    Host.Key(VK_END);
    Host.Type("!");
    Host.Key(VK_RETURN);
    const bool Renamed = Tools->GetCaption() == "Tools!";
    Tools->SetCaption("Tools");
    Host.RunUntilIdle();
    if (!Renamed) {
        Out << "F2 over a caption of the gallery did not rename its group.\n";
        return false;
    }
    if (!WriteDragSnapshot(Out, Host, Gallery, Options.SnapshotDir + "/bar-gallery-drag.png"))
        return false;
    return WriteFormFile(Out, Host, Gallery, Options.SnapshotDir);
}

bool ShowWindow(std::ostream& Out) {
    TSdlHost Host;
    TGalleryForm Gallery;
    Gallery.Form.Show();
    Gallery.OpenLongGroup();
    Out << "The bar gallery is open in a window: click captions to switch, hold the scroll\n"
           "buttons, double click or press F2 to rename, drag items within a group, onto\n"
           "another group's caption (rest there to open it) or onto the other bar. The\n"
           "gallery sets TabStop on both bars (a bar is not a tab stop by itself), so Tab\n"
           "or a click gives a bar the keyboard: the arrows walk its captions and items,\n"
           "Enter or Space opens or clicks, F2 renames. Close it to finish.\n"
        << std::flush;
    // The framework tour has already run the application's loop to its end,
    // which leaves the loop's end flag set. Cleared, it tells when Ctrl+C or
    // a quit request ends this window's loop too. Each step sleeps until
    // input, a timer or a worker's request arrives.
    Application->ResetTerminated();
    while (Gallery.Form.GetVisible() && !TQuitSignals::Received() && Host.Step(-1)) {
    }
    return true;
}

// Reads FileName into a new gallery form, naming the gallery's form class
// for the file's root on the way.
std::unique_ptr<TGalleryBarForm> ReadGalleryForm(const String& FileName) {
    TFileStream File(FileName, fmOpenRead);
    TFormObject Tree = ReadFormObject(File);
    Tree.ClassName = TGalleryBarForm::StaticClassInfo().Name;
    TMemoryStream Bytes;
    WriteFormObject(Tree, Bytes, feBinary);
    Bytes.SetPosition(0);
    auto Form = std::make_unique<TGalleryBarForm>(nullptr);
    ReadComponent(Bytes, Form.get());
    return Form;
}

// One line per bar of the form and one per group, with its items: what a
// form file brought, to compare with what was designed.
void DescribeBars(std::ostream& Out, const TComponent& Form) {
    for (int I = 0; I < Form.ComponentCount(); ++I) {
        const auto* Bar = dynamic_cast<const TFolio*>(Form.Components(I));
        if (!Bar) continue;
        const TFolioGroups* Groups = Bar->GetGroups();
        Out << "Bar " << Bar->GetName() << ": " << Groups->GetCount() << " groups\n";
        for (int G = 0; G < Groups->GetCount(); ++G) {
            const TFolioItems* Items = Groups->GetGroup(G)->GetItems();
            Out << "  Group \"" << Groups->GetGroup(G)->GetCaption() << "\":";
            for (int K = 0; K < Items->GetCount(); ++K)
                Out << (K ? ", \"" : " \"") << Items->GetItem(K)->GetCaption() << '"';
            Out << (Items->GetCount() ? "\n" : " no items\n");
        }
    }
}

} // namespace

bool ShowFormFile(std::ostream& Out, const std::string& FileName,
                  const TBarGalleryOptions& Options) {
    try {
        const char* Display = std::getenv("DISPLAY");
        if (!Options.ForceSnapshots && Display && *Display && TSdlHost::DisplayAvailable()) {
            TSdlHost Host;
            auto Form = ReadGalleryForm(FileName);
            Form->Show();
            Out << "The form " << FileName << " is open in a window; close it to finish.\n"
                << std::flush;
            Application->ResetTerminated();
            while (Form->GetVisible() && !TQuitSignals::Received() && Host.Step(-1)) {
            }
            return true;
        }
        const int Ppi = SnapshotPixelsPerInch();
        THeadlessHost Host(MulDiv(1024, Ppi, 96), MulDiv(768, Ppi, 96));
        FollowSchemeVariable();
        Screen->SetPixelsPerInch(Ppi);
        auto Form = ReadGalleryForm(FileName);
        Form->Show();
        Host.RunUntilIdle();
        std::filesystem::create_directories(Options.SnapshotDir);
        const String Path = Options.SnapshotDir + "/form.png";
        Host.Screenshot(Form.get(), Path);
        Out << "Form " << FileName << ": " << Form->ComponentCount() << " components, snapshot "
            << std::filesystem::absolute(Path).string() << "\n";
        DescribeBars(Out, *Form);
        return true;
    } catch (const Exception& E) {
        Out << "The form " << FileName << " cannot be shown: " << E.what() << "\n";
        return false;
    }
}

bool RunBarGallery(std::ostream& Out, const TBarGalleryOptions& Options) {
    try {
        const char* Display = std::getenv("DISPLAY");
        if (!Options.ForceSnapshots && Display && *Display && TSdlHost::DisplayAvailable())
            return ShowWindow(Out);
        return WriteSnapshots(Out, Options);
    } catch (const Exception& E) {
        Out << "The bar gallery failed: " << E.what() << "\n";
        return false;
    }
}

} // namespace gallery
