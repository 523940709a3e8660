#include "ui/widgets/ScreenFit.h"

#include <QDockWidget>
#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

// What a window manager adds around a window before it is shown and the frame is known: a title
// bar and thin borders.
constexpr int AssumedFrameWidth = 16;
constexpr int AssumedFrameHeight = 40;

QScrollArea* PlainScrollArea(QWidget* parent) {
    auto* area = new QScrollArea(parent);
    area->setObjectName(QStringLiteral("ScrollArea"));
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return area;
}

} // namespace

QWidget* ScrollableContent(QWidget& window, QSize designSize) {
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    QScrollArea* area = PlainScrollArea(&window);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("Content"));
    content->setFixedSize(designSize);
    area->setWidget(content);
    area->setWidgetResizable(false);
    layout->addWidget(area);
    // The design size where there is room; the window may become smaller, never larger.
    window.setMaximumSize(designSize);
    window.setMinimumSize(designSize.boundedTo(QSize(240, 160)));
    ResizeWithinScreen(window, designSize);
    return content;
}

QScrollArea* ScrollableCentralWidget(QWidget& mainWindow, QWidget* content) {
    QScrollArea* area = PlainScrollArea(&mainWindow);
    area->setWidget(content);
    area->setWidgetResizable(true);
    if (auto* main = qobject_cast<QMainWindow*>(&mainWindow)) main->setCentralWidget(area);
    return area;
}

QSize RoomOnScreen(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {};
    QSize frame = window.frameGeometry().size() - window.geometry().size();
    if (!window.isVisible() || frame.width() <= 0 || frame.height() <= 0)
        frame = QSize(AssumedFrameWidth, AssumedFrameHeight);
    return screen->availableGeometry().size() - frame;
}

void ResizeWithinScreen(QWidget& window, QSize wanted) {
    const QSize room = RoomOnScreen(window);
    window.resize(room.isValid() ? wanted.boundedTo(room) : wanted);
}

void SetScrollingPaneContent(QDockWidget& pane, QWidget* content) {
    content->adjustSize();
    content->layout()->activate();
    for (QWidget* inner : content->findChildren<QWidget*>())
        if (inner->layout() != nullptr) inner->layout()->activate();
    QScrollArea* area = PlainScrollArea(&pane);
    area->setWidgetResizable(true);
    area->setWidget(content);
    pane.setWidget(area);
}
