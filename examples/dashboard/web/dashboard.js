// The dashboard page. The publication drives it through the plug-in; the page answers through
// window.tamrelDesk, the bridge the plug-in puts into every page.
(function () {
  "use strict";

  var region = "All";

  function send(text) {
    if (window.tamrelDesk) window.tamrelDesk.postMessage(text);
  }

  // The orders are the rows the publication gave the grid (zkTamrelTabulator).
  function grid() {
    return window.tamrelDesk && window.tamrelDesk.tables && window.tamrelDesk.tables.grid;
  }

  function shown() {
    var table = grid();
    var all = table ? table.getData() : [];
    return all.filter(function (o) { return region === "All" || o.region === region; });
  }

  function money(n) {
    return n.toLocaleString("en-US") + " EUR";
  }

  function refreshCards() {
    var rows = shown();
    var total = rows.reduce(function (sum, o) { return sum + o.total; }, 0);
    document.getElementById("orders").textContent = String(rows.length);
    document.getElementById("revenue").textContent = money(total);
    document.getElementById("region").textContent = region;
    return { rows: rows.length, total: total };
  }

  // A Windows folder path to a file URL the page can load scripts from.
  function folderUrl(path) {
    var parts = path.replace(/\\/g, "/").replace(/\/+$/, "").split("/");
    // A browser whose own file addresses carry no drive letter sees the files under Unix paths
    // (under Wine, drive Z: is the Unix root): leave the drive out for it too.
    var drives = /^file:\/\/\/[A-Za-z]:/.test(location.href);
    if (!drives && /^[A-Za-z]:$/.test(parts[0])) parts.shift();
    return "file:///" + parts.map(function (p, i) {
      return i === 0 && /^[A-Za-z]:$/.test(p) ? p : encodeURIComponent(p);
    }).join("/") + "/";
  }

  function loadLibraries(folder) {
    var base = folderUrl(folder);
    var files = [
      ["css", "Tabulator/tabulator.min.css"], ["css", "Quill/quill.bubble.css"],
      ["js", "Tabulator/tabulator.min.js"], ["js", "Quill/quill.js"], ["js", "ECharts/dist/echarts.min.js"]
    ];
    var waiting = files.length, failed = [];
    files.forEach(function (f) {
      var el = document.createElement(f[0] === "js" ? "script" : "link");
      if (f[0] === "js") el.src = base + f[1];
      else { el.rel = "stylesheet"; el.href = base + f[1]; }
      el.onload = el.onerror = function (event) {
        if (event.type === "error") failed.push(f[1]);
        if (--waiting === 0) {
          if (failed.length) {
            console.error("libraries not loaded: " + failed.join(", "));
            send("libraries failed: " + failed.join(", "));
          } else {
            send("libraries loaded");
          }
        }
      };
      document.head.appendChild(el);
    });
  }

  function showRegion(name) {
    region = name;
    var rows = shown();
    var table = grid();
    if (table) table.setFilter(region === "All" ? [] : [{ field: "region", type: "=", value: region }]);
    var sums = refreshCards();
    document.title = "Sales dashboard - " + region;
    document.getElementById("status").textContent = "Showing " + region + ".";
    console.info("region " + region + ": " + rows.length + " orders");
    send("showing " + region + ": " + sums.rows + " orders, " + money(sums.total));
  }

  // What the publication can read with zkTamrelExecuteJS.
  window.dashboard = {
    summary: function () {
      var sums = refreshCards();
      return { region: region, orders: sums.rows, total: sums.total };
    }
  };

  if (window.tamrelDesk) {
    window.tamrelDesk.onMessage(function (text) {
      if (text.indexOf("libraries ") === 0) loadLibraries(text.substring(10));
      else if (text.indexOf("region ") === 0) showRegion(text.substring(7));
      else console.warn("unknown message from the publication: " + text);
    });
  }

  // "pageshow" also comes when Back or Forward bring the page back from the browser's cache.
  window.addEventListener("pageshow", function () {
    refreshCards();
    document.getElementById("status").textContent = "Connected to the publication.";
    send("ready");
  });
})();
