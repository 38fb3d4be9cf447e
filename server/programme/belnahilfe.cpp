// The help server process: offers clsHilfe on the session bus and waits for calls; it shows
// nothing until the first HilfeAnzeigen. A second server finds the name taken and ends; the
// server ends too when its bus goes away (the session ended). The database directory can be
// set with TOLVAR_HILFE_VERZEICHNIS (default: the executable's own);
// TOLVAR_MELDUNGEN=konsole prints message boxes instead of showing them, for runs without
// anybody to answer; TOLVAR_HILFE_TESTZUGANG=1 adds the status object for tests and scripts.
#include "Arbeitsbereich.h"
#include "Datenbank.h"
#include "Global.h"
#include "HilfeDatenbank.h"
#include "HilfeSitzung.h"
#include "HilfeZustand.h"
#include "ProtokollMeldungen.h"
#include "clsHilfe.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char *argv[])
{
    // The server is started by the bus; by hand it takes no arguments but these two.
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(
            "Aufruf: belnahilfe [--help | --version]\n"
            "\n"
            "Der Hilfeserver der Tolvar-Hilfe: bietet de.tolvar.BelnaHilfe am Sitzungsbus an\n"
            "und zeigt die Hilfe, wenn die Wirtsanwendung sie aufruft. Der Bus startet ihn\n"
            "beim ersten Aufruf (belnahilfe-anzeigen, libbelnahilfe).\n"
            "Rückgabe: 0 beendet, 1 kein Sitzungsbus, 2 Dienst läuft bereits,\n"
            "3 Verbindung zum Sitzungsbus verloren.\n",
            stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("belnahilfe (Tolvar-Hilfe) %s\n", TOLVAR_VERSION);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("BelnaHilfe"));
    // No display name: Qt would append it to every window's title, and the frame's title is
    // its caption alone. Message boxes name the program in their own title.
    QApplication::setQuitOnLastWindowClosed(false);

    const QByteArray verzeichnis = qgetenv("TOLVAR_HILFE_VERZEICHNIS");
    if (!verzeichnis.isEmpty())
        setzeProgrammVerzeichnis(QString::fromLocal8Bit(verzeichnis));

    const std::unique_ptr<Meldungsanzeige> anzeige = meldungsanzeigeNachUmgebung();
    ProtokollMeldungen protokoll(anzeige.get());
    setzeMeldungsanzeige(&protokoll);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "belnahilfe: keine Verbindung zum Sitzungsbus\n");
        return 1;
    }
    // The texts Qt shows itself (standard buttons, the line edits' menus) in German, like
    // the rest of the help.
    QTranslator qtTexte;
    if (qtTexte.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexte);

    // The key of the help database and the font of rendered and printed text.
    gsPasswort = QString::fromLatin1(HilfePasswort);
    gsSchriftName = QStringLiteral("Arial");
    giSchriftGroesse = 10;
    HilfeSitzung sitzung(standardDatenbank());
    clsHilfe hilfe(sitzung);
    bus.registerObject(QString::fromLatin1(HilfePfad), &hilfe, QDBusConnection::ExportAllSlots);
    // The status object can write files and resize the frame: only for tests and scripts
    // that ask for it, never in a normal start.
    std::unique_ptr<HilfeZustand> zustand;
    if (HilfeZustand::gewuenscht()) {
        zustand = std::make_unique<HilfeZustand>(&protokoll, sitzung);
        bus.registerObject(QString::fromLatin1(ZustandPfad), zustand.get(),
                           QDBusConnection::ExportAllSlots);
    }
    if (!bus.registerService(QString::fromLatin1(HilfeDienst))) {
        std::fprintf(stderr, "belnahilfe: der Dienst %s läuft bereits\n", HilfeDienst);
        return 2;
    }

    // A server started for a session ends with it: once the bus connection is lost nobody
    // can call it any more. QtDBus reports the loss only through the connection's state.
    QTimer busWaechter;
    QObject::connect(&busWaechter, &QTimer::timeout, [&] {
        if (!QDBusConnection::sessionBus().isConnected()) {
            std::fprintf(stderr, "belnahilfe: Verbindung zum Sitzungsbus verloren\n");
            QCoreApplication::exit(3);
        }
    });
    busWaechter.start(1000);

    const int rc = QApplication::exec();
    // Releasing the name is a round trip to the bus: every answer sent before it (that of
    // HilfeBeenden) has left the process when it returns.
    bus.unregisterService(QString::fromLatin1(HilfeDienst));
    setzeMeldungsanzeige(nullptr);
    return rc;
}
