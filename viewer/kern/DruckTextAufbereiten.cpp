// Print preparation of a section text (see DruckTextAufbereiten.h).
#include "DruckTextAufbereiten.h"
#include "BildEntpacken.h"
#include "TextFeld.h"
#include "Verweismarkup.h"

#include <QTextDocument>

#if __has_include("Inhaltsabfragen.h")
#include "Inhaltsabfragen.h"
#define TOLVAR_MIT_BILDLESEN 1
#endif

BildQuelle standardBildQuelle()
{
#ifdef TOLVAR_MIT_BILDLESEN
    return [](const QString &Nummer, QByteArray &Bild, QString &Bezeichnung) {
        return BildLesen(Nummer, Bild, Bezeichnung);
    };
#else
    return [](const QString &, QByteArray &, QString &) { return false; };
#endif
}

template <typename T> static void elementNullSichern(QList<T> &liste)
{
    if (liste.isEmpty())
        liste.append(T());
}

bool DruckTextZerlegen(const QString &Text, qint16 &TeilAnzahl, QList<QTextDocumentFragment> &Teile,
                       qint16 &GrafikAnzahl, QList<DruckBild> &Bilder, QList<qint16> &GrafikTeil,
                       QList<QString> &GrafikTitel, bool mbMitGrafik, const QString &gsSchriftName,
                       const BildQuelle &quelle, QHash<QString, DruckBild> *bekannt,
                       const std::function<bool()> &abbruch)
{
    elementNullSichern(Teile);
    elementNullSichern(Bilder);
    elementNullSichern(GrafikTeil);
    elementNullSichern(GrafikTitel);
    auto teilAnhaengen = [&](const QTextDocumentFragment &teil) {
        ++TeilAnzahl;
        Teile.resize(std::max<qsizetype>(Teile.size(), TeilAnzahl + 1));
        Teile[TeilAnzahl] = teil;
    };
    // Pictures read in this call, when the caller keeps none across calls.
    QHash<QString, DruckBild> eigene;
    QHash<QString, DruckBild> &gelesen = bekannt ? *bekannt : eigene;

    QTextDocument arbeit;
    TextFeld feld(&arbeit, false);
    feld.setzeRtf(Text);
    feld.setzeSelStart(0);
    feld.setzeSelLaenge(feld.laenge());
    feld.setzeSelSchrift(gsSchriftName);

    // Text links have no effect on paper: only their tags go.
    Verweismarkup::tagsEntfernen(feld, true);

    // text follows the box's plain text through every cut below, so it is read only once.
    QString text = feld.text();
    int suchAb = 0; // 0-based; "{P" before it are not tags (cut short)
    for (;;) {
        const int p = int(text.indexOf(QLatin1String("{P"), suchAb));
        if (p < 0) {
            feld.setzeSelStart(feld.laenge());
            feld.fuegeEin(QTextDocumentFragment::fromPlainText(QStringLiteral("\n")));
            teilAnhaengen(feld.inhalt());
            return true;
        }
        if (!Verweismarkup::oeffnerGueltig(text, p, 8)) {
            suchAb = p + 1;
            continue;
        }
        const QString BildNummer = text.mid(p + 2, 5);
        feld.setzeSelStart(p);
        feld.setzeSelLaenge(8);
        feld.loescheAuswahl();
        text.remove(p, 8);
        suchAb = std::max(0, p - 1);
        const int e = int(text.indexOf(QLatin1String("{PE}"), p));
        if (e < 0)
            continue; // no closing tag: no link, no picture
        feld.setzeSelStart(e);
        feld.setzeSelLaenge(4);
        feld.loescheAuswahl();
        text.remove(e, 4);
        if (!mbMitGrafik)
            continue;

        if (abbruch && abbruch())
            return false;
        DruckBild bild;
        if (auto it = gelesen.constFind(BildNummer); it != gelesen.constEnd()) {
            bild = *it;
        } else {
            QByteArray archiv;
            QString bezeichnung;
            QSize pixel;
            if (quelle && quelle(BildNummer, archiv, bezeichnung) && BildKopfLesen(archiv, pixel))
                bild = DruckBild{BildNummer, archiv, pixel, bezeichnung};
            // A picture that cannot be read is remembered too, and left out each time.
            gelesen.insert(BildNummer, bild);
        }
        if (bild.Pixel.isEmpty())
            continue; // the picture is left out, the text goes on
        ++GrafikAnzahl;
        Bilder.resize(std::max<qsizetype>(Bilder.size(), GrafikAnzahl + 1));
        GrafikTeil.resize(std::max<qsizetype>(GrafikTeil.size(), GrafikAnzahl + 1));
        GrafikTitel.resize(std::max<qsizetype>(GrafikTitel.size(), GrafikAnzahl + 1));
        Bilder[GrafikAnzahl] = bild;
        GrafikTeil[GrafikAnzahl] = qint16(TeilAnzahl + 1);
        GrafikTitel[GrafikAnzahl] = bild.Titel;

        // Cut behind the line that holds the link; the picture follows that part.
        const int n = int(text.indexOf(QLatin1String("\r\n"), std::max(0, e - 1)));
        if (n < 0)
            continue;
        feld.setzeSelStart(0);
        feld.setzeSelLaenge(n + 2);
        teilAnhaengen(feld.selInhalt());
        feld.loescheAuswahl();
        text.remove(0, n + 2);
        suchAb = std::max(0, suchAb - (n + 2));
    }
}

void DruckTextAufbereiten(const QString &Text, qint16 &TeilAnzahl,
                          QList<QTextDocumentFragment> &Teile, qint16 &GrafikAnzahl,
                          QList<QImage> &Grafiken, QList<qint16> &GrafikTeil,
                          QList<QString> &GrafikTitel, bool mbMitGrafik,
                          const QString &gsSchriftName, const BildQuelle &quelle)
{
    // Decoded here, one picture at a time; one that only its header could be read of is left
    // out with its entries.
    QList<DruckBild> bilder;
    qint16 anzahl = 0;
    QList<qint16> teil;
    QList<QString> titel;
    DruckTextZerlegen(Text, TeilAnzahl, Teile, anzahl, bilder, teil, titel, mbMitGrafik,
                      gsSchriftName, quelle);
    elementNullSichern(Grafiken);
    elementNullSichern(GrafikTeil);
    elementNullSichern(GrafikTitel);
    for (int i = 1; i <= anzahl; ++i) {
        QImage bild;
        if (!BildEntpacken(bilder[i].Archiv, bild))
            continue;
        ++GrafikAnzahl;
        Grafiken.resize(std::max<qsizetype>(Grafiken.size(), GrafikAnzahl + 1));
        GrafikTeil.resize(std::max<qsizetype>(GrafikTeil.size(), GrafikAnzahl + 1));
        GrafikTitel.resize(std::max<qsizetype>(GrafikTitel.size(), GrafikAnzahl + 1));
        Grafiken[GrafikAnzahl] = bild;
        GrafikTeil[GrafikAnzahl] = teil[i];
        GrafikTitel[GrafikAnzahl] = titel[i];
    }
}
