#pragma once

#include "core/Errors.h"
#include "core/FatalError.h"
#include "core/streams/InOutStream.h"

#include <boost/iostreams/device/file_descriptor.hpp>
#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace KX {

namespace StreamDetails {
inline constexpr const char* missingCapability = "The stream doesn't have the requested capability";

// Sets the end of the file at size; the position is restored even when that fails.
template <typename Device> void resizeDevice(Device& device, std::size_t size) {
    const std::streampos position = device.seek(0, std::ios_base::cur);
    device.seek(static_cast<boost::iostreams::stream_offset>(size), std::ios_base::beg);
    const bool failed = ::ftruncate(device.handle(), static_cast<off_t>(size)) != 0;
    const int error = errno;
    try {
        device.seek(static_cast<boost::iostreams::stream_offset>(position), std::ios_base::beg);
    } catch (const AbortException&) {
        std::abort();
    } catch (const std::exception&) {
    }
    if (failed)
        throw std::ios_base::failure("failed resizing", std::error_code(error, std::system_category()));
}

template <typename Device> std::size_t readDevice(Device& device, void* buffer, std::size_t count) {
    const std::streamsize got = device.read(static_cast<char*>(buffer), static_cast<std::streamsize>(count));
    return got < 0 ? 0 : static_cast<std::size_t>(got);
}
} // namespace StreamDetails

// A stream over one Boost.Iostreams file device; the device owns the file handle and closes it with the
// stream.
template <typename Stream, typename Device> class BoostDeviceToStreamAdapter : public Stream, public Device {
public:
    explicit BoostDeviceToStreamAdapter(Device device) : Device(std::move(device)) {}
    bool isBufferBased() const override { return false; }
    bool isSeekable() const override { return true; }
    std::int64_t seek(std::int64_t offset, std::ios_base::seekdir origin) override {
        return static_cast<std::int64_t>(Device::seek(offset, origin));
    }
};

template <typename Device>
class BoostDeviceToInputStreamAdapter final : public BoostDeviceToStreamAdapter<InputStream, Device> {
public:
    using BoostDeviceToStreamAdapter<InputStream, Device>::BoostDeviceToStreamAdapter;
    std::size_t read(void* buffer, std::size_t count) override {
        return StreamDetails::readDevice<Device>(*this, buffer, count);
    }
    std::pair<const char*, const char*> getBuffer() override { fatalError(StreamDetails::missingCapability); }
    int fileDescriptor() const override { return Device::handle(); }
};

template <typename Device>
class BoostDeviceToOutputStreamAdapter final : public BoostDeviceToStreamAdapter<OutputStream, Device> {
public:
    using BoostDeviceToStreamAdapter<OutputStream, Device>::BoostDeviceToStreamAdapter;
    std::int64_t write(const void* data, std::size_t count) override {
        return static_cast<std::int64_t>(
            Device::write(static_cast<const char*>(data), static_cast<std::streamsize>(count)));
    }
    std::pair<const char*, const char*> getBuffer() override { fatalError(StreamDetails::missingCapability); }
    bool isResizable() const override { return true; }
    void resize(std::size_t size) override { StreamDetails::resizeDevice<Device>(*this, size); }
};

template <typename Device>
class BoostDeviceToInOutStreamAdapter final : public BoostDeviceToStreamAdapter<InOutStream, Device> {
public:
    using BoostDeviceToStreamAdapter<InOutStream, Device>::BoostDeviceToStreamAdapter;
    std::size_t read(void* buffer, std::size_t count) override {
        return StreamDetails::readDevice<Device>(*this, buffer, count);
    }
    int fileDescriptor() const override { return Device::handle(); }
    std::int64_t write(const void* data, std::size_t count) override {
        return static_cast<std::int64_t>(
            Device::write(static_cast<const char*>(data), static_cast<std::streamsize>(count)));
    }
    bool isResizable() const override { return true; }
    void resize(std::size_t size) override { StreamDetails::resizeDevice<Device>(*this, size); }

protected:
    std::pair<const char*, const char*> getInputBuffer() override {
        fatalError(StreamDetails::missingCapability);
    }
    std::pair<const char*, const char*> getOutputBuffer() override {
        fatalError(StreamDetails::missingCapability);
    }
};

} // namespace KX
