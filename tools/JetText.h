// Text as a Jet database stores it, for the import of old help databases: Jet 4 keeps text in
// UCS-2 (little-endian), often in its compressed form; Jet 3 keeps it in the file's code page.
// Pictures kept in a text column ("old text form") hold one Windows-1252 character per byte of
// the zip archive. Pure functions, no file access.
#pragma once

#include <QByteArray>
#include <QString>

namespace JetText {

// A Jet 4 text value as stored. Without the mark FF FE it is plain UCS-2; with the mark the
// bytes after it are runs of one byte per character (U+0001..U+00FF), and each 0x00 byte
// switches between such a run and a run of two bytes per character. False (with the reason)
// when a two-byte run ends in half a character.
bool jet4Lesen(const QByteArray &daten, QString *text, QString *grund = nullptr);

// A Jet 3 text value: one byte per character in the given Windows code page (0 means 1252).
// False for a code page this system has no converter for, or bytes that code page lacks.
bool jet3Lesen(const QByteArray &daten, int codePage, QString *text, QString *grund = nullptr);

// Windows-1252 in both directions. The five bytes 1252 leaves undefined (81, 8D, 8F, 90, 9D)
// are the characters U+0081 ... U+009D, so every byte has exactly one character.
QChar ausCp1252(uchar byte);
int nachCp1252(QChar zeichen); // the byte, or -1 when the character has none

// A picture in the old text form back to its bytes. False (with the reason naming the
// position) when a character is not one of the 256 of Windows-1252.
bool bildAusText(const QString &text, QByteArray *bytes, QString *grund = nullptr);

// The first position of a lone surrogate (a UTF-16 unit that is no complete character), or -1.
// Such text cannot be written as UTF-8 without loss.
qsizetype ungueltigesZeichen(const QString &text);

// Whether a table name from the catalogue is the keyword table "WörterIndex", however the
// catalogue's code page spelt the ö (UTF-8, one 8-bit byte, a replacement, or "oe"). Letter
// case is ignored, as Jet ignores it.
bool istWoerterIndex(const QByteArray &katalogName);

} // namespace JetText
