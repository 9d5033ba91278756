#pragma once

#include <QString>

class QWidget;

namespace KX::Brovik {

// Tells the user that a document could not be opened.
class DocumentIOErrorHandlerDelegate {
public:
    virtual ~DocumentIOErrorHandlerDelegate() = default;
    // `message` is readable English from the loader; `dialogContext` (may be null) parents the dialog.
    virtual void onDocumentOpenFailed(const QString& path, const QString& message,
                                      QWidget* dialogContext) = 0;
};

} // namespace KX::Brovik
