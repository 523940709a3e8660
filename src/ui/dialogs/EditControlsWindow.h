#pragma once
// The Edit Controls window: the control tools for all screens of the Principal layout or for the
// one screen selected in the main window's list. It rescales controls from one resolution to
// another (the classic five, today's widescreen ones or a size of the user's own), shows
// statistics and re-orders the DROs of a group. It is built afresh for every opening and shown
// modally; it keeps no state beyond its controls and the screen it edits.

#include <QDialog>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "tools/ScreenResolution.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class ScreenListView;
class UserDialogs;
class cLayout;
class FileDialogs;
class QtFileDialogs;

class EditControlsWindow : public QDialog {
    Q_OBJECT
public:
    // One option for each resolution of the table, in its order, then "Other".
    static constexpr int OtherIndex = static_cast<int>(Resolutions.size());
    static constexpr int OptionCount = OtherIndex + 1;

    // Loads the window: caption, the single-screen controls, the screen edited and the original
    // resolution detected from how far the controls reach. `principalList` is the main window's
    // list of Principal screens, whose selected row names the screen when not all are edited.
    EditControlsWindow(cLayout& principal, UserDialogs& dialogs, bool editAllScreens,
                    const ScreenListView& principalList, QWidget* parent = nullptr);
    ~EditControlsWindow() override;
    // The file dialogs the previews of Thumbnail save through; Qt's own when none are given.
    void SetFileDialogs(FileDialogs& files) { Files = &files; }

    // -1 when the window edits all screens.
    int EditScreenNo() const { return ScreenNo; }
    // The resolution the user chose for the layout: the original resolution offered, and what
    // the previews of Thumbnail draw. None: the one detected from the controls.
    void SetChosenResolution(const std::optional<Resolution>& resolution);
    // The resolution of the last completed Re-scale, if there was one.
    const std::optional<Resolution>& RescaledTo() const { return Rescaled; }

private slots:
    void rescaleControls();
    void showStatistics();
    void reorderDros();
    void showThumbnails();
    void dismiss();

private:
    void BuildControls();
    void Form_Load(bool editAllScreens, const ScreenListView& principalList);
    void BuildResolutionGroup(QGroupBox* frame, std::array<QRadioButton*, OptionCount>& options,
                              const char* array, int optionWidth, int firstTop, int optionHeight,
                              const std::array<int, ClassicResolutionCount>& classicTabs,
                              QLineEdit*& width, QLineEdit*& height, const char* boxSuffix);
    void DetectOriginalResolution();
    int NewResolutionIndex();
    int OldResolutionIndex();
    // The size an option stands for; for "Other" the one typed in its boxes, or nullopt after a
    // warning when they hold no allowed size.
    std::optional<Resolution> ResolutionAt(int index, QLineEdit& width, QLineEdit& height,
                                           const char* group);

    cLayout& PrincipalLayout;
    UserDialogs& Dialogs;
    int ScreenNo = -1;
    std::optional<Resolution> Chosen;
    std::optional<Resolution> Rescaled;
    QWidget* Content = nullptr; // the controls' parent, scrolled where the screen is small

    QPushButton* butStats = nullptr;
    QPushButton* butThumb = nullptr;
    QPushButton* butCancel = nullptr;
    QFrame* Line1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, OptionCount> Option1{};
    QLineEdit* txtOldWidth = nullptr;
    QLineEdit* txtOldHeight = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, OptionCount> Option2{};
    QLineEdit* txtNewWidth = nullptr;
    QLineEdit* txtNewHeight = nullptr;
    QLabel* Label2 = nullptr;
    QCheckBox* chkCentre = nullptr;
    QPushButton* butScale = nullptr;
    QFrame* Line2 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtDROGroup = nullptr;
    QGroupBox* Frame3 = nullptr;
    std::array<QRadioButton*, 2> Option3{};
    QLabel* Label3 = nullptr;
    QPushButton* butReOrderDRO = nullptr;
    QFrame* Line3 = nullptr;

    FileDialogs* Files = nullptr;
    std::unique_ptr<QtFileDialogs> OwnFiles;
};
