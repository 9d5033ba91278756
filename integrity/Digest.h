#pragma once

#include "core/Errors.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace KX::CryptographicEngine {

// A finished message digest: up to 64 bytes held inline with their count.
class Digest {
public:
    static constexpr std::size_t capacity = 64;

    Digest() = default;
    // Throws InvalidDataError when bytes does not fit.
    explicit Digest(std::span<const std::uint8_t> bytes) {
        if (bytes.size() > capacity)
            throw InvalidDataError("Digest byte vector is too long");
        std::copy(bytes.begin(), bytes.end(), _bytes.begin());
        _size = bytes.size();
    }

    std::size_t size() const { return _size; }
    bool empty() const { return _size == 0; }
    const std::uint8_t* data() const { return _bytes.data(); }
    std::uint8_t* data() { return _bytes.data(); }
    std::span<const std::uint8_t> bytes() const { return {_bytes.data(), _size}; }
    // For filling in place; size must not exceed the capacity.
    void setSize(std::size_t size) { _size = std::min(size, capacity); }

    friend bool operator==(const Digest& a, const Digest& b) {
        return a._size == b._size &&
               std::equal(a._bytes.begin(), a._bytes.begin() + a._size, b._bytes.begin());
    }

private:
    std::array<std::uint8_t, capacity> _bytes{};
    std::size_t _size = 0;
};

} // namespace KX::CryptographicEngine
