"""Accessibility as a screen reader and a keyboard user meet it: the help window's controls
named in German on the real accessibility bus (AT-SPI), a section title and toolbar buttons
activated through it alone; the whole help used with the keyboard only."""

import json
import os
import subprocess

from szenario import szenario
from umgebung import Fehlschlag, Uebersprungen, gleich, pruefen
from szenarien_bedienung import fokus_name

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
    r = subprocess.run(["/usr/bin/python3", ATSPI_HILFE, *argumente], env=s.x_env(),
                       capture_output=True, text=True, timeout=60)
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
    z = s.warten_zustand(lambda z: z["abschnitt"] == "04.01.03",
                         f"Press auf den Abschnittstitel „{ziel}“ zeigt 04.01.03")
    gleich(z["verlauf"], ["04.01.01", "04.01.03"], "Verlauf nach Press auf einen Titel")
    atspi(s, "aktion", "push button", "Nächste", "Press")
    s.warten_zustand(lambda z: z["abschnitt"] == "04.01.04", "Press auf „Nächste“")
    atspi(s, "aktion", "push button", "Zurück", "Press")
    s.warten_zustand(lambda z: z["abschnitt"] == "04.01.03", "Press auf „Zurück“")
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
