// The page layout of the description print-out against a recording printer control: header,
// rules, footer and body band on every page, pictures and captions, the eight-line rule, the
// scopes, cancelling and jobs that cannot begin or read their texts.
#include "Beschreibungsdruck.h"
#include "RtfLeser.h"
#include "TolvarDruckerProtokoll.h"
#include "ZipArchiv.h"
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

QByteArray archiv(QSize pixel)
{
    return zipErstellen({{"Temp.bmp", bmpErstellen(pixel, Qt::darkBlue)}});
}

struct Lauf
{
    TolvarDruckerProtokoll dru;
    Beschreibungsdruck druck{dru, "Arial", 10};
    QStringList status;
    QMap<QString, QSize> bilder; // picture number -> pixel size
    QMap<QString, QString> bildTitel;
    QMap<QString, QByteArray> archive; // picture number -> stored archive as it is
    int gelesen = 0;                   // pictures asked for

    Lauf()
    {
        druck.status = [this](const QString &s) { status << s; };
        druck.bildQuelle = [this](const QString &n, QByteArray &b, QString &t) {
            ++gelesen;
            if (!bilder.contains(n) && !archive.contains(n))
                return false;
            b = archive.contains(n) ? archive[n] : archiv(bilder[n]);
            t = bildTitel.value(n, "Titel " + n);
            return true;
        };
    }
};

DruckAuftrag auftrag(int umfang, const QStringList &texte, bool grafik = false, int akt = 0)
{
    DruckAuftrag a;
    a.miDruckUmfang = qint16(umfang);
    a.msDruckTitel = "Rechnungen schreiben";
    a.mbMitGrafik = grafik;
    for (const QString &t : texte)
        a.msTexteInhalt.append(t);
    a.miTexteAnzahl = qint16(texte.size());
    a.miAktTextIndex = qint16(akt);
    return a;
}

// The line height of Arial 10 and 8 on the recorder.
struct Masse
{
    double zeile, zeileKlein;
};

Masse masse()
{
    TolvarDruckerProtokoll d;
    d.Schriftname = "Arial";
    d.Schriftgroesse = 10;
    Masse m;
    d.Fett = false;
    m.zeile = d.Zeilenhoehe();
    d.Fett = true;
    d.Schriftgroesse = 8;
    m.zeileKlein = d.Zeilenhoehe();
    return m;
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
        QTest::newRow("sehr lang") << 400 << 7;
    }
    void seitenrahmen()
    {
        QFETCH(int, zeilen);
        QFETCH(int, seiten);
        Lauf l;
        const QStringList texte = zeilen ? QStringList{abschnitt("A", zeilen)} : QStringList{};
        QCOMPARE(l.druck.BeschreibungDrucken(auftrag(zeilen ? 1 : 2, texte)), Ergebnis::Gedruckt);
        const Masse m = masse();
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
            NAHE(nummer->mm.top(), (hoehe - 20 - m.zeile));

            QList<Eintrag> linien;
            for (const Eintrag &e : seite)
                if (e.art == Art::Linie)
                    linien << e;
            QCOMPARE(linien.size(), 2);
            const double kopfLinie = 15 + m.zeile + 1; // NeueZeile after bold is cleared
            const double fussLinie = hoehe - 20 - m.zeile - 1;
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
            NAHE(rtf.first().mm.top(), 15 + m.zeile + 2);
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
        const Masse m = masse();
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
        NAHE(b.mm.top(), (rtf[0].mm.bottom() + m.zeile));
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
        QCOMPARE_LE(std::abs(rtf[1].mm.top() - (abb->mm.top() + m.zeileKlein + m.zeile)), 0.1);
        QCOMPARE(rtf[1].text, QString("B Zeile 3\nB Zeile 4\nB Zeile 5\nB Zeile 6"));
    }

    // A picture wider than the body is scaled down, keeping its proportions, so that it and
    // its frame end at the right margin (nothing is cut off at the paper's edge); narrower
    // ones keep their size. A4: 210 mm, margin 15, picture at 16, frame 1 mm outside. A picture
    // taller than the body goes to a new page at Oben + 1 and is drawn whole.
    void bildAufDemPapier_data()
    {
        QTest::addColumn<QSize>("pixel");
        QTest::addColumn<double>("breite");
        QTest::addColumn<int>("papier");
        QTest::addColumn<int>("seite");
        QTest::newRow("passt") << QSize(700, 300) << 700 * 0.233333 << 9 << 1;
        QTest::newRow("genau 178 mm") << QSize(763, 300) << 178.0 << 9 << 1;
        QTest::newRow("1024 Pixel") << QSize(1024, 768) << 178.0 << 9 << 1;
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
            NAHE(b.top(), 15 + masse().zeile + 2 + 1);
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
        const Masse m = masse();
        const double koerperEnde = 297 - 20 - m.zeile - 2;
        const QList<Eintrag> rtf = l.dru.eintraege(Art::Rtf);
        // The last slice before E's first ends part D (it may hold only D's closing empty
        // line).
        const Eintrag *letzterD = nullptr, *ersterE = nullptr;
        for (const Eintrag &e : rtf) {
            if (e.text.startsWith("E")) {
                ersterE = &e;
                break;
            }
            letzterD = &e;
        }
        QVERIFY(letzterD && ersterE);
        const bool passt = letzterD->mm.bottom() + 8 * m.zeile <= koerperEnde;
        QCOMPARE(ersterE->seite == letzterD->seite, passt);
        if (!passt)
            NAHE(ersterE->mm.top(), (15 + m.zeile + 2));
    }

    // The pictures of the links of one line lie one below the other after that line, with
    // frame and caption each, whether a break follows the line or not; the line is printed
    // without its tags. Without pictures the section is one part and no picture is read.
    void bilderEinerZeile_data()
    {
        QTest::addColumn<QString>("rtf");
        QTest::addColumn<bool>("grafik");
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<int>("anzahl");
        const QString umbruch =
            "{\\rtf1\\ansi\\f0\\fs20 Bild \\{P00001\\}Mahnlauf\\{PE\\} und "
            "\\{P00002\\}Bank\\{PE\\} und \\{P00003\\}Export\\{PE\\} Ende\\par Rest}";
        QTest::newRow("letzte Zeile")
            << "{\\rtf1\\ansi\\f0\\fs20 Eins \\{P00001\\}a\\{PE\\} und \\{P00002\\}b\\{PE\\}}"
            << true << "Eins a und b" << 2;
        QTest::newRow("Umbruch dahinter")
            << umbruch << true << "Bild Mahnlauf und Bank und Export Ende" << 3;
        QTest::newRow("ohne Grafik")
            << umbruch << false << "Bild Mahnlauf und Bank und Export Ende\nRest" << 0;
    }
    void bilderEinerZeile()
    {
        QFETCH(QString, rtf);
        QFETCH(bool, grafik);
        QFETCH(QString, zeile);
        QFETCH(int, anzahl);
        Lauf l;
        l.bilder["00001"] = QSize(100, 80);
        l.bilder["00002"] = QSize(120, 60);
        l.bilder["00003"] = QSize(90, 40);
        QCOMPARE(l.druck.BeschreibungDrucken(auftrag(1, {rtf}, grafik)), Ergebnis::Gedruckt);
        QCOMPARE(l.gelesen == 0, !grafik);
        const QList<Eintrag> teile = l.dru.eintraege(Art::Rtf);
        QCOMPARE(teile.value(0).text, zeile);
        const QList<Eintrag> bilder = l.dru.eintraege(Art::Bild);
        QCOMPARE(bilder.size(), anzahl);
        QCOMPARE(l.dru.eintraege(Art::Rahmen).size(), anzahl);
        for (int k = 1; k < anzahl; ++k)
            QVERIFY(bilder[k].mm.top() > bilder[k - 1].mm.bottom() + 1);
        // The text after the line follows its last picture.
        if (teile.size() > 1)
            QVERIFY(teile[1].mm.top() > bilder.last().mm.bottom());
        // frame (3) + a caption (2) per picture
        QCOMPARE(l.dru.eintraege(Art::Text).count(), 3 + 2 * anzahl);
    }

    // Every picture that can be decoded is drawn, however far a section's pictures exceed the
    // budget of decoded pictures; only one that cannot be decoded (damaged, or its bitmap
    // beyond the archive's member limit) is a frame with its title in it.
    void bildOderPlatzhalter_data()
    {
        QTest::addColumn<QStringList>("bilder"); // per line: "B x H" pixels or an archive kind
        QTest::addColumn<int>("gezeichnet");
        QTest::addColumn<int>("platzhalter");
        QTest::newRow("fuenf ueber dem Budget")
            << QStringList{"300x300", "310x300", "320x300", "330x300", "340x300"} << 5 << 0;
        QTest::newRow("beschaedigt") << QStringList{"300x300", "kaputt", "310x300"} << 2 << 1;
        QTest::newRow("ueber der Mitgliedsgrenze") << QStringList{"gross", "300x300"} << 1 << 1;
    }
    void bildOderPlatzhalter()
    {
        QFETCH(QStringList, bilder);
        QFETCH(int, gezeichnet);
        QFETCH(int, platzhalter);
        Lauf l;
        // Room for two of the pictures at a time.
        l.druck.bildBudget = 2 * 340 * 300 * 4;
        QString rtf = "{\\rtf1\\ansi\\f0\\fs20 ";
        for (int i = 0; i < bilder.size(); ++i) {
            const QString nummer = QStringLiteral("%1").arg(i + 1, 5, 10, QLatin1Char('0'));
            if (bilder[i] == "kaputt")
                l.archive[nummer] = "kaputt";
            else if (bilder[i] == "gross")
                l.archive[nummer] =
                    zipErstellen({{"Temp.bmp", QByteArray(ZipArchiv::MaxGroesse + 1, '\0')}});
            else
                l.bilder[nummer] =
                    QSize(bilder[i].section('x', 0, 0).toInt(), bilder[i].section('x', 1).toInt());
            rtf += QStringLiteral("Zeile \\{P%1\\}Bild\\{PE\\}\\par ").arg(nummer);
        }
        QCOMPARE(l.druck.BeschreibungDrucken(auftrag(1, {rtf + "}"}, true)), Ergebnis::Gedruckt);
        const QList<Eintrag> rahmen = l.dru.eintraege(Art::Rahmen);
        QCOMPARE(l.dru.eintraege(Art::Bild).size(), gezeichnet);
        QCOMPARE(rahmen.size(), gezeichnet + platzhalter);
        for (int i = 0; i < bilder.size(); ++i) {
            // The title inside the frame and in the caption, or in the caption only.
            const QString titel = QStringLiteral("Titel %1").arg(i + 1, 5, 10, QLatin1Char('0'));
            const bool ohneBild = bilder[i] == "kaputt" || bilder[i] == "gross";
            int n = 0;
            for (const Eintrag &e : l.dru.eintraege(Art::Text))
                n += e.text == titel;
            QCOMPARE(n, ohneBild ? 2 : 1);
        }
    }

    // The chapter scope prints each topic's heading (18 pt bold) as its own part, reports the
    // texts it reads, and prints nothing when a topic cannot be read.
    void kapitel()
    {
        Lauf l;
        DruckAuftrag a = auftrag(3, {});
        a.mlThemenIDs = {0, 11, 12};
        a.miThemenAnzahl = 2;
        a.ThemenTitel = QStringList{"Erstes Thema", "Zweites Thema"};
        l.druck.texteQuelle = [](qint32 id, QList<QString> &titel, QList<QString> &texte) {
            titel = {QString(), QString("T%1a").arg(id), QString("T%1b").arg(id)};
            texte = {QString(), abschnitt(QString("X%1").arg(id), 2),
                     abschnitt(QString("Y%1").arg(id), 1)};
            return true;
        };
        QCOMPARE(l.druck.BeschreibungDrucken(a), Ergebnis::Gedruckt);
        const QList<Eintrag> rtf = l.dru.eintraege(Art::Rtf);
        QCOMPARE(rtf.size(), 6);
        QCOMPARE(rtf[0].text, QString("Erstes Thema"));
        QCOMPARE(rtf[1].text, QString("X11 Zeile 1\nX11 Zeile 2"));
        QCOMPARE(rtf[3].text, QString("Zweites Thema"));
        QCOMPARE(rtf[5].text, QString("Y12 Zeile 1"));
        // The heading is bigger than a 10-point line.
        QVERIFY(rtf[0].mm.height() > 2 * masse().zeile);
        QCOMPARE(l.status.mid(0, 4), (QStringList{"lese Text T11a", "lese Text T11b",
                                                  "lese Text T12a", "lese Text T12b"}));
        // The heading: its own paragraph, 18 points, bold.
        QTextDocument d;
        QTextCursor(&d).insertFragment(Beschreibungsdruck::Themenueberschrift("Kopf", "Arial"));
        QCOMPARE(d.blockCount(), 2);
        QCOMPARE(d.begin().text(), QString("Kopf"));
        QTextCursor c(d.begin());
        c.movePosition(QTextCursor::Right);
        QCOMPARE(c.charFormat().fontPointSize(), 18.0);
        QCOMPARE(c.charFormat().fontWeight(), int(QFont::Bold));
    }

    // A job that cannot begin, or a chapter whose topic cannot be read, draws nothing.
    void nichtGedruckt_data()
    {
        QTest::addColumn<bool>("startErlaubt");
        QTest::addColumn<Ergebnis>("ergebnis");
        QTest::newRow("Start nicht moeglich") << false << Ergebnis::NichtGestartet;
        QTest::newRow("Thema nicht lesbar") << true << Ergebnis::LesenFehlgeschlagen;
    }
    void nichtGedruckt()
    {
        QFETCH(bool, startErlaubt);
        Lauf l;
        l.dru.startErlaubt = startErlaubt;
        DruckAuftrag a = auftrag(1, {abschnitt("I", 3)});
        if (startErlaubt) {
            a = auftrag(3, {});
            a.mlThemenIDs = {0, 11};
            a.miThemenAnzahl = 1;
            a.ThemenTitel = QStringList{"Thema"};
            l.druck.texteQuelle = [](qint32, QList<QString> &, QList<QString> &) { return false; };
        }
        QTEST(l.druck.BeschreibungDrucken(a), "ergebnis");
        QVERIFY(l.dru.eintraege().isEmpty());
        QVERIFY(!l.dru.druckLaeuft());
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

    // A cancel request is seen at the next page or part: the job is aborted and nothing is
    // drawn after it.
    void abbrechen_data()
    {
        QTest::addColumn<QString>("ausloeser");
        QTest::newRow("vor dem Start") << "Seite 1";
        QTest::newRow("auf Seite 2") << "Seite 2";
        QTest::newRow("auf Seite 3") << "Seite 3";
    }
    void abbrechen()
    {
        QFETCH(QString, ausloeser);
        Lauf l;
        bool gewuenscht = false;
        l.druck.status = [&](const QString &s) {
            l.status << s;
            if (s == ausloeser)
                gewuenscht = true;
        };
        l.druck.abbruchGewuenscht = [&] { return gewuenscht; };
        QCOMPARE(
            l.druck.BeschreibungDrucken(auftrag(2, {abschnitt("J", 200), abschnitt("K", 200)})),
            Ergebnis::Abgebrochen);
        const QList<Eintrag> alle = l.dru.eintraege();
        QVERIFY(!l.dru.druckLaeuft());
        if (ausloeser == "Seite 1") {
            QVERIFY(alle.isEmpty()); // the job never began
            return;
        }
        QCOMPARE(alle.last().art, Art::Abbruch);
        const int seite = ausloeser.mid(6).toInt();
        QCOMPARE(l.dru.seitenAnzahl(), seite);
        // On the page where the request came nothing but (part of) its frame was drawn.
        for (const Eintrag &e : l.dru.aufSeite(seite))
            QVERIFY(e.art != Art::Rtf && e.art != Art::Bild);
        QCOMPARE(l.dru.eintraege(Art::Ende).size(), 0);
    }

    void bildGroesse_data()
    {
        QTest::addColumn<QSize>("pixel");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QSizeF>("mm");
        QTest::newRow("96 dpi") << QSize(96, 192) << 96 << QSizeF(22.4, 44.8);
        QTest::newRow("ohne Angabe") << QSize(96, 96) << 0 << QSizeF(22.4, 22.4);
        // The bitmap's own resolution does not count: a screenshot is printed at screen scale.
        QTest::newRow("192 dpi") << QSize(96, 96) << 192 << QSizeF(22.4, 22.4);
        QTest::newRow("72 dpi") << QSize(300, 30) << 72 << QSizeF(70.0, 7.0);
    }
    void bildGroesse()
    {
        QFETCH(QSize, pixel);
        QFETCH(int, dpi);
        QFETCH(QSizeF, mm);
        QImage b(pixel, QImage::Format_RGB32);
        b.setDotsPerMeterX(qRound(dpi / 0.0254));
        b.setDotsPerMeterY(qRound(dpi / 0.0254));
        const QSizeF r = Beschreibungsdruck::BildGroesseMm(b);
        QCOMPARE_LE(std::abs(r.width() - mm.width()), 0.01);
        QCOMPARE_LE(std::abs(r.height() - mm.height()), 0.01);
    }
};

QTEST_MAIN(TestBeschreibungsdruck)
#include "tst_beschreibungsdruck.moc"
