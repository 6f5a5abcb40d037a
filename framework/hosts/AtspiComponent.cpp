// The bus's Component interface: where an object is on the screen, in its
// window and in its parent, which object lies under a point, and taking
// the keyboard.
#include "framework/hosts/AtspiHandlers.h"

namespace folio {

using namespace atspi_bus;

struct TAtspiBridge::THandlers::TComponentCalls {
    static int Find(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                    sd_bus_error*) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R || R.Id == RootId) return 0;
        *Found = Data;
        return 1;
    }

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
};

namespace {

using C = TAtspiBridge::THandlers::TComponentCalls;

const sd_bus_vtable Vtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Contains", "iiu", "b", C::Contains, 0),
    SD_BUS_METHOD("GetAccessibleAtPoint", "iiu", "(so)", C::GetAccessibleAtPoint, 0),
    SD_BUS_METHOD("GetExtents", "u", "(iiii)", C::GetExtents, 0),
    SD_BUS_METHOD("GetPosition", "u", "ii", C::GetPosition, 0),
    SD_BUS_METHOD("GetSize", "", "ii", C::GetSize, 0),
    SD_BUS_METHOD("GetLayer", "", "u", C::GetLayer, 0),
    SD_BUS_METHOD("GetMDIZOrder", "", "n", C::GetMDIZOrder, 0),
    SD_BUS_METHOD("GrabFocus", "", "b", C::GrabFocus, 0),
    SD_BUS_METHOD("GetAlpha", "", "d", C::GetAlpha, 0),
    SD_BUS_VTABLE_END};

} // namespace

void TAtspiBridge::THandlers::AddComponent(TAtspiBridge* B) {
    sd_bus_add_fallback_vtable(B->FBus->Bus(), nullptr, ObjectPrefix, atspi_interface::Component,
                               Vtable, C::Find, B);
}

} // namespace folio
