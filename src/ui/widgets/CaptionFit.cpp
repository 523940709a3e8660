#include "ui/widgets/CaptionFit.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

#include <algorithm>
#include <vector>

#include "ui/widgets/CaptionButton.h"

namespace {

// The smallest size a caption is shrunk to; below it no text is readable anyway.
constexpr qreal SmallestPointSize = 6.0;
constexpr qreal ShrinkStep = 0.5;
constexpr const char* DesignSizeProperty = "DesignPointSize";

void CollectControls(QWidget& parent, std::vector<QWidget*>& controls) {
    for (QObject* child : parent.children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control == nullptr || control->isWindow()) continue;
        controls.push_back(control);
        CollectControls(*control, controls);
    }
}

void RememberDesignSize(QWidget& control) {
    if (!control.property(DesignSizeProperty).isValid())
        control.setProperty(DesignSizeProperty, control.font().pointSizeF());
}

} // namespace

CaptionBox CaptionBoxOf(const QWidget& control) {
    CaptionBox box;
    if (auto* button = qobject_cast<const CaptionButton*>(&control)) {
        box = {button->text(), button->TextArea(), CaptionButton::TextFlags, true};
    } else if (auto* option = qobject_cast<const QAbstractButton*>(&control);
               option != nullptr && (qobject_cast<const QRadioButton*>(option) ||
                                     qobject_cast<const QCheckBox*>(option))) {
        QStyleOptionButton styleOption;
        styleOption.initFrom(option);
        const bool radio = qobject_cast<const QRadioButton*>(option) != nullptr;
        const QRect area = option->style()->subElementRect(radio ? QStyle::SE_RadioButtonContents
                                                                 : QStyle::SE_CheckBoxContents,
                                                           &styleOption, option);
        box = {option->text(), area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, true};
    } else if (auto* label = qobject_cast<const QLabel*>(&control)) {
        if (label->pixmap().isNull()) {
            const int flags =
                static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
            const int margin = label->margin();
            box = {label->text(), label->contentsRect().adjusted(margin, margin, -margin, -margin),
                   flags, true};
        }
    } else if (auto* group = qobject_cast<const QGroupBox*>(&control)) {
        QStyleOptionGroupBox styleOption;
        styleOption.initFrom(group);
        styleOption.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        styleOption.text = group->title();
        styleOption.textAlignment = group->alignment();
        // The title starts where the style puts it and may run to the same distance from the
        // right edge.
        const QRect label = group->style()->subControlRect(QStyle::CC_GroupBox, &styleOption,
                                                           QStyle::SC_GroupBoxLabel, group);
        const int inset = std::max(0, label.left());
        const QRect area(inset, 0, group->width() - 2 * inset, group->height());
        box = {group->title(), area, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, true};
    }
    return box;
}

bool CaptionFits(const CaptionBox& box, const QFont& font) {
    if (box.Text.isEmpty()) return true;
    const QFontMetrics metrics(font);
    const QRect needed = metrics.boundingRect(box.Area, box.Flags, box.Text);
    return needed.width() <= box.Area.width() && needed.height() <= box.Area.height();
}

void FitCaption(QWidget& control) {
    RememberDesignSize(control);
    const CaptionBox box = CaptionBoxOf(control);
    if (!box.HasCaption) return;
    QFont font = control.font();
    const qreal designSize = control.property(DesignSizeProperty).toReal();
    if (designSize > 0) font.setPointSizeF(designSize);
    while (!CaptionFits(box, font) && font.pointSizeF() - ShrinkStep >= SmallestPointSize)
        font.setPointSizeF(font.pointSizeF() - ShrinkStep);
    control.setFont(font);
}

void FitCaptions(QWidget& window) {
    std::vector<QWidget*> controls;
    CollectControls(window, controls);
    // Design sizes first: a frame whose title shrinks must not make its controls start smaller.
    for (QWidget* control : controls)
        RememberDesignSize(*control);
    for (QWidget* control : controls)
        FitCaption(*control);
}
