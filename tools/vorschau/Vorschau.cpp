// The live preview; see Vorschau.h.
#include "Vorschau.h"

#include "Global.h"
#include "HilfeDokument.h"
#include "frmHilfe.h"
#include "frmInhalt.h"

#include <QDir>
#include <QDirIterator>
#include <QScrollBar>
#include <QTextEdit>

namespace {

QString temporaererOrdner()
{
    return QDir(QDir::tempPath()).filePath(QStringLiteral("tolvar-vorschau-XXXXXX"));
}

} // namespace

Vorschau::Vorschau(const QString &quellOrdner, std::FILE *konsole, QObject *parent)
    : QObject(parent), m_ordner(QDir(quellOrdner).absolutePath()), m_konsole(konsole),
      m_temp(temporaererOrdner()), m_datenbank(m_temp.filePath(QStringLiteral("HilfeBelna.mdb")),
                                               QString::fromLatin1(HilfePasswort)),
      m_sitzung(m_datenbank), m_uebersetzer(m_ordner, m_datenbank.datei())
{
    m_verzoegerung.setSingleShot(true);
    m_verzoegerung.setInterval(Wartezeit);
    connect(&m_verzoegerung, &QTimer::timeout, this, &Vorschau::uebersetzen);
    connect(&m_waechter, &QFileSystemWatcher::fileChanged, this, &Vorschau::geaendert);
    connect(&m_waechter, &QFileSystemWatcher::directoryChanged, this, &Vorschau::geaendert);
}

Vorschau::~Vorschau()
{
    // The window reads the database to its end; it goes before the temporary folder does.
    if (frmInhalt *r = frmInhalt::instanz())
        delete r;
}

bool Vorschau::starten(const QString &nummer)
{
    if (!m_temp.isValid()) {
        if (m_konsole)
            std::fprintf(m_konsole, "hilfedb vorschau: kein temporärer Ordner: %s\n",
                         qPrintable(m_temp.errorString()));
        return false;
    }
    beobachten();
    const VorschauUebersetzer::Lauf lauf = m_uebersetzer.uebersetzen();
    if (!melden(lauf))
        return false;
    frmInhalt *rahmen = m_sitzung.rahmen();
    rahmen->setWindowTitle(rahmen->windowTitle() + QStringLiteral(" – Vorschau"));
    return m_sitzung.HilfeStarten(nummer.isEmpty() ? lauf.zuletztBearbeitet : nummer);
}

void Vorschau::beobachten()
{
    // Every folder and file below the source folder. Editors often save by writing a new file
    // and renaming it over the old one: the folder reports that, and the new file is watched
    // from then on.
    QStringList pfade{m_ordner};
    QDirIterator it(m_ordner, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        pfade << it.next();
    const QStringList beobachtet = m_waechter.files() + m_waechter.directories();
    QStringList neu;
    for (const QString &p : std::as_const(pfade))
        if (!beobachtet.contains(p))
            neu << p;
    if (!neu.isEmpty())
        m_waechter.addPaths(neu);
}

void Vorschau::geaendert()
{
    m_verzoegerung.start();
}

void Vorschau::uebersetzen()
{
    beobachten();
    const VorschauUebersetzer::Lauf lauf = m_uebersetzer.uebersetzen();
    if (lauf.unveraendert)
        return;
    frmHilfe *hilfe = frmHilfe::instanz();
    if (!hilfe)
        return;
    const bool ok = melden(lauf);
    if (ok) {
        // The same section at the same place: the text is replaced, the reader's place kept.
        const int oben = hilfe->txt()->verticalScrollBar()->value();
        const QString nummer = hilfe->AktuelleNummer();
        hilfe->dokument()->neuLaden();
        if (hilfe->AktuelleNummer() == nummer)
            hilfe->txt()->verticalScrollBar()->setValue(oben);
    }
    emit aktualisiert(ok);
}

bool Vorschau::melden(const VorschauUebersetzer::Lauf &lauf)
{
    QString hinweis;
    if (lauf.fehler > 0) {
        const auto erster = std::find_if(lauf.meldungen.cbegin(), lauf.meldungen.cend(),
                                         [](const QuellFehler &f) { return !f.warnung; });
        hinweis = erster->alsText();
        if (lauf.fehler > 1)
            hinweis +=
                QStringLiteral(" (und %1 weitere Fehler, siehe Konsole)").arg(lauf.fehler - 1);
    } else if (!lauf.geschrieben) {
        hinweis = QStringLiteral("Datenbank nicht geschrieben: %1").arg(lauf.schreibFehler);
    }
    if (m_konsole) {
        for (const QuellFehler &f : lauf.meldungen)
            std::fprintf(m_konsole, "%s\n", qPrintable(f.alsText()));
        if (!hinweis.isEmpty() && lauf.fehler == 0)
            std::fprintf(m_konsole, "%s\n", qPrintable(hinweis));
        if (lauf.geschrieben)
            std::fprintf(m_konsole, "Vorschau aktualisiert (%d Bild(er) neu gezeichnet)\n",
                         lauf.bilderGezeichnet);
        else if (frmHilfe::instanz())
            std::fprintf(m_konsole,
                         "%d Fehler: die Vorschau zeigt den letzten fehlerfreien Stand\n",
                         std::max(lauf.fehler, 1));
        else
            std::fprintf(m_konsole, "%d Fehler: nichts zu zeigen\n", std::max(lauf.fehler, 1));
        std::fflush(m_konsole);
    }
    if (frmHilfe *hilfe = frmHilfe::instanz())
        hilfe->setHinweis(hinweis);
    return lauf.geschrieben;
}
