#pragma once

#include <cstdint>
#include <span>

namespace orvane {

// The enciphered, packed parts atlas built into the program; empty when the build had none.
std::span<const std::uint8_t> embeddedPartsAtlasResource();

}  // namespace orvane
