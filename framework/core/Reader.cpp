#include "framework/core/Reader.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/ClassUnregistrations.h"

#include "framework/core/Collection.h"
#include "framework/core/ColorIdents.h"
#include "framework/core/Component.h"
#include "framework/core/EventHandlers.h"
#include "framework/core/Exceptions.h"
#include "framework/core/FormFloat.h"
#include "framework/core/GlobalComponents.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Writer.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
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
    case TFormValueKind::WString:
        return V.Text.size() <= 40 ? "the string '" + V.Text + "'" : "a string";
    case TFormValueKind::Single:
        return "the number " + FormatSingle(V.AsSingle());
    case TFormValueKind::Extended:
        return "the number " + FormatExtended(V.AsExtended());
    case TFormValueKind::List:
        return "a list of " + IntToStr(static_cast<long long>(V.Items.size())) + " values";
    case TFormValueKind::Collection:
        return "a collection of " + IntToStr(static_cast<long long>(V.Collection.size())) +
               " items";
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
// A class taken back may have gone with its library, and a class loaded
// later may sit at its address with other properties: the tables are built
// again after any class is unregistered.
const TPropInfo* FindPublished(const TClassInfo& Class, const String& Name) {
    static thread_local std::unordered_map<const TClassInfo*,
                                           std::unordered_map<String, const TPropInfo*>>
        Cache;
    static thread_local unsigned CacheAge = 0;
    if (const unsigned Age = ClassUnregistrations(); Age != CacheAge) {
        Cache.clear();
        CacheAge = Age;
    }
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
        // An inherited form's root may have a name of its own: a form class
        // made from another is a form of its own, "inherited Form2: TForm2"
        // over "object Form1: TForm1". The last form read names the root;
        // references in the earlier ones may still use their name for it.
        if (!Node.Name.empty()) {
            FRootNames.push_back(Lower(Node.Name));
            if (Node.Name != FRoot->GetName()) {
                try {
                    FRoot->SetName(Node.Name);
                } catch (const Exception& E) {
                    Fail(Node.Place, E.Message());
                }
            }
        }
        Component = FRoot;
    } else if (Node.Inherited) {
        Component = FindInherited(Node);
        if (!IsMadeHere(Component)) {
            Touch(Component);
        } else if (std::find(FLoading.begin(), FLoading.end(), Component) == FLoading.end()) {
            // A component a frame made for itself in this read: it goes
            // with the frame if the read fails.
            Component->BeginLoading();
            FLoading.push_back(Component);
        }
    } else {
        Component = MakeComponent(Node, Parent);
        if (Node.Inline) Component->SetInline(true);
    }
    if (!IsRoot && Node.ChildIndex >= 0) FOrders.push_back({Parent, Component, Node.ChildIndex});
    ReadProperties(Component, Node);
    // The inherited blocks inside a frame name the frame's own components.
    TComponent* const SavedScope = FScope;
    if (!IsRoot && Component->IsInline()) FScope = Component;
    for (const TFormObject& Child : Node.Children) ReadObject(Child, Component, false);
    FScope = SavedScope;
}

TComponent* TReader::MakeComponent(const TFormObject& Node, TComponent* Parent) {
    if (!Node.Name.empty() &&
        (FScope ? FScope->FindComponent(Node.Name) || FMade.count({FScope, Lower(Node.Name)})
                : Lookup(Node.Name) != nullptr))
        Fail(Node.Place, "a component named " + Node.Name + " is already in the " +
                             (FScope ? "frame " + Label(FScope) : String("form")));
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
    if (!Node.Name.empty()) FMade[{FScope, Lower(Node.Name)}] = Component;
    // A component made inside a frame belongs to the frame, as those the
    // frame made do, so that the frame's block holds it when written.
    if (FScope) FOwners[Component] = FScope;
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
    TComponent* Component = nullptr;
    if (!Node.Name.empty()) {
        if (FScope) {
            auto It = FMade.find({FScope, Lower(Node.Name)});
            Component = It != FMade.end() ? It->second : FScope->FindComponent(Node.Name);
        } else {
            Component = Lookup(Node.Name);
        }
    }
    if (!Component || Component == FRoot)
        Fail(Node.Place, "the inherited component " +
                             (Node.Name.empty() ? Node.ClassName : Node.Name) + " is not in the " +
                             (FScope ? "frame " + Label(FScope) : String("ancestor form")));
    if (!ClassNamed(Component->ClassInfo(), Node.ClassName))
        Fail(Node.Place, "the inherited component " + Node.Name + " is a " +
                             Component->ClassName() + ", not a " + Node.ClassName);
    return Component;
}

// True for a component this read made, or one that such a component (a
// frame) made and owns.
bool TReader::IsMadeHere(const TComponent* Component) const {
    for (const TComponent* C = Component; C; C = C->Owner())
        if (std::find(FCreated.begin(), FCreated.end(), C) != FCreated.end()) return true;
    return false;
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

TComponent* TReader::Lookup(const String& Name, TComponent* Scope) const {
    if (Name.empty()) return nullptr;
    const String Key = Lower(Name);
    if (Scope) {
        auto It = FMade.find({Scope, Key});
        if (It != FMade.end()) return It->second;
        if (TComponent* Owned = Scope->FindComponent(Name)) return Owned;
    }
    auto It = FMade.find({nullptr, Key});
    if (It != FMade.end()) return It->second;
    if (TComponent* Owned = FRoot->FindComponent(Name)) return Owned;
    if (Lower(FRoot->GetName()) == Key ||
        std::find(FRootNames.begin(), FRootNames.end(), Key) != FRootNames.end())
        return FRoot;
    return nullptr;
}

// A reference may name a component of this form, one inside a frame of it
// ("Frame1.Button1"), or one of another form ("MainForm.Images"). Missing
// says what could not be found.
TComponent* TReader::LookupReference(const TFixup& Fixup, String& Missing) const {
    const String& Name = Fixup.Target;
    const std::size_t Dot = Name.find('.');
    if (Dot == String::npos) {
        TComponent* Found = Lookup(Name, Fixup.Scope);
        if (!Found) Missing = "the component " + Name + " never appears in the form";
        return Found;
    }
    if (TComponent* Found = Lookup(Name.substr(0, Dot), Fixup.Scope)) {
        for (std::size_t From = Dot; Found && From != String::npos;) {
            const std::size_t Next = Name.find('.', From + 1);
            const String Part =
                Name.substr(From + 1, Next == String::npos ? String::npos : Next - From - 1);
            auto It = FMade.find({Found, Lower(Part)});
            Found = It != FMade.end() ? It->second : Found->FindComponent(Part);
            From = Next;
        }
        if (!Found) Missing = "the component " + Name + " is not in the form";
        return Found;
    }
    if (TComponent* Found = FindGlobalComponent(Name)) return Found;
    Missing = "the component " + Name + " is not found: no form named " + Name.substr(0, Dot) +
              " among the application's forms holds it";
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
    ReadPropertyOf(*Component, Component, Property, Label(Component));
}

void TReader::ReadPropertyOf(TPersistent& Start, TComponent* Component,
                             const TFormProperty& Property, const String& Owner) {
    const String Path = Owner + "." + Property.Name;
    const String Where = DescribeFormPlace(Property.Place) + ": " + Path;
    TPersistent* Instance = &Start;
    std::size_t From = 0;
    for (;;) {
        const std::size_t Dot = Property.Name.find('.', From);
        const String Part =
            Property.Name.substr(From, Dot == String::npos ? String::npos : Dot - From);
        const TPropInfo* Prop = FindPublished(Instance->ClassInfo(), Part);
        if (Dot == String::npos) {
            if (Prop) {
                if (Component && Instance == Component && Part == "Name")
                    throw EFormError(Where + ": a component's name belongs in its object line");
                SetValue(*Instance, *Prop, Property.Value, Where, Path);
                return;
            }
            // Not in the table: one of the object's defined properties.
            FDefineName = &Part;
            FDefineValue = &Property.Value;
            FDefineFound = false;
            FLists.clear();
            try {
                Instance->DefineProperties(this);
            } catch (...) {
                FDefineName = nullptr;
                FDefineValue = nullptr;
                FLists.clear();
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
        From = Dot + 1;
    }
}

void TReader::SetValue(TObject& Instance, const TPropInfo& Prop, const TFormValue& Value,
                       const String& Where, const String& Path) {
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
        if (!Value.IsString()) Expected("a string");
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
        FFixups.push_back({&Instance, &Prop, Value.Text, Where, FItems, FScope});
        return;
    case TTypeKind::tkMethod: {
        if (!Prop.SetEvent || !Prop.EventType)
            throw EFormError(Where + ": the event cannot be set");
        if (Value.Kind == TFormValueKind::Nil) {
            FBindings.push_back({&Instance, &Prop, nullptr, {}, false, FItems});
            return;
        }
        if (!IsIdent) Expected("a handler name or nil");
        if (FRoot->IsDesigning()) {
            if (!IsValidIdent(Value.Text)) Expected("a handler name");
            FBindings.push_back({&Instance, &Prop, nullptr, Value.Text, true, FItems});
            return;
        }
        const TMethodInfo& Method = FindEventHandler(*FRoot, Prop, Value.Text);
        FBindings.push_back({&Instance, &Prop, &Method, Value.Text, false, FItems});
        return;
    }
    case TTypeKind::tkFloat: {
        long double V = 0;
        if (IsInt)
            V = static_cast<long double>(Value.Int);
        else if (Value.Kind == TFormValueKind::Single)
            V = Value.AsSingle();
        else if (Value.Kind == TFormValueKind::Extended)
            V = Value.AsExtended();
        else
            Expected("a number");
        const long double Largest = Prop.FloatSize == 4   ? FLT_MAX
                                    : Prop.FloatSize == 8 ? DBL_MAX
                                                          : LDBL_MAX;
        if (V > Largest || V < -Largest)
            throw EFormError(Where + ": " + Describe(Value) + " is too large for a " +
                             Prop.TypeName);
        if (!Prop.SetFloat) throw EFormError(Where + ": the property is read-only");
        Prop.SetFloat(Instance, V);
        return;
    }
    case TTypeKind::tkClass: {
        if (Value.Kind == TFormValueKind::Collection && Prop.GetObj) {
            auto* Collection = dynamic_cast<TCollection*>(Prop.GetObj(Instance));
            if (!Collection) throw EFormError(Where + ": the property is not a collection");
            ReadCollection(*Collection, Value, Path);
            return;
        }
        throw EFormError(Where + ": the property holds an object; its properties are written as " +
                         Prop.Name + ".Name = value");
    }
    }
}

// --- collections -------------------------------------------------------------------

// A collection's value replaces its items: the items are made afresh and
// each is given the properties read for it.
void TReader::ReadCollection(TCollection& Collection, const TFormValue& Value, const String& Path) {
    DropPendingOf(Collection);
    Collection.BeginUpdate();
    try {
        Collection.Clear();
        for (std::size_t I = 0; I < Value.Collection.size(); ++I) {
            const TFormCollectionItem& Read = Value.Collection[I];
            TCollectionItem* Item = Collection.Add();
            FItems.push_back(Item);
            const String Owner = Path + "[" + IntToStr(static_cast<long long>(I)) + "]";
            for (const TFormProperty& P : Read.Properties) {
                try {
                    ReadPropertyOf(*Item, nullptr, P, Owner);
                } catch (const EFormError&) {
                    if (!FRestoring) throw;
                } catch (const std::exception& E) {
                    if (!FRestoring) Fail(P.Place, Owner + "." + P.Name + ": " + E.what());
                }
            }
            FItems.pop_back();
        }
    } catch (...) {
        FItems.clear();
        Collection.EndUpdate();
        throw;
    }
    Collection.EndUpdate();
}

// References and events read for items that a collection is about to
// free must not be set on them afterwards.
void TReader::DropPendingOf(const TCollection& Collection) {
    if (Collection.GetCount() == 0) return;
    // Compared as addresses only: an item a pending entry names may be gone.
    std::vector<const TCollectionItem*> Going;
    for (int I = 0; I < Collection.GetCount(); ++I) Going.push_back(Collection.GetItem(I));
    auto InCollection = [&](const std::vector<const TCollectionItem*>& Items) {
        for (const TCollectionItem* Item : Items)
            if (std::find(Going.begin(), Going.end(), Item) != Going.end()) return true;
        return false;
    };
    std::erase_if(FFixups, [&](const TFixup& F) { return InCollection(F.Items); });
    std::erase_if(FBindings, [&](const TBinding& B) { return InCollection(B.Items); });
}

// --- defined properties ---------------------------------------------------------

void TReader::DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc, bool) {
    if (!FDefineName || FDefineFound || Name != *FDefineName) return;
    FDefineFound = true;
    if (!ReadData) throw EReadError("the property cannot be read");
    FValueTaken = false;
    ReadData(*this);
    if (!FLists.empty()) throw EReadError("the property's reader did not read its list to the end");
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
    if (!FLists.empty()) {
        auto& [List, Next] = FLists.back();
        if (Next >= List->Items.size())
            throw EReadError(String("The list ends where ") + Expected + " was to be read");
        return List->Items[Next++];
    }
    if (!FDefineValue || !FDefineFound || FValueTaken)
        throw EReadError(String("No value to read as ") + Expected);
    FValueTaken = true;
    return *FDefineValue;
}

TFormValueKind TReader::NextValue() const {
    if (!FLists.empty()) {
        const auto& [List, Next] = FLists.back();
        return Next < List->Items.size() ? List->Items[Next].Kind : TFormValueKind::Nil;
    }
    if (!FDefineValue || !FDefineFound || FValueTaken) return TFormValueKind::Nil;
    return FDefineValue->Kind;
}

void TReader::ReadListBegin() {
    const TFormValue& V = TakeValue("a list");
    if (V.Kind != TFormValueKind::List)
        throw EReadError("expected a list ( ... ), found " + Describe(V));
    FLists.emplace_back(&V, 0);
}

bool TReader::EndOfList() const {
    if (FLists.empty()) throw EReadError("EndOfList outside a list");
    return FLists.back().second >= FLists.back().first->Items.size();
}

void TReader::ReadListEnd() {
    if (FLists.empty()) throw EReadError("A list was ended that was not begun");
    if (!EndOfList())
        throw EReadError(Format("%zu values of the list were left unread",
                                FLists.back().first->Items.size() - FLists.back().second));
    FLists.pop_back();
}

long double TReader::ReadFloat() {
    const TFormValue& V = TakeValue("a number");
    if (V.Kind == TFormValueKind::Integer) return static_cast<long double>(V.Int);
    if (V.Kind == TFormValueKind::Single) return V.AsSingle();
    if (V.Kind == TFormValueKind::Extended) return V.AsExtended();
    throw EReadError("expected a number, found " + Describe(V));
}

String TReader::ReadBinary() {
    const TFormValue& V = TakeValue("a binary block");
    if (V.Kind != TFormValueKind::Binary)
        throw EReadError("expected a binary block { ... }, found " + Describe(V));
    return V.Text;
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
    if (!V.IsString()) throw EReadError("expected a string, found " + Describe(V));
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
        String Missing;
        TComponent* Target = LookupReference(F, Missing);
        if (!Target) {
            if (FRestoring) continue;
            throw EFormError(F.Where + ": " + Missing);
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
    for (TComponent* Component : FCreated) {
        auto Owner = FOwners.find(Component);
        (Owner != FOwners.end() ? Owner->second : FRoot)->InsertComponent(Component);
    }
    FCreated.clear();
    for (const auto& [Component, Parent] : FParents) Component->SetParentComponent(Parent);
    for (const TOrder& O : FOrders) O.Parent->SetChildOrder(O.Component, O.Index);
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
