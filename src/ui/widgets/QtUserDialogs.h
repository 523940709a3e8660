#pragma once
// The message box and the input box of the document seam, as Qt's modal QMessageBox and
// QInputDialog, each centred on the window it belongs to (DialogOwner). Prompts and titles arrive
// as Windows-1252 bytes; an empty title shows the application title. An answer typed with a
// character the records cannot hold is refused with a warning naming it, and the same box is
// offered again.

#include "layout/UserDialogs.h"

class QString;
class QWidget;

// The window a box or dialog shown now belongs to, and is centred on: the modal window in front,
// else the active window, else the program's visible main window; none when there is none.
QWidget* DialogOwner();

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
