#pragma once

// Zip archives with an entry that inflates to far more than it occupies, written by hand: the
// deflate stream is one flushed block of zeros repeated, so no test ever holds the inflated bytes.

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <zlib.h>

namespace KX::Testing {

namespace zipbytes {
inline void le(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(i < 8 ? (value >> (8 * i)) & 0xFF : 0); // zero fields run past 8 bytes
}
} // namespace zipbytes

// Raw deflate data of megabytes * 1 MiB zeros, and its CRC-32.
inline std::pair<std::string, std::uint32_t> deflatedZeros(unsigned megabytes) {
    const std::string zeros(1 << 20, '\0');
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string block(1 << 16, '\0');
    const auto run = [&](int flush, std::size_t input) {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
        z.avail_in = static_cast<uInt>(input);
        z.next_out = reinterpret_cast<Bytef*>(block.data());
        z.avail_out = static_cast<uInt>(block.size());
        deflate(&z, flush);
        return block.substr(0, block.size() - z.avail_out);
    };
    // A full flush ends the block on a byte boundary and forgets the window, so copies of it chain.
    const std::string chunk = run(Z_FULL_FLUSH, zeros.size());
    const std::string end = run(Z_FINISH, 0);
    deflateEnd(&z);
    std::string data;
    uLong crc = crc32(0, nullptr, 0);
    const uLong chunkCrc =
        crc32(0, reinterpret_cast<const Bytef*>(zeros.data()), static_cast<uInt>(zeros.size()));
    for (unsigned i = 0; i < megabytes; ++i) {
        data += chunk;
        crc = crc32_combine(crc, chunkCrc, static_cast<z_off_t>(zeros.size()));
    }
    return {data + end, static_cast<std::uint32_t>(crc)};
}

// An archive of the given entries, stored, followed by the bomb entry inflating to
// megabytes * 1 MiB zeros.
inline std::string zipWithBomb(const std::map<std::string, std::string>& entries, const std::string& bombName,
                               unsigned megabytes) {
    using zipbytes::le;
    std::string local;
    std::string central;
    std::uint64_t count = 0;
    const auto add = [&](const std::string& name, const std::string& data, std::uint32_t crc,
                         std::uint64_t size, int method) {
        const std::uint64_t offset = local.size();
        std::string common;
        le(common, 20, 2);
        le(common, 0, 2);
        le(common, static_cast<std::uint64_t>(method), 2);
        le(common, 0, 2);
        le(common, 0x21, 2);
        le(common, crc, 4);
        le(common, data.size(), 4);
        le(common, size, 4);
        le(common, name.size(), 2);
        le(common, 0, 2);
        le(local, 0x04034b50, 4);
        local += common + name + data;
        le(central, 0x02014b50, 4);
        le(central, 20, 2);
        central += common;
        le(central, 0, 2 + 2 + 2 + 4);
        le(central, offset, 4);
        central += name;
        ++count;
    };
    for (const auto& [name, data] : entries)
        add(name, data,
            static_cast<std::uint32_t>(
                crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()))),
            data.size(), 0);
    const auto [bomb, crc] = deflatedZeros(megabytes);
    add(bombName, bomb, crc, std::uint64_t(megabytes) << 20, 8);
    std::string end;
    le(end, 0x06054b50, 4);
    le(end, 0, 4);
    le(end, count, 2);
    le(end, count, 2);
    le(end, central.size(), 4);
    le(end, local.size(), 4);
    le(end, 0, 2);
    return local + central + end;
}

// The archive with its end records replaced by zip64 ones that claim count entries, over the
// same (much smaller) central directory.
inline std::string claimEntries(const std::string& archive, std::uint64_t count) {
    using zipbytes::le;
    const std::size_t end = archive.size() - 22;
    std::uint64_t centralSize = 0;
    for (int i = 3; i >= 0; --i)
        centralSize = centralSize << 8 | static_cast<unsigned char>(archive[end + 12 + i]);
    std::string out = archive.substr(0, end);
    const std::uint64_t record = out.size();
    le(out, 0x06064b50, 4);
    le(out, 44, 8);
    le(out, 45, 2);
    le(out, 45, 2);
    le(out, 0, 8);
    le(out, count, 8);
    le(out, count, 8);
    le(out, centralSize, 8);
    le(out, end - centralSize, 8);
    le(out, 0x07064b50, 4);
    le(out, 0, 4);
    le(out, record, 8);
    le(out, 1, 4);
    le(out, 0x06054b50, 4);
    le(out, 0, 4);
    le(out, 0xFFFF, 2);
    le(out, 0xFFFF, 2);
    le(out, 0xFFFFFFFF, 4);
    le(out, 0xFFFFFFFF, 4);
    le(out, 0, 2);
    return out;
}

} // namespace KX::Testing
