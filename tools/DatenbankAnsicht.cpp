// Views of a help database through the query layer; see DatenbankAnsicht.h.
#include "DatenbankAnsicht.h"
#include "DatenbankOrt.h"

#include "Datenbank.h"
#include "Global.h"
#include "Inhaltsabfragen.h"
#include "Stichwortabfragen.h"
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
    QList<QString> kTitel;
    QList<qint32> kID, kNummer;
    if (!KapitelLesen(kTitel, kID, kNummer))
        return false;
    for (qsizetype k = 1; k < kID.size(); ++k) {
        zeilen << zweistellig(kNummer[k]) + QLatin1Char(' ') + kTitel[k];
        QList<QString> tTitel;
        QList<qint32> tID, tNummer;
        if (!ThemenLesen(tTitel, tID, tNummer, kID[k]))
            return false;
        for (qsizetype t = 1; t < tID.size(); ++t) {
            zeilen << QStringLiteral("  ") + zweistellig(kNummer[k]) + QLatin1Char('.') +
                          zweistellig(tNummer[t]) + QLatin1Char(' ') + tTitel[t];
            QList<QString> xTitel, xText;
            QList<qint32> xID, xNummer;
            if (!TexteLesen(xTitel, xID, xNummer, xText, tID[t]))
                return false;
            for (qsizetype x = 1; x < xID.size(); ++x) {
                zeilen << QStringLiteral("    ") + hilfeNummer(kNummer[k], tNummer[t], xNummer[x]) +
                              QLatin1Char(' ') + xTitel[x];
            }
        }
    }
    return true;
}

bool DatenbankAnsicht::stichwort(const QString &datenbank, const QString &suchtext,
                                 QStringList &zeilen)
{
    const DatenbankOrt ort(datenbank);
    QList<QString> woerter;
    QList<qint32> ids;
    if (!WoerterSuchen(suchtext, woerter, ids))
        return false;
    for (qsizetype w = 1; w < ids.size(); ++w) {
        zeilen << woerter[w];
        QList<QString> zeile, nummer;
        QList<qint32> textID;
        if (!TexteZumWort(ids[w], zeile, textID, nummer))
            return false;
        for (qsizetype i = 1; i < textID.size(); ++i)
            zeilen << QStringLiteral("  ") + nummer[i] + QLatin1Char('\t') + zeile[i];
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
    QList<QString> kTitel, tTitel, xTitel, xText;
    QList<qint32> kID, kNummer, tID, tNummer, xID, xNummer;
    if (!KapitelLesen(kTitel, kID, kNummer))
        return false;
    const qsizetype k = kNummer.indexOf(teil[0], 1);
    if (k < 1 || !ThemenLesen(tTitel, tID, tNummer, kID[k]))
        return false;
    const qsizetype t = tNummer.indexOf(teil[1], 1);
    if (t < 1 || !TexteLesen(xTitel, xID, xNummer, xText, tID[t]))
        return false;
    const qsizetype x = xNummer.indexOf(teil[2], 1);
    if (x < 1)
        return false;
    titel = xTitel[x];
    text = xText[x];
    return true;
}

bool DatenbankAnsicht::bild(const QString &datenbank, const QString &nummer, QByteArray &archiv,
                            QString &titel)
{
    const DatenbankOrt ort(datenbank);
    return BildLesen(nummer, archiv, titel);
}
