#pragma once

#include <string>
#include <vector>

namespace velk {

// Every character that separates path components.
inline constexpr char DirectorySeparators[] = "/";
// The separator written when paths are built.
inline constexpr char DefaultDirectorySeparator[] = "/";

bool IsDirectorySeperator(char c);

// The part of path after its last separator: the bare name that log entries carry.
std::string GetFileName(std::string const& path);

// a, one separator, b; the separator is inserted even when a already ends in one.
std::string MergePathComponents(std::string const& a, std::string const& b);
std::string MergePathComponents(std::vector<std::string> const& parts);

// The bundle directory of the file that holds this library's code (the executable when the code
// is linked into it): see detail::BundlePathOf. Throws VelkException when neither can be found.
std::string GetMacHostApplicationPath();

namespace detail {

// The leading components of path up to and including the first one that contains ".app",
// each followed by a separator; the whole path so when there is none, "/" for an empty path.
std::string BundlePathOf(std::string const& path);

}  // namespace detail
}  // namespace velk
