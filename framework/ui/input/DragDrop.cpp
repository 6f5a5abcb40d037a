#include "framework/ui/input/DragDrop.h"

#include "framework/core/ScopeGuard.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/input/Mouse.h"

#include <algorithm>
#include <cstdlib>

namespace folio {

TDragManager::~TDragManager() {
    // The application lives as long as the process; a drag object still
    // waiting to be freed goes with it.
    for (TDragObject* Object : FRetired) delete Object;
}

void TDragManager::BeginDrag(TControl* Control, bool Immediate, int Threshold) {
    if (FControl || FFinishing) return; // one drag at a time
    FControl = Control;
    FThreshold = Threshold;
    FStart = Mouse->GetCursorPos();
    if (Immediate) Start();
}

void TDragManager::CheckThreshold(TPoint P) {
    if (!Pending()) return;
    if (std::abs(P.X - FStart.X) >= FThreshold || std::abs(P.Y - FStart.Y) >= FThreshold) {
        Start();
    }
}

void TDragManager::CancelPending() {
    if (Pending()) FControl = nullptr;
}

void TDragManager::Start() {
    TControl* Source = FControl;
    // The dragged control gives up the mouse: from now on the pointer
    // belongs to the drag.
    if (Source->GetMouseCapture()) Source->SetMouseCapture(false);
    TDragObject* Object = nullptr;
    {
        // A handler that raises leaves no drag pending and nothing held.
        TScopeGuard Failed([&] {
            if (FControl == Source) FControl = nullptr;
            Release(Object);
        });
        TControl::TDragHooks::StartDrag(*Source, Object);
        Failed.Dismiss();
    }
    // The handler cancelled the drag or destroyed the source: the object it
    // handed over is not needed.
    if (FControl != Source) {
        Release(Object);
        return;
    }
    if (!Object) Object = new TDragControlObject(Source);
    FObject = Object;
    FActive = true;
    FTarget = nullptr;
    FAccepted = false;
    FVisited.clear();
    FCursor = FObject->GetDragCursor(false, 0, 0);
    DragTo(Mouse->GetCursorPos());
}

void TDragManager::FreeRetired() {
    std::vector<TDragObject*> Done;
    Done.swap(FRetired);
    for (TDragObject* Object : Done) delete Object;
}

void TDragManager::Deliver(TControl* Target, TDragMessage Kind, TDragRec& Rec) {
    // While a handler runs, the object of a drag it ended waits (Release).
    ++FSending;
    TScopeGuard Returned([this] {
        if (--FSending == 0) FreeRetired();
    });
    Target->Perform(CM_DRAG, static_cast<std::intptr_t>(Kind),
                    reinterpret_cast<std::intptr_t>(&Rec));
}

bool TDragManager::SendDrag(TControl* Target, TDragMessage Kind, TPoint ScreenPos) {
    TDragRec Rec;
    Rec.Pos = ScreenPos;
    Rec.Source = FObject;
    Rec.Target = Target;
    FObject->FDragPos = ScreenPos;
    FObject->FDragTargetPos = Target->ScreenToClient(ScreenPos);
    if (std::find(FVisited.begin(), FVisited.end(), Target) == FVisited.end())
        FVisited.push_back(Target);
    Deliver(Target, Kind, Rec);
    return Rec.Accept;
}

void TDragManager::CancelVisited(TControl* Keep) {
    // Each control leaves the list before it hears, so that the list stays
    // right whatever its handler does (a destroyed control leaves it too).
    while (!FVisited.empty()) {
        TControl* Control = FVisited.front();
        FVisited.erase(FVisited.begin());
        if (Control == Keep) continue;
        TDragRec Rec;
        Rec.Pos = Mouse->GetCursorPos();
        Rec.Source = FObject;
        Rec.Target = Control;
        Deliver(Control, dmDragCancel, Rec);
    }
}

void TDragManager::HandleDragMessage(TControl* Target, TMessage& Message) {
    auto* Rec = reinterpret_cast<TDragRec*>(Message.LParam);
    if (!Rec || !Rec->Source) return;
    const TPoint P = Target->ScreenToClient(Rec->Pos);
    TObject* Source = Rec->Source->GetSource();
    switch (static_cast<TDragMessage>(Message.WParam)) {
    case dmDragEnter:
        Target->DragOver(Source, P.X, P.Y, dsDragEnter, Rec->Accept);
        break;
    case dmDragMove:
        Target->DragOver(Source, P.X, P.Y, dsDragMove, Rec->Accept);
        break;
    case dmDragLeave:
        Target->DragOver(Source, P.X, P.Y, dsDragLeave, Rec->Accept);
        break;
    case dmDragDrop:
        Target->DragDrop(Source, P.X, P.Y);
        break;
    case dmDragCancel:
        TControl::TDragHooks::Canceled(*Target);
        break;
    default:
        break;
    }
    Message.Result = Rec->Accept ? 1 : 0;
}

void TDragManager::DragTo(TPoint P) {
    if (!FActive) return;
    TControl* Target = InputRouter->FindControlAt(P);
    if (Target != FTarget) {
        if (FTarget) SendDrag(FTarget, dmDragLeave, P);
        if (!FActive) return;
        FTarget = Target;
        FObject->FDragTarget = Target;
        if (Target) SendDrag(Target, dmDragEnter, P);
        if (!FActive) return;
    }
    FAccepted = FTarget ? SendDrag(FTarget, dmDragMove, P) : false;
    if (!FActive) return;
    const TPoint C = FTarget ? FTarget->ScreenToClient(P) : P;
    FCursor = FObject->GetDragCursor(FAccepted, C.X, C.Y);
}

void TDragManager::Drop(TPoint P) {
    Finish(true, P);
}

void TDragManager::EndDrag(bool Drop) {
    if (Pending()) {
        FControl = nullptr;
        return;
    }
    if (FActive) Finish(Drop, Mouse->GetCursorPos());
}

void TDragManager::Reset() {
    FActive = false;
    FObject = nullptr;
    FTarget = nullptr;
    FVisited.clear();
    FCursor = crNoDrop;
}

void TDragManager::Release(TDragObject* Object) {
    if (!Object) return;
    if (FSending > 0)
        FRetired.push_back(Object);
    else
        delete Object;
}

void TDragManager::Finish(bool Drop, TPoint P) {
    if (!FActive || FFinishing) return;
    TTemporaryChange Finishing(FFinishing, true);
    TDragObject* Object = FObject;
    // Whatever the handlers do, raising included, the drag is over
    // afterwards and its object released, last.
    TScopeGuard Over([this, Object] {
        if (FObject == Object) Reset();
        FControl = nullptr;
        Release(Object);
    });
    Object->FCancelling = !Drop;
    TControl* Target = FTarget;
    // The target is asked a last time, with the pointer where it was
    // released; its answer decides the drop.
    bool Accepted = Target && SendDrag(Target, dmDragLeave, P) && Drop;
    // A handler may have destroyed the target: nothing takes the drop then.
    Accepted = Accepted && FTarget == Target;
    if (Accepted) SendDrag(Target, dmDragDrop, P);
    TControl* EndTarget = Accepted ? FTarget : nullptr;
    CancelVisited(EndTarget);
    // The drag is over for everyone but the object and the source, which
    // hear it last.
    Reset();
    const TPoint At =
        EndTarget ? EndTarget->ScreenToClient(P) : (FControl ? FControl->ScreenToClient(P) : P);
    Object->Finished(EndTarget, At.X, At.Y, Accepted);
    // Read afresh: a handler may have destroyed the source.
    if (TControl* Source = FControl) {
        FControl = nullptr;
        TControl::TDragHooks::EndDrag(*Source, EndTarget, At.X, At.Y);
    }
}

void TDragManager::ControlDestroyed(TControl* Control) {
    FVisited.erase(std::remove(FVisited.begin(), FVisited.end(), Control), FVisited.end());
    if (FTarget == Control) {
        FTarget = nullptr;
        if (FObject) FObject->FDragTarget = nullptr;
    }
    if (FControl != Control) return;
    // The source is gone: the drag ends without a drop, and the controls it
    // passed over forget it.
    FControl = nullptr;
    if (!FActive || FFinishing) return;
    {
        TTemporaryChange Finishing(FFinishing, true);
        try {
            CancelVisited(nullptr);
        } catch (...) {
            // This runs in a destructor; the failure is reported, not thrown.
            Application->HandleException(nullptr);
        }
    }
    TDragObject* Object = FObject;
    Reset();
    Release(Object);
}

} // namespace folio
