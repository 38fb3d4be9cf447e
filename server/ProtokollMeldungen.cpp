// See ProtokollMeldungen.h.
#include "ProtokollMeldungen.h"

#include <QSet>

#include <cstdio>

int ProtokollMeldungen::zeigen(const QString &text, int stil, const QString &titel)
{
    m_texte.append(text);
    return m_weiter ? m_weiter->zeigen(text, stil, titel) : Meldung::Abbrechen;
}

void EinmalProtokollieren(const QString &zeile)
{
    static QSet<QString> geschrieben;
    QString text = zeile.left(200);
    for (QChar &c : text)
        if (!c.isPrint())
            c = u'?';
    if (geschrieben.contains(text))
        return;
    geschrieben.insert(text);
    std::fprintf(stderr, "belnahilfe: %s\n", text.toUtf8().constData());
    std::fflush(stderr);
}
