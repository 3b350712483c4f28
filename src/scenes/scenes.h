// The ten scene routines, one per menu item, and the routines that take the mouse position.
// Each draws one whole frame into app.renderer; none clears or presents it.
#pragma once

#include <cstdint>

// 1: sine, cosine and tangent graphs squeezed by a frequency that follows the clock.
void drawTrigFunctions();
float trigFrequency(std::uint32_t ticks);  // (ticks mod 4000) / 200, in single precision

// 2: the logistic sequence; the mouse sets the start value and the rate.
void drawLogisticMap();
void drawLogisticMapAt(int mouseX, int mouseY);

// 3: the bifurcation diagram of the logistic map.
void drawBifurcation();

// 4: a parabola on a coordinate cross; the mouse sets its coefficients.
void drawQuadratic();
void drawQuadraticAt(int mouseX, int mouseY);
void plotQuadratic(float a, float b);

// 5: the Ulam spiral of the primes up to 500000.
void drawUlamSpiral();

// 6: a rectangle turned by phase.
void drawRotation(float phase);

// 7: sine and cosine as projections of a point on the unit circle.
void drawSineCosine(float phase);

// 8: three sine waves a third of a turn apart, with their radii.
void drawPhaseShift(float phase);

// 9: divisors of 1 to 1280, with the primes marked.
void drawPrimeGraph();

// 10: the sine from its Taylor series; the mouse sets the number of terms.
void drawComputedSine();
void drawComputedSineAt(int mouseX);
double factorial(int n);
