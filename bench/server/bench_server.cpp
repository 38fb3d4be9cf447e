// Measures the help server as the host application meets it: a private session bus whose
// service folder is the build tree's, so the first HilfeAnzeigen starts bin/belnahilfe with the
// sample database beside it (offscreen platform). Prints one line per figure with its target:
// first call with activation, HilfeAnzeigen on the running server, moving to another chapter,
// and the resident memory of the server with the help open.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString Dienst = QStringLiteral("de.tolvar.BelnaHilfe");
const QString HilfePfad = QStringLiteral("/de/tolvar/BelnaHilfe/clsHilfe");
const QString Schnittstelle = QStringLiteral("de.tolvar.BelnaHilfe.clsHilfe");
const QString ZustandPfad = QStringLiteral("/de/tolvar/BelnaHilfe/Zustand");
const QString ZustandSchnittstelle = QStringLiteral("de.tolvar.BelnaHilfe.Zustand");
const QString Verbindung = QStringLiteral("privat");

QDBusMessage rufen(const QString &pfad, const QString &schnittstelle, const QString &methode,
                   const QVariantList &argumente = {})
{
    QDBusMessage m = QDBusMessage::createMethodCall(Dienst, pfad, schnittstelle, methode);
    m.setArguments(argumente);
    return QDBusConnection(Verbindung).call(m, QDBus::Block, 20000);
}

QDBusMessage anzeigen(const QString &nummer)
{
    return rufen(HilfePfad, Schnittstelle, QStringLiteral("HilfeAnzeigen"),
                 {nummer, QVariant::fromValue(qint16(0))});
}

QString abschnitt()
{
    const QDBusMessage r = rufen(ZustandPfad, ZustandSchnittstelle, QStringLiteral("Abschnitt"));
    return r.type() == QDBusMessage::ReplyMessage ? r.arguments().value(0).toString() : QString();
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

long vmRssKb(uint pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &zeile : f.readAll().split('\n'))
        if (zeile.startsWith("VmRSS:"))
            return zeile.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Calls HilfeAnzeigen alternately with the numbers; the time runs from the call to the answer.
// Afterwards the status object must name the requested section, else the call counts as failed.
std::vector<double> reihe(const QStringList &nummern, int anzahl, int *fehler)
{
    std::vector<double> ms;
    for (int i = 0; i < anzahl; ++i) {
        const QString n = nummern.at(i % nummern.size());
        QElapsedTimer t;
        t.start();
        const QDBusMessage r = anzeigen(n);
        const double d = t.nsecsElapsed() / 1e6;
        if (r.type() != QDBusMessage::ReplyMessage || abschnitt() != n)
            ++*fehler;
        else
            ms.push_back(d);
    }
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    QFile konfig(dir.filePath(QStringLiteral("bus.conf")));
    if (!konfig.open(QIODevice::WriteOnly))
        return 1;
    konfig.write(
        QStringLiteral(
            "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
            "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            "<busconfig><type>session</type><listen>unix:tmpdir=%1</listen>"
            "<servicedir>%2/dbus-1/services</servicedir>"
            "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
            "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
            "</busconfig>\n")
            .arg(dir.path(), QStringLiteral(TOLVAR_BUILD_DIR))
            .toUtf8());
    konfig.close();

    // The bus passes its environment to the server it starts: offscreen, messages on the
    // console, the sample database beside the executable.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TOLVAR_MELDUNGEN"), QStringLiteral("konsole"));
    env.insert(QStringLiteral("TOLVAR_HILFE_TESTZUGANG"), QStringLiteral("1"));
    env.remove(QStringLiteral("TOLVAR_HILFE_VERZEICHNIS"));
    QProcess bus;
    bus.setProcessEnvironment(env);
    bus.start(QStringLiteral("dbus-daemon"),
              {QStringLiteral("--config-file=") + konfig.fileName(), QStringLiteral("--nofork"),
               QStringLiteral("--print-address=1")});
    if (!bus.waitForStarted() || !bus.waitForReadyRead(10000)) {
        std::fprintf(stderr, "dbus-daemon startet nicht\n");
        return 1;
    }
    while (!bus.canReadLine() && bus.waitForReadyRead(10000)) {
    }
    const QString adresse = QString::fromUtf8(bus.readLine()).trimmed();
    if (adresse.isEmpty() || !QDBusConnection::connectToBus(adresse, Verbindung).isConnected()) {
        std::fprintf(stderr, "keine Verbindung zum privaten Bus\n");
        return 1;
    }

    int rc = 0;
    {
        QDBusConnection verbindung(Verbindung);

        // 1. First call: activation, start-up sequence, answer.
        QElapsedTimer t;
        t.start();
        const QDBusMessage erste = anzeigen(QStringLiteral("01.01.01"));
        const double ersteMs = t.nsecsElapsed() / 1e6;
        if (erste.type() != QDBusMessage::ReplyMessage ||
            abschnitt() != QStringLiteral("01.01.01")) {
            std::fprintf(stderr, "erster Aufruf fehlgeschlagen: %s\n",
                         qPrintable(erste.errorMessage()));
            rc = 1;
        } else {
            std::printf("Erster Aufruf HilfeAnzeigen mit Aktivierung bis zur Antwort: %.0f ms "
                        "(Ziel <= 1000 ms)\n",
                        ersteMs);
        }

        if (rc == 0) {
            // Warm-up over the sections used below.
            int fehler = 0;
            reihe({QStringLiteral("04.01.01"), QStringLiteral("04.01.03"),
                   QStringLiteral("01.01.01"), QStringLiteral("05.01.01")},
                  4, &fehler);

            // 2. Running server, alternating sections (same chapter).
            fehler = 0;
            const std::vector<double> laufend =
                reihe({QStringLiteral("04.01.01"), QStringLiteral("04.01.03")}, 30, &fehler);
            std::printf("HilfeAnzeigen auf dem laufenden Server bis zur Antwort mit dem "
                        "Abschnitt (Median von %zu, Wechsel 04.01.01/04.01.03): %.2f ms "
                        "(Ziel <= 30 ms)%s\n",
                        laufend.size(), median(laufend),
                        fehler ? qPrintable(QStringLiteral(" [%1 Fehler]").arg(fehler)) : "");

            // 3. The server offers no way to select a tab, a section title or a link from
            // outside; a HilfeAnzeigen that changes chapter is the closest measurable proxy.
            fehler = 0;
            const std::vector<double> kapitel =
                reihe({QStringLiteral("01.01.01"), QStringLiteral("05.01.01")}, 30, &fehler);
            std::printf("Kapitelwechsel (Ersatz fuer Registerkarte/Abschnittstitel/Link, die "
                        "der Server nicht von aussen ausloesen laesst: HilfeAnzeigen mit "
                        "Kapitelwechsel 01.01.01/05.01.01, Median von %zu): %.2f ms "
                        "(Ziel <= 15 ms)%s\n",
                        kapitel.size(), median(kapitel),
                        fehler ? qPrintable(QStringLiteral(" [%1 Fehler]").arg(fehler)) : "");
            if (laufend.empty() || kapitel.empty())
                rc = 1;

            // 4. Resident memory with the help open.
            const uint pid = verbindung.interface()->servicePid(Dienst).value();
            const long kb = pid ? vmRssKb(pid) : -1;
            if (kb < 0) {
                std::fprintf(stderr, "VmRSS des Servers nicht lesbar\n");
                rc = 1;
            } else {
                std::printf("Speicher des Servers mit offener Hilfe (VmRSS): %.1f MB "
                            "(Ziel <= 120 MB)\n",
                            kb / 1024.0);
            }
        }
        std::fflush(stdout);

        if (verbindung.interface()->isServiceRegistered(Dienst))
            rufen(HilfePfad, Schnittstelle, QStringLiteral("HilfeBeenden"));
        for (int i = 0; i < 100 && verbindung.interface()->isServiceRegistered(Dienst); ++i)
            QThread::msleep(20);
    }
    QDBusConnection::disconnectFromBus(Verbindung);
    bus.terminate();
    bus.waitForFinished();
    return rc;
}
