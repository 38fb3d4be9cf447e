// The open help as a document, without widgets: its chapters, the topics of the chosen chapter,
// the sections of the chosen topic, which of them is chosen and shown, the help number of the
// shown section, the page history, and the link table of the shown section. Every change of
// what is shown goes through this object; the help window, the print command, the status
// object, the reading aids and the accessibility layer observe its signals and ask it, so no
// view reads another's state.
//
// Lists: chapters, topics and sections are 0-based containers whose size is their count (index
// i is tab or title label i). The link table keeps the link markup's form (element 0 unused,
// verweisAnzahl() entries from 1), because a text position over no link answers 0.
//
// Loading is lazy and goes through a DokumentQuelle: the chapters on laden(), a chapter's topics
// when it is chosen, a topic's sections when it is chosen; stepping to the previous or next
// section reads the topics and sections it passes only to learn their numbers. A read that
// fails has reported its error to the user (the source's business); the step then ends and
// what is shown stays as it was.
#pragma once

#include "HilfeVerlauf.h"
#include "Verweis.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

// One chapter or topic as the content queries return it.
struct HilfeEintrag
{
    QString bezeichnung;
    qint32 id = 0;
    qint32 nummer = 0;
};

// One section: its title, its number within the topic and its stored rich text.
struct HilfeAbschnitt
{
    QString bezeichnung;
    qint32 id = 0;
    qint32 nummer = 0;
    QString text;
};

// Where the document reads its content. An empty optional means the read failed and the
// failure has been reported.
class DokumentQuelle
{
public:
    virtual ~DokumentQuelle() = default;
    virtual std::optional<QList<HilfeEintrag>> kapitel() = 0;
    virtual std::optional<QList<HilfeEintrag>> themen(qint32 kapitelID) = 0;
    virtual std::optional<QList<HilfeAbschnitt>> abschnitte(qint32 themaID) = 0;
    // The numbers of a topic's sections in their order; by default read with the sections.
    virtual std::optional<QList<qint32>> abschnittNummern(qint32 themaID);
};

class HilfeDokument : public QObject
{
    Q_OBJECT

public:
    // Whether showing a section records it in the page history.
    enum class Verlauf { Merken, NichtMerken };

    explicit HilfeDokument(DokumentQuelle &quelle, QObject *parent = nullptr);

    // Reads the chapters and goes to start ("01.01.01" when empty), resolved against the
    // database alone, as on a fresh start: an unknown chapter gives the first section of all,
    // an unknown topic the chapter's first topic, an unknown section the topic's first. The
    // history starts anew with the shown section. False when no chapter could be read or the
    // target could not be read; what was shown then stays, history included.
    bool laden(const QString &start);
    // Reads everything anew from the source whose content changed under the same IDs (a help
    // compiled again) and shows the same help number again, as far as it still exists; the
    // page history stays when that number is still shown. False as laden().
    bool neuLaden();
    // Whether the last laden()'s number named a chapter, topic and section of the help.
    bool zielBekannt() const { return m_zielBekannt; }

    // Chooses the chapter, topic and section that a help number KK.TT.XX names, as far as its
    // parts name entries; the section shown is recorded in the history as verlauf says.
    void geheZu(const QString &nummer, Verlauf verlauf);
    // Choosing a tab or title as the user does: a chapter shows its first topic's first
    // section, a topic its first section; each shown section is recorded.
    void kapitelWaehlen(int index);
    void themaWaehlen(int index);
    void abschnittWaehlen(int index);
    // Previous and next section across topic and chapter boundaries; empty topics and chapters
    // are stepped over. Previous passes through the tabs as a user would (a previous topic
    // records its first section, then its last); next jumps straight to its target.
    void vorigerAbschnitt();
    void naechsterAbschnitt();
    // Back and forward in the page history; neither records.
    void zurueck();
    void vorwaerts();

    // Follows link i of the shown section (1..verweisAnzahl()): a text link goes to its
    // section and records it; a picture link asks for the picture window.
    void verweisFolgen(int i);
    // The link table of the shown section, set by the view that rendered it.
    void setVerweise(const QList<tVerweis> &verweise, qint16 anzahl);
    const QList<tVerweis> &verweise() const { return m_verweise; }
    qint16 verweisAnzahl() const { return m_verweisAnzahl; }

    const QList<HilfeEintrag> &kapitel() const { return m_kapitel; }
    const QList<HilfeEintrag> &themen() const { return m_themen; }
    const QList<HilfeAbschnitt> &abschnitte() const { return m_abschnitte; }
    // The chosen tab of each row (-1 when the row is empty) and the chosen title (-1: none).
    int kapitelIndex() const { return m_kapitelIndex; }
    int themaIndex() const { return m_themaIndex; }
    int abschnittIndex() const { return m_abschnittIndex; }
    // The loaded chapter and topic (0 when none).
    qint32 kapitelID() const { return m_kapitelID; }
    qint32 themaID() const { return m_themaID; }
    // The section shown now, -1 when none.
    int gezeigterAbschnitt() const;
    // The help number of the shown section ("" before the first).
    QString aktuelleNummer() const;
    // A help number from the numbers of chapter, topic and section (at least two digits each).
    static QString nummerBilden(qint32 kapitel, qint32 thema, qint32 text);

    const HilfeVerlauf &verlauf() const { return m_verlauf; }

    // What the toolbar may offer now.
    bool vorigerMoeglich() const;
    bool naechsterMoeglich() const;
    bool druckenMoeglich() const { return m_kapitelID != 0 && !m_themen.isEmpty(); }
    bool zurueckMoeglich() const { return m_verlauf.zurueckMoeglich(); }
    bool vorwaertsMoeglich() const { return m_verlauf.vorwaertsMoeglich(); }

signals:
    // The chapter list was read anew.
    void kapitelGeaendert();
    // The topics of the chosen chapter, the sections of the chosen topic changed.
    void themenGeaendert();
    void abschnitteGeaendert();
    // The chosen chapter, topic or section index changed.
    void auswahlGeaendert();
    // A section is to be shown with this stored text; the view renders it and hands the link
    // table back with setVerweise().
    void abschnittZeigen(const QString &text);
    // No section is shown any more: text and link table are empty.
    void abschnittGeleert();
    // What the toolbar may offer changed (history, previous/next, print).
    void knoepfeGeaendert();
    // A picture link was followed.
    void bildGewuenscht(const QString &nummer, const QString &titel);

private:
    // Loads the chapter or topic at this index unless it is loaded; false when the read failed.
    bool kapitelLaden(int index, bool ersterAbschnitt);
    bool themaLaden(int index, bool ersterAbschnitt);
    void abschnittZeigenUndMerken(int index);
    void leeren();
    void kapitelZuruecksetzen(qint32 kapitelID);
    void themaZuruecksetzen(qint32 themaID);
    QString zielAufloesen(const QString &nummer, const QList<HilfeEintrag> &kapitel, bool &bekannt);
    void knoepfeMelden();

    DokumentQuelle &m_quelle;
    QList<HilfeEintrag> m_kapitel;
    QList<HilfeEintrag> m_themen;
    QList<HilfeAbschnitt> m_abschnitte;
    int m_kapitelIndex = -1;
    int m_themaIndex = -1;
    int m_abschnittIndex = -1;
    qint32 m_kapitelID = 0;
    qint32 m_themaID = 0;
    HilfeVerlauf m_verlauf;
    Verlauf m_merken = Verlauf::Merken;
    QList<tVerweis> m_verweise{tVerweis()};
    qint16 m_verweisAnzahl = 0;
    bool m_zielBekannt = true;
    // Set when a read failed during a step: the step stops, one failure gives one message.
    bool m_lesefehler = false;
    // Set when a next/previous step found nothing in its direction; cleared by any move.
    bool m_keinNaechster = false;
    bool m_keinVoriger = false;
};
