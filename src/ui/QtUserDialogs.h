#pragma once
// The message box and the input box of the document seam, as Qt's modal QMessageBox and
// QInputDialog over whichever window is active. Prompts and titles arrive as Windows-1252 bytes;
// an empty title shows the application title. An answer typed with a character the records cannot
// hold is refused with a warning naming it, and the same box is offered again.

#include "layout/UserDialogs.h"

class QString;

// The title of every box that names none, and of the main window.
inline constexpr const char* ApplicationTitle = "KorvoScreenQuill";

class QtUserDialogs : public UserDialogs {
public:
    MsgAnswer MsgBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon,
                     const std::string& title = {}) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& proposed) override;

private:
    MsgAnswer ShowMessage(const QString& prompt, MsgButtons buttons, MsgIcon icon,
                          const QString& title);
};
