#pragma once
// Windows that fit the monitor they open on. A window drawn for a design size keeps that size
// where the screen has room for it; on a smaller screen (a laptop, or a large scale factor) it
// opens as large as the screen's free area allows, title bar included, and its content scrolls,
// so every control stays reachable and none is squeezed over another.

#include <QSize>

class QDockWidget;
class QScrollArea;
class QWidget;

// Puts a scroll area filling `window` and returns the widget to build the window's controls in,
// of the design size; the window's layout holds only the scroll area.
QWidget* ScrollableContent(QWidget& window, QSize designSize);
// The same for a main window: the scroll area becomes its central widget, holding `content`, which
// keeps its minimum size and grows with the window.
QScrollArea* ScrollableCentralWidget(QWidget& mainWindow, QWidget* content);

// Gives a pane `content` inside a scroll area, so the pane asks the window for little room. The
// content is laid out first, so a pane not shown yet already has its real sizes.
void SetScrollingPaneContent(QDockWidget& pane, QWidget* content);

// The room a top-level window has on the screen it opens on (or the primary screen): the
// screen's free area less the frame the window manager puts around it.
QSize RoomOnScreen(const QWidget& window);
// Resizes the window to `wanted`, bounded by the room on its screen.
void ResizeWithinScreen(QWidget& window, QSize wanted);
