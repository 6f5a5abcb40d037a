#include "framework/core/Shell.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

namespace folio {

const char* const ShellOpener = "xdg-open";

namespace {
// Joins the parts of a message. (Chains of operator+ on strings trip a
// false alarm in GCC 12's overlap check.)
String Message(std::initializer_list<std::string_view> Parts) {
    String Text;
    for (std::string_view P : Parts) Text.append(P);
    return Text;
}

// The opener's full path from PATH, or "" when no directory holds it.
String FindOnPath(const String& Program) {
    const char* Path = std::getenv("PATH");
    const std::string_view Dirs = Path ? Path : "/usr/local/bin:/usr/bin:/bin";
    size_t Start = 0;
    while (Start <= Dirs.size()) {
        size_t End = Dirs.find(':', Start);
        if (End == std::string_view::npos) End = Dirs.size();
        std::string_view Dir = Dirs.substr(Start, End - Start);
        if (Dir.empty()) Dir = ".";
        const String Candidate = Message({Dir, "/", Program});
        if (access(Candidate.c_str(), X_OK) == 0) return Candidate;
        Start = End + 1;
    }
    return String();
}
} // namespace

void ShellExecute(const String& Operation, const String& FileName) {
    if (!Operation.empty() && Operation != "open")
        throw EShellError(Message({"The desktop cannot \"", Operation, "\" ", FileName,
                                   ": only \"open\" requests are supported"}));
    if (FileName.empty()) throw EShellError("Nothing to open: the file name or address is empty");
    const String Opener = FindOnPath(ShellOpener);
    if (Opener.empty())
        throw EShellError(Message({"Cannot open ", FileName, ": ", ShellOpener,
                                   " was not found on PATH (install the xdg-utils package)"}));
    // The opener runs in a grandchild, so that it belongs to nobody here and
    // no zombie is left whatever it does; the child only forks and leaves.
    // The pipe tells of a failed start: its write end closes on a successful
    // exec, and no other program this process starts inherits it.
    int Pipe[2];
    if (pipe2(Pipe, O_CLOEXEC) != 0)
        throw EShellError(Message({"Cannot open ", FileName, ": ", std::strerror(errno)}));
    const pid_t Child = fork();
    if (Child < 0) {
        const int Error = errno;
        close(Pipe[0]);
        close(Pipe[1]);
        throw EShellError(Message({"Cannot open ", FileName, ": ", std::strerror(Error)}));
    }
    if (Child == 0) {
        close(Pipe[0]);
        const pid_t Grandchild = fork();
        if (Grandchild == 0) {
            setsid();
            char* const Args[] = {const_cast<char*>(Opener.c_str()),
                                  const_cast<char*>(FileName.c_str()), nullptr};
            execv(Opener.c_str(), Args);
            const int Error = errno;
            (void)!write(Pipe[1], &Error, sizeof Error);
            _exit(127);
        }
        if (Grandchild < 0) {
            const int Error = errno;
            (void)!write(Pipe[1], &Error, sizeof Error);
        }
        _exit(0);
    }
    close(Pipe[1]);
    int Status = 0;
    while (waitpid(Child, &Status, 0) < 0 && errno == EINTR) {
    }
    int Error = 0;
    ssize_t Got;
    while ((Got = read(Pipe[0], &Error, sizeof Error)) < 0 && errno == EINTR) {
    }
    close(Pipe[0]);
    if (Got == static_cast<ssize_t>(sizeof Error))
        throw EShellError(
            Message({"Cannot open ", FileName, " with ", Opener, ": ", std::strerror(Error)}));
}

} // namespace folio
