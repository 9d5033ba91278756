#pragma once

#include "platform/brovik/application/CommandLineArgsParser.h"
#include "platform/brovik/application/DocumentIOErrorHandlerDelegate.h"
#include "platform/brovik/application/DocumentType.h"

#include <QApplication>
#include <QList>
#include <QPointer>
#include <functional>
#include <memory>

namespace KX::Tovrin {
class EditorCoreFactory;
}

namespace KX::Brovik {

class DocumentIO;
class EditorMainWidget;
class HelpWindow;
class HttpConnectionFactory;
class ResourceLoader;
class SingleInstanceHelper;

// The application shell of the suite's editors: command line, single-instance service, opening
// documents into editor windows, the document browser, help, translations. An application derives
// from it and answers the hooks that build and show its editor windows.
class EditorApplication : public QApplication,
                          public DocumentTypesProvider,
                          public DocumentIOErrorHandlerDelegate {
    Q_OBJECT
public:
    // `applicationName` names the settings and the process, `applicationKey` (a short ASCII word)
    // the single-instance service, `localizedApplicationName` is what window titles show.
    EditorApplication(int& argc, char** argv, const QString& applicationName, const QString& applicationKey,
                      const QString& localizedApplicationName);
    ~EditorApplication() override;

    static EditorApplication* instance();

    const CommandLineArgsParser& getCommandLineArgsParser() const { return _parser; }
    const QString& getApplicationKey() const { return _applicationKey; }
    QString getLocalizedApplicationName() const { return _localizedApplicationName; }

    // Removes the user's settings of the application (called by the uninstaller).
    void onUninstall();
    // Removes the user's default template folder (see defaultTemplateFolder).
    void onRemoveDefaultTemplateFolder();
    static QString defaultTemplateFolder();

    // Takes over the single-instance service that serves this instance's requests.
    void initialize(std::unique_ptr<SingleInstanceHelper> singleInstance);

    // Opens `path` in a new editor window built by createEditor and shown by showEditor. On failure
    // the user is told through onDocumentOpenFailed unless `silentErrors`. `callback` (may be empty)
    // receives whether a window was opened; `dialogContext` (may be null) parents dialogs.
    bool handlePath(const QString& path, const std::function<void(bool)>& callback, bool silentErrors,
                    QWidget* dialogContext);
    // Lets the user choose a document and opens it; `callback` (may be empty) receives the opened
    // path, or an empty string when nothing was opened.
    void browseDocument(const std::function<void(const QString&)>& callback);
    // Shows a help topic of the bundled help.
    void openHelp(const QString& helpFile);

    bool hasEditors() const;
    QList<EditorMainWidget*> editors() const;
    // True for the first editor window of this run (it takes the stored window position).
    bool isFirstEditor(const EditorMainWidget* editor) const;

    const std::shared_ptr<Tovrin::EditorCoreFactory>& getEditorCoreFactory() const {
        return _editorCoreFactory;
    }
    const std::shared_ptr<HttpConnectionFactory>& getHttpConnectionFactory() const {
        return _httpConnectionFactory;
    }
    // Formats the framework can convert into the suite's other formats.
    bool checkDocumentCanBeConverted(DocumentType type) const;
    // Translation keys of the introduction pages to show (":/metadata/introductionTranslationKeys").
    const QStringList& getIntroductionTranslationKeys() const { return _introductionKeys; }
    // File-chooser filter of the types given for `purpose`.
    QString documentFilter(DocumentTypesPurpose purpose) const;

    QList<DocumentType> getDocumentTypes(std::uint8_t purpose) const override = 0;
    void onDocumentOpenFailed(const QString& path, const QString& message, QWidget* dialogContext) override;

    // --- Hooks of the application. ---
    virtual bool isDocumentConvertible(DocumentType type) const;
    // Whether closing the last editor window ends the application.
    virtual bool quitAppWhenEditorDestroyed() const;
    virtual EditorMainWidget* createEditor(std::unique_ptr<DocumentIO> documentIO,
                                           std::unique_ptr<ResourceLoader> resourceLoader) = 0;
    virtual void showEditor(EditorMainWidget* editor, bool minimized) = 0;
    // Called when an editor window becomes the active window.
    virtual void onEditorActivated(EditorMainWidget* editor);
    // Whether the application offers cloud storage in its file dialogs.
    virtual bool offersCloudStorage() const;

signals:
    void helpOpened(const QString& helpFile);
    void documentOpenFailed(const QString& path, const QString& message);

private:
    static void returnLargeBlocksToTheSystem();
    void readIntroductionKeys();
    void trackEditor(EditorMainWidget* editor);

    QString _applicationKey;
    QString _localizedApplicationName;
    CommandLineArgsParser _parser;
    std::unique_ptr<SingleInstanceHelper> _singleInstance;
    std::shared_ptr<Tovrin::EditorCoreFactory> _editorCoreFactory;
    std::shared_ptr<HttpConnectionFactory> _httpConnectionFactory;
    QList<QPointer<EditorMainWidget>> _editors;
    const EditorMainWidget* _firstEditor = nullptr;
    QPointer<HelpWindow> _helpWindow;
    QStringList _introductionKeys;
    QString _lastBrowsedFolder;
};

} // namespace KX::Brovik
