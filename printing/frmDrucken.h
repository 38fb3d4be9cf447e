// The print progress window: shows what is printed, on which printer and a status line, and
// runs the print-out of the window handed to it (its BeschreibungDrucken, looked up by name)
// when it becomes active, then closes itself. "Abbrechen" asks the running print-out to stop;
// the print-out sees the request between parts and pages and aborts the job. Esc and closing
// the window while it prints are the same as "Abbrechen"; the window stays until the print-out
// has ended, and once cancelled its status line keeps saying so. The print-out
// runs once per window, however often the window is activated while it prints.
#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;

class frmDrucken : public QDialog
{
    Q_OBJECT

public:
    explicit frmDrucken(QWidget *parent = nullptr);
    ~frmDrucken() override;

    QString msDrucker;
    bool mbAbbrechen = false;
    void setBezeichnung(const QString &text) { m_bezeichnung = text; }
    void setTextAnzeige(const QString &text) { m_textAnzeige = text; }
    // The window that prints: it must offer an invokable BeschreibungDrucken().
    QObject *Fenster() const { return m_fenster; }
    void setFenster(QObject *fenster) { m_fenster = fenster; }
    // Shows the window modally; returns when the print-out has ended and the window closed.
    void Drucken(const QString &DialogTitel);

    // For the print-out: the status line (repainted at once, and the click on "Abbrechen"
    // is taken in), and whether cancelling was asked for.
    void setzeStatus(const QString &text);
    bool abbruchGewuenscht();

    QLabel *lblText = nullptr;
    QLabel *lblDrucker = nullptr;
    QLabel *lblStatus = nullptr;
    QPushButton *cmdAbbruch = nullptr;

    // The progress window that is printing now, if any.
    static frmDrucken *aktiv();

    void reject() override;

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void Form_Activate();
    void cmdAbbruch_Click();

    QString m_bezeichnung;
    QString m_textAnzeige;
    QPointer<QObject> m_fenster;
    bool m_gestartet = false;
    bool m_laeuft = false;
};
