#pragma once
// Layout files read into and written from a LayoutContent, for the commands that handle layouts
// as data (the text form, diff, merge) rather than as a document being edited. Reading is the
// document's own load, without its notes; writing gives the bytes Save writes, with the same safe
// replace and backup.

#include <string>

#include "layout/RecordFields.h"

// False, with the message the document's load gives ("Cannot read layout file ..."), when the
// file cannot be read or is not a layout.
bool ReadLayoutContent(const std::string& path, LayoutContent& layout, std::string& failure);

// The bytes of a layout file holding the content, exactly as Save writes them. The caller has
// checked the content (CheckLayoutContent).
std::string LayoutFileBytesOf(const LayoutContent& layout);

// Why the content cannot be a layout file (too many records, a text too long), or "".
std::string CheckLayoutContent(const LayoutContent& layout);

// Writes the layout as Save does: a complete copy beside the file renamed over it, and, when a
// file is replaced and keepBackup is set, its old content kept first as NAME.bak. False, with a
// message ("Cannot save layout file ...") and both files as they were, when that fails.
bool WriteLayoutContent(const std::string& path, const LayoutContent& layout, std::string& failure,
                        bool keepBackup = true);
