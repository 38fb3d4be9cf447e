"""Accessibility as a screen reader and a keyboard user meet it: the help window's controls
named in German on the real accessibility bus (AT-SPI), a section title and toolbar buttons
activated through it alone; the whole help used with the keyboard only."""

import json
import os
import re
import subprocess

from szenario import szenario
from umgebung import Fehlschlag, Uebersprungen, gleich, pruefen
from szenarien_bedienung import DRUCKEN, NAECHSTE, SUCHEN, fokus_name, hilfe_beenden
from szenarien_bild import kontrast, leuchtdichte
from szenarien_darstellung import seite_ganz_zu_sehen

ATSPI_HILFE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_hilfe.py")
BUS_STARTER = ("/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher")

# The toolbar's buttons as a screen reader names them.
KNOEPFE = ["Zurück", "Vorwärts", "Vorige", "Nächste", "Suchen", "Drucken", "kleiner", "größer",
           "Finden", "Lesezeichen"]


def server_umgebung(s, zusatz, ohne=()):
    """Makes the bus daemon (and so the server it starts) run with further environment
    variables: the harness starts it with accessibility switched off."""
    start = s._start

    def _start(name, argv, **kw):
        if name == "dbus":
            env = {k: v for k, v in kw["env"].items() if k not in ohne}
            env.update(zusatz)
            kw["env"] = env
        return start(name, argv, **kw)
    s._start = _start


def mit_barrierefreiheitsbus(s):
    starter = next((p for p in BUS_STARTER if os.path.exists(p)), None)
    if starter is None:
        raise Uebersprungen("at-spi-bus-launcher fehlt (at-spi2-core)")
    try:
        import gi  # noqa: F401
        r = subprocess.run(["/usr/bin/python3", "-c", "import pyatspi"], capture_output=True)
        if r.returncode != 0:
            raise ImportError
    except ImportError:
        raise Fehlschlag("python3-pyatspi fehlt (scripts/setup.sh installiert es)") from None
    server_umgebung(s, {"QT_ACCESSIBILITY": "1", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"},
                    ohne=("NO_AT_BRIDGE",))
    s.starten()
    # The accessibility bus on the session's private bus, as a desktop session starts it.
    s._start("atspi", [starter, "--launch-immediately"], env=s.x_env())
    s.warten(lambda: "boolean true" in s.dbus_rufen("NameHasOwner", "string:org.a11y.Bus")[1],
             "der Barrierefreiheitsbus (org.a11y.Bus) ist da")


def atspi(s, *argumente):
    r = s.lauf("/usr/bin/python3", ATSPI_HILFE, *argumente, zeit=60)
    zeilen = [json.loads(z) for z in r.stdout.splitlines() if z.strip()]
    if r.returncode != 0:
        raise Fehlschlag(f"atspi_hilfe.py {' '.join(argumente)}: {zeilen or r.stderr[-800:]}")
    return zeilen


def baum(s):
    return atspi(s, "baum")


def finde(knoten, rolle, name):
    return [k for k in knoten if k["rolle"] == rolle and k["name"] == name]


@szenario("barrierefrei", vorbereiten=mit_barrierefreiheitsbus)
def barrierefrei(s):
    s.anzeigen("04.01.01")
    z = s.zustand()
    knoten = s.warten(lambda: [k for k in baum(s)
                               if k["rolle"] == "push button" and k["name"] == "Nächste"],
                      "der Baum des Hilfefensters am Barrierefreiheitsbus", 20) and baum(s)
    s.notiz(f"{len(knoten)} Elemente")
    fehlend = []
    for name in KNOEPFE:
        if not finde(knoten, "push button", name):
            fehlend.append(f"Knopf {name}")
    for liste, karten in (("Kapitel", z["tabMain"]), ("Themen", z["tabSub"])):
        if not finde(knoten, "filler", liste):
            fehlend.append(f"Bereich {liste}")
        for caption in karten["captions"]:
            if not finde(knoten, "page tab", caption):
                fehlend.append(f"Registerkarte {caption}")
    for a in z["abschnitte"]:
        titel = finde(knoten, "push button", a["titel"])
        if not titel:
            fehlend.append(f"Abschnittstitel {a['titel']} als Knopf")
            continue
        pruefen("Press" in titel[0]["aktionen"] and titel[0]["fokussierbar"],
                f"der Abschnittstitel {a['titel']} hat keine Aktion Press: {titel[0]}")
        gleich(titel[0]["markiert"], a["markiert"], f"Abschnittstitel {a['titel']} markiert")
    text = finde(knoten, "document frame", "Abschnittstext")
    if not text:
        fehlend.append("Abschnittstext als Dokument")
    else:
        erste = s.abschnitt_text("04.01.01")[1]
        pruefen(text[0]["text"] and erste.startswith(text[0]["text"][:40]),
                f"der Text des Dokuments ist nicht der Abschnitt: {text[0]['text']!r}")
    for rolle, name in (("text", "Suchen im Text"), ("push button", "Nächster Treffer (F3)")):
        if not finde(knoten, rolle, name):
            fehlend.append(f"{rolle} {name}")
    ohne_namen = [k for k in knoten if k["fokussierbar"] and k["sichtbar"] and not k["name"]]
    gleich(ohne_namen, [], "fokussierbare Elemente ohne Namen")
    gleich(fehlend, [], "fehlende Namen am Barrierefreiheitsbus")

    # A section title and toolbar buttons activated through the accessibility interface alone.
    ziel = z["abschnitte"][2]["titel"]
    atspi(s, "aktion", "push button", ziel, "Press")
    z = s.warten_abschnitt("04.01.03", f"Press auf den Abschnittstitel „{ziel}“")
    gleich(z["verlauf"], ["04.01.01", "04.01.03"], "Verlauf nach Press auf einen Titel")
    atspi(s, "aktion", "push button", "Nächste", "Press")
    s.warten_abschnitt("04.01.04", "Press auf „Nächste“")
    atspi(s, "aktion", "push button", "Zurück", "Press")
    s.warten_abschnitt("04.01.03", "Press auf „Zurück“")
    atspi(s, "aktion", "push button", "Finden", "Press")
    s.warten_zustand(lambda z: z["finden"]["offen"], "Press auf „Finden“ öffnet die Suchleiste")
    knoten = baum(s)
    marke = [k for k in finde(knoten, "push button", ziel) if k["markiert"]]
    pruefen(marke, f"der gezeigte Titel „{ziel}“ ist am Bus nicht markiert")

    # The keyword pane's fields and lists.
    atspi(s, "aktion", "push button", "Suchen", "Press")
    s.warten_zustand(lambda z: z["stichwort"]["offen"], "Press auf „Suchen“")
    knoten = s.warten(lambda: (lambda k: k if finde(k, "text", "Stichwort suchen") else None)(
        baum(s)), "das Suchfeld des Stichwortbereichs am Bus")
    for rolle, name in (("list", "Gefundene Stichwörter"), ("push button", "Schließen")):
        pruefen(finde(knoten, rolle, name) or finde(knoten, "table", name) or
                finde(knoten, "filler", name),
                f"im Stichwortbereich fehlt {rolle} „{name}“")
    pruefen(any(k["name"] == "Gefundene Themen" for k in knoten),
            "im Stichwortbereich fehlt die Liste „Gefundene Themen“")


# ---- keyboard only ------------------------------------------------------------------------

def tab_bis(s, bedingung, text, hoechstens=40):
    """Presses Tab until the status satisfies bedingung (checked first before any key);
    returns that status."""
    gesehen = []
    for _ in range(hoechstens):
        z = s.zustand()
        if bedingung(z):
            return z
        gesehen.append(f"{z['fokus']} „{z['fokusName']}“")
        s.taste("Tab")
    raise Fehlschlag(f"Tab erreicht nicht: {text}; Fokus der Reihe nach: {gesehen}")


def anderer_titel(z):
    """The index of the section title with the focus when it is not the shown one, else None."""
    m = re.fullmatch(r"lblSub(\d+)", fokus_name(z))
    k = int(m.group(1)) if m else len(z["abschnitte"])
    return k if k < len(z["abschnitte"]) and not z["abschnitte"][k]["markiert"] else None


@szenario("tastatur_allein")
def tastatur_allein(s):
    s.anzeigen("01.01.01")
    s.button_klicken(NAECHSTE)
    s.warten_zustand(lambda z: z["abschnitt"] == "01.01.02" and z["position"] == 2,
                     "Nächste zeigt 01.01.02")
    s.rahmen_aktivieren()
    # The chapter tabs: Tab reaches them, the arrow shows the next chapter.
    z = tab_bis(s, lambda z: z["fokusName"] == "Kapitel", "die Kapitelkarten")
    s.taste("Right")
    z = s.warten_zustand(lambda z: z["abschnitt"].startswith("02."),
                         "Pfeil rechts auf den Kapitelkarten zeigt Kapitel 2")
    # The topic tabs come next in the Tab order.
    s.taste("Tab")
    s.warten_zustand(lambda z: z["fokusName"] == "Themen", "Tab geht zu den Themenkarten")
    s.taste("Right")
    z = s.warten_zustand(lambda z: z["abschnitt"].startswith("02.02."),
                         "Tab und Pfeil rechts auf den Themenkarten zeigen Thema 2")
    # A section title: Tab to the third one, Return shows it.
    z = tab_bis(s, lambda z: fokus_name(z) == "lblSub2", "der dritte Abschnittstitel")
    s.taste("Return")
    z = s.warten_abschnitt("02.02.03", "Return auf dem dritten Titel")
    # Space on a title that is not the shown one chooses it too.
    z = tab_bis(s, lambda z: anderer_titel(z) is not None, "ein anderer Abschnittstitel")
    k = anderer_titel(z)
    s.taste("space")
    z = s.warten_zustand(lambda z: z["abschnitte"][k]["markiert"],
                         f"Leertaste auf dem Abschnittstitel {k} wählt ihn", 8)
    s.bild_sichern(s.bildschirm(), "lesen-tastatur-titel.png")

    # Into the text, then from link to link with Tab; Return follows the one reached.
    s.anzeigen("04.01.01")
    s.rahmen_aktivieren()
    verweise = s.verweise()
    z = tab_bis(s, lambda z: fokus_name(z) == "txt" or z["verweisFokus"] > 0, "der Text", 60)
    if z["verweisFokus"] == 0:
        s.taste("Tab")
    z = s.warten_zustand(lambda z: z["verweisFokus"] == 1, "Tab im Text erreicht Verweis 1")
    ziel = next(v for v in verweise if v["textNummer"])
    for _ in range(ziel["index"] - 1):
        s.taste("Tab")
    z = s.warten_zustand(lambda z: z["verweisFokus"] == ziel["index"],
                         f"Tab erreicht Verweis {ziel['index']}")
    s.bild_sichern(s.bildschirm(), "lesen-tastatur-verweis.png")
    s.taste("Return")
    z = s.warten_abschnitt(ziel["textNummer"], f"Return folgt „{ziel['text']}“")
    gleich(z["verlauf"], ["04.01.01", ziel["textNummer"]], "Verlauf nach Return auf dem Verweis")
    # Back with Alt+Pfeil links.
    s.taste("alt+Left")
    s.warten_zustand(lambda z: z["abschnitt"] == "04.01.01" and z["position"] == 1,
                     "Alt+Pfeil links geht zurück")
    s.taste("alt+Right")
    s.warten_zustand(lambda z: z["abschnitt"] == ziel["textNummer"] and z["position"] == 2,
                     "Alt+Pfeil rechts geht wieder vor")

    # The print dialog through the toolbar (F10, arrows, Return), closed with Esc.
    s.taste("F10")
    z = s.warten_zustand(lambda z: z["fokus"].startswith("QToolButton"), "F10 geht zur Symbolleiste")
    gesehen = []
    for _ in range(12):
        z = s.zustand()
        gesehen.append(z["fokusName"])
        if z["fokusName"] == "Drucken":
            break
        s.taste("Right")
    else:
        raise Fehlschlag(f"die Pfeiltasten erreichen „Drucken“ nicht: {gesehen}")
    s.taste("Return")
    z = s.warten_zustand(lambda z: z["modal"].startswith("frmHilfeDrucken"),
                         "Return auf „Drucken“ öffnet den Druckdialog", 15)
    s.bild_sichern(s.bildschirm(), "lesen-tastatur-druckdialog.png")
    s.dialog_taste("Escape")
    z = s.warten_zustand(lambda z: z["modal"] == "", "Esc schließt den Druckdialog")
    pruefen(z["hilfeSichtbar"], "nach dem Druckdialog ist die Hilfe nicht mehr zu sehen")



# ---- dark palette and scale 2 -------------------------------------------------------------

def schrift_kontrast(bild, r, skala=1):
    """The contrast of writing in a screen rectangle [x, y, w, h] (status coordinates, times
    skala for the screen): the ground is the most frequent colour, the writing the pixel that
    differs most from it. Returns (contrast, ground, writing)."""
    x, y, w, h = (int(v * skala) for v in r)
    ausschnitt = bild.crop((x, y, x + w, y + h))
    farben = ausschnitt.getcolors(w * h * 4) or []
    pruefen(farben, f"kein Bildinhalt in {r}")
    grund = max(farben)[1]
    schrift = max((f for _, f in farben), key=lambda f: kontrast(f, grund))
    return kontrast(schrift, grund), grund, schrift


def kontrast_pruefen(bild, rechtecke, skala=1):
    """Each named rectangle's writing must have 4.5:1; returns the measured values."""
    gemessen = {}
    zu_wenig = []
    for name, r in rechtecke:
        k, grund, schrift = schrift_kontrast(bild, r, skala)
        gemessen[name] = (round(k, 2), grund, schrift)
        if k < 4.5:
            zu_wenig.append(f"{name}: {k:.2f} ({schrift} auf {grund})")
    gleich(zu_wenig, [], "Schrift mit weniger als 4,5:1 Kontrast")
    return gemessen


def mit_dunkler_palette(s):
    server_umgebung(s, {"TOLVAR_HILFE_PALETTE": "dunkel"})
    s.starten()


@szenario("dunkel", vorbereiten=mit_dunkler_palette)
def dunkel(s):
    s.anzeigen("04.01.01")
    z = s.zustand()
    verweise = s.verweise()
    bild = s.bildschirm()
    s.bild_sichern(bild, "lesen-dunkel.png")
    text = s.widget("txt")["global"]
    _, grund, _ = schrift_kontrast(bild, [text[0] + 2, text[1] + text[3] - 40, 200, 30])
    pruefen(leuchtdichte(grund) < 0.05, f"der Text steht nicht auf dunklem Grund: {grund}")
    rechtecke = [("Text", s.zeichen(2))]
    for v in verweise:
        rechtecke.append((f"Verweis {v['text']}", v["rechtecke"][0]))
    for a in z["abschnitte"]:
        rechtecke.append((f"Titel {a['titel']}{' (markiert)' if a['markiert'] else ''}",
                          a["global"]))
    for i, r in enumerate(z["tabMain"]["rechtecke"]):
        rechtecke.append((f"Kapitelkarte {z['tabMain']['captions'][i]}", r))
    for i in ("4", "5", "7", "9", "13", "14"):
        b = z["buttons"][i]["global"]
        # The caption under the icon.
        rechtecke.append((f"Knopf {i}", [b[0] + 2, b[1] + b[3] // 2, b[2] - 4, b[3] // 2 - 2]))
    gemessen = kontrast_pruefen(bild, rechtecke)
    s.notiz(f"Kontraste: {gemessen}")
    # The strip and the marking keep their light colours.
    markiert = next(a for a in z["abschnitte"] if a["markiert"])
    _, gelb, _ = schrift_kontrast(bild, markiert["global"])
    pruefen(gelb[0] > 230 and gelb[1] > 230 and gelb[2] > 160 and gelb[2] < gelb[0],
            f"der markierte Titel ist nicht mehr hellgelb: {gelb}")
    # Links are still told from the text: most of their writing is blue or green.
    for v in verweise:
        x, y, w, h = v["rechtecke"][0]
        teil = bild.crop((x, y, x + w, y + h))
        grund = max(teil.getcolors(w * h))[1]
        schrift = [f for f in teil.getdata() if kontrast(f, grund) > 2]
        farbig = [f for f in schrift if max(f[1], f[2]) > f[0] + 40]
        pruefen(len(farbig) > 0.5 * len(schrift),
                f"„{v['text']}“ ist nicht mehr blau oder grün ({len(farbig)} von "
                f"{len(schrift)} Pixeln)")
    # The find bar and the bookmark menu on the dark palette.
    s.rahmen_aktivieren()
    s.taste("ctrl+f")
    s.warten_zustand(lambda z: z["finden"]["offen"], "Strg+F öffnet die Suchleiste")
    s.tippen("Rechnung")
    z = s.warten_zustand(lambda z: z["finden"]["treffer"] > 0, "Treffer")
    bild = s.bildschirm()
    s.bild_sichern(bild, "lesen-dunkel-finden.png")
    leiste = s.widget("lblFindenStatus")["global"]
    kontrast_pruefen(bild, [("Trefferzahl", leiste),
                            ("aktueller Treffer", z["finden"]["aktuellGlobal"])])
    s.taste("Escape")
    s.warten_zustand(lambda z: not z["finden"]["offen"], "Esc schließt die Suchleiste")
    bedienelemente_pruefen(s, "dunkel")
    # The same with the high-contrast palette, in a server started anew.
    hilfe_beenden(s)
    rc, aus = s.dbus_rufen("UpdateActivationEnvironment",
                           "dict:string:string:TOLVAR_HILFE_PALETTE,kontrast")
    gleich(rc, 0, f"UpdateActivationEnvironment ({aus})")
    s.anzeigen("04.01.01")
    bedienelemente_pruefen(s, "kontrast")


def anzeiger(w):
    """The box or circle of a check box or option button: the square at its left."""
    x, y, b, h = w["global"]
    return [x, y + max(h - 16, 0) // 2, 15, min(h, 16)]


def bedienelemente_pruefen(s, palette):
    """The section strip, the keyword pane and the print dialog on a dark palette: every
    caption and the boxes and circles of unchecked options stand out by 4.5:1."""
    bild = s.bildschirm()
    streifen = s.widget("fraSub")["global"]
    _, grund, _ = schrift_kontrast(bild, streifen)
    pruefen(leuchtdichte(grund) < 0.18, f"{palette}: der Abschnittsstreifen ist hell: {grund}")
    s.button_klicken(SUCHEN)
    s.warten_zustand(lambda z: z["stichwort"]["offen"], "der Stichwortbereich ist offen")
    bild = s.bildschirm()
    s.bild_sichern(bild, f"{palette}-stichwort.png")
    rechtecke = [(n, s.widget(n)["global"]) for n in ("lbl0", "lbl1", "lbl2", "optStichwort",
                                                      "cmdAbbruch")]
    rechtecke.append(("Kreis von Volltext", anzeiger(s.widget("optVolltext"))))
    s.notiz(f"{palette}, Stichwortsuche: {kontrast_pruefen(bild, rechtecke)}")
    s.button_klicken(DRUCKEN)
    s.warten_zustand(lambda z: z["modal"].endswith(":frmHilfeDrucken"), "der Druckdialog ist offen")
    bild = s.bildschirm()
    s.bild_sichern(bild, f"{palette}-druckdialog.png")
    rechtecke = []
    for n in ("opt0", "opt1", "opt2", "opt3"):
        w = s.widget(n)
        # Disabled options are shown faint on purpose.
        if w["sichtbar"] and w["aktiv"]:
            rechtecke += [(n, w["global"]), (f"Anzeiger von {n}", anzeiger(w))]
    pruefen(len(rechtecke) >= 4, f"{palette}: der Druckdialog zeigt zu wenig Optionen")
    s.notiz(f"{palette}, Druckdialog: {kontrast_pruefen(bild, rechtecke)}")
    s.dialog_taste("Escape")
    s.warten_zustand(lambda z: z["modal"] == "", "Esc schließt den Druckdialog")


def verdoppelte_zeilen(bild, knopf):
    """The share of equal row pairs in the icon of a toolbar button (status rectangle, scale
    2): the bounding box of the pixels that stand out from the button's ground in its upper
    half, rows paired from either start."""
    x, y, w, h = (2 * v for v in knopf)
    oben = bild.crop((x, y, x + w, y + h // 2))
    px = oben.load()
    grund = px[2, 2]
    punkte = [(i, j) for j in range(oben.height) for i in range(oben.width)
              if kontrast(px[i, j], grund) > 1.5]
    pruefen(len(punkte) > 50, f"kein Symbol im Knopf {knopf}")
    links, rechts = min(p[0] for p in punkte), max(p[0] for p in punkte)
    hoch, tief = min(p[1] for p in punkte), max(p[1] for p in punkte)
    zeilen = [tuple(px[i, j] for i in range(links, rechts + 1)) for j in range(hoch, tief + 1)]
    anteile = []
    for start in (0, 1):
        paare = [(zeilen[k], zeilen[k + 1]) for k in range(start, len(zeilen) - 1, 2)]
        anteile.append(sum(a == b for a, b in paare) / max(len(paare), 1))
    return round(max(anteile), 2)


def mit_skala_2(s):
    server_umgebung(s, {"QT_SCALE_FACTOR": "2"})
    s.starten()


@szenario("skala2", vorbereiten=mit_skala_2)
def skala2(s):
    s.anzeigen("04.01.01")
    z = s.zustand()
    bild = s.bildschirm()
    s.bild_sichern(bild, "lesen-skala2.png")
    # The frame's logical size is half its size on the screen.
    fenster = s.rahmen_fenster()
    info = s.wininfo(fenster)
    innen = z["rahmen"]["innen"]
    for wert, achse in ((int(info["Width"]), 2), (int(info["Height"]), 3)):
        pruefen(abs(wert - 2 * innen[achse]) <= 2,
                f"Fenster {wert} Pixel, logisch {innen[achse]}: nicht das Doppelte")
    # Writing at double size is as readable, and the text lies where the character boxes say.
    kontrast_pruefen(bild, [("Text", s.zeichen(2))] +
                     [(a["titel"], a["global"]) for a in z["abschnitte"]], skala=2)
    # A link is followed where it is drawn: a click in the middle of its screen box.
    v = next(v for v in s.verweise() if v["textNummer"])
    r = v["rechtecke"][0]
    s.klick(2 * r[0] + r[2], 2 * r[1] + r[3])
    s.warten_abschnitt(v["textNummer"], f"ein Klick auf „{v['text']}“ bei Skala 2")
    # Toolbar icons drawn for 32 device pixels, not doubled from 16: in a doubled picture
    # the rows come in equal pairs.
    knopf = z["buttons"]["9"]["global"]
    pruefen(verdoppelte_zeilen(bild, knopf) < 0.8,
            f"das Symbol von „Drucken“ sieht verdoppelt aus ({verdoppelte_zeilen(bild, knopf)})")
    # Half of the screen is 320 logical pixels: the page still fits the window.
    s.anzeigen("04.01.01", halb=True)
    seite_ganz_zu_sehen(s, "halb, Skala 2", "lesen-skala2-halb.png")
    # The picture window: the picture at twice its pixel size, pixel for pixel.
    s.anzeigen("04.01.01")
    bv = next(v for v in s.verweise() if v["bildNummer"])
    r = bv["rechtecke"][0]
    s.klick(2 * r[0] + r[2], 2 * r[1] + r[3])
    s.warten_zustand(lambda z: z["bild"]["offen"], "das Bildfenster öffnet sich")
    original = os.path.join(s.arbeit, "bild.png")
    s.hilfedb("bild", os.path.join(s.db_ordner, "HilfeBelna.mdb"), bv["bildNummer"], original)
    from PIL import Image
    with Image.open(original) as o:
        vorlage = o.convert("RGB")
    pic = s.warten(lambda: (lambda w: w if w["sichtbar"] else None)(s.widget("picBild")),
                   "das Bild ist zu sehen")
    gleich(pic["global"][2:], list(vorlage.size), "logische Größe des Bildes")
    bild = s.bildschirm()
    s.bild_sichern(bild, "lesen-skala2-bild.png")
    x, y = 2 * pic["global"][0], 2 * pic["global"][1]
    # The part on the screen (a window taller than the screen is cut by it).
    breite = min(2 * vorlage.width, bild.width - x) // 2 * 2
    hoehe = min(2 * vorlage.height, bild.height - y) // 2 * 2
    pruefen(breite > 200 and hoehe > 200, f"vom Bild ist zu wenig zu sehen: {breite}x{hoehe}")
    gezeigt = bild.crop((x, y, x + breite, y + hoehe))
    doppelt = vorlage.crop((0, 0, breite // 2, hoehe // 2)).resize(gezeigt.size, Image.NEAREST)
    unterschied = sum(abs(a - b) for p, q in zip(gezeigt.getdata(), doppelt.getdata())
                      for a, b in zip(p, q)) / (gezeigt.width * gezeigt.height * 3)
    pruefen(unterschied < 4, f"das Bild ist nicht scharf verdoppelt (mittlere Abweichung "
                             f"{unterschied:.1f})")
