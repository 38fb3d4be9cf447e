// Text-box operations in the rich-edit position space (see TextFeld.h).
#include "TextFeld.h"
#include "RtfLeser.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

bool istUmbruch(QChar c)
{
    const char16_t u = c.unicode();
    return u == QChar::ParagraphSeparator || u == 0xFDD0 || u == 0xFDD1;
}

} // namespace

TextFeld::TextFeld() : mEigenes(std::make_unique<QTextDocument>()), mDoc(mEigenes.get())
{
    mDoc->setUndoRedoEnabled(false);
    verbinden();
}

TextFeld::TextFeld(QTextDocument *doc, bool beobachten) : mDoc(doc)
{
    if (beobachten)
        verbinden();
}

TextFeld::~TextFeld()
{
    if (mVerbindung)
        QObject::disconnect(mVerbindung);
}

void TextFeld::verbinden()
{
    // The document reports its changes only once it has a layout, and a layout needs a
    // QGuiApplication. Without one, this box's own changes drop the cached positions.
    mSignale = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
    if (mSignale)
        mDoc->documentLayout();
    mVerbindung = QObject::connect(mDoc, &QTextDocument::contentsChange, mDoc,
                                   [this](int position, int entfernt, int hinzugefuegt) {
                                       dokumentGeaendert(position, entfernt, hinzugefuegt);
                                   });
}

void TextFeld::dokumentGeaendert(int position, int entfernt, int hinzugefuegt)
{
    mTextGueltig = false;
    if (!mUmbruecheGueltig)
        return;
    if (hinzugefuegt == 0 && entfernt > 0) {
        // A pure deletion: breaks inside it disappear, breaks behind it move up.
        auto von = std::lower_bound(mUmbrueche.begin(), mUmbrueche.end(), position);
        auto bis = std::lower_bound(von, mUmbrueche.end(), position + entfernt);
        for (auto it = bis; it != mUmbrueche.end(); ++it)
            *it -= entfernt;
        mUmbrueche.erase(von, bis);
        return;
    }
    if (hinzugefuegt == entfernt && hinzugefuegt > 0) {
        // A change of formatting only leaves every character in place.
        {
            bool gleich = true;
            for (int i = position; i < position + hinzugefuegt && gleich; ++i) {
                const bool warUmbruch = std::binary_search(mUmbrueche.begin(), mUmbrueche.end(), i);
                gleich = warUmbruch == istUmbruch(mDoc->characterAt(i));
            }
            if (gleich)
                return;
        }
    }
    mUmbruecheGueltig = false;
}

void TextFeld::cacheAktualisieren() const
{
    if (mUmbruecheGueltig)
        return;
    const QString roh = mDoc->toRawText();
    const int n = std::max(0, mDoc->characterCount() - 1);
    mUmbrueche.clear();
    for (int i = 0; i < n && i < roh.size(); ++i)
        if (istUmbruch(roh[i]))
            mUmbrueche.push_back(i);
    mUmbruecheGueltig = true;
}

void TextFeld::invalidieren()
{
    mUmbruecheGueltig = false;
    mTextGueltig = false;
}

bool TextFeld::setzeRtf(const QByteArray &rtf)
{
    invalidieren();
    const bool ok = RtfLesen(rtf, *mDoc);
    mSelStart = mSelLaenge = 0;
    return ok;
}

bool TextFeld::setzeRtf(const QString &rtf)
{
    invalidieren();
    const bool ok = RtfLesen(rtf, *mDoc);
    mSelStart = mSelLaenge = 0;
    return ok;
}

RtfLeser::Ergebnis TextFeld::setzeRtf(const QString &rtf, const RtfLeser::Grenzen &grenzen)
{
    invalidieren();
    const RtfLeser::Ergebnis ergebnis = RtfLesen(rtf, *mDoc, grenzen);
    mSelStart = mSelLaenge = 0;
    return ergebnis;
}

QTextDocumentFragment TextFeld::inhalt() const
{
    return QTextDocumentFragment(mDoc);
}

void TextFeld::setzeInhalt(const QTextDocumentFragment &inhalt)
{
    invalidieren();
    mDoc->clear();
    QTextCursor c(mDoc);
    c.insertFragment(inhalt);
    invalidieren();
    mSelStart = mSelLaenge = 0;
}

QString TextFeld::text() const
{
    if (mTextGueltig)
        return mText;
    const QString roh = mDoc->toRawText();
    const int n = std::min<int>(std::max(0, mDoc->characterCount() - 1), roh.size());
    QString t;
    t.reserve(n + n / 16);
    for (int i = 0; i < n; ++i) {
        const QChar c = roh[i];
        if (istUmbruch(c))
            t += QLatin1String("\r\n");
        else if (c == QChar::LineSeparator)
            t += QLatin1Char('\v');
        else
            t += c;
    }
    mText = t;
    mTextGueltig = true;
    return mText;
}

int TextFeld::laenge() const
{
    cacheAktualisieren();
    return std::max(0, mDoc->characterCount() - 1) + int(mUmbrueche.size());
}

int TextFeld::zuText(int dokPos) const
{
    cacheAktualisieren();
    const int n = std::max(0, mDoc->characterCount() - 1);
    dokPos = std::clamp(dokPos, 0, n);
    const auto vorher = std::lower_bound(mUmbrueche.begin(), mUmbrueche.end(), dokPos);
    return dokPos + int(vorher - mUmbrueche.begin());
}

int TextFeld::zuDokument(int textPos, bool aufrunden) const
{
    cacheAktualisieren();
    textPos = std::clamp(textPos, 0, laenge());
    // k := number of breaks that lie wholly before textPos; break i covers the text positions
    // mUmbrueche[i] + i and mUmbrueche[i] + i + 1.
    int lo = 0, hi = int(mUmbrueche.size());
    while (lo < hi) {
        const int mitte = (lo + hi) / 2;
        if (mUmbrueche[mitte] + mitte + 2 <= textPos)
            lo = mitte + 1;
        else
            hi = mitte;
    }
    const int k = lo;
    if (k < int(mUmbrueche.size()) && mUmbrueche[k] + k + 1 == textPos)
        return aufrunden ? mUmbrueche[k] + 1 : mUmbrueche[k];
    return textPos - k;
}

void TextFeld::setzeSelStart(int start)
{
    mSelStart = std::clamp(start, 0, laenge());
    mSelLaenge = 0;
}

void TextFeld::setzeSelLaenge(int laenge)
{
    mSelLaenge = std::clamp(laenge, 0, this->laenge() - mSelStart);
}

static QTextCursor auswahlCursor(const TextFeld &feld)
{
    QTextCursor c(feld.dokument());
    c.setPosition(feld.zuDokument(feld.selStart()));
    c.setPosition(feld.zuDokument(feld.selStart() + feld.selLaenge(), true),
                  QTextCursor::KeepAnchor);
    return c;
}

QString TextFeld::selText() const
{
    return text().mid(mSelStart, mSelLaenge);
}

void TextFeld::loescheAuswahl()
{
    if (mSelLaenge > 0) {
        QTextCursor c = auswahlCursor(*this);
        c.removeSelectedText();
        if (!mSignale)
            invalidieren();
    }
    mSelLaenge = 0;
    mSelStart = std::min(mSelStart, laenge());
}

QTextDocumentFragment TextFeld::selInhalt() const
{
    return auswahlCursor(*this).selection();
}

void TextFeld::fuegeEin(const QTextDocumentFragment &inhalt)
{
    QTextCursor c = auswahlCursor(*this);
    c.insertFragment(inhalt);
    if (!mSignale)
        invalidieren();
    mSelStart = zuText(c.position());
    mSelLaenge = 0;
}

void TextFeld::setzeSelSchrift(const QString &name)
{
    if (mSelLaenge <= 0)
        return;
    QTextCharFormat f;
    f.setFontFamilies({name});
    auswahlCursor(*this).mergeCharFormat(f);
    if (!mSignale)
        invalidieren();
}

int TextFeld::zeichenAnPunkt(const QPointF &punkt) const
{
    if (!mSignale)
        return -1; // no layout: unobserved, or no QGuiApplication
    // The layout's own hit test gives the nearest gap between two characters, so the right
    // half of a character would count as the next one. The character meant is the one whose
    // box holds the point: find the line under the point, then the character in it.
    QAbstractTextDocumentLayout *layout = mDoc->documentLayout();
    const int naechste = layout->hitTest(punkt, Qt::FuzzyHit);
    if (naechste < 0)
        return -1;
    const QTextBlock block = mDoc->findBlock(naechste);
    const QTextLayout *zeilen = block.layout();
    if (!block.isValid() || !zeilen)
        return -1;
    const QPointF imBlock = punkt - layout->blockBoundingRect(block).topLeft();
    for (int i = 0; i < zeilen->lineCount(); ++i) {
        const QTextLine zeile = zeilen->lineAt(i);
        if (imBlock.y() < zeile.y() || imBlock.y() >= zeile.y() + zeile.height())
            continue;
        if (zeile.textLength() <= 0 || imBlock.x() < zeile.x() ||
            imBlock.x() >= zeile.x() + zeile.naturalTextWidth())
            return -1;
        int pos = zeile.xToCursor(imBlock.x(), QTextLine::CursorBetweenCharacters);
        if (zeile.cursorToX(pos) > imBlock.x())
            --pos;
        pos = std::clamp(pos, zeile.textStart(), zeile.textStart() + zeile.textLength() - 1);
        return zuText(block.position() + pos);
    }
    return -1;
}

QRectF TextFeld::zeichenRechteck(int textPos) const
{
    if (!mSignale || textPos < 0 || textPos >= laenge())
        return {};
    const int dok = zuDokument(textPos);
    const QTextBlock block = mDoc->findBlock(dok);
    const QTextLayout *zeilen = block.layout();
    if (!block.isValid() || !zeilen)
        return {};
    const int imBlock = dok - block.position();
    const QTextLine zeile = zeilen->lineForTextPosition(imBlock);
    if (!zeile.isValid() || imBlock >= zeile.textStart() + zeile.textLength())
        return {}; // the paragraph break
    const double links = zeile.cursorToX(imBlock);
    const double rechts = zeile.cursorToX(imBlock + 1);
    const QPointF ursprung = mDoc->documentLayout()->blockBoundingRect(block).topLeft();
    return QRectF(ursprung.x() + std::min(links, rechts), ursprung.y() + zeile.y(),
                  std::abs(rechts - links), zeile.height());
}

int TextFeld::finde(const QString &suche, int ab) const
{
    const int i = text().indexOf(suche, std::max(0, ab - 1));
    return i + 1;
}
