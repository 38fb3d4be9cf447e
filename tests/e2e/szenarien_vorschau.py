"""The writers' live preview, "hilfedb vorschau": it opens a window of its own beside the help
the invoicing application has open, shows a saved edit at the same section, shows a source error
above the text while the last good state stays, and ends with its window or Ctrl+C without
leaving a temporary file."""

import os
import shutil
import signal
import subprocess
import time

from szenario import szenario
from umgebung import FRAME_TITEL, Fehlschlag, gleich, pruefen

DIENST = "de.tolvar.BelnaHilfe.Vorschau"
TITEL = FRAME_TITEL + " – Vorschau"
DATEI = os.path.join("kapitel", "04b-rechnungen-versand.txt")
ALT = "=== 6 | E-Rechnung: Formate im Überblick"
NEU = "=== 6 | E-Rechnung: Formate und Empfänger"
# The first paragraph of 04.05.06 (line 82), and an error put before it.
TEXT = "Welche Form der E-Rechnung passt"
FEHLER = "Das ist **nicht geschlossen.\n\n"


class Vorschau:
    def __init__(self, s, *argumente):
        self.s = s
        self.tmp = os.path.join(s.arbeit, "tmp")
        os.makedirs(self.tmp, exist_ok=True)
        env = s.x_env()
        env.update({"QT_QPA_PLATFORM": "xcb", "TOLVAR_HILFE_TESTZUGANG": "1",
                    "TOLVAR_MELDUNGEN": "konsole", "TMPDIR": self.tmp, "NO_AT_BRIDGE": "1"})
        self.p = s._start("vorschau", [os.path.join(s.bin, "hilfedb"), "vorschau", *argumente],
                          env=env)

    def zustand(self):
        import json
        env = dict(self.s.x_env(), TOLVAR_HILFE_DIENST=DIENST)
        r = subprocess.run([os.path.join(self.s.bin, "belnahilfe-anzeigen"), "--zustand"],
                           env=env, capture_output=True, text=True, timeout=30)
        if r.returncode != 0:
            raise Fehlschlag(f"kein Zustand der Vorschau: {r.stderr.strip()}")
        return json.loads(r.stdout)

    def hinweis(self):
        import json
        env = dict(self.s.x_env(), TOLVAR_HILFE_DIENST=DIENST)
        r = subprocess.run([os.path.join(self.s.bin, "belnahilfe-anzeigen"), "--widget",
                            "lblHinweis"], env=env, capture_output=True, text=True, timeout=30)
        pruefen(r.returncode == 0, f"--widget lblHinweis: {r.stderr.strip()}")
        w = json.loads(r.stdout)
        return w["text"] if w.get("sichtbar") else ""

    def warten(self, bedingung, text, zeit=10.0):
        def pruefung():
            pruefen(self.p.poll() is None, f"die Vorschau endete mit {self.p.poll()}")
            z = self.zustand()
            return z if bedingung(z) else None
        return self.s.warten(pruefung, text, zeit)

    def ende(self, text):
        try:
            rc = self.p.wait(timeout=10)
        except subprocess.TimeoutExpired as e:
            raise Fehlschlag(f"{text}: die Vorschau läuft weiter") from e
        gleich(rc, 0, f"{text}: Rückgabe der Vorschau")
        gleich(os.listdir(self.tmp), [], f"{text}: übrig im temporären Ordner")


def titel(z):
    return [a["titel"] for a in z["abschnitte"]]


def speichern(pfad, alt, neu):
    """Saves as many editors do: a new file renamed over the old one."""
    with open(pfad, encoding="utf-8") as f:
        text = f.read()
    pruefen(alt in text, f"{alt!r} steht nicht in {pfad}")
    with open(pfad + ".neu", "w", encoding="utf-8") as f:
        f.write(text.replace(alt, neu, 1))
    os.replace(pfad + ".neu", pfad)


@szenario("vorschau_live")
def vorschau_live(s):
    s.anzeigen("01.01.01")
    quellen = os.path.join(s.arbeit, "quellen")
    shutil.copytree(os.path.join(s.quelle, "content"), quellen)
    datei = os.path.join(quellen, DATEI)

    v = Vorschau(s, quellen, "04.05.06")
    z = v.warten(lambda z: z["abschnitt"] == "04.05.06", "die Vorschau zeigt 04.05.06", 30)
    pruefen("E-Rechnung: Formate im Überblick" in titel(z), f"Titel: {titel(z)}")
    s.warten(lambda: s.fenster_suchen(TITEL), "das Fenster der Vorschau")
    gleich(v.hinweis(), "", "Hinweiszeile ohne Fehler")

    # A saved edit appears in the open window at the same section.
    speichern(datei, ALT, NEU)
    z = v.warten(lambda z: "E-Rechnung: Formate und Empfänger" in titel(z),
                 "die Vorschau zeigt den neuen Titel")
    gleich(z["abschnitt"], "04.05.06", "der gezeigte Abschnitt nach dem Speichern")

    # An error: shown above the text with file and line; the last good state stays.
    speichern(datei, TEXT, FEHLER + TEXT)
    hinweis = s.warten(v.hinweis, "die Fehlerzeile über dem Text")
    pruefen(hinweis.startswith("kapitel/04b-rechnungen-versand.txt:82: "), hinweis)
    z = v.zustand()
    gleich(z["abschnitt"], "04.05.06", "der gezeigte Abschnitt bei einem Fehler")
    pruefen("E-Rechnung: Formate und Empfänger" in titel(z), f"letzter guter Stand: {titel(z)}")
    s.bild_sichern(s.bildschirm(), "30-vorschau-fehler.png")
    speichern(datei, FEHLER, "")
    s.warten(lambda: v.hinweis() == "", "die Fehlerzeile verschwindet mit dem Fehler")

    # The host's help was not touched: still its section, its titles.
    z = s.zustand()
    gleich(z["abschnitt"], "01.01.01", "die Hilfe der Anwendung")
    gleich(len(s.fenster_suchen()), 1, "Fenster der Hilfe der Anwendung")

    # The window's close ends the preview.
    fenster = s.fenster_suchen(TITEL)[0]
    s.xdotool("windowactivate", "--sync", str(fenster))
    s.taste("Escape")
    v.ende("Esc im Fenster der Vorschau")
    pruefen(s.dienst_vorhanden(), "die Hilfe der Anwendung läuft weiter")

    # Without a number: the first section of the file saved last; Ctrl+C ends it.
    time.sleep(0.05)
    speichern(os.path.join(quellen, "kapitel", "02-stammdaten.txt"), "\n", "\n\n")
    v = Vorschau(s, quellen)
    v.warten(lambda z: z["abschnitt"] == "02.01.01", "die Vorschau zeigt 02.01.01", 30)
    v.p.send_signal(signal.SIGINT)
    v.ende("Strg+C")
