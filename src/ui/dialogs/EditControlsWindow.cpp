#include "ui/dialogs/EditControlsWindow.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "layout/ScreenListView.h"
#include "layout/cLayout.h"
#include "ui/widgets/CaptionFit.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/CommonCode.h"
#include "ui/widgets/FactorText.h"
#include "ui/widgets/HandlerGuard.h"
#include "ui/widgets/QtFileDialogs.h"
#include "ui/widgets/ScreenFit.h"
#include "ui/canvas/ScreenPreview.h"
#include "ui/canvas/ScreenPreviewWindow.h"
#include "ui/dialogs/ScreenThumbnailsWindow.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/CaptionButton.h"

namespace {

// The window is the classic design grown to hold today's resolutions: the two resolution groups
// are wider (a second column of options) and taller (a row for a size of the user's own), and
// what stood beside and below them moves right and down by as much.
constexpr int FrameWidth = 4575;
constexpr int FrameHeight = 3705;
constexpr int Drop = FrameHeight - 2295;
constexpr int Frame1Left = 360;
constexpr int Frame2Left = Frame1Left + FrameWidth + 105;
constexpr int RightColumn = Frame2Left + FrameWidth + 225;
constexpr int ClientWidth = RightColumn + 2535 + 360;
constexpr int ClientHeight = 6255 + Drop;
constexpr int LineLeft = 240;
constexpr int LineRight = ClientWidth - 165;
constexpr qreal DesignPointSize = 8.0;

// Inside a resolution group: rows of options 360 twips apart, the first eight in the left column,
// the rest in the right one, and "Other" with its boxes in a row under both.
constexpr int RowPitch = 360;
constexpr int RowsInFirstColumn = 8;
constexpr int FirstColumnLeft = 240;
constexpr int SecondColumnLeft = 2400;
constexpr int BoxHeight = 315;

static_assert(EditControlsWindow::OtherIndex > RowsInFirstColumn);

// tabAfter orders the controls added to the classic design among themselves: they follow the
// control whose tab index they share.
template <typename Control>
Control* Place(Control* control, const QString& name, const QRect& geometry, int tabIndex,
               const char* tag = "", int tabAfter = 0) {
    control->setObjectName(name);
    control->setGeometry(geometry);
    control->setProperty("Tag", QString::fromLatin1(tag));
    control->setProperty("TabIndex", tabIndex);
    control->setProperty("TabAfter", tabAfter);
    return control;
}

// A line across the window at one height, from x1 to x2 (twips).
QFrame* Line(QWidget* parent, const char* name, int x1, int x2, int y) {
    auto* line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    line->setGeometry(TwipsToPixels(x1), TwipsToPixels(y), TwipsToPixels(x2 - x1), 1);
    return line;
}

QLabel* BoldLabel(QWidget* parent, const char* caption) {
    auto* label = new QLabel(FromCodePage(caption), parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

// The group of a DRO re-ordering: a whole number in the 32-bit range of rTabGroup, blanks around it
// allowed (real layouts use groups such as 65536).
bool ReadGroupNumber(const QString& text, int& group) {
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    const QString trimmed = text.trimmed();
    if (!wholeNumber.match(trimmed).hasMatch()) return false;
    bool ok = false;
    const qlonglong value = trimmed.toLongLong(&ok);
    if (!ok || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max())
        return false;
    group = static_cast<int>(value);
    return true;
}

} // namespace

EditControlsWindow::EditControlsWindow(cLayout& principal, UserDialogs& dialogs, bool editAllScreens,
                                 const ScreenListView& principalList, QWidget* parent)
    : QDialog(parent), PrincipalLayout(principal), Dialogs(dialogs) {
    setObjectName(QStringLiteral("frmEditControls"));
    setWindowTitle(FromCodePage("Edit Controls"));
    setModal(true);
    QFont font = this->font();
    font.setPointSizeF(DesignPointSize);
    setFont(font);
    Content =
        ScrollableContent(*this, QSize(TwipsToPixels(ClientWidth), TwipsToPixels(ClientHeight)));
    BuildControls();
    FitCaptions(*this);
    Form_Load(editAllScreens, principalList);
}

void EditControlsWindow::BuildControls() {
    const auto button = [this](const char* caption) {
        auto* command = new CaptionButton(FromCodePage(caption), Content);
        // No command is the default one: Enter in the group number must not rescale.
        command->setAutoDefault(false);
        return command;
    };
    butStats = Place(button("Statistics"), "butStats", TwipsRect(360, 240, 1335, 375), 15);
    butThumb = Place(button("Thumbnail"), "butThumb", TwipsRect(2280, 240, 1335, 375), 16, "A2");
    butCancel =
        Place(button("Close"), "butCancel", TwipsRect(ClientWidth - 1725, 240, 1335, 375), 14);
    Line1 = Line(Content, "Line1", LineLeft, LineRight, 840);

    Frame1 = Place(new QGroupBox(FromCodePage("Original resolution"), Content), "Frame1",
                   TwipsRect(Frame1Left, 1080, FrameWidth, FrameHeight), 0);
    Frame2 = Place(new QGroupBox(FromCodePage("New resolution"), Content), "Frame2",
                   TwipsRect(Frame2Left, 1080, FrameWidth, FrameHeight), 5);
    BuildResolutionGroup(Frame1, Option1, "Option1", 2055, 240, 375, {1, 2, 3, 4, 10}, txtOldWidth,
                         txtOldHeight, "Old");
    BuildResolutionGroup(Frame2, Option2, "Option2", 1815, 360, 255, {6, 7, 8, 9, 11}, txtNewWidth,
                         txtNewHeight, "New");
    Label2 =
        Place(BoldLabel(Content, "Re-scale controls to suit new screen resolution. Note: due to "
                                 "rounding of font sizes some hand tuning will be needed"),
              "Label2", TwipsRect(RightColumn, 1200, 2535, 1095), 12);
    chkCentre = Place(new QCheckBox(FromCodePage("Centre horizontally"), Content), "chkCentre",
                      TwipsRect(RightColumn, 2400, 2535, 375), 12, "", 1);
    chkCentre->setToolTip(
        FromCodePage("On a screen wider in proportion, move the controls right to the middle"));
    butScale =
        Place(button("Re-scale"), "butScale", TwipsRect(RightColumn + 600, 2955, 1335, 375), 13);
    Line2 = Line(Content, "Line2", LineLeft, LineRight, 3600 + Drop);

    Label1 = Place(new QLabel(FromCodePage("DRO Group number:"), Content), "Label1",
                   TwipsRect(360, 3840 + Drop, 2055, 495), 21, "A2");
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    txtDROGroup = Place(new QLineEdit(Content), "txtDROGroup",
                        TwipsRect(2520, 3720 + Drop, 855, 375), 20, "A2");
    Label1->setBuddy(txtDROGroup);
    Frame3 = Place(new QGroupBox(FromCodePage("DROs are in"), Content), "Frame3",
                   TwipsRect(3720, 3840 + Drop, 1695, 1335), 17, "A2");
    Option3[0] = Place(new QRadioButton(FromCodePage("Columns"), Frame3), "Option3(0)",
                       TwipsRect(120, 360, 1455, 375), 18, "A2");
    Option3[1] = Place(new QRadioButton(FromCodePage("Rows"), Frame3), "Option3(1)",
                       TwipsRect(120, 720, 1455, 375), 19, "A2");
    Option3[0]->setChecked(true);
    Label3 = Place(BoldLabel(Content, "Re-order DROs by rows or columns so arrow keys move focus "
                                      "logically"),
                   "Label3", TwipsRect(5760, 3840 + Drop, 2775, 735), 23, "A2");
    butReOrderDRO = Place(button("Re-order DROs"), "butReOrderDRO",
                          TwipsRect(6240, 4680 + Drop, 1335, 375), 22, "A2");
    Line3 = Line(Content, "Line3", LineLeft, LineRight, 5280 + Drop);

    // Focus moves through the controls in the order of their tab indexes.
    std::vector<std::pair<std::pair<int, int>, QWidget*>> order;
    for (QWidget* control : findChildren<QWidget*>())
        if (control->property("TabIndex").isValid() && control->focusPolicy() != Qt::NoFocus)
            order.push_back(
                {{control->property("TabIndex").toInt(), control->property("TabAfter").toInt()},
                 control});
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1].second, order[i].second);

    connect(butScale, &QPushButton::clicked, this, &EditControlsWindow::rescaleControls);
    connect(butStats, &QPushButton::clicked, this, &EditControlsWindow::showStatistics);
    connect(butReOrderDRO, &QPushButton::clicked, this, &EditControlsWindow::reorderDros);
    connect(butThumb, &QPushButton::clicked, this, &EditControlsWindow::showThumbnails);
    connect(butCancel, &QPushButton::clicked, this, &EditControlsWindow::dismiss);
}

// The options of one resolution group, the classic five in their places first. The options added
// to the classic five, and the boxes of "Other", follow the fifth option in tab order.
void EditControlsWindow::BuildResolutionGroup(
    QGroupBox* frame, std::array<QRadioButton*, OptionCount>& options, const char* array,
    int optionWidth, int firstTop, int optionHeight,
    const std::array<int, ClassicResolutionCount>& classicTabs, QLineEdit*& width,
    QLineEdit*& height, const char* boxSuffix) {
    const int tabBase = classicTabs[ClassicResolutionCount - 1];
    for (int i = 0; i < OptionCount; ++i) {
        QString caption;
        QRect place;
        if (i < OtherIndex) {
            caption = FromCodePage(ResolutionCaption(Resolutions[static_cast<std::size_t>(i)]));
            const bool first = i < RowsInFirstColumn;
            const int row = first ? i : i - RowsInFirstColumn;
            place = TwipsRect(first ? FirstColumnLeft : SecondColumnLeft, firstTop + RowPitch * row,
                              optionWidth, optionHeight);
        } else {
            caption = FromCodePage("Other");
            place = TwipsRect(FirstColumnLeft, firstTop + RowPitch * RowsInFirstColumn, 900,
                              optionHeight);
        }
        const bool classic = i < ClassicResolutionCount;
        options[static_cast<std::size_t>(i)] = Place(
            new QRadioButton(caption, frame), QStringLiteral("%1(%2)").arg(array).arg(i), place,
            classic ? classicTabs[i] : tabBase, "", classic ? 0 : i - ClassicResolutionCount + 1);
        options[static_cast<std::size_t>(i)]->setProperty("Index", i);
    }

    // "Other": its width and height, beside it and centred on its row.
    const int otherTop = firstTop + RowPitch * RowsInFirstColumn;
    const int boxTop = otherTop + (optionHeight - BoxHeight) / 2;
    int after = OtherIndex - ClassicResolutionCount + 1;
    const auto sizeBox = [&](const char* side, int labelLeft, int labelWidth) {
        auto* label = new QLabel(FromCodePage(side), frame);
        label->setObjectName(QStringLiteral("lbl%1%2").arg(boxSuffix).arg(side));
        label->setGeometry(TwipsRect(labelLeft, boxTop, labelWidth, BoxHeight));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* box = Place(new QLineEdit(frame), QStringLiteral("txt%1%2").arg(boxSuffix).arg(side),
                          TwipsRect(labelLeft + labelWidth + 60, boxTop, 720, BoxHeight), tabBase,
                          "", ++after);
        box->setMaxLength(8);
        box->setEnabled(false);
        box->setAccessibleName(frame->title() + QStringLiteral(" ") + QString::fromLatin1(side));
        box->setToolTip(
            QStringLiteral("%1 to %2 pixels").arg(MinResolutionSide).arg(MaxResolutionSide));
        label->setBuddy(box);
        return box;
    };
    width = sizeBox("Width", 1155, 555);
    height = sizeBox("Height", 2550, 600);
    QLineEdit* const boxes[] = {width, height};
    connect(options[OtherIndex], &QRadioButton::toggled, this, [boxes](bool checked) {
        for (QLineEdit* box : boxes)
            box->setEnabled(checked);
    });
}

void EditControlsWindow::Form_Load(bool editAllScreens, const ScreenListView& principalList) {
    if (editAllScreens) {
        setWindowTitle(FromCodePage("Edit controls on all screens"));
        SetByTag(*this, QStringLiteral("A2"), TagEnabled, false);
        // Thumbnail shows every screen as a grid when all are edited.
        butThumb->setEnabled(true);
        ScreenNo = -1;
    } else {
        SetByTag(*this, QStringLiteral("A2"), TagEnabled, true);
        ScreenNo = ScreenNoFromText(principalList.SelectedText());
        setWindowTitle(FromCodePage("Edit controls on screen " + std::to_string(ScreenNo)));
    }
    DetectOriginalResolution();
}

void EditControlsWindow::SetChosenResolution(const std::optional<Resolution>& resolution) {
    Chosen = resolution;
    DetectOriginalResolution();
}

void EditControlsWindow::DetectOriginalResolution() {
    const DetectedResolution found = DetectResolution(PrincipalLayout.Records(), ScreenNo, Chosen);
    if (found.Index < 0) {
        // A size of the user's own is offered as Other.
        Option1[static_cast<std::size_t>(OtherIndex)]->setChecked(true);
        txtOldWidth->setText(QString::number(found.Size.Width));
        txtOldHeight->setText(QString::number(found.Size.Height));
        return;
    }
    if (found.Outside)
        Dialogs.MsgBox("Controls reach to X = " + std::to_string(found.ExtentX) +
                           " Y = " + std::to_string(found.ExtentY) +
                           "\n is outside available screen resolutions. Max available assumed!",
                       MsgButtons::OK, MsgIcon::Exclamation);
    Option1[static_cast<std::size_t>(found.Index)]->setChecked(true);
}

int EditControlsWindow::NewResolutionIndex() {
    for (int i = 0; i < OptionCount; ++i)
        if (Option2[static_cast<std::size_t>(i)]->isChecked()) return i;
    Dialogs.MsgBox("No new resolution has been selected", MsgButtons::OK, MsgIcon::Exclamation);
    return -1;
}

int EditControlsWindow::OldResolutionIndex() {
    for (int i = 0; i < OptionCount; ++i)
        if (Option1[static_cast<std::size_t>(i)]->isChecked()) return i;
    Dialogs.MsgBox("No Old resolution has been selected", MsgButtons::OK, MsgIcon::Exclamation);
    return -1;
}

std::optional<Resolution> EditControlsWindow::ResolutionAt(int index, QLineEdit& width,
                                                        QLineEdit& height, const char* group) {
    if (index < OtherIndex) return Resolutions[static_cast<std::size_t>(index)];
    const auto w = ParseResolutionSide(width.text().toStdString());
    const auto h = ParseResolutionSide(height.text().toStdString());
    if (w && h) return Resolution{*w, *h};
    Dialogs.MsgBox(std::string("The width and height of the Other ") + group +
                       " resolution must be whole numbers from " +
                       std::to_string(MinResolutionSide) + " to " +
                       std::to_string(MaxResolutionSide),
                   MsgButtons::OK, MsgIcon::Exclamation);
    QLineEdit& wrong = w ? height : width;
    wrong.setFocus();
    wrong.selectAll();
    return std::nullopt;
}

void EditControlsWindow::rescaleControls() {
    RunGuarded(Dialogs, [this] {
        const int n = NewResolutionIndex();
        if (n == -1) return;
        const int o = OldResolutionIndex();
        if (o == -1) return;
        const auto to = ResolutionAt(n, *txtNewWidth, *txtNewHeight, "new");
        if (!to) return;
        const auto from = ResolutionAt(o, *txtOldWidth, *txtOldHeight, "original");
        if (!from) return;
        const RescalePlan plan = PlanRescale(*from, *to);
        const float factor = plan.Factor;
        if (static_cast<double>(factor) > 1.0 &&
            Dialogs.MsgBox("You have asked to magnify screen by " + FactorText(factor) +
                               " times. This may give poor results and need extra hand tuning",
                           MsgButtons::OKCancel, MsgIcon::Exclamation,
                           "Attempt to magnify") != MsgAnswer::OK)
            return;
        const int32_t shift = chkCentre->isChecked() && plan.FromHeights ? plan.CentringShift : 0;
        // A refused rescale has said why; the window stays for another choice.
        if (!PrincipalLayout.RescaleControls(ScreenNo, factor, shift)) return;
        Rescaled = *to;
        Dialogs.MsgBox("Screen(s) rescaled by " + FactorText(factor), MsgButtons::OK, MsgIcon::None,
                       "Success");
        accept();
    });
}

void EditControlsWindow::showStatistics() {
    RunGuarded(Dialogs, [this] { PrincipalLayout.ShowStatistics(ScreenNo); });
}

void EditControlsWindow::reorderDros() {
    RunGuarded(Dialogs, [this] {
        int group = 0;
        if (!ReadGroupNumber(txtDROGroup->text(), group)) {
            Dialogs.MsgBox(
                "The DRO Group number must be a whole number from -2147483648 to 2147483647",
                MsgButtons::OK, MsgIcon::Exclamation);
            return;
        }
        PrincipalLayout.SortDROs(ScreenNo, group, Option3[0]->isChecked());
    });
}

EditControlsWindow::~EditControlsWindow() = default;

void EditControlsWindow::showThumbnails() {
    RunGuarded(Dialogs, [this] {
        if (Files == nullptr) {
            OwnFiles = std::make_unique<QtFileDialogs>(Dialogs);
            Files = OwnFiles.get();
        }
        if (ScreenNo < 0) {
            ScreenThumbnailsWindow grid(PrincipalLayout, *Files, Dialogs, this);
            grid.SetChosenResolution(Chosen);
            grid.exec();
        } else {
            ScreenPreviewWindow large(PrincipalLayout, ScreenNo, *Files, Dialogs, {}, this);
            large.Preview().SetChosenResolution(Chosen);
            large.exec();
        }
    });
}

void EditControlsWindow::dismiss() {
    reject();
}
