// Checks the document model against an in-memory source: help numbers with unknown parts,
// the resolution of a host call as on a fresh start, choosing tabs and titles, previous and
// next section across empty topics and chapters with the history entries each step records,
// back and forward, links, reads that fail on the way, and what the toolbar may offer.
#include "HilfeDokument.h"
#include "TestHilfen.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// A help whose chapters are numbered 1, 2, ...; each topic (numbered 1, 2, ... in its chapter)
// is given by its number of sections; section x of topic t has the text "Text KK.TT.XX".
// From `fehlerAb` reads on, every read fails (counted in `fehler`).
class Quelle : public DokumentQuelle
{
public:
    explicit Quelle(QList<QList<int>> kapitel) : m_kapitel(std::move(kapitel)) {}

    std::optional<QList<HilfeEintrag>> kapitel() override
    {
        if (scheitert())
            return std::nullopt;
        QList<HilfeEintrag> l;
        for (int k = 1; k <= m_kapitel.size(); ++k)
            l.append({QStringLiteral("Kapitel %1").arg(k), k * 100, k});
        return l;
    }
    std::optional<QList<HilfeEintrag>> themen(qint32 kapitelID) override
    {
        if (scheitert())
            return std::nullopt;
        QList<HilfeEintrag> l;
        const int k = kapitelID / 100;
        for (int t = 1; t <= m_kapitel.value(k - 1).size(); ++t)
            l.append({QStringLiteral("Thema %1").arg(t), kapitelID + t, t});
        return l;
    }
    std::optional<QList<HilfeAbschnitt>> abschnitte(qint32 themaID) override
    {
        if (scheitert())
            return std::nullopt;
        const int k = themaID / 100;
        const int t = themaID % 100;
        QList<HilfeAbschnitt> l;
        for (int x = 1; x <= m_kapitel.value(k - 1).value(t - 1); ++x)
            l.append({QStringLiteral("Abschnitt %1").arg(x), themaID * 100 + x, x,
                      QStringLiteral("Text ") + HilfeDokument::nummerBilden(k, t, x)});
        return l;
    }

    int lesungen = 0;
    int fehlerAb = -1; // the read (counted from 0) from which on every read fails
    int fehler = 0;

private:
    bool scheitert()
    {
        const bool f = fehlerAb >= 0 && lesungen >= fehlerAb;
        ++lesungen;
        fehler += f;
        return f;
    }
    QList<QList<int>> m_kapitel;
};

// Chapters 2 and 6 have no topics; 0 is a topic without sections.
const QList<QList<int>> Luecken{{3, 1, 0, 2}, {}, {2, 0, 3}, {0, 2}, {1, 0}, {}};
// Chapter 1: a topic with three sections and one with twelve; chapter 2: two sections and an
// empty topic; chapter 3 without topics.
const QList<QList<int>> Klein{{3, 12}, {2, 0}, {}};

QStringList verlauf(const HilfeDokument &d)
{
    QStringList l;
    for (int i = 1; i <= d.verlauf().anzahl(); ++i)
        l << d.verlauf().eintrag(i);
    return l;
}

} // namespace

class tst_HilfeDokument : public QObject
{
    Q_OBJECT

private slots:
    void laden_data();
    void laden();
    void gehe_data();
    void gehe();
    void schritt_data();
    void schritt();
    void ganzeBeschreibung();
    void tabsUndTitel();
    void verlaufZurueckVor();
    void verweise();
    void lesefehler_data();
    void lesefehler();
    void ladefehlerBehaeltVerlauf();
};

void tst_HilfeDokument::laden_data()
{
    QTest::addColumn<QString>("vorher"); // shown before the call ("" = a fresh start)
    QTest::addColumn<QString>("ziel");
    QTest::addColumn<QString>("erwartet");
    QTest::addColumn<bool>("bekannt");

    // A call resolves a number as a fresh start does, whatever was shown before: an unknown
    // chapter gives the first section of all, an unknown topic the section asked for in the
    // chapter's first topic, an unknown section the topic's first.
    zeile("leer", QString(), QString(), QStringLiteral("01.01.01"), true);
    for (const char *start : {"", "01.02.05", "02.01.02"}) {
        const QByteArray s = QByteArray(start) + ' ';
        const QString v = QString::fromLatin1(start);
        zeile((s + "genau").constData(), v, QStringLiteral("01.02.03"),
              QStringLiteral("01.02.03"), true);
        zeile((s + "Kapitel unbekannt").constData(), v, QStringLiteral("09.02.01"),
              QStringLiteral("01.01.01"), false);
        zeile((s + "Thema unbekannt").constData(), v, QStringLiteral("01.09.02"),
              QStringLiteral("01.01.02"), false);
        zeile((s + "Abschnitt unbekannt").constData(), v, QStringLiteral("01.02.99"),
              QStringLiteral("01.02.01"), false);
    }
    zeile("ohne Nullen und mit Leerzeichen", QString(), QStringLiteral(" 2. 1.2"),
          QStringLiteral("02.01.02"), true);
    // A chapter without topics, a topic without sections: the number selects it, no section.
    zeile("Kapitel ohne Themen", QString(), QStringLiteral("03.01.01"), QString(), false);
    zeile("Thema ohne Abschnitte", QString(), QStringLiteral("02.02.01"), QString(), false);
}

void tst_HilfeDokument::laden()
{
    QFETCH(QString, vorher);
    QFETCH(QString, ziel);
    QFETCH(QString, erwartet);
    QFETCH(bool, bekannt);

    Quelle q(Klein);
    HilfeDokument d(q);
    if (!vorher.isEmpty()) {
        QVERIFY(d.laden(QStringLiteral("02.01.01")));
        d.geheZu(vorher, HilfeDokument::Verlauf::Merken);
    }
    QVERIFY(d.laden(ziel));
    QCOMPARE(d.aktuelleNummer(), erwartet);
    QCOMPARE(d.zielBekannt(), bekannt);
    // The history holds the shown section and nothing else.
    QCOMPARE(verlauf(d), erwartet.isEmpty() ? QStringList() : QStringList{erwartet});
    QCOMPARE(d.verlauf().position(), erwartet.isEmpty() ? 0 : 1);
    QCOMPARE(d.kapitel().size(), 3);
}

void tst_HilfeDokument::gehe_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("ziel");
    QTest::addColumn<QString>("erwartet"); // "" = no section chosen
    QTest::addColumn<int>("kapitelTab");
    QTest::addColumn<int>("themaTab");
    QTest::addColumn<int>("verlauf");

    zeile("genau", "01.01.01", "02.01.02", "02.01.02", 1, 0, 2);
    zeile("ohne Nullen", "01.01.01", "1.2.3", "01.02.03", 0, 1, 2);
    // No chapter 9: the chapter stays, topic and section are looked up within it.
    zeile("Kapitel unbekannt", "01.01.01", "09.02.03", "01.02.03", 0, 1, 2);
    // No topic 9: the topic stays.
    zeile("Thema unbekannt", "01.01.01", "01.09.02", "01.01.02", 0, 0, 2);
    // After a chapter change its first topic is loaded without choosing a section.
    zeile("Thema unbekannt, anderes Kapitel", "01.01.01", "02.09.02", "02.01.02", 1, 0, 2);
    // No section 9: nothing chosen, nothing recorded.
    zeile("Abschnitt unbekannt", "01.01.01", "02.01.09", "", 1, 0, 1);
    // Too few parts: the missing ones are 0 and match nothing.
    zeile("zu kurz", "01.01.02", "02", "", 1, 0, 1);
    // A chapter without topics: no topic and no section of the previous chapter stays.
    zeile("Kapitel ohne Themen", "01.02.01", "03.01.01", "", 2, -1, 1);
    zeile("Thema ohne Abschnitte", "01.01.01", "02.02.01", "", 1, 1, 1);
    // The same section again is recorded again.
    zeile("derselbe Abschnitt", "01.01.02", "01.01.02", "01.01.02", 0, 0, 2);
}

void tst_HilfeDokument::gehe()
{
    QFETCH(QString, start);
    QFETCH(QString, ziel);
    QFETCH(QString, erwartet);
    QFETCH(int, kapitelTab);
    QFETCH(int, themaTab);
    QFETCH(int, verlauf);

    Quelle q(Klein);
    HilfeDokument d(q);
    QVERIFY(d.laden(start));
    d.geheZu(ziel, HilfeDokument::Verlauf::Merken);
    QCOMPARE(d.kapitelIndex(), kapitelTab);
    QCOMPARE(d.themaIndex(), themaTab);
    QCOMPARE(d.aktuelleNummer(), erwartet);
    QCOMPARE(d.gezeigterAbschnitt() >= 0, !erwartet.isEmpty());
    if (!erwartet.isEmpty())
        QCOMPARE(::verlauf(d).last(), erwartet);
    QCOMPARE(d.verlauf().anzahl(), verlauf);
    QCOMPARE(d.verlauf().position(), verlauf);
    QCOMPARE(d.vorigerMoeglich() || d.naechsterMoeglich(), !erwartet.isEmpty());
}

void tst_HilfeDokument::schritt_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("weiter");
    QTest::addColumn<QStringList>("neu"); // history entries the step adds, in order

    // Next section: one entry per step, empty topics and chapters are stepped over.
    zeile("weiter im Thema", "01.01.01", true, QStringList{"01.01.02"});
    zeile("weiter ins nächste Thema", "01.01.03", true, QStringList{"01.02.01"});
    zeile("weiter über leeres Thema", "01.02.01", true, QStringList{"01.04.01"});
    zeile("weiter über Kapitel ohne Themen", "01.04.02", true, QStringList{"03.01.01"});
    zeile("weiter ins Kapitel mit leerem ersten Thema", "03.03.03", true, QStringList{"04.02.01"});
    zeile("weiter ins nächste Kapitel", "04.02.02", true, QStringList{"05.01.01"});
    zeile("weiter aus leerem Thema", "01.03.01", true, QStringList{"01.04.01"});
    zeile("weiter aus Kapitel ohne Themen", "02.01.01", true, QStringList{"03.01.01"});
    zeile("weiter am Ende", "05.01.01", true, QStringList{});

    // Previous section passes through the tabs: a previous topic records its first section,
    // then its last; a previous chapter its first topic's first section, its last topic's
    // first section, then the last section of that topic.
    zeile("zurück im Thema", "01.01.03", false, QStringList{"01.01.02"});
    zeile("zurück ins vorige Thema", "01.02.01", false, QStringList{"01.01.01", "01.01.03"});
    zeile("zurück ins Thema mit einem Abschnitt", "01.04.01", false,
          QStringList{"01.02.01", "01.02.01"});
    zeile("zurück über leeres Thema", "03.03.01", false, QStringList{"03.01.01", "03.01.02"});
    zeile("zurück ins vorige Kapitel", "04.02.01", false,
          QStringList{"03.01.01", "03.03.01", "03.03.03"});
    zeile("zurück über Kapitel ohne Themen", "03.01.01", false,
          QStringList{"01.01.01", "01.04.01", "01.04.02"});
    // The previous chapter's first topic has no sections: nothing to record on choosing it.
    zeile("zurück ins Kapitel mit leerem ersten Thema", "05.01.01", false,
          QStringList{"04.02.01", "04.02.02"});
    zeile("zurück aus leerem Thema", "01.03.01", false, QStringList{"01.02.01", "01.02.01"});
    zeile("zurück aus Kapitel ohne Themen", "02.01.01", false,
          QStringList{"01.01.01", "01.04.01", "01.04.02"});
    zeile("zurück am Anfang", "01.01.01", false, QStringList{});
}

void tst_HilfeDokument::schritt()
{
    QFETCH(QString, start);
    QFETCH(bool, weiter);
    QFETCH(QStringList, neu);

    Quelle q(Luecken);
    HilfeDokument d(q);
    QVERIFY(d.laden(QStringLiteral("01.01.01")));
    d.geheZu(start, HilfeDokument::Verlauf::Merken);
    const QString vorher = d.aktuelleNummer();
    const QStringList alt = verlauf(d);
    QSignalSpy gezeigt(&d, &HilfeDokument::abschnittZeigen);
    weiter ? d.naechsterAbschnitt() : d.vorigerAbschnitt();

    QCOMPARE(verlauf(d), alt + neu);
    QCOMPARE(d.verlauf().position(), d.verlauf().anzahl());
    QCOMPARE(gezeigt.size(), neu.size());
    if (neu.isEmpty()) {
        QCOMPARE(d.aktuelleNummer(), vorher);
        // Nothing lies in that direction: the button is off now.
        QVERIFY(!(weiter ? d.naechsterMoeglich() : d.vorigerMoeglich()));
        return;
    }
    QCOMPARE(d.aktuelleNummer(), neu.last());
    QCOMPARE(gezeigt.last().at(0).toString(), QStringLiteral("Text ") + neu.last());
    QCOMPARE(d.kapitelIndex() + 1, neu.last().left(2).toInt());
    QCOMPARE(d.themaIndex() + 1, neu.last().mid(3, 2).toInt());
}

void tst_HilfeDokument::ganzeBeschreibung()
{
    // Next from the first section visits every section once, in order; previous from the
    // last visits them all in reverse; the buttons are off at either end.
    const QStringList alle{"01.01.01", "01.01.02", "01.01.03", "01.02.01", "01.04.01",
                           "01.04.02", "03.01.01", "03.01.02", "03.03.01", "03.03.02",
                           "03.03.03", "04.02.01", "04.02.02", "05.01.01"};
    Quelle q(Luecken);
    HilfeDokument d(q);
    QVERIFY(d.laden(alle.first()));
    QVERIFY(!d.vorigerMoeglich());
    QStringList vorwaerts{d.aktuelleNummer()};
    while (d.naechsterMoeglich() && vorwaerts.size() < 20) {
        d.naechsterAbschnitt();
        if (d.aktuelleNummer() != vorwaerts.last())
            vorwaerts << d.aktuelleNummer();
    }
    QCOMPARE(vorwaerts, alle);
    QCOMPARE(d.verlauf().anzahl(), alle.size());

    QStringList rueckwaerts{d.aktuelleNummer()};
    while (d.vorigerMoeglich() && rueckwaerts.size() < 20) {
        d.vorigerAbschnitt();
        if (d.aktuelleNummer() != rueckwaerts.last())
            rueckwaerts << d.aktuelleNummer();
    }
    std::reverse(rueckwaerts.begin(), rueckwaerts.end());
    QCOMPARE(rueckwaerts, alle);
}

void tst_HilfeDokument::tabsUndTitel()
{
    Quelle q(Klein);
    HilfeDokument d(q);
    QVERIFY(d.laden(QStringLiteral("01.01.01")));
    QSignalSpy themen(&d, &HilfeDokument::themenGeaendert);
    QSignalSpy geleert(&d, &HilfeDokument::abschnittGeleert);
    // A chapter shows its first topic's first section and records it.
    d.kapitelWaehlen(1);
    QCOMPARE(d.aktuelleNummer(), QStringLiteral("02.01.01"));
    QCOMPARE(themen.size(), 1);
    QCOMPARE(d.themen().at(0).bezeichnung, QStringLiteral("Thema 1"));
    // A topic without sections: nothing shown, nothing recorded, no links.
    d.themaWaehlen(1);
    QCOMPARE(d.gezeigterAbschnitt(), -1);
    QCOMPARE(geleert.size(), 1);
    QCOMPARE(d.verweisAnzahl(), qint16(0));
    QVERIFY(d.druckenMoeglich());
    // Choosing the loaded chapter again reads nothing.
    const int lesungen = q.lesungen;
    d.kapitelWaehlen(1);
    QCOMPARE(q.lesungen, lesungen);
    d.kapitelWaehlen(0);
    d.abschnittWaehlen(2);
    d.abschnittWaehlen(7); // no such title: nothing
    QCOMPARE(verlauf(d), (QStringList{"01.01.01", "02.01.01", "01.01.01", "01.01.03"}));
    // A chapter without topics: nothing to print.
    d.kapitelWaehlen(2);
    QVERIFY(d.themen().isEmpty());
    QVERIFY(!d.druckenMoeglich());
}

void tst_HilfeDokument::verlaufZurueckVor()
{
    Quelle q(Klein);
    HilfeDokument d(q);
    QVERIFY(d.laden(QStringLiteral("01.01.01")));
    d.geheZu(QStringLiteral("01.01.02"), HilfeDokument::Verlauf::Merken);
    d.geheZu(QStringLiteral("02.01.01"), HilfeDokument::Verlauf::Merken);
    QVERIFY(d.zurueckMoeglich());
    QVERIFY(!d.vorwaertsMoeglich());

    d.zurueck();
    QCOMPARE(d.aktuelleNummer(), QStringLiteral("01.01.02"));
    QCOMPARE(d.verlauf().anzahl(), 3);
    QCOMPARE(d.verlauf().position(), 2);
    QVERIFY(d.vorwaertsMoeglich());
    d.vorwaerts();
    d.vorwaerts(); // at the end: nothing
    QCOMPARE(d.aktuelleNummer(), QStringLiteral("02.01.01"));
    QCOMPARE(d.verlauf().position(), 3);
    d.zurueck();
    d.zurueck();
    d.zurueck(); // at the start: nothing
    QCOMPARE(d.verlauf().position(), 1);
    QCOMPARE(d.aktuelleNummer(), QStringLiteral("01.01.01"));
    QVERIFY(!d.zurueckMoeglich());

    // Showing another section after back cuts the entries ahead; a jump that does not record
    // leaves the history as it is.
    d.vorwaerts();
    d.abschnittWaehlen(2);
    QCOMPARE(verlauf(d), (QStringList{"01.01.01", "01.01.02", "01.01.03"}));
    QVERIFY(!d.vorwaertsMoeglich());
    d.geheZu(QStringLiteral("01.02.05"), HilfeDokument::Verlauf::NichtMerken);
    QCOMPARE(d.aktuelleNummer(), QStringLiteral("01.02.05"));
    QCOMPARE(d.verlauf().anzahl(), 3);
}

void tst_HilfeDokument::verweise()
{
    Quelle q(Klein);
    HilfeDokument d(q);
    QVERIFY(d.laden(QStringLiteral("01.01.01")));
    QSignalSpy bild(&d, &HilfeDokument::bildGewuenscht);
    tVerweis text;
    text.TextNummer = QStringLiteral("02.01.02");
    tVerweis bildVerweis;
    bildVerweis.BildNummer = QStringLiteral("7");
    bildVerweis.BildTitel = QStringLiteral("Maske");
    d.setVerweise({tVerweis(), text, bildVerweis}, 2);

    // Out of the table: nothing.
    for (int i : {0, 3, -1})
        d.verweisFolgen(i);
    QCOMPARE(d.verlauf().anzahl(), 1);
    QCOMPARE(bild.size(), 0);
    d.verweisFolgen(2);
    QCOMPARE(bild.size(), 1);
    QCOMPARE(bild.at(0), (QVariantList{QStringLiteral("7"), QStringLiteral("Maske")}));
    QCOMPARE(d.aktuelleNummer(), QStringLiteral("01.01.01"));
    // A text link goes to its section and is recorded.
    d.verweisFolgen(1);
    QCOMPARE(d.aktuelleNummer(), QStringLiteral("02.01.02"));
    QCOMPARE(verlauf(d), (QStringList{"01.01.01", "02.01.02"}));
    // A count larger than the table is held to the table.
    d.setVerweise({tVerweis(), text}, 5);
    QCOMPARE(d.verweisAnzahl(), qint16(1));
}

void tst_HilfeDokument::lesefehler_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("schritt"); // 1 next, 2 previous, 3 chapter tab 3, 4 jump
    QTest::addColumn<int>("neu");     // history entries the step adds once it can read
    zeile("weiter ins nächste Thema", "01.01.03", 1, 1);
    zeile("weiter ins nächste Kapitel", "01.04.02", 1, 1);
    zeile("zurück ins vorige Thema", "01.02.01", 2, 2);
    zeile("zurück ins vorige Kapitel", "03.01.01", 2, 3);
    zeile("Kapitel gewählt", "01.01.01", 3, 1);
    zeile("Sprung in ein anderes Kapitel", "01.01.01", 4, 1);
}

void tst_HilfeDokument::lesefehler()
{
    QFETCH(QString, start);
    QFETCH(int, schritt);
    QFETCH(int, neu);
    Quelle q(Luecken);
    HilfeDokument d(q);
    QVERIFY(d.laden(start));
    const auto ausfuehren = [&] {
        switch (schritt) {
        case 1:
            return d.naechsterAbschnitt();
        case 2:
            return d.vorigerAbschnitt();
        case 3:
            return d.kapitelWaehlen(2);
        default:
            return d.geheZu(QStringLiteral("03.01.01"), HilfeDokument::Verlauf::Merken);
        }
    };

    // Every read fails: the step reads once (one message), ends without a move, and the tabs
    // stay on what is shown.
    q.fehlerAb = q.lesungen;
    ausfuehren();
    QCOMPARE(q.fehler, 1);
    QCOMPARE(d.aktuelleNummer(), start);
    QCOMPARE(verlauf(d), QStringList{start});
    QCOMPARE(d.kapitelIndex() + 1, start.left(2).toInt());
    QCOMPARE(d.themaIndex() + 1, start.mid(3, 2).toInt());
    QVERIFY(d.vorigerMoeglich() || d.naechsterMoeglich());

    // With the database back the same step goes on.
    q.fehlerAb = -1;
    ausfuehren();
    QVERIFY(d.aktuelleNummer() != start);
    QCOMPARE(d.verlauf().anzahl(), 1 + neu);
    QCOMPARE(q.fehler, 1);
}

void tst_HilfeDokument::ladefehlerBehaeltVerlauf()
{
    // A host call whose target cannot be read keeps what was shown, history included.
    Quelle q(Klein);
    HilfeDokument d(q);
    QVERIFY(d.laden(QStringLiteral("01.01.01")));
    d.geheZu(QStringLiteral("01.01.02"), HilfeDokument::Verlauf::Merken);
    for (int ab : {0, 1, 2, 3}) {
        q.lesungen = 0;
        q.fehlerAb = ab;
        QVERIFY2(!d.laden(QStringLiteral("02.01.02")), qPrintable(QString::number(ab)));
        QCOMPARE(d.aktuelleNummer(), QStringLiteral("01.01.02"));
        QCOMPARE(verlauf(d), (QStringList{"01.01.01", "01.01.02"}));
        QCOMPARE(d.verlauf().position(), 2);
    }
    // An empty help cannot be loaded.
    Quelle leer({});
    HilfeDokument nichts(leer);
    QVERIFY(!nichts.laden(QString()));
}

QTEST_GUILESS_MAIN(tst_HilfeDokument)
#include "tst_HilfeDokument.moc"
