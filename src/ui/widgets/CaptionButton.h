#pragma once
// A command button whose caption wraps onto further lines when one line is too narrow, the way the
// tall buttons of the windows ("Append to Principal Layout", "Update Buttons") show theirs.
// The caption stays the button's text(); only the painting differs from a plain push button.

#include <QPushButton>

class CaptionButton : public QPushButton {
    Q_OBJECT
public:
    explicit CaptionButton(const QString& caption, QWidget* parent = nullptr);

    // Where the caption is drawn, and how.
    QRect TextArea() const;
    static constexpr int TextFlags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

protected:
    void paintEvent(QPaintEvent* event) override;
};
