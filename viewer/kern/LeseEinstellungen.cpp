// See LeseEinstellungen.h.
#include "LeseEinstellungen.h"

#include "Einstellungen.h"
#include "TextZoom.h"

#include <algorithm>

namespace LeseEinstellungen {

namespace {

QString anwendung()
{
    return QString::fromLatin1(Anwendung);
}

QString lesen(const char *abschnitt, const QString &schluessel)
{
    return EinstellungLesen(anwendung(), QString::fromLatin1(abschnitt), schluessel);
}

bool speichern(const char *abschnitt, const QString &schluessel, const QString &wert)
{
    return EinstellungSpeichern(anwendung(), QString::fromLatin1(abschnitt), schluessel, wert);
}

} // namespace

int zoomLesen()
{
    bool ok = false;
    const int wert = lesen(AbschnittAnzeige, QStringLiteral("Zoom")).trimmed().toInt(&ok);
    return ok ? TextZoom::gueltig(wert) : TextZoom::Normal;
}

bool zoomSpeichern(int prozent)
{
    return speichern(AbschnittAnzeige, QStringLiteral("Zoom"),
                     QString::number(TextZoom::gueltig(prozent)));
}

QList<Lesezeichen> lesezeichenLesen()
{
    QList<Lesezeichen> liste;
    bool ok = false;
    const int anzahl = lesen(AbschnittLesezeichen, QStringLiteral("Anzahl")).trimmed().toInt(&ok);
    if (!ok)
        return liste;
    for (int i = 1; i <= std::min(anzahl, MaxLesezeichen); ++i) {
        const QString nummer =
            lesen(AbschnittLesezeichen, QStringLiteral("Nummer%1").arg(i)).trimmed();
        if (nummer.isEmpty())
            continue;
        const QString name = lesen(AbschnittLesezeichen, QStringLiteral("Name%1").arg(i));
        liste.append({nummer, name.isEmpty() ? nummer : name});
    }
    return liste;
}

bool lesezeichenSpeichern(const QList<Lesezeichen> &liste)
{
    const int alt = std::clamp(
        lesen(AbschnittLesezeichen, QStringLiteral("Anzahl")).trimmed().toInt(), 0, MaxLesezeichen);
    const int anzahl = int(std::min<qsizetype>(liste.size(), MaxLesezeichen));
    bool ok = true;
    for (int i = 1; i <= anzahl; ++i) {
        const Lesezeichen &l = liste.at(i - 1);
        ok = speichern(AbschnittLesezeichen, QStringLiteral("Nummer%1").arg(i), l.nummer) && ok;
        ok = speichern(AbschnittLesezeichen, QStringLiteral("Name%1").arg(i), l.name) && ok;
    }
    // Entries behind the new end are emptied, so a later larger count finds no old ones.
    for (int i = anzahl + 1; i <= alt; ++i) {
        ok = speichern(AbschnittLesezeichen, QStringLiteral("Nummer%1").arg(i), QString()) && ok;
        ok = speichern(AbschnittLesezeichen, QStringLiteral("Name%1").arg(i), QString()) && ok;
    }
    return speichern(AbschnittLesezeichen, QStringLiteral("Anzahl"), QString::number(anzahl)) && ok;
}

bool hinzufuegen(QList<Lesezeichen> &liste, const QString &nummer, const QString &name)
{
    if (nummer.isEmpty() || liste.size() >= MaxLesezeichen)
        return false;
    for (const Lesezeichen &l : std::as_const(liste))
        if (l.nummer == nummer)
            return false;
    liste.append({nummer, name.trimmed().isEmpty() ? nummer : name.trimmed()});
    return true;
}

} // namespace LeseEinstellungen
