#include "ui/panes/PropertySheetEditors.h"

#include <QKeyEvent>
#include <QKeySequence>

#include "layout/HostCodes.h"

std::optional<int32_t> HostKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers & Qt::KeypadModifier;
    int32_t key = 0;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        key = 'A' + (qtKey - Qt::Key_A);
    } else if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        key = (keypad ? 96 : '0') + (qtKey - Qt::Key_0);
    } else if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        key = FunctionKeyCode(qtKey - Qt::Key_F1 + 1);
    } else {
        static const std::pair<int, int32_t> named[] = {
            {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},       {Qt::Key_Return, 13},
            {Qt::Key_Enter, 13},    {Qt::Key_Escape, 27},   {Qt::Key_Space, 32},
            {Qt::Key_PageUp, 33},   {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},
            {Qt::Key_Home, 36},     {Qt::Key_Left, 37},     {Qt::Key_Up, 38},
            {Qt::Key_Right, 39},    {Qt::Key_Down, 40},     {Qt::Key_Insert, 45},
            {Qt::Key_Delete, 46},
        };
        static const std::pair<int, int32_t> pad[] = {{Qt::Key_Asterisk, 106},
                                                      {Qt::Key_Plus, 107},
                                                      {Qt::Key_Minus, 109},
                                                      {Qt::Key_Period, 110},
                                                      {Qt::Key_Slash, 111}};
        for (const auto& [qt, code] : named)
            if (qt == qtKey) key = code;
        if (keypad)
            for (const auto& [qt, code] : pad)
                if (qt == qtKey) key = code;
    }
    if (key == 0 || (modifiers & Qt::MetaModifier)) return std::nullopt;
    if (modifiers & Qt::ControlModifier) key |= CtrlKeyBit;
    if (modifiers & Qt::AltModifier) key |= AltKeyBit;
    if (modifiers & Qt::ShiftModifier) key |= ShiftKeyBit;
    return key;
}

KeyCaptureEdit::KeyCaptureEdit(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    setPlaceholderText(tr("Press a key"));
}

bool KeyCaptureEdit::event(QEvent* event) {
    // Every key is the editor's while it has the focus, shortcuts and menu keys included, but
    // the ones that move the focus on.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool moves = (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
                           !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (!moves) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void KeyCaptureEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Shift ||
        key == Qt::Key_Meta || key == Qt::Key_AltGr || key == 0 || key == Qt::Key_unknown) {
        event->accept();
        return;
    }
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (const std::optional<int32_t> code = HostKeyCode(key, event->modifiers()))
        emit KeyCaptured(*code);
    else
        emit KeyRefused(QKeySequence(event->keyCombination()).toString(QKeySequence::NativeText));
}

