#pragma once
// The editor of a button script: line numbers, the script coloured as code, find and replace
// within it, go to line, and the script's own line ends kept exactly. The text it is given keeps
// its line ends (CR LF, a lone CR, LF, mixed); it shows one line a line and gives back the edited
// text with the ends put back as the core's ScriptLines rule says, so a script shown and not
// changed comes back byte for byte. `#expand <path>` lines are marked found or not found (looked
// up under the folders given) and open read-only with Ctrl+click or the context menu.

#include <QPlainTextEdit>
#include <QWidget>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QToolButton;
class ScriptHighlighter;

// The text part: line numbers in a margin, Finished when it loses the focus or on Ctrl+Enter.
class ScriptTextView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ScriptTextView(QWidget* parent = nullptr);
    int NumberWidth() const;
    void PaintNumbers(QPaintEvent* event);

signals:
    void Finished();
    void IncludeClicked(int line);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QWidget* Numbers;
};

class ScriptEditor : public QWidget {
    Q_OBJECT
public:
    explicit ScriptEditor(QWidget* parent = nullptr);

    // The script as text, its line ends as the record holds them. Resets what counts as changed.
    void SetScriptText(const QString& text);
    // The text shown, with the line ends of the script given put back.
    QString ScriptText() const;
    bool IsChanged() const { return ScriptText() != Given; }
    // The folders an #expand path is looked up under (the picture finder's, system paths).
    void SetIncludeFolders(std::vector<std::string> folders);
    void SetReadOnly(bool readOnly);
    void SetPlaceholderText(const QString& text);
    ScriptTextView* TextView() const { return Text; }

    // 1-based; the nearest line when out of range.
    void GoToLine(int line);
    void ShowFind(bool withReplace);
    // Finds the find box's text from the cursor on (round to the start); false when nowhere.
    bool FindNext(bool backwards = false);
    // Replaces the found text at the cursor, then finds the next; false when none was there.
    bool ReplaceCurrent();
    // Replaces every match as one undo step of the editor; how many.
    int ReplaceAll();
    QLineEdit* FindBox() const { return FindText; }
    QLineEdit* ReplaceBox() const { return ReplaceText; }
    // The file the #expand line includes, shown read-only; false when the line includes none or
    // it is not found.
    bool OpenIncluded(int line);
    // The system path of the file an #expand path (in the layout's bytes) names; "" when missing.
    std::string IncludedFile(const std::string& path) const;

signals:
    void Finished();

private:
    void UpdateStatus();
    void ShowContextMenu(const QPoint& at);

    ScriptTextView* Text;
    ScriptHighlighter* Highlighter;
    QWidget* FindBar;
    QLineEdit* FindText;
    QLineEdit* ReplaceText;
    QWidget* ReplaceRow;
    QLabel* Status;
    QString Given; // the script as given, its own line ends
    QString Ends;  // "CR LF", "CR", "mixed", ...
    std::vector<std::string> IncludeFolders;
};
