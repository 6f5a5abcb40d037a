// The bus's Application interface on the tree's root: the toolkit, its
// versions and the id the registry gives.
#include "framework/hosts/AtspiHandlers.h"

namespace folio {

using namespace atspi_bus;

struct TAtspiBridge::THandlers::TApplicationCalls {
    static int Find(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                    sd_bus_error*) {
        if (!Path || std::strcmp(Path, RootPath) != 0) return 0;
        *Found = Data;
        return 1;
    }

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
};

namespace {

using C = TAtspiBridge::THandlers::TApplicationCalls;

const sd_bus_vtable Vtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("ToolkitName", "s", C::ToolkitName, 0, 0),
    SD_BUS_PROPERTY("Version", "s", C::Version, 0, 0),
    SD_BUS_PROPERTY("AtspiVersion", "s", C::AtspiVersion, 0, 0),
    SD_BUS_WRITABLE_PROPERTY("Id", "i", C::GetId, C::SetId, 0, 0),
    SD_BUS_METHOD("GetLocale", "u", "s", C::GetLocale, 0),
    SD_BUS_METHOD("GetApplicationBusAddress", "", "s", C::GetApplicationBusAddress, 0),
    SD_BUS_VTABLE_END};

} // namespace

void TAtspiBridge::THandlers::AddApplication(TAtspiBridge* B) {
    sd_bus_add_fallback_vtable(B->FBus->Bus(), nullptr, ObjectPrefix, atspi_interface::Application,
                               Vtable, C::Find, B);
}

} // namespace folio
