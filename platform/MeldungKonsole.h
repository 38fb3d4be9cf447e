// Message boxes for programs without windows (tools, tests that install nothing): the box is
// printed to stderr. A Retry/Cancel box asks on a terminal and answers Cancel otherwise, so an
// unattended run never loops on Retry.
#pragma once

#include "Meldung.h"

#include <cstdio>

class KonsolenMeldungen : public Meldungsanzeige
{
public:
    // eingabe == nullptr: stdin; interaktiv < 0: decided by isatty() of stdin.
    explicit KonsolenMeldungen(std::FILE *ausgabe = stderr, std::FILE *eingabe = nullptr,
                               int interaktiv = -1);
    int zeigen(const QString &text, int stil, const QString &titel) override;

private:
    std::FILE *m_ausgabe;
    std::FILE *m_eingabe;
    int m_interaktiv;
};
