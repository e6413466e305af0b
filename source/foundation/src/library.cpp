#include "velk/library.hpp"

#include <dlfcn.h>

#include "velk/path.hpp"

namespace velk {

void* LoadLib(std::string const& name) noexcept {
    try {
        return LoadLibBasic(GetMacHostApplicationPath() + "Contents/Frameworks/" + name + ".so");
    } catch (...) {
        return nullptr;
    }
}

void* LoadLibBasic(std::string const& path) noexcept {
    return ::dlopen(path.c_str(), RTLD_NOW);
}

void FreeLib(void* handle) noexcept {
    if (handle != nullptr) {
        ::dlclose(handle);
    }
}

void* GetFunctionAddress(void* handle, std::string const& symbol) noexcept {
    return ::dlsym(handle, symbol.c_str());
}

}  // namespace velk
