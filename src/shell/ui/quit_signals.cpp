#include "shell/ui/quit_signals.h"

#include "shell/ui/main_window.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

namespace keldro {
namespace {

constexpr std::array<int, 3> kQuitSignals = {SIGTERM, SIGHUP, SIGINT};

// The pipe from the signal handler to the event loop, and the handlers the
// signals had before; only one QuitSignals lives at a time.
int g_pipe[2] = {-1, -1};
std::array<struct sigaction, kQuitSignals.size()> g_previous;
std::array<bool, kQuitSignals.size()> g_taken;

// A signal can arrive in the middle of anything: all the handler may safely
// do is wake the event loop.
void WakeEventLoop(int)
{
    const int saved = errno;
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

// Signals the program was started to ignore (SIGHUP under nohup) stay ignored.
void TakeSignals()
{
    struct sigaction action
    {};
    action.sa_handler = &WakeEventLoop;
    sigemptyset(&action.sa_mask);
    // Back to the default once caught: a second signal ends the program
    // at once should the first not get it to quit.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (std::size_t i = 0; i < kQuitSignals.size(); ++i) {
        ::sigaction(kQuitSignals[i], nullptr, &g_previous[i]);
        g_taken[i] = g_previous[i].sa_handler != SIG_IGN;
        if (g_taken[i])
            ::sigaction(kQuitSignals[i], &action, nullptr);
    }
}

} // namespace

QuitSignals::QuitSignals(MainWindow& window, QObject* parent) : QObject(parent), window_(window)
{
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::OnSignal);
    TakeSignals();
}

QuitSignals::~QuitSignals()
{
    if (!notifier_)
        return;
    for (std::size_t i = 0; i < kQuitSignals.size(); ++i) {
        if (g_taken[i])
            ::sigaction(kQuitSignals[i], &g_previous[i], nullptr);
    }
    delete notifier_;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

// The runs pump events, so this may run in the middle of one: it only asks
// the runs to stop, and the event loop ends once they have returned.
void QuitSignals::OnSignal()
{
    char bytes[16];
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
    if (quitting_)
        return;
    quitting_ = true;
    window_.CloseWithoutAsking();
    // Not quit(): it closes the remaining windows first and gives up when one
    // stays, and the frame-loading hint and the progress strip of a pass do
    // stay (the strip even takes the close for a cancel and asks about it).
    QCoreApplication::exit(0);
}

} // namespace keldro
