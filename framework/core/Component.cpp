#include "framework/core/Component.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Resources.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Utf8.h"

#include <algorithm>
#include <cctype>

namespace folio {

namespace {

void EraseOne(std::vector<TComponent*>& List, TComponent* Item) {
    auto It = std::find(List.begin(), List.end(), Item);
    if (It != List.end()) List.erase(It);
}

} // namespace

const TClassInfo& TComponent::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TComponent>("TComponent", &TPersistent::StaticClassInfo())
            .Str("Name", &TComponent::GetName, &TComponent::SetName)
            .Int("Tag", &TComponent::GetTag, &TComponent::SetTag, 0)
            .Build();
    return Info;
}

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Each partner forgets this component before it is told, so a partner
    // whose Notification override does not call the base leaves nothing dangling.
    while (!FFreeNotifies.empty()) {
        TComponent* Partner = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        EraseOne(Partner->FFreeNotifies, this);
        Partner->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
    if (Index < 0 || Index >= ComponentCount()) throw EListError(Format(SListIndexError, Index));
    return FComponents[static_cast<size_t>(Index)];
}

TComponent* TComponent::FindComponent(const String& AName) const {
    if (AName.empty()) return nullptr;
    for (TComponent* C : FComponents)
        if (SameText(C->FName, AName)) return C;
    return nullptr;
}

int TComponent::ComponentIndex() const {
    if (!FOwner) return -1;
    auto& List = FOwner->FComponents;
    auto It = std::find(List.begin(), List.end(), this);
    return It == List.end() ? -1 : static_cast<int>(It - List.begin());
}

void TComponent::SetComponentIndex(int Index) {
    const int Was = ComponentIndex();
    if (Was < 0) return;
    auto& List = FOwner->FComponents;
    Index = std::clamp(Index, 0, static_cast<int>(List.size()) - 1);
    if (Index == Was) return;
    List.erase(List.begin() + Was);
    List.insert(List.begin() + Index, this);
}

namespace {

// Names may be written in any script: a form of an application made in
// another language names its components in that language. Characters that
// separate or decorate words (spaces, punctuation, the symbols of Latin-1,
// the byte order mark) stay out, so that a name still reads as one word.
bool IsLetterBeyondAscii(char32_t Code) {
    if (Code < 0xC0 || Code == 0xD7 || Code == 0xF7) return false;
    if (Code >= 0x2000 && Code <= 0x206F) return false; // general punctuation and spaces
    if (Code >= 0x3000 && Code <= 0x303F) return false; // ideographic punctuation and space
    if (Code == 0xFEFF || Code >= 0xFFF0) return Code > 0xFFFF;
    return true;
}

} // namespace

bool IsValidIdent(const String& Name) {
    if (Name.size() > MaxIdentLength) return false;
    for (size_t I = 0; I < Name.size();) {
        const unsigned char C = static_cast<unsigned char>(Name[I]);
        if (C >= 0x80) {
            char32_t Code;
            const size_t N = Utf8CharLength(Name.data(), Name.size(), I, &Code);
            if (N == 0 || !IsLetterBeyondAscii(Code)) return false;
            I += N;
            continue;
        }
        const bool Ok = C == '_' || std::isalpha(C) || (I > 0 && std::isdigit(C));
        if (!Ok) return false;
        ++I;
    }
    return true;
}

void TComponent::ValidateRename(TComponent* AComponent, const String& NewName) const {
    if (NewName.empty()) return;
    for (TComponent* C : FComponents)
        if (C != AComponent && SameText(C->FName, NewName))
            throw EComponentError(Format(SDuplicateName, NewName.c_str()));
}

void TComponent::SetName(const String& NewName) {
    if (FName == NewName) return;
    if (NewName.size() > MaxIdentLength)
        throw EComponentError(
            Format(SNameTooLong, int(MaxIdentLength), NewName.c_str(), int(NewName.size())));
    if (!IsValidIdent(NewName)) throw EComponentError(Format(SInvalidName, NewName.c_str()));
    if (FOwner) FOwner->ValidateRename(this, NewName);
    FName = NewName;
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
    if (Value)
        FComponentState.Include(csDesigning);
    else
        FComponentState.Exclude(csDesigning);
    if (SetChildren)
        for (TComponent* C : FComponents) C->SetDesigning(Value, true);
}

void TComponent::BeginLoading() {
    FComponentState += TComponentState{csLoading, csReading};
}

void TComponent::EndLoading() {
    FComponentState -= TComponentState{csLoading, csReading};
}

void TComponent::Loaded() {
    EndLoading();
}

void TComponent::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
    if (!Root) return;
    for (TComponent* C : Root->FComponents) {
        TComponent* Parent = C->GetParentComponent();
        // A parent outside the form cannot hold the component in the file,
        // so the component is written at the top level. A parent the form
        // owns through another component (a notebook's page) is inside it.
        bool ParentInForm = false;
        for (const TComponent* P = Parent; P && !ParentInForm; P = P->FOwner)
            ParentInForm = P == Root;
        if (Parent == this || (this == Root && !ParentInForm)) Proc(C);
    }
}

void TComponent::SetChildOrder(TComponent* Child, int Order) {
    TComponent* Root = Child ? Child->FOwner : nullptr;
    if (!Root) return;
    std::vector<TComponent*> Siblings;
    GetChildren(
        [&](TComponent* C) {
            if (C != Child) Siblings.push_back(C);
        },
        Root);
    auto& List = Root->FComponents;
    EraseOne(List, Child);
    auto At = List.end();
    if (Order >= 0 && static_cast<std::size_t>(Order) < Siblings.size()) {
        At = std::find(List.begin(), List.end(), Siblings[static_cast<std::size_t>(Order)]);
    } else if (!Siblings.empty()) {
        At = std::find(List.begin(), List.end(), Siblings.back());
        if (At != List.end()) ++At;
    }
    List.insert(At, Child);
}

void TComponent::SetInline(bool Value) {
    if (Value)
        FComponentState.Include(csInline);
    else
        FComponentState.Exclude(csInline);
}

const String& TComponent::GetEventHandlerName(const String& Event) const {
    static const String None;
    for (const auto& [E, Handler] : FEventHandlers)
        if (E == Event) return Handler;
    return None;
}

void TComponent::SetEventHandlerName(const String& Event, const String& Handler) {
    for (auto It = FEventHandlers.begin(); It != FEventHandlers.end(); ++It)
        if (It->first == Event) {
            if (Handler.empty())
                FEventHandlers.erase(It);
            else
                It->second = Handler;
            return;
        }
    if (!Handler.empty()) FEventHandlers.emplace_back(Event, Handler);
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->FOwner == this) return;
    // Ownership is a tree: a cycle would free a component twice.
    for (const TComponent* C = this; C; C = C->FOwner)
        if (C == AComponent)
            throw EComponentError("A component cannot own itself or one of its owners");
    ValidateRename(AComponent, AComponent->FName);
    if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    if (IsDesigning()) AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->FOwner != this) return;
    Notification(AComponent, opRemove);
    EraseOne(FComponents, AComponent);
    AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
    // Last first, so each destructor finds its owner's list consistent.
    while (!FComponents.empty()) {
        TComponent* C = FComponents.back();
        RemoveComponent(C);
        delete C;
    }
}

// The owned components die with their owner, so they are marked too: a
// handler told of a sibling's removal can see that the sibling is going.
void TComponent::Destroying() {
    if (IsDestroying()) return;
    FComponentState.Include(csDestroying);
    for (TComponent* C : FComponents) C->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
        FFreeNotifies.push_back(AComponent);
        AComponent->FreeNotification(this);
    }
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (!AComponent) return;
    EraseOne(FFreeNotifies, AComponent);
    EraseOne(AComponent->FFreeNotifies, this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
    // Index from the end: a handler may free components of this owner.
    for (size_t I = FComponents.size(); I-- > 0;) {
        if (I >= FComponents.size()) continue;
        FComponents[I]->Notification(AComponent, Operation);
    }
}

} // namespace folio
