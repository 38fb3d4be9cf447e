// The check of a compiled help database (see Pruefung.h).
#include "Pruefung.h"
#include "DatenbankOrt.h"

#include "BildEntpacken.h"
#include "DatenbankAnsicht.h"
#include "Global.h"
#include "HilfeDatenbank.h"
#include "QuellWarnungen.h"
#include "RtfLeser.h"
#include "TextFeld.h"
#include "Verweismarkup.h"
#include "VolltextIndex.h"

#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTextDocument>

namespace {

struct Abschnitt
{
    QString nummer; // KK.TT.XX
    QString text;
};

// The titles a link to a section may name, the section's first: a link to the first section
// of a topic (the one its tab opens) may name the topic instead.
using Titel = QHash<QString, QStringList>;

// Tags in a plain text: every "{T" and "{P", closing tags included (the rendering takes any of
// them for an opening tag when it comes first).
int tagsZaehlen(const QString &text)
{
    int n = 0;
    for (qsizetype i = 0; i + 1 < text.size(); ++i)
        if (text[i] == QLatin1Char('{') &&
            (text[i + 1] == QLatin1Char('T') || text[i + 1] == QLatin1Char('P')))
            ++n;
    return n;
}

// The first markup tag left in a rendered text, with a little of what follows; empty if none.
QString sichtbaresMarkup(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == QLatin1Char('{') &&
            (text[i + 1] == QLatin1Char('T') || text[i + 1] == QLatin1Char('P'))) {
            QString stueck;
            for (qsizetype j = i; j < text.size() && stueck.size() < 12; ++j) {
                const QChar c = text[j];
                if (c == QLatin1Char('\n') || c == QLatin1Char('\r') ||
                    c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
                    break;
                stueck += c;
            }
            return stueck;
        }
    }
    return {};
}

QString zitiert(const QString &s)
{
    return QStringLiteral("„") + s + QStringLiteral("“");
}

bool abschnitteLesen(HilfeDatenbank &db, QList<Abschnitt> &abschnitte, Titel &titel)
{
    const Ergebnis<KapitelZeile> kapitel = db.kapitel();
    if (!kapitel.ok)
        return false;
    for (const KapitelZeile &k : kapitel.zeilen) {
        const Ergebnis<ThemaZeile> themen = db.themen(k.id);
        if (!themen.ok)
            return false;
        for (const ThemaZeile &t : themen.zeilen) {
            const Ergebnis<TextZeile> texte = db.texte(t.id);
            if (!texte.ok)
                return false;
            for (const TextZeile &x : texte.zeilen) {
                const QString nummer = DatenbankAnsicht::hilfeNummer(k.nummer, t.nummer, x.nummer);
                titel.insert(nummer, &x == &texte.zeilen.first()
                                         ? QStringList{x.bezeichnung, t.bezeichnung}
                                         : QStringList{x.bezeichnung});
                abschnitte.append({nummer, x.text});
            }
        }
    }
    return true;
}

// Keywords that lead to no section, through the same joins as the keyword pane's query.
bool stichwoerterPruefen(HilfeDatenbank &db, QStringList &ohneText, int &anzahl)
{
    const Ergebnis<Werte> woerter =
        db.abfragen(QStringLiteral("SELECT Wort, ID FROM WörterIndex ORDER BY Wort"));
    if (!woerter.ok)
        return false;
    const Ergebnis<Werte> zugeordnet = db.abfragen(
        QStringLiteral("SELECT DISTINCT ZuordnungIndex.IndexID ") +
        QStringLiteral("FROM Kapitel INNER JOIN (Themen INNER JOIN (Texte INNER JOIN "
                       "ZuordnungIndex ON Texte.ID = ZuordnungIndex.TextID) ON Themen.ID "
                       "= Texte.ThemenID) ON Kapitel.ID = Themen.KapitelID"));
    if (!zugeordnet.ok)
        return false;
    QSet<qlonglong> mitText;
    for (const Werte &z : zugeordnet.zeilen)
        mitText.insert(z.at(0).toLongLong());
    anzahl = int(woerter.zeilen.size());
    for (const Werte &z : woerter.zeilen)
        if (!mitText.contains(z.at(1).toLongLong()))
            ohneText << QStringLiteral("Stichwort ") + zitiert(z.at(0).toString()) +
                            QStringLiteral(": führt zu keinem Text");
    return true;
}

// The picture number a link names, read as the picture query reads it: the number at its
// start ("00012", "12   ").
double bildNummer(const QString &nummer)
{
    static const QRegularExpression zahl(QStringLiteral("^\\s*[-+]?\\d*(\\.\\d+)?"));
    return zahl.match(nummer).captured(0).trimmed().toDouble();
}

// Pictures that no link shows.
bool ungenutzteBilder(HilfeDatenbank &db, const QSet<double> &gezeigt, QStringList &warnungen)
{
    const Ergebnis<Werte> bilder =
        db.abfragen(QStringLiteral("SELECT Nummer, Bezeichnung FROM Bilder ORDER BY Nummer"));
    if (!bilder.ok)
        return false;
    for (const Werte &z : bilder.zeilen) {
        const double nummer = z.at(0).toDouble();
        if (gezeigt.contains(nummer))
            continue;
        // Written as links write it: five digits.
        const QString name = nummer == double(qint64(nummer))
                                 ? QStringLiteral("%1").arg(qint64(nummer), 5, 10, QLatin1Char('0'))
                                 : z.at(0).toString();
        warnungen << QStringLiteral("Bild ") + name + QLatin1Char(' ') +
                         zitiert(z.at(1).toString()) +
                         QStringLiteral(": kein Verweis zeigt dieses Bild");
    }
    return true;
}

} // namespace

bool Pruefung::nummerZerlegen(const QString &nummer, qint32 teile[3])
{
    const QStringList t = nummer.split(QLatin1Char('.'));
    if (t.size() != 3)
        return false;
    for (int i = 0; i < 3; ++i) {
        if (t[i].isEmpty() || t[i].size() > 9)
            return false;
        for (QChar c : t[i])
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        teile[i] = t[i].toInt();
    }
    return true;
}

QStringList Pruefung::textProbleme(const QString &gespeicherterText, QList<tVerweis> *links,
                                   qint16 *linkAnzahl, QStringList *linkTexte)
{
    QStringList probleme;
    if (linkAnzahl)
        *linkAnzahl = 0;
    if (linkTexte)
        linkTexte->clear();
    if (gespeicherterText.trimmed().isEmpty())
        return {QStringLiteral("Text ist leer")};

    // Read as far as the help shows it: the same limit cuts both documents at the same place.
    QTextDocument roh;
    RtfLeser::Grenzen grenzen;
    grenzen.maxZeichen = Verweismarkup::MaxZeichen;
    if (!RtfLesen(gespeicherterText, roh, grenzen).rtf)
        probleme << QStringLiteral("Text ist kein RTF und erscheint als reiner Text");

    QTextDocument anzeige;
    QList<tVerweis> verweise;
    qint16 anzahl = 0;
    if (Verweismarkup::darstellen(gespeicherterText, anzeige, verweise, anzahl))
        probleme << QStringLiteral("Abschnitt ist zu lang: nur die ersten %1 Zeichen werden "
                                   "angezeigt")
                        .arg(Verweismarkup::MaxZeichen);
    if (links && linkAnzahl) {
        *links = verweise;
        *linkAnzahl = anzahl;
    }
    if (linkTexte && verweise.size() > 1) {
        // The link positions count in the text box's position space.
        const QString feldText = TextFeld(&anzeige, false).text();
        for (const tVerweis &v : std::as_const(verweise))
            *linkTexte << feldText.mid(v.Anfang, std::max(v.Ende - v.Anfang, 0));
    }
    const QString sichtbar = anzeige.toPlainText();
    if (sichtbar.trimmed().isEmpty())
        probleme << QStringLiteral("Text ergibt keinen sichtbaren Text");

    const QString rest = sichtbaresMarkup(sichtbar);
    if (!rest.isEmpty())
        probleme << QStringLiteral("Verweismarkup bleibt sichtbar: ") + zitiert(rest);
    // Each link recorded takes out its two tags. More tags cut out means tags that gave no
    // link: a closing tag is missing, or the link lies beyond the positions a link table holds.
    const int entfernt = tagsZaehlen(roh.toPlainText()) - tagsZaehlen(sichtbar);
    if (entfernt > 2 * anzahl)
        probleme << QStringLiteral("Verweis nicht anklickbar: Abschlusstag fehlt oder Verweis "
                                   "hinter Position %1")
                        .arg(Verweismarkup::MaxPosition);
    return probleme;
}

bool Pruefung::pruefen(const QString &datenbank, Ergebnis &ergebnis)
{
    const DatenbankOrt ort(datenbank);
    HilfeDatenbank &db = standardDatenbank();
    QList<Abschnitt> abschnitte;
    Titel titel; // by help number, written KK.TT.XX
    if (!abschnitteLesen(db, abschnitte, titel))
        return false;
    ergebnis.abschnitte = int(abschnitte.size());

    // Picture number -> problem ("" when the picture is fine), each picture checked once.
    QHash<QString, QString> bilder;
    QSet<double> gezeigt; // the pictures linked, by number
    for (const Abschnitt &a : abschnitte) {
        const QString vorn = a.nummer + QStringLiteral(": ");
        QList<tVerweis> verweise;
        qint16 anzahl = 0;
        QStringList linkTexte;
        for (const QString &p : textProbleme(a.text, &verweise, &anzahl, &linkTexte))
            ergebnis.probleme << vorn + p;
        for (int i = 1; i <= anzahl && i < verweise.size(); ++i) {
            const tVerweis &v = verweise[i];
            if (!v.TextNummer.isEmpty()) {
                qint32 t[3];
                if (!nummerZerlegen(v.TextNummer, t))
                    ergebnis.probleme << vorn + QStringLiteral("Verweis auf ") +
                                             zitiert(v.TextNummer) +
                                             QStringLiteral(": keine Hilfenummer KK.TT.XX");
                else if (const auto ziel =
                             titel.constFind(DatenbankAnsicht::hilfeNummer(t[0], t[1], t[2]));
                         ziel == titel.constEnd())
                    ergebnis.probleme << vorn + QStringLiteral("Verweis auf ") + v.TextNummer +
                                             QStringLiteral(": kein solcher Abschnitt");
                else if (!QuellWarnungen::linkTextPasst(linkTexte.value(i), ziel.value()))
                    ergebnis.warnungen << vorn + QStringLiteral("Link ") +
                                              zitiert(linkTexte.value(i)) +
                                              QStringLiteral(" führt zu ") + ziel.key() +
                                              QStringLiteral(" ") + zitiert(ziel->first()) +
                                              QStringLiteral(" – Nummer neu vergeben?");
                continue;
            }
            gezeigt.insert(bildNummer(v.BildNummer));
            auto it = bilder.constFind(v.BildNummer);
            if (it == bilder.constEnd()) {
                const ::Ergebnis<BildZeile> b = db.bild(v.BildNummer);
                QImage bild;
                QString problem;
                if (!b.ok || b.zeilen.isEmpty())
                    problem = QStringLiteral("kein solches Bild");
                else if (!BildEntpacken(b.zeilen.first().bild, bild))
                    problem = QStringLiteral("Bild lässt sich nicht entpacken");
                it = bilder.insert(v.BildNummer, problem);
            }
            if (!it.value().isEmpty())
                ergebnis.probleme << vorn + QStringLiteral("Bildverweis ") + zitiert(v.BildTitel) +
                                         QStringLiteral(" auf Bild ") + v.BildNummer +
                                         QStringLiteral(": ") + it.value();
        }
    }
    ergebnis.bilder = int(bilder.size());
    if (!ungenutzteBilder(db, gezeigt, ergebnis.warnungen))
        return false;
    if (!stichwoerterPruefen(db, ergebnis.probleme, ergebnis.stichwoerter))
        return false;

    // The full-text index: none is no problem (the help builds one in memory), one of another
    // version, damaged or built before a section changed is.
    const ::Ergebnis<VolltextIndexZustand> zustand = db.volltextIndexPruefen(true);
    if (!zustand.ok)
        return false;
    const VolltextIndexZustand &volltext = zustand.zeilen.first();
    ergebnis.volltextIndex = volltext.vorhanden;
    if (volltext.vorhanden && volltext.beschaedigt.isEmpty() &&
        volltext.version != VolltextIndex::Version)
        ergebnis.probleme << QStringLiteral("Volltextindex: Version %1 statt %2, bitte die "
                                            "Datenbank neu erstellen")
                                 .arg(volltext.version)
                                 .arg(VolltextIndex::Version);
    ergebnis.probleme << volltext.beschaedigt << volltext.veraltet;
    return true;
}
