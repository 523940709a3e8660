#pragma once
// The Screen menu's commands on the Principal layout: New Screen (an empty screen named, with a
// link to it in every row of screen links) and Duplicate Screen (the selected screen copied onto
// an empty one under a new name). Each is one step of the history, made by the core's plain edits;
// the name is asked through the dialog seam, a refusal is told in a warning box, and where links
// did not fit after their row is told in one box.

#include <QObject>

#include <functional>

class LayoutSession;
class QMenu;
class UserDialogs;

class ScreenActions : public QObject {
    Q_OBJECT
public:
    // selectedScreen: the screen selected in the Principal list, -1 for none.
    ScreenActions(LayoutSession& principal, UserDialogs& dialogs,
                  std::function<int()> selectedScreen, QObject* parent = nullptr);

    // Adds "New Screen..." (mnuNewScreen) and "Duplicate Screen..." (mnuDuplicateScreen).
    void AddTo(QMenu* menu);

    void NewScreen();
    void DuplicateScreen();

signals:
    // A screen was made; the list should select it.
    void ScreenMade(int screen);

private:
    LayoutSession& Principal;
    UserDialogs& Dialogs;
    std::function<int()> SelectedScreen;
};
