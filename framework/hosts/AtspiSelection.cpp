// The bus's Selection interface for objects whose children are chosen
// among: a bar's groups, lists, tables and trees.
#include "framework/hosts/AtspiHandlers.h"

namespace folio {

using namespace atspi_bus;

struct TAtspiBridge::THandlers::TSelectionCalls {
    static int Find(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                    sd_bus_error*) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R || R.Id == RootId || !AtspiHasSelection(R.Node->GetRole())) return 0;
        *Found = Data;
        return 1;
    }

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
};

namespace {

using C = TAtspiBridge::THandlers::TSelectionCalls;

const sd_bus_vtable Vtable[] = {
    SD_BUS_VTABLE_START(0), SD_BUS_PROPERTY("NSelectedChildren", "i", C::NSelectedChildren, 0, 0),
    SD_BUS_METHOD("GetSelectedChild", "i", "(so)", C::GetSelectedChild, 0),
    SD_BUS_METHOD("SelectChild", "i", "b", C::SelectChild, 0),
    SD_BUS_METHOD("IsChildSelected", "i", "b", C::IsChildSelected, 0),
    // Exactly one group is open at a time and a grid has one chosen cell:
    // nothing here takes a selection away or chooses all.
    SD_BUS_METHOD("DeselectSelectedChild", "i", "b", C::Refuse, 0),
    SD_BUS_METHOD("DeselectChild", "i", "b", C::Refuse, 0),
    SD_BUS_METHOD("SelectAll", "", "b", C::Refuse, 0),
    SD_BUS_METHOD("ClearSelection", "", "b", C::Refuse, 0), SD_BUS_VTABLE_END};

} // namespace

void TAtspiBridge::THandlers::AddSelection(TAtspiBridge* B) {
    sd_bus_add_fallback_vtable(B->FBus->Bus(), nullptr, ObjectPrefix, atspi_interface::Selection,
                               Vtable, C::Find, B);
}

} // namespace folio
