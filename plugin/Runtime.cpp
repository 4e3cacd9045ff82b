// What the C++ runtime would otherwise bring into the DLL. The plug-in throws and catches
// nothing (it is built without exceptions), so these stand in for the library's own versions
// and keep its exception machinery out: some 150 KB with the name demangler of the library's
// verbose terminate handler.
#include <cstddef>
#include <cstdlib>

// A terminate (a pure virtual call, say) ends the process without a word.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// The two dialog objects are all that the plug-in allocates; running out of memory for them
// ends the process, as a failed allocation without exceptions would.
void *operator new(std::size_t size) {
    if (void *block = std::malloc(size ? size : 1))
        return block;
    std::abort();
}

void operator delete(void *block) noexcept { std::free(block); }
void operator delete(void *block, std::size_t) noexcept { std::free(block); }
