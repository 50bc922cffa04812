#pragma once
// Colours as 24-bit values with red in the low byte, and the channel palette.

#include <array>
#include <cstdint>

namespace sonvela {

using Colour = uint32_t;

constexpr Colour Rgb(int red, int green, int blue) {
  return static_cast<Colour>(red) | static_cast<Colour>(green) << 8 | static_cast<Colour>(blue) << 16;
}

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kCaptionOn = Rgb(0, 255, 0);   // channel button of a channel that plays
constexpr Colour kCaptionOff = Rgb(255, 0, 0);  // channel button of a muted channel
constexpr Colour kProgramShown = Rgb(0, 0, 255);
constexpr Colour kUnusedChannel = Rgb(192, 192, 192);  // activity indicator of a channel without notes
constexpr Colour kProgramStepped = Rgb(255, 0, 0);

// Index 0 is the neutral colour, 1..16 the channels'.
constexpr std::array<Colour, 17> kChannelColour = {
    Rgb(255, 255, 255), Rgb(175, 165, 225), Rgb(0, 255, 0),    Rgb(0, 0, 255),     Rgb(255, 255, 0),
    Rgb(255, 0, 255),   Rgb(0, 255, 255),   Rgb(255, 127, 0),  Rgb(255, 0, 127),   Rgb(255, 127, 127),
    Rgb(155, 155, 255), Rgb(127, 127, 255), Rgb(127, 63, 127), Rgb(127, 163, 163), Rgb(127, 127, 63),
    Rgb(200, 100, 100), Rgb(16, 200, 16)};

// Keyboard painter colour arguments besides a colour.
constexpr int64_t kRedrawKeyboard = -1;
constexpr int64_t kRestoreKey = -2;

}  // namespace sonvela
