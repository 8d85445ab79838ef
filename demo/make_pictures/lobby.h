#pragma once

// Where the front desk of the lobby (A002) stands: the clerk of B001 stands behind it with his
// hands on its top, so both pictures share these numbers.

namespace corvan::art {

constexpr double kCounterLeft = 150;
constexpr double kCounterRight = 490;
constexpr double kCounterBack = 296;   // the far edge of the top, where the clerk is cut off
constexpr double kCounterFront = 308;  // the near edge of the top
constexpr double kFloorLine = 330;     // where the back wall meets the floor

}  // namespace corvan::art
