"""The help with databases of its own: a failing read, titles with "&", a server without the
status object, and a print-out while a host call arrives."""

import os
import shutil
import subprocess
import time

from szenario import szenario
from umgebung import Fehlschlag, Uebersprungen, gleich, pruefen
from szenarien_bedienung import DRUCKEN, aufruf_mit_meldungen
from szenarien_bild import reihen_bild

# A table dropped from the database, and the section of another chapter then asked for.
LESEFEHLER = [
    ("Texte", "04.01.01"),
    ("Themen", "05.01.01"),
]


@szenario("lesefehler_einmal")
def lesefehler_einmal(s):
    gut = os.path.join(s.db_ordner, "HilfeBelna.mdb")
    heil = os.path.join(s.arbeit, "heil.mdb")
    shutil.copyfile(gut, heil)
    for tabelle, ziel in LESEFEHLER:
        s.datenbank_setzen(heil)
        s.anzeigen("01.01.01")
        vorher = s.zustand()
        kaputt = os.path.join(s.arbeit, f"ohne-{tabelle}.mdb")
        shutil.copyfile(heil, kaputt)
        s.sql(kaputt, f"DROP TABLE {tabelle};")
        s.datenbank_setzen(kaputt)
        # "Abbrechen" at once: one failure, one box. "Wiederholen" four times, then
        # "Abbrechen": every box is one attempt of the read, none is reported twice.
        for antwort, erwartet in (("Escape", 1), ("Return", 5)):
            s.datenbank_setzen(heil)
            s.anzeigen("01.01.01")
            s.datenbank_setzen(kaputt)
            _, meldungen = aufruf_mit_meldungen(s, ziel, antwort=antwort)
            was = f"ohne Tabelle {tabelle}, anzeigen {ziel}, Meldungen mit {antwort} beantwortet"
            erste = " ".join(meldungen[0].split())[:160] if meldungen else ""
            gleich(len(meldungen), erwartet, f"{was}: Zahl der neuen Meldungen (die erste: {erste!r})")
        z = s.zustand()
        unveraendert = z["verlauf"] == vorher["verlauf"] and z["abschnitt"] == vorher["abschnitt"]
        # A host call starts a new history; an empty one holds nothing unshown either.
        pruefen(unveraendert or not z["verlauf"] or z["verlauf"][-1] == z["abschnitt"],
                f"{was}: der Verlauf {z['verlauf']} hält, was nicht gezeigt ist "
                f"(gezeigt: {z['abschnitt']!r})")


def und_datenbank(s):
    """The sample sources with "&" in the first chapter's and topic's titles."""
    quellen = os.path.join(s.arbeit, "quellen")
    shutil.copytree(os.path.join(s.quelle, "content"), quellen)
    datei = os.path.join(quellen, "kapitel", "01-erste-schritte.txt")
    with open(datei, encoding="utf-8") as f:
        text = f.read()
    for alt, neu in UND_TITEL:
        pruefen(alt in text, f"{alt} steht nicht in {datei}")
        text = text.replace(alt, neu, 1)
    with open(datei, "w", encoding="utf-8") as f:
        f.write(text)
    s.starten(datenbank=s.erstellen(quellen, "und.mdb"))


UND_TITEL = [
    ("= 1 | Erste Schritte", "= 1 | Übersicht & Äußeres"),
    ("== 1 | Willkommen bei {{Produkt}}", "== 1 | Willkommen & Überblick"),
]


@szenario("und_zeichen", vorbereiten=und_datenbank)
def und_zeichen(s):
    s.anzeigen("01.01.01")
    z = s.zustand()
    gleich(z["tabMain"]["captions"][0], "Übersicht & Äußeres", "erste Kapitelkarte")
    gleich(z["tabSub"]["captions"][0], "Willkommen & Überblick", "erste Themenkarte")
    s.bild_sichern(reihen_bild(s.bildschirm(), [z["tabMain"], z["tabSub"]]),
                   "18-registerkarten-und.png")


@szenario("kein_zustand_ohne_testzugang", testzugang=False)
def kein_zustand_ohne_testzugang(s):
    rc, _, fehler = s.client("01.01.01")
    gleich(rc, 0, f"anzeigen 01.01.01 ({fehler.strip()})")
    s.warten(lambda: s.fenster_suchen(), "das Hilfefenster ist zu sehen")
    for argumente in (["--zustand"], ["--abschnitt"], ["--widget", "txt"]):
        rc, aus, _ = s.client(*argumente)
        pruefen(rc != 0, f"belnahilfe-anzeigen {' '.join(argumente)} antwortet ohne "
                         f"Testzugang: {aus.strip()[:200]}")


DRUCKER = "TolvarTest"
AUSGABE = "/var/spool/tolvar-test/ausgabe.pdf"


def drucker_vorbereiten(s):
    if shutil.which("lpstat") is None or \
            subprocess.run(["lpstat", "-p", DRUCKER], capture_output=True).returncode != 0:
        raise Uebersprungen(f"der CUPS-Testdrucker {DRUCKER} fehlt (scripts/cups.sh)")
    pruefen(shutil.which("pdftotext"), "pdftotext fehlt (poppler-utils)")
    s.starten(einstellungen=f"[Tolvar-Belna]\nDruckerBeschreibung%20DeviceName={DRUCKER}\n")


def datei_stand(pfad):
    try:
        st = os.stat(pfad)
        return (st.st_mtime_ns, st.st_size)
    except OSError:
        return None


def ausdruck_lesen(s, stand, titel):
    """The text (pdftotext -layout) of the next print-out of the test printer that names one
    of the titles; one of another program (another test run printing at the same time) is
    passed over."""
    def lesen():
        nonlocal stand
        jetzt = datei_stand(AUSGABE)
        if jetzt in (None, stand):
            return None
        # The device writes the file while the job runs: read it once its size holds still.
        time.sleep(0.3)
        if datei_stand(AUSGABE) != jetzt:
            return None
        stand = jetzt
        text = subprocess.run(["pdftotext", "-layout", AUSGABE, "-"], capture_output=True,
                              text=True, timeout=30).stdout
        flach = " ".join(text.split())
        return text if any(" ".join(t.split()) in flach for t in titel) else None
    return s.warten(lesen, f"ein Ausdruck mit einem der Titel {titel} in {AUSGABE}", 30)


@szenario("druck_bei_aufruf", drucker=True, vorbereiten=drucker_vorbereiten)
def druck_bei_aufruf(s):
    a, b = "02.01.01", "05.01.01"
    titel_a, text_a = s.abschnitt_text(a)[:2]
    titel_b = s.abschnitt_text(b)[0]
    s.anzeigen(a)
    s.button_klicken(DRUCKEN)
    s.warten_zustand(lambda z: z["modal"].endswith(":frmHilfeDrucken"), "der Druckdialog ist offen")
    # The host calls while the dialog is open; the call may wait for the dialog.
    aufruf = s.client_starten(b)
    try:
        aufruf.wait(timeout=3)
    except subprocess.TimeoutExpired:
        pass
    opt = s.widget("opt1")
    pruefen(opt["gefunden"] and opt["sichtbar"], f"keine Option „aktueller Abschnitt“: {opt}")
    x, y, _, h = opt["global"]
    s.klick(x + 8, y + h // 2)
    stand = datei_stand(AUSGABE)
    s.taste("Return")
    s.warten_zustand(lambda z: z["modal"] == "", "der Druckdialog schließt")
    text = ausdruck_lesen(s, stand, [titel_a, titel_b])
    aufruf.wait(timeout=15)
    flach = " ".join(text.split())
    kopf = " ".join(next(z for z in text.splitlines() if z.strip()).split())
    pruefen(" ".join(titel_a.split()) in kopf,
            f"die Kopfzeile des Ausdrucks nennt nicht „{titel_a}“: {kopf}")
    anfang = " ".join(text_a.split()[:6])
    pruefen(anfang in flach, f"der Ausdruck enthält nicht den Text von {a} „{anfang}“: "
                             f"{flach[:300]}")
    if titel_b in flach:
        raise Fehlschlag(f"der Ausdruck enthält den Titel von {b} „{titel_b}“, der während "
                         f"des Dialogs aufgerufen wurde: {flach[:300]}")
