// ICoreWebView2_3's virtual host mapping on the Chromium engine: the page's requests to a
// mapped host are paused (Fetch domain) and fulfilled from the folder, so that the page has
// a real https origin where ES modules and fetch() work.
#include <cwctype>

#include "base64.h"
#include "chromium_core.h"
#include "served_files.h"
#include "text_utf8.h"

namespace chromium {

namespace {

constexpr int32_t kAccessDeny = 0, kAccessAllow = 1, kAccessDenyCors = 2;

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

struct UrlParts {
  std::string scheme, host, path;  // path from the first "/" after the host, query included
};

bool SplitUrl(const std::string& url, UrlParts& parts) {
  const size_t colon = url.find("://");
  if (colon == std::string::npos) return false;
  parts.scheme = LowerAscii(url.substr(0, colon));
  if (parts.scheme != "http" && parts.scheme != "https") return false;
  const size_t hostStart = colon + 3;
  const size_t pathStart = url.find_first_of("/?#", hostStart);
  std::string authority =
      url.substr(hostStart, pathStart == std::string::npos ? std::string::npos : pathStart - hostStart);
  const size_t at = authority.rfind('@');
  if (at != std::string::npos) authority.erase(0, at + 1);
  const size_t port = authority.find(':');
  parts.host = LowerAscii(authority.substr(0, port));
  parts.path = pathStart == std::string::npos ? "/" : url.substr(pathStart);
  if (parts.path[0] != '/') parts.path = "/" + parts.path;
  return true;
}

// The host of an origin or a URL given in a request header ("" when there is none).
std::string HostOf(const std::string& url) {
  UrlParts parts;
  return SplitUrl(url, parts) ? parts.host : std::string();
}

std::string Header(const Json& request, const char* name) {
  const Json& headers = Member(request, "headers");
  if (!headers.is_object()) return std::string();
  const std::string wanted = LowerAscii(name);
  for (auto it = headers.begin(); it != headers.end(); ++it)
    if (LowerAscii(it.key()) == wanted && it.value().is_string()) return it.value().get<std::string>();
  return std::string();
}

Json TextHeaders(const std::string& mimeType) {
  Json headers = Json::array({Json{{"name", "Content-Type"}, {"value", mimeType}}});
  headers.push_back(Json{{"name", "Cache-Control"}, {"value", "no-cache"}});
  return headers;
}

}  // namespace

void ChromiumCore::UpdateFetchPatterns(const State& s) {
  Json patterns = Json::array();
  if (s->fetchEnabled)
    patterns.push_back(Json{{"urlPattern", std::string(kStringDocumentOrigin) + "*"}, {"requestStage", "Request"}});
  for (const auto& mapping : s->virtualHosts) {
    for (const char* scheme : {"https://", "http://"})
      patterns.push_back(Json{{"urlPattern", scheme + mapping.first + "/*"}, {"requestStage", "Request"}});
  }
  if (patterns.empty())
    s->Send("Fetch.disable", Json::object());
  else
    s->Send("Fetch.enable", Json{{"patterns", patterns}});
}

HRESULT ChromiumCore::SetVirtualHostMapping(engine::Page& page, const std::wstring& host, const std::wstring& folder,
                                            int32_t accessKind) {
  try {
    State s = StateOf(page);
    if (!s) return engine::kClosedError;
    const std::string name = LowerAscii(ToUtf8(host));
    if (name.empty() || name.find_first_of("/\\:*?") != std::string::npos || folder.empty()) return E_INVALIDARG;
    if (accessKind != kAccessDeny && accessKind != kAccessAllow && accessKind != kAccessDenyCors) return E_INVALIDARG;
    s->virtualHosts[name] = folder;
    s->virtualHostAccess[name] = accessKind;
    UpdateFetchPatterns(s);
    return S_OK;
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT ChromiumCore::ClearVirtualHostMapping(engine::Page& page, const std::wstring& host) {
  try {
    State s = StateOf(page);
    if (!s) return engine::kClosedError;
    const std::string name = LowerAscii(ToUtf8(host));
    if (s->virtualHosts.erase(name) == 0) return E_INVALIDARG;
    s->virtualHostAccess.erase(name);
    UpdateFetchPatterns(s);
    return S_OK;
  } catch (...) {
    return E_FAIL;
  }
}

bool ChromiumCore::ServeVirtualHost(const State& s, const std::string& requestId, const Json& request,
                                    const std::string& resourceType) {
  UrlParts parts;
  if (!SplitUrl(Text(request, "url"), parts)) return false;
  auto it = s->virtualHosts.find(parts.host);
  if (it == s->virtualHosts.end()) return false;

  ServedFile file;
  // DENY: only the host's own pages may load its files; any page may navigate to them.
  const std::string origin = Header(request, "Origin");
  const std::string referer = Header(request, "Referer");
  const std::string asker = !origin.empty() && origin != "null" ? HostOf(origin) : HostOf(referer);
  const bool foreign = resourceType != "Document" && !asker.empty() && asker != parts.host;
  if (foreign && s->virtualHostAccess[parts.host] == kAccessDeny)
    file.status = 403;
  else
    file = ServeFromFolder(it->second, parts.path);

  Json reply{{"requestId", requestId}, {"responseCode", file.status}};
  if (file.status == 200) {
    reply["responseHeaders"] = TextHeaders(file.mimeType);
    reply["body"] = Base64Encode(file.body);
  } else {
    reply["responseHeaders"] = TextHeaders("text/plain; charset=utf-8");
    reply["body"] = Base64Encode(file.status == 403 ? "403 Forbidden" : "404 Not Found");
  }
  s->Send("Fetch.fulfillRequest", reply);
  return true;
}

}  // namespace chromium
