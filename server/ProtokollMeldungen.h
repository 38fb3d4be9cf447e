// A message display that keeps the text of every box shown and hands the box on to the real
// display (dialogs, or the console where no one can answer). The server's status object
// reports the texts, so scripts and tests see what the user was told.
#pragma once

#include "Meldung.h"

#include <QStringList>

#include <memory>

class ProtokollMeldungen : public Meldungsanzeige
{
public:
    explicit ProtokollMeldungen(Meldungsanzeige *weiter) : m_weiter(weiter) {}
    int zeigen(const QString &text, int stil, const QString &titel) override;
    const QStringList &texte() const { return m_texte; }

private:
    Meldungsanzeige *m_weiter;
    QStringList m_texte;
};

// The display that the environment asks for: with TOLVAR_MELDUNGEN=konsole message boxes are
// printed on standard error (runs without anybody to answer), else shown as dialogs.
std::unique_ptr<Meldungsanzeige> meldungsanzeigeNachUmgebung();

// Writes a line to the server's log (its standard error, which the bus that started it or the
// session's journal keeps), each distinct line once per server run. Characters that could
// forge or break lines are replaced and long texts are cut.
void EinmalProtokollieren(const QString &zeile);
