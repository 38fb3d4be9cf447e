// One link of a shown section: where its text lies in the rendered text (rich-edit positions,
// see TextFeld) and where it leads.
#pragma once

#include <QString>

struct tVerweis
{
    qint16 Anfang = 0;  // first character of the link text
    qint16 Ende = 0;    // just behind the link text (where the closing tag stood)
    QString TextNummer; // target help number of a text link, else empty
    QString BildNummer; // picture number of a picture link, else empty
    QString BildTitel;  // link text of a picture link, else empty
};
