#include "platform/brovik/document/MediaProvider.h"

namespace KX::Brovik {

MediaProvider::MediaProvider() {
    _pool.setMaxThreadCount(1);
}

MediaProvider::~MediaProvider() {
    _pool.clear();
    _pool.waitForDone();
}

} // namespace KX::Brovik
