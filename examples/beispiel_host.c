/* A host application in C as small as it gets: opens the Tolvar help at a help number through
 * libbelnahilfe, or ends it, and tells the user what went wrong in the library's words.
 *
 *   belnahilfe-beispiel NUMMER [--halb]    opens the help at NUMMER
 *   belnahilfe-beispiel --beenden          ends the help
 *
 * Build against the installed library:
 *   cc beispiel_host.c $(pkg-config --cflags --libs belnahilfe) -o belnahilfe-beispiel */
#include <belnahilfe.h>

#include <stdio.h>
#include <string.h>

int main(int argc, char **argv)
{
    belnahilfe_status status;
    if (argc == 2 && strcmp(argv[1], "--beenden") == 0) {
        status = belnahilfe_beenden();
    } else if ((argc == 2 || (argc == 3 && strcmp(argv[2], "--halb") == 0)) &&
               strncmp(argv[1], "--", 2) != 0) {
        /* A host whose users may leave a message box of the help open for long gives the call
         * the default time limit; one that must not wait sets a shorter one. */
        belnahilfe_zeitlimit_setzen(0);
        status = belnahilfe_anzeigen(argv[1], argc == 3 ? 1 : 0);
    } else {
        fprintf(stderr, "Aufruf: belnahilfe-beispiel NUMMER [--halb] | --beenden\n");
        return 2;
    }
    if (status != BELNAHILFE_OK) {
        fprintf(stderr, "belnahilfe-beispiel: %s (Status %d)\n", belnahilfe_meldung(status),
                (int)status);
        return 1;
    }
    return 0;
}
