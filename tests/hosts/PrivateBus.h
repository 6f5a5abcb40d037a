#pragma once

// A message bus of the test's own: a dbus-daemon started for the test with a
// configuration that activates no services, so nothing of the machine's
// desktop answers on it. Running() is false when the daemon could not start.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace folio::testing {

class TPrivateBus {
public:
    TPrivateBus() {
        char Dir[] = "/tmp/folio-bus-XXXXXX";
        if (!mkdtemp(Dir)) return;
        FDir = Dir;
        const std::string Config = FDir + "/bus.conf";
        std::ofstream(Config)
            << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
               "1.0//EN\"\n"
               " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
               "<busconfig><type>session</type><listen>unix:dir="
            << FDir
            << "</listen><auth>EXTERNAL</auth>"
               "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
               "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
        int Pipe[2];
        if (pipe(Pipe) != 0) return;
        posix_spawn_file_actions_t Actions;
        posix_spawn_file_actions_init(&Actions);
        posix_spawn_file_actions_adddup2(&Actions, Pipe[1], 1);
        posix_spawn_file_actions_addclose(&Actions, Pipe[0]);
        // Its complaints about limits it may not raise are of no interest.
        posix_spawn_file_actions_addopen(&Actions, 2, "/dev/null", O_WRONLY, 0);
        const std::string ConfigArg = "--config-file=" + Config;
        char* Argv[] = {const_cast<char*>("dbus-daemon"), const_cast<char*>(ConfigArg.c_str()),
                        const_cast<char*>("--nofork"), const_cast<char*>("--print-address=1"),
                        nullptr};
        const int Spawned = posix_spawnp(&FPid, "dbus-daemon", &Actions, nullptr, Argv, environ);
        posix_spawn_file_actions_destroy(&Actions);
        close(Pipe[1]);
        if (Spawned != 0) {
            FPid = -1;
            close(Pipe[0]);
            return;
        }
        // The daemon prints its address once it listens.
        char C;
        while (read(Pipe[0], &C, 1) == 1 && C != '\n') FAddress += C;
        close(Pipe[0]);
    }
    ~TPrivateBus() {
        Stop();
        if (!FDir.empty()) std::system(("rm -rf '" + FDir + "'").c_str());
    }
    TPrivateBus(const TPrivateBus&) = delete;
    TPrivateBus& operator=(const TPrivateBus&) = delete;

    bool Running() const { return FPid > 0 && !FAddress.empty(); }
    const std::string& Address() const { return FAddress; }
    // Ends the daemon, as a desktop session that goes away would.
    void Stop() {
        if (FPid <= 0) return;
        kill(FPid, SIGTERM);
        int Status = 0;
        waitpid(FPid, &Status, 0);
        FPid = -1;
    }

private:
    pid_t FPid = -1;
    std::string FDir;
    std::string FAddress;
};

// Sets an environment variable for the life of a test and puts it back.
class TScopedEnv {
public:
    TScopedEnv(const char* Name, const char* Value) : FName(Name) {
        if (const char* Old = std::getenv(Name)) {
            FHad = true;
            FOld = Old;
        }
        if (Value)
            setenv(Name, Value, 1);
        else
            unsetenv(Name);
    }
    ~TScopedEnv() {
        if (FHad)
            setenv(FName.c_str(), FOld.c_str(), 1);
        else
            unsetenv(FName.c_str());
    }
    TScopedEnv(const TScopedEnv&) = delete;
    TScopedEnv& operator=(const TScopedEnv&) = delete;

private:
    std::string FName;
    std::string FOld;
    bool FHad = false;
};

} // namespace folio::testing
