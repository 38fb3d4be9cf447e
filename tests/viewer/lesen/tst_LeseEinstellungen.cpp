// Checks what the help keeps per user for reading: the zoom as found in the settings file
// (damaged values read back as a usable step), bookmarks through a round trip, no duplicates.
#include "Einstellungen.h"
#include "LeseEinstellungen.h"
#include "TestHilfen.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace LeseEinstellungen;

class tst_LeseEinstellungen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setzeEinstellungsOrdner(m_dir.path());
    }
    void init() { QFile::remove(datei()); }
    void zoom_data();
    void zoom();
    void lesezeichenRundreise();
    void hinzufuegenOhneDoppelte();

private:
    QTemporaryDir m_dir;
    QString datei() const { return m_dir.filePath(QStringLiteral("Tolvar-Hilfe.ini")); }
};

void tst_LeseEinstellungen::zoom_data()
{
    QTest::addColumn<QString>("inhalt"); // empty: no file
    QTest::addColumn<int>("gelesen");
    const auto z = [](const char *wert) { return QStringLiteral("[Anzeige]\nZoom=%1\n").arg(wert); };
    zeile("keine Datei", QString(), 100);
    zeile("zwischen Stufen", z("118"), 125);
    zeile("zu gross", z("1000"), 300);
    zeile("zu klein", z("10"), 50);
    zeile("Text", z("gross"), 100);
    zeile("negativ", z("-20"), 100);
    zeile("von Hand", z(" 200 "), 200);
    zeile("anderer Abschnitt", QStringLiteral("[Tolvar-Belna]\nZoom=200\n"), 100);
}

void tst_LeseEinstellungen::zoom()
{
    QFETCH(QString, inhalt);
    QFETCH(int, gelesen);
    if (!inhalt.isEmpty())
        dateiSchreiben(datei(), inhalt.toUtf8());
    QCOMPARE(zoomLesen(), gelesen);
}

void tst_LeseEinstellungen::lesezeichenRundreise()
{
    // Names as a user types them: umlauts, blanks at the edges, characters INI must escape.
    const QList<Lesezeichen> liste{{"03.02.05", "Rechnung ändern"},
                                   {"10.11.12", "  a=b; c,d \"e\" %20 [x] #f "},
                                   {"01.01.05", "L5"}};
    QVERIFY(lesezeichenSpeichern(liste));
    QCOMPARE(lesezeichenLesen(), liste);
    // A shorter list leaves none of the old entries behind, even for a count raised by hand.
    QVERIFY(lesezeichenSpeichern(liste.mid(2)));
    QSettings(datei(), QSettings::IniFormat).setValue(QStringLiteral("Lesezeichen/Anzahl"), 3);
    QCOMPARE(lesezeichenLesen(), liste.mid(2));
    QVERIFY(lesezeichenSpeichern({}));
    QVERIFY(lesezeichenLesen().isEmpty());
}

void tst_LeseEinstellungen::hinzufuegenOhneDoppelte()
{
    QList<Lesezeichen> liste;
    QVERIFY(hinzufuegen(liste, QStringLiteral("02.01.01"), QStringLiteral("B")));
    QVERIFY(hinzufuegen(liste, QStringLiteral("01.01.01"), QStringLiteral(" ")));
    QVERIFY(!hinzufuegen(liste, QStringLiteral("02.01.01"), QStringLiteral("anders")));
    QVERIFY(!hinzufuegen(liste, QString(), QStringLiteral("leer")));
    QCOMPARE(liste, (QList<Lesezeichen>{{"02.01.01", "B"}, {"01.01.01", "01.01.01"}}));
}

QTEST_APPLESS_MAIN(tst_LeseEinstellungen)
#include "tst_LeseEinstellungen.moc"
