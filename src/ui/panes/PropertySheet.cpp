#include "ui/panes/PropertySheet.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "editing/ControlEdits.h"
#include "layout/HostCodes.h"
#include "layout/cLayout.h"
#include "preview/PictureFinder.h"
#include "ui/panes/PropertySheetEditors.h"
#include "ui/session/LayoutSession.h"
#include "ui/session/PreviewSettings.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/widgets/HandlerGuard.h"
#include "ui/widgets/ScriptEditor.h"

namespace {

bool SameValue(const ControlField& field, const ControlRecord& a, const ControlRecord& b) {
    if (field.IsText()) return a.*field.Text == b.*field.Text;
    if (field.IsSize()) return FieldValueOf(field, a).Number == FieldValueOf(field, b).Number;
    return a.*field.Number == b.*field.Number;
}

// The host's colour 0x00BBGGRR and Qt's.
QColor FromHostColour(int64_t colour) {
    const auto value = static_cast<uint32_t>(colour);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

int32_t ToHostColour(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

QIcon Swatch(const QColor& colour, int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    if (colour.isValid()) {
        QPainter painter(&pixmap);
        painter.fillRect(pixmap.rect(), colour);
        painter.setPen(Qt::black);
        painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    }
    return QIcon(pixmap);
}

const QString Various = QStringLiteral("(various)");

} // namespace

PropertySheet::PropertySheet(LayoutSession& session, FileDialogs& files, UserDialogs& dialogs,
                             QWidget* parent)
    : QDockWidget(tr("Property sheet"), parent), Session(session), Files(files), Dialogs(dialogs) {
    setObjectName(QStringLiteral("PropertySheet"));
    ChooseColour = [this](const QColor& current) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(current, this, tr("Colour"));
        if (!chosen.isValid()) return std::nullopt;
        return chosen;
    };

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    labSelection = new QLabel(content);
    labSelection->setObjectName(QStringLiteral("labSelection"));
    labSelection->setWordWrap(true);
    layout->addWidget(labSelection);
    auto* scroll = new QScrollArea(content);
    scroll->setObjectName(QStringLiteral("PropertyScroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* fields = new QWidget(scroll);
    fields->setObjectName(QStringLiteral("Content"));
    BuildRows(fields);
    scroll->setWidget(fields);
    layout->addWidget(scroll, 1);
    setWidget(content);

    connect(&Session, &LayoutSession::SelectionChanged, this, [this] {
        ClearRefusals();
        Refresh();
    });
    connect(&Session, &LayoutSession::Changed, this, [this](const LayoutChange& change) {
        if (change.RecordsChanged || change.Reloaded) Refresh();
    });
    Refresh();
}

PropertySheet::~PropertySheet() = default;

void PropertySheet::BuildRows(QWidget* content) {
    auto* form = new QFormLayout(content);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setContentsMargins(0, 0, 0, 0);
    Rows.resize(ControlFields().size());
    for (std::size_t k = 0; k < Rows.size(); ++k) {
        Row& row = Rows[k];
        row.Field = &ControlFields()[k];
        auto* label = new QLabel(tr(row.Field->Caption), content);
        label->setToolTip(QString::fromLatin1(row.Field->Name));
        QWidget* field = BuildEditor(row, content);
        label->setBuddy(row.Editor);
        form->addRow(label, field);
    }
}

QWidget* PropertySheet::BuildEditor(Row& row, QWidget* parent) {
    const ControlField& field = *row.Field;
    const QString name = QString::fromLatin1(field.Name);
    auto* holder = new QWidget(parent);
    auto* column = new QVBoxLayout(holder);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    auto* line = new QHBoxLayout;
    column->addLayout(line);
    row.Why = new QLabel(holder);
    row.Why->setObjectName(name + QStringLiteral("Why"));
    row.Why->setWordWrap(true);
    row.Why->setStyleSheet(QStringLiteral("color: #c00000"));
    row.Why->hide();
    column->addWidget(row.Why);

    const auto lineEdit = [&](QWidget* owner) {
        row.Line = new QLineEdit(owner);
        row.Line->setObjectName(name);
        row.Editor = row.Line;
        line->addWidget(row.Line, 1);
        connect(row.Line, &QLineEdit::editingFinished, this, [this, &row] {
            if (Showing || !row.Line->isModified()) return;
            Commit(row, row.Line->text().toStdString());
        });
    };

    switch (field.Type) {
    case FieldType::Kind: {
        row.Combo = new QComboBox(holder);
        row.Combo->setObjectName(name);
        for (int32_t kind = ControlKind::First; kind <= ControlKind::Last; ++kind)
            row.Combo->addItem(QString::fromStdString(KindName(kind)), kind);
        row.Editor = row.Combo;
        line->addWidget(row.Combo, 1);
        connect(row.Combo, &QComboBox::activated, this, [this, &row](int index) {
            if (Showing || index < 0) return;
            CommitValue(row, {row.Combo->itemData(index).toInt(), {}});
        });
        break;
    }
    case FieldType::Screen: {
        row.Combo = new QComboBox(holder);
        row.Combo->setObjectName(name);
        row.Combo->setEditable(true);
        row.Combo->setInsertPolicy(QComboBox::NoInsert);
        for (int screen = 0; screen < ScreenCount; ++screen)
            row.Combo->addItem(QString::number(screen));
        row.Line = row.Combo->lineEdit();
        row.Editor = row.Combo;
        line->addWidget(row.Combo, 1);
        connect(row.Line, &QLineEdit::editingFinished, this, [this, &row] {
            if (Showing || !row.Line->isModified()) return;
            Commit(row, row.Line->text().toStdString());
        });
        connect(row.Combo, &QComboBox::activated, this, [this, &row](int index) {
            if (Showing || index < 0) return;
            Commit(row, row.Combo->itemText(index).toStdString());
        });
        break;
    }
    case FieldType::Script: {
        row.Script = new ScriptEditor(holder);
        row.Script->setObjectName(name);
        row.Script->TextView()->setObjectName(name + QStringLiteral("Text"));
        row.Script->setMinimumHeight(row.Script->fontMetrics().lineSpacing() * 10 + 30);
        row.Editor = row.Script->TextView();
        line->addWidget(row.Script, 1);
        connect(row.Script, &ScriptEditor::Finished, this, [this, &row] {
            // The script's own line ends come back with it: CR LF, a lone CR, or mixed.
            const QString text = row.Script->ScriptText();
            if (Showing || text == row.ShownScript) return;
            Commit(row, text.toStdString());
        });
        break;
    }
    case FieldType::Key: {
        row.Key = new KeyCaptureEdit(holder);
        row.Key->setObjectName(name);
        row.Line = row.Key;
        row.Editor = row.Key;
        row.KeyCode = new QLabel(holder);
        row.KeyCode->setObjectName(name + QStringLiteral("Code"));
        auto* clear = new QToolButton(holder);
        clear->setObjectName(name + QStringLiteral("Clear"));
        clear->setText(tr("None"));
        clear->setToolTip(tr("No key"));
        line->addWidget(row.Key, 1);
        line->addWidget(row.KeyCode);
        line->addWidget(clear);
        connect(row.Key, &KeyCaptureEdit::KeyCaptured, this, [this, &row](int32_t code) {
            CommitValue(row, {code, {}});
        });
        connect(row.Key, &KeyCaptureEdit::KeyRefused, this, [this, &row](const QString& key) {
            Refuse(row, (key.isEmpty() ? QStringLiteral("This key") : key).toStdString() +
                            " has no code the host knows");
        });
        connect(clear, &QToolButton::clicked, this, [this, &row] { CommitValue(row, {0, {}}); });
        break;
    }
    case FieldType::Picture: {
        lineEdit(holder);
        auto* choose = new QToolButton(holder);
        choose->setObjectName(name + QStringLiteral("Choose"));
        choose->setText(QStringLiteral("..."));
        choose->setToolTip(tr("Choose a picture file"));
        line->addWidget(choose);
        connect(choose, &QToolButton::clicked, this,
                [this, &row] { RunGuarded(Dialogs, [&] { ChoosePicture(row); }); });
        break;
    }
    case FieldType::Colour: {
        lineEdit(holder);
        row.Swatch = new QToolButton(holder);
        row.Swatch->setObjectName(name + QStringLiteral("Choose"));
        row.Swatch->setToolTip(tr("Choose a colour"));
        line->addWidget(row.Swatch);
        connect(row.Swatch, &QToolButton::clicked, this,
                [this, &row] { RunGuarded(Dialogs, [&] { ChooseColourFor(row); }); });
        break;
    }
    default:
        lineEdit(holder);
        break;
    }
    return holder;
}

const PropertySheet::Row* PropertySheet::FindRow(const char* field) const {
    const ControlField* wanted = FindControlField(field);
    for (const Row& row : Rows)
        if (row.Field == wanted) return &row;
    return nullptr;
}

QWidget* PropertySheet::Editor(const char* field) const {
    const Row* row = FindRow(field);
    return row != nullptr ? row->Editor : nullptr;
}

QString PropertySheet::Refusal(const char* field) const {
    const Row* row = FindRow(field);
    return row != nullptr && !row->Why->isHidden() ? row->Why->text() : QString();
}

QString PropertySheet::Heading() const {
    const std::vector<int>& selection = Session.Selection();
    if (selection.empty()) return tr("No control selected");
    if (selection.size() > 1) return tr("%1 controls selected").arg(selection.size());
    const int position = selection.front();
    const ControlRecord& r = Session.Layout().Records()[static_cast<std::size_t>(position - 1)];
    return tr("%1, record %2 on screen %3")
        .arg(QString::fromStdString(KindName(r.rType)))
        .arg(position)
        .arg(r.rScreen);
}

void PropertySheet::Refresh() {
    labSelection->setText(Heading());
    for (Row& row : Rows)
        ShowRow(row);
}

void PropertySheet::ShowRow(Row& row) {
    Showing = true;
    const std::vector<int>& selection = Session.Selection();
    const std::span<const ControlRecord> records = Session.Layout().Records();
    const ControlField& field = *row.Field;
    const bool any = !selection.empty() && selection.back() <= static_cast<int>(records.size());
    row.Editor->setEnabled(any);
    if (row.Swatch != nullptr) row.Swatch->setEnabled(any);
    const ControlRecord* first =
        any ? &records[static_cast<std::size_t>(selection.front() - 1)] : nullptr;
    row.Shared =
        any && std::all_of(selection.begin(), selection.end(), [&](int position) {
            return SameValue(field, *first, records[static_cast<std::size_t>(position - 1)]);
        });
    const FieldValue value = row.Shared ? FieldValueOf(field, *first) : FieldValue{};
    const QString text =
        row.Shared
            ? QString::fromStdString(FieldValueText(field, value, Session.Layout().TextCodePage()))
            : QString();
    const QString placeholder = any && !row.Shared ? Various : QString();

    if (row.Combo != nullptr && field.Type == FieldType::Kind) {
        const bool known = row.Shared && IsKnownKind(static_cast<int32_t>(value.Number));
        row.Combo->setCurrentIndex(known ? static_cast<int>(value.Number) - 1 : -1);
        row.Combo->setPlaceholderText(
            row.Shared && !known
                ? QString::fromStdString(KindName(static_cast<int32_t>(value.Number)))
                : placeholder);
    } else if (row.Combo != nullptr) {
        row.Combo->setCurrentIndex(-1);
        row.Line->setText(text);
        row.Line->setPlaceholderText(placeholder);
    } else if (row.Script != nullptr) {
        row.ShownScript = text;
        row.Script->SetIncludeFolders(
            PictureFinder::ForLayout(Session.Layout().FileName(), PicturesFolderSetting())
                .Folders());
        row.Script->SetScriptText(row.ShownScript);
        row.Script->SetPlaceholderText(placeholder);
    } else if (row.Line != nullptr) {
        row.Line->setText(text);
        row.Line->setCursorPosition(0);
        row.Line->setPlaceholderText(placeholder);
    }
    if (row.KeyCode != nullptr) {
        row.KeyCode->setText(!row.Shared ? QString()
                             : IsNoKey(static_cast<int32_t>(value.Number))
                                 ? tr("no key (%1)").arg(value.Number)
                                 : tr("code %1").arg(value.Number));
        if (!placeholder.isEmpty() || !any)
            row.Line->setPlaceholderText(placeholder);
        else
            row.Line->setPlaceholderText(tr("Press a key"));
    }
    if (row.Swatch != nullptr)
        row.Swatch->setIcon(Swatch(row.Shared ? FromHostColour(value.Number) : QColor(),
                                   row.Swatch->fontMetrics().height()));
    Showing = false;
}

bool PropertySheet::Enter(const char* field, const std::string& utf8) {
    const Row* row = FindRow(field);
    return row != nullptr && Commit(const_cast<Row&>(*row), utf8);
}

bool PropertySheet::Commit(Row& row, const std::string& utf8) {
    bool applied = false;
    RunGuarded(Dialogs, [&] { applied = TryCommit(row, utf8); });
    return applied;
}

bool PropertySheet::TryCommit(Row& row, const std::string& utf8) {
    if (Session.Selection().empty()) return false;
    const FieldParse parsed =
        ParseFieldValue(*row.Field, utf8, Session.Layout().TextCodePage());
    if (!parsed.Value) {
        Refuse(row, parsed.Refusal);
        return false;
    }
    return TryCommitValue(row, *parsed.Value);
}

bool PropertySheet::CommitValue(Row& row, const FieldValue& value) {
    bool applied = false;
    RunGuarded(Dialogs, [&] { applied = TryCommitValue(row, value); });
    return applied;
}

bool PropertySheet::TryCommitValue(Row& row, const FieldValue& value) {
    if (Session.Selection().empty()) return false;
    cLayout& layout = Session.Layout();
    const ControlsEditPlan plan =
        SetFieldEdit(layout.Records(), Session.Selection(), *row.Field, value);
    std::string refusal = plan.Refusal;
    if (refusal.empty()) refusal = Session.TryApply(plan.Edit, plan.Text);
    if (!refusal.empty()) {
        Refuse(row, refusal);
        return false;
    }
    row.Why->hide();
    // A value the controls hold already changes nothing; the editor shows it as it stands.
    ShowRow(row);
    return true;
}

void PropertySheet::Refuse(Row& row, const std::string& why) {
    QString text = QString::fromStdString(why);
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    row.Why->setText(text + QLatin1Char('.'));
    row.Why->show();
    ShowRow(row);
}

void PropertySheet::ClearRefusals() {
    for (Row& row : Rows)
        row.Why->hide();
}

void PropertySheet::ChoosePicture(Row& row) {
    if (Session.Selection().empty()) return;
    const cLayout& layout = Session.Layout();
    const QFileInfo layoutFile(FromSystemPath(layout.FileName()));
    FileDialogSetup setup;
    setup.DialogTitle = "Choose a picture";
    setup.Filter = "Pictures|*.bmp;*.jpg;*.jpeg;*.png|All files|*.*|";
    setup.InitDir = PicturesFolderSetting();
    if (setup.InitDir.empty() && !layout.FileName().empty())
        setup.InitDir = ToSystemPath(layoutFile.absolutePath());
    setup.Flags = FileDialogFlag::FileMustExist | FileDialogFlag::HideReadOnly;
    std::string chosen;
    if (Files.ShowOpen(setup, chosen) != 0) return;
    std::vector<std::string> existing;
    for (const ControlRecord& r : layout.Records())
        if (NamesPicture(r.rBitMapPath)) existing.push_back(r.rBitMapPath);
    std::sort(existing.begin(), existing.end());
    existing.erase(std::unique(existing.begin(), existing.end()), existing.end());
    const PictureFinder folders =
        PictureFinder::ForLayout(layout.FileName(), PicturesFolderSetting());
    const FieldParse path =
        ChosenPicturePath(chosen, folders.Folders(), existing, layout.TextCodePage());
    if (!path.Value) return Refuse(row, path.Refusal);
    CommitValue(row, *path.Value);
}

void PropertySheet::ChooseColourFor(Row& row) {
    if (Session.Selection().empty() || !ChooseColour) return;
    const ControlRecord& first =
        Session.Layout().Records()[static_cast<std::size_t>(Session.Selection().front() - 1)];
    const QColor current = row.Shared ? FromHostColour(first.rColor) : QColor(Qt::white);
    const std::optional<QColor> chosen = ChooseColour(current);
    if (!chosen) return;
    CommitValue(row, {ToHostColour(*chosen), {}});
}

void PropertySheet::EditScript() {
    show();
    raise();
    for (Row& row : Rows)
        if (row.Script != nullptr) row.Script->TextView()->setFocus();
}
