#pragma once
// Controls on the system clipboard, so they travel between the two layouts of one window and
// between two running copies of the program: the lossless text of copied controls under a type
// of ours, and the same records as plain text for other programs. What the clipboard holds is
// read with the core's readers; nothing another program puts there can do more than be refused.

#include <QString>

#include <memory>
#include <string>

#include "editing/CopiedControls.h"

class QMimeData;

// The type of our copied controls on the clipboard.
inline constexpr const char* ControlsMimeType = "application/x-korvoscreenquill-controls";

// The data the clipboard gets for copied controls: our type and plain text.
std::unique_ptr<QMimeData> ControlsMimeData(const CopiedControls& copied);
// The controls the data holds, under our type or as plain text; false, with a sentence saying
// why (UTF-8), when it holds none or what it holds cannot be read.
// The texts are stored in `codePage`, the code page of the layout pasted into.
bool ControlsFromMimeData(const QMimeData* data, CopiedControls& copied, std::string& error,
                          int codePage = 1252);

// Puts them on the system clipboard; reads them from it.
void PutControlsOnClipboard(const CopiedControls& copied);
bool ControlsFromClipboard(CopiedControls& copied, std::string& error, int codePage = 1252);

// What tells this running program from every other one, for the identity of its layouts.
const QString& ProgramIdentity();
