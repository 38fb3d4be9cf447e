// The link markup of section texts. A text link is "{T" + 8 characters (the target help
// number) + one closing character, the link text, then "{TE}"; a picture link is "{P" +
// 5 characters (the picture number) + one character, the link text, then "{PE}". Rendering
// cuts the tags out of the visible text, keeping the formatting of every other character, and
// builds the link table; the link under a character position is looked up in that table.
//
// Markup that is not well formed is treated so that rendering always ends, every character
// that is not part of a tag stays visible, and every recorded position is valid:
// - an opening tag that would reach past the end of its paragraph or of the text is no tag:
//   it stays in the text as typed;
// - an opening tag without its closing tag behind it is removed, and no link is recorded;
// - a closing tag without an opening tag before it stays in the text;
// - nested links (not allowed) are each recorded; positions of an outer link are moved for
//   the tags removed inside it, so that they still point at its text;
// - positions are 16-bit: a link that ends beyond 32767 is not recorded (its tags are still
//   removed, its text shows as ordinary text); so is the count: links after the 32767th are
//   not recorded either.
//
// A section is shown up to MaxZeichen characters: the text layout of the help window needs
// about a second per million characters of one paragraph, and the window must answer its
// caller within two seconds whatever the database holds. The reader stops at the limit, so
// tags and links behind it are never seen; a note at the end says that the text was cut.
#pragma once

#include "Verweis.h"

#include <QList>
#include <QString>

#include <vector>

class QTextDocument;
class TextFeld;

class Verweismarkup
{
public:
    static constexpr int MaxPosition = 32767;
    // Characters of a section that are shown (see RtfLeser::Grenzen for how they count).
    static constexpr qint64 MaxZeichen = 500'000;
    // The paragraph that ends a section cut at MaxZeichen.
    static QString gekuerztHinweis();

    // Renders the stored text into anzeige and fills mtVerweise (element 0 unused) and
    // miVerweisAnzahl. A text longer than maxZeichen is cut there and ends with the paragraph
    // gekuerztHinweis(); the return value says so.
    static bool darstellen(const QString &gespeicherterText, QTextDocument &anzeige,
                           QList<tVerweis> &mtVerweise, qint16 &miVerweisAnzahl,
                           qint64 maxZeichen = MaxZeichen);

    // Cuts the tags out of the text box's content and returns the links, element 0 unused.
    // With nurText only text links are taken; picture tags stay.
    static QList<tVerweis> tagsEntfernen(TextFeld &feld, bool nurText = false);

    // A link as its tags were cut out: positions in the box's final text, of any size and
    // without the link table's count limit (the print-out needs every link of a section).
    struct Fundstelle
    {
        int Anfang = 0;
        int Ende = 0;
        bool Bild = false;
        QString Nummer;
    };
    enum class Tags { Alle, NurText, NurBild };
    // As above for the links of the kind welche (the other tags stay as typed); alle (if
    // given) receives every link found, in the order of their opening tags.
    static QList<tVerweis> tagsEntfernen(TextFeld &feld, Tags welche,
                                         std::vector<Fundstelle> *alle);
    // Adds the paragraph gekuerztHinweis() at the end of doc, in the font of the text's end.
    static void gekuerztHinweisAnfuegen(QTextDocument &doc);

    // Index of the first link with Anfang <= k <= Ende; 0 when there is none or k < 1.
    static int verweisBei(const QList<tVerweis> &mtVerweise, qint16 miVerweisAnzahl, int k);

    // Is the opening tag of length laenge at 0-based position pos of text a tag at all
    // (complete, and within one paragraph)?
    static bool oeffnerGueltig(const QString &text, int pos, int laenge);
};
