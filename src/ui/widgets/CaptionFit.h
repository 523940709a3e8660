#pragma once
// Keeps every caption of a window readable at the window's fixed sizes: a caption that does not fit
// on one line wraps where its control can wrap (tall buttons, labels), and where even that does not
// fit, the control's font is made smaller until it does. Bold and family are kept.

#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

// What a control's caption has to fit into.
struct CaptionBox {
    QString Text;
    QRect Area;    // in the control's coordinates
    int Flags = 0; // Qt alignment and wrapping flags the control draws its caption with
    bool HasCaption = false;
};

CaptionBox CaptionBoxOf(const QWidget& control);

// True when the caption, drawn in this font, lies wholly inside its area.
bool CaptionFits(const CaptionBox& box, const QFont& font);

// Fits the caption of one control, starting again from its design font size.
void FitCaption(QWidget& control);

// Fits every caption of the window (not of windows opened over it).
void FitCaptions(QWidget& window);
