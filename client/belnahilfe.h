/* belnahilfe.h: the C interface of the host application to the help server of Tolvar-Belna.
 *
 * The help server is a D-Bus session service (de.tolvar.BelnaHilfe); the first call starts it
 * through the bus's activation. Every function here may be called from any thread at any time,
 * without setting anything up first: the library keeps one private connection to the session
 * bus (the one DBUS_SESSION_BUS_ADDRESS names at the time of the call) and opens it on the first
 * call. A call blocks until the help has answered, at most for the call time limit.
 *
 * Link with `pkg-config --cflags --libs belnahilfe`. */
#ifndef BELNAHILFE_H
#define BELNAHILFE_H

#ifdef __cplusplus
extern "C" {
#endif

/* The outcome of a call. Every value but BELNAHILFE_OK is a failure; belnahilfe_meldung()
 * gives a German text for the user. Values are never renumbered (ABI). */
typedef enum belnahilfe_status {
    BELNAHILFE_OK = 0,
    /* No help server is installed for this session bus (no activation file). */
    BELNAHILFE_NICHT_INSTALLIERT = 1,
    /* The help server is installed but could not be started, or ended during the call. */
    BELNAHILFE_START_FEHLGESCHLAGEN = 2,
    /* The session bus cannot be reached. */
    BELNAHILFE_KEIN_BUS = 3,
    /* The help did not answer within the call time limit. */
    BELNAHILFE_ZEITUEBERSCHREITUNG = 4,
    /* The help refused the call (it answered with an error). */
    BELNAHILFE_ABGELEHNT = 5,
    /* A wrong argument: no help number, or one that is not UTF-8. */
    BELNAHILFE_UNGUELTIG = 6
} belnahilfe_status;

/* The call time limit in milliseconds, when none is set: ten minutes. A call may block while the
 * help shows a message box inside it (a help database that cannot be read asks "Wiederholen" or
 * "Abbrechen"); the call returns when the user has answered. */
#define BELNAHILFE_ZEITLIMIT_VORGABE 600000
/* For belnahilfe_zeitlimit_setzen(): wait for the answer however long it takes. */
#define BELNAHILFE_ZEITLIMIT_UNBEGRENZT (-1)

/* Opens the help at a help number "KK.TT.XX" (e.g. "03.02.05"; "" opens "01.01.01"), or moves
 * the open help there. darstellung > 0 shows it on the right half of the work area, otherwise on
 * the whole work area. Returns when the help is shown. A number that is NULL, not UTF-8 or longer
 * than 255 bytes is refused with BELNAHILFE_UNGUELTIG before the bus is asked. */
belnahilfe_status belnahilfe_anzeigen(const char *nummer, int darstellung);

/* Closes the help and ends the server. A help that is not running is not started for this:
 * the call then does nothing and returns BELNAHILFE_OK. */
belnahilfe_status belnahilfe_beenden(void);

/* A German sentence for the user that tells what a status means (never NULL; a static text). */
const char *belnahilfe_meldung(belnahilfe_status status);

/* Sets the call time limit for the calls of every thread that start after it: milliseconds > 0,
 * BELNAHILFE_ZEITLIMIT_UNBEGRENZT, or 0 for BELNAHILFE_ZEITLIMIT_VORGABE. Other values are
 * ignored. */
void belnahilfe_zeitlimit_setzen(int millisekunden);

/* The call time limit in force (milliseconds, or BELNAHILFE_ZEITLIMIT_UNBEGRENZT). */
int belnahilfe_zeitlimit(void);

#ifdef __cplusplus
}
#endif

#endif /* BELNAHILFE_H */
