// The C++ runtime's default terminate handler names the type of an uncaught exception, and
// brings its name demangler along: some 50 KB of the DLL. The plug-in throws and catches
// nothing, so a terminate (a pure virtual call, say) ends the process without a word.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
