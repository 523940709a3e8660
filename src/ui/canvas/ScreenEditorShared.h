#pragma once
// What the editing view's sources share: its zoom steps and colours, where snapping is kept, and
// small conversions and texts. Only the editing view's own sources include it.

#include <QColor>
#include <QKeyEvent>
#include <QRectF>
#include <QSettings>

#include "ui/session/ProgramSettings.h"
#include <QString>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "editing/Snapping.h"
#include "preview/ScreenScene.h"

namespace ScreenEditorShared {

// The zooms Ctrl+plus and Ctrl+minus step through.
constexpr double ZoomSteps[] = {0.25, 1.0 / 3, 0.5, 2.0 / 3, 1.0, 1.5, 2.0, 3.0, 4.0, 6.0, 8.0};
// Room left around the screen when it is fitted into the view, in view pixels.
constexpr int FitPadding = 8;
// Nudges further apart than this start a new step of the history.
constexpr qint64 NudgePause = 1500;

inline const QColor MarginColour(0x50, 0x55, 0x5C);
inline const QColor ScreenEdgeColour(0x9A, 0xA4, 0xB0);
inline const QColor SelectionColour(0x2F, 0x8C, 0xFF);
inline const QColor ReferenceColour(0xFF, 0x9F, 0x1C);
inline const QColor GuideColour(0xFF, 0x00, 0xC0);
inline const QColor PixelGridColour(128, 128, 128, 80);
inline const QColor GridColour(255, 255, 255, 90);

// Where the user's snapping choices are kept between runs.
inline QSettings Settings() {
    return ProgramSettings();
}

inline SnapSettings StoredSnapSettings() {
    const QSettings settings = Settings();
    SnapSettings s;
    s.ToGrid = settings.value(QStringLiteral("Editing/SnapToGrid"), true).toBool();
    s.GridStep =
        std::clamp(settings.value(QStringLiteral("Editing/GridStep"), DefaultGridStep).toInt(), 2,
                   LargestGridStep);
    s.ToControls = settings.value(QStringLiteral("Editing/SnapToControls"), true).toBool();
    s.ToScreen = settings.value(QStringLiteral("Editing/SnapToScreen"), true).toBool();
    s.ToCentres = settings.value(QStringLiteral("Editing/SnapToCentres"), true).toBool();
    return s;
}

inline void StoreSnapSettings(const SnapSettings& s) {
    QSettings settings = Settings();
    settings.setValue(QStringLiteral("Editing/SnapToGrid"), s.ToGrid);
    settings.setValue(QStringLiteral("Editing/GridStep"), s.GridStep);
    settings.setValue(QStringLiteral("Editing/SnapToControls"), s.ToControls);
    settings.setValue(QStringLiteral("Editing/SnapToScreen"), s.ToScreen);
    settings.setValue(QStringLiteral("Editing/SnapToCentres"), s.ToCentres);
    settings.sync();
}

inline PixelBox BoxOf(const SceneRect& r) {
    return {r.Left(), r.Top(), r.Left() + r.Width(), r.Top() + r.Height()};
}

inline SceneRect RectOf(const PixelBox& b) {
    const auto cut = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                        std::numeric_limits<int32_t>::max()));
    };
    return {cut(b.Left), cut(b.Top), cut(b.Right), cut(b.Bottom)};
}

// A control the host draws as nothing at all: a label with no text. In editing it shows its
// outline.
inline bool ShowsNothing(const SceneItem& item) {
    return (item.Shape == ItemShape::Text || item.Shape == ItemShape::Title) && item.Text.empty();
}

// A control drawn thinner than a few pixels, widened about its middle so it can be seen and picked.
inline QRectF Widened(QRectF r) {
    constexpr qreal least = 4;
    if (r.width() < least) r.adjust(-(least - r.width()) / 2, 0, (least - r.width()) / 2, 0);
    if (r.height() < least) r.adjust(0, -(least - r.height()) / 2, 0, (least - r.height()) / 2);
    return r;
}

inline QString Percent(double zoom) {
    return QStringLiteral("%1 %").arg(qRound(zoom * 100));
}

inline QString Controls(std::size_t n) {
    return n == 1 ? QStringLiteral("1 control") : QStringLiteral("%1 controls").arg(n);
}

inline QString Pixels(int64_t v) {
    return QString::number(static_cast<qlonglong>(v));
}

inline QString BoxText(const PixelBox& b) {
    return QStringLiteral("%1,%2 to %3,%4 (%5 x %6)")
        .arg(Pixels(b.Left), Pixels(b.Top), Pixels(b.Right), Pixels(b.Bottom), Pixels(b.Width()),
             Pixels(b.Height()));
}

inline QString SnapNote(const SnapResult& result) {
    const std::string text = SnapText(result);
    return text.empty() ? QString() : QStringLiteral("; snapped: ") + QString::fromLatin1(text);
}

// The keys the editor takes for itself while it has the focus, before any shortcut of the window.
inline bool IsEditorKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    switch (key.key()) {
    case Qt::Key_Escape:
        return mods == Qt::NoModifier;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return mods == Qt::NoModifier || mods == Qt::ShiftModifier;
    case Qt::Key_A:
    case Qt::Key_0:
    case Qt::Key_1:
    case Qt::Key_Minus:
        return mods == Qt::ControlModifier;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return (mods & ~Qt::ShiftModifier) == Qt::ControlModifier;
    default:
        return false;
    }
}

inline bool Contains(const std::vector<int>& sorted, int position) {
    return std::binary_search(sorted.begin(), sorted.end(), position);
}

} // namespace ScreenEditorShared
