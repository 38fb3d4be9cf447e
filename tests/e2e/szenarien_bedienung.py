"""Host calls, toolbar and keyword pane as the user and the host application use them; the
keyboard alone is in szenarien_zugang."""

import os
import time

from szenario import szenario
from umgebung import Fehlschlag, gleich, mitte, pruefen

ZURUECK, VORWAERTS, VORIGE, NAECHSTE, SUCHEN, DRUCKEN = 1, 2, 4, 5, 7, 9

# A second host call: (first number, second number). Each second call starts the history anew.
ZWEITE_AUFRUFE = [
    ("01.01.01", "04.01.01"),  # another chapter
    ("04.01.01", "04.01.02"),  # the same topic
    ("02.01.01", "02.01.01"),  # the same section again
]


@szenario("zweiter_aufruf")
def zweiter_aufruf(s):
    for a, b in ZWEITE_AUFRUFE:
        s.anzeigen(a)
        s.anzeigen(b)
        z = s.zustand()
        was = f"anzeigen {a}, dann {b}"
        gleich(z["verlauf"], [b], f"{was}: Verlauf")
        gleich(z["position"], 1, f"{was}: Verlaufsposition")
        pruefen(not s.button(z, ZURUECK)["aktiv"], f"{was}: Zurück ist aktiv")


def fokus_name(z):
    return z["fokus"].split(":", 1)[-1]


def stichworte_oeffnen(s):
    s.button_klicken(SUCHEN)
    s.warten_zustand(lambda z: z["stichwort"]["offen"], "der Stichwortbereich ist offen")
    feld = s.widget("txtSuchen")
    pruefen(feld["gefunden"] and feld["sichtbar"], f"kein Suchfeld: {feld}")
    if fokus_name(s.zustand()) != "txtSuchen":
        s.klick(*mitte(feld["global"]))
    s.warten_zustand(lambda z: fokus_name(z) == "txtSuchen", "das Suchfeld hat den Fokus")
    return feld


@szenario("tab_verlaesst_raster")
def tab_verlaesst_raster(s):
    s.anzeigen("01.01.01")
    stichworte_oeffnen(s)
    s.tippen("Rechnung")
    s.taste("Return")
    raster = s.widget("scr")
    pruefen(raster["gefunden"] and raster["sichtbar"], f"kein Raster: {raster}")
    # The grid's first row, below its header line.
    x, y0, _, h = raster["global"]
    s.klick(x + raster["global"][2] // 3, y0 + min(30, h // 2))
    z = s.warten_zustand(lambda z: fokus_name(z) not in ("txtSuchen", "", "cmdSuchen"),
                         "ein Klick ins Raster gibt ihm den Fokus")
    im_raster = z["fokus"]
    s.notiz(f"Fokus im Raster: {im_raster}")
    s.taste("Tab")
    z = s.warten_zustand(lambda z: z["fokus"] != im_raster,
                         f"Tab verlässt das Raster ({im_raster})", 8)
    gleich(fokus_name(z), "cmdAnzeigen", "Fokus nach Tab im Raster")
    s.taste("Tab")
    z = s.warten_zustand(lambda z: fokus_name(z) != "cmdAnzeigen", "Tab verlässt anzeigen", 8)
    gleich(fokus_name(z), "cmdAbbruch", "Fokus nach Tab auf anzeigen")


def hilfe_beenden(s):
    s.client("--beenden")
    s.warten(lambda: not s.dienst_vorhanden(), "der Server gibt seinen Namen frei")


def aufruf_mit_meldungen(s, *argumente, antwort="Return", zeit=20):
    """A host call that may raise message boxes: each box is answered with a key (pressed in
    the box, which has the focus) until the call returns. Returns (exit code, boxes)."""
    vorher = len(s.zustand()["meldungen"]) if s.dienst_vorhanden() else 0
    p = s.client_starten(*argumente)
    ende = time.monotonic() + zeit
    beantwortet = 0
    try:
        while p.poll() is None:
            pruefen(time.monotonic() < ende, f"belnahilfe-anzeigen {' '.join(argumente)} "
                                             f"endet nicht ({beantwortet} Meldungen beantwortet)")
            z = s.zustand()
            if z["modal"].startswith("QMessageBox"):
                n = len(z["meldungen"])
                # After four boxes the next ones are cancelled, so a repeating box ends.
                s.dialog_taste(antwort if beantwortet < 4 else "Escape")
                beantwortet += 1
                s.warten_zustand(lambda z: not z["modal"].startswith("QMessageBox") or
                                 len(z["meldungen"]) > n, "die Meldung schließt", 5)
            else:
                time.sleep(0.05)
    finally:
        if p.poll() is None:
            p.kill()
        p.wait()
    s.server_pid_merken()
    return p.returncode, s.zustand()["meldungen"][vorher:]


@szenario("unbekannte_nummer")
def unbekannte_nummer(s):
    rc, _ = aufruf_mit_meldungen(s, "99.99.99")
    gleich(rc, 0, "anzeigen 99.99.99")
    z = s.warten_zustand(lambda z: z["hilfeSichtbar"], "die Hilfe ist zu sehen")
    knoepfe = {ZURUECK: "Zurück", VORWAERTS: "Vorwärts", VORIGE: "Vorige", NAECHSTE: "Nächste"}
    aktiv = [i for i in knoepfe if s.button(z, i)["aktiv"]]
    pruefen(len(aktiv) < len(knoepfe), "nach einer unbekannten Nummer sind Zurück, Vorwärts, "
                                       "Vorige und Nächste alle aktiv")
    # Every enabled button does something, each tried on a fresh start.
    for i in aktiv:
        hilfe_beenden(s)
        aufruf_mit_meldungen(s, "99.99.99")
        vorher = s.warten_zustand(lambda z: z["hilfeSichtbar"], "die Hilfe ist zu sehen")
        s.button_klicken(i)
        try:
            s.warten_zustand(lambda z: (z["abschnitt"], z["position"], z["verlauf"]) !=
                             (vorher["abschnitt"], vorher["position"], vorher["verlauf"]),
                             "", 5)
        except Fehlschlag:
            raise Fehlschlag(f"{knoepfe[i]} ist aktiv und bewirkt nichts "
                             f"(Abschnitt {vorher['abschnitt']!r}, Verlauf "
                             f"{vorher['verlauf']})") from None

    hilfe_beenden(s)
    aufruf_mit_meldungen(s, "99.99.99")
    s.warten_zustand(lambda z: z["hilfeSichtbar"], "die Hilfe ist zu sehen")
    s.button_klicken(DRUCKEN)
    s.warten_zustand(lambda z: z["modal"].endswith(":frmHilfeDrucken"), "der Druckdialog ist offen")
    bild = s.bildschirm()
    s.bild_sichern(bild, "13-druckdialog-unbekannte-nummer.png")
    z = s.zustand()
    # The scopes "aktueller Abschnitt", "ganzes Thema", "ganzes Kapitel" name the shown
    # section, the current topic tab and the current chapter tab.
    titel = {1: next((a["titel"] for a in z["abschnitte"] if a["markiert"]), "")
             if z["abschnitt"] else "",
             2: aktuelle_karte(z.get("tabSub")), 3: aktuelle_karte(z.get("tabMain"))}
    leer = []
    for k, name in titel.items():
        w = s.widget(f"opt{k}")
        if not w.get("gefunden") or not w.get("sichtbar"):
            continue
        angeboten = schrift_aktiv(bild, w["global"])
        if "text" in w:
            angeboten = angeboten and '""' not in w["text"]
        if angeboten and not name:
            leer.append(f"opt{k}")
    s.taste("Escape")
    gleich(leer, [], "Druckoptionen, die einen leeren Titel anbieten")


def aktuelle_karte(karten):
    if not karten or karten["anzahl"] < 1 or not 0 <= karten["aktuell"] < karten["anzahl"]:
        return ""
    return karten["captions"][karten["aktuell"]]


def schrift_aktiv(bild, rechteck):
    """Whether a control's caption is drawn in the dark colour of an enabled control (a
    disabled one is grey); the indicator at the left is left out."""
    from szenarien_bild import leuchtdichte
    x, y, b, h = rechteck
    return min(leuchtdichte(p) for p in bild.crop((x + 20, y, x + b, y + h)).getdata()) < 0.1


@szenario("deutsch")
def deutsch(s):
    s.anzeigen("01.01.01")
    feld = stichworte_oeffnen(s)
    s.klick(*mitte(feld["global"]), taste=3)
    try:
        z = s.warten_zustand(lambda z: z["popup"] != "", "", 3)
    except Fehlschlag:
        return  # no menu: nothing English to see
    s.bild_sichern(s.bildschirm(), "20-kontextmenue-suchfeld.png")
    # The menu's texts come from Qt's own catalogue; with the German one loaded (Qt maps the
    # file into the process) they read "Kopieren", "Einfügen".
    pid = s.server_pid_merken()
    with open(f"/proc/{pid}/maps", encoding="utf-8", errors="replace") as f:
        karten = f.read()
    geladen = sorted({os.path.basename(z.split()[-1]) for z in karten.splitlines()
                      if z.endswith(".qm")})
    s.taste("Escape")
    pruefen("qtbase_de.qm" in geladen,
            f"das Kontextmenü des Suchfelds ({z['popup']}) kommt ohne deutsche Qt-Texte "
            f"(geladene Kataloge: {geladen or 'keine'})")
