// See ProtokollMeldungen.h.
#include "ProtokollMeldungen.h"

#include "MeldungKonsole.h"
#include "QtMeldungsanzeige.h"

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

std::unique_ptr<Meldungsanzeige> meldungsanzeigeNachUmgebung()
{
    if (qgetenv("TOLVAR_MELDUNGEN") == "konsole")
        return std::make_unique<KonsolenMeldungen>(stderr, nullptr, 0);
    return std::make_unique<QtMeldungsanzeige>();
}
