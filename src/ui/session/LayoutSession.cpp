#include "ui/session/LayoutSession.h"

#include <QAction>
#include <QKeySequence>

#include <algorithm>

#include "layout/cLayout.h"
#include "platform/Windows1252.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/HandlerGuard.h"

namespace {

QString Escaped(const std::string& step) {
    // An ampersand in a step's name is shown, not taken for a mnemonic.
    return FromCodePage(step).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// A message of the core (UTF-8) for the message box, whose texts are Windows-1252: a character
// the code page lacks (one the user typed) shows as a question mark.
std::string BoxText(const std::string& utf8) {
    std::string bytes;
    if (Utf8ToWindows1252(utf8, bytes)) return bytes;
    bytes.clear();
    for (char c : utf8)
        if (static_cast<unsigned char>(c) < 0x80)
            bytes.push_back(c);
        else if ((static_cast<unsigned char>(c) & 0xC0) == 0xC0)
            bytes.push_back('?');
    return bytes;
}

} // namespace

std::string LayoutSession::TryApply(const ControlsEdit& edit, const std::string& step,
                                    const std::string& runKey) {
    if (edit.Empty()) return {};
    return Document.ApplyEdit(edit, step, runKey);
}

bool LayoutSession::Apply(const ControlsEdit& edit, const std::string& step,
                          const std::string& runKey) {
    const std::string refusal = TryApply(edit, step, runKey);
    if (refusal.empty()) return true;
    Refuse(refusal);
    return false;
}

void LayoutSession::Refuse(const std::string& utf8) const {
    Dialogs.MsgBox(BoxText(utf8), MsgButtons::OK, MsgIcon::Exclamation);
}

LayoutSession::LayoutSession(cLayout& layout, UserDialogs& dialogs, QObject* parent)
    : QObject(parent), Document(layout), Dialogs(dialogs) {
    ActUndo = new QAction(UndoCaption({}), this);
    QList<QKeySequence> undoKeys = QKeySequence::keyBindings(QKeySequence::Undo);
    if (undoKeys.isEmpty()) undoKeys << QKeySequence(Qt::CTRL | Qt::Key_Z);
    ActUndo->setShortcuts(undoKeys);
    ActRedo = new QAction(RedoCaption({}), this);
    // Both keys everywhere, whatever the platform's own binding.
    ActRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(ActUndo, &QAction::triggered, this, &LayoutSession::Undo);
    connect(ActRedo, &QAction::triggered, this, &LayoutSession::Redo);
    Document.AddObserver(*this);
    UpdateActions();
}

LayoutSession::~LayoutSession() {
    Document.RemoveObserver(*this);
}

bool LayoutSession::IsOpen() const {
    return StartedEmpty || !Document.FileName().empty();
}

void LayoutSession::StartEmpty(const Resolution& resolution) {
    StartedEmpty = true;
    Document.StartEmpty();
    SetSelection({});
    SetChosenResolution(resolution);
}

QString LayoutSession::UndoCaption(const std::string& step) {
    return step.empty() ? QStringLiteral("&Undo") : QStringLiteral("&Undo ") + Escaped(step);
}

QString LayoutSession::RedoCaption(const std::string& step) {
    return step.empty() ? QStringLiteral("&Redo") : QStringLiteral("&Redo ") + Escaped(step);
}

void LayoutSession::Undo() {
    RunGuarded(Dialogs, [this] { Document.Undo(); });
}

void LayoutSession::Redo() {
    RunGuarded(Dialogs, [this] { Document.Redo(); });
}

void LayoutSession::UpdateActions() {
    const bool canUndo = Document.CanUndo(), canRedo = Document.CanRedo();
    const bool undoChanged = ActUndo->isEnabled() != canUndo;
    const bool redoChanged = ActRedo->isEnabled() != canRedo;
    ActUndo->setText(UndoCaption(Document.UndoText()));
    ActRedo->setText(RedoCaption(Document.RedoText()));
    ActUndo->setEnabled(canUndo);
    ActRedo->setEnabled(canRedo);
    if (undoChanged) emit CanUndoChanged(canUndo);
    if (redoChanged) emit CanRedoChanged(canRedo);
}

void LayoutSession::SetSelection(std::vector<int> positions) {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    std::erase_if(positions, [this](int p) { return p < 1 || p > Document.ControlCount(); });
    if (positions == Selected) return;
    Selected = std::move(positions);
    emit SelectionChanged();
}

void LayoutSession::SetChosenResolution(const std::optional<Resolution>& resolution) {
    if (resolution == Chosen) return;
    Chosen = resolution;
    emit ChosenResolutionChanged();
}

void LayoutSession::SetChosenCodePage(const std::optional<int>& codePage) {
    if (codePage == ChosenPage) return;
    ChosenPage = codePage;
    if (UpdateCodePage()) emit CodePageChanged();
}

bool LayoutSession::UpdateCodePage() {
    const DetectedCodePage now = DetectCodePage(Document.Records(), ChosenPage);
    if (now == InForce && Document.TextCodePage() == now.CodePage) return false;
    InForce = now;
    Document.SetTextCodePage(now.CodePage);
    return true;
}

DetectedResolution LayoutSession::DrawnFor() const {
    return DetectResolution(Document.Records(), -1, Chosen);
}

bool LayoutSession::IsSelected(int position) const {
    return std::binary_search(Selected.begin(), Selected.end(), position);
}

void LayoutSession::LayoutChanged(const cLayout&, const LayoutChange& change) {
    if (change.HistoryChanged) UpdateActions();
    // The selection follows its records; a load or import starts without one. Records a change
    // inserted (a paste, a duplicate) become the selection.
    std::vector<int> selection;
    if (!change.Reloaded) {
        for (int position : Selected)
            if (const int now = change.MapPosition(position); now > 0) selection.push_back(now);
    }
    if (change.RecordsMoved && !change.Inserted.empty() && !change.Reloaded)
        selection = change.Inserted;
    if (change.RecordsChanged || change.Reloaded) SetSelection(std::move(selection));
    // A layout loaded has its own texts: its code page is found afresh before anything shows.
    const bool codePageChanged = change.Reloaded && UpdateCodePage();

    emit Changed(change);
    if (codePageChanged) emit CodePageChanged();
    if (change.ModifiedChanged) emit ModifiedChanged(Document.IsDirty());
    if (change.FileNameChanged || change.Reloaded)
        emit FileNameChanged(FromSystemPath(Document.FileName()));
}
