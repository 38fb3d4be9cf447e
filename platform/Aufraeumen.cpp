// The table of files to remove on a signal; see Aufraeumen.h.
#include "Aufraeumen.h"

#include <QFile>

#include <atomic>
#include <csignal>
#include <cstring>

#include <limits.h>
#include <pthread.h>
#include <unistd.h>

namespace {

constexpr int Plaetze = 16;

char pfade[Plaetze][PATH_MAX];
// A slot is written while free and marked taken afterwards, so the handler never reads a path
// being written; lock-free atomics are safe to read in a signal handler.
std::atomic<bool> belegt[Plaetze];

extern "C" void beiSignal(int signal)
{
    for (int i = 0; i < Plaetze; ++i)
        if (belegt[i].load())
            unlink(pfade[i]);
    // The handler was installed to run once (SA_RESETHAND) and without blocking its own
    // signal (SA_NODEFER): raising it again ends the process with the signal's own status.
    raise(signal);
}

} // namespace

namespace Aufraeumen {

void signaleAbfangen()
{
    static_assert(std::atomic<bool>::is_always_lock_free);
    struct sigaction a = {};
    a.sa_handler = beiSignal;
    a.sa_flags = SA_RESETHAND | SA_NODEFER;
    sigemptyset(&a.sa_mask);
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaction(s, &a, nullptr);
}

Datei::Datei(const QString &pfad)
{
    const QByteArray name = QFile::encodeName(pfad);
    if (name.isEmpty() || name.size() >= PATH_MAX)
        return;
    for (int i = 0; i < Plaetze && m_platz < 0; ++i) {
        if (belegt[i].load())
            continue;
        std::memcpy(pfade[i], name.constData(), size_t(name.size()) + 1);
        belegt[i].store(true);
        m_platz = i;
    }
}

Datei::~Datei()
{
    if (m_platz >= 0)
        belegt[m_platz].store(false);
}

SignaleZurueckhalten::SignaleZurueckhalten()
{
    sigset_t halten;
    sigemptyset(&halten);
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&halten, s);
    pthread_sigmask(SIG_BLOCK, &halten, &m_alt);
}

SignaleZurueckhalten::~SignaleZurueckhalten()
{
    pthread_sigmask(SIG_SETMASK, &m_alt, nullptr);
}

} // namespace Aufraeumen
