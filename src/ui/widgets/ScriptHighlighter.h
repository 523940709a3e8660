#pragma once
// Colours a script as the core's tokenizer reads it: keywords, the host's functions, strings,
// comments and numbers of the macro language, or G-code's words and addresses; `#expand` lines
// green when the file they include is found and red when it is not.

#include <QSyntaxHighlighter>

#include <functional>
#include <string>

#include "scripts/ScriptSyntax.h"

class ScriptHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    // Whether the file an #expand line names (in the layout's bytes) is found.
    using IncludeFound = std::function<bool(const std::string& path)>;

    explicit ScriptHighlighter(QTextDocument* document);
    void SetLanguage(ScriptLanguage language);
    ScriptLanguage Language() const { return Shown; }
    void SetIncludeFound(IncludeFound found);

protected:
    void highlightBlock(const QString& text) override;

private:
    ScriptLanguage Shown = ScriptLanguage::Macro;
    IncludeFound Found;
};
