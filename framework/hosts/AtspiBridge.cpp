#include "framework/hosts/AtspiHandlers.h"

#include "framework/ui/app/Application.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace folio {

using namespace atspi_bus;

struct TAtspiBridge::THandlers::TStartUp {
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
using S = TAtspiBridge::THandlers::TStartUp;

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
                                  S::OnStatusChanged, nullptr, B.get());
        sd_bus_call_method_async(Session->Bus(), &B->FSessionCall, A11yBusName, A11yBusPath,
                                 "org.freedesktop.DBus.Properties", "Get", S::OnIsEnabled, B.get(),
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
                             "GetAddress", S::OnAddress, this, "");
    FSession->Changed();
}

void TAtspiBridge::Connect(const String& Address) {
    if (FBus) return;
    if (auto Bus = TDBusConnection::OpenAddress(Address)) Attach(std::move(Bus));
}

void TAtspiBridge::Attach(std::unique_ptr<TDBusConnection> Bus) {
    FBus = std::move(Bus);
    sd_bus* B = FBus->Bus();
    // The interfaces' vtables live as long as the connection (floating slots).
    H::AddAccessible(this);
    H::AddComponent(this);
    H::AddAction(this);
    H::AddText(this);
    H::AddEditableText(this);
    H::AddValue(this);
    H::AddSelection(this);
    H::AddTable(this);
    H::AddApplication(this);
    H::AddCache(this);
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
                             "Embed", S::OnEmbedded, this, "(so)", H::UniqueName(this), RootPath);
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
