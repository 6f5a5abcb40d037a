#pragma once

#include "framework/core/Types.h"

#include <cstdint>
#include <vector>

namespace folio {

// A form file held in memory: the component tree with its property values,
// as the binary and the text encoding both describe it. The writer builds
// one from components, the reader applies one to components, and the two
// encodings convert through it.

enum class TFormValueKind : std::uint8_t {
    Nil, // no component or no handler
    False,
    True,
    Integer, // any width up to 64 bits
    Ident,   // a name: enumeration value, colour, component, handler
    String,  // any bytes
    Binary,  // a block of bytes written by a binary property
    Set,     // element names
};

struct TFormValue {
    TFormValueKind Kind = TFormValueKind::Nil;
    long long Int = 0;
    String Text;                  // Ident, String and Binary
    std::vector<String> Elements; // Set

    static TFormValue Nil() { return {}; }
    static TFormValue Bool(bool Value) {
        return {Value ? TFormValueKind::True : TFormValueKind::False, 0, {}, {}};
    }
    static TFormValue Integer(long long Value) { return {TFormValueKind::Integer, Value, {}, {}}; }
    static TFormValue Ident(String Name) { return {TFormValueKind::Ident, 0, std::move(Name), {}}; }
    static TFormValue Str(String Bytes) {
        return {TFormValueKind::String, 0, std::move(Bytes), {}};
    }
    static TFormValue Binary(String Bytes) {
        return {TFormValueKind::Binary, 0, std::move(Bytes), {}};
    }
    static TFormValue Set(std::vector<String> Names) {
        return {TFormValueKind::Set, 0, {}, std::move(Names)};
    }

    friend bool operator==(const TFormValue&, const TFormValue&) = default;
};

// Where a part of a form came from: a line of a text form or a byte offset
// of a binary one (0 for a tree built in memory).
struct TFormPlace {
    bool Text = false;
    long long Where = 0;

    // "line 12" or "offset 345"; empty for a tree built in memory.
    String Describe() const;
};

struct TFormProperty {
    String Name; // dotted for nested objects: "GroupsFont.Name", "Groups.Data"
    TFormValue Value;
    TFormPlace Place;
};

struct TFormObject {
    // An inherited block changes a component the ancestor form made; an
    // ordinary one makes a new component.
    bool Inherited = false;
    String ClassName;
    String Name;
    TFormPlace Place;
    std::vector<TFormProperty> Properties;
    std::vector<TFormObject> Children;
};

// How deep components may nest in a form file; deeper input is refused
// rather than read with ever deeper recursion.
constexpr int MaxFormDepth = 64;

// True when Name is a dotted property name: identifiers joined by dots.
bool IsValidPropertyPath(const String& Name);
// Identifiers a text form reserves for values.
bool IsReservedFormWord(const String& Name);

} // namespace folio
