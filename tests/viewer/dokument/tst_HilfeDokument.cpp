// Checks the document model against an in-memory source: resolving help numbers, tabs, previous
// and next section with the history each step records, back and forward, links, failing reads.
#include "HilfeDokument.h"
#include "TestHilfen.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// A help given by the number of sections of each topic of each chapter; section x of topic t has
// the text "Text KK.TT.XX". From `fehlerAb` reads on, every read fails (counted in `fehler`).
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
                      QStringLiteral("Text ") + HilfeDokument::nummerBilden(k, t, x) + zusatz});
        return l;
    }

    int lesungen = 0, fehlerAb = -1, fehler = 0;
    // Appended to every section text: content changed under the same IDs.
    QString zusatz;
    QList<QList<int>> m_kapitel;

private:
    bool scheitert()
    {
        const bool f = fehlerAb >= 0 && lesungen >= fehlerAb;
        ++lesungen;
        fehler += f;
        return f;
    }
};

// Chapters without topics, topics without sections (0) in between and at either end.
const QList<QList<int>> Luecken{{3, 1, 0, 2}, {}, {2, 0, 3}, {0, 2}, {1, 0}, {}};
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
    void tabsUndTitel();
    void verlaufZurueckVor();
    void verweise();
    void ladefehlerBehaeltVerlauf();
    void neuLaden();
};

void tst_HilfeDokument::laden_data()
{
    QTest::addColumn<QString>("vorher"); // shown before the call ("" = a fresh start)
    QTest::addColumn<QString>("ziel");
    QTest::addColumn<QString>("erwartet");
    QTest::addColumn<bool>("bekannt");

    // A call resolves a number as a fresh start does, whatever was shown before: an unknown
    // chapter gives 01.01.01, an unknown topic the section in the chapter's first topic, an
    // unknown section the topic's first; an empty chapter or topic is selected without a section.
    zeile("leer", "", QString(), "01.01.01", true);
    zeile("genau", "", "01.02.03", "01.02.03", true);
    zeile("Kapitel unbekannt", "", "09.02.01", "01.01.01", false);
    zeile("Thema unbekannt", "", "01.09.02", "01.01.02", false);
    zeile("Abschnitt unbekannt", "", "01.02.99", "01.02.01", false);
    zeile("nach 02.01.02 Kapitel unbekannt", "02.01.02", "09.02.01", "01.01.01", false);
    zeile("nach 01.02.05 Thema unbekannt", "01.02.05", "01.09.02", "01.01.02", false);
    zeile("ohne Nullen und mit Leerzeichen", "", " 2. 1.2", "02.01.02", true);
    zeile("Kapitel ohne Themen", "", "03.01.01", "", false);
    zeile("Thema ohne Abschnitte", "", "02.02.01", "", false);
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
    QCOMPARE(verlauf(d), erwartet.isEmpty() ? QStringList() : QStringList{erwartet});
    QCOMPARE(d.verlauf().position(), erwartet.isEmpty() ? 0 : 1);
}

void tst_HilfeDokument::gehe_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("ziel");
    QTest::addColumn<QString>("erwartet"); // "" = no section chosen
    QTest::addColumn<int>("kapitelTab");
    QTest::addColumn<int>("themaTab");
    QTest::addColumn<int>("verlauf");

    // Within the app an unknown chapter or topic stays as shown (a new chapter: its first
    // topic); an unknown section or an empty chapter or topic chooses no section.
    zeile("genau", "01.01.01", "02.01.02", "02.01.02", 1, 0, 2);
    zeile("Kapitel unbekannt", "01.01.01", "09.02.03", "01.02.03", 0, 1, 2);
    zeile("Thema unbekannt", "01.01.01", "01.09.02", "01.01.02", 0, 0, 2);
    zeile("Thema unbekannt, anderes Kapitel", "01.01.01", "02.09.02", "02.01.02", 1, 0, 2);
    zeile("Abschnitt unbekannt", "01.01.01", "02.01.09", "", 1, 0, 1);
    zeile("Kapitel ohne Themen", "01.02.01", "03.01.01", "", 2, -1, 1);
    zeile("Thema ohne Abschnitte", "01.01.01", "02.02.01", "", 1, 1, 1);
    zeile("derselbe Abschnitt wird wieder gemerkt", "01.01.02", "01.01.02", "01.01.02", 0, 0, 2);
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

    // Next: one entry per step, empty topics and chapters are stepped over.
    zeile("weiter im Thema", "01.01.01", true, QStringList{"01.01.02"});
    zeile("weiter ins nächste Thema", "01.01.03", true, QStringList{"01.02.01"});
    zeile("weiter über leeres Thema", "01.02.01", true, QStringList{"01.04.01"});
    zeile("weiter über Kapitel ohne Themen", "01.04.02", true, QStringList{"03.01.01"});
    zeile("weiter ins Kapitel mit leerem ersten Thema", "03.03.03", true, QStringList{"04.02.01"});
    zeile("weiter ins nächste Kapitel", "04.02.02", true, QStringList{"05.01.01"});
    zeile("weiter aus leerem Thema", "01.03.01", true, QStringList{"01.04.01"});
    zeile("weiter aus Kapitel ohne Themen", "02.01.01", true, QStringList{"03.01.01"});
    zeile("weiter am Ende", "05.01.01", true, QStringList{});

    // Previous passes through the tabs: records the topic's first section, then its last; in a
    // previous chapter first the first topic's first section (none when it is empty).
    zeile("zurück im Thema", "01.01.03", false, QStringList{"01.01.02"});
    zeile("zurück ins vorige Thema", "01.02.01", false, QStringList{"01.01.01", "01.01.03"});
    zeile("zurück über leeres Thema", "03.03.01", false, QStringList{"03.01.01", "03.01.02"});
    zeile("zurück ins vorige Kapitel", "04.02.01", false,
          QStringList{"03.01.01", "03.03.01", "03.03.03"});
    zeile("zurück über Kapitel ohne Themen", "03.01.01", false,
          QStringList{"01.01.01", "01.04.01", "01.04.02"});
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
    const auto schreiten = [&] { weiter ? d.naechsterAbschnitt() : d.vorigerAbschnitt(); };
    // A step into another topic while every read fails: one read (one message), no move, the
    // tabs stay on what is shown; with the database back the same step goes on.
    const bool liest = !vorher.isEmpty() && !neu.isEmpty() && neu.last().left(5) != vorher.left(5);
    if (liest) {
        q.fehlerAb = q.lesungen;
        schreiten();
        QCOMPARE(q.fehler, 1);
        QCOMPARE(d.aktuelleNummer(), vorher);
        QCOMPARE(verlauf(d), alt);
        QCOMPARE(d.kapitelIndex() + 1, vorher.left(2).toInt());
        QCOMPARE(d.themaIndex() + 1, vorher.mid(3, 2).toInt());
        QVERIFY(d.vorigerMoeglich() || d.naechsterMoeglich());
        q.fehlerAb = -1;
    }
    QSignalSpy gezeigt(&d, &HilfeDokument::abschnittZeigen);
    schreiten();
    QCOMPARE(q.fehler, int(liest));
    QCOMPARE(verlauf(d), alt + neu);
    QCOMPARE(d.verlauf().position(), d.verlauf().anzahl());
    QCOMPARE(gezeigt.size(), neu.size());
    const QString jetzt = neu.isEmpty() ? vorher : neu.last();
    QCOMPARE(d.aktuelleNummer(), jetzt);
    // Previous is off on the first section of all; next once a step found nothing ahead.
    QCOMPARE(d.vorigerMoeglich(), jetzt != QLatin1String("01.01.01"));
    QCOMPARE(d.naechsterMoeglich(), !neu.isEmpty() || !weiter);
    if (neu.isEmpty())
        return;
    QCOMPARE(gezeigt.last().at(0).toString(), QStringLiteral("Text ") + neu.last());
    QCOMPARE(d.kapitelIndex() + 1, neu.last().left(2).toInt());
    QCOMPARE(d.themaIndex() + 1, neu.last().mid(3, 2).toInt());
}

void tst_HilfeDokument::tabsUndTitel()
{
    Quelle q(Klein);
    HilfeDokument d(q);
    QVERIFY(d.laden(QStringLiteral("01.01.01")));
    QSignalSpy themen(&d, &HilfeDokument::themenGeaendert);
    QSignalSpy geleert(&d, &HilfeDokument::abschnittGeleert);
    d.kapitelWaehlen(1); // its first topic's first section, recorded
    QCOMPARE(d.aktuelleNummer(), QStringLiteral("02.01.01"));
    QCOMPARE(themen.size(), 1);
    // A topic without sections: nothing shown, nothing recorded, no links.
    d.themaWaehlen(1);
    QCOMPARE(d.gezeigterAbschnitt(), -1);
    QCOMPARE(geleert.size(), 1);
    QCOMPARE(d.verweisAnzahl(), qint16(0));
    QVERIFY(d.druckenMoeglich());
    const int lesungen = q.lesungen;
    d.kapitelWaehlen(1); // the loaded chapter again: nothing read
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
    for (int i = 0; i < 3; ++i) // the third at the start: nothing
        d.zurueck();
    QCOMPARE(d.verlauf().position(), 1);
    QCOMPARE(d.aktuelleNummer(), QStringLiteral("01.01.01"));
    QVERIFY(!d.zurueckMoeglich());
    // A jump that is not to be recorded leaves the history as it is.
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
    tVerweis bildVerweis;
    bildVerweis.BildNummer = QStringLiteral("7");
    bildVerweis.BildTitel = QStringLiteral("Maske");
    d.setVerweise({tVerweis(), bildVerweis}, 1);
    for (int i : {0, 2, -1}) // out of the table: nothing
        d.verweisFolgen(i);
    QCOMPARE(bild.size(), 0);
    // A picture link asks for its picture and stays where it is.
    d.verweisFolgen(1);
    QCOMPARE(bild.size(), 1);
    QCOMPARE(bild.at(0), (QVariantList{QStringLiteral("7"), QStringLiteral("Maske")}));
    QCOMPARE(d.aktuelleNummer(), QStringLiteral("01.01.01"));
    QCOMPARE(verlauf(d), QStringList{"01.01.01"});
    d.setVerweise({tVerweis(), bildVerweis}, 5); // held to the table
    QCOMPARE(d.verweisAnzahl(), qint16(1));
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

void tst_HilfeDokument::neuLaden()
{
    // The source changed under the same IDs: the same section is shown with its new text, and
    // the history stays.
    Quelle q(Klein);
    HilfeDokument d(q);
    QVERIFY(d.laden(QStringLiteral("01.01.01")));
    d.geheZu(QStringLiteral("01.02.07"), HilfeDokument::Verlauf::Merken);
    QSignalSpy gezeigt(&d, &HilfeDokument::abschnittZeigen);
    q.zusatz = QStringLiteral(" neu");
    QVERIFY(d.neuLaden());
    QCOMPARE(d.aktuelleNummer(), QStringLiteral("01.02.07"));
    QCOMPARE(gezeigt.last().at(0).toString(), QStringLiteral("Text 01.02.07 neu"));
    QCOMPARE(verlauf(d), (QStringList{"01.01.01", "01.02.07"}));
    // The shown section is gone: the topic's first is shown, the history starts anew.
    q.m_kapitel = {{3, 5}, {2, 0}, {}};
    QVERIFY(d.neuLaden());
    QCOMPARE(d.aktuelleNummer(), QStringLiteral("01.02.01"));
    QCOMPARE(d.abschnitte().size(), 5);
    QCOMPARE(verlauf(d), QStringList{"01.02.01"});
}

QTEST_GUILESS_MAIN(tst_HilfeDokument)
#include "tst_HilfeDokument.moc"
