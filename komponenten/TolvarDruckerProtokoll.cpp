// The recording printer control (see TolvarDruckerProtokoll.h).
#include "TolvarDruckerProtokoll.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

TolvarDruckerProtokoll::TolvarDruckerProtokoll(QObject *parent)
    : TolvarDrucker(parent), m_flaeche(1, 1, QImage::Format_ARGB32)
{
    m_flaeche.setDotsPerMeterX(23622); // 600 dpi
    m_flaeche.setDotsPerMeterY(23622);
}

TolvarDruckerProtokoll::~TolvarDruckerProtokoll() = default;

QList<TolvarDruckerProtokoll::Eintrag> TolvarDruckerProtokoll::eintraege(Art art) const
{
    QList<Eintrag> r;
    for (const Eintrag &e : m_eintraege) {
        if (e.art == art)
            r.append(e);
    }
    return r;
}

QList<TolvarDruckerProtokoll::Eintrag> TolvarDruckerProtokoll::aufSeite(int seite) const
{
    QList<Eintrag> r;
    for (const Eintrag &e : m_eintraege) {
        if (e.seite == seite && e.art != Art::Seitenwechsel)
            r.append(e);
    }
    return r;
}

int TolvarDruckerProtokoll::seitenAnzahl() const
{
    int n = 0;
    for (const Eintrag &e : m_eintraege)
        n = std::max(n, e.seite);
    return n;
}

QPaintDevice *TolvarDruckerProtokoll::metrikGeraet() const
{
    return const_cast<QImage *>(&m_flaeche);
}

void TolvarDruckerProtokoll::aufzeichnen(Art art, const QRectF &mm, const QString &text,
                                         const QFont *f)
{
    Eintrag e{art, Seitennummer(), mm, text, 0, false};
    if (f) {
        e.groesse = f->pointSizeF();
        e.fett = f->bold();
    }
    m_eintraege.append(e);
}

bool TolvarDruckerProtokoll::geraetOeffnen()
{
    if (!startErlaubt)
        return false;
    m_eintraege.clear();
    return true;
}

bool TolvarDruckerProtokoll::geraetSchliessen(bool abbrechen)
{
    aufzeichnen(abbrechen ? Art::Abbruch : Art::Ende, QRectF());
    if (abbrechen)
        return false;
    if (!endeFehler.isEmpty()) {
        fehlerSetzen(endeFehler);
        return false;
    }
    return true;
}

bool TolvarDruckerProtokoll::seiteWechseln()
{
    aufzeichnen(Art::Seitenwechsel, QRectF());
    return true;
}

void TolvarDruckerProtokoll::textZeichnen(const QPointF &obenLinksMm, const QString &text,
                                          const QFont &f)
{
    const QFontMetricsF fm(f, &m_flaeche);
    const double k = mmZuGeraet();
    aufzeichnen(Art::Text,
                QRectF(obenLinksMm, QSizeF(fm.horizontalAdvance(text) / k, fm.lineSpacing() / k)),
                text, &f);
}

void TolvarDruckerProtokoll::linieZeichnen(const QLineF &mm)
{
    aufzeichnen(Art::Linie, QRectF(mm.p1(), mm.p2()));
}

void TolvarDruckerProtokoll::rahmenZeichnen(const QRectF &mm)
{
    aufzeichnen(Art::Rahmen, mm);
}

void TolvarDruckerProtokoll::bildZeichnen(const QImage &bild, const QRectF &mm)
{
    aufzeichnen(Art::Bild, mm,
                QStringLiteral("%1x%2").arg(bild.width()).arg(bild.height()));
}

void TolvarDruckerProtokoll::rtfAusschnittZeichnen(QTextDocument &doc, const QPointF &zielMm,
                                                   double dokOben, double dokUnten)
{
    // The plain text of the lines whose top lies in the band, one line per text line.
    QStringList zeilen;
    QAbstractTextDocumentLayout *layout = doc.documentLayout();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextLayout *tl = b.layout();
        if (!tl)
            continue;
        const double basis = layout->blockBoundingRect(b).top() - tl->boundingRect().top();
        for (int i = 0; i < tl->lineCount(); ++i) {
            const QTextLine line = tl->lineAt(i);
            const double oben = basis + line.y();
            if (oben >= dokOben - 0.01 && oben < dokUnten - 0.01 && line.textLength() > 0)
                zeilen << b.text().mid(line.textStart(), line.textLength());
        }
    }
    const double k = mmZuGeraet();
    aufzeichnen(Art::Rtf,
                QRectF(zielMm, QSizeF(doc.textWidth() / k, (dokUnten - dokOben) / k)),
                zeilen.join(QLatin1Char('\n')));
}
