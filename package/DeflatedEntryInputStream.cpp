#include "package/DeflatedEntryInputStream.h"

#include "core/Errors.h"
#include "core/FatalError.h"

#include <algorithm>
#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#include <limits>

namespace KX {

namespace {

constexpr std::uint64_t inputChunk = 64 * 1024;

// The inflater's state is 85 KiB; made anew for each of thousands of small entries, the allocator
// would hand its pages back to the system and fault them in again every time.
std::unique_ptr<inflate_state>& spareState() {
    thread_local std::unique_ptr<inflate_state> spare;
    return spare;
}

std::unique_ptr<inflate_state> takeState() {
    if (auto& spare = spareState())
        return std::move(spare);
    return std::make_unique<inflate_state>();
}

} // namespace

DeflatedEntryInputStream::DeflatedEntryInputStream(zip_file_t* file, std::int64_t size,
                                                   std::uint64_t compressedSize, std::uint32_t crc)
    : _file(file), _size(size), _expectedCrc(crc), _state(takeState()),
      _input(static_cast<std::size_t>(std::clamp<std::uint64_t>(compressedSize, 1, inputChunk))) {
    isal_inflate_init(_state.get());
    _state->crc_flag = ISAL_DEFLATE;
}

DeflatedEntryInputStream::~DeflatedEntryInputStream() {
    zip_fclose(_file);
    spareState() = std::move(_state);
}

std::pair<const char*, const char*> DeflatedEntryInputStream::getBuffer() {
    fatalError("The stream is not buffer-based");
}

std::int64_t DeflatedEntryInputStream::seek(std::int64_t, std::ios_base::seekdir) {
    fatalError("Zip stream is not seekable");
}

void DeflatedEntryInputStream::refill() {
    const zip_int64_t got = zip_fread(_file, _input.data(), _input.size());
    if (got < 0)
        throw BrokenFileError("Cannot read zip entry");
    if (got == 0)
        _inputEnded = true;
    _state->next_in = _input.data();
    _state->avail_in = static_cast<std::uint32_t>(got);
}

std::size_t DeflatedEntryInputStream::inflateInto(unsigned char* out, std::size_t count) {
    std::size_t done = 0;
    while (done < count && _state->block_state != ISAL_BLOCK_FINISH) {
        if (_state->avail_in == 0 && !_inputEnded)
            refill();
        const auto room = static_cast<std::uint32_t>(
            std::min<std::size_t>(count - done, std::numeric_limits<std::uint32_t>::max()));
        _state->next_out = out + done;
        _state->avail_out = room;
        const std::uint32_t inputBefore = _state->avail_in;
        if (isal_inflate(_state.get()) < 0)
            throw BrokenFileError("Cannot read zip entry");
        const std::size_t produced = room - _state->avail_out;
        done += produced;
        // No progress: compressed data that ends before the deflate stream does.
        if (produced == 0 && _state->avail_in == inputBefore && _state->block_state != ISAL_BLOCK_FINISH)
            throw BrokenFileError("Cannot read zip entry");
    }
    return done;
}

// At the entry's size the deflate stream must end there, and the data must match the CRC.
void DeflatedEntryInputStream::checkEnd() {
    unsigned char probe = 0;
    if (inflateInto(&probe, 1) != 0 || _crc != _expectedCrc)
        throw BrokenFileError("Cannot read zip entry");
}

std::size_t DeflatedEntryInputStream::read(void* buffer, std::size_t count) {
    const std::int64_t n = std::min<std::int64_t>(static_cast<std::int64_t>(count), _size - _position);
    if (n <= 0)
        return 0;
    auto* out = static_cast<unsigned char*>(buffer);
    if (inflateInto(out, static_cast<std::size_t>(n)) != static_cast<std::size_t>(n))
        throw BrokenFileError("Cannot read zip entry");
    _crc = crc32_gzip_refl(_crc, out, static_cast<std::uint64_t>(n));
    _position += n;
    if (_position == _size)
        checkEnd();
    return static_cast<std::size_t>(n);
}

} // namespace KX
