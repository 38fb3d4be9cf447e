// The scripted printer system for tests (see DruckerSystemTest.h).
#include "DruckerSystemTest.h"
#include "Mauszeiger.h"

#include <QDir>
#include <QFile>

DruckerSystemTest::DruckerSystemTest() : m_vorher(druckerSystem())
{
    setzeDruckerSystem(this);
}

DruckerSystemTest::~DruckerSystemTest()
{
    setzeDruckerSystem(m_vorher);
}

DruckerSystemTest::Drucker DruckerSystemTest::beispiel(const QString &name, int papier,
                                                       int schacht)
{
    Drucker d;
    d.info = {name, QStringLiteral("file:///dev/null"), papier, schacht};
    d.schaechte = {{QStringLiteral("Automatisch"), 7},
                   {QStringLiteral("Fach 1"), 1},
                   {QStringLiteral("Fach 2"), 2},
                   {QStringLiteral("Manuell"), 4}};
    d.schachtSchluessel = {QStringLiteral("Auto"), QStringLiteral("Tray1"), QStringLiteral("Tray2"),
                           QStringLiteral("Manual")};
    d.formate = {{QStringLiteral("A4"), 9},
                 {QStringLiteral("A5"), 11},
                 {QStringLiteral("Letter"), 1},
                 {QStringLiteral("Legal"), 5}};
    d.optionen = {{QStringLiteral("Duplex"), QStringLiteral("Beidseitig"),
                   {QStringLiteral("None"), QStringLiteral("DuplexNoTumble")},
                   {QStringLiteral("Aus"), QStringLiteral("Lange Kante")},
                   QStringLiteral("None")}};
    return d;
}

DruckerSystemTest::Drucker *DruckerSystemTest::finden(const QString &name)
{
    for (Drucker &d : liste) {
        if (d.info.Geraetename == name)
            return &d;
    }
    return nullptr;
}

QList<DruckerInfo> DruckerSystemTest::drucker()
{
    QList<DruckerInfo> r;
    for (const Drucker &d : std::as_const(liste)) {
        infoAbfragen << d.info.Geraetename;
        zeigerBeiInfo << MauszeigerAktuell();
        r.append(d.info);
    }
    return r;
}

QStringList DruckerSystemTest::druckerNamen()
{
    QStringList r;
    for (const Drucker &d : std::as_const(liste))
        r << d.info.Geraetename;
    return r;
}

DruckerInfo DruckerSystemTest::druckerInfo(const QString &name)
{
    infoAbfragen << name;
    zeigerBeiInfo << MauszeigerAktuell();
    if (const Drucker *d = finden(name))
        return d->info;
    DruckerInfo d;
    d.Geraetename = name;
    return d;
}

bool DruckerSystemTest::oeffnen(const QString &name)
{
    const Drucker *d = finden(name);
    return d && d->erreichbar;
}

bool DruckerSystemTest::oeffnenVoll(const QString &name)
{
    const Drucker *d = finden(name);
    return d && d->erreichbar && d->vollzugriff;
}

QList<PapierEintrag> DruckerSystemTest::schaechte(const QString &name)
{
    ++faehigkeitsAbfragen;
    const Drucker *d = finden(name);
    return d ? d->schaechte : QList<PapierEintrag>();
}

QList<PapierEintrag> DruckerSystemTest::papierformate(const QString &name)
{
    const Drucker *d = finden(name);
    return d ? d->formate : QList<PapierEintrag>();
}

QList<DruckerOption> DruckerSystemTest::optionen(const QString &name)
{
    const Drucker *d = finden(name);
    return d ? d->optionen : QList<DruckerOption>();
}

bool DruckerSystemTest::optionenSpeichern(const QString &name, const QMap<QString, QString> &werte)
{
    Drucker *d = finden(name);
    if (!d || !d->vollzugriff)
        return false;
    for (DruckerOption &o : d->optionen) {
        if (werte.contains(o.schluessel))
            o.aktuell = werte.value(o.schluessel);
    }
    return true;
}

QString DruckerSystemTest::schachtSchluessel(const QString &name, int code)
{
    const Drucker *d = finden(name);
    if (!d)
        return QString();
    for (qsizetype i = 0; i < d->schaechte.size(); ++i) {
        if (d->schaechte[i].code == code)
            return d->schachtSchluessel.value(i);
    }
    return QString();
}

bool DruckerSystemTest::auftragSenden(const QString &name, const QString &pdfDatei,
                                      const QString &titel, const QString &papier,
                                      const QString &schacht, int kopien, QString *fehler)
{
    const Drucker *d = finden(name);
    if (!d || !d->erreichbar || !d->nimmtAuftraege) {
        if (fehler)
            *fehler = !d ? QStringLiteral("Den Drucker „%1“ gibt es nicht.").arg(name)
                         : QStringLiteral("Der Drucker „%1“ nimmt keine Aufträge an.").arg(name);
        return false;
    }
    Auftrag a{name, titel, papier, schacht, QString(), kopien};
    if (!kopienOrdner.isEmpty()) {
        a.kopie = QDir(kopienOrdner).filePath(QStringLiteral("auftrag-%1.pdf").arg(auftraege.size() + 1));
        QFile::copy(pdfDatei, a.kopie);
    }
    auftraege.append(a);
    return true;
}
