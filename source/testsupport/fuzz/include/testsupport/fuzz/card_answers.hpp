#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "iso7816/interchange/card_io.hpp"

namespace testsupport::fuzz {

// A fuzz input read as the card's answers, one after the other: each a two-byte big-endian
// length and that many bytes; a length that runs past the end takes what is left. The length
// prefix lets one input cover a whole exchange, and a recorded exchange be a seed.
class AnsweringCardIo : public iso7816::interchange::CardIo {
public:
    // Keeps the pointer: the input must outlive this object.
    AnsweringCardIo(std::uint8_t const* data, std::size_t size) : data_(data), size_(size) {}

    using CardIo::Transmit;
    // The next answer, whatever the command. Once the answers are used up the card counts as
    // removed (sclib::NoSmartcardError), which ends every loop that keeps asking.
    velk::basic_allocated_string<unsigned char> Transmit(unsigned char const* command,
                                                         std::size_t length) override;

private:
    std::uint8_t const* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// The answers framed as AnsweringCardIo reads them.
std::vector<std::uint8_t> frameAnswers(std::vector<std::vector<std::uint8_t>> const& answers);

}  // namespace testsupport::fuzz
