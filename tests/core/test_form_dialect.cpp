// The text-form dialect beyond plain values: character codes, floats,
// lists, collections, inline frames, child indices, references to other
// forms and names in any script, in both encodings.

#include "framework/core/Exceptions.h"
#include "framework/core/FormBinary.h"
#include "framework/core/FormFloat.h"
#include "framework/core/FormText.h"
#include "framework/core/Streams.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

using namespace folio;

namespace {

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

TFormValue ValueOf(const String& Text) {
    return FromText("object T\n  P = " + Text + "\nend\n").Properties.at(0).Value;
}

TFormObject WithValue(TFormValue Value) {
    TFormObject Form;
    Form.ClassName = "TThing";
    Form.Properties.push_back({"P", std::move(Value), {}});
    return Form;
}

// A tree survives text and binary both ways: the bytes of its binary form
// and the text the writer makes do not change.
void ExpectRoundTrips(const TFormObject& Form, const String& Why) {
    const String Bytes = Binary(Form);
    const String Text = FormToText(Form);
    EXPECT_EQ(Binary(FromText(Text)), Bytes) << Why << "\n" << Text;
    EXPECT_EQ(FormToText(FromBinary(Bytes)), Text) << Why;
}

void ExpectRefused(const String& Text, const String& Says) {
    const String Start = Text.substr(0, 120);
    try {
        FromText(Text);
        ADD_FAILURE() << "read: " << Start;
    } catch (const EFormError& E) {
        EXPECT_NE(E.Message().find(Says), String::npos) << Start << "\n" << E.Message();
    }
}

TEST(FormDialect, CharacterCodesBecomeUtf8) {
    using K = TFormValueKind;
    const struct {
        const char* Literal;
        String Bytes;
        TFormValueKind Kind;
    } Cases[] = {
        // One code from 128 to 255 is a Latin-1 character.
        {"'Param'#232'tres'", "Param\xC3\xA8tres", K::String},
        {"#169'2004'",
         "\xC2\xA9"
         "2004",
         K::String},
        {"#$E8", "\xC3\xA8", K::String},
        // A run of them that is well-formed UTF-8 is UTF-8, spelled out.
        {"'Caf'#195#169", "Caf\xC3\xA9", K::String},
        {"#226#130#172", "\xE2\x82\xAC", K::String},
        // A run that is not stays Latin-1, every code of it.
        {"#195#40", "\xC3\x83(", K::String},
        {"#233#233", "\xC3\xA9\xC3\xA9", K::String},
        // Below 128 a code is that byte.
        {"'a'#10'b'#0", String("a\nb\0", 4), K::String},
        // From 256 up: UTF-16 units, and the string is wide.
        {"#1053#1072", "\xD0\x9D\xD0\xB0", K::WString},
        {"#$416", "\xD0\x96", K::WString},
        {"#55357#56832", "\xF0\x9F\x98\x80", K::WString},
        {"#55357 + #56832", "\xF0\x9F\x98\x80", K::WString},
        {"#128512", "\xF0\x9F\x98\x80", K::WString},
        // A lone surrogate cannot be UTF-8: it stands for U+FFFD.
        {"#55357'x'", "\xEF\xBF\xBDx", K::WString},
        {"#56832#55357", "\xEF\xBF\xBD\xEF\xBF\xBD", K::WString},
        // In a wide string every code is a character, and so is a quoted
        // byte that is not UTF-8.
        {"#195#169#1046", "\xC3\x83\xC2\xA9\xD0\x96", K::WString},
        {"'\xE8'#1046", "\xC3\xA8\xD0\x96", K::WString},
        {"'\xD0\x96'#1046", "\xD0\x96\xD0\x96", K::WString},
        // Quoted bytes are taken as they are.
        {"'\xE8'", "\xE8", K::String},
        {"'caf\xC3\xA9'", "caf\xC3\xA9", K::String},
    };
    for (const auto& C : Cases) {
        const TFormValue V = ValueOf(C.Literal);
        EXPECT_EQ(V.Kind, C.Kind) << C.Literal;
        EXPECT_EQ(V.Text, C.Bytes) << C.Literal;
        ExpectRoundTrips(WithValue(V), C.Literal);
    }
    for (const char* Bad : {"#1114112", "#$110000", "#12345678", "#$1234567", "#", "#$"})
        ExpectRefused(String("object T\n  P = ") + Bad + "\nend\n", "character code");
}

TEST(FormDialect, StringsAreWrittenSoTheyReadBackByteForByte) {
    const struct {
        TFormValue Value;
        const char* Text;
    } Cases[] = {
        {TFormValue::Str("caf\xC3\xA9"), "'caf\xC3\xA9'"},
        {TFormValue::Str("a\nb"), "'a'#10'b'"},
        // A byte that is not UTF-8 stays a byte: quoted as it is, since a
        // code would read as a character.
        {TFormValue::Str("x\xE8y"), "'x\xE8y'"},
        {TFormValue::Str("\xC3"), "'\xC3'"},
        {TFormValue::WStr("\xD0\x9D\xD0\xB0 A'"), "#1053#1072' A'''"},
        {TFormValue::WStr("\xC3\xA9\xD0\x96\n"), "#233#1046#10"},
        {TFormValue::WStr("\xF0\x9F\x98\x80"), "#55357#56832"},
    };
    for (const auto& C : Cases) {
        const String Text = FormToText(WithValue(C.Value));
        EXPECT_NE(Text.find(String("  P = ") + C.Text + "\n"), String::npos) << Text;
        EXPECT_EQ(ValueOf(C.Text), C.Value) << C.Text;
    }
    // A wide string that does not need to be one has no encoding: its text
    // would read back as a plain string.
    for (const TFormValue& Bad : {TFormValue::WStr("plain"), TFormValue::WStr("\xC3\xA9"),
                                  TFormValue::WStr("\xE8\xD0\x96")}) {
        EXPECT_THROW(FormToText(WithValue(Bad)), EWriteError);
        EXPECT_THROW(Binary(WithValue(Bad)), EWriteError);
    }
    const String WideLong = [] {
        String S;
        for (int I = 0; I < 200; ++I) S += "\xD0\x96";
        return S;
    }();
    const String Text = FormToText(WithValue(TFormValue::WStr(WideLong)));
    for (size_t Line = 0, At = 0; (At = Text.find('\n', Line)) != String::npos; Line = At + 1)
        EXPECT_LE(At - Line, 100u) << "long wide strings are split: " << Text;
    EXPECT_EQ(ValueOf(Text.substr(Text.find("= ") + 2, Text.rfind("\nend") - Text.find("= ") - 2)),
              TFormValue::WStr(WideLong));
}

TEST(FormDialect, FloatsReadToTheNearestValueAndWriteBackToTheSameBits) {
    const struct {
        const char* Text;
        long double Value;
        const char* Written;
    } Extended[] = {
        {"0.75", 0.75L, "0.75"},
        {"1.000000000000000000", 1.0L, "1.0"},
        {"-15.000000000000000000", -15.0L, "-15.0"},
        {"0.1", 0.1L, "0.1"},
        {"1.5E+00", 1.5L, "1.5"},
        {"1e3", 1000.0L, "1000.0"},
        {"+2.5", 2.5L, "2.5"},
        {"40272.532937581020000000", 40272.532937581020000000L, nullptr},
        {"1.5E+300", 1.5E+300L, "1.5E+300"},
        {"1E-5000", 0.0L, "0.0"},
    };
    for (const auto& C : Extended) {
        const TFormValue V = ValueOf(C.Text);
        ASSERT_EQ(V.Kind, TFormValueKind::Extended) << C.Text;
        EXPECT_EQ(V, TFormValue::Extended(C.Value)) << C.Text;
        if (C.Written) {
            EXPECT_EQ(FormatExtended(V.AsExtended()), C.Written) << C.Text;
        }
        ExpectRoundTrips(WithValue(V), C.Text);
    }
    const struct {
        const char* Text;
        float Value;
    } Singles[] = {{"1.5s", 1.5f}, {"0.1s", 0.1f}, {"3S", 3.0f}, {"-2.5E-3s", -2.5E-3f}};
    for (const auto& C : Singles) {
        const TFormValue V = ValueOf(C.Text);
        ASSERT_EQ(V.Kind, TFormValueKind::Single) << C.Text;
        EXPECT_EQ(V, TFormValue::Single(C.Value)) << C.Text;
        ExpectRoundTrips(WithValue(V), C.Text);
    }
    // The numbers at the edges of each type come back to the bit.
    for (long double X :
         {std::numeric_limits<long double>::denorm_min(), std::numeric_limits<long double>::min(),
          std::numeric_limits<long double>::max(), -0.0L, 3.141592653589793238L, 1.0L / 3.0L})
        ExpectRoundTrips(WithValue(TFormValue::Extended(X)), FormatExtended(X));
    for (float X : {std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::max(),
                    -0.0f, 1.0f / 3.0f})
        ExpectRoundTrips(WithValue(TFormValue::Single(X)), FormatSingle(X));
    EXPECT_EQ(ValueOf("-0.0"), TFormValue::Extended(-0.0L)) << "the sign of zero is kept";
    EXPECT_EQ(ValueOf("7"), TFormValue::Integer(7)) << "digits alone are an integer";

    for (const char* Bad : {"1E5000", "3.5E39s", "1.5x", "1E", "1.5ss", "$1.5"})
        EXPECT_THROW(ValueOf(Bad), EFormError) << Bad;
    EXPECT_EQ(ValueOf("0." + String(997, '0') + "1"), TFormValue::Extended(1E-998L))
        << "a thousand characters are read";
    EXPECT_THROW(ValueOf("0." + String(998, '0') + "1"), EFormError) << "more are not";
    // Infinities and NaNs have no text, and the 80-bit format's odd forms
    // (an unnormal, a pseudo-denormal) no one encoding: neither encoding
    // holds them.
    const TFormValue NotFinite[] = {
        TFormValue::Single(std::numeric_limits<float>::infinity()),
        TFormValue::Single(std::numeric_limits<float>::quiet_NaN()),
        TFormValue::Extended(-std::numeric_limits<long double>::infinity()),
        TFormValue::ExtendedBits(0x4000000000000000ULL, 0x3FFF), // unnormal
        TFormValue::ExtendedBits(0x8000000000000000ULL, 0),      // pseudo-denormal
    };
    for (const TFormValue& V : NotFinite) {
        EXPECT_THROW(Binary(WithValue(V)), EWriteError);
        EXPECT_THROW(FormToText(WithValue(V)), EWriteError);
    }
    String Bytes = Binary(WithValue(TFormValue::Extended(1.0L)));
    // The sign and exponent are the value's last two bytes, before the ends
    // of the properties and of the children: the highest exponent.
    Bytes[Bytes.size() - 4] = '\xFF';
    Bytes[Bytes.size() - 3] = '\x7F';
    EXPECT_THROW(FromBinary(Bytes), EFormError);
}

TEST(FormDialect, ListsHoldValuesOfAnyKindInOrder) {
    const TFormObject Form = FromText("object T\n"
                                      "  Items.Strings = (\n"
                                      "    'one'\n"
                                      "    'two' + ' halves'\n"
                                      "    #1046)\n"
                                      "  DesignSize = (\n"
                                      "    394\n"
                                      "    163)\n"
                                      "  Mixed = (alClient 1.5 [a, b] {0A} (1 ()) nil True)\n"
                                      "  Empty = ()\n"
                                      "end\n");
    ASSERT_EQ(Form.Properties.size(), 4u);
    EXPECT_EQ(Form.Properties[0].Value,
              TFormValue::List({TFormValue::Str("one"), TFormValue::Str("two halves"),
                                TFormValue::WStr("\xD0\x96")}));
    EXPECT_EQ(Form.Properties[1].Value,
              TFormValue::List({TFormValue::Integer(394), TFormValue::Integer(163)}));
    EXPECT_EQ(Form.Properties[2].Value,
              TFormValue::List({TFormValue::Ident("alClient"), TFormValue::Extended(1.5L),
                                TFormValue::Set({"a", "b"}), TFormValue::Binary("\x0A"),
                                TFormValue::List({TFormValue::Integer(1), TFormValue::List({})}),
                                TFormValue::Nil(), TFormValue::Bool(true)}));
    EXPECT_EQ(Form.Properties[3].Value, TFormValue::List({}));
    ExpectRoundTrips(Form, "lists");
    const String Text = FormToText(Form);
    EXPECT_NE(Text.find("  DesignSize = (\n    394\n    163)\n"), String::npos) << Text;
    EXPECT_NE(Text.find("  Empty = ()\n"), String::npos) << Text;
}

TEST(FormDialect, CollectionsHoldItemsOfProperties) {
    const TFormObject Form = FromText("object T\n"
                                      "  Columns = <\n"
                                      "    item\n"
                                      "      Width = 48\n"
                                      "    end\n"
                                      "    item [3]\n"
                                      "      Caption = 'Raw'\n"
                                      "      Font.Style = [fsBold]\n"
                                      "      Sub = <item end>\n"
                                      "    end>\n"
                                      "  Panels = <>\n"
                                      "end\n");
    ASSERT_EQ(Form.Properties.size(), 2u);
    const TFormValue& Columns = Form.Properties[0].Value;
    ASSERT_EQ(Columns.Kind, TFormValueKind::Collection);
    ASSERT_EQ(Columns.Collection.size(), 2u);
    EXPECT_FALSE(Columns.Collection[0].Index);
    EXPECT_EQ(Columns.Collection[1].Index, 3);
    EXPECT_EQ(Columns.Collection[0].Place.Where, 3);
    EXPECT_EQ(Columns.Collection[1].Properties.at(1).Place.Where, 8);
    EXPECT_EQ(Columns.Collection[1].Properties.at(2).Value,
              TFormValue::MakeCollection({TFormCollectionItem{}}));
    EXPECT_EQ(Form.Properties[1].Value, TFormValue::MakeCollection({}));
    ExpectRoundTrips(Form, "collections");
    const String Text = FormToText(Form);
    EXPECT_NE(Text.find("  Columns = <\n    item\n      Width = 48\n    end\n    item [3]\n"),
              String::npos)
        << Text;
    EXPECT_NE(Text.find("    end>\n  Panels = <>\n"), String::npos) << Text;
}

TEST(FormDialect, ObjectsMayBeInlineFramesAndGiveTheirPlace) {
    const TFormObject Form = FromText("inherited Form2: TForm2\n"
                                      "  object Edit1: TEdit [0]\n"
                                      "  end\n"
                                      "  inline Frame1: TFrame1\n"
                                      "    inherited Button1: TButton [2]\n"
                                      "      Action = MainForm.acSave\n"
                                      "    end\n"
                                      "  end\n"
                                      "end\n");
    EXPECT_TRUE(Form.Inherited);
    ASSERT_EQ(Form.Children.size(), 2u);
    EXPECT_EQ(Form.Children[0].ChildIndex, 0);
    EXPECT_FALSE(Form.Children[0].Inline);
    EXPECT_TRUE(Form.Children[1].Inline);
    EXPECT_EQ(Form.Children[1].ChildIndex, -1);
    const TFormObject& Button = Form.Children[1].Children.at(0);
    EXPECT_TRUE(Button.Inherited);
    EXPECT_EQ(Button.ChildIndex, 2);
    EXPECT_EQ(Button.Properties.at(0).Value, TFormValue::Ident("MainForm.acSave"));
    ExpectRoundTrips(Form, "inline and indices");
    const String Text = FormToText(Form);
    EXPECT_NE(Text.find("  object Edit1: TEdit [0]\n"), String::npos) << Text;
    EXPECT_NE(Text.find("  inline Frame1: TFrame1\n    inherited Button1: TButton [2]\n"),
              String::npos)
        << Text;
}

TEST(FormDialect, NamesMayBeWrittenInAnyScript) {
    // A file that declares itself UTF-8 with a byte order mark.
    const TFormObject Form = FromText("\xEF\xBB\xBF"
                                      "object \xD0\xA4\xD0\xBE\xD1\x80\xD0\xBC\xD0\xB0: TForm\n"
                                      "  object \xD0\xA1hangeButton: TButton\n"
                                      "    OnClick = \xD0\xA1hangeButtonClick\n"
                                      "  end\n"
                                      "end\n");
    EXPECT_EQ(Form.Name, "\xD0\xA4\xD0\xBE\xD1\x80\xD0\xBC\xD0\xB0");
    EXPECT_EQ(Form.Children.at(0).Name, "\xD0\xA1hangeButton");
    ExpectRoundTrips(Form, "names in Cyrillic");
    const struct {
        const char* Name;
        const char* Why;
    } Bad[] = {{"Bad\xE8Name", "not UTF-8"},
               {"No\xC2\xA0Space", "a no-break space"},
               {"Quoted\xC2\xABName", "a quotation mark"},
               {"Dash\xE2\x80\x94Name", "a dash"},
               {"Cut\xD0", "a cut character"}};
    for (const auto& B : Bad)
        EXPECT_THROW(FromText(String("object ") + B.Name + ": TForm\nend\n"), EFormError) << B.Why;
}

TEST(FormDialect, StringsHaveALimitThatReadersCheckFirst) {
    const String Longest(MaxFormStringLength, 'x');
    const String Text = FormToText(WithValue(TFormValue::Str(Longest)));
    EXPECT_EQ(ValueOf(Text.substr(Text.find("= ") + 2, Text.rfind("\nend") - Text.find("= ") - 2))
                  .Text.size(),
              MaxFormStringLength);
    EXPECT_EQ(FromBinary(Binary(WithValue(TFormValue::Str(Longest)))).Properties[0].Value.Text,
              Longest);

    const String TooLong = Longest + "x";
    EXPECT_THROW(FormToText(WithValue(TFormValue::Str(TooLong))), EWriteError);
    EXPECT_THROW(Binary(WithValue(TFormValue::Str(TooLong))), EWriteError);
    ExpectRefused("object T\n  A = 1\n  P = '" + TooLong + "'\nend\n",
                  "line 3: a string longer than 1048576 bytes");
    ExpectRefused("object T\n  P = '" + Longest + "'#10\nend\n", "a string longer");
    ExpectRefused("object T\n  P = '" + Longest.substr(1) + "'#1046\nend\n", "a string longer");
    // In binary the length is refused before anything is read for it.
    String Bytes = Binary(WithValue(TFormValue::Str("abc")));
    const size_t Length = Bytes.find('\x09') + 1;
    const std::uint32_t Claim = MaxFormStringLength + 1;
    Bytes.replace(Length, 4, reinterpret_cast<const char*>(&Claim), 4);
    try {
        FromBinary(Bytes);
        ADD_FAILURE() << "a string longer than the limit was read";
    } catch (const EFormError& E) {
        EXPECT_NE(E.Message().find("longer than a form holds"), String::npos) << E.Message();
    }
}

TEST(FormDialect, DamagedListsAndCollectionsNameTheirLine) {
    const struct {
        const char* Text;
        const char* Says;
    } Cases[] = {
        {"object T\n  P = (\n    1\n", "line 4: expected ')' to close a list"},
        {"object T\n  P = (1 , 2)\nend\n", "line 2: expected a value"},
        {"object T\n  P = <\n    item\n      A = 1\n", "opened on line 3"},
        {"object T\n  P = <\n    thing\n    end>\nend\n", "line 3: expected 'item' or '>'"},
        {"object T\n  P = <item [-1] end>\nend\n", "order index"},
        {"object T\n  P = <item [1.5] end>\nend\n", "order index"},
        {"object T\n  P = <item [1 end>\nend\n", "']' after an item's order index"},
        {"object T\n  P = <item\n    object X: T\n    end\n  end>\nend\n",
         "line 3: expected a property name or 'end' in an item"},
        {"object T\n  object X: TX [x]\n  end\nend\n", "line 2: expected a child index"},
        {"object T\n  object X: TX [99999999999]\n  end\nend\n", "child index from 0"},
        {"object T\n  P = Form.\nend\n", "expected a value"},
        {"object T\n  P = .Name\nend\n", "expected a value"},
    };
    for (const auto& C : Cases) ExpectRefused(C.Text, C.Says);

    String Deep = "object T\n  P = ";
    for (int I = 0; I < MaxFormDepth + 1; ++I) Deep += "(";
    ExpectRefused(Deep, "values nest deeper than");
    String DeepItems = "object T\n  P = ";
    for (int I = 0; I < MaxFormDepth + 1; ++I) DeepItems += "<item P = ";
    ExpectRefused(DeepItems, "values nest deeper than");
}

TEST(FormDialect, EveryCutOfTheNewKindsIsRefusedWithItsOffset) {
    TFormObject Form = FromText("object T [2]\n"
                                "  W = #1046\n"
                                "  S = 1.5s\n"
                                "  E = 2.5\n"
                                "  L = (1 'a' (x))\n"
                                "  C = <item A = 1 end item [7] B = <> end>\n"
                                "  R = Other.Thing\n"
                                "  inline F: TF\n"
                                "  end\n"
                                "end\n");
    const String Bytes = Binary(Form);
    for (size_t Length = 0; Length < Bytes.size(); ++Length) {
        try {
            ParseBinaryForm(Bytes.data(), Length);
            ADD_FAILURE() << "a form cut after " << Length << " bytes was read";
        } catch (const EFormError& E) {
            EXPECT_NE(E.Message().find("offset"), String::npos) << E.Message();
        }
    }
    ExpectRoundTrips(Form, "every new kind");
}

TEST(FormDialect, BinaryFormsOfTodaysEncodingReadAsTheyDid) {
    // A form as the encoding stood before lists and the rest: an object, an
    // inherited child, every value kind of then.
    const String Old("FFB1"
                     "\x01\x06TThing\x06Thing1"
                     "\x01N\x05\x00\x01"
                     "\x01S\x09\x02\x00\x00\x00hi"
                     "\x01T\x0B\x02"
                     "ab\x00"
                     "\x00"
                     "\x02\x05TPart\x00\x00\x00"
                     "\x00",
                     4 + 15 + 5 + 9 + 7 + 1 + 10 + 1);
    const TFormObject Form = FromBinary(Old);
    EXPECT_EQ(Form.Properties.at(0).Value, TFormValue::Integer(256));
    EXPECT_EQ(Form.Properties.at(1).Value, TFormValue::Str("hi"));
    EXPECT_EQ(Form.Properties.at(2).Value, TFormValue::Set({"ab"}));
    EXPECT_TRUE(Form.Children.at(0).Inherited);
    EXPECT_EQ(Form.Children.at(0).ChildIndex, -1);
    EXPECT_EQ(Binary(Form), Old);
}

} // namespace
