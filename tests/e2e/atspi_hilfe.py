#!/usr/bin/env python3
"""Reads the help server's windows through the accessibility bus (AT-SPI), as a screen reader
does, for the scenario "barrierefrei". Runs in the session's environment (its display and
session bus), started by the scenario:

    atspi_hilfe.py baum                      the tree of the help's frame window as JSON lines
    atspi_hilfe.py aktion ROLLE NAME [AKTION] runs an action (default: the first) of the first
                                             element with this role and name

Prints one JSON object per line; exit code 1 when the application or the element is missing.
"""

import json
import sys

import pyatspi

PROGRAMM = "BelnaHilfe"
RAHMEN = "Programmbeschreibung zu Tolvar-Belna"


def anwendung():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        a = desktop.getChildAtIndex(i)
        if a is not None and a.name == PROGRAMM:
            return a
    return None


def rahmen(app):
    for i in range(app.childCount):
        f = app.getChildAtIndex(i)
        if f is not None and f.name.startswith(RAHMEN):
            return f
    return None


def eintrag(knoten, pfad):
    try:
        aktionen = knoten.queryAction()
        namen = [aktionen.getName(i) for i in range(aktionen.nActions)]
    except NotImplementedError:
        namen = []
    zustaende = knoten.getState()
    try:
        rechteck = knoten.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        rechteck = [rechteck.x, rechteck.y, rechteck.width, rechteck.height]
    except NotImplementedError:
        rechteck = []
    text = None
    try:
        t = knoten.queryText()
        text = t.getText(0, min(t.characterCount, 200))
    except NotImplementedError:
        pass
    return {"pfad": pfad, "rolle": knoten.getRoleName(), "name": knoten.name,
            "beschreibung": knoten.description, "aktionen": namen,
            "fokussierbar": zustaende.contains(pyatspi.STATE_FOCUSABLE),
            "sichtbar": zustaende.contains(pyatspi.STATE_SHOWING),
            "markiert": zustaende.contains(pyatspi.STATE_CHECKED),
            "text": text, "rechteck": rechteck}


def durchlaufen(knoten, pfad="0", tiefe=0):
    yield knoten, pfad
    if tiefe > 30:
        return
    for i in range(knoten.childCount):
        kind = knoten.getChildAtIndex(i)
        if kind is not None:
            yield from durchlaufen(kind, f"{pfad}.{i}", tiefe + 1)


def main():
    app = anwendung()
    if app is None:
        print(json.dumps({"fehler": f"keine Anwendung {PROGRAMM} am Barrierefreiheitsbus"}))
        return 1
    f = rahmen(app)
    if f is None:
        print(json.dumps({"fehler": "kein Rahmenfenster",
                          "fenster": [app.getChildAtIndex(i).name
                                      for i in range(app.childCount)]}))
        return 1
    if sys.argv[1] == "baum":
        for knoten, pfad in durchlaufen(f):
            print(json.dumps(eintrag(knoten, pfad), ensure_ascii=False))
        return 0
    if sys.argv[1] == "aktion":
        rolle, name = sys.argv[2], sys.argv[3]
        gewuenscht = sys.argv[4] if len(sys.argv) > 4 else None
        for knoten, pfad in durchlaufen(f):
            if knoten.getRoleName() != rolle or knoten.name != name:
                continue
            aktionen = knoten.queryAction()
            for i in range(aktionen.nActions):
                if gewuenscht is None or aktionen.getName(i) == gewuenscht:
                    ok = aktionen.doAction(i)
                    print(json.dumps({"pfad": pfad, "aktion": aktionen.getName(i), "ok": ok}))
                    return 0 if ok else 1
            print(json.dumps({"fehler": f"{rolle} „{name}“ hat keine Aktion {gewuenscht}"}))
            return 1
        print(json.dumps({"fehler": f"kein Element {rolle} „{name}“"}, ensure_ascii=False))
        return 1
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main())
