"""The table of scenarios: each is a function that gets a started Sitzung.

    @szenario("name")                       the sample database, status object on
    @szenario("name", testzugang=False)     a server without the status object
    @szenario("name", drucker=True)         prints to the CUPS test printer (serialised in CTest)
    @szenario("name", vorbereiten=f)        f(sitzung) starts the session itself (own database)
"""

SZENARIEN = {}


class Szenario:
    def __init__(self, name, funktion, testzugang, drucker, vorbereiten):
        self.name = name
        self.funktion = funktion
        self.testzugang = testzugang
        self.drucker = drucker
        self._vorbereiten = vorbereiten

    def vorbereiten(self, sitzung):
        if self._vorbereiten:
            self._vorbereiten(sitzung)
        else:
            sitzung.starten()


def szenario(name, testzugang=True, drucker=False, vorbereiten=None):
    def eintragen(funktion):
        if name in SZENARIEN:
            raise ValueError(f"Szenario {name} gibt es zweimal")
        SZENARIEN[name] = Szenario(name, funktion, testzugang, drucker, vorbereiten)
        return funktion
    return eintragen
