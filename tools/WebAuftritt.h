// Writes a help database as a static web site that any web server serves as it is: one page per
// section at an address that keeps its help number (KK/TT/XX.html), with the chapter, topic and
// section navigation of the help window and previous/next; a contents page (index.html), the
// keyword index (stichwoerter.html), hilfe.html that turns "#KK.TT.XX" into the section's page
// the way the help resolves a number, the pictures as PNG, one style sheet and one small script
// (picture viewer), and sitemap.xml when the site's address is known. No page makes an external
// request or sets a cookie.
//
// Writing is incremental: the folder keeps a list of what was written from what (.hilfedb-web);
// a page whose content and navigation did not change is not rendered again, a file whose bytes
// did not change is not written again, and the pages of removed sections are removed. Only a
// folder that is empty or was written by this class is written into.
#pragma once
#include "HilfeBaum.h"

#include <QString>
#include <QStringList>

class WebAuftritt
{
public:
    struct Optionen
    {
        // The address the site is served at ("https://hilfe.example.de/belna/"); without it
        // there is no sitemap.xml, which needs absolute addresses.
        QString adresse;
    };
    struct Ergebnis
    {
        int seiten = 0;       // section pages
        int neuGerendert = 0; // section pages rendered anew
        int geschrieben = 0;  // files written (pages, pictures, the rest)
        int entfernt = 0;     // pages and pictures of the last run that are gone
        int bilder = 0;
    };

    // False with the reason in fehler when the folder is not ours or a file cannot be written.
    static bool schreiben(const HilfeBaum &baum, const QString &ordner, const Optionen &optionen,
                          Ergebnis &ergebnis, QString &fehler);

    // The page of a help number, relative to the site's root ("03/02/05.html").
    static QString seitenPfad(const QString &hilfeNummer);
    // The help number the help shows for nummer among the reachable sections (in the help's
    // order), resolved as the help resolves a number it is called with; "" when there is none.
    static QString zielAufloesen(const QString &nummer, const QStringList &abschnitte);
};
