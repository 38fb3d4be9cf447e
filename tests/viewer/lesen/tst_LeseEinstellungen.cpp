// Checks what the help keeps per user for reading: the zoom and the bookmarks survive a round
// trip through the settings file, land in the help's own file and sections and never in the
// invoicing product's shared file, and damaged or missing values read back as usable ones.
#include "Einstellungen.h"
#include "LeseEinstellungen.h"

#include <QFile>
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
    void zoomGespeichert_data();
    void zoomGespeichert();
    void lesezeichenRundreise();
    void kuerzereListeLaesstKeineAlten();
    void hinzufuegenOhneDoppelte();
    void eigeneDateiUndAbschnitte();

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

void tst_LeseEinstellungen::zoom_data()
{
    QTest::addColumn<int>("gespeichert");
    QTest::addColumn<int>("gelesen");
    QTest::newRow("Stufe") << 150 << 150;
    QTest::newRow("kleinste") << 50 << 50;
    QTest::newRow("groesste") << 300 << 300;
    QTest::newRow("zwischen Stufen") << 118 << 125;
    QTest::newRow("zu gross") << 1000 << 300;
    QTest::newRow("zu klein") << 10 << 50;
}

void tst_LeseEinstellungen::zoom()
{
    QFETCH(int, gespeichert);
    QFETCH(int, gelesen);
    QVERIFY(LeseEinstellungen::zoomSpeichern(gespeichert));
    QCOMPARE(LeseEinstellungen::zoomLesen(), gelesen);
}

void tst_LeseEinstellungen::zoomGespeichert_data()
{
    QTest::addColumn<QString>("inhalt");
    QTest::addColumn<int>("gelesen");
    QTest::newRow("keine Datei") << QString() << 100;
    QTest::newRow("Text") << QStringLiteral("[Anzeige]\nZoom=gross\n") << 100;
    QTest::newRow("negativ") << QStringLiteral("[Anzeige]\nZoom=-20\n") << 100;
    QTest::newRow("von Hand") << QStringLiteral("[Anzeige]\nZoom= 200 \n") << 200;
    QTest::newRow("anderer Abschnitt") << QStringLiteral("[Tolvar-Belna]\nZoom=200\n") << 100;
}

void tst_LeseEinstellungen::zoomGespeichert()
{
    QFETCH(QString, inhalt);
    QFETCH(int, gelesen);
    if (!inhalt.isEmpty()) {
        QFile f(datei());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(inhalt.toUtf8());
    }
    QCOMPARE(LeseEinstellungen::zoomLesen(), gelesen);
}

void tst_LeseEinstellungen::lesezeichenRundreise()
{
    // Names as a user types them: umlauts, characters the INI form must escape.
    const QList<Lesezeichen> liste{
        {QStringLiteral("03.02.05"), QStringLiteral("Rechnung ändern")},
        {QStringLiteral("01.01.01"), QStringLiteral("a=b; c,d \"e\" %20 [x] #f")},
        {QStringLiteral("10.11.12"), QStringLiteral("  Leerzeichen am Rand ")},
    };
    QVERIFY(LeseEinstellungen::lesezeichenSpeichern(liste));
    QCOMPARE(LeseEinstellungen::lesezeichenLesen(), liste);
    QVERIFY(LeseEinstellungen::lesezeichenSpeichern({}));
    QVERIFY(LeseEinstellungen::lesezeichenLesen().isEmpty());
}

void tst_LeseEinstellungen::kuerzereListeLaesstKeineAlten()
{
    QList<Lesezeichen> liste;
    for (int i = 1; i <= 5; ++i)
        liste.append({QStringLiteral("01.01.%1").arg(i, 2, 10, QLatin1Char('0')),
                      QStringLiteral("L%1").arg(i)});
    QVERIFY(LeseEinstellungen::lesezeichenSpeichern(liste));
    QVERIFY(LeseEinstellungen::lesezeichenSpeichern(liste.mid(3)));
    QCOMPARE(LeseEinstellungen::lesezeichenLesen(), liste.mid(3));
    // A count raised by hand finds only emptied entries behind the list.
    QSettings s(datei(), QSettings::IniFormat);
    s.setValue(QStringLiteral("Lesezeichen/Anzahl"), 5);
    s.sync();
    QCOMPARE(LeseEinstellungen::lesezeichenLesen(), liste.mid(3));
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

void tst_LeseEinstellungen::eigeneDateiUndAbschnitte()
{
    QVERIFY(LeseEinstellungen::zoomSpeichern(200));
    QVERIFY(LeseEinstellungen::lesezeichenSpeichern(
        {{QStringLiteral("03.02.05"), QStringLiteral("Mahnung")}}));
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("Tolvar.ini"))));
    QSettings s(datei(), QSettings::IniFormat);
    QCOMPARE(s.childGroups(),
             (QStringList{QStringLiteral("Anzeige"), QStringLiteral("Lesezeichen")}));
    QCOMPARE(s.value(QStringLiteral("Anzeige/Zoom")).toString(), QStringLiteral("200"));
    QCOMPARE(s.value(QStringLiteral("Lesezeichen/Nummer1")).toString(), QStringLiteral("03.02.05"));
}

QTEST_APPLESS_MAIN(tst_LeseEinstellungen)
#include "tst_LeseEinstellungen.moc"
