#include "ui/panes/FindPane.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/widgets/CommonCode.h"
#include "layout/cLayout.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/HandlerGuard.h"
#include "ui/session/LayoutSession.h"
#include "ui/widgets/ScreenFit.h"

namespace {

template <typename Control> Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QString Counted(int n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

} // namespace

FindPane::FindPane(LayoutSession& session, UserDialogs& dialogs, QWidget* parent)
    : QDockWidget(tr("Find and Replace"), parent), Session(session), Dialogs(dialogs) {
    setObjectName(QStringLiteral("FindPane"));
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("FindContent"));
    auto* column = new QVBoxLayout(content);

    auto* findRow = new QHBoxLayout;
    auto* findLabel = new QLabel(tr("Find:"), content);
    txtFind = Named(new QLineEdit(content), "txtFind");
    txtFind->setToolTip(tr("A text, a number or a key name (Alt+1) to find in the Principal "
                           "layout's controls"));
    findLabel->setBuddy(txtFind);
    butFind = Named(new QPushButton(tr("Find"), content), "butFind");
    findRow->addWidget(findLabel);
    findRow->addWidget(txtFind, 1);
    findRow->addWidget(butFind);
    column->addLayout(findRow);

    auto* optionRow = new QHBoxLayout;
    chkWhole = Named(new QCheckBox(tr("Whole field"), content), "chkWhole");
    chkCase = Named(new QCheckBox(tr("Match case"), content), "chkCase");
    optionRow->addWidget(chkWhole);
    optionRow->addWidget(chkCase);
    optionRow->addStretch(1);
    column->addLayout(optionRow);

    auto* fields = Named(new QGroupBox(tr("In the fields"), content), "fraFindFields");
    auto* grid = new QGridLayout(fields);
    for (const FindFieldInfo& field : FindFields()) {
        auto* box = new QCheckBox(QString::fromLatin1(field.Caption), fields);
        box->setObjectName(QStringLiteral("chkField_") + QString::fromLatin1(field.Name));
        box->setToolTip(QString::fromLatin1(field.Name));
        box->setChecked(true);
        const int at = static_cast<int>(FieldBoxes.size());
        grid->addWidget(box, at / 3, at % 3);
        FieldBoxes.push_back(box);
    }
    column->addWidget(fields);

    lstResults = Named(new QTreeWidget(content), "lstResults");
    lstResults->setColumnCount(ColumnCount);
    lstResults->setHeaderLabels({tr("Screen"), tr("Record"), tr("Field"), tr("Line")});
    lstResults->setRootIsDecorated(false);
    lstResults->setUniformRowHeights(true);
    lstResults->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstResults->setAllColumnsShowFocus(true);
    lstResults->setMinimumHeight(fontMetrics().lineSpacing() * 6);
    StretchKeyColumn(*lstResults, ColLine);
    column->addWidget(lstResults, 1);
    labFindStatus = Named(new QLabel(content), "labFindStatus");
    labFindStatus->setTextFormat(Qt::PlainText);
    labFindStatus->setWordWrap(true);
    column->addWidget(labFindStatus);

    auto* replace = Named(new QGroupBox(tr("Replace"), content), "fraReplace");
    auto* replaceColumn = new QVBoxLayout(replace);
    auto* replaceRow = new QHBoxLayout;
    auto* replaceLabel = new QLabel(tr("With:"), replace);
    txtReplace = Named(new QLineEdit(replace), "txtReplace");
    replaceLabel->setBuddy(txtReplace);
    butReplace = Named(new QPushButton(tr("Replace..."), replace), "butReplace");
    replaceRow->addWidget(replaceLabel);
    replaceRow->addWidget(txtReplace, 1);
    replaceRow->addWidget(butReplace);
    replaceColumn->addLayout(replaceRow);
    auto* scopeRow = new QHBoxLayout;
    optReplaceAll = Named(new QRadioButton(tr("In all results"), replace), "optReplaceAll");
    optReplaceSelected =
        Named(new QRadioButton(tr("In the selected results"), replace), "optReplaceSelected");
    optReplaceAll->setChecked(true);
    scopeRow->addWidget(optReplaceAll);
    scopeRow->addWidget(optReplaceSelected);
    scopeRow->addStretch(1);
    replaceColumn->addLayout(scopeRow);
    column->addWidget(replace);
    SetScrollingPaneContent(*this, content);

    ActFind = Named(new QAction(tr("&Find..."), this), "mnuFind");
    ActFind->setShortcut(QKeySequence(QKeySequence::Find));
    ActNext = Named(new QAction(tr("Find &Next"), this), "mnuFindNext");
    ActNext->setShortcut(QKeySequence(Qt::Key_F3));
    ActPrevious = Named(new QAction(tr("Find Pre&vious"), this), "mnuFindPrevious");
    ActPrevious->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));

    connect(ActFind, &QAction::triggered, this, &FindPane::ShowAndFocus);
    connect(ActNext, &QAction::triggered, this, &FindPane::FindNext);
    connect(ActPrevious, &QAction::triggered, this, &FindPane::FindPrevious);
    connect(butFind, &QPushButton::clicked, this, &FindPane::FindAll);
    connect(txtFind, &QLineEdit::returnPressed, this, &FindPane::FindAll);
    connect(butReplace, &QPushButton::clicked, this, &FindPane::Replace);
    connect(lstResults, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { Choose(lstResults->indexOfTopLevelItem(item)); });
    connect(lstResults, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item != nullptr) Choose(lstResults->indexOfTopLevelItem(item));
    });
    connect(&Session, &LayoutSession::Changed, this, &FindPane::LayoutChanged);
}

void FindPane::ShowAndFocus() {
    show();
    raise();
    txtFind->setFocus();
    txtFind->selectAll();
}

bool FindPane::Options(FindOptions& options, bool tell) {
    std::string refusal;
    if (txtFind->text().isEmpty()) {
        if (tell) labFindStatus->setText(tr("Type the text to find."));
        return false;
    }
    const int codePage = Session.Layout().TextCodePage();
    options.CodePage = codePage;
    if (!TextForRecords(txtFind->text().toStdString(), options.Text, refusal, "The text to find",
                        codePage)) {
        if (tell) labFindStatus->setText(FromCodePage(refusal) + tr(" No layout holds it."));
        return false;
    }
    options.Fields.clear();
    for (std::size_t k = 0; k < FieldBoxes.size(); ++k)
        if (FieldBoxes[k]->isChecked()) options.Fields.push_back(FindFields()[k].Field);
    if (options.Fields.empty()) {
        if (tell) labFindStatus->setText(tr("Choose at least one field to search."));
        return false;
    }
    options.WholeField = chkWhole->isChecked();
    options.MatchCase = chkCase->isChecked();
    return true;
}

void FindPane::FindAll() {
    RunGuarded(Dialogs, [this] {
        FindOptions options;
        HasSearch = Options(options, true);
        if (!HasSearch) {
            Found.clear();
            lstResults->clear();
            return;
        }
        Searched = options;
        Search(false);
        if (!Found.empty()) {
            lstResults->setCurrentItem(lstResults->topLevelItem(0));
            Choose(0);
        }
    });
}

void FindPane::Search(bool keepRow) {
    const int row = CurrentRow();
    const FindResult chosen = row >= 0 ? Found[static_cast<std::size_t>(row)] : FindResult{};
    Found = FindInRecords(Session.Layout().Records(), Searched);
    Fill();
    if (!keepRow || row < 0 || Found.empty()) return;
    // The result chosen before stays chosen while it is found, else the one in its place.
    const auto same = std::find_if(Found.begin(), Found.end(), [&chosen](const FindResult& r) {
        return r.Record == chosen.Record && r.Field == chosen.Field;
    });
    const int now = same != Found.end() ? static_cast<int>(same - Found.begin())
                                        : std::min(row, static_cast<int>(Found.size()) - 1);
    const QSignalBlocker quiet(lstResults);
    lstResults->setCurrentItem(lstResults->topLevelItem(now));
}

void FindPane::Fill() {
    const QSignalBlocker quiet(lstResults);
    lstResults->clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(Found.size()));
    std::vector<int> controls;
    for (const FindResult& result : Found) {
        auto* row = new QTreeWidgetItem;
        row->setText(ColScreen, QString::number(result.Screen));
        row->setText(ColRecord, QString::number(result.Record));
        row->setText(ColField, QString::fromLatin1(FieldInfo(result.Field).Caption));
        row->setToolTip(ColField, QString::fromLatin1(FieldInfo(result.Field).Name));
        const QString line = FromCodePage(result.Line, Session.Layout().TextCodePage());
        row->setText(ColLine, line);
        row->setToolTip(ColLine, line);
        row->setTextAlignment(ColScreen, Qt::AlignRight | Qt::AlignVCenter);
        row->setTextAlignment(ColRecord, Qt::AlignRight | Qt::AlignVCenter);
        rows << row;
        if (controls.empty() || controls.back() != result.Record) controls.push_back(result.Record);
    }
    lstResults->addTopLevelItems(rows);
    labFindStatus->setText(
        Found.empty() ? tr("Nothing found.")
                      : Counted(static_cast<int>(Found.size()), "result", "results") + tr(" in ") +
                            Counted(static_cast<int>(controls.size()), "control", "controls") +
                            QStringLiteral("."));
}

int FindPane::CurrentRow() const {
    QTreeWidgetItem* item = lstResults->currentItem();
    return item == nullptr ? -1 : lstResults->indexOfTopLevelItem(item);
}

QString FindPane::Status() const {
    return labFindStatus->text();
}

void FindPane::Choose(int row) {
    if (row < 0 || row >= static_cast<int>(Found.size())) return;
    const FindResult& result = Found[static_cast<std::size_t>(row)];
    emit ControlChosen(result.Screen, result.Record);
}

void FindPane::Step(int by) {
    RunGuarded(Dialogs, [this, by] {
        if (!HasSearch) {
            show();
            FindAll();
            return;
        }
        if (Found.empty()) return;
        const int count = static_cast<int>(Found.size());
        const int row = CurrentRow();
        const int next = row < 0 ? (by > 0 ? 0 : count - 1) : (row + by + count) % count;
        lstResults->setCurrentItem(lstResults->topLevelItem(next));
        lstResults->scrollToItem(lstResults->topLevelItem(next));
    });
}

void FindPane::FindNext() {
    Step(1);
}

void FindPane::FindPrevious() {
    Step(-1);
}

bool FindPane::Replace() {
    bool done = false;
    RunGuarded(Dialogs, [this, &done] {
        ReplaceRequest request;
        if (!Options(request.Find, true)) {
            std::string why;
            ToCodePage(labFindStatus->text(), why);
            Warn(why + " Nothing was replaced.");
            return;
        }
        std::string refusal;
        if (!TextForRecords(txtReplace->text().toStdString(), request.Replacement, refusal,
                            "The replacement", request.Find.CodePage)) {
            Warn(refusal + " Nothing was replaced.");
            return;
        }
        if (optReplaceSelected->isChecked()) {
            std::vector<std::pair<int, FindField>> only;
            for (QTreeWidgetItem* item : lstResults->selectedItems()) {
                const int row = lstResults->indexOfTopLevelItem(item);
                if (row >= 0 && row < static_cast<int>(Found.size()))
                    only.emplace_back(Found[static_cast<std::size_t>(row)].Record,
                                      Found[static_cast<std::size_t>(row)].Field);
            }
            if (only.empty()) {
                Warn("Select the results to replace in first.");
                return;
            }
            request.Only = std::move(only);
        }
        cLayout& layout = Session.Layout();
        const ReplacePlan plan = PlanReplace(layout.Records(), request);
        if (!plan.Refusal.empty()) {
            Warn(plan.Refusal);
            return;
        }
        if (plan.Fields == 0) {
            Dialogs.MsgBox("Nothing changes: no result would read differently.", MsgButtons::OK,
                           MsgIcon::None, "Replace");
            return;
        }
        if (Dialogs.MsgBox("Replace \"" + request.Find.Text + "\" with \"" + request.Replacement +
                               "\"?\n" + plan.Summary() + ".",
                           MsgButtons::YesNo, MsgIcon::Question, "Replace") != MsgAnswer::Yes)
            return;
        if (!Session.Apply(plan.Edit, plan.StepText())) return;
        Searched = request.Find;
        HasSearch = true;
        done = true;
    });
    return done;
}

void FindPane::LayoutChanged(const LayoutChange&) {
    RunGuarded(Dialogs, [this] {
        if (HasSearch) Search(true);
    });
}

void FindPane::Warn(const std::string& prompt) {
    Dialogs.MsgBox(prompt, MsgButtons::OK, MsgIcon::Exclamation);
}
