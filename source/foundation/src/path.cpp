#include "velk/path.hpp"

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <string_view>

#include "velk/exceptions.hpp"
#include "velk/text.hpp"

namespace velk {

namespace {

constexpr char Separator = DirectorySeparators[0];

std::string executablePath() {
    std::array<char, 1024> buffer{};
    ssize_t const length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    // A full buffer may hold a cut-off path.
    if (length < 0 || static_cast<std::size_t>(length) >= buffer.size()) {
        throw VelkException("Unable to get the application path");
    }
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

std::string codeFilePath() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&GetMacHostApplicationPath), &info) == 0) {
        throw VelkException("Unable to get the dynamic library path");
    }
    std::string const path = info.dli_fname != nullptr ? info.dli_fname : "";
    // For code linked into the executable the loader reports argv[0], which may be relative.
    if (path.empty() || !IsDirectorySeperator(path.front())) {
        return executablePath();
    }
    return path;
}

}  // namespace

bool IsDirectorySeperator(char c) {
    return std::string_view(DirectorySeparators).find(c) != std::string_view::npos;
}

std::string GetFileName(std::string const& path) {
    std::size_t const last = path.find_last_of(DirectorySeparators);
    return last == std::string::npos ? path : path.substr(last + 1);
}

std::string MergePathComponents(std::string const& a, std::string const& b) {
    return a + Separator + b;
}

std::string MergePathComponents(std::vector<std::string> const& parts) {
    return join(parts, std::string(1, Separator));
}

std::string detail::BundlePathOf(std::string const& path) {
    std::string result(1, Separator);
    for (std::string const& component : explode(path, DirectorySeparators)) {
        if (!component.empty()) {
            result += component;
            result += Separator;
        }
        if (component.find(".app") != std::string::npos) {
            break;
        }
    }
    return result;
}

std::string GetMacHostApplicationPath() {
    return detail::BundlePathOf(codeFilePath());
}

}  // namespace velk
