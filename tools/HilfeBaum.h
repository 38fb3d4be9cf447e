// The whole content of a help database as the help shows it, read at once: chapters, topics and
// sections in the help's order (with the stored texts), the keywords with the sections they lead
// to, and the pictures. Where numbers repeat, the help opens only the first of them; the others
// are kept, marked, so that a reader sees what the database holds.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

struct HilfeBaum
{
    struct Abschnitt
    {
        qint32 id = 0;
        qint32 nummer = 0;
        QString titel;
        QString text;           // as stored: RTF with the link markup
        QString hilfeNummer;    // KK.TT.XX
        bool erreichbar = true; // false when an earlier section has the same help number
    };
    struct Thema
    {
        qint32 id = 0;
        qint32 nummer = 0;
        QString titel;
        QList<Abschnitt> abschnitte;
    };
    struct Kapitel
    {
        qint32 id = 0;
        qint32 nummer = 0;
        QString titel;
        QList<Thema> themen;
    };
    struct Bild
    {
        qint64 nummer = 0;
        QString titel;
        QByteArray archiv;
    };

    QList<Kapitel> kapitel;
    // Keyword (as stored) -> the help numbers of the sections it leads to, sorted.
    QMap<QString, QStringList> stichwoerter;
    // Each picture number once, with the row the help's picture query gives for it.
    QList<Bild> bilder;

    // Reads the database at datei; false with the reason in fehler when a query failed.
    static bool lesen(const QString &datei, HilfeBaum &baum, QString &fehler);
};
