// Tests of the text box: the "\r\n" position space and the character under a point, agreeing
// with the document also after it is changed directly.
#include "TextFeld.h"

#include <QAbstractTextDocumentLayout>
#include <QDirIterator>
#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

class TstTextFeld : public QObject
{
    Q_OBJECT
private slots:
    void text_data();
    void text();
    void abbildungKorpus();
    void punktZuZeichen();
    void cacheNachAenderungen();
};

void TstTextFeld::text_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("one paragraph") << QByteArray("{\\rtf1 abc}") << "abc";
    QTest::newRow("paragraphs") << QByteArray("{\\rtf1 a\\par b\\par c}") << "a\r\nb\r\nc";
    QTest::newRow("trailing par") << QByteArray("{\\rtf1 a\\par}") << "a\r\n";
    QTest::newRow("line break") << QByteArray("{\\rtf1 a\\line b}") << "a\vb";
    QTest::newRow("empty") << QByteArray("{\\rtf1 }") << "";
    QTest::newRow("table") << QByteArray("{\\rtf1 v\\par\\trowd\\cellx9\\cellx99\\intbl x\\cell "
                                         "y\\cell\\row\\pard n}")
                           << "v\r\n\r\nx\r\ny\r\nn";
}

void TstTextFeld::text()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, erwartet);
    TextFeld feld;
    feld.setzeRtf(rtf);
    QCOMPARE(feld.text(), erwartet);
    QCOMPARE(feld.laenge(), erwartet.size());
}

// For every corpus document: the length agrees with the text, and every text position maps to
// a document position whose character is the one the text shows there.
void TstTextFeld::abbildungKorpus()
{
    QDirIterator it(TOLVAR_CORPUS_DIR, {"*.rtf"}, QDir::Files, QDirIterator::Subdirectories);
    int dateien = 0;
    while (it.hasNext()) {
        QFile f(it.next());
        QVERIFY(f.open(QIODevice::ReadOnly));
        TextFeld feld;
        feld.setzeRtf(f.readAll());
        const QString t = feld.text();
        QCOMPARE(feld.laenge(), t.size());
        for (int i = 0; i < t.size(); ++i) {
            const int d = feld.zuDokument(i);
            const QChar c = feld.dokument()->characterAt(d);
            if (t[i] == '\r' || t[i] == '\n') {
                QVERIFY2(c == QChar::ParagraphSeparator || c.unicode() >= 0xFDD0,
                         qPrintable(f.fileName()));
            } else if (t[i] == '\v') {
                QCOMPARE(c, QChar(QChar::LineSeparator));
            } else {
                QCOMPARE(c, t[i]);
                QCOMPARE(feld.zuText(d), i);
            }
        }
        ++dateien;
    }
    QVERIFY(dateien > 40);
}

// The character found at the middle of each character's box is that character, in the same
// position space as the plain text, also behind several paragraphs.
void TstTextFeld::punktZuZeichen()
{
    TextFeld feld;
    feld.setzeRtf(QByteArray("{\\rtf1 Eins\\par Zwei\\par\\par {\\b Drei} und vier}"));
    feld.dokument()->setTextWidth(400);
    const QString t = feld.text();
    QAbstractTextDocumentLayout *layout = feld.dokument()->documentLayout();
    int geprueft = 0;
    for (int i = 0; i < t.size(); ++i) {
        if (t[i] == '\r' || t[i] == '\n' || t[i] == ' ')
            continue;
        const int d = feld.zuDokument(i);
        const QTextBlock block = feld.dokument()->findBlock(d);
        const QTextLine zeile = block.layout()->lineForTextPosition(d - block.position());
        QVERIFY(zeile.isValid());
        const QPointF oben = layout->blockBoundingRect(block).topLeft();
        const qreal x1 = zeile.cursorToX(d - block.position());
        const qreal x2 = zeile.cursorToX(d - block.position() + 1);
        // The character whose box holds the point, in its left and in its right half.
        const qreal y = oben.y() + zeile.y() + zeile.height() / 2;
        QCOMPARE(feld.zeichenAnPunkt(QPointF(oben.x() + x1 + (x2 - x1) / 4, y)), i);
        QCOMPARE(feld.zeichenAnPunkt(QPointF(oben.x() + x1 + (x2 - x1) * 3 / 4, y)), i);
        const QRectF kasten = feld.zeichenRechteck(i);
        QVERIFY(kasten.contains(QPointF(oben.x() + (x1 + x2) / 2, y)));
        ++geprueft;
    }
    QCOMPARE(geprueft, 19);
    // Beside the text of a line, in the margin and on a paragraph break: no character.
    QCOMPARE(feld.zeichenAnPunkt(QPointF(1, 1)), -1);
    QCOMPARE(feld.zeichenAnPunkt(QPointF(390, 10)), -1);
    QVERIFY(feld.zeichenRechteck(t.indexOf('\r')).isNull());
}

// Position conversions stay right after deletions, insertions and format changes made
// directly on the document: compared with a fresh text box on the same document.
void TstTextFeld::cacheNachAenderungen()
{
    TextFeld feld;
    feld.setzeRtf(QByteArray("{\\rtf1 a\\par bb\\par ccc\\par dddd\\par eeeee}"));
    QTextDocument *doc = feld.dokument();
    auto pruefen = [&] {
        TextFeld frisch(doc);
        QCOMPARE(feld.text(), frisch.text());
        QCOMPARE(feld.laenge(), frisch.laenge());
        for (int i = 0; i <= frisch.laenge(); ++i)
            QCOMPARE(feld.zuDokument(i), frisch.zuDokument(i));
    };
    feld.laenge();
    QTextCursor c(doc);
    c.setPosition(3);
    c.setPosition(5, QTextCursor::KeepAnchor); // "b" and the break behind it
    c.removeSelectedText();
    pruefen();
    c.setPosition(1);
    c.insertText("xy");
    pruefen();
    c.setPosition(0);
    c.setPosition(6, QTextCursor::KeepAnchor);
    QTextCharFormat fett;
    fett.setFontWeight(QFont::Bold);
    c.mergeCharFormat(fett);
    pruefen();
    c.insertBlock();
    pruefen();
    feld.setzeSelStart(2);
    feld.setzeSelLaenge(3);
    feld.loescheAuswahl();
    pruefen();
}

QTEST_MAIN(TstTextFeld)
#include "tst_TextFeld.moc"
