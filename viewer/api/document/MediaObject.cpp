#include "viewer/api/document/MediaObject.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
MediaObject::MediaObject(const MediaObject& other) = default;
MediaObject::MediaObject(MediaObject&& other) noexcept = default;
MediaObject& MediaObject::operator=(const MediaObject& other) = default;
MediaObject& MediaObject::operator=(MediaObject&& other) noexcept = default;
MediaObject::~MediaObject() = default;

} // namespace KX::API::Document
