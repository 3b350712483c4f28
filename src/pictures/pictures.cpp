// The table of the ten pictures and the drawing of one frame.
#include "pictures/pictures.h"

#include "common/app_state.h"
#include "scenes/scenes.h"

#include <cstring>
#include <iterator>

// Each description says what the picture draws, in which colour, which way it turns, what its
// numbers count and what steers it, in the words of docs/polish-vocabulary.md; the steering in the
// words the page's readers expect: "Steruje zegar", "Steruje mysz" or "obraz nieruchomy". The
// README's table says the same in English, with the same numbers.
const Picture kPictures[kPictureCount] = {
    {"1", "1 - Funkcje trygonometryczne",
     "Wykresy y = sin(f·x) (czerwony), y = cos(f·x) (zielony) i y = tg(f·x) (niebieski) dla x "
     "od 0 do 6,4. Osi obraz nie rysuje: wartość 0 leży na środkowym wierszu okna. Na jednostkę "
     "przypada 200 pikseli w poziomie i 100 w pionie. Napis w rogu "
     "podaje parametr f z dopiskiem „Hz”, choć na obrazie nie ma osi czasu. Steruje zegar: f rośnie "
     "równomiernie od 0 do 20 przez 4 s, potem wraca do 0 i rośnie od nowa; w oknie mieści się "
     "mniej więcej f okresów sinusa.",
     kSteeredByClock, [](const FrameInputs& in) { drawTrigFunctionsAt(in.ticks); },
     kFrequencyParameters, static_cast<int>(std::size(kFrequencyParameters))},
    {"2", "2 - Odwzorowanie logistyczne",
     "Pierwsze 128 wyrazów ciągu x(n+1) = k·x(n)·(1 − x(n)), od wyrazu początkowego x0: białe kropki "
     "co 10 pikseli w poziomie; wartość 0 leży na środkowym wierszu okna, wartość 1 – 100 pikseli "
     "wyżej. Steruje mysz (na stronie: kliknięcie albo przeciągnięcie, palec, strzałki i pola "
     "parametrów): wskaźnik wyżej to większe x0, od prawie 0 przy dolnej krawędzi do 1 przy górnej, a "
     "wskaźnik dalej w prawo to większy parametr k, od 0 przy lewej krawędzi do prawie 4 przy prawej. "
     "Napis w rogu podaje x0 i k.",
     kSteeredByMouse, [](const FrameInputs& in) { drawLogisticMapAt(in.mouse.x, in.mouse.y); },
     kLogisticParameters, static_cast<int>(std::size(kLogisticParameters))},
    {"3", "3 - Diagram bifurkacyjny odwzorowania logistycznego",
     "Diagram bifurkacyjny ciągu x(n+1) = r·x(n)·(1 − x(n)) dla 1200 wartości parametru r, od −2 "
     "do prawie 4 co 0,005, po jednej kolumnie na wartość. W każdej kolumnie ciąg zaczyna się od "
     "x(0) = 0,5, a białe kropki to jego wyrazy od x(257) do x(511): widać punkty stałe, cykle "
     "i chaos. Wartość 1 leży 300 pikseli nad wartością 0. To obraz nieruchomy: nie zmienia go ani "
     "zegar, ani mysz.",
     kSteeredByNothing, [](const FrameInputs&) { drawBifurcation(); }, nullptr, 0},
    {"4", "4 - Funkcja kwadratowa",
     "Żółty wykres funkcji y = a·x² + b·x na białych osiach z podziałką co jednostkę, czyli co 40 "
     "pikseli; początek układu jest na środku okna. Zawsze c = 0, więc wykres przechodzi przez "
     "początek układu. Steruje mysz (na stronie: kliknięcie albo przeciągnięcie, palec, strzałki i "
     "pola parametrów): wysokość wskaźnika ustala współczynnik a, od około −1,8 przy dolnej krawędzi "
     "do 1,8 przy górnej. Wskaźnik nad środkiem okna daje a > 0 i ramiona paraboli skierowane w górę, "
     "pod środkiem a < 0 i ramiona w dół, na wysokości środka a = 0 i wykres jest prostą y = b·x. "
     "Położenie wskaźnika w poziomie ustala b, od −16 do prawie 16: b jest równe pierwszej "
     "współrzędnej wskaźnika w jednostkach podziałki. Napis w rogu podaje a, b i c = 0.",
     kSteeredByMouse, [](const FrameInputs& in) { drawQuadraticAt(in.mouse.x, in.mouse.y); },
     kQuadraticParameters, static_cast<int>(std::size(kQuadraticParameters))},
    {"5", "5 - Spirala Ulama",
     "Spirala Ulama: liczby od 1 do 500 000, po jednym pikselu, ułożone od środka okna po "
     "kwadratowej spirali przeciwnie do ruchu wskazówek zegara (1 krok w prawo, 1 w górę, 2 "
     "w lewo, 2 w dół, 3 w prawo…). Liczby pierwsze są białe, to 41 538 pikseli; pozostałe "
     "liczby, także 1, są czarne. Przy każdej narysowanej klatce konsola wypisuje „Prosze "
     "czekac...”. To obraz nieruchomy: nie zmienia go ani zegar, ani mysz.",
     kSteeredByNothing, [](const FrameInputs&) { drawUlamSpiral(); }, nullptr, 0},
    {"6", "6 - Rotacja figury",
     "Biały obrys prostokąta 200 × 100 pikseli obraca się wokół środka okna zgodnie z ruchem "
     "wskazówek zegara; w chwili 0 dłuższe boki są poziome. Steruje zegar: 1 obrót (2π) w około "
     "2,3 s, czyli 1 radian co 360 ms.",
     kSteeredByClock, [](const FrameInputs& in) { drawRotation(phaseFromTicks(in.ticks, kRotationWrap)); },
     kRotationParameters, static_cast<int>(std::size(kRotationParameters))},
    {"7", "7 - Graficzne przedstawienie sinusa i cosinusa",
     "Okrąg jednostkowy i punkt, który wyrusza z najwyższego punktu okręgu i obiega go zgodnie "
     "z ruchem wskazówek zegara: po obrocie o kąt φ ma współrzędne (sin φ, cos φ), bo kąt liczy "
     "się od pionu, jak na tarczy zegara. Wysokość punktu nad środkiem to cosinus, przesunięcie w prawo to sinus. "
     "Czerwona linia przenosi wysokość punktu do wykresu cosinusa u góry, niebieskie linie "
     "przenoszą przesunięcie w bok, przez ukośną linię pod kątem 45°, do wykresu sinusa u dołu. "
     "Oba wykresy są białe, od kąta 0 do φ, 30 pikseli na radian. Napisy podają kąt w bieżącym "
     "obrocie w stopniach i radianach, cos φ i sin φ. Steruje zegar: 3 obroty, od 0 do 6π, "
     "w około 6,8 s, potem wykresy zaczynają się od nowa.",
     kSteeredByClock, [](const FrameInputs& in) { drawSineCosine(phaseFromTicks(in.ticks, kUnitCircleWrap)); },
     kUnitCircleParameters, static_cast<int>(std::size(kUnitCircleParameters))},
    {"8", "8 - Przesuniecie fazowe",
     "Trzy promienie okręgu jednostkowego obracają się razem przeciwnie do ruchu wskazówek zegara, "
     "odwrotnie niż punkt w obrazie 7: czerwony pod kątem φ (na początku w prawo), zielony pod "
     "kątem φ + 2π/3, niebieski pod kątem φ + 4π/3, co 120°. Koniec promienia pod kątem α stoi "
     "w punkcie (cos α, sin α), więc jego wysokość nad środkiem to sin α. Po prawej trzy białe "
     "sinusoidy y = sin t, y = sin(t + 2π/3) i y = sin(t + 4π/3), o fazach 0, 2π/3 i 4π/3, "
     "od t = 0 do φ, 30 pikseli na radian; pozioma linia w kolorze promienia łączy jego koniec "
     "z końcem jego sinusoidy. Szare linie to poziomy 1, 0 i −1. Steruje zegar: 3 obroty w około "
     "6,8 s, w tym samym tempie co w obrazie 7.",
     kSteeredByClock, [](const FrameInputs& in) { drawPhaseShift(phaseFromTicks(in.ticks, kUnitCircleWrap)); },
     kUnitCircleParameters, static_cast<int>(std::size(kUnitCircleParameters))},
    {"9", "9 - Liczby pierwsze graf",
     "Wykres dzielników liczb od 1 do 1280: kolumna na liczbę n, od lewej, i wiersz na dzielnik d "
     "od 1 do 500, od góry; biała kropka, gdy d dzieli n. Dzielników większych od 500 nie ma, więc "
     "liczba większa od 500 nie ma kropki dla samej siebie. Ciemnoczerwony słupek stoi w kolumnie "
     "każdej liczby pierwszej n i biegnie od wiersza d = 0, tuż nad białą linią dzielnika 1, do "
     "wiersza d = n − 1, więc nie ma na sobie białej kropki poza d = 1. Niebieska kropka stoi "
     "w kolumnie każdej liczby, której nie dzieli żadna liczba od 2 do jej połowy: każdej liczby "
     "pierwszej, ale też 1, więc niebieskie kropki liczą także 1. Kropka liczby 1 stoi w wierszu "
     "d = 0, a kropka liczby pierwszej n w wierszu d równym liczbie liczb pierwszych od 1 do n, na "
     "przykład dla 7 w wierszu 4 (2, 3, 5, 7). Kropka liczby 2 wypada w wierszu d = 1, na białej "
     "linii dzielnika 1, i jej nie widać. To obraz nieruchomy: nie zmienia go ani zegar, ani mysz.",
     kSteeredByNothing, [](const FrameInputs&) { drawPrimeGraph(); }, nullptr, 0},
    {"10", "10 - Obliczony sinus",
     "Wielomian Taylora sinusa, suma x − x³/3! + x⁵/5! − …, jako biały wykres dla x od 0 do 6,4: 200 "
     "pikseli na jednostkę w poziomie, 100 w pionie. Napis „precyzja” liczy składniki po pierwszym x, "
     "więc suma ma o 1 składnik więcej: przy precyzji 1 to x − x³/3!, przy precyzji 10 ma 11 "
     "składników, do x²¹/21!. Sinusa dla porównania obraz nie rysuje: przy małej precyzji wykres "
     "szybko ucieka z okna, przy precyzji 10 pokrywa się z wykresem sinusa na całej szerokości. "
     "Steruje mysz (na stronie: kliknięcie albo przeciągnięcie, palec, strzałki i pola parametrów): "
     "położenie wskaźnika w poziomie ustala precyzję, od 1 przy lewej krawędzi do 10 przy prawej, o 1 "
     "więcej co 128 pikseli.",
     kSteeredByMouse, [](const FrameInputs& in) { drawComputedSineAt(in.mouse.x); },
     kTaylorParameters, static_cast<int>(std::size(kTaylorParameters))},
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
