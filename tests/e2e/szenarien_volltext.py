"""The full-text search as the user meets it: the pane's Volltext option, a typed query, Enter,
a search without hits that empties the list and its count, a double click on a hit, and the hit
words marked in the shown section."""

from szenario import szenario
from umgebung import gleich, mitte, pruefen
from szenarien_bedienung import fokus_name, stichworte_oeffnen

# The marking colour of hits in the text (frmHilfe_Treffer.cpp).
TREFFER_FARBE = (0xFF, 0xD5, 0x4F)


def nahe(a, b, toleranz=24):
    return all(abs(p - q) <= toleranz for p, q in zip(a, b))


def markierte_pixel(bild, sicht):
    """Pixels of the marking colour in a rectangle of the screen (every second column)."""
    px = bild.load()
    return sum(1 for y in range(sicht[1], sicht[1] + sicht[3])
               for x in range(sicht[0], sicht[0] + sicht[2], 2)
               if nahe(px[x, y], TREFFER_FARBE))


def feld_fokussieren(s, feld, versatz):
    """Clicks into the search field unless it has the focus; the offset keeps the pointer off
    the place of an earlier click (a move to where it stands does not end)."""
    if fokus_name(s.zustand()) != "txtSuchen":
        x, y = mitte(feld["global"])
        s.klick(x + versatz, y)
    s.warten_zustand(lambda z: fokus_name(z) == "txtSuchen", "das Suchfeld hat den Fokus")


@szenario("volltext_suchen_und_markieren")
def volltext_suchen_und_markieren(s):
    s.anzeigen("01.01.01")
    feld = stichworte_oeffnen(s)

    # Alt+V chooses the full-text search; the focus stays in the field.
    s.taste("alt+v")
    s.warten(lambda: s.widget("scrVolltext")["sichtbar"], "das Trefferraster ist zu sehen")
    pruefen(not s.widget("lstWoerter")["sichtbar"], "die Stichwortliste ist noch zu sehen")
    gleich(s.widget("cmdSuchen")["text"], "Abschnitte suchen", "Beschriftung des Suchknopfs")
    s.warten_zustand(lambda z: fokus_name(z) == "txtSuchen", "das Suchfeld behält den Fokus")

    s.tippen("Skonto")
    s.taste("Return")
    s.warten(lambda: s.widget("lblVolltext")["text"].startswith("gefundene Abschnitte: "),
             "die Treffer sind gezählt")
    anzahl = s.widget("lblVolltext")["text"].split(": ", 1)[1]
    s.notiz(f"Treffer: {anzahl}")
    pruefen(int(anzahl.split()[-1]) >= 5, f"zu wenige Treffer: {anzahl}")
    gleich(s.zustand()["meldungen"], [], "Meldungen nach der Suche")
    s.bild_sichern(s.bildschirm(), "30-volltext-liste.png")

    # A search without hits says so in a box and leaves neither hits nor their count.
    feld_fokussieren(s, feld, 8)
    s.taste("ctrl+a")
    s.tippen("Xylophonquartett")
    s.taste("Return")
    s.warten_zustand(lambda z: z["modal"].startswith("QMessageBox"), "die Meldung „keine Daten“")
    s.dialog_taste("Return")
    s.warten_zustand(lambda z: not z["modal"], "die Meldung schließt")
    gleich(s.widget("lblVolltext")["text"], "gefundene Abschnitte:", "Zähler ohne Treffer")
    feld_fokussieren(s, feld, -8)
    s.taste("ctrl+a")
    s.tippen("Skonto")
    s.taste("Return")
    s.warten(lambda: s.widget("lblVolltext")["text"] == f"gefundene Abschnitte: {anzahl}",
             "die Treffer sind wieder gezählt")

    # A double click on the first row (the best hit) shows it.
    raster = s.widget("scrVolltext")["global"]
    x, y, b, h = raster
    s.xdotool("mousemove", "--sync", str(x + b // 4), str(y + min(28, h // 2)))
    s.xdotool("click", "--repeat", "2", "--delay", "80", "1")
    z = s.warten_abschnitt("05.01.02", "der beste Treffer ist zu sehen", 15)
    gleich(z["verlauf"][-1], "05.01.02", "letzter Eintrag im Verlauf")

    # The hit words are marked in the visible text.
    bild = s.bildschirm()
    s.bild_sichern(bild, "31-volltext-markiert.png")
    sicht = s.widget("picContainer")["global"]
    markiert = markierte_pixel(bild, sicht)
    s.notiz(f"markierte Pixel: {markiert}")
    pruefen(markiert > 200, f"kaum markierte Pixel im Text: {markiert}")

    # The next section shown has no marks.
    s.taste("alt+Next")
    s.warten_zustand(lambda z: z["abschnitt"] != "05.01.02", "der nächste Abschnitt ist zu sehen")
    gleich(markierte_pixel(s.bildschirm(), sicht), 0, "markierte Pixel im nächsten Abschnitt")


@szenario("volltext_frage_und_tippfehler")
def volltext_frage_und_tippfehler(s):
    """A question typed with the help of the completion list finds its answer; a misspelt
    word is searched as the word it stands for, said so above the hits, and the link puts the
    corrected text into the field."""
    s.anzeigen("01.01.01")
    feld = stichworte_oeffnen(s)
    s.taste("alt+v")
    s.warten(lambda: s.widget("scrVolltext")["sichtbar"], "das Trefferraster ist zu sehen")

    # The list under the field offers the index's words for the word being typed; Down and
    # Enter take one and search.
    s.tippen("wie storniere ich eine Rech")
    liste = s.warten(lambda: (lambda w: w if w["sichtbar"] else None)(s.widget("lstErgaenzungen")),
                     "die Vorschläge sind zu sehen")
    zeilen = liste["text"].split("\n")
    pruefen("wie storniere ich eine Rechnung" in zeilen, f"Vorschläge: {zeilen}")
    pruefen(all(z.lower().startswith("wie storniere ich eine rech") for z in zeilen),
            f"Vorschläge: {zeilen}")
    s.bild_sichern(s.bildschirm(), "32-volltext-vorschlaege.png")
    # Esc closes the list, not the pane; typing on opens it again.
    s.taste("Escape")
    s.warten(lambda: not s.widget("lstErgaenzungen")["sichtbar"], "die Vorschläge schließen")
    pruefen(s.zustand()["stichwort"]["offen"], "Esc hat den Suchbereich geschlossen")
    s.tippen("n")
    liste = s.warten(lambda: (lambda w: w if w["sichtbar"] else None)(s.widget("lstErgaenzungen")),
                     "die Vorschläge sind wieder zu sehen")
    zeilen = liste["text"].split("\n")
    for _ in range(zeilen.index("wie storniere ich eine Rechnung") + 1):
        s.taste("Down")
    s.warten(lambda: "> wie storniere ich eine Rechnung" in s.widget("lstErgaenzungen")["text"],
             "der Vorschlag ist gewählt")
    s.taste("Return")
    s.warten(lambda: s.widget("lblVolltext")["text"].startswith("gefundene Abschnitte: "),
             "die Frage ist gesucht")
    gleich(s.widget("txtSuchen")["text"], "wie storniere ich eine Rechnung", "Suchtext")
    pruefen(not s.widget("lstErgaenzungen")["sichtbar"], "die Vorschläge sind noch offen")
    pruefen(not s.widget("lblKorrektur")["sichtbar"], "eine Korrektur ohne Tippfehler")
    # The best hit is the answer; Enter in the grid opens it.
    s.warten_zustand(lambda z: fokus_name(z) != "txtSuchen", "das Raster hat den Fokus")
    s.taste("Return")
    s.warten_abschnitt("04.03.02", "„Rechnung stornieren“ ist zu sehen", 15)

    # A typo: nothing has the word as typed, so the corrected one is searched at once.
    feld_fokussieren(s, feld, 8)
    s.taste("ctrl+a")
    s.tippen("Bankverbindng")
    s.taste("Return")
    s.warten(lambda: s.widget("lblKorrektur")["sichtbar"], "die Korrektur ist zu sehen")
    gleich(s.widget("lblKorrektur")["text"],
           'Meinten Sie: <a href="korrektur">Bankverbindung</a><br>„Bankverbindng“ findet '
           'nichts; gesucht wurde „Bankverbindung“.', "Korrektur über den Treffern")
    gleich(s.zustand()["meldungen"], [], "Meldungen nach der Suche")
    s.bild_sichern(s.bildschirm(), "33-volltext-meinten-sie.png")

    # The link puts the corrected text into the field and searches it: no correction now.
    x, y, _, _ = s.widget("lblKorrektur")["global"]
    s.klick(x + 95, y + 6)
    s.warten(lambda: s.widget("txtSuchen")["text"] == "Bankverbindung",
             "der korrigierte Text steht im Feld")
    s.warten(lambda: not s.widget("lblKorrektur")["sichtbar"]
             and s.widget("lblVolltext")["text"].startswith("gefundene Abschnitte: "),
             "die Treffer ohne Korrektur")
    s.warten_zustand(lambda z: fokus_name(z) != "txtSuchen", "das Raster hat den Fokus")
    s.taste("Return")
    s.warten_abschnitt("01.04.03", "„Bankverbindung“ ist zu sehen", 15)
