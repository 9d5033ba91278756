#pragma once

#include <QWidget>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QToolButton;

namespace KX {

class TipFunctionalToolbarIcon;

// The first-run overlay over a presentation window: a hint on bringing in the filmstrip from the
// left edge, a hint on the toolbar's pointer button (with a highlighted copy of that button laid
// exactly over it) and a button that dismisses the overlay. Dismissal is announced by `confirmed`.
class TipsScreen : public QWidget {
    Q_OBJECT
public:
    // A tip's text with a red line under it.
    class TipSubtitleDescription : public QWidget {
    public:
        TipSubtitleDescription(const QString& text, QWidget* parent);
        ~TipSubtitleDescription() override;
    };

    // `pointerButton` is the toolbar's pointer button; it must outlive the overlay.
    TipsScreen(QToolButton* pointerButton, QWidget* parent);
    ~TipsScreen() override;

    // Read access for tests.
    QWidget* sideTitleRow() const { return _sideTitleRow; }
    QWidget* sideSubtitle() const { return _sideSubtitle; }
    QLabel* bottomArrow() const { return _bottomArrow; }
    QWidget* bottomTip() const { return _bottomTip; }
    QWidget* toolbarIcon() const;
    QPushButton* okButton() const { return _okButton; }

signals:
    void confirmed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void keepButtonClearOfBottomTip();

    QToolButton* _pointerButton = nullptr;
    QPushButton* _okButton = nullptr;
    QHBoxLayout* _buttonLayout = nullptr;
    QLabel* _sideArrow = nullptr;
    QWidget* _sideTitleRow = nullptr;
    TipSubtitleDescription* _sideSubtitle = nullptr;
    QLabel* _bottomArrow = nullptr;
    QWidget* _bottomTip = nullptr;
    TipFunctionalToolbarIcon* _toolbarIcon = nullptr;
};

} // namespace KX
