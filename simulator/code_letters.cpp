#include "simulator/code_letters.h"

#include <bit>
#include <exception>

namespace code_letters {

namespace {

uint32_t Crc24(std::string_view text) {
    uint32_t crc = 0xB704CE;
    for (const char c : text) {
        crc ^= static_cast<uint32_t>(static_cast<unsigned char>(c)) << 16;
        for (int i = 0; i < 8; ++i) {
            crc <<= 1;
            if ((crc & 0x1000000) != 0) {
                crc ^= 0x1864CFB;
            }
        }
    }
    return crc & 0xFFFFFF;
}

}  // namespace

int LetterValue(char letter) {
    if (letter >= 'A' && letter <= 'Z') {
        return letter - 'A';
    }
    if (letter >= 'a' && letter <= 'z') {
        return letter - 'a' + 26;
    }
    if (letter >= '0' && letter <= '9') {
        return letter - '0' + 52;
    }
    if (letter == '-') {
        return 62;
    }
    if (letter == '_') {
        return 63;
    }
    return -1;
}

std::string CheckLetters(std::string_view text) {
    const uint32_t crc = Crc24(text);
    std::string letters;
    for (int shift = 18; shift >= 0; shift -= 6) {
        letters += kAlphabet[(crc >> shift) & 63];
    }
    return letters;
}

bool Checked(std::string_view code, size_t minBody) {
    if (code.size() < minBody + kCheckLetters) {
        return false;
    }
    for (const char c : code) {
        if (LetterValue(c) < 0) {
            return false;
        }
    }
    const std::string_view body = code.substr(0, code.size() - kCheckLetters);
    return CheckLetters(body) == code.substr(body.size());
}

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kBlanks[] = {" ", "\t", "\r", "\n", "\v", "\f", "\u00a0", "\u3000"};
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (const std::string_view blank : kBlanks) {
            if (text.starts_with(blank)) {
                text.remove_prefix(blank.size());
                trimmed = true;
            }
            if (text.ends_with(blank)) {
                text.remove_suffix(blank.size());
                trimmed = true;
            }
        }
    }
    return text;
}

int Width(uint32_t count) {
    return count <= 1 ? 0 : std::bit_width(count - 1);
}

void BitWriter::Put(uint32_t value, uint32_t count) {
    for (int bit = Width(count) - 1; bit >= 0; --bit) {
        PutBit(((value >> bit) & 1) != 0);
    }
}

void BitWriter::PutBit(bool bit) {
    pending_ = (pending_ << 1) | (bit ? 1 : 0);
    if (++pendingBits_ == 6) {
        text_ += kAlphabet[pending_];
        pending_ = 0;
        pendingBits_ = 0;
    }
}

std::string BitWriter::Finish() {
    if (pendingBits_ > 0) {
        text_ += kAlphabet[pending_ << (6 - pendingBits_)];
    }
    return text_;
}

void BitReader::Fail() const {
    damaged_();
    std::terminate();  // `damaged` must throw
}

uint32_t BitReader::Get(uint32_t count) {
    uint32_t value = 0;
    for (int bit = Width(count); bit > 0; --bit) {
        value = (value << 1) | (GetBit() ? 1 : 0);
    }
    if (value >= count) {
        Fail();
    }
    return value;
}

bool BitReader::GetBit() {
    if (position_ >= letters_.size() * 6) {
        Fail();
    }
    const int letter = LetterValue(letters_[position_ / 6]);
    const int shift = 5 - static_cast<int>(position_ % 6);
    ++position_;
    return ((letter >> shift) & 1) != 0;
}

void BitReader::ExpectEnd() {
    if ((position_ + 5) / 6 != letters_.size()) {
        Fail();
    }
    while (position_ % 6 != 0) {
        if (GetBit()) {
            Fail();
        }
    }
}

}  // namespace code_letters
