// The live preview of a source folder: compiles it into a database in a temporary folder, opens
// the help window on that database in this process (no service on the session bus, so a help
// that the invoicing application has open is not disturbed), watches the sources and, a moment
// after each save, compiles again and shows the result in the open window at the section shown.
// A source error is shown in a line above the text and on the console; the window keeps the
// last good state. The temporary folder goes with the object.
#pragma once
#include "HilfeDatenbank.h"
#include "HilfeSitzung.h"
#include "VorschauUebersetzer.h"

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

class Vorschau : public QObject
{
    Q_OBJECT

public:
    // konsole gets the messages of every compile (nullptr: none).
    Vorschau(const QString &quellOrdner, std::FILE *konsole, QObject *parent = nullptr);
    ~Vorschau() override;

    // Compiles the sources and opens the help at nummer (empty: the first section of the chapter
    // file changed last). False, with the compile's messages on the console, when there is
    // nothing to show: the sources have errors or the window shows no section.
    bool starten(const QString &nummer);

    // How long a save waits for further saves (an editor may write a file in several steps)
    // before the sources are compiled again.
    static constexpr int Wartezeit = 60;

    HilfeSitzung &sitzung() { return m_sitzung; }
    QString datenbank() const { return m_datenbank.datei(); }

signals:
    // A compile after a change ended: geschrieben when the window shows the new state.
    void aktualisiert(bool geschrieben);

private:
    void geaendert();
    void uebersetzen();
    void beobachten();
    bool melden(const VorschauUebersetzer::Lauf &lauf);

    QString m_ordner;
    std::FILE *m_konsole;
    QTemporaryDir m_temp;
    HilfeDatenbank m_datenbank;
    HilfeSitzung m_sitzung;
    VorschauUebersetzer m_uebersetzer;
    QFileSystemWatcher m_waechter;
    QTimer m_verzoegerung;
};
