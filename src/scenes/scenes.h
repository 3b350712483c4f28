// The ten scene routines, one per menu item, and the routines that take the mouse position.
// Each draws one whole frame into app.renderer; none clears or presents it.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// 1: sine, cosine and tangent graphs squeezed by a frequency that follows the clock.
void drawTrigFunctions();
float trigFrequency(std::uint32_t ticks);  // (ticks mod 4000) / 200, in single precision

// 2: the logistic sequence; the mouse sets the start value and the rate.
void drawLogisticMap();
void drawLogisticMapAt(int mouseX, int mouseY);

// 3: the bifurcation diagram of the logistic map.
void drawBifurcation();
std::vector<SDL_Point> bifurcationPoints();  // the 255 points of each of the 1200 columns

// 4: a parabola on a coordinate cross; the mouse sets its coefficients.
void drawQuadratic();
void drawQuadraticAt(int mouseX, int mouseY);
void plotQuadratic(float a, float b);

// 5: the Ulam spiral of the primes up to 500000.
void drawUlamSpiral();
constexpr int kSpiralNumbers = 500000;
extern std::uint8_t primeCache[kSpiralNumbers];  // entry k: 1 when k + 1 is prime, else 0
extern bool primeCacheReady;                     // set by the first spiral frame, never reset by the program
void forgetPrimeCache();  // tests and benchmarks only: empties the cache so the next frame fills it again

// 6: a rectangle turned by phase.
void drawRotation(float phase);

// 7: sine and cosine as projections of a point on the unit circle.
void drawSineCosine(float phase);

// 8: three sine waves a third of a turn apart, with their radii.
void drawPhaseShift(float phase);

// Shared by 7 and 8: the white outline of the unit circle about (200, 200), 628 points of radius 100,
// and the curve tracer's next angle (the step of 0.01 is added in double, the sum kept in single).
void drawUnitCircle();
float nextTracerAngle(float t);

// The three readouts of 7 for phase, each written into buffer (capacity bytes; 32 is enough).
void formatAngleReadout(char* buffer, std::size_t capacity, float phase);
void formatCosineReadout(char* buffer, std::size_t capacity, float phase);
void formatSineReadout(char* buffer, std::size_t capacity, float phase);

// 9: divisors of 1 to 1280, with the primes marked.
void drawPrimeGraph();

// 10: the sine from its Taylor series; the mouse sets the number of terms.
void drawComputedSine();
void drawComputedSineAt(int mouseX);
double factorial(int n);
