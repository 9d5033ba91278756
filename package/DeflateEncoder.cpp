#include "package/DeflateEncoder.h"

#include "core/Errors.h"

#include <algorithm>
#include <isa-l/igzip_lib.h>
#include <limits>

namespace KX {

namespace {

// Enough for the two entry streams that signing keeps open at once, and a few more.
constexpr std::size_t keptEncoders = 4;

std::vector<std::unique_ptr<DeflateEncoder>>& spareEncoders() {
    // One thread works on packages; a thread of its own would get its own spares.
    thread_local std::vector<std::unique_ptr<DeflateEncoder>> spares;
    return spares;
}

} // namespace

std::unique_ptr<DeflateEncoder> DeflateEncoder::take() {
    auto& spares = spareEncoders();
    if (spares.empty())
        return std::make_unique<DeflateEncoder>();
    std::unique_ptr<DeflateEncoder> encoder = std::move(spares.back());
    spares.pop_back();
    encoder->reset();
    return encoder;
}

void DeflateEncoder::giveBack(std::unique_ptr<DeflateEncoder> encoder) {
    auto& spares = spareEncoders();
    if (encoder && spares.size() < keptEncoders)
        spares.push_back(std::move(encoder));
}

DeflateEncoder::DeflateEncoder()
    : _stream(std::make_unique<isal_zstream>()), _levelBuffer(ISAL_DEF_LVL1_DEFAULT) {
    reset();
}

DeflateEncoder::~DeflateEncoder() = default;

void DeflateEncoder::reset() {
    isal_deflate_init(_stream.get());
    _stream->level = 1;
    _stream->level_buf = _levelBuffer.data();
    _stream->level_buf_size = static_cast<std::uint32_t>(_levelBuffer.size());
    _stream->gzip_flag = IGZIP_DEFLATE;
    _stream->flush = NO_FLUSH;
    _stream->end_of_stream = 0;
}

void DeflateEncoder::setInput(const void* data, std::uint32_t count) {
    _stream->next_in = static_cast<std::uint8_t*>(const_cast<void*>(data));
    _stream->avail_in = count;
}

std::size_t DeflateEncoder::compress(unsigned char* out, std::size_t room, Flush flush) {
    const auto avail =
        static_cast<std::uint32_t>(std::min<std::size_t>(room, std::numeric_limits<std::uint32_t>::max()));
    _stream->next_out = out;
    _stream->avail_out = avail;
    _stream->end_of_stream = flush == Flush::End ? 1 : 0;
    _stream->flush = flush == Flush::Block ? SYNC_FLUSH : NO_FLUSH;
    if (isal_deflate(_stream.get()) != COMP_OK)
        throw BrokenFileError("Cannot compress zip entry");
    return avail - _stream->avail_out;
}

bool DeflateEncoder::inputDone() const {
    return _stream->avail_in == 0;
}

// As the library documents it: all input, buffered input included, is out once a new block would
// start.
bool DeflateEncoder::blockEnded() const {
    return _stream->avail_in == 0 && _stream->internal_state.state == ZSTATE_NEW_HDR;
}

bool DeflateEncoder::finished() const {
    return _stream->internal_state.state == ZSTATE_END;
}

} // namespace KX
