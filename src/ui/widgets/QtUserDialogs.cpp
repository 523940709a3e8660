#include "ui/widgets/QtUserDialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMainWindow>
#include <QMessageBox>

#include "ui/widgets/CodePage.h"

QWidget* DialogOwner() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    // Before the window manager has activated the main window (a file named on the command line
    // is opened then), and where no window is ever active, a box still belongs to the program's
    // main window.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(window) != nullptr && window->isVisible()) return window;
    return nullptr;
}

namespace {

QString TitleText(const std::string& title) {
    return title.empty() ? QString::fromLatin1(ApplicationTitle) : FromCodePage(title);
}

QMessageBox::Icon BoxIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MsgAnswer QtUserDialogs::MsgBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon,
                                const std::string& title) {
    return ShowMessage(FromCodePage(prompt), buttons, icon, TitleText(title));
}

MsgAnswer QtUserDialogs::ShowMessage(const QString& prompt, MsgButtons buttons, MsgIcon icon,
                                     const QString& title) {
    QMessageBox box(BoxIcon(icon), title, prompt, QMessageBox::NoButton, DialogOwner());
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    // The first button is the default, as the host's boxes have it; closing the box is the
    // answer that changes nothing.
    QMessageBox::StandardButton first = QMessageBox::Ok;
    QMessageBox::StandardButton closing = QMessageBox::Ok;
    switch (buttons) {
    case MsgButtons::OK:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OKCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        closing = QMessageBox::Cancel;
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        first = QMessageBox::Yes;
        closing = QMessageBox::No;
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        first = QMessageBox::Yes;
        closing = QMessageBox::Cancel;
        break;
    }
    box.setDefaultButton(first);
    box.setEscapeButton(closing);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    const QMessageBox::StandardButton answer =
        clicked != nullptr ? box.standardButton(clicked) : closing;
    switch (answer) {
    case QMessageBox::Ok:
        return MsgAnswer::OK;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    default:
        return MsgAnswer::Cancel;
    }
}

std::string QtUserDialogs::InputBox(const std::string& prompt, const std::string& title,
                                    const std::string& proposed) {
    QString answer = FromCodePage(proposed);
    for (;;) {
        QInputDialog box(DialogOwner());
        box.setWindowModality(Qt::ApplicationModal);
        box.setInputMode(QInputDialog::TextInput);
        box.setWindowTitle(TitleText(title));
        box.setLabelText(FromCodePage(prompt));
        box.setTextValue(answer);
        if (box.exec() != QDialog::Accepted) return {};
        answer = box.textValue();
        std::string bytes;
        QString offending;
        if (ToCodePage(answer, bytes, &offending)) return bytes;
        const QString codePoint =
            QString::number(offending.toUcs4().value(0), 16).toUpper().rightJustified(4, u'0');
        ShowMessage(QString::fromLatin1("The text holds the character \"%1\" (U+%2), which a "
                                        "layout cannot store: its texts are in the Windows-1252 "
                                        "code page.\nPlease type the text without it.")
                        .arg(offending, codePoint),
                    MsgButtons::OK, MsgIcon::Exclamation, QString::fromLatin1(ApplicationTitle));
    }
}
