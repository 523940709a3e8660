#pragma once
// The Qt side of one document: it observes the layout and turns every change notice into signals,
// so a change made from any window shows in every other one; it owns the document's Undo and Redo
// actions (named after their step, enabled when there is one); and it holds the selection of
// controls that the previews, the controls table and the property sheet share, as record
// positions that follow the records through every commit that moves them.
//
// The session does not own the document; it must not outlive it.

#include <QObject>
#include <QString>

#include <optional>
#include <string>
#include <vector>

#include "layout/LayoutObserver.h"
#include "tools/CodePageDetection.h"
#include "tools/ScreenResolution.h"

class QAction;
struct ControlsEdit;
class UserDialogs;
class cLayout;

class LayoutSession : public QObject, public LayoutObserver {
    Q_OBJECT
public:
    LayoutSession(cLayout& layout, UserDialogs& dialogs, QObject* parent = nullptr);
    ~LayoutSession() override;

    cLayout& Layout() const { return Document; }
    // A layout has been loaded or imported into the document (or saved from it).
    bool IsOpen() const;
    // File > New: an empty layout with no file yet, drawn for the resolution; it counts as open.
    void StartEmpty(const Resolution& resolution);

    // Edit > Undo and Edit > Redo: "&Undo Delete screen(s)", disabled when there is no step.
    QAction* UndoAction() const { return ActUndo; }
    QAction* RedoAction() const { return ActRedo; }

    // Selected controls: 1-based record positions, ascending, no repeats.
    const std::vector<int>& Selection() const { return Selected; }
    void SetSelection(std::vector<int> positions);
    bool IsSelected(int position) const;

    // The resolution the user chose for the layout (none: the one detected), which the previews,
    // the check and Edit Controls take; kept by the window per file, never in the layout.
    const std::optional<Resolution>& ChosenResolution() const { return Chosen; }
    void SetChosenResolution(const std::optional<Resolution>& resolution);
    // The resolution the layout is drawn for: the chosen one, else the one detected.
    DetectedResolution DrawnFor() const;

    // The code page the user chose for the layout's texts (none: the one detected), kept by the
    // window per file, never in the layout; the document is told the code page in force, which
    // changes no byte of it.
    const std::optional<int>& ChosenCodePage() const { return ChosenPage; }
    void SetChosenCodePage(const std::optional<int>& codePage);
    // The code page in force and the rule that decided it.
    const DetectedCodePage& CodePage() const { return InForce; }

    // Every edit of single controls goes through here: applied as one step named `step` (a run
    // key joins it to the open step of the same run), or, when the document refuses it, nothing
    // changes and the refusal is told. TryApply returns the refusal instead of telling it, for a
    // view that shows it beside what was typed.
    bool Apply(const ControlsEdit& edit, const std::string& step, const std::string& runKey = {});
    std::string TryApply(const ControlsEdit& edit, const std::string& step,
                         const std::string& runKey = {});
    // Tells why a command does nothing, in one place and one encoding: the message box of the
    // dialog seam, with the core's UTF-8 text in its code page.
    void Refuse(const std::string& utf8) const;

    // What the next undo or redo does, as the menu names it.
    static QString UndoCaption(const std::string& step);
    static QString RedoCaption(const std::string& step);

    void LayoutChanged(const cLayout& layout, const LayoutChange& change) override;

signals:
    // After every change of the document, once it is complete.
    void Changed(const LayoutChange& change);
    void ModifiedChanged(bool modified);
    void FileNameChanged(const QString& path);
    void CanUndoChanged(bool canUndo);
    void CanRedoChanged(bool canRedo);
    void SelectionChanged();
    void ChosenResolutionChanged();
    // The code page in force changed: every text shown is to be read again.
    void CodePageChanged();

private:
    void Undo();
    void Redo();
    void UpdateActions();

    cLayout& Document;
    UserDialogs& Dialogs;
    QAction* ActUndo = nullptr;
    QAction* ActRedo = nullptr;
    std::vector<int> Selected;
    bool StartedEmpty = false;
    std::optional<Resolution> Chosen;
    std::optional<int> ChosenPage;
    DetectedCodePage InForce;
    // Detects (or takes the chosen) code page and tells the document; true when it changed.
    bool UpdateCodePage();
};
