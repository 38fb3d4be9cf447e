// The keyword search pane (see frmHilfeIndex.h).
#include "frmHilfeIndex.h"

#include "Arbeitsbereich.h"
#include "HilfeDatenbank.h"
#include "Meldung.h"
#include "Routinen.h"
#include "StichwortListe.h"
#include "TolvarScrollListe.h"
#include "TolvarTextBox.h"
#include "VolltextAnfrage.h"
#include "VolltextWort.h"
#include "VolltextWortschatz.h"
#include "frmHilfe.h"
#include "frmInhalt.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <QTableView>

#include <climits>
#include <cmath>

namespace {

QPointer<frmHilfeIndex> s_instanz;

int px(double twips)
{
    return int(std::lround(twipsZuPixelX(twips)));
}

int py(double twips)
{
    return int(std::lround(twipsZuPixelY(twips)));
}

void setzeGeometrie(QWidget *w, const TwipRechteck &r)
{
    w->setGeometry(px(r.links), py(r.oben), std::max(px(r.breite), 0), std::max(py(r.hoehe), 0));
}

// Grid columns: heading and width in twips; each left-aligned and centred vertically (1).
struct Spalte
{
    const char *ueberschrift;
    double breite;
};
const Spalte spalten[] = {{"Thema", 2505}, {"Kapitel", 1005}, {"Überschrift", 1005}};
// The full-text grid: section title, snippet, topic title, help number.
const Spalte volltextSpalten[] = {
    {"Abschnitt", 1800}, {"Fundstelle", 4500}, {"Thema", 1500}, {"Nr.", 750}};

const char *const SucheStichwort = "Stichwort suchen:";
const char *const SucheVolltext = "Text suchen:";
const char *const KnopfStichwort = "Stichwörter anzeigen";
const char *const KnopfVolltext = "Abschnitte suchen";

// The correction above the full-text hits: its least height, and the gap below it.
constexpr qint32 KorrekturHoehe = 390;
constexpr qint32 KorrekturAbstand = 45;
// The completion list starts with this many characters of the word being typed.
constexpr int ErgaenzungAb = 2;

} // namespace

frmHilfeIndex *frmHilfeIndex::instanz()
{
    return s_instanz;
}

frmHilfeIndex::frmHilfeIndex(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmHilfeIndex"));
    setWindowTitle(QStringLiteral("Stichwort Suchen"));
    setAutoFillBackground(true);
    setVisible(false); // shown by the search command
    // The controls are designed for a small dialog font (11 pixels, as the section titles of
    // the help window); with it the captions fit the design sizes.
    QFont schrift = font();
    schrift.setPixelSize(11);
    setFont(schrift);
    steuerelementeAnlegen();
    resize(px(HilfeIndexStartBreite), py(HilfeIndexStartHoehe));
}

frmHilfeIndex::~frmHilfeIndex()
{
    if (s_instanz == this)
        s_instanz = nullptr;
}

void frmHilfeIndex::steuerelementeAnlegen()
{
    m_txtSuchen = new TolvarTextBox(this);
    m_txtSuchen->setObjectName(QStringLiteral("txtSuchen"));
    // Settings the pane keeps with the box; the box does not act on them.
    m_txtSuchen->setEinstellung(QStringLiteral("eingabeformat"), QString());
    m_txtSuchen->setEinstellung(QStringLiteral("maxlength"), 0);
    m_txtSuchen->setEinstellung(QStringLiteral("minvalue"), QString());
    m_txtSuchen->setEinstellung(QStringLiteral("maxvalue"), QString());
    m_txtSuchen->setEinstellung(QStringLiteral("meldungfehler"), QString());

    const char *const texte[3] = {
        "Stichwort suchen:", "Gefundene Stichwörter:", "gefundene Themen:"};
    for (int i = 0; i < 3; ++i) {
        m_lbl[i] = new QLabel(QString::fromUtf8(texte[i]), this);
        m_lbl[i]->setObjectName(QStringLiteral("lbl%1").arg(i));
    }

    m_optStichwort = new QRadioButton(QStringLiteral("&Stichwörter"), this);
    m_optStichwort->setObjectName(QStringLiteral("optStichwort"));
    m_optStichwort->setChecked(true);
    m_optVolltext = new QRadioButton(QStringLiteral("&Volltext"), this);
    m_optVolltext->setObjectName(QStringLiteral("optVolltext"));

    m_cmdSuchen = new QPushButton(QString::fromUtf8(KnopfStichwort), this);
    m_cmdSuchen->setObjectName(QStringLiteral("cmdSuchen"));
    m_cmdSuchen->setEnabled(false);

    m_lstWoerter = new StichwortListe(this);
    m_lstWoerter->setObjectName(QStringLiteral("lstWoerter"));

    m_scr = new TolvarScrollListe(this);
    m_scr->setObjectName(QStringLiteral("scr"));
    m_scr->setSpalten(int(std::size(spalten)));
    for (int s = 0; s < int(std::size(spalten)); ++s) {
        m_scr->setUeberschrift(s, QString::fromUtf8(spalten[s].ueberschrift));
        m_scr->setSpaltenBreite(s, spalten[s].breite);
        m_scr->setAusrichtung(s, 1);
    }

    m_lblVolltext = new QLabel(QStringLiteral("gefundene Abschnitte:"), this);
    m_lblVolltext->setObjectName(QStringLiteral("lblVolltext"));
    m_scrVolltext = new TolvarScrollListe(this);
    m_scrVolltext->setObjectName(QStringLiteral("scrVolltext"));
    m_scrVolltext->setSpalten(int(std::size(volltextSpalten)));
    for (int s = 0; s < int(std::size(volltextSpalten)); ++s) {
        m_scrVolltext->setUeberschrift(s, QString::fromUtf8(volltextSpalten[s].ueberschrift));
        m_scrVolltext->setSpaltenBreite(s, volltextSpalten[s].breite);
        m_scrVolltext->setAusrichtung(s, 1);
    }

    m_lblKorrektur = new QLabel(this);
    m_lblKorrektur->setObjectName(QStringLiteral("lblKorrektur"));
    m_lblKorrektur->setWordWrap(true);
    m_lblKorrektur->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblKorrektur->setTextFormat(Qt::RichText);
    m_lblKorrektur->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                            Qt::LinksAccessibleByKeyboard);
    m_lblKorrektur->setFocusPolicy(Qt::StrongFocus);
    m_lblKorrektur->setVisible(false);
    connect(m_lblKorrektur, &QLabel::linkActivated, this, [this] { korrekturGewaehlt(); });

    // The completion list: words of the index for the word being typed.
    m_ergaenzungen = new QStringListModel(this);
    m_ergaenzung = new QCompleter(m_ergaenzungen, this);
    m_ergaenzung->setWidget(m_txtSuchen);
    m_ergaenzung->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_ergaenzung->setCaseSensitivity(Qt::CaseInsensitive);
    m_ergaenzung->setMaxVisibleItems(Volltext::MaxErgaenzungen);
    m_ergaenzung->popup()->setObjectName(QStringLiteral("lstErgaenzungen"));
    m_ergaenzung->popup()->setAccessibleName(QStringLiteral("Vorschläge"));
    connect(m_ergaenzung, qOverload<const QString &>(&QCompleter::activated), this,
            &frmHilfeIndex::ergaenzungGewaehlt);
    // While the list is open it hands the keys to the field alone, so Enter would only close
    // it: with no word chosen, Enter searches the field as it does without the list.
    connect(m_txtSuchen, &QLineEdit::returnPressed, this, [this] {
        QAbstractItemView *liste = m_ergaenzung->popup();
        if (!liste->isVisible() || liste->currentIndex().isValid())
            return;
        liste->hide();
        if (m_standard && m_standard->isEnabled())
            m_standard->click();
    });

    m_cmdAnzeigen = new QPushButton(QStringLiteral("anzeigen"), this);
    m_cmdAnzeigen->setObjectName(QStringLiteral("cmdAnzeigen"));
    m_cmdAbbruch = new QPushButton(QStringLiteral("Schließen"), this);
    m_cmdAbbruch->setObjectName(QStringLiteral("cmdAbbruch"));
    // Enter is the pane's: it presses the default button, whichever button has the focus.
    for (QPushButton *k : {m_cmdSuchen, m_cmdAnzeigen, m_cmdAbbruch})
        k->setAutoDefault(false);

    m_line1 = new QFrame(this);
    m_line1->setObjectName(QStringLiteral("Line1"));
    m_line1->setFrameShape(QFrame::HLine);
    m_line1->setFrameShadow(QFrame::Sunken);

    // Names for screen readers; the buttons and options are named by their captions.
    setAccessibleName(QStringLiteral("Stichwortsuche"));
    m_txtSuchen->setAccessibleName(QStringLiteral("Stichwort suchen"));
    m_lstWoerter->setAccessibleName(QStringLiteral("Gefundene Stichwörter"));
    m_scr->setAccessibleName(QStringLiteral("Gefundene Themen"));
    m_scr->ansicht()->setAccessibleName(QStringLiteral("Gefundene Themen"));
    m_scrVolltext->setAccessibleName(QStringLiteral("Gefundene Abschnitte"));
    m_scrVolltext->ansicht()->setAccessibleName(QStringLiteral("Gefundene Abschnitte"));

    // Tab order of the design, top to bottom; the labels take no focus, and hidden controls
    // (the other mode's lists) are passed over.
    setTabOrder(m_optStichwort, m_optVolltext);
    setTabOrder(m_optVolltext, m_txtSuchen);
    setTabOrder(m_txtSuchen, m_cmdSuchen);
    setTabOrder(m_cmdSuchen, m_lblKorrektur);
    setTabOrder(m_lblKorrektur, m_lstWoerter);
    setTabOrder(m_lstWoerter, m_scr);
    setTabOrder(m_scr, m_scrVolltext);
    setTabOrder(m_scrVolltext, m_cmdAnzeigen);
    setTabOrder(m_cmdAnzeigen, m_cmdAbbruch);

    connect(m_cmdSuchen, &QPushButton::clicked, this, &frmHilfeIndex::cmdSuchen_Click);
    connect(m_cmdAnzeigen, &QPushButton::clicked, this, &frmHilfeIndex::cmdAnzeigen_Click);
    connect(m_cmdAbbruch, &QPushButton::clicked, this, &frmHilfeIndex::cmdAbbruch_Click);
    connect(m_lstWoerter, &StichwortListe::Click, this, &frmHilfeIndex::lstWoerter_Click);
    connect(m_txtSuchen, &TolvarTextBox::Change, this, &frmHilfeIndex::txtSuchen_Change);
    connect(m_txtSuchen, &TolvarTextBox::GotFocus, this, &frmHilfeIndex::txtSuchen_GotFocus);
    connect(m_txtSuchen, &TolvarTextBox::LostFocus, this, &frmHilfeIndex::txtSuchen_LostFocus);
    connect(m_scr, &TolvarScrollListe::ZeileAktiviert, this, &frmHilfeIndex::scr_ZeileAktiviert);
    connect(m_scrVolltext, &TolvarScrollListe::ZeileAktiviert, this,
            &frmHilfeIndex::scr_ZeileAktiviert);
    for (QRadioButton *o : {m_optStichwort, m_optVolltext})
        connect(o, &QRadioButton::clicked, this, &frmHilfeIndex::optSuche_Click);

    standardSetzen(m_cmdSuchen);
    // A button whose caption does not fit its design width in this font is made wide enough;
    // the layout keeps it right-aligned all the same.
    const auto passend = [](QPushButton *k, TwipRechteck &r) {
        const int noetig = k->fontMetrics().horizontalAdvance(k->text()) + 16;
        if (px(r.breite) < noetig) {
            const qint32 breiter = TwipRunden(pixelZuTwipsX(noetig));
            r.links -= breiter - r.breite;
            r.breite = breiter;
        }
    };
    // The search button carries either caption; it is made wide enough for both.
    m_cmdSuchen->setText(QString::fromUtf8(KnopfVolltext));
    passend(m_cmdSuchen, m_geo.cmdSuchen);
    m_cmdSuchen->setText(QString::fromUtf8(KnopfStichwort));
    passend(m_cmdSuchen, m_geo.cmdSuchen);
    passend(m_cmdAnzeigen, m_geo.cmdAnzeigen);
    passend(m_cmdAbbruch, m_geo.cmdAbbruch);
    // The option buttons: their captions and the indicator.
    const auto optionPassend = [](QRadioButton *o, TwipRechteck &r) {
        const int noetig = o->sizeHint().width();
        if (px(r.breite) < noetig)
            r.breite = TwipRunden(pixelZuTwipsX(noetig));
    };
    optionPassend(m_optStichwort, m_geo.optStichwort);
    optionPassend(m_optVolltext, m_geo.optVolltext);
    m_geo.optVolltext.links = m_geo.scr.links + m_geo.scr.breite - m_geo.optVolltext.breite;
    m_geo.optStichwort.links = m_geo.optVolltext.links - m_geo.optStichwort.breite - 90;
    modusAnwenden();
    geometrieAnwenden();
}

void frmHilfeIndex::modusAnwenden()
{
    // The keyword controls stay as they are while hidden, so switching back shows them again.
    m_lbl[0]->setText(QString::fromUtf8(m_volltext ? SucheVolltext : SucheStichwort));
    m_txtSuchen->setAccessibleName(m_volltext ? QStringLiteral("Text suchen")
                                              : QStringLiteral("Stichwort suchen"));
    m_cmdSuchen->setText(QString::fromUtf8(m_volltext ? KnopfVolltext : KnopfStichwort));
    m_lbl[1]->setVisible(!m_volltext);
    m_lstWoerter->setVisible(!m_volltext);
    m_lbl[2]->setVisible(!m_volltext);
    m_scr->setVisible(!m_volltext);
    m_lblVolltext->setVisible(m_volltext);
    m_scrVolltext->setVisible(m_volltext);
    m_lblKorrektur->setVisible(m_volltext && !m_korrektur.isEmpty());
    if (!m_volltext)
        m_ergaenzung->popup()->hide();
    geometrieAnwenden();
    // A caption longer than its label's design width is shown whole.
    if (m_lbl[0]->width() < m_lbl[0]->sizeHint().width())
        m_lbl[0]->resize(m_lbl[0]->sizeHint().width(), m_lbl[0]->height());
}

void frmHilfeIndex::optSuche_Click()
{
    const bool volltext = m_optVolltext->isChecked();
    if (volltext != m_volltext) {
        m_volltext = volltext;
        modusAnwenden();
    }
    if (isVisible())
        m_txtSuchen->SetFocus();
}

frmHilfeIndex *frmHilfeIndex::Oeffnen(frmInhalt *rahmen)
{
    if (!s_instanz) {
        s_instanz = new frmHilfeIndex(rahmen->clientBereich());
        rahmen->setStichwortFenster(s_instanz);
    }
    frmHilfeIndex *f = s_instanz;
    f->move(0, 0);
    f->resize(f->width(), std::max(py(rahmen->innenHoehe()), 0));
    f->raise();
    rahmen->AufbauMDIChilds();
    f->show();
    f->Form_Activate();
    // The help window's command unloads the picture window after this.
    return f;
}

void frmHilfeIndex::FensterZuruecksetzen()
{
    // Only a help window that exists: the pane also unloads while the help window unloads.
    frmHilfe *hilfe = frmHilfe::instanz();
    frmInhalt *rahmen = frmInhalt::instanz();
    if (!hilfe || !rahmen)
        return;
    hilfe->setGeometry(0, 0, std::max(px(rahmen->innenBreite()), 0),
                       std::max(py(rahmen->innenHoehe()), 0));
}

void frmHilfeIndex::standardSetzen(QPushButton *knopf)
{
    m_standard = knopf;
    m_cmdSuchen->setDefault(knopf == m_cmdSuchen);
    m_cmdAnzeigen->setDefault(knopf == m_cmdAnzeigen);
}

void frmHilfeIndex::cmdSuchen_Click()
{
    if (!m_cmdSuchen->isEnabled())
        return;
    if (m_volltext) {
        volltextSuchen();
        return;
    }
    MausZeiger(11);
    const Ergebnis<WortZeile> e = standardDatenbank().woerter(m_txtSuchen->Text());
    if (!e.ok) {
        MausZeiger(0);
        return;
    }
    if (e.zeilen.isEmpty()) {
        MausZeiger(0);
        MsgBox(QStringLiteral("Keine entsprechenden Daten vorgefunden!"), Meldung::Information);
        return;
    }
    // The whole result goes in at once; the entries keep the order of the query.
    QList<QString> wort(1);
    QList<qint32> id(1, 0);
    wort.reserve(e.zeilen.size() + 1);
    id.reserve(e.zeilen.size() + 1);
    for (const WortZeile &z : e.zeilen) {
        wort.append(z.wort);
        id.append(z.id);
    }
    m_lstWoerter->Eintraege(wort, id);
    m_lstWoerter->setListIndex(0); // runs lstWoerter_Click
    m_lstWoerter->setFocus(Qt::OtherFocusReason);
    MausZeiger(0);
}

void frmHilfeIndex::lstWoerter_Click()
{
    m_scr->Leeren();
    if (m_lstWoerter->ListCount() == 0)
        return;
    const int i = m_lstWoerter->ListIndex();
    if (i < 0)
        return;
    const Ergebnis<WortTextZeile> e = standardDatenbank().texteZumWort(m_lstWoerter->ItemData(i));
    msNummern = QList<QString>(1);
    if (!e.ok)
        return;
    m_scr->setBildschirmAktualisierung(false);
    for (const WortTextZeile &z : e.zeilen) {
        m_scr->ZeileHinzufuegen(z.zeile, z.textID);
        msNummern.append(z.nummer);
    }
    m_scr->setBildschirmAktualisierung(true);
}

void frmHilfeIndex::volltextSuchen()
{
    MausZeiger(11);
    const QString suche = m_txtSuchen->Text();
    const VolltextErgebnis e = standardDatenbank().volltextSuchen(suche);
    if (!e.ok) {
        MausZeiger(0);
        return;
    }
    m_ergaenzung->popup()->hide();
    if (e.zeilen.isEmpty()) {
        MausZeiger(0);
        MsgBox(QStringLiteral("Keine entsprechenden Daten vorgefunden!"), Meldung::Information);
        return;
    }
    mtTreffer = e.zeilen;
    msVolltextSuche = suche;
    mtVolltextAnfrage = e.anfrage;
    korrekturZeigen(e.korrektur, e.korrekturStattLeer, suche);
    m_scrVolltext->Leeren();
    m_scrVolltext->setBildschirmAktualisierung(false);
    for (const VolltextTreffer &t : std::as_const(mtTreffer)) {
        m_scrVolltext->ZeileHinzufuegen(
            t.abschnitt + u'\t' + t.ausschnitt + u'\t' + t.thema + u'\t' + t.nummer, t.textID);
    }
    m_scrVolltext->setBildschirmAktualisierung(true);
    m_lblVolltext->setText(e.gesamt > mtTreffer.size()
                               ? QStringLiteral("gefundene Abschnitte: die besten %1 von %2")
                                     .arg(mtTreffer.size())
                                     .arg(e.gesamt)
                               : QStringLiteral("gefundene Abschnitte: %1").arg(mtTreffer.size()));
    m_scrVolltext->setAktuelleZeile(0);
    m_scrVolltext->setFocus(Qt::OtherFocusReason);
    MausZeiger(0);
}

void frmHilfeIndex::volltextAnzeigen()
{
    const int r = m_scrVolltext->AktuelleZeile();
    if (m_scrVolltext->Anzahl() == 0 || r < 0 || r >= mtTreffer.size())
        return;
    frmHilfe *hilfe = frmHilfe::instanz();
    if (!hilfe)
        return;
    const QString nummer = mtTreffer.at(r).nummer;
    hilfe->GeheZuText(nummer);
    // Only the section asked for gets the marks (a failed read leaves another one shown).
    if (hilfe->AktuelleNummer() != nummer)
        return;
    const QString text = hilfe->TextBereich(0, INT_MAX);
    hilfe->TrefferMarkieren(Volltext::trefferBereiche(text, mtVolltextAnfrage));
}

void frmHilfeIndex::cmdAnzeigen_Click()
{
    if (m_volltext) {
        volltextAnzeigen();
        return;
    }
    if (m_scr->Anzahl() == 0)
        return;
    const int r = m_scr->AktuelleZeile();
    if (r < 0 || r + 1 >= msNummern.size())
        return;
    if (frmHilfe *hilfe = frmHilfe::instanz())
        hilfe->GeheZuText(msNummern.at(r + 1));
}

void frmHilfeIndex::scr_ZeileAktiviert()
{
    m_cmdAnzeigen->click();
}

void frmHilfeIndex::cmdAbbruch_Click()
{
    emit Geschlossen();
    FensterZuruecksetzen();
    hide();
}

void frmHilfeIndex::txtSuchen_Change()
{
    m_lstWoerter->Clear();
    m_scr->Leeren();
    m_scrVolltext->Leeren();
    mtTreffer.clear();
    // The count and the correction go with the hits they speak of.
    m_lblVolltext->setText(QStringLiteral("gefundene Abschnitte:"));
    korrekturZeigen(QString(), false, QString());
    m_cmdSuchen->setEnabled(!m_txtSuchen->Text().isEmpty());
    if (m_volltext && !m_textGesetzt)
        ergaenzen();
}

void frmHilfeIndex::ergaenzen()
{
    // The word being typed: the letters and digits at the end of the field.
    const QString text = m_txtSuchen->Text();
    qsizetype anfang = text.size();
    while (anfang > 0 && Volltext::wortZeichen(text.at(anfang - 1)))
        --anfang;
    const QString wort = text.mid(anfang);
    QStringList vorschlaege;
    if (wort.size() >= ErgaenzungAb && m_txtSuchen->hasFocus()) {
        const Ergebnis<QString> e = standardDatenbank().volltextErgaenzen(wort);
        if (e.ok) {
            for (const QString &w : e.zeilen)
                if (w.compare(wort, Qt::CaseInsensitive) != 0)
                    vorschlaege << text.left(anfang) + w;
        }
    }
    m_ergaenzungen->setStringList(vorschlaege);
    if (vorschlaege.isEmpty()) {
        m_ergaenzung->popup()->hide();
        return;
    }
    m_ergaenzung->setCompletionPrefix(QString());
    m_ergaenzung->complete();
    // Nothing is chosen until the user moves into the list: Enter still searches the field.
    m_ergaenzung->popup()->setCurrentIndex(QModelIndex());
}

void frmHilfeIndex::ergaenzungGewaehlt(const QString &text)
{
    m_textGesetzt = true;
    m_txtSuchen->setText(text);
    m_textGesetzt = false;
    if (m_cmdSuchen->isEnabled())
        volltextSuchen();
}

void frmHilfeIndex::korrekturGewaehlt()
{
    if (m_korrektur.isEmpty())
        return;
    ergaenzungGewaehlt(m_korrektur);
}

void frmHilfeIndex::korrekturZeigen(const QString &korrektur, bool stattLeer,
                                    const QString &gesucht)
{
    m_korrektur = korrektur;
    if (korrektur.isEmpty()) {
        m_lblKorrektur->clear();
    } else {
        const QString hinweis = QStringLiteral("„%1“ findet nichts; gesucht wurde „%2“.");
        QString text = QStringLiteral("Meinten Sie: <a href=\"korrektur\">%1</a>")
                           .arg(korrektur.toHtmlEscaped());
        if (stattLeer)
            text += QStringLiteral("<br>") +
                    hinweis.arg(gesucht.toHtmlEscaped(), korrektur.toHtmlEscaped());
        m_lblKorrektur->setText(text);
        m_lblKorrektur->setAccessibleName(stattLeer
                                              ? hinweis.arg(gesucht, korrektur)
                                              : QStringLiteral("Meinten Sie: %1").arg(korrektur));
    }
    // The layout gives the correction the lines its text needs, or takes its room away.
    const bool sichtbar = m_volltext && !korrektur.isEmpty();
    if (sichtbar || sichtbar != m_lblKorrektur->isVisible()) {
        m_lblKorrektur->setVisible(sichtbar);
        geometrieAnwenden();
    }
}

void frmHilfeIndex::txtSuchen_GotFocus()
{
    standardSetzen(m_cmdSuchen);
}

void frmHilfeIndex::txtSuchen_LostFocus()
{
    standardSetzen(m_cmdAnzeigen);
}

void frmHilfeIndex::Form_Activate()
{
    if (isVisible())
        m_txtSuchen->SetFocus();
}

void frmHilfeIndex::Form_Unload()
{
    if (m_entladen)
        return;
    m_entladen = true;
    emit Geschlossen();
    FensterZuruecksetzen();
    if (s_instanz == this)
        s_instanz = nullptr;
    if (frmInhalt *rahmen = frmInhalt::instanz())
        if (rahmen->stichwortFenster() == this)
            rahmen->setStichwortFenster(nullptr);
    hide();
    deleteLater();
}

void frmHilfeIndex::keyPressEvent(QKeyEvent *event)
{
    // Keys the controls leave alone: Enter presses the default button, Esc closes.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() & ~(Qt::KeypadModifier)) {
            break;
        }
        event->accept();
        if (m_standard && m_standard->isEnabled())
            m_standard->click();
        return;
    case Qt::Key_Escape:
        event->accept();
        m_cmdAbbruch->click();
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void frmHilfeIndex::mousePressEvent(QMouseEvent *event)
{
    // A click on the pane itself (not on a control) activates it when the focus is elsewhere,
    // in the help window for instance; within the active pane it moves no focus.
    QWidget::mousePressEvent(event);
    QWidget *fokus = QApplication::focusWidget();
    if (!fokus || !isAncestorOf(fokus))
        Form_Activate();
}

void frmHilfeIndex::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    Form_Activate();
}

void frmHilfeIndex::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmHilfeIndex::Form_Resize()
{
    const auto g = HilfeIndexLayoutBerechnen(pixelZuTwipsX(width()), pixelZuTwipsY(height()),
                                             windowState() & Qt::WindowMinimized, m_geo);
    if (!g)
        return;
    m_geo = *g;
    geometrieAnwenden();
}

void frmHilfeIndex::geometrieAnwenden()
{
    setzeGeometrie(m_txtSuchen, m_geo.txtSuchen);
    setzeGeometrie(m_lbl[0], m_geo.lbl0);
    setzeGeometrie(m_cmdSuchen, m_geo.cmdSuchen);
    setzeGeometrie(m_lstWoerter, m_geo.lstWoerter);
    setzeGeometrie(m_lbl[1], m_geo.lbl1);
    setzeGeometrie(m_scr, m_geo.scr);
    setzeGeometrie(m_lbl[2], m_geo.lbl2);
    setzeGeometrie(m_cmdAnzeigen, m_geo.cmdAnzeigen);
    setzeGeometrie(m_cmdAbbruch, m_geo.cmdAbbruch);
    setzeGeometrie(m_optStichwort, m_geo.optStichwort);
    setzeGeometrie(m_optVolltext, m_geo.optVolltext);
    // A correction takes the place of the hits' caption; caption and grid move down for it.
    TwipRechteck lbl = m_geo.lblVolltext;
    TwipRechteck raster = m_geo.scrVolltext;
    if (!m_korrektur.isEmpty() && m_volltext) {
        // As high as its lines need at this width (a long search text wraps).
        const int zeilen = m_lblKorrektur->heightForWidth(std::max(px(lbl.breite), 1));
        const qint32 hoehe = std::max(KorrekturHoehe, TwipRunden(pixelZuTwipsY(zeilen)));
        setzeGeometrie(m_lblKorrektur, TwipRechteck{lbl.links, lbl.oben, lbl.breite, hoehe});
        const qint32 tiefer = hoehe + KorrekturAbstand;
        lbl.oben += tiefer;
        raster.oben += tiefer;
        raster.hoehe = std::max(raster.hoehe - tiefer, 0);
    }
    setzeGeometrie(m_scrVolltext, raster);
    setzeGeometrie(m_lblVolltext, lbl);
    // A caption longer than its label's design width is shown whole.
    for (QLabel *l : m_lbl)
        if (l->width() < l->sizeHint().width())
            l->resize(l->sizeHint().width(), l->height());
    // The line is drawn as a sunken rule two pixels high starting at its y.
    m_line1->setGeometry(px(m_geo.line1X1), py(m_geo.line1Y),
                         std::max(px(m_geo.line1X2 - m_geo.line1X1), 0), 2);
}
