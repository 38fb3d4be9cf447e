"""What the screen shows: readable tab rows and list items whose wrapped lines line up."""

from collections import Counter

from szenario import szenario
from umgebung import Fehlschlag, gleich, pruefen


def leuchtdichte(rgb):
    """Relative luminance of an sRGB colour (WCAG 2)."""
    def kanal(c):
        c /= 255.0
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (kanal(c) for c in rgb[:3])
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def kontrast(a, b):
    la, lb = sorted((leuchtdichte(a), leuchtdichte(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def karte_messen(bild, rechteck):
    """Background colour of a tab (its most frequent colour inside the border) and the
    contrast of its caption against it: the tenth-strongest pixel, so a stray pixel of the
    border does not count as text."""
    x, y, b, h = rechteck
    innen = bild.crop((x + 3, y + 3, x + b - 3, y + h - 3))
    pixel = list(innen.getdata())
    pruefen(pixel, f"leere Registerkarte {rechteck}")
    hintergrund = Counter(pixel).most_common(1)[0][0]
    staerken = sorted((kontrast(p, hintergrund) for p in pixel), reverse=True)
    return hintergrund, staerken[min(9, len(staerken) - 1)]


def reihen_bild(bild, reihen):
    """The tab rows cut from a screenshot and stacked, for a human to look at."""
    from PIL import Image
    streifen = []
    for k in reihen:
        r = k["rechtecke"]
        links, oben = min(q[0] for q in r) - 4, min(q[1] for q in r) - 4
        rechts, unten = max(q[0] + q[2] for q in r) + 4, max(q[1] + q[3] for q in r) + 4
        streifen.append(bild.crop((links, oben, rechts, unten)))
    ergebnis = Image.new("RGB", (max(b.width for b in streifen),
                                 sum(b.height + 6 for b in streifen)), "white")
    y = 0
    for b in streifen:
        ergebnis.paste(b, (0, y))
        y += b.height + 6
    return ergebnis


def abstand(a, b):
    return sum((p - q) ** 2 for p, q in zip(a, b)) ** 0.5


@szenario("registerkarten_kontrast")
def registerkarten_kontrast(s):
    s.anzeigen("03.02.01")
    z = s.zustand()
    bild = s.bildschirm()
    s.bild_sichern(reihen_bild(bild, [z["tabMain"], z["tabSub"]]), "10-registerkarten.png")
    for name, k in (("tabMain", z["tabMain"]), ("tabSub", z["tabSub"])):
        pruefen(k["anzahl"] >= 2, f"{name} hat nur {k['anzahl']} Karten")
        gewaehlt = k["aktuell"]
        andere = 0 if gewaehlt != 0 else 1
        hg_gewaehlt, kontrast_gewaehlt = karte_messen(bild, k["rechtecke"][gewaehlt])
        hg_andere, kontrast_andere = karte_messen(bild, k["rechtecke"][andere])
        pruefen(kontrast_gewaehlt >= 4.5,
                f"{name}: Schrift der gewählten Karte „{k['captions'][gewaehlt]}“ hat den "
                f"Kontrast {kontrast_gewaehlt:.2f} zu ihrem Hintergrund {hg_gewaehlt}")
        pruefen(kontrast_andere >= 4.5,
                f"{name}: Schrift der Karte „{k['captions'][andere]}“ hat den Kontrast "
                f"{kontrast_andere:.2f} zu ihrem Hintergrund {hg_andere}")
        pruefen(abstand(hg_gewaehlt, hg_andere) >= 30,
                f"{name}: die gewählte Karte ({hg_gewaehlt}) hebt sich kaum von einer anderen "
                f"({hg_andere}) ab")


# Bulleted items that wrap: (help number, half-screen, text of a link inside the item).
LISTENPUNKTE = [
    ("03.02.06", False, "Bestellungen beim Lieferanten"),
    ("03.02.06", False, "Abschlags- und Schlussrechnungen"),
    ("01.01.04", True, "Bankabgleich"),
]


def punkt_anfang(s, nummer, verweis):
    """Text position of the first character after the bullet's tab in the item that holds the
    link: the link's position less its offset in the item's line as hilfedb renders it (the
    links of the table end their items, so the last occurrence of the text is the link)."""
    zeile = next((z for z in s.abschnitt_text(nummer) if z.startswith("•\t") and
                  verweis["text"] in z), None)
    pruefen(zeile, f"{nummer}: kein Aufzählungspunkt mit „{verweis['text']}“")
    return verweis["anfang"] - zeile.rindex(verweis["text"]) + 2, len(zeile) - 2


def zweite_zeile(s, anfang, laenge):
    """The first text position of the item's second line (binary search on the character
    boxes' tops)."""
    oben = s.zeichen(anfang)[1]
    lo, hi = anfang, anfang + laenge - 1
    pruefen(s.zeichen(hi)[1] > oben, "der Aufzählungspunkt bricht nicht um")
    while lo + 1 < hi:
        m = (lo + hi) // 2
        if s.zeichen(m)[1] > oben:
            hi = m
        else:
            lo = m
    return hi


@szenario("listeneinzug")
def listeneinzug(s):
    gesichert = False
    for nummer, halb, linktext in LISTENPUNKTE:
        s.anzeigen(nummer, halb=halb)
        v = next((v for v in s.verweise() if v["text"] == linktext), None)
        pruefen(v, f"{nummer}: kein Verweis „{linktext}“")
        anfang, laenge = punkt_anfang(s, nummer, v)
        if not gesichert:
            r = s.zustand()["rahmen"]["geometrie"]
            s.bild_sichern(s.bildschirm().crop((r[0], r[1], r[0] + r[2], r[1] + r[3])),
                           "11-aufzaehlung.png")
            gesichert = True
        erste = s.zeichen(anfang)
        zweite = s.zeichen(zweite_zeile(s, anfang, laenge))
        was = f"{nummer} ({'halb' if halb else 'voll'}), Punkt mit „{linktext}“"
        if abs(erste[0] - zweite[0]) > 2:
            raise Fehlschlag(f"{was}: der Text nach dem Tabulator beginnt bei x={erste[0]}, "
                             f"die zweite Zeile bei x={zweite[0]}")
        gleich(erste[1] < zweite[1], True, f"{was}: zweite Zeile unter der ersten")
