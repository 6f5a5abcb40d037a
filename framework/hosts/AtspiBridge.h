#pragma once

#include "framework/core/Types.h"

#include <cstdint>
#include <map>
#include <memory>
#include <tuple>
#include <unordered_map>
#include <vector>

struct sd_bus_slot;

namespace folio {

class TAccessible;
class TControl;
class TDBusConnection;
enum class TAccEvent : unsigned char;
struct TAccTextChange;

/// Exports the program's accessibility tree (framework/ui/controls/Accessible.h) to
/// the desktop's accessibility bus, so that screen readers, switch access
/// and UI test tools see every form and control: the application's root is
/// registered with the desktop's registry, and every node answers the bus's
/// Accessible and Component interfaces, Action where it has actions, Text
/// for labels and edit boxes (with EditableText's copy, cut and paste where
/// the box takes them), Value where it has a range, Selection where its
/// children are chosen among and Table where they lie in rows and columns.
///
/// Nodes are made on demand from the live controls, so the bridge keeps no
/// copy of the tree: an object path names a node by its parent's path, its
/// place among the parent's children and what it stands for (its key). A
/// path whose object is gone answers the bus's "unknown object" error.
///
/// Everything runs on the user-interface thread, through the one D-Bus
/// connection helper, which handles a bounded number of requests per turn of
/// the loop. Actions are answered at once and run on the loop's next turn:
/// an action may open a modal dialog whose own loop must be able to serve
/// the bus meanwhile.
///
/// Changes reach clients as the bus's events: focus as it moves, and the
/// state, name and children changes of a turn gathered and sent once after
/// it (a group of 100,000 items loaded at once is one children change).
class TAtspiBridge {
public:
    /// What FOLIO_ACCESSIBILITY asks for: 1 on, 0 off, -1 not said (the
    /// desktop decides).
    static int AccessibilityOverride();

    /// Starts the bridge for a program with a session bus: asks the desktop
    /// whether accessibility is on (org.a11y.Status IsEnabled on org.a11y.Bus)
    /// unless FOLIO_ACCESSIBILITY says, and if so connects to the address
    /// org.a11y.Bus gives. All of it is asynchronous: nothing waits. Null
    /// when there is no session bus or FOLIO_ACCESSIBILITY=0, so that a
    /// program without accessibility pays nothing. The session bus must
    /// outlive the bridge.
    static std::unique_ptr<TAtspiBridge> Start(TDBusConnection* Session);
    /// Exports at once on an accessibility bus already open.
    static std::unique_ptr<TAtspiBridge> Export(std::unique_ptr<TDBusConnection> Bus);
    ~TAtspiBridge();
    TAtspiBridge(const TAtspiBridge&) = delete;
    TAtspiBridge& operator=(const TAtspiBridge&) = delete;

    /// Whether the tree is on an accessibility bus now.
    bool Exporting() const { return FBus != nullptr; }
    /// Whether the registry took the application (its Embed answered).
    bool Embedded() const { return !FSocketName.empty(); }
    /// The accessibility bus's connection, null before it is reached.
    TDBusConnection* Bus() const { return FBus.get(); }
    /// How many objects have a path now. Paths of objects that are gone are
    /// forgotten after the turn that removed children, and whenever the
    /// table has doubled since it was last looked through.
    std::size_t KnownObjects() const { return FEntries.size(); }

    /// GetChildren lists at most this many children; ChildCount still says
    /// how many there are and GetChildAtIndex reaches each of them, so a
    /// client that walks a list of a million items by index sees them all,
    /// while one reply stays about half a megabyte.
    static constexpr int MaxChildrenListed = 10000;
    /// The registry's cache interface (GetItems on /org/a11y/atspi/cache)
    /// gives the whole shown tree in one answer, at most this many objects.
    static constexpr int MaxCacheItems = 50000;

    /// The object path the root has; other nodes have paths below
    /// ObjectPrefix.
    ///@{
    static constexpr const char* RootPath = "/org/a11y/atspi/accessible/root";
    static constexpr const char* ObjectPrefix = "/org/a11y/atspi/accessible";
    ///@}

    /// @cond internal
    // Internals the bus's handlers reach (the bridge's own files).
    struct TResolved;
    struct THandlers;
    /// @endcond

private:
    TAtspiBridge() = default;
    void Connect(const String& Address);
    void Attach(std::unique_ptr<TDBusConnection> Bus);
    void AskAddress();
    // Follows the desktop's switch: starts exporting or stops.
    void Follow(bool Enabled);
    // Leaves the accessibility bus: listeners, pending changes and paths go.
    void Detach();
    // Forgets the paths of objects that are gone.
    void Prune();
    void QueuePrune();

    // Paths and nodes.
    static constexpr std::uint64_t RootId = 0;
    struct TEntry {
        std::uint64_t Parent = 0;
        int Index = 0;
        const void* Key = nullptr;
    };
    std::uint64_t IdOf(std::uint64_t Parent, int Index, const void* Key);
    String PathOf(std::uint64_t Id) const;
    // The id a path names; false for a path that names none.
    bool ParsePath(const char* Path, std::uint64_t& Id) const;

    TDBusConnection* FSession = nullptr;
    std::unique_ptr<TDBusConnection> FBus;
    sd_bus_slot* FSessionCall = nullptr;
    sd_bus_slot* FStatusMatch = nullptr;
    sd_bus_slot* FEmbedCall = nullptr;
    String FSocketName;
    String FSocketPath;
    int FApplicationId = 0;

    std::unordered_map<std::uint64_t, TEntry> FEntries;
    std::map<std::tuple<std::uint64_t, const void*, int>, std::uint64_t> FIds;
    std::uint64_t FNextId = 1;
    std::size_t FPruneAt = 1024;
    bool FPruneQueued = false;
    // Changes heard and not yet sent: the keys from the form down to the
    // control (taken while the control lives, so that nothing is touched
    // after it may be gone), the changed node's key and the change.
    struct TPending {
        std::vector<const void*> Chain;
        const void* Key = nullptr;
        TAccEvent Event;
        // A change of an edited text: inserted or removed, where and how
        // many characters, and which (measured when it happened).
        enum class TText : unsigned char { None, Inserted, Removed } Text = TText::None;
        int Offset = 0;
        int Length = 0;
        String Chars;
    };
    static constexpr size_t MaxPending = 256;
    // Runs a node's action on the loop's next turn, if the node is still there.
    void RunLater(std::uint64_t Id, const String& Action);
    void Heard(TControl* Control, const void* Key, TAccEvent Event);
    void HeardText(TControl* Control, const TAccTextChange& Change);
    // Queues a change to be told after the turn.
    void Queue(TPending Change);
    void Send(const TPending& Change);
    void Flush();
    std::vector<TPending> FPending;
    bool FFlushQueued = false;

    // Work left for the loop's next turn checks that the bridge still lives.
    std::shared_ptr<int> FAlive = std::make_shared<int>(0);
};

} // namespace folio
