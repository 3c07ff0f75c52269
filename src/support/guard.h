#pragma once
// The one guard policy for every edge where code outside the plug-in calls into it (the host's
// entry points, window and dialog procedures, COM methods the engine calls): nothing raised
// inside crosses the edge, and what a caught failure says is decided in one place.
#include <string>

enum class TFailureKind { Raised, OutOfMemory, Standard, Unknown };

struct TFailure {
  TFailureKind Kind;
  // A raised TamrelError's message, "Out of memory.", a standard exception's text; empty for
  // anything else.
  std::wstring Message;
};

// The failure being handled; call only inside a catch block.
TFailure CurrentFailure();
// "class: message", as the log shows a failure it describes.
std::wstring DescribeFailure(const TFailure& failure);

// Runs body and returns its result; a failure gives onFailure instead.
template <class R, class Body>
R Guarded(R onFailure, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return onFailure;
  }
}

// The same, handing the failure to report first (a failure of report itself is dropped).
template <class R, class Body, class Report>
R Guarded(R onFailure, Body&& body, Report&& report) noexcept {
  try {
    return body();
  } catch (...) {
    try {
      report(CurrentFailure());
    } catch (...) {
    }
    return onFailure;
  }
}

// For bodies without a result.
template <class Body>
void GuardedCall(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
  }
}
