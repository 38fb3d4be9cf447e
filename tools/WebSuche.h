// The full-text search of the web pages: the data the browser searches with, written beside the
// pages (suche/index.js and the plain texts in suche/texte-N.js, each assigning a global, so that
// the search also works from files opened without a web server). The browser's script
// (web/suche.js) does what the help's search does (helpdb/Volltext*): the same search forms,
// the same terms, the same ranking, the same corrections; it takes the words' search forms from
// here, as the help's index was built with them:
// - per section (in the help's order) its number, titles, page, ID and the search forms of its
//   title with its keywords and of its text, as the index holds them;
// - every word of the help and the inflected forms of its verbs and adjectives that the German
//   dictionary confirms, each with its search form, so that "stornierte" typed in the browser
//   meets "stornieren" without the dictionary there;
// - the vocabulary (Volltext::Wortschatz) for corrections and compounds, the keywords, the
//   function words and the separable prefixes.
#pragma once

#include "HilfeBaum.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace WebSuche {

// Sections per file of plain texts.
inline constexpr int AbschnitteJeTextdatei = 200;

// The files (path below the site's root, content) for the reachable sections of baum.
QList<QPair<QString, QByteArray>> dateien(const HilfeBaum &baum);

} // namespace WebSuche
