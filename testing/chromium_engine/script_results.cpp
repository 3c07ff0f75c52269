// What WebView2 reports for script results and failed navigations, from the protocol's terms.
#include <cstring>

#include "chromium_core.h"

namespace chromium {

int32_t WebErrorStatusOf(const std::string& errorText) {
  struct Entry {
    const char* error;
    int32_t status;
  };
  // COREWEBVIEW2_WEB_ERROR_STATUS values.
  static const Entry kTable[] = {
      {"net::ERR_CERT_COMMON_NAME_INVALID", 1}, {"net::ERR_CERT_DATE_INVALID", 2},
      {"net::ERR_BAD_SSL_CLIENT_AUTH_CERT", 3},  {"net::ERR_CERT_REVOKED", 4},
      {"net::ERR_ADDRESS_UNREACHABLE", 6},       {"net::ERR_TIMED_OUT", 7},
      {"net::ERR_CONNECTION_TIMED_OUT", 7},      {"net::ERR_INVALID_RESPONSE", 8},
      {"net::ERR_EMPTY_RESPONSE", 8},            {"net::ERR_INVALID_HTTP_RESPONSE", 8},
      {"net::ERR_CONNECTION_ABORTED", 9},        {"net::ERR_CONNECTION_CLOSED", 9},
      {"net::ERR_CONNECTION_RESET", 10},         {"net::ERR_INTERNET_DISCONNECTED", 11},
      {"net::ERR_NETWORK_CHANGED", 11},          {"net::ERR_CONNECTION_REFUSED", 12},
      {"net::ERR_CONNECTION_FAILED", 12},        {"net::ERR_NAME_NOT_RESOLVED", 13},
      {"net::ERR_NAME_RESOLUTION_FAILED", 13},   {"net::ERR_ABORTED", 14},
      {"net::ERR_TOO_MANY_REDIRECTS", 15},       {"net::ERR_UNSAFE_REDIRECT", 15},
  };
  for (const Entry& e : kTable)
    if (errorText == e.error) return e.status;
  if (errorText.compare(0, 13, "net::ERR_CERT") == 0) return 5;  // CERTIFICATE_IS_INVALID
  return 0;                                                      // UNKNOWN
}

std::string ScriptResultJson(const Json& remote) {
  const std::string type = Text(remote, "type");
  if (type == "undefined" || type == "symbol" || type == "bigint") return "null";
  if (type == "string") return JsonText(Text(remote, "value"));
  if (type == "boolean") return Flag(remote, "value") ? "true" : "false";
  if (type == "number") {
    if (Has(remote, "unserializableValue"))  // NaN, Infinity, -Infinity, -0
      return Text(remote, "unserializableValue") == "-0" ? "0" : "null";
    return Member(remote, "value").is_number() ? JsonText(Member(remote, "value")) : "null";
  }
  if (type == "object" && Text(remote, "subtype") == "null") return "null";
  return std::string();  // an object or function: serialised in the page
}

}  // namespace chromium
