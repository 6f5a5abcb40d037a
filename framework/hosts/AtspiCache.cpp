// The registry's cache interface (org.a11y.atspi.Cache on
// /org/a11y/atspi/cache): the whole shown tree in one answer, and the
// objects that come and go as its signals.
#include "framework/hosts/AtspiHandlers.h"

#include <algorithm>

namespace folio {

using namespace atspi_bus;

struct TAtspiBridge::THandlers::TCacheCalls {
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
};

namespace {

using C = TAtspiBridge::THandlers::TCacheCalls;

const sd_bus_vtable Vtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("GetItems", "", "a((so)(so)(so)iiassusau)", C::GetItems, 0),
    SD_BUS_SIGNAL("AddAccessible", "((so)(so)(so)iiassusau)", 0),
    SD_BUS_SIGNAL("RemoveAccessible", "(so)", 0), SD_BUS_VTABLE_END};

} // namespace

// AddAccessible for the children of a node whose children changed, so a
// client's copy of the tree follows; RemoveAccessible for the objects
// that were forgotten as gone.
void TAtspiBridge::THandlers::EmitAdded(TAtspiBridge* B, std::uint64_t Id,
                                        const TAccessible& Parent) {
    const int Count = std::min(Parent.GetChildCount(), MaxChildrenListed);
    for (int I = 0; I < Count; ++I) {
        auto Child = Parent.GetChild(I);
        if (!Child) continue;
        TResolved R;
        R.Id = ChildId(B, Id, I, *Child);
        R.Node = std::move(Child);
        sd_bus_message* Signal = nullptr;
        int Result = sd_bus_message_new_signal(B->FBus->Bus(), &Signal, CachePath, CacheInterface,
                                               "AddAccessible");
        if (Result >= 0) Result = C::AppendItem(Signal, B, R);
        if (Result >= 0) sd_bus_send(nullptr, Signal, nullptr);
        sd_bus_message_unref(Signal);
    }
}

void TAtspiBridge::THandlers::EmitRemoved(TAtspiBridge* B, std::uint64_t Id) {
    sd_bus_message* Signal = nullptr;
    int Result = sd_bus_message_new_signal(B->FBus->Bus(), &Signal, CachePath, CacheInterface,
                                           "RemoveAccessible");
    if (Result >= 0) Result = AppendRef(Signal, B, Id);
    if (Result >= 0) sd_bus_send(nullptr, Signal, nullptr);
    sd_bus_message_unref(Signal);
}

void TAtspiBridge::THandlers::AddCache(TAtspiBridge* B) {
    sd_bus_add_object_vtable(B->FBus->Bus(), nullptr, CachePath, CacheInterface, Vtable, B);
}

} // namespace folio
