// See Farbschema.h.
#include "Farbschema.h"

#include "TextFarben.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace Farbschema {

namespace {

// The Fusion style draws the frames of check boxes, option buttons, push buttons and input
// fields a shade darker than the window: on a dark or black window they vanish, and an
// unchecked box cannot be seen. This style draws them once more: boxes and circles in the text
// colour, the frames of buttons and fields in the placeholder colour; both have 4.5:1 on the
// window in both palettes.
class SchemaStil : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *p,
                       const QWidget *widget) const override
    {
        QProxyStyle::drawPrimitive(element, option, p, widget);
        const bool kreis = element == PE_IndicatorRadioButton;
        if (!kreis && element != PE_IndicatorCheckBox && element != PE_PanelButtonCommand &&
            element != PE_FrameLineEdit)
            return;
        p->save();
        p->setRenderHint(QPainter::Antialiasing, kreis);
        // A box or circle, thin and round, in the text colour; the larger frames fainter.
        const bool anzeiger = kreis || element == PE_IndicatorCheckBox;
        p->setPen(QPen(
            option->palette.color(anzeiger ? QPalette::WindowText : QPalette::PlaceholderText), 1));
        p->setBrush(Qt::NoBrush);
        const QRectF r = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
        if (kreis)
            p->drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
        else
            p->drawRect(r);
        p->restore();
    }
};

} // namespace

QPalette dunkel()
{
    QPalette p;
    const QColor fenster(0x2B, 0x2B, 0x2B);
    const QColor text(0xE8, 0xE8, 0xE8);
    p.setColor(QPalette::Window, fenster);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    p.setColor(QPalette::AlternateBase, QColor(0x33, 0x33, 0x33));
    p.setColor(QPalette::ToolTipBase, QColor(0x3A, 0x3A, 0x3A));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(0xA0, 0xA0, 0xA0));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0x3A, 0x3A, 0x3A));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, QColor(0xFF, 0x80, 0x80));
    p.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
    p.setColor(QPalette::Midlight, QColor(0x44, 0x44, 0x44));
    p.setColor(QPalette::Mid, QColor(0x30, 0x30, 0x30));
    p.setColor(QPalette::Dark, QColor(0x18, 0x18, 0x18));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, QColor(0x3D, 0x8E, 0xE6));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::Link, QColor(0x8A, 0xB8, 0xFF));
    p.setColor(QPalette::LinkVisited, QColor(0xC8, 0x9C, 0xFF));
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, r, QColor(0x80, 0x80, 0x80));
    return p;
}

QPalette kontrast()
{
    QPalette p;
    for (QPalette::ColorRole r :
         {QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button,
          QPalette::ToolTipBase, QPalette::Mid, QPalette::Dark, QPalette::Shadow})
        p.setColor(r, Qt::black);
    for (QPalette::ColorRole r :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText,
          QPalette::BrightText, QPalette::Light, QPalette::Midlight})
        p.setColor(r, Qt::white);
    p.setColor(QPalette::PlaceholderText, QColor(0xC0, 0xC0, 0xC0));
    p.setColor(QPalette::Highlight, QColor(0xFF, 0xFF, 0x00));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::Link, QColor(0x00, 0xFF, 0xFF));
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, r, QColor(0x9A, 0x9A, 0x9A));
    return p;
}

void anwenden()
{
    static bool angewendet = false;
    if (angewendet || !qApp)
        return;
    angewendet = true;
    const QByteArray wunsch = qgetenv(Variable).trimmed().toLower();
    if (wunsch != "dunkel" && wunsch != "kontrast")
        return;
    QApplication::setStyle(new SchemaStil(QStyleFactory::create(QStringLiteral("Fusion"))));
    QApplication::setPalette(wunsch == "dunkel" ? dunkel() : kontrast());
}

bool dunkelAktiv()
{
    return TextFarben::kontrast(Qt::white, QApplication::palette().color(QPalette::Window)) >
           TextFarben::kontrast(Qt::black, QApplication::palette().color(QPalette::Window));
}

QColor flaeche(const QColor &entwurf)
{
    return dunkelAktiv() ? QApplication::palette().color(QPalette::Button) : entwurf;
}

QColor textFarbeAuf(const QColor &grund, const QColor &text)
{
    if (TextFarben::kontrast(text, grund) >= TextFarben::MindestKontrast)
        return text;
    return TextFarben::kontrast(Qt::black, grund) >= TextFarben::kontrast(Qt::white, grund)
               ? QColor(Qt::black)
               : QColor(Qt::white);
}

} // namespace Farbschema
