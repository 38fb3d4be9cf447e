// Writing the help database; see DatenbankAufbau.h.
#include "DatenbankAufbau.h"

#include "BildArchiv.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "RtfErzeuger.h"

#include <QHash>
#include <QSet>

bool DatenbankAufbau::schreiben(const HilfeQuelle &quelle, const QString &ziel, QString *fehler,
                                Statistik *statistik)
{
    Statistik st;
    HilfeDatenbankSchreiber db;
    if (!db.oeffnen(ziel, QString::fromLatin1(HilfePasswort), fehler))
        return false;
    auto abbrechen = [&](const QString &text) {
        if (fehler)
            *fehler = text;
        return false; // the writer discards its unfinished file on destruction
    };

    QHash<QString, qint32> wortIDs; // case-folded keyword -> WörterIndex.ID
    int kapitelLfd = 0;
    for (const QuellKapitel &k : quelle.kapitel) {
        const qint32 kapitelID = db.kapitelEinfuegen(k.nummer, k.titel, ++kapitelLfd);
        if (kapitelID == 0)
            return abbrechen(db.letzterFehler());
        ++st.kapitel;
        int themaLfd = 0;
        for (const QuellThema &t : k.themen) {
            const qint32 themaID = db.themaEinfuegen(kapitelID, t.nummer, t.titel, ++themaLfd);
            if (themaID == 0)
                return abbrechen(db.letzterFehler());
            ++st.themen;
            int textLfd = 0;
            for (const QuellAbschnitt &a : t.abschnitte) {
                const QString text = a.rtfUnveraendert ? a.rtf : RtfErzeuger::erzeugen(a.bloecke);
                const qint32 textID = db.textEinfuegen(themaID, a.nummer, a.titel, text, ++textLfd);
                if (textID == 0)
                    return abbrechen(db.letzterFehler());
                ++st.texte;
                // A keyword named twice for one section leads there once.
                QSet<qint32> schonZugeordnet;
                for (const QString &wort : a.stichwoerter) {
                    const QString schluessel = wort.toCaseFolded();
                    qint32 wortID = wortIDs.value(schluessel);
                    if (wortID == 0) {
                        wortID = db.wortEinfuegen(wort);
                        if (wortID == 0)
                            return abbrechen(db.letzterFehler());
                        wortIDs.insert(schluessel, wortID);
                        ++st.woerter;
                    }
                    if (schonZugeordnet.contains(wortID))
                        continue;
                    schonZugeordnet.insert(wortID);
                    db.zuordnungEinfuegen(wortID, textID);
                    ++st.zuordnungen;
                }
            }
        }
    }
    for (const QuellBild &b : quelle.bilder) {
        QString packFehler;
        const QByteArray archiv = !b.archiv.isEmpty() ? b.archiv
                                  : !b.bmp.isEmpty()  ? BildArchiv::bmpPacken(b.bmp, &packFehler)
                                                      : BildArchiv::packen(b.bild, &packFehler);
        if (archiv.isEmpty())
            return abbrechen(QStringLiteral("%1: %2").arg(b.datei, packFehler));
        db.bildEinfuegen(b.nummer, archiv, b.titel);
        ++st.bilder;
    }
    if (!db.abschliessen(fehler))
        return false;
    if (statistik)
        *statistik = st;
    return true;
}
