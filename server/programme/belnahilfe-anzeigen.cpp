// A small command that calls the help server as the host application does:
//   belnahilfe-anzeigen NUMMER [--halb]     opens the help at NUMMER (half-screen with --halb)
//   belnahilfe-anzeigen --beenden           closes the help and ends the server
// and, for scripts and tests, reads the server's status (only a server started with
// TOLVAR_HILFE_TESTZUGANG=1 offers it):
//   belnahilfe-anzeigen --abschnitt         prints the number of the shown section
//   belnahilfe-anzeigen --zustand           prints the whole state as JSON
//   belnahilfe-anzeigen --widget NAME       prints a control's place and visibility as JSON
//   belnahilfe-anzeigen --verweise          prints the shown section's links as JSON
//   belnahilfe-anzeigen --zeichen POS       prints the screen box of a character as JSON
//   belnahilfe-anzeigen --foto DATEI [BREITE HOEHE]   saves a picture of the frame window
// The status queries ask the service named by TOLVAR_HILFE_DIENST when it is set (the preview
// of hilfedb offers its status under a name of its own), else the help server.
// The first call starts the server through the bus's activation. The host calls go through
// libbelnahilfe (client/), exactly as the host application makes them; the status queries use
// QtDBus. Exit status: 0 done, 1 failed, 2 wrong usage.
#include "HilfeZustand.h"
#include "belnahilfe.h"
#include "clsHilfe.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

// A message box in the server waits for the user; the call waits with it (as long as a host
// call of libbelnahilfe does by default).
constexpr int Wartezeit = BELNAHILFE_ZEITLIMIT_VORGABE;

int aufrufen(const QString &dienst, const char *pfad, const char *schnittstelle,
             const QString &methode, const QVariantList &argumente, QDBusMessage *antwort = nullptr)
{
    QDBusMessage m = QDBusMessage::createMethodCall(dienst, QString::fromLatin1(pfad),
                                                    QString::fromLatin1(schnittstelle), methode);
    m.setArguments(argumente);
    const QDBusMessage r = QDBusConnection::sessionBus().call(m, QDBus::Block, Wartezeit);
    if (r.type() == QDBusMessage::ErrorMessage) {
        std::fprintf(stderr, "belnahilfe-anzeigen: %s: %s\n", qPrintable(r.errorName()),
                     qPrintable(r.errorMessage()));
        return 1;
    }
    if (antwort)
        *antwort = r;
    return 0;
}

int zustand(const QString &methode, const QVariantList &argumente, QDBusMessage *antwort)
{
    const QString dienst = qEnvironmentVariableIsEmpty("TOLVAR_HILFE_DIENST")
                               ? QString::fromLatin1(HilfeDienst)
                               : qEnvironmentVariable("TOLVAR_HILFE_DIENST");
    return aufrufen(dienst, ZustandPfad, ZustandSchnittstelle, methode, argumente, antwort);
}

const char *const Aufruf = "Aufruf: belnahilfe-anzeigen NUMMER [--halb]\n"
                           "       belnahilfe-anzeigen --beenden\n"
                           "       belnahilfe-anzeigen --abschnitt\n"
                           "       belnahilfe-anzeigen --zustand | --verweise\n"
                           "       belnahilfe-anzeigen --widget NAME | --zeichen POS\n"
                           "       belnahilfe-anzeigen --foto DATEI [BREITE HOEHE]\n"
                           "       belnahilfe-anzeigen --help | --version\n";

void hilfeText()
{
    std::fputs(Aufruf, stderr);
}

// A host call through libbelnahilfe; a failure is told in the library's words.
int hostAufruf(belnahilfe_status status)
{
    if (status == BELNAHILFE_OK)
        return 0;
    std::fprintf(stderr, "belnahilfe-anzeigen: %s\n", belnahilfe_meldung(status));
    return status == BELNAHILFE_UNGUELTIG ? 2 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // --help, --version and the host calls need no Qt.
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(Aufruf, stdout);
        std::fputs("\nÖffnet die Tolvar-Hilfe bei einer Hilfenummer KK.TT.XX (mit --halb auf der\n"
                   "rechten Hälfte des Arbeitsbereichs) oder beendet sie mit --beenden.\n"
                   "Rückgabe: 0 ausgeführt, 1 fehlgeschlagen, 2 falscher Aufruf.\n",
                   stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("belnahilfe-anzeigen (Tolvar-Hilfe) %s\n", TOLVAR_VERSION);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--beenden") == 0)
        return hostAufruf(belnahilfe_beenden());
    if ((argc == 2 && std::strncmp(argv[1], "--", 2) != 0) ||
        (argc == 3 && std::strncmp(argv[1], "--", 2) != 0 && std::strcmp(argv[2], "--halb") == 0))
        return hostAufruf(belnahilfe_anzeigen(argv[1], argc == 3 ? 1 : 0));
    static const char *const abfragen[] = {"--abschnitt", "--zustand", "--verweise",
                                           "--widget",    "--zeichen", "--foto"};
    if (argc < 2 || std::none_of(std::begin(abfragen), std::end(abfragen),
                                 [&](const char *o) { return std::strcmp(argv[1], o) == 0; })) {
        hilfeText();
        return 2;
    }

    QCoreApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments().mid(1);
    if (!QDBusConnection::sessionBus().isConnected()) {
        std::fprintf(stderr, "belnahilfe-anzeigen: keine Verbindung zum Sitzungsbus\n");
        return 1;
    }
    if (a.size() == 1 && a[0] == QLatin1String("--abschnitt")) {
        QDBusMessage r;
        if (zustand(QStringLiteral("Abschnitt"), {}, &r) != 0)
            return 1;
        std::printf("%s\n", qPrintable(r.arguments().value(0).toString()));
        return 0;
    }
    // The status queries that answer with a JSON text.
    const auto json = [](const QString &methode, const QVariantList &argumente) {
        QDBusMessage r;
        if (zustand(methode, argumente, &r) != 0)
            return 1;
        std::printf("%s\n", r.arguments().value(0).toString().toUtf8().constData());
        return 0;
    };
    if (a.size() == 1 && a[0] == QLatin1String("--zustand"))
        return json(QStringLiteral("Zustand"), {});
    if (a.size() == 1 && a[0] == QLatin1String("--verweise"))
        return json(QStringLiteral("Verweise"), {});
    if (a.size() == 2 && a[0] == QLatin1String("--widget"))
        return json(QStringLiteral("Widget"), {a[1]});
    if (a.size() == 2 && a[0] == QLatin1String("--zeichen")) {
        bool ok = false;
        const int pos = a[1].toInt(&ok);
        if (!ok) {
            hilfeText();
            return 2;
        }
        return json(QStringLiteral("Zeichen"), {pos});
    }
    if ((a.size() == 2 || a.size() == 4) && a[0] == QLatin1String("--foto")) {
        if (a.size() == 4 &&
            zustand(QStringLiteral("RahmenGroesse"), {a[2].toInt(), a[3].toInt()}, nullptr) != 0)
            return 1;
        QDBusMessage r;
        if (zustand(QStringLiteral("Bildschirmfoto"), {a[1]}, &r) != 0)
            return 1;
        return r.arguments().value(0).toBool() ? 0 : 1;
    }
    hilfeText();
    return 2;
}
