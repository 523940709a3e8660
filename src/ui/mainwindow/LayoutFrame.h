#pragma once
// One layout's frame of the main window, used twice (Principal and Additional): a row of file
// buttons over the box naming the file, an optional group of layout-wide buttons beside them, the
// screen list with a preview pane of the selected screen beside it (shown once there is room for
// both), and a column of buttons for the selected screen. What differs between the two frames is
// a description (LayoutFrameShape); the buttons keep the names, captions, tags and tooltips it
// gives, and their design sizes. The frame shows its document through its session: the file box,
// the list's preview and the pane follow every change wherever it was made. The window connects
// the buttons to its commands.

#include <QGroupBox>

#include <memory>
#include <vector>

#include "ui/mainwindow/ScreenListTree.h"

class FileDialogs;
class LayoutSession;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class ScreenPreview;
class ShareSplitter;
class UserDialogs;

struct FrameButtonShape {
    const char* Name;
    const char* Caption;
    int Left, Top, Width, Height; // twips; Left and Top inside a group only
    const char* Tag = "";
    const char* ToolTip = "";
    bool Bold = false;
};

struct FrameGroupShape {
    const char* Name = nullptr; // none: no group
    const char* Title = "";
    const char* Tag = "";
    int Width = 0, Height = 0; // twips; the column group's Height is its smallest
    std::vector<FrameButtonShape> Buttons;
};

struct LayoutFrameShape {
    const char* Name;
    const char* Title;
    std::vector<FrameButtonShape> FileButtons; // left to right; Width and Height used
    const char* FileBoxName;
    const char* FileBoxTag;
    int FileBoxWidth;
    const char* ListName;
    const char* ListTag;
    const char* ListToolTip;
    int ListWidth, ListHeight;
    const char* SplitterName;
    const char* PreviewHostName;
    const char* PreviewName;
    FrameGroupShape LayoutGroup; // beside the file buttons (Principal: "All Screens in Layout")
    FrameGroupShape ScreenGroup; // beside the list ("Selected Screen")
    int TopMargin, BottomMargin; // twips from the frame's edge to its controls
    // The top of the file buttons, in twips from the frame's edge, when the column group starts
    // higher than they do; 0 when they start at TopMargin.
    int FileRowTop = 0;
};

class LayoutFrame : public QGroupBox {
    Q_OBJECT
public:
    // Of the width beyond the design size, the part the list gets when the preview pane is shown.
    static constexpr double ListWidthShare = 1.0 / 3.0;

    LayoutFrame(const LayoutFrameShape& shape, LayoutSession& session, FileDialogs& files,
                UserDialogs& dialogs, QWidget* parent = nullptr);
    ~LayoutFrame() override;

    LayoutSession& Session() const { return Document; }
    QPushButton* Button(const char* name) const;
    QTreeWidget* List() const { return ScreenList; }
    ScreenListTree& ListView() const { return *View; }
    QLineEdit* FileBox() const { return FileName; }
    QGroupBox* ScreenGroup() const { return ScreenButtons; }
    ShareSplitter* Splitter() const { return ListSplitter; }
    QWidget* PreviewHost() const { return Host; }
    ScreenPreview* Preview() const { return Pane; }

    // The screen selected in the list, from the row's data; -1 when none.
    int SelectedScreen() const { return View->SelectedScreen(); }

signals:
    void SelectedScreenChanged(int screen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* BuildGroup(const FrameGroupShape& shape);
    void ShowSelectedScreen();
    void UpdatePreviewHost();

    LayoutSession& Document;
    std::vector<QPushButton*> Buttons;
    QLineEdit* FileName = nullptr;
    QTreeWidget* ScreenList = nullptr;
    std::unique_ptr<ScreenListTree> View;
    ShareSplitter* ListSplitter = nullptr;
    QWidget* Host = nullptr;
    ScreenPreview* Pane = nullptr;
    QGroupBox* ScreenButtons = nullptr;
    int DesignListWidth = 0;
};
