#include "viewer/api/document/MediaObjects.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
MediaObjects::MediaObjects(const MediaObjects& other) = default;
MediaObjects::MediaObjects(MediaObjects&& other) noexcept = default;
MediaObjects& MediaObjects::operator=(const MediaObjects& other) = default;
MediaObjects& MediaObjects::operator=(MediaObjects&& other) noexcept = default;
MediaObjects::~MediaObjects() = default;

} // namespace KX::API::Document
