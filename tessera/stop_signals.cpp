#include "tessera/stop_signals.h"

#include <csignal>
#include <initializer_list>
#include <unistd.h>

namespace tessera {

namespace {

volatile std::sig_atomic_t endAsked = 0;

void endNow(int) {
    constexpr char said[] = "tessera: the show did not end within a second; ending it now\n";
    ssize_t ignored = ::write(STDERR_FILENO, said, sizeof said - 1);
    static_cast<void>(ignored);
    ::_exit(0);
}

void askToEnd(int) {
    endAsked = 1;
    ::alarm(1);
}

} // namespace

void endOnStopSignals() {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        std::signal(signal, askToEnd);
    }
    std::signal(SIGALRM, endNow);
}

bool stopAsked() {
    return endAsked != 0;
}

} // namespace tessera
