#pragma once
// A failure raised inside the plug-in; it never crosses into the host.
#include <exception>
#include <string>

class TamrelError : public std::exception {
 public:
  explicit TamrelError(std::wstring message) : message_(std::move(message)) {}
  const std::wstring& message() const { return message_; }
  const char* what() const noexcept override { return "TamrelError"; }

 private:
  std::wstring message_;
};

[[noreturn]] inline void Fail(const std::wstring& message) { throw TamrelError(message); }
