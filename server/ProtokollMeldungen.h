// A message display that keeps the text of every box shown and hands the box on to the real
// display (dialogs, or the console where no one can answer). The server's status object
// reports the texts, so scripts and tests see what the user was told.
#pragma once

#include "Meldung.h"

#include <QStringList>

class ProtokollMeldungen : public Meldungsanzeige
{
public:
    explicit ProtokollMeldungen(Meldungsanzeige *weiter) : m_weiter(weiter) { }
    int zeigen(const QString &text, int stil, const QString &titel) override;
    const QStringList &texte() const { return m_texte; }

private:
    Meldungsanzeige *m_weiter;
    QStringList m_texte;
};
