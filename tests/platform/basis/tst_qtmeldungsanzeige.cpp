// The Qt message box: German buttons, the answers, and every box wide enough for its whole
// title, also with a short text.
#include "QtMeldungsanzeige.h"
#include "TestHilfen.h"

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
};

void TestQtMeldungsanzeige::antwort_data()
{
    QTest::addColumn<int>("stil");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("titel");
    QTest::addColumn<QString>("knopf"); // empty: the box is closed
    QTest::addColumn<QStringList>("knoepfe");
    QTest::addColumn<int>("erwartet");
    const QStringList ok{"OK"}, wa{"Abbrechen", "Wiederholen"};
    const QString druck =
        QStringLiteral("Tolvar-Belna Programmbeschreibung – Druckereigenschaften");
    const QString db = QStringLiteral("Hilfedatenbank HilfeBelna.mdb kann nicht geöffnet werden");
    zeile("ok", 48, "OpenPrinter Failed!", druck, "OK", ok, 1);
    zeile("ok geschlossen", 16, QString(200, QLatin1Char('x')), "Tolvar-Hilfe", "", ok, 1);
    zeile("wiederholen", 53, "Fehler", db, "Wiederholen", wa, 4);
    zeile("abbrechen", 53, "Fehler", db, "Abbrechen", wa, 2);
}

void TestQtMeldungsanzeige::antwort()
{
    QFETCH(int, stil);
    QFETCH(QString, text);
    QFETCH(QString, titel);
    QFETCH(QString, knopf);
    QFETCH(QStringList, knoepfe);
    QFETCH(int, erwartet);
    QString gezeigterTitel;
    QStringList gezeigt;
    int breite = 0, noetig = 0;
    // Once the box is up: note its title, buttons and width, then click the button or close it.
    QTimer warten;
    connect(&warten, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        warten.stop();
        gezeigterTitel = box->windowTitle();
        breite = box->width();
        QFont fett = box->font();
        fett.setBold(true);
        // The title and at least three title-bar buttons beside it.
        noetig = QFontMetrics(fett).horizontalAdvance(titel) +
                 3 * box->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, box);
        QAbstractButton *klick = nullptr;
        for (QAbstractButton *b : box->buttons()) {
            gezeigt.append(b->text());
            klick = b->text() == knopf ? b : klick;
        }
        klick ? klick->click() : box->reject();
    });
    warten.start(0);
    QCOMPARE(QtMeldungsanzeige().zeigen(text, stil, titel), erwartet);
    gezeigt.sort();
    QCOMPARE(gezeigt, knoepfe);
    QCOMPARE(gezeigterTitel, titel);
    QCOMPARE_GE(breite, noetig);
}

QTEST_MAIN(TestQtMeldungsanzeige)
#include "tst_qtmeldungsanzeige.moc"
