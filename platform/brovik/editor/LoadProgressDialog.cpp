#include "platform/brovik/editor/LoadProgressDialog.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace KX::Brovik {

namespace {
// Repainting for every slide of a long deck would cost more than reading the slides.
constexpr int RepaintIntervalMs = 50;
} // namespace

LoadProgressDialog::LoadProgressDialog(QString documentName, int delayMs)
    : _documentName(std::move(documentName)), _delayMs(delayMs) {
    _sinceStart.start();
}

LoadProgressDialog::~LoadProgressDialog() = default;

bool LoadProgressDialog::update(int done, int total) {
    if (!_dialog) {
        if (_sinceStart.elapsed() < _delayMs || done >= total) {
            return true;
        }
        _dialog = std::make_unique<QProgressDialog>();
        _dialog->setWindowTitle(QCoreApplication::translate("KX::Brovik::LoadProgressDialog", "Opening"));
        _dialog->setLabelText(QCoreApplication::translate("KX::Brovik::LoadProgressDialog", "Opening \"%1\"…")
                                  .arg(_documentName));
        _dialog->setWindowModality(Qt::ApplicationModal);
        _dialog->setMinimumDuration(0);
        _dialog->setAutoReset(false);
        _dialog->setAutoClose(false);
        _dialog->setRange(0, total);
        _dialog->show();
        _sinceRepaint.invalidate();
    }
    if (_dialog->wasCanceled()) {
        return false;
    }
    if (!_sinceRepaint.isValid() || _sinceRepaint.elapsed() >= RepaintIntervalMs || done >= total) {
        _dialog->setMaximum(total);
        // A modal dialog processes events here: it repaints and sees the Cancel button.
        _dialog->setValue(done);
        _sinceRepaint.start();
    }
    return !_dialog->wasCanceled();
}

} // namespace KX::Brovik
