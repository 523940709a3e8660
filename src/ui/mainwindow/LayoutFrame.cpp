#include "ui/mainwindow/LayoutFrame.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "layout/cLayout.h"
#include "ui/widgets/CodePage.h"
#include "ui/session/LayoutSession.h"
#include "ui/canvas/ScreenPreview.h"
#include "ui/widgets/ShareSplitter.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/CaptionButton.h"

namespace {

int Px(int twips) {
    return TwipsToPixels(twips);
}

// Names a control and gives it its Tag and tooltip.
template <typename Control>
Control* Name(Control* control, const char* name, const char* tag = "", const char* toolTip = "") {
    control->setObjectName(QString::fromLatin1(name));
    control->setProperty("Tag", QString::fromLatin1(tag));
    if (toolTip != nullptr && *toolTip != '\0') control->setToolTip(FromCodePage(toolTip));
    return control;
}

CaptionButton* MakeButton(QWidget* parent, const FrameButtonShape& shape) {
    auto* button = Name(new CaptionButton(FromCodePage(shape.Caption), parent), shape.Name,
                        shape.Tag, shape.ToolTip);
    if (shape.Bold) {
        QFont bold = button->font();
        bold.setBold(true);
        button->setFont(bold);
    }
    return button;
}

// The margins of a frame's layout that put its controls at their design distance from the
// frame's edges, whatever room the style gives the frame's title and border.
void SetFrameMargins(QGroupBox& frame, QLayout& layout, int top, int bottom) {
    frame.ensurePolished();
    const QMargins style = frame.contentsMargins();
    const auto less = [](int twips, int taken) { return std::max(0, Px(twips) - taken); };
    layout.setContentsMargins(less(120, style.left()), less(top, style.top()),
                              less(120, style.right()), less(bottom, style.bottom()));
}

} // namespace

LayoutFrame::LayoutFrame(const LayoutFrameShape& shape, LayoutSession& session, FileDialogs& files,
                         UserDialogs& dialogs, QWidget* parent)
    : QGroupBox(FromCodePage(shape.Title), parent), Document(session),
      DesignListWidth(Px(shape.ListWidth)) {
    Name(this, shape.Name);

    auto* fileButtons = new QHBoxLayout;
    fileButtons->setSpacing(Px(105));
    for (const FrameButtonShape& b : shape.FileButtons) {
        CaptionButton* button = MakeButton(this, b);
        button->setFixedSize(Px(b.Width), Px(b.Height));
        Buttons.push_back(button);
        fileButtons->addWidget(button);
    }
    fileButtons->addStretch();

    FileName =
        Name(new QLineEdit(FromCodePage("<none>"), this), shape.FileBoxName, shape.FileBoxTag);
    // Only the program writes the file names; the user reads them.
    FileName->setReadOnly(true);
    FileName->setMinimumWidth(Px(shape.FileBoxWidth));
    FileName->setFixedHeight(Px(375));
    FileName->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    ScreenList = Name(new QTreeWidget(this), shape.ListName, shape.ListTag, shape.ListToolTip);
    // The columns are shared out of the list's design width when the document binds it.
    ScreenList->resize(Px(shape.ListWidth), Px(shape.ListHeight));
    View = std::make_unique<ScreenListTree>(*ScreenList);
    ListSplitter = new ShareSplitter(Qt::Horizontal, Px(shape.ListWidth), 0, ListWidthShare, this);
    ListSplitter->setObjectName(QString::fromLatin1(shape.SplitterName));
    ListSplitter->installEventFilter(this);
    ListSplitter->addWidget(ScreenList);

    Host = new QWidget(ListSplitter);
    Host->setObjectName(QString::fromLatin1(shape.PreviewHostName));
    auto* hostLayout = new QVBoxLayout(Host);
    hostLayout->setContentsMargins(0, 0, 0, 0);
    // What a pane asks for never pushes the window past its design size; the splitter gives the
    // host its room.
    Host->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    Host->installEventFilter(this);
    ListSplitter->addWidget(Host);
    Host->hide();
    Pane = new ScreenPreview(files, dialogs, Host);
    Pane->setObjectName(QString::fromLatin1(shape.PreviewName));
    hostLayout->addWidget(Pane);

    QGroupBox* layoutGroup =
        shape.LayoutGroup.Name != nullptr ? BuildGroup(shape.LayoutGroup) : nullptr;
    if (layoutGroup != nullptr)
        layoutGroup->setFixedSize(Px(shape.LayoutGroup.Width), Px(shape.LayoutGroup.Height));
    ScreenButtons = BuildGroup(shape.ScreenGroup);
    // At least the height its buttons need; the group grows with the list beside it.
    ScreenButtons->setMinimumSize(Px(shape.ScreenGroup.Width), Px(shape.ScreenGroup.Height));
    ScreenButtons->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    ScreenButtons->setFixedWidth(Px(shape.ScreenGroup.Width));

    auto* grid = new QGridLayout(this);
    SetFrameMargins(*this, *grid, shape.TopMargin, shape.BottomMargin);
    grid->setHorizontalSpacing(Px(105));
    grid->setVerticalSpacing(Px(105));

    auto* fileColumn = new QVBoxLayout;
    fileColumn->setSpacing(Px(105));
    if (shape.FileRowTop > 0) {
        // The column group starts higher than the buttons beside it; the buttons keep their
        // design place below the frame's title where the style's title leaves room for it.
        const int contentTop = std::max(Px(shape.TopMargin), contentsMargins().top());
        fileColumn->addSpacing(std::max(0, Px(shape.FileRowTop) - contentTop));
    }
    fileColumn->addLayout(fileButtons);
    fileColumn->addWidget(FileName);
    if (layoutGroup != nullptr) {
        auto* top = new QHBoxLayout;
        top->setSpacing(Px(345));
        top->addLayout(fileColumn, 1);
        top->addWidget(layoutGroup, 0, Qt::AlignTop);
        grid->addLayout(top, 0, 0);
    } else {
        grid->addLayout(fileColumn, 0, 0);
    }
    grid->addWidget(ListSplitter, 1, 0);
    grid->addWidget(ScreenButtons, 0, 1, 2, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);

    connect(ScreenList, &QTreeWidget::itemSelectionChanged, this, [this] {
        ShowSelectedScreen();
        emit SelectedScreenChanged(SelectedScreen());
    });
    // The screen shown is drawn again only when the change touched it.
    connect(&Document, &LayoutSession::Changed, this, [this](const LayoutChange& change) {
        const int screen = SelectedScreen();
        if (screen >= 0 && Pane->Layout() == &Document.Layout() && Pane->Screen() == screen)
            Pane->LayoutChanged(change);
        else
            ShowSelectedScreen();
    });
    // The list shows the screens beyond the host's 16 too, and reads the texts in the layout's
    // code page.
    View->ScreensBeyond = [this] { return Document.Layout().ScreensBeyond(); };
    connect(&Document, &LayoutSession::CodePageChanged, this, [this] {
        View->SetCodePage(Document.CodePage().CodePage);
        ShowSelectedScreen();
    });
    connect(&Document, &LayoutSession::FileNameChanged, this, [this](const QString& path) {
        if (!path.isEmpty()) FileName->setText(path);
    });
}

LayoutFrame::~LayoutFrame() = default;

QGroupBox* LayoutFrame::BuildGroup(const FrameGroupShape& shape) {
    auto* group = Name(new QGroupBox(FromCodePage(shape.Title), this), shape.Name, shape.Tag);
    // The small groups keep their buttons at their design places.
    for (const FrameButtonShape& b : shape.Buttons) {
        CaptionButton* button = MakeButton(group, b);
        button->setGeometry(TwipsRect(b.Left, b.Top, b.Width, b.Height));
        Buttons.push_back(button);
    }
    return group;
}

QPushButton* LayoutFrame::Button(const char* name) const {
    for (QPushButton* button : Buttons)
        if (button->objectName() == QLatin1String(name)) return button;
    return nullptr;
}

void LayoutFrame::ShowSelectedScreen() {
    const int screen = SelectedScreen();
    const cLayout& layout = Document.Layout();
    if (screen < 0)
        Pane->Clear();
    else if (Pane->Layout() == &layout && Pane->Screen() == screen)
        Pane->Refresh();
    else
        Pane->ShowScreen(layout, screen);
}

void LayoutFrame::UpdatePreviewHost() {
    const QList<QWidget*> panes = Host->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    // A pane shows once the list beside it has its design width and the pane room to be read.
    int wanted = 0;
    for (const QWidget* pane : panes)
        wanted = std::max(wanted, pane->minimumSizeHint().width());
    const int beyond = ListSplitter->width() - ListSplitter->handleWidth() - DesignListWidth;
    const bool room = beyond * (1.0 - ListWidthShare) >= wanted;
    const bool shown = !panes.isEmpty() && room;
    if (Host->isHidden() == shown) Host->setVisible(shown);
}

bool LayoutFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListSplitter && event->type() == QEvent::Resize) {
        UpdatePreviewHost();
    } else if (watched == Host &&
               (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildRemoved)) {
        // The child may be half built or half gone: look once the event is over.
        QMetaObject::invokeMethod(
            this, [this] { UpdatePreviewHost(); }, Qt::QueuedConnection);
    }
    return QGroupBox::eventFilter(watched, event);
}
