#pragma once
// Joins a screen preview to a session's selection of controls: a click on a control selects it
// (Ctrl+click adds it or takes it away, a click on no control clears the selection), and every
// selected control the preview shows is outlined, whoever selected it (the controls table, the
// check window, another view). The preview keeps drawing the screen; the outlines lie over it.

#include <QObject>

#include <vector>

class LayoutSession;
class ScreenPreview;
class SelectionOutline;

class PreviewSelection : public QObject {
    Q_OBJECT
public:
    PreviewSelection(ScreenPreview& preview, LayoutSession& session);

    // The record positions outlined now, in painting order.
    std::vector<int> Outlined() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ScreenPreview& Preview;
    LayoutSession& Session;
    SelectionOutline* Outline = nullptr;
};
