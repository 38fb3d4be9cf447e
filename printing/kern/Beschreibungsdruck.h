// The print-out of the product description, independent of any window: collects the parts
// and pictures of a scope (marked text, current section, whole topic, whole chapter) and lays
// them out on a TolvarDrucker: the page frame with header ("Programmbeschreibung
// Tolvar-Belna" and the title at the right margin), rules and the centred page number on every
// page, the parts as flowing rich text, each picture at half its size (at most the body's
// width, so that nothing is cut off at the paper's edge), framed and captioned
// "Abb.: " below the part it belongs to, and the rule that a new part or the space after a
// picture needs eight lines. The help window fills a DruckAuftrag from its members; the
// hilfedb tool fills one from the database. Status line and cancel request come in through
// callbacks; a cancel request is honoured between sections, pictures and pages, while the
// content is collected as well as while it is printed.
//
// Pictures are collected undecoded (DruckBild) and decoded only when they are drawn. Decoded
// pictures are kept for further links to them within a budget of decoded bytes, the least
// recently drawn going first; every picture that can be decoded is drawn, whatever the budget.
// Only a picture that cannot be decoded (a damaged archive, a bitmap beyond the archive's or
// the pixel limit) is printed as a frame with its title in it. Every picture is printed at the
// screen's scale, 0.2333 mm per pixel, whatever resolution its bitmap states.
#pragma once

#include "DruckTextAufbereiten.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextDocumentFragment>

#include <functional>

class QTextCursor;
class TolvarDrucker;

// What the help window hands to the print-out.
struct DruckAuftrag
{
    qint16 miDruckUmfang = 1; // 0 marked text, 1 current section, 2 whole topic, 3 chapter
    QString msDruckTitel;
    bool mbMitGrafik = false;
    QString msDruckerName;
    qint16 miPapierGroesse = 0;
    qint16 miPapierZufuhr = 0;
    // Scope 0: the selection of the text box, with its formatting.
    QTextDocumentFragment Auswahl;
    // Scopes 1 and 2: the stored texts of the current topic (element 0 unused) and the
    // 0-based index of the current section.
    QList<QString> msTexteInhalt{QString()};
    qint16 miTexteAnzahl = 0;
    qint16 miAktTextIndex = 0;
    // Scope 3: the topic IDs of the current chapter (element 0 unused) and the captions of the
    // topic tabs (caption t - 1 belongs to topic t).
    QList<qint32> mlThemenIDs{0};
    qint16 miThemenAnzahl = 0;
    QStringList ThemenTitel;
    // When not empty the print-out goes to this PDF file instead of the printer.
    QString PdfDatei;
};

// The collected content: parts and pictures, element 0 unused.
struct DruckInhalt
{
    qint16 TeilAnzahl = 0;
    QList<QTextDocumentFragment> Teile{QTextDocumentFragment()};
    // The section (1-based, in collection order) each part belongs to.
    QList<qint16> TeilAbschnitt{0};
    qint16 GrafikAnzahl = 0;
    QList<DruckBild> Grafiken{DruckBild()};
    QList<qint16> GrafikTeil{0};
    QList<QString> GrafikTitel{QString()};
};

// Reads the sections of a topic: captions and stored texts, element 0 unused.
using TexteQuelle =
    std::function<bool(qint32 ThemenID, QList<QString> &Bezeichnung, QList<QString> &Text)>;

class Beschreibungsdruck
{
public:
    // NichtGestartet: the job could not begin; Fehlgeschlagen: it began but did not reach the
    // printer or file (fehler() says why for both).
    enum class Ergebnis {
        Gedruckt,
        Abgebrochen,
        NichtGestartet,
        LesenFehlgeschlagen,
        Fehlgeschlagen
    };

    Beschreibungsdruck(TolvarDrucker &dru, const QString &SchriftName, qint16 SchriftGroesse);

    // Shows a status line ("lese Text ...", "Seite N") in the progress window.
    std::function<void(const QString &)> status;
    // Asked between parts, pictures and pages; true ends the job (aborted, nothing more
    // reaches the printer).
    std::function<bool()> abbruchGewuenscht;
    // Sources of texts (scope 3) and pictures; the help database by default.
    TexteQuelle texteQuelle;
    BildQuelle bildQuelle = standardBildQuelle();
    // Decoded bytes (4 per pixel) of the pictures kept for further links to them.
    qint64 bildBudget = 256LL * 1024 * 1024;

    // Collects and prints; the whole run of the help window's print routine.
    Ergebnis BeschreibungDrucken(const DruckAuftrag &auftrag);
    // Collecting only; false when reading a topic's texts failed (already reported) or the
    // user cancelled (abgebrochen() then is true).
    bool InhaltSammeln(const DruckAuftrag &auftrag, DruckInhalt &inhalt);
    bool abgebrochen() const { return m_abgebrochen; }
    // Why the last job was not printed (see Ergebnis); "" otherwise.
    QString fehler() const;
    // Printing collected content; the pictures are released as they are drawn.
    Ergebnis InhaltDrucken(const DruckAuftrag &auftrag, DruckInhalt &inhalt);

    // The marked text of a text box as the print-out takes it (scope 0): a selection that
    // begins inside a paragraph keeps that paragraph's format (its indents), and inside a list
    // item (a hanging indent with the item's number or bullet before the first tab) also the
    // item's number, as the box shows them.
    static QTextDocumentFragment Auswahl(const QTextCursor &auswahl);
    // The rich-text heading of a topic in the chapter scope: 18 points, bold, own line.
    static QTextDocumentFragment Themenueberschrift(const QString &titel, const QString &schrift);
    // A picture's printed size in mm: 0.2333 mm per pixel (its size on a 96-dpi screen, read
    // as twips and halved), whatever resolution the bitmap states.
    static QSizeF BildGroesseMm(const QImage &bild) { return BildGroesseMm(bild.size()); }
    static QSizeF BildGroesseMm(const QSize &pixel);
    // The size it is printed at on a page of that width: as above, but scaled down to end,
    // with its frame, at the right margin when it is wider.
    static QSizeF BildGroesseMmAufSeite(const QSize &pixel, double seitenbreite);
    // The width in mm that the page header leaves for the title beside the product name on
    // dru's page, in dru's current font (the header's is bold). A wider title overlaps it.
    static double KopfTitelPlatz(const TolvarDrucker &dru);

private:
    void SeitenrahmenDrucken(double &Oben, double &Unten);
    bool abbrechenPruefen();
    bool abbruchGefragt();
    void melden(const QString &text);
    Ergebnis abbruchErgebnis() const;

    TolvarDrucker &dru;
    QString gsSchriftName;
    qint16 giSchriftGroesse;
    QString msDruckTitel;
    bool m_abgebrochen = false;
    QString m_fehler;
};
