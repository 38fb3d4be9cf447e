// "hilfedb vergleichen": databases compiled from the same sources compare equal; a database
// compiled from sources with one change shows that change; exit codes 0, 1 and 2.
#include "DatenbankVergleich.h"
#include "HilfeCompiler.h"
#include "TestHilfen.h"
#include "ZipHilfe.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray Kapitel = "= 1 | Rechnungen\n"
                           "== 1 | Erfassen\n"
                           "=== 1 | Kunde\n"
                           "Stichwörter: Rechnung; Kunde\n"
                           "Siehe [[01.01.02|Weiter]] und [[Bild 1|Maske]].\n"
                           "=== 2 | Weiter\n"
                           "Mehr Text.\n"
                           "=== 3 | Dritter\n"
                           "Noch ein Abschnitt.\n";

} // namespace

class TestHilfedbVergleichen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void vergleichen_data();
    void vergleichen();
    void befehl();

private:
    // Compiles a source folder of one chapter and one picture file into ziel.
    void erstellen(const QString &name, const QByteArray &kapitel, const QString &bildDatei,
                   Qt::GlobalColor farbe, const QString &ziel);
    QTemporaryDir m_dir;
};

void TestHilfedbVergleichen::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    erstellen("basis", Kapitel, "00001-maske.bmp", Qt::blue, m_dir.filePath("basis.mdb"));
}

void TestHilfedbVergleichen::erstellen(const QString &name, const QByteArray &kapitel,
                                       const QString &bildDatei, Qt::GlobalColor farbe,
                                       const QString &ziel)
{
    const QString quelle = m_dir.filePath(name);
    dateiSchreiben(quelle + "/kapitel/01-rechnungen.txt", kapitel);
    dateiSchreiben(quelle + "/bilder/" + bildDatei, bmpErstellen(QSize(16, 8), farbe));
    QStringList meldungen;
    QVERIFY2(HilfeCompiler::erstellen(quelle, ziel, meldungen), qPrintable(meldungen.join('\n')));
}

// Each row changes the base sources by one replacement (or the picture) and gives the lines the
// comparison with the base must give; none: the two must be equal.
void TestHilfedbVergleichen::vergleichen_data()
{
    QTest::addColumn<QByteArray>("alt");
    QTest::addColumn<QByteArray>("neu");
    QTest::addColumn<QString>("bildDatei");
    QTest::addColumn<int>("farbe");
    QTest::addColumn<QStringList>("unterschiede");
    const QString bild = "00001-maske.bmp";
    const auto f = [](const char *name, const QByteArray &alt, const QByteArray &neu,
                      const QString &bildDatei, Qt::GlobalColor farbe, const QStringList &zeilen) {
        zeile(name, alt, neu, bildDatei, int(farbe), zeilen);
    };
    const QByteArray dritter = "=== 3 | Dritter\nNoch ein Abschnitt.\n";
    f("same sources", {}, {}, bild, Qt::blue, {});
    f("title", "| Weiter\n", "| Weiter Rechnungen\n", bild, Qt::blue,
      {"Abschnitt 01.01.02: Titel „Weiter“ / „Weiter Rechnungen“",
       "Volltextindex 01.01.02: Wort „rechnung“: fehlt / Titel 1, Text 0"});
    f("text", "Mehr Text.", "Mehr Texte.", bild, Qt::blue,
      {"Abschnitt 01.01.02: Text ab Zeichen 10: „Mehr Text.¶“ / „Mehr Texte.¶“"});
    f("word made bold", "ein Abschnitt", "ein **Abschnitt**", bild, Qt::blue,
      {"Abschnitt 01.01.03: Format ab Zeichen 10 „Noch ein Abschnitt.¶“: nicht fett / fett"});
    f("link target", "[[01.01.02|", "[[01.01.03|", bild, Qt::blue,
      {"Abschnitt 01.01.01: Verweis 1: „Weiter“ → 01.01.02 / „Weiter“ → 01.01.03"});
    f("section moved", "=== 2 | Weiter\nMehr Text.\n" + dritter,
      dritter + "=== 2 | Weiter\nMehr Text.\n", bild, Qt::blue,
      {"Thema 01.01: Reihenfolge der Abschnitte 01, 02, 03 / 01, 03, 02"});
    f("section missing", dritter, {}, bild, Qt::blue, {"Abschnitt 01.01.03 nur in DB1"});
    f("keyword assignment", "Stichwörter: Rechnung; Kunde\n", "Stichwörter: Rechnung\n", bild,
      Qt::blue,
      // Keywords are searched as words of the title.
      {"Stichwort „Kunde“ nur in DB1",
       "Volltextindex 01.01.01: Wort „kund“: Titel 2, Text 0 / Titel 1, Text 0"});
    f("keyword moved", "Mehr Text.\n", "Stichwörter: Rechnung\nMehr Text.\n", bild, Qt::blue,
      {"Stichwort „Rechnung“: 01.01.02 nur in DB2",
       "Volltextindex 01.01.02: Wort „rechnung“: fehlt / Titel 1, Text 0"});
    f("picture", {}, {}, bild, Qt::red, {"Bild 1: Inhalt verschieden"});
    f("picture title", {}, {}, "00001-kunde-maske.bmp", Qt::blue,
      {"Bild 1: Titel „maske“ / „kunde maske“"});
}

void TestHilfedbVergleichen::vergleichen()
{
    QFETCH(QByteArray, alt);
    QFETCH(QByteArray, neu);
    QFETCH(QString, bildDatei);
    QFETCH(int, farbe);
    QFETCH(QStringList, unterschiede);
    QByteArray kapitel = Kapitel;
    if (!alt.isEmpty()) {
        QVERIFY(kapitel.contains(alt));
        kapitel.replace(alt, neu);
    }
    const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_');
    const QString db = m_dir.filePath(name + ".mdb");
    erstellen(name, kapitel, bildDatei, Qt::GlobalColor(farbe), db);
    DatenbankVergleich::Ergebnis e;
    QVERIFY2(DatenbankVergleich::vergleichen(m_dir.filePath("basis.mdb"), db, e),
             qPrintable(e.fehler));
    QVERIFY2(e.unterschiede == unterschiede, qPrintable(e.unterschiede.join('\n')));
}

// The sample content compiled twice is the same help (0); a file that is no help database is
// named with the reason (1); a wrong call (2).
void TestHilfedbVergleichen::befehl()
{
    const QString a = m_dir.filePath("beispiel1.mdb"), b = m_dir.filePath("beispiel2.mdb");
    for (const QString &ziel : {a, b})
        QCOMPARE(
            programmLaufen(HILFEDB_PFAD, {"erstellen", TOLVAR_SOURCE_DIR "/content", ziel}).code,
            0);
    QVERIFY(dateiLesen(a) != dateiLesen(b));
    ProgrammLauf l = programmLaufen(HILFEDB_PFAD, {"vergleichen", a, b});
    QCOMPARE(l.code, 0);
    QVERIFY2(l.aus.startsWith("gleich: ") && l.aus.contains("mit Volltextindex"),
             qPrintable(l.aus));

    const QString kaputt = m_dir.filePath("kaputt.mdb");
    dateiSchreiben(kaputt, QByteArray(4096, 'x'));
    l = programmLaufen(HILFEDB_PFAD, {"vergleichen", a, kaputt});
    QCOMPARE(l.code, 1);
    QVERIFY2(l.fehler.contains("DB2 (" + kaputt + ") lässt sich nicht lesen: "),
             qPrintable(l.fehler));

    QCOMPARE(programmLaufen(HILFEDB_PFAD, {"vergleichen", a}).code, 2);
}

QTEST_MAIN(TestHilfedbVergleichen)
#include "test_hilfedb_vergleichen.moc"
