// The bus's Text interface for labels and edit boxes: the text in
// characters, the caret and an edit box's one selection.
#include "framework/hosts/AtspiHandlers.h"

namespace folio {

using namespace atspi_bus;

struct TAtspiBridge::THandlers::TTextCalls {
    static int Find(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                    sd_bus_error*) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R || R.Id == RootId || !AtspiHasText(R.Node->GetRole())) return 0;
        *Found = Data;
        return 1;
    }

    static int CharacterCount(sd_bus*, const char* Path, const char*, const char*,
                              sd_bus_message* Reply, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R) return Gone(Error);
        return sd_bus_message_append(Reply, "i", AtspiCharCount(TextOf(*R.Node)));
    }

    static int CaretOffset(sd_bus*, const char* Path, const char*, const char*,
                           sd_bus_message* Reply, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(Bridge(Data), Path);
        if (!R) return Gone(Error);
        // A label has no caret: the bus's answer for that is -1.
        TAccCaret Caret;
        const int Offset =
            R.Node->GetCaret(Caret) ? AtspiCharOffset(TextOf(*R.Node), Caret.Caret) : -1;
        return sd_bus_message_append(Reply, "i", Offset);
    }

    static int GetText(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Start = 0, End = -1;
        if (const int Read = sd_bus_message_read(M, "ii", &Start, &End); Read < 0) return Read;
        return sd_bus_reply_method_return(M, "s",
                                          AtspiSubText(TextOf(*R.Node), Start, End).c_str());
    }

    static int GetCharacterAtOffset(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Offset = 0;
        if (const int Read = sd_bus_message_read(M, "i", &Offset); Read < 0) return Read;
        return sd_bus_reply_method_return(
            M, "i", static_cast<std::int32_t>(AtspiCharAt(TextOf(*R.Node), Offset)));
    }

    // GetTextAtOffset counts boundaries (0 character, 1 and 2 word starts and
    // ends, then sentences and lines), GetStringAtOffset granularities (0
    // character, 1 word, then sentence, line, paragraph).
    static int TextAt(sd_bus_message* M, void* Data, sd_bus_error* Error, bool Boundaries) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Offset = 0;
        unsigned Kind = 0;
        if (const int Read = sd_bus_message_read(M, "iu", &Offset, &Kind); Read < 0) return Read;
        if (Boundaries) Kind = Kind == 0 ? 0 : Kind <= 2 ? 1 : 2;
        int Start = 0, End = 0;
        const String Text = AtspiTextAt(TextOf(*R.Node), Offset, Kind, Start, End);
        return sd_bus_reply_method_return(M, "sii", Text.c_str(), Start, End);
    }

    static int GetTextAtOffset(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        return TextAt(M, Data, Error, true);
    }

    static int GetStringAtOffset(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        return TextAt(M, Data, Error, false);
    }

    // An edit box has one selection at most: selection 0, in characters.
    static bool SelectionOf(const TAccessible& Node, int& Start, int& End) {
        TAccCaret Caret;
        if (!Node.GetCaret(Caret) || Caret.SelStart == Caret.SelEnd) return false;
        const String Text = TextOf(Node);
        Start = AtspiCharOffset(Text, Caret.SelStart);
        End = AtspiCharOffset(Text, Caret.SelEnd);
        return true;
    }

    static int GetNSelections(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Start = 0, End = 0;
        return sd_bus_reply_method_return(M, "i", SelectionOf(*R.Node, Start, End) ? 1 : 0);
    }

    static int GetSelection(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Nth = 0, Start = 0, End = 0;
        if (const int Read = sd_bus_message_read(M, "i", &Nth); Read < 0) return Read;
        if (Nth != 0 || !SelectionOf(*R.Node, Start, End)) Start = End = 0;
        return sd_bus_reply_method_return(M, "ii", Start, End);
    }

    // Selects characters Start..End; the caret goes to End.
    static bool Select(TAccessible& Node, int Start, int End) {
        const String Text = TextOf(Node);
        return Node.SetTextSelection(AtspiByteOffset(Text, Start), AtspiByteOffset(Text, End));
    }

    static int SetCaretOffset(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Offset = 0;
        if (const int Read = sd_bus_message_read(M, "i", &Offset); Read < 0) return Read;
        return sd_bus_reply_method_return(M, "b", Select(*R.Node, Offset, Offset));
    }

    // AddSelection (start, end) and SetSelection (0, start, end) choose the
    // one selection there is; RemoveSelection (0) leaves the caret where it is.
    static int AddSelection(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Start = 0, End = 0;
        if (const int Read = sd_bus_message_read(M, "ii", &Start, &End); Read < 0) return Read;
        int Old = 0;
        const bool Free = !SelectionOf(*R.Node, Old, Old);
        return sd_bus_reply_method_return(M, "b", Free && Select(*R.Node, Start, End));
    }

    static int SetSelection(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Nth = 0, Start = 0, End = 0;
        if (const int Read = sd_bus_message_read(M, "iii", &Nth, &Start, &End); Read < 0)
            return Read;
        return sd_bus_reply_method_return(M, "b", Nth == 0 && Select(*R.Node, Start, End));
    }

    static int RemoveSelection(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        const TResolved R = Resolve(M, Data);
        if (!R) return Gone(Error);
        int Nth = 0;
        if (const int Read = sd_bus_message_read(M, "i", &Nth); Read < 0) return Read;
        TAccCaret Caret;
        const bool Had = Nth == 0 && R.Node->GetCaret(Caret) && Caret.SelStart != Caret.SelEnd;
        if (Had) R.Node->SetTextSelection(Caret.Caret, Caret.Caret);
        return sd_bus_reply_method_return(M, "b", Had);
    }
};

namespace {

using C = TAtspiBridge::THandlers::TTextCalls;

const sd_bus_vtable Vtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("CharacterCount", "i", C::CharacterCount, 0, 0),
    SD_BUS_PROPERTY("CaretOffset", "i", C::CaretOffset, 0, 0),
    SD_BUS_METHOD("GetText", "ii", "s", C::GetText, 0),
    SD_BUS_METHOD("GetCharacterAtOffset", "i", "i", C::GetCharacterAtOffset, 0),
    SD_BUS_METHOD("GetTextAtOffset", "iu", "sii", C::GetTextAtOffset, 0),
    SD_BUS_METHOD("GetStringAtOffset", "iu", "sii", C::GetStringAtOffset, 0),
    SD_BUS_METHOD("GetNSelections", "", "i", C::GetNSelections, 0),
    SD_BUS_METHOD("GetSelection", "i", "ii", C::GetSelection, 0),
    SD_BUS_METHOD("AddSelection", "ii", "b", C::AddSelection, 0),
    SD_BUS_METHOD("RemoveSelection", "i", "b", C::RemoveSelection, 0),
    SD_BUS_METHOD("SetSelection", "iii", "b", C::SetSelection, 0),
    SD_BUS_METHOD("SetCaretOffset", "i", "b", C::SetCaretOffset, 0),
    SD_BUS_VTABLE_END};

} // namespace

void TAtspiBridge::THandlers::AddText(TAtspiBridge* B) {
    sd_bus_add_fallback_vtable(B->FBus->Bus(), nullptr, ObjectPrefix, atspi_interface::Text, Vtable,
                               C::Find, B);
}

} // namespace folio
