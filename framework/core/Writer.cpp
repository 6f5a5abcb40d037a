#include "framework/core/Writer.h"

#include "framework/core/Collection.h"
#include "framework/core/ColorIdents.h"
#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"
#include "framework/core/FormFloat.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace folio {

namespace {

// Nested persistent objects deeper than this would be a property table that
// leads back to itself.
constexpr int MaxObjectDepth = 16;

TFormValue OrdinalValue(const TPropInfo& Prop, long long Value) {
    switch (Prop.Kind) {
    case TTypeKind::tkBool:
        return TFormValue::Bool(Value != 0);
    case TTypeKind::tkEnum:
        if (Value >= 0 && Value < static_cast<long long>(Prop.EnumNames.size()))
            return TFormValue::Ident(Prop.EnumNames[static_cast<std::size_t>(Value)]);
        break;
    case TTypeKind::tkColor: {
        String Name;
        if (ColorToIdent(static_cast<TColor>(Value), Name)) return TFormValue::Ident(Name);
        break;
    }
    case TTypeKind::tkSet: {
        // Bits without an element name keep the set a plain number.
        const std::size_t Count = Prop.EnumNames.size();
        if (Count < 64 && (static_cast<unsigned long long>(Value) >> Count) != 0) break;
        std::vector<String> Elements;
        for (std::size_t I = 0; I < Count && I < 64; ++I)
            if ((static_cast<unsigned long long>(Value) >> I) & 1)
                Elements.push_back(Prop.EnumNames[I]);
        return TFormValue::Set(std::move(Elements));
    }
    default:
        break;
    }
    return TFormValue::Integer(Value);
}

// A float property's value in the width of its type.
TFormValue FloatValue(const TPropInfo& Prop, long double Value) {
    if (Prop.FloatSize == 4) return TFormValue::Single(static_cast<float>(Value));
    if (Prop.FloatSize == 8)
        return TFormValue::Extended(ExtendedForDouble(static_cast<double>(Value)));
    return TFormValue::Extended(Value);
}

} // namespace

TFormObject TWriter::WriteRoot(TComponent* Root, TComponent* Ancestor) {
    FRoot = Root;
    FAncestorRoot = Ancestor;
    FEverything = false;
    TFormObject Node;
    WriteComponent(Root, Ancestor, Node);
    Node.Inherited = Ancestor != nullptr;
    return Node;
}

TFormObject TWriter::WriteSnapshot(TComponent* Component) {
    FRoot = Component->Owner() ? Component->Owner() : Component;
    FAncestorRoot = nullptr;
    FEverything = true;
    TFormObject Node;
    Node.ClassName = Component->ClassName();
    Node.Name = Component->GetName();
    FProperties = &Node.Properties;
    FPrefix.clear();
    WriteProperties(Component, nullptr, {}, 0);
    FProperties = nullptr;
    return Node;
}

void TWriter::WriteComponent(TComponent* Component, TComponent* Ancestor, TFormObject& Node) {
    Node.ClassName = Component->ClassName();
    Node.Name = Component->GetName();
    Node.Inherited = Ancestor != nullptr;
    FProperties = &Node.Properties;
    WriteProperties(Component, Ancestor, {}, 0);
    WriteChildren(Component, Ancestor, Node);
    FProperties = &Node.Properties;
}

// The matching component of the ancestor form: the same name and class.
TComponent* TWriter::AncestorOf(TComponent* Child) const {
    if (!FAncestorRoot || Child->GetName().empty()) return nullptr;
    TComponent* Found = FAncestorRoot->FindComponent(Child->GetName());
    return Found && Found->ClassName() == Child->ClassName() ? Found : nullptr;
}

void TWriter::WriteChildren(TComponent* Component, TComponent* Ancestor, TFormObject& Node) {
    std::vector<TComponent*> Children;
    Component->GetChildren([&](TComponent* Child) { Children.push_back(Child); }, FRoot);
    // Against an ancestor, the reader makes the ancestor's components first
    // and the new ones after them: a component that stands elsewhere gets
    // its index, going through the children in order as the reader will.
    std::vector<int> Indices(Children.size(), -1);
    if (Ancestor) {
        std::vector<TComponent*> Expected;
        Ancestor->GetChildren(
            [&](TComponent* Was) {
                for (TComponent* Child : Children)
                    if (AncestorOf(Child) == Was) Expected.push_back(Child);
            },
            FAncestorRoot);
        for (TComponent* Child : Children)
            if (std::find(Expected.begin(), Expected.end(), Child) == Expected.end())
                Expected.push_back(Child);
        for (std::size_t I = 0; I < Children.size() && I < Expected.size(); ++I) {
            if (Expected[I] == Children[I]) continue;
            Indices[I] = static_cast<int>(I);
            auto It = std::find(Expected.begin() + static_cast<std::ptrdiff_t>(I), Expected.end(),
                                Children[I]);
            if (It != Expected.end()) Expected.erase(It);
            Expected.insert(Expected.begin() + static_cast<std::ptrdiff_t>(I), Children[I]);
        }
    }
    for (std::size_t I = 0; I < Children.size(); ++I) {
        TComponent* Child = Children[I];
        TComponent* ChildAncestor = AncestorOf(Child);
        TFormObject ChildNode;
        if (Child->IsInline())
            WriteFrame(Child, ChildAncestor, ChildNode);
        else
            WriteComponent(Child, ChildAncestor, ChildNode);
        ChildNode.ChildIndex = Indices[I];
        // An inherited component that changes nothing and stays in place
        // needs no block: the ancestor's form makes it as it is.
        if (ChildAncestor && ChildNode.Properties.empty() && ChildNode.Children.empty() &&
            ChildNode.ChildIndex < 0)
            continue;
        Node.Children.push_back(std::move(ChildNode));
    }
}

// A frame stores what differs from the frame its class makes (or from the
// ancestor form's frame): its own properties, and its components as
// inherited blocks, named within the frame.
void TWriter::WriteFrame(TComponent* Frame, TComponent* Ancestor, TFormObject& Node) {
    std::unique_ptr<TComponent> Fresh;
    TComponent* Base = Ancestor;
    if (!Base && Frame->ClassInfo().CreateComponent) {
        Fresh.reset(Frame->ClassInfo().CreateComponent(nullptr));
        Base = Fresh.get();
    }
    Node.ClassName = Frame->ClassName();
    Node.Name = Frame->GetName();
    Node.Inherited = Ancestor != nullptr;
    Node.Inline = !Ancestor;
    FProperties = &Node.Properties;
    WriteProperties(Frame, Base, {}, 0);
    TComponent* const SavedRoot = FRoot;
    TComponent* const SavedAncestorRoot = FAncestorRoot;
    FEnclosing.push_back(FRoot);
    FRoot = Frame;
    FAncestorRoot = Base;
    try {
        WriteChildren(Frame, Base, Node);
    } catch (...) {
        FRoot = SavedRoot;
        FAncestorRoot = SavedAncestorRoot;
        FEnclosing.pop_back();
        throw;
    }
    FRoot = SavedRoot;
    FAncestorRoot = SavedAncestorRoot;
    FEnclosing.pop_back();
    FProperties = &Node.Properties;
}

void TWriter::WriteProperties(TPersistent* Instance, TPersistent* Ancestor, const String& Prefix,
                              int Depth) {
    if (Depth > MaxObjectDepth)
        throw EWriteError("Properties nest deeper than " + std::to_string(MaxObjectDepth) +
                          " objects at " + Prefix);
    for (const TPropInfo* Prop : Instance->ClassInfo().PublishedProperties()) {
        if (!Prop->IsStored(*Instance)) continue;
        // A component's name is part of its object line.
        if (Depth == 0 && Prop->Name == "Name" && dynamic_cast<TComponent*>(Instance)) continue;
        WriteProperty(Instance, Ancestor, *Prop, Prefix, Depth);
    }
    TPersistent* SavedAncestor = this->Ancestor();
    const String SavedPrefix = FPrefix;
    SetAncestor(Ancestor);
    FPrefix = Prefix;
    Instance->DefineProperties(this);
    SetAncestor(SavedAncestor);
    FPrefix = SavedPrefix;
}

void TWriter::WriteProperty(TPersistent* Instance, TPersistent* Ancestor, const TPropInfo& Prop,
                            const String& Prefix, int Depth) {
    const String Name = Prefix + Prop.Name;
    if (Prop.IsOrdinal()) {
        if (!Prop.GetOrd) return;
        const long long Value = Prop.GetOrd(*Instance);
        if (!FEverything) {
            if (Ancestor ? Value == Prop.GetOrd(*Ancestor) : Prop.HasDefaultValue(*Instance))
                return;
        }
        Add(Name, OrdinalValue(Prop, Value));
        return;
    }
    switch (Prop.Kind) {
    case TTypeKind::tkString: {
        if (!Prop.GetStr) return;
        String Value = Prop.GetStr(*Instance);
        if (!FEverything && Ancestor && Value == Prop.GetStr(*Ancestor)) return;
        Add(Name, TFormValue::Str(std::move(Value)));
        return;
    }
    case TTypeKind::tkComponent: {
        if (!Prop.GetObj) return;
        String Target;
        const bool Named = ReferenceName(Prop.GetObj(*Instance), FRoot, Target);
        if (!Named) return; // a component outside the form cannot be named in it
        if (!FEverything) {
            String Was;
            const bool AncestorNamed =
                Ancestor && ReferenceName(Prop.GetObj(*Ancestor), FAncestorRoot, Was);
            if (Ancestor ? AncestorNamed && SameText(Target, Was) : Target.empty()) return;
        }
        Add(Name, Target.empty() ? TFormValue::Nil() : TFormValue::Ident(Target));
        return;
    }
    case TTypeKind::tkMethod: {
        // Only components remember handler names, and snapshots leave events
        // alone: the reader binds events last, once nothing can fail.
        auto* Component = dynamic_cast<TComponent*>(Instance);
        if (FEverything || !Component || Depth > 0) return;
        String Handler;
        // A component being designed has handler names without code behind them.
        if (Component->IsDesigning() || (Prop.EventAssigned && Prop.EventAssigned(*Instance)))
            Handler = Component->GetEventHandlerName(Prop.Name);
        String Was;
        if (auto* AncestorComponent = dynamic_cast<TComponent*>(Ancestor))
            if (Prop.EventAssigned && Prop.EventAssigned(*Ancestor))
                Was = AncestorComponent->GetEventHandlerName(Prop.Name);
        if (Handler == Was) return;
        Add(Name, Handler.empty() ? TFormValue::Nil() : TFormValue::Ident(Handler));
        return;
    }
    case TTypeKind::tkFloat: {
        if (!Prop.GetFloat) return;
        const long double Value = Prop.GetFloat(*Instance);
        if (!std::isfinite(Value))
            throw EWriteError("The property " + Name + " holds " + std::to_string(Value) +
                              ", and a form holds only finite numbers");
        TFormValue V = FloatValue(Prop, Value);
        if (!FEverything) {
            if (Ancestor ? V == FloatValue(Prop, Prop.GetFloat(*Ancestor))
                         : Prop.HasDefaultValue(*Instance))
                return;
        }
        Add(Name, std::move(V));
        return;
    }
    case TTypeKind::tkClass: {
        if (!Prop.GetObj) return;
        auto* Sub = dynamic_cast<TPersistent*>(Prop.GetObj(*Instance));
        if (!Sub || dynamic_cast<TComponent*>(Sub)) return;
        TPersistent* SubAncestor =
            Ancestor ? dynamic_cast<TPersistent*>(Prop.GetObj(*Ancestor)) : nullptr;
        if (auto* Collection = dynamic_cast<TCollection*>(Sub)) {
            WriteCollection(Name, *Collection, dynamic_cast<TCollection*>(SubAncestor), Depth);
            return;
        }
        WriteProperties(Sub, SubAncestor, Name + ".", Depth + 1);
        return;
    }
    default:
        return;
    }
}

// A collection is one value: every item with its properties. An inherited
// form stores it whole when it differs from the ancestor's in any way, and
// not at all when it does not.
void TWriter::WriteCollection(const String& Name, TCollection& Collection, TCollection* Ancestor,
                              int Depth) {
    TFormValue Value = CollectionValue(Collection, Depth);
    if (!FEverything) {
        if (Ancestor ? AncestorCollectionValue(*Ancestor, Depth) == Value
                     : Value.Collection.empty())
            return;
    }
    Add(Name, std::move(Value));
}

// The ancestor's items, their references named as in the ancestor form.
TFormValue TWriter::AncestorCollectionValue(TCollection& Ancestor, int Depth) {
    TComponent* const SavedRoot = FRoot;
    std::vector<TComponent*> SavedEnclosing;
    std::swap(SavedEnclosing, FEnclosing);
    FRoot = FAncestorRoot;
    TFormValue Value;
    try {
        Value = CollectionValue(Ancestor, Depth);
    } catch (...) {
        FRoot = SavedRoot;
        std::swap(SavedEnclosing, FEnclosing);
        throw;
    }
    FRoot = SavedRoot;
    std::swap(SavedEnclosing, FEnclosing);
    return Value;
}

TFormValue TWriter::CollectionValue(TCollection& Collection, int Depth) {
    std::vector<TFormCollectionItem> Items(static_cast<std::size_t>(Collection.GetCount()));
    std::vector<TFormProperty>* SavedProperties = FProperties;
    const String SavedPrefix = FPrefix;
    try {
        for (int I = 0; I < Collection.GetCount(); ++I) {
            FProperties = &Items[static_cast<std::size_t>(I)].Properties;
            WriteProperties(Collection.GetItem(I), nullptr, {}, Depth + 1);
        }
    } catch (...) {
        FProperties = SavedProperties;
        FPrefix = SavedPrefix;
        throw;
    }
    FProperties = SavedProperties;
    FPrefix = SavedPrefix;
    return TFormValue::MakeCollection(std::move(Items));
}

// The name a form stores for a reference: the name of a component the
// form (or a frame being written) owns or of the form itself; the path to
// one inside a frame of it ("Frame1.Button1"); or the path from another
// form ("MainForm.Images"), a form being the last named owner. Answers
// false for a component no name reaches; Name is empty for nil.
bool TWriter::ReferenceName(TObject* Target, TComponent* Root, String& Name) const {
    Name.clear();
    if (!Target) return true;
    auto* Component = dynamic_cast<TComponent*>(Target);
    if (!Component || Component->GetName().empty()) return false;
    auto IsRoot = [&](const TComponent* C) {
        return C == Root || std::find(FEnclosing.begin(), FEnclosing.end(), C) != FEnclosing.end();
    };
    if (IsRoot(Component)) {
        Name = Component->GetName();
        return true;
    }
    String Path = Component->GetName();
    for (const TComponent* Owner = Component->Owner(); Owner; Owner = Owner->Owner()) {
        if (IsRoot(Owner)) {
            Name = Path;
            return true;
        }
        if (Owner->GetName().empty()) return false;
        Path = Owner->GetName() + "." + Path;
        if (!Owner->Owner() || Owner->Owner()->GetName().empty()) {
            Name = Path;
            return true;
        }
    }
    return false;
}

void TWriter::Add(const String& Name, TFormValue Value) {
    TFormProperty P;
    P.Name = Name;
    P.Value = std::move(Value);
    FProperties->push_back(std::move(P));
}

void TWriter::DefineProperty(const String& Name, TReaderProc, TWriterProc WriteData, bool HasData) {
    if (!(HasData || FEverything) || !WriteData) return;
    const std::size_t Before = FProperties->size();
    FPendingName = FPrefix + Name;
    FPending = true;
    try {
        WriteData(*this);
    } catch (...) {
        FPending = false;
        FLists.clear();
        throw;
    }
    const bool Wrote = !FPending && FLists.empty();
    FPending = false;
    FLists.clear();
    if (!Wrote || FProperties->size() != Before + 1)
        throw EWriteError("The defined property " + FPrefix + Name + " must write one value");
}

void TWriter::AddValue(TFormValue Value) {
    if (!FLists.empty()) {
        FLists.back().push_back(std::move(Value));
        return;
    }
    if (!FPending) throw EWriteError("A value was written outside a defined property's writer");
    FPending = false;
    Add(FPendingName, std::move(Value));
}

void TWriter::WriteListBegin() {
    if (!FPending && FLists.empty())
        throw EWriteError("A list was begun outside a defined property's writer");
    FLists.emplace_back();
}

void TWriter::WriteListEnd() {
    if (FLists.empty()) throw EWriteError("A list was ended that was not begun");
    std::vector<TFormValue> Items = std::move(FLists.back());
    FLists.pop_back();
    AddValue(TFormValue::List(std::move(Items)));
}

void TWriter::WriteFloat(long double Value) {
    if (!std::isfinite(Value)) throw EWriteError("A form holds only finite numbers");
    AddValue(TFormValue::Extended(Value));
}

void TWriter::WriteSingle(float Value) {
    if (!std::isfinite(Value)) throw EWriteError("A form holds only finite numbers");
    AddValue(TFormValue::Single(Value));
}

void TWriter::WriteInteger(long long Value) {
    AddValue(TFormValue::Integer(Value));
}
void TWriter::WriteBoolean(bool Value) {
    AddValue(TFormValue::Bool(Value));
}
void TWriter::WriteString(const String& Value) {
    AddValue(TFormValue::Str(Value));
}
void TWriter::WriteIdent(const String& Value) {
    if (!IsValidIdentValue(Value))
        throw EWriteError("'" + Value + "' is not an identifier a form can hold");
    AddValue(TFormValue::Ident(Value));
}

void TWriter::DefineBinaryProperty(const String& Name, TStreamProc, TStreamProc WriteData,
                                   bool HasData) {
    if (!(HasData || FEverything) || !WriteData) return;
    TMemoryStream Bytes;
    WriteData(Bytes);
    Add(FPrefix + Name,
        TFormValue::Binary(String(Bytes.Memory(), static_cast<std::size_t>(Bytes.GetSize()))));
}

} // namespace folio
