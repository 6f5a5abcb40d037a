#include "FolioStress.h"

#include "FolioLiveInspector.h"

#include "framework/core/SysUtils.h"
#include "framework/gfx/Canvas.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/input/DragDrop.h"
#include "framework/ui/input/VirtualKeys.h"

#include <chrono>
#include <iterator>
#include <thread>

namespace folio {

using LI = TFolioLiveInspector;

namespace {

TPoint Centre(const TRect& R) {
    return Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

// Whether Item is still one of Bar's, where its collection says it is.
bool Alive(const TFolio* Bar, const TFolioItem* Item) {
    if (!Item || Item->GetBar() != Bar) return false;
    const int Index = Item->GetIndex();
    return Index >= 0 && Item->GetItems()->GetItem(Index) == Item;
}

bool Alive(const TFolio* Bar, const TFolioGroup* Group) {
    if (!Group || Group->GetBar() != Bar) return false;
    const int Index = Group->GetIndex();
    return Index >= 0 && Bar->GetGroups()->GetGroup(Index) == Group;
}

} // namespace

TBarStress::TBarStress(THeadlessHost& Host, const TStressOptions& Options)
    : FHost(Host), FOptions(Options), FRandom(Options.Seed) {
    FForm = std::make_unique<TForm>(nullptr);
    FForm->SetBounds(0, 0, 460, 520);
    FBar = new TFolio(FForm.get());
    FBar->SetBounds(10, 10, 220, 420);
    FBar->SetAnimationSpeed(40);
    FBar->SetParent(FForm.get());

    TFolioGroups& Groups = *FBar->GetGroups();
    TFolioItems& Long = *Groups.Add("Long")->GetItems();
    for (int I = 0; I < FOptions.Items; ++I) Long.Add("Item " + IntToStr(I), I % 5 - 1);
    TFolioGroup* Short = Groups.Add("Short");
    Short->SetImageSize(isSmall);
    for (int I = 0; I < 30; ++I) Short->GetItems()->Add("Short " + IntToStr(I), -1);
    Groups.Add("Empty")->SetStyle(gbGradient);
    TFolioGroup* Pictures = Groups.Add("Pictures");
    TBitmap Picture(24, 16);
    Picture.GetCanvas()->SetPixel(3, 3, clRed);
    Pictures->SetBitmap(&Picture);
    Pictures->SetStyle(gbBitmap);
    for (int I = 0; I < 10; ++I) Pictures->GetItems()->Add("Picture " + IntToStr(I), -1);

    // Every event the bar fires must be about something it still holds.
    FBar->OnItemDeletion = [this](TObject*, TFolioItem*) { ++FItemDeletions; };
    FBar->OnGroupDeletion = [this](TObject*, TFolioGroup*) { ++FGroupDeletions; };
    FBar->OnItemClick = [this](TObject*, TFolioItem* Item) {
        if (!Alive(FBar, Item)) FEventFaults.push_back("a click on an item the bar does not hold");
    };
    FBar->OnGroupClick = [this](TObject*, TFolioGroup* Group) {
        if (!Alive(FBar, Group)) FEventFaults.push_back("a click on a group the bar does not hold");
    };
    FBar->OnEditedItem = [this](TObject*, TFolioItem* Item, String&) {
        if (!Alive(FBar, Item)) FEventFaults.push_back("an edit applied to a lost item");
        ++FEditsApplied;
    };
    FBar->OnEditedGroup = [this](TObject*, TFolioGroup* Group, String&) {
        if (!Alive(FBar, Group)) FEventFaults.push_back("an edit applied to a lost group");
        ++FEditsApplied;
    };
    Application->OnException = [this](TObject*, const std::exception& E) {
        FEventFaults.push_back(std::string("an exception reached the loop: ") + E.what());
    };
    FForm->Show();
    FHost.RunUntilIdle();
    AddStandardActions();
}

TBarStress::~TBarStress() {
    Application->OnException = nullptr;
    if (LI::Editing(*FBar)) FHost.Key(VK_ESCAPE);
    FHost.Release();
    Settle();
    FBar->OnItemDeletion = nullptr;
    FBar->OnGroupDeletion = nullptr;
    FForm.reset();
    FHost.RunUntilIdle();
}

void TBarStress::AddAction(const std::string& Name, int Weight, TAction Run) {
    FActions.push_back({Name, Weight, std::move(Run)});
    FTotalWeight += Weight;
}

int TBarStress::Random(int Limit) {
    return Limit <= 0 ? 0 : static_cast<int>(FRandom() % static_cast<std::uint64_t>(Limit));
}

TPoint TBarStress::RandomPointIn(const TRect& R) {
    return Point(R.Left + Random(R.Width()), R.Top + Random(R.Height()));
}

void TBarStress::MoveTo(TPoint Client) {
    FHost.MoveTo(FBar->ClientToScreen(Client));
}

TFolioGroup* TBarStress::OpenGroup() const {
    return FBar->GetVisibleGroupObject();
}

TFolioItem* TBarStress::RandomVisibleItem() {
    TFolioGroup* Open = OpenGroup();
    if (!Open || Open->GetItems()->GetCount() == 0) return nullptr;
    const int Count = Open->GetItems()->GetCount();
    const int First = std::min(Open->GetStartItem(), Count - 1);
    const int Slots = std::max(1, Open->GetVisibleItems());
    return Open->GetItems()->GetItem(std::min(Count - 1, First + Random(Slots)));
}

void TBarStress::Settle() {
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (LI::Switching(*FBar) && std::chrono::steady_clock::now() < Deadline) {
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    FHost.RunUntilIdle();
}

void TBarStress::AddStandardActions() {
    AddAction("move", 20, [this] {
        TRect R = FBar->GetClientRect();
        MoveTo(RandomPointIn(Rect(R.Left - 10, R.Top - 10, R.Right + 10, R.Bottom + 10)));
    });
    AddAction("hover item", 10, [this] {
        if (TFolioItem* Item = RandomVisibleItem()) MoveTo(Centre(Item->GetImageRect()));
    });
    AddAction("click caption", 8, [this] {
        const int Count = FBar->GetGroups()->GetCount();
        if (Count == 0) return;
        constexpr TFolAnimationStyle Styles[] = {asNone, asLinear, asAccelerate};
        FBar->SetAnimationStyle(Styles[Random(3)]);
        MoveTo(Centre(FBar->GetGroups()->GetGroup(Random(Count))->GetCaptionRect()));
        FHost.Click();
        // Input comes faster than frames: half the time the script waits for
        // the slide, half the time it carries on into it.
        if (Random(2)) Settle();
    });
    AddAction("let the switch end", 3, [this] { Settle(); });
    AddAction("click item", 8, [this] {
        if (TFolioItem* Item = RandomVisibleItem()) {
            MoveTo(Centre(Item->GetImageRect()));
            FHost.Click();
        }
    });
    AddAction("hold scroll button", 5, [this] {
        TFolioGroup* Open = OpenGroup();
        if (!Open) return;
        const TRect R = Random(2) ? Open->GetNextButtonRect() : Open->GetPrevButtonRect();
        if (R.IsEmpty()) return;
        MoveTo(Centre(R));
        FHost.Press();
        FHost.Run(FBar->GetButtonClickDelay() * (1 + Random(6)));
        FHost.Release();
    });
    AddAction("scroll", 5, [this] {
        if (TFolioGroup* Open = OpenGroup())
            Open->SetStartItem(Random(Open->GetItems()->GetCount() + 1));
    });
    AddAction("edit item", 4, [this] {
        if (TFolioItem* Item = RandomVisibleItem()) FBar->EditItem(Item);
    });
    AddAction("edit group", 2, [this] {
        const int Count = FBar->GetGroups()->GetCount();
        if (Count) FBar->EditGroup(FBar->GetGroups()->GetGroup(Random(Count)));
    });
    AddAction("type", 6, [this] {
        if (!LI::Editing(*FBar)) return;
        static const char Letters[] = "abc XYZ019-";
        String Text;
        for (int I = Random(9); I > 0; --I) Text += Letters[Random(sizeof Letters - 1)];
        FHost.Type(Text);
    });
    AddAction("end edit", 4, [this] {
        if (!LI::Editing(*FBar)) return;
        switch (Random(3)) {
        case 0:
            FHost.Key(VK_RETURN);
            break;
        case 1:
            FHost.Key(VK_ESCAPE);
            break;
        default: // a press elsewhere on the bar accepts the edit
            MoveTo(RandomPointIn(FBar->GetClientRect()));
            FHost.Click();
        }
    });
    AddAction("drag item", 4, [this] {
        TFolioItem* Item = RandomVisibleItem();
        if (!Item) return;
        const TPoint From = Centre(Item->GetImageRect());
        MoveTo(From);
        FHost.Press();
        for (int Step = 1; Step <= 4; ++Step)
            MoveTo(Point(From.X + Step * (Random(21) - 10), From.Y + Step * (Random(41) - 20)));
        if (Application->GetDragManager().Active()) ++FDragsStarted;
        if (Random(3) == 0) FHost.Key(VK_ESCAPE);
        FHost.Release();
    });
    AddAction("add item", 3, [this] {
        const int Count = FBar->GetGroups()->GetCount();
        if (Count)
            FBar->GetGroups()->GetGroup(Random(Count))->GetItems()->Add("Added", Random(5) - 1);
    });
    AddAction("delete item", 3, [this] {
        TFolioGroup* Open = OpenGroup();
        if (!Open || Open->GetItems()->GetCount() == 0) return;
        Open->GetItems()->GetItem(Random(Open->GetItems()->GetCount()))->Delete();
        ++FExpectedItemDeletions;
    });
    AddAction("add group", 1, [this] {
        TFolioGroup* Group = FBar->GetGroups()->Add("Added group");
        for (int I = Random(12); I > 0; --I) Group->GetItems()->Add("In added", -1);
    });
    AddAction("delete group", 1, [this] {
        // The long group stays, so every script keeps its hundred thousand items.
        const int Count = FBar->GetGroups()->GetCount();
        if (Count <= 2) return;
        TFolioGroup* Group = FBar->GetGroups()->GetGroup(1 + Random(Count - 1));
        ++FExpectedGroupDeletions;
        FExpectedItemDeletions += Group->GetItems()->GetCount();
        Group->Delete();
    });
    AddAction("keys", 8, [this] {
        // Walking, paging, acting, renaming and (with Ctrl) moving items.
        static constexpr unsigned short Keys[] = {VK_UP,    VK_DOWN,   VK_LEFT,  VK_RIGHT,
                                                  VK_HOME,  VK_END,    VK_PRIOR, VK_NEXT,
                                                  VK_SPACE, VK_RETURN, VK_F2,    VK_TAB};
        if (!LI::Editing(*FBar)) FBar->SetFocus();
        const unsigned short Key = Keys[Random(std::size(Keys))];
        FHost.Key(Key, Random(4) == 0 ? TShiftState{ssCtrl} : TShiftState{});
    });
    AddAction("wheel", 6, [this] {
        // Whole notches and parts of one, along both axes; the open group
        // scrolls, but a turn never opens another group.
        MoveTo(RandomPointIn(FBar->GetClientRect()));
        const int Open = FBar->GetVisibleGroup();
        const bool Sliding = LI::Switching(*FBar);
        static constexpr int Deltas[] = {120, -120, 360, -240, 40, -30};
        const int Delta = Deltas[Random(std::size(Deltas))];
        if (Random(4) == 0)
            FHost.HWheel(Delta);
        else
            FHost.Wheel(Delta, Random(4) == 0 ? TShiftState{ssShift} : TShiftState{});
        if (!Sliding && !LI::Switching(*FBar) && FBar->GetVisibleGroup() != Open)
            FEventFaults.push_back("a wheel turn opened another group");
    });
    AddAction("time", 5, [this] { FHost.Run(1 + Random(400)); });
    AddAction("resize", 2, [this] { FBar->SetBounds(10, 10, 40 + Random(320), 40 + Random(440)); });
    AddAction("alignment", 1, [this] {
        FBar->SetAlignment(FBar->GetAlignment() == baVertical ? baHorizontal : baVertical);
    });
}

std::string TBarStress::Check() {
    if (!FEventFaults.empty()) return FEventFaults.front();
    const TFolioGroups& Groups = *FBar->GetGroups();
    const int Count = Groups.GetCount();
    const int Open = FBar->GetVisibleGroup();
    if (Open < -1 || Open >= Count) return Format("open group %d of %d", Open, Count);
    if (Count > 0 && Open < 0) return "no group is open";
    for (int G = 0; G < Count; ++G) {
        const TFolioGroup* Group = Groups.GetGroup(G);
        if (Group->GetIndex() != G || Group->GetBar() != FBar)
            return Format("group %d does not know its place", G);
        const TFolioItems& Items = *Group->GetItems();
        const int N = Items.GetCount();
        if (Group->GetStartItem() < 0 || Group->GetStartItem() > N)
            return Format("group %d starts at item %d of %d", G, Group->GetStartItem(), N);
        if (N == 0) continue;
        for (int I : {0, N - 1, Random(N)}) {
            const TFolioItem* Item = Items.GetItem(I);
            if (Item->GetIndex() != I || Item->GetGroup() != Group || Item->GetBar() != FBar)
                return Format("item %d of group %d does not know its place", I, G);
        }
    }
    const TFolioGroup* HoverGroup = FBar->GetGroupUnderCurosr();
    if (HoverGroup && !Alive(FBar, HoverGroup)) return "the hovered group is not the bar's";
    const TFolioGroup* FocusedGroup = FBar->GetFocusedGroup();
    if (FocusedGroup && !Alive(FBar, FocusedGroup)) return "the focused group is not the bar's";
    const TFolioItem* FocusedItem = FBar->GetFocusedItem();
    if (FocusedItem && (!Alive(FBar, FocusedItem) || FocusedItem->GetGroup() != OpenGroup()))
        return "the focused item is not one of the open group's";
    const TFolioItem* HoverItem = FBar->GetItemUnderCurosr();
    if (HoverItem && !Alive(FBar, HoverItem)) return "the hovered item is not the bar's";
    if (FItemDeletions != FExpectedItemDeletions || FGroupDeletions != FExpectedGroupDeletions)
        return Format("%ld item and %ld group deletion events for %ld and %ld deletions",
                      FItemDeletions, FGroupDeletions, FExpectedItemDeletions,
                      FExpectedGroupDeletions);
    return "";
}

std::string TBarStress::Run() {
    const auto Start = std::chrono::steady_clock::now();
    int LastOpen = FBar->GetVisibleGroup();
    for (long Step = 0; Step < FOptions.Steps; ++Step) {
        const double Elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
        if (Elapsed > FOptions.Seconds) break;
        int Pick = Random(FTotalWeight);
        TEntry* Entry = &FActions.front();
        for (TEntry& E : FActions) {
            Entry = &E;
            if (Pick < E.Weight) break;
            Pick -= E.Weight;
        }
        ++Entry->Count;
        Entry->Run();
        if (FBar->GetVisibleGroup() != LastOpen && !LI::Switching(*FBar)) {
            ++FSwitchesDone;
            LastOpen = FBar->GetVisibleGroup();
        }
        const std::string Fault = Check();
        if (!Fault.empty())
            return Format("step %ld (%s) of the script with seed %llu: %s", Step,
                          Entry->Name.c_str(), static_cast<unsigned long long>(FOptions.Seed),
                          Fault.c_str());
    }
    if (LI::Editing(*FBar)) FHost.Key(VK_ESCAPE);
    FHost.Release();
    Settle();
    const std::string Fault = Check();
    return Fault.empty() ? "" : "after the script: " + Fault;
}

std::string TBarStress::Summary() const {
    std::string Text = Format("seed %llu:", static_cast<unsigned long long>(FOptions.Seed));
    long Steps = 0;
    for (const TEntry& E : FActions) {
        Text += Format(" %s %ld,", E.Name.c_str(), E.Count);
        Steps += E.Count;
    }
    return Text +
           Format(" (%ld steps); %ld open groups changed, %ld edits applied, %ld drags started",
                  Steps, FSwitchesDone, FEditsApplied, FDragsStarted);
}

} // namespace folio
