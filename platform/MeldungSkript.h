// A scripted message box for tests: records every box shown (text, style, caption) and answers
// from a queue; with the queue empty it answers Cancel to a Retry/Cancel box and OK otherwise.
// A callback runs while the "box is up", e.g. to release a lock before the answer Retry.
// Installs itself for its lifetime and puts the previous implementation back afterwards.
#pragma once

#include "Meldung.h"

#include <QList>

#include <functional>

class SkriptMeldungen : public Meldungsanzeige
{
public:
    struct Box
    {
        QString text;
        int stil = 0;
        QString titel;
    };

    SkriptMeldungen();
    ~SkriptMeldungen() override;
    SkriptMeldungen(const SkriptMeldungen &) = delete;
    SkriptMeldungen &operator=(const SkriptMeldungen &) = delete;

    int zeigen(const QString &text, int stil, const QString &titel) override;

    // Appends answers (Meldung::Ok, Abbrechen, Wiederholen) for the next boxes.
    void antworten(std::initializer_list<int> antworten) { m_antworten += antworten; }
    void beimZeigen(std::function<void(const Box &)> f) { m_beimZeigen = std::move(f); }

    const QList<Box> &boxen() const { return m_boxen; }
    int anzahl() const { return int(m_boxen.size()); }
    int offeneAntworten() const { return int(m_antworten.size()); }
    void leeren()
    {
        m_boxen.clear();
        m_antworten.clear();
    }

private:
    QList<Box> m_boxen;
    QList<int> m_antworten;
    std::function<void(const Box &)> m_beimZeigen;
    Meldungsanzeige *m_vorher;
};
