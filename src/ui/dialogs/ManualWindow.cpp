#include "ui/dialogs/ManualWindow.h"

#include <QAction>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

#include <utility>

ManualWindow::ManualWindow(QWidget* parent) : QMainWindow(parent), Pages(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("ManualWindow"));
    setWindowTitle(tr("KorvoScreenQuill Manual"));
    Pages->setObjectName(QStringLiteral("ManualPages"));
    Pages->setOpenExternalLinks(true);
    Pages->setSearchPaths({QStringLiteral(":/manual")});
    setCentralWidget(Pages);
    QToolBar* bar = addToolBar(tr("Navigation"));
    bar->setObjectName(QStringLiteral("ManualNavigation"));
    bar->setMovable(false);
    QAction* back = bar->addAction(tr("Back"), Pages, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    QAction* forward = bar->addAction(tr("Forward"), Pages, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    bar->addAction(tr("Contents"), this, [this] { OpenSection(QStringLiteral("index.html")); });
    connect(Pages, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(Pages, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(Pages, &QTextBrowser::sourceChanged, this, [this] {
        setWindowTitle(tr("%1 - KorvoScreenQuill Manual")
                           .arg(Pages->documentTitle().section(QStringLiteral(" — "), 0, 0)));
    });
    resize(820, 640);
}

void ManualWindow::OpenSection(const QString& page) {
    Pages->setSource(QUrl(QStringLiteral("qrc:/manual/") + page));
}

QString ManualWindow::ManualPageFor(const QWidget* widget) {
    // The windows made afresh each time they open are known by their class.
    static const std::pair<const char*, const char*> windows[] = {
        {"LayoutCheckWindow", "windows.html#check"},
        {"ScreenPreviewWindow", "windows.html#screen-editor"},
        {"CompareWindow", "windows.html#compare"},
        {"EditControlsWindow", "resolution.html#rescale"},
        {"ManualWindow", "index.html"},
    };
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        const QVariant page = w->property("manualPage");
        if (page.isValid() && !page.toString().isEmpty()) return page.toString();
        for (const auto& [name, section] : windows)
            if (w->inherits(name)) return QString::fromLatin1(section);
    }
    return QStringLiteral("index.html");
}
