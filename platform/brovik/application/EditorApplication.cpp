#include "platform/brovik/application/EditorApplication.h"

#include "platform/brovik/application/HelpWindow.h"
#include "platform/brovik/application/Logging.h"
#include "platform/brovik/application/SingleInstanceHelper.h"
#include "platform/brovik/document/DocumentIO.h"
#include "platform/brovik/document/EditorCoreFactory.h"
#include "platform/brovik/document/HttpConnectionFactory.h"
#include "platform/brovik/document/ResourceLoader.h"
#include "platform/brovik/editor/EditorMainWidget.h"
#include "platform/brovik/settings/ApplicationSettings.h"
#include "platform/brovik/style/Translations.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QStandardPaths>
#include <QXmlStreamReader>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace KX::Brovik {

QString documentTypeFilter(DocumentType type) {
    switch (type) {
    case DocumentType::PresentationPptx:
        return QCoreApplication::translate("KX::Brovik", "PowerPoint Presentation (*.pptx)");
    case DocumentType::PresentationOdp:
        return QCoreApplication::translate("KX::Brovik", "OpenDocument Presentation (*.odp)");
    case DocumentType::PresentationSlideShow:
        return QCoreApplication::translate("KX::Brovik", "PowerPoint Slide Show (*.ppsx)");
    }
    return QString();
}

QString documentTypeSuffix(DocumentType type) {
    switch (type) {
    case DocumentType::PresentationPptx:
        return QStringLiteral("pptx");
    case DocumentType::PresentationOdp:
        return QStringLiteral("odp");
    case DocumentType::PresentationSlideShow:
        return QStringLiteral("ppsx");
    }
    return QString();
}

QString saveCopyFilter(const QString& sourcePath) {
    // A copy is the document's own bytes, so only its own format is offered.
    const QString suffix = QFileInfo(sourcePath).suffix().toLower();
    for (DocumentType type : {DocumentType::PresentationPptx, DocumentType::PresentationOdp,
                              DocumentType::PresentationSlideShow}) {
        if (documentTypeSuffix(type) == suffix) {
            return documentTypeFilter(type);
        }
    }
    return QCoreApplication::translate("KX::Brovik", "Same format as the original (*.%1)").arg(suffix);
}

QString withSuffixOf(const QString& destination, const QString& sourcePath) {
    const QString suffix = QFileInfo(sourcePath).suffix();
    if (suffix.isEmpty() || QFileInfo(destination).suffix().compare(suffix, Qt::CaseInsensitive) == 0) {
        return destination;
    }
    return destination + QLatin1Char('.') + suffix;
}

EditorApplication::EditorApplication(int& argc, char** argv, const QString& applicationName,
                                     const QString& applicationKey, const QString& localizedApplicationName)
    : QApplication(argc, argv), _applicationKey(applicationKey),
      _localizedApplicationName(localizedApplicationName),
      _editorCoreFactory(std::make_shared<Tovrin::EditorCoreFactory>()),
      _httpConnectionFactory(std::make_shared<HttpConnectionFactory>()) {
    setApplicationName(applicationName);
    setOrganizationName(QStringLiteral("Ordova"));
    setApplicationDisplayName(localizedApplicationName);
    setDesktopFileName(applicationKey);
    setProperty(SingleInstanceHelper::KeyProperty, applicationKey);
    setWindowIcon(QIcon(QStringLiteral(":/appIcon")));
    installTranslations(*this);
    readIntroductionKeys();
    _parser.process(arguments());
    returnLargeBlocksToTheSystem();
}

void EditorApplication::returnLargeBlocksToTheSystem() {
#if defined(__GLIBC__)
    // Rendered slides and decoded pictures are blocks of megabytes. glibc raises its mapping
    // threshold after such a block is freed and then carves the next ones out of its heaps, where
    // freed memory stays with the process: the memory held would follow every slide ever drawn
    // rather than the caches' budgets. A fixed threshold hands each one back when it is freed.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

EditorApplication::~EditorApplication() {
    // Windows still open (or closed but not yet deleted) go first: their slide rendering in the
    // background must stop while the application's resources still exist.
    for (EditorMainWidget* editor : editors()) {
        delete editor->window();
    }
    delete _helpWindow.data();
    _singleInstance.reset();
}

EditorApplication* EditorApplication::instance() {
    return qobject_cast<EditorApplication*>(QCoreApplication::instance());
}

void EditorApplication::readIntroductionKeys() {
    QFile file(QStringLiteral(":/metadata/introductionTranslationKeys"));
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    QXmlStreamReader xml(&file);
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("keys")) {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("key")) {
                _introductionKeys << xml.readElementText().trimmed();
            } else {
                xml.skipCurrentElement();
            }
        }
    }
}

void EditorApplication::onUninstall() {
    const auto settings = ApplicationSettings::open();
    const QString file = settings->fileName();
    settings->clear();
    settings->sync();
    QFile::remove(file);
}

QString EditorApplication::defaultTemplateFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Ordova/Templates"));
}

void EditorApplication::onRemoveDefaultTemplateFolder() {
    QDir folder(defaultTemplateFolder());
    if (folder.exists()) {
        folder.removeRecursively();
    }
}

void EditorApplication::initialize(std::unique_ptr<SingleInstanceHelper> singleInstance) {
    _singleInstance = std::move(singleInstance);
}

void EditorApplication::trackEditor(EditorMainWidget* editor) {
    _editors.append(editor);
    if (!_firstEditor) {
        _firstEditor = editor;
    }
    connect(editor, &QObject::destroyed, this, [this] {
        // isNull() rather than comparing pointers: a comparison casts the object being destroyed.
        _editors.erase(std::remove_if(_editors.begin(), _editors.end(),
                                      [](const QPointer<EditorMainWidget>& e) { return e.isNull(); }),
                       _editors.end());
        if (_editors.isEmpty() && quitAppWhenEditorDestroyed()) {
            quit();
        }
    });
}

bool EditorApplication::handlePath(const QString& path, const std::function<void(bool)>& callback,
                                   bool silentErrors, QWidget* dialogContext) {
    const bool inBackground = _singleInstance && _singleInstance->isCurrentRequestInBackground();
    const QString absolutePath = QFileInfo(path).absoluteFilePath();
    EditorMainWidget* editor = nullptr;
    QString error;
    try {
        if (!QFileInfo(absolutePath).isFile()) {
            throw Tovrin::DocumentLoadError("The file does not exist or is not a regular file.");
        }
        editor = createEditor(std::make_unique<DocumentIO>(absolutePath),
                              std::make_unique<ResourceLoader>(ApplicationSettings::getResourcesFilePath()));
        if (!editor) {
            throw Tovrin::DocumentLoadError("This application cannot open documents.");
        }
        editor->loadDocument();
    } catch (const Tovrin::DocumentLoadCancelled& e) {
        // The user stopped it: nothing to tell them.
        error = QString::fromUtf8(e.what());
        silentErrors = true;
    } catch (const Tovrin::DocumentLoadError& e) {
        error = QString::fromUtf8(e.what());
    }
    if (!error.isEmpty()) {
        delete editor;
        if (!silentErrors) {
            onDocumentOpenFailed(absolutePath, error, dialogContext);
        }
        qCDebug(brovikDocuments) << "cannot open" << absolutePath << ":" << error;
        emit documentOpenFailed(absolutePath, error);
        if (callback) {
            callback(false);
        }
        return false;
    }
    trackEditor(editor);
    showEditor(editor, inBackground);
    qCDebug(brovikDocuments).noquote()
        << "window shown for" << ('"' + absolutePath + '"') << (inBackground ? "in the background" : "");
    if (callback) {
        callback(true);
    }
    return true;
}

void EditorApplication::onDocumentOpenFailed(const QString& path, const QString& message,
                                             QWidget* dialogContext) {
    QMessageBox box(QMessageBox::Critical, _localizedApplicationName,
                    tr("The document \"%1\" cannot be opened.").arg(QFileInfo(path).fileName()),
                    QMessageBox::Ok, dialogContext);
    box.setInformativeText(message);
    box.exec();
}

QString EditorApplication::documentFilter(DocumentTypesPurpose purpose) const {
    const QList<DocumentType> types = getDocumentTypes(static_cast<std::uint8_t>(purpose));
    QStringList patterns;
    QStringList filters;
    for (DocumentType type : types) {
        patterns << QStringLiteral("*.") + documentTypeSuffix(type);
        filters << documentTypeFilter(type);
    }
    if (patterns.size() > 1) {
        filters.prepend(tr("All Presentations (%1)").arg(patterns.join(QLatin1Char(' '))));
    }
    return filters.join(QStringLiteral(";;"));
}

void EditorApplication::browseDocument(const std::function<void(const QString&)>& callback) {
    if (_lastBrowsedFolder.isEmpty()) {
        _lastBrowsedFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    }
    QWidget* parent = activeWindow();
    const QString path = QFileDialog::getOpenFileName(parent, tr("Open"), _lastBrowsedFolder,
                                                      documentFilter(DocumentTypesPurpose::Open));
    if (path.isEmpty()) {
        if (callback) {
            callback(QString());
        }
        return;
    }
    _lastBrowsedFolder = QFileInfo(path).absolutePath();
    const bool opened = handlePath(path, {}, false, parent);
    if (callback) {
        callback(opened ? path : QString());
    }
}

void EditorApplication::openHelp(const QString& helpFile) {
    if (!_helpWindow) {
        _helpWindow = new HelpWindow();
    }
    _helpWindow->showTopic(helpFile);
    _helpWindow->show();
    _helpWindow->raise();
    _helpWindow->activateWindow();
    emit helpOpened(helpFile);
}

bool EditorApplication::hasEditors() const {
    for (const auto& editor : _editors) {
        if (editor) {
            return true;
        }
    }
    return false;
}

QList<EditorMainWidget*> EditorApplication::editors() const {
    QList<EditorMainWidget*> result;
    for (const auto& editor : _editors) {
        if (editor) {
            result << editor.data();
        }
    }
    return result;
}

bool EditorApplication::isFirstEditor(const EditorMainWidget* editor) const {
    return editor && editor == _firstEditor;
}

bool EditorApplication::checkDocumentCanBeConverted(DocumentType type) const {
    // A presentation converts between the PowerPoint and OpenDocument forms.
    return type == DocumentType::PresentationPptx || type == DocumentType::PresentationOdp;
}

bool EditorApplication::isDocumentConvertible(DocumentType type) const {
    return checkDocumentCanBeConverted(type);
}

bool EditorApplication::quitAppWhenEditorDestroyed() const {
    return true;
}

void EditorApplication::onEditorActivated(EditorMainWidget*) {}

bool EditorApplication::offersCloudStorage() const {
    return false;
}

} // namespace KX::Brovik
