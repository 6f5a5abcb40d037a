#pragma once

#include "framework/core/Types.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace folio {

// A form file held in memory: the component tree with its property values,
// as the binary and the text encoding both describe it. The writer builds
// one from components, the reader applies one to components, and the two
// encodings convert through it.

/// What a property value of a form file is, and so which of TFormValue's
/// fields hold it.
enum class TFormValueKind : std::uint8_t {
    Nil, ///< no component or no handler
    False,
    True,
    Integer, ///< any width up to 64 bits, in Int
    /// A name: enumeration value, colour, component, handler; a reference to
    /// another form's component is "Form.Component". In Text.
    Ident,
    String, ///< any bytes, in Text
    Binary, ///< a block of bytes written by a binary property, in Text
    Set,    ///< element names, in Elements
    /// Unicode text that a text form gave with character codes above 255
    /// (#1053): held as UTF-8, and written with character codes again.
    WString,
    Single,     ///< a 32-bit float: its bits in Int
    Extended,   ///< an 80-bit float: its significand in Int, sign and exponent in Exponent
    List,       ///< values in order, of any kinds: Items
    Collection, ///< the items of a collection property: Collection
};

struct TFormValue;
struct TFormProperty;
struct TFormCollectionItem;

/// One property value of a form file. Kind says which fields hold it; the
/// static functions make each kind.
struct TFormValue {
    TFormValueKind Kind = TFormValueKind::Nil;   ///< what the value is
    std::uint16_t Exponent = 0;                  ///< Extended: the sign bit and the 15-bit exponent
    long long Int = 0;                           ///< Integer; Single's bits; Extended's significand
    String Text;                                 ///< Ident, String, WString and Binary
    std::vector<String> Elements;                ///< Set
    std::vector<TFormValue> Items;               ///< List
    std::vector<TFormCollectionItem> Collection; ///< Collection

    /// No value: a component or event reference to nothing.
    static TFormValue Nil() { return {}; }
    /// True or False.
    static TFormValue Bool(bool Value) {
        TFormValue V;
        V.Kind = Value ? TFormValueKind::True : TFormValueKind::False;
        return V;
    }
    /// An integer.
    static TFormValue Integer(long long Value) {
        TFormValue V;
        V.Kind = TFormValueKind::Integer;
        V.Int = Value;
        return V;
    }
    /// A name (see TFormValueKind::Ident).
    static TFormValue Ident(String Name) { return Textual(TFormValueKind::Ident, std::move(Name)); }
    /// A string of any bytes.
    static TFormValue Str(String Bytes) {
        return Textual(TFormValueKind::String, std::move(Bytes));
    }
    /// Utf8 must be well-formed UTF-8 holding a character above U+00FF;
    /// the encoders refuse anything else.
    static TFormValue WStr(String Utf8) {
        return Textual(TFormValueKind::WString, std::move(Utf8));
    }
    /// A binary property's block of bytes.
    static TFormValue Binary(String Bytes) {
        return Textual(TFormValueKind::Binary, std::move(Bytes));
    }
    /// A set of the elements named.
    static TFormValue Set(std::vector<String> Names) {
        TFormValue V;
        V.Kind = TFormValueKind::Set;
        V.Elements = std::move(Names);
        return V;
    }
    /// A 32-bit float, kept bit for bit.
    static TFormValue Single(float Value);
    /// An 80-bit float, kept bit for bit.
    static TFormValue Extended(long double Value);
    ///@{
    /// Raw bits, for the binary reader and for tests of unusual numbers.
    static TFormValue SingleBits(std::uint32_t Bits);
    static TFormValue ExtendedBits(std::uint64_t Significand, std::uint16_t SignExponent);
    ///@}
    /// A list of values, in order.
    static TFormValue List(std::vector<TFormValue> Values);
    /// A collection property's items.
    static TFormValue MakeCollection(std::vector<TFormCollectionItem> Items);

    /// True for String and WString.
    bool IsString() const {
        return Kind == TFormValueKind::String || Kind == TFormValueKind::WString;
    }
    /// True for Single and Extended.
    bool IsFloat() const {
        return Kind == TFormValueKind::Single || Kind == TFormValueKind::Extended;
    }
    /// A Single's value (meaningful for that kind only).
    float AsSingle() const;
    /// An Extended's value (meaningful for that kind only).
    long double AsExtended() const;

    /// Equal kinds and equal fields; places do not count.
    friend bool operator==(const TFormValue&, const TFormValue&);

private:
    static TFormValue Textual(TFormValueKind Kind, String Text) {
        TFormValue V;
        V.Kind = Kind;
        V.Text = std::move(Text);
        return V;
    }
};

/// Where a part of a form came from: a line of a text form or a byte offset
/// of a binary one (0 for a tree built in memory).
struct TFormPlace {
    bool Text = false;   ///< true: a text form's line; false: a binary form's offset
    long long Where = 0; ///< the line (from 1) or the byte offset

    /// "line 12" or "offset 345"; empty for a tree built in memory.
    String Describe() const;
};

/// One property of an object in a form: its name and value.
struct TFormProperty {
    String Name;      ///< dotted for nested objects: "GroupsFont.Name", "Groups.Data"
    TFormValue Value; ///< the value
    TFormPlace Place; ///< where it was read, for messages

    /// Equal names and values; places do not count.
    friend bool operator==(const TFormProperty& A, const TFormProperty& B) {
        return A.Name == B.Name && A.Value == B.Value;
    }
};

/// One item of a collection property: its properties, as an object's, and
/// the order index a collection may give its items.
struct TFormCollectionItem {
    std::optional<long long> Index;        ///< the "[n]" after "item", when given
    std::vector<TFormProperty> Properties; ///< the item's properties, in order
    TFormPlace Place;                      ///< where it was read, for messages

    /// Equal indexes and properties; places do not count.
    friend bool operator==(const TFormCollectionItem& A, const TFormCollectionItem& B) {
        return A.Index == B.Index && A.Properties == B.Properties;
    }
};

/// Equal kinds and equal fields; places do not count.
inline bool operator==(const TFormValue& A, const TFormValue& B) {
    return A.Kind == B.Kind && A.Exponent == B.Exponent && A.Int == B.Int && A.Text == B.Text &&
           A.Elements == B.Elements && A.Items == B.Items && A.Collection == B.Collection;
}

/// One component block of a form (from "object Name: ClassName" to "end"): its
/// properties and the components nested in it. The root is the form itself.
struct TFormObject {
    ///@{
    /// An inherited block changes a component the ancestor form made; an
    /// ordinary one makes a new component. An inline block makes a frame:
    /// a component of its class that brings its own components, which the
    /// block's inherited children change.
    bool Inherited = false;
    bool Inline = false;
    ///@}
    String ClassName; ///< the component's class ("TFolio")
    String Name;      ///< the component's name; may be empty
    /// In an inherited form: where the component goes among its parent's
    /// children ("object Edit1: TEdit [0]"); -1 keeps the order it is read in.
    int ChildIndex = -1;
    TFormPlace Place;                      ///< where the block was read, for messages
    std::vector<TFormProperty> Properties; ///< the properties, in the order written
    std::vector<TFormObject> Children;     ///< the nested components, in order
};

/// How deep components may nest in a form file; deeper input is refused
/// rather than read with ever deeper recursion. Lists and collections inside
/// a property's value nest no deeper than this either.
constexpr int MaxFormDepth = 64;

/// The longest string value a form may hold, in bytes (a caption, a line of
/// a list). Readers refuse a longer one before they make room for it; no
/// form a person or a program writes comes near it.
constexpr std::size_t MaxFormStringLength = 1 << 20;

/// True when a Single or Extended value is a finite number in the one form
/// each encoding holds: not an infinity or a NaN, and for an extended float
/// its integer bit set exactly when its exponent is not zero (the 80-bit
/// format's unnormals and pseudo-denormals have no text).
bool IsEncodableFloat(const TFormValue& Value);

/// True when Name is a dotted property name: identifiers joined by dots.
bool IsValidPropertyPath(const String& Name);
/// True when Name is an identifier value: a name, or a reference to another
/// form's component ("MainForm.ImageList1"), none of the reserved words.
bool IsValidIdentValue(const String& Name);
/// Identifiers a text form reserves for values.
bool IsReservedFormWord(const String& Name);

} // namespace folio
