// Checks the reading aids of the help window offscreen on a test database: links are hit where
// they are drawn at every zoom, a new section takes the zoom, the print command sees the stored
// formats, the find bar marks beside full-text marks and follows a section change, Esc closes
// the bar before the help, bookmarks resolve against the database, the managing dialog's list
// operations, links from the keyboard, colours on a dark palette, and what screen readers get
// for section titles and the text.
#include "Datenbank.h"
#include "Einstellungen.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeUmgebung.h"
#include "Lesehilfen.h"
#include "TestHilfen.h"
#include "TextFarben.h"
#include "TextFeld.h"
#include "frmHilfe.h"
#include "frmInhalt.h"
#include "frmLesezeichen.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextEdit>

class tst_Lesehilfen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void zoomVerweisTrifft_data();
    void zoomVerweisTrifft();
    void zoomFuerNeuenAbschnitt();
    void druckSiehtGespeicherteFormate();
    void findenNebenTreffernUndEsc();
    void findenNachAbschnittswechsel();
    void lesezeichenVorhanden_data();
    void lesezeichenVorhanden();
    void lesezeichenMenue();
    void lesezeichenDialog();
    void verweiseMitTastatur();
    void dunklePalette();
    void bildschirmleser();

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

void tst_Lesehilfen::zoomVerweisTrifft_data()
{
    QTest::addColumn<int>("zoom");
    for (const int z : {50, 100, 175, 300})
        QTest::addRow("%d %%", z) << z;
}

void tst_Lesehilfen::zoomVerweisTrifft()
{
    QFETCH(int, zoom);
    frmHilfe *h = oeffnen(QStringLiteral("01.01.01"));
    QVERIFY(h);
    h->lesehilfen()->setZoom(zoom);
    QCOMPARE(h->lesehilfen()->zoom(), zoom);
    QCOMPARE(schriftGroesse(h, 0), 10.0 * zoom / 100);
    QCOMPARE(h->dokument()->verweisAnzahl(), qint16(2));
    // Every character of each link is followed where its box is drawn; the character before
    // the link is not.
    for (int i = 1; i <= h->dokument()->verweisAnzahl(); ++i) {
        const tVerweis v = h->dokument()->verweise().at(i);
        for (int p = v.Anfang; p < v.Ende; ++p) {
            const QRect r = h->ZeichenRechteck(p);
            if (r.isEmpty() || !h->txt()->viewport()->rect().contains(r.center()))
                continue;
            QCOMPARE(h->VerweisAnPunkt(r.center()), i);
        }
        const QRect vorher = h->ZeichenRechteck(v.Anfang - 1);
        QCOMPARE(h->VerweisAnPunkt(vorher.center()), 0);
    }
    // Kept for the next start, once the steps rest.
    QTRY_COMPARE(LeseEinstellungen::zoomLesen(), zoom);
}

void tst_Lesehilfen::zoomFuerNeuenAbschnitt()
{
    frmHilfe *h = oeffnen(QStringLiteral("01.01.01"));
    QVERIFY(h);
    const int hoehe100 = h->ZeichenRechteck(0).height();
    h->lesehilfen()->zoomGroesser(); // 110
    h->lesehilfen()->zoomGroesser(); // 125
    h->lesehilfen()->zoomGroesser(); // 150
    h->lesehilfen()->zoomGroesser(); // 175
    h->lesehilfen()->zoomGroesser(); // 200
    QCOMPARE(h->lesehilfen()->zoom(), 200);
    h->lblSub_Click(1);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.02"));
    QCOMPARE(schriftGroesse(h, 0), 20.0);
    QVERIFY2(qAbs(h->ZeichenRechteck(0).height() - 2 * hoehe100) <= 3,
             qPrintable(QString::number(h->ZeichenRechteck(0).height())));
    h->lesehilfen()->zoomNormal();
    QCOMPARE(schriftGroesse(h, 0), 10.0);
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
    const QTextDocumentFragment kopie(h->txt()->textCursor());
    QTextDocument gedruckt;
    QTextCursor(&gedruckt).insertFragment(kopie);
    QTextCursor c(&gedruckt);
    c.setPosition(1);
    QCOMPARE(c.charFormat().fontPointSize(), 10.0);
    QCOMPARE(h->txt()->textCursor().selectedText(), markiert.selectedText());
    // Then the zoom comes back by itself.
    QTRY_COMPARE(schriftGroesse(h, 0), 25.0);
    QVERIFY(h->txt()->viewport()->updatesEnabled());
}

void tst_Lesehilfen::findenNebenTreffernUndEsc()
{
    frmHilfe *h = oeffnen(QStringLiteral("01.01.01"));
    QVERIFY(h);
    frmInhalt::instanz()->activateWindow();
    Lesehilfen *l = h->lesehilfen();
    // A full-text search marked a word; the find bar adds its own marks beside it.
    h->TrefferMarkieren({{0, 3}});
    const int fremde = int(h->txt()->extraSelections().size());
    QVERIFY(fremde >= 1);
    l->findenOeffnen();
    QVERIFY(l->findenOffen());
    auto *feld = l->suchleiste()->findChild<QLineEdit *>(QStringLiteral("txtFinden"));
    QVERIFY(feld);
    // Typed as the field receives it (QTest types ASCII only).
    feld->insert(QStringLiteral("ä"));
    QTest::keyClicks(feld, QStringLiteral("nderung"));
    QCOMPARE(l->trefferAnzahl(), 3);
    QCOMPARE(l->findenMeldung(), QStringLiteral("1 von 3"));
    QCOMPARE(int(h->txt()->extraSelections().size()), fremde + 3);
    const QString text = h->txt()->document()->toPlainText();
    for (const auto &t : l->treffer())
        QCOMPARE(TextSuche::vergleichsform(text.mid(t.anfang, t.laenge)),
                 QStringLiteral("aenderung"));
    // Enter and Umschalt+Enter step round.
    QTest::keyClick(feld, Qt::Key_Return);
    QCOMPARE(l->trefferAktuell(), 1);
    QTest::keyClick(feld, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(feld, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(l->trefferAktuell(), 2);
    QTest::keyClicks(feld, QStringLiteral("xyz"));
    QCOMPARE(l->findenMeldung(), QStringLiteral("nicht gefunden"));
    QCOMPARE(int(h->txt()->extraSelections().size()), fremde);
    // Esc closes the bar only; the full-text marks stay.
    QTest::keyClick(feld, Qt::Key_Escape);
    QVERIFY(!l->findenOffen());
    QCOMPARE(m_u.enden, 0);
    QVERIFY(frmHilfe::instanz(false));
    QCOMPARE(int(h->txt()->extraSelections().size()), fremde);
    QCOMPARE(frmInhalt::instanz()->focusWidget(), h->txt());
    // With the bar closed, Esc closes the help as before.
    QTest::keyClick(h->txt(), Qt::Key_Escape);
    QCOMPARE(m_u.enden, 1);
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

void tst_Lesehilfen::lesezeichenVorhanden_data()
{
    QTest::addColumn<QString>("nummer");
    QTest::addColumn<bool>("vorhanden");
    QTest::newRow("Abschnitt") << "01.01.03" << true;
    QTest::newRow("Abschnitt fehlt") << "01.01.04" << false;
    QTest::newRow("Thema fehlt") << "01.02.01" << false;
    QTest::newRow("Kapitel fehlt") << "02.01.01" << false;
    QTest::newRow("keine Nummer") << "Anfang" << false;
    QTest::newRow("zwei Teile") << "01.01" << false;
}

void tst_Lesehilfen::lesezeichenVorhanden()
{
    QFETCH(QString, nummer);
    QFETCH(bool, vorhanden);
    QVERIFY(oeffnen(QStringLiteral("01.01.01")));
    QCOMPARE(Lesehilfen::abschnittVorhanden(nummer), vorhanden);
}

void tst_Lesehilfen::lesezeichenMenue()
{
    // A saved bookmark whose section is gone.
    QVERIFY(LeseEinstellungen::lesezeichenSpeichern(
        {{QStringLiteral("01.05.01"), QStringLiteral("Weggefallen & vergessen")}}));
    frmHilfe *h = oeffnen(QStringLiteral("01.01.02"));
    QVERIFY(h);
    Lesehilfen *l = h->lesehilfen();
    QVERIFY(l->lesezeichenHinzufuegen());
    QVERIFY(!l->lesezeichenHinzufuegen()); // saved already
    QCOMPARE(l->lesezeichen().last().nummer, QStringLiteral("01.01.02"));
    QCOMPARE(l->lesezeichen().last().name, QStringLiteral("Zweiter"));
    QCOMPARE(LeseEinstellungen::lesezeichenLesen(), l->lesezeichen());

    QMenu *m = l->lesezeichenMenue();
    emit m->aboutToShow();
    QStringList texte;
    QList<bool> aktiv;
    for (QAction *a : m->actions()) {
        if (a->isSeparator())
            continue;
        texte << a->text();
        aktiv << a->isEnabled();
    }
    QCOMPARE(texte,
             (QStringList{QStringLiteral("Lesezeichen &hinzufügen"),
                          QStringLiteral("Weggefallen && vergessen"), QStringLiteral("Zweiter"),
                          QStringLiteral("Lesezeichen &verwalten …")}));
    QCOMPARE(aktiv, (QList<bool>{false, false, true, true}));
    const QList<QAction *> eintraege = m->actions();
    QAction *weg = *std::find_if(eintraege.begin(), eintraege.end(), [](QAction *a) {
        return a->text().startsWith(QStringLiteral("Weggefallen"));
    });
    QVERIFY(weg->toolTip().contains(QStringLiteral("01.05.01")));
    // Choosing the saved section opens it and records it.
    h->lblSub_Click(0);
    QAction *zweiter = *std::find_if(eintraege.begin(), eintraege.end(),
                                     [](QAction *a) { return a->text() == "Zweiter"; });
    zweiter->trigger();
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.02"));
    QCOMPARE(h->dokument()->verlauf().eintrag(h->dokument()->verlauf().anzahl()), QStringLiteral("01.01.02"));
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

void tst_Lesehilfen::verweiseMitTastatur()
{
    frmHilfe *h = oeffnen(QStringLiteral("01.01.01"));
    QVERIFY(h);
    frmInhalt::instanz()->activateWindow();
    h->txt()->setFocus();
    Lesehilfen *l = h->lesehilfen();
    QTest::keyClick(h->txt(), Qt::Key_Tab);
    QCOMPARE(l->verweisFokus(), 1);
    QTest::keyClick(h->txt(), Qt::Key_Tab);
    QCOMPARE(l->verweisFokus(), 2);
    QTest::keyClick(h->txt(), Qt::Key_Backtab);
    QCOMPARE(l->verweisFokus(), 1);
    // The marked link is the one the table names.
    const tVerweis v = h->dokument()->verweise().at(1);
    bool gefunden = false;
    for (const QTextEdit::ExtraSelection &a : h->txt()->extraSelections())
        gefunden = gefunden || a.cursor.selectedText() == h->TextBereich(v.Anfang, v.Ende);
    QVERIFY(gefunden);
    QTest::keyClick(h->txt(), Qt::Key_Return);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.02"));
    QCOMPARE(l->verweisFokus(), 0);
    // Behind the last link Tab leaves the text.
    h->lblSub_Click(0);
    h->txt()->setFocus();
    QTest::keyClick(h->txt(), Qt::Key_Tab);
    QTest::keyClick(h->txt(), Qt::Key_Tab);
    QTest::keyClick(h->txt(), Qt::Key_Tab);
    QCOMPARE(l->verweisFokus(), 0);
    QVERIFY(QApplication::focusWidget() != h->txt());
}

void tst_Lesehilfen::dunklePalette()
{
    frmHilfe *h = oeffnen(QStringLiteral("01.01.01"));
    QVERIFY(h);
    QPalette dunkel = h->txt()->palette();
    dunkel.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    dunkel.setColor(QPalette::Text, QColor(0xE8, 0xE8, 0xE8));
    h->txt()->setPalette(dunkel);
    // The links' stored blue is lightened until it reads on the dark ground.
    for (int i = 1; i <= h->dokument()->verweisAnzahl(); ++i) {
        QTextCursor c(h->txt()->document());
        c.setPosition(h->txtFeld()->zuDokument(h->dokument()->verweise().at(i).Anfang) + 1);
        const QColor farbe = c.charFormat().foreground().color();
        QVERIFY2(TextFarben::kontrast(farbe, QColor(0x1E, 0x1E, 0x1E)) >= 4.5,
                 qPrintable(farbe.name()));
        QVERIFY(farbe.blue() > farbe.red());
    }
    // The fixed light grounds keep dark writing.
    for (int i = 0; i < h->dokument()->abschnitte().size(); ++i) {
        const QPalette p = h->lblSub(i)->palette();
        QVERIFY(TextFarben::kontrast(p.color(QPalette::WindowText), p.color(QPalette::Window)) >=
                4.5);
    }
}

void tst_Lesehilfen::bildschirmleser()
{
    frmHilfe *h = oeffnen(QStringLiteral("01.01.01"));
    QVERIFY(h);
    QAccessibleInterface *titel = QAccessible::queryAccessibleInterface(h->lblSub(2));
    QVERIFY(titel);
    QCOMPARE(titel->role(), QAccessible::Button);
    QCOMPARE(titel->text(QAccessible::Name), QStringLiteral("Dritter"));
    QVERIFY(!titel->state().checked);
    QVERIFY(titel->actionInterface());
    QVERIFY(titel->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::pressAction()));
    titel->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.03"));
    QVERIFY(titel->state().checked);

    QAccessibleInterface *text = QAccessible::queryAccessibleInterface(h->txt());
    QVERIFY(text);
    QCOMPARE(text->role(), QAccessible::Document);
    QCOMPARE(text->text(QAccessible::Name), QStringLiteral("Abschnittstext"));
    QAccessibleTextInterface *ti = text->textInterface();
    QVERIFY(ti);
    QCOMPARE(ti->text(0, ti->characterCount()), h->txt()->document()->toPlainText());
    QVERIFY(ti->text(0, ti->characterCount()).startsWith(QStringLiteral("Text drei.")));
    ti->setSelection(0, 5, 9);
    QCOMPARE(h->txt()->textCursor().selectedText(), QStringLiteral("drei"));
    QVERIFY(text->state().readOnly);
}

QTEST_MAIN(tst_Lesehilfen)
#include "tst_Lesehilfen.moc"
