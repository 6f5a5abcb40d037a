// The bus's Action interface: an object's actions by index, run on the
// loop's next turn.
#include "framework/hosts/AtspiHandlers.h"

#include "framework/ui/app/Application.h"

namespace folio {

using namespace atspi_bus;

struct TAtspiBridge::THandlers::TActionCalls {
    static int Find(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                    sd_bus_error*) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R || R.Id == RootId || R.Node->GetActions().empty()) return 0;
        *Found = Data;
        return 1;
    }

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
};

namespace {

using C = TAtspiBridge::THandlers::TActionCalls;

const sd_bus_vtable Vtable[] = {SD_BUS_VTABLE_START(0),
                                SD_BUS_PROPERTY("NActions", "i", C::NActions, 0, 0),
                                SD_BUS_METHOD("GetDescription", "i", "s", C::GetActionEmpty, 0),
                                SD_BUS_METHOD("GetName", "i", "s", C::GetActionName, 0),
                                SD_BUS_METHOD("GetLocalizedName", "i", "s", C::GetActionName, 0),
                                SD_BUS_METHOD("GetKeyBinding", "i", "s", C::GetActionEmpty, 0),
                                SD_BUS_METHOD("GetActions", "", "a(sss)", C::GetActions, 0),
                                SD_BUS_METHOD("DoAction", "i", "b", C::DoAction, 0),
                                SD_BUS_VTABLE_END};

} // namespace

void TAtspiBridge::THandlers::AddAction(TAtspiBridge* B) {
    sd_bus_add_fallback_vtable(B->FBus->Bus(), nullptr, ObjectPrefix, atspi_interface::Action,
                               Vtable, C::Find, B);
}

} // namespace folio
