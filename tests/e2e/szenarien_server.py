"""The host call and what it answers: a database the help cannot read makes the call fail,
on a fresh start and under a running server; unknown help numbers go to the server's log."""

import os
import shutil
import sqlite3

from szenario import szenario
from umgebung import gleich, pruefen
from szenarien_bedienung import aufruf_mit_meldungen, hilfe_beenden


def leer(s, datei):
    open(datei, "wb").close()


def beschaedigt(s, datei):
    # The first page past its salt overwritten: the page check fails on the first read.
    with open(datei, "r+b") as f:
        f.seek(100)
        f.write(b"\xa5" * 3000)


def falscher_schluessel(s, datei):
    s.sql(datei, "PRAGMA rekey = 'ein anderer Schlüssel';")


def unverschluesselt(s, datei):
    # A plain database with a table of the help's name: no key opens it.
    os.remove(datei)
    verbindung = sqlite3.connect(datei)
    verbindung.execute("CREATE TABLE Kapitel (ID INTEGER PRIMARY KEY, Titel TEXT)")
    verbindung.commit()
    verbindung.close()


# Databases the help cannot read, each made from a copy of the sample.
UNBRAUCHBAR = [leer, beschaedigt, falscher_schluessel, unverschluesselt]


@szenario("aufruf_ohne_datenbank_scheitert")
def aufruf_ohne_datenbank_scheitert(s):
    heil = os.path.join(s.arbeit, "heil.mdb")
    shutil.copyfile(os.path.join(s.db_ordner, "HilfeBelna.mdb"), heil)
    for machen in UNBRAUCHBAR:
        datei = os.path.join(s.arbeit, machen.__name__ + ".mdb")
        shutil.copyfile(heil, datei)
        machen(s, datei)
        s.datenbank_setzen(datei)
        # A fresh server: the first call reads the database; its box is answered Abbrechen.
        rc, meldungen = aufruf_mit_meldungen(s, "03.02.05", antwort="Escape")
        pruefen(meldungen, f"{machen.__name__}: keine Meldung")
        pruefen(rc != 0, f"{machen.__name__}: belnahilfe-anzeigen 03.02.05 meldet Erfolg, "
                         f"obwohl die Hilfe keinen Abschnitt zeigt ({meldungen})")
        gleich(s.zustand()["abschnitt"], "", f"{machen.__name__}: gezeigter Abschnitt")
        hilfe_beenden(s)

    # Under a running server: the section shown stays, the call for another one fails.
    s.datenbank_setzen(heil)
    s.anzeigen("03.02.05")
    s.datenbank_setzen(os.path.join(s.arbeit, "beschaedigt.mdb"))
    rc, meldungen = aufruf_mit_meldungen(s, "02.01.01", antwort="Escape")
    pruefen(meldungen, "beschädigt im Lauf: keine Meldung")
    pruefen(rc != 0, "beschädigt im Lauf: belnahilfe-anzeigen 02.01.01 meldet Erfolg")
    z = s.zustand()
    gleich(z["abschnitt"], "03.02.05", "beschädigt im Lauf: gezeigter Abschnitt")
    pruefen(z["hilfeSichtbar"], "beschädigt im Lauf: die Hilfe ist nicht mehr zu sehen")


def server_protokoll(s):
    """The output of the servers of this bus (the bus passes its own output on to them)."""
    with open(os.path.join(s.arbeit, "dbus.log"), encoding="utf-8", errors="replace") as f:
        return f.read()


@szenario("unbekannte_nummer_im_protokoll")
def unbekannte_nummer_im_protokoll(s):
    # What each call shows is the help window's own test; here: the call succeeds and the
    # server's log names each unknown number once, a known one not at all.
    for nummer in ("99.02.01", "03.99.02", "99.02.01", "03.02.05"):
        rc, _, fehler = s.client(nummer)
        gleich(rc, 0, f"anzeigen {nummer} ({fehler.strip()})")
        s.server_pid_merken()
    zeilen = [z for z in server_protokoll(s).splitlines() if "Hilfenummer" in z]
    gleich(len(zeilen), 2, f"Protokollzeilen zu unbekannten Nummern {zeilen}")
    pruefen("99.02.01" in zeilen[0] and "03.99.02" in zeilen[1],
            f"die Protokollzeilen nennen die Nummern nicht: {zeilen}")
