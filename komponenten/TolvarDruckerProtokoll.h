// A printer control for tests: records every output (kind, page, rectangle in mm, text, font
// size and weight) instead of printing. Cursor, metrics and page breaking are those of
// TolvarDrucker; the metrics come from a 600-dpi image surface, the page size from
// Papierformat (A4 by default). DruckStarten and the end of the job can be told to fail.
#pragma once

#include "TolvarDrucker.h"

#include <QList>

class TolvarDruckerProtokoll : public TolvarDrucker
{
    Q_OBJECT

public:
    enum class Art { Text, Linie, Rahmen, Bild, Rtf, Seitenwechsel, Ende, Abbruch };
    struct Eintrag
    {
        Art art;
        int seite = 0;
        QRectF mm;      // Text/Rtf/Bild/Rahmen: the box; Linie: from topLeft to bottomRight
        QString text;   // Text: the text; Rtf: the non-empty lines drawn, by \n; Bild: WxH
        double groesse = 0;
        bool fett = false;
    };

    explicit TolvarDruckerProtokoll(QObject *parent = nullptr);
    ~TolvarDruckerProtokoll() override;

    bool startErlaubt = true;
    // Not empty: the finished job does not reach its target, for this reason.
    QString endeFehler;
    const QList<Eintrag> &eintraege() const { return m_eintraege; }
    QList<Eintrag> eintraege(Art art) const;
    QList<Eintrag> aufSeite(int seite) const;
    int seitenAnzahl() const;

protected:
    bool geraetOeffnen() override;
    bool geraetSchliessen(bool abbrechen) override;
    bool seiteWechseln() override;
    void textZeichnen(const QPointF &obenLinksMm, const QString &text, const QFont &f) override;
    void linieZeichnen(const QLineF &mm) override;
    void rahmenZeichnen(const QRectF &mm) override;
    void bildZeichnen(const QImage &bild, const QRectF &mm) override;
    void rtfAusschnittZeichnen(QTextDocument &doc, const QPointF &zielMm, double dokOben,
                               double dokUnten) override;
    QPaintDevice *metrikGeraet() const override;

private:
    void aufzeichnen(Art art, const QRectF &mm, const QString &text = QString(),
                     const QFont *f = nullptr);

    QList<Eintrag> m_eintraege;
    QImage m_flaeche;
};
