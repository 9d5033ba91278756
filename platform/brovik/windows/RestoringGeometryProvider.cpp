#include "platform/brovik/windows/RestoringGeometryProvider.h"

#include "platform/brovik/windows/RestoringGeometryHandler.h"

namespace KX::Brovik {

RestoringGeometryProvider::~RestoringGeometryProvider() = default;

void RestoringGeometryProvider::setRestoringGeometryHandler(
    std::shared_ptr<RestoringGeometryHandler> handler) {
    _handler = std::move(handler);
}

} // namespace KX::Brovik
