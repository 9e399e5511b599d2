// The page's link to the program (after QWebChannel's client script). Clicks on links to a
// place in the same page never reach the program as navigations, so they travel through the
// bridge object "lodestarBridge", as the pages' own setValue(k) does; copies of selected text
// are reported the same way, and so are the page functions' requests for pieces of a long
// document (kept until the bridge is there).
(function () {
  "use strict";
  var waiting = [];
  function connect() {
    if (window.lodestarBridge || typeof qt === "undefined" || !qt.webChannelTransport) return;
    new QWebChannel(qt.webChannelTransport, function (channel) {
      window.lodestarBridge = channel.objects.lodestarBridge;
      waiting.splice(0).forEach(function (request) {
        window.lodestarBridge.wantPieces(request);
      });
    });
  }
  connect();
  document.addEventListener("DOMContentLoaded", connect);

  document.addEventListener("click", function (event) {
    var link = event.target && event.target.closest ? event.target.closest("a[href]") : null;
    if (!link || !window.lodestarBridge) return;
    var target = link.href;
    var hash = target.indexOf("#");
    if (hash < 0 || target.substring(0, hash) !== location.href.split("#")[0]) return;
    event.preventDefault();
    window.lodestarBridge.navigate(target);
  }, true);

  document.addEventListener("lodestar-want", function () {
    var request = document.documentElement.getAttribute("data-lodestar-want");
    if (!request) return;
    if (window.lodestarBridge) window.lodestarBridge.wantPieces(request);
    else waiting.push(request);
  });
  // A tick box of the file table: its position among the boxes named "chk" and its state.
  document.addEventListener("change", function (event) {
    var box = event.target;
    if (!box || box.name !== "chk" || !window.lodestarBridge) return;
    var row = box.closest ? box.closest("tr[data-k]") : null;  // a table in pieces
    if (row) {
      window.lodestarBridge.ticked(Number(row.getAttribute("data-k")) - 1, box.checked);
      return;
    }
    var boxes = document.getElementsByName("chk");
    for (var i = 0; i < boxes.length; ++i) {
      if (boxes[i] === box) {
        window.lodestarBridge.ticked(i, box.checked);
        return;
      }
    }
  }, true);

  document.addEventListener("copy", function () {
    if (window.lodestarBridge) window.lodestarBridge.copied(String(window.getSelection()));
  }, true);
})();
