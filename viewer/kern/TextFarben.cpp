// See TextFarben.h.
#include "TextFarben.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <vector>

namespace TextFarben {

namespace {

// Marks a run whose colour was adapted; the value is the stored foreground (an invalid
// QBrush when the run had none).
constexpr int OriginalFarbe = QTextFormat::UserProperty + 0x54;

double kanal(double c)
{
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double leuchtdichte(const QColor &c)
{
    const QColor r = c.toRgb();
    return 0.2126 * kanal(r.redF()) + 0.7152 * kanal(r.greenF()) + 0.0722 * kanal(r.blueF());
}

// A ground on which white reads better than black.
bool dunkel(const QColor &grund)
{
    return leuchtdichte(grund) < 0.18;
}

struct Lauf
{
    int anfang;
    int laenge;
    QTextCharFormat format;
};

template <typename F> void laeufeAendern(QTextDocument &doc, F aendern)
{
    std::vector<Lauf> laeufe;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            QTextCharFormat f = fr.charFormat();
            if (aendern(f))
                laeufe.push_back({fr.position(), fr.length(), f});
        }
    }
    if (laeufe.empty())
        return;
    const bool rueckgaengig = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    QTextCursor c(&doc);
    c.beginEditBlock();
    for (const Lauf &l : laeufe) {
        c.setPosition(l.anfang);
        c.setPosition(l.anfang + l.laenge, QTextCursor::KeepAnchor);
        c.setCharFormat(l.format);
    }
    c.endEditBlock();
    doc.setUndoRedoEnabled(rueckgaengig);
}

} // namespace

double kontrast(const QColor &a, const QColor &b)
{
    const double la = leuchtdichte(a);
    const double lb = leuchtdichte(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor lesbar(const QColor &farbe, const QColor &grund, double mindestens)
{
    if (kontrast(farbe, grund) >= mindestens)
        return farbe;
    // Lighter on a dark ground, darker on a light one, in small steps of HSL lightness.
    const bool heller = dunkel(grund);
    const QColor hsl = farbe.toHsl();
    const float h = hsl.hslHueF();
    const float s = hsl.hslSaturationF();
    float l = hsl.lightnessF();
    for (int i = 0; i < 100; ++i) {
        l = std::clamp(l + (heller ? 0.01f : -0.01f), 0.0f, 1.0f);
        const QColor kandidat = QColor::fromHslF(h, s, l).toRgb();
        if (kontrast(kandidat, grund) >= mindestens)
            return kandidat;
    }
    return heller ? QColor(Qt::white) : QColor(Qt::black);
}

int anpassen(QTextDocument &doc, const QColor &seite, const QColor &text)
{
    // The stored colours were chosen for a white page: on a light page they are the author's
    // and shown as stored, whatever their contrast. Only a dark page (a dark or high-contrast
    // palette) makes them unreadable.
    if (!dunkel(seite))
        return 0;
    int geaendert = 0;
    laeufeAendern(doc, [&](QTextCharFormat &f) {
        if (f.hasProperty(OriginalFarbe))
            return false; // adapted already
        const bool eigeneFarbe =
            f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush;
        const bool eigenerGrund =
            f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush;
        if (!eigeneFarbe && !eigenerGrund)
            return false; // drawn in the palette's own colours
        const QColor vorne = eigeneFarbe ? f.foreground().color() : text;
        const QColor hinten = eigenerGrund ? f.background().color() : seite;
        const QColor neu = lesbar(vorne, hinten);
        if (neu == vorne)
            return false;
        f.setProperty(OriginalFarbe, eigeneFarbe ? f.foreground() : QBrush());
        f.setForeground(neu);
        ++geaendert;
        return true;
    });
    return geaendert;
}

void zuruecksetzen(QTextDocument &doc)
{
    laeufeAendern(doc, [](QTextCharFormat &f) {
        if (!f.hasProperty(OriginalFarbe))
            return false;
        const QBrush alt = f.brushProperty(OriginalFarbe);
        if (alt.style() == Qt::NoBrush)
            f.clearForeground();
        else
            f.setForeground(alt);
        f.clearProperty(OriginalFarbe);
        return true;
    });
}

} // namespace TextFarben
