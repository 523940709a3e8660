#include "ui/canvas/ScreenPreviewWindow.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "layout/cLayout.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/HandlerGuard.h"
#include "ui/session/LayoutSession.h"
#include "ui/session/PreviewSettings.h"
#include "ui/canvas/ScreenEditor.h"
#include "ui/canvas/ScreenPreview.h"

ScreenPreviewWindow::ScreenPreviewWindow(const cLayout& layout, int screen, FileDialogs& files,
                                         UserDialogs& dialogs,
                                         std::shared_ptr<PictureCache> pictures, QWidget* parent)
    : QDialog(parent), Dialogs(dialogs) {
    setObjectName(QStringLiteral("ScreenPreviewWindow"));
    setModal(true);
    Build(layout, screen, files, std::move(pictures));
}

ScreenPreviewWindow::ScreenPreviewWindow(LayoutSession& session, int screen, FileDialogs& files,
                                         UserDialogs& dialogs,
                                         std::shared_ptr<PictureCache> pictures, QWidget* parent)
    : QDialog(parent), Dialogs(dialogs), Editing(true) {
    setObjectName(QStringLiteral("ScreenEditorWindow"));
    setModal(false);
    Build(session.Layout(), screen, files, std::move(pictures));
    // Drawn for the resolution chosen for the layout, as the main window's preview is.
    Screen->SetChosenResolution(session.ChosenResolution());
    connect(&session, &LayoutSession::ChosenResolutionChanged, this, [this, &session] {
        Screen->SetChosenResolution(session.ChosenResolution());
        ShowTitle();
    });
    Screen->SetEditSession(&session);
    BuildMenus(session);
    // Whatever window changed the layout, this one shows it as it is now.
    connect(&session, &LayoutSession::Changed, this, [this](const LayoutChange& change) {
        Screen->LayoutChanged(change);
        ShowTitle();
    });
}

void ScreenPreviewWindow::Build(const cLayout& layout, int screen, FileDialogs& files,
                                std::shared_ptr<PictureCache> pictures) {
    setSizeGripEnabled(true);

    Screen = new ScreenPreview(files, Dialogs, this);
    if (pictures) Screen->SetPictureCache(std::move(pictures));
    Screen->ShowScreen(layout, screen);
    ShowTitle();

    chkPersistent = new QCheckBox(tr("Show Persistent screen controls"), this);
    chkPersistent->setObjectName(QStringLiteral("chkPersistent"));
    chkPersistent->setChecked(Screen->ShowsPersistent());
    chkPersistent->setEnabled(screen > 0);
    labPictures = new QLabel(this);
    labPictures->setObjectName(QStringLiteral("labPictures"));
    labPictures->setTextInteractionFlags(Qt::TextSelectableByMouse);
    butPicturesFolder = new QPushButton(tr("Pictures folder..."), this);
    butPicturesFolder->setObjectName(QStringLiteral("butPicturesFolder"));
    butSavePicture = new QPushButton(tr("Save picture..."), this);
    butSavePicture->setObjectName(QStringLiteral("butSavePicture"));
    butClose = new QPushButton(tr("Close"), this);
    butClose->setObjectName(QStringLiteral("butClose"));
    for (QPushButton* button : {butPicturesFolder, butSavePicture, butClose})
        button->setAutoDefault(false);

    auto* options = new QHBoxLayout;
    options->addWidget(chkPersistent);
    options->addSpacing(12);
    options->addWidget(labPictures, 1);
    auto* commands = new QHBoxLayout;
    commands->addStretch(1);
    commands->addWidget(butPicturesFolder);
    commands->addWidget(butSavePicture);
    commands->addWidget(butClose);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Screen, 1);
    column->addLayout(options);
    column->addLayout(commands);

    connect(chkPersistent, &QCheckBox::toggled, this,
            [this](bool on) { RunGuarded(Dialogs, [&] { Screen->SetShowPersistent(on); }); });
    connect(butPicturesFolder, &QPushButton::clicked, this, [this] {
        RunGuarded(Dialogs, [this] {
            if (Screen->ChoosePicturesFolder()) ShowFolder();
        });
    });
    connect(butSavePicture, &QPushButton::clicked, this,
            [this] { RunGuarded(Dialogs, [this] { Screen->SavePicture(); }); });
    connect(butClose, &QPushButton::clicked, this, [this] {
        if (Editing)
            close();
        else
            accept();
    });
    connect(Screen, &ScreenPreview::ShowPersistentChanged, chkPersistent, &QCheckBox::setChecked);
    connect(Screen, &ScreenPreview::PicturesFolderChanged, this, &ScreenPreviewWindow::ShowFolder);
    ShowFolder();

    // Room for the screen at its own size where the display allows, else as much as there is.
    QSize wanted(Screen->Scene().Size.Width + 24,
                 Screen->Scene().Size.Height + (Editing ? 150 : 110));
    if (const QScreen* display = QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(display->availableGeometry().size() * 9 / 10);
    resize(wanted.expandedTo(QSize(480, 400)));
}

void ScreenPreviewWindow::BuildMenus(LayoutSession& session) {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("EditorMenuBar"));
    layout()->setMenuBar(bar);
    ScreenEditor* editor = Screen->Editor();
    mnuFile = bar->addMenu(tr("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuEditorFile"));
    mnuFile->addSeparator();
    QAction* close = mnuFile->addAction(tr("&Close"), this, &QWidget::close);
    close->setObjectName(QStringLiteral("mnuEditorClose"));
    close->setShortcuts(QKeySequence::keyBindings(QKeySequence::Close));
    QMenu* edit = bar->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEditorEdit"));
    edit->addAction(session.UndoAction());
    edit->addAction(session.RedoAction());
    if (editor == nullptr) return;
    edit->addSeparator();
    edit->addActions(editor->SelectionActions());
    bar->addMenu(editor->ArrangeMenu());
    bar->addMenu(editor->SnapMenu());
    bar->addMenu(editor->ZoomMenu());
}

ScreenEditor* ScreenPreviewWindow::Editor() const {
    return Editing ? Screen->Editor() : nullptr;
}

void ScreenPreviewWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (ScreenEditor* editor = Editor()) editor->setFocus(Qt::OtherFocusReason);
}

void ScreenPreviewWindow::ShowTitle() {
    const QString caption = Screen->Caption().replace(0, 1, QLatin1Char('s'));
    QString title = (Editing ? QStringLiteral("Editing ") : QStringLiteral("Preview of ")) + caption;
    // An editing window says which layout it edits, and whether it has unsaved changes.
    if (Editing && Screen->Layout() != nullptr) {
        const QString path = FromSystemPath(Screen->Layout()->FileName());
        if (!path.isEmpty()) title += QStringLiteral(" - ") + QFileInfo(path).fileName();
        title += QStringLiteral("[*]");
        setWindowModified(Screen->Layout()->IsDirty());
    }
    setWindowTitle(title);
}

void ScreenPreviewWindow::ShowFolder() {
    const std::string folder = PicturesFolderSetting();
    labPictures->setText(folder.empty() ? tr("Pictures: beside the layout")
                                        : tr("Pictures: %1").arg(FromSystemPath(folder)));
}
