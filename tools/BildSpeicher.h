// The pictures of a source folder as an earlier read drew and packed them, kept by file. A read
// of the folder takes a picture from here when its file's bytes and the variables are the same
// as then, so compiling again after an edit draws and packs only the pictures that changed.
#pragma once
#include "QuellParser.h"

#include <QByteArray>
#include <QHash>
#include <QSet>

#include <optional>

class BildSpeicher
{
public:
    // Reads the picture file at pfad into quelle, as QuellParser::bildDateiLesen does, with its
    // archive packed; from the store when nothing it depends on changed.
    void lesen(const QString &pfad, const QString &dateiName, const QuellParser::Umgebung &umgebung,
               HilfeQuelle &quelle, QList<QuellFehler> &fehler);
    // Begins a read of the whole folder: the entries of files that the last read did not meet
    // (removed pictures) are dropped, and the counts start at 0.
    void neueRunde();

    // Of the read since neueRunde(): pictures drawn anew and taken from the store.
    int gezeichnet() const { return m_gezeichnet; }
    int wiederverwendet() const { return m_wiederverwendet; }

private:
    struct Eintrag
    {
        QByteArray schluessel;
        std::optional<QuellBild> bild; // none when the file had an error
        QList<QuellFehler> meldungen;
    };
    QHash<QString, Eintrag> m_eintraege;
    QSet<QString> m_gesehen;
    int m_gezeichnet = 0;
    int m_wiederverwendet = 0;
};
