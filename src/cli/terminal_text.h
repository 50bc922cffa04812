#pragma once
// Fitting UTF-8 text into the columns of a terminal.

#include <cstddef>
#include <string_view>

namespace sonvela {

// The first `columns` characters of a UTF-8 text.
std::string_view FirstColumns(std::string_view text, size_t columns);

}  // namespace sonvela
