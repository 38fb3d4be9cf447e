// The RTF reader: turns a stored rich text, as word processors and the Windows rich-edit
// control write it, into a QTextDocument. Character formatting (font, size, bold, italic,
// underline, strike, super-/subscript, colours, hidden text), paragraph formatting (alignment,
// indents, spacing, tab stops), tables, field results, list labels and PNG/JPEG pictures are
// kept; everything else is skipped. The reader never fails on bad input: it runs in time linear
// in the input, limits the nesting depth, and shows whatever it read of truncated or unbalanced
// input. Input that does not start with "{\rtf" is shown as plain text.
//
// Two limits keep the work bounded on content that is merely large. The reader stops building
// the document after a number of characters (a caller that shows the text chooses the limit
// its layout can afford and says that the text was shortened), and the pictures of one
// document share a budget of decoded bytes: a picture that does not fit is not decoded and is
// shown as a placeholder text naming its size.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

class QTextDocument;

class RtfLeser
{
public:
    // Deepest group nesting that is followed; deeper groups are skipped as a whole.
    static constexpr int MaxTiefe = 200;
    // Pictures beyond this pixel count are not decoded.
    static constexpr qint64 MaxBildPixel = 50'000'000;
    // Decoded bytes of all pictures of one document together: 128 MB, two pictures of
    // 4000 x 4000 pixels at 32 bits. Decoding such a picture takes about half a second, and a
    // picture on screen costs about twice its decoded size (the display keeps a copy of its
    // own), so the budget keeps a section within two seconds and a few hundred megabytes.
    static constexpr qint64 StandardBildBytes = 128LL * 1024 * 1024;

    struct Grenzen
    {
        // Characters put into the document: text, each paragraph break, each picture or table
        // cell count one, as in QTextDocument::characterCount. The rest of the input is not
        // read at all. 0: no limit.
        qint64 maxZeichen = 0;
        // Budget of decoded picture bytes for the document (see StandardBildBytes). The size
        // of a picture is read from its header first; a picture that would exceed what is left
        // is not decoded, and the decoder may not allocate more than what is left either.
        qint64 bildBytes = StandardBildBytes;
    };

    struct Ergebnis
    {
        bool rtf = false;          // read as RTF; false: shown as plain text
        bool gekuerzt = false;     // characters beyond maxZeichen were left out
        int bilderAusgelassen = 0; // pictures shown as a placeholder for the budget
    };

    // Replaces the content of doc. Returns true when the input was read as RTF, false when it
    // was shown as plain text because it is not RTF. No character limit, the standard budget
    // for pictures.
    static bool lesen(const QByteArray &rtf, QTextDocument &doc);
    static Ergebnis lesen(const QByteArray &rtf, QTextDocument &doc, const Grenzen &grenzen);

    // The text shown in place of a picture that was not decoded.
    static QString bildPlatzhalter(const QSize &groesse);
};

// Shorthands for RtfLeser::lesen. The QString form takes a text whose characters are the RTF
// bytes (as stored in a database text field); characters beyond 0xFF are kept as Unicode.
bool RtfLesen(const QByteArray &rtf, QTextDocument &doc);
bool RtfLesen(const QString &rtf, QTextDocument &doc);
RtfLeser::Ergebnis RtfLesen(const QString &rtf, QTextDocument &doc,
                            const RtfLeser::Grenzen &grenzen);
