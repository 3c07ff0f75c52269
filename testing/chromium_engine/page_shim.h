#pragma once
// What WebView2 provides in every document before any document-created script runs, built
// on two protocol bindings: window.chrome.webview (postMessage, add/removeEventListener of
// "message") and the report of document.title changes (a title change raises no protocol
// event). The bindings are taken from the global object so that the page cannot reach them.

namespace chromium {

constexpr char kMessageBinding[] = "__tamrelEngineMessage";
constexpr char kTitleBinding[] = "__tamrelEngineTitle";
// Property of window.chrome.webview through which the host delivers a message.
constexpr char kDeliverMember[] = "__tamrelEngineDeliver";

constexpr char kPageShim[] = R"JS((function () {
  var w = window;
  var post = w.__tamrelEngineMessage, title = w.__tamrelEngineTitle;
  if (typeof post !== "function" || typeof title !== "function") return;
  try { delete w.__tamrelEngineMessage; delete w.__tamrelEngineTitle; } catch (e) {}
  var stringify = JSON.stringify;
  var target = new EventTarget();
  var webview = {
    postMessage: function (value) {
      var json = stringify(value);
      post(stringify({ u: location.href, m: json === undefined ? "null" : json }));
    },
    addEventListener: function (type, listener, options) { target.addEventListener(type, listener, options); },
    removeEventListener: function (type, listener, options) { target.removeEventListener(type, listener, options); }
  };
  Object.defineProperty(webview, "__tamrelEngineDeliver", {
    value: function (text) { target.dispatchEvent(new MessageEvent("message", { data: text })); }
  });
  if (!w.chrome) w.chrome = {};
  Object.defineProperty(w.chrome, "webview", { value: webview, enumerable: true });
  var last = null;
  var report = function () {
    var now = document.title;
    if (now !== last) { last = now; title(now); }
  };
  new MutationObserver(report).observe(document, { subtree: true, childList: true, characterData: true });
  document.addEventListener("DOMContentLoaded", report);
})();)JS";

// Serialises an object result inside the page, as WebView2 returns it: JSON text, or null
// for what JSON cannot encode.
constexpr char kStringifyThis[] =
    "function(){try{var s=JSON.stringify(this);return s===undefined?'null':s;}catch(e){return 'null';}}";

}  // namespace chromium
