// Compiling help sources; see HilfeCompiler.h.
#include "HilfeCompiler.h"

#include "QuellParser.h"

bool HilfeCompiler::erstellen(const QString &quellOrdner, const QString &ziel,
                              QStringList &meldungen, DatenbankAufbau::Statistik *statistik,
                              bool streng, Ergebnis *ergebnis)
{
    HilfeQuelle quelle;
    QList<QuellFehler> fehler;
    QuellParser::lesen(quellOrdner, quelle, fehler);
    Ergebnis e;
    for (const QuellFehler &f : std::as_const(fehler)) {
        meldungen << f.alsText();
        ++(f.warnung ? e.warnungen : e.fehler);
    }
    if (ergebnis)
        *ergebnis = e;
    if (e.fehler > 0 || (streng && e.warnungen > 0))
        return false;
    QString text;
    if (!DatenbankAufbau::schreiben(quelle, ziel, &text, statistik)) {
        meldungen << QStringLiteral("%1: Datenbank nicht geschrieben: %2").arg(ziel, text);
        return false;
    }
    return true;
}
