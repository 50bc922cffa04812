#pragma once
// The byte-level decoders of the file reader.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sonvela {

// Decodes the variable-length quantity that starts at `position` and leaves `position` on its last
// byte. Any number of bytes is accepted; the value saturates at the largest 32-bit value instead of
// overflowing. Empty when the quantity runs past the end of the data (position is then unchanged).
std::optional<int32_t> ReadVarLen(std::string_view data, size_t& position);

// The bytes as one unsigned big-endian number; at most the last eight bytes count.
uint64_t ReadBigEndian(std::string_view bytes);

// The byte as eight binary digits, most significant first.
std::string Bin8(uint8_t byte);

// Appends a variable-length quantity as Standard MIDI Files write it (7 bits a byte, high group first).
void AppendVarLen(std::string& out, uint32_t value);

}  // namespace sonvela
