#pragma once
// The commands of the Controls menu: add a control of a kind, duplicate, delete, cut, copy, paste,
// bring to front and send to back. Each is one call of an editing function of the core and one
// step of the Principal layout's history; the window only gathers what they act on: the selected
// controls of the view that has (or last had) the focus, and the screen shown in the Principal
// list. Copy also works on the Additional layout, so its controls can be pasted into the
// Principal one; everything else changes the Principal layout only.
//
// The keys (Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+D, Del, Ctrl+] and Ctrl+[) work while one of the views
// given to AddView has the focus, so the same keys keep their meaning elsewhere (Del in the
// Principal screen list deletes a screen, Ctrl+C in a text box copies text). The outcome of a
// command is told through Status(); a refusal in a warning box.

#include <QKeySequence>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QWidget;
class LayoutSession;
class UserDialogs;
struct ControlsEditPlan;

class ControlActions : public QObject {
    Q_OBJECT
public:
    ControlActions(LayoutSession& principal, LayoutSession& additional, UserDialogs& dialogs,
                   QWidget* window);
    ~ControlActions() override;

    // The screen controls are added and pasted on: the one selected in the Principal list (-1
    // for none).
    std::function<int()> ShownScreen;
    // The point of that screen (in screen pixels) in the middle of what the user sees of it, where
    // an added control goes; none: the middle of the screen.
    std::function<std::optional<QPointF>()> ViewCentre;

    // "&Controls", with every command; the window puts it in its menu bar.
    QMenu* Menu() const { return mnuControls; }
    // The command's item, by its object name ("mnuCopyControls").
    QAction* Action(const char* name) const;
    // A view whose selection is the session's: the keys work while it has the focus, and the
    // commands act on its layout once it had the focus.
    void AddView(QWidget* view, LayoutSession& session);
    LayoutSession& ActiveSession() const { return *Active; }
    void SetActiveSession(LayoutSession& session);

    void Add(int32_t kind);
    void Duplicate();
    void Delete();
    void Copy();
    void Cut();
    void Paste();
    void BringToFront();
    void SendToBack();

    // Who a session's layout is, for the clipboard: this program, the layout and how often a file
    // was loaded into it, so controls copied before another file was opened count as another
    // layout's.
    std::string Identity(const LayoutSession& session) const;

signals:
    void Status(const QString& text);

private:
    QAction* MakeAction(const char* name, const QString& caption, const QKeySequence& key,
                        void (ControlActions::*handler)());
    void UpdateActions();
    // Applies the plan to the Principal layout; false, with the refusal shown, when refused.
    bool Apply(const ControlsEditPlan& plan);
    void Warn(const std::string& utf8);
    bool HasSelection(const LayoutSession& session, const char* verb);

    LayoutSession& Principal;
    LayoutSession& Additional;
    LayoutSession* Active;
    UserDialogs& Dialogs;
    QMenu* mnuControls = nullptr;
    std::vector<QAction*> Actions;
    std::vector<std::pair<QPointer<QWidget>, LayoutSession*>> Views; // a view may close first
    int PrincipalLoads = 0, AdditionalLoads = 0;
};
