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
// The first call starts the server through the bus's activation.
#include "HilfeZustand.h"
#include "clsHilfe.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>

#include <cstdio>

namespace {

// A message box in the server waits for the user; the call waits with it.
constexpr int Wartezeit = 10 * 60 * 1000;

int aufrufen(const char *pfad, const char *schnittstelle, const QString &methode,
             const QVariantList &argumente, QDBusMessage *antwort = nullptr)
{
    QDBusMessage m =
        QDBusMessage::createMethodCall(QString::fromLatin1(HilfeDienst), QString::fromLatin1(pfad),
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
    return aufrufen(ZustandPfad, ZustandSchnittstelle, methode, argumente, antwort);
}

void hilfeText()
{
    std::fprintf(stderr, "Aufruf: belnahilfe-anzeigen NUMMER [--halb]\n"
                         "       belnahilfe-anzeigen --beenden\n"
                         "       belnahilfe-anzeigen --abschnitt\n"
                         "       belnahilfe-anzeigen --zustand | --verweise\n"
                         "       belnahilfe-anzeigen --widget NAME | --zeichen POS\n"
                         "       belnahilfe-anzeigen --foto DATEI [BREITE HOEHE]\n");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments().mid(1);
    if (!QDBusConnection::sessionBus().isConnected()) {
        std::fprintf(stderr, "belnahilfe-anzeigen: keine Verbindung zum Sitzungsbus\n");
        return 1;
    }
    if (a.size() == 1 && a[0] == QLatin1String("--beenden"))
        return aufrufen(HilfePfad, HilfeSchnittstelle, QStringLiteral("HilfeBeenden"), {});
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
    if (a.isEmpty() || a.size() > 2 || a[0].startsWith(QLatin1String("--")) ||
        (a.size() == 2 && a[1] != QLatin1String("--halb"))) {
        hilfeText();
        return 2;
    }
    const qint16 darstellung = a.size() == 2 ? 1 : 0;
    return aufrufen(HilfePfad, HilfeSchnittstelle, QStringLiteral("HilfeAnzeigen"),
                    {a[0], QVariant::fromValue(darstellung)});
}
