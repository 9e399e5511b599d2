// Page functions the program calls to mirror its pane model into the page. They run in an
// isolated script world, so page scripts cannot replace them; every argument is data.
//
// A long document (the source view's body, a long match list, a long file table) arrives as an
// outline of pieces: the page stands in for the pieces not shown with spacers of about the
// right height, asks the program for the pieces near the viewport (a "lodestar-want" event that
// the bridge script forwards), and drops pieces far out of view. Its items (marks, list entries,
// table rows) are indexed by their data-k attribute while their piece is shown; their
// backgrounds are kept here and applied whenever their piece arrives.
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
  // Only the pieces that have arrived are elements of their own; each run of pieces between them
  // is one spacer as high as its pieces' heights together. A piece's height is estimated from
  // its outline until it has been shown, and measured when it is dropped again, so the spacer
  // that takes it back has the height the piece had. Prefix sums of the heights find the piece
  // at a place inside a spacer without asking the layout about every piece.
  //
  // The page engine lays out no more than about 33 million pixels, and places far down lose
  // precision well before that. A document estimated taller than `tallest` is shown with its
  // spacers scaled down (every spacer by the same factor) so that the whole of it fits; the
  // pieces shown keep their real heights, so text scrolls at its normal speed, and a place
  // inside a spacer stands for the place at the same fraction of its pieces.
  var tallest = 4000000;
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
  function wraps(st) {
    return !st.list && getComputedStyle(st.host).whiteSpace !== "pre";
  }
  // Estimated heights of every piece from its lines, or for wrapped text at least the rows its
  // characters fill; the layout is read once per document, never once per piece.
  function estimate(st) {
    var m = metrics(st.host, st.list), o = st.outline, n = st.count;
    var columns = Math.max(1, Math.floor(st.host.clientWidth / m.column));
    var wrapped = wraps(st);
    st.width = st.host.clientWidth;
    for (var i = 0; i < n; ++i) {
      var rows = Math.max(1, o[3 * i]);
      if (wrapped) rows = Math.max(rows, Math.ceil(o[3 * i + 1] / columns));
      st.heights[i] = rows * m.line;
    }
    st.sums = null;
    var total = sums(st)[n];
    st.scale = total > tallest ? tallest / total : 1;
    // The page's own scroll anchoring would move the view a second time when a piece changes
    // the height above it; scaled documents keep their place themselves (see `keepPlace`).
    st.host.style.overflowAnchor = st.scale < 1 ? "none" : "";
  }
  function sums(st) {
    if (!st.sums) {
      var s = new Float64Array(st.count + 1);
      for (var i = 0; i < st.count; ++i) s[i + 1] = s[i] + st.heights[i];
      st.sums = s;
    }
    return st.sums;
  }
  // The spacer holding piece p (spacers are kept in document order), or -1.
  function spacerAt(st, p) {
    var lo = 0, hi = st.spacers.length;
    while (lo < hi) {
      var mid = (lo + hi) >> 1;
      if (st.spacers[mid].to <= p) lo = mid + 1; else hi = mid;
    }
    return lo < st.spacers.length && st.spacers[lo].from <= p ? lo : -1;
  }
  function sized(st, spacer) {
    var s = sums(st);
    // Scaled heights are kept to whole pixels, as the view scrolls by them.
    var height = (s[spacer.to] - s[spacer.from]) * st.scale;
    spacer.element.style.height = (st.scale < 1 ? Math.round(height) : height) + "px";
    return spacer;
  }
  function spacer(st, from, to) {
    var e = document.createElement(st.list ? "div" : "span");
    e.style.display = "block";
    return sized(st, { from: from, to: to, element: e });
  }
  function pieceOf(st, item) {
    var lo = 0, hi = st.count;  // the last piece whose first item is <= item
    while (lo < hi) {
      var mid = (lo + hi) >> 1;
      if (st.outline[3 * mid + 2] <= item) lo = mid + 1; else hi = mid;
    }
    return Math.max(0, lo - 1);
  }
  // Where piece p begins in the page, measured from the top of the document.
  function pieceTop(st, p) {
    var shown = st.loaded[p];
    if (shown) return shown.element.getBoundingClientRect().top + window.pageYOffset;
    var i = spacerAt(st, p);
    if (i < 0) return window.pageYOffset;
    var s = sums(st), run = st.spacers[i];
    return run.element.getBoundingClientRect().top + window.pageYOffset +
           (s[p] - s[run.from]) * st.scale;
  }
  function atEnd() {
    var root = document.documentElement;
    return window.pageYOffset + window.innerHeight >= root.scrollHeight - 1;
  }
  // In a scaled document a piece that arrives or leaves changes the height of its place by much
  // more than its estimate was off. `change` does that; what the user sees stays where it is:
  // the text below the viewport's top when the change is above it, the end of the document
  // when the view is at the end.
  function keepPlace(st, changeTop, change) {
    if (st.scale >= 1 || changeTop >= window.innerHeight) return change();
    var end = atEnd(), before = changeTop < 0 ? st.host.getBoundingClientRect().height : 0;
    change();
    if (end) {
      window.scrollTo(0, document.documentElement.scrollHeight);
    } else if (changeTop < 0) {
      window.scrollBy(0, st.host.getBoundingClientRect().height - before);
    }
  }
  function ask(st, pieces) {
    if (!pieces.length) return;
    document.documentElement.setAttribute("data-lodestar-want", JSON.stringify(
        { id: st.id, generation: st.generation, pieces: pieces }));
    document.dispatchEvent(new Event("lodestar-want"));
  }
  // Items (elements with data-k) of the pieces shown, by number.
  function indexItems(st, p, element) {
    var found = element.querySelectorAll("[data-k]"), mine = [];
    for (var i = 0; i < found.length; ++i) {
      var e = found[i], k = e.getAttribute("data-k"), colour = st.styles[k];
      if (colour) e.style.backgroundColor = colour;
      (st.items[k] || (st.items[k] = [])).push(e);
      mine.push(e);
    }
    st.loaded[p].items = mine;
  }
  function unindexItems(st, p) {
    st.loaded[p].items.forEach(function (e) {
      var k = e.getAttribute("data-k"), list = st.items[k];
      if (!list) return;
      var left = list.filter(function (x) { return x !== e; });
      if (left.length) st.items[k] = left; else delete st.items[k];
    });
  }
  function itemElements(st, item) {
    return st.items[item] || [];
  }
  function scrollToPin(st) {
    var e = st.pin ? itemElements(st, st.pin.item)[0] : null;
    if (!e) return false;
    var y = e.getBoundingClientRect().top + window.pageYOffset - st.pin.margin;
    window.scrollTo(0, Math.max(0, y));
    return true;
  }
  // A piece of text that ends its last line is a block of its own, so that a piece arriving
  // or leaving lays out only its own lines; one that stops inside a line runs on into the next.
  function endsLine(st, p) {
    var shown = st.loaded[p];
    return !shown || shown.endsLine;  // a spacer ends the line before it
  }
  function place(st, p) {
    var shown = st.loaded[p];
    if (shown && !st.list)
      shown.element.style.display = shown.endsLine && endsLine(st, p - 1) ? "block" : "inline";
  }
  // Piece p takes its place out of the spacer that held it.
  function show(st, p, html) {
    var i = spacerAt(st, p);
    if (i < 0) return null;
    var element = document.createElement(st.list ? "div" : "span");
    element.style.display = "block";
    element.innerHTML = html;
    var at = st.scale < 1 ? pieceTop(st, p) - window.pageYOffset : 0;
    keepPlace(st, at, function () { split(st, i, p, element); });
    return element;
  }
  function split(st, i, p, element) {
    var run = st.spacers[i], host = st.host, replaced = [];
    if (run.from < p) {
      var before = spacer(st, run.from, p);
      host.insertBefore(before.element, run.element);
      replaced.push(before);
    }
    host.insertBefore(element, run.element);
    if (p + 1 < run.to) {
      run.from = p + 1;
      replaced.push(sized(st, run));
    } else {
      host.removeChild(run.element);
    }
    Array.prototype.splice.apply(st.spacers, [i, 1].concat(replaced));
    var text = st.list ? "" : element.textContent;
    st.loaded[p] = { element: element, items: [], endsLine: text.charAt(text.length - 1) === "\n" };
    place(st, p);
    place(st, p + 1);
  }
  // Piece p goes back into a spacer, at the height it had.
  function drop(st, p, height) {
    var shown = st.loaded[p];
    unindexItems(st, p);
    delete st.loaded[p];
    st.heights[p] = height;
    st.sums = null;
    var i = spacerAt(st, p - 1), j = spacerAt(st, p + 1);
    var left = i >= 0 ? st.spacers[i] : null, right = j >= 0 ? st.spacers[j] : null;
    if (left && right) {
      left.to = right.to;
      st.host.removeChild(right.element);
      st.spacers.splice(j, 1);
    } else if (left) {
      left.to = p + 1;
    } else if (right) {
      right.from = p;
    }
    if (left || right) {
      sized(st, left || right);
      st.host.removeChild(shown.element);
    } else {
      var alone = spacer(st, p, p + 1), at = 0;
      st.host.replaceChild(alone.element, shown.element);
      while (at < st.spacers.length && st.spacers[at].from < p) ++at;
      st.spacers.splice(at, 0, alone);
    }
    place(st, p + 1);
  }
  // Lines of another height or width: the pieces not shown are estimated anew.
  function reestimate(st) {
    estimate(st);
    st.spacers.forEach(function (run) { sized(st, run); });
    st.repin = true;
  }
  // Asks for the pieces within a screen of the viewport; drops those beyond four screens.
  function update(st) {
    var h = window.innerHeight || 600;
    if (wraps(st) && st.host.clientWidth !== st.width) reestimate(st);
    if (st.repin) scrollToPin(st);
    st.repin = false;
    var s = sums(st), k = st.scale, wanted = [];
    // The place the user reads: the item the program scrolled to, else the viewport's top, its
    // bottom at the end of the document, and in between in proportion, so that the scroll bar's
    // ends reach the document's ends.
    var reading = 0;
    if (k < 1 && st.pin) {
      reading = st.pin.margin;
    } else if (k < 1) {
      var room = document.documentElement.scrollHeight - h;
      reading = room > 0 ? h * Math.min(1, Math.max(0, window.pageYOffset / room)) : 0;
    }
    st.spacers.forEach(function (run) {
      var top = run.element.getBoundingClientRect().top;
      var bottom = top + (s[run.to] - s[run.from]) * k;
      if (bottom < -h || top > 2 * h) return;
      // The pieces arrive at their real heights: the band is measured in them from the end of
      // the spacer that meets the text shown, or from the reading place when the spacer fills
      // the viewport. `base` is where the viewport's top falls in the pieces' heights.
      var c = top >= 0 ? top : bottom <= h ? bottom : reading;
      var base = s[run.from] + (c - top) / k - c;
      var lo = run.from, hi = run.to;  // the first piece whose bottom reaches the band
      while (lo < hi) {
        var mid = (lo + hi) >> 1;
        if (s[mid + 1] - base < -h) lo = mid + 1; else hi = mid;
      }
      for (var p = lo; p < run.to && s[p] - base <= 2 * h; ++p) {
        if (!st.asked[p]) {
          st.asked[p] = true;
          wanted.push(p);
        }
      }
    });
    ask(st, wanted);
    var above = [], below = [];
    Object.keys(st.loaded).forEach(function (key) {
      var r = st.loaded[key].element.getBoundingClientRect();
      if (r.bottom < -4 * h) above.push([Number(key), r.height]);
      if (r.top > 5 * h) below.push([Number(key), r.height]);
    });
    var dropAll = function (far) { far.forEach(function (f) { drop(st, f[0], f[1]); }); };
    if (above.length) keepPlace(st, -1, function () { dropAll(above); });
    dropAll(below);
    if (above.length || below.length) scrollToPin(st);
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
    // Sets the tallest a document in pieces is laid out before its spacers are scaled down, and
    // lays out the documents shown again; lets a test see a long document's scaled spacers
    // with a file of modest size.
    setTallest: function (pixels) {
      tallest = pixels;
      Object.keys(documents).forEach(function (id) {
        var st = pieced(id);
        if (st) reestimate(st);
      });
      schedule();
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
      // The outline is flat: lines, characters and first item of each piece in turn.
      var n = Math.floor(outline.length / 3);
      var st = { id: withinId, generation: generation, host: host,
                 list: host.tagName === "OL" || host.tagName === "UL", outline: outline,
                 count: n, heights: new Float64Array(n), sums: null, spacers: [], loaded: {},
                 asked: {}, items: {}, styles: {}, pin: null };
      estimate(st);
      if (n) {
        var all = spacer(st, 0, n);
        st.spacers.push(all);
        host.appendChild(all.element);
      }
      documents[withinId] = st;
      window.scrollTo(0, 0);
      update(st);
    },
    putPiece: function (withinId, generation, index, html) {
      var st = pieced(withinId);
      if (!st || st.generation !== generation || !(index >= 0 && index < st.count)) return;
      delete st.asked[index];
      // A piece sent with a scroll may be here already: the user's selection in it stays.
      if (!st.loaded[index]) {
        var element = show(st, index, html);
        if (element) indexItems(st, index, element);
      }
      // A piece above the pinned item may move it: it is put back before the next frame, once
      // for all the pieces that arrive until then.
      if (st.pin && index <= pieceOf(st, st.pin.item)) st.repin = true;
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
        if (!scrollToPin(st) && st.count) {
          var p = pieceOf(st, index);
          window.scrollTo(0, Math.max(0, pieceTop(st, p) - margin));
          if (!st.loaded[p] && !st.asked[p]) {
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
      } else {
        e.style.setProperty(property, value);
      }
      if (property === "word-wrap") {
        // Preformatted text wraps only when its white space may wrap.
        e.style.setProperty("white-space", value === "break-word" ? "pre-wrap" : "pre");
        e.style.setProperty("overflow-wrap", value === "break-word" ? "break-word" : "normal");
      }
      var st = pieced(id === "code" ? "" : id);
      if (st && st.host === e) {
        reestimate(st);
        schedule();
      }
    },
    setCell: function (tableId, index, content, html) {
      var table = document.getElementById(tableId);
      if (!table) return;
      if (!table.rows) {  // a table in pieces: only its rows in view are there, by data-k
        var per = Number(table.getAttribute("data-cells")) || 1, row = Math.floor(index / per);
        var st = pieced(tableId);
        var shown = st ? itemElements(st, row)[0]
                       : table.querySelector('tr[data-k="' + row + '"]');
        var target = shown && shown.cells ? shown.cells[index % per] : null;
        if (target && html) target.innerHTML = content;
        else if (target) target.textContent = content;
        return;
      }
      for (var r = 0; r < table.rows.length; ++r) {
        var cells = table.rows[r].cells;
        if (index < cells.length) {
          if (html) cells[index].innerHTML = content; else cells[index].textContent = content;
          return;
        }
        index -= cells.length;
      }
    },
    // Many cell changes in one call: table, index, content, html, four values each.
    setCells: function (changes) {
      for (var i = 0; i + 3 < changes.length; i += 4)
        window.__lodestarPane.setCell(changes[i], changes[i + 1], changes[i + 2], changes[i + 3]);
    },
    clearSelection: function () {
      var s = window.getSelection();
      if (s) s.removeAllRanges();
    }
  };
})();
