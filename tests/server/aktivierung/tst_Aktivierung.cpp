// The help server as the host application meets it over D-Bus, on a private bus whose service
// folder is the build tree's: the first HilfeAnzeigen starts bin/belnahilfe (sample database),
// the same process serves the next call, HilfeBeenden answers and ends it, a second server finds
// the name taken, and a call without a database is answered with an error. The cases run in
// order on one bus.
#include "PrivaterBus.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>

class tst_Aktivierung : public QObject
{
    Q_OBJECT
    PrivaterBus m_bus;

private slots:
    void initTestCase() { QVERIFY(m_bus.starten()); }

    void aktivierungUndZweiterAufruf()
    {
        QVERIFY(!m_bus.dienstLaeuft());
        QCOMPARE(m_bus.anzeigen(QStringLiteral("03.02.05")).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(m_bus.zustand(QStringLiteral("Abschnitt")).toString(), "03.02.05");
        QCOMPARE(m_bus.zustand(QStringLiteral("HilfeSichtbar")).toBool(), true);
        const uint pid = m_bus.serverPid();
        QVERIFY(pid > 0);
        QCOMPARE(m_bus.anzeigen(QStringLiteral("1.1.2"), 1).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(m_bus.zustand(QStringLiteral("Abschnitt")).toString(), "01.01.02");
        QCOMPARE(m_bus.serverPid(), pid);
        QCOMPARE(m_bus.zustand(QStringLiteral("Meldungen")).toStringList(), QStringList());
    }

    void zweiterServerEndet()
    {
        QVERIFY(m_bus.dienstLaeuft());
        QProcess zweiter; // DBUS_SESSION_BUS_ADDRESS names the private bus
        zweiter.start(QStringLiteral(TOLVAR_BUILD_DIR "/bin/belnahilfe"), {});
        QVERIFY(zweiter.waitForFinished(20000));
        QCOMPARE(zweiter.exitCode(), 2);
        QVERIFY(zweiter.readAllStandardError().contains("bereits"));
    }

    void beendenEndetProzess()
    {
        const uint pid = m_bus.serverPid();
        QVERIFY(pid > 0);
        QCOMPARE(m_bus.rufen(QStringLiteral("HilfeBeenden")).type(), QDBusMessage::ReplyMessage);
        QTRY_VERIFY(::kill(pid_t(pid), 0) != 0);
        QVERIFY(!m_bus.dienstLaeuft());
    }

    void ohneDatenbankFehler()
    {
        QTemporaryDir leer;
        QVERIFY(
            m_bus.aktivierungsUmgebung(QStringLiteral("TOLVAR_HILFE_VERZEICHNIS"), leer.path()));
        QCOMPARE(m_bus.anzeigen(QStringLiteral("01.01.01"), 1).type(), QDBusMessage::ErrorMessage);
        QCOMPARE(m_bus.zustand(QStringLiteral("Meldungen")).toStringList(),
                 QStringList{"Die Hilfedatenbank wurde nicht gefunden!"});
        QCOMPARE(m_bus.zustand(QStringLiteral("HilfeSichtbar")).toBool(), false);
        QCOMPARE(m_bus.zustand(QStringLiteral("RahmenSichtbar")).toBool(), true);
        QCOMPARE(m_bus.zustand(QStringLiteral("Abschnitt")).toString(), QString());
    }
};

QTEST_GUILESS_MAIN(tst_Aktivierung)
#include "tst_Aktivierung.moc"
