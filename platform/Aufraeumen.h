// Files that a process writes under a temporary name and must not leave behind when it is
// ended by a signal (SIGTERM, SIGINT, SIGHUP). Their paths are kept in a small fixed table that
// a signal handler may walk: it only unlinks, then lets the signal end the process as it would
// have without the handler. Files on the normal ways (success, failure) are the writer's own
// business; an entry only covers the time between two statements that a signal may interrupt.
#pragma once

#include <QString>

#include <csignal>

namespace Aufraeumen {

// Installs the handler for SIGTERM, SIGINT and SIGHUP. Once per process, before any entry.
void signaleAbfangen();

// Holds a path in the table for its lifetime (no entry when the table is full or the path too
// long; the file is then only not removed on a signal).
class Datei
{
public:
    explicit Datei(const QString &pfad);
    ~Datei();
    Datei(const Datei &) = delete;
    Datei &operator=(const Datei &) = delete;

private:
    int m_platz = -1;
};

// Holds SIGTERM, SIGINT and SIGHUP back for its lifetime (they arrive when it ends), for a file
// whose name is known only once it exists: created and entered in the table under one guard,
// it cannot be left behind between the two.
class SignaleZurueckhalten
{
public:
    SignaleZurueckhalten();
    ~SignaleZurueckhalten();
    SignaleZurueckhalten(const SignaleZurueckhalten &) = delete;
    SignaleZurueckhalten &operator=(const SignaleZurueckhalten &) = delete;

private:
    sigset_t m_alt;
};

} // namespace Aufraeumen
