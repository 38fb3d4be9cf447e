// Compiling help sources; see HilfeCompiler.h.
#include "HilfeCompiler.h"

#include "QuellParser.h"

bool HilfeCompiler::erstellen(const QString &quellOrdner, const QString &ziel,
                              QStringList &meldungen, DatenbankAufbau::Statistik *statistik)
{
    HilfeQuelle quelle;
    QList<QuellFehler> fehler;
    if (!QuellParser::lesen(quellOrdner, quelle, fehler)) {
        for (const QuellFehler &f : std::as_const(fehler))
            meldungen << f.alsText();
        return false;
    }
    QString text;
    if (!DatenbankAufbau::schreiben(quelle, ziel, &text, statistik)) {
        meldungen << QStringLiteral("%1: Datenbank nicht geschrieben: %2").arg(ziel, text);
        return false;
    }
    return true;
}
