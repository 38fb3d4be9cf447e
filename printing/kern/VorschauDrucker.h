// A printer control that draws the print-out onto a printer it is handed, such as the
// QPrinter of a print preview, instead of writing a PDF and handing it to a queue. It only
// opens that printer as TolvarDrucker's surface: drawing, page breaking, metrics and cursor
// are TolvarDrucker's own, so the pages are those the job on the printer gets: the page size
// is the one the chosen printer and paper give, the metrics those of a high-resolution
// printer (the preview's printer must be a QPrinter::HighResolution one).
//
// seitenGrenze > 0 stops drawing behind that page: further pages are not begun and every
// further output is dropped, and gekappt() turns true, so that the print-out can be asked to
// stop there (a preview that shows its first page before the whole job is laid out).
#pragma once

#include "TolvarDrucker.h"

#include <memory>

class QPainter;
class QPrinter;

class VorschauDrucker : public TolvarDrucker
{
    Q_OBJECT

public:
    explicit VorschauDrucker(QPrinter *ziel, QObject *parent = nullptr);
    ~VorschauDrucker() override;

    int seitenGrenze = 0;
    bool gekappt() const { return m_gekappt; }
    // Pages begun on the target printer.
    int seitenGezeichnet() const { return m_gezeichnet; }

protected:
    bool geraetOeffnen() override;
    bool geraetSchliessen(bool abbrechen) override;
    bool seiteWechseln() override;

private:
    QPrinter *m_ziel;
    std::unique_ptr<QPainter> m_painter;
    bool m_gekappt = false;
    int m_gezeichnet = 0;
};
