// Runs the help server as the host application meets it: a private session bus whose service
// folder is the build tree's, so the first HilfeAnzeigen starts bin/belnahilfe. Checks that
// the help shows the requested section, a second call moves it, HilfeBeenden answers and ends
// the process (the next call starts a fresh one), a second server finds the name taken, and a
// missing database gives one message and no help window.
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>

namespace {

const QString Dienst = QStringLiteral("de.tolvar.BelnaHilfe");
const QString HilfePfad = QStringLiteral("/de/tolvar/BelnaHilfe/clsHilfe");
const QString Schnittstelle = QStringLiteral("de.tolvar.BelnaHilfe.clsHilfe");
const QString ZustandPfad = QStringLiteral("/de/tolvar/BelnaHilfe/Zustand");
const QString ZustandSchnittstelle = QStringLiteral("de.tolvar.BelnaHilfe.Zustand");

QString rtf(const QString &text)
{
    return QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 %1\\par}").arg(text);
}

} // namespace

class tst_Aktivierung : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void anzeigenVerschiebenBeenden();
    void zweiterServerEndet();
    void fehlendeDatenbank();

private:
    QDBusMessage rufen(const QString &pfad, const QString &schnittstelle, const QString &methode,
                       const QVariantList &argumente = {});
    QDBusMessage anzeigen(const QString &nummer, qint16 darstellung);
    QVariant zustand(const QString &methode);
    uint serverPid();
    void umgebung(const QString &verzeichnis);

    QTemporaryDir m_dir;
    QProcess m_bus;
    QString m_adresse;
};

void tst_Aktivierung::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    qDBusRegisterMetaType<QMap<QString, QString>>();
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("db")));
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("leer")));

    HilfeDatenbankSchreiber s;
    QVERIFY(s.oeffnen(m_dir.filePath(QStringLiteral("db/HilfeBelna.mdb")),
                      QString::fromLatin1(HilfePasswort)));
    const qint32 k1 = s.kapitelEinfuegen(1, QStringLiteral("Eins"), 1);
    const qint32 t11 = s.themaEinfuegen(k1, 1, QStringLiteral("Thema"), 1);
    s.textEinfuegen(t11, 1, QStringLiteral("Erster"), rtf(QStringLiteral("Erster Text")), 1);
    s.textEinfuegen(t11, 2, QStringLiteral("Zweiter"), rtf(QStringLiteral("Zweiter Text")), 2);
    const qint32 k3 = s.kapitelEinfuegen(3, QStringLiteral("Drei"), 2);
    const qint32 t32 = s.themaEinfuegen(k3, 2, QStringLiteral("Thema"), 1);
    for (int i = 1; i <= 5; ++i)
        s.textEinfuegen(t32, i, QStringLiteral("T%1").arg(i), rtf(QStringLiteral("T%1").arg(i)), i);
    QVERIFY(s.abschliessen());

    QFile konfig(m_dir.filePath(QStringLiteral("bus.conf")));
    QVERIFY(konfig.open(QIODevice::WriteOnly));
    konfig.write(
        QStringLiteral(
            "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
            "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            "<busconfig><type>session</type><listen>unix:tmpdir=%1</listen>"
            "<servicedir>%2/dbus-1/services</servicedir>"
            "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
            "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
            "</busconfig>\n")
            .arg(m_dir.path(), QStringLiteral(TOLVAR_BUILD_DIR))
            .toUtf8());
    konfig.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TOLVAR_MELDUNGEN"), QStringLiteral("konsole"));
    env.insert(QStringLiteral("TOLVAR_HILFE_TESTZUGANG"), QStringLiteral("1"));
    env.insert(QStringLiteral("TOLVAR_HILFE_VERZEICHNIS"), m_dir.filePath(QStringLiteral("db")));
    m_bus.setProcessEnvironment(env);
    m_bus.setProcessChannelMode(QProcess::SeparateChannels);
    m_bus.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--config-file=") + konfig.fileName(), QStringLiteral("--nofork"),
                 QStringLiteral("--print-address=1")});
    QVERIFY(m_bus.waitForStarted());
    QTRY_VERIFY(m_bus.canReadLine());
    m_adresse = QString::fromUtf8(m_bus.readLine()).trimmed();
    QVERIFY(!m_adresse.isEmpty());
    QVERIFY(QDBusConnection::connectToBus(m_adresse, QStringLiteral("privat")).isConnected());
}

void tst_Aktivierung::cleanupTestCase()
{
    QDBusConnection bus(QStringLiteral("privat"));
    if (bus.interface() && bus.interface()->isServiceRegistered(Dienst))
        rufen(HilfePfad, Schnittstelle, QStringLiteral("HilfeBeenden"));
    QDBusConnection::disconnectFromBus(QStringLiteral("privat"));
    m_bus.terminate();
    m_bus.waitForFinished();
}

QDBusMessage tst_Aktivierung::rufen(const QString &pfad, const QString &schnittstelle,
                                    const QString &methode, const QVariantList &argumente)
{
    QDBusMessage m = QDBusMessage::createMethodCall(Dienst, pfad, schnittstelle, methode);
    m.setArguments(argumente);
    return QDBusConnection(QStringLiteral("privat")).call(m, QDBus::Block, 20000);
}

QDBusMessage tst_Aktivierung::anzeigen(const QString &nummer, qint16 darstellung)
{
    return rufen(HilfePfad, Schnittstelle, QStringLiteral("HilfeAnzeigen"),
                 {nummer, QVariant::fromValue(darstellung)});
}

QVariant tst_Aktivierung::zustand(const QString &methode)
{
    const QDBusMessage r = rufen(ZustandPfad, ZustandSchnittstelle, methode);
    return r.type() == QDBusMessage::ReplyMessage ? r.arguments().value(0) : QVariant();
}

uint tst_Aktivierung::serverPid()
{
    return QDBusConnection(QStringLiteral("privat")).interface()->servicePid(Dienst).value();
}

void tst_Aktivierung::umgebung(const QString &verzeichnis)
{
    QDBusMessage m = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("UpdateActivationEnvironment"));
    QMap<QString, QString> env{{QStringLiteral("TOLVAR_HILFE_VERZEICHNIS"), verzeichnis}};
    m << QVariant::fromValue(env);
    const QDBusMessage r = QDBusConnection(QStringLiteral("privat")).call(m);
    QCOMPARE(r.type(), QDBusMessage::ReplyMessage);
}

void tst_Aktivierung::anzeigenVerschiebenBeenden()
{
    QDBusConnection bus(QStringLiteral("privat"));
    QVERIFY(!bus.interface()->isServiceRegistered(Dienst));

    QDBusMessage r = anzeigen(QStringLiteral("03.02.05"), 0);
    QCOMPARE(r.type(), QDBusMessage::ReplyMessage);
    QCOMPARE(zustand(QStringLiteral("Abschnitt")).toString(), QStringLiteral("03.02.05"));
    QCOMPARE(zustand(QStringLiteral("HilfeSichtbar")).toBool(), true);
    const uint pid = serverPid();
    QVERIFY(pid > 0);

    r = anzeigen(QStringLiteral("1.1.2"), 1);
    QCOMPARE(r.type(), QDBusMessage::ReplyMessage);
    QCOMPARE(zustand(QStringLiteral("Abschnitt")).toString(), QStringLiteral("01.01.02"));
    QCOMPARE(serverPid(), pid); // the same process
    QVERIFY(zustand(QStringLiteral("Meldungen")).toStringList().isEmpty());

    r = rufen(HilfePfad, Schnittstelle, QStringLiteral("HilfeBeenden"));
    QCOMPARE(r.type(), QDBusMessage::ReplyMessage);
    QTRY_VERIFY(::kill(pid_t(pid), 0) != 0);
    QVERIFY(!bus.interface()->isServiceRegistered(Dienst));

    // The next call starts a fresh server.
    r = anzeigen(QStringLiteral("01.01.01"), 0);
    QCOMPARE(r.type(), QDBusMessage::ReplyMessage);
    QVERIFY(serverPid() != pid);
    QCOMPARE(zustand(QStringLiteral("Abschnitt")).toString(), QStringLiteral("01.01.01"));
}

void tst_Aktivierung::zweiterServerEndet()
{
    QVERIFY(QDBusConnection(QStringLiteral("privat")).interface()->isServiceRegistered(Dienst));
    QProcess zweiter;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_adresse);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    zweiter.setProcessEnvironment(env);
    zweiter.start(QStringLiteral(TOLVAR_BUILD_DIR "/bin/belnahilfe"), {});
    QVERIFY(zweiter.waitForFinished(20000));
    QCOMPARE(zweiter.exitCode(), 2);
    QVERIFY(zweiter.readAllStandardError().contains("bereits"));
}

void tst_Aktivierung::fehlendeDatenbank()
{
    rufen(HilfePfad, Schnittstelle, QStringLiteral("HilfeBeenden"));
    QTRY_VERIFY(
        !QDBusConnection(QStringLiteral("privat")).interface()->isServiceRegistered(Dienst));
    umgebung(m_dir.filePath(QStringLiteral("leer")));
    if (QTest::currentTestFailed())
        return;

    const QDBusMessage r = anzeigen(QStringLiteral("01.01.01"), 1);
    QCOMPARE(r.type(), QDBusMessage::ErrorMessage);
    const QStringList meldungen = zustand(QStringLiteral("Meldungen")).toStringList();
    QCOMPARE(meldungen, QStringList{QStringLiteral("Die Hilfedatenbank wurde nicht gefunden!")});
    QCOMPARE(zustand(QStringLiteral("HilfeSichtbar")).toBool(), false);
    QCOMPARE(zustand(QStringLiteral("RahmenSichtbar")).toBool(), true);
    QCOMPARE(zustand(QStringLiteral("Abschnitt")).toString(), QString());
    umgebung(m_dir.filePath(QStringLiteral("db")));
}

QTEST_GUILESS_MAIN(tst_Aktivierung)
#include "tst_Aktivierung.moc"
