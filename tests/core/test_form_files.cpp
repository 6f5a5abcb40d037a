#include "FormTestClasses.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/ClassUnregistrations.h"
#include "framework/core/ColorConsts.h"
#include "framework/core/EventHandlers.h"
#include "framework/core/Exceptions.h"
#include "framework/core/FormBinary.h"
#include "framework/core/FormText.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include <sys/resource.h>

namespace formtest {

const TClassInfo& TShapeFont::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TShapeFont>("TShapeFont", &TPersistent::StaticClassInfo())
            .Int("Size", &TShapeFont::GetSize, &TShapeFont::SetSize, 8)
            .Str("Name", &TShapeFont::GetName, &TShapeFont::SetName)
            .Build();
    return Info;
}

const TClassInfo& TShape::StaticClassInfo() {
    using C = TShape;
    static const TClassInfo Info =
        TClassBuilder<C>("TShape", &TComponent::StaticClassInfo())
            .Int("Width", &C::GetWidth, &C::SetWidth, 10)
            .Bool("Visible", &C::GetVisible, &C::SetVisible, true)
            .Enum("Kind", "TShapeKind", {"skBox", "skCircle", "skStar"}, &C::GetKind, &C::SetKind,
                  skBox)
            .Color("Color", &C::GetColor, &C::SetColor, clBlack)
            .Str("Caption", &C::GetCaption, &C::SetCaption)
            .Set("Sides", "TSides", {"sdLeft", "sdTop", "sdRight", "sdBottom"}, &C::GetSides,
                 &C::SetSides, TSides{TSide::sdLeft, TSide::sdTop}.Bits())
            .Int("Small", &C::GetSmall, &C::SetSmall, 0)
            .Int("Big", &C::GetBig, &C::SetBig, 0)
            .Object("Font", &C::GetFont, &C::SetFont)
            .Component("Buddy", &C::GetBuddy, &C::SetBuddy)
            .Event("OnClick", &C::OnClick)
            .Event("OnCode", &C::OnCode)
            .Creatable()
            .Build();
    return Info;
}
FOLIO_REGISTER_CLASS(TShape)

const TClassInfo& TShapeBox::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TShapeBox>("TShapeBox", &TShape::StaticClassInfo()).Creatable().Build();
    return Info;
}
FOLIO_REGISTER_CLASS(TShapeBox)

const TClassInfo& TBoxedShape::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TBoxedShape>("TBoxedShape", &TShape::StaticClassInfo()).Creatable().Build();
    return Info;
}
FOLIO_REGISTER_CLASS(TBoxedShape)

const TClassInfo& TShapeForm::StaticClassInfo() {
    using C = TShapeForm;
    static const TClassInfo Info = TClassBuilder<C>("TShapeForm", &TComponent::StaticClassInfo())
                                       .Str("Title", &C::GetTitle, &C::SetTitle)
                                       .Method("ShapeClick", &C::ShapeClick)
                                       .Method("ShapeCode", &C::ShapeCode)
                                       .Creatable()
                                       .Build();
    return Info;
}
FOLIO_REGISTER_CLASS(TShapeForm)

const TClassInfo& TShapeForm2::StaticClassInfo() {
    using C = TShapeForm2;
    static const TClassInfo Info = TClassBuilder<C>("TShapeForm2", &TShapeForm::StaticClassInfo())
                                       .Method("OtherClick", &C::OtherClick)
                                       .Creatable()
                                       .Build();
    return Info;
}
FOLIO_REGISTER_CLASS(TShapeForm2)

namespace {

String ToText(TComponent* Root, TComponent* Ancestor = nullptr) {
    TWriter Writer;
    return FormToText(Writer.WriteRoot(Root, Ancestor));
}

String ToBinary(TComponent* Root, TComponent* Ancestor = nullptr) {
    TMemoryStream S;
    WriteComponent(S, Root, Ancestor, feBinary);
    return String(S.Memory(), static_cast<size_t>(S.GetSize()));
}

void ReadText(const String& Text, TComponent* Root) {
    TMemoryStream S;
    S.WriteBuffer(Text.data(), static_cast<std::int64_t>(Text.size()));
    S.SetPosition(0);
    ReadComponent(S, Root);
}

TShape* Shape(TComponent* Root, const char* Name) {
    return dynamic_cast<TShape*>(Root->FindComponent(Name));
}

// A form that uses every kind of property; the first shape refers to the
// second, which comes later in the form.
std::unique_ptr<TShapeForm> RichForm() {
    auto Form = std::make_unique<TShapeForm2>(nullptr);
    Form->SetName("Form1");
    Form->SetTitle("Every 'kind'\n\xC3\xA9t\xC3\xA9 \x01\xFF");
    auto* A = new TShape(Form.get());
    A->SetName("Shape1");
    auto* B = new TShapeBox(Form.get());
    B->SetName("Box1");
    auto* Inner = new TBoxedShape(Form.get());
    Inner->SetName("Inner1");
    Inner->SetParentComponent(B);
    A->SetWidth(-7);
    A->SetVisible(false);
    A->SetKind(skStar);
    A->SetColor(clBtnFace);
    A->SetCaption(String(150, 'x') + "'");
    A->SetSides(TSides{TSide::sdRight}.Bits());
    A->SetSmall(-300);
    A->SetBig(1LL << 40);
    A->GetFont()->SetSize(12);
    A->GetFont()->SetName("Mono");
    A->SetBuddy(B);
    A->Extra = 42;
    A->Blob = String("\0\1\2\3 binary", 12);
    BindEventHandler(A, "OnClick", "ShapeClick");
    B->SetColor(0x123456);
    B->SetKind(static_cast<TShapeKind>(9)); // no name: written as a number
    B->SetSides(0);
    B->SetBuddy(A);
    BindEventHandler(B, "OnCode", "ShapeCode");
    Inner->SetCaption("");
    Inner->SetBuddy(Inner);
    return Form;
}

struct TFormEncodingCase {
    const char* Name;
    TFormEncoding Encoding;
};

class FormRoundTrip : public testing::TestWithParam<TFormEncodingCase> {};

TEST_P(FormRoundTrip, RestoresEveryKindOfPropertyReferencesAndEvents) {
    auto Original = RichForm();
    TMemoryStream S;
    WriteComponent(S, Original.get(), nullptr, GetParam().Encoding);
    S.SetPosition(0);
    Journal().clear();
    std::unique_ptr<TComponent> Read(ReadComponent(S));
    ASSERT_EQ(Read->ClassName(), "TShapeForm2");

    // Writing the copy gives the same form: every stored value came back.
    EXPECT_EQ(ToText(Read.get()), ToText(Original.get()));
    TShape* A = Shape(Read.get(), "Shape1");
    TShape* B = Shape(Read.get(), "Box1");
    auto* Inner = dynamic_cast<TBoxedShape*>(Read->FindComponent("Inner1"));
    ASSERT_TRUE(A && B && Inner);
    EXPECT_EQ(A->GetBuddy(), B) << "a reference to a component later in the form";
    EXPECT_EQ(Inner->GetBuddy(), Inner);
    EXPECT_EQ(Inner->GetParentComponent(), B);
    EXPECT_EQ(A->GetBig(), 1LL << 40);
    EXPECT_EQ(A->Blob, String("\0\1\2\3 binary", 12));
    EXPECT_EQ(static_cast<int>(B->GetKind()), 9);
    EXPECT_EQ(static_cast<TShapeForm*>(Read.get())->GetTitle(),
              static_cast<TShapeForm*>(Original.get())->GetTitle());

    // Every component was loading while it was read, and was told Loaded
    // afterwards in creation order; then the handlers call the new form.
    EXPECT_EQ(Journal(), (std::vector<String>{"Shape1 width while loading", "Form1 loaded",
                                              "Shape1 loaded", "Box1 loaded", "Inner1 loaded"}));
    for (TComponent* C : {Read.get(), static_cast<TComponent*>(A), static_cast<TComponent*>(B)})
        EXPECT_FALSE(C->IsLoading()) << C->GetName();
    Journal().clear();
    ASSERT_TRUE(A->OnClick && B->OnCode);
    A->OnClick(A);
    B->OnCode(B, 5);
    EXPECT_EQ(Journal(), (std::vector<String>{"Form1 clicked by Shape1", "code 5"}));
    EXPECT_EQ(A->GetEventHandlerName("OnClick"), "ShapeClick");
}

INSTANTIATE_TEST_SUITE_P(Encodings, FormRoundTrip,
                         testing::Values(TFormEncodingCase{"Binary", feBinary},
                                         TFormEncodingCase{"Text", feText}),
                         [](const auto& Info) { return String(Info.param.Name); });

TEST(FormWriter, LeavesOutDeclaredDefaultsAndWritesTheRest) {
    TShapeForm Form(nullptr);
    Form.SetName("Form1");
    auto* S = new TShape(&Form);
    S->SetName("Plain");
    const String AtDefaults = ToText(&Form);
    // Only what has no declared default: the strings.
    EXPECT_EQ(AtDefaults, "object Form1: TShapeForm\n"
                          "  Title = ''\n"
                          "  object Plain: TShape\n"
                          "    Caption = ''\n"
                          "    Font.Name = 'Sans'\n"
                          "  end\n"
                          "end\n");
    S->SetWidth(11);
    S->SetColor(clRed);
    S->GetFont()->SetSize(9);
    S->SetSides(0);
    const String Changed = ToText(&Form);
    for (const char* Line :
         {"    Width = 11\n", "    Color = clRed\n", "    Font.Size = 9\n", "    Sides = []\n"})
        EXPECT_NE(Changed.find(Line), String::npos) << Line << Changed;
}

TEST(FormReader, ResolvesReferencesToComponentsLaterInTheForm) {
    TShapeForm Form(nullptr);
    ReadText("object Form1: TShapeForm\n"
             "  object First: TShape\n"
             "    Buddy = Last\n"
             "  end\n"
             "  object Last: TShape\n"
             "    Buddy = First\n"
             "  end\n"
             "end\n",
             &Form);
    EXPECT_EQ(Shape(&Form, "First")->GetBuddy(), Shape(&Form, "Last"));
    EXPECT_EQ(Shape(&Form, "Last")->GetBuddy(), Shape(&Form, "First"));
    EXPECT_EQ(Form.GetName(), "Form1");
    EXPECT_THROW(ReadText("object Form1: TShapeForm\n"
                          "  object Odd: TShape\n"
                          "    Buddy = Form1\n"
                          "  end\n"
                          "end\n",
                          &Form),
                 EFormError)
        << "a reference to a component of the wrong class";
}

// --- damaged forms ---------------------------------------------------------------------

struct TDamage {
    const char* Name;
    const char* Text;  // the damaged form
    const char* Place; // where the error must point
    const char* Says;  // what it must name
};

const char* const GoodForm = "object Form1: TShapeForm\n"
                             "  Title = 'kept'\n"
                             "  object Old: TShape\n"
                             "    Width = 3\n"
                             "  end\n"
                             "end\n";

const TDamage Damages[] = {
    {"UnknownClass", "object Form1: TShapeForm\n  object A: TNoSuchShape\n  end\nend\n", "line 2",
     "unknown class TNoSuchShape"},
    {"UnknownProperty",
     "object Form1: TShapeForm\n  Title = 'x'\n  object A: TShape\n    Heigth = 3\n  end\nend\n",
     "line 4", "no property Heigth"},
    {"WrongType", "object Form1: TShapeForm\n  object A: TShape\n    Width = 'wide'\n  end\nend\n",
     "line 3", "expected an integer"},
    {"OutOfRange", "object Form1: TShapeForm\n  object A: TShape\n    Small = 40000\n  end\nend\n",
     "line 3", "from -32768 to 32767"},
    {"UnknownEnum", "object Form1: TShapeForm\n  object A: TShape\n    Kind = skCube\n  end\nend\n",
     "line 3", "skBox, skCircle, skStar"},
    {"UnknownSetElement",
     "object Form1: TShapeForm\n  object A: TShape\n    Sides = [sdLeft, sdUp]\n  end\nend\n",
     "line 3", "sdUp is not an element of TSides"},
    {"BadHex",
     "object Form1: TShapeForm\n  object A: TShape\n    Blob = {\n      0100000G\n    }\n  "
     "end\nend\n",
     "line 4", "hex digit"},
    {"OddHex", "object Form1: TShapeForm\n  object A: TShape\n    Blob = {010}\n  end\nend\n",
     "line 3", "odd number of hex digits"},
    {"TruncatedBinaryProperty",
     "object Form1: TShapeForm\n  object A: TShape\n    Blob = {05000000414243}\n  end\nend\n",
     "line 3", "A.Blob"},
    {"BinaryPropertyWithBytesLeft",
     "object Form1: TShapeForm\n  object A: TShape\n    Blob = {010000004142}\n  end\nend\n",
     "line 3", "left unread"},
    {"MissingEnd", "object Form1: TShapeForm\n  object A: TShape\n    Width = 4\nend\n", "line 5",
     "expected 'end' to close Form1 (opened on line 1)"},
    {"NeverAppears",
     "object Form1: TShapeForm\n  object A: TShape\n    Buddy = Ghost\n  end\nend\n", "line 3",
     "Ghost never appears"},
    {"UnknownHandler",
     "object Form1: TShapeForm\n  object A: TShape\n    OnClick = Missing\n  end\nend\n", "line 3",
     "no handler named Missing"},
    {"HandlerDoesNotFit",
     "object Form1: TShapeForm\n  object A: TShape\n    OnClick = ShapeCode\n  end\nend\n",
     "line 3", "does not fit"},
    {"DuplicateName",
     "object Form1: TShapeForm\n  object A: TShape\n  end\n  object a: TShape\n  end\nend\n",
     "line 4", "already in the form"},
    {"NameOfAnExistingComponent", "object Form1: TShapeForm\n  object Old: TShape\n  end\nend\n",
     "line 2", "already in the form"},
    {"UnclosedString", "object Form1: TShapeForm\n  Title = 'open\nend\n", "line 2", "not closed"},
    {"NilObject", "object Form1: TShapeForm\n  object A: TShape\n    Font = nil\n  end\nend\n",
     "line 3", "holds an object"},
    {"WrongRootClass", "object Form1: TShape\nend\n", "line 1", "does not descend from it"},
    {"InheritedNotInAncestor", "object Form1: TShapeForm\n  inherited Nobody: TShape\n  end\nend\n",
     "line 2", "not in the ancestor form"},
};

class DamagedForm : public testing::TestWithParam<TDamage> {};

TEST_P(DamagedForm, RaisesWithItsPlaceAndLeavesTheComponentsAsTheyWere) {
    TShapeForm Form(nullptr);
    ReadText(GoodForm, &Form);
    const String Before = ToText(&Form);
    try {
        ReadText(GetParam().Text, &Form);
        FAIL() << "the damaged form was read";
    } catch (const EFormError& E) {
        EXPECT_NE(E.Message().find(GetParam().Place), String::npos) << E.Message();
        EXPECT_NE(E.Message().find(GetParam().Says), String::npos) << E.Message();
    }
    EXPECT_EQ(ToText(&Form), Before);
    EXPECT_EQ(Form.ComponentCount(), 1);
    EXPECT_FALSE(Form.IsLoading());
    EXPECT_FALSE(Form.Components(0)->IsLoading());
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedForm, testing::ValuesIn(Damages),
                         [](const auto& Info) { return String(Info.param.Name); });

TEST(FormReader, ABinaryFormCutAnywhereRaisesWithItsOffsetAndChangesNothing) {
    auto Original = RichForm();
    const String Binary = ToBinary(Original.get());
    TShapeForm2 Form(nullptr);
    ReadText(GoodForm, &Form);
    const String Before = ToText(&Form);
    // Every cut of the form, and a binary property whose own length claims
    // more bytes than it holds.
    std::vector<String> Damaged;
    for (size_t Length = 0; Length < Binary.size(); Length += 7)
        Damaged.push_back(Binary.substr(0, Length));
    String Claim = Binary;
    const size_t Blob = Claim.find("Blob");
    ASSERT_NE(Blob, String::npos);
    Claim[Blob + 4 + 1 + 4] = 99; // the first byte of the blob's own length
    Damaged.push_back(Claim);
    for (const String& Bytes : Damaged) {
        TMemoryStream S;
        S.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
        S.SetPosition(0);
        try {
            ReadComponent(S, &Form);
            ADD_FAILURE() << "a damaged binary form of " << Bytes.size() << " bytes was read";
        } catch (const EFormError& E) {
            if (Bytes.size() >= sizeof BinaryFormSignature) {
                EXPECT_NE(E.Message().find("Binary form, offset"), String::npos) << E.Message();
            }
        }
        EXPECT_EQ(ToText(&Form), Before);
    }
}

TEST(FormReader, AFailedReadPutsBackTheRootsOwnPropertiesAndReferences) {
    TShapeForm Form(nullptr);
    ReadText("object Form1: TShapeForm\n"
             "  Title = 'before'\n"
             "  object Keep: TShape\n"
             "    Buddy = Keep\n"
             "  end\n"
             "end\n",
             &Form);
    TShape* Keep = Shape(&Form, "Keep");
    // The second form renames the root, changes its title, points the
    // existing shape elsewhere through an inherited block, then fails.
    EXPECT_THROW(ReadText("object Renamed: TShapeForm\n"
                          "  Title = 'after'\n"
                          "  inherited Keep: TShape\n"
                          "    Width = 99\n"
                          "    Buddy = New\n"
                          "  end\n"
                          "  object New: TShape\n"
                          "    Width = 'bad'\n"
                          "  end\n"
                          "end\n",
                          &Form),
                 EFormError);
    EXPECT_EQ(Form.GetName(), "Form1");
    EXPECT_EQ(Form.GetTitle(), "before");
    EXPECT_EQ(Keep->GetWidth(), 10);
    EXPECT_EQ(Keep->GetBuddy(), Keep);
    EXPECT_EQ(Form.ComponentCount(), 1);
}

// --- inherited forms -------------------------------------------------------------------

std::unique_ptr<TShapeForm> AncestorForm() {
    auto Form = std::make_unique<TShapeForm>(nullptr);
    Form->SetName("Base");
    Form->SetTitle("base");
    auto* A = new TShape(Form.get());
    A->SetName("A");
    A->SetWidth(20);
    BindEventHandler(A, "OnClick", "ShapeClick");
    auto* B = new TShape(Form.get());
    B->SetName("B");
    B->SetCaption("b");
    return Form;
}

TEST(InheritedForm, StoresOnlyTheDifferencesAndReadsBackOverTheAncestor) {
    auto Ancestor = AncestorForm();
    auto Descendant = AncestorForm();
    TShape* A = Shape(Descendant.get(), "A");
    A->SetWidth(30);
    A->OnClick = nullptr;
    auto* C = new TShape(Descendant.get());
    C->SetName("C");
    C->SetBuddy(Shape(Descendant.get(), "B"));

    EXPECT_EQ(ToText(Descendant.get(), Ancestor.get()), "inherited Base: TShapeForm\n"
                                                        "  inherited A: TShape\n"
                                                        "    Width = 30\n"
                                                        "    OnClick = nil\n"
                                                        "  end\n"
                                                        "  object C: TShape\n"
                                                        "    Caption = ''\n"
                                                        "    Font.Name = 'Sans'\n"
                                                        "    Buddy = B\n"
                                                        "  end\n"
                                                        "end\n");
    EXPECT_EQ(ToText(Ancestor.get(), Ancestor.get()), "inherited Base: TShapeForm\nend\n")
        << "a form equal to its ancestor stores nothing";

    TMemoryStream Base, Diff;
    WriteComponent(Base, Ancestor.get(), nullptr, feText);
    WriteComponent(Diff, Descendant.get(), Ancestor.get(), feBinary);
    Base.SetPosition(0);
    Diff.SetPosition(0);
    TShapeForm Read(nullptr);
    ReadInheritedComponent({&Base, &Diff}, &Read);
    EXPECT_EQ(ToText(&Read), ToText(Descendant.get()));
    EXPECT_EQ(Shape(&Read, "C")->GetBuddy(), Shape(&Read, "B"));
    EXPECT_FALSE(Shape(&Read, "A")->OnClick);
    EXPECT_EQ(Shape(&Read, "A")->GetEventHandlerName("OnClick"), "");
}

// --- files and encodings ---------------------------------------------------------------

// A write the disk stops part way (a quota, a full disk: here a file-size
// limit) raises and leaves the form file that was there whole.
TEST(FormFiles, AWriteStoppedPartWayLeavesTheOldFileWhole) {
    auto Original = RichForm();
    const String Path = testing::TempDir() + "/form-stopped.fff";
    WriteComponentFile(Path, Original.get(), feText);
    TMemoryStream Before;
    Before.LoadFromFile(Path);
    ASSERT_GT(Before.GetSize(), 64);
    {
        rlimit Saved{};
        getrlimit(RLIMIT_FSIZE, &Saved);
        const auto SavedHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit Lower{64, Saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &Lower);
        EXPECT_THROW(WriteComponentFile(Path, Original.get(), feBinary), EStreamError);
        setrlimit(RLIMIT_FSIZE, &Saved);
        std::signal(SIGXFSZ, SavedHandler);
    }
    TMemoryStream After;
    After.LoadFromFile(Path);
    ASSERT_EQ(After.GetSize(), Before.GetSize());
    EXPECT_EQ(std::memcmp(After.Memory(), Before.Memory(), After.GetSize()), 0);
    std::remove(Path.c_str());
}

TEST(FormFiles, ReadComponentFileTakesEitherEncodingByContent) {
    auto Original = RichForm();
    const String Expected = ToText(Original.get());
    for (TFormEncoding Encoding : {feText, feBinary}) {
        const String Path = testing::TempDir() + "/form-" + std::to_string(Encoding) + ".fff";
        WriteComponentFile(Path, Original.get(), Encoding);
        TMemoryStream Check;
        Check.LoadFromFile(Path);
        EXPECT_EQ(IsBinaryForm(Check), Encoding == feBinary);
        std::unique_ptr<TComponent> Read(ReadComponentFile(Path));
        EXPECT_EQ(ToText(Read.get()), Expected);
        TShapeForm2 Into(nullptr);
        EXPECT_EQ(ReadComponentFile(Path, &Into), &Into);
        EXPECT_EQ(ToText(&Into), Expected);
        std::remove(Path.c_str());
    }
}

TEST(FormFiles, BinaryToTextToBinaryGivesTheSameBytes) {
    auto Original = RichForm();
    const String Binary = ToBinary(Original.get());
    TMemoryStream In, Text, Back;
    In.WriteBuffer(Binary.data(), static_cast<std::int64_t>(Binary.size()));
    In.SetPosition(0);
    ObjectBinaryToText(In, Text);
    Text.SetPosition(0);
    ObjectTextToBinary(Text, Back);
    EXPECT_EQ(String(Back.Memory(), static_cast<size_t>(Back.GetSize())), Binary);
    EXPECT_EQ(String(Text.Memory(), static_cast<size_t>(Text.GetSize())), ToText(Original.get()));
}

TEST(FormEvents, HandlersAreBoundByNameToTheFormsMethods) {
    TShapeForm2 Form(nullptr);
    Form.SetName("Form1");
    auto* S = new TShape(&Form);
    S->SetName("S");
    BindEventHandler(S, "OnClick", "OtherClick"); // declared by the descendant form class
    Journal().clear();
    S->OnClick(S);
    EXPECT_EQ(Journal(), std::vector<String>{"other click"});
    EXPECT_EQ(S->GetEventHandlerName("OnClick"), "OtherClick");
    for (const auto& [Event, Handler] :
         {std::pair{"OnClick", "Nowhere"}, {"OnClick", "ShapeCode"}, {"OnHover", "ShapeClick"}})
        EXPECT_THROW(BindEventHandler(S, Event, Handler), EInvalidOperation) << Event << Handler;
    EXPECT_EQ(S->GetEventHandlerName("OnClick"), "OtherClick")
        << "a failed binding changes nothing";
    BindEventHandler(S, "OnClick", "");
    EXPECT_FALSE(S->OnClick);
    EXPECT_EQ(ToText(&Form).find("OnClick"), String::npos);
}

TEST(FormFiles, ADefinedPropertyMustWriteExactlyOneValue) {
    struct TTwoValues : public TShape {
        using TShape::TShape;
        void DefineProperties(TFiler* Filer) override {
            Filer->DefineProperty(
                "Pair", nullptr,
                [](TWriter& W) {
                    W.WriteInteger(1);
                    W.WriteInteger(2);
                },
                true);
        }
    };
    TShapeForm Form(nullptr);
    auto* S = new TTwoValues(&Form);
    S->SetName("S");
    TWriter Writer;
    EXPECT_THROW(Writer.WriteRoot(&Form), EWriteError);
}

} // namespace
} // namespace formtest

namespace formtest {

namespace {

// A class whose information can be replaced at the same address, as a
// library unloaded and another loaded in its place may do.
class TSwappedClass : public TComponent {
public:
    using TComponent::TComponent;
    const TClassInfo& ClassInfo() const override { return *Info; }
    int GetA() const { return A; }
    void SetA(int Value) { A = Value; }
    int GetB() const { return B; }
    void SetB(int Value) { B = Value; }
    static inline std::optional<TClassInfo> Info;
    int A = 0;
    int B = 0;
};

void ReadText(const String& Text, TComponent& Into) {
    TMemoryStream S;
    S.WriteBuffer(Text.data(), static_cast<std::int64_t>(Text.size()));
    S.SetPosition(0);
    ReadComponent(S, &Into);
}

} // namespace

// The reader remembers each class's published properties by the class's
// address; once a class is unregistered, another with other properties may
// take that address, and the reader must read its own table, not the gone
// one's (it found properties that were no longer there, or missed new ones).
TEST(FormFiles, AClassAtTheAddressOfAnUnregisteredOneIsReadByItsOwnProperties) {
    using B = TClassBuilder<TSwappedClass>;
    TSwappedClass::Info.emplace(B("TSwapped", &TComponent::StaticClassInfo())
                                    .Int("A", &TSwappedClass::GetA, &TSwappedClass::SetA)
                                    .Build());
    RegisterClass(*TSwappedClass::Info);
    TSwappedClass Root(nullptr);
    ReadText("object Swapped1: TSwapped\n  A = 7\nend\n", Root);
    EXPECT_EQ(Root.A, 7);
    UnregisterClass(*TSwappedClass::Info);
    TSwappedClass::Info.reset();
    TSwappedClass::Info.emplace(B("TSwapped", &TComponent::StaticClassInfo())
                                    .Int("B", &TSwappedClass::GetB, &TSwappedClass::SetB)
                                    .Build());
    RegisterClass(*TSwappedClass::Info);
    ReadText("object Swapped1: TSwapped\n  B = 9\nend\n", Root);
    EXPECT_EQ(Root.B, 9);
    EXPECT_THROW(ReadText("object Swapped1: TSwapped\n  A = 1\nend\n", Root), EFormError);
    EXPECT_EQ(Root.A, 7);
    UnregisterClass(*TSwappedClass::Info);
    TSwappedClass::Info.reset();
}

} // namespace formtest
