#include "core/streams/StdIStream.h"

#include <boost/iostreams/categories.hpp>
#include <boost/iostreams/positioning.hpp>
#include <boost/iostreams/stream.hpp>

namespace KX {
namespace StreamDetails {

namespace io = boost::iostreams;

struct BufferBasedStreamToBoostDeviceAdapterTraits {
    struct category : io::input_seekable, io::direct_tag {};
};
struct SeekableStreamToBoostDeviceAdapterTraits {
    struct category : io::input_seekable, io::device_tag {};
};
struct StreamToBoostDeviceAdapterTraits {
    struct category : io::input, io::device_tag {};
};

template <typename Stream, typename Traits>
class StreamToBoostDeviceAdapter {
public:
    using char_type = char;
    using category = typename Traits::category;

    explicit StreamToBoostDeviceAdapter(Stream& stream) : _stream(&stream) {}

    std::streamsize read(char* buffer, std::streamsize count) {
        const std::size_t got = _stream->read(buffer, static_cast<std::size_t>(count));
        return got == 0 ? -1 : static_cast<std::streamsize>(got);
    }

    std::streampos seek(io::stream_offset offset, std::ios_base::seekdir origin) {
        return static_cast<std::streampos>(_stream->seek(offset, origin));
    }

    std::pair<char*, char*> input_sequence() {
        const auto [begin, end] = _stream->getBuffer();
        // The direct device interface wants mutable pointers; the content is only ever read.
        return {const_cast<char*>(begin), const_cast<char*>(end)};
    }

private:
    Stream* _stream;
};

template <typename Traits>
std::unique_ptr<std::istream> makeStream(InputStream& stream) {
    return std::make_unique<io::stream<StreamToBoostDeviceAdapter<InputStream, Traits>>>(stream);
}

} // namespace StreamDetails

std::unique_ptr<std::istream> makeStdIStream(InputStream& stream) {
    using namespace StreamDetails;
    if (stream.isBufferBased())
        return makeStream<BufferBasedStreamToBoostDeviceAdapterTraits>(stream);
    if (stream.isSeekable())
        return makeStream<SeekableStreamToBoostDeviceAdapterTraits>(stream);
    return makeStream<StreamToBoostDeviceAdapterTraits>(stream);
}

} // namespace KX
