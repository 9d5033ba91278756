#pragma once

#include <cstdint>

namespace KX {

// How a zip package treats the bytes of the stream it is given.
enum class ZipOpenMode : std::uint8_t {
    OpenOrCreate = 0, // open with consistency checks; an empty stream becomes an empty archive
    CreateNew = 1,    // start empty whatever the stream holds
    OpenExisting = 2, // open without extra checks; an empty stream is an error
};

} // namespace KX
