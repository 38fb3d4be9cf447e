// See TextZoom.h.
#include "TextZoom.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace TextZoom {

const QList<int> &stufen()
{
    static const QList<int> s{50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300};
    return s;
}

int groesser(int prozent)
{
    for (const int s : stufen())
        if (s > prozent)
            return s;
    return Groesste;
}

int kleiner(int prozent)
{
    const QList<int> &s = stufen();
    for (auto it = s.rbegin(); it != s.rend(); ++it)
        if (*it < prozent)
            return *it;
    return Kleinste;
}

int gueltig(int prozent)
{
    if (prozent <= 0)
        return Normal;
    int beste = Normal;
    for (const int s : stufen())
        if (std::abs(s - prozent) < std::abs(beste - prozent))
            beste = s;
    return beste;
}

namespace {

void zeichenSkalieren(QTextCharFormat &f, double faktor)
{
    if (f.isImageFormat()) {
        QTextImageFormat bild = f.toImageFormat();
        if (bild.width() > 0)
            bild.setWidth(bild.width() * faktor);
        if (bild.height() > 0)
            bild.setHeight(bild.height() * faktor);
        f = bild;
    }
    if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0)
        f.setFontPointSize(f.fontPointSize() * faktor);
    else if (f.intProperty(QTextFormat::FontPixelSize) > 0)
        f.setProperty(QTextFormat::FontPixelSize,
                      std::max(1, int(f.intProperty(QTextFormat::FontPixelSize) * faktor + 0.5)));
}

void absatzSkalieren(QTextBlockFormat &f, double faktor)
{
    const auto laenge = [&](QTextFormat::Property p) {
        if (f.hasProperty(p))
            f.setProperty(p, f.doubleProperty(p) * faktor);
    };
    laenge(QTextFormat::BlockLeftMargin);
    laenge(QTextFormat::BlockRightMargin);
    laenge(QTextFormat::BlockTopMargin);
    laenge(QTextFormat::BlockBottomMargin);
    laenge(QTextFormat::TextIndent);
    // Proportional line spacing is a percentage and stays; the others are lengths.
    if (f.hasProperty(QTextFormat::LineHeight) &&
        f.lineHeightType() != QTextBlockFormat::SingleHeight &&
        f.lineHeightType() != QTextBlockFormat::ProportionalHeight)
        f.setLineHeight(f.lineHeight() * faktor, f.lineHeightType());
    if (f.hasProperty(QTextFormat::TabPositions)) {
        QList<QTextOption::Tab> tabs = f.tabPositions();
        for (QTextOption::Tab &t : tabs)
            t.position *= faktor;
        f.setTabPositions(tabs);
    }
}

struct Lauf
{
    int anfang;
    int laenge;
    QTextCharFormat format;
};

} // namespace

void skalieren(QTextDocument &doc, int alt, int neu)
{
    if (alt <= 0 || neu <= 0 || alt == neu)
        return;
    const double faktor = double(neu) / double(alt);

    // The formats are collected first: setting them may merge neighbouring fragments, which
    // would disturb an iteration over the fragments.
    std::vector<Lauf> laeufe;
    std::vector<std::pair<int, QTextBlockFormat>> absaetze;
    std::vector<std::pair<int, QTextCharFormat>> absatzZeichen;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextBlockFormat bf = b.blockFormat();
        absatzSkalieren(bf, faktor);
        absaetze.emplace_back(b.position(), bf);
        QTextCharFormat bcf = b.charFormat();
        zeichenSkalieren(bcf, faktor);
        absatzZeichen.emplace_back(b.position(), bcf);
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            if (!fr.isValid())
                continue;
            QTextCharFormat cf = fr.charFormat();
            zeichenSkalieren(cf, faktor);
            laeufe.push_back({fr.position(), fr.length(), cf});
        }
    }

    const bool rueckgaengig = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    QTextCursor c(&doc);
    c.beginEditBlock();
    for (const auto &[pos, bf] : absaetze) {
        c.setPosition(pos);
        c.setBlockFormat(bf);
    }
    for (const auto &[pos, cf] : absatzZeichen) {
        c.setPosition(pos);
        c.setBlockCharFormat(cf);
    }
    for (const Lauf &l : laeufe) {
        c.setPosition(l.anfang);
        c.setPosition(l.anfang + l.laenge, QTextCursor::KeepAnchor);
        c.setCharFormat(l.format);
    }
    c.endEditBlock();
    doc.setUndoRedoEnabled(rueckgaengig);
}

} // namespace TextZoom
