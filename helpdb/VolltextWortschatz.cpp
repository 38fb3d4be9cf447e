// The vocabulary of the full-text index (see VolltextWortschatz.h).
#include "VolltextWortschatz.h"

#include "VolltextWort.h"

#include <QHash>

#include <algorithm>

namespace Volltext {

Wortschatz::Wortschatz(QList<Vokabel> eintraege) : m_eintraege(std::move(eintraege))
{
    std::sort(m_eintraege.begin(), m_eintraege.end(),
              [](const Vokabel &a, const Vokabel &b) { return a.schluessel < b.schluessel; });
    QHash<QString, int> formen;
    for (const Vokabel &v : std::as_const(m_eintraege)) {
        int &n = formen[v.form];
        n = std::max(n, v.abschnitte);
    }
    m_formen.reserve(formen.size());
    for (auto it = formen.cbegin(); it != formen.cend(); ++it)
        m_formen.append({it.key(), it.value()});
    std::sort(m_formen.begin(), m_formen.end());
}

namespace {

// Numbers and codes ("w10", "2026") are no misspellings of words.
bool mitZiffer(const QString &s)
{
    return std::any_of(s.cbegin(), s.cend(), [](QChar c) { return c.isDigit(); });
}

} // namespace

const Vokabel *Wortschatz::korrektur(QStringView wort) const
{
    const QString k = schluessel(wort);
    if (k.size() < MindestKorrektur || mitZiffer(k))
        return nullptr;
    const int erlaubt = k.size() <= KurzesWort ? 1 : 2;
    const Vokabel *beste = nullptr;
    int besterAbstand = erlaubt + 1;
    for (const Vokabel &v : m_eintraege) {
        const int d = abstand(k, v.schluessel, erlaubt);
        if (d > erlaubt || d == 0 || mitZiffer(v.schluessel))
            continue;
        // The entries are ordered by key, so the first of equal distance and sections wins.
        if (d < besterAbstand || (d == besterAbstand && v.abschnitte > beste->abschnitte)) {
            beste = &v;
            besterAbstand = d;
        }
    }
    return beste;
}

QStringList Wortschatz::spaetereTeile(const QString &form) const
{
    QList<QPair<QString, int>> teile;
    if (form.size() < MindestTeil)
        return {};
    for (const auto &[f, n] : m_formen) {
        if (f.size() >= form.size() + TeilVorlauf && f.endsWith(form) && !f.startsWith(form))
            teile.append({f, n});
    }
    std::stable_sort(teile.begin(), teile.end(),
                     [](const auto &a, const auto &b) { return a.second > b.second; });
    QStringList aus;
    for (qsizetype i = 0; i < teile.size() && i < MaxTeile; ++i)
        aus << teile.at(i).first;
    return aus;
}

QStringList Wortschatz::zerlegung(QStringView wort) const
{
    const QString k = schluessel(wort);
    const auto vorhanden = [this](const QString &form) {
        if (form.isEmpty())
            return false;
        const auto it = std::lower_bound(
            m_formen.cbegin(), m_formen.cend(), form,
            [](const QPair<QString, int> &a, const QString &f) { return a.first < f; });
        return it != m_formen.cend() && it->first == form;
    };
    for (qsizetype i = k.size() - MindestTeil; i >= 3; --i) {
        const QString rechts = suchform(QStringView(k).mid(i));
        if (!vorhanden(rechts))
            continue;
        for (const qsizetype laenge : {i, i - 1}) {
            if (laenge < i && (laenge < 3 || k.at(laenge) != u's'))
                continue;
            const QString links = suchform(QStringView(k).left(laenge));
            if (vorhanden(links))
                return {links, rechts};
        }
    }
    return {};
}

QByteArray Wortschatz::packen() const
{
    QByteArray zeilen;
    for (const Vokabel &v : m_eintraege) {
        zeilen += v.schluessel.toUtf8() + '\t' + v.wort.toUtf8() + '\t' + v.form.toUtf8() + '\t' +
                  QByteArray::number(v.abschnitte) + '\n';
    }
    return qCompress(zeilen, 9);
}

namespace {

// The lines of a packing; qUncompress complains about damaged data on the console, so a packing
// shorter than its length field is not even tried.
QByteArray auspacken(const QByteArray &gepackt)
{
    return gepackt.size() > 4 ? qUncompress(gepackt) : QByteArray();
}

} // namespace

bool Wortschatz::lesbar(const QByteArray &gepackt)
{
    return !auspacken(gepackt).isEmpty();
}

Wortschatz Wortschatz::entpacken(const QByteArray &gepackt)
{
    const QByteArray zeilen = auspacken(gepackt);
    QList<Vokabel> eintraege;
    qsizetype anfang = 0;
    while (anfang < zeilen.size()) {
        qsizetype ende = zeilen.indexOf('\n', anfang);
        if (ende < 0)
            ende = zeilen.size();
        const QByteArrayView zeile = QByteArrayView(zeilen).sliced(anfang, ende - anfang);
        anfang = ende + 1;
        QByteArrayView teile[4];
        int n = 0;
        qsizetype von = 0;
        while (n < 4) {
            qsizetype bis = zeile.indexOf('\t', von);
            if (bis < 0)
                bis = zeile.size();
            teile[n++] = zeile.sliced(von, bis - von);
            von = bis + 1;
            if (bis == zeile.size())
                break;
        }
        if (n != 4 || von <= zeile.size())
            continue;
        eintraege.append(Vokabel{QString::fromUtf8(teile[0]), QString::fromUtf8(teile[1]),
                                 QString::fromUtf8(teile[2]), teile[3].toInt()});
    }
    return Wortschatz(std::move(eintraege));
}

QStringList Wortschatz::ergaenzungen(QStringView anfang, int anzahl) const
{
    const QString k = schluessel(anfang);
    if (k.isEmpty() || anzahl <= 0)
        return {};
    const auto erstes =
        std::lower_bound(m_eintraege.cbegin(), m_eintraege.cend(), k,
                         [](const Vokabel &v, const QString &s) { return v.schluessel < s; });
    QList<const Vokabel *> passend;
    for (auto it = erstes; it != m_eintraege.cend() && it->schluessel.startsWith(k); ++it)
        passend.append(&*it);
    std::stable_sort(passend.begin(), passend.end(), [](const Vokabel *a, const Vokabel *b) {
        return a->abschnitte > b->abschnitte;
    });
    QStringList aus;
    for (qsizetype i = 0; i < passend.size() && i < anzahl; ++i)
        aus << passend.at(i)->wort;
    return aus;
}

QList<Wort> WortschatzSammler::woerter(const QString &text)
{
    QList<Wort> liste = Volltext::woerter(text);
    for (const Wort &w : std::as_const(liste))
        wort(QStringView(text).mid(w.anfang, w.laenge), w.form);
    return liste;
}

void WortschatzSammler::wort(QStringView text, const QString &form)
{
    // The lookup borrows the characters; only a new spelling is copied.
    auto nr = m_schreibweiseNr.constFind(QString::fromRawData(text.data(), text.size()));
    if (nr == m_schreibweiseNr.constEnd()) {
        const QString sw = text.toString();
        const QString k = schluessel(sw);
        auto kn = m_schluesselNr.constFind(k);
        if (kn == m_schluesselNr.constEnd()) {
            kn = m_schluesselNr.insert(k, m_eintraege.size());
            m_eintraege.append(Eintrag{k, form, 0, -1});
        }
        nr = m_schreibweiseNr.insert(sw, m_schreibweisen.size());
        m_schreibweisen.append(Schreibweise{sw, *kn, 0, -1});
    }
    Schreibweise &sw = m_schreibweisen[*nr];
    if (sw.zuletzt == m_abschnitt)
        return;
    sw.zuletzt = m_abschnitt;
    ++sw.abschnitte;
    Eintrag &e = m_eintraege[sw.schluessel];
    if (e.zuletzt != m_abschnitt) {
        e.zuletzt = m_abschnitt;
        ++e.abschnitte;
    }
}

Wortschatz WortschatzSammler::ergebnis() const
{
    QList<qsizetype> gezeigt(m_eintraege.size(), -1);
    for (qsizetype i = 0; i < m_schreibweisen.size(); ++i) {
        const Schreibweise &sw = m_schreibweisen.at(i);
        qsizetype &g = gezeigt[sw.schluessel];
        const Schreibweise *bisher = g < 0 ? nullptr : &m_schreibweisen.at(g);
        if (!bisher || sw.abschnitte > bisher->abschnitte ||
            (sw.abschnitte == bisher->abschnitte && sw.text < bisher->text))
            g = i;
    }
    QList<Vokabel> vokabeln;
    vokabeln.reserve(m_eintraege.size());
    for (qsizetype i = 0; i < m_eintraege.size(); ++i) {
        const Eintrag &e = m_eintraege.at(i);
        vokabeln.append(
            Vokabel{e.schluessel, m_schreibweisen.at(gezeigt.at(i)).text, e.form, e.abschnitte});
    }
    return Wortschatz(std::move(vokabeln));
}

} // namespace Volltext
