// The run-time's raisers of its standard exceptions (a string position out of range, a length
// too long, ...) build std::logic_error and its kin around a reference-counted string of their
// own, which links a second string implementation into the plug-in. The plug-in's guards catch
// these only as std::exception and keep what() as the failure's text, so the plug-in defines
// the raisers itself: memory failures stay std::bad_alloc (the guards name them), the rest is a
// small exception whose what() is the run-time's message, or the standard type's name where
// the run-time would have formatted one. The linker then takes neither string copy.
#include <bits/functexcept.h>
#include <exception>
#include <new>
#include <typeinfo>

namespace {
class TRuntimeFailure final : public std::exception {
 public:
  explicit TRuntimeFailure(const char* what) : what_(what ? what : "std::exception") {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;  // the run-time passes literals
};
}  // namespace

namespace std {
void __throw_bad_exception() { throw std::bad_exception(); }
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_array_new_length(); }
void __throw_bad_cast() { throw std::bad_cast(); }
void __throw_bad_typeid() { throw std::bad_typeid(); }
void __throw_logic_error(const char* what) { throw TRuntimeFailure(what); }
void __throw_domain_error(const char* what) { throw TRuntimeFailure(what); }
void __throw_invalid_argument(const char* what) { throw TRuntimeFailure(what); }
void __throw_length_error(const char* what) { throw TRuntimeFailure(what); }
void __throw_out_of_range(const char* what) { throw TRuntimeFailure(what); }
void __throw_out_of_range_fmt(const char*, ...) { throw TRuntimeFailure("std::out_of_range"); }
void __throw_runtime_error(const char* what) { throw TRuntimeFailure(what); }
void __throw_range_error(const char* what) { throw TRuntimeFailure(what); }
void __throw_overflow_error(const char* what) { throw TRuntimeFailure(what); }
void __throw_underflow_error(const char* what) { throw TRuntimeFailure(what); }
}  // namespace std
