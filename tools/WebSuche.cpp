// The data of the web pages' full-text search; see WebSuche.h.
#include "WebSuche.h"

#include "VolltextIndex.h"
#include "VolltextWort.h"
#include "VolltextWortschatz.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>

#include <algorithm>

namespace {

// The endings of a weak verb's forms behind its stem ("stornier-"), and of an adjective or a
// participle used as one.
const char16_t *const VerbEndungen[] = {u"e",    u"st",  u"t",    u"te",   u"ten",
                                        u"test", u"tet", u"end",  u"ende", u"enden",
                                        u"et",   u"ete", u"eten", u"etest"};
const char16_t *const AdjektivEndungen[] = {u"e", u"en", u"er", u"es", u"em"};

// Inflected forms of the help's verbs and adjectives that the help itself may not use: each
// candidate is kept only when its search form is the word's (the dictionary confirms it is a
// form of that word). Verbs are taken by their infinitive, adjectives by being written in small
// letters; nouns the stemmer brings together in the browser as well.
void formenErzeugen(const Volltext::Wortschatz &ws, QHash<QString, QString> &woerter)
{
    for (const Volltext::Vokabel &v : ws.eintraege()) {
        const QString &k = v.schluessel;
        if (k.size() < 4 || v.wort.isEmpty())
            continue;
        QStringList kandidaten;
        // A verb may be shown capitalised where most sections begin a sentence with it or use
        // it as a noun ("beim Abrechnen").
        if (k.endsWith(u"en")) {
            const QString stamm = k.chopped(2);
            for (const char16_t *e : VerbEndungen)
                kandidaten << stamm + QString::fromUtf16(e);
            // The participle in "-t", or "-et" behind some consonants ("gerechnet").
            QStringList partizipien{QStringLiteral("ge") + stamm + u't',
                                    QStringLiteral("ge") + stamm + QStringLiteral("et")};
            for (const QString &p : Volltext::trennbarePraefixe()) {
                if (stamm.startsWith(p) && stamm.size() - p.size() >= 3) {
                    const QString rest = stamm.mid(p.size());
                    partizipien << p + QStringLiteral("ge") + rest + u't'
                                << p + QStringLiteral("ge") + rest + QStringLiteral("et");
                    kandidaten << p + QStringLiteral("zu") + k.mid(p.size());
                }
            }
            for (const QString &p : std::as_const(partizipien)) {
                kandidaten << p;
                for (const char16_t *e : AdjektivEndungen)
                    kandidaten << p + QString::fromUtf16(e);
            }
        } else if (v.wort.at(0).isLower()) {
            for (const char16_t *e : AdjektivEndungen)
                kandidaten << k + QString::fromUtf16(e);
        }
        for (const QString &c : std::as_const(kandidaten)) {
            if (!woerter.contains(c) && Volltext::suchform(c) == v.form)
                woerter.insert(c, v.form);
        }
    }
}

QString base36(qsizetype n)
{
    return QString::number(n, 36);
}

} // namespace

namespace WebSuche {

QList<QPair<QString, QByteArray>> dateien(const HilfeBaum &baum)
{
    // The keywords of each section.
    QHash<QString, QStringList> stichwoerter;
    for (auto it = baum.stichwoerter.constBegin(); it != baum.stichwoerter.constEnd(); ++it)
        for (const QString &n : it.value())
            stichwoerter[n] << it.key();

    struct Eintrag
    {
        const HilfeBaum::Thema *thema = nullptr;
        const HilfeBaum::Abschnitt *abschnitt = nullptr;
        QList<QString> titel, text; // search forms
        QString klartext;
    };
    QList<Eintrag> eintraege;
    Volltext::WortschatzSammler sammler;
    QHash<QString, QString> woerter; // key -> search form
    const auto formen = [&](const QString &text, QList<QString> &aus) {
        for (const Volltext::Wort &w : sammler.woerter(text))
            aus << w.form;
    };
    for (const HilfeBaum::Kapitel &k : baum.kapitel) {
        for (const HilfeBaum::Thema &t : k.themen) {
            for (const HilfeBaum::Abschnitt &a : t.abschnitte) {
                Eintrag e{&t, &a, {}, {}, VolltextIndex::klartext(a.text)};
                sammler.neuerAbschnitt();
                formen(a.titel, e.titel);
                // Only the first section of a number is reached by its keywords.
                if (a.erreichbar)
                    for (const QString &w : stichwoerter.value(a.hilfeNummer))
                        formen(w, e.titel);
                formen(e.klartext, e.text);
                eintraege << e;
            }
        }
    }
    const Volltext::Wortschatz ws = sammler.ergebnis();
    for (const Volltext::Vokabel &v : ws.eintraege())
        woerter.insert(v.schluessel, v.form);
    formenErzeugen(ws, woerter);

    // Every search form once, ordered, and referred to by its place.
    QSet<QString> alleFormen;
    for (const Eintrag &e : std::as_const(eintraege)) {
        for (const QString &f : e.titel)
            alleFormen.insert(f);
        for (const QString &f : e.text)
            alleFormen.insert(f);
    }
    for (auto it = woerter.constBegin(); it != woerter.constEnd(); ++it)
        alleFormen.insert(it.value());
    QStringList formListe(alleFormen.cbegin(), alleFormen.cend());
    formListe.sort();
    QHash<QString, qsizetype> formNr;
    for (qsizetype i = 0; i < formListe.size(); ++i)
        formNr.insert(formListe.at(i), i);
    const auto folge = [&](const QList<QString> &f) {
        QStringList nr;
        nr.reserve(f.size());
        for (const QString &x : f)
            nr << base36(formNr.value(x));
        return nr.join(u' ');
    };

    QJsonArray abschnitte, folgen;
    QList<QJsonArray> texte((eintraege.size() + AbschnitteJeTextdatei - 1) / AbschnitteJeTextdatei);
    QMap<QString, QJsonArray> stichwortAbschnitte;
    for (qsizetype i = 0; i < eintraege.size(); ++i) {
        const Eintrag &e = eintraege.at(i);
        const HilfeBaum::Abschnitt &a = *e.abschnitt;
        abschnitte.append(QJsonArray{a.id, a.hilfeNummer, a.titel, e.thema->titel});
        folgen.append(folge(e.titel) + u'|' + folge(e.text));
        texte[i / AbschnitteJeTextdatei].append(e.klartext);
        if (a.erreichbar)
            for (const QString &w : stichwoerter.value(a.hilfeNummer))
                stichwortAbschnitte[w].append(qint64(i));
    }
    QJsonArray stichwortListe;
    for (auto it = stichwortAbschnitte.constBegin(); it != stichwortAbschnitte.constEnd(); ++it)
        stichwortListe.append(QJsonArray{it.key(), it.value()});
    QJsonObject woerterObjekt;
    for (auto it = woerter.constBegin(); it != woerter.constEnd(); ++it)
        woerterObjekt.insert(it.key(), qint64(formNr.value(it.value())));
    QJsonArray vokabeln;
    for (const Volltext::Vokabel &v : ws.eintraege())
        vokabeln.append(
            QJsonArray{v.schluessel, v.wort, qint64(formNr.value(v.form)), v.abschnitte});

    const QJsonObject index{
        {QStringLiteral("version"), VolltextIndex::Version},
        {QStringLiteral("abschnitte"), abschnitte},
        {QStringLiteral("folgen"), folgen},
        {QStringLiteral("formen"), QJsonArray::fromStringList(formListe)},
        {QStringLiteral("woerter"), woerterObjekt},
        {QStringLiteral("vokabeln"), vokabeln},
        {QStringLiteral("stichwoerter"), stichwortListe},
        {QStringLiteral("stopp"), QJsonArray::fromStringList(Volltext::stoppwoerter())},
        {QStringLiteral("praefixe"), QJsonArray::fromStringList(Volltext::trennbarePraefixe())},
        {QStringLiteral("textdateien"), qint64(texte.size())},
        {QStringLiteral("jeTextdatei"), AbschnitteJeTextdatei}};
    QList<QPair<QString, QByteArray>> aus;
    aus.append(
        {QStringLiteral("suche/index.js"),
         "window.HILFE_SUCHE = " + QJsonDocument(index).toJson(QJsonDocument::Compact) + ";\n"});
    for (qsizetype n = 0; n < texte.size(); ++n) {
        aus.append({QStringLiteral("suche/texte-%1.js").arg(n),
                    "(window.HILFE_TEXTE = window.HILFE_TEXTE || {})[" + QByteArray::number(n) +
                        "] = " + QJsonDocument(texte.at(n)).toJson(QJsonDocument::Compact) +
                        ";\n"});
    }
    return aus;
}

} // namespace WebSuche
