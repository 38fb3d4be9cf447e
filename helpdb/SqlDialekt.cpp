// The LIKE function and the German collation of the help database (see SqlDialekt.h).
// Both are on the hot path of the keyword search: LIKE runs once per keyword, the collation
// some n log n times per sort, so both work on UTF-8 bytes with an ASCII fast path and a table
// for the Latin letters, and a compiled LIKE pattern is cached per statement.
#include "SqlDialekt.h"

#include <QByteArray>
#include <QChar>
#include <QString>

#include <sqlite3.h>

#include <array>
#include <cstring>
#include <vector>

namespace {

// What a character contributes to the order and to matching.
struct Gewicht
{
    char32_t primaer1 = 0; // base letter, small
    char32_t primaer2 = 0; // second base letter of an expansion (ß -> ss), else 0
    quint8 akzent = 0;     // 1 for a letter with a diacritic (ä) or ß
    quint8 gross = 0;      // 1 for a capital letter
    char32_t gefaltet = 0; // the character without regard to case, for LIKE
};

constexpr char32_t TabellenGrenze = 0x250; // Latin letters up to IPA extensions

Gewicht gewichtBerechnen(char32_t z)
{
    Gewicht g;
    const char32_t gefaltet = QChar::toCaseFolded(z);
    g.gefaltet = gefaltet;
    g.gross = gefaltet != z ? 1 : 0;
    if (gefaltet == 0xDF || z == 0x1E9E) { // ß and capital ß sort as "ss"
        g.gefaltet = 0xDF;
        g.primaer1 = 's';
        g.primaer2 = 's';
        g.akzent = 1;
        g.gross = z == 0x1E9E ? 1 : 0;
        return g;
    }
    char32_t basis = gefaltet;
    while (QChar::decompositionTag(basis) == QChar::Canonical) {
        const QString zerlegt = QChar::decomposition(basis);
        if (zerlegt.isEmpty())
            break;
        const char32_t erstes = zerlegt.at(0).isHighSurrogate() && zerlegt.size() > 1
                                    ? QChar::surrogateToUcs4(zerlegt.at(0), zerlegt.at(1))
                                    : zerlegt.at(0).unicode();
        if (erstes == basis)
            break;
        basis = erstes;
    }
    g.primaer1 = basis;
    g.akzent = basis != gefaltet ? 1 : 0;
    return g;
}

const std::array<Gewicht, TabellenGrenze> &tabelle()
{
    static const std::array<Gewicht, TabellenGrenze> t = [] {
        std::array<Gewicht, TabellenGrenze> a{};
        for (char32_t z = 0; z < TabellenGrenze; ++z)
            a[z] = gewichtBerechnen(z);
        return a;
    }();
    return t;
}

inline Gewicht gewicht(char32_t z)
{
    if (z < TabellenGrenze)
        return tabelle()[z];
    return gewichtBerechnen(z);
}

// Decodes one UTF-8 character at p (p < end); a broken sequence yields its first byte.
inline char32_t naechstes(const unsigned char *&p, const unsigned char *end)
{
    const unsigned char b = *p++;
    if (b < 0x80)
        return b;
    int folgen = 0;
    char32_t z = 0;
    if ((b & 0xE0) == 0xC0) {
        folgen = 1;
        z = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
        folgen = 2;
        z = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
        folgen = 3;
        z = b & 0x07;
    } else {
        return b;
    }
    if (end - p < folgen)
        return b;
    for (int i = 0; i < folgen; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return b;
        z = (z << 6) | (p[i] & 0x3F);
    }
    p += folgen;
    return z;
}

// Walks a UTF-8 text as a sequence of primary weights (expansions give two).
struct GewichtLeser
{
    const unsigned char *p;
    const unsigned char *end;
    char32_t offen = 0; // second half of an expansion
    quint8 offenAkzent = 0;
    quint8 offenGross = 0;

    bool fertig() const { return offen == 0 && p >= end; }

    void lesen(char32_t &primaer, quint8 &akzent, quint8 &gross)
    {
        if (offen) {
            primaer = offen;
            akzent = offenAkzent;
            gross = offenGross;
            offen = 0;
            return;
        }
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
            const bool istGross = b >= 'A' && b <= 'Z';
            primaer = istGross ? char32_t(b + 32) : char32_t(b);
            akzent = 0;
            gross = istGross ? 1 : 0;
            return;
        }
        const Gewicht g = gewicht(naechstes(p, end));
        primaer = g.primaer1;
        akzent = g.akzent;
        gross = g.gross;
        if (g.primaer2) {
            offen = g.primaer2;
            offenAkzent = g.akzent;
            offenGross = g.gross;
        }
    }
};

// A compiled LIKE pattern.
struct Muster
{
    enum Art : quint8 { Zeichen, EinesBeliebig, FolgeBeliebig, Klasse };
    struct Teil
    {
        Art art;
        bool negiert = false;
        char32_t zeichen = 0;
        int von = 0; // ranges [von, bis) in bereiche
        int bis = 0;
    };
    std::vector<Teil> teile;
    std::vector<std::pair<char32_t, char32_t>> bereiche;

    bool klassePasst(const Teil &t, char32_t z) const
    {
        bool drin = false;
        for (int i = t.von; i < t.bis && !drin; ++i)
            drin = z >= bereiche[i].first && z <= bereiche[i].second;
        return drin != t.negiert;
    }

    bool einzelnPasst(const Teil &t, char32_t z) const
    {
        switch (t.art) {
        case Zeichen:
            return t.zeichen == z;
        case EinesBeliebig:
            return true;
        case Klasse:
            return klassePasst(t, z);
        case FolgeBeliebig:
            break;
        }
        return false;
    }

    // Classic wildcard walk: every part but "%" takes exactly one character, so returning to
    // the last "%" with one more character swallowed finds a match if there is one.
    bool passt(const std::vector<char32_t> &text) const
    {
        const size_t n = text.size();
        const size_t m = teile.size();
        size_t ti = 0;
        size_t pi = 0;
        size_t sternP = SIZE_MAX;
        size_t sternT = 0;
        while (ti < n) {
            if (pi < m && teile[pi].art == FolgeBeliebig) {
                sternP = pi++;
                sternT = ti;
            } else if (pi < m && einzelnPasst(teile[pi], text[ti])) {
                ++pi;
                ++ti;
            } else if (sternP != SIZE_MAX) {
                pi = sternP + 1;
                ti = ++sternT;
            } else {
                return false;
            }
        }
        while (pi < m && teile[pi].art == FolgeBeliebig)
            ++pi;
        return pi == m;
    }
};

inline char32_t falten(char32_t z)
{
    if (z < 0x80)
        return (z >= 'A' && z <= 'Z') ? z + 32 : z;
    return gewicht(z).gefaltet;
}

void dekodieren(const unsigned char *p, const unsigned char *end, std::vector<char32_t> &aus)
{
    aus.clear();
    while (p < end) {
        if (*p < 0x80) {
            const unsigned char b = *p++;
            aus.push_back((b >= 'A' && b <= 'Z') ? char32_t(b + 32) : char32_t(b));
        } else {
            aus.push_back(falten(naechstes(p, end)));
        }
    }
}

Muster uebersetzen(const std::vector<char32_t> &z)
{
    Muster m;
    const size_t n = z.size();
    for (size_t i = 0; i < n; ++i) {
        const char32_t c = z[i];
        if (c == '%') {
            if (m.teile.empty() || m.teile.back().art != Muster::FolgeBeliebig)
                m.teile.push_back({Muster::FolgeBeliebig});
        } else if (c == '_') {
            m.teile.push_back({Muster::EinesBeliebig});
        } else if (c == '[') {
            size_t zu = i + 1;
            while (zu < n && z[zu] != ']')
                ++zu;
            if (zu >= n) { // unclosed: the bracket stands for itself
                m.teile.push_back({Muster::Zeichen, false, c});
                continue;
            }
            size_t j = i + 1;
            Muster::Teil t{Muster::Klasse};
            if (zu - j > 1 && z[j] == '!') {
                t.negiert = true;
                ++j;
            }
            t.von = int(m.bereiche.size());
            while (j < zu) {
                if (j + 2 < zu && z[j + 1] == '-') {
                    m.bereiche.emplace_back(z[j], z[j + 2]);
                    j += 3;
                } else {
                    m.bereiche.emplace_back(z[j], z[j]);
                    ++j;
                }
            }
            t.bis = int(m.bereiche.size());
            if (t.von < t.bis) // an empty class "[]" takes no character
                m.teile.push_back(t);
            i = zu;
        } else {
            m.teile.push_back({Muster::Zeichen, false, c});
        }
    }
    return m;
}

std::vector<char32_t> gefaltet(QStringView s)
{
    const QByteArray u = s.toUtf8();
    std::vector<char32_t> v;
    const auto *p = reinterpret_cast<const unsigned char *>(u.constData());
    dekodieren(p, p + u.size(), v);
    return v;
}

void musterFreigeben(void *p)
{
    delete static_cast<Muster *>(p);
}

void likeFunktion(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (argc != 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL ||
        sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    thread_local std::vector<char32_t> puffer;
    auto *m = static_cast<Muster *>(sqlite3_get_auxdata(ctx, 0));
    if (!m) {
        const auto *p = sqlite3_value_text(argv[0]);
        const int n = sqlite3_value_bytes(argv[0]);
        dekodieren(p, p + n, puffer);
        m = new Muster(uebersetzen(puffer));
        sqlite3_set_auxdata(ctx, 0, m, musterFreigeben);
        // SQLite may have dropped the pattern at once; fetch it again to be safe.
        m = static_cast<Muster *>(sqlite3_get_auxdata(ctx, 0));
        if (!m) {
            const Muster einmal = uebersetzen(puffer);
            const auto *t = sqlite3_value_text(argv[1]);
            dekodieren(t, t + sqlite3_value_bytes(argv[1]), puffer);
            sqlite3_result_int(ctx, einmal.passt(puffer) ? 1 : 0);
            return;
        }
    }
    const auto *t = sqlite3_value_text(argv[1]);
    const int n = sqlite3_value_bytes(argv[1]);
    dekodieren(t, t + n, puffer);
    sqlite3_result_int(ctx, m->passt(puffer) ? 1 : 0);
}

int sortierung(void *, int laengeA, const void *a, int laengeB, const void *b)
{
    return SqlDialekt::vergleichen(static_cast<const char *>(a), laengeA,
                                   static_cast<const char *>(b), laengeB);
}

void sortierungFehlt(void *, sqlite3 *db, int, const char *name)
{
    sqlite3_create_collation_v2(db, name, SQLITE_UTF8, nullptr, sortierung, nullptr);
}

} // namespace

namespace SqlDialekt {

int vergleichen(const char *a, int laengeA, const char *b, int laengeB)
{
    const auto *ua = reinterpret_cast<const unsigned char *>(a);
    const auto *ub = reinterpret_cast<const unsigned char *>(b);
    GewichtLeser la{ua, ua + laengeA};
    GewichtLeser lb{ub, ub + laengeB};
    int akzentUnterschied = 0;
    int grossUnterschied = 0;
    while (!la.fertig() && !lb.fertig()) {
        char32_t pa, pb;
        quint8 aa, ab, ga, gb;
        la.lesen(pa, aa, ga);
        lb.lesen(pb, ab, gb);
        if (pa != pb)
            return pa < pb ? -1 : 1;
        if (!akzentUnterschied && aa != ab)
            akzentUnterschied = aa < ab ? -1 : 1;
        if (!grossUnterschied && ga != gb)
            grossUnterschied = ga < gb ? -1 : 1;
    }
    if (!la.fertig())
        return 1;
    if (!lb.fertig())
        return -1;
    if (akzentUnterschied)
        return akzentUnterschied;
    if (grossUnterschied)
        return grossUnterschied;
    const int r = std::memcmp(a, b, size_t(qMin(laengeA, laengeB)));
    if (r)
        return r < 0 ? -1 : 1;
    return laengeA == laengeB ? 0 : (laengeA < laengeB ? -1 : 1);
}

int vergleichen(QStringView a, QStringView b)
{
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    return vergleichen(ua.constData(), int(ua.size()), ub.constData(), int(ub.size()));
}

bool passt(QStringView text, QStringView muster)
{
    return uebersetzen(gefaltet(muster)).passt(gefaltet(text));
}

int registrieren(sqlite3 *db)
{
    int rc = sqlite3_create_function_v2(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                        likeFunktion, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    rc = sqlite3_create_collation_v2(db, SortierungName, SQLITE_UTF8, nullptr, sortierung, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    return sqlite3_collation_needed(db, nullptr, sortierungFehlt);
}

} // namespace SqlDialekt
