// Qt message boxes (see QtMeldungsanzeige.h).
#include "QtMeldungsanzeige.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QStyle>

namespace {

// A box sizes itself by its text and buttons only: with a short text ("OpenPrinter Failed!")
// the window manager cuts its title. An empty row as wide as the title, plus room for the
// title bar's icon and buttons, keeps the whole title readable.
void titelbreiteSichern(QMessageBox &box, const QString &titel)
{
    auto *raster = qobject_cast<QGridLayout *>(box.layout());
    if (!raster || titel.isEmpty())
        return;
    QFont schrift = box.font();
    schrift.setBold(true); // title bars commonly use a bold face
    const int leiste = box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    const int breite = QFontMetrics(schrift).horizontalAdvance(titel) + 4 * std::max(leiste, 16);
    raster->addItem(new QSpacerItem(breite, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                    raster->rowCount(), 0, 1, raster->columnCount());
}

} // namespace

int QtMeldungsanzeige::zeigen(const QString &text, int stil, const QString &titel)
{
    QMessageBox box;
    box.setWindowTitle(titel);
    box.setText(text);
    switch (meldungSymbol(stil)) {
    case Meldung::Stopp:
        box.setIcon(QMessageBox::Critical);
        break;
    case Meldung::Ausrufezeichen:
        box.setIcon(QMessageBox::Warning);
        break;
    case Meldung::Information:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    if (meldungKnoepfe(stil) == Meldung::WiederholenAbbrechen) {
        QPushButton *wiederholen =
            box.addButton(QStringLiteral("Wiederholen"), QMessageBox::AcceptRole);
        QPushButton *abbrechen =
            box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
        box.setDefaultButton(wiederholen);
        box.setEscapeButton(abbrechen);
        titelbreiteSichern(box, titel);
        box.exec();
        return box.clickedButton() == wiederholen ? Meldung::Wiederholen : Meldung::Abbrechen;
    }
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    titelbreiteSichern(box, titel);
    box.exec();
    return Meldung::Ok;
}
