// The print-out of the product description (see Beschreibungsdruck.h).
#include "Beschreibungsdruck.h"
#include "BildEntpacken.h"
#include "HilfeDatenbank.h"
#include "Mauszeiger.h"
#include "TolvarDrucker.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>
#include <list>

namespace {

// Layout constants in mm (the page frame and the pictures).
constexpr double Rand = 15;      // left and right margin of text and rules
constexpr double KopfOben = 15;  // top of the header line
constexpr double FussUnten = 20; // bottom of the page-number line above the bottom edge
constexpr double BildX = 16;     // left edge of a picture
constexpr int ZeilenFuerNeuenTeil = 8;
// The product name at the left of the page header, and the least space between it and the title.
const QString KopfProdukt = QStringLiteral("Programmbeschreibung Tolvar-Belna");
constexpr double KopfAbstand = 5;
// The frame printed for a picture whose archive or bitmap cannot be read (70 x 14 mm).
constexpr QSize PlatzhalterPixel(300, 60);
// A pixel on a 96-dpi screen in HiMetric (2540 / 96), read as twips (x 25.4 / 1440) and
// halved: 0.2333 mm.
constexpr double MmProPixel = 2540.0 / 96.0 * 25.4 / 1440.0 * 0.5;

// Round half to even, as the caption size 0.75 x 10 = 7.5 -> 8 asks.
double rundenGerade(double x)
{
    return std::nearbyint(x);
}

bool standardTexte(qint32 ThemenID, QList<QString> &Bezeichnung, QList<QString> &Text)
{
    const Ergebnis<TextZeile> e = standardDatenbank().texte(ThemenID);
    Bezeichnung = QList<QString>(1);
    Text = QList<QString>(1);
    for (const TextZeile &z : e.zeilen) {
        Bezeichnung.append(z.bezeichnung);
        Text.append(z.text);
    }
    return e.ok;
}

} // namespace

Beschreibungsdruck::Beschreibungsdruck(TolvarDrucker &dru, const QString &SchriftName,
                                       qint16 SchriftGroesse)
    : texteQuelle(standardTexte), dru(dru), gsSchriftName(SchriftName),
      giSchriftGroesse(SchriftGroesse)
{
}

void Beschreibungsdruck::melden(const QString &text)
{
    if (status)
        status(text);
}

bool Beschreibungsdruck::abbruchGefragt()
{
    if (!m_abgebrochen && abbruchGewuenscht && abbruchGewuenscht())
        m_abgebrochen = true;
    return m_abgebrochen;
}

bool Beschreibungsdruck::abbrechenPruefen()
{
    if (dru.abgebrochen())
        return true;
    if (abbruchGefragt()) {
        dru.DruckAbbrechen();
        return true;
    }
    return false;
}

Beschreibungsdruck::Ergebnis Beschreibungsdruck::abbruchErgebnis() const
{
    // The printer control ends a job by itself only when it fails (a page it cannot begin).
    return m_abgebrochen || dru.Fehler().isEmpty() ? Ergebnis::Abgebrochen
                                                   : Ergebnis::Fehlgeschlagen;
}

QString Beschreibungsdruck::fehler() const
{
    return m_fehler;
}

QTextDocumentFragment Beschreibungsdruck::Themenueberschrift(const QString &titel,
                                                             const QString &schrift)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat f;
    f.setFontFamilies({schrift});
    f.setFontPointSize(18);
    f.setFontWeight(QFont::Bold);
    c.setCharFormat(f);
    c.insertText(titel);
    c.movePosition(QTextCursor::End);
    c.insertBlock(QTextBlockFormat(), f);
    return QTextDocumentFragment(&doc);
}

QTextDocumentFragment Beschreibungsdruck::Auswahl(const QTextCursor &auswahl)
{
    QTextDocument *quelle = auswahl.document();
    if (!quelle || !auswahl.hasSelection() || auswahl.hasComplexSelection() ||
        auswahl.currentTable())
        return QTextDocumentFragment(auswahl);
    const int start = auswahl.selectionStart();
    const QTextBlock absatz = quelle->findBlock(start);
    const int davor = start - absatz.position();
    if (davor <= 0)
        return QTextDocumentFragment(auswahl);
    // The whole first paragraph is taken and the unmarked text before the selection cut out
    // again; a list item keeps its number: the text up to its first tab.
    int behalten = 0;
    if (absatz.blockFormat().textIndent() < 0) {
        const int tab = int(absatz.text().indexOf(QLatin1Char('\t')));
        if (tab >= 0 && tab < davor)
            behalten = tab + 1;
    }
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertFragment(absatzFragment(*quelle, absatz.position(), auswahl.selectionEnd()));
    c.setPosition(0);
    c.setBlockFormat(absatz.blockFormat());
    c.setPosition(behalten);
    c.setPosition(davor, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    return QTextDocumentFragment(&doc);
}

QSizeF Beschreibungsdruck::BildGroesseMm(const QSize &pixel)
{
    return QSizeF(pixel.width() * MmProPixel, pixel.height() * MmProPixel);
}

QSizeF Beschreibungsdruck::BildGroesseMmAufSeite(const QSize &pixel, double seitenbreite)
{
    // The picture with its frame (1 mm outside) ends at the right margin at the latest: a
    // wider one would be cut off at the paper's edge, so it is scaled down to that width,
    // keeping its proportions. Its height is not limited (a tall picture is drawn whole).
    QSizeF groesse = BildGroesseMm(pixel);
    const double hoechstens = seitenbreite - Rand - 1 - BildX;
    if (hoechstens > 0 && groesse.width() > hoechstens)
        groesse *= hoechstens / groesse.width();
    return groesse;
}

bool Beschreibungsdruck::InhaltSammeln(const DruckAuftrag &a, DruckInhalt &inhalt)
{
    // Every picture is read and checked once per print-out, however many links name it.
    QHash<QString, DruckBild> bekannt;
    qint16 abschnitt = 0;
    const auto abbruch = [this] { return abbruchGefragt(); };
    // One section: its parts are numbered with it. False when the user cancelled.
    auto aufbereiten = [&](const QString &text) {
        if (abbruchGefragt())
            return false;
        ++abschnitt;
        const bool weiter =
            DruckTextZerlegen(text, inhalt.TeilAnzahl, inhalt.Teile, inhalt.GrafikAnzahl,
                              inhalt.Grafiken, inhalt.GrafikTeil, inhalt.GrafikTitel, a.mbMitGrafik,
                              gsSchriftName, bildQuelle, &bekannt, abbruch);
        inhalt.TeilAbschnitt.resize(inhalt.Teile.size(), abschnitt);
        return weiter;
    };
    switch (a.miDruckUmfang) {
    case 0:
        inhalt.TeilAnzahl = 1;
        inhalt.Teile.resize(2);
        inhalt.Teile[1] = a.Auswahl;
        inhalt.TeilAbschnitt.resize(2, 1);
        break;
    case 1:
        if (a.miAktTextIndex >= 0 && a.miAktTextIndex + 1 < a.msTexteInhalt.size())
            if (!aufbereiten(a.msTexteInhalt[a.miAktTextIndex + 1]))
                return false;
        break;
    case 2:
        for (int k = 1; k <= a.miTexteAnzahl && k < a.msTexteInhalt.size(); ++k)
            if (!aufbereiten(a.msTexteInhalt[k]))
                return false;
        break;
    case 3:
        for (int t = 1; t <= a.miThemenAnzahl && t < a.mlThemenIDs.size(); ++t) {
            if (abbruchGefragt())
                return false;
            QList<QString> titel, texte;
            if (!texteQuelle || !texteQuelle(a.mlThemenIDs[t], titel, texte))
                return false;
            // The heading belongs to the topic's first section.
            ++inhalt.TeilAnzahl;
            inhalt.Teile.resize(inhalt.TeilAnzahl + 1);
            inhalt.Teile[inhalt.TeilAnzahl] =
                Themenueberschrift(a.ThemenTitel.value(t - 1), gsSchriftName);
            inhalt.TeilAbschnitt.resize(inhalt.Teile.size(), qint16(abschnitt + 1));
            for (qsizetype j = 1; j < texte.size(); ++j) {
                if (abbruchGefragt())
                    return false;
                melden(QStringLiteral("lese Text ") + titel.value(j));
                if (!aufbereiten(texte[j]))
                    return false;
            }
        }
        break;
    default:
        break;
    }
    return true;
}

double Beschreibungsdruck::KopfTitelPlatz(const TolvarDrucker &dru)
{
    return dru.Seitenbreite() - 2 * Rand - dru.Textbreite(KopfProdukt) - KopfAbstand;
}

void Beschreibungsdruck::SeitenrahmenDrucken(double &Oben, double &Unten)
{
    dru.Schriftname = gsSchriftName;
    dru.Schriftgroesse = giSchriftGroesse;
    dru.Zeilenvorschub = false;
    dru.AktuellesY = KopfOben;
    dru.Fett = true;
    dru.TextDrucken(KopfProdukt, Rand);
    dru.TextDrucken(msDruckTitel, dru.Seitenbreite() - dru.Textbreite(msDruckTitel) - Rand);
    dru.Fett = false;
    dru.NeueZeile();
    dru.AktuellesY += 1;
    dru.Linie(Rand, dru.AktuellesY, dru.Seitenbreite() - Rand, dru.AktuellesY);
    dru.AktuellesY += 1;
    Oben = dru.AktuellesY;

    dru.AktuellesY = dru.Seitenhoehe() - FussUnten - dru.Zeilenhoehe();
    const QString seite = QStringLiteral("Seite ") + QString::number(dru.Seitennummer());
    dru.TextDrucken(seite, dru.Seitenbreite() / 2 - dru.Textbreite(seite) / 2);
    dru.AktuellesY -= 1;
    dru.Linie(Rand, dru.AktuellesY, dru.Seitenbreite() - Rand, dru.AktuellesY);
    dru.AktuellesY -= 1;
    Unten = dru.Seitenhoehe() - dru.AktuellesY;
    melden(seite);
}

Beschreibungsdruck::Ergebnis Beschreibungsdruck::BeschreibungDrucken(const DruckAuftrag &a)
{
    MauszeigerSetzen(Zeiger::Sanduhr);
    m_abgebrochen = false;
    m_fehler.clear();
    DruckInhalt inhalt;
    if (!InhaltSammeln(a, inhalt)) {
        MauszeigerSetzen(Zeiger::Normal);
        return m_abgebrochen ? Ergebnis::Abgebrochen : Ergebnis::LesenFehlgeschlagen;
    }
    return InhaltDrucken(a, inhalt);
}

Beschreibungsdruck::Ergebnis Beschreibungsdruck::InhaltDrucken(const DruckAuftrag &a,
                                                               DruckInhalt &inhalt)
{
    msDruckTitel = a.msDruckTitel;
    melden(QStringLiteral("Seite 1"));
    dru.Geraetename = a.msDruckerName;
    dru.Papierformat = a.miPapierGroesse;
    dru.Papierschacht = a.miPapierZufuhr;
    dru.Kopien = 1;
    dru.Querformat = false;
    dru.Aufloesung = 1;
    dru.Dokumentname = QStringLiteral("Tolvar Belna - ") + QStringLiteral("Beschreibung");
    dru.PdfDatei = a.PdfDatei;
    MauszeigerSetzen(Zeiger::Normal);
    m_fehler.clear();
    if (abbruchGefragt())
        return Ergebnis::Abgebrochen;
    if (!dru.DruckStarten()) {
        m_fehler = dru.Fehler();
        return Ergebnis::NichtGestartet;
    }
    const auto ergebnisAbbruch = [this] {
        const Ergebnis e = abbruchErgebnis();
        if (e == Ergebnis::Fehlgeschlagen)
            m_fehler = dru.Fehler();
        return e;
    };

    // Pages that RtfDrucken begins by itself get the same frame; a cancel request seen there
    // ends the job before anything more is drawn.
    const QMetaObject::Connection rahmen =
        QObject::connect(&dru, &TolvarDrucker::SeiteBegonnen, [this] {
            if (abbrechenPruefen())
                return;
            double o = 0, u = 0;
            SeitenrahmenDrucken(o, u);
            abbrechenPruefen(); // ends RtfDrucken before it draws on this page
        });
    struct Trennen
    {
        QMetaObject::Connection c;
        ~Trennen() { QObject::disconnect(c); }
    } trennen{rahmen};

    double Oben = 0, Unten = 0;
    SeitenrahmenDrucken(Oben, Unten);
    if (abbrechenPruefen())
        return ergebnisAbbruch();
    double y = Oben;
    double ObenFolgeseiten = Oben;

    auto neueSeite = [&](double neuesY) {
        if (abbrechenPruefen())
            return false;
        dru.NeueSeite();
        SeitenrahmenDrucken(Oben, Unten);
        if (abbrechenPruefen())
            return false;
        dru.AktuellesY = Oben + neuesY;
        return true;
    };
    const double beschriftung = rundenGerade(giSchriftGroesse * 0.75);

    // Decoded pictures kept for further links to them, the least recently drawn first, within
    // bildBudget bytes. A picture that can be decoded is always drawn: the oldest ones go to
    // make room, and one larger than the budget is decoded alone and released once drawn.
    struct Dekodiert
    {
        QString nummer;
        QImage bild;
    };
    std::list<Dekodiert> vorrat;
    QHash<QString, std::list<Dekodiert>::iterator> imVorrat;
    qint64 belegt = 0;
    const auto bytesVon = [](const QImage &b) { return qint64(b.sizeInBytes()); };
    // The picture of entry j; null when it cannot be decoded.
    auto bildHolen = [&](int j) {
        const DruckBild &b = inhalt.Grafiken[j];
        if (b.Pixel.isEmpty())
            return QImage();
        if (auto it = imVorrat.constFind(b.Nummer); it != imVorrat.constEnd()) {
            vorrat.splice(vorrat.end(), vorrat, *it);
            return vorrat.back().bild;
        }
        const qint64 bytes = qint64(b.Pixel.width()) * b.Pixel.height() * 4;
        while (!vorrat.empty() && belegt + bytes > bildBudget) {
            belegt -= bytesVon(vorrat.front().bild);
            imVorrat.remove(vorrat.front().nummer);
            vorrat.pop_front();
        }
        QImage bild;
        if (!BildEntpacken(b.Archiv, bild))
            return QImage();
        if (belegt + bytesVon(bild) <= bildBudget) {
            belegt += bytesVon(bild);
            vorrat.push_back({b.Nummer, bild});
            imVorrat.insert(b.Nummer, std::prev(vorrat.end()));
        }
        return bild;
    };

    for (int i = 1; i <= inhalt.TeilAnzahl; ++i) {
        if (abbrechenPruefen())
            return ergebnisAbbruch();
        dru.RtfDrucken(inhalt.Teile.value(i), Rand, y, Rand, Unten, ObenFolgeseiten);
        inhalt.Teile[i] = QTextDocumentFragment();
        if (abbrechenPruefen())
            return ergebnisAbbruch();
        y = dru.AktuellesY;
        if (a.mbMitGrafik) {
            for (int j = 1; j <= inhalt.GrafikAnzahl; ++j) {
                if (inhalt.GrafikTeil.value(j) != i)
                    continue;
                if (abbrechenPruefen())
                    return ergebnisAbbruch();
                const QSize pixel = inhalt.Grafiken[j].Pixel.isEmpty() ? PlatzhalterPixel
                                                                       : inhalt.Grafiken[j].Pixel;
                const QSizeF groesse = BildGroesseMmAufSeite(pixel, dru.Seitenbreite());
                const double h = groesse.height();
                const double w = groesse.width();
                dru.AktuellesY += dru.Zeilenhoehe();
                dru.Schriftgroesse = beschriftung;
                if (dru.AktuellesY + h + dru.Zeilenhoehe() > dru.Seitenhoehe() - Unten) {
                    if (!neueSeite(1))
                        return ergebnisAbbruch();
                    dru.Schriftgroesse = beschriftung;
                }
                const QImage bild = bildHolen(j);
                const double bildOben = dru.AktuellesY;
                if (!bild.isNull()) {
                    dru.BildDrucken(bild, BildX, bildOben, w, h);
                } else {
                    // In its place: the title inside the frame.
                    dru.Zeilenvorschub = false;
                    dru.AktuellesY = bildOben + 1;
                    dru.TextDrucken(inhalt.GrafikTitel.value(j), BildX + 1);
                    dru.AktuellesY = bildOben;
                }
                inhalt.Grafiken[j] = DruckBild();
                dru.Linie(Rand, bildOben - 1, BildX + w + 1, bildOben + h + 1, true);
                dru.AktuellesY = bildOben + h + 1;
                dru.Zeilenvorschub = false;
                dru.TextDrucken(QStringLiteral("Abb.: "), Rand);
                dru.Fett = true;
                dru.Zeilenvorschub = true;
                dru.TextDrucken(inhalt.GrafikTitel.value(j));
                dru.Fett = false;
                dru.Schriftgroesse = giSchriftGroesse;
                dru.NeueZeile();
                if (j < inhalt.GrafikAnzahl &&
                    dru.AktuellesY + ZeilenFuerNeuenTeil * dru.Zeilenhoehe() >
                        dru.Seitenhoehe() - Unten) {
                    if (!neueSeite(0))
                        return ergebnisAbbruch();
                }
                y = dru.AktuellesY;
            }
        }
        if (i < inhalt.TeilAnzahl &&
            dru.AktuellesY + ZeilenFuerNeuenTeil * dru.Zeilenhoehe() > dru.Seitenhoehe() - Unten) {
            if (!neueSeite(0))
                return ergebnisAbbruch();
            y = dru.AktuellesY;
        }
    }
    if (abbrechenPruefen())
        return ergebnisAbbruch();
    if (!dru.DruckBeenden()) {
        m_fehler = dru.Fehler();
        return Ergebnis::Fehlgeschlagen;
    }
    return Ergebnis::Gedruckt;
}
