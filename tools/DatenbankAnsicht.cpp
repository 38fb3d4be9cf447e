// Views of a help database through the query layer; see DatenbankAnsicht.h.
#include "DatenbankAnsicht.h"
#include "DatenbankOrt.h"

#include "HilfeDatenbank.h"
#include "Zeichenkette.h"

namespace {

QString zweistellig(qint32 n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

QString DatenbankAnsicht::hilfeNummer(qint32 kapitel, qint32 thema, qint32 text)
{
    return zweistellig(kapitel) + QLatin1Char('.') + zweistellig(thema) + QLatin1Char('.') +
           zweistellig(text);
}

bool DatenbankAnsicht::kapitel(const QString &datenbank, QStringList &zeilen)
{
    const DatenbankOrt ort(datenbank);
    HilfeDatenbank &db = standardDatenbank();
    const Ergebnis<KapitelZeile> kapitel = db.kapitel();
    if (!kapitel.ok)
        return false;
    for (const KapitelZeile &k : kapitel.zeilen) {
        zeilen << zweistellig(k.nummer) + QLatin1Char(' ') + k.bezeichnung;
        const Ergebnis<ThemaZeile> themen = db.themen(k.id);
        if (!themen.ok)
            return false;
        for (const ThemaZeile &t : themen.zeilen) {
            zeilen << QStringLiteral("  ") + zweistellig(k.nummer) + QLatin1Char('.') +
                          zweistellig(t.nummer) + QLatin1Char(' ') + t.bezeichnung;
            const Ergebnis<TextZeile> texte = db.texte(t.id);
            if (!texte.ok)
                return false;
            for (const TextZeile &x : texte.zeilen) {
                zeilen << QStringLiteral("    ") + hilfeNummer(k.nummer, t.nummer, x.nummer) +
                              QLatin1Char(' ') + x.bezeichnung;
            }
        }
    }
    return true;
}

bool DatenbankAnsicht::stichwort(const QString &datenbank, const QString &suchtext,
                                 QStringList &zeilen)
{
    const DatenbankOrt ort(datenbank);
    HilfeDatenbank &db = standardDatenbank();
    const Ergebnis<WortZeile> woerter = db.woerter(suchtext);
    if (!woerter.ok)
        return false;
    for (const WortZeile &w : woerter.zeilen) {
        zeilen << w.wort;
        const Ergebnis<WortTextZeile> texte = db.texteZumWort(w.id);
        if (!texte.ok)
            return false;
        for (const WortTextZeile &z : texte.zeilen)
            zeilen << QStringLiteral("  ") + z.nummer + QLatin1Char('\t') + z.zeile;
    }
    return true;
}

bool DatenbankAnsicht::abschnitt(const QString &datenbank, const QString &nummer, QString &titel,
                                 QString &text)
{
    const DatenbankOrt ort(datenbank);
    // Each part is read as a whole number, as the help window reads a help number.
    qint32 teil[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        teil[i] = Zeichenkette(nummer, i + 1, 1, QStringLiteral(".")).toInt(&ok);
        if (!ok)
            return false;
    }
    // The first row of each level with the number asked for.
    const auto finden = [](const auto &e, qint32 nummer) {
        for (qsizetype i = 0; e.ok && i < e.zeilen.size(); ++i)
            if (e.zeilen[i].nummer == nummer)
                return i;
        return qsizetype(-1);
    };
    HilfeDatenbank &db = standardDatenbank();
    const Ergebnis<KapitelZeile> kapitel = db.kapitel();
    const qsizetype k = finden(kapitel, teil[0]);
    if (k < 0)
        return false;
    const Ergebnis<ThemaZeile> themen = db.themen(kapitel.zeilen[k].id);
    const qsizetype t = finden(themen, teil[1]);
    if (t < 0)
        return false;
    const Ergebnis<TextZeile> texte = db.texte(themen.zeilen[t].id);
    const qsizetype x = finden(texte, teil[2]);
    if (x < 0)
        return false;
    titel = texte.zeilen[x].bezeichnung;
    text = texte.zeilen[x].text;
    return true;
}

bool DatenbankAnsicht::bild(const QString &datenbank, const QString &nummer, QByteArray &archiv,
                            QString &titel)
{
    const DatenbankOrt ort(datenbank);
    const Ergebnis<BildZeile> e = standardDatenbank().bild(nummer);
    if (!e.ok || e.zeilen.isEmpty())
        return false;
    archiv = e.zeilen.first().bild;
    titel = e.zeilen.first().bezeichnung;
    return true;
}
