#include "cli/CheckReport.h"

#include "cli/ConsoleDialogs.h"
#include "cli/Json.h"
#include "platform/CodePages.h"

namespace {

// "SEVERITY screen S record K CODE: message" on one line of UTF-8. A finding about the whole
// layout names no screen: S is "all" (null in JSON), where the core's own line writes -1.
std::string FindingText(const Finding& finding, int codePage) {
    const std::string screen =
        finding.Screen == WholeLayout ? std::string("all") : std::to_string(finding.Screen);
    return std::string(SeverityName(finding.Level)) + " screen " + screen + " record " +
           std::to_string(finding.Record) + " " + CodeName(finding.Code) + ": " +
           ConsoleText(finding.Message, codePage);
}

std::string FindingJson(const Finding& finding, int codePage) {
    JsonWriter json;
    json.BeginObject()
        .Key("severity")
        .String(SeverityName(finding.Level))
        .Key("code")
        .String(CodeName(finding.Code))
        .Key("screen");
    if (finding.Screen == WholeLayout)
        json.Null();
    else
        json.Number(finding.Screen);
    json.Key("record")
        .Number(finding.Record)
        .Key("message")
        .String(CodePageToUtf8(finding.Message, codePage))
        .EndObject();
    return json.Text();
}

} // namespace

bool PrintCheckFindings(const cLayout& layout, const CheckRequest& request, std::ostream& out) {
    const std::vector<Finding> findings = CheckLayout(layout, request.Options);
    for (const Finding& finding : findings)
        out << (request.Json ? FindingJson(finding, request.CodePage) : FindingText(finding, request.CodePage)) << '\n';
    return CountBySeverity(findings).AnyProblem();
}
