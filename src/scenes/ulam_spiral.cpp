// The Ulam spiral: 1 to 500000 along a square spiral from the window's centre, primes white.
#include "scenes/scene_layout.h"
#include "scenes/scenes.h"

#include "common/app_state.h"
#include "common/text.h"

#include <cstring>
#include <memory>

std::uint8_t primeCache[kSpiralNumbers];  // entry k: 1 when k + 1 is prime; kept for the whole run
bool primeCacheReady = false;

namespace {

constexpr int kStartX = kFrameCentre.x;  // the number 1 sits on the frame's centre
constexpr int kStartY = kFrameCentre.y;
constexpr int kStepX[4] = {1, 0, -1, 0};  // right, up, left, down; y grows downwards
constexpr int kStepY[4] = {0, -1, 0, 1};

// The sieve of Eratosthenes over 1 to kSpiralNumbers. It marks exactly the numbers that have no
// divisor from 2 to n / 2, and 1 is not prime.
void fillPrimeCache()
{
    std::memset(primeCache, 1, sizeof primeCache);
    primeCache[0] = 0;
    for (int p = 2; p * p <= kSpiralNumbers; ++p) {
        if (primeCache[p - 1] == 0) {
            continue;
        }
        for (int multiple = p * p; multiple <= kSpiralNumbers; multiple += p) {
            primeCache[multiple - 1] = 0;
        }
    }
}

// Walks the spiral: 1 step right, 1 up, 2 left, 2 down, 3 right, ... Primes go to the front of
// points and the rest to the back; returns how many primes there are.
int walkSpiral(SDL_Point* points)
{
    int x = kStartX;
    int y = kStartY;
    int direction = 0;  // 0 right, 1 up, 2 left, 3 down
    int segment = 1;
    int steps = 1;
    int primes = 0;
    int others = kSpiralNumbers;
    for (int n = 1; n <= kSpiralNumbers; ++n) {
        // Both slots are written and only one is kept, which spares a branch on a random bit.
        const int prime = primeCache[n - 1] != 0 ? 1 : 0;
        points[primes] = {x, y};
        points[others - 1] = {x, y};
        primes += prime;
        others -= 1 - prime;
        x += kStepX[direction];
        y += kStepY[direction];
        ++steps;
        if (steps >= segment) {
            steps = 0;
            direction = (direction + 1) % 4;
            if (direction == 0 || direction == 2) {
                ++segment;
            }
        }
    }
    return primes;
}

}  // namespace

void forgetPrimeCache()
{
    std::memset(primeCache, 0, sizeof primeCache);
    primeCacheReady = false;
}

void drawUlamSpiral()
{
    drawLabel(app.smallFont, "Spirala Ulama", kLabelColour, kLabelLeft, kTitleTop);
    printLine("Prosze czekac...");
    if (!primeCacheReady) {
        fillPrimeCache();
    }

    // Every pixel of the spiral is visited once, so the two colours never overlap and each goes to
    // the renderer in one call. Black comes last, as for the last number, 500000.
    const std::unique_ptr<SDL_Point[]> points(new SDL_Point[kSpiralNumbers]);
    const int primes = walkSpiral(points.get());
    SDL_SetRenderDrawColor(app.renderer, 255, 255, 255, 255);
    SDL_RenderDrawPoints(app.renderer, points.get(), primes);
    SDL_SetRenderDrawColor(app.renderer, 0, 0, 0, 255);
    SDL_RenderDrawPoints(app.renderer, points.get() + primes, kSpiralNumbers - primes);

    primeCacheReady = true;
}
