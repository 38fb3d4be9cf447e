// Print preparation of a section text (see DruckTextAufbereiten.h).
#include "DruckTextAufbereiten.h"
#include "BildEntpacken.h"
#include "TextFeld.h"
#include "Verweismarkup.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#if __has_include("HilfeDatenbank.h")
#include "HilfeDatenbank.h"
#define TOLVAR_MIT_BILDLESEN 1
#endif

BildQuelle standardBildQuelle()
{
#ifdef TOLVAR_MIT_BILDLESEN
    return [](const QString &Nummer, QByteArray &Bild, QString &Bezeichnung) {
        const Ergebnis<BildZeile> e = standardDatenbank().bild(Nummer);
        if (!e.ok || e.zeilen.isEmpty())
            return false;
        Bild = e.zeilen.first().bild;
        Bezeichnung = e.zeilen.first().bezeichnung;
        return true;
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

QTextDocumentFragment absatzFragment(QTextDocument &doc, int von, int bis)
{
    QTextCursor c(&doc);
    c.setPosition(von);
    c.setPosition(bis, QTextCursor::KeepAnchor);
    QTextDocumentFragment fragment = c.selection();
    const QTextBlock erster = doc.findBlock(von);
    if (von == 0 || erster.position() != von)
        return fragment;
    // A fragment copies the format of a paragraph only when the break before it is selected
    // too (or it is the document's first): the first paragraph gets it here.
    QTextDocument teil;
    QTextCursor t(&teil);
    t.insertFragment(fragment);
    t.setPosition(0);
    t.setBlockFormat(erster.blockFormat());
    t.setBlockCharFormat(erster.charFormat());
    return QTextDocumentFragment(&teil);
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

    // The section is read up to where the help window cuts it, and ends with the same note:
    // the print-out shows what the window shows, in bounded time and memory.
    QTextDocument arbeit;
    TextFeld feld(&arbeit, false);
    RtfLeser::Grenzen grenzen;
    grenzen.maxZeichen = Verweismarkup::MaxZeichen;
    const bool gekuerzt = feld.setzeRtf(Text, grenzen).gekuerzt;
    feld.setzeSelStart(0);
    feld.setzeSelLaenge(feld.laenge());
    feld.setzeSelSchrift(gsSchriftName);

    // Text links have no effect on paper: only their tags go. Then the picture links' tags,
    // all in one pass each (the document is laid out by nobody while it is prepared); the
    // positions of the picture links are those of the final text.
    Verweismarkup::tagsEntfernen(feld, Verweismarkup::Tags::NurText, nullptr);
    std::vector<Verweismarkup::Fundstelle> bildVerweise;
    Verweismarkup::tagsEntfernen(feld, Verweismarkup::Tags::NurBild, &bildVerweise);
    if (gekuerzt) {
        Verweismarkup::gekuerztHinweisAnfuegen(arbeit);
        feld.invalidieren();
    }

    // The text is cut behind the line of each picture link whose picture is printed; every
    // picture of a line follows the part that ends with that line.
    const QString text = feld.text();
    QTextCursor cursor(&arbeit);
    int teilAnfang = 0; // document position where the next part begins
    const auto teilBis = [&](int dokEnde) {
        teilAnhaengen(absatzFragment(arbeit, teilAnfang, dokEnde));
        teilAnfang = dokEnde;
    };
    // The first paragraph break at or after a position. The links come in text order, so the
    // last answer serves every link up to that break: one paragraph with thousands of links
    // is searched once, not once per link.
    int letzteSuche = -1, letzterUmbruch = -1;
    const auto umbruchAb = [&](int ab) {
        if (letzteSuche < 0 || ab < letzteSuche || (letzterUmbruch >= 0 && ab > letzterUmbruch))
            letzterUmbruch = int(text.indexOf(QLatin1String("\r\n"), ab));
        letzteSuche = ab;
        return letzterUmbruch;
    };
    for (const Verweismarkup::Fundstelle &verweis : bildVerweise) {
        if (!mbMitGrafik)
            break;
        if (abbruch && abbruch())
            return false;
        DruckBild bild;
        if (auto it = gelesen.constFind(verweis.Nummer); it != gelesen.constEnd()) {
            bild = *it;
        } else {
            QByteArray archiv;
            QString bezeichnung;
            if (quelle && quelle(verweis.Nummer, archiv, bezeichnung)) {
                // A picture that cannot be decoded keeps no size: it is printed as a
                // placeholder with its title.
                QSize pixel;
                if (!BildKopfLesen(archiv, pixel))
                    pixel = QSize();
                bild = DruckBild{verweis.Nummer, archiv, pixel, bezeichnung};
            }
            // A picture without a row is remembered too, and left out each time.
            gelesen.insert(verweis.Nummer, bild);
        }
        if (bild.Nummer.isEmpty())
            continue; // no such picture: the link is left out, the text goes on
        // Cut behind the line that holds the link (its last character); without a break
        // behind it the picture follows the last part. A further link of a line already cut
        // belongs to the part that ends with that line.
        const int n = umbruchAb(std::max(0, verweis.Ende - 1));
        int dokEnde = n < 0 ? -1 : feld.zuDokument(n + 2);
        // In a table the cut goes behind the whole (outermost) table: a part that ended in a
        // cell would take whole rows of the table, and the next part the rest of them again.
        cursor.setPosition(feld.zuDokument(verweis.Anfang));
        if (QTextTable *tabelle = cursor.currentTable()) {
            for (QTextFrame *f = tabelle->parentFrame(); f; f = f->parentFrame())
                if (auto *aussen = qobject_cast<QTextTable *>(f))
                    tabelle = aussen;
            dokEnde = tabelle->lastPosition() + 1;
        }
        const bool zeileGeschnitten = dokEnde >= 0 && dokEnde <= teilAnfang;
        ++GrafikAnzahl;
        Bilder.resize(std::max<qsizetype>(Bilder.size(), GrafikAnzahl + 1));
        GrafikTeil.resize(std::max<qsizetype>(GrafikTeil.size(), GrafikAnzahl + 1));
        GrafikTitel.resize(std::max<qsizetype>(GrafikTitel.size(), GrafikAnzahl + 1));
        Bilder[GrafikAnzahl] = bild;
        GrafikTeil[GrafikAnzahl] = qint16(zeileGeschnitten ? TeilAnzahl : TeilAnzahl + 1);
        GrafikTitel[GrafikAnzahl] = bild.Titel;
        if (dokEnde > teilAnfang)
            teilBis(dokEnde);
    }
    cursor.movePosition(QTextCursor::End);
    // An empty last part is a break of its own, not in the format of the text before it.
    if (teilAnfang >= cursor.position())
        cursor.setCharFormat(QTextCharFormat());
    cursor.insertFragment(QTextDocumentFragment::fromPlainText(QStringLiteral("\n")));
    teilBis(arbeit.characterCount() - 1);
    return true;
}

void DruckTextAufbereiten(const QString &Text, qint16 &TeilAnzahl,
                          QList<QTextDocumentFragment> &Teile, qint16 &GrafikAnzahl,
                          QList<QImage> &Grafiken, QList<qint16> &GrafikTeil,
                          QList<QString> &GrafikTitel, bool mbMitGrafik,
                          const QString &gsSchriftName, const BildQuelle &quelle)
{
    // Decoded here, one picture at a time; one that cannot be decoded is left out with its
    // entries (its part stays cut).
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
