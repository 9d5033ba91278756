// Raw-deflate throughput of the candidate codecs on a set of files, each compressed as one zip
// entry would be: zlib level 1 (the former codec), ISA-L igzip level 1 (streamed in 64 KiB pieces,
// as entries are written) and libdeflate level 1 (whole buffer). Every result is inflated again by
// the same library and compared with the input.
//
//   g++ -O2 -std=c++20 bench/deflate-codecs.cpp -lz -lisal -ldeflate -o deflate-codecs
//   ./deflate-codecs FILE...
#include <chrono>
#include <cstdio>
#include <fstream>
#include <isa-l/igzip_lib.h>
#include <iterator>
#include <libdeflate.h>
#include <stdexcept>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes zlibDeflate(const Bytes& in) {
    z_stream z{};
    deflateInit2(&z, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&z, in.size()));
    z.next_in = const_cast<unsigned char*>(in.data());
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    if (deflate(&z, Z_FINISH) != Z_STREAM_END)
        throw std::runtime_error("zlib deflate");
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

Bytes zlibInflate(const Bytes& in, std::size_t size) {
    z_stream z{};
    inflateInit2(&z, -MAX_WBITS);
    Bytes out(size);
    z.next_in = const_cast<unsigned char*>(in.data());
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    if (inflate(&z, Z_FINISH) != Z_STREAM_END)
        throw std::runtime_error("zlib inflate");
    inflateEnd(&z);
    return out;
}

Bytes isalDeflate(const Bytes& in) {
    isal_zstream z;
    isal_deflate_init(&z);
    std::vector<unsigned char> levelBuffer(ISAL_DEF_LVL1_DEFAULT);
    z.level = 1;
    z.level_buf = levelBuffer.data();
    z.level_buf_size = static_cast<uint32_t>(levelBuffer.size());
    Bytes out(in.size() + in.size() / 16 + 1024);
    z.next_out = out.data();
    z.avail_out = static_cast<uint32_t>(out.size());
    std::size_t done = 0;
    do {
        const std::size_t piece = std::min<std::size_t>(65536, in.size() - done);
        z.next_in = const_cast<unsigned char*>(in.data() + done);
        z.avail_in = static_cast<uint32_t>(piece);
        done += piece;
        z.end_of_stream = done == in.size();
        if (isal_deflate(&z) != COMP_OK)
            throw std::runtime_error("isal deflate");
    } while (done < in.size());
    if (z.internal_state.state != ZSTATE_END)
        throw std::runtime_error("isal deflate did not finish");
    out.resize(z.total_out);
    return out;
}

Bytes isalInflate(const Bytes& in, std::size_t size) {
    inflate_state s;
    isal_inflate_init(&s);
    Bytes out(size);
    s.next_in = const_cast<unsigned char*>(in.data());
    s.avail_in = static_cast<uint32_t>(in.size());
    s.next_out = out.data();
    s.avail_out = static_cast<uint32_t>(out.size());
    if (isal_inflate(&s) != ISAL_DECOMP_OK || s.block_state != ISAL_BLOCK_FINISH)
        throw std::runtime_error("isal inflate");
    return out;
}

Bytes libdeflateDeflate(const Bytes& in) {
    libdeflate_compressor* c = libdeflate_alloc_compressor(1);
    Bytes out(libdeflate_deflate_compress_bound(c, in.size()));
    out.resize(libdeflate_deflate_compress(c, in.data(), in.size(), out.data(), out.size()));
    libdeflate_free_compressor(c);
    return out;
}

Bytes libdeflateInflate(const Bytes& in, std::size_t size) {
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    Bytes out(size);
    if (libdeflate_deflate_decompress(d, in.data(), in.size(), out.data(), size, nullptr) !=
        LIBDEFLATE_SUCCESS)
        throw std::runtime_error("libdeflate inflate");
    libdeflate_free_decompressor(d);
    return out;
}

template <typename Deflate, typename Inflate>
void measure(const char* name, const std::vector<Bytes>& files, Deflate deflateOne, Inflate inflateOne) {
    using Clock = std::chrono::steady_clock;
    std::vector<Bytes> packed;
    packed.reserve(files.size());
    const auto start = Clock::now();
    std::size_t total = 0;
    for (const Bytes& file : files) {
        packed.push_back(deflateOne(file));
        total += packed.back().size();
    }
    const auto deflated = Clock::now();
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (inflateOne(packed[i], files[i].size()) != files[i])
            throw std::runtime_error(std::string(name) + " round trip differs");
    }
    const auto inflated = Clock::now();
    const auto seconds = [](auto d) { return std::chrono::duration<double>(d).count(); };
    std::printf("%-12s deflate %7.3f s  inflate %7.3f s  %12zu bytes\n", name, seconds(deflated - start),
                seconds(inflated - deflated), total);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<Bytes> files;
    std::size_t total = 0;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        total += files.back().size();
    }
    std::printf("%zu files, %zu bytes\n", files.size(), total);
    measure("zlib-1", files, zlibDeflate, zlibInflate);
    measure("isa-l-1", files, isalDeflate, isalInflate);
    measure("libdeflate-1", files, libdeflateDeflate, libdeflateInflate);
}
