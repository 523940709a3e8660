#include "ui/widgets/ScriptHighlighter.h"

#include <QColor>
#include <QFont>
#include <QTextCharFormat>

#include "ui/widgets/CodePage.h"

namespace {

QTextCharFormat Format(const QColor& colour, bool bold = false, bool italic = false) {
    QTextCharFormat format;
    format.setForeground(colour);
    if (bold) format.setFontWeight(QFont::Bold);
    format.setFontItalic(italic);
    return format;
}

// One byte a character, as the tokenizer counts: the code page's characters are all one UTF-16
// unit, and a character outside it cannot change what a token is.
std::string TokenBytes(const QString& text) {
    std::string bytes(static_cast<std::size_t>(text.size()), ' ');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        bytes[static_cast<std::size_t>(i)] = c < 128 ? static_cast<char>(c) : 'x';
    }
    return bytes;
}

} // namespace

ScriptHighlighter::ScriptHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

void ScriptHighlighter::SetLanguage(ScriptLanguage language) {
    if (language == Shown) return;
    Shown = language;
    rehighlight();
}

void ScriptHighlighter::SetIncludeFound(IncludeFound found) {
    Found = std::move(found);
    rehighlight();
}

void ScriptHighlighter::highlightBlock(const QString& text) {
    static const QTextCharFormat keyword = Format(QColor(0x00, 0x00, 0xA0), true);
    static const QTextCharFormat function = Format(QColor(0x80, 0x00, 0x80));
    static const QTextCharFormat string = Format(QColor(0xA0, 0x30, 0x00));
    static const QTextCharFormat comment = Format(QColor(0x00, 0x80, 0x00), false, true);
    static const QTextCharFormat number = Format(QColor(0x00, 0x70, 0x80));
    static const QTextCharFormat found = Format(QColor(0x00, 0x70, 0x00), true);
    static const QTextCharFormat missing = Format(QColor(0xC0, 0x00, 0x00), true);
    for (const ScriptToken& token : ScriptLineTokens(TokenBytes(text), Shown)) {
        const QTextCharFormat* format = &keyword;
        switch (token.Kind) {
        case ScriptTokenKind::Keyword:
            format = &keyword;
            break;
        case ScriptTokenKind::HostFunction:
            format = &function;
            break;
        case ScriptTokenKind::String:
            format = &string;
            break;
        case ScriptTokenKind::Comment:
            format = &comment;
            break;
        case ScriptTokenKind::Number:
            format = &number;
            break;
        case ScriptTokenKind::Expand: {
            std::string bytes;
            ToCodePage(text, bytes);
            const std::string path = ExpandedPath(bytes);
            format = Found && Found(path) ? &found : &missing;
            break;
        }
        }
        setFormat(static_cast<int>(token.Start), static_cast<int>(token.Length), *format);
    }
}
