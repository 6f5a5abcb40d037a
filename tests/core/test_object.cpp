#include "framework/core/ClassBuilder.h"
#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

using namespace folio;

namespace {

// --- classes under test ---------------------------------------------------------

class TPropFont : public TPersistent {
    FOLIO_CLASS(TPropFont)
public:
    explicit TPropFont(TPersistent* AOwner = nullptr) : FOwner(AOwner) {}
    int GetSize() const { return FSize; }
    void SetSize(int Value) { FSize = Value; }
    TPersistent* GetOwner() const override { return FOwner; }

    void Assign(const TPersistent* Source) override {
        if (const auto* Font = dynamic_cast<const TPropFont*>(Source)) {
            FSize = Font->FSize;
            return;
        }
        TPersistent::Assign(Source);
    }

private:
    TPersistent* FOwner;
    int FSize = 8;
};

// Knows how to copy itself into a font, which does not know pens.
class TPropPen : public TPersistent {
    FOLIO_CLASS(TPropPen)
public:
    int Width = 1;

protected:
    void AssignTo(TPersistent* Dest) const override {
        if (auto* Font = dynamic_cast<TPropFont*>(Dest)) {
            Font->SetSize(Width * 10);
            return;
        }
        TPersistent::AssignTo(Dest);
    }
};

enum class TPropOrientation { poHorizontal, poVertical };
using enum TPropOrientation;

class TPropShape : public TComponent {
    FOLIO_CLASS(TPropShape)
public:
    explicit TPropShape(TComponent* AOwner) : TComponent(AOwner), FFont(this) {}

    int GetWidth() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    TPropOrientation GetOrientation() const { return FOrientation; }
    void SetOrientation(TPropOrientation Value) { FOrientation = Value; }
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value) { FCaption = Value; }
    int GetSpacing() const { return FSpacing; }
    void SetSpacing(int Value) { FSpacing = Value; }
    TPropFont* GetFont() const { return const_cast<TPropFont*>(&FFont); }
    void SetFont(TPropFont* Value) { FFont.Assign(Value); }
    TPropShape* GetBuddy() const { return FBuddy; }
    void SetBuddy(TPropShape* Value) { FBuddy = Value; }

    std::function<void()> OnClick;

protected:
    int FWidth = 10;
    bool FVisible = true;
    TPropOrientation FOrientation = poHorizontal;
    TColor FColor = 0x00C0C0C0;
    String FCaption;
    int FSpacing = 3;
    TPropFont FFont;
    TPropShape* FBuddy = nullptr;
};

// Adds a property, publishes the ancestor's unpublished Spacing with a new
// default and gives Width a new default.
class TPropBigShape : public TPropShape {
    FOLIO_CLASS(TPropBigShape)
public:
    explicit TPropBigShape(TComponent* AOwner) : TPropShape(AOwner) {
        FWidth = 50;
        FSpacing = 8;
    }
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }

private:
    int FHeight = 5;
};

// A component class that was never made creatable by name.
class TPropFixed : public TComponent {
    FOLIO_CLASS(TPropFixed)
public:
    using TComponent::TComponent;
};

FOLIO_DEFINE_CLASS(TPropFont, TPersistent)
FOLIO_DEFINE_CLASS(TPropPen, TPersistent)
FOLIO_DEFINE_CLASS(TPropFixed, TComponent)

const TClassInfo& TPropShape::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TPropShape>("TPropShape", &TComponent::StaticClassInfo())
            .Int("Width", &TPropShape::GetWidth, &TPropShape::SetWidth, 10)
            .Bool("Visible", &TPropShape::GetVisible, &TPropShape::SetVisible, true)
            .Enum("Orientation", "TPropOrientation", {"poHorizontal", "poVertical"},
                  &TPropShape::GetOrientation, &TPropShape::SetOrientation, poHorizontal)
            .Color("Color", &TPropShape::GetColor, &TPropShape::SetColor, 0x00C0C0C0)
            .Str("Caption", &TPropShape::GetCaption, &TPropShape::SetCaption)
            .Stored([](const TPropShape& S) { return S.GetCaption() != "auto"; })
            .Int("Spacing", &TPropShape::GetSpacing, &TPropShape::SetSpacing, 3)
            .Unpublished()
            .Object("Font", &TPropShape::GetFont, &TPropShape::SetFont)
            .Component("Buddy", &TPropShape::GetBuddy, &TPropShape::SetBuddy)
            .Event("OnClick", &TPropShape::OnClick)
            .Creatable()
            .Build();
    return Info;
}

const TClassInfo& TPropBigShape::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TPropBigShape>("TPropBigShape", &TPropShape::StaticClassInfo())
            .Int("Height", &TPropBigShape::GetHeight, &TPropBigShape::SetHeight, 5)
            .Publish("Spacing", 8)
            .Publish("Width", 50)
            .Creatable()
            .Build();
    return Info;
}

std::vector<String> PublishedNames(const TClassInfo& Class) {
    std::vector<String> Names;
    for (const TPropInfo* P : Class.PublishedProperties()) Names.push_back(P->Name);
    return Names;
}

const TPropInfo& Prop(const TClassInfo& Class, const char* Name) {
    const TPropInfo* P = Class.FindProperty(Name);
    if (!P) throw std::runtime_error(String("no published property ") + Name);
    return *P;
}

// --- TPersistent ----------------------------------------------------------------

TEST(Persistent, AssignCopiesOrAsksTheSourceToAssignTo) {
    TPropFont Font, Other;
    Other.SetSize(14);
    Font.Assign(&Other);
    EXPECT_EQ(Font.GetSize(), 14);

    // The font does not know pens; the pen knows fonts.
    TPropPen Pen;
    Pen.Width = 3;
    Font.Assign(&Pen);
    EXPECT_EQ(Font.GetSize(), 30);
}

TEST(Persistent, AssigningAnUnrelatedClassNamesBothClasses) {
    TPropPen Pen;
    TPropFont Font;
    try {
        Pen.Assign(&Font);
        FAIL() << "an unrelated class was assigned";
    } catch (const EConvertError& Error) {
        EXPECT_EQ(Error.Message(), "Cannot assign a TPropFont to a TPropPen");
    }
    try {
        Pen.Assign(nullptr);
        FAIL() << "nothing was assigned";
    } catch (const EConvertError& Error) {
        EXPECT_NE(Error.Message().find("TPropPen"), String::npos) << Error.Message();
    }
}

TEST(Persistent, NamePathFollowsTheOwner) {
    TPropFont Loose;
    EXPECT_EQ(Loose.GetNamePath(), "TPropFont");
    TPropShape Shape(nullptr);
    EXPECT_EQ(Shape.GetFont()->GetNamePath(), "TPropFont") << "an unnamed owner adds nothing";
    Shape.SetName("Shape1");
    EXPECT_EQ(Shape.GetNamePath(), "Shape1");
    EXPECT_EQ(Shape.GetFont()->GetNamePath(), "Shape1.TPropFont");
}

// --- class information ------------------------------------------------------------

TEST(ClassInfo, NamesAndAncestry) {
    TPropBigShape Big(nullptr);
    const TObject& AsObject = Big;
    EXPECT_EQ(AsObject.ClassName(), "TPropBigShape");
    EXPECT_EQ(AsObject.ClassInfo().Parent, &TPropShape::StaticClassInfo());
    EXPECT_TRUE(Big.InheritsFrom(TComponent::StaticClassInfo()));
    EXPECT_TRUE(Big.InheritsFrom(TPersistent::StaticClassInfo()));
    EXPECT_TRUE(Big.InheritsFrom(TObject::StaticClassInfo()));
    EXPECT_FALSE(Big.InheritsFrom(TStream::StaticClassInfo()));
    EXPECT_FALSE(TPropShape::StaticClassInfo().InheritsFrom(TPropBigShape::StaticClassInfo()));
    EXPECT_EQ(TMemoryStream().ClassName(), "TMemoryStream");
}

TEST(ClassInfo, PublishedPropertiesComeAncestorsFirstInDeclarationOrder) {
    const std::vector<String> Shape = {"Name",  "Tag",     "Width", "Visible", "Orientation",
                                       "Color", "Caption", "Font",  "Buddy",   "OnClick"};
    EXPECT_EQ(PublishedNames(TPropShape::StaticClassInfo()), Shape);

    // A re-published property keeps its place; newly published ones follow.
    std::vector<String> Big = Shape;
    Big.push_back("Height");
    Big.push_back("Spacing");
    EXPECT_EQ(PublishedNames(TPropBigShape::StaticClassInfo()), Big);
}

// The list is worked out once, also when threads ask for it at the same
// time; a copy of a class's information lists its own properties.
TEST(ClassInfo, PublishedPropertiesAreWorkedOutOnceAndCopiesListTheirOwn) {
    TClassInfo Fresh = TPropBigShape::StaticClassInfo();
    std::vector<const std::vector<const TPropInfo*>*> Seen(4);
    std::vector<std::thread> Threads;
    for (size_t I = 0; I < Seen.size(); ++I)
        Threads.emplace_back([&, I] { Seen[I] = &Fresh.PublishedProperties(); });
    for (std::thread& T : Threads) T.join();
    for (const auto* List : Seen) EXPECT_EQ(List, Seen[0]);
    EXPECT_EQ(&Fresh.PublishedProperties(), Seen[0]);

    TClassInfo Copy = Fresh;
    Copy.OwnProperties.front().Name = "Depth"; // was Height
    std::vector<String> Names = PublishedNames(Fresh);
    EXPECT_EQ(Names[Names.size() - 2], "Height");
    Names[Names.size() - 2] = "Depth";
    EXPECT_EQ(PublishedNames(Copy), Names);
    EXPECT_EQ(PublishedNames(Fresh), PublishedNames(TPropBigShape::StaticClassInfo()));
}

TEST(ClassInfo, KindsAndTypeNames) {
    const TClassInfo& C = TPropShape::StaticClassInfo();
    EXPECT_EQ(Prop(C, "Width").Kind, TTypeKind::tkInteger);
    EXPECT_EQ(Prop(C, "Visible").Kind, TTypeKind::tkBool);
    EXPECT_EQ(Prop(C, "Orientation").Kind, TTypeKind::tkEnum);
    EXPECT_EQ(Prop(C, "Orientation").TypeName, "TPropOrientation");
    EXPECT_EQ(Prop(C, "Color").Kind, TTypeKind::tkColor);
    EXPECT_EQ(Prop(C, "Caption").Kind, TTypeKind::tkString);
    EXPECT_EQ(Prop(C, "Font").Kind, TTypeKind::tkClass);
    EXPECT_EQ(Prop(C, "Font").ObjectClass, &TPropFont::StaticClassInfo());
    EXPECT_EQ(Prop(C, "Buddy").Kind, TTypeKind::tkComponent);
    // Buddy is of the class's own type, named while its table was being built.
    EXPECT_EQ(Prop(C, "Buddy").TypeName, "TPropShape");
    EXPECT_EQ(Prop(C, "Buddy").ObjectClass, &TPropShape::StaticClassInfo());
    EXPECT_EQ(Prop(C, "Buddy").ObjectClass->Name, "TPropShape");
    EXPECT_EQ(Prop(C, "OnClick").Kind, TTypeKind::tkMethod);
    EXPECT_EQ(C.FindProperty("Nothing"), nullptr);
}

TEST(ClassInfo, PropertiesReadAndWriteThroughTheTable) {
    TPropBigShape Shape(nullptr);
    const TClassInfo& C = Shape.ClassInfo();

    Prop(C, "Width").SetOrd(Shape, 77);
    EXPECT_EQ(Shape.GetWidth(), 77);
    Prop(C, "Height").SetOrd(Shape, 9);
    EXPECT_EQ(Prop(C, "Height").GetOrd(Shape), 9);
    Prop(C, "Visible").SetOrd(Shape, 0);
    EXPECT_FALSE(Shape.GetVisible());
    Prop(C, "Caption").SetStr(Shape, "Hello");
    EXPECT_EQ(Prop(C, "Caption").GetStr(Shape), "Hello");

    // Writing a sub-object copies into the owned one.
    TPropFont Big;
    Big.SetSize(20);
    Prop(C, "Font").SetObj(Shape, &Big);
    EXPECT_EQ(Shape.GetFont()->GetSize(), 20);
    EXPECT_EQ(Prop(C, "Font").GetObj(Shape), Shape.GetFont());

    TPropShape Buddy(nullptr);
    Prop(C, "Buddy").SetObj(Shape, &Buddy);
    EXPECT_EQ(Shape.GetBuddy(), &Buddy);
    // A reference of the wrong class raises instead of becoming nil.
    TPropFixed Wrong(nullptr);
    EXPECT_THROW(Prop(C, "Buddy").SetObj(Shape, &Wrong), EInvalidCast);
    EXPECT_EQ(Shape.GetBuddy(), &Buddy);
    Prop(C, "Buddy").SetObj(Shape, nullptr);
    EXPECT_EQ(Shape.GetBuddy(), nullptr);

    EXPECT_FALSE(Prop(C, "OnClick").EventAssigned(Shape));
    Shape.OnClick = [] {};
    EXPECT_TRUE(Prop(C, "OnClick").EventAssigned(Shape));
}

TEST(ClassInfo, DeclaredDefaultsDecideHasDefaultValue) {
    TPropShape Shape(nullptr);
    const TClassInfo& C = Shape.ClassInfo();
    for (const char* Name : {"Tag", "Width", "Visible", "Orientation", "Color"})
        EXPECT_TRUE(Prop(C, Name).HasDefaultValue(Shape)) << Name;
    EXPECT_EQ(Prop(C, "Width").Default, 10);
    EXPECT_EQ(Prop(C, "Visible").Default, 1);
    EXPECT_EQ(Prop(C, "Color").Default, 0x00C0C0C0);

    Shape.SetWidth(11);
    Shape.SetVisible(false);
    Shape.SetOrientation(poVertical);
    Shape.SetColor(0);
    for (const char* Name : {"Width", "Visible", "Orientation", "Color"})
        EXPECT_FALSE(Prop(C, Name).HasDefaultValue(Shape)) << Name;
    // Strings, sub-objects and events have no declared default.
    for (const char* Name : {"Caption", "Name", "Font", "OnClick"})
        EXPECT_FALSE(Prop(C, Name).HasDefaultValue(Shape)) << Name;
}

TEST(ClassInfo, RepublishingGivesANewDefaultWithoutChangingTheAncestor) {
    const TClassInfo& Base = TPropShape::StaticClassInfo();
    const TClassInfo& Big = TPropBigShape::StaticClassInfo();

    // Spacing is declared by the base but published only by the descendant.
    EXPECT_EQ(Base.FindProperty("Spacing"), nullptr);
    ASSERT_NE(Base.FindDeclared("Spacing"), nullptr);
    EXPECT_FALSE(Base.FindDeclared("Spacing")->Published);
    EXPECT_EQ(Base.FindDeclared("Spacing")->Default, 3);
    EXPECT_TRUE(Prop(Big, "Spacing").Published);
    EXPECT_EQ(Prop(Big, "Spacing").Default, 8);
    EXPECT_EQ(Prop(Big, "Width").Default, 50);
    EXPECT_EQ(Prop(Base, "Width").Default, 10);

    TPropBigShape Shape(nullptr);
    EXPECT_TRUE(Prop(Big, "Width").HasDefaultValue(Shape));
    EXPECT_TRUE(Prop(Big, "Spacing").HasDefaultValue(Shape));
    EXPECT_FALSE(Prop(Base, "Width").HasDefaultValue(Shape));
    Prop(Big, "Spacing").SetOrd(Shape, 4);
    EXPECT_EQ(Shape.GetSpacing(), 4);
    EXPECT_FALSE(Prop(Big, "Spacing").HasDefaultValue(Shape));
}

TEST(ClassInfo, PublishingWhatNoAncestorDeclaresRaises) {
    try {
        TClassBuilder<TPropBigShape>("TPropBroken", &TPropShape::StaticClassInfo())
            .Publish("Heigth");
        FAIL() << "an unknown property was published";
    } catch (const EInvalidOperation& Error) {
        EXPECT_NE(Error.Message().find("TPropBroken"), String::npos) << Error.Message();
        EXPECT_NE(Error.Message().find("Heigth"), String::npos) << Error.Message();
    }
}

TEST(ClassInfo, EnumerationValuesPrintAndParseByName) {
    TPropShape Shape(nullptr);
    const TPropInfo& Orientation = Prop(Shape.ClassInfo(), "Orientation");
    EXPECT_EQ(Orientation.EnumName(0), "poHorizontal");
    EXPECT_EQ(Orientation.EnumName(1), "poVertical");
    EXPECT_EQ(Orientation.EnumValue("poVertical"), 1);
    Orientation.SetOrd(Shape, Orientation.EnumValue("poVertical"));
    EXPECT_EQ(Shape.GetOrientation(), poVertical);
    EXPECT_EQ(Orientation.EnumName(Orientation.GetOrd(Shape)), "poVertical");
    // An ordinal outside the type prints as a number rather than a wrong name.
    EXPECT_EQ(Orientation.EnumName(2), "2");
    EXPECT_EQ(Orientation.EnumName(-1), "-1");

    for (const char* Bad : {"poDiagonal", "", "poVertical ", "1"}) {
        try {
            Orientation.EnumValue(Bad);
            ADD_FAILURE() << "parsed '" << Bad << "'";
        } catch (const EConvertError& Error) {
            EXPECT_NE(Error.Message().find(String("'") + Bad + "'"), String::npos)
                << Error.Message();
            EXPECT_NE(Error.Message().find("TPropOrientation"), String::npos) << Error.Message();
        }
    }
}

TEST(ClassInfo, StoredPredicates) {
    TPropShape Shape(nullptr);
    const TClassInfo& C = Shape.ClassInfo();
    EXPECT_TRUE(Prop(C, "Caption").IsStored(Shape));
    Shape.SetCaption("auto");
    EXPECT_FALSE(Prop(C, "Caption").IsStored(Shape));
    EXPECT_TRUE(Prop(C, "Width").IsStored(Shape)) << "no predicate means always stored";
    // The predicate is inherited with the property.
    TPropBigShape Big(nullptr);
    Big.SetCaption("auto");
    EXPECT_FALSE(Prop(Big.ClassInfo(), "Caption").IsStored(Big));
}

// --- class registry -----------------------------------------------------------------

TEST(ClassRegistry, FindsClassesAndCreatesComponentsByName) {
    RegisterClass(TPropShape::StaticClassInfo());
    RegisterClass(TPropBigShape::StaticClassInfo());
    RegisterClass(TPropFixed::StaticClassInfo());
    RegisterClass(TPropFont::StaticClassInfo());
    EXPECT_EQ(GetClass("TPropBigShape"), &TPropBigShape::StaticClassInfo());
    EXPECT_EQ(&FindClass("TPropShape"), &TPropShape::StaticClassInfo());
    EXPECT_EQ(GetClass("TPropMissing"), nullptr);
    try {
        FindClass("TPropMissing");
        FAIL() << "an unknown class was found";
    } catch (const EInvalidOperation& Error) {
        EXPECT_NE(Error.Message().find("TPropMissing"), String::npos) << Error.Message();
    }

    TComponent Owner(nullptr);
    TComponent* Created = CreateComponent("TPropBigShape", &Owner);
    ASSERT_NE(dynamic_cast<TPropBigShape*>(Created), nullptr);
    EXPECT_EQ(Created->Owner(), &Owner);
    EXPECT_EQ(Owner.ComponentCount(), 1);
    EXPECT_EQ(static_cast<TPropBigShape*>(Created)->GetWidth(), 50);

    std::unique_ptr<TComponent> Loose(CreateComponent("TPropShape", nullptr));
    EXPECT_EQ(Loose->ClassName(), "TPropShape");
    EXPECT_EQ(Loose->Owner(), nullptr);

    for (const char* NotCreatable : {"TPropFixed", "TPropFont"}) {
        EXPECT_THROW(CreateComponent(NotCreatable, &Owner), EInvalidOperation) << NotCreatable;
    }
    EXPECT_THROW(CreateComponent("TPropMissing", &Owner), EInvalidOperation);
    EXPECT_EQ(Owner.ComponentCount(), 1);
}

namespace {
// A second class under a taken name, as another library might bring.
const TClassInfo& ImpostorShape() {
    static const TClassInfo Info{"TPropShape", &TComponent::StaticClassInfo(), {}, {}};
    return Info;
}
} // namespace

TEST(ClassRegistry, RegistrationsStackByNameAndUnregisteringRestoresTheEarlierOne) {
    RegisterClass(TPropShape::StaticClassInfo());
    RegisterClass(ImpostorShape());
    EXPECT_EQ(GetClass("TPropShape"), &ImpostorShape());
    {
        // A lazy registration is looked up by its function, and leaves with
        // the unit that made it.
        TClassRegistration Lazy("TPropShape", &TPropBigShape::StaticClassInfo);
        EXPECT_EQ(GetClass("TPropShape"), &TPropBigShape::StaticClassInfo());
    }
    EXPECT_EQ(GetClass("TPropShape"), &ImpostorShape());
    UnregisterClass(ImpostorShape());
    EXPECT_EQ(GetClass("TPropShape"), &TPropShape::StaticClassInfo());
    // Unregistering what is not registered changes nothing.
    UnregisterClass(ImpostorShape());
    EXPECT_EQ(GetClass("TPropShape"), &TPropShape::StaticClassInfo());
}

// --- message dispatch ---------------------------------------------------------------

class TDispatchBase : public TObject {
public:
    std::vector<String> Seen;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_SIZE) {
            Seen.push_back("base size");
            return;
        }
        TObject::Dispatch(Message);
    }
    void DefaultHandler(TMessage& Message) override {
        Seen.push_back("default");
        Message.Result = 99;
    }
};

class TDispatchDerived : public TDispatchBase {
public:
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_PAINT) {
            Seen.push_back("derived paint");
            return;
        }
        TDispatchBase::Dispatch(Message);
    }
};

TEST(Dispatch, UnhandledMessagesFallThroughToTheBaseAndDefaultHandler) {
    TDispatchDerived Object;
    TMessage Paint{WM_PAINT}, Size{WM_SIZE}, Other{WM_USER + 1};
    Object.Dispatch(Paint);
    Object.Dispatch(Size);
    Object.Dispatch(Other);
    EXPECT_EQ(Object.Seen, (std::vector<String>{"derived paint", "base size", "default"}));
    EXPECT_EQ(Other.Result, 99);
    EXPECT_EQ(Paint.Result, 0);
}

} // namespace
