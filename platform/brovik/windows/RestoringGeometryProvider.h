#pragma once

#include <memory>

namespace KX::Brovik {

class RestoringGeometryHandler;

// A window that keeps its geometry through a RestoringGeometryHandler (none until one is given).
class RestoringGeometryProvider {
public:
    virtual ~RestoringGeometryProvider();

    void setRestoringGeometryHandler(std::shared_ptr<RestoringGeometryHandler> handler);
    const std::shared_ptr<RestoringGeometryHandler>& getRestoringGeometryHandler() const { return _handler; }

private:
    std::shared_ptr<RestoringGeometryHandler> _handler;
};

} // namespace KX::Brovik
