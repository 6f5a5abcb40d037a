#include "framework/core/Reader.h"

#include "framework/core/ColorIdents.h"
#include "framework/core/Component.h"
#include "framework/core/EventHandlers.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Writer.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

namespace folio {

namespace {

String Lower(const String& Text) {
    String Result = Text;
    for (char& C : Result) C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    return Result;
}

String Describe(const TFormValue& V) {
    switch (V.Kind) {
    case TFormValueKind::Nil:
        return "nil";
    case TFormValueKind::False:
        return "False";
    case TFormValueKind::True:
        return "True";
    case TFormValueKind::Integer:
        return "the number " + IntToStr(V.Int);
    case TFormValueKind::Ident:
        return "the name " + V.Text;
    case TFormValueKind::String:
        return V.Text.size() <= 40 ? "the string '" + V.Text + "'" : "a string";
    case TFormValueKind::Binary:
        return "a binary block of " + IntToStr(static_cast<long long>(V.Text.size())) + " bytes";
    case TFormValueKind::Set:
        return "a set";
    }
    return "a value";
}

String JoinNames(const std::vector<String>& Names) {
    String Result;
    for (const String& N : Names) {
        if (!Result.empty()) Result += ", ";
        Result += N;
    }
    return Result;
}

String Label(const TComponent* Component) {
    return Component->GetName().empty() ? "(" + Component->ClassName() + ")" : Component->GetName();
}

bool ClassNamed(const TClassInfo& Class, const String& Name) {
    for (const TClassInfo* C = &Class; C; C = C->Parent)
        if (C->Name == Name) return true;
    return false;
}

// Published properties by name, built once per class: a form names many
// properties of few classes, and the tables keep ancestors' entries apart.
const TPropInfo* FindPublished(const TClassInfo& Class, const String& Name) {
    static thread_local std::unordered_map<const TClassInfo*,
                                           std::unordered_map<String, const TPropInfo*>>
        Cache;
    auto It = Cache.find(&Class);
    if (It == Cache.end()) {
        std::unordered_map<String, const TPropInfo*> Table;
        for (const TPropInfo* P : Class.PublishedProperties()) Table.emplace(P->Name, P);
        It = Cache.emplace(&Class, std::move(Table)).first;
    }
    auto Found = It->second.find(Name);
    return Found == It->second.end() ? nullptr : Found->second;
}

[[noreturn]] void Fail(const TFormPlace& Place, const String& What) {
    throw EFormError(DescribeFormPlace(Place) + ": " + What);
}

} // namespace

String DescribeFormPlace(const TFormPlace& Place) {
    const String Where = Place.Describe();
    if (Where.empty()) return "Form";
    return (Place.Text ? "Text form, " : "Binary form, ") + Where;
}

TReader::TReader(TComponent* Root) : FRoot(Root) {}

TReader::~TReader() {
    // A reader that never committed must not leave its made components.
    for (auto It = FCreated.rbegin(); It != FCreated.rend(); ++It) delete *It;
}

void TReader::ReadForms(const std::vector<const TFormObject*>& Forms) {
    try {
        for (const TFormObject* Form : Forms) ReadObject(*Form, nullptr, true);
        ResolveFixups();
    } catch (...) {
        Rollback();
        throw;
    }
    Commit();
}

// --- components --------------------------------------------------------------

void TReader::ReadObject(const TFormObject& Node, TComponent* Parent, bool IsRoot) {
    TComponent* Component;
    if (IsRoot) {
        if (!ClassNamed(FRoot->ClassInfo(), Node.ClassName))
            Fail(Node.Place, "the form is a " + Node.ClassName + ", and " + Label(FRoot) +
                                 " is a " + FRoot->ClassName() +
                                 ", which does not descend from it");
        Touch(FRoot);
        if (!Node.Name.empty() && Node.Name != FRoot->GetName()) {
            try {
                FRoot->SetName(Node.Name);
            } catch (const Exception& E) {
                Fail(Node.Place, E.Message());
            }
        }
        Component = FRoot;
    } else if (Node.Inherited) {
        Component = FindInherited(Node);
        if (std::find(FCreated.begin(), FCreated.end(), Component) == FCreated.end())
            Touch(Component);
    } else {
        Component = MakeComponent(Node, Parent);
    }
    ReadProperties(Component, Node);
    for (const TFormObject& Child : Node.Children) ReadObject(Child, Component, false);
}

TComponent* TReader::MakeComponent(const TFormObject& Node, TComponent* Parent) {
    if (!Node.Name.empty() && Lookup(Node.Name))
        Fail(Node.Place, "a component named " + Node.Name + " is already in the form");
    const TClassInfo* Class = GetClass(Node.ClassName);
    if (!Class)
        Fail(Node.Place, "unknown class " + Node.ClassName +
                             " (the unit that defines it registers it with RegisterClass)");
    if (!Class->CreateComponent)
        Fail(Node.Place, "the class " + Node.ClassName + " cannot be created by name");
    TComponent* Component = nullptr;
    try {
        Component = Class->CreateComponent(nullptr);
        FCreated.push_back(Component);
        if (FRoot->IsDesigning()) Component->SetDesigning(true);
        Component->BeginLoading();
        FLoading.push_back(Component);
        Component->SetName(Node.Name);
    } catch (const Exception& E) {
        Fail(Node.Place, E.Message());
    }
    if (!Node.Name.empty()) FMade[Lower(Node.Name)] = Component;
    if (Parent) {
        // A parent that existed before the read gets its new child only on
        // hand-over, so that a failed read leaves it untouched.
        if (std::find(FCreated.begin(), FCreated.end(), Parent) != FCreated.end())
            Component->SetParentComponent(Parent);
        else
            FParents.emplace_back(Component, Parent);
    }
    return Component;
}

TComponent* TReader::FindInherited(const TFormObject& Node) const {
    TComponent* Component = Node.Name.empty() ? nullptr : Lookup(Node.Name);
    if (!Component || Component == FRoot)
        Fail(Node.Place, "the inherited component " +
                             (Node.Name.empty() ? Node.ClassName : Node.Name) +
                             " is not in the ancestor form");
    if (!ClassNamed(Component->ClassInfo(), Node.ClassName))
        Fail(Node.Place, "the inherited component " + Node.Name + " is a " +
                             Component->ClassName() + ", not a " + Node.ClassName);
    return Component;
}

// A component that existed before the read: its properties are saved first,
// so that a failed read can put them back.
void TReader::Touch(TComponent* Existing) {
    for (const TSnapshot& S : FSnapshots)
        if (S.Component == Existing) return;
    TWriter Writer;
    FSnapshots.push_back({Existing, Existing->GetName(), Writer.WriteSnapshot(Existing)});
    Existing->BeginLoading();
    FLoading.push_back(Existing);
}

TComponent* TReader::Lookup(const String& Name) const {
    if (Name.empty()) return nullptr;
    auto It = FMade.find(Lower(Name));
    if (It != FMade.end()) return It->second;
    if (TComponent* Owned = FRoot->FindComponent(Name)) return Owned;
    if (Lower(FRoot->GetName()) == Lower(Name)) return FRoot;
    return nullptr;
}

// --- properties -----------------------------------------------------------------

void TReader::ReadProperties(TComponent* Component, const TFormObject& Node) {
    for (const TFormProperty& P : Node.Properties) {
        try {
            ReadProperty(Component, P);
        } catch (const EFormError&) {
            if (!FRestoring) throw;
        } catch (const std::exception& E) {
            if (!FRestoring) Fail(P.Place, Label(Component) + "." + P.Name + ": " + E.what());
        }
    }
}

void TReader::ReadProperty(TComponent* Component, const TFormProperty& Property) {
    const String Where =
        DescribeFormPlace(Property.Place) + ": " + Label(Component) + "." + Property.Name;
    TPersistent* Instance = Component;
    std::size_t Start = 0;
    for (;;) {
        const std::size_t Dot = Property.Name.find('.', Start);
        const String Part =
            Property.Name.substr(Start, Dot == String::npos ? String::npos : Dot - Start);
        const TPropInfo* Prop = FindPublished(Instance->ClassInfo(), Part);
        if (Dot == String::npos) {
            if (Prop) {
                if (Instance == Component && Part == "Name")
                    throw EFormError(Where + ": a component's name belongs in its object line");
                SetValue(*Instance, *Prop, Property.Value, Where);
                return;
            }
            // Not in the table: one of the object's defined properties.
            FDefineName = &Part;
            FDefineValue = &Property.Value;
            FDefineFound = false;
            try {
                Instance->DefineProperties(this);
            } catch (...) {
                FDefineName = nullptr;
                FDefineValue = nullptr;
                throw;
            }
            FDefineName = nullptr;
            FDefineValue = nullptr;
            if (!FDefineFound)
                throw EFormError(Where + ": " + Instance->ClassName() + " has no property " + Part);
            return;
        }
        if (!Prop || Prop->Kind != TTypeKind::tkClass || !Prop->GetObj)
            throw EFormError(Where + ": " + Instance->ClassName() + " has no object property " +
                             Part);
        auto* Sub = dynamic_cast<TPersistent*>(Prop->GetObj(*Instance));
        if (!Sub)
            throw EFormError(Where + ": " + Part + " holds no object now, so " +
                             Property.Name.substr(Dot + 1) + " cannot be set");
        Instance = Sub;
        Start = Dot + 1;
    }
}

void TReader::SetValue(TObject& Instance, const TPropInfo& Prop, const TFormValue& Value,
                       const String& Where) {
    auto Expected = [&](const String& What) {
        throw EFormError(Where + ": expected " + What + ", found " + Describe(Value));
    };
    auto SetOrdinal = [&](long long V) {
        if (V < Prop.MinValue || V > Prop.MaxValue)
            throw EFormError(Where + ": expected a number from " + IntToStr(Prop.MinValue) +
                             " to " + IntToStr(Prop.MaxValue) + ", found " + IntToStr(V));
        if (!Prop.SetOrd) throw EFormError(Where + ": the property is read-only");
        Prop.SetOrd(Instance, V);
    };
    const bool IsInt = Value.Kind == TFormValueKind::Integer;
    const bool IsIdent = Value.Kind == TFormValueKind::Ident;
    switch (Prop.Kind) {
    case TTypeKind::tkInteger:
        if (!IsInt) Expected("an integer");
        SetOrdinal(Value.Int);
        return;
    case TTypeKind::tkBool:
        if (Value.Kind != TFormValueKind::True && Value.Kind != TFormValueKind::False)
            Expected("True or False");
        SetOrdinal(Value.Kind == TFormValueKind::True ? 1 : 0);
        return;
    case TTypeKind::tkEnum:
        if (IsIdent) {
            auto It = std::find(Prop.EnumNames.begin(), Prop.EnumNames.end(), Value.Text);
            if (It == Prop.EnumNames.end())
                Expected("a " + Prop.TypeName + " (" + JoinNames(Prop.EnumNames) + ")");
            SetOrdinal(It - Prop.EnumNames.begin());
            return;
        }
        if (!IsInt) Expected("a " + Prop.TypeName + " (" + JoinNames(Prop.EnumNames) + ")");
        SetOrdinal(Value.Int);
        return;
    case TTypeKind::tkColor:
        if (IsIdent) {
            TColor Color;
            if (!IdentToColor(Value.Text, Color)) Expected("a colour name or number");
            SetOrdinal(Color);
            return;
        }
        if (!IsInt) Expected("a colour name or number");
        SetOrdinal(Value.Int);
        return;
    case TTypeKind::tkSet:
        if (Value.Kind == TFormValueKind::Set) {
            unsigned long long Bits = 0;
            for (const String& E : Value.Elements) {
                auto It = std::find(Prop.EnumNames.begin(), Prop.EnumNames.end(), E);
                if (It == Prop.EnumNames.end())
                    throw EFormError(Where + ": " + E + " is not an element of " + Prop.TypeName +
                                     " (" + JoinNames(Prop.EnumNames) + ")");
                Bits |= 1ULL << (It - Prop.EnumNames.begin());
            }
            SetOrdinal(static_cast<long long>(Bits));
            return;
        }
        if (!IsInt) Expected("a set [" + JoinNames(Prop.EnumNames) + "]");
        SetOrdinal(Value.Int);
        return;
    case TTypeKind::tkString:
        if (Value.Kind != TFormValueKind::String) Expected("a string");
        if (!Prop.SetStr) throw EFormError(Where + ": the property is read-only");
        Prop.SetStr(Instance, Value.Text);
        return;
    case TTypeKind::tkComponent:
        if (!Prop.SetObj) throw EFormError(Where + ": the property is read-only");
        if (Value.Kind == TFormValueKind::Nil) {
            Prop.SetObj(Instance, nullptr);
            return;
        }
        if (!IsIdent) Expected("a component name or nil");
        // Set once the whole form is read: the component may come later.
        FFixups.push_back({&Instance, &Prop, Value.Text, Where});
        return;
    case TTypeKind::tkMethod: {
        if (!Prop.SetEvent || !Prop.EventType)
            throw EFormError(Where + ": the event cannot be set");
        if (Value.Kind == TFormValueKind::Nil) {
            FBindings.push_back({&Instance, &Prop, nullptr, {}});
            return;
        }
        if (!IsIdent) Expected("a handler name or nil");
        if (FRoot->IsDesigning()) {
            if (!IsValidIdent(Value.Text)) Expected("a handler name");
            FBindings.push_back({&Instance, &Prop, nullptr, Value.Text, true});
            return;
        }
        const TMethodInfo& Method = FindEventHandler(*FRoot, Prop, Value.Text);
        FBindings.push_back({&Instance, &Prop, &Method, Value.Text});
        return;
    }
    case TTypeKind::tkClass:
        throw EFormError(Where + ": the property holds an object; its properties are written as " +
                         Prop.Name + ".Name = value");
    }
}

// --- defined properties ---------------------------------------------------------

void TReader::DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc, bool) {
    if (!FDefineName || FDefineFound || Name != *FDefineName) return;
    FDefineFound = true;
    if (!ReadData) throw EReadError("the property cannot be read");
    FValueTaken = false;
    ReadData(*this);
    if (!FValueTaken) throw EReadError("the property's reader read no value");
}

void TReader::DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc, bool) {
    if (!FDefineName || FDefineFound || Name != *FDefineName) return;
    FDefineFound = true;
    const TFormValue& Value = *FDefineValue;
    if (Value.Kind != TFormValueKind::Binary)
        throw EReadError("expected a binary block { ... }, found " + Describe(Value));
    if (!ReadData) throw EReadError("the property cannot be read");
    TMemoryStream Bytes;
    Bytes.WriteBuffer(Value.Text.data(), static_cast<std::int64_t>(Value.Text.size()));
    Bytes.SetPosition(0);
    ReadData(Bytes);
    if (Bytes.Remaining() > 0)
        throw EReadError(Format("%lld of its %lld bytes were left unread",
                                static_cast<long long>(Bytes.Remaining()),
                                static_cast<long long>(Bytes.GetSize())));
}

const TFormValue& TReader::TakeValue(const char* Expected) {
    if (!FDefineValue || !FDefineFound || FValueTaken)
        throw EReadError(String("No value to read as ") + Expected);
    FValueTaken = true;
    return *FDefineValue;
}

long long TReader::ReadInteger() {
    const TFormValue& V = TakeValue("an integer");
    if (V.Kind != TFormValueKind::Integer)
        throw EReadError("expected an integer, found " + Describe(V));
    return V.Int;
}

bool TReader::ReadBoolean() {
    const TFormValue& V = TakeValue("True or False");
    if (V.Kind != TFormValueKind::True && V.Kind != TFormValueKind::False)
        throw EReadError("expected True or False, found " + Describe(V));
    return V.Kind == TFormValueKind::True;
}

String TReader::ReadString() {
    const TFormValue& V = TakeValue("a string");
    if (V.Kind != TFormValueKind::String)
        throw EReadError("expected a string, found " + Describe(V));
    return V.Text;
}

String TReader::ReadIdent() {
    const TFormValue& V = TakeValue("a name");
    if (V.Kind != TFormValueKind::Ident) throw EReadError("expected a name, found " + Describe(V));
    return V.Text;
}

// --- the end of a read ------------------------------------------------------------

void TReader::ResolveFixups() {
    for (const TFixup& F : FFixups) {
        TComponent* Target = Lookup(F.Target);
        if (!Target) {
            if (FRestoring) continue;
            throw EFormError(F.Where + ": the component " + F.Target +
                             " never appears in the form");
        }
        try {
            F.Prop->SetObj(*F.Instance, Target);
        } catch (const std::exception& E) {
            if (!FRestoring) throw EFormError(F.Where + ": " + E.what());
        }
    }
    FFixups.clear();
}

void TReader::Rollback() {
    // The made components go first, so that the components that existed
    // are told of it (and drop references to them) before being restored.
    for (auto It = FCreated.rbegin(); It != FCreated.rend(); ++It) delete *It;
    FCreated.clear();
    FMade.clear();
    for (auto It = FSnapshots.rbegin(); It != FSnapshots.rend(); ++It) {
        TReader Restore(FRoot);
        Restore.FRestoring = true;
        try {
            if (It->Component->GetName() != It->Name) It->Component->SetName(It->Name);
        } catch (const Exception&) {
        }
        Restore.ReadProperties(It->Component, It->Properties);
        Restore.ResolveFixups();
        It->Component->EndLoading();
    }
    FSnapshots.clear();
}

void TReader::Commit() {
    for (TComponent* Component : FCreated) FRoot->InsertComponent(Component);
    FCreated.clear();
    for (const auto& [Component, Parent] : FParents) Component->SetParentComponent(Parent);
    for (const TBinding& B : FBindings) {
        if (B.NameOnly) {
            if (auto* Component = dynamic_cast<TComponent*>(B.Instance))
                Component->SetEventHandlerName(B.Prop->Name, B.Handler);
            continue;
        }
        B.Prop->SetEvent(*B.Instance, B.Method ? B.Method->Bind(*FRoot) : std::any());
        if (auto* Component = dynamic_cast<TComponent*>(B.Instance))
            Component->SetEventHandlerName(B.Prop->Name, B.Method ? B.Handler : String());
    }
    for (TComponent* Component : FLoading) Component->Loaded();
}

} // namespace folio
