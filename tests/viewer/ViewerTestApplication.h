#pragma once

#include "platform/brovik/application/EditorApplication.h"

#include <QColor>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

namespace KX {
class PresentationViewer;
}

namespace KX::Testing {

// The viewer's application as the tests drive it: builds PresentationViewer windows like the
// program does, but records open failures instead of showing a modal error box. User settings and
// the runtime folder live in a temporary folder of the test process.
class ViewerTestApplication : public Brovik::EditorApplication {
public:
    ViewerTestApplication(int& argc, char** argv);

    QList<Brovik::DocumentType> getDocumentTypes(std::uint8_t purpose) const override;
    Brovik::EditorMainWidget* createEditor(std::unique_ptr<Brovik::DocumentIO> documentIO,
                                           std::unique_ptr<Brovik::ResourceLoader> resourceLoader) override;
    void showEditor(Brovik::EditorMainWidget* editor, bool minimized) override;
    void onDocumentOpenFailed(const QString& path, const QString& message, QWidget* dialogContext) override;

    QStringList openFailures;
};

// The process's application (created on first use) and its scratch folder.
ViewerTestApplication& testApplication();
QString scratchFolder();

// Writes a deck of solid-colour slides into the scratch folder and opens it in a window;
// `slideTails` as for writePptx.
PresentationViewer* openDeck(const QString& name, const std::vector<QColor>& slides,
                             const std::vector<std::string>& slideTails = {});

} // namespace KX::Testing
