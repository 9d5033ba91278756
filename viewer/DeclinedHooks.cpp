// The framework's editing, collaboration and cloud hooks, which a viewer declines.

#include "core/FatalError.h"
#include "viewer/PresentationViewer.h"

namespace KX {

namespace {

[[noreturn]] void notImplemented(const char* signature) {
    fatalError(std::string(signature) + " is not implemented");
}

} // namespace

// Editing, collaboration and cloud features do not exist in a viewer; reaching them is a defect.
QString PresentationViewer::getNewCloudDocumentNameTemplate() const {
    notImplemented("virtual QString KX::PresentationViewer::getNewCloudDocumentNameTemplate() const");
}
void PresentationViewer::exportDocument(const Brovik::LocalDocumentInfo&) {
    notImplemented("virtual void KX::PresentationViewer::exportDocument(const Brovik::LocalDocumentInfo &)");
}
void PresentationViewer::onCloudConnectionStateChanged(
    const Fernhill::CloudSessionController::ConnectionState) {
    notImplemented("virtual void KX::PresentationViewer::onCloudConnectionStateChanged(const "
                   "Fernhill::CloudSessionController::ConnectionState)");
}
Tovrin::DocumentSharingInterfacePtr PresentationViewer::getDocumentSharingInterface() {
    notImplemented(
        "virtual Tovrin::DocumentSharingInterfacePtr KX::PresentationViewer::getDocumentSharingInterface()");
}
QString PresentationViewer::getNewDocumentNameTemplate() const {
    notImplemented("virtual QString KX::PresentationViewer::getNewDocumentNameTemplate() const");
}
bool PresentationViewer::canShowSpecialCharactersDialog() const {
    notImplemented("virtual bool KX::PresentationViewer::canShowSpecialCharactersDialog() const");
}
void PresentationViewer::onCollaboratorBubblePressed(const Tovrin::ClientID&) {
    notImplemented(
        "virtual void KX::PresentationViewer::onCollaboratorBubblePressed(const Tovrin::ClientID &)");
}
bool PresentationViewer::isImagePickerAvailableForCells() const {
    notImplemented("virtual bool KX::PresentationViewer::isImagePickerAvailableForCells() const");
}
bool PresentationViewer::canFormatCell() const {
    notImplemented("virtual bool KX::PresentationViewer::canFormatCell() const");
}
bool PresentationViewer::canFormatShape() const {
    notImplemented("virtual bool KX::PresentationViewer::canFormatShape() const");
}
void PresentationViewer::setupCollaboratorsControllerIfNeeded() {
    notImplemented("virtual void KX::PresentationViewer::setupCollaboratorsControllerIfNeeded()");
}
void PresentationViewer::updateCollaboratorsControllerClients() {
    notImplemented("virtual void KX::PresentationViewer::updateCollaboratorsControllerClients()");
}
void PresentationViewer::selectSignatureLineByUUID(const KX::UUID&) {
    notImplemented("virtual void KX::PresentationViewer::selectSignatureLineByUUID(const KX::UUID &)");
}
void PresentationViewer::onSpreadsheetSelectionChanged() {
    assertionFailed("false", "Cannot be called here");
}
void PresentationViewer::onTextSelectionChanged() {
    assertionFailed("false", "Cannot be called here");
}
bool PresentationViewer::canUndo() const {
    notImplemented("virtual bool KX::PresentationViewer::canUndo() const");
}
bool PresentationViewer::canRedo() const {
    notImplemented("virtual bool KX::PresentationViewer::canRedo() const");
}
void PresentationViewer::undo() {
    notImplemented("virtual void KX::PresentationViewer::undo()");
}
void PresentationViewer::redo() {
    notImplemented("virtual void KX::PresentationViewer::redo()");
}
void PresentationViewer::setCombineOperationForUndo(const bool) {
    notImplemented("virtual void KX::PresentationViewer::setCombineOperationForUndo(const bool)");
}
void PresentationViewer::activateCommandsAssistant() {
    notImplemented("virtual void KX::PresentationViewer::activateCommandsAssistant()");
}
Brovik::CommandsList PresentationViewer::getCommandsList() {
    notImplemented("virtual KX::Brovik::CommandsList KX::PresentationViewer::getCommandsList()");
}

} // namespace KX
