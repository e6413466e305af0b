#pragma once

#include <string>

// Loading shared libraries. Failure is a null handle or address, never an exception.

namespace velk {

// Loads Contents/Frameworks/<name>.so below the application bundle (GetMacHostApplicationPath);
// null when the bundle path cannot be found or the library cannot be loaded.
void* LoadLib(std::string const& name) noexcept;

// Loads the library at path with immediate binding.
void* LoadLibBasic(std::string const& path) noexcept;

// Does nothing for a null handle.
void FreeLib(void* handle) noexcept;

void* GetFunctionAddress(void* handle, std::string const& symbol) noexcept;

}  // namespace velk
