#pragma once
// The resolution (and the code page) a user chose for a layout file, kept between runs in the program's settings,
// never in the layout: by the file's absolute path, with its size and modification time, so a
// choice is used again only for that same file as it was last opened or saved here. A file
// changed elsewhere since then (another size or time) has no choice kept.

#include <QString>

#include <optional>

#include "tools/ScreenResolution.h"

class QSettings;

class KeptResolutions {
public:
    // No settings: nothing is kept beyond the run.
    explicit KeptResolutions(QSettings* settings) : Settings(settings) {}

    // The choice kept for this file as it is now on disk.
    std::optional<Resolution> Find(const QString& path) const;
    // Keeps the choice for the file as it is now on disk (after a save, with its new size and
    // time); none forgets it.
    void Keep(const QString& path, const std::optional<Resolution>& resolution);

    // The code page chosen for the layout's texts, kept the same way.
    std::optional<int> FindCodePage(const QString& path) const;
    void KeepCodePage(const QString& path, const std::optional<int>& codePage);

private:
    QSettings* Settings;
};
