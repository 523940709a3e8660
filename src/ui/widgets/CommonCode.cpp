#include "ui/widgets/CommonCode.h"

#include <QHeaderView>
#include <QTreeView>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <charconv>
#include <cmath>
#include <optional>

#include "ui/widgets/CaptionFit.h"

namespace {

void SetCaption(QWidget& control, const QString& caption) {
    if (auto* button = qobject_cast<QAbstractButton*>(&control))
        button->setText(caption);
    else if (auto* group = qobject_cast<QGroupBox*>(&control))
        group->setTitle(caption);
    else if (auto* label = qobject_cast<QLabel*>(&control))
        label->setText(caption);
    else if (auto* edit = qobject_cast<QLineEdit*>(&control))
        edit->setText(caption);
    else
        return;
    FitCaption(control);
}

void SetOnControls(QWidget& parent, const QString& marker, int kind, const QVariant& value) {
    for (QObject* child : parent.children()) {
        auto* control = qobject_cast<QWidget*>(child);
        // A window of its own (a dialog opened over this one) has controls of its own.
        if (control == nullptr || control->isWindow()) continue;
        if (control->property("Tag").toString().contains(marker, Qt::CaseSensitive)) {
            switch (kind) {
            case TagEnabled:
                control->setEnabled(value.toBool());
                break;
            case TagVisible:
                control->setVisible(value.toBool());
                break;
            case TagName:
                control->setObjectName(value.toString());
                break;
            case TagCaption:
                SetCaption(*control, value.toString());
                break;
            default:
                break;
            }
        }
        SetOnControls(*control, marker, kind, value);
    }
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The leading number of a text, as the host reads one: blanks anywhere are passed over, an optional
// sign, digits with an optional decimal point, and an optional exponent; reading stops at the first
// character that cannot continue the number. No number at all reads as 0; a number too large for
// a double gives nothing.
std::optional<double> LeadingNumber(const std::string& text) {
    std::string number;
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
    };
    skipBlanks();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
    bool digits = false, point = false;
    for (skipBlanks(); i < text.size(); skipBlanks()) {
        const char c = text[i];
        if (IsDigit(c)) {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        number += c;
        ++i;
    }
    if (!digits) return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        while (j < text.size() && IsBlank(text[j]))
            ++j;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
        bool expDigits = false;
        while (j < text.size() && (IsDigit(text[j]) || IsBlank(text[j]))) {
            if (IsDigit(text[j])) {
                exponent += text[j];
                expDigits = true;
            }
            ++j;
        }
        if (expDigits) number += exponent;
    }
    // Independent of the user's locale: the host's numbers always use a decimal point.
    const char* first = number.data();
    if (*first == '+') ++first;
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, number.data() + number.size(), value);
    (void)end;
    if (error != std::errc()) return std::nullopt;
    return value;
}

} // namespace

void SetByTag(QWidget& window, const QString& marker, int kind, const QVariant& value) {
    SetOnControls(window, marker, kind, value);
}

int ScreenNoFromText(const std::string& text) {
    if (text.empty()) return -1;
    const std::optional<double> value = LeadingNumber(text);
    if (!value) return -1;
    // The number becomes a 16-bit integer, halves going to the even neighbour.
    const double rounded = std::nearbyint(*value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) return -1;
    return static_cast<int>(rounded);
}

void StretchKeyColumn(QTreeView& list, int keyColumn) {
    QHeaderView* header = list.header();
    header->setStretchLastSection(false);
    for (int c = 0; c < header->count(); ++c)
        header->setSectionResizeMode(c, c == keyColumn ? QHeaderView::Stretch
                                                       : QHeaderView::ResizeToContents);
}
