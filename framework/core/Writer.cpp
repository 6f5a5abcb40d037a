#include "framework/core/Writer.h"

#include "framework/core/ColorIdents.h"
#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"

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
    FNode = &Node;
    FPrefix.clear();
    WriteProperties(Component, nullptr, {}, 0);
    FNode = nullptr;
    return Node;
}

void TWriter::WriteComponent(TComponent* Component, TComponent* Ancestor, TFormObject& Node) {
    Node.ClassName = Component->ClassName();
    Node.Name = Component->GetName();
    Node.Inherited = Ancestor != nullptr;
    FNode = &Node;
    WriteProperties(Component, Ancestor, {}, 0);
    Component->GetChildren(
        [&](TComponent* Child) {
            TComponent* ChildAncestor = nullptr;
            if (FAncestorRoot && !Child->GetName().empty()) {
                ChildAncestor = FAncestorRoot->FindComponent(Child->GetName());
                if (ChildAncestor && ChildAncestor->ClassName() != Child->ClassName())
                    ChildAncestor = nullptr;
            }
            TFormObject ChildNode;
            WriteComponent(Child, ChildAncestor, ChildNode);
            // An inherited component that changes nothing needs no block:
            // the ancestor's form makes it as it is.
            if (ChildAncestor && ChildNode.Properties.empty() && ChildNode.Children.empty()) return;
            Node.Children.push_back(std::move(ChildNode));
        },
        FRoot);
    FNode = &Node;
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
    case TTypeKind::tkClass: {
        if (!Prop.GetObj) return;
        auto* Sub = dynamic_cast<TPersistent*>(Prop.GetObj(*Instance));
        if (!Sub || dynamic_cast<TComponent*>(Sub)) return;
        TPersistent* SubAncestor =
            Ancestor ? dynamic_cast<TPersistent*>(Prop.GetObj(*Ancestor)) : nullptr;
        WriteProperties(Sub, SubAncestor, Name + ".", Depth + 1);
        return;
    }
    default:
        return;
    }
}

// The name a form stores for a reference: the form's own name, or the name
// of a component the form owns. Answers false for a reference the form
// cannot hold; Name is empty for nil.
bool TWriter::ReferenceName(TObject* Target, TComponent* Root, String& Name) const {
    Name.clear();
    if (!Target) return true;
    auto* Component = dynamic_cast<TComponent*>(Target);
    if (!Component || Component->GetName().empty()) return false;
    if (Component != Root && Component->Owner() != Root) return false;
    Name = Component->GetName();
    return true;
}

void TWriter::Add(const String& Name, TFormValue Value) {
    TFormProperty P;
    P.Name = Name;
    P.Value = std::move(Value);
    FNode->Properties.push_back(std::move(P));
}

void TWriter::DefineProperty(const String& Name, TReaderProc, TWriterProc WriteData, bool HasData) {
    if (!(HasData || FEverything) || !WriteData) return;
    const std::size_t Before = FNode->Properties.size();
    FPendingName = FPrefix + Name;
    FPending = true;
    try {
        WriteData(*this);
    } catch (...) {
        FPending = false;
        throw;
    }
    const bool Wrote = !FPending;
    FPending = false;
    if (!Wrote || FNode->Properties.size() != Before + 1)
        throw EWriteError("The defined property " + FPrefix + Name + " must write one value");
}

void TWriter::AddValue(TFormValue Value) {
    if (!FPending) throw EWriteError("A value was written outside a defined property's writer");
    FPending = false;
    Add(FPendingName, std::move(Value));
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
    if (Value.empty() || !IsValidIdent(Value) || IsReservedFormWord(Value))
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
