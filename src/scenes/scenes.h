// The ten scenes, one per menu item, each drawn from the input passed to it (a clock, a pointer,
// an angle, or nothing for a still picture), and the functions that turn a clock or a pointer into
// the values a picture shows. Each scene draws one whole frame into app.renderer; none clears or
// presents it, and none reads the clock or the mouse: drawFrame (pictures/pictures.h) hands them over.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// 1: sine, cosine and tangent graphs squeezed by a frequency that follows the clock.
void drawTrigFunctionsAt(std::uint32_t ticks);
float trigFrequency(std::uint32_t ticks);  // (ticks mod 4000) / 200, in single precision
double trigTicksOf(double f, std::uint32_t near);  // the clock of frequency f in near's four seconds

// 2: the logistic sequence; the pointer's height sets the start value, its column the rate.
void drawLogisticMapAt(int mouseX, int mouseY);
float logisticStart(int mouseY);  // x0 = 1 - y / 720: 1 on the top row
float logisticRate(int mouseX);   // k = (x / 1280) * 4: 0 at the left edge
double logisticRowOf(double x0);  // the pointer row, as a real number, where the start value is x0
double logisticColumnOf(double k);

// 3: the bifurcation diagram of the logistic map.
void drawBifurcation();
std::vector<SDL_Point> bifurcationPoints();  // the 255 points of each of the 1200 columns

// 4: a parabola y = a x^2 + b x on a coordinate cross; the pointer sets a and b.
void drawQuadraticAt(int mouseX, int mouseY);
void plotQuadratic(float a, float b);
float quadraticA(int mouseY);  // a = (360 - y) / 200: 0 on the middle row
float quadraticB(int mouseX);  // b = (x - 640) / 40: 0 in the middle column
double quadraticRowOf(double a);  // the pointer row, as a real number, where a has this value
double quadraticColumnOf(double b);

// 5: the Ulam spiral of the primes up to 500000.
void drawUlamSpiral();
constexpr int kSpiralNumbers = 500000;
extern std::uint8_t primeCache[kSpiralNumbers];  // entry k: 1 when k + 1 is prime, else 0
extern bool primeCacheReady;                     // set by the first spiral frame, never reset by the program
void forgetPrimeCache();  // tests and benchmarks only: empties the cache so the next frame fills it again

// Half a turn, in radians and in degrees.
constexpr double kPi = 3.141592653589793;
constexpr double kDegreesPerPi = 180.0;

// 6, 7 and 8 turn with the clock: one radian every 360 ms, ticks / 360 in single precision,
// wrapped at `wrap` in double and narrowed; 6 wraps at one turn, 7 and 8 at three.
constexpr double kTwoPi = 6.283185307179586;
constexpr double kSixPi = 18.84955592153876;
constexpr double kRotationWrap = kTwoPi;
constexpr double kUnitCircleWrap = kSixPi;
float phaseFromTicks(std::uint32_t ticks, double wrap);
// The angle within its turn, in degrees, as picture 7's readout shows it: the phase reduced to one
// turn in double, then divided by pi and multiplied by 180.
double phaseDegrees(std::uint32_t ticks, double wrap);
// The clock, as a real number, where the angle within the turn is `degrees`, in the same turn as
// the clock `near`.
double phaseTicksOf(double degrees, double wrap, std::uint32_t near);

// 6: a rectangle turned by phase.
void drawRotation(float phase);

// 7: sine and cosine as projections of a point on the unit circle.
void drawSineCosine(float phase);

// 8: three sine waves a third of a turn apart, with their radii.
void drawPhaseShift(float phase);

// The three readouts of 7 for phase, each written into buffer (capacity bytes; 32 is enough).
void formatAngleReadout(char* buffer, std::size_t capacity, float phase);
void formatCosineReadout(char* buffer, std::size_t capacity, float phase);
void formatSineReadout(char* buffer, std::size_t capacity, float phase);

// 9: divisors of 1 to 1280, with the primes marked.
void drawPrimeGraph();

// 10: the sine from its Taylor series; the pointer's column sets the number of terms.
void drawComputedSineAt(int mouseX);
int taylorPrecision(int mouseX);  // the terms after the leading x: (10 x) / 1280 + 1
double taylorColumnOf(double precision);  // the first pointer column with that many terms
double factorial(int n);
