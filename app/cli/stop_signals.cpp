#include "app/cli/stop_signals.h"

#include <pthread.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace qx40 {
namespace {

sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

StopSignals::StopSignals() {
    const sigset_t set = StopSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    fd_ = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    // Without the descriptor nobody would take them: they end the program as usual.
    if (fd_ < 0) pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

StopSignals::~StopSignals() {
    if (fd_ >= 0) ::close(fd_);
}

bool StopSignals::Requested() {
    if (requested_ || fd_ < 0) return requested_;
    signalfd_siginfo info;
    if (::read(fd_, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) return false;
    requested_ = true;
    const sigset_t set = StopSet();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    return true;
}

}  // namespace qx40
