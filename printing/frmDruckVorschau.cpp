// The print preview (see frmDruckVorschau.h).
#include "frmDruckVorschau.h"
#include "Global.h"
#include "VorschauDrucker.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QPushButton *knopf(const QString &text, const QString &name, QWidget *eltern)
{
    auto *k = new QPushButton(text, eltern);
    k->setObjectName(name);
    k->setAutoDefault(false);
    return k;
}

} // namespace

frmDruckVorschau::frmDruckVorschau(const DruckAuftrag &auftrag, QWidget *parent)
    : QDialog(parent), m_auftrag(auftrag)
{
    setObjectName(QStringLiteral("frmDruckVorschau"));
    setWindowTitle(QStringLiteral("Druckvorschau"));
    setModal(true);
    // The pages are laid out at a printer's resolution, so that they break where the job on
    // the printer breaks. The preview only records them: nothing reaches a queue or a file.
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setDocName(QStringLiteral("Tolvar Belna - Beschreibung"));

    vorschau = new QPrintPreviewWidget(m_printer.get(), this);
    vorschau->setObjectName(QStringLiteral("vorschau"));
    connect(vorschau, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter *p) { seitenZeichnen(p, m_grenze); });
    connect(vorschau, &QPrintPreviewWidget::previewChanged, this,
            &frmDruckVorschau::anzeigeAktualisieren);

    cmdErste = knopf(QStringLiteral("Erste Seite"), QStringLiteral("cmdErste"), this);
    cmdVorige = knopf(QStringLiteral("Vorige Seite"), QStringLiteral("cmdVorige"), this);
    txtSeite = new QSpinBox(this);
    txtSeite->setObjectName(QStringLiteral("txtSeite"));
    txtSeite->setAccessibleName(QStringLiteral("Seite"));
    txtSeite->setKeyboardTracking(false);
    txtSeite->setRange(1, 1);
    lblSeiten = new QLabel(this);
    lblSeiten->setObjectName(QStringLiteral("lblSeiten"));
    // Room for the longest count, so the row does not cut it once the job is laid out.
    lblSeiten->setMinimumWidth(
        lblSeiten->fontMetrics().horizontalAdvance(QStringLiteral("von 99999")));
    cmdNaechste = knopf(QStringLiteral("Nächste Seite"), QStringLiteral("cmdNaechste"), this);
    cmdLetzte = knopf(QStringLiteral("Letzte Seite"), QStringLiteral("cmdLetzte"), this);
    cmdKleiner = knopf(QStringLiteral("Verkleinern"), QStringLiteral("cmdKleiner"), this);
    cmdGroesser = knopf(QStringLiteral("Vergrößern"), QStringLiteral("cmdGroesser"), this);
    cmdSeitenbreite =
        knopf(QStringLiteral("Seitenbreite"), QStringLiteral("cmdSeitenbreite"), this);
    cmdGanzeSeite = knopf(QStringLiteral("Ganze Seite"), QStringLiteral("cmdGanzeSeite"), this);
    lblZoom = new QLabel(this);
    lblZoom->setObjectName(QStringLiteral("lblZoom"));
    cmdDrucken = new QPushButton(QStringLiteral("&Drucken"), this);
    cmdDrucken->setObjectName(QStringLiteral("cmdDrucken"));
    // Without a printer the preview only shows the pages.
    cmdDrucken->setEnabled(!auftrag.msDruckerName.isEmpty());
    cmdSchliessen = new QPushButton(QStringLiteral("S&chließen"), this);
    cmdSchliessen->setObjectName(QStringLiteral("cmdSchliessen"));
    cmdSchliessen->setDefault(true);

    auto *leiste = new QHBoxLayout;
    leiste->addWidget(cmdErste);
    leiste->addWidget(cmdVorige);
    leiste->addWidget(new QLabel(QStringLiteral("Seite"), this));
    leiste->addWidget(txtSeite);
    leiste->addWidget(lblSeiten);
    leiste->addWidget(cmdNaechste);
    leiste->addWidget(cmdLetzte);
    leiste->addSpacing(12);
    leiste->addWidget(cmdKleiner);
    leiste->addWidget(cmdGroesser);
    leiste->addWidget(lblZoom);
    leiste->addWidget(cmdSeitenbreite);
    leiste->addWidget(cmdGanzeSeite);
    leiste->addStretch(1);
    auto *knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(cmdDrucken);
    knoepfe->addWidget(cmdSchliessen);
    auto *aussen = new QVBoxLayout(this);
    aussen->addLayout(leiste);
    aussen->addWidget(vorschau, 1);
    aussen->addLayout(knoepfe);

    const auto gehe = [this](int seite) {
        vorschau->setCurrentPage(seite);
        anzeigeAktualisieren();
    };
    connect(cmdErste, &QPushButton::clicked, this, [gehe] { gehe(1); });
    connect(cmdVorige, &QPushButton::clicked, this,
            [this, gehe] { gehe(vorschau->currentPage() - 1); });
    connect(cmdNaechste, &QPushButton::clicked, this,
            [this, gehe] { gehe(vorschau->currentPage() + 1); });
    connect(cmdLetzte, &QPushButton::clicked, this, [this, gehe] { gehe(vorschau->pageCount()); });
    connect(txtSeite, &QSpinBox::valueChanged, this, [this, gehe](int s) {
        if (s != vorschau->currentPage())
            gehe(s);
    });
    connect(cmdKleiner, &QPushButton::clicked, this, [this] {
        vorschau->zoomOut();
        anzeigeAktualisieren();
    });
    connect(cmdGroesser, &QPushButton::clicked, this, [this] {
        vorschau->zoomIn();
        anzeigeAktualisieren();
    });
    connect(cmdSeitenbreite, &QPushButton::clicked, this, [this] {
        vorschau->fitToWidth();
        anzeigeAktualisieren();
    });
    connect(cmdGanzeSeite, &QPushButton::clicked, this, [this] {
        vorschau->fitInView();
        anzeigeAktualisieren();
    });
    connect(cmdDrucken, &QPushButton::clicked, this, [this] {
        mbDrucken = true;
        accept();
    });
    connect(cmdSchliessen, &QPushButton::clicked, this, &QDialog::reject);

    vorschau->fitInView();
    if (const QScreen *s = screen()) {
        const QSize bereich = s->availableGeometry().size();
        resize(std::min(820, bereich.width()), std::min(960, bereich.height() * 9 / 10));
    } else {
        resize(820, 900);
    }
    anzeigeAktualisieren();
}

frmDruckVorschau::~frmDruckVorschau() = default;

int frmDruckVorschau::seitenAnzahl() const
{
    return vorschau->pageCount();
}

Beschreibungsdruck::Ergebnis frmDruckVorschau::seitenZeichnen(QPrinter *printer, int grenze)
{
    m_fehler.clear();
    VorschauDrucker dru(printer);
    dru.seitenGrenze = grenze;
    Beschreibungsdruck druck(dru, gsSchriftName, giSchriftGroesse);
    druck.abbruchGewuenscht = [&dru] { return dru.gekappt(); };
    if (!m_inhalt) {
        DruckInhalt inhalt;
        if (!druck.InhaltSammeln(m_auftrag, inhalt)) {
            m_fehler = QStringLiteral("Der Inhalt konnte nicht gelesen werden.");
            return Beschreibungsdruck::Ergebnis::LesenFehlgeschlagen;
        }
        m_inhalt = std::move(inhalt);
    }
    // The print-out releases what it has drawn; the collected content stays for the next run.
    DruckInhalt inhalt = *m_inhalt;
    DruckAuftrag a = m_auftrag;
    a.PdfDatei.clear();
    const Beschreibungsdruck::Ergebnis e = druck.InhaltDrucken(a, inhalt);
    if (printer == m_printer.get())
        m_vollstaendig = e == Beschreibungsdruck::Ergebnis::Gedruckt;
    if (e != Beschreibungsdruck::Ergebnis::Gedruckt && !dru.gekappt())
        m_fehler = druck.fehler();
    return e;
}

void frmDruckVorschau::ganzerAuftrag()
{
    if (m_vollstaendig && m_grenze == 0)
        return;
    m_grenze = 0;
    const int seite = vorschau->currentPage();
    vorschau->updatePreview();
    vorschau->setCurrentPage(seite);
    anzeigeAktualisieren();
}

void frmDruckVorschau::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (m_ganzGeplant)
        return;
    m_ganzGeplant = true;
    // The first page is laid out with the dialog's first showing; once it is on the screen,
    // the rest of the job follows.
    QTimer::singleShot(0, this, [this] {
        if (m_vollstaendig)
            return;
        repaint();
        ganzerAuftrag();
    });
}

void frmDruckVorschau::anzeigeAktualisieren()
{
    const int n = std::max(1, vorschau->pageCount());
    const int aktuell = std::clamp(vorschau->currentPage(), 1, n);
    {
        const QSignalBlocker sperre(txtSeite);
        txtSeite->setRange(1, n);
        txtSeite->setValue(aktuell);
    }
    lblSeiten->setText(m_vollstaendig ? QStringLiteral("von %1").arg(vorschau->pageCount())
                                      : QStringLiteral("von …"));
    cmdErste->setEnabled(aktuell > 1);
    cmdVorige->setEnabled(aktuell > 1);
    cmdNaechste->setEnabled(aktuell < n);
    cmdLetzte->setEnabled(aktuell < n);
    lblZoom->setText(QStringLiteral("%1 %").arg(qRound(vorschau->zoomFactor() * 100)));
}
