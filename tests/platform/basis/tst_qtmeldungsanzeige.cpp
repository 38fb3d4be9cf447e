// The Qt message box: German buttons, the answers, and closing a Retry/Cancel box = Cancel.
#include "QtMeldungsanzeige.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestQtMeldungsanzeige : public QObject
{
    Q_OBJECT

private slots:
    void antwort_data();
    void antwort();

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

QTEST_MAIN(TestQtMeldungsanzeige)
#include "tst_qtmeldungsanzeige.moc"
