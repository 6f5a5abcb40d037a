#pragma once

// What the accessibility bridge's files share: the bus's names, the
// application's own root node, and the helpers every interface's calls use
// to find the node a path names and to answer with object references. Each
// interface of the bus has its calls in a file of its own (AtspiAccessible,
// AtspiComponent, ...), which adds them to the connection.
#include "framework/hosts/AtspiBridge.h"
#include "framework/hosts/AtspiTranslate.h"
#include "framework/hosts/DBusConnection.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/forms/CustomForm.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace folio {

namespace atspi_bus {

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

inline bool Inside(const TRect& R, int X, int Y) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

} // namespace atspi_bus

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
        if (Id == RootId) return std::make_unique<atspi_bus::TApplicationNode>();
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
        return sd_bus_error_set(Error, atspi_bus::UnknownObject,
                                "The accessible object no longer exists");
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
        return sd_bus_reply_method_return(M, "(so)", "", atspi_bus::NullPath);
    }

    // --- shared by the interfaces ----------------------------------------------------

    static const char* LocaleName() {
        for (const char* Name : {"LC_ALL", "LC_MESSAGES", "LANG"})
            if (const char* Value = std::getenv(Name); Value && *Value) return Value;
        return "C";
    }

    static unsigned RoleOf(const TResolved& R) {
        return R.Id == RootId ? atspi_role::Application : AtspiRole(R.Node->GetRole());
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

    static std::vector<const char*> InterfacesOf(const TResolved& R) {
        if (R.Id == RootId) return {atspi_interface::Accessible, atspi_interface::Application};
        TAccRange Range;
        TAccCaret Caret;
        TAccTable Table;
        return AtspiInterfaces(R.Node->GetRole(), static_cast<int>(R.Node->GetActions().size()),
                               R.Node->GetRange(Range), R.Node->GetCaret(Caret),
                               R.Node->GetTable(Table));
    }

    static int AppendStrings(sd_bus_message* Reply, const std::vector<const char*>& Names) {
        int Result = sd_bus_message_open_container(Reply, 'a', "s");
        for (const char* Name : Names)
            if (Result >= 0) Result = sd_bus_message_append(Reply, "s", Name);
        if (Result >= 0) Result = sd_bus_message_close_container(Reply);
        return Result;
    }

    // A label's text is its name; an edit box's is what it holds.
    static String TextOf(const TAccessible& Node) {
        return Node.GetRole() == TAccRole::Text ? Node.GetValue() : Node.GetName();
    }

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
        std::unique_ptr<TAccessible> At = std::make_unique<atspi_bus::TApplicationNode>();
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
                Result = Value == NoObject
                             ? sd_bus_message_append(M, "(so)", "", atspi_bus::NullPath)
                             : AppendRef(M, B, Value);
            else
                Result = sd_bus_message_append(M, ValueType, Value);
        }
        if (Result >= 0) Result = sd_bus_message_close_container(M);
        if (Result >= 0) Result = sd_bus_message_append(M, "a{sv}", 0);
        if (Result >= 0) sd_bus_send(nullptr, M, nullptr);
        sd_bus_message_unref(M);
    }

    // Each interface's calls, in a file of their own, and how each joins the
    // accessibility bus's connection.
    struct TAccessibleCalls;
    struct TComponentCalls;
    struct TActionCalls;
    struct TTextCalls;
    struct TEditableTextCalls;
    struct TValueCalls;
    struct TSelectionCalls;
    struct TTableCalls;
    struct TCacheCalls;
    struct TApplicationCalls;
    static void AddAccessible(TAtspiBridge* B);
    static void AddComponent(TAtspiBridge* B);
    static void AddAction(TAtspiBridge* B);
    static void AddText(TAtspiBridge* B);
    static void AddEditableText(TAtspiBridge* B);
    static void AddValue(TAtspiBridge* B);
    static void AddSelection(TAtspiBridge* B);
    static void AddTable(TAtspiBridge* B);
    static void AddCache(TAtspiBridge* B);
    static void AddApplication(TAtspiBridge* B);
    // AddAccessible for the children of a node whose children changed, so a
    // client's copy of the tree follows; RemoveAccessible for the objects
    // that were forgotten as gone (AtspiCache.cpp).
    static void EmitAdded(TAtspiBridge* B, std::uint64_t Id, const TAccessible& Parent);
    static void EmitRemoved(TAtspiBridge* B, std::uint64_t Id);
    // Finding the accessibility bus and joining the registry (AtspiBridge.cpp).
    struct TStartUp;
};

} // namespace folio
