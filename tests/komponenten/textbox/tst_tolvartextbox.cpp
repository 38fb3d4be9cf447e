// The text box: a change event for every change of the text (typed, deleted or set by code), and
// focus events when the focus moves within the window, not when the window loses and regains it.
#include "TestHilfen.h"
#include "TolvarTextBox.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestTolvarTextBox : public QObject
{
    Q_OBJECT

private slots:
    void aenderung_data();
    void aenderung();
    void fokus();
};

void TestTolvarTextBox::aenderung_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("tippen");  // typed after the start text, \b a backspace
    QTest::addColumn<QString>("perCode"); // set by code at the end ("-": nothing)
    QTest::addColumn<int>("aenderungen");

    zeile("tippen und loeschen", "", "ab\b\b", "-", 4);
    zeile("loeschen im leeren Feld", "", "\b", "-", 0);
    zeile("per Code", "Kunde", "", "Rechnung", 1);
    zeile("per Code leeren", "Kunde", "n", "", 2);
}

void TestTolvarTextBox::aenderung()
{
    QFETCH(QString, start);
    QFETCH(QString, tippen);
    QFETCH(QString, perCode);
    QFETCH(int, aenderungen);
    TolvarTextBox box;
    box.setText(start);
    QSignalSpy change(&box, &TolvarTextBox::Change);
    QTest::keyClicks(&box, tippen);
    if (perCode != QLatin1String("-"))
        box.setText(perCode);
    QCOMPARE(change.count(), aenderungen);
}

void TestTolvarTextBox::fokus()
{
    QWidget fenster;
    auto *knopf = new QPushButton(QStringLiteral("anderes"), &fenster);
    auto *box = new TolvarTextBox(&fenster);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowActive(&fenster));
    knopf->setFocus();
    QSignalSpy rein(box, &TolvarTextBox::GotFocus);
    QSignalSpy raus(box, &TolvarTextBox::LostFocus);
    const auto zahl = [&] { return QList<int>{int(rein.count()), int(raus.count())}; };

    box->SetFocus();
    QTRY_VERIFY(box->hasFocus());
    QCOMPARE(zahl(), (QList<int>{1, 0}));
    // The window loses and regains the activation, a popup opens: for the box nothing happened.
    for (auto [typ, grund] : {std::pair{QEvent::FocusOut, Qt::ActiveWindowFocusReason},
                              std::pair{QEvent::FocusIn, Qt::ActiveWindowFocusReason},
                              std::pair{QEvent::FocusOut, Qt::PopupFocusReason}}) {
        QFocusEvent e(typ, grund);
        QCoreApplication::sendEvent(box, &e);
    }
    QCOMPARE(zahl(), (QList<int>{1, 0}));
    // Tab moves the focus to the next control: that is a real loss.
    QTest::keyClick(box, Qt::Key_Tab);
    QTRY_VERIFY(!box->hasFocus());
    QCOMPARE(zahl(), (QList<int>{1, 1}));
    box->SetFocus();
    QTRY_VERIFY(box->hasFocus());
    QCOMPARE(zahl(), (QList<int>{2, 1}));
}

QTEST_MAIN(TestTolvarTextBox)
#include "tst_tolvartextbox.moc"
