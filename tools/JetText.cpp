// Jet text values and the old text form of pictures (see JetText.h).
#include "JetText.h"

#include <QList>

#include <iconv.h>

#include <cerrno>

namespace {

// Windows-1252 from 0x80 to 0x9F; 0 marks the five bytes the code page leaves undefined.
const char16_t Cp1252Hoch[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

QString zeichenName(QChar c)
{
    return QStringLiteral("U+") +
           QString::number(c.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

} // namespace

namespace JetText {

bool jet4Lesen(const QByteArray &daten, QString *text, QString *grund)
{
    const auto *b = reinterpret_cast<const uchar *>(daten.constData());
    const qsizetype n = daten.size();
    QString t;
    if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        t.reserve(n - 2);
        bool einByte = true;
        for (qsizetype i = 2; i < n;) {
            if (b[i] == 0) {
                einByte = !einByte;
                ++i;
            } else if (einByte) {
                t += QChar(char16_t(b[i]));
                ++i;
            } else if (i + 1 < n) {
                t += QChar(char16_t(b[i] | (b[i + 1] << 8)));
                i += 2;
            } else {
                if (grund)
                    *grund = QStringLiteral("komprimierter Text endet mitten in einem Zeichen");
                return false;
            }
        }
    } else {
        if (n % 2 != 0) {
            if (grund)
                *grund = QStringLiteral("Text hat eine ungerade Zahl von Bytes (%1)").arg(n);
            return false;
        }
        t.resize(n / 2);
        for (qsizetype i = 0; i < n / 2; ++i)
            t[i] = QChar(char16_t(b[2 * i] | (b[2 * i + 1] << 8)));
    }
    *text = t;
    return true;
}

bool jet3Lesen(const QByteArray &daten, int codePage, QString *text, QString *grund)
{
    if (codePage == 0 || codePage == 1252) {
        QString t(daten.size(), Qt::Uninitialized);
        for (qsizetype i = 0; i < daten.size(); ++i)
            t[i] = ausCp1252(uchar(daten[i]));
        *text = t;
        return true;
    }
    const QByteArray name = "CP" + QByteArray::number(codePage);
    iconv_t cd = iconv_open("UTF-16LE", name.constData());
    if (cd == iconv_t(-1)) {
        if (grund)
            *grund =
                QStringLiteral("Codepage %1 ist auf diesem System nicht bekannt").arg(codePage);
        return false;
    }
    QByteArray aus(daten.size() * 4 + 4, Qt::Uninitialized);
    char *ein = const_cast<char *>(daten.constData());
    size_t einRest = size_t(daten.size());
    char *ziel = aus.data();
    size_t zielRest = size_t(aus.size());
    const size_t r = iconv(cd, &ein, &einRest, &ziel, &zielRest);
    iconv_close(cd);
    if (r == size_t(-1) || einRest != 0) {
        if (grund)
            *grund = QStringLiteral("Byte %1 gibt es in Codepage %2 nicht")
                         .arg(daten.size() - qsizetype(einRest))
                         .arg(codePage);
        return false;
    }
    const qsizetype laenge = qsizetype(size_t(aus.size()) - zielRest) / 2;
    *text = QString(reinterpret_cast<const QChar *>(aus.constData()), laenge);
    return true;
}

QChar ausCp1252(uchar byte)
{
    if (byte >= 0x80 && byte <= 0x9F && Cp1252Hoch[byte - 0x80] != 0)
        return QChar(Cp1252Hoch[byte - 0x80]);
    return QChar(char16_t(byte));
}

int nachCp1252(QChar zeichen)
{
    const char16_t u = zeichen.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    if (u >= 0x80 && u <= 0x9F)
        return Cp1252Hoch[u - 0x80] == 0 ? int(u) : -1;
    for (int i = 0; i < 32; ++i)
        if (Cp1252Hoch[i] == u)
            return 0x80 + i;
    return -1;
}

bool bildAusText(const QString &text, QByteArray *bytes, QString *grund)
{
    QByteArray b(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int byte = nachCp1252(text[i]);
        if (byte < 0) {
            if (grund)
                *grund = QStringLiteral("Zeichen %1 an Stelle %2 ist kein Byte in Windows-1252")
                             .arg(zeichenName(text[i]))
                             .arg(i + 1);
            return false;
        }
        b[i] = char(byte);
    }
    *bytes = b;
    return true;
}

qsizetype ungueltigesZeichen(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return i;
    }
    return -1;
}

bool istWoerterIndex(const QByteArray &katalogName)
{
    const QByteArray klein = katalogName.toLower(); // ASCII letters only
    if (!klein.startsWith('w') || !klein.endsWith("rterindex"))
        return false;
    const QByteArray mitte = klein.mid(1, klein.size() - 1 - 9);
    if (mitte == "o" || mitte == "oe" || mitte == "?")
        return true;
    if (mitte.size() == 1)
        return uchar(mitte[0]) >= 0x80; // ö in any 8-bit code page
    // One character in UTF-8: ö itself, or whatever a wrong code page made of the byte.
    const QString zeichen = QString::fromUtf8(mitte);
    return zeichen.size() >= 1 && zeichen.size() <= 2 && zeichen.toUtf8() == mitte &&
           QStringView(zeichen).toUcs4().size() == 1 && zeichen[0].unicode() >= 0x80;
}

} // namespace JetText
