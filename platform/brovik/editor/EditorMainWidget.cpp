#include "platform/brovik/editor/EditorMainWidget.h"

#include "platform/brovik/application/DocumentType.h"
#include "platform/brovik/application/EditorApplication.h"
#include "platform/brovik/document/DocumentIO.h"
#include "platform/brovik/document/EditorCoreFactory.h"
#include "platform/brovik/document/MediaProvider.h"
#include "platform/brovik/document/ResourceLoader.h"
#include "platform/brovik/editor/EditorState.h"
#include "platform/brovik/editor/LoadProgressDialog.h"
#include "platform/brovik/printing/DocumentPrinter.h"
#include "platform/brovik/style/StyleSheetLoader.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

namespace KX::Brovik {

EditorMainWidget::EditorMainWidget(std::unique_ptr<DocumentIO> documentIO,
                                   std::unique_ptr<ResourceLoader> resourceLoader,
                                   const DocumentTypesProvider& documentTypesProvider,
                                   std::shared_ptr<Tovrin::EditorCoreFactory> editorCoreFactory,
                                   std::shared_ptr<FontFactory> fontFactory,
                                   std::shared_ptr<HttpConnectionFactory> httpConnectionFactory,
                                   QString styleSheetPath, int initialZoomPercent, bool editingAllowed,
                                   QWidget* parent)
    : QWidget(parent), _documentIO(std::move(documentIO)), _resourceLoader(std::move(resourceLoader)),
      _documentTypesProvider(documentTypesProvider), _editorCoreFactory(std::move(editorCoreFactory)),
      _fontFactory(std::move(fontFactory)), _httpConnectionFactory(std::move(httpConnectionFactory)),
      _mediaProvider(std::make_shared<MediaProvider>()), _styleSheetPath(std::move(styleSheetPath)),
      _initialZoomPercent(initialZoomPercent), _editingAllowed(editingAllowed),
      _editorState(new EditorState(this)) {
    // Editors react to the mouse moving anywhere over them (floating toolbars come back).
    setAttribute(Qt::WA_Hover);
    if (!_documentIO) {
        _documentIO = std::make_unique<DocumentIO>(QString());
    }
    if (!_resourceLoader) {
        _resourceLoader = std::make_unique<ResourceLoader>(QString());
    }
}

EditorMainWidget::~EditorMainWidget() = default;

void EditorMainWidget::loadDocument() {
    Tovrin::EditorCoreVariant core = createEditorCore();
    if (!_editorCoreFactory) {
        throw Tovrin::DocumentLoadError("No document loader is available.");
    }
    LoadProgressDialog progress(_documentIO->fileName());
    _editorCoreFactory->load(core, _documentIO->filePath(),
                             [&progress](int done, int total) { return progress.update(done, total); });
    setEditorCore(core);
}

void EditorMainWidget::createCommonUi() {
    if (!_layout) {
        _layout = new QVBoxLayout(this);
        _layout->setContentsMargins(0, 0, 0, 0);
        _layout->setSpacing(0);
    }
    if (!_styleSheetPath.isEmpty()) {
        setStyleSheet(loadStyleSheet(_styleSheetPath, _fontFactory.get()));
    }
}

void EditorMainWidget::setContentWidget(QWidget* widget) {
    if (!_layout) {
        createCommonUi();
    }
    if (_contentWidget == widget) {
        return;
    }
    if (_contentWidget) {
        _layout->removeWidget(_contentWidget);
        _contentWidget->deleteLater();
    }
    _contentWidget = widget;
    if (widget) {
        _layout->addWidget(widget);
    }
}

bool EditorMainWidget::event(QEvent* event) {
    return QWidget::event(event);
}

void EditorMainWidget::changeEvent(QEvent* event) {
    // A widget shown as its own window (without a MainWindow) still reports full-screen changes.
    if (event->type() == QEvent::WindowStateChange && isWindow()) {
        handleWindowStateChange(static_cast<QWindowStateChangeEvent*>(event)->oldState());
    }
    QWidget::changeEvent(event);
}

void EditorMainWidget::handleWindowStateChange(Qt::WindowStates oldState) {
    const bool wasFullScreen = oldState.testFlag(Qt::WindowFullScreen);
    if (wasFullScreen != window()->isFullScreen()) {
        onFullscreenChanged();
    }
}

void EditorMainWidget::fullscreenRequested() {
    QWidget* top = window();
    if (top->isFullScreen()) {
        return;
    }
    _maximizedBeforeFullScreen = top->isMaximized();
    if (top->isMinimized()) {
        // A window started in the background stays there; it presents once the user restores it.
        top->setWindowState(top->windowState() | Qt::WindowFullScreen);
        return;
    }
    top->showFullScreen();
}

void EditorMainWidget::exitFromFullscreenRequested() {
    QWidget* top = window();
    if (!top->isFullScreen()) {
        return;
    }
    if (_maximizedBeforeFullScreen) {
        top->showMaximized();
    } else {
        top->showNormal();
    }
}

void EditorMainWidget::openActionTriggered() {
    if (auto* application = EditorApplication::instance()) {
        application->browseDocument({});
    }
}

void EditorMainWidget::helpTriggered(const QString& helpFile) {
    if (auto* application = EditorApplication::instance()) {
        application->openHelp(helpFile);
    }
}

void EditorMainWidget::saveCopyAs(const std::function<void(bool)>& callback) {
    const QFileInfo source(_documentIO->filePath());
    const QString chosen = QFileDialog::getSaveFileName(
        this, tr("Save As"),
        source.dir().filePath(source.completeBaseName() + tr(" (copy).") + source.suffix()),
        saveCopyFilter(source.filePath()));
    bool saved = false;
    if (!chosen.isEmpty()) {
        const QString error = _documentIO->saveCopyAs(withSuffixOf(chosen, source.filePath()));
        saved = error.isEmpty();
        if (!saved) {
            QMessageBox::critical(this, tr("Save As"), error);
        }
    }
    if (callback) {
        callback(saved);
    }
}

QString EditorMainWidget::getDocumentPrinterName() const {
    return _documentIO->fileName();
}

void EditorMainWidget::print(bool) {
    std::unique_ptr<DocumentPrinter> documentPrinter = createDocumentPrinter();
    if (!documentPrinter) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(getDocumentPrinterName());
    std::unique_ptr<QPrintDialog> dialog = createPrintDialog(&printer, documentPrinter.get());
    if (!dialog || dialog->exec() != QDialog::Accepted) {
        return;
    }
    if (!documentPrinter->print(printer)) {
        QMessageBox::critical(this, tr("Print"), tr("The document could not be printed."));
    }
}

// The framework's answers for editors that do not take part in a feature.
void EditorMainWidget::onFullscreenChanged() {}
QString EditorMainWidget::getNewCloudDocumentNameTemplate() const {
    return QString();
}
void EditorMainWidget::exportDocument(const LocalDocumentInfo&) {}
void EditorMainWidget::onCloudConnectionStateChanged(
    const Fernhill::CloudSessionController::ConnectionState) {}
Tovrin::DocumentSharingInterfacePtr EditorMainWidget::getDocumentSharingInterface() {
    return nullptr;
}
QString EditorMainWidget::getNewDocumentNameTemplate() const {
    return QString();
}
bool EditorMainWidget::canShowSpecialCharactersDialog() const {
    return false;
}
void EditorMainWidget::onCollaboratorBubblePressed(const Tovrin::ClientID&) {}
bool EditorMainWidget::isImagePickerAvailableForCells() const {
    return false;
}
bool EditorMainWidget::canFormatCell() const {
    return false;
}
bool EditorMainWidget::canFormatShape() const {
    return false;
}
void EditorMainWidget::setupCollaboratorsControllerIfNeeded() {}
void EditorMainWidget::updateCollaboratorsControllerClients() {}
void EditorMainWidget::selectSignatureLineByUUID(const KX::UUID&) {}
void EditorMainWidget::onSpreadsheetSelectionChanged() {}
void EditorMainWidget::onTextSelectionChanged() {}

} // namespace KX::Brovik
