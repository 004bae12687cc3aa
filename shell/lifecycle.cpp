#include "shell/lifecycle.h"

#include "core/datamodule.h"
#include "core/firebird.h"
#include "shell/bootstrap.h"
#include "widgets/longoperation.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace talvera::shell {

namespace {

// Longest an end may take once it has begun, and how an end that overran exits.
constexpr auto kEndLimit = std::chrono::milliseconds(4500);
constexpr int kOverranStatus = 1;

int signalPipe[2] = {-1, -1};
bool endedInOrder = false;

void startWatchdog()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    std::thread([] {
        std::this_thread::sleep_for(kEndLimit);
        std::fflush(nullptr);
        _exit(kOverranStatus);
    }).detach();
}

// Async-signal-safe: the event loop reads the pipe and does the work.
void onSignal(int signal)
{
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &byte, 1);
}

void onExit()
{
    if (endedInOrder)
        return;
    // exit() was called from inside the program (a lost display): close what
    // is open and leave at once.
    startWatchdog();
    try {
        if (fmPrincipal())
            dmAih().closeAll(!widgets::longOperationRunning());
    } catch (...) {
        // Nobody is left to tell; the engine undoes what was not committed.
    }
    db::engine::shutdown();
    std::fflush(nullptr);
    _exit(kOverranStatus);
}

} // namespace

void installSignalHandling()
{
    if (signalPipe[0] >= 0)
        return;
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
        QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
            unsigned char byte = 0;
            while (read(signalPipe[0], &byte, 1) > 0) {
            }
            startWatchdog();
            widgets::requestProgramEnd();
        });
        for (int signal : {SIGTERM, SIGINT, SIGHUP})
            db::engine::keepSignalHandler(signal, onSignal);
    }
}

void installExitGuard()
{
    std::atexit(onExit);
}

void endInOrder()
{
    destroyForms();
    db::engine::shutdown();
    endedInOrder = true;
}

} // namespace talvera::shell
