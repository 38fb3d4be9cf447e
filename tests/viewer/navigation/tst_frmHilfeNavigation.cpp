// Checks previous and next section (toolbar buttons 4 and 5) offscreen: stepping within a
// topic, across topic and chapter boundaries both ways, over topics without sections and
// chapters without topics, the history entries each step records (previous topic: its first
// section, then its last; previous chapter: the first section of its first topic, of its last
// topic, then the last section), the first and last section, and a failing read on the way.
#include "TestHilfen.h"
#include "frmHilfe.h"

#include "Datenbank.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeUmgebung.h"
#include "MeldungSkript.h"
#include "Registerkarten.h"
#include "frmInhalt.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTextEdit>

namespace {

QString nummer(int k, int t, int x)
{
    return QStringLiteral("%1.%2.%3")
        .arg(k, 2, 10, QLatin1Char('0'))
        .arg(t, 2, 10, QLatin1Char('0'))
        .arg(x, 2, 10, QLatin1Char('0'));
}

// Writes chapters numbered 1, 2, ...; each topic (numbered 1, 2, ... in its chapter) is given
// by its number of sections; section x has the text "Text KK.TT.XX".
bool datenbankSchreiben(HilfeUmgebung &u, const QString &ordner, const QList<QList<int>> &kapitel)
{
    HilfeDatenbankSchreiber s;
    if (!u.schreiben(s, ordner))
        return false;
    for (int k = 1; k <= kapitel.size(); ++k) {
        const qint32 kid = s.kapitelEinfuegen(k, QStringLiteral("Kapitel %1").arg(k), k);
        const QList<int> &themen = kapitel.at(k - 1);
        for (int t = 1; t <= themen.size(); ++t) {
            const qint32 tid = s.themaEinfuegen(kid, t, QStringLiteral("Thema %1").arg(t), t);
            for (int x = 1; x <= themen.at(t - 1); ++x)
                s.textEinfuegen(tid, x, QStringLiteral("Abschnitt %1").arg(x),
                                QStringLiteral("{\\rtf1\\ansi Text %1\\par}").arg(nummer(k, t, x)),
                                x);
        }
    }
    return s.abschliessen();
}

} // namespace

class tst_frmHilfeNavigation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void schritt_data();
    void schritt();
    void ganzeBeschreibung();
    void ersterUndLetzterAbschnitt();
    void fehlerBeimLesen_data();
    void fehlerBeimLesen();

private:
    frmHilfe *oeffnen(const QString &verzeichnis, const QString &nummer);
    HilfeUmgebung m_u;
    QString m_luecken;    // topics without sections, chapters without topics
    QString m_lueckenlos; // every chapter has topics, every topic sections
};

void tst_frmHilfeNavigation::initTestCase()
{
    QVERIFY(m_u.einrichten());
    m_luecken = m_u.dir.filePath(QStringLiteral("luecken"));
    m_lueckenlos = m_u.dir.filePath(QStringLiteral("lueckenlos"));
    QVERIFY(QDir().mkpath(m_luecken));
    QVERIFY(QDir().mkpath(m_lueckenlos));
    // Chapter 2 and 6 have no topics; 0 is a topic without sections.
    QVERIFY(datenbankSchreiben(m_u, m_luecken, {{3, 1, 0, 2}, {}, {2, 0, 3}, {0, 2}, {1, 0}, {}}));
    QVERIFY(datenbankSchreiben(m_u, m_lueckenlos, {{2, 1}, {1}}));
}

void tst_frmHilfeNavigation::init()
{
    m_u.zuruecksetzen();
}

void tst_frmHilfeNavigation::cleanup()
{
    QVERIFY(HilfeUmgebung::entladen());
}

frmHilfe *tst_frmHilfeNavigation::oeffnen(const QString &verzeichnis, const QString &nummer)
{
    setzeProgrammVerzeichnis(verzeichnis);
    frmHilfe *h = HilfeUmgebung::oeffnen(QStringLiteral("01.01.01"));
    if (h && nummer != QStringLiteral("01.01.01"))
        h->GeheZuText(nummer);
    return h;
}

void tst_frmHilfeNavigation::schritt_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("button");
    QTest::addColumn<QStringList>("neu"); // history entries the step adds, in order

    // Next section: one entry per step, empty topics and chapters are stepped over.
    QTest::newRow("weiter im Thema") << "01.01.01" << 5 << QStringList{"01.01.02"};
    QTest::newRow("weiter ins nächste Thema") << "01.01.03" << 5 << QStringList{"01.02.01"};
    QTest::newRow("weiter über leeres Thema") << "01.02.01" << 5 << QStringList{"01.04.01"};
    QTest::newRow("weiter über Kapitel ohne Themen") << "01.04.02" << 5 << QStringList{"03.01.01"};
    zeile("weiter ins Kapitel mit leerem ersten Thema", "03.03.03", 5, QStringList{"04.02.01"});
    QTest::newRow("weiter ins nächste Kapitel") << "04.02.02" << 5 << QStringList{"05.01.01"};
    QTest::newRow("weiter aus leerem Thema") << "01.03.01" << 5 << QStringList{"01.04.01"};
    QTest::newRow("weiter aus Kapitel ohne Themen") << "02.01.01" << 5 << QStringList{"03.01.01"};
    // Only empty topics and chapters follow.
    QTest::newRow("weiter am Ende") << "05.01.01" << 5 << QStringList{};

    // Previous section.
    QTest::newRow("zurück im Thema") << "01.01.03" << 4 << QStringList{"01.01.02"};
    zeile("zurück ins vorige Thema", "01.02.01", 4, QStringList{"01.01.01", "01.01.03"});
    // A topic with one section: first and last section are the same.
    zeile("zurück ins Thema mit einem Abschnitt", "01.04.01", 4,
          QStringList{"01.02.01", "01.02.01"});
    zeile("zurück über leeres Thema", "03.03.01", 4, QStringList{"03.01.01", "03.01.02"});
    // Previous chapter: its first topic's first section, its last topic's first section, the
    // last section of that topic.
    zeile("zurück ins vorige Kapitel", "04.02.01", 4,
          QStringList{"03.01.01", "03.03.01", "03.03.03"});
    zeile("zurück über Kapitel ohne Themen", "03.01.01", 4,
          QStringList{"01.01.01", "01.04.01", "01.04.02"});
    // The previous chapter's first topic has no sections: nothing to record on selecting it.
    zeile("zurück ins Kapitel mit leerem ersten Thema", "05.01.01", 4,
          QStringList{"04.02.01", "04.02.02"});
    zeile("zurück aus leerem Thema", "01.03.01", 4, QStringList{"01.02.01", "01.02.01"});
    zeile("zurück aus Kapitel ohne Themen", "02.01.01", 4,
          QStringList{"01.01.01", "01.04.01", "01.04.02"});
    QTest::newRow("zurück am Anfang") << "01.01.01" << 4 << QStringList{};
}

void tst_frmHilfeNavigation::schritt()
{
    QFETCH(QString, start);
    QFETCH(int, button);
    QFETCH(QStringList, neu);

    frmHilfe *h = oeffnen(m_luecken, start);
    QVERIFY(h);
    const QString vorher = h->AktuelleNummer();
    const qint32 anzahl = h->VerlaufAnzahl();
    frmInhalt *r = frmInhalt::instanz();
    r->Button(button)->setEnabled(true); // a click, whatever the button showed
    r->Button(button)->trigger();

    QCOMPARE(h->VerlaufAnzahl(), anzahl + neu.size());
    QCOMPARE(h->VerlaufPosition(), h->VerlaufAnzahl());
    for (int i = 0; i < neu.size(); ++i)
        QCOMPARE(h->VerlaufEintrag(anzahl + 1 + i), neu.at(i));
    if (neu.isEmpty()) {
        QCOMPARE(h->AktuelleNummer(), vorher);
        // Nothing lies in that direction: the button is off now.
        QVERIFY(!r->Button(button)->isEnabled());
        return;
    }
    const QString ziel = neu.last();
    QCOMPARE(h->AktuelleNummer(), ziel);
    QCOMPARE(h->txt()->toPlainText().trimmed(), QStringLiteral("Text ") + ziel);
    QCOMPARE(h->lblSub(h->miAktTextIndex)->palette().color(QPalette::Window),
             QColor(0xFF, 0xFF, 0xC0));
    QCOMPARE(h->tabMain()->aktuell() + 1, ziel.left(2).toInt());
    QCOMPARE(h->tabSub()->aktuell() + 1, ziel.mid(3, 2).toInt());
    QVERIFY(h->mbVerlaufMerken);
}

void tst_frmHilfeNavigation::ganzeBeschreibung()
{
    // Next from the first section visits every section once, in order; previous from the
    // last visits them all in reverse.
    const QStringList alle{"01.01.01", "01.01.02", "01.01.03", "01.02.01", "01.04.01",
                           "01.04.02", "03.01.01", "03.01.02", "03.03.01", "03.03.02",
                           "03.03.03", "04.02.01", "04.02.02", "05.01.01"};
    frmHilfe *h = oeffnen(m_luecken, alle.first());
    QVERIFY(h);
    QStringList vorwaerts{h->AktuelleNummer()};
    for (int i = 0; i < 20; ++i) {
        h->ButtonClick(frmInhalt::ButtonNaechste);
        if (h->AktuelleNummer() == vorwaerts.last())
            break;
        vorwaerts << h->AktuelleNummer();
    }
    QCOMPARE(vorwaerts, alle);
    QCOMPARE(h->VerlaufAnzahl(), alle.size());

    QStringList rueckwaerts{h->AktuelleNummer()};
    for (int i = 0; i < 20; ++i) {
        h->ButtonClick(frmInhalt::ButtonVorige);
        if (h->AktuelleNummer() == rueckwaerts.last())
            break;
        rueckwaerts << h->AktuelleNummer();
    }
    std::reverse(rueckwaerts.begin(), rueckwaerts.end());
    QCOMPARE(rueckwaerts, alle);
    QVERIFY(!frmInhalt::instanz()->Button(frmInhalt::ButtonVorige)->isEnabled());

    // Back in the history after previous-section walks through the entries it recorded.
    h->GeheZuText("03.01.01");
    const qint32 n = h->VerlaufAnzahl();
    h->ButtonClick(frmInhalt::ButtonVorige);
    QCOMPARE(h->VerlaufAnzahl(), n + 3);
    h->ButtonClick(frmInhalt::ButtonZurueck);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.04.01"));
    h->ButtonClick(frmInhalt::ButtonZurueck);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.01"));
    h->ButtonClick(frmInhalt::ButtonZurueck);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("03.01.01"));
    QCOMPARE(h->VerlaufAnzahl(), n + 3);
}

void tst_frmHilfeNavigation::ersterUndLetzterAbschnitt()
{
    frmHilfe *h = oeffnen(m_lueckenlos, "01.01.01");
    QVERIFY(h);
    frmInhalt *r = frmInhalt::instanz();
    QVERIFY(!r->Button(frmInhalt::ButtonVorige)->isEnabled());
    QVERIFY(r->Button(frmInhalt::ButtonNaechste)->isEnabled());
    h->ButtonClick(frmInhalt::ButtonVorige);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.01"));
    QCOMPARE(h->VerlaufAnzahl(), 1);

    h->ButtonClick(frmInhalt::ButtonNaechste);
    QVERIFY(r->Button(frmInhalt::ButtonVorige)->isEnabled());
    h->ButtonClick(frmInhalt::ButtonNaechste);
    h->ButtonClick(frmInhalt::ButtonNaechste);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("02.01.01"));
    QVERIFY(!r->Button(frmInhalt::ButtonNaechste)->isEnabled());
    QVERIFY(r->Button(frmInhalt::ButtonVorige)->isEnabled());
    h->ButtonClick(frmInhalt::ButtonNaechste);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("02.01.01"));
    QCOMPARE(h->VerlaufAnzahl(), 4);

    // Previous into the last topic of the previous chapter, which has a single section: the
    // chapter's first section, then that topic's first and last section (the same number).
    h->ButtonClick(frmInhalt::ButtonVorige);
    QCOMPARE(h->VerlaufAnzahl(), 7);
    QCOMPARE(h->VerlaufEintrag(5), QStringLiteral("01.01.01"));
    QCOMPARE(h->VerlaufEintrag(6), QStringLiteral("01.02.01"));
    QCOMPARE(h->VerlaufEintrag(7), QStringLiteral("01.02.01"));
    QVERIFY(r->Button(frmInhalt::ButtonNaechste)->isEnabled());
}

void tst_frmHilfeNavigation::fehlerBeimLesen_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("button");
    QTest::newRow("weiter ins nächste Thema") << "01.01.03" << 5;
    QTest::newRow("weiter ins nächste Kapitel") << "01.04.02" << 5;
    QTest::newRow("zurück ins vorige Thema") << "01.02.01" << 4;
    QTest::newRow("zurück ins vorige Kapitel") << "03.01.01" << 4;
}

void tst_frmHilfeNavigation::fehlerBeimLesen()
{
    QFETCH(QString, start);
    QFETCH(int, button);
    frmHilfe *h = oeffnen(m_luecken, start);
    QVERIFY(h);
    const qint32 anzahl = h->VerlaufAnzahl();

    // The database is gone while the step reads the next topic or chapter: the read reports
    // its error once (answered Abbrechen), and the command ends without a jump.
    SkriptMeldungen meldungen;
    const QString datei = m_luecken + QStringLiteral("/HilfeBelna.mdb");
    QVERIFY(QFile::rename(datei, datei + QStringLiteral(".weg")));
    h->ButtonClick(button);
    QVERIFY(QFile::rename(datei + QStringLiteral(".weg"), datei));
    QCOMPARE(meldungen.anzahl(), 1);
    QCOMPARE(h->AktuelleNummer(), start);
    QCOMPARE(h->VerlaufAnzahl(), anzahl);
    QVERIFY(frmInhalt::instanz()->Button(button)->isEnabled());

    // With the database back the same command goes on.
    h->ButtonClick(button);
    QVERIFY(h->AktuelleNummer() != start);
    QCOMPARE(meldungen.anzahl(), 1);
}

QTEST_MAIN(tst_frmHilfeNavigation)
#include "tst_frmHilfeNavigation.moc"
