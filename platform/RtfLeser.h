// The RTF reader: turns a stored rich text, as word processors and the Windows rich-edit
// control write it, into a QTextDocument. Character formatting (font, size, bold, italic,
// underline, strike, super-/subscript, colours, hidden text), paragraph formatting (alignment,
// indents, spacing, tab stops), tables, field results, list labels and PNG/JPEG pictures are
// kept; everything else is skipped. The reader never fails on bad input: it runs in time linear
// in the input, limits the nesting depth, and shows whatever it read of truncated or unbalanced
// input. Input that does not start with "{\rtf" is shown as plain text.
#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

class RtfLeser
{
public:
    // Deepest group nesting that is followed; deeper groups are skipped as a whole.
    static constexpr int MaxTiefe = 200;
    // Pictures beyond this pixel count are not decoded.
    static constexpr qint64 MaxBildPixel = 50'000'000;

    // Replaces the content of doc. Returns true when the input was read as RTF, false when it
    // was shown as plain text because it is not RTF.
    static bool lesen(const QByteArray &rtf, QTextDocument &doc);
};

// Shorthands for RtfLeser::lesen. The QString form takes a text whose characters are the RTF
// bytes (as stored in a database text field); characters beyond 0xFF are kept as Unicode.
bool RtfLesen(const QByteArray &rtf, QTextDocument &doc);
bool RtfLesen(const QString &rtf, QTextDocument &doc);
