// The desktop program's frame times for page links, to set beside the page's own: each link's
// frame drawn again and again as the program draws it (cleared, the scene, presented) into the
// 1280 x 720 dummy-driver window, and the median printed in milliseconds, one line per link:
// "median LINK MS" (the scenes' own console lines come between).
//   plotnik-frame-times FRAMES [forget:]LINK...
// "forget:" finds the spiral's primes again before every frame, as on its very first frame.
#include "bench_window.h"

#include "pictures/frame_link.h"
#include "pictures/pictures.h"
#include "scenes/scenes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::string kForget = "forget:";

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 0;
    if (frames <= 0 || argc < 3) {
        std::fprintf(stderr, "usage: plotnik-frame-times FRAMES [forget:]LINK...\n");
        return 2;
    }
    ensureBenchWindow();
    for (int i = 2; i < argc; ++i) {
        std::string text = argv[i];
        const bool forget = text.rfind(kForget, 0) == 0;
        if (forget) {
            text.erase(0, kForget.size());
        }
        FrameLink link;
        std::string problem;
        if (!readFrameLink(text, link, problem) || link.answer.empty()) {
            std::fprintf(stderr, "%s: %s\n", argv[i], problem.empty() ? "no picture" : problem.c_str());
            return 2;
        }
        const Picture& picture = pictureFor(link.answer);
        const auto frame = [&picture, &link] {
            drawFrame(picture, link.inputs);
            SDL_RenderPresent(app.renderer);
        };
        frame();  // the first frame's one-time work (the spiral's primes) out of the way
        std::vector<double> times;
        for (int f = 0; f < frames; ++f) {
            if (forget) {
                forgetPrimeCache();
            }
            const auto start = std::chrono::steady_clock::now();
            frame();
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::printf("median %s %.4f\n", argv[i], medianOf(times));
    }
    return 0;
}
