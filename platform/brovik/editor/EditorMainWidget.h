#pragma once

#include "platform/brovik/document/EditorCoreVariant.h"
#include "platform/brovik/editor/CommandsAssistantDelegate.h"
#include "platform/brovik/editor/EditorHookTypes.h"
#include "platform/brovik/editor/PrintingDelegate.h"
#include "platform/brovik/editor/UndoRedoDelegate.h"

#include <QWidget>
#include <functional>
#include <memory>

class QVBoxLayout;

namespace KX::Tovrin {
class EditorCoreFactory;
}

namespace KX::Brovik {

class DocumentIO;
class DocumentTypesProvider;
class EditorState;
class FontFactory;
class HttpConnectionFactory;
class MediaProvider;
class ResourceLoader;

// The content of one document window. The framework loads the document into the editor core the
// widget creates (createEditorCore, then setEditorCore), wraps the widget in a MainWindow, and calls
// onFullscreenChanged after every change of the window's full-screen state. Applications derive
// from it and answer its hooks.
class EditorMainWidget : public QWidget,
                         public UndoRedoDelegate,
                         public CommandsAssistantDelegate,
                         public PrintingDelegate {
    Q_OBJECT
public:
    // `styleSheetPath` names the window's style sheet resource; `initialZoomPercent` is the zoom of
    // editors that have one; `editingAllowed` false makes the document read-only.
    EditorMainWidget(std::unique_ptr<DocumentIO> documentIO, std::unique_ptr<ResourceLoader> resourceLoader,
                     const DocumentTypesProvider& documentTypesProvider,
                     std::shared_ptr<Tovrin::EditorCoreFactory> editorCoreFactory,
                     std::shared_ptr<FontFactory> fontFactory,
                     std::shared_ptr<HttpConnectionFactory> httpConnectionFactory, QString styleSheetPath,
                     int initialZoomPercent, bool editingAllowed, QWidget* parent = nullptr);
    ~EditorMainWidget() override;

    // Loads the window's document: createEditorCore, load through the core factory, setEditorCore.
    // A long load shows its progress and may be cancelled (Tovrin::DocumentLoadCancelled).
    // Throws Tovrin::DocumentLoadError with a readable message.
    void loadDocument();

    const DocumentIO& getDocumentIO() const { return *_documentIO; }
    const ResourceLoader& getResourceLoader() const { return *_resourceLoader; }
    const std::shared_ptr<FontFactory>& getFontFactory() const { return _fontFactory; }
    const std::shared_ptr<HttpConnectionFactory>& getHttpConnectionFactory() const {
        return _httpConnectionFactory;
    }
    const std::shared_ptr<MediaProvider>& getMediaProvider() const { return _mediaProvider; }
    EditorState* getEditorState() const { return _editorState; }
    const QString& getStyleSheetPath() const { return _styleSheetPath; }
    int getInitialZoomPercent() const { return _initialZoomPercent; }
    bool isEditingAllowed() const { return _editingAllowed; }
    QWidget* getContentWidget() const { return _contentWidget; }

    // Called by the window that holds this widget when its state changed.
    void handleWindowStateChange(Qt::WindowStates oldState);

    // Asks for a destination and writes a copy of the document there; `callback` (may be empty)
    // receives whether a copy was written.
    void saveCopyAs(const std::function<void(bool)>& callback);

    QString getDocumentPrinterName() const override;

    // --- Hooks answered by the application's editor. ---
    virtual Tovrin::EditorCoreVariant createEditorCore() = 0;
    virtual void setEditorCore(const Tovrin::EditorCoreVariant& core) = 0;
    virtual void onFullscreenChanged();
    virtual QString getNewCloudDocumentNameTemplate() const;
    virtual void exportDocument(const LocalDocumentInfo& info);
    virtual void onCloudConnectionStateChanged(const Fernhill::CloudSessionController::ConnectionState state);
    virtual Tovrin::DocumentSharingInterfacePtr getDocumentSharingInterface();
    virtual QString getNewDocumentNameTemplate() const;
    virtual bool canShowSpecialCharactersDialog() const;
    virtual void onCollaboratorBubblePressed(const Tovrin::ClientID& client);
    virtual bool isImagePickerAvailableForCells() const;
    virtual bool canFormatCell() const;
    virtual bool canFormatShape() const;
    virtual void setupCollaboratorsControllerIfNeeded();
    virtual void updateCollaboratorsControllerClients();
    virtual void selectSignatureLineByUUID(const KX::UUID& uuid);
    // Selection changes of the spreadsheet and text editors; no other editor receives them.
    virtual void onSpreadsheetSelectionChanged();
    virtual void onTextSelectionChanged();

public slots:
    void fullscreenRequested();
    void exitFromFullscreenRequested();
    // The user asked to open another document.
    void openActionTriggered();
    void helpTriggered(const QString& helpFile);
    // Shows the print dialog and prints when it is accepted.
    void print(bool checked);

protected:
    // Builds the window's frame (layout and style sheet) once the subclass is constructed.
    void createCommonUi();
    void setContentWidget(QWidget* widget);
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<DocumentIO> _documentIO;
    std::unique_ptr<ResourceLoader> _resourceLoader;
    const DocumentTypesProvider& _documentTypesProvider;
    std::shared_ptr<Tovrin::EditorCoreFactory> _editorCoreFactory;
    std::shared_ptr<FontFactory> _fontFactory;
    std::shared_ptr<HttpConnectionFactory> _httpConnectionFactory;
    std::shared_ptr<MediaProvider> _mediaProvider;
    QString _styleSheetPath;
    int _initialZoomPercent;
    bool _editingAllowed;
    EditorState* _editorState;
    QVBoxLayout* _layout = nullptr;
    QWidget* _contentWidget = nullptr;
    bool _maximizedBeforeFullScreen = false;
};

} // namespace KX::Brovik
