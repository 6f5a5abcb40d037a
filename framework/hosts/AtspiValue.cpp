// The bus's Value interface for objects with a range: a gauge's, read only,
// and a scroll bar's, which can be set.
#include "framework/hosts/AtspiHandlers.h"

#include <cmath>

namespace folio {

using namespace atspi_bus;

struct TAtspiBridge::THandlers::TValueCalls {
    static int Find(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                    sd_bus_error*) {
        const TResolved R = Resolve(Bridge(Data), Path);
        TAccRange Range;
        if (!R || R.Id == RootId || !R.Node->GetRange(Range)) return 0;
        *Found = Data;
        return 1;
    }

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
};

namespace {

using C = TAtspiBridge::THandlers::TValueCalls;

const sd_bus_vtable Vtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("MinimumValue", "d", C::MinimumValue, 0, 0),
    SD_BUS_PROPERTY("MaximumValue", "d", C::MaximumValue, 0, 0),
    SD_BUS_PROPERTY("MinimumIncrement", "d", C::MinimumIncrement, 0, 0),
    SD_BUS_WRITABLE_PROPERTY("CurrentValue", "d", C::CurrentValue, C::SetCurrentValue, 0, 0),
    SD_BUS_PROPERTY("Text", "s", C::ValueText, 0, 0),
    SD_BUS_VTABLE_END};

} // namespace

void TAtspiBridge::THandlers::AddValue(TAtspiBridge* B) {
    sd_bus_add_fallback_vtable(B->FBus->Bus(), nullptr, ObjectPrefix, atspi_interface::Value,
                               Vtable, C::Find, B);
}

} // namespace folio
