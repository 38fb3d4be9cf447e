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

// The bookmarks are many keys of one section: it is read and written in one go, not once
// per key.
QList<Lesezeichen> lesezeichenLesen()
{
    QList<Lesezeichen> liste;
    const QHash<QString, QString> werte =
        EinstellungenLesen(anwendung(), QString::fromLatin1(AbschnittLesezeichen));
    bool ok = false;
    const int anzahl = werte.value(QStringLiteral("Anzahl")).trimmed().toInt(&ok);
    if (!ok)
        return liste;
    for (int i = 1; i <= std::min(anzahl, MaxLesezeichen); ++i) {
        const QString nummer = werte.value(QStringLiteral("Nummer%1").arg(i)).trimmed();
        if (nummer.isEmpty())
            continue;
        const QString name = werte.value(QStringLiteral("Name%1").arg(i));
        liste.append({nummer, name.isEmpty() ? nummer : name});
    }
    return liste;
}

bool lesezeichenSpeichern(const QList<Lesezeichen> &liste)
{
    const int alt = std::clamp(
        lesen(AbschnittLesezeichen, QStringLiteral("Anzahl")).trimmed().toInt(), 0, MaxLesezeichen);
    const int anzahl = int(std::min<qsizetype>(liste.size(), MaxLesezeichen));
    QList<std::pair<QString, QString>> werte;
    for (int i = 1; i <= anzahl; ++i) {
        const Lesezeichen &l = liste.at(i - 1);
        werte.append({QStringLiteral("Nummer%1").arg(i), l.nummer});
        werte.append({QStringLiteral("Name%1").arg(i), l.name});
    }
    // Entries behind the new end are emptied, so a later larger count finds no old ones.
    for (int i = anzahl + 1; i <= alt; ++i) {
        werte.append({QStringLiteral("Nummer%1").arg(i), QString()});
        werte.append({QStringLiteral("Name%1").arg(i), QString()});
    }
    werte.append({QStringLiteral("Anzahl"), QString::number(anzahl)});
    return EinstellungenSpeichern(anwendung(), QString::fromLatin1(AbschnittLesezeichen), werte);
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
