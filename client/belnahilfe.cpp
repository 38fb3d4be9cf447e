// The host application's calls to the help server over libdbus (belnahilfe.h).
//
// One private connection to the session bus is kept for the whole process and shared by every
// thread (libdbus serialises the sends and routes each reply to the thread waiting for it); it
// is opened on the first call and opened anew when the bus went away or DBUS_SESSION_BUS_ADDRESS
// names another bus. The connection is private so that the host's own use of libdbus (its
// shared connection, its exit-on-disconnect setting) is never touched; nothing here dispatches
// messages, so no handler of the host runs inside a call.
#include "belnahilfe.h"

#include <dbus/dbus.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace {

// Must match the service of server/clsHilfe.h and dist/de.tolvar.BelnaHilfe.clsHilfe.xml.
constexpr const char *Dienst = "de.tolvar.BelnaHilfe";
constexpr const char *Pfad = "/de/tolvar/BelnaHilfe/clsHilfe";
constexpr const char *Schnittstelle = "de.tolvar.BelnaHilfe.clsHilfe";

std::atomic<int> zeitlimitMs{BELNAHILFE_ZEITLIMIT_VORGABE};

// A help number is "KK.TT.XX"; the server reads at most three whole-number parts from it.
// Anything far longer is no help number, and a string of many megabytes would exceed the bus's
// message size, so that the bus would drop the connection instead of the call being refused.
constexpr std::size_t NummerHoechstlaenge = 255;

// The shared connection and the bus address it was opened for ("" for the default session bus).
struct Verbindung
{
    std::mutex sperre;
    DBusConnection *verbindung = nullptr;
    std::string adresse;
};

Verbindung &verbindungsSpeicher()
{
    // Never destroyed: a host thread may still call while the process ends.
    static Verbindung *v = new Verbindung;
    return *v;
}

// A referenced connection to the session bus, or nullptr when the bus cannot be reached.
DBusConnection *verbindungHolen()
{
    Verbindung &v = verbindungsSpeicher();
    std::lock_guard<std::mutex> lock(v.sperre);
    const char *umgebung = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const std::string adresse = umgebung ? umgebung : "";
    if (v.verbindung && (adresse != v.adresse || !dbus_connection_get_is_connected(v.verbindung))) {
        dbus_connection_close(v.verbindung);
        dbus_connection_unref(v.verbindung);
        v.verbindung = nullptr;
    }
    if (!v.verbindung) {
        DBusError fehler;
        dbus_error_init(&fehler);
        DBusConnection *neu = nullptr;
        if (adresse.empty()) {
            neu = dbus_bus_get_private(DBUS_BUS_SESSION, &fehler);
        } else {
            neu = dbus_connection_open_private(adresse.c_str(), &fehler);
            if (neu && !dbus_bus_register(neu, &fehler)) {
                dbus_connection_close(neu);
                dbus_connection_unref(neu);
                neu = nullptr;
            }
        }
        dbus_error_free(&fehler);
        if (!neu)
            return nullptr;
        dbus_connection_set_exit_on_disconnect(neu, FALSE);
        v.verbindung = neu;
        v.adresse = adresse;
    }
    return dbus_connection_ref(v.verbindung);
}

bool istFehler(const DBusError &fehler, const char *name)
{
    return std::strcmp(fehler.name, name) == 0;
}

// Sends one method call and waits for its answer. mitStart: the bus may start the server for
// it; without, a server that is not running counts as done (nothing to end).
belnahilfe_status rufen(const char *methode, const char *nummer, int darstellung, bool mitStart)
{
    const int limit = zeitlimitMs.load(std::memory_order_relaxed);
    const int wartezeit = limit == BELNAHILFE_ZEITLIMIT_UNBEGRENZT ? DBUS_TIMEOUT_INFINITE : limit;

    DBusConnection *verbindung = verbindungHolen();
    if (!verbindung)
        return BELNAHILFE_KEIN_BUS;
    DBusMessage *nachricht = dbus_message_new_method_call(Dienst, Pfad, Schnittstelle, methode);
    if (!nachricht) {
        dbus_connection_unref(verbindung);
        return BELNAHILFE_KEIN_BUS;
    }
    dbus_message_set_auto_start(nachricht, mitStart ? TRUE : FALSE);
    if (nummer) {
        const dbus_int16_t wert = darstellung > 0 ? 1 : 0;
        dbus_message_append_args(nachricht, DBUS_TYPE_STRING, &nummer, DBUS_TYPE_INT16, &wert,
                                 DBUS_TYPE_INVALID);
    }

    DBusError fehler;
    dbus_error_init(&fehler);
    const auto beginn = std::chrono::steady_clock::now();
    DBusMessage *antwort =
        dbus_connection_send_with_reply_and_block(verbindung, nachricht, wartezeit, &fehler);
    const auto dauer = std::chrono::steady_clock::now() - beginn;
    dbus_message_unref(nachricht);
    const bool verbunden = dbus_connection_get_is_connected(verbindung);
    dbus_connection_unref(verbindung);
    if (antwort) {
        dbus_message_unref(antwort);
        return BELNAHILFE_OK;
    }

    belnahilfe_status status = BELNAHILFE_ABGELEHNT;
    if (!dbus_error_is_set(&fehler) || !verbunden || istFehler(fehler, DBUS_ERROR_DISCONNECTED)) {
        status = BELNAHILFE_KEIN_BUS;
    } else if (istFehler(fehler, DBUS_ERROR_SERVICE_UNKNOWN) ||
               istFehler(fehler, DBUS_ERROR_NAME_HAS_NO_OWNER)) {
        // Without auto-start the bus answers so for a server that is not running.
        status = mitStart ? BELNAHILFE_NICHT_INSTALLIERT : BELNAHILFE_OK;
    } else if (std::strncmp(fehler.name, "org.freedesktop.DBus.Error.Spawn.", 33) == 0 ||
               istFehler(fehler, DBUS_ERROR_TIMED_OUT)) {
        // The activation failed: the program is missing, ended before taking the name, or
        // did not take it within the bus's activation time.
        status = BELNAHILFE_START_FEHLGESCHLAGEN;
    } else if (istFehler(fehler, DBUS_ERROR_NO_REPLY)) {
        // libdbus gives the same error for its own time limit and for a server that left the
        // bus without answering; only the time tells them apart.
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(dauer).count();
        status = wartezeit != DBUS_TIMEOUT_INFINITE && ms >= wartezeit
                     ? BELNAHILFE_ZEITUEBERSCHREITUNG
                     : BELNAHILFE_START_FEHLGESCHLAGEN;
    }
    dbus_error_free(&fehler);
    return status;
}

} // namespace

extern "C" {

belnahilfe_status belnahilfe_anzeigen(const char *nummer, int darstellung)
{
    // strnlen stops at the limit: a huge string is refused without walking it all.
    if (!nummer || strnlen(nummer, NummerHoechstlaenge + 1) > NummerHoechstlaenge ||
        !dbus_validate_utf8(nummer, nullptr))
        return BELNAHILFE_UNGUELTIG;
    return rufen("HilfeAnzeigen", nummer, darstellung, true);
}

belnahilfe_status belnahilfe_beenden(void)
{
    return rufen("HilfeBeenden", nullptr, 0, false);
}

const char *belnahilfe_meldung(belnahilfe_status status)
{
    switch (status) {
    case BELNAHILFE_OK:
        return "Die Hilfe hat den Aufruf ausgeführt.";
    case BELNAHILFE_NICHT_INSTALLIERT:
        return "Die Hilfe ist nicht installiert.";
    case BELNAHILFE_START_FEHLGESCHLAGEN:
        return "Die Hilfe konnte nicht gestartet werden oder wurde unerwartet beendet.";
    case BELNAHILFE_KEIN_BUS:
        return "Die Hilfe ist nicht erreichbar: keine Verbindung zum Sitzungsbus.";
    case BELNAHILFE_ZEITUEBERSCHREITUNG:
        return "Die Hilfe hat nicht rechtzeitig geantwortet.";
    case BELNAHILFE_ABGELEHNT:
        return "Die Hilfe hat den Aufruf abgelehnt.";
    case BELNAHILFE_UNGUELTIG:
        return "Die Hilfe wurde mit einer ungültigen Hilfenummer aufgerufen.";
    }
    return "Unbekannter Fehler beim Aufruf der Hilfe.";
}

void belnahilfe_zeitlimit_setzen(int millisekunden)
{
    if (millisekunden == 0)
        millisekunden = BELNAHILFE_ZEITLIMIT_VORGABE;
    if (millisekunden > 0 || millisekunden == BELNAHILFE_ZEITLIMIT_UNBEGRENZT)
        zeitlimitMs.store(millisekunden, std::memory_order_relaxed);
}

int belnahilfe_zeitlimit(void)
{
    return zeitlimitMs.load(std::memory_order_relaxed);
}

} // extern "C"
