// The reading aids of the help window offscreen where the user-level scenarios cannot look: the
// print command sees the stored formats, the find bar's marks beside full-text marks and after a
// section change, the bookmark dialog's list operations.
#include "Datenbank.h"
#include "Einstellungen.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeUmgebung.h"
#include "Lesehilfen.h"
#include "TestHilfen.h"
#include "TextFeld.h"
#include "frmHilfe.h"
#include "frmInhalt.h"
#include "frmLesezeichen.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTextEdit>

class tst_Lesehilfen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void druckSiehtGespeicherteFormate();
    void findenNebenTreffernUndEsc();
    void findenNachAbschnittswechsel();
    void lesezeichenDialog();

private:
    static frmHilfe *oeffnen(const QString &nummer) { return HilfeUmgebung::oeffnen(nummer); }
    static double schriftGroesse(const frmHilfe *h, int dokPos);
    HilfeUmgebung m_u;
    QTemporaryDir m_einstellungen;
};

void tst_Lesehilfen::initTestCase()
{
    QVERIFY(m_u.einrichten());
    QVERIFY(m_einstellungen.isValid());
    setzeEinstellungsOrdner(m_einstellungen.path());
    HilfeDatenbankSchreiber s;
    QVERIFY(m_u.schreiben(s));
    const qint32 k1 = s.kapitelEinfuegen(1, QStringLiteral("Erstes"), 1);
    const qint32 t11 = s.themaEinfuegen(k1, 1, QStringLiteral("Thema A"), 1);
    // 01.01.01: two links in blue, the word "Änderung" three times in three spellings.
    s.textEinfuegen(t11, 1, QStringLiteral("Mit Verweisen"),
                    QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}"
                                   "{\\colortbl;\\red0\\green0\\blue255;}\\f0\\fs20 Vor der "
                                   "\\{T01.01.02\\}\\cf1\\ul \\'c4nderung lesen\\ul0\\cf0\\{TE\\} "
                                   "bitte die Aenderung und die \\{T01.01.03\\}\\cf1\\ul "
                                   "\\'e4nderung im Detail\\ul0\\cf0\\{TE\\} nachlesen.\\par}"),
                    1);
    s.textEinfuegen(t11, 2, QStringLiteral("Zweiter"),
                    rtfAbsatz("Hier steht nur eine Aenderung, sonst nichts."), 2);
    s.textEinfuegen(t11, 3, QStringLiteral("Dritter"), rtfAbsatz("Text drei."), 3);
    QString fehler;
    QVERIFY2(s.abschliessen(&fehler), qPrintable(fehler));
    setzeProgrammVerzeichnis(m_u.dir.path());
}

void tst_Lesehilfen::init()
{
    m_u.zuruecksetzen();
    QFile::remove(m_einstellungen.filePath(QStringLiteral("Tolvar-Hilfe.ini")));
}

void tst_Lesehilfen::cleanup()
{
    QVERIFY(HilfeUmgebung::entladen());
}

double tst_Lesehilfen::schriftGroesse(const frmHilfe *h, int dokPos)
{
    QTextCursor c(h->txt()->document());
    c.setPosition(dokPos + 1);
    return c.charFormat().fontPointSize();
}

void tst_Lesehilfen::druckSiehtGespeicherteFormate()
{
    frmHilfe *h = oeffnen(QStringLiteral("01.01.01"));
    QVERIFY(h);
    h->lesehilfen()->setZoom(250);
    QTextCursor markiert(h->txt()->document());
    markiert.setPosition(0);
    markiert.setPosition(12, QTextCursor::KeepAnchor);
    h->txt()->setTextCursor(markiert);
    // What the print command copies right after the call carries the stored size.
    h->lesehilfen()->vorDemDrucken();
    QTextDocument gedruckt;
    QTextCursor(&gedruckt).insertFragment(QTextDocumentFragment(h->txt()->textCursor()));
    QTextCursor c(&gedruckt);
    c.setPosition(1);
    QCOMPARE(c.charFormat().fontPointSize(), 10.0);
    QCOMPARE(h->txt()->textCursor().selectedText(), markiert.selectedText());
    // Then the zoom comes back by itself.
    QTRY_COMPARE(schriftGroesse(h, 0), 25.0);
    QVERIFY(h->txt()->viewport()->updatesEnabled());
}

// The find bar's marks beside those of a full-text search, which neither its hits nor Esc remove.
void tst_Lesehilfen::findenNebenTreffernUndEsc()
{
    // Typing, "nicht gefunden" and Esc are a user-level scenario; here the find marks come and
    // go beside the full-text hit marks, which stay.
    frmHilfe *h = oeffnen(QStringLiteral("01.01.01"));
    QVERIFY(h);
    Lesehilfen *l = h->lesehilfen();
    h->TrefferMarkieren({{0, 3}});
    const int fremde = int(h->txt()->extraSelections().size());
    QVERIFY(fremde >= 1);
    l->findenOeffnen();
    auto *feld = l->suchleiste()->findChild<QLineEdit *>(QStringLiteral("txtFinden"));
    QVERIFY(feld);
    QTest::keyClicks(feld, QStringLiteral("aenderung")); // "Änderung", "Aenderung", "änderung"
    QCOMPARE(int(h->txt()->extraSelections().size()), fremde + 3);
    QTest::keyClick(feld, Qt::Key_Escape);
    QCOMPARE(int(h->txt()->extraSelections().size()), fremde);
}

void tst_Lesehilfen::findenNachAbschnittswechsel()
{
    frmHilfe *h = oeffnen(QStringLiteral("01.01.01"));
    QVERIFY(h);
    Lesehilfen *l = h->lesehilfen();
    l->findenOeffnen();
    QTest::keyClicks(l->suchleiste()->findChild<QLineEdit *>(QStringLiteral("txtFinden")),
                     QStringLiteral("AENDERUNG"));
    QCOMPARE(l->trefferAnzahl(), 3);
    h->lblSub_Click(1);
    // The new section is searched with the same text; its marks come back after the
    // rendering call's own marks were set.
    QCOMPARE(l->trefferAnzahl(), 1);
    QTRY_COMPARE(int(h->txt()->extraSelections().size()), 1);
    const auto t = l->treffer().first();
    QCOMPARE(h->txt()->document()->toPlainText().mid(t.anfang, t.laenge),
             QStringLiteral("Aenderung"));
}

void tst_Lesehilfen::lesezeichenDialog()
{
    const QList<LeseEinstellungen::Lesezeichen> liste{
        {QStringLiteral("01.01.01"), QStringLiteral("A")},
        {QStringLiteral("01.01.02"), QStringLiteral("B")},
        {QStringLiteral("01.01.03"), QStringLiteral("C")}};
    frmLesezeichen d(liste, nullptr);
    QListWidget *lst = d.lstLesezeichen();
    lst->setCurrentRow(2);
    d.verschieben(-1); // C before B
    QCOMPARE(lst->currentRow(), 1);
    d.verschieben(-1);
    d.verschieben(-1); // stays at the top
    lst->item(1)->setText(QStringLiteral("  Neu  "));
    lst->item(2)->setText(QString());
    lst->setCurrentRow(0);
    QTest::keyClick(lst, Qt::Key_Down, Qt::AltModifier); // C after A again
    QCOMPARE(lst->currentRow(), 1);
    const QList<LeseEinstellungen::Lesezeichen> erwartet{
        {QStringLiteral("01.01.01"), QStringLiteral("Neu")},
        {QStringLiteral("01.01.03"), QStringLiteral("C")},
        {QStringLiteral("01.01.02"), QStringLiteral("01.01.02")}};
    QCOMPARE(d.liste(), erwartet);
    QTest::keyClick(lst, Qt::Key_Delete);
    d.loeschen();
    QCOMPARE(d.liste().size(), 1);
    QCOMPARE(d.liste().first().nummer, QStringLiteral("01.01.01"));
}

QTEST_MAIN(tst_Lesehilfen)
#include "tst_Lesehilfen.moc"
