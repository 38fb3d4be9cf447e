// The string routine: pieces of a text between separators.
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
    QTest::newRow("erstes") << "03.02.05" << 1 << "."
                            << "03";
    QTest::newRow("zweites") << "03.02.05" << 2 << "."
                             << "02";
    QTest::newRow("drittes") << "03.02.05" << 3 << "."
                             << "05";
    QTest::newRow("viertes-fehlt") << "03.02.05" << 4 << "."
                                   << "";
    QTest::newRow("null") << "03.02.05" << 0 << "."
                          << "";
    QTest::newRow("negativ") << "03.02.05" << -1 << "."
                             << "";
    QTest::newRow("ohne-trenner") << "17" << 1 << "."
                                  << "17";
    QTest::newRow("ohne-trenner-2") << "17" << 2 << "."
                                    << "";
    QTest::newRow("leer-1") << "" << 1 << "."
                            << "";
    QTest::newRow("leerer-teil") << "1..3" << 2 << "."
                                 << "";
    QTest::newRow("nach-leerem") << "1..3" << 3 << "."
                                 << "3";
    QTest::newRow("am-ende") << "1.2." << 3 << "."
                             << "";
    QTest::newRow("mehrzeichen") << "a::b::c" << 2 << "::"
                                 << "b";
    QTest::newRow("leerer-trenner-1") << "abc" << 1 << ""
                                      << "abc";
    QTest::newRow("leerer-trenner-2") << "abc" << 2 << ""
                                      << "";
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
