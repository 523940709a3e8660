#include "cli/VersionCommands.h"

#include <iostream>

#include "cli/ConsoleDialogs.h"
#include "cli/Json.h"
#include "cli/QuillCommands.h"
#include "platform/FileAccess.h"
#include "platform/CodePages.h"
#include "versioning/LayoutDiff.h"
#include "versioning/LayoutFiles.h"
#include "versioning/LayoutMerge.h"
#include "versioning/LayoutText.h"

#ifdef _WIN32
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// Reads a layout for diff and merge. git gives an empty file (or /dev/null) for a version that
// does not exist, a file added or deleted, or a merge without a common ancestor: that is a layout
// without records.
bool ReadVersion(const std::string& path, LayoutContent& layout, std::string& failure) {
    std::string bytes, reason;
    // Only whether it is empty: nothing of a file is read beyond its layout.
    if (ReadWholeFile(path, bytes, reason, 0)) {
        layout = {};
        return true;
    }
    return ReadLayoutContent(path, layout, failure);
}

// The text goes out byte for byte: on Windows the standard output would otherwise turn every
// line end into CR LF.
void WriteExactly(std::ostream& out, const std::string& text) {
#ifdef _WIN32
    if (&out == &std::cout) {
        std::cout.flush();
        _setmode(_fileno(stdout), _O_BINARY);
    }
#endif
    out << text;
}

// ---- to-text and from-text

int RunToText(const ParsedArguments& arguments, Console& console) {
    const std::string& input = arguments.Operands[0];
    const bool toFile = arguments.Has("-o");
    const std::string output = arguments.Value("-o");
    if (toFile && !OutputAllowed(arguments, input, output, "to-text", console.Err))
        return ExitFailure;
    LayoutContent layout;
    std::string failure;
    if (!ReadLayoutContent(input, layout, failure)) {
        // As git's textconv a damaged version is one line of its text, so the history around it
        // stays readable.
        if (!arguments.Has("--textconv")) return console.Dialogs.Fail(failure);
        console.Out << "damaged layout: " << ConsoleText(failure) << '\n';
        return ExitSuccess;
    }
    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, layout.Records, "to-text", console);
    if (!codePage) return ExitFailure;
    const std::string text = LayoutToText(layout, codePage->CodePage);
    if (!toFile) {
        WriteExactly(console.Out, text);
        return ExitSuccess;
    }
    std::string reason;
    if (!WriteOutput(output, text, reason))
        return console.Dialogs.Fail("Cannot write the text file \"" + PathForMessage(output) +
                                    "\": " + reason);
    return ExitSuccess;
}

int RunFromText(const ParsedArguments& arguments, Console& console) {
    const std::string& input = arguments.Operands[0];
    if (!arguments.Has("-o")) return UsageError(console.Err, "from-text", "needs -o LAYOUT");
    const std::string output = arguments.Value("-o");
    if (!OutputAllowed(arguments, input, output, "from-text", console.Err)) return ExitFailure;
    const std::string cannotRead = "Cannot read layout text \"" + PathForMessage(input) + "\"";
    std::string text, reason;
    if (!ReadWholeFile(input, text, reason, MaxLayoutTextBytes()))
        return console.Dialogs.Fail(cannotRead + ": " + reason +
                                    (text.empty() && reason.starts_with("it is larger")
                                         ? ", the longest text form of a layout (32767 records of the widest fields)"
                                         : "") +
                                    "; nothing was written");
    // The text names the code page it was written in; --codepage reads a text that does not.
    const std::optional<DetectedCodePage> chosen = UseCodePage(arguments, {}, "from-text", console);
    if (!chosen) return ExitFailure;
    int codePage = chosen->CodePage;
    LayoutContent layout;
    std::string error;
    if (!LayoutFromText(text, layout, error, &codePage))
        return console.Dialogs.Fail(cannotRead + ": " + error + "; nothing was written");
    if (CheckLayoutContent(layout).empty() && HoldsAlready(output, LayoutFileBytesOf(layout)))
        return NothingChanges(console, "\"" + output + "\" holds this layout already");
    std::string failure;
    if (!WriteLayoutContent(output, layout, failure)) return console.Dialogs.Fail(failure);
    return ExitSuccess;
}

// ---- diff

std::string ScreenHeading(int32_t screen, const LayoutContent& older, const LayoutContent& newer) {
    std::string name = ScreenName(newer.Records, screen);
    if (name.empty()) name = ScreenName(older.Records, screen);
    return "screen " + std::to_string(screen) + (name.empty() ? "" : " \"" + name + "\"") + ":";
}

std::string DiffLines(const LayoutDiff& diff, const LayoutContent& older,
                      const LayoutContent& newer, int codePage) {
    std::string out;
    bool first = true;
    int32_t screen = 0;
    for (const LayoutDifference& change : diff.Changes) {
        if (change.Kind == ChangeKind::Trailer) {
            out += "trailer: " + ChangeDetails(change, older, newer) + "\n";
            continue;
        }
        if (first || change.Screen != screen)
            out += ConsoleText(ScreenHeading(change.Screen, older, newer), codePage) + "\n";
        first = false;
        screen = change.Screen;
        const ControlRecord* a =
            change.Old > 0 ? &older.Records[static_cast<std::size_t>(change.Old - 1)] : nullptr;
        const ControlRecord* b =
            change.New > 0 ? &newer.Records[static_cast<std::size_t>(change.New - 1)] : nullptr;
        std::string line = std::string("  ") + ChangeKindName(change.Kind) + " record " +
                           ChangePositions(change) + ": " + ControlDescription(b ? *b : *a);
        if (change.Kind == ChangeKind::Changed) line += ": " + ChangeDetails(change, older, newer);
        out += ConsoleText(line, codePage) + "\n";
    }
    return out;
}

void PutFieldValue(JsonWriter& json, const ControlRecord& record, int field, int codePage) {
    const RecordField& f = RecordFields[static_cast<std::size_t>(field)];
    if (f.IsText())
        json.String(CodePageToUtf8(record.*f.Text, codePage));
    else
        json.Number(record.*f.Number);
}

std::string DiffJson(const LayoutDiff& diff, const LayoutContent& older,
                     const LayoutContent& newer, int codePage) {
    std::string out;
    const auto position = [](JsonWriter& json, int n) {
        if (n > 0)
            json.Number(n);
        else
            json.Null();
    };
    for (const LayoutDifference& change : diff.Changes) {
        JsonWriter json;
        json.BeginObject().Key("change").String(ChangeKindName(change.Kind)).Key("screen");
        const bool trailer = change.Kind == ChangeKind::Trailer;
        if (trailer)
            json.Null();
        else
            json.Number(change.Screen);
        position(json.Key("old"), change.Old);
        position(json.Key("new"), change.New);
        const ControlRecord* a =
            change.Old > 0 ? &older.Records[static_cast<std::size_t>(change.Old - 1)] : nullptr;
        const ControlRecord* b =
            change.New > 0 ? &newer.Records[static_cast<std::size_t>(change.New - 1)] : nullptr;
        if (!trailer)
            json.Key("control").String(
                CodePageToUtf8(ControlDescription(b ? *b : *a), codePage));
        if (change.Kind == ChangeKind::Changed || trailer) {
            json.Key("fields").BeginObject();
            for (int k : change.Fields) {
                const auto at = static_cast<std::size_t>(k);
                if (trailer) {
                    json.Key("Trailer(" + std::to_string(k + 1) + ")")
                        .BeginArray()
                        .Number(older.Trailer[at])
                        .Number(newer.Trailer[at])
                        .EndArray();
                    continue;
                }
                json.Key(RecordFields[at].Name).BeginArray();
                PutFieldValue(json, *a, k, codePage);
                PutFieldValue(json, *b, k, codePage);
                json.EndArray();
            }
            json.EndObject();
        }
        json.EndObject();
        out += json.Text() + "\n";
    }
    return out;
}

int RunDiff(const ParsedArguments& arguments, Console& console) {
    LayoutContent older, newer;
    std::string failure;
    if (!ReadVersion(arguments.Operands[0], older, failure) ||
        !ReadVersion(arguments.Operands[1], newer, failure))
        return console.Dialogs.Fail(failure);
    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, newer.Records, "diff", console);
    if (!codePage) return ExitFailure;
    const LayoutDiff diff = DiffLayouts(older, newer);
    console.Out << (arguments.Has("--json") ? DiffJson(diff, older, newer, codePage->CodePage)
                                            : DiffLines(diff, older, newer, codePage->CodePage));
    return diff.Same() ? ExitSuccess : ExitFindings;
}

// ---- merge

std::string ConflictLine(const MergeConflict& c) {
    if (c.Kind == ConflictKind::Trailer)
        return "conflict trailer Trailer(" + std::to_string(c.Field + 1) + "): base " +
               c.BaseValue + ", ours " + c.OursValue + ", theirs " + c.TheirsValue;
    std::string line = "conflict screen " + std::to_string(c.Screen);
    line += c.Record > 0 ? " record " + std::to_string(c.Record) : std::string(" (left out)");
    line += ": " + c.Control;
    switch (c.Kind) {
    case ConflictKind::Field:
        line += ": " + std::string(RecordFields[static_cast<std::size_t>(c.Field)].Name) +
                ": base " + c.BaseValue + ", ours " + c.OursValue + ", theirs " + c.TheirsValue +
                "; ours kept";
        break;
    case ConflictKind::ChangedButDeleted:
        line += ": changed by ours (record " + std::to_string(c.Ours) +
                "), deleted by theirs; kept as ours changed it";
        break;
    case ConflictKind::DeletedButChanged:
        line += ": deleted by ours, changed by theirs (record " + std::to_string(c.Theirs) +
                "); left deleted";
        break;
    case ConflictKind::ScreenGone:
        line += c.Theirs > 0 ? ": added by theirs (record " + std::to_string(c.Theirs) +
                                   ") on or showing a screen ours deleted"
                             : ": added by ours (record " + std::to_string(c.Ours) +
                                   ") on or showing a screen theirs deleted; kept as ours has it";
        break;
    case ConflictKind::Trailer:
        break;
    }
    return line;
}

std::string Counted(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

int RunMerge(const ParsedArguments& arguments, Console& console) {
    const std::string& basePath = arguments.Operands[0];
    const std::string& oursPath = arguments.Operands[1];
    const std::string& theirsPath = arguments.Operands[2];
    if (!arguments.Has("-o")) return UsageError(console.Err, "merge", "needs -o OUT");
    const std::string output = arguments.Value("-o");
    // git's merge driver leaves its result in OURS: that output needs no --in-place, and no
    // backup, since git keeps ours itself.
    const bool overOurs = SameFile(oursPath, output);
    if (!overOurs && (!OutputAllowed(arguments, basePath, output, "merge", console.Err) ||
                      !OutputAllowed(arguments, theirsPath, output, "merge", console.Err)))
        return ExitFailure;

    // git's driver works on files of its own; --name gives the layout's name for the messages.
    const bool named = arguments.Has("--name");
    const std::string name = arguments.Value("--name");
    const auto shown = [&](const std::string& path, const char* version) {
        return named ? "\"" + PathForMessage(name) + "\" (" + version + ")"
                     : "\"" + PathForMessage(path) + "\"";
    };
    const auto read = [&](const std::string& path, LayoutContent& layout, const char* version) {
        std::string failure;
        if (ReadVersion(path, layout, failure)) return true;
        const std::string plain = "\"" + PathForMessage(path) + "\"";
        if (const std::size_t at = failure.find(plain); at != std::string::npos)
            failure.replace(at, plain.size(), shown(path, version));
        console.Dialogs.Fail(failure);
        return false;
    };
    LayoutContent base, ours, theirs;
    if (!read(basePath, base, "base") || !read(oursPath, ours, "ours") ||
        !read(theirsPath, theirs, "theirs"))
        return ExitFailure;
    std::string failure;
    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, ours.Records, "merge", console);
    if (!codePage) return ExitFailure;
    const MergeResult merge = MergeLayouts(base, ours, theirs);
    if (!merge.Refusal.empty())
        return console.Dialogs.Fail("Cannot merge into " + shown(output, "merged") + ": " +
                                    merge.Refusal + "; nothing was written");
    // An OUT that holds the result already is left as it is (git's driver then finds OURS
    // untouched); the exit status still tells of the conflicts, as git reads it.
    const bool holds = CheckLayoutContent(merge.Merged).empty() &&
                       HoldsAlready(output, LayoutFileBytesOf(merge.Merged));
    if (!holds && !WriteLayoutContent(output, merge.Merged, failure, !overOurs)) {
        const std::string plain = "\"" + PathForMessage(output) + "\"";
        if (const std::size_t at = failure.find(plain); named && at != std::string::npos)
            failure.replace(at, plain.size(), shown(output, "merged"));
        return console.Dialogs.Fail(failure);
    }

    for (const MergeConflict& conflict : merge.Conflicts)
        console.Out << ConsoleText(ConflictLine(conflict), codePage->CodePage) << '\n';
    console.Out << "Merged: theirs changed "
                << Counted(merge.ChangedByTheirs, "control", "controls") << ", added "
                << merge.AddedByTheirs << " and removed " << merge.RemovedByTheirs << "; "
                << (merge.Conflicts.empty() ? std::string("no conflicts")
                                            : Counted(static_cast<int>(merge.Conflicts.size()),
                                                      "conflict", "conflicts") +
                                                  ", ours kept for each")
                << ".\n";
    return merge.Conflicts.empty() ? ExitSuccess : ExitFindings;
}

const OptionSpec InPlace{"--in-place", nullptr,
                         "allow the output to be an input file; it is replaced as Save replaces a "
                         "file"};

} // namespace

std::vector<CommandSpec> VersionCommands() {
    return {
        {"to-text",
         "to-text LAYOUT [-o OUT.json]",
         "write the layout as text (JSON), one field a line, for people and git",
         "Writes LAYOUT in its text form: UTF-8 JSON naming the format and its version,\n"
         "then one object per record in record order, with its position (\"record\") and\n"
         "the 20 fields by name, one a line, then the trailer. Texts are the layout's\n"
         "Windows-1252 bytes as Unicode; every byte comes back through from-text. The same\n"
         "layout always gives the same text, so it serves git as a textconv filter:\n"
         "  git config diff.quill.textconv \"quill to-text --textconv\"\n",
         {"LAYOUT"},
         {{"-o", "OUT.json", "write to this file instead of standard output"},
          {"--textconv", nullptr,
           "as git's textconv: a damaged layout prints one line naming the damage (\"damaged "
           "layout: ...\") and exits 0, so git log -p reads on past it"},
          InPlace},
         RunToText},
        {"from-text",
         "from-text TEXT.json -o LAYOUT",
         "write a layout file from its text form",
         "Reads the text form to-text writes and writes the layout file it describes, byte\n"
         "for byte what Save writes for that layout. A text that is not such a form, or holds\n"
         "a value a layout cannot (a number outside 32 bits, a character without a\n"
         "Windows-1252 byte, too many records, a text too long), is refused with the line\n"
         "that holds it, and nothing is written. An existing LAYOUT is replaced as Save\n"
         "replaces a file, its old content kept as LAYOUT.bak.\n",
         {"TEXT.json"},
         {{"-o", "LAYOUT", "the layout file to write"}, InPlace},
         RunFromText},
        {"diff",
         "diff OLD NEW [--json]",
         "list what changed between two versions of a layout, screen by screen",
         "Lists, screen by screen, the controls NEW added, removed, changed (each changed\n"
         "field old -> new; a moved or resized control as its rectangle) and re-ordered\n"
         "against OLD, then the trailer. Controls are matched by what they are (kind,\n"
         "screen, texts, picture, function and OEM code, then position), not by record\n"
         "position, and screens moved or deleted are followed. Records are numbered from 1:\n"
         "an added control by its place in NEW, a removed one by its place in OLD. An empty\n"
         "file counts as a layout without records, as git gives for a file added or deleted.\n"
         "\n"
         "Exit status 0 when the layouts are the same, 1 when they differ, 2 on error.\n",
         {"OLD", "NEW"},
         {{"--json", nullptr,
           "print one JSON object a line instead, with change (added, removed, changed, "
           "reordered, trailer), screen, old and new (record positions, null where none), "
           "control, and for a change fields: {\"rText\": [old, new], ...}"}},
         RunDiff},
        {"merge",
         "merge BASE OURS THEIRS -o OUT",
         "merge two versions of a layout made from a common one",
         "Merges what OURS and THEIRS each changed since BASE, control by control and field\n"
         "by field, matching controls as diff does, and writes the result to OUT. Changes to\n"
         "different controls or fields all land, the same change on both sides lands once,\n"
         "and screens moved or deleted on one side are followed by the other side's edits.\n"
         "Different changes to the same field are conflicts: each is listed (screen, record\n"
         "in OUT, control, field, and the base, ours and theirs values), and OUT holds ours\n"
         "for it. An empty BASE counts as a layout without records.\n"
         "\n"
         "OUT may be OURS itself, as git's merge driver asks\n"
         "(merge.quill.driver \"quill merge %O %A %B -o %A --name %P\"); OURS is then\n"
         "replaced without a backup, since git keeps it. Another existing OUT is kept as\n"
         "OUT.bak first. An OUT that holds the result already is not written again.\n"
         "\n"
         "Exit status 0 when it merged without conflicts, 1 with conflicts (OUT written),\n"
         "2 on error (nothing written).\n",
         {"BASE", "OURS", "THEIRS"},
         {{"-o", "OUT", "the layout file to write"},
          {"--name", "PATH",
           "the layout's name for the messages, for files git names its own way (%P)"},
          InPlace},
         RunMerge},
    };
}
