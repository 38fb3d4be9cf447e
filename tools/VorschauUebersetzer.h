// Compiles a source folder again and again into one help database, for the live preview: every
// run reads the sources as "hilfedb erstellen" does, but pictures that did not change are taken
// from the earlier run instead of being drawn and packed again, and a run over sources that
// did not change at all writes nothing. The database is replaced only by a complete new one and
// only when the sources are free of errors, so a reader of it keeps the last good state.
#pragma once
#include "BildSpeicher.h"
#include "HilfeQuelle.h"

#include <QByteArray>
#include <QString>

class VorschauUebersetzer
{
public:
    VorschauUebersetzer(const QString &quellOrdner, const QString &ziel);

    struct Lauf
    {
        // Nothing in the folder changed since the last run: nothing was read or written.
        bool unveraendert = false;
        // The database holds these sources now.
        bool geschrieben = false;
        // Errors and warnings of the sources, sorted by file and line; and the number of
        // errors among them.
        QList<QuellFehler> meldungen;
        int fehler = 0;
        // Why the database could not be written ("" when it was, or when the sources had errors).
        QString schreibFehler;
        // Pictures drawn anew and taken from the earlier run.
        int bilderGezeichnet = 0;
        int bilderWiederverwendet = 0;
        // The help number of the first section of the chapter file changed last ("" when none).
        QString zuletztBearbeitet;
    };
    Lauf uebersetzen();

private:
    QByteArray fingerabdruck() const;

    QString m_ordner;
    QString m_ziel;
    BildSpeicher m_bilder;
    QByteArray m_letzterAbdruck;
};
