// Inherited forms and the components a form does not make itself: the
// order of children an inherited form gives, frames from inline blocks,
// references to other forms' components, and the names of inherited roots.

#include "FormTestClasses.h"

#include "framework/core/Exceptions.h"
#include "framework/core/GlobalComponents.h"
#include "framework/core/SysUtils.h"

#include <gtest/gtest.h>

#include <memory>

namespace formtest {

// A frame: a component whose class makes components of its own.
class TShapeFrame : public TComponent {
    FOLIO_CLASS(TShapeFrame)
public:
    explicit TShapeFrame(TComponent* AOwner) : TComponent(AOwner) {
        Left->SetName("Left");
        Right->SetName("Right");
        Right->SetWidth(20);
    }
    int GetCount() const { return FCount; }
    void SetCount(int Value) { FCount = Value; }

    TShape* const Left = new TShape(this);
    TShape* const Right = new TShape(this);

private:
    int FCount = 0;
};

// A reference to any component, the form itself too.
class TLink : public TComponent {
    FOLIO_CLASS(TLink)
public:
    explicit TLink(TComponent* AOwner) : TComponent(AOwner) {}
    TComponent* GetTarget() const { return FTarget; }
    void SetTarget(TComponent* Value) { FTarget = Value; }

private:
    TComponent* FTarget = nullptr;
};

const TClassInfo& TShapeFrame::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TShapeFrame>("TShapeFrame", &TComponent::StaticClassInfo())
            .Int("Count", &TShapeFrame::GetCount, &TShapeFrame::SetCount, 0)
            .Creatable()
            .Build();
    return Info;
}
FOLIO_REGISTER_CLASS(TShapeFrame)

const TClassInfo& TLink::StaticClassInfo() {
    static const TClassInfo Info = TClassBuilder<TLink>("TLink", &TComponent::StaticClassInfo())
                                       .Component("Target", &TLink::GetTarget, &TLink::SetTarget)
                                       .Creatable()
                                       .Build();
    return Info;
}
FOLIO_REGISTER_CLASS(TLink)

namespace {

String TextOf(TComponent* Root, TComponent* Ancestor = nullptr) {
    TMemoryStream S;
    WriteComponent(S, Root, Ancestor, feText);
    return String(S.Memory(), static_cast<size_t>(S.GetSize()));
}

std::unique_ptr<TMemoryStream> StreamOf(const String& Text) {
    auto S = std::make_unique<TMemoryStream>();
    S->WriteBuffer(Text.data(), static_cast<std::int64_t>(Text.size()));
    S->SetPosition(0);
    return S;
}

void ReadText(const String& Text, TComponent* Into) {
    ReadComponent(*StreamOf(Text), Into);
}

String Names(const TComponent& Owner) {
    String Result;
    for (int I = 0; I < Owner.ComponentCount(); ++I) {
        if (I) Result += ' ';
        Result += Owner.Components(I)->GetName();
    }
    return Result;
}

// The ancestor form: three shapes.
void MakeAncestor(TShapeForm& Form) {
    Form.SetName("Form1");
    for (const char* Name : {"A", "B", "C"}) (new TShape(&Form))->SetName(Name);
}

TEST(FormInheritance, ChildrenComeBackInTheOrderTheFormGives) {
    const struct {
        std::vector<const char*> Order; // the descendant's components, N new
        const char* Indexed;            // a line the form must hold
    } Cases[] = {
        {{"A", "B", "C", "N"}, nullptr},
        {{"N", "A", "B", "C"}, "  object N: TShape [0]\n"},
        {{"A", "N", "B", "C"}, "  object N: TShape [1]\n"},
        {{"C", "A", "B"}, "  inherited C: TShape [0]\n  end\n"},
        {{"B", "N", "C", "A", "M"}, "  inherited B: TShape [0]\n"},
        {{"A", "C"}, nullptr},
    };
    for (const auto& Case : Cases) {
        TShapeForm Ancestor(nullptr), Form(nullptr);
        MakeAncestor(Ancestor);
        MakeAncestor(Form);
        for (const char* Name : Case.Order)
            if (!Form.FindComponent(Name)) (new TShape(&Form))->SetName(Name);
        for (const char* Gone : {"A", "B", "C"}) {
            bool Kept = false;
            for (const char* Name : Case.Order) Kept |= String(Name) == Gone;
            if (!Kept) delete Form.FindComponent(Gone);
        }
        for (std::size_t I = 0; I < Case.Order.size(); ++I)
            Form.SetChildOrder(Form.FindComponent(Case.Order[I]), static_cast<int>(I));
        String Expected;
        for (const char* Name : Case.Order) Expected += String(Expected.empty() ? "" : " ") + Name;
        ASSERT_EQ(Names(Form), Expected);

        const String Diff = TextOf(&Form, &Ancestor);
        if (Case.Indexed)
            EXPECT_NE(Diff.find(Case.Indexed), String::npos) << Diff;
        else
            EXPECT_EQ(Diff.find('['), String::npos) << Diff;
        if (Case.Order.size() < 3) continue; // a deleted component is not the filer's business
        TShapeForm Read(nullptr);
        const String Base = TextOf(&Ancestor);
        ReadInheritedComponent({StreamOf(Base).get(), StreamOf(Diff).get()}, &Read);
        EXPECT_EQ(Names(Read), Expected) << Diff;
    }
}

TEST(FormInheritance, AChildIndexPlacesAComponentAmongItsParentsChildren) {
    TShapeForm Form(nullptr);
    ReadText("object Form1: TShapeForm\n"
             "  object Box: TShapeBox\n"
             "    object In1: TBoxedShape\n"
             "    end\n"
             "    object In2: TBoxedShape [0]\n"
             "    end\n"
             "  end\n"
             "  object Top1: TShape\n"
             "  end\n"
             "  object Top2: TShape [1]\n"
             "  end\n"
             "  object Top3: TShape [99]\n"
             "  end\n"
             "end\n",
             &Form);
    // In2 goes before In1 among the box's children, Top2 second among the
    // form's own (the box first), and an index past the end means the end.
    EXPECT_EQ(Names(Form), "Box In2 In1 Top2 Top1 Top3");
}

TEST(FormInheritance, InlineFramesAreMadeByTheirClassAndKeepTheirDifferences) {
    TShapeForm Form(nullptr);
    Form.SetName("Form1");
    auto* Frame = new TShapeFrame(&Form);
    Frame->SetName("Frame1");
    Frame->SetInline(true);
    Frame->SetCount(3);
    Frame->Left->SetWidth(5);
    Frame->Right->SetBuddy(Frame->Left);
    auto* Extra = new TShape(Frame);
    Extra->SetName("Extra");
    auto* Outside = new TShape(&Form);
    Outside->SetName("Outside");
    Outside->SetBuddy(Frame->Left);

    const String Text = TextOf(&Form);
    EXPECT_NE(Text.find("  inline Frame1: TShapeFrame\n"
                        "    Count = 3\n"
                        "    inherited Left: TShape\n"
                        "      Width = 5\n"
                        "    end\n"
                        "    inherited Right: TShape\n"
                        "      Buddy = Left\n"
                        "    end\n"
                        "    object Extra: TShape\n"),
              String::npos)
        << Text;
    EXPECT_NE(Text.find("    Buddy = Frame1.Left\n"), String::npos) << Text;

    TShapeForm Read(nullptr);
    ReadText(Text, &Read);
    auto* Made = dynamic_cast<TShapeFrame*>(Read.FindComponent("Frame1"));
    ASSERT_NE(Made, nullptr);
    EXPECT_TRUE(Made->IsInline());
    EXPECT_EQ(Made->GetCount(), 3);
    EXPECT_EQ(Made->Left->GetWidth(), 5);
    EXPECT_EQ(Made->Right->GetWidth(), 20) << "what the frame's class made stays";
    EXPECT_EQ(Made->Right->GetBuddy(), Made->Left);
    EXPECT_EQ(Made->FindComponent("Extra")->Owner(), Made);
    EXPECT_EQ(static_cast<TShape*>(Read.FindComponent("Outside"))->GetBuddy(), Made->Left);
    EXPECT_EQ(TextOf(&Read), Text);

    const struct {
        const char* Block;
        const char* Says;
    } Bad[] = {
        {"    inherited Nope: TShape\n    end\n", "line 3: the inherited component Nope is not in "
                                                  "the frame Frame1"},
        {"    object Left: TShape\n    end\n", "a component named Left is already in the frame"},
        {"    inherited Left: TShapeBox\n    end\n", "is a TShape, not a TShapeBox"},
        {"    Count = 'x'\n", "expected an integer"},
    };
    for (const auto& B : Bad) {
        TShapeForm Into(nullptr);
        try {
            ReadText(String("object Form1: TShapeForm\n  inline Frame1: TShapeFrame\n") + B.Block +
                         "  end\nend\n",
                     &Into);
            ADD_FAILURE() << B.Block;
        } catch (const EFormError& E) {
            EXPECT_NE(E.Message().find(B.Says), String::npos) << E.Message();
        }
        EXPECT_EQ(Into.ComponentCount(), 0) << "a failed read leaves no frame behind";
    }
}

TEST(FormInheritance, AReferenceMayNameAComponentOfAnotherForm) {
    TShapeForm Other(nullptr);
    Other.SetName("OtherForm");
    auto* Target = new TShape(&Other);
    Target->SetName("Target");
    // The finder goes when the test ends, whatever happens in it.
    struct TFinder {
        int Id;
        ~TFinder() { UnregisterFindGlobalComponent(Id); }
    } Finder{RegisterFindGlobalComponent([&](const String& Name) -> TComponent* {
        return SameText(Name, "otherform") ? &Other : nullptr;
    })};

    TShapeForm Form(nullptr);
    Form.SetName("Form1");
    auto* Shape = new TShape(&Form);
    Shape->SetName("Shape1");
    Shape->SetBuddy(Target);
    const String Text = TextOf(&Form);
    EXPECT_NE(Text.find("    Buddy = OtherForm.Target\n"), String::npos) << Text;

    TShapeForm Read(nullptr);
    ReadText(Text, &Read);
    EXPECT_EQ(static_cast<TShape*>(Read.FindComponent("Shape1"))->GetBuddy(), Target);

    const struct {
        const char* Reference;
        const char* Says;
    } Bad[] = {
        {"Missing.Target", "line 3: Shape1.Buddy: the component Missing.Target is not found: no "
                           "form named Missing"},
        {"OtherForm.Nobody", "no form named OtherForm among the application's forms holds it"},
        {"Shape1.Nobody", "the component Shape1.Nobody is not in the form"},
    };
    for (const auto& B : Bad) {
        TShapeForm Into(nullptr);
        try {
            ReadText(String("object Form1: TShapeForm\n  object Shape1: TShape\n    Buddy = ") +
                         B.Reference + "\n  end\nend\n",
                     &Into);
            ADD_FAILURE() << B.Reference;
        } catch (const EFormError& E) {
            EXPECT_NE(E.Message().find(B.Says), String::npos) << E.Message();
        }
    }
    UnregisterFindGlobalComponent(Finder.Id);
    TShapeForm After(nullptr);
    EXPECT_THROW(ReadText(Text, &After), EFormError) << "without the finder the form is not found";
}

// An inherited form's root has a name of its own ("inherited Form2" over
// "object Form1"): it is taken, and the ancestor's references to the root
// by the ancestor's name still reach it.
TEST(FormInheritance, AnInheritedRootMayHaveANameOfItsOwn) {
    const String Base = "object Form1: TShapeForm\n"
                        "  object Link1: TLink\n"
                        "    Target = Form1\n"
                        "  end\n"
                        "end\n";
    const String Diff = "inherited FormX: TShapeForm2\n"
                        "  object Link2: TLink\n"
                        "    Target = FormX\n"
                        "  end\n"
                        "end\n";
    TShapeForm2 Form(nullptr);
    ReadInheritedComponent({StreamOf(Base).get(), StreamOf(Diff).get()}, &Form);
    EXPECT_EQ(Form.GetName(), "FormX");
    EXPECT_EQ(static_cast<TLink*>(Form.FindComponent("Link1"))->GetTarget(), &Form);
    EXPECT_EQ(static_cast<TLink*>(Form.FindComponent("Link2"))->GetTarget(), &Form);

    // The class is still checked: a root of an unrelated class is refused.
    TShapeForm Plain(nullptr);
    EXPECT_THROW(ReadInheritedComponent({StreamOf(Base).get(), StreamOf(Diff).get()}, &Plain),
                 EFormError);
    EXPECT_EQ(Plain.ComponentCount(), 0);
}

} // namespace

} // namespace formtest
