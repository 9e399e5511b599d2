// Page functions the program calls to mirror its pane model into the page. They run in an
// isolated script world, so page scripts cannot replace them; every argument is data.
(function () {
  "use strict";
  function scope(withinId) {
    return withinId ? document.getElementById(withinId) : document;
  }
  function nth(withinId, tagName, index) {
    var root = scope(withinId);
    if (!root) return null;
    return root.getElementsByTagName(tagName)[index] || null;
  }
  function body() {
    if (!document.body && document.documentElement) {
      document.documentElement.appendChild(document.createElement("body"));
    }
    return document.body;
  }
  window.__lodestarPane = {
    setBody: function (html) {
      var b = body();
      if (b) b.innerHTML = html;
    },
    setElement: function (id, html) {
      var e = document.getElementById(id);
      if (e) e.innerHTML = html;
    },
    setBackground: function (withinId, tagName, index, colour) {
      var e = nth(withinId, tagName, index);
      if (e) e.style.backgroundColor = colour;
    },
    scrollTo: function (withinId, tagName, index, margin) {
      var e = nth(withinId, tagName, index);
      if (!e) return;
      var y = e.getBoundingClientRect().top + window.pageYOffset - margin;
      window.scrollTo(0, Math.max(0, y));
    },
    setStyle: function (id, property, value) {
      var e = document.getElementById(id);
      if (!e) return;
      if (property === "font-family") {
        // The named font may be missing here; the text stays fixed-pitch.
        e.style.setProperty("font-family", '"' + value.replace(/"/g, "") + '", monospace');
        return;
      }
      e.style.setProperty(property, value);
      if (property === "word-wrap") {
        // Preformatted text wraps only when its white space may wrap.
        e.style.setProperty("white-space", value === "break-word" ? "pre-wrap" : "pre");
        e.style.setProperty("overflow-wrap", value === "break-word" ? "break-word" : "normal");
      }
    },
    setCell: function (tableId, index, content, html) {
      var table = document.getElementById(tableId);
      if (!table) return;
      for (var r = 0; r < table.rows.length; ++r) {
        var cells = table.rows[r].cells;
        if (index < cells.length) {
          if (html) cells[index].innerHTML = content; else cells[index].textContent = content;
          return;
        }
        index -= cells.length;
      }
    },
    clearSelection: function () {
      var s = window.getSelection();
      if (s) s.removeAllRanges();
    }
  };
})();
