// The Qt message box: German buttons, the answers, and closing a Retry/Cancel box = Cancel;
// a box with a short text is still wide enough for its whole title.
#include "QtMeldungsanzeige.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QtTest>

class TestQtMeldungsanzeige : public QObject
{
    Q_OBJECT

private slots:
    void antwort_data();
    void antwort();
    void titelbreite_data();
    void titelbreite();

private:
    // Acts on the box once it is up: clicks the button with this text, or rejects (Esc).
    void spaeterHandeln(const QString &knopf, QStringList *gesehen, QString *titel);
};

void TestQtMeldungsanzeige::spaeterHandeln(const QString &knopf, QStringList *gesehen,
                                           QString *titel)
{
    QTimer::singleShot(0, this, [this, knopf, gesehen, titel] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            spaeterHandeln(knopf, gesehen, titel);
            return;
        }
        *titel = box->windowTitle();
        for (QAbstractButton *b : box->buttons())
            gesehen->append(b->text());
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == knopf) {
                b->click();
                return;
            }
        }
        box->reject();
    });
}

void TestQtMeldungsanzeige::antwort_data()
{
    QTest::addColumn<int>("stil");
    QTest::addColumn<QString>("knopf");
    QTest::addColumn<QStringList>("knoepfe");
    QTest::addColumn<int>("erwartet");
    const QStringList wa{"Wiederholen", "Abbrechen"};
    QTest::newRow("ok") << 48 << "OK" << QStringList{"OK"} << 1;
    QTest::newRow("ok-geschlossen") << 16 << "" << QStringList{"OK"} << 1;
    QTest::newRow("wiederholen") << 53 << "Wiederholen" << wa << 4;
    QTest::newRow("abbrechen") << 53 << "Abbrechen" << wa << 2;
    QTest::newRow("geschlossen") << 53 << "" << wa << 2;
}

void TestQtMeldungsanzeige::antwort()
{
    QFETCH(int, stil);
    QFETCH(QString, knopf);
    QFETCH(QStringList, knoepfe);
    QFETCH(int, erwartet);
    QStringList gesehen;
    QString titel;
    spaeterHandeln(knopf, &gesehen, &titel);
    QtMeldungsanzeige anzeige;
    QCOMPARE(anzeige.zeigen(QStringLiteral("Text"), stil, QStringLiteral("Tolvar-Hilfe")),
             erwartet);
    std::sort(gesehen.begin(), gesehen.end());
    std::sort(knoepfe.begin(), knoepfe.end());
    QCOMPARE(gesehen, knoepfe);
    QCOMPARE(titel, QStringLiteral("Tolvar-Hilfe"));
}

void TestQtMeldungsanzeige::titelbreite_data()
{
    QTest::addColumn<int>("stil");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("titel");
    QTest::newRow("kurzer Text") << 0 << "OpenPrinter Failed!"
                                 << "Tolvar-Belna Programmbeschreibung – Druckereigenschaften";
    QTest::newRow("Wiederholen/Abbrechen") << 53 << "Fehler"
                                           << "Hilfedatenbank HilfeBelna.mdb kann nicht geöffnet "
                                              "werden";
    QTest::newRow("langer Text") << 48 << QString(200, QLatin1Char('x')) << "Tolvar-Hilfe";
}

void TestQtMeldungsanzeige::titelbreite()
{
    QFETCH(int, stil);
    QFETCH(QString, text);
    QFETCH(QString, titel);
    int breite = 0, noetig = 0;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        breite = box->width();
        QFont fett = box->font();
        fett.setBold(true);
        // The title and at least three title-bar buttons beside it.
        noetig = QFontMetrics(fett).horizontalAdvance(titel) +
                 3 * box->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, box);
        box->reject();
    });
    QtMeldungsanzeige anzeige;
    anzeige.zeigen(text, stil, titel);
    QVERIFY(noetig > 0);
    QCOMPARE_GE(breite, noetig);
}

QTEST_MAIN(TestQtMeldungsanzeige)
#include "tst_qtmeldungsanzeige.moc"
