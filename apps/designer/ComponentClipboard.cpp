#include "ComponentClipboard.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Exceptions.h"
#include "framework/core/FormText.h"
#include "framework/core/SysUtils.h"
#include "framework/ui/controls/Control.h"
#include "framework/ui/forms/CustomForm.h"

#include <cctype>
#include <map>
#include <set>
#include <vector>

namespace designer {

using namespace folio;

namespace {

// Component names compare without regard to case.
String NameKey(String Name) {
    for (char& C : Name) C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    return Name;
}

TFormObject* FindObject(TFormObject& Tree, const String& Name) {
    if (SameText(Tree.Name, Name)) return &Tree;
    for (TFormObject& Child : Tree.Children)
        if (TFormObject* Found = FindObject(Child, Name)) return Found;
    return nullptr;
}

void CollectNames(const TFormObject& Tree, std::set<String>& Names) {
    if (!Tree.Name.empty()) Names.insert(NameKey(Tree.Name));
    for (const TFormObject& Child : Tree.Children) CollectNames(Child, Names);
}

const TClassInfo& CheckedClass(const TFormObject& Object) {
    if (Object.Inherited)
        throw EFormError("An inherited block changes a component; it cannot be pasted");
    const TClassInfo* Class = GetClass(Object.ClassName);
    if (!Class || !Class->CreateComponent)
        throw EFormError("The class " + Object.ClassName + " is not one the designer can make");
    if (Class->InheritsFrom(TCustomForm::StaticClassInfo()))
        throw EFormError("A form cannot be pasted into a form");
    for (const TFormObject& Child : Object.Children) CheckedClass(Child);
    return *Class;
}

// Gives every named object of the block a name the form does not have,
// noting the renames.
void Rename(TFormObject& Object, std::set<String>& Taken, std::map<String, String>& Renamed) {
    if (!Object.Name.empty() && Taken.count(NameKey(Object.Name))) {
        String Base = Object.ClassName;
        if (Base.size() > 1 && (Base[0] == 'T' || Base[0] == 't')) Base.erase(0, 1);
        String Name;
        for (int N = 1; Name.empty() || Taken.count(NameKey(Name)); ++N) Name = Base + IntToStr(N);
        Renamed[NameKey(Object.Name)] = Name;
        Object.Name = Name;
    }
    if (!Object.Name.empty()) Taken.insert(NameKey(Object.Name));
    for (TFormObject& Child : Object.Children) Rename(Child, Taken, Renamed);
}

// A reference to a component of the block follows its new name, also in
// lists and collection items, and as the first name of a path into a frame
// ("Frame1.Button1").
void FollowRenames(TFormValue& Value, const std::map<String, String>& Renamed) {
    if (Value.Kind == TFormValueKind::Ident) {
        const std::size_t Dot = Value.Text.find('.');
        if (auto It = Renamed.find(NameKey(Value.Text.substr(0, Dot))); It != Renamed.end())
            Value.Text = It->second + (Dot == String::npos ? String() : Value.Text.substr(Dot));
    }
    for (TFormValue& Item : Value.Items) FollowRenames(Item, Renamed);
    for (TFormCollectionItem& Item : Value.Collection)
        for (TFormProperty& P : Item.Properties) FollowRenames(P.Value, Renamed);
}

void FollowRenames(TFormObject& Object, const std::map<String, String>& Renamed) {
    for (TFormProperty& P : Object.Properties) FollowRenames(P.Value, Renamed);
    for (TFormObject& Child : Object.Children) FollowRenames(Child, Renamed);
}

TFormValue* FindValue(TFormObject& Object, const char* Name) {
    for (TFormProperty& P : Object.Properties)
        if (P.Name == Name && P.Value.Kind == TFormValueKind::Integer) return &P.Value;
    return nullptr;
}

long long IntegerOf(const TFormObject& Object, const char* Name) {
    for (const TFormProperty& P : Object.Properties)
        if (P.Name == Name && P.Value.Kind == TFormValueKind::Integer) return P.Value.Int;
    return 0;
}

void MoveOffSiblings(TFormObject& Object, const TFormObject& Parent, int Step) {
    TFormValue* Left = FindValue(Object, "Left");
    TFormValue* Top = FindValue(Object, "Top");
    if (!Left || !Top) return;
    auto Occupied = [&] {
        for (const TFormObject& Sibling : Parent.Children)
            if (IntegerOf(Sibling, "Left") == Left->Int && IntegerOf(Sibling, "Top") == Top->Int)
                return true;
        return false;
    };
    while (Occupied()) {
        Left->Int += Step;
        Top->Int += Step;
    }
}

String PasteBlock(TFormObject& Form, TFormObject Block, const String& ParentName, int Step);

} // namespace

String CopyComponentText(const TFormObject& Form, const String& Name) {
    TFormObject Tree = Form;
    const TFormObject* Found = Name.empty() ? nullptr : FindObject(Tree, Name);
    if (!Found || Found == &Tree)
        throw EInvalidOperation("The form has no component " + Name + " to copy");
    return FormToText(*Found);
}

String PasteComponentText(TFormObject& Form, const String& Text, const String& ParentName,
                          int Step) {
    return PasteBlock(Form, ParseTextForm(Text.data(), Text.size()), ParentName, Step);
}

String CopyComponentsText(const TFormObject& Form, const std::vector<String>& Names) {
    String Text;
    for (const String& Name : Names) Text += CopyComponentText(Form, Name);
    return Text;
}

std::vector<String> PasteComponentsText(TFormObject& Form, const String& Text,
                                        const String& ParentName, int Step) {
    // The blocks are read as the children of a block around them, which
    // keeps the reader's own rules for where one block ends.
    const String Wrapped = "object Clipboard: TForm\n" + Text + "\nend\n";
    TFormObject Outer = ParseTextForm(Wrapped.data(), Wrapped.size());
    if (!Outer.Properties.empty() || Outer.Children.empty())
        throw EFormError("The clipboard holds no component blocks (\"object Name: TClass ... "
                         "end\"), so nothing was pasted");
    for (const TFormObject& Block : Outer.Children) CheckedClass(Block);
    TFormObject Result = Form;
    std::vector<String> Names;
    for (TFormObject& Block : Outer.Children)
        Names.push_back(PasteBlock(Result, std::move(Block), ParentName, Step));
    Form = std::move(Result);
    return Names;
}

namespace {

String PasteBlock(TFormObject& Form, TFormObject Block, const String& ParentName, int Step) {
    const TClassInfo& Class = CheckedClass(Block);
    std::set<String> Taken;
    CollectNames(Form, Taken);
    std::map<String, String> Renamed;
    Rename(Block, Taken, Renamed);
    FollowRenames(Block, Renamed);

    // The paste comes last among its siblings: on top of them and last in
    // the tab order, not in the place of the one it was copied from.
    std::erase_if(Block.Properties, [](const TFormProperty& P) { return P.Name == "TabOrder"; });
    TFormObject* Parent = &Form;
    if (Class.InheritsFrom(TControl::StaticClassInfo()) && !ParentName.empty())
        if (TFormObject* Found = FindObject(Form, ParentName)) Parent = Found;
    MoveOffSiblings(Block, *Parent, Step);
    const String Name = Block.Name;
    Parent->Children.push_back(std::move(Block));
    return Name;
}

} // namespace

} // namespace designer
