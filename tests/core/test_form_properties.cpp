// Published properties that a form stores as lists, collections and
// floats: a TStrings property, a collection property with items of their
// own properties, and float properties of each width.

#include "FormTestClasses.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Collection.h"
#include "framework/core/Exceptions.h"
#include "framework/core/FormText.h"
#include "framework/core/StringList.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <memory>

namespace formtest {

// A column of a chart: an item with properties of several kinds, a
// reference to a component and a list of its own.
class TChartColumn : public TCollectionItem {
    FOLIO_CLASS(TChartColumn)
public:
    explicit TChartColumn(TCollection* Collection) : TCollectionItem(Collection) {}

    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value) { FCaption = Value; }
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    double GetScale() const { return FScale; }
    void SetScale(double Value) { FScale = Value; }
    TShape* GetBuddy() const { return FBuddy; }
    void SetBuddy(TShape* Value) { FBuddy = Value; }
    TStrings* GetNotes() const { return const_cast<TStringList*>(&FNotes); }
    void SetNotes(TStrings* Value) { FNotes.Assign(Value); }
    String GetDisplayName() const override { return FCaption; }

private:
    String FCaption;
    int FWidth = 50;
    double FScale = 1.0;
    TShape* FBuddy = nullptr;
    TStringList FNotes;
};

class TChartColumns : public TCollection {
    FOLIO_CLASS(TChartColumns)
public:
    explicit TChartColumns(TPersistent* Owner)
        : TCollection(Owner, TChartColumn::StaticClassInfo(), MakeItemOf<TChartColumn>()) {}
    TChartColumn* GetColumn(int Index) const { return static_cast<TChartColumn*>(GetItem(Index)); }

    int Updates = 0;

protected:
    void Update(TCollectionItem* Item) override {
        ++Updates;
        TCollection::Update(Item);
    }
};

class TChart : public TComponent {
    FOLIO_CLASS(TChart)
public:
    explicit TChart(TComponent* AOwner) : TComponent(AOwner), FColumns(this) {}

    TStrings* GetLines() const { return const_cast<TStringList*>(&FLines); }
    void SetLines(TStrings* Value) { FLines.Assign(Value); }
    TChartColumns* GetColumns() const { return const_cast<TChartColumns*>(&FColumns); }
    void SetColumns(TChartColumns* Value) { FColumns.Assign(Value); }
    double GetRatio() const { return FRatio; }
    void SetRatio(double Value) { FRatio = Value; }
    float GetWeight() const { return FWeight; }
    void SetWeight(float Value) { FWeight = Value; }
    long double GetPrecise() const { return FPrecise; }
    void SetPrecise(long double Value) { FPrecise = Value; }

private:
    TStringList FLines;
    TChartColumns FColumns;
    double FRatio = 1.0;
    float FWeight = 0;
    long double FPrecise = 0;
};

const TClassInfo& TChartColumn::StaticClassInfo() {
    using C = TChartColumn;
    static const TClassInfo Info =
        TClassBuilder<C>("TChartColumn", &TCollectionItem::StaticClassInfo())
            .Str("Caption", &C::GetCaption, &C::SetCaption)
            .Int("Width", &C::GetWidth, &C::SetWidth, 50)
            .Float("Scale", &C::GetScale, &C::SetScale, 1.0)
            .Component("Buddy", &C::GetBuddy, &C::SetBuddy)
            .Object("Notes", &C::GetNotes, &C::SetNotes)
            .Build();
    return Info;
}

FOLIO_DEFINE_CLASS(TChartColumns, TCollection)

const TClassInfo& TChart::StaticClassInfo() {
    using C = TChart;
    static const TClassInfo Info = TClassBuilder<C>("TChart", &TComponent::StaticClassInfo())
                                       .Object("Lines", &C::GetLines, &C::SetLines)
                                       .Object("Columns", &C::GetColumns, &C::SetColumns)
                                       .Float("Ratio", &C::GetRatio, &C::SetRatio, 1.0)
                                       .Float("Weight", &C::GetWeight, &C::SetWeight)
                                       .Float("Precise", &C::GetPrecise, &C::SetPrecise)
                                       .Creatable()
                                       .Build();
    return Info;
}
FOLIO_REGISTER_CLASS(TChart)

namespace {

String TextOf(TComponent* Root, TComponent* Ancestor = nullptr) {
    TMemoryStream S;
    WriteComponent(S, Root, Ancestor, feText);
    return String(S.Memory(), static_cast<size_t>(S.GetSize()));
}

void ReadText(const String& Text, TComponent* Into) {
    TMemoryStream S;
    S.WriteBuffer(Text.data(), static_cast<std::int64_t>(Text.size()));
    S.SetPosition(0);
    ReadComponent(S, Into);
}

// A form with a chart of two columns, one referring to a shape.
struct TChartForm {
    TShapeForm Form{nullptr};
    TChart* Chart = new TChart(&Form);
    TShape* Shape = new TShape(&Form);

    TChartForm() {
        Form.SetName("Form1");
        Chart->SetName("Chart1");
        Shape->SetName("Shape1");
        Chart->GetLines()->Add("first");
        Chart->GetLines()->Add("it's \xD0\x96");
        auto* A = static_cast<TChartColumn*>(Chart->GetColumns()->Add());
        A->SetCaption("Name");
        A->SetWidth(120);
        A->SetBuddy(Shape);
        A->GetNotes()->Add("note");
        auto* B = static_cast<TChartColumn*>(Chart->GetColumns()->Add());
        B->SetScale(0.1);
        Chart->SetRatio(0.1);
        Chart->SetWeight(0.1f);
        Chart->SetPrecise(0.1L);
    }
};

TEST(FormProperties, ListsCollectionsAndFloatsAreWrittenInTheirOwnShapes) {
    TChartForm F;
    const String Text = TextOf(&F.Form);
    const char* Expected[] = {
        "    Lines.Strings = (\n      'first'\n      'it''s \xD0\x96')\n",
        "    Columns = <\n"
        "      item\n"
        "        Caption = 'Name'\n"
        "        Width = 120\n"
        "        Buddy = Shape1\n"
        "        Notes.Strings = (\n"
        "          'note')\n"
        "      end\n"
        "      item\n"
        "        Caption = ''\n"
        "        Scale = 0.1\n"
        "      end>\n",
        "    Ratio = 0.1\n",
        "    Weight = 0.1s\n",
        "    Precise = 0.1\n",
    };
    for (const char* E : Expected) EXPECT_NE(Text.find(E), String::npos) << E << "\n" << Text;

    // Read back into a fresh form, in both encodings.
    for (TFormEncoding Encoding : {feText, feBinary}) {
        TMemoryStream S;
        WriteComponent(S, &F.Form, nullptr, Encoding);
        S.SetPosition(0);
        TShapeForm Read(nullptr);
        ReadComponent(S, &Read);
        auto* Chart = static_cast<TChart*>(Read.FindComponent("Chart1"));
        ASSERT_NE(Chart, nullptr);
        EXPECT_EQ(Chart->GetLines()->Items(), F.Chart->GetLines()->Items());
        ASSERT_EQ(Chart->GetColumns()->GetCount(), 2);
        const TChartColumn* A = Chart->GetColumns()->GetColumn(0);
        EXPECT_EQ(A->GetCaption(), "Name");
        EXPECT_EQ(A->GetWidth(), 120);
        EXPECT_EQ(A->GetBuddy(), Read.FindComponent("Shape1"));
        EXPECT_EQ(A->GetNotes()->Items(), std::vector<String>{"note"});
        EXPECT_EQ(Chart->GetColumns()->GetColumn(1)->GetScale(), 0.1);
        EXPECT_EQ(Chart->GetColumns()->GetColumn(1)->GetWidth(), 50);
        EXPECT_EQ(Chart->GetRatio(), 0.1);
        EXPECT_EQ(Chart->GetWeight(), 0.1f);
        EXPECT_EQ(Chart->GetPrecise(), 0.1L);
        EXPECT_EQ(TextOf(&Read), Text);
    }
}

TEST(FormProperties, AStringListReadsFromEachOfItsSpellings) {
    const struct {
        const char* Value;
        std::vector<String> Lines;
    } Cases[] = {
        {"Lines.Strings = ('a' 'b' + 'c' #1046)", {"a", "bc", "\xD0\x96"}},
        {"Lines.Strings = ()", {}},
        {"Lines.Text = 'a'#13#10'b'", {"a", "b"}},
        // The block of bytes that forms held before lists.
        {"Lines.Strings = {020000000100000061020000006263}", {"a", "bc"}},
    };
    for (const auto& C : Cases) {
        TShapeForm Form(nullptr);
        auto* Chart = new TChart(&Form);
        Chart->SetName("Chart1");
        Chart->GetLines()->Add("old");
        ReadText(String("object Form1: TShapeForm\n  inherited Chart1: TChart\n    ") + C.Value +
                     "\n  end\nend\n",
                 &Form);
        EXPECT_EQ(Chart->GetLines()->Items(), C.Lines) << C.Value;
    }
    const struct {
        const char* Value;
        const char* Says;
    } Bad[] = {
        {"Lines.Strings = ('a' 1)", "line 3: Chart1.Lines.Strings: expected a string"},
        {"Lines.Strings = 'a'", "expected a list"},
        {"Lines.Strings = {0100000005000000}", "claims 5 bytes"},
        {"Lines.Strings = ('a' ('b'))", "expected a string, found a list"},
    };
    for (const auto& B : Bad) {
        TShapeForm Form(nullptr);
        auto* Chart = new TChart(&Form);
        Chart->SetName("Chart1");
        Chart->GetLines()->Add("kept");
        try {
            ReadText(String("object Form1: TShapeForm\n  inherited Chart1: TChart\n    ") +
                         B.Value + "\n  end\nend\n",
                     &Form);
            ADD_FAILURE() << B.Value;
        } catch (const EFormError& E) {
            EXPECT_NE(E.Message().find(B.Says), String::npos) << E.Message();
        }
        EXPECT_EQ(Chart->GetLines()->Items(), std::vector<String>{"kept"}) << B.Value;
    }
}

TEST(FormProperties, ACollectionValueReplacesTheItems) {
    TChartForm F;
    ReadText("object Form1: TShapeForm\n"
             "  inherited Chart1: TChart\n"
             "    Columns = <\n"
             "      item\n"
             "        Caption = 'Only'\n"
             "        Buddy = Later\n"
             "      end>\n"
             "  end\n"
             "  object Later: TShape\n"
             "  end\n"
             "end\n",
             &F.Form);
    ASSERT_EQ(F.Chart->GetColumns()->GetCount(), 1);
    EXPECT_EQ(F.Chart->GetColumns()->GetColumn(0)->GetCaption(), "Only");
    EXPECT_EQ(F.Chart->GetColumns()->GetColumn(0)->GetBuddy(), F.Form.FindComponent("Later"))
        << "a reference in an item may name a component further down";

    // A collection given twice keeps the last; the first one's items are
    // gone, and so is the reference read for them.
    ReadText("object Form1: TShapeForm\n"
             "  inherited Chart1: TChart\n"
             "    Columns = <item Buddy = Shape1 end item end>\n"
             "    Columns = <item Width = 7 end>\n"
             "  end\n"
             "end\n",
             &F.Form);
    ASSERT_EQ(F.Chart->GetColumns()->GetCount(), 1);
    EXPECT_EQ(F.Chart->GetColumns()->GetColumn(0)->GetWidth(), 7);
    EXPECT_EQ(F.Chart->GetColumns()->GetColumn(0)->GetBuddy(), nullptr);

    ReadText("object Form1: TShapeForm\n  inherited Chart1: TChart\n    Columns = <>\n  end\nend\n",
             &F.Form);
    EXPECT_EQ(F.Chart->GetColumns()->GetCount(), 0);
}

TEST(FormProperties, AFailedReadPutsTheListsAndItemsBack) {
    TChartForm F;
    const String Before = TextOf(&F.Form);
    const struct {
        const char* Text;
        const char* Says;
    } Cases[] = {
        {"    Columns = <item Caption = 'x' end>\n    Lines.Strings = ('y')\n    Nope = 1\n",
         "line 5: Chart1.Nope: TChart has no property Nope"},
        {"    Columns = <\n      item\n        Width = 'wide'\n      end>\n",
         "line 5: Chart1.Columns[0].Width: expected an integer"},
        {"    Columns = <item Buddy = Nobody end>\n", "the component Nobody never appears"},
        {"    Columns = <item Weight = 1 end>\n", "TChartColumn has no property Weight"},
        {"    Lines = <item end>\n", "the property is not a collection"},
        {"    Weight = 1E39\n", "too large for a Single"},
        {"    Ratio = 'x'\n", "expected a number"},
    };
    for (const auto& C : Cases) {
        try {
            ReadText(String("object Form1: TShapeForm\n  inherited Chart1: TChart\n") + C.Text +
                         "  end\nend\n",
                     &F.Form);
            ADD_FAILURE() << C.Text;
        } catch (const EFormError& E) {
            EXPECT_NE(E.Message().find(C.Says), String::npos) << E.Message();
        }
        EXPECT_EQ(TextOf(&F.Form), Before) << C.Text;
        EXPECT_EQ(F.Chart->GetColumns()->GetColumn(0)->GetBuddy(), F.Shape);
    }
}

TEST(FormProperties, AnInheritedFormStoresListsAndCollectionsThatDiffer) {
    TChartForm Ancestor, Same, Changed;
    EXPECT_EQ(TextOf(&Same.Form, &Ancestor.Form), "inherited Form1: TShapeForm\nend\n");

    Changed.Chart->GetLines()->Delete(0);
    Changed.Chart->GetColumns()->GetColumn(1)->SetWidth(9);
    Changed.Chart->SetWeight(2);
    const String Text = TextOf(&Changed.Form, &Ancestor.Form);
    EXPECT_NE(Text.find("    Lines.Strings = (\n      'it''s \xD0\x96')\n"), String::npos) << Text;
    EXPECT_NE(Text.find("      item\n        Caption = ''\n        Width = 9\n        Scale = 0.1\n"
                        "      end>"),
              String::npos)
        << Text;
    EXPECT_NE(Text.find("    Weight = 2.0s\n"), String::npos) << Text;
    EXPECT_EQ(Text.find("Ratio"), String::npos) << Text;

    // An emptied list and collection are stored as empty, or the ancestor's
    // would come back.
    Changed.Chart->GetLines()->Clear();
    Changed.Chart->GetColumns()->Clear();
    const String Empty = TextOf(&Changed.Form, &Ancestor.Form);
    EXPECT_NE(Empty.find("    Lines.Strings = ()\n    Columns = <>\n"), String::npos) << Empty;
}

TEST(FormProperties, CollectionsCopyAndTellTheirOwner) {
    TChartForm F;
    TChart Copy(nullptr);
    Copy.GetColumns()->Updates = 0;
    Copy.SetColumns(F.Chart->GetColumns());
    EXPECT_EQ(Copy.GetColumns()->Updates, 1) << "one change for the whole copy";
    ASSERT_EQ(Copy.GetColumns()->GetCount(), 2);
    EXPECT_EQ(Copy.GetColumns()->GetColumn(0)->GetCaption(), "Name");
    EXPECT_EQ(Copy.GetColumns()->GetColumn(0)->GetNotes()->Items(), std::vector<String>{"note"});
    EXPECT_EQ(Copy.GetColumns()->GetColumn(0)->GetBuddy(), F.Shape);
    EXPECT_EQ(Copy.GetColumns()->GetColumn(1)->GetScale(), 0.1);

    TChartColumns& Columns = *Copy.GetColumns();
    Columns.GetItem(1)->SetIndex(0);
    EXPECT_EQ(Columns.GetColumn(1)->GetCaption(), "Name");
    EXPECT_EQ(Columns.GetColumn(1)->GetIndex(), 1);
    EXPECT_EQ(Columns.FindItem("Name"), Columns.GetItem(1));
    Columns.Insert(0);
    EXPECT_EQ(Columns.GetCount(), 3);
    EXPECT_EQ(Columns.GetColumn(0)->GetWidth(), 50);
    EXPECT_THROW(Columns.Insert(4), EListError);
    EXPECT_THROW(Columns.GetItem(3), EListError);
    delete Columns.GetItem(0);
    EXPECT_EQ(Columns.GetCount(), 2) << "an item freed leaves its collection";
    Columns.Delete(0);
    EXPECT_EQ(Columns.GetColumn(0)->GetCaption(), "Name");
    EXPECT_THROW(Columns.GetItem(0)->Assign(&F.Form), EConvertError);
}

} // namespace

} // namespace formtest
