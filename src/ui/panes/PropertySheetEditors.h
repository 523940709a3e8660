#pragma once
// The editors of the property sheet that Qt does not have: a key caught as it is pressed, named
// as the host names it, and a script of several lines finished when it loses the focus.

#include <QLineEdit>
#include <QPlainTextEdit>

#include <cstdint>
#include <optional>

// The host's code of a key pressed in Qt: the Windows key code with Ctrl 0x8000, Alt 0x800 and
// Shift 0x400; nothing for a key the host has no code for (or a modifier pressed alone).
std::optional<int32_t> HostKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

// Shows a key by its name and catches the next key pressed in it (Alt+1 becomes 2097); Tab and
// Shift+Tab still move on. The key is told through KeyCaptured, never typed as text.
class KeyCaptureEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit KeyCaptureEdit(QWidget* parent = nullptr);

signals:
    void KeyCaptured(int32_t code);
    // A key was pressed that the host has no code for.
    void KeyRefused(const QString& key);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

