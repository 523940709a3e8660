#include "ui/widgets/CaptionButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

CaptionButton::CaptionButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {}

QRect CaptionButton::TextArea() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    // A little air between the caption and the bevel, so that a caption never touches it.
    constexpr int Padding = 2;
    return style()
        ->subElementRect(QStyle::SE_PushButtonContents, &option, this)
        .adjusted(Padding, 0, -Padding, 0);
}

void CaptionButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // The style draws the frame and focus; the caption is drawn here so that it can wrap.
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);
    painter.drawItemText(TextArea(), TextFlags, palette(), isEnabled(), text(),
                         QPalette::ButtonText);
}
