#include "reader/target_steps.h"

#include <cstdlib>
#include <limits>

namespace corvan {

namespace {

int inOrder(int count, int current, bool forward) {
    if (current < 0) return forward ? 0 : count - 1;
    return forward ? (current + 1) % count : (current + count - 1) % count;
}

// The nearest target that way from the current one: distance along the way counts once,
// distance across it twice, so that the highlight keeps to its row or column.
int nearestThatWay(const std::vector<ClickTarget>& targets, int current, TargetStep step) {
    const WindowPoint from = targets[static_cast<std::size_t>(current)].point;
    int best = -1;
    long bestScore = std::numeric_limits<long>::max();
    for (int i = 0; i < static_cast<int>(targets.size()); ++i) {
        const WindowPoint to = targets[static_cast<std::size_t>(i)].point;
        const int dx = to.x - from.x;
        const int dy = to.y - from.y;
        int along = 0;
        int across = 0;
        switch (step) {
            case TargetStep::Up: along = -dy, across = dx; break;
            case TargetStep::Down: along = dy, across = dx; break;
            case TargetStep::Left: along = -dx, across = dy; break;
            case TargetStep::Right: along = dx, across = dy; break;
            default: return -1;
        }
        if (along <= 0) continue;
        const long score = along + 2L * std::abs(across);
        if (score < bestScore) {
            bestScore = score;
            best = i;
        }
    }
    return best;
}

}  // namespace

int stepTarget(const std::vector<ClickTarget>& targets, int current, TargetStep step) {
    const int count = static_cast<int>(targets.size());
    if (count == 0) return -1;
    switch (step) {
        case TargetStep::First: return 0;
        case TargetStep::Last: return count - 1;
        case TargetStep::Previous: return inOrder(count, current, false);
        case TargetStep::Next: return inOrder(count, current, true);
        default: break;
    }
    const bool forward = step == TargetStep::Down || step == TargetStep::Right;
    if (current < 0) return inOrder(count, current, forward);
    const int nearest = nearestThatWay(targets, current, step);
    return nearest >= 0 ? nearest : inOrder(count, current, forward);
}

int targetAt(const std::vector<ClickTarget>& targets, WindowPoint point) {
    for (int i = 0; i < static_cast<int>(targets.size()); ++i) {
        const Rect& a = targets[static_cast<std::size_t>(i)].area;
        if (point.x >= a.left && point.x < a.right && point.y >= a.top && point.y < a.bottom) {
            return i;
        }
    }
    return -1;
}

}  // namespace corvan
