// Every caption of the three windows is readable at the windows' fixed sizes: it fits its control
// in the control's font, wrapping where the control wraps, and no font is shrunk past reading.

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>

#include "FakeListView.h"
#include "MainWindowFixture.h"
#include "ui/widgets/CaptionFit.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/EditControlsWindow.h"

namespace {

constexpr qreal SmallestReadable = 6.5;

struct Need {
    QRect area;
    int flags = 0;
    QString text;
};

// Where a caption has to fit, measured from the control's outline: a frame of three pixels inside
// a button, the indicator beside an option, the contents of a label, the top edge of a frame.
bool NeedOf(QWidget* control, Need& need) {
    if (auto* option = qobject_cast<QRadioButton*>(control)) {
        const int indicator =
            option->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, option) +
            option->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, option);
        need = {option->rect().adjusted(indicator, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                option->text()};
    } else if (auto* button = qobject_cast<QPushButton*>(control)) {
        need = {button->rect().adjusted(3, 1, -3, -1), Qt::AlignCenter | Qt::TextWordWrap,
                button->text()};
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        if (label->text().isEmpty()) return false;
        need = {label->contentsRect(), label->wordWrap() ? Qt::TextWordWrap : 0, label->text()};
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        need = {group->rect(), 0, group->title()};
    } else {
        return false;
    }
    return true;
}

void ExpectEveryCaptionReadable(QWidget& window) {
    int checked = 0;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        Need need;
        if (!NeedOf(control, need)) continue;
        ++checked;
        SCOPED_TRACE(control->objectName().toStdString() + ": " + need.text.toStdString());
        const QFont font = control->font();
        EXPECT_GE(font.pointSizeF(), SmallestReadable);
        const QRect used = QFontMetrics(font).boundingRect(need.area, need.flags, need.text);
        EXPECT_LE(used.width(), need.area.width());
        EXPECT_LE(used.height(), need.area.height());
    }
    EXPECT_GE(checked, 2);
}

int LinesOf(QWidget* control, const QString& text, const QRect& area) {
    const QFontMetrics metrics(control->font());
    // n lines are n line spacings high less one leading, which some fonts have.
    const int height = metrics.boundingRect(area, Qt::TextWordWrap, text).height();
    return (height + metrics.lineSpacing() / 2) / metrics.lineSpacing();
}

TEST_F(MainWindowTest, EveryCaptionIsReadable) {
    // With the panes beside the frames shown, so their captions are read too.
    for (const char* pane : {"mnuControlsTable", "mnuPropertySheet"})
        Menu(pane)->trigger();
    QApplication::processEvents();
    ExpectEveryCaptionReadable(*Window);
    // The tall buttons wrap their captions rather than shrink them, where a caption is wider than
    // its button in the style of the system.
    for (const char* name : {"butAppendToPrinc", "butUpdateCapts"}) {
        QPushButton* button = Button(name);
        EXPECT_EQ(button->font().pointSizeF(), Button("butOpen")->font().pointSizeF()) << name;
        const QRect area = button->rect().adjusted(3, 1, -3, -1);
        if (QFontMetrics(button->font()).horizontalAdvance(button->text()) > area.width()) {
            EXPECT_GE(LinesOf(button, button->text(), area), 2) << name;
        }
    }
}

TEST(CaptionFit, EditControlsAndAboutCaptionsAreReadable) {
    ScriptedDialogs dialogs;
    FakeListView list;
    cLayout layout(dialogs);
    EditControlsWindow form(layout, dialogs, true, list);
    ExpectEveryCaptionReadable(form);
    auto* label = Find<QLabel>(form, "Label2");
    EXPECT_GE(LinesOf(label, label->text(), label->contentsRect()), 3) << "the long label wraps";

    AboutDialog about;
    ExpectEveryCaptionReadable(about);
}

TEST(CaptionFit, ACaptionTooLongEvenWrappedGetsASmallerFont) {
    QWidget window;
    QFont font = window.font();
    font.setPointSizeF(8);
    window.setFont(font);
    auto* roomy = new QPushButton("OK", &window);
    roomy->setGeometry(0, 0, 81, 25);
    auto* tight = new QLabel("Supercalifragilistic", &window);
    tight->setGeometry(0, 30, 95, 14);
    FitCaptions(window);
    EXPECT_EQ(roomy->font().pointSizeF(), 8);
    EXPECT_LT(tight->font().pointSizeF(), 8);
    EXPECT_TRUE(CaptionFits(CaptionBoxOf(*tight), tight->font()));

    // A new, shorter caption starts again from the design size.
    tight->setText("Short");
    FitCaption(*tight);
    EXPECT_EQ(tight->font().pointSizeF(), 8);
}

} // namespace
