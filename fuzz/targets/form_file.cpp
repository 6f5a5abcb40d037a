// ReadComponent: a form file in either encoding (chosen by its first bytes),
// read into a form that already holds a bar and an image list.
//
// Promises checked: a form the parser takes converts to the other encoding
// and back without loss; a read that raises leaves the form and its
// components as they were; a read that succeeds gives a form that writes and
// reads back to the same text.

#include "fuzz/FuzzTarget.h"
#include "fuzz/support/PeakMemory.h"

#include "folio/Folio.h"
#include "framework/core/ClassBuilder.h"
#include "framework/core/EventHandlers.h"
#include "framework/core/Exceptions.h"
#include "framework/core/FormBinary.h"
#include "framework/core/FormFiles.h"
#include "framework/core/FormText.h"
#include "framework/core/Writer.h"
#include "framework/gfx/Canvas.h"
#include "framework/ui/Form.h"

#include <cstring>
#include <memory>
#include <utility>

using namespace folio;
using namespace folio::fuzz;

namespace {

// A form class with a handler, so that forms can bind events by name.
class TFuzzForm : public TForm {
    FOLIO_CLASS(TFuzzForm)
public:
    explicit TFuzzForm(TComponent* AOwner) : TForm(AOwner) {}
    void ItemClick(TObject*, TFolioItem*) {}
    void Clicked(TObject*) {}
};

} // namespace

const TClassInfo& TFuzzForm::StaticClassInfo() {
    static const TClassInfo Info = TClassBuilder<TFuzzForm>("TFuzzForm", &TForm::StaticClassInfo())
                                       .Method("ItemClick", &TFuzzForm::ItemClick)
                                       .Method("Clicked", &TFuzzForm::Clicked)
                                       .Creatable()
                                       .Build();
    return Info;
}
FOLIO_REGISTER_CLASS(TFuzzForm)

namespace {

String Text(TComponent* Root) {
    TWriter Writer;
    return FormToText(Writer.WriteRoot(Root));
}

TBytes Encode(TComponent* Root, TFormEncoding Encoding) {
    TMemoryStream S;
    WriteComponent(S, Root, nullptr, Encoding);
    return StreamBytes(S);
}

// The form every input is read into: a bar with groups, items and a
// picture, and the image list it uses.
std::unique_ptr<TFuzzForm> MakeForm() {
    auto Form = std::make_unique<TFuzzForm>(nullptr);
    Form->SetName("Form1");
    Form->SetCaption("Fuzz");
    auto* Images = new TImageList(Form.get());
    Images->SetName("Images");
    TBitmap Picture(32, 16);
    Picture.GetCanvas()->GetBrush()->SetColor(0x3060E0);
    Picture.GetCanvas()->FillRect(Rect(4, 4, 12, 12));
    Images->AddMasked(&Picture, clWhite);
    auto* Bar = new TFolio(Form.get());
    Bar->SetName("Bar1");
    Bar->SetParent(Form.get());
    Bar->SetLargeImages(Images);
    Bar->SetAnimationStyle(asNone);
    TFolioGroup* Mail = Bar->GetGroups()->Add("Mail");
    Mail->GetItems()->Add("Inbox", 0);
    Mail->GetItems()->Add("Sent", 1)->SetHint("it's sent");
    TFolioGroup* Places = Bar->GetGroups()->Add("Places");
    Places->SetStyle(gbBitmap);
    TBitmap Tile(4, 3);
    Places->SetBitmap(&Tile);
    Places->SetImageSize(isSmall);
    Bar->SetVisibleGroup(1);
    BindEventHandler(Bar, "OnItemClick", "ItemClick");
    BindEventHandler(Bar, "OnClick", "Clicked");
    return Form;
}

void CheckConversions(const std::uint8_t* Data, std::size_t Size) {
    const char* Bytes = reinterpret_cast<const char*>(Data);
    if (Size >= sizeof BinaryFormSignature &&
        std::memcmp(Bytes, BinaryFormSignature, sizeof BinaryFormSignature) == 0) {
        std::size_t Used = 0;
        TFormObject Form;
        try {
            Form = ParseBinaryForm(Bytes, Size, &Used);
        } catch (const EFormError&) {
            return;
        }
        const String AsText = FormToText(Form);
        TMemoryStream Again;
        WriteBinaryForm(ParseTextForm(AsText.data(), AsText.size()), Again);
        FOLIO_FUZZ_CHECK(StreamBytes(Again) == TBytes(Data, Data + Used),
                         "a binary form converted to text and back has other bytes");
        return;
    }
    TFormObject Form;
    try {
        Form = ParseTextForm(Bytes, Size);
    } catch (const EFormError&) {
        return;
    }
    // The text a person wrote becomes the one text the writer makes, which
    // survives a binary round trip unchanged.
    const String Canonical = FormToText(Form);
    TMemoryStream Binary;
    WriteBinaryForm(Form, Binary);
    const TBytes B = StreamBytes(Binary);
    const TFormObject Back = ParseBinaryForm(reinterpret_cast<const char*>(B.data()), B.size());
    FOLIO_FUZZ_CHECK(FormToText(Back) == Canonical, "a text form changed through the binary one");
}

} // namespace

FOLIO_FUZZ_SEEDS {
    auto Form = MakeForm();
    Seeds.Add("bar.form", Encode(Form.get(), feText));
    Seeds.Add("bar.bin", Encode(Form.get(), feBinary));
    auto Fresh = std::make_unique<TFuzzForm>(nullptr);
    Fresh->SetName("Form1");
    // Every kind of value, written by hand as a person might.
    const String Hand = "object Form1: TFuzzForm\n"
                        "  Caption = 'It''s'#10'two' + ' lines'\n"
                        "  Color = clBtnFace\n"
                        "  object Bar2: TFolio\n"
                        "    Anchors = [akLeft, akBottom]\n"
                        "    GroupsFont.Style = [fsBold]\n"
                        "    LargeImages = List2\n"
                        "    OnItemClick = ItemClick\n"
                        "    FrameShadowColor = $00FF8040\n"
                        "    Groups.Data = {6400000000000000}\n"
                        "  end\n"
                        "  inherited Bar1: TFolio\n"
                        "    VisibleGroupObject.Caption = 'Renamed'\n"
                        "  end\n"
                        "  object List2: TImageList\n"
                        "    Width = 8\n"
                        "  end\n"
                        "end\n";
    Seeds.Add("hand.form", TBytes(Hand.begin(), Hand.end()));
    // Found by the fuzzer: a byte code of many hex digits overflowed while
    // it was added up (the form is refused, as it was, without the overflow).
    const String LongCode = "object m\n  Caption = 'It''s'#$9999999999999999999999999'x'\nend\n";
    Seeds.Add("long-byte-code.form", TBytes(LongCode.begin(), LongCode.end()));
    // Found by the fuzzer: a class named like a value word read from text
    // but not back from the binary form the text became.
    const String ValueWords = "object nil: TFuzzForm\n  object Bar2: False\n  end\nend\n";
    Seeds.Add("value-word-names.form", TBytes(ValueWords.begin(), ValueWords.end()));
    // Found by the fuzzer: a name too long for the binary encoding read from
    // text and then failed to save. This one is as long as a name may be.
    const String LongName =
        "object N" + String(254, 'n') + ": TFuzzForm\n  object Bar2: TFolio\n  end\nend\n";
    Seeds.Add("longest-name.form", TBytes(LongName.begin(), LongName.end()));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    CheckConversions(Data, Size);

    // Most inputs fail to read, and a failed read must leave the form as it
    // was: the form and its text are made once and kept until a read
    // succeeds. It lives as long as the process, as the application does.
    static TFuzzForm* Form = nullptr;
    static String Before;
    if (!Form) {
        Form = MakeForm().release();
        Before = Text(Form);
    }
    TMemoryStream Stream;
    FillStream(Stream, Data, Size);
    TPeakMemory::Begin();
    try {
        ReadComponent(Stream, Form);
    } catch (const Exception&) {
        NoteMemoryRatio("form_file", Size, TPeakMemory::Peak());
        FOLIO_FUZZ_CHECK(Text(Form) == Before, "a failed read changed the form");
        FOLIO_FUZZ_CHECK(Form->ComponentCount() == 2, "a failed read left components behind");
        return 0;
    }
    NoteMemoryRatio("form_file", Size, TPeakMemory::Peak());
    // The next input reads into a fresh form; this one is checked below.
    const std::unique_ptr<TFuzzForm> Read(std::exchange(Form, nullptr));
    // A form may hold what its writer puts elsewhere (a control nested in
    // a component that cannot be its parent moves to the form), so the
    // promise is that the written form is settled after one round trip.
    TFuzzForm Copy(nullptr), Again(nullptr);
    try {
        TMemoryStream First, Second;
        WriteComponent(First, Read.get(), nullptr, feBinary);
        First.SetPosition(0);
        ReadComponent(First, &Copy);
        WriteComponent(Second, &Copy, nullptr, feText);
        Second.SetPosition(0);
        ReadComponent(Second, &Again);
    } catch (const Exception& E) {
        FOLIO_FUZZ_CHECK(false, String("a form that was read does not read back: ") + E.what());
    }
    FOLIO_FUZZ_CHECK(Text(&Again) == Text(&Copy), "a form read back writes other text");
    return 0;
}
