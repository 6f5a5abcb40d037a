#include "framework/ui/DragDrop.h"

#include "framework/core/ScopeGuard.h"
#include "framework/ui/Input.h"
#include "framework/ui/Mouse.h"

#include <cstdlib>
#include <memory>

namespace folio {

TControl* TDragManager::FControl = nullptr;
TDragObject* TDragManager::FObject = nullptr;
TControl* TDragManager::FTarget = nullptr;
bool TDragManager::FActive = false;
bool TDragManager::FAccepted = false;
bool TDragManager::FFinishing = false;
int TDragManager::FThreshold = 0;
TPoint TDragManager::FStart;
TCursor TDragManager::FCursor = crNoDrop;

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
    TControl::TDragHooks::StartDrag(*Source, Object);
    if (FControl != Source) return; // the handler cancelled or the source died
    if (!Object) Object = new TDragControlObject(Source);
    FObject = Object;
    FActive = true;
    FTarget = nullptr;
    FAccepted = false;
    FCursor = FObject->GetDragCursor(false, 0, 0);
    DragTo(Mouse->GetCursorPos());
}

bool TDragManager::SendDrag(TControl* Target, TDragMessage Kind, TPoint ScreenPos) {
    TDragRec Rec;
    Rec.Pos = ScreenPos;
    Rec.Source = FObject;
    Rec.Target = Target;
    FObject->FDragPos = ScreenPos;
    FObject->FDragTargetPos = Target->ScreenToClient(ScreenPos);
    Target->Perform(CM_DRAG, static_cast<std::intptr_t>(Kind),
                    reinterpret_cast<std::intptr_t>(&Rec));
    return Rec.Accept;
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

void TDragManager::Finish(bool Drop, TPoint P) {
    if (!FActive || FFinishing) return;
    // The object goes last, after the manager is ready for another drag.
    std::unique_ptr<TDragObject> Object(FObject);
    TTemporaryChange Finishing(FFinishing, true);
    TControl* Source = FControl;
    TControl* Target = FTarget;
    Object->FCancelling = !Drop;
    bool Accepted = false;
    {
        // However the target's last answer ends, the drag is over.
        TScopeGuard Over([] {
            FActive = false;
            FObject = nullptr;
            FControl = nullptr;
            FTarget = nullptr;
        });
        // The target is asked a last time, with the pointer where it was
        // released; its answer decides the drop.
        if (Target) Accepted = SendDrag(Target, dmDragLeave, P) && Drop;
        if (Accepted && FTarget == Target) SendDrag(Target, dmDragDrop, P);
    }
    FCursor = crNoDrop;
    TControl* EndTarget = Accepted ? Target : nullptr;
    const TPoint At =
        EndTarget ? EndTarget->ScreenToClient(P) : (Source ? Source->ScreenToClient(P) : P);
    Object->Finished(EndTarget, At.X, At.Y, Accepted);
    if (Source) TControl::TDragHooks::EndDrag(*Source, EndTarget, At.X, At.Y);
}

void TDragManager::ControlDestroyed(TControl* Control) {
    if (FTarget == Control) {
        FTarget = nullptr;
        if (FObject) FObject->FDragTarget = nullptr;
    }
    if (FControl == Control) {
        // The source is gone: the drag ends without a drop.
        FControl = nullptr;
        if (FActive && !FFinishing) {
            FActive = false;
            delete FObject;
            FObject = nullptr;
            FTarget = nullptr;
        }
    }
}

} // namespace folio
