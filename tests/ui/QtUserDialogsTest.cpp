// The message box and the input box of the document seam, as real Qt dialogs.

#include <QAbstractButton>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/widgets/QtUserDialogs.h"

namespace {

struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool modal = false;
};

// Answers the next message box with the given button, remembering what it showed.
void AnswerBox(SeenBox& seen, QMessageBox::StandardButton press) {
    WhenModal([&seen, press](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                box->isModal()};
        box->button(press)->click();
    });
}

TEST(QtUserDialogs, MessageBoxShowsWhatItIsAskedAndGivesTheAnswer) {
    QtUserDialogs dialogs;
    SeenBox seen;

    AnswerBox(seen, QMessageBox::Ok);
    EXPECT_EQ(dialogs.MsgBox("Nothing selected to Delete", MsgButtons::OK, MsgIcon::Exclamation),
              MsgAnswer::OK);
    EXPECT_EQ(seen.title, "KorvoScreenQuill");
    EXPECT_EQ(seen.text, "Nothing selected to Delete");
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    EXPECT_TRUE(seen.modal);

    AnswerBox(seen, QMessageBox::Cancel);
    EXPECT_EQ(dialogs.MsgBox("Replace?", MsgButtons::OKCancel, MsgIcon::Question, "Mine"),
              MsgAnswer::Cancel);
    EXPECT_EQ(seen.title, "Mine");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);

    AnswerBox(seen, QMessageBox::No);
    EXPECT_EQ(dialogs.MsgBox("Sure?", MsgButtons::YesNo, MsgIcon::Question), MsgAnswer::No);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);

    AnswerBox(seen, QMessageBox::Yes);
    EXPECT_EQ(dialogs.MsgBox("Save?", MsgButtons::YesNoCancel, MsgIcon::Critical), MsgAnswer::Yes);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);

    AnswerBox(seen, QMessageBox::Ok);
    dialogs.MsgBox("Screen \xA7"
                   "2 has \x80 5\nsecond line",
                   MsgButtons::OK, MsgIcon::None, "T\xE9tle");
    EXPECT_EQ(seen.text, QString::fromUtf8("Screen \u00A72 has \u20AC 5\nsecond line"));
    EXPECT_EQ(seen.title, QString::fromUtf8("T\u00E9tle"));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
}

TEST(QtUserDialogs, MessageBoxClosedWithoutAButtonChangesNothing) {
    QtUserDialogs dialogs;
    WhenModal([](QWidget* modal) { static_cast<QMessageBox*>(modal)->reject(); });
    EXPECT_EQ(dialogs.MsgBox("Save?", MsgButtons::YesNoCancel, MsgIcon::Question),
              MsgAnswer::Cancel);
    WhenModal([](QWidget* modal) { static_cast<QMessageBox*>(modal)->reject(); });
    EXPECT_EQ(dialogs.MsgBox("Sure?", MsgButtons::YesNo, MsgIcon::Question), MsgAnswer::No);
}

// Types into the next input box and presses OK, or Cancel when `accept` is false.
void AnswerInput(QString& prompt, QString& proposed, const QString& typed, bool accept = true) {
    WhenModal([&prompt, &proposed, typed, accept](QWidget* modal) {
        auto* box = qobject_cast<QInputDialog*>(modal);
        ASSERT_NE(box, nullptr);
        prompt = box->labelText();
        proposed = box->textValue();
        EXPECT_EQ(box->windowTitle(), QString::fromUtf8("Update button caption & F-keys"));
        box->setTextValue(typed);
        accept ? box->accept() : box->reject();
    });
}

TEST(QtUserDialogs, InputBoxGivesTheAnswerInTheCodePageAndEmptyOnCancel) {
    QtUserDialogs dialogs;
    QString prompt, proposed;
    AnswerInput(prompt, proposed, QString::fromUtf8("Caf\u00E9 \u20AC"));
    EXPECT_EQ(dialogs.InputBox("New caption for button: Tools\n\nSet caption to:",
                               "Update button caption & F-keys", "Tools \xA7"),
              "Caf\xE9 \x80");
    EXPECT_EQ(prompt, "New caption for button: Tools\n\nSet caption to:");
    EXPECT_EQ(proposed, QString::fromUtf8("Tools \u00A7"));

    AnswerInput(prompt, proposed, "typed but cancelled", false);
    EXPECT_EQ(dialogs.InputBox("p", "Update button caption & F-keys", "x"), "");
}

TEST(QtUserDialogs, InputBoxRefusesACharacterWithoutAByteAndAsksAgain) {
    QtUserDialogs dialogs;
    QString proposed;
    SeenBox warning;
    QStringList prompts;
    const auto type = [&](const QString& text) {
        return [&, text](QWidget* modal) {
            auto* box = qobject_cast<QInputDialog*>(modal);
            ASSERT_NE(box, nullptr);
            prompts << box->labelText();
            proposed = box->textValue();
            box->setTextValue(text);
            box->accept();
        };
    };
    OnModals({type(QString::fromUtf8("\u0141\u00F3d\u017A")),
              [&](QWidget* modal) {
                  auto* box = qobject_cast<QMessageBox*>(modal);
                  ASSERT_NE(box, nullptr);
                  warning = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                             box->isModal()};
                  box->button(QMessageBox::Ok)->click();
              },
              type("Lodz")});
    EXPECT_EQ(dialogs.InputBox("Set caption to:", "Update button caption & F-keys", "Old"), "Lodz");
    EXPECT_EQ(warning.icon, QMessageBox::Warning);
    EXPECT_EQ(warning.buttons, QMessageBox::Ok);
    EXPECT_TRUE(warning.text.contains(QString::fromUtf8("\"\u0141\"")))
        << warning.text.toStdString();
    EXPECT_TRUE(warning.text.contains("Windows-1252"));
    EXPECT_EQ(prompts, QStringList({"Set caption to:", "Set caption to:"}));
    EXPECT_EQ(proposed, QString::fromUtf8("\u0141\u00F3d\u017A"))
        << "the same box, with what was typed";
}

} // namespace
