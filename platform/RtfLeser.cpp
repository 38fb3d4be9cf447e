// The RTF reader (see RtfLeser.h). One pass over the bytes with a stack of group states; text
// is collected into runs of equal character format and appended with a QTextCursor, so the
// work is linear in the input size.
#include "RtfLeser.h"
#include "RtfZeichensatz.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QList>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextOption>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

// Twips (1/1440 inch) to the document's pixels at 96 DPI.
constexpr double TwipsProPixel = 15.0;
// Largest picture data kept; bigger pictures are skipped.
constexpr qsizetype MaxBildBytes = 64 * 1024 * 1024;
// Widest table row kept; further cells of a row continue in its last cell.
constexpr int MaxSpalten = 64;

enum class Ziel { Text, Ueberspringen, Schrifttabelle, Farbtabelle, Bild };

enum class Wort {
    Unbekannt,
    // destinations
    Rtf,
    Schrifttabelle,
    Farbtabelle,
    Ueberspringen,
    Bild,
    FeldErgebnis,
    FeldBefehl,
    Shppict,
    // document
    Ansicpg,
    Deff,
    Ansi,
    Mac,
    Pc,
    Pca,
    // font table
    F,
    Fcharset,
    Cpg,
    // colour table
    Red,
    Green,
    Blue,
    // character format
    Plain,
    B,
    I,
    Ul,
    Ulnone,
    Strike,
    Super,
    Sub,
    NoSuperSub,
    Up,
    Dn,
    V,
    Fs,
    Cf,
    Cb,
    Highlight,
    Uc,
    U,
    // paragraph format
    Pard,
    Ql,
    Qr,
    Qc,
    Qj,
    Li,
    Ri,
    Fi,
    Sb,
    Sa,
    Sl,
    SlMult,
    Tx,
    Tb,
    Tqr,
    Tqc,
    Tqdec,
    InTbl,
    // breaks and special characters
    Par,
    Line,
    Tab,
    Page,
    Sect,
    Cell,
    Row,
    Trowd,
    Cellx,
    NestCell,
    NestRow,
    Zeichen,
    Bin,
    // picture
    Pngblip,
    Jpegblip,
    Picw,
    Pich,
    Picwgoal,
    Pichgoal,
    Picscalex,
    Picscaley
};

struct WortInfo
{
    Wort wort;
    char16_t zeichen = 0; // for Wort::Zeichen
};

const QHash<QByteArray, WortInfo> &woerter()
{
    static const QHash<QByteArray, WortInfo> tabelle = [] {
        QHash<QByteArray, WortInfo> t;
        t.insert("rtf", {Wort::Rtf});
        t.insert("fonttbl", {Wort::Schrifttabelle});
        t.insert("colortbl", {Wort::Farbtabelle});
        for (const char *w :
             {"stylesheet",   "info",      "pn",          "listtable",   "listoverridetable",
              "rsidtbl",      "generator", "xmlnstbl",    "revtbl",      "filetbl",
              "header",       "headerl",   "headerr",     "headerf",     "footer",
              "footerl",      "footerr",   "footerf",     "footnote",    "annotation",
              "objdata",      "objclass",  "datafield",   "themedata",   "colorschememapping",
              "latentstyles", "datastore", "mmathPr",     "pgdsctbl",    "nonshppict",
              "private",      "bkmkstart", "bkmkend",     "xe",          "tc",
              "txe",          "atnid",     "atnauthor",   "pnseclvl",    "userprops",
              "docvar",       "fchars",    "lchars",      "template",    "blipuid",
              "picprop",      "shpinst",   "listpicture", "protusertbl", "operator",
              "author",       "title"})
            t.insert(w, {Wort::Ueberspringen});
        t.insert("pict", {Wort::Bild});
        t.insert("fldrslt", {Wort::FeldErgebnis});
        t.insert("fldinst", {Wort::FeldBefehl});
        t.insert("shppict", {Wort::Shppict});
        t.insert("nesttableprops", {Wort::Shppict});
        t.insert("ansicpg", {Wort::Ansicpg});
        t.insert("deff", {Wort::Deff});
        t.insert("ansi", {Wort::Ansi});
        t.insert("mac", {Wort::Mac});
        t.insert("pc", {Wort::Pc});
        t.insert("pca", {Wort::Pca});
        t.insert("f", {Wort::F});
        t.insert("fcharset", {Wort::Fcharset});
        t.insert("cpg", {Wort::Cpg});
        t.insert("red", {Wort::Red});
        t.insert("green", {Wort::Green});
        t.insert("blue", {Wort::Blue});
        t.insert("plain", {Wort::Plain});
        t.insert("b", {Wort::B});
        t.insert("i", {Wort::I});
        for (const char *w :
             {"ul", "uld", "uldb", "ulw", "ulwave", "ulth", "uldash", "uldashd", "uldashdd",
              "ulhwave", "ulldash", "ulthd", "ulthdash", "ulthldash", "ululdbwave"})
            t.insert(w, {Wort::Ul});
        t.insert("ulnone", {Wort::Ulnone});
        t.insert("strike", {Wort::Strike});
        t.insert("striked", {Wort::Strike});
        t.insert("super", {Wort::Super});
        t.insert("sub", {Wort::Sub});
        t.insert("nosupersub", {Wort::NoSuperSub});
        t.insert("up", {Wort::Up});
        t.insert("dn", {Wort::Dn});
        t.insert("v", {Wort::V});
        t.insert("fs", {Wort::Fs});
        t.insert("cf", {Wort::Cf});
        t.insert("cb", {Wort::Cb});
        t.insert("chcbpat", {Wort::Cb});
        t.insert("highlight", {Wort::Highlight});
        t.insert("uc", {Wort::Uc});
        t.insert("u", {Wort::U});
        t.insert("pard", {Wort::Pard});
        t.insert("ql", {Wort::Ql});
        t.insert("qr", {Wort::Qr});
        t.insert("qc", {Wort::Qc});
        t.insert("qj", {Wort::Qj});
        t.insert("li", {Wort::Li});
        t.insert("ri", {Wort::Ri});
        t.insert("fi", {Wort::Fi});
        t.insert("sb", {Wort::Sb});
        t.insert("sa", {Wort::Sa});
        t.insert("sl", {Wort::Sl});
        t.insert("slmult", {Wort::SlMult});
        t.insert("tx", {Wort::Tx});
        t.insert("tb", {Wort::Tb});
        t.insert("tqr", {Wort::Tqr});
        t.insert("tqc", {Wort::Tqc});
        t.insert("tqdec", {Wort::Tqdec});
        t.insert("intbl", {Wort::InTbl});
        t.insert("par", {Wort::Par});
        t.insert("line", {Wort::Line});
        t.insert("tab", {Wort::Tab});
        t.insert("page", {Wort::Page});
        t.insert("sect", {Wort::Sect});
        t.insert("cell", {Wort::Cell});
        t.insert("row", {Wort::Row});
        t.insert("trowd", {Wort::Trowd});
        t.insert("cellx", {Wort::Cellx});
        t.insert("nestcell", {Wort::NestCell});
        t.insert("nestrow", {Wort::NestRow});
        t.insert("bin", {Wort::Bin});
        t.insert("pngblip", {Wort::Pngblip});
        t.insert("jpegblip", {Wort::Jpegblip});
        t.insert("picw", {Wort::Picw});
        t.insert("pich", {Wort::Pich});
        t.insert("picwgoal", {Wort::Picwgoal});
        t.insert("pichgoal", {Wort::Pichgoal});
        t.insert("picscalex", {Wort::Picscalex});
        t.insert("picscaley", {Wort::Picscaley});
        const std::pair<const char *, char16_t> zeichen[] = {
            {"bullet", 0x2022},  {"endash", 0x2013},    {"emdash", 0x2014},    {"lquote", 0x2018},
            {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
            {"enspace", 0x2002}, {"qmspace", 0x2005},   {"zwj", 0x200D},       {"zwnj", 0x200C},
            {"ltrmark", 0x200E}, {"rtlmark", 0x200F},   {"zwbo", 0x200B},      {"zwnbo", 0xFEFF}};
        for (const auto &[w, z] : zeichen)
            t.insert(w, {Wort::Zeichen, z});
        return t;
    }();
    return tabelle;
}

struct Zustand
{
    Ziel ziel = Ziel::Text;
    // character format
    int schrift = -1;
    int groesse = 24; // half points
    bool fett = false;
    bool kursiv = false;
    bool unterstrichen = false;
    bool durchgestrichen = false;
    bool verborgen = false;
    int hochTief = 0; // 1 superscript, -1 subscript
    int farbe = 0;
    int hintergrund = 0;
    int uc = 1;
    // paragraph format
    Qt::Alignment ausrichtung = Qt::AlignLeft;
    int links = 0, rechts = 0, erste = 0, vorher = 0, nachher = 0;
    int zeilenAbstand = 0;
    bool zeilenMultipel = false;
    QList<QTextOption::Tab> tabs;
    QTextOption::TabType tabArt = QTextOption::LeftTab;
    bool inTabelle = false;
};

// Everything a character format is built from. Runs are compared by this key, and each
// distinct key builds its QTextCharFormat once.
constexpr int OhneSchrift = std::numeric_limits<int>::min();

struct ZeichenSchluessel
{
    int schrift = OhneSchrift; // a font with a name, or OhneSchrift
    int groesse = 24;
    int farbe = 0;
    int hintergrund = 0;
    int hochTief = 0;
    bool fett = false;
    bool kursiv = false;
    bool unterstrichen = false;
    bool durchgestrichen = false;
    bool operator==(const ZeichenSchluessel &) const = default;
};

size_t qHash(const ZeichenSchluessel &k, size_t seed = 0)
{
    return qHashMulti(seed, k.schrift, k.groesse, k.farbe, k.hintergrund, k.hochTief, k.fett,
                      k.kursiv, k.unterstrichen, k.durchgestrichen);
}

// Everything a paragraph format is built from (see Leser::absatzFormatVon).
struct AbsatzSchluessel
{
    Qt::Alignment ausrichtung = Qt::AlignLeft;
    int links = 0, rechts = 0, erste = 0, vorher = 0, nachher = 0;
    int zeilenAbstand = 0;
    bool zeilenMultipel = false;
    bool seitenumbruch = false;
    QList<QTextOption::Tab> tabs;
    bool operator==(const AbsatzSchluessel &) const = default;
};

struct Schrift
{
    QString name;
    int codepage = 0; // 0: the document's code page
};

struct BildDaten
{
    enum Art { Andere, Png, Jpeg } art = Andere;
    QByteArray daten;
    int halbesByte = -1;
    int breite = 0, hoehe = 0;         // \picw, \pich: pixels (or HiMetric for metafiles)
    int zielBreite = 0, zielHoehe = 0; // twips
    int skalaX = 100, skalaY = 100;    // percent
    bool zuGross = false;
};

int hexWert(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool istBuchstabe(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

class Leser
{
public:
    Leser(const QByteArray &rtf, QTextDocument &doc, const RtfLeser::Grenzen &grenzen)
        : mP(rtf.constData()), mEnde(rtf.constData() + rtf.size()), mDoc(doc), mCursor(&doc),
          mMaxZeichen(grenzen.maxZeichen), mBildBytesFrei(std::max<qint64>(grenzen.bildBytes, 0))
    {
    }

    void lesen();
    bool gekuerzt() const { return mVoll; }
    int bilderAusgelassen() const { return mBilderAusgelassen; }

private:
    // input
    const char *mP;
    const char *mEnde;
    // output
    QTextDocument &mDoc;
    QTextCursor mCursor;
    QString mLauf;
    QTextCharFormat mLaufFormat;
    ZeichenSchluessel mLaufSchluessel;
    bool mLaufSchluesselGesetzt = false;
    bool mFormatGueltig = false;
    QHash<ZeichenSchluessel, QTextCharFormat> mFormate;
    // What the cursor's block holds as its paragraph format. A paragraph's format is set when
    // the paragraph ends; reading the block's format back and merging into it costs more than
    // the text itself, so the reader remembers what it gave the block:
    //  Unbekannt:    not known, or its paragraph already ended; read and merged.
    //  Schlicht:     an empty format, with a page break when mBlockSchluessel.seitenumbruch.
    //  Vorhergesagt: the format of mBlockSchluessel. A new paragraph is created with the state
    //                of the one before, so its end usually needs no change at all.
    enum class BlockStand { Unbekannt, Schlicht, Vorhergesagt };
    AbsatzSchluessel mLetzterAbsatzSchluessel;
    QTextBlockFormat mLetztesAbsatzFormat;
    bool mLetztesAbsatzFormatGueltig = false;
    BlockStand mBlockStand = BlockStand::Unbekannt;
    AbsatzSchluessel mBlockSchluessel;
    QByteArray mBytes; // undecoded text bytes of the current font
    // state
    Zustand mZ;
    std::vector<Zustand> mStapel;
    int mUeberlauf = 0;
    int mUeberspringen = 0; // characters still to skip after \uN
    bool mIgnorierbar = false;
    bool mRtfGesehen = false;
    int mCodepage = 1252;
    int mStandardSchrift = 0;
    QHash<int, Schrift> mSchriften;
    QList<QColor> mFarben;
    int mAktSchrift = -1;
    QByteArray mSchriftName;
    int mRot = -1, mGruen = -1, mBlau = -1;
    RtfZeichensatz mZeichensatz;
    // tables
    // A table grows by doubling its row count (up to a limit per step, see tabelleVorbereiten);
    // rows not used are removed when it ends. The
    // cells are filled in order, so every cell after the current one is still empty and the
    // next cell is found by counting positions: QTextTable's own cell lookup rescans the whole
    // table after each change, which would make a long table cost quadratic time.
    QTextTable *mTabelle = nullptr;
    int mZeile = 0, mSpalte = 0;
    int mZeilenAngelegt = 0, mSpalten = 0;
    int mZelleIndex = 0; // the cell the cursor is in, in reading order (row * columns + column)
    bool mZeileBeendet = false;
    bool mNaechsteZelle = false;
    int mZellenDefiniert = 0;
    // pictures
    BildDaten mBild;
    int mBildNummer = 0;
    // limits (see RtfLeser::Grenzen)
    qint64 mMaxZeichen;
    qint64 mZeichen = 0; // characters given to the document so far (mLauf included)
    bool mVoll = false;  // the limit cut the text: nothing more is read or added
    qint64 mBildBytesFrei;
    int mBilderAusgelassen = 0;

    void gruppeAuf();
    void gruppeZu();
    void steuerwort();
    void steuersymbol(char c);
    void befehl(const WortInfo &info, bool hatParameter, int parameter);
    void textByte(char c);
    void binaer(int anzahl);

    int codepageAktuell() const;
    void bytesAusgeben();
    void zeichenAusgeben(QChar z);
    void textAusgeben(const QString &s);
    void laufAusgeben();
    ZeichenSchluessel zeichenSchluessel() const;
    QTextCharFormat zeichenFormat(const ZeichenSchluessel &k) const;
    AbsatzSchluessel absatzSchluessel(bool seitenumbruch) const;
    static QTextBlockFormat absatzFormatVon(QTextBlockFormat f, const AbsatzSchluessel &k);
    const QTextBlockFormat &neuesAbsatzFormat(const AbsatzSchluessel &k);
    void absatzFormatSetzen();
    void blockVerlassen();
    void zelleBetreten();
    void tabelleVorbereiten();
    void zelleAnsteuern(bool strukturGeaendert);
    void tabelleAbschliessen();
    bool imText() const { return mZ.ziel == Ziel::Text && mUeberlauf == 0 && !mVoll; }
    bool platz(qint64 n);
    qint64 bytesBisGrenze() const;
    void absatz(bool seitenumbruch);
    void zelle();
    void zeile();
    void bildFertig();
    void schriftEintragFertig();
};

void Leser::lesen()
{
    while (mP < mEnde) {
        const char c = *mP++;
        switch (c) {
        case '{':
            gruppeAuf();
            break;
        case '}':
            gruppeZu();
            if (mStapel.empty() && mUeberlauf == 0) {
                // The document's outermost group is closed: anything behind it is not part
                // of the document.
                mP = mEnde;
            }
            break;
        case '\\':
            if (mP >= mEnde)
                break;
            if (istBuchstabe(*mP))
                steuerwort();
            else
                steuersymbol(*mP++);
            break;
        case '\r':
        case '\n':
            break;
        default:
            if (mZ.ziel == Ziel::Text && mUeberlauf == 0 && mUeberspringen == 0 && !mZ.verborgen) {
                // Plain text: take the whole stretch up to the next special character at once.
                // With a character limit, the stretch ends not far behind it: the limit is
                // checked on decoded characters, so the bytes are handed on before they could
                // hold more than the characters still allowed.
                const qint64 grenze = bytesBisGrenze();
                const char *letztes =
                    grenze < mEnde - mP ? mP + std::max<qint64>(grenze - 1, 0) : mEnde;
                const char *ende = mP;
                while (ende < letztes && *ende != '{' && *ende != '}' && *ende != '\\' &&
                       *ende != '\r' && *ende != '\n')
                    ++ende;
                mBytes.append(mP - 1, ende - mP + 1);
                mP = ende;
                if (mMaxZeichen > 0 && mBytes.size() >= grenze)
                    bytesAusgeben();
            } else {
                textByte(c);
            }
            break;
        }
    }
    bytesAusgeben();
    laufAusgeben();
    if (!mTabelle || !mZeileBeendet)
        absatzFormatSetzen();
    else
        blockVerlassen();
    if (mTabelle)
        tabelleAbschliessen();
}

// Takes room for n characters. When the limit leaves none, the text is cut here: nothing
// more is added and the rest of the input is not read.
bool Leser::platz(qint64 n)
{
    if (mVoll)
        return false;
    if (mMaxZeichen > 0 && mZeichen + n > mMaxZeichen) {
        mVoll = true;
        mP = mEnde;
        return false;
    }
    mZeichen += n;
    return true;
}

// Undecoded text bytes that surely hold more characters than the limit still allows (no code
// page takes more than four bytes for a character): the bytes collected are handed on to the
// document when they reach this many.
qint64 Leser::bytesBisGrenze() const
{
    if (mMaxZeichen <= 0)
        return std::numeric_limits<qint64>::max();
    return 4 * (std::max<qint64>(mMaxZeichen - mZeichen, 0) + 1);
}

void Leser::gruppeAuf()
{
    bytesAusgeben();
    mUeberspringen = 0;
    if (mUeberlauf > 0 || mStapel.size() >= size_t(RtfLeser::MaxTiefe)) {
        ++mUeberlauf;
        return;
    }
    mStapel.push_back(mZ);
    mIgnorierbar = false;
}

void Leser::gruppeZu()
{
    bytesAusgeben();
    mUeberspringen = 0;
    mIgnorierbar = false;
    if (mUeberlauf > 0) {
        --mUeberlauf;
        return;
    }
    if (mStapel.empty())
        return;
    const Ziel war = mZ.ziel;
    if (war == Ziel::Schrifttabelle)
        schriftEintragFertig();
    mZ = mStapel.back();
    mStapel.pop_back();
    if (war == Ziel::Bild && mZ.ziel != Ziel::Bild)
        bildFertig();
    mFormatGueltig = false;
}

void Leser::steuerwort()
{
    const char *anfang = mP;
    while (mP < mEnde && istBuchstabe(*mP) && mP - anfang < 32)
        ++mP;
    const QByteArray wort = QByteArray::fromRawData(anfang, mP - anfang);
    bool negativ = false;
    bool hatParameter = false;
    qint64 wert = 0;
    if (mP < mEnde && *mP == '-' && mP + 1 < mEnde && *(mP + 1) >= '0' && *(mP + 1) <= '9') {
        negativ = true;
        ++mP;
    }
    int ziffern = 0;
    while (mP < mEnde && *mP >= '0' && *mP <= '9') {
        if (ziffern < 10)
            wert = wert * 10 + (*mP - '0');
        ++ziffern;
        ++mP;
        hatParameter = true;
    }
    if (mP < mEnde && *mP == ' ')
        ++mP;
    wert = std::clamp<qint64>(negativ ? -wert : wert, -2147483647, 2147483647);

    const auto it = woerter().constFind(wort);
    const WortInfo info = it == woerter().constEnd() ? WortInfo{Wort::Unbekannt} : it.value();

    if (mUeberspringen > 0 && info.wort != Wort::Bin) {
        // A control word counts as one character of the \uN fallback.
        --mUeberspringen;
        return;
    }
    befehl(info, hatParameter, int(wert));
}

void Leser::steuersymbol(char c)
{
    if (c == '\'') {
        int wert = 0;
        int n = 0;
        while (n < 2 && mP < mEnde && hexWert(*mP) >= 0) {
            wert = wert * 16 + hexWert(*mP++);
            ++n;
        }
        if (n == 0)
            return;
        if (mUeberspringen > 0) {
            --mUeberspringen;
            return;
        }
        if (mZ.ziel == Ziel::Schrifttabelle) {
            mSchriftName += char(wert);
            return;
        }
        if (imText() && !mZ.verborgen)
            mBytes += char(wert);
        return;
    }
    if (mUeberspringen > 0) {
        --mUeberspringen;
        return;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}':
        textByte(c);
        break;
    case '~':
        zeichenAusgeben(QChar(QChar::Nbsp));
        break;
    case '-':
        zeichenAusgeben(QChar(QChar::SoftHyphen));
        break;
    case '_':
        zeichenAusgeben(QChar(0x2011));
        break;
    case '*':
        mIgnorierbar = true;
        break;
    case '\r':
    case '\n':
        befehl({Wort::Par}, false, 0);
        break;
    default:
        break;
    }
}

int Leser::codepageAktuell() const
{
    const auto it = mSchriften.constFind(mZ.schrift);
    if (it != mSchriften.constEnd() && it->codepage != 0)
        return it->codepage;
    return mCodepage;
}

void Leser::textByte(char c)
{
    if (mUeberspringen > 0) {
        --mUeberspringen;
        return;
    }
    switch (mZ.ziel) {
    case Ziel::Text:
        if (mUeberlauf == 0 && !mZ.verborgen)
            mBytes += c;
        break;
    case Ziel::Schrifttabelle:
        if (c == ';')
            schriftEintragFertig();
        else
            mSchriftName += c;
        break;
    case Ziel::Farbtabelle:
        if (c == ';') {
            if (mRot < 0 && mGruen < 0 && mBlau < 0)
                mFarben.append(QColor());
            else
                mFarben.append(QColor(std::clamp(mRot, 0, 255), std::clamp(mGruen, 0, 255),
                                      std::clamp(mBlau, 0, 255)));
            mRot = mGruen = mBlau = -1;
        }
        break;
    case Ziel::Bild: {
        const int h = hexWert(c);
        if (h < 0 || mBild.zuGross)
            break;
        if (mBild.halbesByte < 0) {
            mBild.halbesByte = h;
        } else {
            if (mBild.daten.size() >= MaxBildBytes) {
                mBild.zuGross = true;
                mBild.daten.clear();
                break;
            }
            mBild.daten += char(mBild.halbesByte * 16 + h);
            mBild.halbesByte = -1;
        }
        break;
    }
    case Ziel::Ueberspringen:
        break;
    }
}

void Leser::binaer(int anzahl)
{
    const qint64 n = std::clamp<qint64>(anzahl, 0, mEnde - mP);
    if (mZ.ziel == Ziel::Bild && mUeberlauf == 0 && !mBild.zuGross) {
        if (mBild.daten.size() + n > MaxBildBytes) {
            mBild.zuGross = true;
            mBild.daten.clear();
        } else {
            mBild.daten.append(mP, n);
        }
    }
    mP += n;
}

void Leser::bytesAusgeben()
{
    if (mBytes.isEmpty())
        return;
    textAusgeben(mZeichensatz.dekodieren(mBytes, codepageAktuell()));
    mBytes.resize(0); // keeps the buffer for the next run
}

void Leser::zeichenAusgeben(QChar z)
{
    if (!imText() || mZ.verborgen)
        return;
    bytesAusgeben();
    textAusgeben(QString(z));
}

void Leser::textAusgeben(const QString &s)
{
    if (mVoll)
        return;
    QStringView teil(s);
    const bool abschneiden = mMaxZeichen > 0 && mZeichen + teil.size() > mMaxZeichen;
    if (abschneiden) {
        qsizetype n = mMaxZeichen - mZeichen;
        // A surrogate pair is kept whole or left out (\u gives its halves one at a time).
        if (n > 0 && teil[n - 1].isHighSurrogate())
            --n;
        if (n == 0 && teil.front().isLowSurrogate() && !mLauf.isEmpty() &&
            mLauf.back().isHighSurrogate()) {
            mLauf.chop(1);
            --mZeichen;
        }
        teil = teil.first(n);
    }
    tabelleVorbereiten();
    if (!teil.isEmpty()) {
        if (!mFormatGueltig) {
            const ZeichenSchluessel k = zeichenSchluessel();
            mFormatGueltig = true;
            if (!mLaufSchluesselGesetzt || k != mLaufSchluessel) {
                laufAusgeben();
                mLaufSchluessel = k;
                mLaufSchluesselGesetzt = true;
                auto it = mFormate.constFind(k);
                if (it == mFormate.constEnd())
                    it = mFormate.insert(k, zeichenFormat(k));
                mLaufFormat = it.value();
            }
        }
        mLauf += teil;
        mZeichen += teil.size();
    }
    if (abschneiden)
        platz(mMaxZeichen + 1);
}

void Leser::laufAusgeben()
{
    if (mLauf.isEmpty())
        return;
    mCursor.insertText(mLauf, mLaufFormat);
    mLauf.resize(0);
}

ZeichenSchluessel Leser::zeichenSchluessel() const
{
    ZeichenSchluessel k;
    const auto s = mSchriften.constFind(mZ.schrift);
    // Fonts without a name all give the same format.
    k.schrift = s != mSchriften.constEnd() && !s->name.isEmpty() ? mZ.schrift : OhneSchrift;
    k.groesse = std::clamp(mZ.groesse, 2, 3276);
    k.fett = mZ.fett;
    k.kursiv = mZ.kursiv;
    k.unterstrichen = mZ.unterstrichen;
    k.durchgestrichen = mZ.durchgestrichen;
    k.hochTief = mZ.hochTief;
    const auto farbe = [this](int i) {
        return i > 0 && i < mFarben.size() && mFarben[i].isValid() ? i : 0;
    };
    k.farbe = farbe(mZ.farbe);
    k.hintergrund = farbe(mZ.hintergrund);
    return k;
}

QTextCharFormat Leser::zeichenFormat(const ZeichenSchluessel &k) const
{
    QTextCharFormat f;
    if (k.schrift != OhneSchrift)
        f.setFontFamilies({mSchriften.value(k.schrift).name});
    f.setFontPointSize(k.groesse / 2.0);
    if (k.fett)
        f.setFontWeight(QFont::Bold);
    if (k.kursiv)
        f.setFontItalic(true);
    if (k.unterstrichen)
        f.setFontUnderline(true);
    if (k.durchgestrichen)
        f.setFontStrikeOut(true);
    if (k.hochTief > 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (k.hochTief < 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (k.farbe > 0)
        f.setForeground(mFarben[k.farbe]);
    if (k.hintergrund > 0)
        f.setBackground(mFarben[k.hintergrund]);
    return f;
}

AbsatzSchluessel Leser::absatzSchluessel(bool seitenumbruch) const
{
    AbsatzSchluessel k;
    k.ausrichtung = mZ.ausrichtung;
    k.links = mZ.links;
    k.rechts = mZ.rechts;
    k.erste = mZ.erste;
    k.vorher = mZ.vorher;
    k.nachher = mZ.nachher;
    k.zeilenAbstand = mZ.zeilenAbstand;
    k.zeilenMultipel = mZ.zeilenMultipel;
    k.seitenumbruch = seitenumbruch;
    k.tabs = mZ.tabs;
    return k;
}

// RTF measures tab stops from the left edge of the text area, Qt from the start of the line:
// for the first line of a paragraph that is the left indent plus the first-line indent. The
// stops are moved by that much; stops at or left of the line's start can never be reached
// and are dropped. A hanging indent (negative first-line indent) is a tab stop of its own at
// the left indent, so that the text after a list label ("\bullet\tab", "1.\tab") starts
// where the wrapped lines start. Lines after a line break (\line) inside the paragraph start
// at the left indent and see the stops shifted by the first-line indent; such tabs are rare.
QList<QTextOption::Tab> tabsAbZeilenanfang(const AbsatzSchluessel &k)
{
    const double anfang = (k.links + k.erste) / TwipsProPixel;
    QList<QTextOption::Tab> tabs;
    tabs.reserve(k.tabs.size() + 1);
    for (QTextOption::Tab t : k.tabs) {
        t.position -= anfang;
        if (t.position > 0)
            tabs.append(t);
    }
    if (k.erste < 0) {
        const double einzug = -k.erste / TwipsProPixel;
        const bool gesetzt = std::any_of(tabs.cbegin(), tabs.cend(), [einzug](const auto &t) {
            return qAbs(t.position - einzug) < 0.01;
        });
        if (!gesetzt)
            tabs.append(QTextOption::Tab(einzug, QTextOption::LeftTab));
    }
    // Qt takes the first stop right of the current position in list order.
    std::stable_sort(tabs.begin(), tabs.end(),
                     [](const auto &a, const auto &b) { return a.position < b.position; });
    return tabs;
}

QTextBlockFormat Leser::absatzFormatVon(QTextBlockFormat f, const AbsatzSchluessel &k)
{
    if (k.seitenumbruch)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    f.setAlignment(k.ausrichtung);
    f.setLeftMargin(k.links / TwipsProPixel);
    f.setRightMargin(k.rechts / TwipsProPixel);
    f.setTextIndent(k.erste / TwipsProPixel);
    f.setTopMargin(k.vorher / TwipsProPixel);
    f.setBottomMargin(k.nachher / TwipsProPixel);
    if (k.zeilenAbstand != 0) {
        if (k.zeilenMultipel && k.zeilenAbstand > 0)
            f.setLineHeight(k.zeilenAbstand * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (k.zeilenAbstand > 0)
            f.setLineHeight(k.zeilenAbstand / TwipsProPixel, QTextBlockFormat::MinimumHeight);
        else
            f.setLineHeight(-k.zeilenAbstand / TwipsProPixel, QTextBlockFormat::FixedHeight);
    }
    if (!k.tabs.isEmpty() || k.erste < 0)
        f.setTabPositions(tabsAbZeilenanfang(k));
    return f;
}

// The format of a paragraph with the state k on an empty base. Consecutive paragraphs mostly
// share their state, so the last one built is kept.
const QTextBlockFormat &Leser::neuesAbsatzFormat(const AbsatzSchluessel &k)
{
    if (!mLetztesAbsatzFormatGueltig || k != mLetzterAbsatzSchluessel) {
        mLetzterAbsatzSchluessel = k;
        mLetztesAbsatzFormat = absatzFormatVon(QTextBlockFormat(), k);
        mLetztesAbsatzFormatGueltig = true;
    }
    return mLetztesAbsatzFormat;
}

// Gives the cursor's block the paragraph format of the current state. A block this reader
// created already carries the state it was created with; it is only replaced when the state
// changed in the paragraph.
void Leser::absatzFormatSetzen()
{
    switch (mBlockStand) {
    case BlockStand::Vorhergesagt:
    case BlockStand::Schlicht: {
        const AbsatzSchluessel k = absatzSchluessel(mBlockSchluessel.seitenumbruch);
        if (mBlockStand == BlockStand::Schlicht || k != mBlockSchluessel)
            mCursor.setBlockFormat(neuesAbsatzFormat(k));
        // The paragraph is complete; a further setting merges as for any other block.
        mBlockStand = BlockStand::Unbekannt;
        return;
    }
    case BlockStand::Unbekannt:
        mCursor.setBlockFormat(absatzFormatVon(mCursor.blockFormat(), absatzSchluessel(false)));
        return;
    }
}

// The cursor leaves its block before the paragraph ended (a cell or row ends without a paragraph
// mark, a table starts): the block keeps the plain format it had without the prediction.
void Leser::blockVerlassen()
{
    if (mBlockStand == BlockStand::Vorhergesagt) {
        QTextBlockFormat schlicht;
        if (mBlockSchluessel.seitenumbruch)
            schlicht.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        mCursor.setBlockFormat(schlicht);
        mBlockStand = BlockStand::Schlicht;
    }
}

void Leser::tabelleVorbereiten()
{
    if (mZ.inTabelle) {
        if (!mTabelle) {
            laufAusgeben();
            blockVerlassen();
            QTextTableFormat tf;
            tf.setBorder(1);
            tf.setCellPadding(2);
            tf.setCellSpacing(0);
            mSpalten = std::clamp(mZellenDefiniert, 1, MaxSpalten);
            mTabelle = mCursor.insertTable(1, mSpalten, tf);
            mZeilenAngelegt = 1;
            mZeile = mSpalte = mZelleIndex = 0;
            mZeileBeendet = mNaechsteZelle = false;
            zelleBetreten();
        } else if (mZeileBeendet) {
            blockVerlassen();
            ++mZeile;
            mSpalte = 0;
            mZeileBeendet = mNaechsteZelle = false;
            if (mZeile >= mZeilenAngelegt) {
                const int position = mCursor.position();
                // Rows made ahead double the table up to about 1024 cells at a time: enough
                // to make appending cheap, few enough that removing the unused ones is (Qt
                // removes rows in time quadratic in the cells removed).
                const int neu = std::clamp(mZeilenAngelegt, 1, std::max(1, 1024 / mSpalten));
                mTabelle->appendRows(neu);
                mZeilenAngelegt += neu;
                // Rows are added behind the cursor; it may have been pushed along.
                mCursor.setPosition(position);
            }
            bool geaendert = false;
            if (mZellenDefiniert > mSpalten && mZellenDefiniert <= MaxSpalten) {
                mTabelle->appendColumns(mZellenDefiniert - mSpalten);
                mSpalten = mZellenDefiniert;
                geaendert = true;
            }
            zelleAnsteuern(geaendert);
        }
    } else if (mTabelle && mZeileBeendet) {
        blockVerlassen();
        tabelleAbschliessen();
        mCursor.setPosition(mTabelle->lastPosition() + 1);
        mTabelle = nullptr;
        // The block behind a table is created with the table and has an empty format.
        mBlockStand = BlockStand::Schlicht;
        mBlockSchluessel = AbsatzSchluessel();
    }
    if (mTabelle && mNaechsteZelle) {
        mNaechsteZelle = false;
        blockVerlassen();
        bool geaendert = false;
        if (mSpalte >= mSpalten) {
            if (mSpalten < MaxSpalten) {
                mTabelle->appendColumns(1);
                ++mSpalten;
                geaendert = true;
            } else {
                // Rows wider than any real table continue in their last cell.
                mSpalte = mSpalten - 1;
                if (mZeile * mSpalten + mSpalte == mZelleIndex) {
                    mCursor.insertText(QStringLiteral("\t"), mLaufFormat);
                    return;
                }
            }
        }
        zelleAnsteuern(geaendert);
    }
}

// Moves the cursor to the first position of cell (mZeile, mSpalte). Without a change of the
// table's structure the cells between the current one and the target are empty: each holds
// only its cell mark, one position.
void Leser::zelleAnsteuern(bool strukturGeaendert)
{
    const int ziel = mZeile * mSpalten + mSpalte;
    if (strukturGeaendert)
        mCursor = mTabelle->cellAt(mZeile, mSpalte).firstCursorPosition();
    else
        mCursor.setPosition(mCursor.position() + (ziel - mZelleIndex));
    mZelleIndex = ziel;
    zelleBetreten();
}

// Removes the rows made ahead that stayed unused.
void Leser::tabelleAbschliessen()
{
    if (mZeilenAngelegt > mZeile + 1) {
        // The cursor's block ends where the removed rows begin; removing them hands that
        // block the formats of the first removed cell, so they are put back.
        const int position = mCursor.position();
        const QTextBlockFormat absatz = mCursor.blockFormat();
        const QTextCharFormat zeichen = mCursor.blockCharFormat();
        mTabelle->removeRows(mZeile + 1, mZeilenAngelegt - mZeile - 1);
        mZeilenAngelegt = mZeile + 1;
        mCursor.setPosition(position);
        if (mCursor.blockFormat() != absatz)
            mCursor.setBlockFormat(absatz);
        if (mCursor.blockCharFormat() != zeichen)
            mCursor.setBlockCharFormat(zeichen);
    }
}

// The cursor stands in a new cell: its first block has an empty format, as the table creates it.
void Leser::zelleBetreten()
{
    mBlockStand = BlockStand::Schlicht;
    mBlockSchluessel = AbsatzSchluessel();
}

void Leser::absatz(bool seitenumbruch)
{
    bytesAusgeben();
    if (!platz(1))
        return;
    tabelleVorbereiten();
    laufAusgeben();
    absatzFormatSetzen();
    // The new paragraph usually keeps the paragraph state; it is created with that format so
    // that its end needs no further change.
    AbsatzSchluessel k = absatzSchluessel(seitenumbruch);
    mCursor.insertBlock(neuesAbsatzFormat(k), mLaufFormat);
    mBlockSchluessel = std::move(k);
    mBlockStand = BlockStand::Vorhergesagt;
}

void Leser::zelle()
{
    bytesAusgeben();
    if (!platz(1))
        return;
    if (!mTabelle || mZeileBeendet) {
        // A cell mark outside a table row opens one.
        mZ.inTabelle = true;
    }
    tabelleVorbereiten();
    laufAusgeben();
    absatzFormatSetzen();
    ++mSpalte;
    mNaechsteZelle = true;
}

void Leser::zeile()
{
    bytesAusgeben();
    laufAusgeben();
    if (!mTabelle)
        return;
    mZeileBeendet = true;
    mNaechsteZelle = false;
}

void Leser::schriftEintragFertig()
{
    if (mAktSchrift < 0 && mSchriftName.isEmpty())
        return;
    Schrift &s = mSchriften[mAktSchrift];
    QString name = mZeichensatz.dekodieren(mSchriftName, mCodepage).trimmed();
    if (name.endsWith(QLatin1Char(';')))
        name.chop(1);
    if (!name.isEmpty())
        s.name = name;
    if (s.codepage == RtfZeichensatz::SymbolSchrift &&
        s.name.contains(QLatin1String("Wingdings"), Qt::CaseInsensitive))
        s.codepage = RtfZeichensatz::WingdingsSchrift;
    mSchriftName.clear();
    mAktSchrift = -1;
    mFormatGueltig = false;
    mFormate.clear(); // a font's name may have changed
    mLaufSchluesselGesetzt = false;
}

void Leser::bildFertig()
{
    BildDaten b = std::move(mBild);
    mBild = BildDaten();
    if (b.art == BildDaten::Andere || b.zuGross || b.daten.isEmpty() || !imText() || mZ.verborgen)
        return;
    QBuffer puffer(&b.daten);
    puffer.open(QIODevice::ReadOnly);
    QImageReader leser(&puffer, b.art == BildDaten::Png ? "png" : "jpeg");
    // The size comes from the picture's header; nothing is decoded before it fits the budget.
    const QSize groesse = leser.size();
    if (!groesse.isValid() || groesse.isEmpty())
        return;
    // Decoded bytes, at least four per pixel: the display turns every picture into 32 bits.
    const QImage::Format format = leser.imageFormat();
    const int bits = format == QImage::Format_Invalid
                         ? 32
                         : std::max<int>(32, QImage::toPixelFormat(format).bitsPerPixel());
    const qint64 pixel = qint64(groesse.width()) * groesse.height();
    const qint64 kosten = pixel * (bits / 8);
    bytesAusgeben();
    if (pixel > RtfLeser::MaxBildPixel || kosten > mBildBytesFrei) {
        ++mBilderAusgelassen;
        textAusgeben(RtfLeser::bildPlatzhalter(groesse));
        return;
    }
    // The decoder may not allocate more than the header announced either.
    leser.setAllocationLimit(int((kosten >> 20) + 1));
    const QImage bild = leser.read();
    if (bild.isNull() || !platz(1))
        return;
    mBildBytesFrei -= std::max<qint64>(kosten, bild.sizeInBytes());
    tabelleVorbereiten();
    laufAusgeben();
    const QString name = QStringLiteral("rtfbild:%1").arg(++mBildNummer);
    mDoc.addResource(QTextDocument::ImageResource, QUrl(name), bild);
    QTextImageFormat f;
    f.setName(name);
    double w = b.zielBreite > 0 ? b.zielBreite / TwipsProPixel : bild.width();
    double h = b.zielHoehe > 0 ? b.zielHoehe / TwipsProPixel : bild.height();
    w = w * std::clamp(b.skalaX, 1, 1000) / 100.0;
    h = h * std::clamp(b.skalaY, 1, 1000) / 100.0;
    f.setWidth(w);
    f.setHeight(h);
    mCursor.insertImage(f);
}

void Leser::befehl(const WortInfo &info, bool hatParameter, int wert)
{
    const bool ignorierbar = mIgnorierbar;
    mIgnorierbar = false;
    const int p = hatParameter ? wert : 0;
    const bool ein = !hatParameter || wert != 0;

    // Inside skipped groups only the group structure matters, and \bin must still be honoured
    // so that binary data is not read as RTF.
    if (mUeberlauf > 0 || mZ.ziel == Ziel::Ueberspringen) {
        if (info.wort == Wort::Bin)
            binaer(p);
        return;
    }

    if (info.wort != Wort::Zeichen && info.wort != Wort::U && info.wort != Wort::Bin)
        bytesAusgeben();

    switch (info.wort) {
    case Wort::Unbekannt:
        if (ignorierbar)
            mZ.ziel = Ziel::Ueberspringen;
        break;
    case Wort::Rtf:
        mRtfGesehen = true;
        break;
    case Wort::Schrifttabelle:
        mZ.ziel = Ziel::Schrifttabelle;
        break;
    case Wort::Farbtabelle:
        mZ.ziel = Ziel::Farbtabelle;
        mRot = mGruen = mBlau = -1;
        break;
    case Wort::Ueberspringen:
    case Wort::FeldBefehl:
        mZ.ziel = Ziel::Ueberspringen;
        break;
    case Wort::Bild:
        mZ.ziel = Ziel::Bild;
        mBild = BildDaten();
        break;
    case Wort::FeldErgebnis:
    case Wort::Shppict:
        break;
    case Wort::Ansicpg:
        mCodepage = p > 0 ? p : 1252;
        break;
    case Wort::Ansi:
        mCodepage = 1252;
        break;
    case Wort::Mac:
        mCodepage = 10000;
        break;
    case Wort::Pc:
        mCodepage = 437;
        break;
    case Wort::Pca:
        mCodepage = 850;
        break;
    case Wort::Deff:
        mStandardSchrift = p;
        if (mStapel.size() <= 1)
            mZ.schrift = p;
        mFormatGueltig = false;
        break;
    case Wort::F:
        if (mZ.ziel == Ziel::Schrifttabelle) {
            if (mAktSchrift >= 0 || !mSchriftName.isEmpty())
                schriftEintragFertig();
            mAktSchrift = p;
            mSchriften[p];
        } else {
            mZ.schrift = p;
            mFormatGueltig = false;
        }
        break;
    case Wort::Fcharset:
        if (mZ.ziel == Ziel::Schrifttabelle && mAktSchrift >= 0) {
            Schrift &s = mSchriften[mAktSchrift];
            if (s.codepage == 0)
                s.codepage = RtfZeichensatz::codepageVonZeichensatz(p);
        }
        break;
    case Wort::Cpg:
        if (mZ.ziel == Ziel::Schrifttabelle && mAktSchrift >= 0 && p > 0)
            mSchriften[mAktSchrift].codepage = p;
        break;
    case Wort::Red:
        mRot = p;
        break;
    case Wort::Green:
        mGruen = p;
        break;
    case Wort::Blue:
        mBlau = p;
        break;
    case Wort::Plain:
        mZ.schrift = mStandardSchrift;
        mZ.groesse = 24;
        mZ.fett = mZ.kursiv = mZ.unterstrichen = mZ.durchgestrichen = mZ.verborgen = false;
        mZ.hochTief = 0;
        mZ.farbe = mZ.hintergrund = 0;
        mFormatGueltig = false;
        break;
    case Wort::B:
        mZ.fett = ein;
        mFormatGueltig = false;
        break;
    case Wort::I:
        mZ.kursiv = ein;
        mFormatGueltig = false;
        break;
    case Wort::Ul:
        mZ.unterstrichen = ein;
        mFormatGueltig = false;
        break;
    case Wort::Ulnone:
        mZ.unterstrichen = false;
        mFormatGueltig = false;
        break;
    case Wort::Strike:
        mZ.durchgestrichen = ein;
        mFormatGueltig = false;
        break;
    case Wort::Super:
        mZ.hochTief = ein ? 1 : 0;
        mFormatGueltig = false;
        break;
    case Wort::Sub:
        mZ.hochTief = ein ? -1 : 0;
        mFormatGueltig = false;
        break;
    case Wort::NoSuperSub:
        mZ.hochTief = 0;
        mFormatGueltig = false;
        break;
    case Wort::Up:
        mZ.hochTief = p != 0 ? 1 : 0;
        mFormatGueltig = false;
        break;
    case Wort::Dn:
        mZ.hochTief = p != 0 ? -1 : 0;
        mFormatGueltig = false;
        break;
    case Wort::V:
        mZ.verborgen = ein;
        break;
    case Wort::Fs:
        mZ.groesse = hatParameter && p > 0 ? p : 24;
        mFormatGueltig = false;
        break;
    case Wort::Cf:
        mZ.farbe = p;
        mFormatGueltig = false;
        break;
    case Wort::Cb:
    case Wort::Highlight:
        mZ.hintergrund = p;
        mFormatGueltig = false;
        break;
    case Wort::Uc:
        mZ.uc = std::clamp(p, 0, 16);
        break;
    case Wort::U: {
        int z = p;
        if (z < 0)
            z += 65536;
        // Symbol fonts are often written with their glyph numbers moved to U+F020..U+F0FF.
        if (z >= 0xF020 && z <= 0xF0FF) {
            const auto b = static_cast<unsigned char>(z & 0xFF);
            zeichenAusgeben(codepageAktuell() == RtfZeichensatz::WingdingsSchrift
                                ? RtfZeichensatz::wingdingsZeichen(b)
                                : RtfZeichensatz::symbolZeichen(b));
        } else if (z >= 0 && z <= 0xFFFF) {
            zeichenAusgeben(QChar(char16_t(z)));
        }
        mUeberspringen = mZ.uc;
        break;
    }
    case Wort::Pard: {
        const Zustand leer;
        mZ.ausrichtung = leer.ausrichtung;
        mZ.links = mZ.rechts = mZ.erste = mZ.vorher = mZ.nachher = mZ.zeilenAbstand = 0;
        mZ.zeilenMultipel = false;
        mZ.tabs.clear();
        mZ.tabArt = QTextOption::LeftTab;
        mZ.inTabelle = false;
        break;
    }
    case Wort::Ql:
        mZ.ausrichtung = Qt::AlignLeft;
        break;
    case Wort::Qr:
        mZ.ausrichtung = Qt::AlignRight;
        break;
    case Wort::Qc:
        mZ.ausrichtung = Qt::AlignHCenter;
        break;
    case Wort::Qj:
        mZ.ausrichtung = Qt::AlignJustify;
        break;
    case Wort::Li:
        mZ.links = std::clamp(p, -31680, 31680);
        break;
    case Wort::Ri:
        mZ.rechts = std::clamp(p, -31680, 31680);
        break;
    case Wort::Fi:
        mZ.erste = std::clamp(p, -31680, 31680);
        break;
    case Wort::Sb:
        mZ.vorher = std::clamp(p, 0, 31680);
        break;
    case Wort::Sa:
        mZ.nachher = std::clamp(p, 0, 31680);
        break;
    case Wort::Sl:
        mZ.zeilenAbstand = std::clamp(p, -31680, 31680);
        break;
    case Wort::SlMult:
        mZ.zeilenMultipel = p != 0;
        break;
    case Wort::Tqr:
        mZ.tabArt = QTextOption::RightTab;
        break;
    case Wort::Tqc:
        mZ.tabArt = QTextOption::CenterTab;
        break;
    case Wort::Tqdec:
        mZ.tabArt = QTextOption::DelimiterTab;
        break;
    case Wort::Tx:
    case Wort::Tb:
        if (mZ.tabs.size() < 64) {
            QTextOption::Tab tab(std::clamp(p, 0, 31680) / TwipsProPixel, mZ.tabArt,
                                 mZ.tabArt == QTextOption::DelimiterTab ? QChar('.') : QChar());
            mZ.tabs.append(tab);
        }
        mZ.tabArt = QTextOption::LeftTab;
        break;
    case Wort::InTbl:
        mZ.inTabelle = true;
        break;
    case Wort::Par:
    case Wort::Sect:
        if (imText())
            absatz(false);
        break;
    case Wort::Page:
        if (imText())
            absatz(true);
        break;
    case Wort::Line:
        zeichenAusgeben(QChar(QChar::LineSeparator));
        break;
    case Wort::Tab:
        zeichenAusgeben(QLatin1Char('\t'));
        break;
    case Wort::NestCell:
        zeichenAusgeben(QLatin1Char('\t'));
        break;
    case Wort::NestRow:
        zeichenAusgeben(QChar(QChar::LineSeparator));
        break;
    case Wort::Zeichen:
        zeichenAusgeben(QChar(info.zeichen));
        break;
    case Wort::Cell:
        if (imText())
            zelle();
        break;
    case Wort::Row:
        if (imText())
            zeile();
        break;
    case Wort::Trowd:
        mZellenDefiniert = 0;
        break;
    case Wort::Cellx:
        ++mZellenDefiniert;
        break;
    case Wort::Bin:
        binaer(p);
        break;
    case Wort::Pngblip:
        mBild.art = BildDaten::Png;
        break;
    case Wort::Jpegblip:
        mBild.art = BildDaten::Jpeg;
        break;
    case Wort::Picw:
        mBild.breite = p;
        break;
    case Wort::Pich:
        mBild.hoehe = p;
        break;
    case Wort::Picwgoal:
        mBild.zielBreite = std::clamp(p, 0, 31680 * 4);
        break;
    case Wort::Pichgoal:
        mBild.zielHoehe = std::clamp(p, 0, 31680 * 4);
        break;
    case Wort::Picscalex:
        mBild.skalaX = p;
        break;
    case Wort::Picscaley:
        mBild.skalaY = p;
        break;
    }
}

bool istRtf(const QByteArray &daten, qsizetype &anfang)
{
    qsizetype i = 0;
    if (daten.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < daten.size() &&
           (daten[i] == ' ' || daten[i] == '\t' || daten[i] == '\r' || daten[i] == '\n'))
        ++i;
    anfang = i;
    return QByteArrayView(daten).sliced(i).startsWith("{\\rtf");
}

QString alsText(const QByteArray &daten)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString s = utf8.decode(daten);
    if (!utf8.hasError())
        return s.startsWith(QChar(0xFEFF)) ? s.mid(1) : s;
    RtfZeichensatz z;
    return z.dekodieren(daten, 1252);
}

} // namespace

bool RtfLeser::lesen(const QByteArray &rtf, QTextDocument &doc)
{
    return lesen(rtf, doc, Grenzen()).rtf;
}

RtfLeser::Ergebnis RtfLeser::lesen(const QByteArray &rtf, QTextDocument &doc,
                                   const Grenzen &grenzen)
{
    Ergebnis ergebnis;
    doc.clear();
    qsizetype anfang = 0;
    if (!istRtf(rtf, anfang)) {
        QString text = alsText(rtf);
        if (grenzen.maxZeichen > 0 && text.size() > grenzen.maxZeichen) {
            qsizetype n = grenzen.maxZeichen;
            if (text[n - 1].isHighSurrogate())
                --n;
            text.truncate(n);
            ergebnis.gekuerzt = true;
        }
        doc.setPlainText(text);
        return ergebnis;
    }
    ergebnis.rtf = true;
    // One edit block for the whole document: the document then settles its frames (tables)
    // once at the end instead of after every table, which would cost quadratic time.
    const bool rueckgaengig = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    QTextCursor block(&doc);
    block.beginEditBlock();
    {
        Leser leser(QByteArray::fromRawData(rtf.constData() + anfang, rtf.size() - anfang), doc,
                    grenzen);
        leser.lesen();
        ergebnis.gekuerzt = leser.gekuerzt();
        ergebnis.bilderAusgelassen = leser.bilderAusgelassen();
    }
    block.endEditBlock();
    doc.setUndoRedoEnabled(rueckgaengig);
    return ergebnis;
}

QString RtfLeser::bildPlatzhalter(const QSize &groesse)
{
    return QStringLiteral("[Bild %1 \u00D7 %2 nicht geladen]")
        .arg(groesse.width())
        .arg(groesse.height());
}

bool RtfLesen(const QByteArray &rtf, QTextDocument &doc)
{
    return RtfLeser::lesen(rtf, doc);
}

namespace {

// The RTF bytes of a text whose characters are the bytes; characters beyond 0xFF become \u.
QByteArray alsBytes(const QString &rtf)
{
    if (std::all_of(rtf.cbegin(), rtf.cend(), [](QChar c) { return c.unicode() <= 0xFF; }))
        return rtf.toLatin1();
    QByteArray bytes;
    bytes.reserve(rtf.size());
    for (QChar c : rtf) {
        if (c.unicode() <= 0xFF)
            bytes += char(c.unicode());
        else
            bytes += "{\\uc1\\u" + QByteArray::number(qint16(c.unicode())) + "?}";
    }
    return bytes;
}

} // namespace

bool RtfLesen(const QString &rtf, QTextDocument &doc)
{
    return RtfLeser::lesen(alsBytes(rtf), doc);
}

RtfLeser::Ergebnis RtfLesen(const QString &rtf, QTextDocument &doc,
                            const RtfLeser::Grenzen &grenzen)
{
    return RtfLeser::lesen(alsBytes(rtf), doc, grenzen);
}
