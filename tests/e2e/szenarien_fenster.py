"""The frame window on a managed desktop, and the server's life time."""

import os
import signal
import time

from szenario import szenario
from umgebung import BREITE, FRAME_TITEL, HOEHE, Fehlschlag, gleich, lebt, pruefen
from szenarien_bedienung import hilfe_beenden
from szenarien_verweise import klartext_position, sichtbarer_punkt


def arbeitsbereich(s):
    """The work area the window manager announces (x, y, w, h); the screen without one."""
    text = s.xprop_root("_NET_WORKAREA")
    if "=" in text:
        werte = [int(v) for v in text.split("=")[1].split(",")[:4]]
        if len(werte) == 4:
            return werte
    return [0, 0, BREITE, HOEHE]


def ruhige_geometrie(s, fenster, text):
    """The outer geometry of a mapped window once two readings in a row agree."""
    return s.ruhig(lambda: s.aussen_geometrie(fenster) if
                   s.wininfo(fenster).get("Map State") == "IsViewable" else None, text)


@szenario("erste_platzierung")
def erste_platzierung(s):
    for halb in (False, True):
        if halb:
            hilfe_beenden(s)
        s.anzeigen("01.01.01", halb=halb)
        fenster = s.rahmen_fenster()
        x, y, b, h = ruhige_geometrie(s, fenster, "der Rahmen steht")
        ax, ay, ab, ah = arbeitsbereich(s)
        s.notiz(f"Rahmen außen {[x, y, b, h]}, laut Qt {s.zustand()['rahmen']['geometrie']}")
        was = f"erste Anzeige {'halb' if halb else 'voll'}: Rahmen {[x, y, b, h]}, " \
              f"Arbeitsbereich {[ax, ay, ab, ah]}"
        pruefen(x >= ax and y >= ay, f"{was}: links oder oben außerhalb")
        pruefen(x + b <= ax + ab and y + h <= ay + ah, f"{was}: rechts oder unten außerhalb")
    # The title bar shows the caption alone, as the window manager reads it.
    gleich(s.xprop(fenster, "_NET_WM_NAME").partition("=")[2].strip(),
           f'"{FRAME_TITEL}"', "_NET_WM_NAME des Rahmens")


def verborgen(s, fenster):
    return "_NET_WM_STATE_HIDDEN" in s.netz_zustand(fenster) or \
        s.wininfo(fenster).get("Map State") != "IsViewable"


@szenario("minimiert_zurueck")
def minimiert_zurueck(s):
    for halb, a, b in ((False, "01.01.01", "02.01.01"), (True, "03.01.01", "04.01.01")):
        modus = "halb" if halb else "voll"
        s.anzeigen(a, halb=halb)
        fenster = s.rahmen_fenster()
        vorher = ruhige_geometrie(s, fenster, f"der Rahmen steht ({modus})")
        s.xdotool("windowminimize", str(fenster))
        s.warten(lambda: verborgen(s, fenster), f"der Rahmen ist minimiert ({modus})")
        s.anzeigen(b, halb=halb)
        try:
            s.warten(lambda: not verborgen(s, fenster) and s.aktives_fenster() == fenster,
                     "", 8)
        except Fehlschlag:
            s.bild_sichern(s.bildschirm(), f"08-nach-minimieren-{modus}.png")
            raise Fehlschlag(f"nach anzeigen {b} ({modus}) ist der minimierte Rahmen nicht "
                             f"zurück: Zustand {s.netz_zustand(fenster).strip()!r}, "
                             f"Map State {s.wininfo(fenster).get('Map State')}, aktives "
                             f"Fenster {s.aktives_fenster()} statt {fenster}") from None
        nachher = ruhige_geometrie(s, fenster, f"der Rahmen steht wieder ({modus})")
        s.bild_sichern(s.bildschirm(), f"08-nach-minimieren-{modus}.png")
        pruefen(all(abs(p - q) <= 2 for p, q in zip(vorher, nachher)),
                f"nach dem Minimieren ({modus}) liegt der Rahmen bei {nachher} statt {vorher}")


def rahmen_groesse(s, breite, hoehe):
    """Resizes the frame (through --foto) and waits until the window manager has carried it
    out and the layout holds still."""
    s.foto(os.path.join(s.arbeit, "foto.png"), breite, hoehe)
    s.warten_zustand(lambda z: z["rahmen"]["innen"][2:] == [breite, hoehe],
                     f"der Rahmen ist {breite} x {hoehe} groß")
    s.ruhig(lambda: (s.widget("VScroll1"), s.widget("picBackground")), "die Anordnung steht")


@szenario("textflaeche_grundstellung")
def textflaeche_grundstellung(s):
    s.anzeigen("01.03.05")
    rahmen_groesse(s, 600, 240)
    pruefen(s.widget("VScroll1")["sichtbar"], "bei 600 x 240 keine senkrechte Bildlaufleiste")
    oben = s.widget("picBackground")["global"][1]
    leiste = s.widget("VScroll1")["global"]
    s.klick(leiste[0] + leiste[2] // 2, leiste[1] + leiste[3] - 25)
    s.warten(lambda: s.widget("picBackground")["global"][1] < oben, "der Text rollt nach unten")
    s.anzeigen("01.03.04")
    rahmen_groesse(s, 600, 240)
    nach_oben_rollen(s, oben)
    gleich(s.widget("picBackground")["global"][1], oben,
           "obere Kante des Textbereichs ganz oben gerollt, nach anzeigen")


def nach_oben_rollen(s, ziel):
    """Clicks the scroll bar above its slider until the text panel's top reaches ziel or
    moves no more."""
    for _ in range(30):
        leiste = s.widget("VScroll1")
        jetzt = s.widget("picBackground")["global"][1]
        if not leiste["sichtbar"] or jetzt >= ziel:
            return
        x, y, b, _ = leiste["global"]
        s.klick(x + b // 2, y + 20)
        try:
            s.warten(lambda: s.widget("picBackground")["global"][1] != jetzt, "", 3)
        except Fehlschlag:
            return
    raise Fehlschlag("der Text rollt nach 30 Klicks noch immer")


@szenario("kein_cursor")
def kein_cursor(s):
    s.anzeigen("01.01.03")
    s.klick(*sichtbarer_punkt(s, s.zeichen(klartext_position(s.verweise(), 20))))
    txt = s.widget("txt")["global"]
    sicht = s.widget("picContainer")["global"]
    links, oben = max(txt[0], sicht[0]), max(txt[1], sicht[1])
    rechts = min(txt[0] + txt[2], sicht[0] + sicht[2])
    unten = min(txt[1] + txt[3], sicht[1] + sicht[3])
    pruefen(rechts - links > 50 and unten - oben > 50, f"der Text ist kaum zu sehen: {txt}")
    # A cursor blinks about twice a second: pictures taken over 1.2 s catch both phases.
    bilder = []
    beginn = time.monotonic()
    while time.monotonic() - beginn < 1.2 or len(bilder) < 4:
        bilder.append(s.bildschirm().crop((links, oben, rechts, unten)))
    verschieden = [i for i in range(1, len(bilder)) if bilder[i].tobytes() != bilder[0].tobytes()]
    if verschieden:
        s.bild_sichern(bilder[0], "14-text-a.png")
        s.bild_sichern(bilder[verschieden[0]], "14-text-b.png")
    gleich(verschieden, [], "Bilder des Textes, die sich vom ersten unterscheiden")

    rahmen_groesse(s, 290, 400)
    s.warten(lambda: s.widget("qt_toolbar_ext_button").get("sichtbar"),
             "bei 290 Pixel Breite zeigt die Symbolleiste ihren Erweiterungsknopf", 8)
    rahmen_groesse(s, 1100, 900)
    try:
        s.warten(lambda: not s.widget("qt_toolbar_ext_button").get("sichtbar"), "", 8)
    except Fehlschlag:
        knopf = s.widget("qt_toolbar_ext_button")
        raise Fehlschlag(f"nach 290 Pixel und zurück auf 1100 Pixel Breite ist der "
                         f"Erweiterungsknopf der Symbolleiste zu sehen: {knopf}") from None


@szenario("ende_mit_bus")
def ende_mit_bus(s):
    s.anzeigen("01.01.01")
    pid = s.server_pid_merken()
    pruefen(pid, "keine Prozessnummer des Servers")
    os.kill(s.bus.pid, signal.SIGTERM)
    s.bus.wait(timeout=5)
    try:
        s.warten(lambda: not lebt(pid), "", 5)
    except Fehlschlag:
        raise Fehlschlag(f"der Server {pid} läuft 5 s nach dem Ende seines Busses noch") \
            from None


NACH_BEENDEN = ["01.01.02", "02.01.01", "03.01.01", "04.01.01", "05.01.01"]


def gezeigt_nach(s, nummer, rc, fehler, wie):
    if rc != 0:
        pruefen(fehler.strip(), f"{wie}: anzeigen {nummer} endet mit {rc} ohne Meldung")
        return False
    try:
        s.warten_zustand(lambda z: z["hilfeSichtbar"] and z["abschnitt"] == nummer, "", 10)
    except Fehlschlag:
        z = s.zustand()
        raise Fehlschlag(f"{wie}: anzeigen {nummer} gab 0 zurück, aber die Hilfe zeigt "
                         f"{z['abschnitt']!r} (sichtbar: {z['hilfeSichtbar']})") from None
    s.server_pid_merken()
    return True


@szenario("aufruf_nach_beenden")
def aufruf_nach_beenden(s):
    s.monitor_starten("type='method_call',interface='de.tolvar.BelnaHilfe.clsHilfe'")
    s.anzeigen("01.01.01")
    bedient = 0
    for nummer in NACH_BEENDEN:
        s.client("--beenden")
        rc, _, fehler = s.client(nummer)
        bedient += gezeigt_nach(s, nummer, rc, fehler, "nacheinander")

    # Two processes started back to back: the bus may still route the second call first, and
    # a help closed by a later HilfeBeenden is right. Such rounds are left out; the monitor
    # tells the order in which the bus routed the calls.
    geprueft = 0
    for nummer in NACH_BEENDEN:
        gesehen = len(s.monitor_methoden())
        beenden = s.client_starten("--beenden")
        time.sleep(0.02)
        anzeigen = s.client_starten(nummer)
        _, fehler = anzeigen.communicate(timeout=30)
        beenden.communicate(timeout=30)
        reihe = s.warten(lambda: (lambda m: m if len(m) >= 2 else None)(
            s.monitor_methoden()[gesehen:]), "der Bus leitet beide Aufrufe weiter")
        s.notiz(f"Reihenfolge am Bus: {reihe}")
        if reihe[:2] != ["HilfeBeenden", "HilfeAnzeigen"]:
            continue
        geprueft += 1
        bedient += gezeigt_nach(s, nummer, anzeigen.returncode, fehler, "zwei Prozesse")
    pruefen(geprueft > 0, "in keiner Runde kam HilfeBeenden vor HilfeAnzeigen an")
    pruefen(bedient > 0, "kein Aufruf nach HilfeBeenden wurde bedient")


@szenario("darstellung_umschalten")
def darstellung_umschalten(s):
    """The size buttons switch between the whole work area and its right half, and back."""
    s.anzeigen("01.01.01")
    fenster = s.rahmen_fenster()
    ax, ay, ab, ah = arbeitsbereich(s)
    for knopf, halb in ((11, True), (12, False)):
        s.button_klicken(knopf)
        s.warten_zustand(lambda z: z["darstellung"] == halb, f"Knopf {knopf}: Darstellung {halb}")
        x, y, b, h = ruhige_geometrie(s, fenster, f"der Rahmen steht nach Knopf {knopf}")
        was = f"nach Knopf {knopf}: Rahmen {[x, y, b, h]}, Arbeitsbereich {[ax, ay, ab, ah]}"
        if halb:
            pruefen(x >= ax + ab // 2 - 20 and b <= ab // 2 + 20, f"{was}: nicht die rechte Hälfte")
        else:
            pruefen(x <= ax + 20 and b >= ab - 40, f"{was}: nicht der ganze Arbeitsbereich")
        z = s.zustand()
        pruefen(s.button(z, 11)["sichtbar"] != halb and s.button(z, 12)["sichtbar"] == halb,
                f"{was}: der Knopf für die andere Darstellung fehlt")


@szenario("maximieren_merkt_darstellung")
def maximieren_merkt_darstellung(s):
    """A double click on the title bar maximises the half-screen frame into full mode; a second
    one restores it, and the half-screen mode comes back."""
    s.anzeigen("01.01.01", halb=True)
    fenster = s.rahmen_fenster()
    for schritt, maximiert, halb in (("maximiert", True, False), ("wiederhergestellt", False, True)):
        x, y, b, _ = ruhige_geometrie(s, fenster, f"der Rahmen steht (vor {schritt})")
        s.xdotool("mousemove", "--sync", str(x + b // 2), str(y + 8))  # on the title bar
        s.xdotool("click", "--repeat", "2", "--delay", "80", "1")
        s.warten(lambda: ("_NET_WM_STATE_MAXIMIZED_HORZ" in s.netz_zustand(fenster)) == maximiert,
                 f"der Rahmen ist {schritt}")
        z = s.warten_zustand(lambda z: z["darstellung"] == halb, f"{schritt}: Darstellung {halb}")
        pruefen(s.button(z, 11)["sichtbar"] != halb and s.button(z, 12)["sichtbar"] == halb,
                f"{schritt}: der Knopf für die andere Darstellung fehlt")
