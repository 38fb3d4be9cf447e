// libbelnahilfe as the host application meets it. Each case runs a private dbus-daemon: one whose
// service folder is the build tree's (the first call starts bin/belnahilfe on the offscreen
// platform, with the status object so that the shown section can be read back), and others
// without the service file, with a service whose program is missing or ends at once, with no
// bus at all, and with a name owner that keeps silent or leaves without answering. The library
// follows DBUS_SESSION_BUS_ADDRESS from call to call, so one process tries every bus.
#include "belnahilfe.h"

#include <dbus/dbus.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

const QString Dienst = QStringLiteral("de.tolvar.BelnaHilfe");

// A dbus-daemon of its own with one service folder (may be empty).
class Bus
{
public:
    bool starten(const QString &ordner, const QString &dienstOrdner)
    {
        QFile konfig(ordner + QStringLiteral("/bus.conf"));
        if (!konfig.open(QIODevice::WriteOnly))
            return false;
        konfig.write(
            QStringLiteral(
                "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/"
                "busconfig.dtd\">\n<busconfig><type>session</type>"
                "<listen>unix:tmpdir=%1</listen><servicedir>%2</servicedir>"
                "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                "<allow eavesdrop=\"true\"/>"
                "<allow own=\"*\"/></policy></busconfig>\n")
                .arg(ordner, dienstOrdner)
                .toUtf8());
        konfig.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TOLVAR_MELDUNGEN"), QStringLiteral("konsole"));
        env.insert(QStringLiteral("TOLVAR_HILFE_TESTZUGANG"), QStringLiteral("1"));
        m_prozess.setProcessEnvironment(env);
        m_prozess.start(QStringLiteral("dbus-daemon"),
                        {QStringLiteral("--config-file=") + konfig.fileName(),
                         QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (!m_prozess.waitForStarted())
            return false;
        while (!m_prozess.canReadLine()) {
            if (!m_prozess.waitForReadyRead(10000))
                return false;
        }
        adresse = QString::fromUtf8(m_prozess.readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", adresse.toUtf8());
        return !adresse.isEmpty();
    }

    ~Bus()
    {
        m_prozess.terminate();
        m_prozess.waitForFinished();
    }

    QString adresse;

private:
    QProcess m_prozess;
};

// A connection of the test's own to a bus, to watch the service name and read the status.
QDBusConnection beobachter(const QString &adresse)
{
    return QDBusConnection::connectToBus(adresse, QStringLiteral("beobachter-") + adresse);
}

QString abschnitt(const QDBusConnection &bus)
{
    const QDBusMessage m = QDBusMessage::createMethodCall(
        Dienst, QStringLiteral("/de/tolvar/BelnaHilfe/Zustand"),
        QStringLiteral("de.tolvar.BelnaHilfe.Zustand"), QStringLiteral("Abschnitt"));
    const QDBusMessage r = bus.call(m);
    return r.type() == QDBusMessage::ReplyMessage ? r.arguments().value(0).toString()
                                                  : r.errorMessage();
}

bool laeuft(const QDBusConnection &bus)
{
    return bus.interface()->isServiceRegistered(Dienst).value();
}

} // namespace

class tst_Client : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void anzeigen_data();
    void anzeigen();
    void beendenStartetNicht();
    void gleichzeitigAusThreads();
    void fehler_data();
    void fehler();
    void besitzerAntwortetNicht_data();
    void besitzerAntwortetNicht();
    void ungueltigeNummer_data();
    void ungueltigeNummer();
    void meldungenUnterscheidbar();
    void zeitlimit_data();
    void zeitlimit();

private:
    bool echterBus(Bus &bus)
    {
        return bus.starten(m_dir->path(), QStringLiteral(TOLVAR_BUILD_DIR "/dbus-1/services"));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_Client::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    belnahilfe_zeitlimit_setzen(0);
}

void tst_Client::anzeigen_data()
{
    QTest::addColumn<QByteArray>("nummer");
    QTest::addColumn<int>("darstellung");
    QTest::addColumn<QString>("gezeigt");
    QTest::newRow("ganz") << QByteArray("03.02.05") << 0 << QStringLiteral("03.02.05");
    QTest::newRow("halb") << QByteArray("02.01.01") << 1 << QStringLiteral("02.01.01");
    QTest::newRow("leer ist 01.01.01") << QByteArray("") << 0 << QStringLiteral("01.01.01");
}

// The first call starts the server and returns once the section is shown; a second call moves
// the same server; belnahilfe_beenden ends it and gives up the name.
void tst_Client::anzeigen()
{
    QFETCH(QByteArray, nummer);
    QFETCH(int, darstellung);
    QFETCH(QString, gezeigt);
    Bus bus;
    QVERIFY(echterBus(bus));
    QDBusConnection b = beobachter(bus.adresse);
    QVERIFY(b.isConnected());

    QCOMPARE(belnahilfe_anzeigen(nummer.constData(), darstellung), BELNAHILFE_OK);
    QCOMPARE(abschnitt(b), gezeigt);
    QCOMPARE(belnahilfe_anzeigen("01.01.02", darstellung), BELNAHILFE_OK);
    QCOMPARE(abschnitt(b), QStringLiteral("01.01.02"));
    QCOMPARE(belnahilfe_beenden(), BELNAHILFE_OK);
    QTRY_VERIFY(!laeuft(b));
}

// Ending a help that does not run must not start one just to end it.
void tst_Client::beendenStartetNicht()
{
    Bus bus;
    QVERIFY(echterBus(bus));
    QDBusConnection b = beobachter(bus.adresse);
    QCOMPARE(belnahilfe_beenden(), BELNAHILFE_OK);
    QVERIFY(!laeuft(b));
    QCOMPARE(belnahilfe_anzeigen("01.01.01", 0), BELNAHILFE_OK);
    QVERIFY(laeuft(b));
    QCOMPARE(belnahilfe_beenden(), BELNAHILFE_OK);
    QTRY_VERIFY(!laeuft(b));
}

// Host threads call at the same time over the one shared connection: every call is answered
// (the first of them starts the server; the others wait for the same activation).
void tst_Client::gleichzeitigAusThreads()
{
    Bus bus;
    QVERIFY(echterBus(bus));
    QDBusConnection b = beobachter(bus.adresse);
    const char *const nummern[] = {"01.01.01", "02.01.01", "03.02.05", "01.01.02"};
    std::atomic<int> fehlgeschlagen{0};
    std::vector<std::thread> threads;
    for (const char *nummer : nummern) {
        threads.emplace_back([nummer, &fehlgeschlagen] {
            for (int i = 0; i < 3; ++i) {
                if (belnahilfe_anzeigen(nummer, i % 2) != BELNAHILFE_OK)
                    ++fehlgeschlagen;
            }
        });
    }
    for (std::thread &t : threads)
        t.join();
    QCOMPARE(fehlgeschlagen.load(), 0);
    QVERIFY(QStringList({"01.01.01", "02.01.01", "03.02.05", "01.01.02"}).contains(abschnitt(b)));
    QCOMPARE(belnahilfe_beenden(), BELNAHILFE_OK);
    QTRY_VERIFY(!laeuft(b));
}

void tst_Client::fehler_data()
{
    QTest::addColumn<QString>("exec");
    QTest::addColumn<bool>("mitBus");
    QTest::addColumn<int>("erwartet");
    QTest::addColumn<QString>("meldungEnthaelt");
    QTest::newRow("ohne Dienstdatei")
        << QString() << true << int(BELNAHILFE_NICHT_INSTALLIERT) << "nicht installiert";
    QTest::newRow("Programm fehlt") << QStringLiteral("/nicht/vorhanden/belnahilfe") << true
                                    << int(BELNAHILFE_START_FEHLGESCHLAGEN) << "nicht gestartet";
    QTest::newRow("Programm endet sofort")
        << QStringLiteral("/bin/false") << true << int(BELNAHILFE_START_FEHLGESCHLAGEN)
        << "nicht gestartet";
    QTest::newRow("kein Bus") << QString() << false << int(BELNAHILFE_KEIN_BUS) << "Sitzungsbus";
}

// What the host is told when the help cannot be had.
void tst_Client::fehler()
{
    QFETCH(QString, exec);
    QFETCH(bool, mitBus);
    QFETCH(int, erwartet);
    QFETCH(QString, meldungEnthaelt);
    const QString dienste = m_dir->filePath(QStringLiteral("dienste"));
    QVERIFY(QDir().mkpath(dienste));
    if (!exec.isEmpty()) {
        QFile datei(dienste + QStringLiteral("/de.tolvar.BelnaHilfe.service"));
        QVERIFY(datei.open(QIODevice::WriteOnly));
        datei.write(("[D-BUS Service]\nName=de.tolvar.BelnaHilfe\nExec=" + exec + "\n").toUtf8());
    }
    Bus bus;
    if (mitBus) {
        QVERIFY(bus.starten(m_dir->path(), dienste));
    } else {
        qputenv("DBUS_SESSION_BUS_ADDRESS",
                "unix:path=" + m_dir->filePath(QStringLiteral("kein-bus")).toUtf8());
    }

    const belnahilfe_status status = belnahilfe_anzeigen("01.01.01", 0);
    QCOMPARE(int(status), erwartet);
    QVERIFY2(QString::fromUtf8(belnahilfe_meldung(status)).contains(meldungEnthaelt),
             belnahilfe_meldung(status));
    // Ending fails only when there is no bus to ask.
    QCOMPARE(belnahilfe_beenden(), mitBus ? BELNAHILFE_OK : BELNAHILFE_KEIN_BUS);
}

void tst_Client::besitzerAntwortetNicht_data()
{
    QTest::addColumn<bool>("gehtWeg");
    QTest::addColumn<int>("erwartet");
    QTest::newRow("schweigt") << false << int(BELNAHILFE_ZEITUEBERSCHREITUNG);
    QTest::newRow("geht ohne Antwort") << true << int(BELNAHILFE_START_FEHLGESCHLAGEN);
}

// A server that holds the name but never answers runs into the call time limit; one that
// leaves the bus with the call unanswered is reported at once, not as a time-out.
void tst_Client::besitzerAntwortetNicht()
{
    QFETCH(bool, gehtWeg);
    QFETCH(int, erwartet);
    const QString dienste = m_dir->filePath(QStringLiteral("dienste"));
    QVERIFY(QDir().mkpath(dienste));
    Bus bus;
    QVERIFY(bus.starten(m_dir->path(), dienste));

    DBusError fehler;
    dbus_error_init(&fehler);
    DBusConnection *besitzer = dbus_connection_open_private(bus.adresse.toUtf8(), &fehler);
    QVERIFY(besitzer);
    QVERIFY(dbus_bus_register(besitzer, &fehler));
    QCOMPARE(dbus_bus_request_name(besitzer, "de.tolvar.BelnaHilfe", 0, &fehler),
             DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER);
    std::atomic<bool> anrufErhalten{false};
    std::thread leser;
    if (gehtWeg) {
        leser = std::thread([besitzer, &anrufErhalten] {
            while (dbus_connection_read_write(besitzer, 100)) {
                while (DBusMessage *m = dbus_connection_pop_message(besitzer)) {
                    const bool anruf = dbus_message_is_method_call(
                        m, "de.tolvar.BelnaHilfe.clsHilfe", "HilfeAnzeigen");
                    dbus_message_unref(m);
                    if (anruf) {
                        anrufErhalten = true;
                        dbus_connection_close(besitzer);
                        return;
                    }
                }
            }
        });
    } else {
        belnahilfe_zeitlimit_setzen(300);
    }

    const belnahilfe_status status = belnahilfe_anzeigen("01.01.01", 0);
    if (leser.joinable())
        leser.join();
    QCOMPARE(int(status), erwartet);
    QCOMPARE(anrufErhalten.load(), gehtWeg);
    if (!gehtWeg)
        dbus_connection_close(besitzer);
    dbus_connection_unref(besitzer);
    dbus_error_free(&fehler);
}

void tst_Client::ungueltigeNummer_data()
{
    QTest::addColumn<QByteArray>("nummer");
    QTest::addColumn<bool>("null");
    QTest::newRow("NULL") << QByteArray() << true;
    QTest::newRow("kein UTF-8") << QByteArray("01.\xff\xfe.01") << false;
    QTest::newRow("100 MB") << QByteArray(100 << 20, '1') << false;
}

// A wrong argument is refused before any bus is asked (libdbus would abort on bad UTF-8).
void tst_Client::ungueltigeNummer()
{
    QFETCH(QByteArray, nummer);
    QFETCH(bool, null);
    qputenv("DBUS_SESSION_BUS_ADDRESS",
            "unix:path=" + m_dir->filePath(QStringLiteral("kein-bus")).toUtf8());
    QCOMPARE(belnahilfe_anzeigen(null ? nullptr : nummer.constData(), 0), BELNAHILFE_UNGUELTIG);
}

// The host shows these texts to the user: one for each outcome, and a text for a value the
// library does not know (a newer header).
void tst_Client::meldungenUnterscheidbar()
{
    QSet<QString> texte;
    for (int s = BELNAHILFE_OK; s <= BELNAHILFE_UNGUELTIG; ++s)
        texte.insert(QString::fromUtf8(belnahilfe_meldung(belnahilfe_status(s))));
    QCOMPARE(texte.size(), BELNAHILFE_UNGUELTIG + 1);
    const char *unbekannt = belnahilfe_meldung(belnahilfe_status(99));
    QVERIFY(unbekannt && *unbekannt);
    QVERIFY(!texte.contains(QString::fromUtf8(unbekannt)));
}

void tst_Client::zeitlimit_data()
{
    QTest::addColumn<int>("gesetzt");
    QTest::addColumn<int>("gilt");
    QTest::newRow("eigenes") << 2500 << 2500;
    QTest::newRow("0 ist die Vorgabe") << 0 << BELNAHILFE_ZEITLIMIT_VORGABE;
    QTest::newRow("unbegrenzt") << BELNAHILFE_ZEITLIMIT_UNBEGRENZT
                                << BELNAHILFE_ZEITLIMIT_UNBEGRENZT;
    QTest::newRow("negativ bleibt beim alten") << -5 << 1234;
}

void tst_Client::zeitlimit()
{
    QFETCH(int, gesetzt);
    QFETCH(int, gilt);
    belnahilfe_zeitlimit_setzen(1234);
    belnahilfe_zeitlimit_setzen(gesetzt);
    QCOMPARE(belnahilfe_zeitlimit(), gilt);
}

QTEST_GUILESS_MAIN(tst_Client)
#include "tst_Client.moc"
