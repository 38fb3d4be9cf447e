// Taking a full-text query apart, and finding its hits in a text (see VolltextAnfrage.h).
#include "VolltextAnfrage.h"

#include "VolltextWort.h"
#include "VolltextWortschatz.h"

#include <algorithm>

namespace {

bool anfuehrungszeichen(QChar c)
{
    switch (c.unicode()) {
    case u'"':
    case u'„':
    case u'“':
    case u'”':
        return true;
    }
    return false;
}

bool operatorWort(QStringView wort)
{
    return wort == u"NEAR" || wort == u"AND" || wort == u"OR" || wort == u"NOT";
}

struct Roh
{
    QStringView wort;
    bool inPhrase;
    int phrase; // number of the quoted part, -1 outside quotes
};

// The words of the input, each with the quoted part it belongs to. Quotes pair up from the
// left; a last quote without a partner is no quote.
QList<Roh> roheWoerter(const QString &eingabe)
{
    qsizetype quotes = 0;
    for (QChar c : eingabe)
        quotes += anfuehrungszeichen(c) ? 1 : 0;
    const qsizetype gepaart = quotes - quotes % 2;

    QList<Roh> liste;
    qsizetype gesehen = 0;
    bool drinnen = false;
    int phrase = -1;
    const qsizetype n = eingabe.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = eingabe.at(i);
        if (anfuehrungszeichen(c)) {
            if (gesehen < gepaart) {
                drinnen = !drinnen;
                if (drinnen)
                    ++phrase;
            }
            ++gesehen;
            ++i;
            continue;
        }
        if (!Volltext::wortZeichen(c)) {
            ++i;
            continue;
        }
        const qsizetype anfang = i;
        while (i < n && Volltext::wortZeichen(eingabe.at(i)))
            ++i;
        liste.append(
            Roh{QStringView(eingabe).mid(anfang, i - anfang), drinnen, drinnen ? phrase : -1});
        // "NEAR/3": the distance belongs to the operator.
        if (!drinnen && liste.last().wort == u"NEAR" && i < n && eingabe.at(i) == u'/') {
            qsizetype j = i + 1;
            while (j < n && eingabe.at(j).isDigit())
                ++j;
            if (j > i + 1)
                i = j;
        }
    }
    return liste;
}

} // namespace

namespace Volltext {

bool formPasst(const QString &wortForm, const QString &begriffForm)
{
    if (begriffForm.size() >= MindestPraefix)
        return wortForm.startsWith(begriffForm);
    return wortForm == begriffForm;
}

Anfrage anfrageZerlegen(const QString &eingabe)
{
    const QList<Roh> roh = roheWoerter(eingabe);
    bool nurOperatoren = true;
    for (const Roh &r : roh)
        nurOperatoren = nurOperatoren && !r.inPhrase && operatorWort(r.wort);

    Anfrage a;
    int letztePhrase = -1;
    for (const Roh &r : roh) {
        if (!r.inPhrase && operatorWort(r.wort) && !nurOperatoren)
            continue;
        const QStringView wort = r.wort.left(MaxWortLaenge);
        const QString form = suchform(wort);
        if (form.isEmpty()) {
            a.satz = a.satz || !r.inPhrase;
            continue;
        }
        a.woerter << wort.toString();
        if (r.inPhrase && r.phrase == letztePhrase && !a.begriffe.isEmpty()) {
            a.begriffe.last().formen << form;
            a.begriffe.last().wort.clear();
        } else {
            a.begriffe.append(Begriff{{form}, wort.toString(), {}, {}});
        }
        letztePhrase = r.inPhrase ? r.phrase : -1;
    }
    // A separable prefix standing apart ("wie lege ich … an"): each word also as the verb with
    // the prefix in front ("anlege": "anlegen"), as the texts write it in the infinitive.
    for (const Roh &r : roh) {
        const QString praefix = r.wort.toString().toLower();
        if (r.inPhrase || !trennbarePraefixe().contains(praefix))
            continue;
        for (Begriff &b : a.begriffe) {
            if (b.phrase() || b.wort.compare(r.wort, Qt::CaseInsensitive) == 0)
                continue;
            const QString f = suchform(praefix + b.wort.toLower());
            if (!f.isEmpty() && f != b.formen.first() && !b.teile.contains(f))
                b.teile << f;
        }
    }
    // The same term twice asks nothing new.
    QList<Begriff> eindeutig;
    for (const Begriff &b : std::as_const(a.begriffe)) {
        const bool doppelt = std::any_of(eindeutig.cbegin(), eindeutig.cend(),
                                         [&](const Begriff &e) { return e.formen == b.formen; });
        if (!doppelt && eindeutig.size() < MaxBegriffe)
            eindeutig.append(b);
    }
    a.begriffe = eindeutig;
    return a;
}

QString matchAusdruck(const Anfrage &anfrage, bool oder)
{
    QStringList teile;
    for (const Begriff &b : anfrage.begriffe) {
        QStringList formen;
        for (const QString &f : b.formen)
            formen << (f.size() >= MindestPraefix ? f + u'*' : f);
        QString begriff = u'"' + formen.join(u' ') + u'"';
        for (const QString &t : b.teile)
            begriff += QStringLiteral(" OR \"") + t + u'"';
        if (b.getrennt.size() == 2) {
            const auto praefix = [](const QString &f) {
                return f.size() >= MindestPraefix ? f + u'*' : f;
            };
            begriff += QStringLiteral(" OR \"%1\" NEAR/%2 \"%3\"")
                           .arg(praefix(b.getrennt[0]))
                           .arg(TeileAbstand)
                           .arg(praefix(b.getrennt[1]));
        }
        teile << begriff;
    }
    return teile.join(oder ? QStringLiteral(" OR ") : QStringLiteral(" "));
}

QList<Phrase> phrasen(const Anfrage &anfrage)
{
    QList<Phrase> aus;
    for (qsizetype i = 0; i < anfrage.begriffe.size(); ++i) {
        aus.append(Phrase{int(i), 1.0});
        const Begriff &b = anfrage.begriffe.at(i);
        for (qsizetype t = 0; t < b.teile.size() + b.getrennt.size(); ++t)
            aus.append(Phrase{int(i), TeilGewicht});
    }
    return aus;
}

namespace {

// Walks the words of a text and reports the hits in order; stops when melden returns false.
template <typename F> void trefferSuchen(QStringView text, const Anfrage &anfrage, F melden)
{
    const QList<Wort> w = woerter(text);
    qsizetype i = 0;
    while (i < w.size()) {
        qsizetype laenge = 0;
        for (const Begriff &b : anfrage.begriffe) {
            const qsizetype k = b.formen.size();
            if (k <= laenge || i + k > w.size())
                continue;
            bool passt = true;
            for (qsizetype j = 0; j < k && passt; ++j)
                passt = formPasst(w[i + j].form, b.formen[j]);
            passt =
                passt || (k == 1 &&
                          (b.teile.contains(w[i].form) ||
                           std::any_of(b.getrennt.cbegin(), b.getrennt.cend(),
                                       [&](const QString &t) { return formPasst(w[i].form, t); })));
            if (passt)
                laenge = k;
        }
        if (laenge == 0) {
            ++i;
            continue;
        }
        const int anfang = w[i].anfang;
        const int ende = w[i + laenge - 1].anfang + w[i + laenge - 1].laenge;
        if (!melden(anfang, ende - anfang))
            return;
        i += laenge;
    }
}

bool leerzeichen(QChar c)
{
    return c.isSpace() || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

QList<QPair<int, int>> trefferBereiche(QStringView text, const Anfrage &anfrage)
{
    QList<QPair<int, int>> bereiche;
    if (anfrage.leer())
        return bereiche;
    trefferSuchen(text, anfrage, [&](int anfang, int laenge) {
        bereiche.append({anfang, laenge});
        return true;
    });
    return bereiche;
}

QString ausschnitt(QStringView text, const Anfrage &anfrage, int laenge)
{
    int treffer = -1;
    if (!anfrage.leer()) {
        trefferSuchen(text, anfrage, [&](int anfang, int) {
            treffer = anfang;
            return false;
        });
    }
    const int n = int(text.size());
    int von = 0;
    if (treffer > 0) {
        // Some context before the hit, starting at a word.
        von = std::max(0, treffer - laenge / 3);
        while (von > 0 && von < treffer && wortZeichen(text[von - 1]))
            ++von;
    }
    while (von < n && leerzeichen(text[von]))
        ++von;
    int bis = std::min(n, von + laenge);
    if (bis < n) {
        // End behind a whole word.
        int b = bis;
        while (b > von && wortZeichen(text[b - 1]) && wortZeichen(text[b]))
            --b;
        if (b > von + laenge / 2)
            bis = b;
    }
    const auto nurLeer = [&](int a, int b) {
        for (int i = a; i < b; ++i)
            if (!leerzeichen(text[i]) && text[i] != u'\v')
                return false;
        return true;
    };
    QString aus;
    aus.reserve(bis - von + 2);
    if (!nurLeer(0, von))
        aus += u'…';
    bool luecke = false;
    for (int i = von; i < bis; ++i) {
        if (leerzeichen(text[i]) || text[i] == u'\v') {
            luecke = true;
            continue;
        }
        if (luecke && !aus.isEmpty() && aus != u"…")
            aus += u' ';
        luecke = false;
        aus += text[i];
    }
    if (!nurLeer(bis, n))
        aus += u'…';
    return aus;
}

} // namespace Volltext
