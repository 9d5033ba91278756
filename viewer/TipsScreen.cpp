#include "viewer/TipsScreen.h"

#include "platform/brovik/style/IconPixmap.h"
#include "viewer/RedLineFrame.h"
#include "viewer/TipFunctionalToolbarIcon.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyleOption>
#include <QToolButton>
#include <algorithm>

namespace KX {

namespace {

constexpr int TitleSpacing = 16;
constexpr int SubtitleSpacing = 12;
constexpr int ArrowGap = 10;
constexpr int ButtonGap = 16;

QLabel* makeImageLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    label->setPixmap(Brovik::getPixmapForIcon(name));
    label->adjustSize();
    return label;
}

QLabel* makeTitleLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("TitleTipDescription"));
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    label->adjustSize();
    return label;
}

// A layout's height for a width, or its preferred height when it does not depend on the width.
int heightFor(const QWidget* widget, int width) {
    const int height = widget->heightForWidth(width);
    return height >= 0 ? height : widget->sizeHint().height();
}

} // namespace

TipsScreen::TipSubtitleDescription::TipSubtitleDescription(const QString& text, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout;
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    label->setObjectName(QStringLiteral("SubtitleTipDescription"));
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(label);
    layout->addSpacing(SubtitleSpacing);
    auto* line = new RedLineFrame(nullptr);
    line->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    layout->addWidget(line);
    setLayout(layout);
    adjustSize();
}

TipsScreen::TipSubtitleDescription::~TipSubtitleDescription() = default;

TipsScreen::TipsScreen(QToolButton* pointerButton, QWidget* parent)
    : QWidget(parent), _pointerButton(pointerButton) {
    setObjectName(QStringLiteral("TipsScreenWidget"));

    auto* button = _okButton = new QPushButton(tr("Okay, I got it!"), this);
    button->setObjectName(QStringLiteral("TipsOkButton"));
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    button->setFocus(Qt::OtherFocusReason);
    button->adjustSize();
    connect(button, &QPushButton::clicked, this, &TipsScreen::confirmed);

    auto* layout = _buttonLayout = new QHBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(button, 0, Qt::AlignCenter);

    _sideTitleRow = new QWidget(this);
    auto* rowLayout = new QHBoxLayout(_sideTitleRow);
    rowLayout->setSpacing(0);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    _sideArrow = makeImageLabel(QStringLiteral("icons:p_tips_side_arrow"), this);
    QLabel* sideTitle = makeTitleLabel(tr("Move mouse"), this);
    rowLayout->addWidget(_sideArrow);
    rowLayout->addSpacing(TitleSpacing);
    rowLayout->addWidget(sideTitle);
    _sideTitleRow->resize(_sideArrow->width() + sideTitle->width() + TitleSpacing, sideTitle->height());
    _sideSubtitle = new TipSubtitleDescription(
        tr("<html><head/><body><p><span style=\"color:#a9a9a9;\">to the left side of the screen to</span><br>"
           "<span style=\"color:#ffffff;\">Navigate </span><span style=\"color:#a9a9a9;\">through the slides "
           "using filmstrip</span></p></body></html>"),
        this);

    _bottomArrow = makeImageLabel(QStringLiteral("icons:p_tips_bottom_arrow"), this);
    _bottomTip = new QWidget(this);
    auto* tipLayout = new QVBoxLayout(_bottomTip);
    tipLayout->setSpacing(0);
    tipLayout->setContentsMargins(0, 0, 0, 0);
    tipLayout->addWidget(makeTitleLabel(tr("Switch on/off"), this));
    tipLayout->addSpacing(SubtitleSpacing);
    tipLayout->addWidget(new TipSubtitleDescription(
        tr("<html><head/><body><p><span style=\"color:#a9a9a9;\">interactive </span><span "
           "style=\"color:#ffffff;\">Pointer </span><span style=\"color:#a9a9a9;\">using the toolbar at the "
           "bottom of the screen</span></p></body></html>"),
        this));

    _toolbarIcon = new TipFunctionalToolbarIcon(this);
}

TipsScreen::~TipsScreen() = default;

QWidget* TipsScreen::toolbarIcon() const {
    return _toolbarIcon;
}

void TipsScreen::keyPressEvent(QKeyEvent* event) {
    // The overlay owns the keyboard while it is up: nothing reaches the window behind it.
    if (event->key() == Qt::Key_Escape) {
        emit confirmed();
    }
    event->accept();
}

void TipsScreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Putting the window together moves the keyboard elsewhere; the overlay takes it back whenever
    // it appears, so that Esc dismisses it.
    _okButton->setFocus(Qt::OtherFocusReason);
}

void TipsScreen::paintEvent(QPaintEvent*) {
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void TipsScreen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = width();

    _sideTitleRow->move(10, 160);
    _sideSubtitle->setGeometry(92, _sideTitleRow->geometry().bottom() + SubtitleSpacing, w,
                               heightFor(_sideSubtitle, w));

    if (!_pointerButton || !_pointerButton->parentWidget()) {
        return;
    }
    QWidget* toolbar = _pointerButton->parentWidget();
    const QRect button = _pointerButton->geometry();
    const QRect highlight(toolbar->mapToParent(button.topLeft()), toolbar->mapToParent(button.bottomRight()));
    _toolbarIcon->setGeometry(highlight);

    const int arrowX = highlight.center().x() - _bottomArrow->width() / 2;
    const int arrowY = toolbar->geometry().top() - _bottomArrow->height() - ArrowGap;
    _bottomArrow->move(arrowX, arrowY);

    const int tipHeight = heightFor(_bottomTip, w - arrowX);
    _bottomTip->setGeometry(arrowX, arrowY - tipHeight - SubtitleSpacing, w - arrowX, tipHeight);
    keepButtonClearOfBottomTip();
}

void TipsScreen::keepButtonClearOfBottomTip() {
    // In a low window the centred button would sit on the pointer tip: it moves up just enough.
    const QSize button = _okButton->size();
    const int centredTop = (height() - button.height()) / 2;
    const QRect centred(QPoint((width() - button.width()) / 2, centredTop), button);
    const QRect tip = _bottomTip->geometry();
    int shift = 0;
    if (centred.right() >= tip.left() && centred.left() <= tip.right()) {
        shift = std::max(0, centred.bottom() + ButtonGap - tip.top() + 1);
    }
    // The layout centres the button in what its margins leave; a bottom margin lifts it by half.
    _buttonLayout->setContentsMargins(0, 0, 0, 2 * std::min(shift, centredTop));
}

} // namespace KX
