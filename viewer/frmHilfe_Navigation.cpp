// Previous and next section (toolbar buttons 4 and 5): stepping through the description one
// section at a time, across topic and chapter boundaries. Topics without sections and chapters
// without topics are stepped over. The topics and sections of a topic or chapter that is not
// loaded are read into scratch lists only to learn the number of the target; the window's own
// lists are filled by the tab handlers when the jump selects the tabs.
//
// Previous section passes through the tabs as a user would: selecting the previous topic (or
// chapter, then its last topic) shows and records its first section before the last one is
// shown, so the history gains two entries for a previous topic and up to three for a previous
// chapter. Next section jumps straight to the target and records one entry.
#include "frmHilfe.h"

#include "Inhaltsabfragen.h"
#include "Registerkarten.h"
#include "frmInhalt.h"

#include <algorithm>

namespace {

qint32 wert(const QList<qint32> &liste, int i)
{
    return (i >= 1 && i < liste.size()) ? liste.at(i) : 0;
}

// The sections of a topic, read for their numbers only. False when the query failed (it has
// reported the error); nummern then holds only element 0.
bool abschnittNummern(qint32 themaID, QList<qint32> &nummern)
{
    QList<QString> bezeichnung;
    QList<qint32> ids;
    QList<QString> texte;
    nummern = {0};
    if (!TexteLesen(bezeichnung, ids, nummern, texte, themaID))
        return false;
    const qsizetype n = std::min({bezeichnung.size(), ids.size(), nummern.size(), texte.size()});
    nummern.resize(std::max<qsizetype>(n, 1));
    return true;
}

bool themenLesen(qint32 kapitelID, QList<qint32> &ids, QList<qint32> &nummern)
{
    QList<QString> bezeichnung;
    ids = {0};
    nummern = {0};
    if (!ThemenLesen(bezeichnung, ids, nummern, kapitelID))
        return false;
    const qsizetype n =
        std::max<qsizetype>(std::min({bezeichnung.size(), ids.size(), nummern.size()}), 1);
    ids.resize(n);
    nummern.resize(n);
    return true;
}

// The index (1-based) of the element with this number, or 0.
int stelle(const QList<qint32> &liste, double nummer)
{
    for (int i = 1; i < liste.size(); ++i)
        if (nummer == liste.at(i))
            return i;
    return 0;
}

} // namespace

QString frmHilfe::ZielAufloesen(const double (&teile)[3], const QList<qint32> &kapitelIDs,
                                const QList<qint32> &kapitelNummern, bool &bekannt)
{
    // An unknown chapter gives the first section of all; an unknown topic the chapter's first
    // topic, where the section part is still looked for; an unknown section the topic's
    // first. A chapter or topic without content gives a number that selects it and no
    // section.
    bekannt = true;
    int k = stelle(kapitelNummern, teile[0]);
    const bool kapitelBekannt = k > 0;
    if (!kapitelBekannt) {
        bekannt = false;
        k = 1;
    }
    QList<qint32> themenIDs;
    QList<qint32> themenNummern;
    if (!themenLesen(wert(kapitelIDs, k), themenIDs, themenNummern))
        return QString();
    int t = kapitelBekannt ? stelle(themenNummern, teile[1]) : 1;
    if (t == 0) {
        bekannt = false;
        t = 1;
    }
    QList<qint32> texte;
    if (themenIDs.size() > 1 && !abschnittNummern(themenIDs.at(t), texte))
        return QString();
    int x = kapitelBekannt ? stelle(texte, teile[2]) : 1;
    if (x == 0) {
        bekannt = false;
        x = 1;
    }
    return NummerBilden(wert(kapitelNummern, k), wert(themenNummern, t), wert(texte, x));
}

int frmHilfe::gezeigterAbschnitt() const
{
    // After a topic without sections was chosen the index may still name a label of the topic
    // before; it counts only while it lies within the loaded sections.
    return (miAktTextIndex >= 0 && miAktTextIndex < miTexteAnzahl) ? miAktTextIndex : -1;
}

void frmHilfe::NaechsterAbschnitt()
{
    const int kapitel = m_tabMain->aktuell();
    if (miKapitelAnzahl == 0 || kapitel < 0 || kapitel >= miKapitelAnzahl)
        return;
    const qint32 kapitelNummer = wert(mlKapitelNummern, kapitel + 1);

    // Within the topic.
    const int x = gezeigterAbschnitt();
    if (x + 1 < miTexteAnzahl) {
        GeheZuText(NummerBilden(kapitelNummer, wert(mlThemenNummern, m_tabSub->aktuell() + 1),
                                wert(mlTexteNummern, x + 2)));
        return;
    }

    // The following topics of the chapter (none when the chapter has no topics).
    QList<qint32> nummern;
    const int thema = miThemenAnzahl > 0 ? m_tabSub->aktuell() : miThemenAnzahl;
    for (int t = thema + 1; t < miThemenAnzahl; ++t) {
        if (!abschnittNummern(wert(mlThemenIDs, t + 1), nummern))
            return;
        if (nummern.size() > 1) {
            GeheZuText(NummerBilden(kapitelNummer, wert(mlThemenNummern, t + 1), nummern.at(1)));
            return;
        }
    }

    // The following chapters.
    QList<qint32> themenIDs;
    QList<qint32> themenNummern;
    for (int k = kapitel + 1; k < miKapitelAnzahl; ++k) {
        if (!themenLesen(wert(mlKapitelIDs, k + 1), themenIDs, themenNummern))
            return;
        for (int t = 1; t < themenIDs.size(); ++t) {
            if (!abschnittNummern(themenIDs.at(t), nummern))
                return;
            if (nummern.size() > 1) {
                GeheZuText(NummerBilden(wert(mlKapitelNummern, k + 1), themenNummern.at(t),
                                        nummern.at(1)));
                return;
            }
        }
    }

    // Only empty topics and chapters follow: there is no next section.
    toolbarButtonAktiv(frmInhalt::ButtonNaechste, false);
}

void frmHilfe::VorigerAbschnitt()
{
    const int kapitel = m_tabMain->aktuell();
    if (miKapitelAnzahl == 0 || kapitel < 0 || kapitel >= miKapitelAnzahl)
        return;

    // Within the topic.
    const int x = gezeigterAbschnitt();
    if (x > 0) {
        GeheZuText(NummerBilden(wert(mlKapitelNummern, kapitel + 1),
                                wert(mlThemenNummern, m_tabSub->aktuell() + 1),
                                wert(mlTexteNummern, x)));
        return;
    }

    // Find the nearest topic before this one that has sections: first in this chapter, then
    // from the last topic of each chapter before it.
    int zielKapitel = -1;
    int zielThema = -1;
    QList<qint32> nummern;
    const int thema = miThemenAnzahl > 0 ? std::min<int>(m_tabSub->aktuell(), miThemenAnzahl) : 0;
    for (int t = thema - 1; t >= 0 && zielThema < 0; --t) {
        if (!abschnittNummern(wert(mlThemenIDs, t + 1), nummern))
            return;
        if (nummern.size() > 1) {
            zielKapitel = kapitel;
            zielThema = t;
        }
    }
    QList<qint32> themenIDs;
    QList<qint32> themenNummern;
    for (int k = kapitel - 1; k >= 0 && zielThema < 0; --k) {
        if (!themenLesen(wert(mlKapitelIDs, k + 1), themenIDs, themenNummern))
            return;
        for (int t = int(themenIDs.size()) - 1; t >= 1 && zielThema < 0; --t) {
            if (!abschnittNummern(themenIDs.at(t), nummern))
                return;
            if (nummern.size() > 1) {
                zielKapitel = k;
                zielThema = t - 1;
            }
        }
    }
    if (zielThema < 0) {
        // Only empty topics and chapters lie before: there is no previous section.
        toolbarButtonAktiv(frmInhalt::ButtonVorige, false);
        return;
    }

    // Select the tabs as the user would; each handler loads its lists and shows (and records)
    // the first section of the topic it selects. A query that fails there has reported its
    // error, and the command ends.
    if (zielKapitel != kapitel) {
        m_tabMain->setAktuell(zielKapitel);
        if (mlAktKapitelID != wert(mlKapitelIDs, zielKapitel + 1) || zielThema >= miThemenAnzahl)
            return;
    }
    if (m_tabSub->aktuell() != zielThema)
        m_tabSub->setAktuell(zielThema);
    if (mlAktThemaID != wert(mlThemenIDs, zielThema + 1) || miTexteAnzahl < 1)
        return;

    // The last section of the topic now selected.
    GeheZuText(NummerBilden(wert(mlKapitelNummern, zielKapitel + 1),
                            wert(mlThemenNummern, zielThema + 1),
                            wert(mlTexteNummern, miTexteAnzahl)));
}
