// The text box: a change event for every change of the text (typed, deleted or set by code),
// focus events when the focus moves in and out within the window but not when the window
// itself loses and regains the focus, and taking the focus.
#include "TestHilfen.h"
#include "TolvarTextBox.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
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
    QTest::addColumn<QString>("tippen");  // typed after the start text
    QTest::addColumn<int>("loeschen");    // backspaces after typing
    QTest::addColumn<QString>("perCode"); // set by code at the end ("-": nothing)
    QTest::addColumn<int>("aenderungen");
    QTest::addColumn<QString>("text");

    zeile("drei Zeichen", "", "abc", 0, "-", 3, "abc");
    zeile("tippen und loeschen", "", "ab", 2, "-", 4, "");
    zeile("loeschen im leeren Feld", "", "", 1, "-", 0, "");
    zeile("per Code", "Kunde", "", 0, "Rechnung", 1, "Rechnung");
    zeile("per Code gleicher Text", "Kunde", "", 0, "Kunde", 0, "Kunde");
    zeile("per Code leeren", "Kunde", "n", 0, "", 2, "");
    zeile("Umlaut per Code", "", "", 0, "Größe", 1, "Größe");
}

void TestTolvarTextBox::aenderung()
{
    QFETCH(QString, start);
    QFETCH(QString, tippen);
    QFETCH(int, loeschen);
    QFETCH(QString, perCode);
    QFETCH(int, aenderungen);
    QFETCH(QString, text);

    TolvarTextBox box;
    box.setText(start);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QSignalSpy change(&box, &TolvarTextBox::Change);
    QTest::keyClicks(&box, tippen);
    for (int i = 0; i < loeschen; ++i)
        QTest::keyClick(&box, Qt::Key_Backspace);
    if (perCode != QLatin1String("-"))
        box.setText(perCode);
    QCOMPARE(change.count(), aenderungen);
    QCOMPARE(box.Text(), text);
}

void TestTolvarTextBox::fokus()
{
    QWidget fenster;
    auto *layout = new QVBoxLayout(&fenster);
    auto *box = new TolvarTextBox;
    auto *knopf = new QPushButton(QStringLiteral("anderes"));
    layout->addWidget(knopf);
    layout->addWidget(box);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowActive(&fenster));
    knopf->setFocus();
    QSignalSpy rein(box, &TolvarTextBox::GotFocus);
    QSignalSpy raus(box, &TolvarTextBox::LostFocus);

    box->SetFocus();
    QTRY_VERIFY(box->hasFocus());
    QCOMPARE(rein.count(), 1);
    QCOMPARE(raus.count(), 0);

    // The window loses and regains the activation: for the box nothing happened.
    QFocusEvent fensterRaus(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(box, &fensterRaus);
    QFocusEvent fensterRein(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(box, &fensterRein);
    QFocusEvent popupRaus(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(box, &popupRaus);
    QCOMPARE(rein.count(), 1);
    QCOMPARE(raus.count(), 0);

    // Tab moves the focus to the next control: that is a real loss.
    QTest::keyClick(box, Qt::Key_Tab);
    QTRY_VERIFY(!box->hasFocus());
    QCOMPARE(raus.count(), 1);
    box->SetFocus();
    QTRY_VERIFY(box->hasFocus());
    QCOMPARE(rein.count(), 2);
    // Taking the focus it already has raises nothing.
    box->SetFocus();
    QCOMPARE(rein.count(), 2);
    knopf->setFocus(Qt::MouseFocusReason);
    QCOMPARE(raus.count(), 2);
}

QTEST_MAIN(TestTolvarTextBox)
#include "tst_tolvartextbox.moc"
