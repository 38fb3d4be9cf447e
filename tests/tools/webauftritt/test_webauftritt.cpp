// The web site of a help database: a help number leads to the page of the section the help
// shows for it, and a run over a changed help renders only the pages that changed and removes
// the pages of removed sections; a folder the command did not write is left alone.
#include "HilfeCompiler.h"
#include "TestHilfen.h"
#include "WebAuftritt.h"

#include <QtTest>

class TestWebAuftritt : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void ziel_data();
    void ziel();
    void nacheinander();
};

void TestWebAuftritt::ziel_data()
{
    QTest::addColumn<QString>("nummer");
    QTest::addColumn<QString>("seite");
    zeile("vorhanden", QString("01.01.02"), QString("01.01.02"));
    zeile("ohne Nullen", QString("1.2.1"), QString("01.02.01"));
    zeile("Abschnitt fehlt", QString("01.02.07"), QString("01.02.01"));
    // An unknown topic: the chapter's first topic, where the section is still looked for.
    zeile("Thema fehlt", QString("01.05.02"), QString("01.01.02"));
    zeile("Kapitel fehlt", QString("09.01.01"), QString("01.01.01"));
    zeile("keine Nummer", QString("abc"), QString("01.01.01"));
}

void TestWebAuftritt::ziel()
{
    QFETCH(QString, nummer);
    QFETCH(QString, seite);
    const QStringList abschnitte{"01.01.01", "01.01.02", "01.02.01", "02.01.01"};
    QCOMPARE(WebAuftritt::zielAufloesen(nummer, abschnitte), seite);
}

void TestWebAuftritt::nacheinander()
{
    QTemporaryDir dir;
    const QString q = dir.filePath("q");
    const QByteArray quelle = "= 1 | K\n== 1 | T\n=== 1 | Eins\nZu [[01.01.03|Drei]].\n"
                              "=== 2 | Zwei\nText zwei.\n=== 3 | Drei\nText drei.\n";
    const auto schreiben = [&](const QByteArray &text, WebAuftritt::Ergebnis &e) {
        dateiSchreiben(q + "/kapitel/01.txt", text);
        QStringList meldungen;
        HilfeBaum baum;
        QString fehler;
        return HilfeCompiler::erstellen(q, dir.filePath("h.mdb"), meldungen) &&
               HilfeBaum::lesen(dir.filePath("h.mdb"), baum, fehler) &&
               WebAuftritt::schreiben(baum, dir.filePath("web"), {}, e, fehler);
    };
    WebAuftritt::Ergebnis e;
    QVERIFY(schreiben(quelle, e));
    QCOMPARE(e.seiten, 3);
    QCOMPARE(e.neuGerendert, 3);
    QVERIFY(dateiLesen(dir.filePath("web/01/01/01.html")).contains("href=\"../../01/01/03.html\""));

    QVERIFY(schreiben(quelle, e));
    QCOMPARE(e.neuGerendert, 0);
    QCOMPARE(e.geschrieben, 0);

    // One section's text: its page alone.
    QVERIFY(schreiben(QByteArray(quelle).replace("Text zwei.", "Neuer Text."), e));
    QCOMPARE(e.neuGerendert, 1);
    QVERIFY(dateiLesen(dir.filePath("web/01/01/02.html")).contains("Neuer Text."));

    // A removed section: its page goes; the pages that listed it are rendered anew.
    QByteArray ohneDrei = quelle;
    ohneDrei.truncate(ohneDrei.indexOf("=== 3"));
    QVERIFY(schreiben(ohneDrei.replace("[[01.01.03|Drei]]", "Drei"), e));
    QCOMPARE(e.entfernt, 1);
    QCOMPARE(e.neuGerendert, 2);
    QVERIFY(!QFile::exists(dir.filePath("web/01/01/03.html")));

    // A folder with files of its own is not written into.
    dateiSchreiben(dir.filePath("fremd/notiz.txt"), "x");
    HilfeBaum baum;
    QString fehler;
    QVERIFY(HilfeBaum::lesen(dir.filePath("h.mdb"), baum, fehler));
    QVERIFY(!WebAuftritt::schreiben(baum, dir.filePath("fremd"), {}, e, fehler));
    QVERIFY2(fehler.contains("nicht leer"), qPrintable(fehler));
    QCOMPARE(QDir(dir.filePath("fremd")).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 1);
}

QTEST_MAIN(TestWebAuftritt)
#include "test_webauftritt.moc"
