// Pieces of the C++ run-time that setup.exe and unkalvora.exe define themselves,
// so that the static link leaves out what the library's own versions drag in.
//
// - The default terminate handler names the uncaught exception's type on stderr
//   (which a GUI program does not have) with the name demangler and mingw's
//   printf: about 50 KB. Ours ends the program as that handler does at last.
// - The library's throw helpers for its containers and strings construct
//   std::logic_error and friends, whose reference-counted string code and the
//   whole explicit std::string instantiation come with them: about 80 KB. Ours
//   throw the standard types that carry no text, and for the others one
//   exception with the library's fixed text; every handler in these programs
//   catches std::exception and shows what().
//
// The library defines all these helpers in one object file: a helper used but
// not defined here pulls that file in and the link fails with a duplicate
// definition, so the list below must stay complete.
#include <bits/functexcept.h> // the helpers' declarations
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

class LibraryFault : public std::exception {
public:
  explicit LibraryFault(const char* text) : text_(text) {}
  const char* what() const noexcept override { return text_; }

private:
  const char* text_; // the library's texts are literals
};

} // namespace

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
} // namespace __gnu_cxx

namespace std {
void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* text) { throw LibraryFault(text); }
void __throw_domain_error(const char* text) { throw LibraryFault(text); }
void __throw_invalid_argument(const char* text) { throw LibraryFault(text); }
void __throw_length_error(const char* text) { throw LibraryFault(text); }
void __throw_out_of_range(const char* text) { throw LibraryFault(text); }
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryFault(format); }
void __throw_runtime_error(const char* text) { throw LibraryFault(text); }
void __throw_range_error(const char* text) { throw LibraryFault(text); }
void __throw_overflow_error(const char* text) { throw LibraryFault(text); }
void __throw_underflow_error(const char* text) { throw LibraryFault(text); }
} // namespace std
