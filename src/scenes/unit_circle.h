// The layout pictures 7 and 8 share: the unit circle on the left, the graphs that its angle
// traces on the right, and the tracer that walks the angle from 0 up to the phase.
#pragma once

constexpr int kCircleCentre = 200;            // the circle's centre is (200, 200)
constexpr float kCircleCentreF = static_cast<float>(kCircleCentre);
constexpr int kCircleRadius = 100;            // the circle's radius and the height of a value of 1
constexpr float kPixelsPerUnit = static_cast<float>(kCircleRadius);
constexpr float kPixelsPerRadian = 30.0f;     // across the graphs
constexpr int kGraphOrigin = 400;             // the column of the angle 0
constexpr float kGraphOriginF = static_cast<float>(kGraphOrigin);
// The circle's box. A graph about the centre row has its level +1 on the top row, -1 on the bottom.
constexpr int kCircleTop = kCircleCentre - kCircleRadius;     // row 100
constexpr int kCircleBottom = kCircleCentre + kCircleRadius;  // row 300
constexpr int kCircleLeft = kCircleCentre - kCircleRadius;    // column 100
constexpr int kCircleRight = kCircleCentre + kCircleRadius;   // column 300
constexpr int kMaxCurveSteps = 1885;          // tracer steps below a phase just under 6 pi

// The white outline of the unit circle: 628 points of radius 100 about (200, 200).
void drawUnitCircle();

// The tracer's next angle: the step of 0.01 is added in double, the sum kept in single.
float nextTracerAngle(float t);
