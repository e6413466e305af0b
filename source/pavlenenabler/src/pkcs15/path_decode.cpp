#include "der/der_integer.hpp"
#include "der/der_iterator.hpp"
#include "pavlenenabler/enabler/pkcs15/p15.hpp"

namespace P15 {

namespace {

// Marks a file identifier that no path may name (also written for a dangling half identifier).
constexpr unsigned short InvalidFid = 0xFFFF;

}  // namespace

bool PathDecode(CDerString const& path, unsigned short* fids, unsigned int capacity,
                unsigned int& count, int& index, int& length, bool allowBare) {
    count = 0;
    index = -1;
    length = -1;
    CDerIterator const fields(path);
    std::basic_string<unsigned char> const octets = fields.SliceValue(Path_path);
    std::size_t offset = 0;
    while (count < capacity && offset < octets.size()) {
        if (octets.size() - offset == 1) {
            fids[count] = InvalidFid;
            return false;
        }
        fids[count] = static_cast<unsigned short>((octets[offset] << 8) | octets[offset + 1]);
        if (fids[count] == InvalidFid) {
            return false;
        }
        offset += 2;
        ++count;
    }
    // IntDecode takes the implicit [0] of the length like an INTEGER.
    index = IntDecode(fields.Slice(Path_index), -1);
    length = IntDecode(fields.Slice(Path_length), -1);
    if (count == 0) {
        return false;
    }
    return allowBare || (index != -1 && length != -1);
}

}  // namespace P15
