"""A help database taken over from an old Jet 4 file with "hilfedb importieren": the server shows
the chapters in their stored order, an imported section with its links, follows a link into
another chapter and opens a picture whose bytes came from the old file."""

import os
import subprocess

from szenario import szenario
from umgebung import gleich, pruefen

# Chapters by lfdNummer (1, 3, 2 for the numbers 1, 2, 3); section 01.01.01 links to picture 1,
# to 01.02.01 and to 03.01.01.
KAPITEL = ["Erste Schritte", "Drucken und Weitergeben", "Adressen verwalten"]
VERWEISE = [("Hauptfenster ansehen", "", "00001"),
            ("Programm installieren", "01.02.01", ""),
            ("Adressliste drucken", "03.01.01", "")]


def importierte_datenbank(s):
    quelle = os.path.join(s.quelle, "..", "shared", "jet", "beispiel-jet4.mdb")
    pruefen(os.path.exists(quelle), f"{quelle} fehlt")
    ziel = os.path.join(s.arbeit, "importiert.mdb")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=s.laufzeit)
    r = subprocess.run([os.path.join(s.bin, "hilfedb"), "importieren", quelle, ziel],
                       env=env, capture_output=True, text=True, timeout=60)
    pruefen(r.returncode == 0, f"hilfedb importieren: {r.stdout}{r.stderr}")
    pruefen("Texte: 15 gelesen, 15 geschrieben" in r.stdout, r.stdout)
    s.starten(datenbank=ziel)


def punkt(v):
    x, y, b, h = v["rechtecke"][0]
    return x + b // 2, y + h // 2


@szenario("importierte_hilfe", vorbereiten=importierte_datenbank)
def importierte_hilfe(s):
    s.anzeigen("01.01.01")
    z = s.zustand()
    gleich(z["tabMain"]["captions"], KAPITEL, "Kapitelkarten in der Reihenfolge von lfdNummer")
    gleich(z["tabSub"]["captions"], ["Willkommen", "Installation"], "Themenkarten")
    gleich([a["titel"] for a in z["abschnitte"]][:2],
           ["Über dieses Programm", "Systemvoraussetzungen"], "Abschnittstitel")
    verweise = s.verweise()
    gleich([(v["text"], v["textNummer"], v["bildNummer"].strip()) for v in verweise], VERWEISE,
           "Verweise von 01.01.01")
    s.bild_sichern(s.bildschirm(), "20-import-abschnitt.png")

    # A link into the chapter shown second.
    s.klick(*punkt(verweise[2]))
    z = s.warten_abschnitt("03.01.01", "der Verweis führt zu 03.01.01")
    gleich(z["tabMain"]["aktuell"], 1, "gewählte Kapitelkarte nach dem Verweis")

    # The picture link opens picture 1: a 17 x 11 bitmap, red (230, 30, 30) inside a dark red
    # border, taken over byte for byte from the OLE value.
    s.anzeigen("01.01.01")
    s.klick(*punkt(s.verweise()[0]))
    s.warten(lambda: s.zustand()["bild"]["offen"], "der Bildverweis öffnet das Bildfenster")
    titel = s.zustand()["bild"]["titel"]
    pruefen(titel.startswith("Hauptfenster ansehen"), f"Titel des Bildfensters: {titel!r}")
    fenster = s.warten(lambda: s.fenster_suchen(titel), "das Bildfenster")
    x, y, b, h = s.aussen_geometrie(fenster[0])
    fenster_bild = s.bildschirm().crop((x, y, x + b, y + h))
    s.bild_sichern(fenster_bild.resize((b * 4, h * 4)), "21-import-bild.png")
    rot = sum(1 for p in fenster_bild.getdata() if p == (230, 30, 30))
    pruefen(rot >= 100, f"das Bildfenster zeigt {rot} statt 135 rote Bildpunkte des Bildes")
