#!/usr/bin/env python3
"""Runs the user-level scenarios of the help server, each on a desktop of its own.

    e2e.py --build BUILD [--bilder ORDNER] [--behalten] [--liste] [SZENARIO ...]

Without names every scenario runs. Each prints PASS, FAIL (with the reason) or SKIP; the last
line says "N passed, N failed" (", N skipped" when some were skipped). Exit code 0 when none
failed, 1 when one failed, 77 when every scenario asked for was skipped (the desktop tools are
missing, or the test printer for the print scenario).
"""

import argparse
import os
import signal
import sys
import time
import traceback

# The scenario modules are imported from the source tree, which stays free of byte code.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import umgebung  # noqa: E402
from szenario import SZENARIEN  # noqa: E402
import szenarien_bedienung  # noqa: E402,F401
import szenarien_bild  # noqa: E402,F401
import szenarien_daten  # noqa: E402,F401
import szenarien_darstellung  # noqa: E402,F401
import szenarien_fenster  # noqa: E402,F401
import szenarien_import  # noqa: E402,F401
import szenarien_lesen  # noqa: E402,F401
import szenarien_verweise  # noqa: E402,F401
import szenarien_zugang  # noqa: E402,F401
import szenarien_volltext  # noqa: E402,F401
import szenarien_server  # noqa: E402,F401
import szenarien_vorschau  # noqa: E402,F401

UEBERSPRUNGEN = 77
# A scenario that runs longer is stopped and cleaned up before CTest's TIMEOUT (180 s) would
# kill the runner and leave its X server and bus behind.
HOECHSTDAUER = 150


class Abbruch(Exception):
    pass


ENDE_VERLANGT = []


def abbrechen(signum, _rahmen):
    if signum != signal.SIGALRM:
        ENDE_VERLANGT.append(signum)
    raise Abbruch(f"Signal {signal.Signals(signum).name}: Szenario abgebrochen")


def ausfuehren(sz, args, bilder):
    def protokoll(text):
        if args.ausfuehrlich:
            print(f"  [{sz.name}] {text}", flush=True)

    s = umgebung.Sitzung(args.build, bilder, testzugang=sz.testzugang, protokoll=protokoll)
    alt = os.path.join(bilder, f"fehler-{sz.name}.png")
    if os.path.exists(alt):
        os.remove(alt)
    signal.alarm(HOECHSTDAUER)
    try:
        sz.vorbereiten(s)
        sz.funktion(s)
        return "PASS", ""
    except umgebung.Uebersprungen as e:
        return "SKIP", str(e)
    except Exception as e:  # every other exception is a failure of the scenario
        text = str(e) if isinstance(e, umgebung.Fehlschlag) else traceback.format_exc()
        try:
            if s.display:
                s.bild_sichern(s.bildschirm(), f"fehler-{sz.name}.png")
        except Exception:  # the picture is a help for the reader only
            pass
        log = os.path.join(s.arbeit, "dbus.log")
        if os.path.exists(log):
            with open(log, encoding="utf-8", errors="replace") as f:
                ende = f.read()[-3000:]
            if ende.strip():
                text += "\n  --- Ausgabe des Servers ---\n" + ende
        return "FAIL", text
    finally:
        signal.alarm(0)
        if args.behalten:
            print(f"  [{sz.name}] Arbeitsordner bleibt: {s.arbeit}")
            s.arbeit_behalten = True
        s.beenden()


def main():
    p = argparse.ArgumentParser(description=__doc__,
                                formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--build", required=True, help="the build folder (bin/, dbus-1/services/)")
    p.add_argument("--bilder", help="folder for screenshots (default: TOLVAR_E2E_BILDER or "
                                    "BUILD/e2e-bilder)")
    p.add_argument("--behalten", action="store_true",
                   help="keep each scenario's temporary folder (logs, databases)")
    p.add_argument("--ausfuehrlich", "-v", action="store_true", help="print every step")
    p.add_argument("--liste", action="store_true", help="list the scenarios and end")
    p.add_argument("namen", nargs="*")
    args = p.parse_args()

    if args.liste:
        for sz in SZENARIEN.values():
            print(f"{sz.name}{'  (Drucker)' if sz.drucker else ''}")
        return 0
    unbekannt = [n for n in args.namen if n not in SZENARIEN]
    if unbekannt:
        print(f"unbekannte Szenarien: {', '.join(unbekannt)}", file=sys.stderr)
        return 2
    auswahl = [SZENARIEN[n] for n in args.namen] if args.namen else list(SZENARIEN.values())
    bilder = args.bilder or os.environ.get("TOLVAR_E2E_BILDER") or \
        os.path.join(os.path.abspath(args.build), "e2e-bilder")

    fehlend = umgebung.fehlende_werkzeuge()
    if fehlend:
        print(f"SKIP: es fehlen {', '.join(fehlend)} (scripts/setup.sh installiert sie)")
        print(f"0 passed, 0 failed, {len(auswahl)} skipped")
        return UEBERSPRUNGEN
    fehlend = umgebung.fehlende_hilfsmittel()
    try:
        import PIL  # noqa: F401
    except ImportError:
        fehlend.append("PIL (python3-pil)")
    if fehlend:
        print(f"FAIL: es fehlen {', '.join(fehlend)} (scripts/setup.sh installiert sie)")
        print(f"0 passed, {len(auswahl)} failed")
        return 1

    for sig in (signal.SIGALRM, signal.SIGTERM, signal.SIGINT):
        signal.signal(sig, abbrechen)
    zahl = {"PASS": 0, "FAIL": 0, "SKIP": 0}
    for sz in auswahl:
        beginn = time.monotonic()
        ergebnis, text = ausfuehren(sz, args, bilder)
        zahl[ergebnis] += 1
        dauer = time.monotonic() - beginn
        print(f"{ergebnis}: {sz.name} ({dauer:.1f} s){': ' + text if text else ''}", flush=True)
        if ENDE_VERLANGT:
            break
    zeile = f"{zahl['PASS']} passed, {zahl['FAIL']} failed"
    if zahl["SKIP"]:
        zeile += f", {zahl['SKIP']} skipped"
    print(zeile)
    if zahl["FAIL"]:
        return 1
    if zahl["SKIP"] == len(auswahl):
        return UEBERSPRUNGEN
    return 0


if __name__ == "__main__":
    sys.exit(main())
