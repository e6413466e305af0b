#pragma once

#include <string>

// Loading shared libraries. None of these throws: failure is a null handle or address.

namespace velk {

// Loads Contents/Frameworks/<name>.so below the application bundle (GetMacHostApplicationPath);
// null when the bundle path cannot be found or the library cannot be loaded.
void* LoadLib(std::string const& name);

// Loads the library at path with immediate binding.
void* LoadLibBasic(std::string const& path);

// Does nothing for a null handle.
void FreeLib(void* handle);

void* GetFunctionAddress(void* handle, std::string const& symbol);

}  // namespace velk
