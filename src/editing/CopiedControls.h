#pragma once
// Controls on their way from one layout to another, or to the same one: the records copied, the
// layout they came from and the labels of its screens, so that a screen link pasted into another
// layout can find its screen there by name. Written as text for the clipboard and read back from
// whatever a clipboard holds.
//
// The text is UTF-8 JSON in the text form of records (versioning/LayoutText.h), every byte of
// every text kept:
//
//   {
//     "format": "KorvoScreenQuill copied controls",
//     "version": 1,
//     "layout": "an identity of the source layout",
//     "labels": ["Persistent", "Main", "", ...],   (the 16 screens' labels)
//     "records": [{"record": 12, "rFunction": 0, ...}, ...]
//   }
//
// For other programs the same records go out as plain text, one record a line as
// `quill controls --json` prints them; a plain text pasted back is read as such lines, as a list
// of controls (ControlsToText) or as the form above. A reader refuses, naming the line, anything
// else, and never reads more records than a layout holds.

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "layout/ControlRecord.h"

class cLayout;

inline constexpr const char* CopiedControlsFormat = "KorvoScreenQuill copied controls";

struct CopiedControls {
    std::vector<ControlRecord> Records;
    // The record positions they had in the source, for a reader's eyes only.
    std::vector<int> Positions;
    // Who the source layout is: equal for two copies from the same layout in the same state of
    // loading, empty when unknown (a plain text).
    std::string Layout;
    // The source's screen labels, without the mark (Windows-1252); all empty when unknown.
    std::array<std::string, ScreenCount> Labels;
    // The code page the texts are in: the source layout's when copied, the target's when read.
    int CodePage = 1252;

    bool operator==(const CopiedControls&) const = default;
};

// The controls at these 1-based positions of the layout, in record order, with its labels.
CopiedControls CopyControls(const cLayout& layout, const std::vector<int>& positions,
                            const std::string& layoutIdentity);

std::string CopiedControlsText(const CopiedControls& copied);
// One record a line, as `quill controls --json` prints them, each line ending in a line feed.
std::string CopiedControlsPlainText(const CopiedControls& copied);

// The form above, its texts stored in `codePage` (the layout pasted into: the text is Unicode, so
// controls copied from a layout of another code page keep their characters). `copied` is
// replaced only when the whole text is read.
bool ReadCopiedControls(std::string_view text, CopiedControls& copied, std::string& error,
                        int codePage = 1252);
// A plain text: the form above, a list of controls, or record lines (blank lines skipped).
bool ReadControlsFromPlainText(std::string_view text, CopiedControls& copied, std::string& error,
                               int codePage = 1252);
