// Qt message boxes (see QtMeldungsanzeige.h).
#include "QtMeldungsanzeige.h"

#include <QMessageBox>
#include <QPushButton>

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
        box.exec();
        return box.clickedButton() == wiederholen ? Meldung::Wiederholen : Meldung::Abbrechen;
    }
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return Meldung::Ok;
}
