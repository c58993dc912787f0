#pragma once

// The letters of the short codes (build codes, holdings codes): bits packed into the
// URL-safe base64 alphabet (A-Z a-z 0-9 - _), most significant bit first, and a 24-bit
// CRC in four letters that closes a code.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace code_letters {

inline constexpr char kAlphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
inline constexpr size_t kCheckLetters = 4;

// The letter's value 0..63, or -1 for a character outside the alphabet.
int LetterValue(char letter);

// The four check letters of `text`: its CRC-24 (polynomial 0x864CFB, start 0xB704CE),
// which finds every error burst of up to 24 bits, so any one changed letter, even in the
// check letters themselves.
std::string CheckLetters(std::string_view text);

// Whether `code` is all letters, at least `minBody` before its check letters, and the
// check letters are those of the rest.
bool Checked(std::string_view code, size_t minBody);

// A pasted text without the blanks around it: ASCII white space, the no-break space and
// the ideographic space of a Japanese input method.
std::string_view Trimmed(std::string_view text);

// Bits for a value in 0..count-1.
int Width(uint32_t count);

class BitWriter {
public:
    void Put(uint32_t value, uint32_t count);
    void PutBit(bool bit);
    // The letters so far; the last letter's unused bits are zero.
    std::string Finish();

private:
    std::string text_;
    uint32_t pending_ = 0;
    int pendingBits_ = 0;
};

// Reads what BitWriter wrote; anything that is not calls `damaged`, which must throw.
class BitReader {
public:
    using Damaged = void (*)();

    BitReader(std::string_view letters, Damaged damaged) : letters_(letters), damaged_(damaged) {}

    // A value in 0..count-1; anything at or above count is damage.
    uint32_t Get(uint32_t count);
    bool GetBit();
    // The code must end in the letter of the last bit, with zeros after it.
    void ExpectEnd();

private:
    [[noreturn]] void Fail() const;

    std::string_view letters_;
    Damaged damaged_;
    size_t position_ = 0;
};

}  // namespace code_letters
