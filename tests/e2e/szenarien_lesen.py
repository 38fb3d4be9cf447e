"""Reading aids as the user meets them: the zoom of the text (keys, Strg+wheel, kept across a
restart, links followed where they are shown), the find bar (hits, stepping, "nicht gefunden",
Esc closes only the bar) and the bookmarks (add, open, delete, kept across a restart, a missing
section greyed)."""

import os
import re

from szenario import szenario
from umgebung import gleich, mitte, pruefen
from szenarien_bedienung import fokus_name, hilfe_beenden
from szenarien_verweise import frisch_zeigen, sichtbarer_punkt

FINDEN, LESEZEICHEN = 13, 14


def einstellungen(s):
    """The help's own settings file of this session, as text ("" when there is none)."""
    pfad = os.path.join(s.config, "Tolvar-Hilfe.ini")
    if not os.path.exists(pfad):
        return ""
    with open(pfad, encoding="utf-8") as f:
        return f.read()


def zoom_warten(s, prozent, was):
    return s.warten_zustand(lambda z: z.get("zoom") == prozent, f"{was}: Zoom {prozent} %")


def hoehe(r):
    return r[3]


@szenario("zoom_verweis")
def zoom_verweis(s):
    quelle = "04.01.01"
    frisch_zeigen(s, quelle)
    gleich(s.zustand()["zoom"], 100, "Zoom beim ersten Start")
    v = next(v for v in s.verweise() if v["textNummer"])
    vorher = v["rechtecke"][0]
    s.rahmen_aktivieren()
    # Strg++ four times: 110, 125, 150, 175.
    for _ in range(4):
        s.taste("ctrl+plus")
    zoom_warten(s, 175, "viermal Strg++")
    v2 = next(w for w in s.verweise() if w["index"] == v["index"])
    nachher = v2["rechtecke"][0]
    pruefen(1.5 * hoehe(vorher) <= hoehe(nachher) <= 2.0 * hoehe(vorher),
            f"die Zeile des Verweises wächst mit dem Zoom nicht auf das 1,75fache: "
            f"{vorher} -> {nachher}")
    s.bild_sichern(s.bildschirm(), "lesen-zoom-175.png")
    # Every character of the link is followed where it is drawn now: its first and last one.
    for pos in (v2["anfang"], v2["ende"] - 1):
        frisch_zeigen(s, quelle)
        x, y = sichtbarer_punkt(s, s.zeichen(pos))
        s.klick(x, y)
        z = s.warten_zustand(lambda z: z["abschnitt"] != quelle,
                             f"ein Klick auf Zeichen {pos} von „{v['text']}“ folgt dem Verweis")
        gleich(z["abschnitt"], v["textNummer"], "Ziel des Verweises bei 175 %")
        gleich(z["zoom"], 175, "der Zoom bleibt beim Folgen eines Verweises")
    # Beside the link (a character before it) nothing is followed.
    frisch_zeigen(s, quelle)
    daneben = s.zeichen(v2["anfang"] - 2)
    s.klick(*sichtbarer_punkt(s, daneben))
    s.bleibt(lambda: s.zustand()["abschnitt"] == quelle,
             "ein Klick zwei Zeichen vor dem Verweis folgt ihm", 1.0)

    # Strg+wheel down: one step smaller; Strg+0: back to 100 %.
    x, y = sichtbarer_punkt(s, s.zeichen(5))
    s.xdotool("mousemove", "--sync", str(x), str(y))
    s.xdotool("keydown", "ctrl", "click", "5", "keyup", "ctrl")
    zoom_warten(s, 150, "Strg+Mausrad nach unten")
    s.taste("ctrl+minus")
    zoom_warten(s, 125, "Strg+-")
    s.taste("ctrl+0")
    zoom_warten(s, 100, "Strg+0")
    for _ in range(20):
        s.taste("ctrl+minus")
    zoom_warten(s, 50, "Strg+- bis zum Ende")
    s.taste("ctrl+plus", "ctrl+plus", "ctrl+plus", "ctrl+plus")
    zoom_warten(s, 90, "von 50 % viermal größer")

    # Kept for the user across a restart, in the help's own file only.
    hilfe_beenden(s)
    s.anzeigen("01.01.01")
    gleich(s.zustand()["zoom"], 90, "Zoom nach dem Neustart")
    pruefen(re.search(r"^\[Anzeige\]\s*^Zoom=90$", einstellungen(s), re.M),
            f"Tolvar-Hilfe.ini hält den Zoom nicht: {einstellungen(s)!r}")
    gemeinsam = os.path.join(s.config, "Tolvar.ini")
    pruefen(not os.path.exists(gemeinsam) or "Zoom" not in open(gemeinsam).read(),
            "der Zoom steht in der Datei der Rechnungsanwendung")


def oeffnen(s, taste, knopf, bedingung, text):
    """Opens the find bar or the bookmark menu by its key (taste) or its toolbar button (knopf,
    when taste is None); returns the status once bedingung holds."""
    s.rahmen_aktivieren()
    if taste:
        s.taste(taste)
    else:
        s.button_klicken(knopf)
    return s.warten_zustand(bedingung, text)


def finden_oeffnen(s):
    return oeffnen(s, None, FINDEN, lambda z: z["finden"]["offen"] and
                   fokus_name(z) == "txtFinden", "die Suchleiste ist offen, ihr Feld hat den Fokus")


def vorkommen(zeilen, wort):
    """Occurrences in the section's text: the lines after the title, before the link list."""
    text = []
    for z in zeilen[1:]:
        if re.match(r"Verweis \d+: ", z):
            break
        text.append(z)
    return sum(len(re.findall(wort, z, re.I)) for z in text)


@szenario("finden_esc")
def finden_esc(s):
    nummer = "04.01.01"
    frisch_zeigen(s, nummer)
    zeilen = s.abschnitt_text(nummer)
    erwartet = vorkommen(zeilen, "rechnung")
    pruefen(erwartet >= 3, f"zu wenige Vorkommen von „Rechnung“ in {nummer}: {erwartet}")
    finden_oeffnen(s)
    s.tippen("RECHNUNG")
    z = s.warten_zustand(lambda z: z["finden"]["text"] == "RECHNUNG", "der Suchtext ist getippt")
    gleich(z["finden"]["treffer"], erwartet, "Treffer von „RECHNUNG“ (ohne Groß/klein)")
    gleich(z["finden"]["meldung"], f"1 von {erwartet}", "Meldung der Suchleiste")
    s.bild_sichern(s.bildschirm(), "lesen-finden.png")
    # Enter, Umschalt+Enter and F3 step through the hits, round the end.
    s.taste("Return")
    s.warten_zustand(lambda z: z["finden"]["aktuell"] == 1, "Enter geht zum zweiten Treffer")
    s.taste("shift+Return")
    s.warten_zustand(lambda z: z["finden"]["aktuell"] == 0, "Umschalt+Enter geht zurück")
    s.taste("shift+F3")
    z = s.warten_zustand(lambda z: z["finden"]["aktuell"] == erwartet - 1,
                         "Umschalt+F3 vom ersten geht zum letzten Treffer")
    # The current hit is in the visible text, above the bar.
    leiste = s.widget("fraFinden")["global"]
    sicht = s.widget("txt")["global"]
    x, y = mitte(z["finden"]["aktuellGlobal"])
    pruefen(sicht[1] <= y < leiste[1], f"der Treffer {z['finden']['aktuellGlobal']} ist nicht "
                                       f"über der Suchleiste {leiste} zu sehen")
    s.taste("F3")
    s.warten_zustand(lambda z: z["finden"]["aktuell"] == 0, "F3 vom letzten geht zum ersten")

    # Umlauts and their transcriptions are one: "aendern" finds "ändern".
    umlaut = vorkommen(zeilen, "ändern") + vorkommen(zeilen, "aendern")
    pruefen(umlaut >= 1, f"„ändern“ kommt in {nummer} nicht vor")
    s.taste("ctrl+a")
    s.tippen("aendern")
    s.warten_zustand(lambda z: z["finden"]["text"] == "aendern" and
                     z["finden"]["treffer"] == umlaut, f"„aendern“ findet {umlaut} mal „ändern“")

    s.taste("ctrl+a")
    s.tippen("Quittungsbeleg")
    z = s.warten_zustand(lambda z: z["finden"]["text"] == "Quittungsbeleg", "getippt")
    gleich(z["finden"]["meldung"], "nicht gefunden", "Meldung ohne Treffer")
    gleich(z["modal"], "", "ein Dialog bei „nicht gefunden“")
    gleich(z["meldungen"], [], "Meldungen bei „nicht gefunden“")

    # Esc closes the bar, and only the bar; the next Esc closes the help as before.
    s.taste("Escape")
    z = s.warten_zustand(lambda z: not z["finden"]["offen"], "Esc schließt die Suchleiste")
    pruefen(z["hilfeSichtbar"] and z["rahmen"]["sichtbar"], "Esc hat mehr als die Leiste "
                                                           "geschlossen")
    gleich(z["abschnitt"], nummer, "Abschnitt nach Esc in der Suchleiste")
    s.bleibt(lambda: s.zustand()["hilfeSichtbar"], "die Hilfe bleibt offen", 0.5)
    s.taste("Escape")
    s.warten(lambda: not s.dienst_vorhanden(), "das zweite Esc schließt die Hilfe")


def menue_oeffnen(s, taste="ctrl+l"):
    return oeffnen(s, taste, LESEZEICHEN, lambda z: z["popup"] == "QMenu:mnuLesezeichen" and
                   z["popupEintraege"], "das Lesezeichenmenü ist offen")


def eintrag(z, text):
    for e in z["popupEintraege"]:
        if e["text"].replace("&", "") == text:
            return e
    raise AssertionError(f"kein Eintrag „{text}“ im Menü: "
                         f"{[e['text'] for e in z['popupEintraege']]}")


def menue_waehlen(s, text):
    z = menue_oeffnen(s, None)
    e = eintrag(z, text)
    pruefen(e["aktiv"], f"der Eintrag „{text}“ ist nicht wählbar")
    s.klick(*mitte(e["global"]))
    s.warten_zustand(lambda z: z["popup"] == "", "das Menü schließt")


def titel_von(z):
    return next(a["titel"] for a in z["abschnitte"] if a["markiert"])


@szenario("lesezeichen")
def lesezeichen(s):
    gemerkt = []
    for nummer in ("04.01.02", "02.01.01"):
        frisch_zeigen(s, nummer)
        titel = titel_von(s.zustand())
        menue_waehlen(s, "Lesezeichen hinzufügen")
        gemerkt.append({"nummer": nummer, "name": titel})
        z = s.warten_zustand(lambda z: len(z["lesezeichen"]) == len(gemerkt),
                             f"Lesezeichen für {nummer}")
        gleich(z["lesezeichen"], gemerkt, "gespeicherte Lesezeichen")
    # The shown section is saved already: adding is off.
    z = menue_oeffnen(s)
    pruefen(not eintrag(z, "Lesezeichen hinzufügen")["aktiv"],
            "ein Abschnitt kann zweimal gemerkt werden")
    gleich([e["text"] for e in z["popupEintraege"][1:3]], [g["name"] for g in gemerkt],
           "die Lesezeichen im Menü, in der gespeicherten Reihenfolge")
    s.bild_sichern(s.bildschirm(), "lesen-lesezeichen-menue.png")
    s.taste("Escape")
    s.warten_zustand(lambda z: z["popup"] == "", "Esc schließt das Menü")
    gleich(s.zustand()["hilfeSichtbar"], True, "Esc im Menü schließt die Hilfe")

    # A section that no longer exists, written into the file by hand before the restart.
    hilfe_beenden(s)
    pfad = os.path.join(s.config, "Tolvar-Hilfe.ini")
    text = einstellungen(s)
    pruefen("[Lesezeichen]" in text, f"keine Lesezeichen in der Datei: {text!r}")
    text = text.replace("Anzahl=2", "Anzahl=3") + "Nummer3=09.09.09\nName3=Weggefallen\n"
    with open(pfad, "w", encoding="utf-8") as f:
        f.write(text)
    s.anzeigen("01.01.01")
    z = menue_oeffnen(s)
    weg = eintrag(z, "Weggefallen")
    pruefen(not weg["aktiv"] and "09.09.09" in weg["tip"],
            f"der fehlende Abschnitt ist nicht grau mit Hinweis: {weg}")
    s.klick(*mitte(weg["global"]))
    s.bleibt(lambda: s.zustand()["abschnitt"] == "01.01.01",
             "ein grauer Eintrag öffnet etwas", 0.5)
    s.taste("Escape")
    s.warten_zustand(lambda z: z["popup"] == "", "Esc schließt das Menü")

    # After the restart the first bookmark opens its section and is recorded in the history.
    menue_waehlen(s, gemerkt[0]["name"])
    z = s.warten_abschnitt(gemerkt[0]["nummer"], "das Lesezeichen öffnet seinen Abschnitt")
    gleich(z["verlauf"], ["01.01.01", gemerkt[0]["nummer"]], "Verlauf nach dem Lesezeichen")

    # Managing: the first entry is deleted with Entf, OK with Enter.
    menue_waehlen(s, "Lesezeichen verwalten …")
    s.warten_zustand(lambda z: z["modal"] == "frmLesezeichen:frmLesezeichen",
                     "der Dialog „Lesezeichen verwalten“ ist offen")
    s.dialog_taste("Delete")
    s.taste("Return")
    z = s.warten_zustand(lambda z: z["modal"] == "", "der Dialog schließt mit Enter")
    gleich([l["nummer"] for l in z["lesezeichen"]], ["02.01.01", "09.09.09"],
           "Lesezeichen nach dem Löschen des ersten")
    hilfe_beenden(s)
    s.anzeigen("01.01.01")
    gleich([l["nummer"] for l in s.zustand()["lesezeichen"]], ["02.01.01", "09.09.09"],
           "Lesezeichen nach dem zweiten Neustart")
