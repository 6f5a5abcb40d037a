#include "framework/core/ClassBuilder.h"
#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace folio;

namespace {

// What a component was told, by pointer only: the subject may be gone by the
// time the test reads the log.
struct TEvent {
    const TComponent* Receiver;
    const TComponent* Subject;
    TOperation Operation;
    bool SubjectDestroying;
    bool operator==(const TEvent&) const = default;
};

struct TLog {
    std::vector<TEvent> Events;
    std::vector<const TComponent*> Destroyed;

    int Count(const TComponent* Receiver, const TComponent* Subject, TOperation Op) const {
        return static_cast<int>(std::count_if(Events.begin(), Events.end(), [&](const TEvent& E) {
            return E.Receiver == Receiver && E.Subject == Subject && E.Operation == Op;
        }));
    }
    // Position of the first matching event, or -1.
    int IndexOf(const TComponent* Receiver, const TComponent* Subject, TOperation Op) const {
        for (size_t I = 0; I < Events.size(); ++I)
            if (Events[I].Receiver == Receiver && Events[I].Subject == Subject &&
                Events[I].Operation == Op)
                return static_cast<int>(I);
        return -1;
    }
};

class TProbe : public TComponent {
    FOLIO_CLASS(TProbe)
public:
    TProbe(TComponent* AOwner, TLog* Log, const char* AName = "") : TComponent(AOwner), FLog(Log) {
        SetName(AName);
    }
    ~TProbe() override { FLog->Destroyed.push_back(this); }

    void Notification(TComponent* AComponent, TOperation Operation) override {
        FLog->Events.push_back(
            {this, AComponent, Operation, Operation == opRemove && AComponent->IsDestroying()});
        TComponent::Notification(AComponent, Operation);
    }

    int LoadedCalls = 0;
    void Loaded() override {
        ++LoadedCalls;
        TComponent::Loaded();
    }

protected:
    TLog* FLog;
};

// Holds a reference to another component and drops it when told of its end.
class THolder : public TProbe {
    FOLIO_CLASS(THolder)
public:
    using TProbe::TProbe;

    TComponent* GetTarget() const { return FTarget; }
    void SetTarget(TComponent* Value) {
        if (FTarget == Value) return;
        if (FTarget) FTarget->RemoveFreeNotification(this);
        FTarget = Value;
        if (FTarget) FTarget->FreeNotification(this);
    }
    // A reference to a sibling needs no free notification: the owner tells.
    TComponent* Sibling = nullptr;

    void Notification(TComponent* AComponent, TOperation Operation) override {
        TProbe::Notification(AComponent, Operation);
        if (Operation != opRemove) return;
        if (AComponent == FTarget) FTarget = nullptr;
        if (AComponent == Sibling) Sibling = nullptr;
    }

private:
    TComponent* FTarget = nullptr;
};

// Overrides Notification without calling the base: its registrations must
// still be dropped when either side dies.
class TRude : public TComponent {
    FOLIO_CLASS(TRude)
public:
    using TComponent::TComponent;
    int Removals = 0;
    TComponent* Target = nullptr;
    void Notification(TComponent* AComponent, TOperation Operation) override {
        if (Operation == opRemove) ++Removals;
        if (AComponent == Target) Target = nullptr;
    }
};

FOLIO_DEFINE_CLASS(TProbe, TComponent)
FOLIO_DEFINE_CLASS(THolder, TProbe)
FOLIO_DEFINE_CLASS(TRude, TComponent)

// --- ownership ------------------------------------------------------------------

TEST(Component, OwnerFreesWhatItOwnsLastFirstAndDepthFirst) {
    TLog Log;
    auto* Owner = new TProbe(nullptr, &Log, "Owner");
    auto* A = new TProbe(Owner, &Log, "A");
    auto* B = new TProbe(Owner, &Log, "B");
    auto* A1 = new TProbe(A, &Log, "A1");
    ASSERT_EQ(Owner->ComponentCount(), 2);
    EXPECT_EQ(Owner->Components(0), A);
    EXPECT_EQ(Owner->Components(1), B);
    EXPECT_EQ(B->ComponentIndex(), 1);
    EXPECT_EQ(A1->Owner(), A);
    EXPECT_EQ(Owner->ComponentIndex(), -1);
    EXPECT_THROW(Owner->Components(2), EListError);
    EXPECT_THROW(Owner->Components(-1), EListError);

    delete Owner;
    EXPECT_EQ(Log.Destroyed, (std::vector<const TComponent*>{Owner, B, A, A1}));
    // B's sibling and the sibling's own component hear of B before B is freed,
    // and see that it is going.
    const int Told = Log.IndexOf(A, B, opRemove);
    ASSERT_GE(Told, 0);
    EXPECT_TRUE(Log.Events[static_cast<size_t>(Told)].SubjectDestroying);
    EXPECT_EQ(Log.Count(A1, B, opRemove), 1);
}

TEST(Component, InsertionAndRemovalNotifyTheOwnerThenTheOwned) {
    TLog Log;
    TProbe Owner(nullptr, &Log, "Owner");
    auto* A = new TProbe(&Owner, &Log, "A");
    Log.Events.clear();

    auto* B = new TProbe(&Owner, &Log, "B");
    ASSERT_FALSE(Log.Events.empty());
    EXPECT_EQ(Log.Events.front(), (TEvent{&Owner, B, opInsert, false}));
    EXPECT_EQ(Log.Count(A, B, opInsert), 1);

    // Freeing one owned component tells the owner and every sibling, once.
    Log.Events.clear();
    delete B;
    EXPECT_EQ(Owner.ComponentCount(), 1);
    ASSERT_FALSE(Log.Events.empty());
    EXPECT_EQ(Log.Events.front(), (TEvent{&Owner, B, opRemove, true}));
    EXPECT_EQ(Log.Count(&Owner, B, opRemove), 1);
    EXPECT_EQ(Log.Count(A, B, opRemove), 1);
}

TEST(Component, MovingToAnotherOwner) {
    TLog Log;
    TProbe First(nullptr, &Log, "First");
    TProbe Second(nullptr, &Log, "Second");
    auto* C = new TProbe(&First, &Log, "C");
    Second.InsertComponent(C);
    EXPECT_EQ(C->Owner(), &Second);
    EXPECT_EQ(First.ComponentCount(), 0);
    EXPECT_EQ(Second.ComponentCount(), 1);
    EXPECT_EQ(Log.Count(&First, C, opRemove), 1);
    EXPECT_EQ(Log.Count(&Second, C, opInsert), 1);

    // Ownership cannot loop back on itself.
    auto* Grandchild = new TProbe(C, &Log, "Grandchild");
    EXPECT_THROW(C->InsertComponent(C), EComponentError);
    EXPECT_THROW(Grandchild->InsertComponent(&Second), EComponentError);
    EXPECT_EQ(Second.Owner(), nullptr);
    EXPECT_EQ(Grandchild->ComponentCount(), 0);

    // Released by its owner, a component is the caller's to free.
    Second.RemoveComponent(C);
    EXPECT_EQ(C->Owner(), nullptr);
    EXPECT_EQ(Second.ComponentCount(), 0);
    delete C;
}

// --- free notification ------------------------------------------------------------

TEST(Component, FreeNotificationClearsAReferenceWhenTheTargetDies) {
    TLog Log;
    auto Holder = std::make_unique<THolder>(nullptr, &Log, "Holder");
    auto* Target = new TProbe(nullptr, &Log, "Target");
    Holder->SetTarget(Target);
    Target->FreeNotification(Holder.get()); // asking twice registers once
    delete Target;
    EXPECT_EQ(Holder->GetTarget(), nullptr);
    EXPECT_EQ(Log.Count(Holder.get(), Target, opRemove), 1);
    // Holder dies with no link left to the dead target (checked under asan).
}

TEST(Component, FreeNotificationWorksInBothDirections) {
    TLog Log;
    auto* Holder = new THolder(nullptr, &Log, "Holder");
    auto Target = std::make_unique<TProbe>(nullptr, &Log, "Target");
    Holder->SetTarget(Target.get());
    delete Holder;
    EXPECT_EQ(Log.Count(Target.get(), Holder, opRemove), 1);
}

TEST(Component, RemoveFreeNotificationStopsTheNews) {
    TLog Log;
    THolder Holder(nullptr, &Log, "Holder");
    auto* Target = new TProbe(nullptr, &Log, "Target");
    Holder.SetTarget(Target);
    Holder.SetTarget(nullptr);
    delete Target;
    EXPECT_EQ(Log.Count(&Holder, Target, opRemove), 0);
}

TEST(Component, APartnerThatSkipsTheBaseNotificationLeavesNothingDangling) {
    TLog Log;
    // The partner dies second: it must not be told twice, nor later touch
    // the dead component.
    {
        auto* Rude = new TRude(nullptr);
        auto* Target = new TProbe(nullptr, &Log, "Target");
        Rude->Target = Target;
        Target->FreeNotification(Rude);
        delete Target;
        EXPECT_EQ(Rude->Removals, 1);
        EXPECT_EQ(Rude->Target, nullptr);
        delete Rude;
    }
    // The partner dies first: the other side hears of it and keeps no link.
    {
        auto* Rude = new TRude(nullptr);
        auto* Target = new TProbe(nullptr, &Log, "Target");
        Rude->FreeNotification(Target);
        delete Rude;
        EXPECT_EQ(Log.Count(Target, Rude, opRemove), 1);
        delete Target;
    }
}

// Told of one component's end, it frees another.
class TFreeing : public TComponent {
public:
    explicit TFreeing(TComponent* AVictim) : TComponent(nullptr), Victim(AVictim) {}
    TComponent* Victim;
    void Notification(TComponent* AComponent, TOperation Operation) override {
        if (Operation == opRemove && Victim && AComponent != Victim) {
            TComponent* Doomed = Victim;
            Victim = nullptr;
            delete Doomed;
        }
        TComponent::Notification(AComponent, Operation);
    }
};

TEST(Component, AHandlerMayFreeAnotherPartnerOfTheDyingComponent) {
    TLog Log;
    auto* Target = new TProbe(nullptr, &Log, "Target");
    auto* Victim = new THolder(nullptr, &Log, "Victim");
    Victim->SetTarget(Target);
    // Registered last, the freeing partner is told first, while the victim
    // is still registered with the dying target.
    auto Freeing = std::make_unique<TFreeing>(Victim);
    Freeing->FreeNotification(Target);
    delete Target;
    EXPECT_EQ(Freeing->Victim, nullptr);
    EXPECT_EQ(std::count(Log.Destroyed.begin(), Log.Destroyed.end(), Victim), 1);
    EXPECT_EQ(Log.Count(Victim, Target, opRemove), 0) << "a freed partner was told";
}

TEST(Component, OwnerTellsSiblingsOfARemovalWithoutFreeNotification) {
    TLog Log;
    TProbe Owner(nullptr, &Log, "Owner");
    auto* Holder = new THolder(&Owner, &Log, "Holder");
    auto* Sibling = new TProbe(&Owner, &Log, "Sibling");
    Holder->Sibling = Sibling;
    delete Sibling;
    EXPECT_EQ(Holder->Sibling, nullptr);
    EXPECT_EQ(Log.Count(&Owner, Sibling, opRemove), 1);
}

// --- names ----------------------------------------------------------------------

TEST(Component, InvalidNamesRaiseAndKeepTheOldName) {
    TLog Log;
    TProbe C(nullptr, &Log, "Good_1");
    // Letters of any script are letters, in UTF-8; bytes that are not UTF-8,
    // and spaces and punctuation beyond ASCII, are not.
    for (const char* Bad : {"1abc", "a b", "a-b", "a.b", " a", "\xE9t\xE9",
                            "a\xC2\xA0"
                            "b",
                            "a\xE2\x80\x94"
                            "b",
                            "\xC3"}) {
        try {
            C.SetName(Bad);
            ADD_FAILURE() << "accepted '" << Bad << "'";
        } catch (const EComponentError& Error) {
            EXPECT_NE(Error.Message().find(Bad), String::npos) << Error.Message();
        }
        EXPECT_EQ(C.GetName(), "Good_1");
    }
    C.SetName("\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(C.GetName(), "\xC3\xA9t\xC3\xA9");
    C.SetName("_x9");
    EXPECT_EQ(C.GetName(), "_x9");
    C.SetName("");
    EXPECT_EQ(C.GetName(), "");
    EXPECT_EQ(C.GetNamePath(), "");
}

TEST(Component, NamesAreUniqueAmongSiblingsIgnoringCase) {
    TLog Log;
    TProbe Owner(nullptr, &Log, "Owner");
    auto* Button = new TProbe(&Owner, &Log, "Button1");
    auto* Other = new TProbe(&Owner, &Log, "Other");
    new TProbe(&Owner, &Log, ""); // any number of components may be unnamed
    new TProbe(&Owner, &Log, "");

    try {
        Other->SetName("BUTTON1");
        ADD_FAILURE() << "a duplicate name was accepted";
    } catch (const EComponentError& Error) {
        EXPECT_NE(Error.Message().find("BUTTON1"), String::npos) << Error.Message();
    }
    EXPECT_EQ(Other->GetName(), "Other");
    Button->SetName("BUTTON1"); // its own name in another case is no clash
    EXPECT_EQ(Owner.FindComponent("button1"), Button);
    EXPECT_EQ(Owner.FindComponent("other"), Other);
    EXPECT_EQ(Owner.FindComponent("missing"), nullptr);
    EXPECT_EQ(Owner.FindComponent(""), nullptr);

    // The same name under another owner is fine, but moving it here is not.
    TProbe Elsewhere(nullptr, &Log, "Elsewhere");
    auto* Twin = new TProbe(&Elsewhere, &Log, "button1");
    EXPECT_THROW(Owner.InsertComponent(Twin), EComponentError);
    EXPECT_EQ(Twin->Owner(), &Elsewhere);
    EXPECT_EQ(Elsewhere.ComponentCount(), 1);
}

// --- state ------------------------------------------------------------------------

TEST(Component, DesigningReachesOwnedComponentsIncludingLaterOnes) {
    TLog Log;
    TProbe Form(nullptr, &Log, "Form");
    auto* Panel = new TProbe(&Form, &Log, "Panel");
    auto* Button = new TProbe(Panel, &Log, "Button");
    Form.SetDesigning(true);
    EXPECT_TRUE(Form.IsDesigning());
    EXPECT_TRUE(Panel->IsDesigning());
    EXPECT_TRUE(Button->IsDesigning());

    auto* Later = new TProbe(Panel, &Log, "Later");
    EXPECT_TRUE(Later->ComponentState().Contains(csDesigning));
    TProbe Loose(nullptr, &Log, "Loose");
    auto* Moved = new TProbe(&Loose, &Log, "Moved");
    Form.InsertComponent(Moved);
    EXPECT_TRUE(Moved->IsDesigning());

    Form.SetDesigning(false);
    EXPECT_FALSE(Later->IsDesigning());
    EXPECT_FALSE(Moved->IsDesigning());
    Form.SetDesigning(true, false);
    EXPECT_TRUE(Form.IsDesigning());
    EXPECT_FALSE(Panel->IsDesigning());
}

TEST(Component, LoadedEndsLoading) {
    TLog Log;
    TProbe C(nullptr, &Log, "C");
    EXPECT_TRUE(C.ComponentState().Empty());
    C.BeginLoading();
    EXPECT_TRUE(C.IsLoading());
    EXPECT_TRUE(C.ComponentState().Contains(csReading));
    C.Loaded();
    EXPECT_EQ(C.LoadedCalls, 1);
    EXPECT_FALSE(C.IsLoading());
    EXPECT_FALSE(C.ComponentState().Contains(csReading));
}

TEST(Set, IncludesExcludesAndCombines) {
    TComponentState S{csLoading, csDesigning};
    EXPECT_TRUE(S.Contains(csLoading));
    EXPECT_FALSE(S.Contains(csDestroying));
    S.Include(csDestroying).Exclude(csLoading);
    EXPECT_EQ(S, (TComponentState{csDesigning, csDestroying}));
    EXPECT_EQ((S * TComponentState{csDestroying, csReading}), TComponentState{csDestroying});
    EXPECT_EQ(S - TComponentState{csDesigning}, TComponentState{csDestroying});
    EXPECT_EQ((S + csReading).Bits(), S.Bits() | (1u << static_cast<unsigned>(csReading)));
    EXPECT_TRUE((S - S).Empty());
}

} // namespace
