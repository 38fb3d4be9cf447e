// The shared routines (see Routinen.h).
#include "Routinen.h"

#include "Fehler.h"
#include "Mauszeiger.h"
#include "Meldung.h"

#include <cmath>
#include <limits>

namespace {
const QString CrLf = QStringLiteral("\r\n");

// Rounds half to even, as the platform's conversion to whole numbers does, and keeps the
// result in 32 bits.
qint32 runden(double wert)
{
    const double r = std::nearbyint(wert);
    if (r >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (r <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return qint32(r);
}
} // namespace

bool FehlerMeldung()
{
    MausZeiger(0);
    const Fehler &f = aktuellerFehler();
    const QString n = QString::number(f.nummer);
    const QString &s = f.beschreibung.isEmpty() ? fehlerStandardText(f.nummer) : f.beschreibung;

    QString text;
    int stil = Meldung::WiederholenAbbrechen + Meldung::Ausrufezeichen;
    switch (f.nummer) {
    case Fehlernummer::DatenbankGesperrt:
        text = QStringLiteral("Ein anderer Benutzer sperrt die Datenbank im Moment. Bitte wählen "
                              "Sie ") +
               QStringLiteral("WIEDERHOLEN, um erneut zu versuchen, die Daten zu lesen bzw. "
                              "zu speichern. ") +
               CrLf + CrLf + QStringLiteral("(Systemmeldung: ") + n + QStringLiteral(": ") + s +
               QStringLiteral(")");
        break;
    case Fehlernummer::ZugriffVerweigert:
    case Fehlernummer::PfadZugriffsfehler:
        text = QStringLiteral("(") + n +
               QStringLiteral(") Die Datei bzw. der Datenträger ist im Moment gegen Zugriff "
                              "gesperrt. Möglicherweise ist die Datei ") +
               QStringLiteral("von einem anderen Programm aus geöffnet worden oder der "
                              "Datenträger ist schreibgeschützt.");
        break;
    case Fehlernummer::DoppelteWerte:
        MsgBox(QStringLiteral("Die Tabelle darf keine doppelten Werte enthalten. Die "
                              "eingegebenen Daten sind bereits vorhanden!"),
               Meldung::Stopp);
        return true;
    case Fehlernummer::DatensatzVerknuepft:
        MsgBox(QStringLiteral("Der Datensatz kann nicht gelöscht werden, da andere Daten damit "
                              "in Verbindung stehen!"),
               Meldung::Stopp);
        return true;
    default:
        text = QStringLiteral("Es ist ein Problem aufgetreten. Das System liefert folgende "
                              "Meldung: ") +
               CrLf + CrLf + QStringLiteral("(") + n + QStringLiteral(") ") + s;
        break;
    }
    // Anything but Retry (Cancel, a closed box) gives up.
    return MsgBox(text, stil) != Meldung::Wiederholen;
}

void MausZeiger(qint16 Zeiger)
{
    MauszeigerSetzen(Zeiger);
}

QString SuchMuster(const QString &Text, bool VorneOffen, bool HintenOffen)
{
    QString t = Text;
    t.replace(QStringLiteral("'"), QStringLiteral("['']"));
    t.replace(QStringLiteral("-"), QStringLiteral("[-]"));
    t.replace(QStringLiteral("\""), QStringLiteral("[\"]"));
    const QString vorne = VorneOffen ? QStringLiteral("%") : QString();
    const QString hinten = HintenOffen ? QStringLiteral("%") : QString();
    return QStringLiteral("'") + vorne + t + hinten + QStringLiteral("'");
}

QPoint FensterZentrierenPosition(const QRect &bereichPixel, double twipsProPixelX,
                                 double twipsProPixelY, qint32 breite, qint32 hoehe)
{
    const double h = double(runden(bereichPixel.height() * twipsProPixelY));
    const double w = double(runden(bereichPixel.width() * twipsProPixelX));
    const qint32 links = runden(w / 2.0 - double(breite) / 2.0);
    const qint32 oben = runden(h / 2.0 - double(hoehe) / 2.0);
    return QPoint(qMax(links, 0), qMax(oben, 0));
}
