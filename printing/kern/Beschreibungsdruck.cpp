// The print-out of the product description (see Beschreibungsdruck.h).
#include "Beschreibungsdruck.h"
#include "Inhaltsabfragen.h"
#include "Mauszeiger.h"
#include "TolvarDrucker.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

namespace {

// Layout constants in mm (the page frame and the pictures).
constexpr double Rand = 15;      // left and right margin of text and rules
constexpr double KopfOben = 15;  // top of the header line
constexpr double FussUnten = 20; // bottom of the page-number line above the bottom edge
constexpr double BildX = 16;     // left edge of a picture
constexpr int ZeilenFuerNeuenTeil = 8;

// Round half to even, as the caption size 0.75 x 10 = 7.5 -> 8 asks.
double rundenGerade(double x)
{
    return std::nearbyint(x);
}

bool standardTexte(qint32 ThemenID, QList<QString> &Bezeichnung, QList<QString> &Text)
{
    QList<qint32> ID, Nummer;
    return TexteLesen(Bezeichnung, ID, Nummer, Text, ThemenID);
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

bool Beschreibungsdruck::abbrechenPruefen()
{
    if (dru.abgebrochen())
        return true;
    if (abbruchGewuenscht && abbruchGewuenscht()) {
        dru.DruckAbbrechen();
        return true;
    }
    return false;
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

QSizeF Beschreibungsdruck::BildGroesseMm(const QImage &bild)
{
    // HiMetric (1/100 mm) as the picture object reports it: pixels at the picture's own
    // resolution, 96 dpi when it has none.
    const double dpiX = bild.dotsPerMeterX() > 0 ? bild.dotsPerMeterX() * 0.0254 : 96.0;
    const double dpiY = bild.dotsPerMeterY() > 0 ? bild.dotsPerMeterY() * 0.0254 : 96.0;
    const double himetricB = bild.width() * 2540.0 / dpiX;
    const double himetricH = bild.height() * 2540.0 / dpiY;
    // Read as twips and halved: x 25.4 / 1440 x 0.5.
    return QSizeF(himetricB * 25.4 / 1440.0 * 0.5, himetricH * 25.4 / 1440.0 * 0.5);
}

QSizeF Beschreibungsdruck::BildGroesseMmAufSeite(const QImage &bild, double seitenbreite)
{
    // The picture with its frame (1 mm outside) ends at the right margin at the latest: a
    // wider one would be cut off at the paper's edge, so it is scaled down to that width,
    // keeping its proportions. Its height is not limited (a tall picture is drawn whole).
    QSizeF groesse = BildGroesseMm(bild);
    const double hoechstens = seitenbreite - Rand - 1 - BildX;
    if (hoechstens > 0 && groesse.width() > hoechstens)
        groesse *= hoechstens / groesse.width();
    return groesse;
}

bool Beschreibungsdruck::InhaltSammeln(const DruckAuftrag &a, DruckInhalt &inhalt)
{
    auto aufbereiten = [&](const QString &text) {
        DruckTextAufbereiten(text, inhalt.TeilAnzahl, inhalt.Teile, inhalt.GrafikAnzahl,
                             inhalt.Grafiken, inhalt.GrafikTeil, inhalt.GrafikTitel, a.mbMitGrafik,
                             gsSchriftName, bildQuelle);
    };
    switch (a.miDruckUmfang) {
    case 0:
        inhalt.TeilAnzahl = 1;
        inhalt.Teile.resize(2);
        inhalt.Teile[1] = a.Auswahl;
        break;
    case 1:
        if (a.miAktTextIndex >= 0 && a.miAktTextIndex + 1 < a.msTexteInhalt.size())
            aufbereiten(a.msTexteInhalt[a.miAktTextIndex + 1]);
        break;
    case 2:
        for (int k = 1; k <= a.miTexteAnzahl && k < a.msTexteInhalt.size(); ++k)
            aufbereiten(a.msTexteInhalt[k]);
        break;
    case 3:
        for (int t = 1; t <= a.miThemenAnzahl && t < a.mlThemenIDs.size(); ++t) {
            QList<QString> titel, texte;
            if (!texteQuelle || !texteQuelle(a.mlThemenIDs[t], titel, texte))
                return false;
            ++inhalt.TeilAnzahl;
            inhalt.Teile.resize(inhalt.TeilAnzahl + 1);
            inhalt.Teile[inhalt.TeilAnzahl] =
                Themenueberschrift(a.ThemenTitel.value(t - 1), gsSchriftName);
            for (qsizetype j = 1; j < texte.size(); ++j) {
                melden(QStringLiteral("lese Text ") + titel.value(j));
                aufbereiten(texte[j]);
            }
        }
        break;
    default:
        break;
    }
    return true;
}

void Beschreibungsdruck::SeitenrahmenDrucken(double &Oben, double &Unten)
{
    dru.Schriftname = gsSchriftName;
    dru.Schriftgroesse = giSchriftGroesse;
    dru.Zeilenvorschub = false;
    dru.AktuellesY = KopfOben;
    dru.Fett = true;
    dru.TextDrucken(QStringLiteral("Programmbeschreibung Tolvar-Belna"), Rand);
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
    DruckInhalt inhalt;
    if (!InhaltSammeln(a, inhalt)) {
        MauszeigerSetzen(Zeiger::Normal);
        return Ergebnis::LesenFehlgeschlagen;
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
    if (abbruchGewuenscht && abbruchGewuenscht())
        return Ergebnis::Abgebrochen;
    if (!dru.DruckStarten())
        return Ergebnis::NichtGestartet;

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
        return Ergebnis::Abgebrochen;
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

    for (int i = 1; i <= inhalt.TeilAnzahl; ++i) {
        if (abbrechenPruefen())
            return Ergebnis::Abgebrochen;
        dru.RtfDrucken(inhalt.Teile.value(i), Rand, y, Rand, Unten, ObenFolgeseiten);
        if (abbrechenPruefen())
            return Ergebnis::Abgebrochen;
        y = dru.AktuellesY;
        if (a.mbMitGrafik) {
            for (int j = 1; j <= inhalt.GrafikAnzahl; ++j) {
                if (inhalt.GrafikTeil.value(j) != i)
                    continue;
                if (abbrechenPruefen())
                    return Ergebnis::Abgebrochen;
                const QSizeF groesse =
                    BildGroesseMmAufSeite(inhalt.Grafiken.value(j), dru.Seitenbreite());
                const double h = groesse.height();
                const double w = groesse.width();
                dru.AktuellesY += dru.Zeilenhoehe();
                dru.Schriftgroesse = beschriftung;
                if (dru.AktuellesY + h + dru.Zeilenhoehe() > dru.Seitenhoehe() - Unten) {
                    if (!neueSeite(1))
                        return Ergebnis::Abgebrochen;
                    dru.Schriftgroesse = beschriftung;
                }
                dru.BildDrucken(inhalt.Grafiken[j], BildX, dru.AktuellesY, w, h);
                inhalt.Grafiken[j] = QImage();
                dru.Linie(Rand, dru.AktuellesY - 1, BildX + w + 1, dru.AktuellesY + h + 1, true);
                dru.AktuellesY += h + 1;
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
                        return Ergebnis::Abgebrochen;
                }
                y = dru.AktuellesY;
            }
        }
        if (i < inhalt.TeilAnzahl &&
            dru.AktuellesY + ZeilenFuerNeuenTeil * dru.Zeilenhoehe() > dru.Seitenhoehe() - Unten) {
            if (!neueSeite(0))
                return Ergebnis::Abgebrochen;
            y = dru.AktuellesY;
        }
    }
    if (abbrechenPruefen())
        return Ergebnis::Abgebrochen;
    dru.DruckBeenden();
    return Ergebnis::Gedruckt;
}
