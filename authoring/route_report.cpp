// corvan-explore's report, as text for a person and as one JSON object.

#include <cstdio>
#include <sstream>

#include "authoring/route_explorer.h"
#include "headless/state_json.h"

namespace corvan {

namespace {

// Long routes show their first and last choices; the JSON report has them all.
constexpr std::size_t kPathHead = 4;
constexpr std::size_t kPathTail = 8;
// Lists longer than this show their first entries and a count of the rest.
constexpr std::size_t kListShown = 12;

void stepText(std::ostringstream& out, const RouteStep& step) {
    out << step.chunk << ":" << step.line << " " << step.option << " " << step.text;
}

void pathText(std::ostringstream& out, const std::vector<RouteStep>& path) {
    if (path.empty()) {
        out << "no choice";
        return;
    }
    const bool cut = path.size() > kPathHead + kPathTail + 1;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (cut && i == kPathHead) {
            out << " > ... (" << path.size() - kPathHead - kPathTail << " more)";
            i = path.size() - kPathTail - 1;
            continue;
        }
        if (i > 0) out << " > ";
        stepText(out, path[i]);
    }
}

void endsText(std::ostringstream& out, const char* title, const std::vector<RouteEnd>& ends) {
    out << title << " (" << ends.size() << "):\n";
    for (std::size_t i = 0; i < ends.size(); ++i) {
        if (i == kListShown && ends.size() > kListShown + 1) {
            out << "  ... and " << ends.size() - kListShown << " more (--json lists them all)\n";
            break;
        }
        const RouteEnd& end = ends[i];
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

std::string seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", s);
    return text;
}

}  // namespace

std::string formatExploreReport(const ExploreReport& report) {
    std::ostringstream out;
    endsText(out, "endings", report.endings);
    endsText(out, "cutoffs", report.cutoffs);
    endsText(out, "stuck", report.stuck);
    endsText(out, "loops", report.loops);
    endsText(out, "dead ends", report.deadEnds);
    endsText(out, "problems", report.problems);
    out << "unreached (" << report.unreached.size() << "):\n";
    for (const Unreached& u : report.unreached) {
        if (u.label.empty()) {
            out << "  chunk " << u.chunk << "\n";
        } else {
            out << "  label :" << u.label << " at " << u.chunk << ":" << u.line << "\n";
        }
    }
    out << report.states << " choice points, " << report.branches << " options tried in "
        << seconds(report.seconds) << " s, "
        << (report.complete ? "every route explored" : "cut short by " + report.limitHit) << "\n";
    return out.str();
}

std::string exploreReportJson(const ExploreReport& report) {
    std::ostringstream out;
    out << "{\n  \"endings\": " << endsJson(report.endings)
        << ",\n  \"cutoffs\": " << endsJson(report.cutoffs)
        << ",\n  \"stuck\": " << endsJson(report.stuck)
        << ",\n  \"loops\": " << endsJson(report.loops)
        << ",\n  \"dead_ends\": " << endsJson(report.deadEnds)
        << ",\n  \"problems\": " << endsJson(report.problems) << ",\n  \"unreached\": [";
    for (std::size_t i = 0; i < report.unreached.size(); ++i) {
        const Unreached& u = report.unreached[i];
        out << (i == 0 ? "\n    " : ",\n    ") << "{\"chunk\": " << jsonString(u.chunk)
            << ", \"label\": " << jsonString(u.label) << ", \"line\": " << u.line << "}";
    }
    out << (report.unreached.empty() ? "]" : "\n  ]") << ",\n  \"states\": " << report.states
        << ",\n  \"branches\": " << report.branches
        << ",\n  \"seconds\": " << seconds(report.seconds)
        << ",\n  \"complete\": " << (report.complete ? "true" : "false")
        << ",\n  \"limit\": " << jsonString(report.limitHit) << "\n}\n";
    return out.str();
}

}  // namespace corvan
