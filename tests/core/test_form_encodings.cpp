#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"
#include "framework/core/FormBinary.h"
#include "framework/core/FormFiles.h"
#include "framework/core/FormText.h"
#include "framework/core/Streams.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

using namespace folio;

namespace {

TFormObject Tree(std::vector<TFormProperty> Properties) {
    TFormObject Root;
    Root.ClassName = "TThing";
    Root.Name = "Thing1";
    Root.Properties = std::move(Properties);
    TFormObject Child;
    Child.ClassName = "TPart";
    Child.Inherited = true;
    Root.Children.push_back(Child);
    return Root;
}

String Binary(const TFormObject& Form) {
    TMemoryStream S;
    WriteBinaryForm(Form, S);
    return String(S.Memory(), static_cast<size_t>(S.GetSize()));
}

TFormObject FromBinary(const String& Bytes) {
    return ParseBinaryForm(Bytes.data(), Bytes.size());
}

TFormObject FromText(const String& Text) {
    return ParseTextForm(Text.data(), Text.size());
}

// A tree in memory has no places; a parsed one has, and they differ between
// the encodings. Trees are compared by their binary bytes instead.
void ExpectSameTree(const TFormObject& A, const TFormObject& B) {
    EXPECT_EQ(Binary(A), Binary(B));
}

TEST(FormEncoding, IntegersOfEveryWidthKeepTheirValueAndTakeTheNarrowestTag) {
    struct TCase {
        long long Value;
        size_t Bytes; // tag and payload
    };
    const TCase Cases[] = {{0, 2},         {-128, 2},       {127, 2},           {128, 3},
                           {-129, 3},      {32767, 3},      {-32768, 3},        {32768, 5},
                           {INT_MIN, 5},   {INT_MAX, 5},    {1LL + INT_MAX, 9}, {LLONG_MIN, 9},
                           {LLONG_MAX, 9}, {-2147483633, 5}};
    const size_t Empty = Binary(Tree({{"P", TFormValue::Nil(), {}}})).size();
    for (const TCase& C : Cases) {
        const TFormObject Form = Tree({{"P", TFormValue::Integer(C.Value), {}}});
        const String Bytes = Binary(Form);
        EXPECT_EQ(Bytes.size(), Empty - 1 + C.Bytes) << C.Value;
        EXPECT_EQ(FromBinary(Bytes).Properties[0].Value.Int, C.Value);
        const String Text = FormToText(Form);
        EXPECT_EQ(FromText(Text).Properties[0].Value.Int, C.Value) << Text;
        EXPECT_EQ(Binary(FromText(Text)), Bytes);
    }
}

TEST(FormEncoding, StringsOfAnyBytesSurviveBothEncodings) {
    const String Cases[] = {
        "",
        "'",
        "it's",
        "''",
        "line\nnext\r\n",
        String("nul\0inside", 10),
        "\x7F\x01\x1F",
        "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", // valid UTF-8 stays readable
        "\xC3",                                      // a cut character
        "\xC0\xAF\xED\xA0\x80\xFF",                  // overlong, surrogate, not UTF-8 at all
        "#10 + '#'",
        String(64, 'a') + "'" + String(200, 'b') + "\xC3\xA9" + String(63, 'c'),
    };
    for (const String& S : Cases) {
        const TFormObject Form = Tree({{"S", TFormValue::Str(S), {}}});
        const String Text = FormToText(Form);
        EXPECT_EQ(FromText(Text).Properties[0].Value.Text, S) << Text;
        EXPECT_EQ(FromBinary(Binary(Form)).Properties[0].Value.Text, S);
        for (size_t Line = 0, At = 0; (At = Text.find('\n', Line)) != String::npos; Line = At + 1)
            EXPECT_LE(At - Line, 100u) << "long strings are split: " << Text;
    }
}

TEST(FormEncoding, EveryValueKindConvertsBothWaysWithoutLoss) {
    String Blob;
    for (int I = 0; I < 300; ++I) Blob += static_cast<char>(I * 7);
    const TFormObject Form = Tree({
        {"Nothing", TFormValue::Nil(), {}},
        {"No", TFormValue::Bool(false), {}},
        {"Yes", TFormValue::Bool(true), {}},
        {"Count", TFormValue::Integer(-5), {}},
        {"Kind", TFormValue::Ident("skStar"), {}},
        {"Caption", TFormValue::Str("x"), {}},
        {"Font.Style", TFormValue::Set({"fsBold", "fsItalic"}), {}},
        {"Empty", TFormValue::Set({}), {}},
        {"Groups.Data", TFormValue::Binary(Blob), {}},
        {"None", TFormValue::Binary({}), {}},
    });
    const String Bytes = Binary(Form);
    TMemoryStream In, Text, Back;
    In.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    In.SetPosition(0);
    ObjectBinaryToText(In, Text);
    Text.SetPosition(0);
    ObjectTextToBinary(Text, Back);
    EXPECT_EQ(String(Back.Memory(), static_cast<size_t>(Back.GetSize())), Bytes);
    const String AsText(Text.Memory(), static_cast<size_t>(Text.GetSize()));
    EXPECT_NE(AsText.find("  Font.Style = [fsBold, fsItalic]\n"), String::npos) << AsText;
    EXPECT_NE(AsText.find("  None = {}\n"), String::npos) << AsText;
    EXPECT_NE(AsText.find("  inherited TPart\n  end\n"), String::npos) << AsText;
    // Hex lines hold 32 bytes each.
    String FirstLine;
    for (int I = 0; I < 32; ++I) {
        char Hex[3];
        std::snprintf(Hex, sizeof Hex, "%02X", static_cast<unsigned char>(Blob[I]));
        FirstLine += Hex;
    }
    EXPECT_NE(AsText.find("  Groups.Data = {\n    " + FirstLine + "\n"), String::npos) << AsText;
}

TEST(FormEncoding, TextFormsMayBeWrittenByHand) {
    const TFormObject Form = FromText("\xEF\xBB\xBF\n"
                                      "  OBJECT TThing\r\n"
                                      "  A=$FF B = -12 C = #$41'b'#99 + 'd'\n"
                                      "  D = { 0a 0B\n c0 }\n"
                                      "  E = [ x ,y ] F = TRUE G = Nil\n"
                                      "END\n");
    EXPECT_EQ(Form.Name, "");
    EXPECT_EQ(Form.ClassName, "TThing");
    const TFormObject Expected = [] {
        TFormObject F;
        F.ClassName = "TThing";
        F.Properties = {{"A", TFormValue::Integer(255), {}},
                        {"B", TFormValue::Integer(-12), {}},
                        {"C", TFormValue::Str("Abcd"), {}},
                        {"D", TFormValue::Binary("\x0A\x0B\xC0"), {}},
                        {"E", TFormValue::Set({"x", "y"}), {}},
                        {"F", TFormValue::Bool(true), {}},
                        {"G", TFormValue::Nil(), {}}};
        return F;
    }();
    ExpectSameTree(Form, Expected);
    for (const char* Bad :
         {"object T\n  A = -$1\nend\n", "object T\n  A = 99999999999999999999\nend\n",
          "object T\n  A = #1114112\nend\n", "object T\n  A = #$9999999999999999999999999\nend\n",
          "object T\n  A = 'x' +\nend\n", "object T\n  A = [x,]\nend\n",
          "object T\n  A = [True]\nend\n", "object T\n  end = 1\nend\n", "object T\nend\nend\n",
          "object T\n  object C: T\n  end\n  A = 1\nend\n", "object 1T\nend\n",
          "object A.B: T\nend\n", "thing T\nend\n"})
        EXPECT_THROW(FromText(Bad), EFormError) << Bad;
}

TEST(FormEncoding, EveryCutOfABinaryFormIsRefusedWithItsOffset) {
    const TFormObject Form = Tree({{"Groups.Data", TFormValue::Binary("abc"), {}},
                                   {"S", TFormValue::Set({"a", "b"}), {}},
                                   {"N", TFormValue::Integer(70000), {}}});
    const String Bytes = Binary(Form);
    for (size_t Length = 0; Length < Bytes.size(); ++Length) {
        try {
            ParseBinaryForm(Bytes.data(), Length);
            ADD_FAILURE() << "a form cut after " << Length << " bytes was read";
        } catch (const EFormError& E) {
            EXPECT_NE(E.Message().find("offset"), String::npos) << E.Message();
        }
    }
    size_t Used = 0;
    ParseBinaryForm((Bytes + "trailing").data(), Bytes.size() + 8, &Used);
    EXPECT_EQ(Used, Bytes.size()) << "a binary form knows where it ends";
}

// A component may be named like the words that stand for values; both
// encodings read such a header back (a binary form of one could not be read).
TEST(FormEncoding, HeadersMayUseTheWordsForValues) {
    const TFormObject Form =
        FromText("object nil: True\n  object False: TButton\n    Tag = nil\n  end\nend\n");
    EXPECT_EQ(Form.Name, "nil");
    EXPECT_EQ(Form.ClassName, "True");
    ExpectSameTree(FromBinary(Binary(Form)), Form);
    EXPECT_EQ(FromText(FormToText(Form)).Children.at(0).Name, "False");
}

// The binary encoding holds a name in one length byte, so a text form may
// not hold a longer one: it would read and then fail to save.
TEST(FormEncoding, EveryNameFitsTheBinaryEncoding) {
    const auto FormWith = [](const String& Name) {
        return "object Form1: TForm\n  object " + Name + ": T" + Name + "\n    P" + Name +
               ".Q = " + Name + "\n    S = [a, " + Name + "]\n  end\nend\n";
    };
    // With the 'T', 'P' and '.Q' around it, each place holds 255 characters.
    const TFormObject Longest = FromText(FormWith("N" + String(251, 'a')));
    ExpectSameTree(FromBinary(Binary(Longest)), Longest);
    ExpectSameTree(FromText(FormToText(Longest)), Longest);

    const String Long(256, 'x');
    const struct {
        String Text;
        int Line;
    } Cases[] = {
        {"object " + Long + ": TForm\nend\n", 1},
        {"object Form1: " + Long + "\nend\n", 1},
        {"object Form1: TForm\n  " + Long + " = 1\nend\n", 2},
        {"object Form1: TForm\n  A.B = 1\n  P.Q" + String(253, 'q') + " = 1\nend\n", 3},
        {"object Form1: TForm\n\n  A = " + Long + "\nend\n", 3},
        {"object Form1: TForm\n  A = [a,\n " + Long + "]\nend\n", 3},
    };
    for (const auto& Case : Cases) {
        try {
            FromText(Case.Text);
            ADD_FAILURE() << Case.Text;
        } catch (const EFormError& E) {
            EXPECT_NE(
                E.Message().find("line " + std::to_string(Case.Line) + ": a name longer than 255"),
                String::npos)
                << E.Message();
        }
    }

    TComponent Owner(nullptr);
    TComponent Part(&Owner);
    Part.SetName("N" + String(254, 'a'));
    try {
        Part.SetName(Long);
        ADD_FAILURE() << "a 256-character name was taken";
    } catch (const EComponentError& E) {
        EXPECT_EQ(E.Message(), "A component name may have at most 255 characters; '" +
                                   String(32, 'x') + "...' has 256");
    }
    EXPECT_EQ(Part.GetName().size(), 255u);
}

TEST(FormEncoding, BinaryFormsOutsideTheOneEncodingAreRefused) {
    const String Good = Binary(Tree({{"P", TFormValue::Integer(5), {}}}));
    const size_t Value = Good.find('P') + 1; // the value's tag
    struct TCase {
        const char* Name;
        String Bytes;
        const char* Says;
    };
    auto Patched = [&](size_t At, const String& With, size_t Remove = 0) {
        String B = Good;
        B.replace(At, Remove, With);
        return B;
    };
    const TCase Cases[] = {
        {"signature", Patched(0, "X", 1), "signature"},
        {"wide integer", Patched(Value, String("\x05\x05\x00", 3), 2), "wider than it needs"},
        {"unknown tag", Patched(Value, "\x3F", 1), "value tag"},
        {"reserved ident", Patched(Value, String("\x08\x04True", 6), 2), "identifier"},
        {"ident with a space",
         Patched(Value,
                 String("\x08\x03"
                        "a b",
                        5),
                 2),
         "identifier"},
        {"object kind", Patched(4, "\x07", 1), "inherited object"},
        {"huge string", Patched(Value, String("\x09\xFF\xFF\xFF\x7F", 5), 2), "longer than a form"},
        {"cut string", Patched(Value, String("\x09\x00\x01\x00\x00", 5), 2), "runs past the end"},
        {"negative length", Patched(Value, String("\x0A\xFF\xFF\xFF\xFF", 5), 2), "claims"},
    };
    for (const TCase& C : Cases) {
        try {
            FromBinary(C.Bytes);
            ADD_FAILURE() << C.Name << " was read";
        } catch (const EFormError& E) {
            EXPECT_NE(E.Message().find(C.Says), String::npos) << C.Name << ": " << E.Message();
        }
    }
}

TEST(FormEncoding, NestingIsBoundedInBothEncodings) {
    String Text, Bytes(BinaryFormSignature, 4);
    for (int I = 0; I <= MaxFormDepth; ++I) {
        Text += "object T\n";
        Bytes += String("\x01\x01T\x00\x00", 5);
    }
    for (int I = 0; I <= MaxFormDepth; ++I) {
        Text += "end\n";
        Bytes += String("\x00", 1);
    }
    EXPECT_THROW(FromText(Text), EFormError);
    EXPECT_THROW(FromBinary(Bytes), EFormError);
}

} // namespace
