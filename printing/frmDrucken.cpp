// The print progress window (see frmDrucken.h).
#include "frmDrucken.h"
#include "Arbeitsbereich.h"
#include "DruckerEinstellungen.h"
#include "Einstellungen.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QPointer<frmDrucken> g_aktiv;
}

frmDrucken *frmDrucken::aktiv()
{
    return g_aktiv;
}

frmDrucken::frmDrucken(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDrucken"));
    setWindowTitle(QStringLiteral("Tolvar-Belna druckt"));
    setModal(true);
    // 4575 x 1905 twips inside the border, at the screen's twips per pixel.
    resize(qRound(twipsZuPixelX(4575)), qRound(twipsZuPixelY(1905)));
    lblText = new QLabel(QStringLiteral("Text"), this);
    QFont fett = lblText->font();
    fett.setBold(true);
    fett.setPointSizeF(9.75);
    lblText->setFont(fett);
    lblDrucker = new QLabel(QStringLiteral("Drucker"), this);
    lblStatus = new QLabel(QStringLiteral("Status"), this);
    for (QLabel *l : {lblText, lblDrucker, lblStatus})
        l->setAlignment(Qt::AlignCenter);
    cmdAbbruch = new QPushButton(QStringLiteral("Abbrechen"), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblText);
    layout->addWidget(lblDrucker);
    layout->addWidget(lblStatus);
    layout->addWidget(cmdAbbruch, 0, Qt::AlignHCenter);
    connect(cmdAbbruch, &QPushButton::clicked, this, &frmDrucken::cmdAbbruch_Click);
    move(qRound(twipsZuPixelX(1000)), qRound(twipsZuPixelY(1000)));
}

frmDrucken::~frmDrucken() = default;

void frmDrucken::Drucken(const QString &)
{
    exec();
}

bool frmDrucken::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) {
        // Started from the event loop of the modal window, once.
        if (!m_gestartet) {
            m_gestartet = true;
            QTimer::singleShot(0, this, &frmDrucken::Form_Activate);
        }
    }
    return QDialog::event(e);
}

void frmDrucken::closeEvent(QCloseEvent *e)
{
    if (m_laeuft) {
        // Closing while printing is a cancel request; the window goes when the print ends.
        cmdAbbruch_Click();
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

void frmDrucken::reject()
{
    // Esc: while printing it cancels (the print-out goes on to its end and closes the window).
    if (m_laeuft) {
        cmdAbbruch_Click();
        return;
    }
    QDialog::reject();
}

void frmDrucken::Form_Activate()
{
    QString p = EinstellungLesen(QLatin1String(EinstellungAnwendung),
                                 QLatin1String(EinstellungAbschnitt),
                                 QStringLiteral("Drucker DeviceName"));
    if (p.isEmpty())
        p = aktivesDruckerSystem().aktuellerDrucker();
    if (!msDrucker.isEmpty())
        p = msDrucker;
    lblDrucker->setText(p);
    lblText->setText(m_textAnzeige.isEmpty() ? m_bezeichnung : m_textAnzeige);
    lblStatus->setText(QStringLiteral("Seite 1"));
    repaint();
    m_laeuft = true;
    g_aktiv = this;
    if (m_fenster)
        QMetaObject::invokeMethod(m_fenster, "BeschreibungDrucken", Qt::DirectConnection);
    g_aktiv = nullptr;
    m_laeuft = false;
    accept();
}

void frmDrucken::setzeStatus(const QString &text)
{
    // After "Abbrechen" the line keeps saying so until the print-out has stopped.
    if (!mbAbbrechen)
        lblStatus->setText(text);
    repaint();
    QCoreApplication::processEvents();
}

bool frmDrucken::abbruchGewuenscht()
{
    QCoreApplication::processEvents();
    return mbAbbrechen;
}

void frmDrucken::cmdAbbruch_Click()
{
    mbAbbrechen = true;
    lblStatus->setText(QStringLiteral("Druck wird abgebrochen"));
}
