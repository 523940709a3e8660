#pragma once
// The layouts opened or saved last, newest first, at most MaxCount, each path once. Kept in the
// settings the window is given (none: kept for the run only).

#include <QStringList>

class QSettings;

class RecentLayouts {
public:
    static constexpr int MaxCount = 8;

    explicit RecentLayouts(QSettings* settings);

    const QStringList& Paths() const { return List; }
    // Puts the path first, taking it out from further down.
    void Add(const QString& path);
    void Remove(const QString& path);
    void Clear();

private:
    void Store();

    QSettings* Settings;
    QStringList List;
};
