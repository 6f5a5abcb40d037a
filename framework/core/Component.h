#pragma once

#include "framework/core/ClassRegistry.h"
#include "framework/core/Object.h"
#include "framework/core/Set.h"

#include <functional>
#include <utility>
#include <vector>

namespace folio {

enum class TComponentStateFlag {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFreeNotification,
    // A frame: a component of a class that brings its own components, which
    // a form file stores as an "inline" block of their differences.
    csInline,
};
using TComponentState = TSet<TComponentStateFlag>;
using enum TComponentStateFlag;

enum class TOperation { opInsert, opRemove };
using enum TOperation;

// A component has an owner that frees it, a name unique among its owner's
// components, and free notification: a component that holds a reference to
// another asks it, with FreeNotification, to report its destruction through
// Notification(it, opRemove).
//
// C++ runs the derived destructors before this one, so a component whose
// owned components must still see its derived state calls DestroyComponents()
// at the start of its own destructor.
class TComponent : public TPersistent {
    FOLIO_CLASS(TComponent)
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* GetOwner() const override { return FOwner; }
    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const;
    TComponent* FindComponent(const String& AName) const;
    int ComponentIndex() const;
    // Moves the component to place Index (clamped) in its owner's list,
    // which is the order a form file writes, and so reads, the owner's
    // components in.
    void SetComponentIndex(int Index);

    const String& GetName() const { return FName; }
    virtual void SetName(const String& NewName);
    int GetTag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    String GetNamePath() const override { return FName; }

    TComponentState ComponentState() const { return FComponentState; }
    bool IsDesigning() const { return FComponentState.Contains(csDesigning); }
    bool IsLoading() const { return FComponentState.Contains(csLoading); }
    bool IsDestroying() const { return FComponentState.Contains(csDestroying); }

    // Marks this component, and the components it owns, as being designed.
    void SetDesigning(bool Value, bool SetChildren = true);
    // The form reader brackets loading with BeginLoading and Loaded.
    // EndLoading only clears the flags: a read that failed ends with it
    // instead of Loaded.
    void BeginLoading();
    void EndLoading();
    virtual void Loaded();

    // The component a form file nests this one in (a control's parent), and
    // how the reader sets it; components without one answer null.
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent*) {}
    // The components a form file nests directly in this one, in creation
    // order: those Root owns whose parent component is this one, and for
    // Root itself also those without a parent inside the form.
    virtual void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root);
    // Moves Child, one of the components GetChildren gives for Child's
    // owner, to place Order among them (past the last: the last); an
    // inherited form places a component so. The base reorders the owner's
    // components.
    virtual void SetChildOrder(TComponent* Child, int Order);

    // A frame made from an "inline" block, or marked so in code: forms
    // store its components' differences from those its class makes.
    bool IsInline() const { return FComponentState.Contains(csInline); }
    void SetInline(bool Value);

    // The name of the form method bound to an event, as form files store
    // it; empty when the event has no named handler (a handler assigned in
    // code has no name and is not stored).
    const String& GetEventHandlerName(const String& Event) const;
    void SetEventHandlerName(const String& Event, const String& Handler);

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();
    void Destroying();

    // Asks AComponent to report its destruction to this component (and this
    // component's to it). Both links are dropped when either side dies.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Told when a component is inserted into or removed from the owner, or
    // when a component that was asked for free notification is destroyed.
    // The base hands the news on to the owned components.
    virtual void Notification(TComponent* AComponent, TOperation Operation);

private:
    void ValidateRename(TComponent* AComponent, const String& NewName) const;

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    String FName;
    int FTag = 0;
    TComponentState FComponentState;
    // Event property name and handler name, for the events bound by name.
    std::vector<std::pair<String, String>> FEventHandlers;
};

// The longest name a form may hold: the binary encoding gives a name,
// a property path or an identifier value one length byte.
constexpr std::size_t MaxIdentLength = 255;

// True when Name is a valid component name: a letter or underscore, then
// letters, digits and underscores, at most MaxIdentLength bytes of them. A
// letter may be one of any script, in UTF-8. The empty name is allowed.
bool IsValidIdent(const String& Name);

} // namespace folio
