// The print dialog (see frmHilfeDrucken.h).
#include "frmHilfeDrucken.h"
#include "DruckerEinstellungen.h"
#include "Einstellungen.h"
#include "Mauszeiger.h"
#include "Meldung.h"
#include "Routinen.h"
#include "basDruckereigenschaften.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
const QString stamm = QStringLiteral("DruckerBeschreibung");
}

frmHilfeDrucken::frmHilfeDrucken(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHilfeDrucken"));
    setWindowTitle(QStringLiteral("Drucken"));
    setModal(true);
    resize(475, 278); // 7125 x 4170 twips at 15 twips per pixel

    fraAusdruck = new QGroupBox(QStringLiteral("Ausdruck"), this);
    comDrucker = new QComboBox(fraAusdruck);
    comDrucker->setObjectName(QStringLiteral("comDrucker"));
    cmdDruckeEinrichten = new QPushButton(QStringLiteral("&Eigenschaften ..."), fraAusdruck);
    comPapiergroesse = new QComboBox(fraAusdruck);
    comPapiergroesse->setObjectName(QStringLiteral("comPapiergröße"));
    comZufuhr = new QComboBox(fraAusdruck);
    comZufuhr->setObjectName(QStringLiteral("comZufuhr"));
    // Names for screen readers: the labels beside the lists are no buddies.
    comDrucker->setAccessibleName(QStringLiteral("Drucker"));
    comPapiergroesse->setAccessibleName(QStringLiteral("Papiergröße"));
    comZufuhr->setAccessibleName(QStringLiteral("Papierzufuhr"));
    cmdDruckeEinrichten->setAccessibleName(QStringLiteral("Eigenschaften des Druckers"));
    auto *raster = new QGridLayout(fraAusdruck);
    raster->addWidget(new QLabel(QStringLiteral("Drucker:"), fraAusdruck), 0, 0);
    raster->addWidget(comDrucker, 0, 1);
    raster->addWidget(cmdDruckeEinrichten, 0, 2);
    raster->addWidget(new QLabel(QStringLiteral("Papiergröße:"), fraAusdruck), 1, 0);
    raster->addWidget(comPapiergroesse, 1, 1);
    raster->addWidget(new QLabel(QStringLiteral("Papierzufuhr:"), fraAusdruck), 2, 0);
    raster->addWidget(comZufuhr, 2, 1);
    raster->setColumnStretch(1, 1);

    fraAuswahl = new QGroupBox(QStringLiteral("Auswahl"), this);
    auto *auswahl = new QVBoxLayout(fraAuswahl);
    const QString texte[4] = {
        QStringLiteral("&Markierung"), QStringLiteral("aktueller &Abschnitt \"xx\""),
        QStringLiteral("ganzes Thema \"xx\""), QStringLiteral("ganzes Kapitel \"xx\"")};
    for (int i = 0; i < 4; ++i) {
        opt[i] = new QRadioButton(texte[i], fraAuswahl);
        opt[i]->setObjectName(QStringLiteral("opt%1").arg(i));
        auswahl->addWidget(opt[i]);
    }
    opt[1]->setChecked(true);
    chkGrafik = new QCheckBox(QStringLiteral("Grafiken ebenfalls ausdrucken"), fraAuswahl);
    auswahl->addWidget(chkGrafik);
    // Also when the caller preselects an option: "Markierung" takes no pictures.
    for (QRadioButton *o : opt)
        connect(o, &QRadioButton::toggled, this, &frmHilfeDrucken::opt_Click);

    cmdDrucken = new QPushButton(QStringLiteral("&Drucken"), this);
    cmdDrucken->setDefault(true);
    cmdAbbruch = new QPushButton(QStringLiteral("Abbrechen"), this);
    cmdVorschau = new QPushButton(QStringLiteral("&Vorschau"), this);
    cmdVorschau->setObjectName(QStringLiteral("cmdVorschau"));
    cmdVorschau->setAutoDefault(false);
    auto *knoepfe = new QHBoxLayout;
    knoepfe->addWidget(cmdVorschau);
    knoepfe->addStretch(1);
    knoepfe->addWidget(cmdDrucken);
    knoepfe->addWidget(cmdAbbruch);

    lblKeinDrucker = new QLabel(QStringLiteral("Es ist kein Drucker eingerichtet."), this);
    lblKeinDrucker->setObjectName(QStringLiteral("lblKeinDrucker"));
    lblKeinDrucker->hide();

    auto *aussen = new QVBoxLayout(this);
    aussen->addWidget(fraAusdruck);
    aussen->addWidget(fraAuswahl);
    aussen->addWidget(lblKeinDrucker);
    aussen->addLayout(knoepfe);

    connect(comDrucker, &QComboBox::currentIndexChanged, this, &frmHilfeDrucken::comDrucker_Click);
    connect(cmdDruckeEinrichten, &QPushButton::clicked, this,
            &frmHilfeDrucken::cmdDruckeEinrichten_Click);
    connect(cmdDrucken, &QPushButton::clicked, this, &frmHilfeDrucken::cmdDrucken_Click);
    connect(cmdVorschau, &QPushButton::clicked, this, &frmHilfeDrucken::cmdVorschau_Click);
    connect(cmdAbbruch, &QPushButton::clicked, this, &frmHilfeDrucken::cmdAbbruch_Click);
    // Esc and the window's close button end the dialog like "Abbrechen".
    connect(this, &QDialog::rejected, this, [this] { mbOK = false; });
}

frmHilfeDrucken::~frmHilfeDrucken() = default;

void frmHilfeDrucken::showEvent(QShowEvent *e)
{
    // Centred in the work area with the size the layout gives the dialog (taller than its
    // design size), which it has by now.
    resize(size().expandedTo(minimumSizeHint()));
    if (const QScreen *s = screen()) {
        const QRect bereich = s->availableGeometry();
        const QSize rahmen = frameGeometry().size().expandedTo(size());
        const QPoint twips =
            FensterZentrierenPosition(QRect(QPoint(0, 0), bereich.size()), 15.0, 15.0,
                                      rahmen.width() * 15, rahmen.height() * 15);
        move(bereich.topLeft() + QPoint(twips.x() / 15, twips.y() / 15));
    }
    QDialog::showEvent(e);
}

bool frmHilfeDrucken::DatenEinlesen()
{
    DruckerEinstellungenLesen(stamm, comDrucker, comPapiergroesse, comZufuhr);
    druckerZustand();
    return true;
}

void frmHilfeDrucken::druckerZustand()
{
    const bool drucker = comDrucker->currentIndex() >= 0;
    cmdDrucken->setEnabled(drucker);
    cmdDruckeEinrichten->setEnabled(drucker);
    // The preview needs no printer: without one it shows A4 pages.
    cmdVorschau->setEnabled(bool(vorschau));
    lblKeinDrucker->setVisible(comDrucker->count() == 0);
}

int frmHilfeDrucken::umfang() const
{
    for (int i = 0; i < 4; ++i) {
        if (opt[i]->isChecked())
            return i;
    }
    return 1;
}

void frmHilfeDrucken::comDrucker_Click()
{
    MausZeiger(Zeiger::Sanduhr);
    repaint();
    DruckerSystem &system = aktivesDruckerSystem();
    system.folgeStandard();
    const DruckerInfo d = DruckerAnPosition(comDrucker);
    if (!d.Geraetename.isEmpty())
        system.setzeAktuellerDrucker(d.Geraetename);
    DruckerFaehigkeitenLesen(d, comZufuhr, comPapiergroesse);
    druckerZustand();
    MausZeiger(Zeiger::Normal);
}

void frmHilfeDrucken::opt_Click()
{
    chkGrafik->setEnabled(!opt[0]->isChecked());
    if (opt[0]->isChecked())
        chkGrafik->setChecked(false);
}

void frmHilfeDrucken::cmdDruckeEinrichten_Click()
{
    DruckerEigenschaftenZeigen(this, DruckerAnPosition(comDrucker));
}

void frmHilfeDrucken::cmdDrucken_Click()
{
    if (comDrucker->currentIndex() < 0)
        return; // nothing to print on (the button is disabled then)
    if (!DruckerEinstellungenSpeichern(stamm, comDrucker, comPapiergroesse, comZufuhr)) {
        // Printing goes on; only the choice is not kept for the next time.
        MsgBox(QStringLiteral("Die Druckerauswahl konnte nicht gespeichert werden (%1).")
                   .arg(QDir::toNativeSeparators(
                       einstellungsDatei(QLatin1String(EinstellungAnwendung)))),
               Meldung::Ausrufezeichen);
    }
    mbOK = true;
    hide();
    done(QDialog::Accepted);
}

void frmHilfeDrucken::cmdVorschau_Click()
{
    if (!vorschau)
        return;
    if (vorschau())
        cmdDrucken_Click();
}

void frmHilfeDrucken::cmdAbbruch_Click()
{
    mbOK = false;
    hide();
    done(QDialog::Rejected);
}
