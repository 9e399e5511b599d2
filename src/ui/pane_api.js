// Page functions the program calls to mirror its pane model into the page. They run in an
// isolated script world, so page scripts cannot replace them; every argument is data.
//
// A long document (the source view's body, a long match list) arrives as an outline of pieces:
// the page holds one placeholder of about the right height per piece, asks the program for the
// pieces near the viewport (a "lodestar-want" event that the bridge script forwards), and drops
// pieces far out of view. Its items (marks, list entries) are found by their data-k attribute;
// their backgrounds are kept here and applied whenever their piece arrives.
(function () {
  "use strict";
  var documents = {};  // id of the element holding the pieces ("" for the body) -> state

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

  // ---- Documents in pieces ------------------------------------------------------------------
  function pieced(withinId) {
    var st = documents[withinId || ""];
    return st && st.host.isConnected ? st : null;
  }
  function metrics(host, list) {
    var probe = document.createElement(list ? "li" : "span");
    probe.textContent = "0000000000";
    host.appendChild(probe);
    var r = probe.getBoundingClientRect();
    host.removeChild(probe);
    return { line: r.height || 16, column: (r.width || 80) / 10 };
  }
  // Height of a piece before it is shown: its lines, or for wrapped text at least the rows its
  // characters fill. The layout is read once per document, never once per piece.
  function estimator(st) {
    var line = st.metrics.line;
    if (st.list || getComputedStyle(st.host).whiteSpace === "pre") {
      return function (o) { return Math.max(1, o[0]) * line; };
    }
    var columns = Math.max(1, Math.floor(st.host.clientWidth / st.metrics.column));
    return function (o) { return Math.max(1, o[0], Math.ceil(o[1] / columns)) * line; };
  }
  function placeholder(st, element, height) {
    element.innerHTML = "";
    element.style.display = "block";
    element.style.height = height + "px";
  }
  function pieceOf(st, item) {
    var lo = 0, hi = st.first.length;  // the last piece whose first item is <= item
    while (lo < hi) {
      var mid = (lo + hi) >> 1;
      if (st.first[mid] <= item) lo = mid + 1; else hi = mid;
    }
    return Math.max(0, lo - 1);
  }
  function ask(st, pieces) {
    if (!pieces.length) return;
    document.documentElement.setAttribute("data-lodestar-want", JSON.stringify(
        { id: st.id, generation: st.generation, pieces: pieces }));
    document.dispatchEvent(new Event("lodestar-want"));
  }
  function itemElements(st, item) {
    return st.host.querySelectorAll('[data-k="' + item + '"]');
  }
  function scrollToPin(st) {
    var e = st.pin ? itemElements(st, st.pin.item)[0] : null;
    if (!e) return false;
    var y = e.getBoundingClientRect().top + window.pageYOffset - st.pin.margin;
    window.scrollTo(0, Math.max(0, y));
    return true;
  }
  // Asks for the pieces within a screen of the viewport; drops those beyond four screens.
  function update(st) {
    var n = st.pieces.length, h = window.innerHeight || 600;
    var lo = 0, hi = n;  // the first piece whose bottom reaches the band above the viewport
    while (lo < hi) {
      var mid = (lo + hi) >> 1;
      if (st.pieces[mid].getBoundingClientRect().bottom < -h) lo = mid + 1; else hi = mid;
    }
    var wanted = [];
    for (var i = lo; i < n && st.pieces[i].getBoundingClientRect().top <= 2 * h; ++i) {
      if (!st.loaded[i] && !st.asked[i]) {
        st.asked[i] = true;
        wanted.push(i);
      }
    }
    ask(st, wanted);
    Object.keys(st.loaded).forEach(function (key) {
      var element = st.pieces[key], r = element.getBoundingClientRect();
      if (r.bottom >= -4 * h && r.top <= 5 * h) return;
      delete st.loaded[key];
      placeholder(st, element, r.height);
    });
  }
  var scheduled = false;
  function schedule() {
    if (scheduled) return;
    scheduled = true;
    requestAnimationFrame(function () {
      scheduled = false;
      Object.keys(documents).forEach(function (id) {
        var st = pieced(id);
        if (st) update(st);
      });
    });
  }
  window.addEventListener("scroll", schedule, { passive: true });
  window.addEventListener("resize", schedule);
  // The user scrolling leaves the item the program scrolled to.
  ["wheel", "mousedown", "keydown", "touchstart"].forEach(function (type) {
    window.addEventListener(type, function () {
      Object.keys(documents).forEach(function (id) { documents[id].pin = null; });
    }, true);
  });

  window.__lodestarPane = {
    setBody: function (html) {
      documents = {};
      var b = body();
      if (b) b.innerHTML = html;
    },
    setElement: function (id, html) {
      delete documents[id];
      var e = document.getElementById(id);
      if (e) e.innerHTML = html;
    },
    setPieces: function (withinId, generation, outline) {
      var host;
      if (withinId) {
        host = document.getElementById(withinId);
        if (!host) return;
        host.textContent = "";
      } else {
        documents = {};
        body().innerHTML = "<pre id=code></pre>";
        host = document.getElementById("code");
      }
      var list = host.tagName === "OL" || host.tagName === "UL";
      var st = { id: withinId, generation: generation, host: host, list: list, pieces: [],
                 first: [], loaded: {}, asked: {}, styles: {}, pin: null };
      st.metrics = metrics(host, list);
      var estimate = estimator(st);
      var all = document.createDocumentFragment();
      // The outline is flat: lines, characters and first item of each piece in turn.
      for (var i = 0; i + 2 < outline.length; i += 3) {
        var o = [outline[i], outline[i + 1], outline[i + 2]];
        var element = document.createElement(list ? "div" : "span");
        placeholder(st, element, estimate(o));
        st.pieces.push(element);
        st.first.push(o[2]);
        all.appendChild(element);
      }
      host.appendChild(all);
      documents[withinId] = st;
      window.scrollTo(0, 0);
      update(st);
    },
    putPiece: function (withinId, generation, index, html) {
      var st = pieced(withinId);
      if (!st || st.generation !== generation || !st.pieces[index]) return;
      var element = st.pieces[index];
      delete st.asked[index];
      // A piece sent with a scroll may be here already: the user's selection in it stays.
      if (st.loaded[index]) {
        scrollToPin(st);
        return;
      }
      st.loaded[index] = true;
      element.style.height = "";
      element.style.display = st.list ? "block" : "inline";
      element.innerHTML = html;
      var items = element.querySelectorAll("[data-k]");
      for (var i = 0; i < items.length; ++i) {
        var colour = st.styles[items[i].getAttribute("data-k")];
        if (colour) items[i].style.backgroundColor = colour;
      }
      scrollToPin(st);
      schedule();
    },
    setBackground: function (withinId, tagName, index, colour) {
      var st = pieced(withinId);
      if (st) {
        if (colour) st.styles[index] = colour; else delete st.styles[index];
        var parts = itemElements(st, index);
        for (var i = 0; i < parts.length; ++i) parts[i].style.backgroundColor = colour;
        return;
      }
      var e = nth(withinId, tagName, index);
      if (e) e.style.backgroundColor = colour;
    },
    scrollTo: function (withinId, tagName, index, margin) {
      var st = pieced(withinId);
      if (st) {
        st.pin = { item: index, margin: margin };
        if (!scrollToPin(st)) {
          var p = pieceOf(st, index);
          var y = st.pieces[p].getBoundingClientRect().top + window.pageYOffset - margin;
          window.scrollTo(0, Math.max(0, y));
          if (!st.asked[p]) {
            st.asked[p] = true;
            ask(st, [p]);
          }
        }
        schedule();
        return;
      }
      var e = nth(withinId, tagName, index);
      if (!e) return;
      var y2 = e.getBoundingClientRect().top + window.pageYOffset - margin;
      window.scrollTo(0, Math.max(0, y2));
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
