#pragma once
// Which code page a layout's texts are written in, the one rule the windows and `quill` share. The
// layout never says (the host reads texts in the code page of the Windows it runs on), so it is
// chosen as the resolution is: the user's choice when there is one, else by evidence, else
// Windows-1252. Choosing another code page changes no byte of the layout, only how its texts read.

#include <optional>
#include <span>
#include <string>

#include "layout/ControlRecord.h"

enum class CodePageRule {
    Chosen,  // the user chose it
    Texts,   // the texts read as that code page's language and not as plausibly as another
    Default, // no text needs another than Windows-1252
};

struct DetectedCodePage {
    int CodePage = 1252;
    CodePageRule From = CodePageRule::Default;
    bool operator==(const DetectedCodePage&) const = default;
};

// A code page the user chose (a supported one) is taken as it is. Otherwise every text that is not
// plain ASCII is read in each supported code page and scored by the characters that come out: the
// letters and the common characters of the code page's language count, bytes it has no character
// for count against it, and a Windows-1252 character counts fully only where it stands alone among
// ASCII (as accented letters in Western words do; runs of such bytes are rarely Western text).
// The highest score wins if it is at least that of two frequent characters; Windows-1252 wins
// ties, and is taken when no text has a byte above 127.
DetectedCodePage DetectCodePage(std::span<const ControlRecord> records,
                                std::optional<int> chosen = std::nullopt);

// "chosen", "texts", "default", as `quill info --json` names the rule.
const char* CodePageRuleName(CodePageRule rule);
// "GBK (from the texts)", "Windows-1252 (no text needs another)", "Windows-1251 (chosen)".
std::string CodePageCaption(const DetectedCodePage& detected);
