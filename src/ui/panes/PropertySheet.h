#pragma once
// The property sheet: a pane with every field of the selected controls of the Principal layout,
// each in an editor fit for it (the kind from a list, the screen from a list or typed, texts as
// lines, the script as lines kept with CR LF, the colour with a swatch and a colour dialog, the
// key caught as it is pressed, the picture with a chooser, the rectangle as numbers with its width
// and height). With several controls selected it shows the values they share and leaves the others
// blank; a value entered is set on all of them as one undo step ("Change rX1 of 3 controls"). A
// value refused leaves the controls as they were: the editor shows the old value again and the
// reason stands beside it until the next value is entered or the selection changes.

#include <QDockWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editing/ControlFields.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;
class FileDialogs;
class KeyCaptureEdit;
class LayoutSession;
class ScriptEditor;
class UserDialogs;

class PropertySheet : public QDockWidget {
    Q_OBJECT
public:
    PropertySheet(LayoutSession& session, FileDialogs& files, UserDialogs& dialogs,
                  QWidget* parent = nullptr);
    ~PropertySheet() override;

    // The colour dialog; a test puts its own answer here. Nothing for a cancel.
    std::function<std::optional<QColor>(const QColor& current)> ChooseColour;

    // Shows the selection's values again.
    void Refresh();
    // Brings the sheet up with the focus in the script's editor.
    void EditScript();
    // What the sheet says of the selection: "No control selected", "Button, record 12 on screen
    // 3", "3 controls selected".
    QString Heading() const;
    // The editor of a field by its name ("rX1", "Width") and the text beside it saying why a
    // value was refused (empty when none was).
    QWidget* Editor(const char* field) const;
    QString Refusal(const char* field) const;

    // Sets a value typed for a field (UTF-8) on the selected controls, as entering it in its
    // editor does; false when it was refused, the reason then beside the field.
    bool Enter(const char* field, const std::string& utf8);

private:
    struct Row {
        const ControlField* Field = nullptr;
        QWidget* Editor = nullptr; // the editor named after the field
        QLineEdit* Line = nullptr; // where a value is typed (also a combo box's)
        QComboBox* Combo = nullptr;
        ScriptEditor* Script = nullptr;
        KeyCaptureEdit* Key = nullptr;
        QLabel* KeyCode = nullptr;
        QToolButton* Swatch = nullptr;
        QLabel* Why = nullptr;
        bool Shared = false; // every selected control holds the value shown
        QString ShownScript; // the script as shown, to tell an edit from none
    };

    void BuildRows(QWidget* content);
    QWidget* BuildEditor(Row& row, QWidget* parent);
    void ShowRow(Row& row);
    const Row* FindRow(const char* field) const;
    // Each runs guarded: nothing it throws reaches the event loop.
    bool Commit(Row& row, const std::string& utf8);
    bool CommitValue(Row& row, const FieldValue& value);
    bool TryCommit(Row& row, const std::string& utf8);
    bool TryCommitValue(Row& row, const FieldValue& value);
    void Refuse(Row& row, const std::string& why);
    void ClearRefusals();
    void ChoosePicture(Row& row);
    void ChooseColourFor(Row& row);

    LayoutSession& Session;
    FileDialogs& Files;
    UserDialogs& Dialogs;
    QLabel* labSelection = nullptr;
    std::vector<Row> Rows;
    bool Showing = false; // editors are being filled: their signals are not the user's
};
