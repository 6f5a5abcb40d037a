#include "framework/hosts/DBusConnection.h"

#include "PrivateBus.h"
#include "framework/ui/app/Application.h"

#include <systemd/sd-bus.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace folio;
using folio::testing::TPrivateBus;
using folio::testing::TScopedEnv;

namespace {

// Runs the application's loop as a program does, blocking between messages,
// until Done holds or Ms pass (a timer wakes the loop at the latest then).
bool LoopUntil(const std::function<bool()>& Done, int Ms = 5000) {
    const HWND Guard = AllocateHWnd([](TMessage&) {});
    SetTimer(Guard, 1, static_cast<unsigned>(Ms));
    const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
    while (!Done() && std::chrono::steady_clock::now() < End) Application->HandleMessage();
    DeallocateHWnd(Guard);
    return Done();
}

// Another program on the bus, which sends signals to ours.
struct TPeer {
    sd_bus* Bus = nullptr;
    explicit TPeer(const std::string& Address) {
        sd_bus_new(&Bus);
        sd_bus_set_address(Bus, Address.c_str());
        sd_bus_set_bus_client(Bus, 1);
        if (sd_bus_start(Bus) < 0) Bus = sd_bus_unref(Bus);
    }
    ~TPeer() { sd_bus_flush_close_unref(Bus); }
    void Ping(unsigned Count) {
        for (unsigned I = 0; I < Count; ++I)
            sd_bus_emit_signal(Bus, "/org/folio/Test", "org.folio.Test", "Ping", "u", I);
        sd_bus_flush(Bus);
    }
};

// What the handler of the peer's signals saw.
struct TPings {
    unsigned Count = 0;
    unsigned Last = 0;
    bool OffThread = false;
    std::thread::id Loop = std::this_thread::get_id();
};

int OnPing(sd_bus_message* M, void* Data, sd_bus_error*) {
    auto* P = static_cast<TPings*>(Data);
    if (std::this_thread::get_id() != P->Loop) P->OffThread = true;
    unsigned Value = 0;
    sd_bus_message_read(M, "u", &Value);
    P->Last = Value;
    ++P->Count;
    return 0;
}

void ListenForPings(TDBusConnection& C, TPings& P) {
    ASSERT_GE(sd_bus_match_signal(C.Bus(), nullptr, nullptr, "/org/folio/Test", "org.folio.Test",
                                  "Ping", OnPing, &P),
              0);
}

class DBusConnection : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Bus.Running()) GTEST_SKIP() << "dbus-daemon could not be started";
    }
    TPrivateBus Bus;
};

TEST(DBusConnectionAbsent, NoBusAnswersNullAtOnce) {
    TScopedEnv NoAddress("DBUS_SESSION_BUS_ADDRESS", nullptr);
    TScopedEnv NoRuntime("XDG_RUNTIME_DIR", nullptr);
    EXPECT_EQ(TDBusConnection::OpenSession(), nullptr);
    // A runtime folder without a bus in it: sd-bus finds no socket there.
    TScopedEnv EmptyRuntime("XDG_RUNTIME_DIR", "/nonexistent-runtime-dir");
    EXPECT_EQ(TDBusConnection::OpenSession(), nullptr);
    const char* const Addresses[] = {
        "", "unix:path=/nonexistent/bus", "not an address", "tcp:host=256.1.1.1,port=0", "unix:",
    };
    for (const char* A : Addresses) EXPECT_EQ(TDBusConnection::OpenAddress(A), nullptr) << A;
}

TEST_F(DBusConnection, SessionBusComesFromTheEnvironment) {
    TScopedEnv Address("DBUS_SESSION_BUS_ADDRESS", Bus.Address().c_str());
    auto C = TDBusConnection::OpenSession();
    ASSERT_NE(C, nullptr);
    EXPECT_TRUE(C->Connected());
    // An asynchronous call's reply comes through the loop.
    bool Answered = false;
    ASSERT_GE(sd_bus_call_method_async(
                  C->Bus(), nullptr, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                  "org.freedesktop.DBus", "GetId",
                  [](sd_bus_message* M, void* Data, sd_bus_error*) {
                      *static_cast<bool*>(Data) = !sd_bus_message_is_method_error(M, nullptr);
                      return 0;
                  },
                  &Answered, ""),
              0);
    C->Changed();
    EXPECT_TRUE(LoopUntil([&] { return Answered; }));
}

TEST_F(DBusConnection, SignalsReachHandlersOnTheLoopsThread) {
    auto C = TDBusConnection::OpenAddress(Bus.Address());
    ASSERT_NE(C, nullptr);
    TPings Pings;
    ListenForPings(*C, Pings);
    TPeer Peer(Bus.Address());
    ASSERT_NE(Peer.Bus, nullptr);
    // Each wave arrives while the loop sleeps: the watcher must wake it.
    for (unsigned Wave = 1; Wave <= 3; ++Wave) {
        Peer.Ping(5);
        EXPECT_TRUE(LoopUntil([&] { return Pings.Count == Wave * 5; })) << Wave;
    }
    EXPECT_EQ(Pings.Last, 4u);
    EXPECT_FALSE(Pings.OffThread);
}

TEST_F(DBusConnection, EachTurnHandlesABoundedShare) {
    auto C = TDBusConnection::OpenAddress(Bus.Address());
    ASSERT_NE(C, nullptr);
    TPings Pings;
    ListenForPings(*C, Pings);
    TPeer Peer(Bus.Address());
    const unsigned Sent = 10 * TDBusConnection::MessagesPerTurn;
    Peer.Ping(Sent);
    // A call made here reads everything sent before its answer into the
    // connection's buffer, where the descriptor no longer shows it.
    sd_bus_message* Reply = nullptr;
    ASSERT_GE(sd_bus_call_method(C->Bus(), "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                 "org.freedesktop.DBus", "GetId", nullptr, &Reply, ""),
              0);
    sd_bus_message_unref(Reply);
    C->Changed();
    // A turn handles at most its share of what waits; a pass of the loop
    // may hold more than one turn when the watcher wakes it again for
    // messages still arriving, so the share is counted per turn.
    const auto Bounded = [&](unsigned Handled, unsigned Turns, unsigned Pass) {
        EXPECT_GE(Turns, 1u) << "pass " << Pass;
        EXPECT_LE(Handled, Turns * static_cast<unsigned>(TDBusConnection::MessagesPerTurn))
            << "pass " << Pass;
    };
    unsigned Turns = static_cast<unsigned>(C->Counts().Turns);
    Application->ProcessMessages();
    EXPECT_GT(Pings.Count, 0u);
    Bounded(Pings.Count, static_cast<unsigned>(C->Counts().Turns) - Turns, 1);
    // So does every later one, until all have come (some may still be on
    // their way through the bus).
    unsigned Passes = 1;
    const auto End = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Pings.Count < Sent && std::chrono::steady_clock::now() < End) {
        const unsigned Before = Pings.Count;
        Turns = static_cast<unsigned>(C->Counts().Turns);
        Application->ProcessMessages();
        ++Passes;
        if (Pings.Count != Before)
            Bounded(Pings.Count - Before, static_cast<unsigned>(C->Counts().Turns) - Turns, Passes);
        if (Pings.Count == Before) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(Pings.Count, Sent);
    EXPECT_GE(C->Counts().Turns, Sent / TDBusConnection::MessagesPerTurn);
    EXPECT_GE(C->Counts().FullTurns, 1u);
}

TEST_F(DBusConnection, RunUntilWaitsWithoutTheLoop) {
    auto C = TDBusConnection::OpenAddress(Bus.Address());
    ASSERT_NE(C, nullptr);
    String Id;
    ASSERT_GE(sd_bus_call_method_async(
                  C->Bus(), nullptr, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                  "org.freedesktop.DBus", "GetId",
                  [](sd_bus_message* M, void* Data, sd_bus_error*) {
                      const char* Text = nullptr;
                      if (sd_bus_message_read(M, "s", &Text) >= 0 && Text)
                          *static_cast<String*>(Data) = Text;
                      return 0;
                  },
                  &Id, ""),
              0);
    EXPECT_TRUE(C->RunUntil([&] { return !Id.empty(); }, 5000));
    EXPECT_EQ(Id.size(), 32u);
    // A condition that never holds gives up after its time.
    const auto Start = std::chrono::steady_clock::now();
    EXPECT_FALSE(C->RunUntil([] { return false; }, 50));
    EXPECT_GE(std::chrono::steady_clock::now() - Start, std::chrono::milliseconds(50));
}

TEST_F(DBusConnection, ABusThatGoesAwayStopsTheWatcher) {
    auto C = TDBusConnection::OpenAddress(Bus.Address());
    ASSERT_NE(C, nullptr);
    Application->ProcessMessages();
    int Told = 0;
    C->OnDisconnected = [&] { ++Told; };
    Bus.Stop();
    EXPECT_TRUE(LoopUntil([&] { return Told > 0; }));
    EXPECT_FALSE(C->Connected());
    EXPECT_EQ(C->Bus(), nullptr);
    // Nothing wakes the loop for the dead descriptor any more.
    const unsigned Turns = C->Counts().Turns;
    LoopUntil([] { return false; }, 50);
    EXPECT_EQ(C->Counts().Turns, Turns);
    EXPECT_EQ(Told, 1);
    C->Changed();
    Application->ProcessMessages();
    EXPECT_EQ(C->Counts().Turns, Turns);
}

TEST_F(DBusConnection, TheDisconnectHandlerMayFreeTheConnection) {
    auto C = TDBusConnection::OpenAddress(Bus.Address());
    ASSERT_NE(C, nullptr);
    Application->ProcessMessages();
    bool Freed = false;
    C->OnDisconnected = [&] {
        C.reset();
        Freed = true;
    };
    Bus.Stop();
    EXPECT_TRUE(LoopUntil([&] { return Freed; }));
}

TEST_F(DBusConnection, AConnectionFreedWithWorkQueuedLeavesNothingBehind) {
    TPeer Peer(Bus.Address());
    for (int Round = 0; Round < 5; ++Round) {
        auto C = TDBusConnection::OpenAddress(Bus.Address());
        ASSERT_NE(C, nullptr);
        TPings Pings;
        ListenForPings(*C, Pings);
        Peer.Ping(3 * TDBusConnection::MessagesPerTurn);
        sd_bus_message* Reply = nullptr;
        sd_bus_call_method(C->Bus(), "org.freedesktop.DBus", "/org/freedesktop/DBus",
                           "org.freedesktop.DBus", "GetId", nullptr, &Reply, "");
        sd_bus_message_unref(Reply);
        C->Changed();
        // One pass leaves a turn for after the paint pass; the connection
        // goes before it runs.
        Application->ProcessMessages();
        C.reset();
        Application->ProcessMessages();
        Application->ProcessMessages();
    }
}

} // namespace
