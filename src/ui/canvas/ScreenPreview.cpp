#include "ui/canvas/ScreenPreview.h"

#include <algorithm>

#include <QBuffer>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QToolTip>

#include "layout/HostCodes.h"
#include "layout/cLayout.h"
#include "platform/FileAccess.h"
#include "preview/ControlTexts.h"
#include "preview/SvgWriter.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/widgets/HandlerGuard.h"
#include "ui/session/LayoutSession.h"
#include "ui/canvas/PictureCache.h"
#include "ui/session/PreviewSettings.h"
#include "ui/canvas/ScenePainter.h"
#include "ui/canvas/ScreenEditor.h"

namespace {

constexpr int Margin = 4;

QString Number(int64_t value) {
    return QString::number(static_cast<qlonglong>(value));
}

} // namespace

ScreenPreview::ScreenPreview(FileDialogs& files, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), Files(files), Dialogs(dialogs), Cache(std::make_shared<PictureCache>()) {
    setObjectName(QStringLiteral("ScreenPreview"));
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

ScreenPreview::~ScreenPreview() = default;

void ScreenPreview::ShowScreen(const cLayout& layout, int screen) {
    Document = &layout;
    ScreenNo = screen;
    Refresh();
}

void ScreenPreview::Clear() {
    if (Document == nullptr && ScreenNo == -1 && Highlighted == 0) return;
    Document = nullptr;
    ScreenNo = -1;
    Current = {};
    Highlighted = 0;
    UpdateEditing();
    if (Edit != nullptr) Edit->SceneChanged();
    update();
}

void ScreenPreview::RebuildFinder() {
    const std::string layoutFile = Document != nullptr ? Document->FileName() : std::string();
    const std::string folder = PicturesFolderSetting();
    if (layoutFile == FinderLayoutFile && folder == FinderFolder && !Finder.Folders().empty())
        return;
    Finder = PictureFinder::ForLayout(layoutFile, folder);
    FinderLayoutFile = layoutFile;
    FinderFolder = folder;
}

void ScreenPreview::Refresh() {
    if (Document == nullptr) {
        Clear();
        return;
    }
    RebuildFinder();
    Finder.SetCodePage(Document->TextCodePage());
    SceneOptions options = Options;
    options.Pictures = &Finder;
    Current = BuildScreenScene(*Document, ScreenNo, options);
    if (Highlighted != 0 && Current.ItemOfRecord(Highlighted) == nullptr) Highlighted = 0;
    UpdateEditing();
    if (Edit != nullptr) Edit->SceneChanged();
    update();
}

bool ScreenPreview::Touches(const LayoutChange& change) const {
    if (Document == nullptr) return false;
    if (change.Reloaded || change.RecordsMoved || change.ScreensChanged || change.FileNameChanged)
        return true;
    if (!change.RecordsChanged) return false;
    return change.Screens.contains(ScreenNo) ||
           (Options.ShowPersistent && change.Screens.contains(PersistentScreen));
}

void ScreenPreview::LayoutChanged(const LayoutChange& change) {
    if (Touches(change)) Refresh();
}

void ScreenPreview::ReloadPictures() {
    Finder = PictureFinder();
    FinderLayoutFile.clear();
    FinderFolder.clear();
    Cache->Clear();
    Refresh();
}

void ScreenPreview::SetShowPersistent(bool show) {
    if (show == Options.ShowPersistent) return;
    Options.ShowPersistent = show;
    Refresh();
    emit ShowPersistentChanged(show);
}

void ScreenPreview::SetChosenResolution(const std::optional<Resolution>& resolution) {
    if (resolution == Options.ScreenResolution) return;
    Options.ScreenResolution = resolution;
    Refresh();
}

void ScreenPreview::SetPictureCache(std::shared_ptr<PictureCache> cache) {
    Cache = cache ? std::move(cache) : std::make_shared<PictureCache>();
    if (Edit != nullptr) Edit->ViewChanged();
    update();
}

bool ScreenPreview::HighlightRecord(int position) {
    Highlighted = position > 0 && Current.ItemOfRecord(position) != nullptr ? position : 0;
    if (Edit != nullptr) {
        if (Highlighted != 0) Edit->EnsureVisible(Highlighted);
        Edit->ViewChanged();
    }
    update();
    return position == 0 || Highlighted != 0;
}

void ScreenPreview::SetEditSession(LayoutSession* session) {
    if (session == Session) return;
    // The editor belongs to one session.
    delete Edit;
    delete EditStatus;
    Edit = nullptr;
    EditStatus = nullptr;
    Session = session;
    UpdateEditing();
    update();
}

bool ScreenPreview::Editing() const {
    return Edit != nullptr && !Edit->isHidden();
}

void ScreenPreview::UpdateEditing() {
    const bool editing =
        Session != nullptr && Document == &Session->Layout() && width() >= EditingWidth;
    if (Session != nullptr && Edit == nullptr) {
        Edit = new ScreenEditor(*this, *Session, Dialogs, this);
        Edit->hide();
        EditStatus = new QLabel(this);
        EditStatus->setObjectName(QStringLiteral("labEditStatus"));
        EditStatus->setTextFormat(Qt::PlainText);
        connect(Edit, &ScreenEditor::StatusChanged, EditStatus, &QLabel::setText);
        connect(Edit, &ScreenEditor::DoubleClicked, this, &ScreenPreview::DoubleClicked);
        EditStatus->setText(Edit->StatusText());
        EditStatus->hide();
    }
    if (Edit == nullptr) return;
    if (editing) {
        const int status = EditStatus->sizeHint().height();
        const int top = CaptionHeight();
        Edit->setGeometry(Margin, top, width() - 2 * Margin,
                          std::max(0, height() - top - status - 2 * Margin));
        EditStatus->setGeometry(Margin, height() - status - Margin, width() - 2 * Margin, status);
    }
    if (Edit->isHidden() == editing) {
        Edit->setVisible(editing);
        EditStatus->setVisible(editing);
        // Leaving the editor, a drag in progress ends as Esc would end it.
        if (!editing) Edit->CancelGesture();
        update();
    }
}

void ScreenPreview::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateEditing();
}

void ScreenPreview::mouseDoubleClickEvent(QMouseEvent* event) {
    QWidget::mouseDoubleClickEvent(event);
    emit DoubleClicked();
}

QString ScreenPreview::Caption() const {
    if (Document == nullptr) return tr("No screen");
    QString caption = QStringLiteral("Screen %1").arg(ScreenNo);
    if (!Current.Label.empty())
        caption += QStringLiteral(": ") + FromCodePage(Current.Label, Current.CodePage);
    return caption;
}

int ScreenPreview::CaptionHeight() const {
    QFont bold = font();
    bold.setBold(true);
    return QFontMetrics(bold).height() + 2 * Margin;
}

QRectF ScreenPreview::SceneArea() const {
    const QRectF area(Margin, CaptionHeight(), width() - 2 * Margin,
                      height() - CaptionHeight() - Margin);
    if (area.width() <= 0 || area.height() <= 0) return {};
    // Centred across, but right under the caption that names it.
    QRectF fitted = FitScene(Current, area);
    fitted.moveTop(area.top());
    return fitted;
}

QPointF ScreenPreview::FromScene(QPointF p) const {
    const QRectF area = SceneArea();
    return {area.x() + p.x() * area.width() / std::max(1, Current.Size.Width),
            area.y() + p.y() * area.height() / std::max(1, Current.Size.Height)};
}

QPointF ScreenPreview::ToScene(QPointF p) const {
    const QRectF area = SceneArea();
    if (area.isEmpty()) return {-1, -1};
    return {(p.x() - area.x()) * Current.Size.Width / area.width(),
            (p.y() - area.y()) * Current.Size.Height / area.height()};
}

QString ScreenPreview::ToolTipAt(QPoint widgetPoint) const {
    if (!SceneArea().contains(widgetPoint)) return {};
    const QPointF at = ToScene(widgetPoint);
    const SceneItem* item = Current.ItemAt(at.x(), at.y());
    return item != nullptr ? ToolTipFor(*item) : QString();
}

QString ScreenPreview::ToolTipFor(const SceneItem& source) const {
    const SceneItem* item = &source;
    QStringList lines;
    QString first = QString::fromLatin1(KindName(item->Kind)) +
                    QStringLiteral(", record %1").arg(item->Position);
    if (item->Persistent) first += tr(" (Persistent screen)");
    lines << first;
    const SceneRect& r = item->Rect;
    lines << QStringLiteral("Rectangle %1,%2 - %3,%4")
                 .arg(Number(r.X1), Number(r.Y1), Number(r.X2), Number(r.Y2));
    lines << QStringLiteral("Function %1, OEM code %2")
                 .arg(Number(item->Function), Number(item->OEMCode));
    lines << (item->KeyText.empty()
                  ? QStringLiteral("No key (code %1)").arg(Number(item->HotKey))
                  : QStringLiteral("Key %1 (code %2)")
                        .arg(QString::fromLatin1(item->KeyText), Number(item->HotKey)));
    if (item->LinkTarget) lines << QStringLiteral("Shows screen %1").arg(Number(*item->LinkTarget));
    if (!item->PictureName.empty()) {
        if (item->PicturePath.empty())
            lines << QStringLiteral("Picture %1: not found").arg(FromCodePage(item->PictureName, Current.CodePage));
        else if (Cache->Original(item->PicturePath).isNull())
            lines << QStringLiteral("Picture %1: cannot be read")
                         .arg(FromSystemPath(item->PicturePath));
        else
            lines << QStringLiteral("Picture %1").arg(FromSystemPath(item->PicturePath));
    }
    if (!item->Text.empty()) {
        QString text = FromCodePage(item->Text.substr(0, 120), Current.CodePage).simplified();
        if (item->Text.size() > 120) text += QStringLiteral("...");
        lines << QStringLiteral("Text: ") + text;
    }
    return lines.join(QLatin1Char('\n'));
}

QImage ScreenPreview::RenderImage() const {
    return RenderScene(Current, *Cache);
}

bool ScreenPreview::SavePicture() {
    if (Document == nullptr) return false;
    const QFileInfo layoutFile(FromSystemPath(Document->FileName()));
    const QString base = Document->FileName().empty()
                             ? QStringLiteral("screen")
                             : layoutFile.completeBaseName() + QStringLiteral("-screen");
    FileDialogSetup setup;
    setup.DialogTitle = "Save picture";
    setup.Filter = "PNG picture|*.png|SVG picture|*.svg|";
    setup.InitDir =
        Document->FileName().empty() ? std::string() : ToSystemPath(layoutFile.absolutePath());
    setup.DefaultExt = "png";
    setup.FileName = ToSystemPath(base + QString::number(ScreenNo) + QStringLiteral(".png"));
    setup.Flags = FileDialogFlag::OverwritePrompt | FileDialogFlag::HideReadOnly;
    std::string path;
    if (Files.ShowSave(setup, path) != 0) return false;

    const QFileInfo target(FromSystemPath(path));
    std::string bytes;
    if (target.suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0) {
        // Pictures embedded, so the file shows the same wherever it is sent.
        bytes = WriteSceneSvg(Current, {SvgPictures::Embedded, ToSystemPath(target.absolutePath())})
                    .Text;
    } else {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!RenderImage().save(&buffer, "PNG")) {
            Dialogs.MsgBox("Cannot save the picture \"" + PathForMessage(path) +
                               "\": the image could not be encoded",
                           MsgButtons::OK, MsgIcon::Exclamation);
            return false;
        }
        bytes.assign(png.constData(), static_cast<std::size_t>(png.size()));
    }
    std::string reason;
    if (!ReplaceFileContent(path, bytes, reason)) {
        Dialogs.MsgBox("Cannot save the picture \"" + PathForMessage(path) + "\": " + reason,
                       MsgButtons::OK, MsgIcon::Exclamation);
        return false;
    }
    return true;
}

bool ScreenPreview::ChoosePicturesFolder() {
    FileDialogSetup setup;
    setup.DialogTitle = "Pictures folder";
    setup.InitDir = PicturesFolderSetting();
    if (setup.InitDir.empty() && Document != nullptr && !Document->FileName().empty())
        setup.InitDir =
            ToSystemPath(QFileInfo(FromSystemPath(Document->FileName())).absolutePath());
    std::string folder;
    if (Files.ShowFolder(setup, folder) != 0) return false;
    SetPicturesFolderSetting(folder);
    ReloadPictures();
    emit PicturesFolderChanged();
    return true;
}

QSize ScreenPreview::sizeHint() const {
    return {512 + 2 * Margin, 384 + CaptionHeight() + Margin};
}

QSize ScreenPreview::minimumSizeHint() const {
    return {160 + 2 * Margin, 120 + CaptionHeight() + Margin};
}

void ScreenPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(palette().windowText().color());
    const QRect caption(Margin, 0, width() - 2 * Margin, CaptionHeight());
    // The resolution at the right keeps its room; the screen's name is shortened before it.
    const QString size =
        Document == nullptr
            ? QString()
            : QStringLiteral("%1 x %2").arg(Current.Size.Width).arg(Current.Size.Height);
    const int sizeWidth = size.isEmpty() ? 0 : fontMetrics().horizontalAdvance(size) + Margin;
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(Caption(), Qt::ElideRight,
                                                      std::max(0, caption.width() - sizeWidth)));
    if (Document == nullptr) return;
    painter.setFont(font());
    painter.drawText(caption, Qt::AlignRight | Qt::AlignVCenter, size);
    if (Editing()) return; // the editor shows the screen
    const QRectF area = SceneArea();
    if (area.isEmpty()) return;
    ScenePaintOptions options;
    options.Highlight = Highlighted;
    PaintScene(painter, Current, *Cache, area, options);
}

void ShowPlainToolTip(QEvent* event, const QString& text, QWidget* widget) {
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return;
    }
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                       QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
                           QStringLiteral("</p>"),
                       widget);
}

bool ScreenPreview::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        ShowPlainToolTip(event, ToolTipAt(static_cast<QHelpEvent*>(event)->pos()), this);
        return true;
    }
    return QWidget::event(event);
}

void ScreenPreview::AddViewItems(QMenu& menu) {
    QAction* save = menu.addAction(tr("Save picture..."));
    save->setEnabled(Document != nullptr);
    connect(save, &QAction::triggered, this,
            [this] { RunGuarded(Dialogs, [this] { SavePicture(); }); });
    QAction* persistent = menu.addAction(tr("Show Persistent screen controls"));
    persistent->setCheckable(true);
    persistent->setChecked(Options.ShowPersistent);
    connect(persistent, &QAction::triggered, this,
            [this](bool on) { RunGuarded(Dialogs, [this, on] { SetShowPersistent(on); }); });
    QAction* folder = menu.addAction(tr("Pictures folder..."));
    connect(folder, &QAction::triggered, this,
            [this] { RunGuarded(Dialogs, [this] { ChoosePicturesFolder(); }); });
}

void ScreenPreview::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    AddViewItems(menu);
    menu.exec(event->globalPos());
}
