// The console message box, the mouse pointer and the settings store of the platform layer.
// (The scripted message boxes are exercised by every suite that answers one.)
#include "Einstellungen.h"
#include "Mauszeiger.h"
#include "Meldung.h"
#include "MeldungKonsole.h"
#include "TestHilfen.h"

#include <QGuiApplication>
#include <QtTest>

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

class TestPlatformBasis : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void konsole_data();
    void konsole();
    void mauszeigerIstZustand();
    void einstellungen_data();
    void einstellungen();
};

// The console box: without a terminal it never retries, even when the input says "w" (nobody
// sits there to answer); at a terminal it reads the answer.
void TestPlatformBasis::konsole_data()
{
    QTest::addColumn<int>("stil");
    QTest::addColumn<QByteArray>("eingabe");
    QTest::addColumn<int>("interaktiv");
    QTest::addColumn<int>("erwartet");
    QTest::addColumn<QString>("enthaelt");
    const QByteArray w("w\n");
    zeile("achtung", 48, w, 0, int(Meldung::Ok), QString("Achtung: Text"));
    zeile("info", 64, w, 0, int(Meldung::Ok), QString("Hinweis: Text"));
    zeile("wiederholen ohne terminal", 53, w, 0, int(Meldung::Abbrechen), QString("-> Abbrechen"));
    zeile("w", 53, w, 1, int(Meldung::Wiederholen), QString("Text"));
    zeile("a", 53, QByteArray("a\n"), 1, int(Meldung::Abbrechen), QString());
    zeile("eof", 53, QByteArray(), 1, int(Meldung::Abbrechen), QString());
}

void TestPlatformBasis::konsole()
{
    QFETCH(int, stil);
    QFETCH(QByteArray, eingabe);
    QFETCH(int, interaktiv);
    QFETCH(int, erwartet);
    QFETCH(QString, enthaelt);
    std::FILE *aus = std::tmpfile();
    std::FILE *ein = std::tmpfile();
    std::fwrite(eingabe.constData(), 1, size_t(eingabe.size()), ein);
    std::rewind(ein);
    KonsolenMeldungen k(aus, ein, interaktiv);
    const int antwort = k.zeigen(QStringLiteral("Text ä"), stil, QStringLiteral("Titel"));
    std::rewind(aus);
    char puffer[512] = {};
    const size_t n = std::fread(puffer, 1, sizeof puffer - 1, aus);
    std::fclose(aus);
    std::fclose(ein);
    const QString text = QString::fromLocal8Bit(puffer, qsizetype(n));
    QCOMPARE(antwort, erwartet);
    QVERIFY2(text.contains(enthaelt), qPrintable(text));
}

void TestPlatformBasis::mauszeigerIstZustand()
{
    // Without an application only the state is kept.
    QVERIFY(!QCoreApplication::instance());
    MauszeigerSetzen(11);
    QCOMPARE(MauszeigerAktuell(), 11);
    MauszeigerSetzen(0);
    QCOMPARE(MauszeigerAktuell(), 0);

    int argc = 1;
    char name[] = "tst";
    char *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    QVERIFY(!QGuiApplication::overrideCursor());
    MauszeigerSetzen(11);
    MauszeigerSetzen(11);
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    MauszeigerSetzen(0);
    // A state, not a stack: one 0 after two 11 gives the normal pointer.
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(MauszeigerAktuell(), 0);
    MauszeigerSetzen(0);
    QVERIFY(!QGuiApplication::overrideCursor());
    MauszeigerSetzen(11);
    QVERIFY(QGuiApplication::overrideCursor());
    MauszeigerSetzen(0);
    QVERIFY(!QGuiApplication::overrideCursor());
}

// The settings store says when a value could not be kept: a folder where the INI file should
// be, a configuration folder that is a file, or (for a user without root's rights) no write
// permission; a good folder keeps the value. A FIFO and a file of 2 MB are neither read nor
// written: the help would wait on the one for ever and for seconds on the other.
void TestPlatformBasis::einstellungen_data()
{
    QTest::addColumn<QString>("fall");
    QTest::addColumn<bool>("speichert");
    QTest::addColumn<bool>("lesbar");
    QTest::newRow("gut") << "gut" << true << true;
    QTest::newRow("ordner statt datei") << "ordner" << false << false;
    QTest::newRow("konfiguration ist datei") << "datei" << false << true;
    QTest::newRow("keine schreibrechte") << "rechte" << false << true;
    QTest::newRow("fifo") << "fifo" << false << false;
    QTest::newRow("riesig") << "riesig" << false << false;
}

void TestPlatformBasis::einstellungen()
{
    QFETCH(QString, fall);
    QFETCH(bool, speichert);
    QFETCH(bool, lesbar);
    if (fall == QLatin1String("rechte") && geteuid() == 0)
        QSKIP("root may write everywhere");
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QString ordner = tmp.filePath(QStringLiteral("cfg"));
    QVERIFY(QDir().mkpath(ordner));
    if (fall == QLatin1String("ordner"))
        QVERIFY(QDir().mkpath(ordner + QStringLiteral("/Tolvar.ini")));
    if (fall == QLatin1String("datei")) {
        ordner = tmp.filePath(QStringLiteral("datei"));
        QFile f(ordner);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    if (fall == QLatin1String("rechte"))
        QVERIFY(QFile::setPermissions(ordner, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const QByteArray ini = QFile::encodeName(ordner + QStringLiteral("/Tolvar.ini"));
    const QByteArray gespeichert("[Tolvar-Belna]\nDrucker%20DeviceName=B\n");
    if (fall == QLatin1String("riesig")) {
        QFile f(QString::fromLocal8Bit(ini));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(gespeichert);
        f.write(QByteArray(2 << 20, ';'));
    }
    if (fall == QLatin1String("fifo")) // with no writer behind it, every open waits
        QCOMPARE(mkfifo(ini.constData(), 0600), 0);
    setzeEinstellungsOrdner(ordner);
    const bool ok = EinstellungSpeichern(QStringLiteral("Tolvar"), QStringLiteral("Tolvar-Belna"),
                                         QStringLiteral("Drucker DeviceName"), QStringLiteral("A"));
    bool gelesen = false;
    const QString wert = EinstellungLesen(QStringLiteral("Tolvar"), QStringLiteral("Tolvar-Belna"),
                                          QStringLiteral("Drucker DeviceName"), &gelesen);
    setzeEinstellungsOrdner(QString());
    QCOMPARE(ok, speichert);
    QCOMPARE(gelesen, lesbar);
    QCOMPARE(wert, speichert ? QStringLiteral("A") : QString());
}

int main(int argc, char **argv)
{
    TestPlatformBasis t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_platformbasis.moc"
