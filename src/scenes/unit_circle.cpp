// The unit circle outline and the curve tracer's step, shared by the two unit-circle scenes.
#include "scenes/unit_circle.h"

#include "common/app_state.h"

#include <cmath>

namespace {

constexpr int kCirclePoints = 628;         // a = 0.00, 0.01, ..., 6.27: just short of a full turn
constexpr float kCircleStepsPerRadian = 100.0f;
constexpr double kTracerStep = 0.01;

}  // namespace

void drawUnitCircle()
{
    SDL_Point points[kCirclePoints];
    for (int i = 0; i < kCirclePoints; ++i) {
        const double a = static_cast<double>(static_cast<float>(i) / kCircleStepsPerRadian);
        const float c = static_cast<float>(std::cos(a));
        const float s = static_cast<float>(std::sin(a));
        points[i].x = static_cast<int>(c * kPixelsPerUnit + kCircleCentreF);
        points[i].y = static_cast<int>(s * kPixelsPerUnit + kCircleCentreF);
    }
    SDL_SetRenderDrawColor(app.renderer, 255, 255, 255, 255);
    SDL_RenderDrawPoints(app.renderer, points, kCirclePoints);
}

float nextTracerAngle(float t)
{
    return static_cast<float>(static_cast<double>(t) + kTracerStep);
}
