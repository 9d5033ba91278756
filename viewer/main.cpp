// slidewell: the Ordova Presentation viewer. Prepares the framework, reads the command line, hands
// the document request to the single-instance service and runs the event loop while a document
// window exists.

#include "core/FatalError.h"
#include "platform/brovik/application/CommandLineArgsParser.h"
#include "platform/brovik/application/EditorApplication.h"
#include "platform/brovik/application/FileOpenInfo.h"
#include "platform/brovik/application/Logging.h"
#include "platform/brovik/application/Process.h"
#include "platform/brovik/application/SingleInstanceHelper.h"
#include "platform/brovik/document/DocumentIO.h"
#include "platform/brovik/document/ResourceLoader.h"
#include "platform/brovik/settings/ApplicationSettings.h"
#include "platform/brovik/style/FontFactory.h"
#include "platform/brovik/windows/MainWindow.h"
#include "platform/brovik/windows/RestoringGeometryHandler.h"
#include "platform/brovik/windows/WindowSettingsGroups.h"
#include "viewer/EntryGuard.h"
#include "viewer/PresentationViewer.h"
#include "viewer/WelcomeScreen.h"

#include <QCoreApplication>
#include <iostream>

namespace KX::Brovik {

namespace {

class PresentationViewerApplication : public EditorApplication {
public:
    PresentationViewerApplication(int& argc, char** argv)
        : EditorApplication(argc, argv, QStringLiteral("Ordova Presentation"), QStringLiteral("slidewell"),
                            QStringLiteral("Ordova Presentation")),
          _fontFactory(createFontFactory(ApplicationSettings::getResourcesFilePath())) {
        if (!_fontFactory) {
            assertionFailed("_ptr");
        }
    }

    QList<DocumentType> getDocumentTypes(std::uint8_t purpose) const override {
        switch (static_cast<DocumentTypesPurpose>(purpose)) {
        case DocumentTypesPurpose::Open:
            return {DocumentType::PresentationPptx, DocumentType::PresentationOdp,
                    DocumentType::PresentationSlideShow};
        case DocumentTypesPurpose::SaveCopy:
            return {DocumentType::PresentationPptx};
        }
        return {};
    }

    bool isDocumentConvertible(DocumentType type) const override {
        return type != DocumentType::PresentationSlideShow && checkDocumentCanBeConverted(type);
    }

    EditorMainWidget* createEditor(std::unique_ptr<DocumentIO> documentIO,
                                   std::unique_ptr<ResourceLoader> resourceLoader) override {
        return new PresentationViewer(std::move(documentIO), std::move(resourceLoader), *this,
                                      getEditorCoreFactory(), _fontFactory, getHttpConnectionFactory());
    }

    void showEditor(EditorMainWidget* editor, bool minimized) override {
        if (!editor) {
            assertionFailed("editor");
        }
        auto* window = new MainWindow(editor, false);
        if (minimized) {
            window->setWindowState(window->windowState() | Qt::WindowMinimized);
        }
        auto handler = std::make_shared<RestoringGeometryHandler>(
            window, QString::fromLatin1(DefaultWindowSettingsGroup));
        window->setRestoringGeometryHandler(handler);
        showWindowWithRestoredGeometry(window, handler, isFirstEditor(editor), 0);
        // Every document window presents at once.
        editor->fullscreenRequested();
    }

    void onEditorActivated(EditorMainWidget*) override {}
    bool offersCloudStorage() const override { return false; }

    // Handles one request of the single-instance service: a document, or the start window.
    void onFileOpenRequest(const FileOpenInfo& request) {
        const FileOpenInfo info = request;
        if (!info.path.isEmpty()) {
            handlePath(info.path, {}, false, nullptr);
            return;
        }
        auto* screen = new WelcomeScreen();
        screen->setWindowTitle(getLocalizedApplicationName());
        auto handler = std::make_shared<RestoringGeometryHandler>(
            screen, QString::fromLatin1(LauncherWindowSettingsGroupName));
        screen->setRestoringGeometryHandler(handler);
        QObject::connect(screen, &WelcomeScreen::browseButtonClicked, screen, [this, screen] {
            browseDocument([screen](const QString& path) {
                if (!path.isEmpty()) {
                    screen->accept();
                }
            });
        });
        QObject::connect(screen, &WelcomeScreen::helpTriggered, this,
                         [this](const QString& helpFile) { openHelp(helpFile); });
        showWindowWithRestoredGeometry(screen, handler, false, 0);
        qCDebug(brovikDocuments) << "start window shown";
        while (screen->isVisible()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        delete screen;
    }

private:
    std::shared_ptr<FontFactory> _fontFactory;
};

// Answers --help before the GUI application exists, so that it works without a display.
bool printedHelp(int argc, char** argv) {
    const QCoreApplication core(argc, argv);
    CommandLineArgsParser parser;
    parser.process(QCoreApplication::arguments());
    if (!parser.isSet(QString::fromLatin1(CommandLineArgsParser::Help))) {
        return false;
    }
    std::cout << parser.helpText().toStdString() << std::flush;
    return true;
}

int run(int argc, char** argv) {
    if (printedHelp(argc, argv)) {
        return 0;
    }
    initScaleFactor();
    initSharedResources();
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);

    PresentationViewerApplication application(argc, argv);
    const CommandLineArgsParser& parser = application.getCommandLineArgsParser();
    if (parser.isSet(QString::fromLatin1(CommandLineArgsParser::Uninstall))) {
        application.onUninstall();
        return 0;
    }
    if (parser.isSet(QString::fromLatin1(CommandLineArgsParser::RemoveDefaultTemplateFolder))) {
        application.onRemoveDefaultTemplateFolder();
        return 0;
    }

    auto singleInstance = std::make_unique<SingleInstanceHelper>(
        parser.positionalArguments(),
        parser.isSet(QString::fromLatin1(CommandLineArgsParser::OpenInBackground)));
    SingleInstanceHelper& service = *singleInstance;
    QObject::connect(&service, &SingleInstanceHelper::fileOpenWithActionEvent, &application,
                     [&application](const FileOpenInfo& info) { application.onFileOpenRequest(info); });
    const bool served = service.initialize(
        [&application, &singleInstance] { application.initialize(std::move(singleInstance)); });
    if (!served) {
        return 0;
    }
    return application.hasEditors() ? QApplication::exec() : 0;
}

} // namespace

} // namespace KX::Brovik

int main(int argc, char** argv) {
    return KX::runReportingEscapedExceptions([&] { return KX::Brovik::run(argc, argv); }, std::cerr);
}
