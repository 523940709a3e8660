#pragma once
// The user's manual, the pages of docs/manual carried inside the program, in a browser window of
// its own. OpenSection shows one page (and the place in it, "scripts.html#scripts-pane"); F1
// anywhere asks ManualPageFor which page belongs to the window or pane with the focus: the nearest
// widget up the parents with a "manualPage" property says, else the contents.

#include <QMainWindow>

class QTextBrowser;
class QWidget;

class ManualWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit ManualWindow(QWidget* parent = nullptr);

    void OpenSection(const QString& page);
    QTextBrowser* Browser() const { return Pages; }

    static QString ManualPageFor(const QWidget* widget);

private:
    QTextBrowser* Pages;
};
