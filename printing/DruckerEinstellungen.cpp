// Printer lists and the stored printer choice (see DruckerEinstellungen.h).
#include "DruckerEinstellungen.h"
#include "CupsDruckerSystem.h"
#include "Einstellungen.h"

#include <QComboBox>
#include <QSignalBlocker>

DruckerSystem &aktivesDruckerSystem()
{
    if (!druckerSystem()) {
        static CupsDruckerSystem cups;
        setzeDruckerSystem(&cups);
    }
    return *druckerSystem();
}

namespace {

QString lesen(const QString &schluessel)
{
    return EinstellungLesen(QLatin1String(EinstellungAnwendung),
                            QLatin1String(EinstellungAbschnitt), schluessel);
}

bool schreiben(const QString &schluessel, const QString &wert)
{
    return EinstellungSpeichern(QLatin1String(EinstellungAnwendung),
                                QLatin1String(EinstellungAbschnitt), schluessel, wert);
}

void codeWaehlen(QComboBox *liste, int code)
{
    for (int i = 0; i < liste->count(); ++i) {
        if (liste->itemData(i).toInt() == code) {
            liste->setCurrentIndex(i);
            return;
        }
    }
}

// Fills a paper list; the first entry with the current code is selected (a driver lists the
// plain size before its variants), else the first entry.
void listeFuellen(QComboBox *liste, const QList<PapierEintrag> &eintraege, int aktuell)
{
    const QSignalBlocker sperre(liste);
    int gewaehlt = -1;
    for (const PapierEintrag &e : eintraege) {
        liste->addItem(e.name, e.code);
        if (e.code == aktuell && gewaehlt < 0)
            gewaehlt = liste->count() - 1;
    }
    if (gewaehlt < 0 && liste->count() > 0)
        gewaehlt = 0;
    liste->setCurrentIndex(gewaehlt);
}

} // namespace

int ZahlAmAnfang(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    const qsizetype anfang = i;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
        ++i;
    bool ok = false;
    const int wert = text.mid(anfang, i - anfang).toInt(&ok);
    return ok ? wert : 0;
}

void ListenEintragWaehlen(QComboBox *liste, const QString &text)
{
    const QString gesucht = text.toUpper();
    for (int i = 0; i < liste->count(); ++i) {
        if (liste->itemText(i).toUpper() == gesucht) {
            liste->setCurrentIndex(i);
            return;
        }
    }
}

void DruckerEinstellungenLesen(const QString &Einstellungsname, QComboBox *comDrucker,
                               QComboBox *comPapiergroesse, QComboBox *comZufuhr)
{
    DruckerSystem &system = aktivesDruckerSystem();
    system.aktualisieren();
    {
        // Only the names: a printer's driver is read when it is chosen (comDrucker_Click).
        // Filling selects nothing (a combo box would select its first entry by itself).
        const QSignalBlocker sperre(comDrucker);
        comDrucker->clear();
        const QStringList namen = system.druckerNamen();
        for (qsizetype i = 0; i < namen.size(); ++i)
            comDrucker->addItem(namen[i], int(i));
        comDrucker->setCurrentIndex(-1);
    }
    ListenEintragWaehlen(comDrucker, lesen(Einstellungsname + QStringLiteral(" DeviceName")));
    if (comDrucker->currentIndex() < 0 && comDrucker->count() > 0)
        ListenEintragWaehlen(comDrucker, system.aktuellerDrucker());
    // With printers but none stored and no default, the first one: "&Drucken" always has a
    // printer to print on.
    if (comDrucker->currentIndex() < 0 && comDrucker->count() > 0)
        comDrucker->setCurrentIndex(0);
    codeWaehlen(comPapiergroesse, ZahlAmAnfang(lesen(Einstellungsname + QStringLiteral(" PaperSize"))));
    codeWaehlen(comZufuhr, ZahlAmAnfang(lesen(Einstellungsname + QStringLiteral(" PaperBin"))));
}

DruckerInfo DruckerAnPosition(QComboBox *comDrucker)
{
    if (comDrucker->currentIndex() < 0)
        return DruckerInfo();
    return aktivesDruckerSystem().druckerInfo(comDrucker->currentText());
}

bool DruckerEinstellungenSpeichern(const QString &Einstellungsname, QComboBox *comDrucker,
                                   QComboBox *comPapiergroesse, QComboBox *comZufuhr)
{
    if (comDrucker->currentIndex() < 0)
        return false;
    const DruckerInfo d = DruckerAnPosition(comDrucker);
    // Every key is tried, so that one that can be written is not lost for another.
    bool ok = schreiben(Einstellungsname + QStringLiteral(" DeviceName"), d.Geraetename);
    ok &= schreiben(Einstellungsname + QStringLiteral(" Port"), d.Port);
    ok &= schreiben(Einstellungsname + QStringLiteral(" PaperSize"),
                    comPapiergroesse->currentIndex() < 0
                        ? QStringLiteral("0")
                        : QString::number(comPapiergroesse->currentData().toInt()));
    ok &= schreiben(Einstellungsname + QStringLiteral(" PaperBin"),
                    comZufuhr->currentIndex() < 0
                        ? QStringLiteral("0")
                        : QString::number(comZufuhr->currentData().toInt()));
    return ok;
}

void DruckerFaehigkeitenLesen(const DruckerInfo &drucker, QComboBox *comZufuhr,
                              QComboBox *comPapiergroesse)
{
    DruckerSystem &system = aktivesDruckerSystem();
    {
        const QSignalBlocker a(comZufuhr), b(comPapiergroesse);
        comZufuhr->clear();
        comPapiergroesse->clear();
    }
    if (drucker.Geraetename.isEmpty() || !system.oeffnen(drucker.Geraetename))
        return;
    listeFuellen(comZufuhr, system.schaechte(drucker.Geraetename), drucker.PapierZufuhr);
    listeFuellen(comPapiergroesse, system.papierformate(drucker.Geraetename), drucker.PapierGroesse);
}
