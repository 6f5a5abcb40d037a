#include "framework/core/ClassRegistry.h"
#include "framework/core/Collection.h"
#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/core/StringList.h"
#include "framework/hosts/HeadlessHost.h"

#include <gtest/gtest.h>

using namespace folio;

namespace {

// One property of a control as a form file stores it: the lines of the
// control's block, the property read back and the value it must have (an
// ordinal, or the text of a string or list property).
struct TStoredCase {
    const char* ClassName;
    const char* Lines;
    const char* Property;
    long long Value;
    const char* Text = nullptr;
};

const TStoredCase StoredCases[] = {
    {"TCheckBox", "State = cbGrayed", "State", 2},
    {"TCheckBox", "State = cbChecked", "Checked", 1},
    {"TCheckBox", "AllowGrayed = True", "AllowGrayed", 1},
    {"TCheckBox", "Alignment = taLeftJustify", "Alignment", 0},
    {"TRadioButton", "Checked = True", "Checked", 1},
    {"TRadioButton", "Caption = 'Large'", "Caption", 0, "Large"},
    {"TRadioGroup", "Columns = 3", "Columns", 3},
    {"TRadioGroup", "Items.Strings = ('a' 'b' 'c')\nItemIndex = 2", "ItemIndex", 2},
    {"TRadioGroup", "Items.Strings = ('a' 'b' 'c')", "Items", 0, "a\nb\nc"},
    // Values out of range load kept in range.
    {"TRadioGroup", "Columns = -4", "Columns", 1},
    {"TRadioGroup", "Columns = 1000000", "Columns", 16},
    {"TRadioGroup", "ItemIndex = 5\nItems.Strings = ('a' 'b')", "ItemIndex", 1},
    {"TRadioGroup", "ItemIndex = -9", "ItemIndex", -1},
    {"TProgressBar", "Max = 250\nPosition = 70", "Position", 70},
    {"TProgressBar", "Orientation = pbVertical", "Orientation", 1},
    {"TProgressBar", "Smooth = True\nStep = 3", "Step", 3},
    {"TProgressBar", "Max = -5\nPosition = 20", "Max", 0},
    {"TProgressBar", "Max = -5\nPosition = 20", "Position", 0},
    {"TProgressBar", "Position = 20\nMin = 200\nMax = 100", "Max", 200},
    {"TProgressBar", "Position = 20\nMin = 200\nMax = 100", "Position", 200},
    {"TProgressBar", "Position = 500", "Position", 100},
    {"TTrackBar", "Max = 40\nPosition = 33\nFrequency = 5", "Position", 33},
    {"TTrackBar", "Orientation = trVertical\nPageSize = 4", "PageSize", 4},
    {"TTrackBar", "Position = 11", "Position", 10},
    {"TTrackBar", "Min = -20\nPosition = -30\nLineSize = -2", "Position", -20},
    {"TTrackBar", "LineSize = -2", "LineSize", 1},
    {"TSpinEdit", "MinValue = -10\nMaxValue = 10\nValue = -7", "Value", -7},
    {"TSpinEdit", "Increment = 5", "Increment", 5},
    {"TSpinEdit", "MaxValue = 10\nValue = 50", "Value", 10},
    {"TSpinEdit", "MinValue = 5", "Value", 5},
    {"TSpinEdit", "Value = -2147483648\nMinValue = -2147483648", "Value", -2147483648LL},
    {"TBevel", "Shape = bsTopLine", "Shape", 2},
    {"TBevel", "Style = bsRaised", "Style", 1},
    {"TShape", "Shape = stRoundSquare", "Shape", 3},
    {"TShape", "Brush.Color = clYellow", "Brush.Color", 0x00FFFF},
    {"TShape", "Pen.Width = 3", "Pen.Width", 3},
    {"TSpeedButton", "GroupIndex = 2\nDown = True", "Down", 1},
    {"TSpeedButton", "Down = True\nGroupIndex = 2", "Down", 1},
    {"TSpeedButton", "Down = True", "Down", 0},
    {"TSpeedButton", "Flat = True\nAllowAllUp = True", "AllowAllUp", 1},
    {"TSpeedButton", "Caption = 'Bold'", "Caption", 0, "Bold"},
    {"TTimer", "Interval = 250", "Interval", 250},
    {"TTimer", "Enabled = False", "Enabled", 0},
    {"TStatusBar", "Panels = <\n  item\n    Text = 'Ready'\n    Width = 120\n  end\n  item\n  end>",
     "Panels", 2},
    {"TStatusBar", "SimplePanel = True\nSimpleText = 'Saving'", "SimpleText", 0, "Saving"},
    {"TStatusBar", "Align = alTop", "Align", 1},
    {"TSplitter", "MinSize = 80", "MinSize", 80},
    {"TSplitter", "MinSize = -3", "MinSize", 1},
    {"TToolBar", "ButtonWidth = 40\nShowCaptions = True", "ButtonWidth", 40},
    {"TToolBar", "ButtonHeight = -5", "ButtonHeight", 1},
    {"TToolBar", "Flat = False", "Flat", 0},
    {"TToolButton", "Down = True\nStyle = tbsCheck\nGrouped = True", "Down", 1},
    {"TToolButton", "Down = True", "Down", 0},
    {"TToolButton", "ImageIndex = 4\nStyle = tbsDropDown", "Style", 2},
    {"TScrollBox", "Color = clWindow", "Color", -2147483643},
    {"TToolBar", "Color = clWindow", "Color", -2147483643},
};

String FormText(const TStoredCase& Case) {
    String Lines = Case.Lines, Indented;
    size_t Start = 0;
    while (Start <= Lines.size()) {
        const size_t End = std::min(Lines.find('\n', Start), Lines.size());
        Indented += "    " + Lines.substr(Start, End - Start) + "\n";
        Start = End + 1;
    }
    return "object Form1: TForm\n  object Control1: " + String(Case.ClassName) + "\n" + Indented +
           "  end\nend\n";
}

void ReadText(const String& Text, TComponent* Root) {
    TMemoryStream S;
    S.Write(Text.data(), static_cast<std::int64_t>(Text.size()));
    S.SetPosition(0);
    ReadComponent(S, Root);
}

void ExpectValue(const TStoredCase& Case, TComponent* Control, const String& Where) {
    ASSERT_NE(Control, nullptr) << Where;
    // A dotted name reaches into an owned object ("Brush.Color").
    const TPersistent* Object = Control;
    String Name = Case.Property;
    for (size_t Dot; (Dot = Name.find('.')) != String::npos;) {
        const TPropInfo* Owner = Object->ClassInfo().FindProperty(Name.substr(0, Dot));
        ASSERT_NE(Owner, nullptr) << Case.Property;
        Object = dynamic_cast<const TPersistent*>(Owner->GetObj(*Object));
        ASSERT_NE(Object, nullptr) << Case.Property;
        Name = Name.substr(Dot + 1);
    }
    const TPropInfo* P = Object->ClassInfo().FindProperty(Name);
    ASSERT_NE(P, nullptr) << Case.Property;
    if (P->IsOrdinal()) {
        EXPECT_EQ(P->GetOrd(*Object), Case.Value) << Where;
    } else if (P->Kind == TTypeKind::tkString) {
        EXPECT_EQ(P->GetStr(*Object), Case.Text) << Where;
    } else if (auto* Items = dynamic_cast<TCollection*>(P->GetObj(*Object))) {
        EXPECT_EQ(Items->GetCount(), Case.Value) << Where;
    } else if (auto* Lines = dynamic_cast<TStrings*>(P->GetObj(*Object))) {
        EXPECT_EQ(Lines->GetText(), String(Case.Text) + "\n") << Where;
    } else {
        ADD_FAILURE() << "no way to compare " << Case.Property;
    }
}

// Each case is read from its text, then written by the form writer and read
// again in both encodings: the value survives every step.
TEST(ControlForms, EveryStoredPropertyReadsBackThroughBothEncodings) {
    THeadlessHost Host;
    for (const TStoredCase& Case : StoredCases) {
        const String Where = String(Case.ClassName) + " " + Case.Lines;
        TForm Form(nullptr);
        ReadText(FormText(Case), &Form);
        ExpectValue(Case, Form.FindComponent("Control1"), Where + " (read)");
        for (TFormEncoding Encoding : {feText, feBinary}) {
            TMemoryStream Out;
            WriteComponent(Out, &Form, nullptr, Encoding);
            Out.SetPosition(0);
            TForm Again(nullptr);
            ReadComponent(Out, &Again);
            ExpectValue(Case, Again.FindComponent("Control1"), Where + " (written and read)");
        }
    }
}

} // namespace

namespace {

// The windowed children of Parent in tab order, by name.
std::vector<String> TabOrderNames(const TWinControl& Parent) {
    std::vector<String> Names;
    for (int I = 0; I < Parent.ControlCount(); ++I)
        if (auto* W = dynamic_cast<const TWinControl*>(Parent.Controls(I)))
            Names.push_back(W->GetName());
    return Names;
}

struct TTabOrderCase {
    const char* What;
    const char* Text;
    std::vector<String> FormOrder;
    std::vector<String> PanelOrder;
    // The control a shown form gives the keyboard to first.
    const char* First;
};

// A form's children get their parent only once the whole form is read,
// after their properties: the tab order stored with them must still hold.
TEST(ControlForms, TheTabOrderReadsBackOnTheFormAndInsideContainers) {
    const TTabOrderCase Cases[] = {
        {"the last written is the first in tab order",
         "object Form1: TForm\n"
         "  object Panel1: TPanel\n    TabOrder = 1\n"
         "    object Inner1: TButton\n      TabOrder = 1\n    end\n"
         "    object Inner2: TButton\n      TabOrder = 0\n    end\n"
         "  end\n"
         "  object Button1: TButton\n    TabOrder = 2\n  end\n"
         "  object Button3: TButton\n    TabOrder = 0\n  end\n"
         "end\n",
         {"Button3", "Panel1", "Button1"},
         {"Inner2", "Inner1"},
         "Button3"},
        {"written in tab order",
         "object Form1: TForm\n"
         "  object Button1: TButton\n    TabOrder = 0\n  end\n"
         "  object Panel1: TPanel\n    TabOrder = 1\n"
         "    object Inner1: TButton\n      TabOrder = 0\n    end\n"
         "    object Inner2: TButton\n      TabOrder = 1\n    end\n"
         "  end\n"
         "  object Button3: TButton\n    TabOrder = 2\n  end\n"
         "end\n",
         {"Button1", "Panel1", "Button3"},
         {"Inner1", "Inner2"},
         "Button1"},
        {"an order past the end keeps the control last",
         "object Form1: TForm\n"
         "  object Button1: TButton\n    TabOrder = 9\n  end\n"
         "  object Panel1: TPanel\n    TabOrder = 0\n  end\n"
         "  object Button3: TButton\n    TabOrder = 1\n  end\n"
         "end\n",
         {"Panel1", "Button3", "Button1"},
         {},
         "Button3"},
    };
    THeadlessHost Host;
    for (const TTabOrderCase& Case : Cases) {
        TForm Form(nullptr);
        ReadText(Case.Text, &Form);
        EXPECT_EQ(TabOrderNames(Form), Case.FormOrder) << Case.What;
        const auto* Panel = dynamic_cast<TWinControl*>(Form.FindComponent("Panel1"));
        ASSERT_NE(Panel, nullptr) << Case.What;
        EXPECT_EQ(TabOrderNames(*Panel), Case.PanelOrder) << Case.What;
        Form.Show();
        const auto* First = Form.FindNextControl(nullptr, true, true, false);
        ASSERT_NE(First, nullptr) << Case.What;
        EXPECT_EQ(First->GetName(), Case.First) << Case.What;
        // Written and read again, in both encodings, the order stays.
        for (TFormEncoding Encoding : {feText, feBinary}) {
            TMemoryStream Out;
            WriteComponent(Out, &Form, nullptr, Encoding);
            Out.SetPosition(0);
            TForm Again(nullptr);
            ReadComponent(Out, &Again);
            EXPECT_EQ(TabOrderNames(Again), Case.FormOrder) << Case.What << " (written and read)";
        }
    }
}

} // namespace
