#include "ui/widgets/ScriptEditor.h"

#include <QAction>
#include <QDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/FileAccess.h"
#include "scripts/LayoutScripts.h"
#include "scripts/ScriptLines.h"
#include "scripts/ScriptSyntax.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/ScriptHighlighter.h"

namespace {

class NumberMargin : public QWidget {
public:
    explicit NumberMargin(ScriptTextView* view) : QWidget(view), View(view) {}
    QSize sizeHint() const override { return {View->NumberWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { View->PaintNumbers(event); }

private:
    ScriptTextView* View;
};

// The document's text as typed: toPlainText would turn no-break spaces into blanks, a byte a
// layout may hold.
QString RawText(const QTextDocument* document) {
    QString text = document->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

// ---- the text view

ScriptTextView::ScriptTextView(QWidget* parent)
    : QPlainTextEdit(parent), Numbers(new NumberMargin(this)) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(this, &QPlainTextEdit::blockCountChanged, this,
            [this] { setViewportMargins(NumberWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0)
            Numbers->scroll(0, dy);
        else
            Numbers->update(0, rect.y(), Numbers->width(), rect.height());
    });
    setViewportMargins(NumberWidth(), 0, 0, 0);
}

int ScriptTextView::NumberWidth() const {
    int digits = 1;
    for (int count = std::max(1, blockCount()); count >= 10; count /= 10)
        ++digits;
    return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, 2);
}

void ScriptTextView::PaintNumbers(QPaintEvent* event) {
    QPainter painter(Numbers);
    painter.fillRect(event->rect(), palette().alternateBase());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top <= event->rect().bottom()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible() && top + height >= event->rect().top())
            painter.drawText(0, top, Numbers->width() - 4, fontMetrics().height(), Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        block = block.next();
        top += height;
    }
}

void ScriptTextView::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    Numbers->setGeometry(area.left(), area.top(), NumberWidth(), area.height());
}

void ScriptTextView::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    emit Finished();
}

void ScriptTextView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & Qt::ControlModifier)) {
        emit Finished();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void ScriptTextView::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier))
        emit IncludeClicked(cursorForPosition(event->position().toPoint()).blockNumber() + 1);
}

// ---- the editor

ScriptEditor::ScriptEditor(QWidget* parent)
    : QWidget(parent), Text(new ScriptTextView(this)),
      Highlighter(new ScriptHighlighter(Text->document())), FindBar(new QWidget(this)),
      FindText(new QLineEdit(FindBar)), ReplaceText(new QLineEdit(FindBar)),
      ReplaceRow(new QWidget(FindBar)), Status(new QLabel(this)) {
    Text->setObjectName(QStringLiteral("ScriptText"));
    FindText->setObjectName(QStringLiteral("ScriptFind"));
    ReplaceText->setObjectName(QStringLiteral("ScriptReplace"));
    Status->setObjectName(QStringLiteral("ScriptStatus"));
    FindText->setPlaceholderText(tr("Find in the script"));
    ReplaceText->setPlaceholderText(tr("Replace with"));

    const auto button = [this](QWidget* holder, const QString& text, const QString& tip) {
        auto* b = new QToolButton(holder);
        b->setText(text);
        b->setToolTip(tip);
        b->setAutoRaise(true);
        return b;
    };
    auto* findRow = new QHBoxLayout;
    findRow->setContentsMargins(0, 0, 0, 0);
    findRow->addWidget(FindText, 1);
    QToolButton* previous = button(FindBar, tr("Previous"), tr("Find the previous (Shift+F3)"));
    QToolButton* next = button(FindBar, tr("Next"), tr("Find the next (F3)"));
    QToolButton* close = button(FindBar, tr("Close"), tr("Hide the find bar (Esc)"));
    findRow->addWidget(previous);
    findRow->addWidget(next);
    findRow->addWidget(close);
    auto* replaceRow = new QHBoxLayout(ReplaceRow);
    replaceRow->setContentsMargins(0, 0, 0, 0);
    replaceRow->addWidget(ReplaceText, 1);
    QToolButton* replace = button(ReplaceRow, tr("Replace"), tr("Replace this and find the next"));
    QToolButton* all = button(ReplaceRow, tr("All"), tr("Replace every match"));
    replaceRow->addWidget(replace);
    replaceRow->addWidget(all);
    auto* bar = new QVBoxLayout(FindBar);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addLayout(findRow);
    bar->addWidget(ReplaceRow);
    FindBar->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(Text, 1);
    layout->addWidget(FindBar);
    layout->addWidget(Status);

    connect(FindText, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    connect(next, &QToolButton::clicked, this, [this] { FindNext(); });
    connect(previous, &QToolButton::clicked, this, [this] { FindNext(true); });
    connect(close, &QToolButton::clicked, this, [this] {
        FindBar->hide();
        Text->setFocus();
    });
    connect(replace, &QToolButton::clicked, this, [this] { ReplaceCurrent(); });
    connect(all, &QToolButton::clicked, this, [this] { ReplaceAll(); });
    connect(Text, &ScriptTextView::Finished, this, &ScriptEditor::Finished);
    connect(Text, &ScriptTextView::IncludeClicked, this, [this](int line) { OpenIncluded(line); });
    connect(Text, &QPlainTextEdit::cursorPositionChanged, this, &ScriptEditor::UpdateStatus);
    Text->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Text, &QWidget::customContextMenuRequested, this, &ScriptEditor::ShowContextMenu);

    const auto shortcut = [this](const QKeySequence& key, auto handler) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_F), [this] { ShowFind(false); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_H), [this] { ShowFind(true); });
    shortcut(QKeySequence(Qt::Key_F3), [this] { FindNext(); });
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { FindNext(true); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_G), [this] {
        bool ok = false;
        const int line = QInputDialog::getInt(this, tr("Go to Line"), tr("Line:"),
                                              Text->textCursor().blockNumber() + 1, 1,
                                              Text->blockCount(), 1, &ok);
        if (ok) GoToLine(line);
    });
    shortcut(QKeySequence(Qt::Key_Escape), [this] {
        if (!FindBar->isVisible()) return;
        FindBar->hide();
        Text->setFocus();
    });
    Highlighter->SetIncludeFound(
        [this](const std::string& path) { return !IncludedFile(path).empty(); });
    UpdateStatus();
}

void ScriptEditor::SetScriptText(const QString& text) {
    Given = text;
    const std::string utf8 = text.toStdString();
    Ends = QString::fromLatin1(LineEndsName(LineEndsOf(utf8)));
    Highlighter->SetLanguage(ScriptLanguageOf(utf8));
    Text->setPlainText(Utf8(WithNewlines(utf8)));
    UpdateStatus();
}

QString ScriptEditor::ScriptText() const {
    return Utf8(WithLineEndsOf(Given.toStdString(), RawText(Text->document()).toStdString()));
}

void ScriptEditor::SetIncludeFolders(std::vector<std::string> folders) {
    IncludeFolders = std::move(folders);
    Highlighter->rehighlight();
}

void ScriptEditor::SetReadOnly(bool readOnly) {
    Text->setReadOnly(readOnly);
    ReplaceRow->setEnabled(!readOnly);
}

void ScriptEditor::SetPlaceholderText(const QString& text) {
    Text->setPlaceholderText(text);
}

void ScriptEditor::GoToLine(int line) {
    const int last = Text->blockCount();
    const QTextBlock block = Text->document()->findBlockByNumber(std::clamp(line, 1, last) - 1);
    QTextCursor cursor(block);
    Text->setTextCursor(cursor);
    Text->centerCursor();
    Text->setFocus();
}

void ScriptEditor::ShowFind(bool withReplace) {
    ReplaceRow->setVisible(withReplace && !Text->isReadOnly());
    FindBar->show();
    const QString selected = Text->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        FindText->setText(selected);
    FindText->setFocus();
    FindText->selectAll();
}

bool ScriptEditor::FindNext(bool backwards) {
    const QString wanted = FindText->text();
    if (wanted.isEmpty()) return false;
    const QTextDocument::FindFlags flags =
        backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    QTextCursor found = Text->document()->find(wanted, Text->textCursor(), flags);
    if (found.isNull()) {
        QTextCursor start(Text->document());
        if (backwards) start.movePosition(QTextCursor::End);
        found = Text->document()->find(wanted, start, flags);
    }
    if (found.isNull()) {
        Status->setText(tr("\"%1\" is not in the script").arg(wanted));
        return false;
    }
    Text->setTextCursor(found);
    return true;
}

bool ScriptEditor::ReplaceCurrent() {
    if (Text->isReadOnly()) return false;
    QTextCursor cursor = Text->textCursor();
    if (!cursor.hasSelection() ||
        cursor.selectedText().compare(FindText->text(), Qt::CaseInsensitive) != 0) {
        FindNext();
        return false;
    }
    cursor.insertText(ReplaceText->text());
    FindNext();
    return true;
}

int ScriptEditor::ReplaceAll() {
    const QString wanted = FindText->text();
    if (wanted.isEmpty() || Text->isReadOnly()) return 0;
    int count = 0;
    QTextCursor edit(Text->document());
    edit.beginEditBlock();
    for (QTextCursor found = Text->document()->find(wanted, 0); !found.isNull();
         found = Text->document()->find(wanted, found)) {
        found.insertText(ReplaceText->text());
        ++count;
    }
    edit.endEditBlock();
    Status->setText(count == 1 ? tr("Replaced 1 match") : tr("Replaced %1 matches").arg(count));
    return count;
}

std::string ScriptEditor::IncludedFile(const std::string& path) const {
    if (path.empty()) return {};
    return FindExpandedFile(IncludeFolders, path);
}

bool ScriptEditor::OpenIncluded(int line) {
    const QTextBlock block = Text->document()->findBlockByNumber(line - 1);
    if (!block.isValid()) return false;
    std::string bytes;
    if (!ToCodePage(block.text(), bytes)) return false;
    const std::string path = ExpandedPath(bytes);
    const std::string file = IncludedFile(path);
    if (file.empty()) {
        if (!path.empty()) Status->setText(tr("\"%1\" is not found").arg(FromCodePage(path)));
        return false;
    }
    std::string content, reason;
    if (!ReadWholeFile(file, content, reason)) {
        Status->setText(tr("Cannot read \"%1\": %2").arg(FromSystemPath(file), Utf8(reason)));
        return false;
    }
    auto* window = new QDialog(this);
    window->setObjectName(QStringLiteral("IncludedScript"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(tr("%1 (read-only)").arg(FromSystemPath(file)));
    auto* viewer = new ScriptEditor(window);
    viewer->SetIncludeFolders(IncludeFolders);
    viewer->SetScriptText(FromCodePage(content));
    viewer->SetReadOnly(true);
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(viewer);
    window->resize(640, 480);
    window->show();
    return true;
}

void ScriptEditor::UpdateStatus() {
    const QTextCursor cursor = Text->textCursor();
    Status->setText(tr("Line %1, column %2 · line ends: %3")
                        .arg(cursor.blockNumber() + 1)
                        .arg(cursor.positionInBlock() + 1)
                        .arg(Ends));
}

void ScriptEditor::ShowContextMenu(const QPoint& at) {
    QMenu* menu = Text->createStandardContextMenu(at);
    const int line = Text->cursorForPosition(at).blockNumber() + 1;
    std::string bytes;
    ToCodePage(Text->document()->findBlockByNumber(line - 1).text(), bytes);
    const std::string path = ExpandedPath(bytes);
    menu->addSeparator();
    QAction* open = menu->addAction(tr("Open Included File"));
    open->setEnabled(!IncludedFile(path).empty());
    connect(open, &QAction::triggered, this, [this, line] { OpenIncluded(line); });
    menu->addAction(tr("Find...\tCtrl+F"), this, [this] { ShowFind(false); });
    menu->addAction(tr("Go to Line...\tCtrl+G"), this, [this] {
        bool ok = false;
        const int to = QInputDialog::getInt(this, tr("Go to Line"), tr("Line:"), 1, 1,
                                            Text->blockCount(), 1, &ok);
        if (ok) GoToLine(to);
    });
    menu->exec(Text->mapToGlobal(at));
    delete menu;
}
