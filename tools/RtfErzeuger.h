// Turns the paragraphs of one section into RTF as a Windows rich-edit control stores it:
// Arial 10 pt, cp1252 with \'hh escapes (\uN? where cp1252 has no byte), bullet and numbered
// items as hanging-indent paragraphs, notes indented in italics, tables as RTF table rows with
// thin cell borders and a bold header row. Links become the visible markup "{T" + help number
// + "}" ... "{TE}" and "{P" + 5-digit picture number + "}" ... "{PE}", tags and link text in
// one formatting group, so the help can cut the tags out cleanly.
#pragma once
#include "HilfeQuelle.h"

class RtfErzeuger
{
public:
    static QString erzeugen(const QList<TextBlock> &bloecke);

    // The plain text that the rich-edit control shows for erzeugen(bloecke), tags included;
    // the help's character positions are counted in it.
    static QString sichtbarerText(const QList<TextBlock> &bloecke);
    // The same for the runs of one paragraph or table cell.
    static QString sichtbarerText(const QList<TextStueck> &stuecke);

    // Escapes one run of text for RTF (braces, backslashes, tabs, cp1252, \uN?).
    static QString maskieren(const QString &text);

    // The cp1252 byte of a character, or -1 when cp1252 has none.
    static int cp1252(char16_t c);
};
