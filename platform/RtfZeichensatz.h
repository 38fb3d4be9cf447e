// Byte-to-text decoding for the RTF reader: Windows code pages by number (through Qt's
// converters), the RTF font character sets mapped to code pages, and the two symbol fonts whose
// bytes are not characters of any code page (Symbol, Wingdings), so that a bullet written as
// \'b7 in the Symbol font comes out as a bullet.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringDecoder>

#include <memory>
#include <vector>

class RtfZeichensatz
{
public:
    // Pseudo code pages for fonts whose bytes are glyph numbers, not characters.
    static constexpr int SymbolSchrift = -2;
    static constexpr int WingdingsSchrift = -3;

    // Code page of an RTF \fcharset value; 0 means "the document's code page".
    static int codepageVonZeichensatz(int fcharset);

    // Decodes bytes written in code page cp; unknown code pages read as Windows-1252.
    QString dekodieren(const QByteArray &bytes, int cp);

    // The character that byte b stands for in the Symbol or Wingdings font.
    static QChar symbolZeichen(unsigned char b);
    static QChar wingdingsZeichen(unsigned char b);

private:
    QStringDecoder *dekodierer(int cp);
    QHash<int, QStringDecoder *> mDekodierer;
    std::vector<std::unique_ptr<QStringDecoder>> mBesitz;
};
