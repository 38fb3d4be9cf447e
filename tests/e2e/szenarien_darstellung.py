"""The help window on narrow frames: half screen, with the keyword pane beside it, on a scaled
screen. The page follows the window: the tab rows end inside it with their arrows, the text
is not cut at the right, and no sideways scroll bar appears."""

from szenario import szenario
from umgebung import gleich, pruefen
from szenarien_bedienung import SUCHEN


def seite_ganz_zu_sehen(s, was, bildname, skala=1):
    """Checks from the status object that nothing of the page lies beyond the help window's
    right edge, and keeps a screenshot to look at."""
    def ruhig():
        z = s.zustand()
        return z if z["hilfeSichtbar"] and z["tabMain"]["global"] else None
    z = s.warten(ruhig, f"die Hilfe steht ({was})")
    s.bild_sichern(s.bildschirm(), bildname)
    hilfe = s.widget("frmHilfe")["global"]
    rechts = hilfe[0] + hilfe[2]
    gleich(s.widget("HScroll1")["sichtbar"], False, f"{was}: waagerechte Bildlaufleiste")
    for zeile in ("tabMain", "tabSub"):
        r = z[zeile]["global"]
        pruefen(r[0] + r[2] <= rechts,
                f"{was}: {zeile} reicht bis {r[0] + r[2]}, das Fenster bis {rechts}")
        pfeil = z[zeile]["pfeilRechts"]
        if pfeil:
            pruefen(pfeil[0] + pfeil[2] <= rechts, f"{was}: der Pfeil von {zeile} liegt bei "
                                                   f"{pfeil}, das Fenster endet bei {rechts}")
    text = s.widget("txt")["global"]
    pruefen(text[0] + text[2] <= rechts,
            f"{was}: der Text reicht bis {text[0] + text[2]}, das Fenster bis {rechts}")
    s.notiz(f"{was}: Fenster bis {rechts}, Kapitelpfeil {z['tabMain']['pfeilRechts']}")
    return z


@szenario("halb_schmal")
def halb_schmal(s):
    s.anzeigen("04.01.01", halb=True)
    z = seite_ganz_zu_sehen(s, "halb", "darstellung-halb.png")
    pruefen(z["tabMain"]["pfeilRechts"], "halb: die Kapitelkarten zeigen keinen Pfeil nach "
                                         "rechts (alle passen, der Fall wird nicht geprüft)")
    s.button_klicken(SUCHEN)
    s.warten_zustand(lambda z: z["stichwort"]["offen"], "der Stichwortbereich ist offen")
    seite_ganz_zu_sehen(s, "halb mit Stichwortsuche", "darstellung-halb-stichwort.png")
