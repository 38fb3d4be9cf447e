// Parser and checks of the help sources; see QuellParser.h and content/README.md.
#include "QuellParser.h"

#include "InlineZerleger.h"
#include "MaskenZeichner.h"
#include "RtfErzeuger.h"
#include "TabellenZerleger.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

namespace {

constexpr int maxFehler = 100;

QString hilfeNummer(int k, int t, int x)
{
    return QStringLiteral("%1.%2.%3")
        .arg(k, 2, 10, QLatin1Char('0'))
        .arg(t, 2, 10, QLatin1Char('0'))
        .arg(x, 2, 10, QLatin1Char('0'));
}

// Reads "N | Titel" behind a heading mark; false with a message when malformed.
bool ueberschriftLesen(const QString &rest, int &nummer, QString &titel, QString &meldung)
{
    const qsizetype strich = rest.indexOf(QLatin1Char('|'));
    if (strich < 0) {
        meldung = QStringLiteral("erwartet „Nummer | Titel“");
        return false;
    }
    const QString zahl = rest.left(strich).trimmed();
    static const QRegularExpression ziffern(QStringLiteral("^\\d{1,2}$"));
    if (!ziffern.match(zahl).hasMatch() || zahl.toInt() < 1) {
        meldung = QStringLiteral("Nummer „%1“ ist keine Zahl von 1 bis 99").arg(zahl);
        return false;
    }
    titel = rest.mid(strich + 1).trimmed();
    if (titel.isEmpty()) {
        meldung = QStringLiteral("Titel fehlt hinter „|“");
        return false;
    }
    nummer = zahl.toInt();
    return true;
}

// Decodes a source file as UTF-8; false with the first line that is not valid UTF-8 (a file
// saved in another encoding would otherwise show replacement characters in the help).
bool utf8Lesen(const QByteArray &daten, QString &text, int &fehlerZeile)
{
    const QList<QByteArray> zeilen = daten.split('\n');
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        QStringDecoder dekodierer(QStringDecoder::Utf8);
        const QString zeile = dekodierer.decode(zeilen[i]);
        if (dekodierer.hasError()) {
            fehlerZeile = int(i + 1);
            return false;
        }
        if (i > 0)
            text += QLatin1Char('\n');
        text += zeile;
    }
    return true;
}

const QString keinUtf8 = QStringLiteral("Zeile ist nicht in UTF-8 gespeichert");

} // namespace

void QuellParser::kapitelDateiLesen(const QString &dateiName, const QString &inhalt,
                                    HilfeQuelle &quelle, QList<QuellFehler> &fehler)
{
    auto melden = [&](int zeile, const QString &text) {
        fehler << QuellFehler{dateiName, zeile, text};
    };

    // Where new content goes; each file starts outside any chapter.
    QuellKapitel *kapitel = nullptr;
    QuellThema *thema = nullptr;
    QuellAbschnitt *abschnitt = nullptr;

    QList<InlineZerleger::Zeile> blockZeilen;
    TextBlock block;
    bool blockOffen = false;

    auto blockBeenden = [&]() {
        if (!blockOffen)
            return;
        blockOffen = false;
        int fz = 0;
        QString ft;
        const bool ok = block.art == TextBlock::Art::Tabelle
                            ? TabellenZerleger::zerlegen(blockZeilen, block, fz, ft)
                            : InlineZerleger::zerlegen(blockZeilen, block.stuecke, fz, ft);
        if (!ok)
            melden(fz, ft);
        else if (abschnitt)
            abschnitt->bloecke << block;
        blockZeilen.clear();
        block = TextBlock();
    };
    auto blockBeginnen = [&](TextBlock::Art art, int nr, const QString &text,
                             const QString &nummer = QString()) {
        blockBeenden();
        if (!abschnitt) {
            melden(nr, QStringLiteral("Text außerhalb eines Abschnitts (erst „=== Nummer | "
                                      "Titel“)"));
            return;
        }
        block = TextBlock();
        block.art = art;
        block.nummer = nummer;
        blockZeilen = {{nr, text}};
        blockOffen = true;
    };

    static const QRegularExpression nummeriert(QStringLiteral("^(\\d{1,3})\\.\\s+(.*)$"));
    QStringList zeilen = inhalt.split(QLatin1Char('\n'));
    if (!zeilen.isEmpty() && zeilen.first().startsWith(QChar(0xFEFF)))
        zeilen.first().remove(0, 1);

    for (int i = 0; i < zeilen.size(); ++i) {
        const int nr = i + 1;
        QString roh = zeilen[i];
        if (roh.endsWith(QLatin1Char('\r')))
            roh.chop(1);
        const QString zeile = roh.trimmed();

        if (zeile.isEmpty()) {
            blockBeenden();
            continue;
        }
        if (roh.startsWith(QLatin1Char('#')))
            continue;

        // A table is a run of lines beginning with "|"; the first other line ends it.
        const bool tabellenZeile = roh.startsWith(QLatin1Char('|'));
        if (blockOffen && block.art == TextBlock::Art::Tabelle && !tabellenZeile)
            blockBeenden();
        if (tabellenZeile) {
            if (blockOffen && block.art == TextBlock::Art::Tabelle)
                blockZeilen << InlineZerleger::Zeile{nr, zeile};
            else if (abschnitt)
                blockBeginnen(TextBlock::Art::Tabelle, nr, zeile);
            else if (i == 0 || !zeilen[i - 1].startsWith(QLatin1Char('|')))
                melden(nr, QStringLiteral("Tabelle außerhalb eines Abschnitts (erst „=== Nummer "
                                          "| Titel“)"));
            continue;
        }

        if (roh.startsWith(QLatin1Char('='))) {
            blockBeenden();
            qsizetype stufe = 0;
            while (stufe < roh.size() && roh[stufe] == QLatin1Char('='))
                ++stufe;
            if (stufe > 3 || stufe >= roh.size() || roh[stufe] != QLatin1Char(' ')) {
                melden(nr, QStringLiteral("unbekannte Überschrift: erwartet „= “, „== “ oder "
                                          "„=== “ und dann „Nummer | Titel“"));
                continue;
            }
            int nummer = 0;
            QString titel;
            QString meldung;
            if (!ueberschriftLesen(roh.mid(stufe + 1), nummer, titel, meldung)) {
                melden(nr, meldung);
                continue;
            }
            if (stufe == 1) {
                quelle.kapitel << QuellKapitel{nummer, titel, {}, dateiName, nr};
                kapitel = &quelle.kapitel.last();
                thema = nullptr;
                abschnitt = nullptr;
            } else if (stufe == 2) {
                if (!kapitel) {
                    melden(nr, QStringLiteral("Thema außerhalb eines Kapitels (erst „= Nummer | "
                                              "Titel“)"));
                    continue;
                }
                kapitel->themen << QuellThema{nummer, titel, {}, dateiName, nr};
                thema = &kapitel->themen.last();
                abschnitt = nullptr;
            } else {
                if (!thema) {
                    melden(nr, QStringLiteral("Abschnitt außerhalb eines Themas (erst „== Nummer "
                                              "| Titel“)"));
                    abschnitt = nullptr;
                    continue;
                }
                thema->abschnitte << QuellAbschnitt{nummer, titel, {}, {}, dateiName, nr};
                abschnitt = &thema->abschnitte.last();
            }
            continue;
        }

        if (zeile.startsWith(QStringLiteral("Stichwörter:")) ||
            zeile.startsWith(QStringLiteral("Stichwoerter:"))) {
            blockBeenden();
            if (!abschnitt) {
                melden(nr, QStringLiteral("Stichwörter außerhalb eines Abschnitts"));
                continue;
            }
            const QString liste = zeile.mid(zeile.indexOf(QLatin1Char(':')) + 1);
            for (const QString &wort : liste.split(QLatin1Char(';'))) {
                const QString w = wort.simplified();
                if (!w.isEmpty())
                    abschnitt->stichwoerter << w;
            }
            continue;
        }

        if (roh.startsWith(QStringLiteral("- "))) {
            blockBeginnen(TextBlock::Art::Aufzaehlung, nr, roh.mid(2).trimmed());
            continue;
        }
        if (const auto m = nummeriert.match(roh); m.hasMatch()) {
            blockBeginnen(TextBlock::Art::Nummeriert, nr, m.captured(2).trimmed(),
                          QString::number(m.captured(1).toInt()));
            continue;
        }
        if (roh.startsWith(QLatin1Char('>'))) {
            const QString text = roh.mid(1).trimmed();
            if (blockOffen && block.art == TextBlock::Art::Hinweis)
                blockZeilen << InlineZerleger::Zeile{nr, text};
            else
                blockBeginnen(TextBlock::Art::Hinweis, nr, text);
            continue;
        }
        // An ordinary line continues a paragraph; it continues an item or a note only when
        // it is indented, otherwise it starts a new paragraph.
        const bool eingerueckt = roh.front().isSpace();
        if (blockOffen && (block.art == TextBlock::Art::Absatz || eingerueckt))
            blockZeilen << InlineZerleger::Zeile{nr, zeile};
        else
            blockBeginnen(TextBlock::Art::Absatz, nr, zeile);
    }
    blockBeenden();
}

void QuellParser::bildDateiLesen(const QString &pfad, const QString &dateiName, HilfeQuelle &quelle,
                                 QList<QuellFehler> &fehler)
{
    static const QRegularExpression muster(QStringLiteral("^(\\d{1,5})-(.+)\\.(maske|png|bmp)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString name = QFileInfo(pfad).fileName();
    const auto m = muster.match(name);
    if (!m.hasMatch() || m.captured(1).toInt() < 1) {
        fehler << QuellFehler{dateiName, 0,
                              QStringLiteral("Bilddatei muss „NNNNN-name.maske“, „.png“ oder "
                                             "„.bmp“ heißen (NNNNN = Bildnummer ab 1)")};
        return;
    }
    QuellBild bild;
    bild.nummer = m.captured(1).toInt();
    bild.datei = dateiName;
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly)) {
        fehler << QuellFehler{dateiName, 0,
                              QStringLiteral("lässt sich nicht lesen: %1").arg(f.errorString())};
        return;
    }
    const QByteArray daten = f.readAll();
    if (m.captured(3).compare(QLatin1String("maske"), Qt::CaseInsensitive) == 0) {
        int fz = 0;
        QString ft;
        QString beschreibung;
        if (!utf8Lesen(daten, beschreibung, fz)) {
            fehler << QuellFehler{dateiName, fz, keinUtf8};
            return;
        }
        if (!MaskenZeichner::zeichnen(beschreibung, bild.bild, bild.titel, fz, ft)) {
            fehler << QuellFehler{dateiName, fz, ft};
            return;
        }
    } else {
        if (!bild.bild.loadFromData(daten)) {
            fehler << QuellFehler{dateiName, 0, QStringLiteral("kein lesbares Bild")};
            return;
        }
        bild.titel = m.captured(2).replace(QLatin1Char('-'), QLatin1Char(' ')).trimmed();
    }
    quelle.bilder << bild;
}

bool QuellParser::lesen(const QString &ordner, HilfeQuelle &quelle, QList<QuellFehler> &fehler)
{
    const int vorher = int(fehler.size());
    const QDir wurzel(ordner);
    const QDir kapitelOrdner(wurzel.filePath(QStringLiteral("kapitel")));
    if (!kapitelOrdner.exists()) {
        fehler << QuellFehler{ordner, 0, QStringLiteral("Ordner „kapitel“ fehlt")};
        return false;
    }
    const QStringList dateien =
        kapitelOrdner.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString &d : dateien) {
        const QString anzeige = QStringLiteral("kapitel/") + d;
        QFile f(kapitelOrdner.filePath(d));
        if (!f.open(QIODevice::ReadOnly)) {
            fehler << QuellFehler{
                anzeige, 0, QStringLiteral("lässt sich nicht lesen: %1").arg(f.errorString())};
            continue;
        }
        QString inhalt;
        int fz = 0;
        if (!utf8Lesen(f.readAll(), inhalt, fz)) {
            fehler << QuellFehler{anzeige, fz, keinUtf8};
            continue;
        }
        kapitelDateiLesen(anzeige, inhalt, quelle, fehler);
    }
    const QDir bildOrdner(wurzel.filePath(QStringLiteral("bilder")));
    if (bildOrdner.exists()) {
        for (const QString &d : bildOrdner.entryList(QDir::Files, QDir::Name))
            bildDateiLesen(bildOrdner.filePath(d), QStringLiteral("bilder/") + d, quelle, fehler);
    }
    if (fehler.size() == vorher)
        pruefen(quelle, fehler);
    if (fehler.size() > vorher + maxFehler)
        fehler.resize(vorher + maxFehler);
    return fehler.size() == vorher;
}

void QuellParser::pruefen(const HilfeQuelle &quelle, QList<QuellFehler> &fehler)
{
    auto ort = [](const QString &datei, int zeile) {
        return QStringLiteral("%1:%2").arg(datei).arg(zeile);
    };

    QSet<QString> nummern;
    QHash<int, QString> kapitelOrt;
    for (const QuellKapitel &k : quelle.kapitel) {
        if (kapitelOrt.contains(k.nummer)) {
            fehler << QuellFehler{k.datei, k.zeile,
                                  QStringLiteral("Kapitel %1 gibt es schon (%2)")
                                      .arg(k.nummer)
                                      .arg(kapitelOrt[k.nummer])};
        } else {
            kapitelOrt.insert(k.nummer, ort(k.datei, k.zeile));
        }
        QHash<int, QString> themaOrt;
        for (const QuellThema &t : k.themen) {
            if (themaOrt.contains(t.nummer)) {
                fehler << QuellFehler{t.datei, t.zeile,
                                      QStringLiteral("Thema %1 gibt es in Kapitel %2 schon (%3)")
                                          .arg(t.nummer)
                                          .arg(k.nummer)
                                          .arg(themaOrt[t.nummer])};
            } else {
                themaOrt.insert(t.nummer, ort(t.datei, t.zeile));
            }
            QHash<int, QString> abschnittOrt;
            for (const QuellAbschnitt &a : t.abschnitte) {
                if (abschnittOrt.contains(a.nummer)) {
                    fehler << QuellFehler{a.datei, a.zeile,
                                          QStringLiteral("Abschnitt %1 gibt es in Thema %2.%3 "
                                                         "schon (%4)")
                                              .arg(a.nummer)
                                              .arg(k.nummer)
                                              .arg(t.nummer)
                                              .arg(abschnittOrt[a.nummer])};
                } else {
                    abschnittOrt.insert(a.nummer, ort(a.datei, a.zeile));
                }
                nummern.insert(hilfeNummer(k.nummer, t.nummer, a.nummer));
            }
        }
    }

    QHash<int, QString> bildOrt;
    for (const QuellBild &b : quelle.bilder) {
        if (bildOrt.contains(b.nummer)) {
            fehler << QuellFehler{
                b.datei, 0,
                QStringLiteral("Bild %1 gibt es schon (%2)").arg(b.nummer).arg(bildOrt[b.nummer])};
        } else {
            bildOrt.insert(b.nummer, b.datei);
        }
    }

    for (const QuellKapitel &k : quelle.kapitel) {
        for (const QuellThema &t : k.themen) {
            for (const QuellAbschnitt &a : t.abschnitte) {
                for (const TextBlock &b : a.bloecke) {
                    for (const TextStueck &s : b.stuecke) {
                        if (s.verweis == TextStueck::Verweis::Text && !nummern.contains(s.ziel)) {
                            fehler << QuellFehler{a.datei, s.zeile,
                                                  QStringLiteral("Link auf %1: diesen Abschnitt "
                                                                 "gibt es nicht")
                                                      .arg(s.ziel)};
                        } else if (s.verweis == TextStueck::Verweis::Bild &&
                                   !bildOrt.contains(s.ziel.toInt())) {
                            fehler << QuellFehler{a.datei, s.zeile,
                                                  QStringLiteral("Link auf Bild %1: dieses Bild "
                                                                 "gibt es nicht in „bilder“")
                                                      .arg(s.ziel)};
                        }
                    }
                }
                const qsizetype laenge = RtfErzeuger::sichtbarerText(a.bloecke).size();
                if (laenge > maximaleTextLaenge) {
                    fehler << QuellFehler{a.datei, a.zeile,
                                          QStringLiteral("Abschnitt ist mit %1 Zeichen zu lang "
                                                         "(höchstens %2)")
                                              .arg(laenge)
                                              .arg(maximaleTextLaenge)};
                }
            }
        }
    }
}
