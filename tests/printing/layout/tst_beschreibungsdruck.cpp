// The page layout of the description print-out against a recording printer control: header,
// rules, footer and body band on every page, pictures and captions, the eight-line rule and the
// scopes.
#include "Beschreibungsdruck.h"
#include "RtfLeser.h"
#include "TolvarDruckerProtokoll.h"
#include "ZipHilfe.h"

#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

using Art = TolvarDruckerProtokoll::Art;
using Eintrag = TolvarDruckerProtokoll::Eintrag;
using Ergebnis = Beschreibungsdruck::Ergebnis;

namespace {

constexpr double eps = 0.05;
#define NAHE(ist, soll) QCOMPARE_LE(std::abs((ist) - (soll)), eps)

// An RTF section of n numbered lines, each its own paragraph; bild inserts a picture link
// behind line bild (1-based) when > 0.
QString abschnitt(const QString &name, int n, int bild = 0, const QString &nummer = "00001")
{
    QString rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    for (int i = 1; i <= n; ++i) {
        rtf += QStringLiteral("%1 Zeile %2").arg(name).arg(i);
        if (i == bild)
            rtf += QStringLiteral(" \\{P%1\\}Bild\\{PE\\}").arg(nummer);
        rtf += "\\par ";
    }
    return rtf + "}";
}

struct Lauf
{
    TolvarDruckerProtokoll dru;
    Beschreibungsdruck druck{dru, "Arial", 10};
    QStringList status;
    QMap<QString, QSize> bilder; // picture number -> pixel size
    QMap<QString, QString> bildTitel;
    int gelesen = 0; // pictures asked for

    Lauf()
    {
        druck.status = [this](const QString &s) { status << s; };
        druck.bildQuelle = [this](const QString &n, QByteArray &b, QString &t) {
            ++gelesen;
            if (!bilder.contains(n))
                return false;
            b = zipErstellen({{"Temp.bmp", bmpErstellen(bilder[n], Qt::darkBlue)}});
            t = bildTitel.value(n, "Titel " + n);
            return true;
        };
    }
};

DruckAuftrag auftrag(int umfang, const QStringList &texte, bool grafik = false)
{
    DruckAuftrag a;
    a.miDruckUmfang = qint16(umfang);
    a.msDruckTitel = "Rechnungen schreiben";
    a.mbMitGrafik = grafik;
    for (const QString &t : texte)
        a.msTexteInhalt.append(t);
    a.miTexteAnzahl = qint16(texte.size());
    a.miAktTextIndex = 0;
    return a;
}

// The line height of Arial on the recorder.
double zeilenhoehe(double groesse = 10, bool fett = false)
{
    TolvarDruckerProtokoll d;
    d.Schriftname = "Arial";
    d.Schriftgroesse = groesse;
    d.Fett = fett;
    return d.Zeilenhoehe();
}

const Eintrag *textAuf(const QList<Eintrag> &l, const QString &text)
{
    for (const Eintrag &e : l)
        if (e.art == Art::Text && e.text == text)
            return &e;
    return nullptr;
}

} // namespace

class TestBeschreibungsdruck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Every page: header at 15 mm, title ending at the right margin, rule 1 mm below the
    // header line, "Seite N" centred with its line ending 20 mm above the bottom, the footer
    // rule 1 mm above it, and all rich text inside the band between the rules (1 mm away). A
    // topic without sections (0 lines) prints one page with header and footer only.
    void seitenrahmen_data()
    {
        QTest::addColumn<int>("zeilen");
        QTest::addColumn<int>("seiten");
        QTest::newRow("Thema ohne Abschnitte") << 0 << 1;
        QTest::newRow("kurz") << 5 << 1;
        QTest::newRow("laenger als eine Seite") << 150 << 3;
    }
    void seitenrahmen()
    {
        QFETCH(int, zeilen);
        QFETCH(int, seiten);
        Lauf l;
        const QStringList texte = zeilen ? QStringList{abschnitt("A", zeilen)} : QStringList{};
        QCOMPARE(l.druck.BeschreibungDrucken(auftrag(zeilen ? 1 : 2, texte)), Ergebnis::Gedruckt);
        QVERIFY(zeilen ? l.dru.seitenAnzahl() >= seiten : l.dru.seitenAnzahl() == 1);
        const double breite = 210, hoehe = 297;
        QStringList gedruckt;
        for (int s = 1; s <= l.dru.seitenAnzahl(); ++s) {
            const QList<Eintrag> seite = l.dru.aufSeite(s);
            const Eintrag *kopf = textAuf(seite, "Programmbeschreibung Tolvar-Belna");
            QVERIFY2(kopf, qPrintable(QString("Seite %1 ohne Kopf").arg(s)));
            NAHE(kopf->mm.left(), 15);
            NAHE(kopf->mm.top(), 15);
            QVERIFY(kopf->fett);
            QCOMPARE(kopf->groesse, 10.0);
            const Eintrag *titel = textAuf(seite, "Rechnungen schreiben");
            QVERIFY(titel);
            NAHE(titel->mm.right(), (breite - 15));
            NAHE(titel->mm.top(), 15);
            QVERIFY(titel->fett);
            const Eintrag *nummer = textAuf(seite, QString("Seite %1").arg(s));
            QVERIFY2(nummer, qPrintable(QString("Seite %1 ohne Seitenzahl").arg(s)));
            QVERIFY(!nummer->fett);
            NAHE(nummer->mm.center().x(), breite / 2);
            NAHE(nummer->mm.top(), (hoehe - 20 - zeilenhoehe()));

            QList<Eintrag> linien;
            for (const Eintrag &e : seite)
                if (e.art == Art::Linie)
                    linien << e;
            QCOMPARE(linien.size(), 2);
            const double kopfLinie = 15 + zeilenhoehe() + 1; // NeueZeile after bold is cleared
            const double fussLinie = hoehe - 20 - zeilenhoehe() - 1;
            NAHE(linien[0].mm.top(), kopfLinie);
            NAHE(linien[0].mm.left(), 15);
            NAHE(linien[0].mm.right(), (breite - 15));
            NAHE(linien[1].mm.top(), fussLinie);
            for (const Eintrag &e : seite) {
                if (e.art != Art::Rtf)
                    continue;
                QCOMPARE_GE(e.mm.top(), kopfLinie + 1 - eps);
                QCOMPARE_LE(e.mm.bottom(), fussLinie - 1 + eps);
                NAHE(e.mm.left(), 15);
                QCOMPARE_LE(std::abs(e.mm.width() - (breite - 30)), 0.5);
                gedruckt << e.text.split('\n', Qt::SkipEmptyParts);
            }
        }
        // The body starts right below the header rule on the first page.
        const QList<Eintrag> rtf = l.dru.eintraege(Art::Rtf);
        QCOMPARE(rtf.isEmpty(), zeilen == 0);
        if (zeilen)
            NAHE(rtf.first().mm.top(), 15 + zeilenhoehe() + 2);
        // Every line once, in order, none lost at a page break.
        QCOMPARE(gedruckt.size(), zeilen);
        for (int i = 0; i < zeilen; ++i)
            QCOMPARE(gedruckt[i], QString("A Zeile %1").arg(i + 1));
        // The status line counted the pages.
        QCOMPARE(l.status.first(), QString("Seite 1"));
        QCOMPARE(l.status.last(), QString("Seite %1").arg(l.dru.seitenAnzahl()));
        QCOMPARE(l.dru.eintraege().last().art, Art::Ende);
    }

    // A picture follows its line's part: one line below, at x 16, half its HiMetric size read
    // as twips, framed 1 mm outside, captioned "Abb.: " (normal) + title (bold) at 8 points.
    void bildMitRahmenUndBeschriftung()
    {
        Lauf l;
        l.bilder["00007"] = QSize(300, 150);
        l.bildTitel["00007"] = "Rechnungsmaske";
        QCOMPARE(l.druck.BeschreibungDrucken(auftrag(1, {abschnitt("B", 6, 2, "00007")}, true)),
                 Ergebnis::Gedruckt);
        const QList<Eintrag> bilder = l.dru.eintraege(Art::Bild);
        QCOMPARE(bilder.size(), 1);
        const Eintrag b = bilder[0];
        QCOMPARE(b.text, QString("300x150"));
        QCOMPARE_LE(std::abs(b.mm.width() - 300 * 0.233333), 0.05);
        QCOMPARE_LE(std::abs(b.mm.height() - 150 * 0.233333), 0.05);
        NAHE(b.mm.left(), 16);
        const QList<Eintrag> rtf = l.dru.eintraege(Art::Rtf);
        QCOMPARE(rtf.size(), 2); // cut behind the link's line
        QCOMPARE(rtf[0].text, QString("B Zeile 1\nB Zeile 2 Bild"));
        // one line (of the 10-point font) between the part and the picture
        NAHE(b.mm.top(), (rtf[0].mm.bottom() + zeilenhoehe()));
        const QList<Eintrag> rahmen = l.dru.eintraege(Art::Rahmen);
        QCOMPARE(rahmen.size(), 1);
        NAHE(rahmen[0].mm.left(), 15);
        NAHE(rahmen[0].mm.top(), (b.mm.top() - 1));
        NAHE(rahmen[0].mm.right(), (b.mm.right() + 1));
        NAHE(rahmen[0].mm.bottom(), (b.mm.bottom() + 1));
        const Eintrag *abb = textAuf(l.dru.eintraege(), "Abb.: ");
        const Eintrag *titel = textAuf(l.dru.eintraege(), "Rechnungsmaske");
        QVERIFY(abb && titel);
        QCOMPARE(abb->groesse, 8.0);
        QVERIFY(!abb->fett);
        QCOMPARE(titel->groesse, 8.0);
        QVERIFY(titel->fett);
        NAHE(abb->mm.left(), 15);
        NAHE(abb->mm.top(), (b.mm.bottom() + 1));
        NAHE(titel->mm.left(), abb->mm.right());
        NAHE(titel->mm.top(), abb->mm.top());
        // Then the bold 8-point line feed and an empty 10-point line before the next part.
        QCOMPARE_LE(
            std::abs(rtf[1].mm.top() - (abb->mm.top() + zeilenhoehe(8, true) + zeilenhoehe())),
            0.1);
        QCOMPARE(rtf[1].text, QString("B Zeile 3\nB Zeile 4\nB Zeile 5\nB Zeile 6"));
    }

    // A picture wider than the body is scaled down, keeping its proportions, to end with its
    // frame at the right margin; one taller than the body goes whole to a new page at Oben + 1.
    void bildAufDemPapier_data()
    {
        QTest::addColumn<QSize>("pixel");
        QTest::addColumn<double>("breite");
        QTest::addColumn<int>("papier");
        QTest::addColumn<int>("seite");
        QTest::newRow("genau 178 mm") << QSize(763, 300) << 178.0 << 9 << 1;
        QTest::newRow("1024 Pixel auf A5") << QSize(1024, 768) << 148.0 - 32 << 11 << 1;
        QTest::newRow("hoeher als der Koerper") << QSize(200, 1400) << 200 * 0.233333 << 9 << 2;
    }
    void bildAufDemPapier()
    {
        QFETCH(QSize, pixel);
        QFETCH(double, breite);
        QFETCH(int, papier);
        QFETCH(int, seite);
        Lauf l;
        l.bilder["00001"] = pixel;
        DruckAuftrag a = auftrag(1, {abschnitt("W", 2, 1)}, true);
        a.miPapierGroesse = qint16(papier);
        QCOMPARE(l.druck.BeschreibungDrucken(a), Ergebnis::Gedruckt);
        const QList<Eintrag> bilder = l.dru.eintraege(Art::Bild);
        QCOMPARE(bilder.size(), 1);
        const QRectF b = bilder[0].mm;
        QCOMPARE(bilder[0].seite, seite);
        QVERIFY(textAuf(l.dru.aufSeite(seite), QString("Seite %1").arg(seite)));
        if (seite > 1)
            NAHE(b.top(), 15 + zeilenhoehe() + 2 + 1);
        NAHE(b.left(), 16);
        QCOMPARE_LE(std::abs(b.width() - breite), 0.1);
        QCOMPARE_LE(std::abs(b.height() / b.width() - double(pixel.height()) / pixel.width()),
                    0.001);
        const QList<Eintrag> rahmen = l.dru.eintraege(Art::Rahmen);
        QCOMPARE(rahmen.size(), 1);
        QCOMPARE_LE(rahmen[0].mm.right(), l.dru.Seitenbreite() - 15 + eps);
    }

    // A part after the first starts on a new page exactly when fewer than eight lines are left
    // in the body behind the previous part.
    void achtZeilenRegel_data()
    {
        QTest::addColumn<int>("zeilenErsterTeil");
        for (int n = 40; n <= 62; n += 2)
            QTest::addRow("%d Zeilen", n) << n;
    }
    void achtZeilenRegel()
    {
        QFETCH(int, zeilenErsterTeil);
        Lauf l;
        QCOMPARE(l.druck.BeschreibungDrucken(
                     auftrag(2, {abschnitt("D", zeilenErsterTeil), abschnitt("E", 3)})),
                 Ergebnis::Gedruckt);
        const double koerperEnde = 297 - 20 - zeilenhoehe() - 2;
        const QList<Eintrag> rtf = l.dru.eintraege(Art::Rtf);
        // The last slice before E's first ends part D (it may hold only its closing empty line).
        const Eintrag *letzterD = nullptr, *ersterE = nullptr;
        for (const Eintrag &e : rtf) {
            if (e.text.startsWith("E")) {
                ersterE = &e;
                break;
            }
            letzterD = &e;
        }
        QVERIFY(letzterD && ersterE);
        const bool passt = letzterD->mm.bottom() + 8 * zeilenhoehe() <= koerperEnde;
        QCOMPARE(ersterE->seite == letzterD->seite, passt);
        if (!passt)
            NAHE(ersterE->mm.top(), (15 + zeilenhoehe() + 2));
    }

    // The marked text is printed as one part, without the section; when it begins inside a
    // numbered list item, with the item's number and indent, as the help window shows it.
    void markierungInListe()
    {
        QTextDocument quelle;
        RtfLesen(QString("{\\rtf1\\ansi\\f0\\fs20 \\pard\\fi-360\\li720\\tx720 1.\\tab erster "
                         "Punkt\\par 2.\\tab zweiter Punkt\\par \\pard Danach\\par }"),
                 quelle);
        QTextCursor c(&quelle);
        c.setPosition(int(quelle.toPlainText().indexOf("zweiter")) + 4);
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        Lauf l;
        DruckAuftrag a = auftrag(0, {abschnitt("H", 2, 1)});
        a.Auswahl = Beschreibungsdruck::Auswahl(c);
        QCOMPARE(l.druck.BeschreibungDrucken(a), Ergebnis::Gedruckt);
        QCOMPARE(l.dru.eintraege(Art::Rtf).size(), 1);
        QCOMPARE(l.dru.eintraege(Art::Rtf)[0].text, QString("2.\tter Punkt\nDanach"));
        QTextDocument gedruckt;
        QTextCursor(&gedruckt).insertFragment(a.Auswahl);
        const QTextBlockFormat punkt = quelle.begin().next().blockFormat();
        QCOMPARE(gedruckt.begin().blockFormat().leftMargin(), punkt.leftMargin());
        QCOMPARE(gedruckt.begin().blockFormat().textIndent(), punkt.textIndent());
    }
};

QTEST_MAIN(TestBeschreibungsdruck)
#include "tst_beschreibungsdruck.moc"
