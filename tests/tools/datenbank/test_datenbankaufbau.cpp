// Small source folders compiled and read back through the help's own queries: order and numbers,
// RTF as the reader sees it, keywords, pictures; a failed build leaves the old database.
#include "BildEntpacken.h"
#include "Datenbank.h"
#include "DatenbankAnsicht.h"
#include "Global.h"
#include "HilfeCompiler.h"
#include "HilfeDatenbank.h"
#include "MeldungSkript.h"
#include "RtfLeser.h"
#include "TestHilfen.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

namespace {

// Chapter 2 is written before chapter 1: the help shows the order of the sources.
const QByteArray datei1 = "= 2 | Stammdaten\n== 3 | Kunden\n=== 5 | Kunden anlegen\n"
                          "Stichwörter: Kunde; Rechnung\n"
                          "Größe 5 € für {Kunden} in C:\\Daten, siehe [[01.01.02|Rechnung "
                          "erfassen]] und [[Bild 12|die Maske]].\n"
                          "=== 1 | Kunden löschen\nStichwörter: Rechnung; rechnung; Löschen\n"
                          "**Vorsicht**: endgültig.\n== 1 | Artikel\n";
const QByteArray datei2 = "= 1 | Erste Schritte\n== 1 | Start\n=== 2 | Rechnung erfassen\n"
                          "Stichwörter: RECHNUNG; Rechnungsdatum\nText.\n"
                          "=== 1 | Anfang\nStichwörter: Kunde\n- a\n";

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
    dateiSchreiben(m_dir.filePath("q/bilder/00012-kunde.maske"),
                   "Titel: Kunde bearbeiten\nGröße: 300 x 200\nFeld: Name | Müller\nKnöpfe: OK\n");
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
    QCOMPARE(zeilen, (QStringList{"02 Stammdaten", "  02.03 Kunden", "    02.03.05 Kunden anlegen",
                                  "    02.03.01 Kunden löschen", "  02.01 Artikel",
                                  "01 Erste Schritte", "  01.01 Start",
                                  "    01.01.02 Rechnung erfassen", "    01.01.01 Anfang"}));
}

// Section 02.03.05 as stored (7-bit RTF with cp1252 escapes) and as the help's RTF reader shows it.
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
    for (const QChar c : rtf)
        QVERIFY(c.unicode() < 0x80);
    QVERIFY(rtf.contains("Gr\\'f6\\'dfe 5 \\'80 f\\'fcr \\{Kunden\\} in C:\\\\Daten"));
    QTextDocument gelesen;
    QVERIFY(RtfLesen(rtf, gelesen));
    QCOMPARE(gelesen.toPlainText(),
             "Größe 5 € für {Kunden} in C:\\Daten, siehe {T01.01.02}Rechnung "
             "erfassen{TE} und {P00012}die Maske{PE}.\n");
}

void TestDatenbankAufbau::stichwoerter()
{
    QStringList zeilen;
    QVERIFY(DatenbankAnsicht::stichwort(m_db, "rechnung", zeilen));
    // One keyword for all spellings, as first written; "Rechnung" named twice in 02.03.01
    // leads there once. Texts in the order of their titles.
    const QString erfassen = "  1.1.2\tRechnung erfassen\tErste Schritte\tStart";
    QCOMPARE(zeilen, (QStringList{"Rechnung", "  2.3.5\tKunden anlegen\tStammdaten\tKunden",
                                  "  2.3.1\tKunden löschen\tStammdaten\tKunden", erfassen,
                                  "Rechnungsdatum", erfassen}));

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
    QCOMPARE(gelesen.zeilen.first().bezeichnung, titel);
    QImage bild; // the help's own unpacking reads the stored picture
    QVERIFY(BildEntpacken(gelesen.zeilen.first().bild, bild));
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
    QVERIFY(HilfeCompiler::erstellen(dir.filePath("q"), ziel, meldungen));
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
