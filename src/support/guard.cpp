#include "support/guard.h"
#include <exception>
#include <new>
#include "support/errors.h"
#include "support/text.h"

TFailure CurrentFailure() {
  try {
    throw;
  } catch (const TamrelError& e) {
    return {TFailureKind::Raised, e.message()};
  } catch (const std::bad_alloc&) {
    return {TFailureKind::OutOfMemory, L"Out of memory."};
  } catch (const std::exception& e) {
    return {TFailureKind::Standard, AnsiToWide(e.what())};
  } catch (...) {
    return {TFailureKind::Unknown, std::wstring()};
  }
}

std::wstring DescribeFailure(const TFailure& failure) {
  switch (failure.Kind) {
    case TFailureKind::Raised: return L"TamrelError: " + failure.Message;
    case TFailureKind::OutOfMemory: return L"std::bad_alloc: " + failure.Message;
    case TFailureKind::Standard: return L"std::exception: " + failure.Message;
    case TFailureKind::Unknown: break;
  }
  return L"unknown: Unexpected failure.";
}
