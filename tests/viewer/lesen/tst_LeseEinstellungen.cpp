// Checks what the help keeps per user for reading: the zoom as found in the settings file
// (damaged or missing values read back as a usable step), bookmarks through a round trip, and
// adding without duplicates. That both land in the help's own file, apart from the invoicing
// product's, is checked by the user-level scenarios of zoom and bookmarks.
#include "Einstellungen.h"
#include "LeseEinstellungen.h"
#include "TestHilfen.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using LeseEinstellungen::Lesezeichen;

class tst_LeseEinstellungen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void zoom_data();
    void zoom();
    void lesezeichenRundreise();
    void hinzufuegenOhneDoppelte();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString datei() const { return m_dir->filePath(QStringLiteral("Tolvar-Hilfe.ini")); }
};

void tst_LeseEinstellungen::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    setzeEinstellungsOrdner(m_dir->path());
}

void tst_LeseEinstellungen::cleanup()
{
    setzeEinstellungsOrdner(QString());
    m_dir.reset();
}

// The zoom as found in the file, written by the help or by hand; what is read is a step.
void tst_LeseEinstellungen::zoom_data()
{
    QTest::addColumn<QString>("inhalt"); // empty: no file
    QTest::addColumn<int>("gelesen");
    const auto z = [](const char *wert) { return QStringLiteral("[Anzeige]\nZoom=%1\n").arg(wert); };
    zeile("keine Datei", QString(), 100);
    zeile("Stufe", z("150"), 150);
    zeile("kleinste", z("50"), 50);
    zeile("groesste", z("300"), 300);
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
    QCOMPARE(LeseEinstellungen::zoomLesen(), gelesen);
}

void tst_LeseEinstellungen::lesezeichenRundreise()
{
    // Names as a user types them: umlauts, characters the INI form must escape.
    const QList<Lesezeichen> liste{
        {QStringLiteral("03.02.05"), QStringLiteral("Rechnung ändern")},
        {QStringLiteral("01.01.01"), QStringLiteral("a=b; c,d \"e\" %20 [x] #f")},
        {QStringLiteral("10.11.12"), QStringLiteral("  Leerzeichen am Rand ")},
        {QStringLiteral("01.01.04"), QStringLiteral("L4")},
        {QStringLiteral("01.01.05"), QStringLiteral("L5")}};
    QVERIFY(LeseEinstellungen::lesezeichenSpeichern(liste));
    QCOMPARE(LeseEinstellungen::lesezeichenLesen(), liste);
    // A shorter list leaves none of the old entries behind, also when the count is raised by
    // hand afterwards.
    QVERIFY(LeseEinstellungen::lesezeichenSpeichern(liste.mid(3)));
    QCOMPARE(LeseEinstellungen::lesezeichenLesen(), liste.mid(3));
    {
        QSettings s(datei(), QSettings::IniFormat);
        s.setValue(QStringLiteral("Lesezeichen/Anzahl"), 5);
    }
    QCOMPARE(LeseEinstellungen::lesezeichenLesen(), liste.mid(3));
    QVERIFY(LeseEinstellungen::lesezeichenSpeichern({}));
    QVERIFY(LeseEinstellungen::lesezeichenLesen().isEmpty());
}

void tst_LeseEinstellungen::hinzufuegenOhneDoppelte()
{
    QList<Lesezeichen> liste;
    QVERIFY(LeseEinstellungen::hinzufuegen(liste, QStringLiteral("02.01.01"), QStringLiteral("B")));
    QVERIFY(LeseEinstellungen::hinzufuegen(liste, QStringLiteral("01.01.01"), QStringLiteral(" ")));
    QVERIFY(!LeseEinstellungen::hinzufuegen(liste, QStringLiteral("02.01.01"),
                                            QStringLiteral("anders")));
    QVERIFY(!LeseEinstellungen::hinzufuegen(liste, QString(), QStringLiteral("leer")));
    const QList<Lesezeichen> erwartet{{QStringLiteral("02.01.01"), QStringLiteral("B")},
                                      {QStringLiteral("01.01.01"), QStringLiteral("01.01.01")}};
    QCOMPARE(liste, erwartet);
}

QTEST_APPLESS_MAIN(tst_LeseEinstellungen)
#include "tst_LeseEinstellungen.moc"
