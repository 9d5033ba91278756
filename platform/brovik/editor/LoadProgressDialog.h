#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>

class QProgressDialog;

namespace KX::Brovik {

// Shows how far a long document load has got. Short loads show nothing; once a load has taken
// `delayMs` a modal dialog with the document's name, a bar of slides read and a Cancel button
// appears. The load runs on the GUI thread, so the dialog is repainted from `update`.
class LoadProgressDialog {
public:
    static constexpr int DefaultDelayMs = 400;

    explicit LoadProgressDialog(QString documentName, int delayMs = DefaultDelayMs);
    ~LoadProgressDialog();
    LoadProgressDialog(const LoadProgressDialog&) = delete;
    LoadProgressDialog& operator=(const LoadProgressDialog&) = delete;

    // The load's progress callback: `done` of `total` slides read. False once the user cancelled.
    bool update(int done, int total);

    // Null until the load has taken long enough.
    QProgressDialog* dialog() const { return _dialog.get(); }

private:
    QString _documentName;
    int _delayMs;
    QElapsedTimer _sinceStart;
    QElapsedTimer _sinceRepaint;
    std::unique_ptr<QProgressDialog> _dialog;
};

} // namespace KX::Brovik
