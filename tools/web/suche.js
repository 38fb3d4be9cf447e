/* The full-text search of the help's web pages. It does what the help's own search does, on the
   data hilfedb web wrote from the same database (suche/index.js, suche/texte-N.js):
   - search forms: a word's key (small letters, "ß" as "ss", accents off but for umlauts, "ae",
     "oe", "ue" as umlauts), function words left out, the form the help gave the word (also the
     inflected forms of its verbs and adjectives), else the German Snowball stem with the "-t"
     of participles cut;
   - terms: words, phrases in quotes, prefixes from three characters, the compounds a word ends
     and a compound's parts near each other (few words), a separable prefix standing apart;
     all terms (AND) up to two words, else those holding most first (OR);
   - unknown words: split into two known ones, a verb without its separable prefix, or
     corrected to the nearest word of the help ("Meinten Sie");
   - ranking: terms held, a keyword equal to the search, BM25F (title 4, text 1), section ID.
   The page suche.html shows the hits; every page's search field leads there. */
(function () {
  "use strict";

  var MINDEST_PRAEFIX = 3, MINDEST_ODER = 3, MAX_BEGRIFFE = 16, MAX_WORT = 64;
  var MINDEST_TEIL = 4, TEIL_VORLAUF = 3, MAX_TEILE = 20, TEIL_GEWICHT = 0.5, TEILE_ABSTAND = 6;
  var MINDEST_KORREKTUR = 3, KURZES_WORT = 4, MAX_TREFFER = 100;
  var GEWICHTE = [4.0, 1.0], K1 = 1.2, B = 0.75;

  var D = null;          // the data of suche/index.js
  var formNr = null;     // search form -> its number
  var stopp = null, praefixe = null, stichwortMenge = null;
  var folgen = null;     // per section [title forms, text forms] as Int32Array
  var postings = null;   // per form: [section, column, position, ...]

  // ---- Words and search forms ----------------------------------------------------------------

  function vokal(c) { return c.length === 1 && "aeiouyäöü".indexOf(c) >= 0; }
  function buchstabe(c) { return /\p{L}/u.test(c); }
  function wortZeichen(c) { return /[\p{L}\p{N}]/u.test(c); }

  function ohneMarken(s) { return s.normalize("NFD").replace(/\p{Mn}/gu, ""); }

  function akzenteAusserUmlauten(s) {
    var aus = "";
    for (var i = 0; i < s.length; i++) {
      var c = s[i];
      aus += c.charCodeAt(0) < 0x80 || "äöüß".indexOf(c) >= 0 ? c : ohneMarken(c);
    }
    return aus;
  }

  function schluessel(wort) {
    var klein = akzenteAusserUmlauten(wort.toLowerCase());
    var aus = "";
    for (var i = 0; i < klein.length; i++) {
      var c = klein[i];
      if (c === "ß") { aus += "ss"; continue; }
      var folgtE = i + 1 < klein.length && klein[i + 1] === "e";
      var vor = i > 0 ? klein[i - 1] : "";
      if (folgtE && (c === "a" || c === "o" || c === "u") && !vokal(vor) &&
          !(c === "u" && vor === "q")) {
        aus += c === "a" ? "ä" : c === "o" ? "ö" : "ü";
        i++;
        continue;
      }
      aus += c;
    }
    return aus;
  }

  // The German Snowball stemmer, as libstemmer does it.
  function stamm(wort) {
    var w = wort.replace(/ß/g, "ss").split("");
    var v = vokal;
    for (var i = 1; i + 1 < w.length; i++) {
      if (v(w[i - 1]) && v(w[i + 1])) {
        if (w[i] === "u") w[i] = "U"; else if (w[i] === "y") w[i] = "Y";
      }
    }
    var n = w.length, p1 = n, p2 = n;
    var region = function (von) {
      var j = von;
      while (j < n && !v(w[j])) j++;
      while (j < n && v(w[j])) j++;
      return j < n ? j + 1 : n;
    };
    if (n >= 3) {
      p1 = region(0);
      p2 = region(p1);
      if (p1 < 3) p1 = 3;
    }
    var s = w.join("");
    var endet = function (e) { return s.length >= e.length && s.slice(-e.length) === e; };
    var laengste = function (liste) {
      var beste = "";
      liste.forEach(function (e) { if (e.length > beste.length && endet(e)) beste = e; });
      return beste;
    };
    var vorher = function (e) { return s.charAt(s.length - e.length - 1); };
    // Step 1.
    var e = laengste(["em", "ern", "er", "e", "en", "es", "s"]);
    if (e && s.length - e.length >= p1) {
      if (e === "s") {
        if ("bdfghklmnrt".indexOf(vorher(e)) >= 0 && vorher(e) !== "") s = s.slice(0, -1);
      } else {
        s = s.slice(0, -e.length);
        if ((e === "e" || e === "en" || e === "es") && endet("niss")) s = s.slice(0, -1);
      }
    }
    // Step 2.
    e = laengste(["en", "er", "est", "st"]);
    if (e && s.length - e.length >= p1) {
      if (e === "st") {
        if (vorher(e) !== "" && "bdfghklmnt".indexOf(vorher(e)) >= 0 && s.length >= 6)
          s = s.slice(0, -2);
      } else {
        s = s.slice(0, -e.length);
      }
    }
    // Step 3.
    e = laengste(["end", "ung", "ig", "ik", "isch", "lich", "heit", "keit"]);
    if (e && s.length - e.length >= p2) {
      if (e === "end" || e === "ung") {
        s = s.slice(0, -e.length);
        if (endet("ig") && s.length - 2 >= p2 && s.charAt(s.length - 3) !== "e")
          s = s.slice(0, -2);
      } else if (e === "ig" || e === "ik" || e === "isch") {
        if (vorher(e) !== "e") s = s.slice(0, -e.length);
      } else if (e === "lich" || e === "heit") {
        s = s.slice(0, -e.length);
        if ((endet("er") || endet("en")) && s.length - 2 >= p1) s = s.slice(0, -2);
      } else {
        s = s.slice(0, -e.length);
        var f = laengste(["lich", "ig"]);
        if (f && s.length - f.length >= p2) s = s.slice(0, -f.length);
      }
    }
    return s.replace(/U/g, "u").replace(/Y/g, "y").replace(/ä/g, "a").replace(/ö/g, "o")
      .replace(/ü/g, "u");
  }

  function konsonant(c) { return buchstabe(c) && !vokal(c); }

  // The search form of a word ("" for a function word).
  function suchform(wort) {
    if (!wort) return "";
    var k = schluessel(wort);
    if (stopp.has(k)) return "";
    if (Object.prototype.hasOwnProperty.call(D.woerter, k)) return D.formen[D.woerter[k]];
    var f = stamm(k), n = f.length;
    if (n >= 7 && f.slice(-2) === "et" && (f[n - 3] === "d" || f[n - 3] === "t"))
      f = f.slice(0, -2);
    else if (n >= 6 && f[n - 1] === "t" && konsonant(f[n - 2]) && f[n - 2] !== "t")
      f = f.slice(0, -1);
    return /^[\x00-\x7f]*$/.test(f) ? f : ohneMarken(f);
  }

  // The words of a text with their places and forms.
  function woerter(text) {
    var liste = [], re = /[\p{L}\p{N}]+/gu, m;
    while ((m = re.exec(text)) !== null) {
      var f = suchform(m[0]);
      if (f) liste.push({ anfang: m.index, laenge: m[0].length, form: f });
    }
    return liste;
  }

  // Edits between two words (optimal string alignment), at most hoechstens + 1.
  function abstand(a, b, hoechstens) {
    var n = a.length, m = b.length;
    if (Math.abs(n - m) > hoechstens) return hoechstens + 1;
    var z2 = new Array(m + 1).fill(0), z1 = [], z0 = new Array(m + 1).fill(0);
    for (var j = 0; j <= m; j++) z1[j] = j;
    for (var i = 1; i <= n; i++) {
      z0[0] = i;
      var kleinste = i;
      for (j = 1; j <= m; j++) {
        var d = Math.min(z1[j] + 1, z0[j - 1] + 1, z1[j - 1] + (a[i - 1] === b[j - 1] ? 0 : 1));
        if (i > 1 && j > 1 && a[i - 1] === b[j - 2] && a[i - 2] === b[j - 1])
          d = Math.min(d, z2[j - 2] + 1);
        z0[j] = d;
        kleinste = Math.min(kleinste, d);
      }
      if (kleinste > hoechstens) return hoechstens + 1;
      var t = z2; z2 = z1; z1 = z0; z0 = t;
    }
    return Math.min(z1[m], hoechstens + 1);
  }

  // ---- The vocabulary -----------------------------------------------------------------------

  var formAbschnitte = null; // per form number: the most sections of a word with that form

  function korrektur(wort) {
    var k = schluessel(wort);
    if (k.length < MINDEST_KORREKTUR || /\p{N}/u.test(k)) return null;
    var erlaubt = k.length <= KURZES_WORT ? 1 : 2, beste = null, besterAbstand = erlaubt + 1;
    D.vokabeln.forEach(function (v) {
      var d = abstand(k, v[0], erlaubt);
      if (d > erlaubt || d === 0 || /\p{N}/u.test(v[0])) return;
      if (d < besterAbstand || (d === besterAbstand && v[3] > beste[3])) {
        beste = v;
        besterAbstand = d;
      }
    });
    return beste;
  }

  function spaetereTeile(form) {
    if (form.length < MINDEST_TEIL) return [];
    var teile = [];
    D.formen.forEach(function (f, i) {
      if (formAbschnitte[i] > 0 && f.length >= form.length + TEIL_VORLAUF &&
          f.slice(-form.length) === form && f.slice(0, form.length) !== form)
        teile.push([f, formAbschnitte[i]]);
    });
    teile.sort(function (a, b) { return b[1] - a[1]; }); // stable: by form within
    return teile.slice(0, MAX_TEILE).map(function (t) { return t[0]; });
  }

  function zerlegung(wort) {
    var k = schluessel(wort);
    var da = function (f) { return f !== "" && formNr.has(f) && formAbschnitte[formNr.get(f)] > 0; };
    for (var i = k.length - MINDEST_TEIL; i >= 3; i--) {
      var rechts = suchform(k.slice(i));
      if (!da(rechts)) continue;
      var laengen = [i, i - 1];
      for (var j = 0; j < 2; j++) {
        var l = laengen[j];
        if (l < i && (l < 3 || k[l] !== "s")) continue;
        var links = suchform(k.slice(0, l));
        if (da(links)) return [links, rechts];
      }
    }
    return [];
  }

  // ---- The query ------------------------------------------------------------------------------

  function anfuehrung(c) { return "\"„“”".indexOf(c) >= 0; }
  function operatorWort(w) { return w === "NEAR" || w === "AND" || w === "OR" || w === "NOT"; }

  function roheWoerter(eingabe) {
    var zeichen = Array.from(eingabe), quotes = 0;
    zeichen.forEach(function (c) { if (anfuehrung(c)) quotes++; });
    var gepaart = quotes - (quotes % 2), gesehen = 0, drinnen = false, phrase = -1, liste = [];
    for (var i = 0; i < zeichen.length;) {
      var c = zeichen[i];
      if (anfuehrung(c)) {
        if (gesehen < gepaart) { drinnen = !drinnen; if (drinnen) phrase++; }
        gesehen++; i++;
        continue;
      }
      if (!wortZeichen(c)) { i++; continue; }
      var anfang = i;
      while (i < zeichen.length && wortZeichen(zeichen[i])) i++;
      var wort = zeichen.slice(anfang, i).join("");
      liste.push({ wort: wort, inPhrase: drinnen, phrase: drinnen ? phrase : -1 });
      if (!drinnen && wort === "NEAR" && i < zeichen.length && zeichen[i] === "/") {
        var j = i + 1;
        while (j < zeichen.length && /[0-9]/.test(zeichen[j])) j++;
        if (j > i + 1) i = j;
      }
    }
    return liste;
  }

  function anfrageZerlegen(eingabe) {
    var roh = roheWoerter(eingabe);
    var nurOperatoren = roh.every(function (r) { return !r.inPhrase && operatorWort(r.wort); });
    var a = { begriffe: [], woerter: [], satz: false }, letztePhrase = -1;
    roh.forEach(function (r) {
      if (!r.inPhrase && operatorWort(r.wort) && !nurOperatoren) return;
      var wort = Array.from(r.wort).slice(0, MAX_WORT).join("");
      var form = suchform(wort);
      if (!form) { a.satz = a.satz || !r.inPhrase; return; }
      a.woerter.push(wort);
      if (r.inPhrase && r.phrase === letztePhrase && a.begriffe.length) {
        var b = a.begriffe[a.begriffe.length - 1];
        b.formen.push(form);
        b.wort = "";
      } else {
        a.begriffe.push({ formen: [form], wort: wort, teile: [], getrennt: [] });
      }
      letztePhrase = r.inPhrase ? r.phrase : -1;
    });
    roh.forEach(function (r) {
      var p = r.wort.toLowerCase();
      if (r.inPhrase || !praefixe.has(p)) return;
      a.begriffe.forEach(function (b) {
        if (b.formen.length > 1 || b.wort.toLowerCase() === p) return;
        var f = suchform(p + b.wort.toLowerCase());
        if (f && f !== b.formen[0] && b.teile.indexOf(f) < 0) b.teile.push(f);
      });
    });
    var eindeutig = [];
    a.begriffe.forEach(function (b) {
      var doppelt = eindeutig.some(function (e) { return e.formen.join(" ") === b.formen.join(" "); });
      if (!doppelt && eindeutig.length < MAX_BEGRIFFE) eindeutig.push(b);
    });
    a.begriffe = eindeutig;
    return a;
  }

  // ---- Matching and ranking --------------------------------------------------------------------

  function laden() {
    if (folgen) return;
    formNr = new Map();
    D.formen.forEach(function (f, i) { formNr.set(f, i); });
    stopp = new Set(D.stopp);
    praefixe = new Set(D.praefixe);
    formAbschnitte = new Int32Array(D.formen.length);
    D.vokabeln.forEach(function (v) {
      formAbschnitte[v[2]] = Math.max(formAbschnitte[v[2]], v[3]);
    });
    var zerlegen = function (s) {
      return s ? Int32Array.from(s.split(" "), function (x) { return parseInt(x, 36); })
               : new Int32Array(0);
    };
    folgen = D.folgen.map(function (f) {
      var t = f.split("|");
      return [zerlegen(t[0]), zerlegen(t[1])];
    });
    // Per form: where it stands (section, column, position).
    var anzahl = new Int32Array(D.formen.length + 1);
    folgen.forEach(function (s) { s.forEach(function (sp) { sp.forEach(function (f) { anzahl[f + 1]++; }); }); });
    for (var i = 1; i < anzahl.length; i++) anzahl[i] += anzahl[i - 1];
    var stellen = new Int32Array(anzahl[D.formen.length] * 3), frei = anzahl.slice(0, -1);
    folgen.forEach(function (s, d) {
      s.forEach(function (sp, c) {
        sp.forEach(function (f, p) {
          var o = frei[f]++ * 3;
          stellen[o] = d; stellen[o + 1] = c; stellen[o + 2] = p;
        });
      });
    });
    postings = { anfang: anzahl, stellen: stellen };
    stichwortMenge = new Map();
    D.stichwoerter.forEach(function (s) {
      var k = s[0].toLowerCase();
      stichwortMenge.set(k, (stichwortMenge.get(k) || []).concat(s[1]));
    });
  }

  // The form numbers a search form matches: those beginning with it (from MINDEST_PRAEFIX
  // characters), else the one equal to it; as a range [von, bis).
  function bereich(form, praefix) {
    var lo = 0, hi = D.formen.length;
    while (lo < hi) { var m = (lo + hi) >> 1; if (D.formen[m] < form) lo = m + 1; else hi = m; }
    if (!(praefix && form.length >= MINDEST_PRAEFIX))
      return lo < D.formen.length && D.formen[lo] === form ? [lo, lo + 1] : [lo, lo];
    var bis = lo;
    while (bis < D.formen.length && D.formen[bis].slice(0, form.length) === form) bis++;
    return [lo, bis];
  }

  // The places (section, column, position) of the words of a range.
  function stellenVon(r, f) {
    for (var id = r[0]; id < r[1]; id++)
      for (var o = postings.anfang[id]; o < postings.anfang[id + 1]; o++)
        f(postings.stellen[o * 3], postings.stellen[o * 3 + 1], postings.stellen[o * 3 + 2]);
  }

  // The phrases of the query as the index reports them, with their hits: per section and
  // column the number of occurrences. A phrase: {begriff, gewicht, treffer: Map}.
  function phrasenSuchen(anfrage) {
    var liste = [];
    var zaehlen = function (treffer, d, c) {
      var z = treffer.get(d);
      if (!z) { z = [0, 0]; treffer.set(d, z); }
      z[c]++;
    };
    anfrage.begriffe.forEach(function (b, i) {
      // The term's words in sequence.
      var bereiche = b.formen.map(function (f) { return bereich(f, true); });
      var treffer = new Map();
      stellenVon(bereiche[0], function (d, c, p) {
        var folge = folgen[d][c];
        for (var j = 1; j < bereiche.length; j++) {
          var f = folge[p + j];
          if (p + j >= folge.length || f < bereiche[j][0] || f >= bereiche[j][1]) return;
        }
        zaehlen(treffer, d, c);
      });
      liste.push({ begriff: i, gewicht: 1, treffer: treffer });
      b.teile.forEach(function (t) {
        var tr = new Map();
        stellenVon(bereich(t, false), function (d, c) { zaehlen(tr, d, c); });
        liste.push({ begriff: i, gewicht: TEIL_GEWICHT, treffer: tr });
      });
      if (b.getrennt.length === 2) {
        // Both parts within TEILE_ABSTAND words of each other.
        var orte = b.getrennt.map(function (f) {
          var m = new Map();
          stellenVon(bereich(f, true), function (d, c, p) {
            var k = d * 2 + c;
            (m.get(k) || m.set(k, []).get(k)).push(p);
          });
          return m;
        });
        var nah = [new Map(), new Map()];
        orte[0].forEach(function (pa, k) {
          var pb = orte[1].get(k);
          if (!pb) return;
          var d = k >> 1, c = k & 1;
          var naheZaehlen = function (eigene, andere, tr) {
            eigene.forEach(function (p) {
              if (andere.some(function (q) { return q !== p && Math.abs(q - p) <= TEILE_ABSTAND + 1; }))
                zaehlen(tr, d, c);
            });
          };
          naheZaehlen(pa, pb, nah[0]);
          naheZaehlen(pb, pa, nah[1]);
        });
        nah.forEach(function (tr) { liste.push({ begriff: i, gewicht: TEIL_GEWICHT, treffer: tr }); });
      }
    });
    // Rows with each phrase, per column (over all sections).
    liste.forEach(function (ph) {
      ph.mitTreffer = [0, 0];
      ph.treffer.forEach(function (z) { for (var c = 0; c < 2; c++) if (z[c]) ph.mitTreffer[c]++; });
    });
    return liste;
  }

  var mittel = null;
  function bm25(d, phrasen, begriffe) {
    var n = folgen.length, summe = 0, je = [];
    for (var i = 0; i < begriffe; i++) je.push({ tf: 0, mit: 0 });
    phrasen.forEach(function (ph) {
      var z = ph.treffer.get(d), b = je[ph.begriff];
      for (var c = 0; c < 2; c++) {
        b.mit = Math.max(b.mit, ph.mitTreffer[c]);
        if (!z || !z[c]) continue;
        var norm = 1 - B + B * folgen[d][c].length / Math.max(1, mittel[c]);
        b.tf += ph.gewicht * GEWICHTE[c] * z[c] / norm;
      }
    });
    je.forEach(function (b) {
      var idf = Math.log(1 + (n - b.mit + 0.5) / (b.mit + 0.5));
      summe += idf * b.tf * (K1 + 1) / (b.tf + K1);
    });
    return summe;
  }

  // The sections matching all terms (oder false) or any; per section the terms it holds.
  function kandidaten(phrasen, begriffe, oder) {
    var je = new Map();
    phrasen.forEach(function (ph) {
      ph.treffer.forEach(function (z, d) {
        var s = je.get(d);
        if (!s) { s = new Set(); je.set(d, s); }
        s.add(ph.begriff);
      });
    });
    var aus = new Map();
    je.forEach(function (s, d) { if (oder || s.size === begriffe) aus.set(d, s.size); });
    return aus;
  }

  function kandidatenSuchen(anfrage) {
    var n = anfrage.begriffe.length, nurOder = n >= MINDEST_ODER || anfrage.satz;
    var phrasen = phrasenSuchen(anfrage), zeilen = new Map();
    [false, true].some(function (oder) {
      if (oder ? n < 2 : nurOder && n >= 2) return false;
      zeilen = kandidaten(phrasen, n, oder);
      return zeilen.size > 0;
    });
    return { phrasen: phrasen, zeilen: zeilen };
  }

  function kommtVor(form) {
    if (!form) return false;
    var r = bereich(form, true);
    for (var id = r[0]; id < r[1]; id++)
      if (postings.anfang[id + 1] > postings.anfang[id]) return true;
    return false;
  }

  function teileSuchen(wort) {
    for (var i = wort.length - MINDEST_TEIL; i >= 3; i--) {
      var rechts = wort.slice(i), formRechts = suchform(rechts);
      if (!kommtVor(formRechts)) continue;
      var links = [wort.slice(0, i)];
      if (i > 3 && wort[i - 1].toLowerCase() === "s") links.push(wort.slice(0, i - 1));
      for (var j = 0; j < links.length; j++) {
        var formLinks = suchform(links[j]);
        if (kommtVor(formLinks))
          return [{ formen: [formLinks], wort: links[j], teile: [], getrennt: [] },
                  { formen: [formRechts], wort: rechts, teile: [], getrennt: [] }];
      }
    }
    var ps = D.praefixe;
    for (var k = 0; k < ps.length; k++) {
      var p = ps[k];
      if (wort.length - p.length < MINDEST_TEIL || wort.slice(0, p.length).toLowerCase() !== p)
        continue;
      var rest = wort.slice(p.length), form = suchform(rest);
      if (kommtVor(form)) return [{ formen: [form], wort: rest, teile: [], getrennt: [] }];
    }
    return [];
  }

  function stichwortAbschnitte(suchtext, anfrage) {
    var ganz = suchtext.replace(/["„“”]/g, "").trim().replace(/\s+/g, " ");
    var kandidaten = [ganz, anfrage.woerter.join(" ")].concat(anfrage.woerter);
    var aus = new Set();
    kandidaten.forEach(function (k) {
      (stichwortMenge.get(k.toLowerCase()) || []).forEach(function (d) { aus.add(d); });
    });
    return aus;
  }

  // The search: {treffer: [{abschnitt, wert, stichwort, begriffe}], gesamt, korrektur,
  // korrekturStattLeer, anfrage}.
  function suchen(suchtext) {
    laden();
    if (!mittel) {
      var n = folgen.length;
      mittel = [0, 1].map(function (c) {
        var summe = 0;
        folgen.forEach(function (f) { summe += f[c].length; });
        return n ? Math.floor((summe + Math.floor(n / 2)) / n) : 0;
      });
    }
    var ergebnis = { treffer: [], gesamt: 0, korrektur: "", korrekturStattLeer: false };
    var anfrage = anfrageZerlegen(suchtext);
    ergebnis.anfrage = anfrage;
    if (!anfrage.begriffe.length) return ergebnis;
    var wenige = anfrage.begriffe.length < MINDEST_ODER && !anfrage.satz;
    anfrage.begriffe.forEach(function (b) {
      if (b.formen.length === 1 && wenige) {
        b.teile = b.teile.concat(spaetereTeile(b.formen[0]));
        b.getrennt = zerlegung(b.wort);
      }
    });
    var k = kandidatenSuchen(anfrage);
    // Terms found nowhere: parts, a verb without its prefix, or a correction.
    var vorhanden = anfrage.begriffe.map(function (b, i) {
      return k.zeilen.size > 0 && k.phrasen.some(function (ph) {
        return ph.begriff === i && (ph.mitTreffer[0] > 0 || ph.mitTreffer[1] > 0);
      });
    });
    var neu = [], geaendert = false, korrigiert = suchtext;
    anfrage.begriffe.forEach(function (b, i) {
      if (vorhanden[i] || !b.wort) { neu.push(b); return; }
      var teile = teileSuchen(b.wort);
      if (teile.length) { neu = neu.concat(teile); geaendert = true; return; }
      var v = korrektur(b.wort);
      if (v) {
        var form = D.formen[v[2]];
        neu.push({ formen: [form], wort: v[1], teile: wenige ? spaetereTeile(form) : [],
                   getrennt: wenige ? zerlegung(v[1]) : [] });
        korrigiert = korrigiert.split(b.wort).join(v[1]);
        ergebnis.korrektur = korrigiert;
        geaendert = true;
        return;
      }
      neu.push(b);
    });
    if (geaendert) {
      ergebnis.korrekturStattLeer = k.zeilen.size === 0 && ergebnis.korrektur !== "";
      anfrage.begriffe = neu;
      k = kandidatenSuchen(anfrage);
    }
    var mitStichwort = stichwortAbschnitte(suchtext, anfrage);
    var treffer = [];
    k.zeilen.forEach(function (begriffe, d) {
      treffer.push({ abschnitt: d, begriffe: begriffe, stichwort: mitStichwort.has(d),
                     wert: bm25(d, k.phrasen, anfrage.begriffe.length) });
    });
    treffer.sort(function (a, b) {
      if (a.begriffe !== b.begriffe) return b.begriffe - a.begriffe;
      if (a.stichwort !== b.stichwort) return a.stichwort ? -1 : 1;
      if (a.wert !== b.wert) return b.wert - a.wert;
      return D.abschnitte[a.abschnitt][0] - D.abschnitte[b.abschnitt][0];
    });
    ergebnis.gesamt = treffer.length;
    ergebnis.treffer = treffer.slice(0, MAX_TREFFER);
    return ergebnis;
  }

  // ---- Snippets ---------------------------------------------------------------------------------

  function formPasst(wortForm, begriffForm) {
    return begriffForm.length >= MINDEST_PRAEFIX ? wortForm.slice(0, begriffForm.length) === begriffForm
                                                 : wortForm === begriffForm;
  }

  // The hit words of a text: [anfang, laenge] in text order.
  function trefferBereiche(text, anfrage) {
    var w = woerter(text), aus = [];
    for (var i = 0; i < w.length;) {
      var laenge = 0;
      anfrage.begriffe.forEach(function (b) {
        var k = b.formen.length;
        if (k <= laenge || i + k > w.length) return;
        var passt = true;
        for (var j = 0; j < k && passt; j++) passt = formPasst(w[i + j].form, b.formen[j]);
        passt = passt || (k === 1 && (b.teile.indexOf(w[i].form) >= 0 ||
          b.getrennt.some(function (t) { return formPasst(w[i].form, t); })));
        if (passt) laenge = k;
      });
      if (!laenge) { i++; continue; }
      var ende = w[i + laenge - 1].anfang + w[i + laenge - 1].laenge;
      aus.push([w[i].anfang, ende - w[i].anfang]);
      i += laenge;
    }
    return aus;
  }

  // A piece of the text around the first hit, as DOM nodes with the hits marked.
  function ausschnitt(text, anfrage) {
    var bereiche = trefferBereiche(text, anfrage), laenge = 180;
    var von = bereiche.length ? Math.max(0, bereiche[0][0] - 60) : 0;
    while (von > 0 && wortZeichen(text[von - 1]) && von < bereiche[0][0]) von++;
    var bis = Math.min(text.length, von + laenge);
    while (bis < text.length && bis > von + laenge / 2 && wortZeichen(text[bis - 1]) &&
           wortZeichen(text[bis])) bis--;
    var frag = document.createDocumentFragment(), stelle = von;
    var teil = function (s) { return s.replace(/\s+/g, " "); };
    if (von > 0) frag.appendChild(document.createTextNode("…"));
    bereiche.forEach(function (r) {
      if (r[0] < von || r[0] + r[1] > bis) return;
      frag.appendChild(document.createTextNode(teil(text.slice(stelle, r[0]))));
      var m = document.createElement("mark");
      m.textContent = text.substr(r[0], r[1]);
      frag.appendChild(m);
      stelle = r[0] + r[1];
    });
    frag.appendChild(document.createTextNode(teil(text.slice(stelle, bis))));
    if (bis < text.length) frag.appendChild(document.createTextNode("…"));
    return frag;
  }

  // ---- The page -----------------------------------------------------------------------------

  function textdateiLaden(n) {
    window.HILFE_TEXTE = window.HILFE_TEXTE || {};
    if (window.HILFE_TEXTE[n]) return Promise.resolve();
    return new Promise(function (fertig) {
      var s = document.createElement("script");
      s.src = "suche/texte-" + n + ".js";
      s.onload = s.onerror = function () { fertig(); };
      document.head.appendChild(s);
    });
  }

  function anzeigen(suchtext) {
    var status = document.getElementById("suchstatus");
    var liste = document.getElementById("treffer");
    var hinweis = document.getElementById("korrektur");
    liste.textContent = "";
    hinweis.textContent = "";
    if (!suchtext.trim()) { status.textContent = "Geben Sie oben ein, was Sie suchen."; return; }
    var e = suchen(suchtext);
    document.title = "Suche: " + suchtext + " – " + document.title.split(" – ").pop();
    if (e.korrektur) {
      var p = document.createElement("p");
      p.appendChild(document.createTextNode("Meinten Sie: "));
      var a = document.createElement("a");
      a.href = "suche.html?q=" + encodeURIComponent(e.korrektur);
      a.textContent = e.korrektur;
      p.appendChild(a);
      hinweis.appendChild(p);
      if (e.korrekturStattLeer) {
        var q = document.createElement("p");
        q.textContent = "„" + suchtext + "“ findet nichts; gesucht wurde „" + e.korrektur + "“.";
        hinweis.appendChild(q);
      }
    }
    if (!e.treffer.length) {
      status.textContent = "Kein Abschnitt enthält „" + suchtext + "“.";
      return;
    }
    status.textContent = e.gesamt > e.treffer.length
      ? "Die besten " + e.treffer.length + " von " + e.gesamt + " gefundenen Abschnitten"
      : (e.gesamt === 1 ? "1 Abschnitt gefunden" : e.gesamt + " Abschnitte gefunden");
    var dateien = new Set();
    e.treffer.forEach(function (t) {
      var a = D.abschnitte[t.abschnitt];
      var li = document.createElement("li");
      li.dataset.nummer = a[1];
      var link = document.createElement("a");
      link.href = a[1].split(".").join("/") + ".html";
      link.textContent = a[2];
      var h = document.createElement("h2");
      h.appendChild(link);
      var thema = document.createElement("p");
      thema.className = "thema";
      thema.textContent = a[3] + " · " + a[1];
      var stelle = document.createElement("p");
      stelle.className = "fundstelle";
      li.appendChild(h);
      li.appendChild(thema);
      li.appendChild(stelle);
      liste.appendChild(li);
      dateien.add(Math.floor(t.abschnitt / D.jeTextdatei));
    });
    // The snippets, as their texts arrive.
    Promise.all(Array.from(dateien).map(textdateiLaden)).then(function () {
      e.treffer.forEach(function (t, i) {
        var texte = window.HILFE_TEXTE[Math.floor(t.abschnitt / D.jeTextdatei)];
        if (texte)
          liste.children[i].querySelector(".fundstelle")
            .appendChild(ausschnitt(texte[t.abschnitt % D.jeTextdatei], e.anfrage));
      });
    });
  }

  window.HilfeSuche = { suchen: suchen, suchform: suchform, stamm: stamm, schluessel: schluessel };

  function start() {
    D = window.HILFE_SUCHE;
    if (!D) return;
    var feld = document.getElementById("suchbegriff");
    var q = new URLSearchParams(window.location.search).get("q") || "";
    if (feld) feld.value = q;
    if (document.getElementById("treffer")) anzeigen(q);
  }
  if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", start);
  else start();
})();
