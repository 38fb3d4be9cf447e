"""The help on the web, read in a real browser: hilfedb web writes the site of the sample help
and of an imported Jet database; headless Chromium opens a section by its address, follows a text
link and a picture link, closes the picture with Esc, jumps by help number through hilfe.html and
uses the keyword page; searches for a word in another inflection and a typo, and compares the
browser's hits for every search of the query table with the help's. A crawler checks every written
page for broken links, missing pictures, external requests and HTML errors. Screenshots of a
section on a wide and a narrow window and of the search's hits go to <build>/web-bilder/ to be
looked at."""

import argparse
import functools
import html.parser
import http.server
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import traceback
import urllib.parse

FEHLT = 77


class Fehlschlag(AssertionError):
    pass


def pruefen(bedingung, text):
    if not bedingung:
        raise Fehlschlag(text)


def hilfedb(build, *argumente):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    r = subprocess.run([os.path.join(build, "bin", "hilfedb"), *argumente], env=env,
                       capture_output=True, text=True, timeout=120)
    pruefen(r.returncode == 0, f"hilfedb {' '.join(argumente)}: {r.stdout}{r.stderr}")
    return r.stdout


class Verweise(html.parser.HTMLParser):
    """The addresses a page refers to: links, pictures, scripts, style sheets."""

    def __init__(self):
        super().__init__()
        self.ziele = []

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        for name in ("href", "src"):
            if a.get(name) is not None:
                self.ziele.append((tag, a[name]))


def crawlen(ordner):
    """Every page's links lead to a written file (the fragment aside), nothing is fetched from
    elsewhere, and every page parses as HTML without an error."""
    import html5lib
    seiten = 0
    for wurzel, _, dateien in os.walk(ordner):
        for d in dateien:
            if not d.endswith(".html"):
                continue
            pfad = os.path.join(wurzel, d)
            with open(pfad, encoding="utf-8") as f:
                text = f.read()
            seiten += 1
            parser = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False)
            try:
                parser.parse(text)
            except Exception as e:  # html5lib raises ParseError with the position
                raise Fehlschlag(f"{os.path.relpath(pfad, ordner)}: kein gültiges HTML: {e}")
            v = Verweise()
            v.feed(text)
            for tag, ziel in v.ziele:
                teile = urllib.parse.urlsplit(ziel)
                pruefen(not teile.scheme and not teile.netloc,
                        f"{os.path.relpath(pfad, ordner)}: Anfrage nach außen: {ziel}")
                if not teile.path:
                    continue
                datei = os.path.normpath(os.path.join(wurzel, urllib.parse.unquote(teile.path)))
                pruefen(datei.startswith(ordner) and os.path.isfile(datei),
                        f"{os.path.relpath(pfad, ordner)}: <{tag}> führt ins Leere: {ziel}")
    return seiten


class Seiten:
    """A folder served over HTTP on a free local port, as a web server would serve it."""

    def __init__(self, ordner):
        class Stumm(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *argumente):
                pass
        handler = functools.partial(Stumm, directory=ordner)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.basis = f"http://127.0.0.1:{self.server.server_address[1]}/"

    def ende(self):
        self.server.shutdown()


def browser():
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    o = webdriver.ChromeOptions()
    for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
              "--lang=de-DE", "--window-size=1280,900", "--force-device-scale-factor=1"):
        o.add_argument(a)
    o.binary_location = shutil.which("chromium")
    return webdriver.Chrome(service=Service(shutil.which("chromedriver")), options=o)


def lesen_im_browser(b, basis, bilder):
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait

    def warten(bedingung, text):
        try:
            return WebDriverWait(b, 10).until(lambda _: bedingung())
        except Exception as e:
            raise Fehlschlag(f"nicht erreicht: {text}") from e

    def h1():
        return b.find_element(By.TAG_NAME, "h1").text

    # A section by its address, with the navigation of the help window.
    b.get(basis + "04/05/03.html")
    pruefen(h1() == "E-Rechnung ausgeben", f"Titel von 04/05/03.html: {h1()!r}")
    aktuell = [e.text for e in b.find_elements(By.CSS_SELECTOR, "nav [aria-current]")]
    pruefen(aktuell == ["Rechnungen", "Rechnungen drucken und versenden", "E-Rechnung ausgeben"],
            f"markierte Karten und Titel: {aktuell}")
    b.save_screenshot(os.path.join(bilder, "web-breit.png"))
    # A phone opens the page at its own width.
    b.set_window_size(390, 844)
    b.refresh()
    b.save_screenshot(os.path.join(bilder, "web-schmal.png"))
    breite = b.execute_script("return document.documentElement.scrollWidth")
    pruefen(breite <= 390, f"auf dem schmalen Fenster ist die Seite {breite} Pixel breit")
    b.set_window_size(1280, 900)

    # A text link: its target's page, titled as the link's target section.
    link = b.find_element(By.CSS_SELECTOR, ".text a.verweis")
    ziel = link.get_attribute("href")
    link.click()
    warten(lambda: b.current_url == ziel, f"der Textverweis führt zu {ziel}")
    pruefen(h1(), "die Zielseite hat einen Titel")

    # A picture link opens the picture in the page; Esc closes it and the focus goes back.
    b.get(basis + "04/05/06.html")
    bild = b.find_element(By.CSS_SELECTOR, ".text a.bild")
    titel = bild.get_attribute("title")
    bild.click()
    dialog = warten(lambda: b.find_element(By.ID, "bildfenster"), "das Bildfenster")
    warten(lambda: dialog.get_attribute("open") is not None, "das Bildfenster ist offen")
    warten(lambda: b.execute_script(
        "var i = document.querySelector('#bildfenster img');"
        "return i.complete && i.naturalWidth > 0"), "das Bild ist geladen")
    pruefen(dialog.find_element(By.TAG_NAME, "figcaption").text == titel,
            f"Bildunterschrift statt {titel!r}")
    pruefen(b.current_url.endswith("04/05/06.html"), "die Seite bleibt beim Bild")
    b.save_screenshot(os.path.join(bilder, "web-bild.png"))
    b.switch_to.active_element.send_keys(Keys.ESCAPE)
    warten(lambda: dialog.get_attribute("open") is None, "Esc schließt das Bildfenster")
    pruefen(b.switch_to.active_element == bild, "der Fokus kehrt zum Bildverweis zurück")

    # A help number through hilfe.html, resolved as the help resolves it.
    for nummer, seite in (("04.05.03", "04/05/03.html"), ("04.05.99", "04/05/01.html"),
                          ("42.01.01", "01/01/01.html")):
        b.get(basis + "hilfe.html#" + nummer)
        warten(lambda: b.current_url == basis + seite, f"hilfe.html#{nummer} führt zu {seite}")

    # The keyword page leads to the sections of a keyword.
    b.get(basis + "stichwoerter.html")
    wort = b.find_element(By.XPATH, "//dt[text()='E-Rechnung']")
    link = wort.find_element(By.XPATH, "following-sibling::dd[1]/a")
    ziel_titel = link.text
    link.click()
    warten(lambda: h1() == ziel_titel, f"das Stichwort führt zu {ziel_titel!r}")


def desktop_suche(build, db, text):
    """The first ten help numbers and the correction of hilfedb suche."""
    aus = hilfedb(build, "suche", db, text)
    nummern = [z.split()[0] for z in aus.splitlines() if z[:2].isdigit() and z[2:3] == "."]
    korrektur = next((z[len("Meinten Sie: "):] for z in aus.splitlines()
                      if z.startswith("Meinten Sie: ")), "")
    return nummern[:10], korrektur


def suchen_im_browser(b, basis, bilder, build, db):
    """The search field of a page leads to the hits: a word in another inflection finds its
    section, a typo is searched as the word it stands for; and every search of the query table
    gives in the browser the first ten hits and the correction of the help's search."""
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait

    def warten(bedingung, text):
        try:
            return WebDriverWait(b, 10).until(lambda _: bedingung())
        except Exception as e:
            raise Fehlschlag(f"nicht erreicht: {text}") from e

    b.get(basis + "01/01/01.html")
    b.find_element(By.ID, "suchbegriff").send_keys("stornierte Rechnungen", Keys.ENTER)
    treffer = warten(lambda: b.find_elements(By.CSS_SELECTOR, "#treffer h2 a"), "Treffer")
    pruefen(treffer[0].text == "Rechnung stornieren", f"erster Treffer {treffer[0].text!r}")
    warten(lambda: b.find_elements(By.CSS_SELECTOR, "#treffer li:first-child mark"),
           "die Fundstelle des ersten Treffers ist markiert")
    status = b.find_element(By.ID, "suchstatus").text
    pruefen(status.endswith("Abschnitte gefunden"), f"Zählung {status!r}")
    b.save_screenshot(os.path.join(bilder, "web-suche.png"))
    treffer[0].click()
    warten(lambda: b.current_url == basis + "04/03/02.html", "der Treffer öffnet 04/03/02.html")

    b.get(basis + "suche.html?q=Bankverbindng")
    link = warten(lambda: b.find_element(By.CSS_SELECTOR, "#korrektur a"), "Meinten Sie")
    hinweis = b.find_element(By.ID, "korrektur").text
    pruefen(link.text == "Bankverbindung" and "„Bankverbindng“ findet nichts; gesucht wurde "
            "„Bankverbindung“." in hinweis, f"Korrektur: {hinweis!r}")

    tabelle = os.path.join(os.path.dirname(__file__), "..", "helpdb", "volltext", "anfragen.tsv")
    with open(tabelle, encoding="utf-8") as f:
        anfragen = [z.split("\t")[1] for z in f.read().splitlines()
                    if z and not z.startswith("#")]
    im_browser = b.execute_script(
        "return arguments[0].map(function (q) { var e = HilfeSuche.suchen(q);"
        " return [e.treffer.slice(0, 10).map(function (t) {"
        " return HILFE_SUCHE.abschnitte[t.abschnitt][1]; }), e.korrektur]; });", anfragen)
    abweichend = []
    for text, (nummern, korrektur) in zip(anfragen, im_browser):
        erwartet = desktop_suche(build, db, text)
        if (nummern, korrektur) != erwartet:
            abweichend.append((text, nummern, korrektur, erwartet))
    pruefen(not abweichend, f"{len(abweichend)} von {len(anfragen)} Suchen weichen von der "
            f"Hilfe ab, etwa {abweichend[:2]}")
    print(f"Suche: {len(anfragen)} Suchen geben im Browser die Treffer der Hilfe")

    # Words the help does not hold are stemmed in the browser as libstemmer stems them.
    import ctypes
    lib = ctypes.CDLL("libstemmer.so.0d")
    lib.sb_stemmer_new.restype = lib.sb_stemmer_stem.restype = ctypes.c_void_p
    lib.sb_stemmer_stem.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    lib.sb_stemmer_length.argtypes = [ctypes.c_void_p]
    stemmer = lib.sb_stemmer_new(b"german", b"UTF_8")
    with open("/usr/share/hunspell/de_DE.dic", encoding="utf-8") as f:
        woerter = sorted({z.split("/")[0].strip().lower().replace("ß", "ss")
                          for z in f.read().splitlines()[1:] if z[:1].isalpha()})
    staemme = b.execute_script("return arguments[0].map(HilfeSuche.stamm)", woerter)
    falsch = []
    for w, js in zip(woerter, staemme):
        u = w.encode()
        z = lib.sb_stemmer_stem(stemmer, u, len(u))
        if ctypes.string_at(z, lib.sb_stemmer_length(stemmer)).decode() != js:
            falsch.append(w)
    pruefen(len(woerter) > 40000 and not falsch,
            f"{len(falsch)} von {len(woerter)} Stämmen anders, etwa {falsch[:10]}")
    print(f"Stämme: {len(woerter)} Wörter wie libstemmer")


def main():
    a = argparse.ArgumentParser()
    a.add_argument("--build", required=True)
    args = a.parse_args()
    build = os.path.abspath(args.build)
    fehlt = [p for p in ("chromium", "chromedriver") if shutil.which(p) is None]
    try:
        import selenium  # noqa: F401
        import html5lib  # noqa: F401
    except ImportError as e:
        fehlt.append(str(e))
    if fehlt:
        print(f"übersprungen: es fehlt {', '.join(fehlt)}")
        return FEHLT
    bilder = os.path.join(build, "web-bilder")
    os.makedirs(bilder, exist_ok=True)
    arbeit = tempfile.mkdtemp(prefix="tolvar-web-")
    try:
        beispiel = os.path.join(arbeit, "beispiel")
        aus = hilfedb(build, "web", os.path.join(build, "bin", "HilfeBelna.mdb"), beispiel,
                      "--adresse", "https://hilfe.example.de/belna/")
        print(aus.strip())
        seiten = crawlen(beispiel)
        print(f"Beispiel: {seiten} Seiten ohne toten Verweis und ohne HTML-Fehler")
        jet = os.path.join(os.path.dirname(__file__), "..", "..", "..", "shared", "jet",
                           "beispiel-jet4.mdb")
        if os.path.exists(jet):
            importiert = os.path.join(arbeit, "jet.mdb")
            hilfedb(build, "importieren", jet, importiert)
            hilfedb(build, "web", importiert, os.path.join(arbeit, "jet"))
            print(f"Jet: {crawlen(os.path.join(arbeit, 'jet'))} Seiten geprüft")
        server = Seiten(beispiel)
        b = browser()
        try:
            lesen_im_browser(b, server.basis, bilder)
            suchen_im_browser(b, server.basis, bilder, build,
                              os.path.join(build, "bin", "HilfeBelna.mdb"))
        finally:
            b.quit()
            server.ende()
    except Fehlschlag as e:
        print(f"FEHLER: {e}")
        return 1
    except Exception:
        traceback.print_exc()
        return 1
    finally:
        shutil.rmtree(arbeit, ignore_errors=True)
    print("bestanden")
    return 0


if __name__ == "__main__":
    sys.exit(main())
