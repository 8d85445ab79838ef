// corvan-explore's report, as text for a person and as one JSON object.

#include <sstream>

#include "headless/state_json.h"
#include "authoring/route_explorer.h"

namespace corvan {

namespace {

void pathText(std::ostringstream& out, const std::vector<RouteStep>& path) {
    if (path.empty()) {
        out << "no choice";
        return;
    }
    for (std::size_t i = 0; i < path.size(); ++i) {
        const RouteStep& step = path[i];
        out << (i == 0 ? "" : " > ") << step.chunk << ":" << step.line << " " << step.option << " "
            << step.text;
    }
}

void endsText(std::ostringstream& out, const char* title, const std::vector<RouteEnd>& ends) {
    out << title << " (" << ends.size() << "):\n";
    for (const RouteEnd& end : ends) {
        out << "  " << end.kind << " at " << end.where << ": " << end.detail << "\n    choices: ";
        pathText(out, end.path);
        out << "\n";
    }
}

std::string pathJson(const std::vector<RouteStep>& path) {
    std::ostringstream out;
    out << "[";
    for (std::size_t i = 0; i < path.size(); ++i) {
        const RouteStep& s = path[i];
        out << (i == 0 ? "" : ", ") << "{\"chunk\": " << jsonString(s.chunk)
            << ", \"line\": " << s.line << ", \"option\": " << s.option
            << ", \"text\": " << jsonString(s.text) << "}";
    }
    out << "]";
    return out.str();
}

std::string endsJson(const std::vector<RouteEnd>& ends) {
    std::ostringstream out;
    out << "[";
    for (std::size_t i = 0; i < ends.size(); ++i) {
        const RouteEnd& e = ends[i];
        out << (i == 0 ? "\n    " : ",\n    ") << "{\"kind\": " << jsonString(e.kind)
            << ", \"where\": " << jsonString(e.where) << ", \"detail\": " << jsonString(e.detail)
            << ", \"path\": " << pathJson(e.path) << "}";
    }
    out << (ends.empty() ? "]" : "\n  ]");
    return out.str();
}

}  // namespace

std::string formatExploreReport(const ExploreReport& report) {
    std::ostringstream out;
    endsText(out, "endings", report.endings);
    endsText(out, "stuck", report.stuck);
    endsText(out, "loops", report.loops);
    out << "unreached (" << report.unreached.size() << "):\n";
    for (const Unreached& u : report.unreached) {
        if (u.label.empty()) {
            out << "  chunk " << u.chunk << "\n";
        } else {
            out << "  label :" << u.label << " at " << u.chunk << ":" << u.line << "\n";
        }
    }
    out << report.states << " choice points, " << report.replays << " plays from the start, "
        << (report.complete ? "every route explored" : "cut short by " + report.limitHit) << "\n";
    return out.str();
}

std::string exploreReportJson(const ExploreReport& report) {
    std::ostringstream out;
    out << "{\n  \"endings\": " << endsJson(report.endings)
        << ",\n  \"stuck\": " << endsJson(report.stuck)
        << ",\n  \"loops\": " << endsJson(report.loops) << ",\n  \"unreached\": [";
    for (std::size_t i = 0; i < report.unreached.size(); ++i) {
        const Unreached& u = report.unreached[i];
        out << (i == 0 ? "\n    " : ",\n    ") << "{\"chunk\": " << jsonString(u.chunk)
            << ", \"label\": " << jsonString(u.label) << ", \"line\": " << u.line
            << ", \"path\": []}";
    }
    out << (report.unreached.empty() ? "]" : "\n  ]") << ",\n  \"states\": " << report.states
        << ",\n  \"replays\": " << report.replays
        << ",\n  \"complete\": " << (report.complete ? "true" : "false")
        << ",\n  \"limit\": " << jsonString(report.limitHit) << "\n}\n";
    return out.str();
}

}  // namespace corvan
