#include "framework/core/Thread.h"

#include "framework/core/Exceptions.h"

#include <chrono>
#include <deque>

namespace folio {

FOLIO_DEFINE_CLASS(TThread, TObject)

namespace {

struct TSyncRequest {
    const TThread::TThreadMethod* Method = nullptr;
    std::exception_ptr Error;
    bool Done = false;
};

// The queue of Synchronize requests, shared by all workers. One mutex and one
// condition variable serve the user-interface thread (new requests, finished
// threads) and the workers (their request has run).
struct TSyncState {
    std::mutex Lock;
    std::condition_variable Changed;
    std::deque<TSyncRequest*> Queue;
    std::function<void()> Wake;
    bool Shutdown = false;
    std::thread::id MainThread;
    bool MainThreadSet = false;
    unsigned Signals = 0; // counts queued requests and finished threads
};

// Never destroyed: a worker that finishes while the program ends may still
// signal it after the program's static objects are gone.
TSyncState& Sync() {
    static TSyncState& State = *new TSyncState;
    return State;
}

void Signal(TSyncState& S) {
    std::function<void()> Wake;
    {
        std::lock_guard Guard(S.Lock);
        ++S.Signals;
        Wake = S.Wake;
    }
    S.Changed.notify_all();
    if (Wake) Wake();
}

} // namespace

void SetMainThread() {
    auto& S = Sync();
    std::lock_guard Guard(S.Lock);
    S.MainThread = std::this_thread::get_id();
    S.MainThreadSet = true;
}

bool IsMainThread() {
    auto& S = Sync();
    std::lock_guard Guard(S.Lock);
    if (!S.MainThreadSet) {
        S.MainThread = std::this_thread::get_id();
        S.MainThreadSet = true;
    }
    return S.MainThread == std::this_thread::get_id();
}

void SetWakeMainThread(std::function<void()> Wake) {
    auto& S = Sync();
    std::lock_guard Guard(S.Lock);
    S.Wake = std::move(Wake);
}

bool SynchronizePending() {
    auto& S = Sync();
    std::lock_guard Guard(S.Lock);
    return !S.Queue.empty();
}

bool CheckSynchronize() {
    auto& S = Sync();
    bool Ran = false;
    for (;;) {
        TSyncRequest* Request = nullptr;
        {
            std::lock_guard Guard(S.Lock);
            if (S.Queue.empty()) break;
            Request = S.Queue.front();
            S.Queue.pop_front();
        }
        try {
            (*Request->Method)();
        } catch (...) {
            Request->Error = std::current_exception();
        }
        {
            std::lock_guard Guard(S.Lock);
            Request->Done = true;
        }
        S.Changed.notify_all();
        Ran = true;
    }
    return Ran;
}

unsigned SynchronizeSignalCount() {
    auto& S = Sync();
    std::lock_guard Guard(S.Lock);
    return S.Signals;
}

void WaitForSynchronize(unsigned Seen, int Milliseconds) {
    auto& S = Sync();
    std::unique_lock Guard(S.Lock);
    auto Ready = [&] { return !S.Queue.empty() || S.Signals != Seen; };
    if (Milliseconds < 0)
        S.Changed.wait(Guard, Ready);
    else
        S.Changed.wait_for(Guard, std::chrono::milliseconds(Milliseconds), Ready);
}

void ShutdownSynchronize() {
    auto& S = Sync();
    {
        std::lock_guard Guard(S.Lock);
        S.Shutdown = true;
        for (TSyncRequest* Request : S.Queue) {
            Request->Error = std::make_exception_ptr(
                EThread("The application is shutting down; the step was not run"));
            Request->Done = true;
        }
        S.Queue.clear();
    }
    S.Changed.notify_all();
}

void ResumeSynchronize() {
    auto& S = Sync();
    std::lock_guard Guard(S.Lock);
    S.Shutdown = false;
}

void TThread::Synchronize(TThread*, const TThreadMethod& Method) {
    if (IsMainThread()) {
        Method();
        return;
    }
    auto& S = Sync();
    TSyncRequest Request;
    Request.Method = &Method;
    {
        std::lock_guard Guard(S.Lock);
        if (S.Shutdown) throw EThread("The application is shutting down; the step was not run");
        S.Queue.push_back(&Request);
    }
    Signal(S);
    {
        std::unique_lock Guard(S.Lock);
        S.Changed.wait(Guard, [&] { return Request.Done; });
    }
    if (Request.Error) std::rethrow_exception(Request.Error);
}

void Sleep(int Milliseconds) {
    if (Milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
}

TThread::TThread(bool CreateSuspended) {
    IsMainThread(); // the creating thread becomes the main thread if none was named
    if (!CreateSuspended) Start();
}

TThread::~TThread() {
    if (FThread.joinable()) {
        if (FThread.get_id() == std::this_thread::get_id()) {
            FThread.detach(); // deleting itself at the end of Run
        } else {
            Terminate();
            WaitFor();
        }
    }
}

void TThread::Start() {
    if (FStarted) throw EThread("Cannot start a thread that has already been started");
    FStarted = true;
    std::lock_guard Guard(FStartLock);
    FThread = std::thread([this] { Run(); });
}

void TThread::Run() {
    { std::lock_guard Guard(FStartLock); } // FThread is stored once Start lets go
    try {
        Execute();
    } catch (...) {
        FFatalException = std::current_exception();
    }
    if (OnTerminate) {
        try {
            Synchronize([this] { OnTerminate(this); });
        } catch (...) {
            // Shutting down: nobody is left to tell.
        }
    }
    const bool FreeSelf = FFreeOnTerminate;
    FFinished.store(true);
    Signal(Sync());
    if (FreeSelf) delete this;
}

int TThread::WaitFor() {
    if (!FStarted) throw EThread("Cannot wait for a thread that was never started");
    if (FThread.get_id() == std::this_thread::get_id())
        throw EThread("A thread cannot wait for itself");
    if (IsMainThread()) {
        for (;;) {
            const unsigned Seen = SynchronizeSignalCount();
            if (Finished()) break;
            if (CheckSynchronize()) continue;
            WaitForSynchronize(Seen, -1);
        }
        CheckSynchronize();
    } else {
        auto& S = Sync();
        std::unique_lock Guard(S.Lock);
        S.Changed.wait(Guard, [&] { return Finished(); });
    }
    if (FThread.joinable()) FThread.join();
    return FReturnValue;
}

} // namespace folio
