// What every object of the tree answers on the bus's Accessible interface:
// its name, description, role, states, parent, children, relations and
// interfaces.
#include "framework/hosts/AtspiHandlers.h"

namespace folio {

using namespace atspi_bus;

struct TAtspiBridge::THandlers::TAccessibleCalls {
    static int Find(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                    sd_bus_error*) {
        if (!Resolve(Bridge(Data), Path)) return 0;
        *Found = Data;
        return 1;
    }

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
            {atspi_role::MenuBar, "menu bar"},
            {atspi_role::MenuItem, "menu item"},
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
};

namespace {

using C = TAtspiBridge::THandlers::TAccessibleCalls;

const sd_bus_vtable Vtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Name", "s", C::Name, 0, 0),
    SD_BUS_PROPERTY("Description", "s", C::Description, 0, 0),
    SD_BUS_PROPERTY("Parent", "(so)", C::Parent, 0, 0),
    SD_BUS_PROPERTY("ChildCount", "i", C::ChildCount, 0, 0),
    SD_BUS_PROPERTY("Locale", "s", C::Locale, 0, 0),
    SD_BUS_PROPERTY("AccessibleId", "s", C::EmptyString, 0, 0),
    SD_BUS_PROPERTY("HelpText", "s", C::EmptyString, 0, 0),
    SD_BUS_METHOD("GetChildAtIndex", "i", "(so)", C::GetChildAtIndex, 0),
    SD_BUS_METHOD("GetChildren", "", "a(so)", C::GetChildren, 0),
    SD_BUS_METHOD("GetIndexInParent", "", "i", C::GetIndexInParent, 0),
    SD_BUS_METHOD("GetRelationSet", "", "a(ua(so))", C::GetRelationSet, 0),
    SD_BUS_METHOD("GetRole", "", "u", C::GetRole, 0),
    SD_BUS_METHOD("GetRoleName", "", "s", C::GetRoleName, 0),
    SD_BUS_METHOD("GetLocalizedRoleName", "", "s", C::GetRoleName, 0),
    SD_BUS_METHOD("GetState", "", "au", C::GetState, 0),
    SD_BUS_METHOD("GetAttributes", "", "a{ss}", C::GetAttributes, 0),
    SD_BUS_METHOD("GetApplication", "", "(so)", C::GetApplication, 0),
    SD_BUS_METHOD("GetInterfaces", "", "as", C::GetInterfaces, 0),
    SD_BUS_VTABLE_END};

} // namespace

void TAtspiBridge::THandlers::AddAccessible(TAtspiBridge* B) {
    sd_bus_add_fallback_vtable(B->FBus->Bus(), nullptr, ObjectPrefix, atspi_interface::Accessible,
                               Vtable, C::Find, B);
}

} // namespace folio
