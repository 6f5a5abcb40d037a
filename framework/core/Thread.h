#pragma once

#include "framework/core/Object.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace folio {

/// A worker thread. It is created suspended or running; Execute is its body.
/// A worker never touches a control: it hands steps to the user-interface
/// thread with Synchronize, which waits until the step has run there.
///
/// With FreeOnTerminate the object deletes itself when Execute returns, so it
/// must have been created with new and must not be touched after Start.
class TThread : public TObject {
    FOLIO_CLASS(TThread)
public:
    /// A step handed to the user-interface thread.
    using TThreadMethod = std::function<void()>;

    /// A thread that starts at once, or with CreateSuspended only at Start.
    explicit TThread(bool CreateSuspended);
    /// Terminates and waits for a thread that is still running.
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    ///@{
    /// Starts a suspended thread running Execute; a thread started already
    /// raises EThread.
    void Start();
    void Resume() { Start(); }
    ///@}
    /// Asks the thread to stop: sets Terminated, which Execute should check
    /// and return on. Nothing is interrupted.
    void Terminate() { FTerminated.store(true); }
    /// True once Terminate was called.
    bool Terminated() const { return FTerminated.load(); }
    /// True once Execute has returned and OnTerminate has run.
    bool Finished() const { return FFinished.load(); }
    /// True until the thread is started.
    bool Suspended() const { return !FStarted; }
    /// Waits until Execute has returned. On the user-interface thread the wait
    /// keeps running Synchronize requests, so a worker waiting in Synchronize
    /// cannot deadlock its waiter. Returns ReturnValue. A thread never started,
    /// or one waiting for itself, raises EThread.
    int WaitFor();

    ///@{
    /// Whether the object deletes itself when Execute returns; false by default.
    bool GetFreeOnTerminate() const { return FFreeOnTerminate; }
    void SetFreeOnTerminate(bool Value) { FFreeOnTerminate = Value; }
    ///@}
    /// The number Execute set with SetReturnValue; 0 by default.
    int GetReturnValue() const { return FReturnValue; }
    /// The exception that ended Execute, if one did.
    std::exception_ptr FatalException() const { return FFatalException; }

    ///@{
    /// Runs Method on the user-interface thread and waits for it; runs it at
    /// once when called there. An exception in Method is raised again here.
    /// When the application shuts down, a pending or later request raises
    /// EThread instead of waiting for ever.
    void Synchronize(const TThreadMethod& Method) { Synchronize(this, Method); }
    static void Synchronize(TThread* Thread, const TThreadMethod& Method);
    ///@}

    /// Fired on the user-interface thread (through Synchronize) after Execute.
    std::function<void(TObject*)> OnTerminate;

protected:
    /// The thread's body, run on the new thread. An exception it raises ends
    /// the thread and is kept in FatalException.
    virtual void Execute() = 0;
    /// Sets what WaitFor and GetReturnValue answer.
    void SetReturnValue(int Value) { FReturnValue = Value; }

private:
    void Run();

    std::mutex FStartLock; // held while Start stores FThread
    std::thread FThread;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    bool FStarted = false;
    bool FFreeOnTerminate = false;
    int FReturnValue = 0;
    std::exception_ptr FFatalException;
};

/// Sleeps the calling thread for Milliseconds.
void Sleep(int Milliseconds);

/// Makes the calling thread the user-interface thread (the application
/// does so when it starts).
void SetMainThread();
/// True on the user-interface thread: the one that called SetMainThread,
/// or until then the first thread that asked.
bool IsMainThread();

/// Runs the Synchronize requests that are waiting; returns true when it ran
/// any. Called by the application's loop on the user-interface thread.
bool CheckSynchronize();
/// True when a Synchronize request waits.
bool SynchronizePending();
/// Called (from any thread) when a Synchronize request is queued, so the
/// loop wakes up. The application installs it.
void SetWakeMainThread(std::function<void()> Wake);
///@{
/// Blocks the user-interface thread until a request is queued, a thread
/// finishes after SignalCount was read as Seen, or Milliseconds pass
/// (negative: no limit). Reading the count first closes the gap between a
/// caller's check and its wait.
unsigned SynchronizeSignalCount();
void WaitForSynchronize(unsigned Seen, int Milliseconds);
///@}
///@{
/// Application shutdown: every waiting and every later request raises EThread
/// in its worker instead of running. ResumeSynchronize undoes it.
void ShutdownSynchronize();
void ResumeSynchronize();
///@}

} // namespace folio
