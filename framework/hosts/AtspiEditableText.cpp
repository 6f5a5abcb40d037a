// The bus's EditableText interface for edit boxes: edits made on the loop's
// next turn as typing would, and copy, cut and paste through the program's
// clipboard.
#include "framework/hosts/AtspiHandlers.h"

#include "framework/ui/app/Application.h"
#include "framework/ui/app/Clipboard.h"

namespace folio {

using namespace atspi_bus;

struct TAtspiBridge::THandlers::TEditableTextCalls {
    static int Find(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                    sd_bus_error*) {
        const TResolved R = Resolve(Bridge(Data), Path);
        TAccCaret Caret;
        if (!R || R.Id == RootId || !R.Node->GetCaret(Caret)) return 0;
        *Found = Data;
        return 1;
    }

    // An edit that the user could make now; it runs on the loop's next turn,
    // like an action, on the text as it is then: characters Start..End (End
    // -1: to the end) give way to Text.
    static bool CanEdit(const TResolved& R) {
        TAccCaret Caret;
        return R.Node->GetCaret(Caret) && !(R.Node->GetStates() & (asReadOnly | asDisabled));
    }

    static int Edit(sd_bus_message* M, TAtspiBridge* B, const TResolved& R, int Start, int End,
                    String Text) {
        const bool Can = CanEdit(R) && Start >= 0;
        if (Can) {
            Application->QueueAfterIdle([Alive = std::weak_ptr<int>(B->FAlive), B, Id = R.Id, Start,
                                         End, Text = std::move(Text)] {
                if (Alive.expired()) return;
                auto Node = THandlers::Node(B, Id);
                if (!Node) return;
                const String Old = TextOf(*Node);
                const int To = End < 0 ? static_cast<int>(Old.size()) : AtspiByteOffset(Old, End);
                const int From = std::min(AtspiByteOffset(Old, Start), To);
                Node->ReplaceText(From, To, Text);
            });
        }
        return sd_bus_reply_method_return(M, "b", Can);
    }

    static int SetTextContents(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        const char* Text = nullptr;
        if (const int Read = sd_bus_message_read(M, "s", &Text); Read < 0) return Read;
        return Edit(M, Bridge(Data), R, 0, -1, Text);
    }

    static int InsertText(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Position = 0, Length = 0;
        const char* Text = nullptr;
        if (const int Read = sd_bus_message_read(M, "isi", &Position, &Text, &Length); Read < 0)
            return Read;
        // Length counts the characters of Text to insert; -1 or more than
        // it has takes it all.
        String Insert = Text;
        if (Length >= 0) Insert.resize(static_cast<size_t>(AtspiByteOffset(Insert, Length)));
        return Edit(M, Bridge(Data), R, Position, std::max(Position, 0), std::move(Insert));
    }

    // The characters a call names, Start..End (End -1: to the end), in order.
    static int ReadSpan(sd_bus_message* M, int& Start, int& End) {
        if (const int Read = sd_bus_message_read(M, "ii", &Start, &End); Read < 0) return Read;
        if (End >= 0 && End < Start) std::swap(Start, End);
        return 0;
    }

    static int DeleteText(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Start = 0, End = 0;
        if (const int Failed = ReadSpan(M, Start, End); Failed < 0) return Failed;
        return Edit(M, Bridge(Data), R, Start, End, String());
    }

    // A copy changes nothing on the screen, so it is made at once, from the
    // text as the client sees it now; the clipboard is the one the user's
    // Ctrl+C fills.
    static void Copy(const TResolved& R, int Start, int End) {
        const String Text = AtspiSubText(TextOf(*R.Node), Start, End);
        if (!Text.empty()) Clipboard()->SetAsText(Text);
    }

    static int CopyText(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Start = 0, End = 0;
        if (const int Failed = ReadSpan(M, Start, End); Failed < 0) return Failed;
        if (Start >= 0) Copy(R, Start, End);
        return sd_bus_reply_method_return(M, "");
    }

    // A cut is a copy and a delete; a box the user could not edit now
    // keeps its text and the clipboard its own, as its Ctrl+X would.
    static int CutText(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Start = 0, End = 0;
        if (const int Failed = ReadSpan(M, Start, End); Failed < 0) return Failed;
        if (Start >= 0 && CanEdit(R)) Copy(R, Start, End);
        return Edit(M, Bridge(Data), R, Start, End, String());
    }

    // The clipboard's text as it is now goes in at Position as typing puts
    // it; a box of one line takes its first line, as the user's paste does.
    static int PasteText(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Position = 0;
        if (const int Read = sd_bus_message_read(M, "i", &Position); Read < 0) return Read;
        String Text = Clipboard()->GetAsText();
        if (!(R.Node->GetStates() & asMultiLine))
            if (const size_t Cut = Text.find_first_of("\r\n"); Cut != String::npos)
                Text.resize(Cut);
        return Edit(M, Bridge(Data), R, Position, std::max(Position, 0), std::move(Text));
    }
};

namespace {

using C = TAtspiBridge::THandlers::TEditableTextCalls;

const sd_bus_vtable Vtable[] = {SD_BUS_VTABLE_START(0),
                                SD_BUS_METHOD("SetTextContents", "s", "b", C::SetTextContents, 0),
                                SD_BUS_METHOD("InsertText", "isi", "b", C::InsertText, 0),
                                SD_BUS_METHOD("DeleteText", "ii", "b", C::DeleteText, 0),
                                SD_BUS_METHOD("CopyText", "ii", "", C::CopyText, 0),
                                SD_BUS_METHOD("CutText", "ii", "b", C::CutText, 0),
                                SD_BUS_METHOD("PasteText", "i", "b", C::PasteText, 0),
                                SD_BUS_VTABLE_END};

} // namespace

void TAtspiBridge::THandlers::AddEditableText(TAtspiBridge* B) {
    sd_bus_add_fallback_vtable(B->FBus->Bus(), nullptr, ObjectPrefix, atspi_interface::EditableText,
                               Vtable, C::Find, B);
}

} // namespace folio
