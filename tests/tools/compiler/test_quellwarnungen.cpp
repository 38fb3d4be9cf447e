// Warnings of the help compiler: link texts that no longer fit their target, titles too wide
// for the print header or the tab rows, mask elements that do not fit the mask.
#include "MaskenZeichner.h"
#include "QuellWarnungen.h"
#include "TestHilfen.h"

#include <QtTest>

class TestQuellWarnungen : public QObject
{
    Q_OBJECT

private slots:
    void linkText_data();
    void linkText();
    void titelZuLang_data();
    void titelZuLang();
    void maske_data();
    void maske();
};

void TestQuellWarnungen::linkText_data()
{
    QTest::addColumn<QString>("linkText");
    QTest::addColumn<QString>("titel");
    QTest::addColumn<bool>("passt");
    zeile("same word", "Rechnung erfassen", "Eine neue Rechnung anlegen", true);
    zeile("plural", "Rechnungen", "Rechnung drucken", true);
    zeile("five equal letters", "Lieferung", "Lieferschein aus einem Auftrag erzeugen", true);
    zeile("compound with inflection", "Zahlungseingänge buchen", "Zahlungseingang erfassen", true);
    zeile("head of a compound", "Eingangsrechnungen", "Rechnung prüfen", true);
    zeile("case", "ÜBERWEISUNG", "überweisung ausführen", true);
    zeile("umlaut written out", "Gebuehren", "Gebühren festlegen", true);
    zeile("no content word", "hier", "Gutschrift stornieren", true);
    zeile("filler words only", "siehe dort", "Gutschrift stornieren", true);
    zeile("reused number", "E-Rechnung ausgeben", "Gutschrift stornieren", false);
    zeile("other topic", "Kunden anlegen", "Artikel löschen", false);
    zeile("shared filler word only", "Einstellungen für den Export", "Für die Mahnung", false);
    zeile("shared short word only", "E-Mail", "E-Rechnung", false);
    zeile("four equal letters", "Buchhaltung", "Buchung", false);
}

void TestQuellWarnungen::linkText()
{
    QFETCH(QString, linkText);
    QFETCH(QString, titel);
    QFETCH(bool, passt);
    QCOMPARE(QuellWarnungen::linkTextPasst(linkText, titel), passt);
}

void TestQuellWarnungen::titelZuLang_data()
{
    QTest::addColumn<int>("ebene");
    QTest::addColumn<QString>("titel");
    QTest::addColumn<QString>("ort"); // empty: no warning
    const int karte = QuellWarnungen::registerkarteZeichen();
    const int kopf = QuellWarnungen::kopfzeileZeichen();
    QVERIFY2(karte > 20 && karte + 10 < kopf,
             qPrintable(QStringLiteral("%1 %2").arg(karte).arg(kopf)));
    // Titles of ordinary letters, a little shorter and a little longer than a limit.
    const auto titel = [](int zeichen) {
        return QStringLiteral("Rechnungen erfassen und buchen ").repeated(20).left(zeichen);
    };
    const QString kartenOrt = "die Registerkarte im Hilfefenster (höchstens etwa %1 Zeichen)";
    const QString kopfOrt = "die Kopfzeile des Ausdrucks (höchstens etwa %1 Zeichen)";
    for (int ebene : {1, 2, 3}) {
        const QByteArray e = QByteArray::number(ebene);
        zeile(e + ": fits a tab", ebene, titel(karte - 3), QString());
        zeile(e + ": wider than a tab", ebene, titel(karte + 4),
              ebene == 3 ? QString() : kartenOrt.arg(karte));
        zeile(e + ": 288 characters", ebene, titel(288),
              ebene == 3 ? kopfOrt.arg(kopf)
                         : "die Registerkarte im Hilfefenster und " + kopfOrt.arg(karte));
    }
    zeile("section just fits the header", 3, titel(kopf - 3), QString());
    zeile("section too wide for the header", 3, titel(kopf + 4), kopfOrt.arg(kopf));
}

void TestQuellWarnungen::titelZuLang()
{
    QFETCH(int, ebene);
    QFETCH(QString, titel);
    QFETCH(QString, ort);
    QCOMPARE(QuellWarnungen::titelZuLang(ebene, titel),
             ort.isEmpty() ? QString() : "Titel ist zu lang für " + ort);
}

void TestQuellWarnungen::maske_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("warnungen"); // "line: text"
    const QString passt = " passt nicht in die Maske (300 x 160); Maske größer machen";
    const QString kopf = "Titel: Klein\nGröße: 300 x 160\n"; // lines 1 and 2
    // From y = 39, fields take 28 pixels, texts 24; with buttons, elements must begin above
    // 111 and end above 123 (160 less margin, buttons and margin; less only the buttons).
    zeile("everything fits", kopf + "Feld: Kunde | Müller\nKnöpfe: OK\n", QStringList());
    zeile("elements left out",
          kopf + QString("Feld: a | b\n").repeated(3) +
              "Feld: Kunde | Müller\nHaken: Skonto | ja\nText: Ende\nKnöpfe: OK\n",
          QStringList{"6: Feld „Kunde“" + passt, "7: Haken „Skonto“" + passt,
                      "8: Text „Ende“" + passt});
    zeile("field cut by the buttons",
          "Titel: Klein\nGröße: 300 x 165\n" + QString("Text: x\n").repeated(3) +
              "Auswahl: Art | Bar\nKnöpfe: OK\n",
          QStringList{"6: Auswahl „Art“" + QString(passt).replace("160", "165")});
    zeile("grid rows cut off",
          kopf + "Tabelle: Pos. | Artikel\nZeile: 1 | A\nZeile: 2 | B\nZeile: 3 | C\n"
                 "Zeile: 4 | D\nKnöpfe: OK\n",
          QStringList{"6: Zeile „3 | C“" + passt, "7: Zeile „4 | D“" + passt});
    zeile("grid below the mask",
          kopf + QString("Feld: a | b\n").repeated(4) + "Tabelle: Pos. | Artikel\nZeile: 1 | A\n",
          QStringList{"7: Tabelle „Pos. | Artikel“" + passt});
    zeile("buttons wider than the mask", kopf + "Knöpfe: Speichern | Drucken | Abbrechen | Hilfe\n",
          QStringList{"3: Knöpfe „Speichern | Drucken | Abbrechen | Hilfe“" + passt});
}

void TestQuellWarnungen::maske()
{
    QFETCH(QString, text);
    QFETCH(QStringList, warnungen);
    QImage bild;
    QString titel, fehlerText;
    int fehlerZeile = 0;
    QList<QuellFehler> gemeldet;
    QVERIFY2(MaskenZeichner::zeichnen(text, bild, titel, fehlerZeile, fehlerText, &gemeldet),
             qPrintable(fehlerText));
    QStringList gelesen;
    for (const QuellFehler &w : gemeldet)
        gelesen << QString::number(w.zeile) + ": " + w.text;
    QCOMPARE(gelesen, warnungen);
}

QTEST_MAIN(TestQuellWarnungen)
#include "test_quellwarnungen.moc"
