#include "testsupport/fuzz/card_answers.hpp"

#include <algorithm>
#include <stdexcept>

#include "sclib/exceptions.hpp"

namespace testsupport::fuzz {

namespace {

constexpr std::size_t LengthPrefix = 2;
constexpr std::size_t MaxAnswerLength = 0xFFFF;

}  // namespace

velk::basic_allocated_string<unsigned char> AnsweringCardIo::Transmit(unsigned char const*,
                                                                      std::size_t) {
    if (size_ - pos_ < LengthPrefix) {
        throw sclib::NoSmartcardError("Transmit failed: Token not found");
    }
    std::size_t const declared = (std::size_t{data_[pos_]} << 8) | data_[pos_ + 1];
    pos_ += LengthPrefix;
    std::size_t const length = std::min(declared, size_ - pos_);
    velk::basic_allocated_string<unsigned char> answer(data_ + pos_, length);
    pos_ += length;
    return answer;
}

std::vector<std::uint8_t> frameAnswers(std::vector<std::vector<std::uint8_t>> const& answers) {
    std::vector<std::uint8_t> framed;
    for (auto const& answer : answers) {
        if (answer.size() > MaxAnswerLength) {
            throw std::invalid_argument("frameAnswers: answer longer than a length prefix holds");
        }
        framed.push_back(static_cast<std::uint8_t>(answer.size() >> 8));
        framed.push_back(static_cast<std::uint8_t>(answer.size() & 0xFF));
        framed.insert(framed.end(), answer.begin(), answer.end());
    }
    return framed;
}

}  // namespace testsupport::fuzz
