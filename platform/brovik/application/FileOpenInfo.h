#pragma once

#include <QString>
#include <memory>

namespace KX::Brovik {

// One document request delivered by the single-instance service. An empty path asks for the
// start window instead of a document.
struct FileOpenInfo {
    QString path;
    // The action that came with the request ("open" for plain starts).
    QString action;
    // Keeps the request's origin alive while it is handled (the socket of a forwarded request).
    std::shared_ptr<void> tracking;
    bool openInBackground = false;
};

} // namespace KX::Brovik
