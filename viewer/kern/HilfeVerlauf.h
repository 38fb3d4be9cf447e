// The page history of the help window: the visited help numbers, the position of the shown
// entry, and the rules for cutting the entries ahead of the position when a new page is
// recorded. Entries are kept from element 1 up to anzahl(); element 0 is never used. Count and
// position are 32-bit; at the capacity the oldest entry makes room for the new one.
#pragma once

#include <QString>
#include <QStringList>

#include <limits>

class HilfeVerlauf
{
public:
    explicit HilfeVerlauf(qint32 kapazitaet = std::numeric_limits<qint32>::max() - 1);

    qint32 anzahl() const { return m_anzahl; }
    // Resizes to elements 0..n, keeping the existing entries; new entries are empty.
    void setAnzahl(qint32 n);

    qint32 position() const { return m_position; }
    void setPosition(qint32 p) { m_position = p; }

    // The entry at index i; empty when i is outside 1..anzahl().
    QString eintrag(qint32 i) const;
    // Stores the entry; ignored when i is outside 1..anzahl().
    void setEintrag(qint32 i, const QString &nummer);

    // Empties the history: no entries, position 0.
    void leeren();

    // Records a newly shown page behind the current position; the entries ahead are dropped.
    void merken(const QString &nummer);

    bool zurueckMoeglich() const { return m_position >= 2; }
    bool vorwaertsMoeglich() const { return m_position < m_anzahl; }

private:
    qint32 m_kapazitaet;
    qint32 m_anzahl = 0;
    qint32 m_position = 0;
    QStringList m_eintraege; // index 0 is element 1
};
