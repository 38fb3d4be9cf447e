// The shared routines: the error dialog per number and answer, the search pattern, centring.
#include "Fehler.h"
#include "Global.h"
#include "Mauszeiger.h"
#include "MeldungSkript.h"
#include "Routinen.h"
#include "TestHilfen.h"

#include <QtTest>

class TestRoutinen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void fehlerMeldung_data();
    void fehlerMeldung();
    void suchMuster_data();
    void suchMuster();
    void zentrieren_data();
    void zentrieren();
};

void TestRoutinen::fehlerMeldung_data()
{
    QTest::addColumn<qint32>("nummer");
    QTest::addColumn<QString>("beschreibung");
    QTest::addColumn<int>("antwort");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("stil");
    QTest::addColumn<bool>("aufgeben");
    const QString gesperrt =
        "Ein anderer Benutzer sperrt die Datenbank im Moment. Bitte wählen Sie WIEDERHOLEN, "
        "um erneut zu versuchen, die Daten zu lesen bzw. zu speichern. \r\n\r\n"
        "(Systemmeldung: -2147217887: Sperre)";
    const QString datei = "(75) Die Datei bzw. der Datenträger ist im Moment gegen Zugriff "
                          "gesperrt. Möglicherweise ist die Datei von einem anderen Programm aus "
                          "geöffnet worden oder der Datenträger ist schreibgeschützt.";
    const QString allgemein =
        "Es ist ein Problem aufgetreten. Das System liefert folgende Meldung: \r\n\r\n";
    zeile("gesperrt-wiederholen", -2147217887, QString("Sperre"), 4, gesperrt, 53, false);
    zeile("gesperrt-abbrechen", -2147217887, QString("Sperre"), 2, gesperrt, 53, true);
    zeile("75-wiederholen", 75, QString(), 4, datei, 53, false);
    zeile("70-wiederholen", 70, QString(), 4, QString(datei).replace("(75)", "(70)"), 53, false);
    // The stop boxes never retry, whatever the answer.
    zeile("3022", 3022, QString(), 4,
          QString("Die Tabelle darf keine doppelten Werte enthalten. Die eingegebenen Daten "
                  "sind bereits vorhanden!"), 16, true);
    zeile("3200", 3200, QString(), 4,
          QString("Der Datensatz kann nicht gelöscht werden, da andere Daten damit in Verbindung "
                  "stehen!"), 16, true);
    zeile("94-abbrechen", 94, QString(), 2, allgemein + "(94) Unzulässige Verwendung von Null",
          53, true);
    zeile("unbekannt-mit-text", 12345, QString("Etwas"), 2, allgemein + "(12345) Etwas", 53, true);
    zeile("unbekannt-ohne-text", -1, QString(), 4,
          allgemein + "(-1) Anwendungs- oder objektdefinierter Fehler", 53, false);
    // A box closed without choosing answers Cancel; so does anything unexpected.
    zeile("geschlossen", -2147217843, QString("x"), 1, allgemein + "(-2147217843) x", 53, true);
}

void TestRoutinen::fehlerMeldung()
{
    QFETCH(qint32, nummer);
    QFETCH(QString, beschreibung);
    QFETCH(int, antwort);
    QFETCH(QString, text);
    QFETCH(int, stil);
    QFETCH(bool, aufgeben);
    SkriptMeldungen skript;
    skript.antworten({antwort});
    // The box is shown with the normal pointer, whatever was set before.
    int zeigerImDialog = -1;
    skript.beimZeigen([&](const SkriptMeldungen::Box &) { zeigerImDialog = MauszeigerAktuell(); });
    MausZeiger(11);
    fehlerSetzen(nummer, beschreibung);
    QCOMPARE(FehlerMeldung(), aufgeben);
    QCOMPARE(zeigerImDialog, 0);
    QCOMPARE(skript.anzahl(), 1);
    QCOMPARE(skript.boxen().at(0).text, text);
    QCOMPARE(skript.boxen().at(0).stil, stil);
    QCOMPARE(skript.boxen().at(0).titel, QStringLiteral("Tolvar-Hilfe"));
}

void TestRoutinen::suchMuster_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("vorne");
    QTest::addColumn<bool>("hinten");
    QTest::addColumn<QString>("muster");
    QTest::newRow("soll-ist") << "Soll-Ist" << true << true << "'%Soll[-]Ist%'";
    QTest::newRow("kunde-hinten") << "Kunde" << false << true << "'Kunde%'";
    QTest::newRow("kunde-vorne") << "Kunde" << true << false << "'%Kunde'";
    QTest::newRow("oneil") << "O'Neil" << false << false << "'O['']Neil'";
    QTest::newRow("leer-offen") << "" << true << true << "'%%'";
    QTest::newRow("leer-zu") << "" << false << false << "''";
    QTest::newRow("doppelquote") << "\"X\"" << false << false << "'[\"]X[\"]'";
    // Wildcards and the bracket keep their meaning.
    QTest::newRow("wildcards") << "5%_[a" << false << false << "'5%_[a'";
    // Closing the literal is impossible: every quote becomes a bracket class.
    QTest::newRow("ausbruch") << "x' OR '1'='1" << true << true << "'%x[''] OR ['']1['']=['']1%'";
}

void TestRoutinen::suchMuster()
{
    QFETCH(QString, text);
    QFETCH(bool, vorne);
    QFETCH(bool, hinten);
    QFETCH(QString, muster);
    QCOMPARE(SuchMuster(text, vorne, hinten), muster);
}

void TestRoutinen::zentrieren_data()
{
    QTest::addColumn<QRect>("bereich");
    QTest::addColumn<double>("faktorX");
    QTest::addColumn<double>("faktorY");
    QTest::addColumn<int>("breite");
    QTest::addColumn<int>("hoehe");
    QTest::addColumn<QPoint>("position");
    zeile("standard", QRect(0, 0, 1600, 1140), 15.0, 15.0, 6000, 4000, QPoint(9000, 6550));
    zeile("zu-breit", QRect(0, 0, 1600, 1140), 15.0, 15.0, 30000, 4000, QPoint(0, 6550));
    zeile("zu-hoch", QRect(0, 0, 1600, 1140), 15.0, 15.0, 6000, 20000, QPoint(9000, 0));
    // The work area's own offset is not added: centred at the screen origin.
    zeile("versetzt", QRect(60, 40, 1600, 1140), 15.0, 15.0, 6000, 4000, QPoint(9000, 6550));
    zeile("achsen", QRect(0, 0, 1000, 1000), 10.0, 20.0, 2000, 2000, QPoint(4000, 9000));
    // Half values round to even, as the conversion to whole numbers does.
    zeile("halb-gerade", QRect(0, 0, 1, 1), 15.0, 15.0, 0, 0, QPoint(8, 8));
    zeile("halb-ungerade", QRect(0, 0, 1, 1), 13.0, 13.0, 0, 0, QPoint(6, 6));
    // 8000 pixels at 15 twips: 120000 twips, beyond 16 bits; the window stays on the screen.
    zeile("riesig", QRect(0, 0, 8000, 6000), 15.0, 15.0, 6000, 4000, QPoint(57000, 43000));
}

void TestRoutinen::zentrieren()
{
    QFETCH(QRect, bereich);
    QFETCH(double, faktorX);
    QFETCH(double, faktorY);
    QFETCH(int, breite);
    QFETCH(int, hoehe);
    QFETCH(QPoint, position);
    QCOMPARE(FensterZentrierenPosition(bereich, faktorX, faktorY, breite, hoehe), position);
}

QTEST_GUILESS_MAIN(TestRoutinen)
#include "tst_routinen.moc"
