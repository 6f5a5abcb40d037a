// ReadComponent: a form file in either encoding (chosen by its first bytes),
// read into a form that already holds a bar, an image list, a chart with a
// list, a collection and floats, and a frame.
//
// Promises checked: a form the parser takes converts to the other encoding
// and back without loss; a read that raises leaves the form and its
// components as they were; a read that succeeds gives a form that writes and
// reads back to the same text; no read takes more memory than MemoryBound
// allows for its size. The dictionary fuzz/dict/form_file.dict gives the
// words of the text encoding.

#include "fuzz/FuzzTarget.h"
#include "fuzz/support/PeakMemory.h"

#include "folio/Folio.h"
#include "framework/core/ClassBuilder.h"
#include "framework/core/Collection.h"
#include "framework/core/EventHandlers.h"
#include "framework/core/Exceptions.h"
#include "framework/core/FormBinary.h"
#include "framework/core/FormFiles.h"
#include "framework/core/FormText.h"
#include "framework/core/StringList.h"
#include "framework/core/Writer.h"
#include "framework/gfx/Canvas.h"
#include "framework/ui/comctrls/ListView.h"
#include "framework/ui/comctrls/ProgressBar.h"
#include "framework/ui/comctrls/SpinEdit.h"
#include "framework/ui/comctrls/StatusBar.h"
#include "framework/ui/comctrls/ToolBar.h"
#include "framework/ui/comctrls/TrackBar.h"
#include "framework/ui/comctrls/TreeView.h"
#include "framework/ui/extctrls/Bevel.h"
#include "framework/ui/extctrls/ScrollBox.h"
#include "framework/ui/extctrls/Shape.h"
#include "framework/ui/extctrls/SpeedButton.h"
#include "framework/ui/extctrls/Splitter.h"
#include "framework/ui/extctrls/Timer.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/grids/StringGrid.h"
#include "framework/ui/stdctrls/CheckBox.h"
#include "framework/ui/stdctrls/Memo.h"
#include "framework/ui/stdctrls/RadioButton.h"
#include "framework/ui/stdctrls/RadioGroup.h"

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

// The kinds of value the controls of the bar's form do not use: a string
// list, a collection whose items refer to components and hold lists, and
// floats of each width.
class TFuzzColumn : public TCollectionItem {
    FOLIO_CLASS(TFuzzColumn)
public:
    explicit TFuzzColumn(TCollection* Collection) : TCollectionItem(Collection) {}
    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value) { FCaption = Value; }
    float GetScale() const { return FScale; }
    void SetScale(float Value) { FScale = Value; }
    TComponent* GetLink() const { return FLink; }
    void SetLink(TComponent* Value) { FLink = Value; }
    TStrings* GetNotes() const { return const_cast<TStringList*>(&FNotes); }
    void SetNotes(TStrings* Value) { FNotes.Assign(Value); }

private:
    String FCaption;
    float FScale = 1;
    TComponent* FLink = nullptr;
    TStringList FNotes;
};

class TFuzzChart : public TComponent {
    FOLIO_CLASS(TFuzzChart)
public:
    explicit TFuzzChart(TComponent* AOwner)
        : TComponent(AOwner),
          FColumns(this, TFuzzColumn::StaticClassInfo(), TCollection::MakeItemOf<TFuzzColumn>()) {}
    TStrings* GetLines() const { return const_cast<TStringList*>(&FLines); }
    void SetLines(TStrings* Value) { FLines.Assign(Value); }
    TCollection* GetColumns() const { return const_cast<TCollection*>(&FColumns); }
    void SetColumns(TCollection* Value) { FColumns.Assign(Value); }
    double GetRatio() const { return FRatio; }
    void SetRatio(double Value) { FRatio = Value; }
    long double GetPrecise() const { return FPrecise; }
    void SetPrecise(long double Value) { FPrecise = Value; }

private:
    TStringList FLines;
    TCollection FColumns;
    double FRatio = 1;
    long double FPrecise = 0;
};

// A frame whose class makes a chart and a bar of its own.
class TFuzzFrame : public TComponent {
    FOLIO_CLASS(TFuzzFrame)
public:
    explicit TFuzzFrame(TComponent* AOwner) : TComponent(AOwner) {
        auto* Chart = new TFuzzChart(this);
        Chart->SetName("Chart");
        Chart->GetLines()->Add("framed");
        auto* Bar = new TFolio(this);
        Bar->SetName("Bar");
    }
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

const TClassInfo& TFuzzColumn::StaticClassInfo() {
    using C = TFuzzColumn;
    static const TClassInfo Info =
        TClassBuilder<C>("TFuzzColumn", &TCollectionItem::StaticClassInfo())
            .Str("Caption", &C::GetCaption, &C::SetCaption)
            .Float("Scale", &C::GetScale, &C::SetScale, 1.0f)
            .Component("Link", &C::GetLink, &C::SetLink)
            .Object("Notes", &C::GetNotes, &C::SetNotes)
            .Build();
    return Info;
}

const TClassInfo& TFuzzChart::StaticClassInfo() {
    using C = TFuzzChart;
    static const TClassInfo Info = TClassBuilder<C>("TFuzzChart", &TComponent::StaticClassInfo())
                                       .Object("Lines", &C::GetLines, &C::SetLines)
                                       .Object("Columns", &C::GetColumns, &C::SetColumns)
                                       .Float("Ratio", &C::GetRatio, &C::SetRatio, 1.0)
                                       .Float("Precise", &C::GetPrecise, &C::SetPrecise)
                                       .Creatable()
                                       .Build();
    return Info;
}
FOLIO_REGISTER_CLASS(TFuzzChart)

const TClassInfo& TFuzzFrame::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TFuzzFrame>("TFuzzFrame", &TComponent::StaticClassInfo()).Creatable().Build();
    return Info;
}
FOLIO_REGISTER_CLASS(TFuzzFrame)

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
    auto* Chart = new TFuzzChart(Form.get());
    Chart->SetName("Chart1");
    Chart->GetLines()->Add("one");
    Chart->GetLines()->Add("\xD0\x96 two");
    auto* Column = static_cast<TFuzzColumn*>(Chart->GetColumns()->Add());
    Column->SetCaption("Name");
    Column->SetScale(0.5f);
    Column->SetLink(Bar);
    Column->GetNotes()->Add("note");
    Chart->GetColumns()->Add();
    Chart->SetRatio(0.1);
    Chart->SetPrecise(1.0L / 3);
    auto* Frame = new TFuzzFrame(Form.get());
    Frame->SetName("Frame1");
    Frame->SetInline(true);
    static_cast<TFuzzChart*>(Frame->FindComponent("Chart"))->SetRatio(2.5);
    return Form;
}

// Bytes of memory a read may take for each byte of its form (see MemoryBound).
constexpr std::int64_t ReadFactor = 4096;

// What reading a form of Size bytes may take at its peak. The text is
// copied once and becomes a tree of a few hundred bytes for each value,
// item or object it names (the smallest of which takes two or three bytes
// of text), and a component the form makes costs up to some hundred
// kilobytes (a bar with its fonts and pictures) for the dozen bytes of its
// "object" line. No string value is longer than MaxFormStringLength: a
// longer one is refused before room is made for it, so a form of one huge
// caption costs its text and one string of at most that size, not a
// multiple of the caption.
std::int64_t MemoryBound(std::size_t Size) {
    const auto N = static_cast<std::int64_t>(Size);
    return (8 << 20) + 2 * static_cast<std::int64_t>(MaxFormStringLength) + ReadFactor * N;
}

void CheckMemory(std::size_t Size) {
    const std::int64_t Peak = TPeakMemory::Peak();
    NoteMemoryRatio("form_file", Size, Peak);
    FOLIO_FUZZ_CHECK(!TPeakMemory::Available() || Peak <= MemoryBound(Size),
                     "reading " + std::to_string(Size) + " bytes took " + std::to_string(Peak));
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
    // The dialect of other applications' forms, every kind of value and
    // object it has, as they write it.
    const String Dialect = "\xEF\xBB\xBF"
                           "inherited Form1: TFuzzForm\n"
                           "  Caption = 'Param'#232'tres '#1053#1072' '#55357#56832' Caf'#195#169\n"
                           "  object Chart2: TFuzzChart [0]\n"
                           "    Lines.Strings = (\n"
                           "      'one'\n"
                           "      'two' +\n"
                           "      ' halves')\n"
                           "    Columns = <\n"
                           "      item\n"
                           "        Caption = #1046\n"
                           "        Scale = 1.5s\n"
                           "        Link = Frame1.Chart\n"
                           "      end\n"
                           "      item [1]\n"
                           "        Notes.Text = 'a'#13#10'b'\n"
                           "      end>\n"
                           "    Ratio = 0.750000000000000000\n"
                           "    Precise = 1.5E+300\n"
                           "    Tag = 7\n"
                           "  end\n"
                           "  inline \xD0\x9A\xD0\xB0\xD0\xB4\xD1\x80: TFuzzFrame\n"
                           "    inherited Chart: TFuzzChart [1]\n"
                           "      Columns = <>\n"
                           "      Lines.Strings = ()\n"
                           "    end\n"
                           "  end\n"
                           "  object List: TFuzzChart\n"
                           "    Lines.Strings = {020000000100000061020000006263}\n"
                           "    Columns = <item Link = Form1.Bar1 end>\n"
                           "  end\n"
                           "end\n";
    Seeds.Add("dialect.form", TBytes(Dialect.begin(), Dialect.end()));
    // The same kinds in a tree of no classes, for the converters: lists
    // in lists, floats at their edges, references to other forms.
    const String Values = "object T\n"
                          "  L = (1 -2.5 3.25s $FF 'x' #1046 [a, b] {0A0B} (nil (True False)) <>)\n"
                          "  E = (0.0 -0.0 1E-4951 1.18973149535723176502E+4932 3.4028235E+38s)\n"
                          "  R = MainForm.Images.Item\n"
                          "  C = <item [3] A = <item end> end>\n"
                          "end\n";
    Seeds.Add("values.form", TBytes(Values.begin(), Values.end()));
    // The text and list controls as the writer stores them: a memo's lines
    // and a tree's nodes as a list of (level caption picture) lists.
    auto Views = std::make_unique<TFuzzForm>(nullptr);
    Views->SetName("Form1");
    auto* Memo = new TMemo(Views.get());
    Memo->SetName("Memo1");
    Memo->GetLines()->SetText("one\n\nthree\n");
    Memo->SetScrollBars(ssBoth);
    auto* Tree = new TTreeView(Views.get());
    Tree->SetName("Tree1");
    TTreeNode* Top = Tree->GetItems()->AddChild(nullptr, "top");
    Tree->GetItems()->AddChild(Tree->GetItems()->AddChild(Top, "child"), "grandchild");
    Tree->GetItems()->AddChild(nullptr, "second")->SetImageIndex(2);
    auto* List = new TListView(Views.get());
    List->SetName("List1");
    List->SetViewStyle(vsReport);
    List->GetColumns()->Add()->SetCaption("Name");
    List->GetColumns()->Add()->SetAlignment(taRightJustify);
    TListItem* Entry = List->GetItems()->Add();
    Entry->SetCaption("entry");
    Entry->GetSubItems()->Add("12");
    List->GetItems()->Add()->SetImageIndex(4);
    auto* Grid = new TStringGrid(Views.get());
    Grid->SetName("Grid1");
    Grid->SetStoreCells(true);
    Grid->SetCells(1, 2, "cell");
    Grid->SetCells(4, 4, "corner");
    Seeds.Add("views.form", Encode(Views.get(), feText));
    Seeds.Add("views.bin", Encode(Views.get(), feBinary));
    // The small everyday controls as the writer stores them: states,
    // ranges, a radio group's items, a status bar's panels (a collection),
    // tool buttons on their bar, shapes, a splitter, a scroll box and a
    // timer.
    auto Small = std::make_unique<TFuzzForm>(nullptr);
    Small->SetName("Form1");
    auto* Check = new TCheckBox(Small.get());
    Check->SetName("Check1");
    Check->SetAllowGrayed(true);
    Check->SetState(cbGrayed);
    auto* Radio = new TRadioButton(Small.get());
    Radio->SetName("Radio1");
    Radio->SetChecked(true);
    auto* Group = new TRadioGroup(Small.get());
    Group->SetName("Group1");
    Group->GetItems()->Add("first");
    Group->GetItems()->Add("second");
    Group->SetItemIndex(1);
    Group->SetColumns(2);
    auto* Spin = new TSpinEdit(Small.get());
    Spin->SetName("Spin1");
    Spin->SetMinValue(-5);
    Spin->SetMaxValue(50);
    Spin->SetValue(12);
    auto* Track = new TTrackBar(Small.get());
    Track->SetName("Track1");
    Track->SetMax(20);
    Track->SetPosition(15);
    Track->SetOrientation(trVertical);
    auto* Progress = new TProgressBar(Small.get());
    Progress->SetName("Progress1");
    Progress->SetPosition(40);
    auto* Status = new TStatusBar(Small.get());
    Status->SetName("Status1");
    Status->GetPanels()->Add()->SetText("Ready");
    TStatusPanel* Count = Status->GetPanels()->Add();
    Count->SetWidth(80);
    Count->SetAlignment(taRightJustify);
    auto* Tools = new TToolBar(Small.get());
    Tools->SetName("Tools1");
    Tools->SetParent(Small.get());
    Tools->SetFlat(false);
    for (TToolButtonStyle Style : {tbsCheck, tbsSeparator, tbsDropDown}) {
        auto* Tool = new TToolButton(Small.get());
        Tool->SetName("Tool" + std::to_string(static_cast<int>(Style)));
        Tool->SetParent(Tools);
        Tool->SetStyle(Style);
    }
    auto* Speed = new TSpeedButton(Small.get());
    Speed->SetName("Speed1");
    Speed->SetGroupIndex(1);
    Speed->SetDown(true);
    auto* Bevel = new TBevel(Small.get());
    Bevel->SetName("Bevel1");
    Bevel->SetShape(bsFrame);
    auto* Shape = new TShape(Small.get());
    Shape->SetName("Shape1");
    Shape->SetShape(stRoundRect);
    Shape->GetBrush()->SetColor(clYellow);
    auto* Split = new TSplitter(Small.get());
    Split->SetName("Split1");
    Split->SetMinSize(40);
    auto* Box = new TScrollBox(Small.get());
    Box->SetName("Box1");
    auto* Timer = new TTimer(Small.get());
    Timer->SetName("Timer1");
    Timer->SetInterval(250);
    Seeds.Add("small-controls.form", Encode(Small.get(), feText));
    Seeds.Add("small-controls.bin", Encode(Small.get(), feBinary));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    CheckConversions(Data, Size);

    // Most inputs fail to read, and a failed read must leave the form as it
    // was: the form and its text are made once and kept until a read
    // succeeds. It lives as long as the process, as the application does.
    static TFuzzForm* Form = nullptr;
    static String Before;
    static int ComponentCount = 0;
    if (!Form) {
        Form = MakeForm().release();
        Before = Text(Form);
        ComponentCount = Form->ComponentCount();
    }
    TMemoryStream Stream;
    FillStream(Stream, Data, Size);
    TPeakMemory::Begin();
    try {
        ReadComponent(Stream, Form);
    } catch (const Exception&) {
        CheckMemory(Size);
        FOLIO_FUZZ_CHECK(Text(Form) == Before, "a failed read changed the form");
        FOLIO_FUZZ_CHECK(Form->ComponentCount() == ComponentCount,
                         "a failed read left components behind");
        return 0;
    }
    CheckMemory(Size);
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
