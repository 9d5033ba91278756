#include "ViewerTestApplication.h"

#include "PptxFixture.h"
#include "platform/brovik/application/Process.h"
#include "platform/brovik/document/DocumentIO.h"
#include "platform/brovik/document/ResourceLoader.h"
#include "platform/brovik/settings/ApplicationSettings.h"
#include "platform/brovik/style/FontFactory.h"
#include "platform/brovik/windows/MainWindow.h"
#include "viewer/PresentationViewer.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace KX::Testing {

namespace {

QTemporaryDir& scratch() {
    static QTemporaryDir dir;
    return dir;
}

// Windows close with deferred deletion, which needs an event loop the tests do not run; deleting
// them before the process ends stops their background rendering before Qt's globals go away.
class DeleteWindowsAtEnd : public ::testing::Environment {
public:
    void TearDown() override {
        if (!QCoreApplication::instance()) {
            return;
        }
        for (QWidget* window : QApplication::topLevelWidgets()) {
            window->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        qDeleteAll(QApplication::topLevelWidgets());
    }
};

const auto* const deleteWindowsAtEnd = ::testing::AddGlobalTestEnvironment(new DeleteWindowsAtEnd);

} // namespace

ViewerTestApplication::ViewerTestApplication(int& argc, char** argv)
    : Brovik::EditorApplication(argc, argv, QStringLiteral("Ordova Presentation"),
                                QStringLiteral("slidewell-test"), QStringLiteral("Ordova Presentation")) {}

QList<Brovik::DocumentType> ViewerTestApplication::getDocumentTypes(std::uint8_t purpose) const {
    if (purpose == 1) {
        return {Brovik::DocumentType::PresentationPptx, Brovik::DocumentType::PresentationOdp};
    }
    return {};
}

Brovik::EditorMainWidget*
ViewerTestApplication::createEditor(std::unique_ptr<Brovik::DocumentIO> documentIO,
                                    std::unique_ptr<Brovik::ResourceLoader> resourceLoader) {
    return new PresentationViewer(std::move(documentIO), std::move(resourceLoader), *this,
                                  getEditorCoreFactory(), Brovik::createFontFactory(QString()),
                                  getHttpConnectionFactory());
}

void ViewerTestApplication::showEditor(Brovik::EditorMainWidget* editor, bool minimized) {
    auto* window = new Brovik::MainWindow(editor, false);
    if (minimized) {
        window->setWindowState(window->windowState() | Qt::WindowMinimized);
    }
    window->show();
}

void ViewerTestApplication::onDocumentOpenFailed(const QString& path, const QString& message, QWidget*) {
    openFailures << path + QStringLiteral(": ") + message;
}

ViewerTestApplication& testApplication() {
    static ViewerTestApplication* application = [] {
        const QByteArray root = scratch().path().toLocal8Bit();
        QDir(scratch().path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(scratch().path() + QStringLiteral("/runtime"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_CONFIG_HOME", root + "/config");
        qputenv("XDG_DATA_HOME", root + "/data");
        qputenv("XDG_RUNTIME_DIR", root + "/runtime");
        qputenv("QT_QPA_PLATFORM", "offscreen");
        Brovik::initSharedResources();
        static int argc = 1;
        static char name[] = "viewer_tests";
        static char* argv[] = {name, nullptr};
        auto* created = new ViewerTestApplication(argc, argv);
        // Most tests look at the window behind the first-run tips; the tips tests switch them on.
        Brovik::ApplicationSettings::setTipsScreenEnabled(false);
        return created;
    }();
    return *application;
}

QString scratchFolder() {
    testApplication();
    return scratch().path();
}

PresentationViewer* openDeck(const QString& name, const std::vector<QColor>& slides,
                             const std::vector<std::string>& slideTails) {
    const QString path = scratchFolder() + QLatin1Char('/') + name;
    writePptx(path, slides, 720, 540, slideTails);
    auto& application = testApplication();
    if (!application.handlePath(path, {}, false, nullptr)) {
        ADD_FAILURE() << application.openFailures.join(QLatin1Char('\n')).toStdString();
        return nullptr;
    }
    return qobject_cast<PresentationViewer*>(application.editors().constLast());
}

} // namespace KX::Testing
