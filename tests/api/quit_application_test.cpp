// A whole application on the offscreen platform, in one of three ways (QUIT_TEST):
//   unset        the program draws, prints "bye" and asks to quit with status 3 from the program thread;
//                the process must end by itself with that status, and print nothing else when the log
//                is off (VXTOOLS_LOG=quiet).
//   signals      started as nohup starts it and with the quit signals blocked: SIGHUP stays ignored,
//                SIGTERM and SIGINT are caught and unblocked, SIGPIPE is ignored, and SIGTERM sent to
//                itself ends the application with status 0 (20 to 23 name what was wrong).
//   descriptors  started with standard input, output and error closed: each is /dev/null, open for
//                reading (0) or writing (1, 2); status 4, or 10 + the first descriptor that is not. (Not
//                0: that is also the status of an application that ended before the program looked.)
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vxtools/vxtools.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool IsDevNull(int fd, int access) {
    struct stat file = {}, null = {};
    const int flags = ::fcntl(fd, F_GETFL);
    return flags != -1 && (flags & O_ACCMODE) == access && ::fstat(fd, &file) == 0 &&
           ::stat("/dev/null", &null) == 0 && S_ISCHR(file.st_mode) && file.st_rdev == null.st_rdev;
}

int DescriptorStatus() {
    for (int fd = 0; fd <= 2; ++fd)
        if (!IsDevNull(fd, fd == 0 ? O_RDONLY : O_WRONLY)) return 10 + fd;
    return 4;
}

int SignalFault() {
    struct sigaction hup = {}, term = {}, interrupt = {}, pipe = {};
    ::sigaction(SIGPIPE, nullptr, &pipe);
    ::sigaction(SIGHUP, nullptr, &hup);
    ::sigaction(SIGTERM, nullptr, &term);
    ::sigaction(SIGINT, nullptr, &interrupt);
    sigset_t blocked;
    ::pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
    if (hup.sa_handler != SIG_IGN) return 20;
    for (const auto* caught : {&term, &interrupt})
        if (caught->sa_handler == SIG_DFL || caught->sa_handler == SIG_IGN) return 21;
    if (sigismember(&blocked, SIGTERM) || sigismember(&blocked, SIGINT)) return 22;
    if (pipe.sa_handler != SIG_IGN) return 23;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* mode = std::getenv("QUIT_TEST");
    const std::string way = mode != nullptr ? mode : "";
    if (way == "signals") {
        ::signal(SIGHUP, SIG_IGN);
        sigset_t quit;
        sigemptyset(&quit);
        for (const int s : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&quit, s);
        ::sigprocmask(SIG_BLOCK, &quit, nullptr);
    }
    return vx::RunApplication(argc, argv, [way] {
        if (way == "descriptors") vx::QuitApplication(DescriptorStatus());
        if (way == "signals") {
            if (const int fault = SignalFault(); fault != 0)
                vx::QuitApplication(fault);
            else
                ::kill(::getpid(), SIGTERM);
        }
        if (!way.empty())
            for (;;) vx::SleepNanoseconds(10'000'000);  // until the application ends the process
        t_InitWindow(0, 32, false, 64, 64, 0, 0, vx::ReadyFont(), true);
        vx::SetRGBColor(0, 200, 100, 50);
        g_Line(0, 0, 0, 63, 63);
        t_Print(0, "bye");
        t_WindowUpdate(0, false);
        std::printf("bye\n");
        vx::QuitApplication(3);
    });
}
