// The table of the ten pictures and the drawing of one frame.
#include "menu/menu.h"

#include "common/app_state.h"
#include "common/mouse.h"
#include "scenes/scenes.h"

#include <cstring>

// Each description names what steers its picture in the words the page's readers expect:
// "Steruje zegar", "Steruje mysz" or "obraz nieruchomy".
const Picture kPictures[kPictureCount] = {
    {"1", "1 - Funkcje trygonometryczne",
     "Sinus (czerwony), cosinus (zielony) i tangens (niebieski) na jednej osi, z ich częstotliwością "
     "w hercach. Steruje zegar: częstotliwość rośnie od 0 do 20 co cztery sekundy, więc w oknie "
     "mieści się coraz więcej okresów.",
     kSteeredByClock, [](const FrameInputs& in) { drawTrigFunctionsAt(in.ticks); }},
    {"2", "2 - Odwzorowanie logistyczne",
     "Pierwsze 128 wyrazów ciągu logistycznego x(n+1) = k·x(n)·(1 − x(n)), po jednej kropce co 10 "
     "pikseli. Steruje mysz (na stronie także palec i strzałki): w górę rośnie wartość początkowa x0, "
     "w prawo współczynnik k od 0 do 4.",
     kSteeredByMouse, [](const FrameInputs& in) { drawLogisticMapAt(in.mouse.x, in.mouse.y); }},
    {"3", "3 - Diagram bifurkacyjny odwzorowania logistycznego",
     "Diagram bifurkacyjny odwzorowania logistycznego dla współczynników od −2 do 4: punkty stałe, "
     "cykle i chaos. Nic nim nie steruje, to obraz nieruchomy.",
     kSteeredByNothing, [](const FrameInputs&) { drawBifurcation(); }},
    {"4", "4 - Funkcja kwadratowa",
     "Parabola y = a·x² + b·x na osiach z podziałką co jednostkę, z wartościami a i b. Steruje mysz "
     "(na stronie także palec i strzałki): jej wysokość ustala a (w górze ramiona paraboli idą do "
     "góry), położenie w poziomie ustala b.",
     kSteeredByMouse, [](const FrameInputs& in) { drawQuadraticAt(in.mouse.x, in.mouse.y); }},
    {"5", "5 - Spirala Ulama",
     "Spirala Ulama: liczby od 1 do 500000 wzdłuż kwadratowej spirali, liczby pierwsze na biało. "
     "Konsola pisze „Prosze czekac...” przy każdej klatce. Nic nią nie steruje, to obraz nieruchomy.",
     kSteeredByNothing, [](const FrameInputs&) { drawUlamSpiral(); }},
    {"6", "6 - Rotacja figury",
     "Prostokąt 200 na 100 obracający się wokół środka okna. Steruje zegar: jeden obrót w około "
     "2,3 s.",
     kSteeredByClock, [](const FrameInputs& in) { drawRotation(phaseFromTicks(in.ticks, kRotationWrap)); }},
    {"7", "7 - Graficzne przedstawienie sinusa i cosinusa",
     "Punkt na okręgu jednostkowym, jego rzuty oraz krzywe cosinusa i sinusa, które kreślą, z kątem, "
     "cosinusem i sinusem w liczbach. Steruje zegar: trzy obroty w około 6,8 s, potem od początku.",
     kSteeredByClock, [](const FrameInputs& in) { drawSineCosine(phaseFromTicks(in.ticks, kUnitCircleWrap)); }},
    {"8", "8 - Przesuniecie fazowe",
     "Trzy sinusoidy przesunięte względem siebie o jedną trzecią obrotu, z ich promieniami na okręgu "
     "jednostkowym. Steruje zegar, jak w obrazie 7.",
     kSteeredByClock, [](const FrameInputs& in) { drawPhaseShift(phaseFromTicks(in.ticks, kUnitCircleWrap)); }},
    {"9", "9 - Liczby pierwsze graf",
     "Dzielniki liczb od 1 do 1280 (biała kropka dla każdego), liczby pierwsze zaznaczone "
     "ciemnoczerwonym słupkiem i niebieskim licznikiem. Nic nim nie steruje, to obraz nieruchomy.",
     kSteeredByNothing, [](const FrameInputs&) { drawPrimeGraph(); }},
    {"10", "10 - Obliczony sinus",
     "Sinus złożony z szeregu Taylora, x − x³/3! + x⁵/5! − ..., i liczba użytych wyrazów. Steruje "
     "mysz (na stronie także palec i strzałki): od 1 wyrazu przy lewej krawędzi do 10 przy prawej; "
     "wielomian przylega do sinusa coraz dalej.",
     kSteeredByMouse, [](const FrameInputs& in) { drawComputedSineAt(in.mouse.x); }},
};

const Picture& pictureFor(const std::string& answer)
{
    for (const Picture& picture : kPictures) {
        if (answer == picture.answer) {  // same length and same characters
            return picture;
        }
    }
    return kPictures[0];
}

void drawFrame(const Picture& picture, const FrameInputs& inputs, SDL_Surface* frameMemory)
{
    SDL_SetRenderDrawColor(app.renderer, 0, 0, 0, 0);
    if (frameMemory != nullptr) {
        std::memset(frameMemory->pixels, 0,
                    static_cast<std::size_t>(frameMemory->pitch) * static_cast<std::size_t>(frameMemory->h));
    } else {
        SDL_RenderClear(app.renderer);
    }
    picture.draw(inputs);
    if (frameMemory != nullptr) {
        SDL_RenderFlush(app.renderer);  // every queued drawing call lands in the memory now
    }
}

void dispatchScene()
{
    pictureFor(app.choice).draw(FrameInputs{app.frameTicks, readMouse()});
}
