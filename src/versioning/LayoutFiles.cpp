#include "versioning/LayoutFiles.h"

#include "layout/FileBackup.h"

#include <system_error>

#include "layout/LayoutFile.h"
#include "layout/QuietDialogs.h"
#include "layout/UserDialogs.h"
#include "layout/cLayout.h"
#include "platform/FileAccess.h"

namespace {

std::string CannotSave(const std::string& path, const std::string& what) {
    return "Cannot save layout file \"" + PathForMessage(path) + "\": " + what;
}

} // namespace

bool ReadLayoutContent(const std::string& path, LayoutContent& layout, std::string& failure) {
    QuietDialogs dialogs;
    cLayout document(dialogs);
    if (!document.LoadLayout(path)) {
        failure = dialogs.Warning.empty()
                      ? "Cannot read layout file \"" + PathForMessage(path) + "\""
                      : dialogs.Warning;
        return false;
    }
    layout.Records.assign(document.Records().begin(), document.Records().end());
    layout.Trailer = document.FileTrailer();
    return true;
}

std::string LayoutFileBytesOf(const LayoutContent& layout) {
    std::size_t size = 44;
    for (const ControlRecord& r : layout.Records)
        size += 75 + r.rText.size() + r.rGText.size() + r.rBitMapPath.size() + r.rLabel.size() +
                r.rFormat.size();
    std::string bytes;
    bytes.reserve(size);
    PutLong(bytes, static_cast<int32_t>(layout.Records.size()));
    for (const ControlRecord& record : layout.Records)
        WriteControl(bytes, record);
    for (int32_t value : layout.Trailer)
        PutLong(bytes, value);
    return bytes;
}

std::string CheckLayoutContent(const LayoutContent& layout) {
    if (layout.Records.size() > static_cast<std::size_t>(MaxControls))
        return "it would hold " + std::to_string(layout.Records.size()) +
               " records; a layout holds at most " + std::to_string(MaxControls);
    for (std::size_t i = 0; i < layout.Records.size(); ++i)
        if (const std::string* text = TextTooLongToStore(layout.Records[i]))
            return "record " + std::to_string(i + 1) + " holds a text of " +
                   std::to_string(text->size()) + " characters, more than the " +
                   std::to_string(MaxTextLength) + " a layout file can hold";
    return {};
}

bool WriteLayoutContent(const std::string& path, const LayoutContent& layout, std::string& failure,
                        bool keepBackup) {
    if (const std::string fault = CheckLayoutContent(layout); !fault.empty()) {
        failure = CannotSave(path, fault);
        return false;
    }
    const std::string bytes = LayoutFileBytesOf(layout);

    // As Save does: the content of the file replaced goes to NAME.bak first; if the layout then
    // cannot be written, the backup gets its own earlier content back (or goes again).
    std::string reason;
    if (!WriteWithBackup(path, bytes, reason, keepBackup)) {
        failure = CannotSave(path, reason);
        return false;
    }
    return true;
}
