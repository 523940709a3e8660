#include "UiTestSupport.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <memory>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"

namespace {

struct ModalScript {
    std::vector<std::function<void(QWidget*)>> Actions;
    std::size_t Next = 0;
    QPointer<QWidget> Handled; // the window acted on last, until it is gone from the screen
    QPointer<QWidget> Except;
    QElapsedTimer Started;
};

} // namespace

void OnModals(std::vector<std::function<void(QWidget*)>> actions, QWidget* except) {
    auto script = std::make_shared<ModalScript>();
    script->Actions = std::move(actions);
    script->Except = except;
    script->Started.start();
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, script] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool fresh = modal != nullptr && modal->isVisible() && modal != script->Except &&
                           !(modal == script->Handled && script->Handled->isVisible());
        if (fresh) {
            script->Handled = modal;
            script->Actions[script->Next++](modal);
        } else if (script->Started.elapsed() > 5000) {
            ADD_FAILURE() << "only " << script->Next << " of " << script->Actions.size()
                          << " expected modal windows were shown";
            script->Next = script->Actions.size();
        }
        if (script->Next == script->Actions.size()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(5);
}

std::string SamplePath(const char* name) {
    return std::string(QUILL_SAMPLES_DIR) + "/" + name;
}
