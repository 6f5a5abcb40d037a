#pragma once

#include "framework/core/ClassRegistry.h"
#include "framework/core/Object.h"
#include "framework/core/Set.h"

#include <functional>
#include <utility>
#include <vector>

namespace folio {

/// One flag of a component's state (TComponent::ComponentState).
enum class TComponentStateFlag {
    csLoading,          ///< a form reader is loading it; cleared by Loaded
    csReading,          ///< set with csLoading while a form reader reads it
    csWriting,          ///< reserved: the framework does not set it
    csDestroying,       ///< it, or its owner, is being destroyed
    csDesigning,        ///< it is on a form open in the designer
    csAncestor,         ///< reserved: the framework does not set it
    csUpdating,         ///< reserved: the framework does not set it
    csFreeNotification, ///< it has asked for, or given, free notification
    /// A frame: a component of a class that brings its own components, which
    /// a form file stores as an "inline" block of their differences.
    csInline,
};
/// The set of a component's state flags.
using TComponentState = TSet<TComponentStateFlag>;
using enum TComponentStateFlag;

/// What TComponent::Notification reports: a component inserted into the
/// owner, or removed from it (or destroyed).
enum class TOperation { opInsert, opRemove };
using enum TOperation;

/// A component has an owner that frees it, a name unique among its owner's
/// components, and free notification: a component that holds a reference to
/// another asks it, with FreeNotification, to report its destruction through
/// Notification(it, opRemove). Components are what a form file stores and
/// the designer places.
///
/// C++ runs the derived destructors before this one, so a component whose
/// owned components must still see its derived state calls DestroyComponents()
/// at the start of its own destructor.
class TComponent : public TPersistent {
    FOLIO_CLASS(TComponent)
public:
    /// A component owned by AOwner (which frees it), or by nobody when null.
    explicit TComponent(TComponent* AOwner);
    /// Marks itself and its components as destroying, tells every free
    /// notification partner (opRemove), frees the owned components last first
    /// and leaves its owner.
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    ///@{
    /// The component that owns and frees this one; null for none.
    TComponent* GetOwner() const override { return FOwner; }
    TComponent* Owner() const { return FOwner; }
    ///@}
    /// How many components this one owns.
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    /// The owned component at Index, in insertion order (0 to
    /// ComponentCount - 1); another index raises EListError.
    TComponent* Components(int Index) const;
    /// The owned component called AName, compared without case; null when
    /// none has it or AName is empty.
    TComponent* FindComponent(const String& AName) const;
    /// The component's place in its owner's list; -1 without an owner.
    int ComponentIndex() const;
    /// Moves the component to place Index (clamped) in its owner's list,
    /// which is the order a form file writes, and so reads, the owner's
    /// components in. Does nothing without an owner.
    void SetComponentIndex(int Index);

    /// The component's name; empty by default.
    const String& GetName() const { return FName; }
    /// Renames the component. A name must be a valid identifier (IsValidIdent)
    /// of at most MaxIdentLength bytes and unique, ignoring case, among the
    /// owner's components; otherwise EComponentError is raised and the name
    /// is kept. The empty name is always allowed.
    virtual void SetName(const String& NewName);
    ///@{
    /// A number the program keeps with the component for its own use; 0 by
    /// default, stored in forms.
    int GetTag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    ///@}
    /// The component's Name.
    String GetNamePath() const override { return FName; }

    /// The component's state flags (loading, designing, destroying ...).
    TComponentState ComponentState() const { return FComponentState; }
    /// True while the component is on a form open in the designer.
    bool IsDesigning() const { return FComponentState.Contains(csDesigning); }
    /// True while a form reader loads the component (until Loaded).
    bool IsLoading() const { return FComponentState.Contains(csLoading); }
    /// True once the component, or its owner, has begun to be destroyed.
    bool IsDestroying() const { return FComponentState.Contains(csDestroying); }

    /// Marks this component, and with SetChildren the components it owns, as
    /// being designed (or not). A component inserted into a designed owner
    /// is marked too.
    void SetDesigning(bool Value, bool SetChildren = true);
    ///@{
    /// The form reader brackets loading with BeginLoading and Loaded.
    /// EndLoading only clears the flags: a read that failed ends with it
    /// instead of Loaded.
    void BeginLoading();
    void EndLoading();
    ///@}
    /// Called once the form reader has set every property of the form; a
    /// component finishes what depends on several properties here. The base
    /// ends loading; an override calls it.
    virtual void Loaded();

    ///@{
    /// The component a form file nests this one in (a control's parent), and
    /// how the reader sets it; components without one answer null.
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent*) {}
    ///@}
    /// The components a form file nests directly in this one, in creation
    /// order, each given to Proc: those Root owns whose parent component is
    /// this one, and for Root itself also those without a parent inside the form.
    virtual void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root);
    /// Moves Child, one of the components GetChildren gives for Child's
    /// owner, to place Order among them (past the last: the last); an
    /// inherited form places a component so. The base reorders the owner's
    /// components.
    virtual void SetChildOrder(TComponent* Child, int Order);

    ///@{
    /// A frame made from an "inline" block, or marked so in code: forms
    /// store its components' differences from those its class makes.
    bool IsInline() const { return FComponentState.Contains(csInline); }
    void SetInline(bool Value);
    ///@}

    ///@{
    /// The name of the form method bound to an event, as form files store
    /// it; empty when the event has no named handler (a handler assigned in
    /// code has no name and is not stored). Setting an empty name forgets it.
    const String& GetEventHandlerName(const String& Event) const;
    void SetEventHandlerName(const String& Event, const String& Handler);
    ///@}

    /// Makes this component AComponent's owner, taking it from its former
    /// owner, and fires Notification(AComponent, opInsert). Raises
    /// EComponentError when AComponent's name is taken here, or when it is
    /// this component or one of its owners; null is ignored.
    void InsertComponent(TComponent* AComponent);
    /// Fires Notification(AComponent, opRemove) and gives up ownership of
    /// AComponent, which is not freed; a component not owned here is ignored.
    void RemoveComponent(TComponent* AComponent);
    /// Frees every owned component, the last first.
    void DestroyComponents();
    /// Marks this component and those it owns as destroying (IsDestroying).
    void Destroying();

    /// Asks AComponent to report its destruction to this component (and this
    /// component's to it). Both links are dropped when either side dies.
    void FreeNotification(TComponent* AComponent);
    /// Drops the free notification links between this component and AComponent.
    void RemoveFreeNotification(TComponent* AComponent);

    /// Told when a component is inserted into or removed from the owner, or
    /// when a component that was asked for free notification is destroyed.
    /// The base drops the free notification link of a removed component and
    /// hands the news on to the owned components; an override calls it.
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

/// The longest name a form may hold: the binary encoding gives a name,
/// a property path or an identifier value one length byte.
constexpr std::size_t MaxIdentLength = 255;

/// True when Name is a valid component name: a letter or underscore, then
/// letters, digits and underscores, at most MaxIdentLength bytes of them. A
/// letter may be one of any script, in UTF-8. The empty name is allowed.
bool IsValidIdent(const String& Name);

} // namespace folio
