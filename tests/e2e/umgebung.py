"""One isolated desktop for a user-level scenario of the help server.

A Sitzung starts its own X server (Xvfb, 1280x1000), its own window manager (openbox), its own
private session bus whose service folder is the build tree's, and temporary HOME,
XDG_CONFIG_HOME and database folders. The bus daemon's environment is the one the activated
help server gets, so the first call of belnahilfe-anzeigen starts the server on this display
with this database. Everything is driven from outside: the client command for host calls,
xdotool for the user's mouse and keys, xprop/xwininfo for window properties, screenshots of
the root window for pixels, and the server's status object for its state. Every wait is a
poll with a bounded timeout. beenden() ends all processes started here (and the servers the
bus started) and removes the temporary folders, also after a failure.
"""

import json
import os
import shutil
import signal
import subprocess
import tempfile
import time

BREITE = 1280
HOEHE = 1000
DIENST = "de.tolvar.BelnaHilfe"
FRAME_TITEL = "Programmbeschreibung zu Tolvar-Belna"
HILFE_PASSWORT_DATEI = "routinen/Global.h"


class Fehlschlag(AssertionError):
    """A check of a scenario did not hold."""


class Uebersprungen(Exception):
    """The scenario cannot run here (a tool or the test printer is missing)."""


def pruefen(bedingung, text):
    if not bedingung:
        raise Fehlschlag(text)


def gleich(ist, soll, text):
    if ist != soll:
        raise Fehlschlag(f"{text}: ist {ist!r}, erwartet {soll!r}")


def fehlende_werkzeuge():
    """The desktop programs without which no scenario can run; the suite is skipped when one
    of them is missing."""
    return [p for p in ("Xvfb", "openbox", "xdotool") if shutil.which(p) is None]


def fehlende_hilfsmittel():
    """Further programs every scenario uses; their absence is a failure, not a skip."""
    noetig = ["xprop", "xwininfo", "dbus-daemon", "dbus-send", "dbus-monitor", "import",
              "sqlcipher"]
    return [p for p in noetig if shutil.which(p) is None]


def mitte(r):
    """The centre of a rectangle [x, y, w, h], in whole pixels."""
    return (r[0] + r[2] // 2, r[1] + r[3] // 2)


def enthaelt(aussen, x, y):
    return aussen[0] <= x < aussen[0] + aussen[2] and aussen[1] <= y < aussen[1] + aussen[3]


class Sitzung:
    def __init__(self, build, bilder, testzugang=True, protokoll=None):
        self.build = os.path.abspath(build)
        self.bin = os.path.join(self.build, "bin")
        self.quelle = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
        self.bilder = bilder
        self.testzugang = testzugang
        self.protokoll = protokoll
        self.arbeit = tempfile.mkdtemp(prefix="tolvar-e2e-")
        self.home = os.path.join(self.arbeit, "home")
        self.config = os.path.join(self.home, ".config")
        self.db_ordner = os.path.join(self.arbeit, "db")
        self.laufzeit = os.path.join(self.arbeit, "laufzeit")
        for d in (self.home, self.config, self.db_ordner, self.laufzeit):
            os.makedirs(d, mode=0o700, exist_ok=True)
        self.prozesse = []  # (name, Popen), in start order
        self.server_pids = set()
        self.display = None
        self.bus_adresse = None
        self.bus = None
        self.arbeit_behalten = False

    def notiz(self, text):
        if self.protokoll:
            self.protokoll(text)

    # ---- start and end -------------------------------------------------------------------

    def starten(self, datenbank=None, einstellungen=None):
        """Starts X, the window manager and the bus; puts the database (default: the compiled
        sample) into the database folder and writes the settings file when given."""
        self.datenbank_setzen(datenbank or self.beispiel_datenbank())
        if einstellungen:
            with open(os.path.join(self.config, "Tolvar.ini"), "w", encoding="utf-8") as f:
                f.write(einstellungen)
        self._x_starten()
        self._wm_starten()
        self._bus_starten()

    def beenden(self):
        # The servers first: a server whose bus goes away may still be ending.
        for pid in self._eigene_server():
            self._pid_beenden(pid)
        for name, p in reversed(self.prozesse):
            if p.poll() is None:
                try:
                    os.killpg(p.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
                try:
                    p.wait(timeout=3)
                except subprocess.TimeoutExpired:
                    try:
                        os.killpg(p.pid, signal.SIGKILL)
                    except ProcessLookupError:
                        pass
                    p.wait(timeout=3)
        for pid in self._eigene_server():
            self._pid_beenden(pid)
        if not self.arbeit_behalten:
            shutil.rmtree(self.arbeit, ignore_errors=True)

    def _start(self, name, argv, **kw):
        log = open(os.path.join(self.arbeit, name + ".log"), "wb")
        p = subprocess.Popen(argv, stdout=kw.pop("stdout", log), stderr=log,
                             stdin=subprocess.DEVNULL, start_new_session=True, **kw)
        self.prozesse.append((name, p))
        return p

    def _x_starten(self):
        lesen, schreiben = os.pipe()
        self._start("xvfb", ["Xvfb", "-displayfd", str(schreiben), "-screen", "0",
                             f"{BREITE}x{HOEHE}x24", "-nolisten", "tcp", "-noreset"],
                    pass_fds=(schreiben,))
        text = _zeile_lesen(lesen, schreiben)
        pruefen(text.strip().isdigit(), "Xvfb nannte keine Displaynummer")
        self.display = ":" + text.strip().decode()

    def _wm_starten(self):
        self._start("openbox", ["openbox", "--sm-disable"], env=self.x_env())
        self.warten(lambda: "window id #" in self.xprop_root("_NET_SUPPORTING_WM_CHECK"),
                    "openbox verwaltet den Bildschirm", 15)

    def _bus_starten(self):
        konf = os.path.join(self.arbeit, "bus.conf")
        dienste = os.path.join(self.build, "dbus-1", "services")
        with open(konf, "w", encoding="utf-8") as f:
            f.write(f"""<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir={self.arbeit}</listen>
  <servicedir>{dienste}</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/>
  </policy>
</busconfig>
""")
        env = self.x_env()
        env.update({"QT_QPA_PLATFORM": "xcb", "TOLVAR_HILFE_VERZEICHNIS": self.db_ordner,
                    "LC_ALL": "C.UTF-8", "LANG": "C.UTF-8", "NO_AT_BRIDGE": "1",
                    "QT_ACCESSIBILITY": "0"})
        if self.testzugang:
            env["TOLVAR_HILFE_TESTZUGANG"] = "1"
        lesen, schreiben = os.pipe()
        self.bus = self._start("dbus", ["dbus-daemon", "--nofork", f"--config-file={konf}",
                                        f"--print-address={schreiben}"],
                               env=env, pass_fds=(schreiben,))
        text = _zeile_lesen(lesen, schreiben)
        pruefen(text.strip(), "dbus-daemon nannte keine Adresse")
        self.bus_adresse = text.strip().decode()

    def x_env(self):
        """The environment of everything started here: this display, the temporary home."""
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.home,
               "XDG_CONFIG_HOME": self.config, "XDG_RUNTIME_DIR": self.laufzeit,
               "LC_ALL": "C.UTF-8"}
        # The sanitizer build's settings reach the server too.
        for k in ("ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"):
            if k in os.environ:
                env[k] = os.environ[k]
        if self.display:
            env["DISPLAY"] = self.display
        if self.bus_adresse:
            env["DBUS_SESSION_BUS_ADDRESS"] = self.bus_adresse
        return env

    # ---- databases -----------------------------------------------------------------------

    def beispiel_datenbank(self):
        """The sample help, compiled from content/: the build's copy when it is newer than
        every source, otherwise compiled anew into this session's folder."""
        fertig = os.path.join(self.bin, "HilfeBelna.mdb")
        inhalt = os.path.join(self.quelle, "content")
        neueste = max(os.path.getmtime(os.path.join(w, d))
                      for w, _, ds in os.walk(inhalt) for d in ds)
        if os.path.exists(fertig) and os.path.getmtime(fertig) >= neueste:
            return fertig
        return self.erstellen(inhalt, "beispiel.mdb")

    def hilfedb(self, *argumente):
        """Runs hilfedb (offscreen); fails unless it ends with 0; returns its output."""
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=self.laufzeit)
        r = subprocess.run([os.path.join(self.bin, "hilfedb"), *argumente], env=env,
                           capture_output=True, text=True, timeout=60)
        pruefen(r.returncode == 0, f"hilfedb {' '.join(argumente)}: {r.stdout}{r.stderr}")
        return r.stdout

    def erstellen(self, quellen, name):
        ziel = os.path.join(self.arbeit, name)
        self.hilfedb("erstellen", quellen, ziel)
        return ziel

    def datenbank_setzen(self, pfad):
        """Puts a database in place at once (a rename), as a replaced file would appear."""
        neu = os.path.join(self.db_ordner, ".HilfeBelna.neu")
        shutil.copyfile(pfad, neu)
        os.replace(neu, os.path.join(self.db_ordner, "HilfeBelna.mdb"))

    def passwort(self):
        with open(os.path.join(self.quelle, HILFE_PASSWORT_DATEI), encoding="utf-8") as f:
            for zeile in f:
                if "HilfePasswort" in zeile and '"' in zeile:
                    return zeile.split('"')[1]
        raise Fehlschlag("HilfePasswort nicht gefunden")

    def sql(self, datei, befehle):
        """Runs SQL on a keyed help database with the sqlcipher command line."""
        r = subprocess.run(["sqlcipher", datei],
                           input=f"PRAGMA key = '{self.passwort()}';\n{befehle}\n",
                           capture_output=True, text=True, timeout=30)
        pruefen(r.returncode == 0 and "Error" not in r.stderr, f"sqlcipher: {r.stderr}")
        return r.stdout

    def abschnitt_text(self, nummer):
        """The lines of a section of this session's database as hilfedb renders them: the
        title first, then the paragraphs."""
        aus = self.hilfedb("text", os.path.join(self.db_ordner, "HilfeBelna.mdb"), nummer)
        return [z for z in aus.splitlines() if z.strip()]

    # ---- the client command --------------------------------------------------------------

    def client(self, *argumente, zeit=30):
        """Runs belnahilfe-anzeigen and returns (exit code, stdout, stderr)."""
        r = self.lauf(os.path.join(self.bin, "belnahilfe-anzeigen"), *argumente, zeit=zeit)
        if self.protokoll:
            self.protokoll(f"belnahilfe-anzeigen {' '.join(argumente)} -> {r.returncode}")
        return r.returncode, r.stdout, r.stderr

    def client_starten(self, *argumente):
        """Starts belnahilfe-anzeigen without waiting for it (a call that a box holds up)."""
        return subprocess.Popen([os.path.join(self.bin, "belnahilfe-anzeigen"), *argumente],
                                env=self.x_env(), stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, text=True)

    def anzeigen(self, nummer, halb=False, warten=True):
        """The host call HilfeAnzeigen; waits until the section is shown."""
        argumente = [nummer] + (["--halb"] if halb else [])
        rc, _, fehler = self.client(*argumente)
        gleich(rc, 0, f"belnahilfe-anzeigen {' '.join(argumente)} ({fehler.strip()})")
        self.server_pid_merken()
        if warten:
            self.warten(lambda: self.zustand()["abschnitt"] == nummer,
                        f"die Hilfe zeigt {nummer}")

    def _json(self, *argumente):
        rc, aus, fehler = self.client(*argumente)
        pruefen(rc == 0, f"belnahilfe-anzeigen {' '.join(argumente)}: {fehler.strip()}")
        try:
            return json.loads(aus)
        except ValueError as e:
            raise Fehlschlag(f"belnahilfe-anzeigen {' '.join(argumente)}: kein JSON: {aus!r}") \
                from e

    def zustand(self):
        return self._json("--zustand")

    def widget(self, name):
        return self._json("--widget", name)

    def verweise(self):
        return self._json("--verweise")

    def zeichen(self, position):
        r = self._json("--zeichen", str(position))
        pruefen(len(r) == 4, f"kein Zeichen an Position {position}")
        return r

    def foto(self, datei, breite=None, hoehe=None):
        argumente = ["--foto", datei] + ([str(breite), str(hoehe)] if breite else [])
        rc, _, fehler = self.client(*argumente)
        gleich(rc, 0, f"belnahilfe-anzeigen {' '.join(argumente)} ({fehler.strip()})")

    def button(self, zustand, index):
        return zustand["buttons"][str(index)]

    def button_klicken(self, index):
        b = self.button(self.zustand(), index)
        pruefen(b["sichtbar"] and len(b["global"]) == 4, f"Knopf {index} ist nicht zu sehen")
        self.klick(*mitte(b["global"]))

    # ---- the server process --------------------------------------------------------------

    def dbus_rufen(self, methode, *argumente):
        r = self.lauf("dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                      "/org/freedesktop/DBus", f"org.freedesktop.DBus.{methode}", *argumente)
        return r.returncode, r.stdout

    def monitor_starten(self, regel):
        """Records the messages of this bus that match regel (dbus-monitor); returns once the
        monitor is in place."""
        self.monitor_datei = os.path.join(self.arbeit, "monitor.log")
        self._start("monitor", ["dbus-monitor", "--session", regel],
                    stdout=open(self.monitor_datei, "wb"), env=self.x_env())
        # dbus-monitor loses its own name when it becomes a monitor.
        self.warten(lambda: "NameLost" in self._monitor_text(), "dbus-monitor ist bereit")

    def _monitor_text(self):
        with open(self.monitor_datei, encoding="utf-8", errors="replace") as f:
            return f.read()

    def monitor_methoden(self):
        """The method names of the calls the monitor saw, in the order the bus routed them."""
        return [z.split("member=")[1].split()[0] for z in self._monitor_text().splitlines()
                if z.startswith("method call") and "member=" in z]

    def dienst_vorhanden(self):
        rc, aus = self.dbus_rufen("NameHasOwner", f"string:{DIENST}")
        return rc == 0 and "boolean true" in aus

    def server_pid_merken(self):
        rc, aus = self.dbus_rufen("GetConnectionUnixProcessID", f"string:{DIENST}")
        if rc == 0 and "uint32" in aus:
            pid = int(aus.split("uint32")[1].split()[0])
            self.server_pids.add(pid)
            return pid
        return None

    def _eigene_server(self):
        """Servers this session's bus started, also those that never took the name: every
        process whose environment names this session's database folder."""
        pids = set(self.server_pids)
        marke = f"TOLVAR_HILFE_VERZEICHNIS={self.db_ordner}".encode()
        for eintrag in os.listdir("/proc"):
            if not eintrag.isdigit():
                continue
            try:
                with open(f"/proc/{eintrag}/environ", "rb") as f:
                    if marke in f.read().split(b"\0"):
                        pids.add(int(eintrag))
            except OSError:
                continue
        pids.discard(os.getpid())
        if self.bus:
            pids.discard(self.bus.pid)
        return {p for p in pids if lebt(p)}

    def _pid_beenden(self, pid):
        for sig in (signal.SIGTERM, signal.SIGKILL):
            try:
                os.kill(pid, sig)
            except ProcessLookupError:
                return
            ende = time.monotonic() + 3
            while time.monotonic() < ende and lebt(pid):
                time.sleep(0.05)
            if not lebt(pid):
                return

    # ---- waiting -------------------------------------------------------------------------

    def warten(self, bedingung, text, zeit=10.0):
        """Polls bedingung until it returns a true value (which is returned) or zeit seconds
        have passed; then fails with text and the last failure seen."""
        ende = time.monotonic() + zeit
        letzter = None
        while True:
            try:
                wert = bedingung()
                if wert:
                    return wert
                letzter = wert
            except Fehlschlag as e:
                letzter = e
            if time.monotonic() >= ende:
                raise Fehlschlag(f"nach {zeit:g} s nicht erreicht: {text} (zuletzt: {letzter})")
            time.sleep(0.05)

    def warten_zustand(self, bedingung, text, zeit=10.0):
        """Polls the status until bedingung(zustand) holds; returns that status."""
        def pruefung():
            z = self.zustand()
            return z if bedingung(z) else None
        return self.warten(pruefung, text, zeit)

    def ruhig(self, lesen, text):
        """Polls lesen() until two readings in a row agree and are not None; returns it."""
        letzte = [None]

        def stabil():
            time.sleep(0.1)
            jetzt = lesen()
            fertig = jetzt is not None and jetzt == letzte[0]
            letzte[0] = jetzt
            return jetzt if fertig else None
        return self.warten(stabil, text)

    def warten_abschnitt(self, nummer, text, zeit=10.0):
        """Waits until the help shows the section; returns the status."""
        return self.warten_zustand(lambda z: z["abschnitt"] == nummer, text, zeit)

    def rahmen_aktivieren(self):
        self.xdotool("windowactivate", "--sync", str(self.rahmen_fenster()))

    def bleibt(self, bedingung, text, zeit=1.0):
        """Checks that bedingung holds throughout zeit seconds (for "nothing happens")."""
        ende = time.monotonic() + zeit
        while True:
            pruefen(bedingung(), text)
            if time.monotonic() >= ende:
                return
            time.sleep(0.1)

    # ---- X: input ------------------------------------------------------------------------

    def lauf(self, *argv, zeit=10):
        """Runs a tool on this display and bus; returns the finished process."""
        return subprocess.run(argv, env=self.x_env(), capture_output=True, text=True,
                              timeout=zeit)

    def xdotool(self, *argumente):
        r = self.lauf("xdotool", *argumente, zeit=15)
        pruefen(r.returncode == 0, f"xdotool {' '.join(argumente)}: {r.stderr.strip()}")
        return r.stdout

    def klick(self, x, y, taste=1):
        if self.protokoll:
            self.protokoll(f"Klick {taste} bei {x},{y}")
        self.xdotool("mousemove", "--sync", str(int(x)), str(int(y)))
        self.xdotool("click", str(taste))

    def taste(self, *tasten):
        if self.protokoll:
            self.protokoll(f"Taste {' '.join(tasten)}")
        self.xdotool("key", "--delay", "40", *tasten)

    def tippen(self, text):
        self.xdotool("type", "--delay", "30", text)

    # ---- X: windows ----------------------------------------------------------------------

    def xprop_root(self, eigenschaft):
        return self.lauf("xprop", "-root", eigenschaft).stdout

    def xprop(self, fenster, eigenschaft):
        return self.lauf("xprop", "-id", str(fenster), eigenschaft).stdout

    def fenster_suchen(self, titel=FRAME_TITEL, sichtbar=True):
        """X ids of the client windows with exactly this title. xdotool matches the bytes of
        WM_NAME, which Qt writes in Latin-1 and xdotool may convert to UTF-8: a letter beyond
        ASCII matches one to as many bytes as it has in UTF-8."""
        muster = "".join(("\\" + c) if c in ".[]()*+?{}|^$\\" else c if c.isascii() else
                         f".{{1,{len(c.encode())}}}" for c in titel)
        argumente = ["search"] + (["--onlyvisible"] if sichtbar else []) + \
            ["--name", f"^{muster}$"]
        return [int(z) for z in self.lauf("xdotool", *argumente).stdout.split()]

    def dialog_fenster(self):
        """The server's visible dialog windows (message boxes, the print dialog), newest last."""
        pid = self.server_pid_merken()
        if not pid:
            return []
        r = self.lauf("xdotool", "search", "--onlyvisible", "--pid", str(pid))
        return sorted(int(i) for i in r.stdout.split()
                      if "_NET_WM_WINDOW_TYPE_DIALOG" in self.xprop(i, "_NET_WM_WINDOW_TYPE"))

    def dialog_taste(self, taste):
        """Presses a key in the newest dialog of the server, activated first (the window
        manager may still hand the focus on)."""
        fenster = self.warten(self.dialog_fenster, "ein Dialogfenster des Servers")
        self.xdotool("windowactivate", "--sync", str(fenster[-1]))
        self.taste(taste)

    def rahmen_fenster(self):
        """The frame window's X id (it may be unmapped, e.g. minimised)."""
        ids = self.warten(lambda: self.fenster_suchen(sichtbar=False),
                          "ein Fenster mit dem Titel des Rahmens")
        return ids[0]

    def wininfo(self, fenster):
        werte = {}
        for zeile in self.lauf("xwininfo", "-id", str(fenster)).stdout.splitlines():
            if ":" in zeile:
                k, _, v = zeile.strip().partition(":")
                werte[k.strip()] = v.strip()
        return werte

    def rahmen_extents(self, fenster):
        text = self.xprop(fenster, "_NET_FRAME_EXTENTS")
        if "=" not in text:
            return (0, 0, 0, 0)
        return tuple(int(v) for v in text.split("=")[1].split(","))

    def aussen_geometrie(self, fenster):
        """The window's outer rectangle on screen as the window manager draws it: the client
        area's absolute geometry widened by _NET_FRAME_EXTENTS (left, right, top, bottom)."""
        w = self.wininfo(fenster)
        x, y = int(w["Absolute upper-left X"]), int(w["Absolute upper-left Y"])
        b, h = int(w["Width"]), int(w["Height"])
        li, re, ob, un = self.rahmen_extents(fenster)
        return [x - li, y - ob, b + li + re, h + ob + un]

    def netz_zustand(self, fenster):
        return self.xprop(fenster, "_NET_WM_STATE")

    def aktives_fenster(self):
        text = self.xprop_root("_NET_ACTIVE_WINDOW")
        if "#" not in text:
            return None
        try:
            return int(text.split("#")[1].split(",")[0].strip(), 16)
        except ValueError:
            return None

    def override_redirect_fenster(self):
        """Mapped override-redirect windows (menus, popups, tool tips) on the root."""
        ids = []
        for zeile in self.lauf("xwininfo", "-root", "-children").stdout.splitlines():
            zeile = zeile.strip()
            if zeile.startswith("0x"):
                ids.append(zeile.split()[0])
        gefunden = []
        for i in ids:
            w = self.wininfo(i)
            if w.get("Override Redirect State") == "yes" and w.get("Map State") == "IsViewable":
                gefunden.append(i)
        return gefunden

    # ---- pixels --------------------------------------------------------------------------

    def bildschirm(self):
        """A screenshot of the whole screen as a PIL image."""
        from PIL import Image
        datei = os.path.join(self.arbeit, "bildschirm.png")
        r = self.lauf("import", "-window", "root", datei, zeit=20)
        pruefen(r.returncode == 0, f"import: {r.stderr.strip()}")
        with Image.open(datei) as b:
            return b.convert("RGB")

    def bild_sichern(self, bild, name):
        """Keeps a picture for a human to judge, in the pictures folder."""
        os.makedirs(self.bilder, exist_ok=True)
        pfad = os.path.join(self.bilder, name)
        bild.save(pfad)
        if self.protokoll:
            self.protokoll(f"Bild: {pfad}")
        return pfad


def _zeile_lesen(lesen, schreiben):
    """The first line a started program writes to a pipe (within 15 s); closes both ends."""
    os.close(schreiben)
    text = b""
    ende = time.monotonic() + 15
    while not text.endswith(b"\n") and time.monotonic() < ende:
        stueck = os.read(lesen, 256)
        if not stueck:
            break
        text += stueck
    os.close(lesen)
    return text


def lebt(pid):
    try:
        with open(f"/proc/{pid}/stat", encoding="ascii", errors="replace") as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False
