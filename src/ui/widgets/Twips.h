#pragma once
// The windows are laid out in twips, as the layouts' tools always were: 15 twips to a pixel at
// 96 DPI. Qt's device-independent pixels are 96 DPI pixels, so high-DPI screens scale by
// themselves.

#include <QPoint>
#include <QRect>

#include <cmath>

constexpr int TwipsPerPixel = 15;

inline int TwipsToPixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel));
}

inline int PixelsToTwips(int pixels) {
    return pixels * TwipsPerPixel;
}

// Left, top, width, height in twips.
inline QRect TwipsRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}
