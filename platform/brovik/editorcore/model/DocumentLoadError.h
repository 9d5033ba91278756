#pragma once

#include <stdexcept>

namespace KX::Tovrin {

// Thrown while loading for files that are damaged or of an unsupported kind. The message is
// readable English meant for the user.
class DocumentLoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Thrown while loading when the progress callback asked to stop.
class DocumentLoadCancelled : public DocumentLoadError {
public:
    DocumentLoadCancelled() : DocumentLoadError("Opening the presentation was cancelled.") {}
};

} // namespace KX::Tovrin
