"""Links in the text: a click follows exactly one link, a right click follows it without a menu,
and the clickable area is the link's own characters."""

from szenario import szenario
from umgebung import Fehlschlag, enthaelt, gleich, mitte, pruefen

# Sections whose every link is clicked. 04.01.01 holds the link to 03.02.01 that once ended on
# 03.01.05, and a picture link; 01.01.01 has its links in a bulleted list, 01.01.02 in a
# numbered one.
VERWEIS_ABSCHNITTE = ["04.01.01", "01.01.01", "01.01.02"]


def sichtbarer_punkt(s, rechteck):
    """The middle of a text rectangle, checked to lie in the visible part of the page."""
    x, y = mitte(rechteck)
    sicht = s.widget("picContainer")["global"]
    pruefen(enthaelt(sicht, x, y), f"der Punkt {x},{y} liegt nicht im sichtbaren Text {sicht}")
    return x, y


def frisch_zeigen(s, nummer):
    """Shows a section by a host call, which starts a new history holding only it."""
    s.anzeigen(nummer)
    s.warten(lambda: s.zustand()["verlauf"] == [nummer], f"Verlauf [{nummer}]")


def bild_schliessen(s):
    bild = s.zustand()["bild"]
    if bild["offen"]:
        # Esc in the help window would close the help: the key goes to the picture window.
        fenster = s.warten(lambda: s.fenster_suchen(bild["titel"]), "das Bildfenster")
        s.xdotool("windowactivate", "--sync", str(fenster[0]))
        s.taste("Escape")
        s.warten(lambda: not s.zustand()["bild"]["offen"], "das Bildfenster schließt mit Esc")


@szenario("verweis_ein_klick")
def verweis_ein_klick(s):
    geklickt = 0
    for quelle in VERWEIS_ABSCHNITTE:
        frisch_zeigen(s, quelle)
        verweise = s.verweise()
        pruefen(verweise, f"{quelle} hat keine Verweise")
        for v in verweise:
            frisch_zeigen(s, quelle)
            vorher = s.zustand()
            x, y = sichtbarer_punkt(s, v["rechtecke"][0])
            s.klick(x, y)
            geklickt += 1
            was = f"{quelle}, Verweis {v['index']} „{v['text']}“"
            if v["textNummer"]:
                ziel = v["textNummer"]
                z = s.warten_zustand(lambda z: z["abschnitt"] != quelle,
                                     f"{was} führt weg von {quelle}")
                gleich(z["abschnitt"], ziel, f"{was}: gezeigter Abschnitt")
                gleich(z["verlauf"], [quelle, ziel], f"{was}: Verlauf wächst um genau einen")
                gleich(z["position"], 2, f"{was}: Verlaufsposition")
            else:
                gezeigt = vorher["bild"]["gezeigt"]
                s.warten(lambda: s.zustand()["bild"]["offen"], f"{was} öffnet das Bildfenster")
                # A second opening would follow at once from the same click.
                s.bleibt(lambda: s.zustand()["bild"]["gezeigt"] == gezeigt + 1,
                         f"{was}: das Bild wird genau einmal gezeigt ({gezeigt} -> "
                         f"{s.zustand()['bild']['gezeigt']})", 1.0)
                z = s.zustand()
                gleich(z["abschnitt"], quelle, f"{was}: der Abschnitt bleibt")
                gleich(z["verlauf"], [quelle], f"{was}: der Verlauf bleibt")
                bild_schliessen(s)
    pruefen(geklickt >= 10, f"nur {geklickt} Verweise geklickt")


@szenario("rechtsklick")
def rechtsklick(s):
    quelle = "04.01.01"
    frisch_zeigen(s, quelle)
    fenster_vorher = set(s.override_redirect_fenster())
    v = next(v for v in s.verweise() if v["textNummer"])
    s.klick(*sichtbarer_punkt(s, v["rechtecke"][0]), taste=3)
    s.warten_abschnitt(v["textNummer"], f"ein Rechtsklick auf „{v['text']}“")
    s.bleibt(lambda: s.zustand()["popup"] == "", "nach dem Rechtsklick ist kein Menü offen")
    neu = set(s.override_redirect_fenster()) - fenster_vorher
    gleich(sorted(neu), [], "neue Popup-Fenster nach dem Rechtsklick auf den Verweis")

    # Plain text: the first character of the section's text that is no link.
    frisch_zeigen(s, quelle)
    verweise = s.verweise()
    pos = klartext_position(verweise)
    s.klick(*sichtbarer_punkt(s, s.zeichen(pos)), taste=3)
    s.bleibt(lambda: s.zustand()["popup"] == "", "ein Rechtsklick in den Text öffnet kein Menü")
    gleich(s.zustand()["abschnitt"], quelle, "nach dem Rechtsklick in den Text")
    neu = set(s.override_redirect_fenster()) - fenster_vorher
    gleich(sorted(neu), [], "neue Popup-Fenster nach dem Rechtsklick in den Text")


def klartext_position(verweise, ab=5):
    """A text position at least ab characters away from every link."""
    pos = ab
    for v in sorted(verweise, key=lambda v: v["anfang"]):
        if pos + ab < v["anfang"]:
            break
        pos = max(pos, v["ende"] + ab)
    return pos


# Where the user clicks, relative to a link: (name, character, fraction of its width or a
# pixel offset from its left edge, whether the click follows the link).
TREFFER = [
    ("vor dem Verweis", "vorher", None, False),
    ("erstes Zeichen, linke Hälfte", "erstes", 0.25, True),
    ("erstes Zeichen, rechte Hälfte", "erstes", 0.75, True),
    ("letztes Zeichen, linke Hälfte", "letztes", 0.25, True),
    ("letztes Zeichen, rechte Hälfte", "letztes", 0.75, True),
]


@szenario("verweis_trefferflaeche")
def verweis_trefferflaeche(s):
    for quelle in ("04.01.01", "01.01.04"):
        frisch_zeigen(s, quelle)
        for v in [v for v in s.verweise() if v["textNummer"]][:2]:
            frisch_zeigen(s, quelle)
            erstes = s.zeichen(v["anfang"])
            letztes = s.zeichen(v["ende"] - 1)
            vorher = s.zeichen(v["anfang"] - 1)
            pruefen(vorher[1] == erstes[1] and vorher[2] >= 3,
                    f"vor „{v['text']}“ steht kein Zeichen derselben Zeile: {vorher} {erstes}")
            for name, zeichen, anteil, folgt in TREFFER:
                frisch_zeigen(s, quelle)
                if zeichen == "vorher":
                    # 1-2 px left of the link: still inside the previous character.
                    x = erstes[0] - 2
                else:
                    r = erstes if zeichen == "erstes" else letztes
                    x = r[0] + int(r[2] * anteil)
                y = erstes[1] + erstes[3] // 2 if zeichen != "letztes" else \
                    letztes[1] + letztes[3] // 2
                sichtbarer_punkt(s, [x, y, 1, 1])
                s.klick(x, y)
                was = f"{quelle}, „{v['text']}“, {name} ({x},{y})"
                if folgt:
                    s.warten_abschnitt(v["textNummer"], f"{was}: der Klick folgt dem Verweis")
                else:
                    try:
                        s.bleibt(lambda: s.zustand()["abschnitt"] == quelle, "", 1.0)
                    except Fehlschlag:
                        raise Fehlschlag(f"{was}: der Klick neben den Verweis folgt ihm "
                                         f"({s.zustand()['abschnitt']})") from None


@szenario("marke_und_abbildung")
def marke_und_abbildung(s):
    """A link written with a section's label and no text shows the title and leads to the
    section; a figure's link opens the picture under the figure's caption."""
    quelle = "04.05.06"
    frisch_zeigen(s, quelle)
    verweise = s.verweise()
    marke = next((v for v in verweise if v["textNummer"] == "04.05.03"), None)
    pruefen(marke, f"{quelle} hat keinen Verweis auf 04.05.03: {verweise}")
    gleich(marke["text"], "E-Rechnung ausgeben", "Linktext eines Verweises ohne Text")
    s.klick(*sichtbarer_punkt(s, marke["rechtecke"][0]))
    s.warten_abschnitt("04.05.03", "der Verweis über die Marke")

    # The table is laid out as a grid: the third cell of the next row begins right below the
    # cell that holds the link (between two cells lie two positions without a character).
    frisch_zeigen(s, quelle)
    s.bild_sichern(s.bildschirm(), "tabelle.png")
    zelle = next((v for v in s.verweise() if v["text"] == "E-Rechnung mit Leitweg-ID"), None)
    pruefen(zelle, f"{quelle}: kein Verweis in der Tabelle")
    anfang = zelle["anfang"] - len("Behörden und Portale (")
    unten = zelle["ende"] + len(")") + 2 + len("Hybridrechnung") + 2 + \
        len("PDF mit eingebetteten XML-Daten") + 2
    oben, darunter = s.zeichen(anfang), s.zeichen(unten)
    pruefen(abs(oben[0] - darunter[0]) <= 1 and darunter[1] >= oben[1] + oben[3],
            f"die Zelle unter {oben} beginnt bei {darunter}: keine Tabelle")
    s.klick(*sichtbarer_punkt(s, zelle["rechtecke"][0]))
    s.warten_abschnitt("04.05.03", "der Verweis in der Tabellenzelle")

    frisch_zeigen(s, quelle)
    abbildung = next((v for v in s.verweise() if not v["textNummer"]), None)
    pruefen(abbildung, f"{quelle} hat keinen Bildverweis")
    s.klick(*sichtbarer_punkt(s, abbildung["rechtecke"][0]))
    s.warten(lambda: s.zustand()["bild"]["offen"], "die Abbildung öffnet das Bildfenster")
    titel = "E-Rechnung: Format und Empfänger wählen"
    s.warten(lambda: s.fenster_suchen(titel + " (ESC = Fenster schließen)"),
             f"ein Bildfenster mit dem Titel „{titel}“")
    bild_schliessen(s)
