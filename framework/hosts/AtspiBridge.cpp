#include "framework/hosts/AtspiBridge.h"

#include "framework/hosts/AtspiTranslate.h"
#include "framework/hosts/DBusConnection.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Clipboard.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/forms/CustomForm.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace folio {

namespace {

constexpr const char* NullPath = "/org/a11y/atspi/null";
constexpr const char* A11yBusName = "org.a11y.Bus";
constexpr const char* A11yBusPath = "/org/a11y/bus";
constexpr const char* RegistryName = "org.a11y.atspi.Registry";
constexpr const char* UnknownObject = "org.freedesktop.DBus.Error.UnknownObject";
constexpr const char* InvalidArgs = "org.freedesktop.DBus.Error.InvalidArgs";
constexpr const char* CachePath = "/org/a11y/atspi/cache";
constexpr const char* CacheInterface = "org.a11y.atspi.Cache";

// Layers of the bus's Component interface.
constexpr unsigned LayerWidget = 3;
constexpr unsigned LayerWindow = 7;

// The application itself: its children are the forms on the screen.
class TApplicationNode : public TAccessible {
public:
    TAccRole GetRole() const override { return TAccRole::Window; }
    String GetName() const override { return program_invocation_short_name; }
    TRect GetBounds() const override { return TRect{}; }
    int GetChildCount() const override { return static_cast<int>(Shown().size()); }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        const auto Forms = Shown();
        if (Index < 0 || Index >= static_cast<int>(Forms.size())) return nullptr;
        return GetAccessible(Forms[static_cast<size_t>(Index)]);
    }

private:
    static std::vector<TCustomForm*> Shown() {
        std::vector<TCustomForm*> Forms;
        if (!Screen) return Forms;
        for (int I = 0; I < Screen->FormCount(); ++I)
            if (Screen->Forms(I)->GetVisible()) Forms.push_back(Screen->Forms(I));
        return Forms;
    }
};

bool Inside(const TRect& R, int X, int Y) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

} // namespace

// A node found from its path, with the id it has.
struct TAtspiBridge::TResolved {
    std::unique_ptr<TAccessible> Node;
    std::uint64_t Id = 0;
    explicit operator bool() const { return Node != nullptr; }
};

// The bus's handlers: each finds the node its message's path names and
// answers from it.
struct TAtspiBridge::THandlers {
    // An event's value that names no object.
    static constexpr std::uint64_t NoObject = UINT64_MAX;
    static TAtspiBridge* Bridge(void* Data) { return static_cast<TAtspiBridge*>(Data); }

    static std::unique_ptr<TAccessible> Node(TAtspiBridge* B, std::uint64_t Id) {
        if (Id == RootId) return std::make_unique<TApplicationNode>();
        const auto Found = B->FEntries.find(Id);
        if (Found == B->FEntries.end()) return nullptr;
        const TEntry Entry = Found->second;
        auto Parent = Node(B, Entry.Parent);
        if (!Parent) return nullptr;
        auto Child = Parent->GetChild(Entry.Index);
        if (Child && Child->GetKey() == Entry.Key) return Child;
        // A node known only by its place is gone when its place is.
        if (!Entry.Key) return nullptr;
        // An object that moved among its siblings (a dragged item) keeps its
        // path; the place is only where to look first.
        const int Count = Parent->GetChildCount();
        for (int I = 0; I < Count; ++I) {
            auto Other = Parent->GetChild(I);
            if (Other && Other->GetKey() == Entry.Key) {
                B->FEntries[Id].Index = I;
                return Other;
            }
        }
        return nullptr;
    }

    static TResolved Resolve(TAtspiBridge* B, const char* Path) {
        TResolved R;
        if (!Path || !B->ParsePath(Path, R.Id)) return R;
        R.Node = Node(B, R.Id);
        return R;
    }
    static TResolved Resolve(sd_bus_message* M, void* Data) {
        return Resolve(Bridge(Data), sd_bus_message_get_path(M));
    }

    static std::uint64_t ChildId(TAtspiBridge* B, std::uint64_t Parent, int Index,
                                 const TAccessible& Child) {
        return B->IdOf(Parent, Index, Child.GetKey());
    }

    static int Gone(sd_bus_error* Error) {
        return sd_bus_error_set(Error, UnknownObject, "The accessible object no longer exists");
    }

    static const char* UniqueName(TAtspiBridge* B) {
        const char* Name = nullptr;
        if (!B->FBus || sd_bus_get_unique_name(B->FBus->Bus(), &Name) < 0 || !Name) return "";
        return Name;
    }

    static int AppendRef(sd_bus_message* Reply, TAtspiBridge* B, std::uint64_t Id) {
        return sd_bus_message_append(Reply, "(so)", UniqueName(B), B->PathOf(Id).c_str());
    }

    static int ReplyRef(sd_bus_message* M, TAtspiBridge* B, std::uint64_t Id) {
        return sd_bus_reply_method_return(M, "(so)", UniqueName(B), B->PathOf(Id).c_str());
    }

    static int ReplyNullRef(sd_bus_message* M) {
        return sd_bus_reply_method_return(M, "(so)", "", NullPath);
    }

    // --- finding objects ------------------------------------------------------------

    static int FindAny(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                       sd_bus_error*) {
        if (!Resolve(Bridge(Data), Path)) return 0;
        *Found = Data;
        return 1;
    }
    static int FindControl(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                           sd_bus_error*) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R || R.Id == RootId) return 0;
        *Found = Data;
        return 1;
    }
    static int FindActions(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                           sd_bus_error*) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R || R.Id == RootId || R.Node->GetActions().empty()) return 0;
        *Found = Data;
        return 1;
    }
    static int FindText(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                        sd_bus_error*) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R || R.Id == RootId || !AtspiHasText(R.Node->GetRole())) return 0;
        *Found = Data;
        return 1;
    }
    static int FindEditable(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                            sd_bus_error*) {
        const TResolved R = Resolve(Bridge(Data), Path);
        TAccCaret Caret;
        if (!R || R.Id == RootId || !R.Node->GetCaret(Caret)) return 0;
        *Found = Data;
        return 1;
    }
    static int FindValue(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                         sd_bus_error*) {
        const TResolved R = Resolve(Bridge(Data), Path);
        TAccRange Range;
        if (!R || R.Id == RootId || !R.Node->GetRange(Range)) return 0;
        *Found = Data;
        return 1;
    }
    static int FindSelection(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                             sd_bus_error*) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R || R.Id == RootId || !AtspiHasSelection(R.Node->GetRole())) return 0;
        *Found = Data;
        return 1;
    }
    static int FindRoot(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                        sd_bus_error*) {
        if (!Path || std::strcmp(Path, RootPath) != 0) return 0;
        *Found = Data;
        return 1;
    }

    // --- Accessible ------------------------------------------------------------------

    static int Name(sd_bus*, const char* Path, const char*, const char*, sd_bus_message* Reply,
                    void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R) return Gone(Error);
        return sd_bus_message_append(Reply, "s", AtspiText(R.Node->GetName()).c_str());
    }
    static int Description(sd_bus*, const char* Path, const char*, const char*,
                           sd_bus_message* Reply, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R) return Gone(Error);
        return sd_bus_message_append(Reply, "s", AtspiText(R.Node->GetDescription()).c_str());
    }
    static int Parent(sd_bus*, const char* Path, const char*, const char*, sd_bus_message* Reply,
                      void* Data, sd_bus_error* Error) {
        TAtspiBridge* B = Bridge(Data);
        const TResolved R = Resolve(B, Path);
        if (!R) return Gone(Error);
        if (R.Id == RootId) {
            // The application's parent is the desktop's root in the registry.
            if (B->FSocketName.empty()) return sd_bus_message_append(Reply, "(so)", "", NullPath);
            return sd_bus_message_append(Reply, "(so)", B->FSocketName.c_str(),
                                         B->FSocketPath.c_str());
        }
        return AppendRef(Reply, B, B->FEntries[R.Id].Parent);
    }
    static int ChildCount(sd_bus*, const char* Path, const char*, const char*,
                          sd_bus_message* Reply, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R) return Gone(Error);
        return sd_bus_message_append(Reply, "i", R.Node->GetChildCount());
    }
    static int EmptyString(sd_bus*, const char* Path, const char*, const char*,
                           sd_bus_message* Reply, void* Data, sd_bus_error* Error) {
        if (!Resolve(Bridge(Data), Path)) return Gone(Error);
        return sd_bus_message_append(Reply, "s", "");
    }
    static int Locale(sd_bus*, const char*, const char*, const char*, sd_bus_message* Reply, void*,
                      sd_bus_error*) {
        return sd_bus_message_append(Reply, "s", LocaleName());
    }
    static const char* LocaleName() {
        for (const char* Name : {"LC_ALL", "LC_MESSAGES", "LANG"})
            if (const char* Value = std::getenv(Name); Value && *Value) return Value;
        return "C";
    }

    static int GetChildAtIndex(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TAtspiBridge* B = Bridge(Data);
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Index = -1;
        if (const int Read = sd_bus_message_read(M, "i", &Index); Read < 0) return Read;
        const auto Child = R.Node->GetChild(Index);
        if (!Child) return sd_bus_error_setf(Error, InvalidArgs, "No child at index %d", Index);
        return ReplyRef(M, B, ChildId(B, R.Id, Index, *Child));
    }
    static int GetChildren(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TAtspiBridge* B = Bridge(Data);
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        sd_bus_message* Reply = nullptr;
        int Result = sd_bus_message_new_method_return(M, &Reply);
        if (Result >= 0) Result = sd_bus_message_open_container(Reply, 'a', "(so)");
        const int Count = std::min(R.Node->GetChildCount(), MaxChildrenListed);
        for (int I = 0; Result >= 0 && I < Count; ++I)
            if (const auto Child = R.Node->GetChild(I))
                Result = AppendRef(Reply, B, ChildId(B, R.Id, I, *Child));
        if (Result >= 0) Result = sd_bus_message_close_container(Reply);
        if (Result >= 0) Result = sd_bus_send(nullptr, Reply, nullptr);
        sd_bus_message_unref(Reply);
        return Result;
    }
    static int GetIndexInParent(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TAtspiBridge* B = Bridge(Data);
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        return sd_bus_reply_method_return(M, "i", R.Id == RootId ? -1 : B->FEntries[R.Id].Index);
    }
    // A label's LABEL_FOR its FocusControl and the control's LABELLED_BY
    // its labels; a target that is not in the shown tree is left out.
    static int GetRelationSet(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TAtspiBridge* B = Bridge(Data);
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        const std::pair<unsigned, std::vector<TControl*>> Relations[] = {
            {atspi_relation::LabelFor, R.Node->GetLabelFor()},
            {atspi_relation::LabelledBy, R.Node->GetLabelledBy()},
        };
        sd_bus_message* Reply = nullptr;
        int Result = sd_bus_message_new_method_return(M, &Reply);
        if (Result >= 0) Result = sd_bus_message_open_container(Reply, 'a', "(ua(so))");
        for (const auto& [Type, Targets] : Relations) {
            std::vector<std::uint64_t> Ids;
            for (TControl* Target : Targets)
                if (std::uint64_t Id = RootId; IdOfControl(B, Target, Id)) Ids.push_back(Id);
            if (Ids.empty() || Result < 0) continue;
            Result = sd_bus_message_open_container(Reply, 'r', "ua(so)");
            if (Result >= 0) Result = sd_bus_message_append(Reply, "u", Type);
            if (Result >= 0) Result = sd_bus_message_open_container(Reply, 'a', "(so)");
            for (const std::uint64_t Id : Ids)
                if (Result >= 0) Result = AppendRef(Reply, B, Id);
            if (Result >= 0) Result = sd_bus_message_close_container(Reply);
            if (Result >= 0) Result = sd_bus_message_close_container(Reply);
        }
        if (Result >= 0) Result = sd_bus_message_close_container(Reply);
        if (Result >= 0) Result = sd_bus_send(nullptr, Reply, nullptr);
        sd_bus_message_unref(Reply);
        return Result;
    }
    static unsigned RoleOf(const TResolved& R) {
        return R.Id == RootId ? atspi_role::Application : AtspiRole(R.Node->GetRole());
    }
    static int GetRole(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        return sd_bus_reply_method_return(M, "u", RoleOf(R));
    }
    // The role's name as the bus names the role GetRole gives (a form is a
    // "frame", an edit box an "entry"), so that a reader's words and its
    // role numbers agree.
    static const char* BusRoleName(unsigned Role) {
        static const std::pair<unsigned, const char*> Names[] = {
            {atspi_role::CheckBox, "check box"},
            {atspi_role::ColumnHeader, "column header"},
            {atspi_role::Frame, "frame"},
            {atspi_role::Image, "image"},
            {atspi_role::Label, "label"},
            {atspi_role::List, "list"},
            {atspi_role::ListItem, "list item"},
            {atspi_role::PageTab, "page tab"},
            {atspi_role::PageTabList, "page tab list"},
            {atspi_role::Panel, "panel"},
            {atspi_role::ProgressBar, "progress bar"},
            {atspi_role::PushButton, "push button"},
            {atspi_role::RadioButton, "radio button"},
            {atspi_role::ScrollBar, "scroll bar"},
            {atspi_role::ScrollPane, "scroll pane"},
            {atspi_role::Separator, "separator"},
            {atspi_role::Slider, "slider"},
            {atspi_role::SpinButton, "spin button"},
            {atspi_role::StatusBar, "status bar"},
            {atspi_role::Table, "table"},
            {atspi_role::TableCell, "table cell"},
            {atspi_role::ToggleButton, "toggle button"},
            {atspi_role::ToolBar, "tool bar"},
            {atspi_role::Tree, "tree"},
            {atspi_role::Application, "application"},
            {atspi_role::Entry, "entry"},
            {atspi_role::Chart, "chart"},
            {atspi_role::TreeItem, "tree item"},
            {atspi_role::Grouping, "grouping"},
        };
        for (const auto& [Number, Name] : Names)
            if (Number == Role) return Name;
        return "unknown";
    }
    static int GetRoleName(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        return sd_bus_reply_method_return(M, "s", BusRoleName(RoleOf(R)));
    }
    static TAtspiStateSet StatesOf(const TResolved& R) {
        if (R.Id == RootId) return AtspiApplicationStates();
        TAtspiStateSet Set =
            AtspiStates(R.Node->GetRole(), R.Node->GetStates(), !R.Node->GetDescription().empty());
        // The form that has the keyboard is the active window.
        if (Screen && R.Node->GetKey() &&
            R.Node->GetKey() == static_cast<const void*>(Screen->GetActiveForm()))
            Set[0] |= 1u << atspi_state::Active;
        return Set;
    }
    static int GetState(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        const TAtspiStateSet Set = StatesOf(R);
        return sd_bus_reply_method_return(M, "au", 2, Set[0], Set[1]);
    }
    static int GetAttributes(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        if (!Resolve(M, Data)) return Gone(Error);
        return sd_bus_reply_method_return(M, "a{ss}", 1, "toolkit", "Folio");
    }
    static int GetApplication(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        if (!Resolve(M, Data)) return Gone(Error);
        return ReplyRef(M, Bridge(Data), RootId);
    }
    static std::vector<const char*> InterfacesOf(const TResolved& R) {
        if (R.Id == RootId) return {atspi_interface::Accessible, atspi_interface::Application};
        TAccRange Range;
        TAccCaret Caret;
        return AtspiInterfaces(R.Node->GetRole(), static_cast<int>(R.Node->GetActions().size()),
                               R.Node->GetRange(Range), R.Node->GetCaret(Caret));
    }
    static int AppendStrings(sd_bus_message* Reply, const std::vector<const char*>& Names) {
        int Result = sd_bus_message_open_container(Reply, 'a', "s");
        for (const char* Name : Names)
            if (Result >= 0) Result = sd_bus_message_append(Reply, "s", Name);
        if (Result >= 0) Result = sd_bus_message_close_container(Reply);
        return Result;
    }
    static int GetInterfaces(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        sd_bus_message* Reply = nullptr;
        int Result = sd_bus_message_new_method_return(M, &Reply);
        if (Result >= 0) Result = AppendStrings(Reply, InterfacesOf(R));
        if (Result >= 0) Result = sd_bus_send(nullptr, Reply, nullptr);
        sd_bus_message_unref(Reply);
        return Result;
    }

    // --- Cache -----------------------------------------------------------------------

    // One object as the cache tells it: itself, the application, its
    // parent, its place, how many children, its interfaces, name, role,
    // description and states.
    static int AppendItem(sd_bus_message* Reply, TAtspiBridge* B, const TResolved& R) {
        int Result = sd_bus_message_open_container(Reply, 'r', "(so)(so)(so)iiassusau");
        if (Result >= 0) Result = AppendRef(Reply, B, R.Id);
        if (Result >= 0) Result = AppendRef(Reply, B, RootId);
        if (Result >= 0) {
            if (R.Id != RootId)
                Result = AppendRef(Reply, B, B->FEntries[R.Id].Parent);
            else if (B->FSocketName.empty())
                Result = sd_bus_message_append(Reply, "(so)", "", NullPath);
            else
                Result = sd_bus_message_append(Reply, "(so)", B->FSocketName.c_str(),
                                               B->FSocketPath.c_str());
        }
        const int Index = R.Id == RootId ? -1 : B->FEntries[R.Id].Index;
        if (Result >= 0)
            Result = sd_bus_message_append(Reply, "ii", Index, R.Node->GetChildCount());
        if (Result >= 0) Result = AppendStrings(Reply, InterfacesOf(R));
        const TAtspiStateSet States = StatesOf(R);
        if (Result >= 0)
            Result = sd_bus_message_append(Reply, "susau", AtspiText(R.Node->GetName()).c_str(),
                                           RoleOf(R), AtspiText(R.Node->GetDescription()).c_str(),
                                           2, States[0], States[1]);
        if (Result >= 0) Result = sd_bus_message_close_container(Reply);
        return Result;
    }
    // The whole shown tree in one answer, breadth first: at most
    // MaxChildrenListed children of a node and MaxCacheItems in all.
    static int GetItems(sd_bus_message* M, void* Data, sd_bus_error*) {
        TAtspiBridge* B = Bridge(Data);
        sd_bus_message* Reply = nullptr;
        int Result = sd_bus_message_new_method_return(M, &Reply);
        if (Result >= 0)
            Result = sd_bus_message_open_container(Reply, 'a', "((so)(so)(so)iiassusau)");
        std::vector<TResolved> Level(1);
        Level[0].Node = Node(B, RootId);
        int Told = 0;
        while (!Level.empty() && Result >= 0) {
            std::vector<TResolved> Next;
            for (const TResolved& R : Level) {
                if (Result < 0 || Told >= MaxCacheItems) break;
                Result = AppendItem(Reply, B, R);
                ++Told;
                const int Count = std::min(R.Node->GetChildCount(), MaxChildrenListed);
                for (int I = 0; I < Count; ++I)
                    if (auto Child = R.Node->GetChild(I)) {
                        TResolved C;
                        C.Id = ChildId(B, R.Id, I, *Child);
                        C.Node = std::move(Child);
                        Next.push_back(std::move(C));
                    }
            }
            if (Told >= MaxCacheItems) break;
            Level = std::move(Next);
        }
        if (Result >= 0) Result = sd_bus_message_close_container(Reply);
        if (Result >= 0) Result = sd_bus_send(nullptr, Reply, nullptr);
        sd_bus_message_unref(Reply);
        return Result;
    }
    // AddAccessible for the children of a node whose children changed, so a
    // client's copy of the tree follows; RemoveAccessible for the objects
    // that were forgotten as gone.
    static void EmitAdded(TAtspiBridge* B, std::uint64_t Id, const TAccessible& Parent) {
        const int Count = std::min(Parent.GetChildCount(), MaxChildrenListed);
        for (int I = 0; I < Count; ++I) {
            auto Child = Parent.GetChild(I);
            if (!Child) continue;
            TResolved R;
            R.Id = ChildId(B, Id, I, *Child);
            R.Node = std::move(Child);
            sd_bus_message* Signal = nullptr;
            int Result = sd_bus_message_new_signal(B->FBus->Bus(), &Signal, CachePath,
                                                   CacheInterface, "AddAccessible");
            if (Result >= 0) Result = AppendItem(Signal, B, R);
            if (Result >= 0) sd_bus_send(nullptr, Signal, nullptr);
            sd_bus_message_unref(Signal);
        }
    }
    static void EmitRemoved(TAtspiBridge* B, std::uint64_t Id) {
        sd_bus_message* Signal = nullptr;
        int Result = sd_bus_message_new_signal(B->FBus->Bus(), &Signal, CachePath, CacheInterface,
                                               "RemoveAccessible");
        if (Result >= 0) Result = AppendRef(Signal, B, Id);
        if (Result >= 0) sd_bus_send(nullptr, Signal, nullptr);
        sd_bus_message_unref(Signal);
    }

    // --- Component -------------------------------------------------------------------

    // The top-left corners a Component call measures from: the form's for
    // window coordinates and the parent's for parent coordinates.
    static void Origins(TAtspiBridge* B, std::uint64_t Id, TPoint& Window, TPoint& Parent) {
        Window = Parent = TPoint{0, 0};
        const std::uint64_t ParentId = B->FEntries[Id].Parent;
        if (ParentId != RootId)
            if (const auto P = Node(B, ParentId))
                Parent = Point(P->GetBounds().Left, P->GetBounds().Top);
        std::uint64_t Form = Id;
        while (B->FEntries[Form].Parent != RootId) Form = B->FEntries[Form].Parent;
        if (const auto F = Node(B, Form)) Window = Point(F->GetBounds().Left, F->GetBounds().Top);
    }
    static TRect Extents(TAtspiBridge* B, const TResolved& R, unsigned Kind) {
        TPoint Window, Parent;
        Origins(B, R.Id, Window, Parent);
        return AtspiExtents(R.Node->GetBounds(), Kind, Window, Parent);
    }

    static int Contains(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int X = 0, Y = 0;
        unsigned Kind = 0;
        if (const int Read = sd_bus_message_read(M, "iiu", &X, &Y, &Kind); Read < 0) return Read;
        return sd_bus_reply_method_return(M, "b", Inside(Extents(Bridge(Data), R, Kind), X, Y));
    }
    static int GetAccessibleAtPoint(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TAtspiBridge* B = Bridge(Data);
        TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int X = 0, Y = 0;
        unsigned Kind = 0;
        if (const int Read = sd_bus_message_read(M, "iiu", &X, &Y, &Kind); Read < 0) return Read;
        // The point in screen coordinates, then down the tree to the deepest
        // shown object under it; later siblings lie on top of earlier ones.
        TPoint Window, Parent;
        Origins(B, R.Id, Window, Parent);
        const TPoint Origin = Kind == 1 ? Window : Kind == 2 ? Parent : TPoint{0, 0};
        X += Origin.X;
        Y += Origin.Y;
        if (!Inside(R.Node->GetBounds(), X, Y)) return ReplyNullRef(M);
        std::uint64_t Id = R.Id;
        std::unique_ptr<TAccessible> Node = std::move(R.Node);
        for (bool Deeper = true; Deeper;) {
            Deeper = false;
            for (int I = Node->GetChildCount() - 1; I >= 0; --I) {
                auto Child = Node->GetChild(I);
                if (!Child || (Child->GetStates() & (asInvisible | asOffscreen)) ||
                    !Inside(Child->GetBounds(), X, Y))
                    continue;
                Id = ChildId(B, Id, I, *Child);
                Node = std::move(Child);
                Deeper = true;
                break;
            }
        }
        return ReplyRef(M, B, Id);
    }
    static int GetExtents(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        unsigned Kind = 0;
        if (const int Read = sd_bus_message_read(M, "u", &Kind); Read < 0) return Read;
        const TRect E = Extents(Bridge(Data), R, Kind);
        return sd_bus_reply_method_return(M, "(iiii)", E.Left, E.Top, E.Width(), E.Height());
    }
    static int GetPosition(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        unsigned Kind = 0;
        if (const int Read = sd_bus_message_read(M, "u", &Kind); Read < 0) return Read;
        const TRect E = Extents(Bridge(Data), R, Kind);
        return sd_bus_reply_method_return(M, "ii", E.Left, E.Top);
    }
    static int GetSize(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        const TRect E = R.Node->GetBounds();
        return sd_bus_reply_method_return(M, "ii", E.Width(), E.Height());
    }
    static int GetLayer(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        const bool Form = Bridge(Data)->FEntries[R.Id].Parent == RootId;
        return sd_bus_reply_method_return(M, "u", Form ? LayerWindow : LayerWidget);
    }
    static int GetMDIZOrder(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        if (!Resolve(M, Data)) return Gone(Error);
        return sd_bus_reply_method_return(M, "n", static_cast<std::int16_t>(-1));
    }
    static int GetAlpha(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        if (!Resolve(M, Data)) return Gone(Error);
        return sd_bus_reply_method_return(M, "d", 1.0);
    }
    static int GrabFocus(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        return sd_bus_reply_method_return(M, "b", R.Node->GrabFocus());
    }

    // --- Action ----------------------------------------------------------------------

    static int NActions(sd_bus*, const char* Path, const char*, const char*, sd_bus_message* Reply,
                        void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R) return Gone(Error);
        return sd_bus_message_append(Reply, "i", static_cast<int>(R.Node->GetActions().size()));
    }
    // The action at the index the message holds, or an error.
    static int ActionAt(sd_bus_message* M, void* Data, sd_bus_error* Error, TResolved& R,
                        int& Index, String& Action) {
        R = Resolve(M, Data);
        if (!R) return Gone(Error);
        if (const int Read = sd_bus_message_read(M, "i", &Index); Read < 0) return Read;
        const auto Actions = R.Node->GetActions();
        if (Index < 0 || Index >= static_cast<int>(Actions.size()))
            return sd_bus_error_setf(Error, InvalidArgs, "No action at index %d", Index);
        Action = Actions[static_cast<size_t>(Index)];
        return 0;
    }
    static int GetActionName(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TResolved R;
        int Index = 0;
        String Action;
        if (const int Failed = ActionAt(M, Data, Error, R, Index, Action); Failed < 0)
            return Failed;
        return sd_bus_reply_method_return(M, "s", AtspiText(Action).c_str());
    }
    static int GetActionEmpty(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TResolved R;
        int Index = 0;
        String Action;
        if (const int Failed = ActionAt(M, Data, Error, R, Index, Action); Failed < 0)
            return Failed;
        return sd_bus_reply_method_return(M, "s", "");
    }
    static int GetActions(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        sd_bus_message* Reply = nullptr;
        int Result = sd_bus_message_new_method_return(M, &Reply);
        if (Result >= 0) Result = sd_bus_message_open_container(Reply, 'a', "(sss)");
        for (const String& Action : R.Node->GetActions())
            if (Result >= 0)
                Result = sd_bus_message_append(Reply, "(sss)", AtspiText(Action).c_str(), "", "");
        if (Result >= 0) Result = sd_bus_message_close_container(Reply);
        if (Result >= 0) Result = sd_bus_send(nullptr, Reply, nullptr);
        sd_bus_message_unref(Reply);
        return Result;
    }
    static int DoAction(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TAtspiBridge* B = Bridge(Data);
        TResolved R;
        int Index = 0;
        String Action;
        if (const int Failed = ActionAt(M, Data, Error, R, Index, Action); Failed < 0)
            return Failed;
        const bool Enabled = !(R.Node->GetStates() & asDisabled);
        if (Enabled) {
            // The node is found again when the action runs: the object may
            // be gone by then.
            Application->QueueAfterIdle(
                [Alive = std::weak_ptr<int>(B->FAlive), B, Id = R.Id, Action] {
                    if (Alive.expired()) return;
                    if (auto Node = THandlers::Node(B, Id)) Node->DoAction(Action);
                });
        }
        return sd_bus_reply_method_return(M, "b", Enabled);
    }

    // --- Text ------------------------------------------------------------------------

    // A label's text is its name; an edit box's is what it holds.
    static String TextOf(const TAccessible& Node) {
        return Node.GetRole() == TAccRole::Text ? Node.GetValue() : Node.GetName();
    }
    static int CharacterCount(sd_bus*, const char* Path, const char*, const char*,
                              sd_bus_message* Reply, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R) return Gone(Error);
        return sd_bus_message_append(Reply, "i", AtspiCharCount(TextOf(*R.Node)));
    }
    static int CaretOffset(sd_bus*, const char* Path, const char*, const char*,
                           sd_bus_message* Reply, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R) return Gone(Error);
        // A label has no caret: the bus's answer for that is -1.
        TAccCaret Caret;
        const int Offset =
            R.Node->GetCaret(Caret) ? AtspiCharOffset(TextOf(*R.Node), Caret.Caret) : -1;
        return sd_bus_message_append(Reply, "i", Offset);
    }
    static int GetText(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Start = 0, End = -1;
        if (const int Read = sd_bus_message_read(M, "ii", &Start, &End); Read < 0) return Read;
        return sd_bus_reply_method_return(M, "s",
                                          AtspiSubText(TextOf(*R.Node), Start, End).c_str());
    }
    static int GetCharacterAtOffset(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Offset = 0;
        if (const int Read = sd_bus_message_read(M, "i", &Offset); Read < 0) return Read;
        return sd_bus_reply_method_return(
            M, "i", static_cast<std::int32_t>(AtspiCharAt(TextOf(*R.Node), Offset)));
    }
    // GetTextAtOffset counts boundaries (0 character, 1 and 2 word starts and
    // ends, then sentences and lines), GetStringAtOffset granularities (0
    // character, 1 word, then sentence, line, paragraph).
    static int TextAt(sd_bus_message* M, void* Data, sd_bus_error* Error, bool Boundaries) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Offset = 0;
        unsigned Kind = 0;
        if (const int Read = sd_bus_message_read(M, "iu", &Offset, &Kind); Read < 0) return Read;
        if (Boundaries) Kind = Kind == 0 ? 0 : Kind <= 2 ? 1 : 2;
        int Start = 0, End = 0;
        const String Text = AtspiTextAt(TextOf(*R.Node), Offset, Kind, Start, End);
        return sd_bus_reply_method_return(M, "sii", Text.c_str(), Start, End);
    }
    static int GetTextAtOffset(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        return TextAt(M, Data, Error, true);
    }
    static int GetStringAtOffset(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        return TextAt(M, Data, Error, false);
    }
    // An edit box has one selection at most: selection 0, in characters.
    static bool SelectionOf(const TAccessible& Node, int& Start, int& End) {
        TAccCaret Caret;
        if (!Node.GetCaret(Caret) || Caret.SelStart == Caret.SelEnd) return false;
        const String Text = TextOf(Node);
        Start = AtspiCharOffset(Text, Caret.SelStart);
        End = AtspiCharOffset(Text, Caret.SelEnd);
        return true;
    }
    static int GetNSelections(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Start = 0, End = 0;
        return sd_bus_reply_method_return(M, "i", SelectionOf(*R.Node, Start, End) ? 1 : 0);
    }
    static int GetSelection(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Nth = 0, Start = 0, End = 0;
        if (const int Read = sd_bus_message_read(M, "i", &Nth); Read < 0) return Read;
        if (Nth != 0 || !SelectionOf(*R.Node, Start, End)) Start = End = 0;
        return sd_bus_reply_method_return(M, "ii", Start, End);
    }
    // Selects characters Start..End; the caret goes to End.
    static bool Select(TAccessible& Node, int Start, int End) {
        const String Text = TextOf(Node);
        return Node.SetTextSelection(AtspiByteOffset(Text, Start), AtspiByteOffset(Text, End));
    }
    static int SetCaretOffset(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Offset = 0;
        if (const int Read = sd_bus_message_read(M, "i", &Offset); Read < 0) return Read;
        return sd_bus_reply_method_return(M, "b", Select(*R.Node, Offset, Offset));
    }
    // AddSelection (start, end) and SetSelection (0, start, end) choose the
    // one selection there is; RemoveSelection (0) leaves the caret where it is.
    static int AddSelection(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Start = 0, End = 0;
        if (const int Read = sd_bus_message_read(M, "ii", &Start, &End); Read < 0) return Read;
        int Old = 0;
        const bool Free = !SelectionOf(*R.Node, Old, Old);
        return sd_bus_reply_method_return(M, "b", Free && Select(*R.Node, Start, End));
    }
    static int SetSelection(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Nth = 0, Start = 0, End = 0;
        if (const int Read = sd_bus_message_read(M, "iii", &Nth, &Start, &End); Read < 0)
            return Read;
        return sd_bus_reply_method_return(M, "b", Nth == 0 && Select(*R.Node, Start, End));
    }
    static int RemoveSelection(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Nth = 0;
        if (const int Read = sd_bus_message_read(M, "i", &Nth); Read < 0) return Read;
        TAccCaret Caret;
        const bool Had = Nth == 0 && R.Node->GetCaret(Caret) && Caret.SelStart != Caret.SelEnd;
        if (Had) R.Node->SetTextSelection(Caret.Caret, Caret.Caret);
        return sd_bus_reply_method_return(M, "b", Had);
    }

    // --- EditableText ------------------------------------------------------------------

    // An edit that the user could make now; it runs on the loop's next turn,
    // like an action, on the text as it is then: characters Start..End (End
    // -1: to the end) give way to Text.
    static bool CanEdit(const TResolved& R) {
        TAccCaret Caret;
        return R.Node->GetCaret(Caret) && !(R.Node->GetStates() & (asReadOnly | asDisabled));
    }
    static int Edit(sd_bus_message* M, TAtspiBridge* B, const TResolved& R, int Start, int End,
                    String Text) {
        const bool Can = CanEdit(R) && Start >= 0;
        if (Can) {
            Application->QueueAfterIdle([Alive = std::weak_ptr<int>(B->FAlive), B, Id = R.Id, Start,
                                         End, Text = std::move(Text)] {
                if (Alive.expired()) return;
                auto Node = THandlers::Node(B, Id);
                if (!Node) return;
                const String Old = TextOf(*Node);
                const int To = End < 0 ? static_cast<int>(Old.size()) : AtspiByteOffset(Old, End);
                const int From = std::min(AtspiByteOffset(Old, Start), To);
                Node->ReplaceText(From, To, Text);
            });
        }
        return sd_bus_reply_method_return(M, "b", Can);
    }
    static int SetTextContents(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        const char* Text = nullptr;
        if (const int Read = sd_bus_message_read(M, "s", &Text); Read < 0) return Read;
        return Edit(M, Bridge(Data), R, 0, -1, Text);
    }
    static int InsertText(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Position = 0, Length = 0;
        const char* Text = nullptr;
        if (const int Read = sd_bus_message_read(M, "isi", &Position, &Text, &Length); Read < 0)
            return Read;
        // Length counts the characters of Text to insert; -1 or more than
        // it has takes it all.
        String Insert = Text;
        if (Length >= 0) Insert.resize(static_cast<size_t>(AtspiByteOffset(Insert, Length)));
        return Edit(M, Bridge(Data), R, Position, std::max(Position, 0), std::move(Insert));
    }
    // The characters a call names, Start..End (End -1: to the end), in order.
    static int ReadSpan(sd_bus_message* M, int& Start, int& End) {
        if (const int Read = sd_bus_message_read(M, "ii", &Start, &End); Read < 0) return Read;
        if (End >= 0 && End < Start) std::swap(Start, End);
        return 0;
    }
    static int DeleteText(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Start = 0, End = 0;
        if (const int Failed = ReadSpan(M, Start, End); Failed < 0) return Failed;
        return Edit(M, Bridge(Data), R, Start, End, String());
    }
    // A copy changes nothing on the screen, so it is made at once, from the
    // text as the client sees it now; the clipboard is the one the user's
    // Ctrl+C fills.
    static void Copy(const TResolved& R, int Start, int End) {
        const String Text = AtspiSubText(TextOf(*R.Node), Start, End);
        if (!Text.empty()) Clipboard()->SetAsText(Text);
    }
    static int CopyText(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Start = 0, End = 0;
        if (const int Failed = ReadSpan(M, Start, End); Failed < 0) return Failed;
        if (Start >= 0) Copy(R, Start, End);
        return sd_bus_reply_method_return(M, "");
    }
    // A cut is a copy and a delete; a box the user could not edit now
    // keeps its text and the clipboard its own, as its Ctrl+X would.
    static int CutText(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Start = 0, End = 0;
        if (const int Failed = ReadSpan(M, Start, End); Failed < 0) return Failed;
        if (Start >= 0 && CanEdit(R)) Copy(R, Start, End);
        return Edit(M, Bridge(Data), R, Start, End, String());
    }
    // The clipboard's text as it is now goes in at Position as typing puts
    // it; a box of one line takes its first line, as the user's paste does.
    static int PasteText(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Position = 0;
        if (const int Read = sd_bus_message_read(M, "i", &Position); Read < 0) return Read;
        String Text = Clipboard()->GetAsText();
        if (!(R.Node->GetStates() & asMultiLine))
            if (const size_t Cut = Text.find_first_of("\r\n"); Cut != String::npos)
                Text.resize(Cut);
        return Edit(M, Bridge(Data), R, Position, std::max(Position, 0), std::move(Text));
    }

    // --- Value -----------------------------------------------------------------------

    static int RangeValue(const char* Path, void* Data, sd_bus_message* Reply, sd_bus_error* Error,
                          double TAccRange::*Field) {
        const TResolved R = Resolve(Bridge(Data), Path);
        TAccRange Range;
        if (!R || !R.Node->GetRange(Range)) return Gone(Error);
        return sd_bus_message_append(Reply, "d", Range.*Field);
    }
    static int MinimumValue(sd_bus*, const char* Path, const char*, const char*,
                            sd_bus_message* Reply, void* Data, sd_bus_error* Error) {
        return RangeValue(Path, Data, Reply, Error, &TAccRange::Min);
    }
    static int MaximumValue(sd_bus*, const char* Path, const char*, const char*,
                            sd_bus_message* Reply, void* Data, sd_bus_error* Error) {
        return RangeValue(Path, Data, Reply, Error, &TAccRange::Max);
    }
    static int MinimumIncrement(sd_bus*, const char* Path, const char*, const char*,
                                sd_bus_message* Reply, void* Data, sd_bus_error* Error) {
        return RangeValue(Path, Data, Reply, Error, &TAccRange::Step);
    }
    static int CurrentValue(sd_bus*, const char* Path, const char*, const char*,
                            sd_bus_message* Reply, void* Data, sd_bus_error* Error) {
        return RangeValue(Path, Data, Reply, Error, &TAccRange::Current);
    }
    static int SetCurrentValue(sd_bus*, const char* Path, const char*, const char*,
                               sd_bus_message* Value, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R) return Gone(Error);
        double Wanted = 0;
        if (const int Read = sd_bus_message_read(Value, "d", &Wanted); Read < 0) return Read;
        if (!std::isfinite(Wanted) || !R.Node->SetRangeValue(Wanted))
            return sd_bus_error_set(Error, "org.freedesktop.DBus.Error.PropertyReadOnly",
                                    "The value cannot be set");
        return 0;
    }
    static int ValueText(sd_bus*, const char* Path, const char*, const char*, sd_bus_message* Reply,
                         void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R) return Gone(Error);
        return sd_bus_message_append(Reply, "s", AtspiText(R.Node->GetValue()).c_str());
    }

    // --- Selection ---------------------------------------------------------------------

    // The indices of the selected children.
    static std::vector<int> Selected(const TAccessible& Node) {
        std::vector<int> Indices;
        const int Count = Node.GetChildCount();
        for (int I = 0; I < Count; ++I)
            if (const auto Child = Node.GetChild(I); Child && (Child->GetStates() & asSelected))
                Indices.push_back(I);
        return Indices;
    }
    static int NSelectedChildren(sd_bus*, const char* Path, const char*, const char*,
                                 sd_bus_message* Reply, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R) return Gone(Error);
        return sd_bus_message_append(Reply, "i", static_cast<int>(Selected(*R.Node).size()));
    }
    static int GetSelectedChild(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TAtspiBridge* B = Bridge(Data);
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Nth = 0;
        if (const int Read = sd_bus_message_read(M, "i", &Nth); Read < 0) return Read;
        const auto Indices = Selected(*R.Node);
        if (Nth < 0 || Nth >= static_cast<int>(Indices.size())) return ReplyNullRef(M);
        const int Index = Indices[static_cast<size_t>(Nth)];
        const auto Child = R.Node->GetChild(Index);
        return ReplyRef(M, B, ChildId(B, R.Id, Index, *Child));
    }
    static int IsChildSelected(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Index = 0;
        if (const int Read = sd_bus_message_read(M, "i", &Index); Read < 0) return Read;
        const auto Child = R.Node->GetChild(Index);
        return sd_bus_reply_method_return(M, "b", Child && (Child->GetStates() & asSelected));
    }
    // Choosing a child is what the user's press on it does (a bar's group
    // opens); like every action it runs on the loop's next turn.
    static int SelectChild(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TAtspiBridge* B = Bridge(Data);
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Index = 0;
        if (const int Read = sd_bus_message_read(M, "i", &Index); Read < 0) return Read;
        const auto Child = R.Node->GetChild(Index);
        if (!Child) return sd_bus_error_setf(Error, InvalidArgs, "No child at index %d", Index);
        const auto Actions = Child->GetActions();
        const bool Can = (Child->GetStates() & asSelectable) &&
                         !(Child->GetStates() & asDisabled) && !Actions.empty();
        if (Can && !(Child->GetStates() & asSelected))
            B->RunLater(ChildId(B, R.Id, Index, *Child), Actions.front());
        return sd_bus_reply_method_return(M, "b", Can);
    }
    static int Refuse(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        if (!Resolve(M, Data)) return Gone(Error);
        return sd_bus_reply_method_return(M, "b", 0);
    }

    // --- Application -----------------------------------------------------------------

    static int ToolkitName(sd_bus*, const char*, const char*, const char*, sd_bus_message* Reply,
                           void*, sd_bus_error*) {
        return sd_bus_message_append(Reply, "s", "Folio");
    }
    static int Version(sd_bus*, const char*, const char*, const char*, sd_bus_message* Reply, void*,
                       sd_bus_error*) {
        return sd_bus_message_append(Reply, "s", "1.0");
    }
    static int AtspiVersion(sd_bus*, const char*, const char*, const char*, sd_bus_message* Reply,
                            void*, sd_bus_error*) {
        return sd_bus_message_append(Reply, "s", "2.1");
    }
    static int GetId(sd_bus*, const char*, const char*, const char*, sd_bus_message* Reply,
                     void* Data, sd_bus_error*) {
        return sd_bus_message_append(Reply, "i", Bridge(Data)->FApplicationId);
    }
    static int SetId(sd_bus*, const char*, const char*, const char*, sd_bus_message* Value,
                     void* Data, sd_bus_error*) {
        return sd_bus_message_read(Value, "i", &Bridge(Data)->FApplicationId);
    }
    static int GetLocale(sd_bus_message* M, void*, sd_bus_error*) {
        return sd_bus_reply_method_return(M, "s", LocaleName());
    }
    static int GetApplicationBusAddress(sd_bus_message* M, void*, sd_bus_error*) {
        // The program offers no private peer-to-peer bus.
        return sd_bus_reply_method_return(M, "s", "");
    }

    // --- events ----------------------------------------------------------------------

    // The id of the node a change names, found from the root down by keys;
    // false when it is not in the shown tree (any more).
    // The keys from the form down to Control.
    static std::vector<const void*> ChainOf(TControl* Control) {
        std::vector<const void*> Chain;
        for (TControl* C = Control; C; C = C->GetParent()) Chain.push_back(C);
        std::reverse(Chain.begin(), Chain.end());
        return Chain;
    }
    // The id of a control's node; false when it is not in the shown tree.
    static bool IdOfControl(TAtspiBridge* B, TControl* Control, std::uint64_t& Id) {
        TPending Change;
        Change.Chain = ChainOf(Control);
        Change.Key = Control;
        return !Change.Chain.empty() && IdOfChange(B, Change, Id);
    }

    static bool IdOfChange(TAtspiBridge* B, const TPending& Change, std::uint64_t& Id) {
        Id = RootId;
        std::unique_ptr<TAccessible> At = std::make_unique<TApplicationNode>();
        const auto Down = [&](const void* Key, int Depth) {
            // Breadth first over at most Depth levels below At.
            std::vector<std::pair<std::uint64_t, std::unique_ptr<TAccessible>>> Level;
            Level.emplace_back(Id, std::move(At));
            for (int D = 0; D < Depth; ++D) {
                std::vector<std::pair<std::uint64_t, std::unique_ptr<TAccessible>>> Next;
                for (auto& [ParentId, Parent] : Level) {
                    const int Count = Parent->GetChildCount();
                    for (int I = 0; I < Count; ++I) {
                        auto Child = Parent->GetChild(I);
                        if (!Child) continue;
                        if (Child->GetKey() == Key) {
                            Id = ChildId(B, ParentId, I, *Child);
                            At = std::move(Child);
                            return true;
                        }
                        if (D + 1 < Depth)
                            Next.emplace_back(ChildId(B, ParentId, I, *Child), std::move(Child));
                    }
                }
                Level = std::move(Next);
            }
            return false;
        };
        for (const void* Key : Change.Chain)
            if (!Down(Key, 1)) return false;
        // A part of the control (a group, an item) lies up to two levels below it.
        return Change.Key == Change.Chain.back() || Down(Change.Key, 2);
    }

    // Sends one event of the bus's Object events: its kind, two numbers and
    // a value; the last argument, a dictionary of properties, stays empty.
    template <typename TValue>
    static void Emit(TAtspiBridge* B, std::uint64_t Id, const char* Member, const char* Minor,
                     int Detail1, int Detail2, const char* ValueType, TValue Value) {
        sd_bus_message* M = nullptr;
        int Result = sd_bus_message_new_signal(B->FBus->Bus(), &M, B->PathOf(Id).c_str(),
                                               "org.a11y.atspi.Event.Object", Member);
        if (Result >= 0) Result = sd_bus_message_append(M, "sii", Minor, Detail1, Detail2);
        if (Result >= 0) Result = sd_bus_message_open_container(M, 'v', ValueType);
        if (Result >= 0) {
            if constexpr (std::is_same_v<TValue, std::uint64_t>)
                Result = Value == NoObject ? sd_bus_message_append(M, "(so)", "", NullPath)
                                           : AppendRef(M, B, Value);
            else
                Result = sd_bus_message_append(M, ValueType, Value);
        }
        if (Result >= 0) Result = sd_bus_message_close_container(M);
        if (Result >= 0) Result = sd_bus_message_append(M, "a{sv}", 0);
        if (Result >= 0) sd_bus_send(nullptr, M, nullptr);
        sd_bus_message_unref(M);
    }

    // --- start-up --------------------------------------------------------------------

    static int OnIsEnabled(sd_bus_message* M, void* Data, sd_bus_error*) {
        TAtspiBridge* B = Bridge(Data);
        B->FSessionCall = sd_bus_slot_unref(B->FSessionCall);
        // No accessibility service on the session bus: nothing to export to.
        if (sd_bus_message_is_method_error(M, nullptr)) return 0;
        int Enabled = 0;
        if (sd_bus_message_read(M, "v", "b", &Enabled) < 0 || !Enabled) return 0;
        B->AskAddress();
        return 0;
    }
    // The desktop turned accessibility on or off: org.a11y.Status's
    // PropertiesChanged on org.a11y.Bus.
    static int OnStatusChanged(sd_bus_message* M, void* Data, sd_bus_error*) {
        const char* Interface = nullptr;
        if (sd_bus_message_read(M, "s", &Interface) < 0 || !Interface ||
            std::strcmp(Interface, "org.a11y.Status") != 0 ||
            sd_bus_message_enter_container(M, 'a', "{sv}") < 0)
            return 0;
        while (sd_bus_message_enter_container(M, 'e', "sv") > 0) {
            const char* Name = nullptr;
            if (sd_bus_message_read(M, "s", &Name) < 0 || !Name) return 0;
            if (std::strcmp(Name, "IsEnabled") == 0) {
                int Enabled = 0;
                if (sd_bus_message_read(M, "v", "b", &Enabled) < 0) return 0;
                Bridge(Data)->Follow(Enabled != 0);
            } else if (sd_bus_message_skip(M, "v") < 0) {
                return 0;
            }
            if (sd_bus_message_exit_container(M) < 0) return 0;
        }
        return 0;
    }
    static int OnAddress(sd_bus_message* M, void* Data, sd_bus_error*) {
        TAtspiBridge* B = Bridge(Data);
        B->FSessionCall = sd_bus_slot_unref(B->FSessionCall);
        const char* Address = nullptr;
        if (sd_bus_message_is_method_error(M, nullptr) ||
            sd_bus_message_read(M, "s", &Address) < 0 || !Address)
            return 0;
        B->Connect(Address);
        return 0;
    }
    static int OnEmbedded(sd_bus_message* M, void* Data, sd_bus_error*) {
        TAtspiBridge* B = Bridge(Data);
        B->FEmbedCall = sd_bus_slot_unref(B->FEmbedCall);
        const char* Name = nullptr;
        const char* Path = nullptr;
        if (sd_bus_message_is_method_error(M, nullptr) ||
            sd_bus_message_read(M, "(so)", &Name, &Path) < 0 || !Name || !Path)
            return 0;
        B->FSocketName = Name;
        B->FSocketPath = Path;
        return 0;
    }
};

namespace {

using H = TAtspiBridge::THandlers;

const sd_bus_vtable AccessibleVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Name", "s", H::Name, 0, 0),
    SD_BUS_PROPERTY("Description", "s", H::Description, 0, 0),
    SD_BUS_PROPERTY("Parent", "(so)", H::Parent, 0, 0),
    SD_BUS_PROPERTY("ChildCount", "i", H::ChildCount, 0, 0),
    SD_BUS_PROPERTY("Locale", "s", H::Locale, 0, 0),
    SD_BUS_PROPERTY("AccessibleId", "s", H::EmptyString, 0, 0),
    SD_BUS_PROPERTY("HelpText", "s", H::EmptyString, 0, 0),
    SD_BUS_METHOD("GetChildAtIndex", "i", "(so)", H::GetChildAtIndex, 0),
    SD_BUS_METHOD("GetChildren", "", "a(so)", H::GetChildren, 0),
    SD_BUS_METHOD("GetIndexInParent", "", "i", H::GetIndexInParent, 0),
    SD_BUS_METHOD("GetRelationSet", "", "a(ua(so))", H::GetRelationSet, 0),
    SD_BUS_METHOD("GetRole", "", "u", H::GetRole, 0),
    SD_BUS_METHOD("GetRoleName", "", "s", H::GetRoleName, 0),
    SD_BUS_METHOD("GetLocalizedRoleName", "", "s", H::GetRoleName, 0),
    SD_BUS_METHOD("GetState", "", "au", H::GetState, 0),
    SD_BUS_METHOD("GetAttributes", "", "a{ss}", H::GetAttributes, 0),
    SD_BUS_METHOD("GetApplication", "", "(so)", H::GetApplication, 0),
    SD_BUS_METHOD("GetInterfaces", "", "as", H::GetInterfaces, 0),
    SD_BUS_VTABLE_END};

const sd_bus_vtable ComponentVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Contains", "iiu", "b", H::Contains, 0),
    SD_BUS_METHOD("GetAccessibleAtPoint", "iiu", "(so)", H::GetAccessibleAtPoint, 0),
    SD_BUS_METHOD("GetExtents", "u", "(iiii)", H::GetExtents, 0),
    SD_BUS_METHOD("GetPosition", "u", "ii", H::GetPosition, 0),
    SD_BUS_METHOD("GetSize", "", "ii", H::GetSize, 0),
    SD_BUS_METHOD("GetLayer", "", "u", H::GetLayer, 0),
    SD_BUS_METHOD("GetMDIZOrder", "", "n", H::GetMDIZOrder, 0),
    SD_BUS_METHOD("GrabFocus", "", "b", H::GrabFocus, 0),
    SD_BUS_METHOD("GetAlpha", "", "d", H::GetAlpha, 0),
    SD_BUS_VTABLE_END};

const sd_bus_vtable ActionVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("NActions", "i", H::NActions, 0, 0),
    SD_BUS_METHOD("GetDescription", "i", "s", H::GetActionEmpty, 0),
    SD_BUS_METHOD("GetName", "i", "s", H::GetActionName, 0),
    SD_BUS_METHOD("GetLocalizedName", "i", "s", H::GetActionName, 0),
    SD_BUS_METHOD("GetKeyBinding", "i", "s", H::GetActionEmpty, 0),
    SD_BUS_METHOD("GetActions", "", "a(sss)", H::GetActions, 0),
    SD_BUS_METHOD("DoAction", "i", "b", H::DoAction, 0),
    SD_BUS_VTABLE_END};

const sd_bus_vtable TextVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("CharacterCount", "i", H::CharacterCount, 0, 0),
    SD_BUS_PROPERTY("CaretOffset", "i", H::CaretOffset, 0, 0),
    SD_BUS_METHOD("GetText", "ii", "s", H::GetText, 0),
    SD_BUS_METHOD("GetCharacterAtOffset", "i", "i", H::GetCharacterAtOffset, 0),
    SD_BUS_METHOD("GetTextAtOffset", "iu", "sii", H::GetTextAtOffset, 0),
    SD_BUS_METHOD("GetStringAtOffset", "iu", "sii", H::GetStringAtOffset, 0),
    SD_BUS_METHOD("GetNSelections", "", "i", H::GetNSelections, 0),
    SD_BUS_METHOD("GetSelection", "i", "ii", H::GetSelection, 0),
    SD_BUS_METHOD("AddSelection", "ii", "b", H::AddSelection, 0),
    SD_BUS_METHOD("RemoveSelection", "i", "b", H::RemoveSelection, 0),
    SD_BUS_METHOD("SetSelection", "iii", "b", H::SetSelection, 0),
    SD_BUS_METHOD("SetCaretOffset", "i", "b", H::SetCaretOffset, 0),
    SD_BUS_VTABLE_END};

const sd_bus_vtable EditableTextVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("SetTextContents", "s", "b", H::SetTextContents, 0),
    SD_BUS_METHOD("InsertText", "isi", "b", H::InsertText, 0),
    SD_BUS_METHOD("DeleteText", "ii", "b", H::DeleteText, 0),
    SD_BUS_METHOD("CopyText", "ii", "", H::CopyText, 0),
    SD_BUS_METHOD("CutText", "ii", "b", H::CutText, 0),
    SD_BUS_METHOD("PasteText", "i", "b", H::PasteText, 0),
    SD_BUS_VTABLE_END};

const sd_bus_vtable ValueVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("MinimumValue", "d", H::MinimumValue, 0, 0),
    SD_BUS_PROPERTY("MaximumValue", "d", H::MaximumValue, 0, 0),
    SD_BUS_PROPERTY("MinimumIncrement", "d", H::MinimumIncrement, 0, 0),
    SD_BUS_WRITABLE_PROPERTY("CurrentValue", "d", H::CurrentValue, H::SetCurrentValue, 0, 0),
    SD_BUS_PROPERTY("Text", "s", H::ValueText, 0, 0),
    SD_BUS_VTABLE_END};

const sd_bus_vtable SelectionVtable[] = {
    SD_BUS_VTABLE_START(0), SD_BUS_PROPERTY("NSelectedChildren", "i", H::NSelectedChildren, 0, 0),
    SD_BUS_METHOD("GetSelectedChild", "i", "(so)", H::GetSelectedChild, 0),
    SD_BUS_METHOD("SelectChild", "i", "b", H::SelectChild, 0),
    SD_BUS_METHOD("IsChildSelected", "i", "b", H::IsChildSelected, 0),
    // Exactly one group is open at a time and a grid has one chosen cell:
    // nothing here takes a selection away or chooses all.
    SD_BUS_METHOD("DeselectSelectedChild", "i", "b", H::Refuse, 0),
    SD_BUS_METHOD("DeselectChild", "i", "b", H::Refuse, 0),
    SD_BUS_METHOD("SelectAll", "", "b", H::Refuse, 0),
    SD_BUS_METHOD("ClearSelection", "", "b", H::Refuse, 0), SD_BUS_VTABLE_END};

const sd_bus_vtable CacheVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("GetItems", "", "a((so)(so)(so)iiassusau)", H::GetItems, 0),
    SD_BUS_SIGNAL("AddAccessible", "((so)(so)(so)iiassusau)", 0),
    SD_BUS_SIGNAL("RemoveAccessible", "(so)", 0), SD_BUS_VTABLE_END};

const sd_bus_vtable ApplicationVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("ToolkitName", "s", H::ToolkitName, 0, 0),
    SD_BUS_PROPERTY("Version", "s", H::Version, 0, 0),
    SD_BUS_PROPERTY("AtspiVersion", "s", H::AtspiVersion, 0, 0),
    SD_BUS_WRITABLE_PROPERTY("Id", "i", H::GetId, H::SetId, 0, 0),
    SD_BUS_METHOD("GetLocale", "u", "s", H::GetLocale, 0),
    SD_BUS_METHOD("GetApplicationBusAddress", "", "s", H::GetApplicationBusAddress, 0),
    SD_BUS_VTABLE_END};

} // namespace

int TAtspiBridge::AccessibilityOverride() {
    const char* Value = std::getenv("FOLIO_ACCESSIBILITY");
    if (!Value || !*Value) return -1;
    return std::strcmp(Value, "0") == 0 ? 0 : 1;
}

std::unique_ptr<TAtspiBridge> TAtspiBridge::Start(TDBusConnection* Session) {
    const int Override = AccessibilityOverride();
    if (Override == 0 || !Session || !Session->Connected()) return nullptr;
    std::unique_ptr<TAtspiBridge> B(new TAtspiBridge);
    B->FSession = Session;
    if (Override == 1) {
        B->AskAddress();
    } else {
        // The desktop may turn accessibility on or off while the program
        // runs (a screen reader started or quit): the bridge follows.
        sd_bus_match_signal_async(Session->Bus(), &B->FStatusMatch, nullptr, A11yBusPath,
                                  "org.freedesktop.DBus.Properties", "PropertiesChanged",
                                  H::OnStatusChanged, nullptr, B.get());
        sd_bus_call_method_async(Session->Bus(), &B->FSessionCall, A11yBusName, A11yBusPath,
                                 "org.freedesktop.DBus.Properties", "Get", H::OnIsEnabled, B.get(),
                                 "ss", "org.a11y.Status", "IsEnabled");
        Session->Changed();
    }
    return B;
}

std::unique_ptr<TAtspiBridge> TAtspiBridge::Export(std::unique_ptr<TDBusConnection> Bus) {
    if (!Bus || !Bus->Connected()) return nullptr;
    std::unique_ptr<TAtspiBridge> B(new TAtspiBridge);
    B->Attach(std::move(Bus));
    return B;
}

TAtspiBridge::~TAtspiBridge() {
    if (FBus) {
        SetAccessibleEventListener(nullptr);
        SetAccessibleTextListener(nullptr);
    }
    sd_bus_slot_unref(FStatusMatch);
    sd_bus_slot_unref(FSessionCall);
    sd_bus_slot_unref(FEmbedCall);
    FBus.reset();
}

void TAtspiBridge::Follow(bool Enabled) {
    if (Enabled) {
        // A question already on its way (whether it is on, or where the
        // bus is) leads to the bus by itself.
        if (!FBus && !FSessionCall) AskAddress();
        return;
    }
    FSessionCall = sd_bus_slot_unref(FSessionCall);
    if (FBus) Detach();
}

void TAtspiBridge::Detach() {
    SetAccessibleEventListener(nullptr);
    SetAccessibleTextListener(nullptr);
    FPending.clear();
    FEmbedCall = sd_bus_slot_unref(FEmbedCall);
    FSocketName.clear();
    FSocketPath.clear();
    // Paths are never given twice: ids go on counting, so a client that
    // kept a path from before hears that its object is gone.
    FEntries.clear();
    FIds.clear();
    FBus.reset();
}

void TAtspiBridge::AskAddress() {
    sd_bus_slot_unref(FSessionCall);
    FSessionCall = nullptr;
    sd_bus_call_method_async(FSession->Bus(), &FSessionCall, A11yBusName, A11yBusPath, A11yBusName,
                             "GetAddress", H::OnAddress, this, "");
    FSession->Changed();
}

void TAtspiBridge::Connect(const String& Address) {
    if (FBus) return;
    if (auto Bus = TDBusConnection::OpenAddress(Address)) Attach(std::move(Bus));
}

void TAtspiBridge::Attach(std::unique_ptr<TDBusConnection> Bus) {
    FBus = std::move(Bus);
    sd_bus* B = FBus->Bus();
    // The vtables live as long as the connection (floating slots).
    sd_bus_add_fallback_vtable(B, nullptr, ObjectPrefix, atspi_interface::Accessible,
                               AccessibleVtable, H::FindAny, this);
    sd_bus_add_fallback_vtable(B, nullptr, ObjectPrefix, atspi_interface::Component,
                               ComponentVtable, H::FindControl, this);
    sd_bus_add_fallback_vtable(B, nullptr, ObjectPrefix, atspi_interface::Action, ActionVtable,
                               H::FindActions, this);
    sd_bus_add_fallback_vtable(B, nullptr, ObjectPrefix, atspi_interface::Text, TextVtable,
                               H::FindText, this);
    sd_bus_add_fallback_vtable(B, nullptr, ObjectPrefix, atspi_interface::EditableText,
                               EditableTextVtable, H::FindEditable, this);
    sd_bus_add_fallback_vtable(B, nullptr, ObjectPrefix, atspi_interface::Value, ValueVtable,
                               H::FindValue, this);
    sd_bus_add_fallback_vtable(B, nullptr, ObjectPrefix, atspi_interface::Selection,
                               SelectionVtable, H::FindSelection, this);
    sd_bus_add_fallback_vtable(B, nullptr, ObjectPrefix, atspi_interface::Application,
                               ApplicationVtable, H::FindRoot, this);
    sd_bus_add_object_vtable(B, nullptr, CachePath, CacheInterface, CacheVtable, this);
    SetAccessibleEventListener([this](TControl* Control, const void* Key, TAccEvent Event) {
        Heard(Control, Key, Event);
    });
    SetAccessibleTextListener(
        [this](TControl* Control, const TAccTextChange& Change) { HeardText(Control, Change); });
    FBus->OnDisconnected = [this] { Detach(); };
    // The registry sets our Id and answers with the desktop's root, which
    // becomes the application's parent. Without a registry (a bus of a
    // test) the call fails and the tree is still there for direct clients.
    sd_bus_call_method_async(B, &FEmbedCall, RegistryName, RootPath, "org.a11y.atspi.Socket",
                             "Embed", H::OnEmbedded, this, "(so)", H::UniqueName(this), RootPath);
    FBus->Changed();
}

void TAtspiBridge::RunLater(std::uint64_t Id, const String& Action) {
    // The node is found again when the action runs: the object may be gone
    // by then.
    Application->QueueAfterIdle([Alive = std::weak_ptr<int>(FAlive), this, Id, Action] {
        if (Alive.expired()) return;
        if (auto Node = H::Node(this, Id)) Node->DoAction(Action);
    });
}

void TAtspiBridge::Heard(TControl* Control, const void* Key, TAccEvent Event) {
    TPending Change;
    Change.Key = Key;
    Change.Event = Event;
    Change.Chain = H::ChainOf(Control);
    // Focus moves are told at once, in their order; the other changes of a
    // turn are gathered, each once, and told after it.
    if (Event == TAccEvent::FocusGained || Event == TAccEvent::FocusLost) {
        Send(Change);
        return;
    }
    const auto Same = [&](const TPending& P) {
        return P.Key == Key && P.Event == Event && P.Text == TPending::TText::None &&
               P.Chain == Change.Chain;
    };
    const auto Earlier = std::find_if(FPending.begin(), FPending.end(), Same);
    if (Earlier != FPending.end()) {
        // A caret is told where it ends up, after the text changes that
        // moved it, so it goes to the end of the queue.
        if (Event != TAccEvent::CaretMoved && Event != TAccEvent::SelectionChanged) return;
        FPending.erase(Earlier);
    }
    Queue(std::move(Change));
}

void TAtspiBridge::HeardText(TControl* Control, const TAccTextChange& Change) {
    // Measured now, against the text it stands in: by the time the turn's
    // changes are told the text may have changed again.
    const String& Text = Control->GetText();
    TPending P;
    P.Key = Control;
    P.Event = TAccEvent::NameChanged;
    P.Chain = H::ChainOf(Control);
    P.Text = Change.Inserted ? TPending::TText::Inserted : TPending::TText::Removed;
    P.Offset = AtspiCharOffset(Text, Change.Start);
    P.Chars = AtspiText(String(Change.Text));
    P.Length = AtspiCharCount(P.Chars);
    Queue(std::move(P));
}

void TAtspiBridge::Queue(TPending Change) {
    // A burst larger than this is told in part; a client that missed a
    // change reads the node again when it next asks.
    if (FPending.size() >= MaxPending) return;
    FPending.push_back(std::move(Change));
    if (FFlushQueued) return;
    FFlushQueued = true;
    Application->QueueAfterIdle([Alive = std::weak_ptr<int>(FAlive), this] {
        if (!Alive.expired()) Flush();
    });
}

void TAtspiBridge::Flush() {
    FFlushQueued = false;
    std::vector<TPending> Changes;
    Changes.swap(FPending);
    bool Removed = false;
    for (const TPending& Change : Changes) {
        Send(Change);
        Removed |=
            Change.Event == TAccEvent::ChildrenChanged && Change.Text == TPending::TText::None;
    }
    if (Removed) Prune();
}

void TAtspiBridge::QueuePrune() {
    if (FPruneQueued) return;
    FPruneQueued = true;
    Application->QueueAfterIdle([Alive = std::weak_ptr<int>(FAlive), this] {
        if (Alive.expired()) return;
        FPruneQueued = false;
        Prune();
    });
}

void TAtspiBridge::Prune() {
    // Parents get their ids before their children, so one pass in the
    // order of ids finds each node from its parent's, made once.
    std::vector<std::uint64_t> Ids;
    Ids.reserve(FEntries.size());
    for (const auto& Entry : FEntries) Ids.push_back(Entry.first);
    std::sort(Ids.begin(), Ids.end());
    std::unordered_map<std::uint64_t, std::unique_ptr<TAccessible>> Live;
    Live.emplace(RootId, H::Node(this, RootId));
    std::unordered_map<std::uint64_t, std::unordered_map<const void*, int>> Moved;
    int Removals = 0;
    for (const std::uint64_t Id : Ids) {
        TEntry& Entry = FEntries[Id];
        const auto Parent = Live.find(Entry.Parent);
        std::unique_ptr<TAccessible> Node;
        if (Parent != Live.end()) {
            Node = Parent->second->GetChild(Entry.Index);
            if (Node && Node->GetKey() != Entry.Key) Node.reset();
            // An object that moved among its siblings is looked for by key,
            // in a table of the parent's children made once per parent.
            if (!Node && Entry.Key) {
                auto& Places = Moved[Entry.Parent];
                if (Places.empty())
                    for (int I = 0, Count = Parent->second->GetChildCount(); I < Count; ++I)
                        if (const auto Other = Parent->second->GetChild(I))
                            Places.emplace(Other->GetKey(), I);
                if (const auto Found = Places.find(Entry.Key); Found != Places.end()) {
                    Entry.Index = Found->second;
                    Node = Parent->second->GetChild(Found->second);
                }
            }
        }
        if (Node) {
            Live.emplace(Id, std::move(Node));
            continue;
        }
        // A client hears of the first ones gone; beyond that (a group of
        // 100,000 items closed) it finds the rest gone when it asks.
        if (FBus && Removals++ < MaxChildrenListed) {
            // A child of an object that is still there is told as removed
            // from it, with its last place; the cache hears of every object.
            if (Live.count(Entry.Parent))
                H::Emit(this, Entry.Parent, "ChildrenChanged", "remove", Entry.Index, 0, "(so)",
                        Id);
            H::EmitRemoved(this, Id);
        }
        FIds.erase(std::make_tuple(Entry.Parent, Entry.Key, Entry.Key ? -1 : Entry.Index));
        FEntries.erase(Id);
    }
    FPruneAt = std::max<std::size_t>(1024, 2 * FEntries.size());
}

void TAtspiBridge::Send(const TPending& Change) {
    if (!FBus || Change.Chain.empty()) return;
    std::uint64_t Id = RootId;
    if (!H::IdOfChange(this, Change, Id)) return;
    const auto Node = H::Node(this, Id);
    if (!Node) return;
    const unsigned States = Node->GetStates();
    if (Change.Text != TPending::TText::None) {
        const bool Inserted = Change.Text == TPending::TText::Inserted;
        H::Emit(this, Id, "TextChanged", Inserted ? "insert" : "delete", Change.Offset,
                Change.Length, "s", Change.Chars.c_str());
        FBus->Changed();
        return;
    }
    switch (Change.Event) {
    case TAccEvent::FocusGained:
    case TAccEvent::FocusLost:
        H::Emit(this, Id, "StateChanged", "focused", Change.Event == TAccEvent::FocusGained, 0, "i",
                0);
        break;
    case TAccEvent::StateChanged:
        if (States & asExpandable) {
            // Expanded and collapsed are two states of the bus: a client that
            // keeps a copy of the states hears both change.
            const bool Expanded = (States & asExpanded) != 0;
            H::Emit(this, Id, "StateChanged", "expanded", Expanded, 0, "i", 0);
            H::Emit(this, Id, "StateChanged", "collapsed", !Expanded, 0, "i", 0);
        }
        if (States & asSelectable)
            H::Emit(this, Id, "StateChanged", "selected", (States & asSelected) != 0, 0, "i", 0);
        if (States & asCheckable)
            H::Emit(this, Id, "StateChanged", "checked", (States & asChecked) != 0, 0, "i", 0);
        break;
    case TAccEvent::NameChanged:
        H::Emit(this, Id, "PropertyChange", "accessible-name", 0, 0, "s",
                AtspiText(Node->GetName()).c_str());
        break;
    case TAccEvent::CaretMoved: {
        TAccCaret Caret;
        if (Node->GetCaret(Caret))
            H::Emit(this, Id, "TextCaretMoved", "", AtspiCharOffset(H::TextOf(*Node), Caret.Caret),
                    0, "i", 0);
        break;
    }
    case TAccEvent::SelectionChanged:
        H::Emit(this, Id, "TextSelectionChanged", "", 0, 0, "i", 0);
        break;
    case TAccEvent::ChildrenChanged: {
        // The change is told as children added at the end (or removed, for
        // an empty node): a client reads the children again.
        // Children that went are told one by one, each with its object, once
        // the paths of objects that are gone are looked through (Prune).
        H::EmitAdded(this, Id, *Node);
        const int Count = Node->GetChildCount();
        if (const auto Last = Count > 0 ? Node->GetChild(Count - 1) : nullptr)
            H::Emit(this, Id, "ChildrenChanged", "add", Count - 1, 0, "(so)",
                    H::ChildId(this, Id, Count - 1, *Last));
        break;
    }
    }
    FBus->Changed();
}

std::uint64_t TAtspiBridge::IdOf(std::uint64_t Parent, int Index, const void* Key) {
    const auto Tuple = std::make_tuple(Parent, Key, Key ? -1 : Index);
    const auto Found = FIds.find(Tuple);
    if (Found != FIds.end()) {
        FEntries[Found->second].Index = Index;
        return Found->second;
    }
    const std::uint64_t Id = FNextId++;
    FIds.emplace(Tuple, Id);
    FEntries[Id] = TEntry{Parent, Index, Key};
    if (FEntries.size() >= FPruneAt) QueuePrune();
    return Id;
}

String TAtspiBridge::PathOf(std::uint64_t Id) const {
    if (Id == RootId) return RootPath;
    return String(ObjectPrefix) + "/" + std::to_string(Id);
}

bool TAtspiBridge::ParsePath(const char* Path, std::uint64_t& Id) const {
    if (std::strcmp(Path, RootPath) == 0) {
        Id = RootId;
        return true;
    }
    const std::size_t Prefix = std::strlen(ObjectPrefix);
    if (std::strncmp(Path, ObjectPrefix, Prefix) != 0 || Path[Prefix] != '/') return false;
    const char* Digits = Path + Prefix + 1;
    if (!*Digits || *Digits == '0') return false;
    std::uint64_t Value = 0;
    for (const char* C = Digits; *C; ++C) {
        if (*C < '0' || *C > '9' || Value > UINT64_MAX / 10) return false;
        Value = Value * 10 + static_cast<std::uint64_t>(*C - '0');
    }
    if (!FEntries.count(Value)) return false;
    Id = Value;
    return true;
}

} // namespace folio
