#pragma once
// The scripts of a layout: which controls hold one, a line for each in a list, and the exchange
// with a folder of text files, one a script, so scripts can be edited in any editor and reviewed
// in version control. Export names each file `screenNN-recordNNNN-<caption>.txt` and lists them
// in `scripts.list`; import reads the list back and changes only the scripts whose file differs,
// byte for byte, line ends included. The file access is the caller's: these functions take and
// return bytes.
//
// A script is a control's rGText that is not "no text" (empty, blanks, or "None": real layouts
// fill scripts with "None" and a line break).

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "layout/cLayout.h"

inline constexpr const char* ScriptListName = "scripts.list";

bool HoldsScript(const ControlRecord& r);

struct ScriptEntry {
    int Record = 0; // 1-based
    int32_t Screen = 0;
    std::string Caption;   // the control's text, or its kind's name when it shows none (bytes)
    std::string FirstLine; // the first line that is not blank, blanks trimmed (bytes)
    std::size_t Length = 0;
};
std::vector<ScriptEntry> LayoutScripts(std::span<const ControlRecord> records);

// "screen01-record0042-Cycle-Start.txt": the caption's letters and digits, other runs as '-', at
// most 40 of them.
std::string ScriptFileName(const ScriptEntry& entry);

struct ScriptFile {
    std::string Name;  // a file name in the folder (ASCII)
    std::string Bytes; // the script exactly as the record holds it
};
struct ScriptExport {
    std::vector<ScriptFile> Files;
    std::string List; // the list file: a heading, then one line a file (UTF-8, LF)
};
// The list's first lines are read in the layout's code page.
ScriptExport ExportScripts(std::span<const ControlRecord> records, int codePage = 1252);

// Reads a file of the folder by its name into bytes; false with the reason when it cannot.
using ScriptFileReader =
    std::function<bool(const std::string& name, std::string& bytes, std::string& reason)>;

struct ScriptImport {
    ControlsEdit Edit;
    std::string Text;    // the history step: "Import 3 scripts"
    std::string Refusal; // why nothing can be done
    int Listed = 0;      // scripts the list names
};
// The list file's lines must name records that hold a script and lie on the screen listed; a
// file missing, a line that cannot be read, or a script beyond the longest text a layout holds
// refuses the whole import.
ScriptImport ImportScripts(std::span<const ControlRecord> records, const std::string& list,
                           const ScriptFileReader& read);

// The file an `#expand <path>` line includes, looked up as a picture is under the folders given
// (the picture finder's folders of the layout), its letter case matched loosely; empty when it
// is not found. The path is in the layout's bytes (Windows-1252).
std::string FindExpandedFile(const std::vector<std::string>& folders, const std::string& path);
