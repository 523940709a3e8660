#include "ui/dialogs/ScreenThumbnailsWindow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyleOptionFocusRect>
#include <QVBoxLayout>

#include "layout/cLayout.h"
#include "preview/PictureFinder.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/widgets/HandlerGuard.h"
#include "ui/canvas/PictureCache.h"
#include "ui/session/PreviewSettings.h"
#include "ui/canvas/ScenePainter.h"
#include "ui/widgets/ScreenFit.h"
#include "ui/canvas/ScreenPreview.h"
#include "ui/canvas/ScreenPreviewWindow.h"

namespace {
constexpr int Pad = 4;
} // namespace

ScreenThumbnail::ScreenThumbnail(int screen, QWidget* parent)
    : QAbstractButton(parent), ScreenNo(screen) {
    setObjectName(QStringLiteral("Thumb(%1)").arg(screen));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ScreenThumbnail::SetPicture(const QImage& picture, const QString& caption) {
    Picture = picture;
    setText(caption);
    setToolTip(caption);
    update();
}

QSize ScreenThumbnail::sizeHint() const {
    return {PictureWidth + 2 * Pad, PictureHeight + fontMetrics().height() + 3 * Pad};
}

QSize ScreenThumbnail::minimumSizeHint() const {
    return {PictureWidth / 2 + 2 * Pad, PictureHeight / 2 + fontMetrics().height() + 3 * Pad};
}

void ScreenThumbnail::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool lit = underMouse() || hasFocus() || isDown();
    painter.fillRect(rect(),
                     lit ? palette().highlight().color().lighter(170) : palette().base().color());
    painter.setPen(lit ? palette().highlight().color() : palette().mid().color());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect area(Pad, Pad, width() - 2 * Pad, height() - fontMetrics().height() - 3 * Pad);
    if (!Picture.isNull()) {
        const QSize size = Picture.size().scaled(area.size(), Qt::KeepAspectRatio);
        const QRect at(area.center() - QPoint(size.width() / 2, size.height() / 2), size);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(at, Picture);
    }
    painter.setPen(palette().text().color());
    const QRect caption(Pad, height() - fontMetrics().height() - Pad, width() - 2 * Pad,
                        fontMetrics().height());
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(text(), Qt::ElideRight, caption.width()));
}

std::array<QImage, ScreenCount> RenderThumbnails(const cLayout& layout, PictureCache& pictures,
                                                 const SceneOptions& options, QSize size) {
    std::array<QImage, ScreenCount> images;
    for (int s = 0; s < ScreenCount; ++s)
        images[static_cast<std::size_t>(s)] =
            RenderScene(BuildScreenScene(layout, s, options), pictures, size);
    return images;
}

ScreenThumbnailsWindow::ScreenThumbnailsWindow(const cLayout& layout, FileDialogs& files,
                                               UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), Layout(layout), Files(files), Dialogs(dialogs),
      Pictures(std::make_shared<PictureCache>()) {
    setObjectName(QStringLiteral("ScreenThumbnailsWindow"));
    setModal(true);
    setSizeGripEnabled(true);
    const QString file = FromSystemPath(layout.FileName());
    setWindowTitle(file.isEmpty() ? tr("Screens")
                                  : tr("Screens of %1").arg(file.section(QLatin1Char('/'), -1)));

    // The grid scrolls on a screen too small for all 16.
    auto* area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("ScrollArea"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    auto* sheet = new QWidget;
    auto* grid = new QGridLayout(sheet);
    grid->setSpacing(6);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int s = 0; s < ScreenCount; ++s) {
        auto* thumbnail = new ScreenThumbnail(s, sheet);
        Thumbnails[static_cast<std::size_t>(s)] = thumbnail;
        grid->addWidget(thumbnail, s / 4, s % 4);
        connect(thumbnail, &QAbstractButton::clicked, this, [this, s] { OpenScreen(s); });
    }
    chkPersistent = new QCheckBox(tr("Show Persistent screen controls"), this);
    chkPersistent->setObjectName(QStringLiteral("chkPersistent"));
    chkPersistent->setChecked(true);
    butPicturesFolder = new QPushButton(tr("Pictures folder..."), this);
    butPicturesFolder->setObjectName(QStringLiteral("butPicturesFolder"));
    butClose = new QPushButton(tr("Close"), this);
    butClose->setObjectName(QStringLiteral("butClose"));
    butPicturesFolder->setAutoDefault(false);
    butClose->setAutoDefault(false);

    auto* commands = new QHBoxLayout;
    commands->addWidget(chkPersistent);
    commands->addStretch(1);
    commands->addWidget(butPicturesFolder);
    commands->addWidget(butClose);
    auto* column = new QVBoxLayout(this);
    area->setWidget(sheet);
    column->addWidget(area, 1);
    column->addLayout(commands);

    connect(chkPersistent, &QCheckBox::toggled, this,
            [this] { RunGuarded(Dialogs, [this] { Refresh(); }); });
    connect(butPicturesFolder, &QPushButton::clicked, this, [this] {
        RunGuarded(Dialogs, [this] {
            FileDialogSetup setup;
            setup.DialogTitle = "Pictures folder";
            setup.InitDir = PicturesFolderSetting();
            std::string folder;
            if (Files.ShowFolder(setup, folder) != 0) return;
            SetPicturesFolderSetting(folder);
            Pictures->Clear();
            Refresh();
        });
    });
    connect(butClose, &QPushButton::clicked, this, &QDialog::accept);
    Refresh();
    // All 16 where the screen has room for them; otherwise as large as it allows.
    ResizeWithinScreen(*this,
                       sheet->sizeHint() + QSize(24, chkPersistent->sizeHint().height() + 36));
}

void ScreenThumbnailsWindow::SetChosenResolution(const std::optional<Resolution>& resolution) {
    if (resolution == Chosen) return;
    Chosen = resolution;
    Refresh();
}

void ScreenThumbnailsWindow::Refresh() {
    PictureFinder finder = PictureFinder::ForLayout(Layout.FileName(), PicturesFolderSetting());
    finder.SetCodePage(Layout.TextCodePage());
    SceneOptions options;
    options.ShowPersistent = chkPersistent->isChecked();
    options.Pictures = &finder;
    options.ScreenResolution = Chosen;
    const std::array<QImage, ScreenCount> images =
        RenderThumbnails(Layout, *Pictures, options,
                         QSize(ScreenThumbnail::PictureWidth, ScreenThumbnail::PictureHeight));
    for (int s = 0; s < ScreenCount; ++s) {
        const ScreenEntry& entry = Layout.Screens()[static_cast<std::size_t>(s)];
        QString caption = QString::number(s) + QStringLiteral("  ");
        if (entry.CtrlCount == 0)
            caption += tr("(empty)");
        else if (!entry.Label.empty())
            caption += FromCodePage(entry.Label);
        else
            caption +=
                entry.CtrlCount == 1 ? tr("1 control") : tr("%1 controls").arg(entry.CtrlCount);
        Thumbnails[static_cast<std::size_t>(s)]->SetPicture(images[static_cast<std::size_t>(s)],
                                                            caption);
    }
}

void ScreenThumbnailsWindow::OpenScreen(int screen) {
    RunGuarded(Dialogs, [this, screen] {
        const std::string folderBefore = PicturesFolderSetting();
        ScreenPreviewWindow large(Layout, screen, Files, Dialogs, Pictures, this);
        large.Preview().SetShowPersistent(chkPersistent->isChecked());
        large.Preview().SetChosenResolution(Chosen);
        large.exec();
        if (PicturesFolderSetting() != folderBefore) Refresh();
    });
}
