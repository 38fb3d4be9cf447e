// The open help as a document (see HilfeDokument.h).
#include "HilfeDokument.h"

#include <QStringList>

#include <algorithm>
#include <utility>

namespace {

// Numeric value of one piece of a help number, read as a decimal number the way the number
// was typed: blanks ignored, an optional sign, the leading digits; nothing numeric gives 0.
double teilWert(const QString &teil)
{
    double wert = 0;
    bool negativ = false;
    bool ziffernBegonnen = false;
    for (const QChar c : teil) {
        if (c.isSpace())
            continue;
        if (!ziffernBegonnen && (c == u'-' || c == u'+')) {
            negativ = c == u'-';
            ziffernBegonnen = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            break;
        ziffernBegonnen = true;
        wert = wert * 10 + (c.unicode() - u'0');
    }
    return negativ ? -wert : wert;
}

// Piece n (1 = first) of a help number, split at its dots.
double nummernTeil(const QString &nummer, int n)
{
    return teilWert(nummer.split(QLatin1Char('.')).value(n - 1));
}

// At least two digits, as the help numbers are written.
QString zweistellig(qint32 n)
{
    if (n < 0)
        return QLatin1Char('-') + QStringLiteral("%1").arg(-qint64(n), 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// The index of the entry with this number, or -1.
template <class T> int stelle(const QList<T> &liste, double nummer)
{
    for (int i = 0; i < liste.size(); ++i)
        if (nummer == liste.at(i).nummer)
            return i;
    return -1;
}

// The index of the chapter or topic with this ID, or -1.
int stelleDerID(const QList<HilfeEintrag> &liste, qint32 id)
{
    for (int i = 0; i < liste.size(); ++i)
        if (liste.at(i).id == id)
            return i;
    return -1;
}

int stelle(const QList<qint32> &liste, double nummer)
{
    for (int i = 0; i < liste.size(); ++i)
        if (nummer == liste.at(i))
            return i;
    return -1;
}

// The link table's positions are 16-bit: a topic shows at most this many sections.
constexpr qsizetype HoechstAbschnitte = 32767;

} // namespace

std::optional<QList<qint32>> DokumentQuelle::abschnittNummern(qint32 themaID)
{
    const auto abschnitte = this->abschnitte(themaID);
    if (!abschnitte)
        return std::nullopt;
    QList<qint32> nummern;
    nummern.reserve(abschnitte->size());
    for (const HilfeAbschnitt &a : *abschnitte)
        nummern << a.nummer;
    return nummern;
}

HilfeDokument::HilfeDokument(DokumentQuelle &quelle, QObject *parent)
    : QObject(parent), m_quelle(quelle)
{
}

QString HilfeDokument::nummerBilden(qint32 kapitel, qint32 thema, qint32 text)
{
    return zweistellig(kapitel) + QLatin1Char('.') + zweistellig(thema) + QLatin1Char('.') +
           zweistellig(text);
}

int HilfeDokument::gezeigterAbschnitt() const
{
    return (m_abschnittIndex >= 0 && m_abschnittIndex < m_abschnitte.size()) ? m_abschnittIndex
                                                                             : -1;
}

QString HilfeDokument::aktuelleNummer() const
{
    if (m_abschnittIndex < 0)
        return QString();
    const auto nummer = [](const auto &liste, int i) {
        return (i >= 0 && i < liste.size()) ? liste.at(i).nummer : 0;
    };
    return nummerBilden(nummer(m_kapitel, m_kapitelIndex), nummer(m_themen, m_themaIndex),
                        nummer(m_abschnitte, m_abschnittIndex));
}

bool HilfeDokument::laden(const QString &start)
{
    const auto kapitel = m_quelle.kapitel();
    if (!kapitel || kapitel->isEmpty())
        return false;
    // Resolved against the database alone, so that what a call shows never depends on what
    // was shown before.
    const QString nummer = start.isEmpty() ? QStringLiteral("01.01.01") : start;
    const QString ziel = zielAufloesen(nummer, *kapitel, m_zielBekannt);
    if (ziel.isEmpty())
        return false;

    // The history starts anew, unless the target cannot be read: what was shown then stays,
    // history included.
    const HilfeVerlauf verlaufVorher = m_verlauf;
    m_verlauf.leeren();
    m_kapitel = *kapitel;
    // The chapter that stays loaded keeps its topics; nothing is shown on the way.
    const int geladen = m_kapitelID != 0 ? stelleDerID(m_kapitel, m_kapitelID) : -1;
    m_kapitelIndex = geladen >= 0 ? geladen : 0;
    emit kapitelGeaendert();
    if (geladen < 0 && m_kapitelID != 0) {
        // The chapter that was loaded is gone from the database.
        m_kapitelID = 0;
        m_themen.clear();
        m_themaID = 0;
        m_themaIndex = -1;
        emit themenGeaendert();
        leeren();
    }
    emit auswahlGeaendert();

    geheZu(ziel, Verlauf::Merken);
    if (m_lesefehler) {
        m_verlauf = verlaufVorher;
        knoepfeMelden();
        return false;
    }
    // The history holds the shown section and nothing else.
    if (m_verlauf.anzahl() == 0 && gezeigterAbschnitt() >= 0)
        m_verlauf.merken(aktuelleNummer());
    knoepfeMelden();
    return true;
}

bool HilfeDokument::neuLaden()
{
    const QString nummer = aktuelleNummer();
    const HilfeVerlauf verlaufVorher = m_verlauf;
    // The IDs may be the same while titles and texts are not: nothing read before is kept,
    // unless the new content cannot be read at all.
    const qint32 kapitelID = std::exchange(m_kapitelID, 0);
    const qint32 themaID = std::exchange(m_themaID, 0);
    const QList<HilfeEintrag> themen = std::exchange(m_themen, {});
    const QList<HilfeAbschnitt> abschnitte = std::exchange(m_abschnitte, {});
    if (!laden(nummer)) {
        if (m_kapitelID == 0 && m_themaID == 0) {
            m_kapitelID = kapitelID;
            m_themaID = themaID;
            m_themen = themen;
            m_abschnitte = abschnitte;
        }
        return false;
    }
    if (aktuelleNummer() == nummer) {
        m_verlauf = verlaufVorher;
        knoepfeMelden();
    }
    return true;
}

QString HilfeDokument::zielAufloesen(const QString &nummer, const QList<HilfeEintrag> &kapitel,
                                     bool &bekannt)
{
    // An unknown chapter gives the first section of all; an unknown topic the chapter's first
    // topic, where the section part is still looked for; an unknown section the topic's
    // first. A chapter or topic without content gives a number that selects it and no section.
    bekannt = true;
    int k = stelle(kapitel, nummernTeil(nummer, 1));
    const bool kapitelBekannt = k >= 0;
    if (!kapitelBekannt) {
        bekannt = false;
        k = 0;
    }
    const auto themen = m_quelle.themen(kapitel.at(k).id);
    if (!themen)
        return QString();
    int t = kapitelBekannt ? stelle(*themen, nummernTeil(nummer, 2)) : 0;
    if (t < 0) {
        bekannt = false;
        t = 0;
    }
    QList<qint32> texte;
    if (!themen->isEmpty()) {
        const auto nummern = m_quelle.abschnittNummern(themen->at(t).id);
        if (!nummern)
            return QString();
        texte = *nummern;
    }
    int x = kapitelBekannt ? stelle(texte, nummernTeil(nummer, 3)) : 0;
    if (x < 0) {
        bekannt = false;
        x = 0;
    }
    return nummerBilden(kapitel.at(k).nummer, t < themen->size() ? themen->at(t).nummer : 0,
                        x < texte.size() ? texte.at(x) : 0);
}

void HilfeDokument::geheZu(const QString &nummer, Verlauf verlauf)
{
    m_merken = verlauf;
    m_lesefehler = false;
    const auto ende = [this] { m_merken = Verlauf::Merken; };
    const int k = stelle(m_kapitel, nummernTeil(nummer, 1));
    if (k >= 0 && !kapitelLaden(k, false))
        return ende();
    const int t = stelle(m_themen, nummernTeil(nummer, 2));
    if (t >= 0 && !themaLaden(t, false))
        return ende();
    const int x = stelle(m_abschnitte, nummernTeil(nummer, 3));
    if (x >= 0)
        abschnittZeigenUndMerken(x);
    ende();
}

void HilfeDokument::kapitelWaehlen(int index)
{
    m_lesefehler = false;
    kapitelLaden(index, true);
}

void HilfeDokument::themaWaehlen(int index)
{
    m_lesefehler = false;
    themaLaden(index, true);
}

void HilfeDokument::abschnittWaehlen(int index)
{
    abschnittZeigenUndMerken(index);
}

bool HilfeDokument::kapitelLaden(int index, bool ersterAbschnitt)
{
    if (index < 0 || index >= m_kapitel.size())
        return true;
    m_kapitelIndex = index;
    const qint32 id = m_kapitel.at(index).id;
    if (id == m_kapitelID) {
        emit auswahlGeaendert();
        return true;
    }
    const qint32 vorher = m_kapitelID;
    m_kapitelID = id;
    const auto themen = m_quelle.themen(id);
    if (!themen) {
        // Reported by the source. The tab goes back to the chapter still shown, so that
        // choosing this chapter again reads it again.
        m_lesefehler = true;
        kapitelZuruecksetzen(vorher);
        return false;
    }
    m_themen = *themen;
    m_themaID = 0;
    if (m_themen.isEmpty()) {
        // The sections loaded belong to the previous chapter's topic: none of them may be
        // selected or recorded under this chapter's number.
        m_themaIndex = -1;
        emit themenGeaendert();
        emit auswahlGeaendert();
        leeren();
        return true;
    }
    m_themaIndex = 0;
    emit themenGeaendert();
    return themaLaden(0, ersterAbschnitt);
}

bool HilfeDokument::themaLaden(int index, bool ersterAbschnitt)
{
    if (index < 0 || index >= m_themen.size())
        return true;
    m_themaIndex = index;
    const qint32 id = m_themen.at(index).id;
    if (id == m_themaID) {
        emit auswahlGeaendert();
        return true;
    }
    const qint32 vorher = m_themaID;
    m_themaID = id;
    auto abschnitte = m_quelle.abschnitte(id);
    if (!abschnitte) {
        m_lesefehler = true;
        themaZuruecksetzen(vorher);
        return false;
    }
    if (abschnitte->size() > HoechstAbschnitte)
        abschnitte->resize(HoechstAbschnitte);
    if (abschnitte->isEmpty()) {
        emit auswahlGeaendert();
        leeren();
        return true;
    }
    m_abschnitte = std::move(*abschnitte);
    m_abschnittIndex = -1;
    emit abschnitteGeaendert();
    emit auswahlGeaendert();
    if (ersterAbschnitt)
        abschnittZeigenUndMerken(0);
    return true;
}

void HilfeDokument::kapitelZuruecksetzen(qint32 kapitelID)
{
    const int i = stelleDerID(m_kapitel, kapitelID);
    if (kapitelID != 0 && i >= 0) {
        // The topics, sections and text shown still belong to that chapter.
        m_kapitelIndex = i;
        m_kapitelID = kapitelID;
        emit auswahlGeaendert();
        return;
    }
    // Nothing was loaded before: what is left belongs to no chapter.
    m_kapitelID = 0;
    m_themen.clear();
    m_themaID = 0;
    m_themaIndex = -1;
    emit themenGeaendert();
    emit auswahlGeaendert();
    leeren();
}

void HilfeDokument::themaZuruecksetzen(qint32 themaID)
{
    const int i = stelleDerID(m_themen, themaID);
    if (themaID != 0 && i >= 0) {
        m_themaIndex = i;
        m_themaID = themaID;
        emit auswahlGeaendert();
        return;
    }
    m_themaID = 0;
    leeren();
}

void HilfeDokument::leeren()
{
    m_abschnitte.clear();
    m_abschnittIndex = -1;
    m_verweise = {tVerweis()};
    m_verweisAnzahl = 0;
    m_keinNaechster = m_keinVoriger = false;
    emit abschnitteGeaendert();
    emit abschnittGeleert();
    knoepfeMelden();
}

void HilfeDokument::abschnittZeigenUndMerken(int index)
{
    if (index < 0 || index >= m_abschnitte.size())
        return;
    m_abschnittIndex = index;
    m_keinNaechster = m_keinVoriger = false;
    emit auswahlGeaendert();
    emit abschnittZeigen(m_abschnitte.at(index).text);
    if (m_merken == Verlauf::Merken)
        m_verlauf.merken(aktuelleNummer());
    knoepfeMelden();
}

void HilfeDokument::setVerweise(const QList<tVerweis> &verweise, qint16 anzahl)
{
    m_verweise = verweise.isEmpty() ? QList<tVerweis>{tVerweis()} : verweise;
    m_verweisAnzahl = qint16(std::clamp<qsizetype>(anzahl, 0, m_verweise.size() - 1));
}

void HilfeDokument::verweisFolgen(int i)
{
    if (i < 1 || i > m_verweisAnzahl || i >= m_verweise.size())
        return;
    // The jump renders another section and replaces the table: work on a copy.
    const tVerweis v = m_verweise.at(i);
    if (!v.TextNummer.isEmpty())
        geheZu(v.TextNummer, Verlauf::Merken);
    else if (!v.BildNummer.isEmpty())
        emit bildGewuenscht(v.BildNummer, v.BildTitel);
}

bool HilfeDokument::vorigerMoeglich() const
{
    // Previous is off only on the first section of the first topic of the first chapter,
    // and while no section is shown.
    const bool erste = m_kapitelIndex < 1 && m_themaIndex < 1 && m_abschnittIndex <= 0;
    return gezeigterAbschnitt() >= 0 && !erste && !m_keinVoriger;
}

bool HilfeDokument::naechsterMoeglich() const
{
    const bool letzte = m_kapitelIndex >= m_kapitel.size() - 1 &&
                        m_themaIndex >= m_themen.size() - 1 &&
                        m_abschnittIndex >= m_abschnitte.size() - 1;
    return gezeigterAbschnitt() >= 0 && !letzte && !m_keinNaechster;
}

void HilfeDokument::knoepfeMelden()
{
    emit knoepfeGeaendert();
}

void HilfeDokument::zurueck()
{
    const qint32 pos = m_verlauf.position();
    if (pos <= 1)
        return;
    m_verlauf.setPosition(pos - 1);
    knoepfeMelden();
    geheZu(m_verlauf.eintrag(pos - 1), Verlauf::NichtMerken);
}

void HilfeDokument::vorwaerts()
{
    const qint32 pos = m_verlauf.position();
    if (pos >= m_verlauf.anzahl())
        return;
    m_verlauf.setPosition(pos + 1);
    knoepfeMelden();
    geheZu(m_verlauf.eintrag(pos + 1), Verlauf::NichtMerken);
}

void HilfeDokument::naechsterAbschnitt()
{
    const int kapitel = m_kapitelIndex;
    if (m_kapitel.isEmpty() || kapitel < 0 || kapitel >= m_kapitel.size())
        return;
    const qint32 kapitelNummer = m_kapitel.at(kapitel).nummer;

    // Within the topic.
    const int x = gezeigterAbschnitt();
    if (x + 1 < m_abschnitte.size() && m_themaIndex >= 0 && m_themaIndex < m_themen.size()) {
        geheZu(nummerBilden(kapitelNummer, m_themen.at(m_themaIndex).nummer,
                            m_abschnitte.at(x + 1).nummer),
               Verlauf::Merken);
        return;
    }

    // The following topics of the chapter, then the following chapters; the topics and
    // sections passed are read for their numbers only.
    for (int t = std::max(m_themaIndex, 0) + 1; t < m_themen.size(); ++t) {
        const auto nummern = m_quelle.abschnittNummern(m_themen.at(t).id);
        if (!nummern)
            return;
        if (!nummern->isEmpty()) {
            geheZu(nummerBilden(kapitelNummer, m_themen.at(t).nummer, nummern->first()),
                   Verlauf::Merken);
            return;
        }
    }
    for (int k = kapitel + 1; k < m_kapitel.size(); ++k) {
        const auto themen = m_quelle.themen(m_kapitel.at(k).id);
        if (!themen)
            return;
        for (const HilfeEintrag &thema : *themen) {
            const auto nummern = m_quelle.abschnittNummern(thema.id);
            if (!nummern)
                return;
            if (!nummern->isEmpty()) {
                geheZu(nummerBilden(m_kapitel.at(k).nummer, thema.nummer, nummern->first()),
                       Verlauf::Merken);
                return;
            }
        }
    }

    // Only empty topics and chapters follow: there is no next section.
    m_keinNaechster = true;
    knoepfeMelden();
}

void HilfeDokument::vorigerAbschnitt()
{
    const int kapitel = m_kapitelIndex;
    if (m_kapitel.isEmpty() || kapitel < 0 || kapitel >= m_kapitel.size())
        return;

    // Within the topic.
    const int x = gezeigterAbschnitt();
    if (x > 0 && m_themaIndex >= 0 && m_themaIndex < m_themen.size()) {
        geheZu(nummerBilden(m_kapitel.at(kapitel).nummer, m_themen.at(m_themaIndex).nummer,
                            m_abschnitte.at(x - 1).nummer),
               Verlauf::Merken);
        return;
    }

    // The nearest topic before this one that has sections: first in this chapter, then from
    // the last topic of each chapter before it.
    int zielKapitel = -1;
    int zielThema = -1;
    const int thema = std::clamp<int>(m_themaIndex, 0, int(m_themen.size()));
    for (int t = thema - 1; t >= 0 && zielThema < 0; --t) {
        const auto nummern = m_quelle.abschnittNummern(m_themen.at(t).id);
        if (!nummern)
            return;
        if (!nummern->isEmpty()) {
            zielKapitel = kapitel;
            zielThema = t;
        }
    }
    for (int k = kapitel - 1; k >= 0 && zielThema < 0; --k) {
        const auto themen = m_quelle.themen(m_kapitel.at(k).id);
        if (!themen)
            return;
        for (int t = int(themen->size()) - 1; t >= 0 && zielThema < 0; --t) {
            const auto nummern = m_quelle.abschnittNummern(themen->at(t).id);
            if (!nummern)
                return;
            if (!nummern->isEmpty()) {
                zielKapitel = k;
                zielThema = t;
            }
        }
    }
    if (zielThema < 0) {
        // Only empty topics and chapters lie before: there is no previous section.
        m_keinVoriger = true;
        knoepfeMelden();
        return;
    }

    // Choose the tabs as the user would; each loads its lists and shows (and records) the
    // first section of the topic it chooses. A read that fails there has been reported, and
    // the command ends.
    m_lesefehler = false;
    if (zielKapitel != kapitel) {
        if (!kapitelLaden(zielKapitel, true) || m_lesefehler ||
            m_kapitelID != m_kapitel.at(zielKapitel).id || zielThema >= m_themen.size())
            return;
    }
    if (m_themaIndex != zielThema && (!themaLaden(zielThema, true) || m_lesefehler))
        return;
    if (m_themaID != m_themen.at(zielThema).id || m_abschnitte.isEmpty())
        return;

    // The last section of the topic now chosen.
    geheZu(nummerBilden(m_kapitel.at(zielKapitel).nummer, m_themen.at(zielThema).nummer,
                        m_abschnitte.last().nummer),
           Verlauf::Merken);
}
