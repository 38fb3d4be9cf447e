// The help's web pages: the picture viewer for picture links, and on hilfe.html the jump from
// "#KK.TT.XX" to the page of the section the help shows for that number. Without this script
// every page still works: a picture link opens the picture itself.
"use strict";

(function () {
  function bildAnzeigen(link) {
    var dialog = document.getElementById("bildfenster");
    if (!dialog) {
      dialog = document.createElement("dialog");
      dialog.id = "bildfenster";
      dialog.setAttribute("aria-labelledby", "bildtitel");
      dialog.innerHTML =
        '<figure><img alt=""><figcaption id="bildtitel"></figcaption></figure>' +
        '<button type="button" class="schliessen">Schließen (Esc)</button>';
      document.body.appendChild(dialog);
      dialog.querySelector(".schliessen").addEventListener("click", function () {
        dialog.close();
      });
      // A click beside the picture closes it too.
      dialog.addEventListener("click", function (ereignis) {
        if (ereignis.target === dialog) dialog.close();
      });
      dialog.addEventListener("close", function () {
        if (dialog.ausloeser) dialog.ausloeser.focus();
      });
    }
    var titel = link.getAttribute("title") || link.textContent;
    var bild = dialog.querySelector("img");
    bild.src = link.getAttribute("href");
    bild.alt = titel;
    dialog.querySelector("figcaption").textContent = titel;
    dialog.ausloeser = link;
    dialog.showModal();
    dialog.querySelector(".schliessen").focus();
  }

  document.addEventListener("click", function (ereignis) {
    var link = ereignis.target.closest ? ereignis.target.closest("a.bild") : null;
    if (!link || ereignis.button !== 0 || ereignis.ctrlKey || ereignis.metaKey ||
        ereignis.shiftKey || ereignis.altKey || typeof HTMLDialogElement !== "function") {
      return;
    }
    ereignis.preventDefault();
    bildAnzeigen(link);
  });

  // On a narrow screen the tab rows scroll sideways: the chosen tabs are brought into view.
  Array.prototype.forEach.call(
    document.querySelectorAll(".kapitel [aria-current], .themen [aria-current]"),
    function (karte) {
      var reihe = karte.closest("ul");
      if (reihe && reihe.scrollWidth > reihe.clientWidth) {
        reihe.scrollLeft = karte.offsetLeft - (reihe.clientWidth - karte.offsetWidth) / 2;
      }
    });

  // hilfe.html#03.02.05: as the help resolves a number it is called with.
  function teile(nummer) {
    return nummer.split(".").map(function (t) { return parseInt(t, 10); });
  }

  function aufloesen(nummer, abschnitte) {
    if (!abschnitte.length) return null;
    var n = teile(nummer);
    if (n.length !== 3 || n.some(isNaN)) return abschnitte[0];
    var alle = abschnitte.map(teile);
    function finde(passt) {
      for (var i = 0; i < alle.length; i++) if (passt(alle[i])) return i;
      return -1;
    }
    var kapitel = finde(function (a) { return a[0] === n[0]; });
    if (kapitel < 0) return abschnitte[0];
    var thema = n[1];
    if (finde(function (a) { return a[0] === n[0] && a[1] === thema; }) < 0) {
      thema = alle[kapitel][1];
    }
    var genau = finde(function (a) { return a[0] === n[0] && a[1] === thema && a[2] === n[2]; });
    if (genau >= 0) return abschnitte[genau];
    return abschnitte[finde(function (a) { return a[0] === n[0] && a[1] === thema; })];
  }

  var liste = document.getElementById("abschnitte");
  if (liste) {
    var ziel = aufloesen(decodeURIComponent(location.hash.slice(1)), JSON.parse(liste.textContent));
    if (ziel) location.replace(ziel.split(".").join("/") + ".html");
  }
})();
