#pragma once

#include "viewer/api/Object.h"

#include <memory>

// An implementation object that counts how many of its kind are alive, so tests can tell when the
// last handle let go of it.
class TrackedObject : public KX::API::Object {
public:
    explicit TrackedObject(int& liveObjects) : _liveObjects(liveObjects) { ++_liveObjects; }
    ~TrackedObject() override { --_liveObjects; }
    TrackedObject(const TrackedObject&) = delete;
    TrackedObject& operator=(const TrackedObject&) = delete;

    static std::shared_ptr<KX::API::Object> make(int& liveObjects) {
        return std::make_shared<TrackedObject>(liveObjects);
    }

private:
    int& _liveObjects;
};
