// Text-box operations on a QTextDocument in the position space of the Windows rich-edit
// control: every character is one position, a paragraph break is the two characters "\r\n"
// and a line break inside a paragraph is "\v". Content, plain text, selection, deleting and
// inserting rich text, the selection's font and the character under a point all count in that
// one space, so positions found in the plain text can be used to select, delete and hit-test.
#pragma once

#include "RtfLeser.h"

#include <QByteArray>
#include <QMetaObject>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTextDocumentFragment>

#include <memory>
#include <vector>

class QTextDocument;

class TextFeld
{
public:
    // A text box on a document of its own.
    TextFeld();
    // A text box on doc, which must outlive it. With beobachten, changes made to doc from
    // outside are followed (this gives doc a layout, which needs a QGuiApplication); without
    // it, only this box's own changes are, and doc gets no layout (no hit test) - the fast
    // way for a document that is only being prepared.
    explicit TextFeld(QTextDocument *doc, bool beobachten = true);
    ~TextFeld();
    TextFeld(const TextFeld &) = delete;
    TextFeld &operator=(const TextFeld &) = delete;

    QTextDocument *dokument() const { return mDoc; }

    // Content: set from stored RTF (see RtfLeser), or from / as a rich-text fragment.
    // Setting the content clears the selection.
    bool setzeRtf(const QByteArray &rtf);
    bool setzeRtf(const QString &rtf);
    // The same with the reader's limits (text form); says whether the text was cut.
    RtfLeser::Ergebnis setzeRtf(const QString &rtf, const RtfLeser::Grenzen &grenzen);
    QTextDocumentFragment inhalt() const;
    void setzeInhalt(const QTextDocumentFragment &inhalt);

    // Plain text with "\r\n" per paragraph break and its length in positions.
    QString text() const;
    int laenge() const;

    // Selection. Setting the start collapses the selection there (as the rich-edit control
    // does); the length is cut so that the selection ends inside the text.
    int selStart() const { return mSelStart; }
    int selLaenge() const { return mSelLaenge; }
    void setzeSelStart(int start);
    void setzeSelLaenge(int laenge);
    QString selText() const;

    // Deletes the selected characters; all other characters keep their format.
    void loescheAuswahl();
    // The selection as rich text that can be inserted elsewhere with its formatting.
    QTextDocumentFragment selInhalt() const;
    // Replaces the selection with rich text; the selection then is empty behind the insertion.
    void fuegeEin(const QTextDocumentFragment &inhalt);
    // Sets the font family of the selected characters.
    void setzeSelSchrift(const QString &name);

    // Character position under a point of the laid-out document (document coordinates): the
    // character whose box holds the point; -1 where there is none (between lines, beside the
    // text of a line, no layout). Needs a QGuiApplication.
    int zeichenAnPunkt(const QPointF &punkt) const;
    // The box of the character at a text position, in document coordinates; empty for a
    // paragraph break or a position outside the text.
    QRectF zeichenRechteck(int textPos) const;

    // 1-based position of the first occurrence of suche at or after the 1-based position ab,
    // 0 when there is none (as the string search of the text routines).
    int finde(const QString &suche, int ab = 1) const;

    // Conversions between this position space and QTextDocument positions. A text position on
    // the "\n" of a paragraph break maps to the break itself (aufrunden false) or behind it.
    int zuDokument(int textPos, bool aufrunden = false) const;
    int zuText(int dokPos) const;

    // Forgets the cached positions; for callers that changed the document inside an edit
    // block, whose change reports come only at its end.
    void invalidieren();

private:
    void verbinden();
    void cacheAktualisieren() const;
    void dokumentGeaendert(int position, int entfernt, int hinzugefuegt);

    std::unique_ptr<QTextDocument> mEigenes;
    QTextDocument *mDoc = nullptr;
    QMetaObject::Connection mVerbindung;
    bool mSignale = false;
    int mSelStart = 0;
    int mSelLaenge = 0;
    // Document positions of paragraph breaks (paragraph separators and frame borders), sorted.
    mutable std::vector<int> mUmbrueche;
    mutable bool mUmbruecheGueltig = false;
    mutable QString mText;
    mutable bool mTextGueltig = false;
};
