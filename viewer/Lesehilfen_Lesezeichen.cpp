// The bookmarks: the menu of toolbar button 14 (built anew each time it opens: "Lesezeichen
// hinzufügen", the saved sections in their order, "Lesezeichen verwalten …"), adding the shown
// section, the managing dialog, and the check whether a saved section still exists.
#include "Lesehilfen.h"

#include "Einstellungen.h"
#include "HilfeDatenbank.h"
#include "Meldung.h"
#include "frmHilfe.h"
#include "frmInhalt.h"
#include "frmLesezeichen.h"

#include <QAction>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QShortcut>
#include <QToolBar>

#include <optional>

namespace {

// The parts of a help number KK.TT.XX; nothing when it has not three numeric parts.
std::optional<std::array<int, 3>> nummernTeile(const QString &nummer)
{
    const QStringList teile = nummer.split(QLatin1Char('.'));
    if (teile.size() != 3)
        return std::nullopt;
    std::array<int, 3> werte{};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        werte[i] = teile.at(i).trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    return werte;
}

// Resolves help numbers against the database, reading each chapter's topics and each topic's
// sections once per check of the menu.
class AbschnittPruefung
{
public:
    bool vorhanden(const QString &nummer)
    {
        const auto teile = nummernTeile(nummer);
        if (!teile)
            return false;
        HilfeDatenbank &db = standardDatenbank();
        if (!m_kapitelGelesen) {
            m_kapitel = db.kapitel().zeilen;
            m_kapitelGelesen = true;
        }
        const qint32 kapitel = idZu(m_kapitel, (*teile)[0]);
        if (!kapitel)
            return false;
        if (!m_themen.contains(kapitel))
            m_themen.insert(kapitel, db.themen(kapitel).zeilen);
        const qint32 thema = idZu(m_themen[kapitel], (*teile)[1]);
        if (!thema)
            return false;
        if (!m_texte.contains(thema)) {
            QList<KapitelZeile> texte;
            for (const TextZeile &t : db.texte(thema).zeilen)
                texte.append({t.bezeichnung, t.id, t.nummer});
            m_texte.insert(thema, texte);
        }
        return idZu(m_texte[thema], (*teile)[2]) != 0;
    }

private:
    // The ID of the row with this Nummer, 0 when there is none.
    static qint32 idZu(const QList<KapitelZeile> &zeilen, int nummer)
    {
        for (const KapitelZeile &z : zeilen)
            if (z.nummer == nummer)
                return z.id;
        return 0;
    }

    bool m_kapitelGelesen = false;
    QList<KapitelZeile> m_kapitel;
    QMap<qint32, QList<KapitelZeile>> m_themen;
    QMap<qint32, QList<KapitelZeile>> m_texte;
};

} // namespace

void Lesehilfen::lesezeichenEinrichten()
{
    m_lesezeichen = LeseEinstellungen::lesezeichenLesen();
    m_menue = new QMenu(m_hilfe);
    m_menue->setObjectName(QStringLiteral("mnuLesezeichen"));
    m_menue->setTitle(QStringLiteral("Lesezeichen"));
    m_menue->setAccessibleName(QStringLiteral("Lesezeichen"));
    m_menue->setToolTipsVisible(true);
    connect(m_menue, &QMenu::aboutToShow, this, &Lesehilfen::menueAufbauen);
    // Strg+D adds the shown section from anywhere in the window, as the menu entry says.
    auto *hinzu = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), m_hilfe);
    hinzu->setContext(Qt::WindowShortcut);
    connect(hinzu, &QShortcut::activated, this, [this] { lesezeichenHinzufuegen(); });
}

namespace {

// A list that could not be written is lost with the next start: the user is told.
void gespeichert(bool ok)
{
    if (!ok)
        MsgBox(QStringLiteral("Die Lesezeichen konnten nicht gespeichert werden (%1).")
                   .arg(einstellungsDatei(QString::fromLatin1(LeseEinstellungen::Anwendung))),
               Meldung::Ausrufezeichen);
}

} // namespace

bool Lesehilfen::abschnittVorhanden(const QString &nummer)
{
    return AbschnittPruefung().vorhanden(nummer);
}

void Lesehilfen::menueAufbauen()
{
    m_menue->clear();
    const QString gezeigt = m_hilfe->AktuelleNummer();
    bool schonGespeichert = false;
    for (const auto &l : std::as_const(m_lesezeichen))
        schonGespeichert = schonGespeichert || l.nummer == gezeigt;

    QAction *neu = m_menue->addAction(QStringLiteral("Lesezeichen &hinzufügen"), this,
                                      [this] { lesezeichenHinzufuegen(); });
    neu->setObjectName(QStringLiteral("mnuLesezeichenHinzufuegen"));
    neu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    neu->setEnabled(!gezeigt.isEmpty() && !schonGespeichert);
    if (schonGespeichert)
        neu->setToolTip(QStringLiteral("Der angezeigte Abschnitt ist schon gespeichert"));
    m_menue->addSeparator();

    AbschnittPruefung pruefung;
    if (m_lesezeichen.isEmpty()) {
        QAction *leer = m_menue->addAction(QStringLiteral("(keine Lesezeichen)"));
        leer->setEnabled(false);
    }
    for (const auto &l : std::as_const(m_lesezeichen)) {
        // "&" in a name is shown as written, not taken as a mnemonic.
        QString text = l.name;
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *a = m_menue->addAction(text);
        a->setObjectName(QStringLiteral("mnuLesezeichen_") + l.nummer);
        if (pruefung.vorhanden(l.nummer)) {
            a->setToolTip(QStringLiteral("Abschnitt %1").arg(l.nummer));
            const QString nummer = l.nummer;
            connect(a, &QAction::triggered, this, [this, nummer] {
                m_hilfe->GeheZuText(nummer, HilfeDokument::Verlauf::Merken);
            });
        } else {
            a->setEnabled(false);
            a->setToolTip(
                QStringLiteral("Den Abschnitt %1 gibt es in dieser Beschreibung nicht mehr")
                    .arg(l.nummer));
        }
    }
    m_menue->addSeparator();
    QAction *verwalten = m_menue->addAction(QStringLiteral("Lesezeichen &verwalten …"), this,
                                            [this] { lesezeichenVerwalten(); });
    verwalten->setObjectName(QStringLiteral("mnuLesezeichenVerwalten"));
    verwalten->setEnabled(!m_lesezeichen.isEmpty());
}

void Lesehilfen::lesezeichenMenueZeigen()
{
    QPoint ort = m_txt->mapToGlobal(QPoint(0, 0));
    if (frmInhalt *rahmen = frmInhalt::instanz()) {
        QWidget *knopf =
            rahmen->tlb()->widgetForAction(rahmen->Button(frmInhalt::ButtonLesezeichen));
        if (knopf && knopf->isVisible())
            ort = knopf->mapToGlobal(QPoint(0, knopf->height()));
    }
    m_menue->popup(ort);
    // The first entry that can be chosen has the keyboard.
    for (QAction *a : m_menue->actions()) {
        if (a->isEnabled() && !a->isSeparator()) {
            m_menue->setActiveAction(a);
            break;
        }
    }
}

bool Lesehilfen::lesezeichenHinzufuegen()
{
    const QString nummer = m_hilfe->AktuelleNummer();
    const HilfeDokument *d = m_hilfe->dokument();
    const int gezeigt = d->gezeigterAbschnitt();
    if (nummer.isEmpty() || gezeigt < 0)
        return false;
    const QString titel = d->abschnitte().at(gezeigt).bezeichnung;
    // Read again: another help window of this user may have changed the list meanwhile.
    m_lesezeichen = LeseEinstellungen::lesezeichenLesen();
    if (!LeseEinstellungen::hinzufuegen(m_lesezeichen, nummer, titel))
        return false;
    gespeichert(LeseEinstellungen::lesezeichenSpeichern(m_lesezeichen));
    return true;
}

void Lesehilfen::lesezeichenVerwalten()
{
    frmLesezeichen dialog(m_lesezeichen, m_hilfe->window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_lesezeichen = dialog.liste();
    gespeichert(LeseEinstellungen::lesezeichenSpeichern(m_lesezeichen));
}
