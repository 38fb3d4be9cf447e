// libbelnahilfe as the host application meets it, each case on private buses: the build tree's
// server started by activation, buses without the service file or with a service whose program
// is missing or ends at once, no bus at all, and a name owner that keeps silent or leaves
// without answering. The library follows DBUS_SESSION_BUS_ADDRESS from call to call, so one
// process tries every bus.
#include "PrivaterBus.h"
#include "TestHilfen.h"
#include "belnahilfe.h"

#include <dbus/dbus.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>
#include <vector>

class tst_Client : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    // A service folder in the temporary folder; its activation file starts `exec`, if given.
    QString dienste(const QString &exec)
    {
        const QString ordner = m_dir.filePath(QStringLiteral("dienste"));
        QDir(ordner).removeRecursively();
        QDir().mkpath(ordner);
        QFile datei(ordner + QStringLiteral("/de.tolvar.BelnaHilfe.service"));
        if (!exec.isEmpty() && datei.open(QIODevice::WriteOnly))
            datei.write(("[D-BUS Service]\nName=de.tolvar.BelnaHilfe\nExec=" + exec).toUtf8());
        return ordner;
    }

private slots:
    void init() { belnahilfe_zeitlimit_setzen(0); }

    // Ending a help that does not run starts none; a call starts the server and returns once the
    // section is shown (an empty number is the first section), the next one moves it, and
    // belnahilfe_beenden ends it.
    void anzeigenUndBeenden()
    {
        PrivaterBus bus;
        QVERIFY(bus.starten());
        QCOMPARE(belnahilfe_beenden(), BELNAHILFE_OK);
        QVERIFY(!bus.dienstLaeuft());
        QCOMPARE(belnahilfe_anzeigen("03.02.05", 0), BELNAHILFE_OK);
        QCOMPARE(bus.zustand(QStringLiteral("Abschnitt")).toString(), "03.02.05");
        QCOMPARE(belnahilfe_anzeigen("", 1), BELNAHILFE_OK);
        QCOMPARE(bus.zustand(QStringLiteral("Abschnitt")).toString(), "01.01.01");
        QCOMPARE(belnahilfe_beenden(), BELNAHILFE_OK);
        QTRY_VERIFY(!bus.dienstLaeuft());
    }

    // Host threads call at once over the one shared connection: every call is answered (the
    // first starts the server, the others wait for the same activation).
    void gleichzeitigAusThreads()
    {
        PrivaterBus bus;
        QVERIFY(bus.starten());
        std::atomic<int> fehlgeschlagen{0};
        std::vector<std::thread> threads;
        for (const char *nummer : {"01.01.01", "02.01.01", "03.02.05", "01.01.02"}) {
            threads.emplace_back([nummer, &fehlgeschlagen] {
                for (int i = 0; i < 3; ++i)
                    fehlgeschlagen += belnahilfe_anzeigen(nummer, i % 2) != BELNAHILFE_OK;
            });
        }
        for (std::thread &t : threads)
            t.join();
        QCOMPARE(fehlgeschlagen.load(), 0);
    }

    void fehler_data()
    {
        QTest::addColumn<QString>("exec"); // "-": no bus at all
        QTest::addColumn<QByteArray>("nummer");
        QTest::addColumn<int>("erwartet");
        QTest::addColumn<QString>("meldung");
        const QByteArray n("01.01.01");
        const int fehlt = BELNAHILFE_START_FEHLGESCHLAGEN;
        zeile("ohne Dienstdatei", QString(), n, int(BELNAHILFE_NICHT_INSTALLIERT), "installiert");
        zeile("Programm fehlt", QStringLiteral("/nicht/da"), n, fehlt, "nicht gestartet");
        zeile("Programm endet sofort", QStringLiteral("/bin/false"), n, fehlt, "nicht gestartet");
        zeile("kein Bus", QStringLiteral("-"), n, int(BELNAHILFE_KEIN_BUS), "Sitzungsbus");
        // A wrong argument is refused before any bus is asked (libdbus aborts on bad UTF-8).
        const int falsch = BELNAHILFE_UNGUELTIG;
        zeile("NULL", QStringLiteral("-"), QByteArray(), falsch, "ungültigen");
        zeile("kein UTF-8", QStringLiteral("-"), QByteArray("01.\xff.01"), falsch, "ungültigen");
        zeile("100 MB", QStringLiteral("-"), QByteArray(100 << 20, '1'), falsch, "ungültigen");
    }

    // What the host is told when the help cannot be had; ending fails only without a bus.
    void fehler()
    {
        QFETCH(QString, exec);
        QFETCH(QByteArray, nummer);
        QFETCH(int, erwartet);
        QFETCH(QString, meldung);
        PrivaterBus bus;
        if (exec == QLatin1String("-"))
            qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + m_dir.filePath("nicht").toUtf8());
        else
            QVERIFY(bus.starten(dienste(exec)));
        const belnahilfe_status s =
            belnahilfe_anzeigen(nummer.isNull() ? nullptr : nummer.constData(), 0);
        QCOMPARE(int(s), erwartet);
        QVERIFY2(QString::fromUtf8(belnahilfe_meldung(s)).contains(meldung), belnahilfe_meldung(s));
        QCOMPARE(belnahilfe_beenden(), exec == "-" ? BELNAHILFE_KEIN_BUS : BELNAHILFE_OK);
    }

    void besitzerAntwortetNicht_data()
    {
        QTest::addColumn<bool>("gehtWeg");
        QTest::addColumn<int>("erwartet");
        zeile("schweigt", false, int(BELNAHILFE_ZEITUEBERSCHREITUNG));
        zeile("geht ohne Antwort", true, int(BELNAHILFE_START_FEHLGESCHLAGEN));
    }

    // A name owner that never answers runs into the call time limit; one that leaves the bus
    // with the call unanswered is reported at once, not as a time-out.
    void besitzerAntwortetNicht()
    {
        QFETCH(bool, gehtWeg);
        QFETCH(int, erwartet);
        PrivaterBus bus;
        QVERIFY(bus.starten(dienste(QString())));
        DBusConnection *besitzer = dbus_connection_open_private(bus.adresse().toUtf8(), nullptr);
        QVERIFY(besitzer && dbus_bus_register(besitzer, nullptr));
        QCOMPARE(dbus_bus_request_name(besitzer, "de.tolvar.BelnaHilfe", 0, nullptr),
                 DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER);
        std::atomic<bool> anrufErhalten{false};
        std::thread leser([&] {
            while (gehtWeg && !anrufErhalten && dbus_connection_read_write(besitzer, 100)) {
                while (DBusMessage *m = dbus_connection_pop_message(besitzer)) {
                    anrufErhalten = anrufErhalten ||
                                    dbus_message_is_method_call(m, "de.tolvar.BelnaHilfe.clsHilfe",
                                                                "HilfeAnzeigen");
                    dbus_message_unref(m);
                }
            }
            if (anrufErhalten)
                dbus_connection_close(besitzer);
        });
        if (!gehtWeg)
            belnahilfe_zeitlimit_setzen(300);
        const belnahilfe_status s = belnahilfe_anzeigen("01.01.01", 0);
        leser.join();
        QCOMPARE(int(s), erwartet);
        QCOMPARE(anrufErhalten.load(), gehtWeg);
        if (!gehtWeg)
            dbus_connection_close(besitzer);
        dbus_connection_unref(besitzer);
    }

    // The host shows these texts to the user: one for each outcome, and one for a value the
    // library does not know (a newer header).
    void meldungenUnterscheidbar()
    {
        QSet<QString> texte;
        for (int s = BELNAHILFE_OK; s <= BELNAHILFE_UNGUELTIG; ++s)
            texte.insert(QString::fromUtf8(belnahilfe_meldung(belnahilfe_status(s))));
        texte.insert(QString::fromUtf8(belnahilfe_meldung(belnahilfe_status(99))));
        QCOMPARE(texte.size(), BELNAHILFE_UNGUELTIG + 2);
        QVERIFY(!texte.contains(QString()));
    }

    void zeitlimit_data()
    {
        QTest::addColumn<int>("gesetzt");
        QTest::addColumn<int>("gilt");
        zeile("eigenes", 2500, 2500);
        zeile("0 ist die Vorgabe", 0, int(BELNAHILFE_ZEITLIMIT_VORGABE));
        zeile("unbegrenzt", int(BELNAHILFE_ZEITLIMIT_UNBEGRENZT),
              int(BELNAHILFE_ZEITLIMIT_UNBEGRENZT));
        zeile("negativ bleibt beim alten", -5, 1234);
    }

    void zeitlimit()
    {
        QFETCH(int, gesetzt);
        belnahilfe_zeitlimit_setzen(1234);
        belnahilfe_zeitlimit_setzen(gesetzt);
        QTEST(belnahilfe_zeitlimit(), "gilt");
    }
};

QTEST_GUILESS_MAIN(tst_Client)
#include "tst_Client.moc"
