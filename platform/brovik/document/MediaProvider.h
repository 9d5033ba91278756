#pragma once

#include <QThreadPool>

namespace KX::Brovik {

// Background work of one document window's slide widgets: slides that are likely to be shown next
// are rendered ahead of time so that moving to them does not stall the presentation.
class MediaProvider {
public:
    MediaProvider();
    ~MediaProvider();

    QThreadPool& threadPool() { return _pool; }

private:
    QThreadPool _pool;
};

} // namespace KX::Brovik
