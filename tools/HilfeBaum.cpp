// Reading a whole help database; see HilfeBaum.h.
#include "HilfeBaum.h"

#include "DatenbankAnsicht.h"
#include "Global.h"
#include "HilfeDatenbank.h"

#include <QFileInfo>
#include <QSet>

namespace {

template <class T> bool gut(const Ergebnis<T> &e, QString &fehler)
{
    if (!e.ok)
        fehler = e.fehler.beschreibung.isEmpty() ? fehlerStandardText(e.fehler.nummer)
                                                 : e.fehler.beschreibung;
    return e.ok;
}

} // namespace

bool HilfeBaum::lesen(const QString &datei, HilfeBaum &baum, QString &fehler)
{
    HilfeDatenbank db(QFileInfo(datei).absoluteFilePath(), QString::fromLatin1(HilfePasswort));
    db.setFehlerpolitik(HilfeDatenbank::still);
    baum = HilfeBaum();
    QSet<QString> vergeben;
    const auto kapitel = db.kapitel();
    if (!gut(kapitel, fehler))
        return false;
    for (const KapitelZeile &k : kapitel.zeilen) {
        Kapitel kk{k.id, k.nummer, k.bezeichnung, {}};
        const auto themen = db.themen(k.id);
        if (!gut(themen, fehler))
            return false;
        for (const ThemaZeile &t : themen.zeilen) {
            Thema tt{t.id, t.nummer, t.bezeichnung, {}};
            const auto texte = db.texte(t.id);
            if (!gut(texte, fehler))
                return false;
            for (const TextZeile &x : texte.zeilen) {
                Abschnitt a{x.id,
                            x.nummer,
                            x.bezeichnung,
                            x.text,
                            DatenbankAnsicht::hilfeNummer(k.nummer, t.nummer, x.nummer),
                            true};
                a.erreichbar = !vergeben.contains(a.hilfeNummer);
                vergeben.insert(a.hilfeNummer);
                tt.abschnitte << a;
            }
            kk.themen << tt;
        }
        baum.kapitel << kk;
    }

    const auto zuordnungen = db.abfragen(QStringLiteral(
        "SELECT WörterIndex.Wort, Kapitel.Nummer, Themen.Nummer, Texte.Nummer FROM "
        "WörterIndex INNER JOIN ZuordnungIndex ON ZuordnungIndex.IndexID = WörterIndex.ID "
        "INNER JOIN Texte ON Texte.ID = ZuordnungIndex.TextID INNER JOIN Themen ON "
        "Themen.ID = Texte.ThemenID INNER JOIN Kapitel ON Kapitel.ID = Themen.KapitelID"));
    if (!gut(zuordnungen, fehler))
        return false;
    for (const Werte &z : zuordnungen.zeilen) {
        QStringList &nummern = baum.stichwoerter[z.value(0).toString()];
        const QString n = DatenbankAnsicht::hilfeNummer(z.value(1).toInt(), z.value(2).toInt(),
                                                        z.value(3).toInt());
        if (!nummern.contains(n))
            nummern << n;
    }
    for (QStringList &nummern : baum.stichwoerter)
        nummern.sort();

    const auto nummern =
        db.abfragen(QStringLiteral("SELECT DISTINCT Nummer FROM Bilder ORDER BY Nummer"));
    if (!gut(nummern, fehler))
        return false;
    for (const Werte &n : nummern.zeilen) {
        const qint64 nummer = n.value(0).toLongLong();
        const auto zeile = db.bild(QString::number(nummer));
        if (!gut(zeile, fehler))
            return false;
        if (!zeile.zeilen.isEmpty())
            baum.bilder << Bild{nummer, zeile.zeilen.first().bezeichnung,
                                zeile.zeilen.first().bild};
    }
    return true;
}
