// Checks the page history: recording behind the position cuts the entries ahead, walking back
// and forward neither adds nor drops, out-of-range indexes read empty and write nothing, and a
// full history drops its oldest entry instead of overflowing.
#include "HilfeVerlauf.h"

#include <QTest>

class tst_HilfeVerlauf : public QObject
{
    Q_OBJECT

private slots:
    void merkenSchneidetAb();
    void eintragAusserhalb_data();
    void eintragAusserhalb();
    void anzahlBehaeltEintraege();
    void kapazitaetVerdraengtAeltesten();
};

void tst_HilfeVerlauf::merkenSchneidetAb()
{
    HilfeVerlauf v;
    const auto stand = [&v](int anzahl, int position, bool zurueck, bool vor) {
        QCOMPARE(v.anzahl(), anzahl);
        QCOMPARE(v.position(), position);
        QCOMPARE(v.zurueckMoeglich(), zurueck);
        QCOMPARE(v.vorwaertsMoeglich(), vor);
    };
    stand(0, 0, false, false);
    v.merken("01.01.01");
    stand(1, 1, false, false);
    v.merken("01.01.02");
    v.merken("01.02.01");
    stand(3, 3, true, false);
    v.setPosition(2); // back
    stand(3, 2, true, true);
    QCOMPARE(v.eintrag(v.position()), QStringLiteral("01.01.02"));

    v.merken("02.01.01"); // a jump outside the history
    stand(3, 3, true, false);
    QCOMPARE(v.eintrag(3), QStringLiteral("02.01.01"));
    QCOMPARE(v.eintrag(2), QStringLiteral("01.01.02"));

    v.setPosition(1);
    v.merken("03.01.01");
    QCOMPARE(v.anzahl(), 2);
    QCOMPARE(v.eintrag(3), QString());

    v.leeren();
    stand(0, 0, false, false);
    QCOMPARE(v.eintrag(1), QString());
}

void tst_HilfeVerlauf::eintragAusserhalb_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("gueltig");
    QTest::newRow("0") << 0 << false;
    QTest::newRow("-1") << -1 << false;
    QTest::newRow("1") << 1 << true;
    QTest::newRow("2") << 2 << true;
    QTest::newRow("3") << 3 << false;
}

void tst_HilfeVerlauf::eintragAusserhalb()
{
    QFETCH(int, index);
    QFETCH(bool, gueltig);
    HilfeVerlauf v;
    v.setAnzahl(2);
    v.setEintrag(index, "09.09.09");
    QCOMPARE(v.eintrag(index), gueltig ? QStringLiteral("09.09.09") : QString());
    QCOMPARE(v.anzahl(), 2);
}

void tst_HilfeVerlauf::anzahlBehaeltEintraege()
{
    HilfeVerlauf v;
    v.merken("01.01.01");
    v.merken("01.01.02");
    v.setAnzahl(5);
    QCOMPARE(v.eintrag(2), QStringLiteral("01.01.02"));
    QCOMPARE(v.eintrag(5), QString());
    v.setAnzahl(1);
    QCOMPARE(v.eintrag(1), QStringLiteral("01.01.01"));
    QCOMPARE(v.eintrag(2), QString());
    v.setAnzahl(-3);
    QCOMPARE(v.anzahl(), 0);
}

void tst_HilfeVerlauf::kapazitaetVerdraengtAeltesten()
{
    HilfeVerlauf v(3);
    for (const char *n : {"01.01.01", "01.01.02", "01.01.03", "01.01.04"})
        v.merken(QString::fromLatin1(n));
    QCOMPARE(v.anzahl(), 3);
    QCOMPARE(v.position(), 3);
    QCOMPARE(v.eintrag(1), QStringLiteral("01.01.02"));
    QCOMPARE(v.eintrag(3), QStringLiteral("01.01.04"));
    QVERIFY(v.zurueckMoeglich());
}

QTEST_GUILESS_MAIN(tst_HilfeVerlauf)
#include "tst_HilfeVerlauf.moc"
