// Compiles small source folders into a help database and reads them back through the help's
// own queries: order and numbers, RTF as the help's reader sees it, keyword index, pictures,
// and that a failed build leaves an existing database untouched.
#include "BildEntpacken.h"
#include "Datenbank.h"
#include "DatenbankAnsicht.h"
#include "Global.h"
#include "HilfeCompiler.h"
#include "HilfeDatenbank.h"
#include "MeldungSkript.h"
#include "RtfLeser.h"
#include "TestHilfen.h"
#include "Verweismarkup.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

namespace {

// Chapter 2 is written before chapter 1: the help shows the order of the sources.
const QByteArray datei1 = "= 2 | Stammdaten\n"
                          "== 3 | Kunden\n"
                          "=== 5 | Kunden anlegen\n"
                          "Stichwörter: Kunde; Rechnung\n"
                          "Größe 5 € für {Kunden} in C:\\Daten, siehe [[01.01.02|Rechnung "
                          "erfassen]] und [[Bild 12|die Maske]].\n"
                          "=== 1 | Kunden löschen\n"
                          "Stichwörter: Rechnung; rechnung; Löschen\n"
                          "**Vorsicht**: endgültig.\n"
                          "== 1 | Artikel\n";
const QByteArray datei2 = "= 1 | Erste Schritte\n"
                          "== 1 | Start\n"
                          "=== 2 | Rechnung erfassen\n"
                          "Stichwörter: RECHNUNG; Rechnungsdatum\n"
                          "Text.\n"
                          "=== 1 | Anfang\n"
                          "Stichwörter: Kunde\n"
                          "- a\n";
const QByteArray maske = "Titel: Kunde bearbeiten\nGröße: 300 x 200\nFeld: Name | Müller\n"
                         "Knöpfe: OK\n";

} // namespace

class TestDatenbankAufbau : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void kapitelBaum();
    void abschnittWieDieHilfeIhnZeigt();
    void stichwoerter();
    void bilder_data();
    void bilder();
    void fehlschlagLaesstAlteDatei();
    void fehlendeDatei();

private:
    QTemporaryDir m_dir;
    QString m_db;
    SkriptMeldungen *m_meldungen = nullptr;
};

void TestDatenbankAufbau::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    dateiSchreiben(m_dir.filePath("q/kapitel/01-stamm.txt"), datei1);
    dateiSchreiben(m_dir.filePath("q/kapitel/02-start.txt"), datei2);
    dateiSchreiben(m_dir.filePath("q/bilder/00012-kunde.maske"), maske);
    QImage png(40, 30, QImage::Format_RGB32);
    png.fill(Qt::red);
    QVERIFY(png.save(m_dir.filePath("q/bilder/00003-firmen-logo.png")));
    // Not named HilfeBelna.mdb: the views reach it through a link.
    m_db = m_dir.filePath("hilfe-test.mdb");
    QStringList meldungen;
    QVERIFY2(HilfeCompiler::erstellen(m_dir.filePath("q"), m_db, meldungen),
             qPrintable(meldungen.join('\n')));
    // The queries below read the compiled file directly.
    QDir().mkpath(m_dir.filePath("direkt"));
    QVERIFY(QFile::copy(m_db, m_dir.filePath("direkt/HilfeBelna.mdb")));
    setzeProgrammVerzeichnis(m_dir.filePath("direkt"));
    gsPasswort = QString::fromLatin1(HilfePasswort);
}

void TestDatenbankAufbau::kapitelBaum()
{
    QStringList zeilen;
    QVERIFY(DatenbankAnsicht::kapitel(m_db, zeilen));
    const QStringList erwartet{"02 Stammdaten",
                               "  02.03 Kunden",
                               "    02.03.05 Kunden anlegen",
                               "    02.03.01 Kunden löschen",
                               "  02.01 Artikel",
                               "01 Erste Schritte",
                               "  01.01 Start",
                               "    01.01.02 Rechnung erfassen",
                               "    01.01.01 Anfang"};
    QCOMPARE(zeilen, erwartet);
}

// Section 02.03.05 as stored, as the help's RTF reader shows it, and as the help's link
// renderer shows it.
void TestDatenbankAufbau::abschnittWieDieHilfeIhnZeigt()
{
    setzeProgrammVerzeichnis(m_dir.filePath("direkt"));
    HilfeDatenbank &db = standardDatenbank();
    const auto kapitel = db.kapitel().zeilen;
    QVERIFY(!kapitel.isEmpty());
    const auto themen = db.themen(kapitel.first().id).zeilen;
    QVERIFY(!themen.isEmpty());
    const auto texte = db.texte(themen.first().id).zeilen;
    QVERIFY(!texte.isEmpty());
    const QString rtf = texte.first().text;

    // As stored: 7-bit RTF with cp1252 escapes.
    for (const QChar c : rtf)
        QVERIFY(c.unicode() < 0x80);
    QVERIFY(rtf.contains("Gr\\'f6\\'dfe 5 \\'80 f\\'fcr \\{Kunden\\} in C:\\\\Daten"));

    // The reader: the markup stands in the visible text; the link text is styled, the text
    // before it is not.
    QTextDocument gelesen;
    QVERIFY(RtfLesen(rtf, gelesen));
    QCOMPARE(gelesen.toPlainText(),
             "Größe 5 € für {Kunden} in C:\\Daten, siehe {T01.01.02}Rechnung "
             "erfassen{TE} und {P00012}die Maske{PE}.\n");
    QTextCursor c(&gelesen);
    c.setPosition(int(gelesen.toPlainText().indexOf("Rechnung erfassen")) + 1);
    QVERIFY(c.charFormat().fontUnderline());
    QCOMPARE(c.charFormat().foreground().color(), QColor(0, 0, 255));
    c.setPosition(3);
    QVERIFY(!c.charFormat().fontUnderline());
    QCOMPARE(c.charFormat().fontPointSize(), 10.0);

    // The renderer cuts the tags out and finds both links where their text stands.
    QTextDocument doc;
    QList<tVerweis> verweise;
    qint16 anzahl = 0;
    Verweismarkup::darstellen(rtf, doc, verweise, anzahl);
    const QString text = doc.toPlainText();
    QCOMPARE(text, "Größe 5 € für {Kunden} in C:\\Daten, siehe Rechnung erfassen und die "
                   "Maske.\n");
    QCOMPARE(anzahl, qint16(2));
    const qint16 a1 = qint16(text.indexOf("Rechnung erfassen"));
    QCOMPARE(verweise[1].Anfang, a1);
    QCOMPARE(verweise[1].Ende, qint16(a1 + 17));
    QCOMPARE(verweise[1].TextNummer, "01.01.02");
    QVERIFY(verweise[1].BildNummer.isEmpty());
    const qint16 a2 = qint16(text.indexOf("die Maske"));
    QCOMPARE(verweise[2].Anfang, a2);
    QCOMPARE(verweise[2].Ende, qint16(a2 + 9));
    QCOMPARE(verweise[2].BildNummer, "00012");
    QCOMPARE(verweise[2].BildTitel, "die Maske");
    // The link styling stays on the link text and nowhere else.
    QTextCursor d(&doc);
    for (const auto &[pos, unterstrichen] :
         {std::pair{a1 + 1, true}, {a1, false}, {a2 + 9, true}, {a2 + 10, false}}) {
        d.setPosition(pos);
        QCOMPARE(d.charFormat().fontUnderline(), unterstrichen);
    }
}

void TestDatenbankAufbau::stichwoerter()
{
    QStringList zeilen;
    QVERIFY(DatenbankAnsicht::stichwort(m_db, "rechnung", zeilen));
    // One keyword for all spellings, as first written; "Rechnung" named twice in 02.03.01
    // leads there once. Texts in the order of their titles.
    const QStringList erwartet{"Rechnung",
                               "  2.3.5\tKunden anlegen\tStammdaten\tKunden",
                               "  2.3.1\tKunden löschen\tStammdaten\tKunden",
                               "  1.1.2\tRechnung erfassen\tErste Schritte\tStart",
                               "Rechnungsdatum",
                               "  1.1.2\tRechnung erfassen\tErste Schritte\tStart"};
    QCOMPARE(zeilen, erwartet);

    setzeProgrammVerzeichnis(m_dir.filePath("direkt"));
    QStringList wort;
    for (const WortZeile &z : standardDatenbank().woerter("%").zeilen)
        wort << z.wort;
    QCOMPARE(wort, (QStringList{"Kunde", "Löschen", "Rechnung", "Rechnungsdatum"}));
}

void TestDatenbankAufbau::bilder_data()
{
    QTest::addColumn<QString>("nummer");
    QTest::addColumn<QSize>("groesse");
    QTest::addColumn<QString>("titel");
    // The mask by the number a link names, the picture by a short number.
    zeile("maske", QString("00012"), QSize(300, 200), QString("Kunde bearbeiten"));
    zeile("png", QString("3"), QSize(40, 30), QString("firmen logo"));
}

void TestDatenbankAufbau::bilder()
{
    QFETCH(QString, nummer);
    QFETCH(QSize, groesse);
    QFETCH(QString, titel);
    setzeProgrammVerzeichnis(m_dir.filePath("direkt"));
    const auto gelesen = standardDatenbank().bild(nummer);
    QVERIFY(gelesen.ok && gelesen.zeilen.size() == 1);
    const QByteArray archiv = gelesen.zeilen.first().bild;
    QCOMPARE(gelesen.zeilen.first().bezeichnung, titel);
    // The help's own unpacking reads the stored picture.
    QImage bild;
    QVERIFY(BildEntpacken(archiv, bild));
    QCOMPARE(bild.size(), groesse);
}

void TestDatenbankAufbau::fehlschlagLaesstAlteDatei()
{
    QTemporaryDir dir;
    const QString ziel = dir.filePath("HilfeBelna.mdb");
    dateiSchreiben(dir.filePath("q/kapitel/01.txt"), datei2);
    QStringList meldungen;
    QVERIFY(HilfeCompiler::erstellen(dir.filePath("q"), ziel, meldungen));
    const QByteArray vorher = dateiLesen(ziel);
    QVERIFY(!vorher.isEmpty());

    dateiSchreiben(dir.filePath("q/kapitel/02.txt"),
                   "= 3 | K\n== 1 | T\n=== 1 | A\n[[09.09.09|x]]\n");
    QVERIFY(!HilfeCompiler::erstellen(dir.filePath("q"), ziel, meldungen));
    QCOMPARE(meldungen, QStringList{"kapitel/02.txt:4: Link auf 09.09.09: diesen Abschnitt gibt "
                                    "es nicht"});
    QCOMPARE(dateiLesen(ziel), vorher);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"HilfeBelna.mdb"});

    // Mended, the build replaces the file with one that has the new chapter.
    dateiSchreiben(dir.filePath("q/kapitel/02.txt"),
                   "= 3 | K\n== 1 | T\n=== 1 | A\n[[01.01.01|x]]\n");
    meldungen.clear();
    QVERIFY2(HilfeCompiler::erstellen(dir.filePath("q"), ziel, meldungen),
             qPrintable(meldungen.join('\n')));
    QStringList zeilen;
    QVERIFY(DatenbankAnsicht::kapitel(ziel, zeilen));
    QVERIFY(zeilen.contains("    03.01.01 A"));
}

void TestDatenbankAufbau::fehlendeDatei()
{
    SkriptMeldungen meldungen;
    QStringList zeilen;
    QVERIFY(!DatenbankAnsicht::kapitel(m_dir.filePath("gibt-es-nicht.mdb"), zeilen));
    QVERIFY(zeilen.isEmpty());
    QCOMPARE(meldungen.anzahl(), 1);
    QCOMPARE(meldungen.boxen()[0].text, "Die Hilfedatenbank wurde nicht gefunden!");
    // The view points the layer back at the program's folder afterwards.
    QCOMPARE(programmVerzeichnis(), QCoreApplication::applicationDirPath());
}

QTEST_MAIN(TestDatenbankAufbau)
#include "test_datenbankaufbau.moc"
