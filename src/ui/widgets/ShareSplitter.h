#pragma once
// A two-pane splitter that shares its room by rule rather than in proportion to what the panes
// have: each pane keeps its design size, the room beyond it goes to the first pane in a fixed share
// and to the second pane in the rest, and a handle moved by the user shifts that split by the
// distance moved, kept through later resizes. A hidden pane gives its room to the other.

#include <QSplitter>

class ShareSplitter : public QSplitter {
    Q_OBJECT
public:
    // firstShare is the part (0..1) of the room beyond the design sizes that the first pane gets.
    ShareSplitter(Qt::Orientation orientation, int firstDesign, int secondDesign, double firstShare,
                  QWidget* parent = nullptr);

    // How far the user has moved the handle from where the rule puts it, in pixels.
    int UserShift() const { return Shift; }
    void SetUserShift(int shift);

    // Puts the handle where the rule and the user's shift say.
    void ApplyShare();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Room along the orientation for the two panes, and the first pane's size by the rule alone.
    int Room() const;
    int RuleFirst(int room) const;
    int MinimumAlong(int index) const;
    bool BothShown() const;
    void HandleMoved();

    int FirstDesign;
    int SecondDesign;
    double FirstShare;
    int Shift = 0;
    bool Applying = false;
};
