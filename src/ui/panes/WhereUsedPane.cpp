#include "ui/panes/WhereUsedPane.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/widgets/CommonCode.h"
#include "layout/HostCodes.h"
#include "layout/cLayout.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/HandlerGuard.h"
#include "ui/session/LayoutSession.h"
#include "ui/widgets/ScreenFit.h"
#include "versioning/LayoutDiff.h"

WhereUsedPane::WhereUsedPane(LayoutSession& session, UserDialogs& dialogs, QWidget* parent)
    : QDockWidget(tr("Where Used"), parent), Session(session), Dialogs(dialogs) {
    setObjectName(QStringLiteral("WhereUsedPane"));
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("WhereUsedContent"));
    auto* column = new QVBoxLayout(content);
    labWhereUsed = new QLabel(tr("Choose a screen or a control."), content);
    labWhereUsed->setObjectName(QStringLiteral("labWhereUsed"));
    labWhereUsed->setTextFormat(Qt::PlainText);
    labWhereUsed->setWordWrap(true);
    column->addWidget(labWhereUsed);
    lstWhereUsed = new QTreeWidget(content);
    lstWhereUsed->setObjectName(QStringLiteral("lstWhereUsed"));
    lstWhereUsed->setColumnCount(ColumnCount);
    lstWhereUsed->setHeaderLabels({tr("Screen"), tr("Record"), tr("Control"), tr("Shares")});
    lstWhereUsed->setRootIsDecorated(false);
    lstWhereUsed->setAllColumnsShowFocus(true);
    lstWhereUsed->setMinimumHeight(fontMetrics().lineSpacing() * 5);
    StretchKeyColumn(*lstWhereUsed, 2);
    column->addWidget(lstWhereUsed, 1);
    auto* buttons = new QHBoxLayout;
    butWhereScreen = new QPushButton(tr("Links to the selected screen"), content);
    butWhereScreen->setObjectName(QStringLiteral("butWhereScreen"));
    butWhereControl = new QPushButton(tr("Like the selected control"), content);
    butWhereControl->setObjectName(QStringLiteral("butWhereControl"));
    buttons->addWidget(butWhereScreen);
    buttons->addWidget(butWhereControl);
    buttons->addStretch(1);
    column->addLayout(buttons);
    SetScrollingPaneContent(*this, content);

    const auto choose = [this](QTreeWidgetItem* item) {
        const int row = lstWhereUsed->indexOfTopLevelItem(item);
        if (item == nullptr || row < 0 || row >= static_cast<int>(Rows.size())) return;
        const int record = Rows[static_cast<std::size_t>(row)];
        emit ControlChosen(Session.Layout().Records()[static_cast<std::size_t>(record - 1)].rScreen,
                           record);
    };
    connect(lstWhereUsed, &QTreeWidget::currentItemChanged, this, choose);
    connect(lstWhereUsed, &QTreeWidget::itemActivated, this, choose);
    connect(butWhereScreen, &QPushButton::clicked, this, &WhereUsedPane::ScreenWanted);
    connect(butWhereControl, &QPushButton::clicked, this, &WhereUsedPane::ControlWanted);
    connect(&Session, &LayoutSession::Changed, this, &WhereUsedPane::LayoutChanged);
}

void WhereUsedPane::ShowScreen(int screen) {
    Showing = Subject::Screen;
    Which = screen;
    RunGuarded(Dialogs, [this] { Refill(); });
    show();
    raise();
}

void WhereUsedPane::ShowControl(int record) {
    Showing = Subject::Control;
    Which = record;
    RunGuarded(Dialogs, [this] { Refill(); });
    show();
    raise();
}

QString WhereUsedPane::Subject() const {
    return labWhereUsed->text();
}

void WhereUsedPane::LayoutChanged(const LayoutChange& change) {
    if (Showing == Subject::Control) {
        Which = change.Reloaded ? 0 : change.MapPosition(Which);
        if (Which <= 0) Showing = Subject::None;
    } else if (change.Reloaded) {
        Showing = Subject::None;
    }
    RunGuarded(Dialogs, [this] { Refill(); });
}

void WhereUsedPane::Refill() {
    const auto records = Session.Layout().Records();
    const QSignalBlocker quiet(lstWhereUsed);
    lstWhereUsed->clear();
    Rows.clear();
    const auto add = [this, &records](int record, const QString& why) {
        const ControlRecord& r = records[static_cast<std::size_t>(record - 1)];
        auto* row = new QTreeWidgetItem(lstWhereUsed);
        row->setText(ColScreen, QString::number(r.rScreen));
        row->setText(ColRecord, QString::number(record));
        row->setText(ColControl, FromCodePage(ControlDescription(r)));
        row->setText(ColWhy, why);
        Rows.push_back(record);
    };
    if (Showing == Subject::Screen && Which >= 0) {
        const std::vector<ScreenLinkUse> links = LinksToScreen(records, Which);
        // A screen beyond the host's 16 is named as the screen list names it.
        std::string name;
        if (IsLayoutScreen(Which)) {
            name = Session.Layout().Screens()[static_cast<std::size_t>(Which)].Label;
        } else {
            for (const auto& [screen, entry] : Session.Layout().ScreensBeyond())
                if (screen == Which) name = entry.Label;
        }
        QString subject = tr("Screen %1").arg(Which);
        if (!name.empty())
            subject += QStringLiteral(" \"") + FromCodePage(name, Session.Layout().TextCodePage()) +
                       QStringLiteral("\"");
        for (const ScreenLinkUse& link : links)
            add(link.Record, tr("shows screen %1").arg(Which));
        labWhereUsed->setText(
            links.empty()
                ? subject + tr(" is shown by no screen link.")
                : subject + tr(" is shown by %1.")
                                .arg(links.size() == 1 ? tr("1 screen link")
                                                       : tr("%1 screen links").arg(links.size())));
        return;
    }
    if (Showing == Subject::Control && Which >= 1 && Which <= static_cast<int>(records.size())) {
        const ControlRecord& control = records[static_cast<std::size_t>(Which - 1)];
        const std::vector<AlikeControl> alike = ControlsAlike(records, Which);
        for (const AlikeControl& other : alike) {
            QString why = QString::fromLatin1(SharedValueName(other.Shares));
            switch (other.Shares) {
            case SharedValue::OEMCode:
                why += QStringLiteral(" %1").arg(control.rOEMCode);
                break;
            case SharedValue::HotKey:
                why += QStringLiteral(" ") + QString::fromLatin1(HotKeyText(control.rHotKey));
                break;
            case SharedValue::Picture:
                break;
            }
            add(other.Record, why);
        }
        const QString subject =
            tr("Record %1, %2").arg(Which).arg(FromCodePage(ControlDescription(control)));
        const int n = static_cast<int>(alike.size());
        labWhereUsed->setText(
            subject + (n == 0   ? tr(": no other control shares its OEM code, key or picture.")
                       : n == 1 ? tr(": the control below shares its OEM code, key or "
                                     "picture.")
                                : tr(": the %1 controls below share its OEM code, key or "
                                     "picture.")
                                      .arg(n)));
        return;
    }
    labWhereUsed->setText(tr("Choose a screen or a control."));
}
