// A stored section text (RTF with the help's link markup) as semantic HTML for a web page. The
// text is rendered as the help window renders it (Verweismarkup::darstellen), so the page shows
// the same characters and the same links; the formatting is then expressed by meaning:
// paragraphs, lists (paragraphs that begin with a bullet or a number), indent and alignment as
// classes for the style sheet, bold, italics, underline and colour, tables with a header row.
// Font families and sizes are left to the style sheet. A link whose text runs over several
// paragraphs is written as one <a> per paragraph; of nested links (not well formed) each
// character belongs to the outer one, as a click in the help window finds it first.
#pragma once

#include "Verweis.h"

#include <QString>

#include <functional>

// One link as the page writes it: where it leads and how it is marked.
struct HtmlVerweis
{
    QString href;
    QString klasse;
    QString titel;
};

class HtmlErzeuger
{
public:
    // Indent steps of the classes einzug-N: one per 360 twips, at most MaxEinzug.
    static constexpr int EinzugTwips = 360;
    static constexpr int MaxEinzug = 6;

    // The section text (stored RTF with link markup) as an HTML fragment for the inside of
    // <main>/<article>: well-formed (every element closed, attributes quoted, text escaped),
    // no inline scripts, no external resources (pictures inside the text become data URLs).
    // verweis() gives each link's target; a link with an empty href is written as its text.
    static QString abschnitt(const QString &gespeicherterText,
                             const std::function<HtmlVerweis(const tVerweis &)> &verweis);

    // The list marker at the start of a paragraph's text: its length including the blanks
    // behind it (0 when the paragraph does not begin with one), the kind and, for numbered
    // items, the number (letters count a = 1). Numbers followed by blanks instead of a tab
    // count only in an indented paragraph (eingerueckt): "1. Januar" is no list.
    enum class ListenArt { Keine, Punkte, Zahlen, Buchstaben };
    struct Marke
    {
        int laenge = 0;
        ListenArt art = ListenArt::Keine;
        int nummer = 0;
    };
    static Marke listenMarke(const QString &absatzText, bool eingerueckt);
};
