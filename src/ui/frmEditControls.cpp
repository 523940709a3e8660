#include "ui/frmEditControls.h"

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
#include "ui/CaptionFit.h"
#include "ui/CodePage.h"
#include "ui/CommonCode.h"
#include "ui/FactorText.h"
#include "ui/HandlerGuard.h"
#include "ui/QtFileDialogs.h"
#include "ui/ScreenPreviewWindow.h"
#include "ui/ScreenThumbnailsWindow.h"
#include "ui/Twips.h"
#include "ui/cCaptionButton.h"

namespace {

constexpr int ClientWidth = 8925;
constexpr int ClientHeight = 6255;
constexpr qreal DesignPointSize = 8.0;

constexpr std::array<int16_t, frmEditControls::ResolutionCount> Widths{640, 800, 1024, 1152, 1280};
constexpr std::array<int16_t, frmEditControls::ResolutionCount> Heights{480, 600, 768, 864, 1024};
const char* const ResolutionCaptions[frmEditControls::ResolutionCount] = {
    "640 x 480", "800 x 600", "1024 x 768", "1152 x 864", "1280 x 1024"};

template <typename Control>
Control* Place(Control* control, const QString& name, const QRect& geometry, int tabIndex,
               const char* tag = "") {
    control->setObjectName(name);
    control->setGeometry(geometry);
    control->setProperty("Tag", QString::fromLatin1(tag));
    control->setProperty("TabIndex", tabIndex);
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

frmEditControls::frmEditControls(cLayout& principal, UserDialogs& dialogs, bool editAllScreens,
                                 const ScreenListView& principalList, QWidget* parent)
    : QDialog(parent), PrincipalLayout(principal), Dialogs(dialogs) {
    setObjectName(QStringLiteral("frmEditControls"));
    setWindowTitle(FromCodePage("Edit Controls"));
    setModal(true);
    QFont font = this->font();
    font.setPointSizeF(DesignPointSize);
    setFont(font);
    setFixedSize(TwipsToPixels(ClientWidth), TwipsToPixels(ClientHeight));
    BuildControls();
    FitCaptions(*this);
    Form_Load(editAllScreens, principalList);
}

void frmEditControls::BuildControls() {
    const auto button = [this](const char* caption) {
        auto* command = new cCaptionButton(FromCodePage(caption), this);
        // No command is the default one: Enter in the group number must not rescale.
        command->setAutoDefault(false);
        return command;
    };
    butStats = Place(button("Statistics"), "butStats", TwipsRect(360, 240, 1335, 375), 15);
    butThumb = Place(button("Thumbnail"), "butThumb", TwipsRect(2280, 240, 1335, 375), 16, "A2");
    butCancel = Place(button("Close"), "butCancel", TwipsRect(7200, 240, 1335, 375), 14);
    Line1 = Line(this, "Line1", 240, 8760, 840);

    Frame1 = Place(new QGroupBox(FromCodePage("Original resolution"), this), "Frame1",
                   TwipsRect(360, 1080, 2535, 2295), 0);
    Frame2 = Place(new QGroupBox(FromCodePage("New resolution"), this), "Frame2",
                   TwipsRect(3000, 1080, 2415, 2295), 5);
    constexpr int Option1Tabs[ResolutionCount] = {1, 2, 3, 4, 10};
    constexpr int Option2Tabs[ResolutionCount] = {6, 7, 8, 9, 11};
    for (int i = 0; i < ResolutionCount; ++i) {
        const QString caption = FromCodePage(ResolutionCaptions[i]);
        Option1[i] = Place(new QRadioButton(caption, Frame1), QStringLiteral("Option1(%1)").arg(i),
                           TwipsRect(240, 240 + 360 * i, 2055, 375), Option1Tabs[i]);
        Option2[i] = Place(new QRadioButton(caption, Frame2), QStringLiteral("Option2(%1)").arg(i),
                           TwipsRect(240, 360 + 360 * i, 1815, 255), Option2Tabs[i]);
        Option1[i]->setProperty("Index", i);
        Option2[i]->setProperty("Index", i);
    }
    Label2 = Place(BoldLabel(this, "Re-scale controls to suit new screen resolution. Note: due to "
                                   "rounding of font sizes some hand tuning will be needed"),
                   "Label2", TwipsRect(5640, 1200, 2535, 1095), 12);
    butScale = Place(button("Re-scale"), "butScale", TwipsRect(6240, 2400, 1335, 375), 13);
    Line2 = Line(this, "Line2", 240, 8760, 3600);

    Label1 = Place(new QLabel(FromCodePage("DRO Group number:"), this), "Label1",
                   TwipsRect(360, 3840, 2055, 495), 21, "A2");
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    txtDROGroup =
        Place(new QLineEdit(this), "txtDROGroup", TwipsRect(2520, 3720, 855, 375), 20, "A2");
    Label1->setBuddy(txtDROGroup);
    Frame3 = Place(new QGroupBox(FromCodePage("DROs are in"), this), "Frame3",
                   TwipsRect(3720, 3840, 1695, 1335), 17, "A2");
    Option3[0] = Place(new QRadioButton(FromCodePage("Columns"), Frame3), "Option3(0)",
                       TwipsRect(120, 360, 1455, 375), 18, "A2");
    Option3[1] = Place(new QRadioButton(FromCodePage("Rows"), Frame3), "Option3(1)",
                       TwipsRect(120, 720, 1455, 375), 19, "A2");
    Option3[0]->setChecked(true);
    Label3 = Place(BoldLabel(this, "Re-order DROs by rows or columns so arrow keys move focus "
                                   "logically"),
                   "Label3", TwipsRect(5760, 3840, 2775, 735), 23, "A2");
    butReOrderDRO =
        Place(button("Re-order DROs"), "butReOrderDRO", TwipsRect(6240, 4680, 1335, 375), 22, "A2");
    Line3 = Line(this, "Line3", 240, 8760, 5280);

    // Focus moves through the controls in the order of their tab indexes.
    std::vector<std::pair<int, QWidget*>> order;
    for (QWidget* control : findChildren<QWidget*>())
        if (control->property("TabIndex").isValid() && control->focusPolicy() != Qt::NoFocus)
            order.emplace_back(control->property("TabIndex").toInt(), control);
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1].second, order[i].second);

    connect(butScale, &QPushButton::clicked, this, &frmEditControls::butScale_Click);
    connect(butStats, &QPushButton::clicked, this, &frmEditControls::butStats_Click);
    connect(butReOrderDRO, &QPushButton::clicked, this, &frmEditControls::butReOrderDRO_Click);
    connect(butThumb, &QPushButton::clicked, this, &frmEditControls::butThumb_Click);
    connect(butCancel, &QPushButton::clicked, this, &frmEditControls::butCancel_Click);
}

void frmEditControls::Form_Load(bool editAllScreens, const ScreenListView& principalList) {
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

void frmEditControls::DetectOriginalResolution() {
    ResWidth = Widths;
    ResHeight = Heights;
    const int32_t x = PrincipalLayout.ScreenExtentX(ScreenNo);
    const int32_t y = PrincipalLayout.ScreenExtentY(ScreenNo);
    // The smallest resolution that strictly holds every control.
    int found = -1;
    for (int i = 0; i < ResolutionCount && found < 0; ++i)
        if (x < ResWidth[i] && y < ResHeight[i]) found = i;
    if (found < 0) {
        Dialogs.MsgBox("Controls reach to X = " + std::to_string(x) + " Y = " + std::to_string(y) +
                           "\n is outside available screen resolutions. Max available assumed!",
                       MsgButtons::OK, MsgIcon::Exclamation);
        found = ResolutionCount - 1;
    }
    Option1[found]->setChecked(true);
}

int frmEditControls::NewResolutionIndex() {
    for (int i = 0; i < ResolutionCount; ++i)
        if (Option2[i]->isChecked()) return i;
    Dialogs.MsgBox("No new resolution has been selected", MsgButtons::OK, MsgIcon::Exclamation);
    return -1;
}

int frmEditControls::OldResolutionIndex() {
    for (int i = 0; i < ResolutionCount; ++i)
        if (Option1[i]->isChecked()) return i;
    Dialogs.MsgBox("No Old resolution has been selected", MsgButtons::OK, MsgIcon::Exclamation);
    return -1;
}

void frmEditControls::butScale_Click() {
    RunGuarded(Dialogs, [this] {
        const int n = NewResolutionIndex();
        if (n == -1) return;
        const int o = OldResolutionIndex();
        if (o == -1) return;
        const float factor =
            static_cast<float>(static_cast<double>(ResWidth[n]) / static_cast<double>(ResWidth[o]));
        if (static_cast<double>(factor) > 1.0 &&
            Dialogs.MsgBox("You have asked to magnify screen by " + FactorText(factor) +
                               " times. This may give poor results and need extra hand tuning",
                           MsgButtons::OKCancel, MsgIcon::Exclamation,
                           "Attempt to magnify") != MsgAnswer::OK)
            return;
        // A refused rescale has said why; the window stays for another choice.
        if (!PrincipalLayout.RescaleControls(ScreenNo, factor)) return;
        Dialogs.MsgBox("Screen(s) rescaled by " + FactorText(factor), MsgButtons::OK, MsgIcon::None,
                       "Success");
        accept();
    });
}

void frmEditControls::butStats_Click() {
    RunGuarded(Dialogs, [this] { PrincipalLayout.ShowStatistics(ScreenNo); });
}

void frmEditControls::butReOrderDRO_Click() {
    RunGuarded(Dialogs, [this] {
        int group = 0;
        if (!ReadGroupNumber(txtDROGroup->text(), group)) {
            Dialogs.MsgBox("The DRO Group number must be a whole number from -2147483648 to 2147483647",
                           MsgButtons::OK, MsgIcon::Exclamation);
            return;
        }
        PrincipalLayout.SortDROs(ScreenNo, group, Option3[0]->isChecked());
    });
}

frmEditControls::~frmEditControls() = default;

void frmEditControls::butThumb_Click() {
    RunGuarded(Dialogs, [this] {
        if (Files == nullptr) {
            OwnFiles = std::make_unique<QtFileDialogs>(Dialogs);
            Files = OwnFiles.get();
        }
        if (ScreenNo < 0) {
            ScreenThumbnailsWindow grid(PrincipalLayout, *Files, Dialogs, this);
            grid.exec();
        } else {
            ScreenPreviewWindow large(PrincipalLayout, ScreenNo, *Files, Dialogs, {}, this);
            large.exec();
        }
    });
}

void frmEditControls::butCancel_Click() {
    reject();
}
