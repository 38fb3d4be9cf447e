// The string routine: pieces of a text between separators.
#include "TestHilfen.h"
#include "Zeichenkette.h"

#include <QtTest>

class TestZeichenkette : public QObject
{
    Q_OBJECT

private slots:
    void teil_data();
    void teil();
};

void TestZeichenkette::teil_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("trenner");
    QTest::addColumn<QString>("erwartet");
    zeile("erstes", "03.02.05", 1, ".", "03");
    zeile("zweites", "03.02.05", 2, ".", "02");
    zeile("drittes", "03.02.05", 3, ".", "05");
    zeile("viertes-fehlt", "03.02.05", 4, ".", "");
    zeile("null", "03.02.05", 0, ".", "");
    zeile("negativ", "03.02.05", -1, ".", "");
    zeile("ohne-trenner", "17", 1, ".", "17");
    zeile("ohne-trenner-2", "17", 2, ".", "");
    zeile("leer-1", "", 1, ".", "");
    zeile("leerer-teil", "1..3", 2, ".", "");
    zeile("nach-leerem", "1..3", 3, ".", "3");
    zeile("am-ende", "1.2.", 3, ".", "");
    zeile("mehrzeichen", "a::b::c", 2, "::", "b");
    zeile("leerer-trenner-1", "abc", 1, "", "abc");
    zeile("leerer-trenner-2", "abc", 2, "", "");
}

void TestZeichenkette::teil()
{
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(QString, trenner);
    QFETCH(QString, erwartet);
    QCOMPARE(Zeichenkette(text, n, 1, trenner), erwartet);
}

QTEST_GUILESS_MAIN(TestZeichenkette)
#include "tst_zeichenkette.moc"
