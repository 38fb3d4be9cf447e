// Byte-to-text decoding for the RTF reader (see RtfZeichensatz.h).
#include "RtfZeichensatz.h"

int RtfZeichensatz::codepageVonZeichensatz(int fcharset)
{
    switch (fcharset) {
    case 2:
        return SymbolSchrift;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

static QByteArray codepageName(int cp)
{
    switch (cp) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 852:
        return "IBM852";
    case 866:
        return "IBM866";
    case 874:
        return "windows-874";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 1361:
        return "johab";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    default:
        if (cp >= 1250 && cp <= 1258)
            return "windows-" + QByteArray::number(cp);
        return "windows-1252";
    }
}

QStringDecoder *RtfZeichensatz::dekodierer(int cp)
{
    auto it = mDekodierer.constFind(cp);
    if (it != mDekodierer.constEnd())
        return it.value();
    auto d = std::make_unique<QStringDecoder>(codepageName(cp).constData(),
                                              QStringConverter::Flag::Stateless);
    if (!d->isValid())
        d = std::make_unique<QStringDecoder>(QStringConverter::Latin1,
                                             QStringConverter::Flag::Stateless);
    QStringDecoder *roh = d.get();
    mBesitz.push_back(std::move(d));
    mDekodierer.insert(cp, roh);
    return roh;
}

QString RtfZeichensatz::dekodieren(const QByteArray &bytes, int cp)
{
    if (cp == SymbolSchrift || cp == WingdingsSchrift) {
        QString s;
        s.reserve(bytes.size());
        for (char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            s += cp == SymbolSchrift ? symbolZeichen(b) : wingdingsZeichen(b);
        }
        return s;
    }
    // Plain ASCII is the same in every code page in use here but the Japanese and Korean
    // double-byte ones, whose lead bytes lie above 0x7F; this shortcut keeps large texts fast.
    bool ascii = true;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(bytes);
    return dekodierer(cp)->decode(bytes);
}

QChar RtfZeichensatz::symbolZeichen(unsigned char b)
{
    // The Symbol font's glyphs from 0x20 on; 0 marks a position without a Unicode match.
    static const char16_t tabelle[224] = {
        // 0x20
        0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029, 0x2217,
        0x002B, 0x002C, 0x2212, 0x002E, 0x002F,
        // 0x30
        0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A,
        0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
        // 0x40
        0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1,
        0x039A, 0x039B, 0x039C, 0x039D, 0x039F,
        // 0x50
        0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396,
        0x005B, 0x2234, 0x005D, 0x22A5, 0x005F,
        // 0x60
        0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5,
        0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF,
        // 0x70
        0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6,
        0x007B, 0x007C, 0x007D, 0x223C, 0,
        // 0x80 - 0x9F: not used by the font
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0,
        // 0xA0
        0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660,
        0x2194, 0x2190, 0x2191, 0x2192, 0x2193,
        // 0xB0
        0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, 0x00F7, 0x2260, 0x2261,
        0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5,
        // 0xC0
        0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, 0x222A, 0x2283, 0x2287,
        0x2284, 0x2282, 0x2286, 0x2208, 0x2209,
        // 0xD0
        0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228,
        0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,
        // 0xE0
        0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C, 0x239D, 0x23A1, 0x23A2,
        0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA,
        // 0xF0
        0, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F, 0x23A0, 0x23A4, 0x23A5, 0x23A6,
        0x23AB, 0x23AC, 0x23AD, 0};
    if (b < 0x20)
        return QChar(b);
    const char16_t z = tabelle[b - 0x20];
    return z ? QChar(z) : QChar(QChar::ReplacementCharacter);
}

QChar RtfZeichensatz::wingdingsZeichen(unsigned char b)
{
    // Only the glyphs that word processors use as list bullets and check marks; every other
    // glyph is shown as a plain bullet, which is what such a character nearly always is.
    switch (b) {
    case 0x6C:
        return QChar(0x25CF);
    case 0x6E:
        return QChar(0x25A0);
    case 0x6F:
        return QChar(0x25A1);
    case 0x71:
        return QChar(0x2751);
    case 0x76:
        return QChar(0x2756);
    case 0x77:
        return QChar(0x2B25);
    case 0xA7:
        return QChar(0x25AA);
    case 0xA8:
        return QChar(0x25FB);
    case 0xD8:
        return QChar(0x27A2);
    case 0xE0:
        return QChar(0x2192);
    case 0xE8:
        return QChar(0x2794);
    case 0xFB:
        return QChar(0x2717);
    case 0xFC:
        return QChar(0x2713);
    case 0xFE:
        return QChar(0x2611);
    default:
        return b < 0x20 ? QChar(b) : QChar(0x2022);
    }
}
