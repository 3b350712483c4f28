// The pictures' descriptions, in the order of kMenuItems. Each names what steers the picture in
// the words the page's readers expect: "Steruje zegar", "Steruje mysz" or "obraz nieruchomy".
#include "menu/descriptions.h"

const char* const kPictureDescriptions[kMenuItemCount] = {
    "Sinus (czerwony), cosinus (zielony) i tangens (niebieski) na jednej osi, z ich częstotliwością "
    "w hercach. Steruje zegar: częstotliwość rośnie od 0 do 20 co cztery sekundy, więc w oknie "
    "mieści się coraz więcej okresów.",
    "Pierwsze 128 wyrazów ciągu logistycznego x(n+1) = k·x(n)·(1 − x(n)), po jednej kropce co 10 "
    "pikseli. Steruje mysz (na stronie także palec i strzałki): w górę rośnie wartość początkowa x0, "
    "w prawo współczynnik k od 0 do 4.",
    "Diagram bifurkacyjny odwzorowania logistycznego dla współczynników od −2 do 4: punkty stałe, "
    "cykle i chaos. Nic nim nie steruje, to obraz nieruchomy.",
    "Parabola y = a·x² + b·x na osiach z podziałką co jednostkę, z wartościami a i b. Steruje mysz "
    "(na stronie także palec i strzałki): jej wysokość ustala a (w górze ramiona paraboli idą do "
    "góry), położenie w poziomie ustala b.",
    "Spirala Ulama: liczby od 1 do 500000 wzdłuż kwadratowej spirali, liczby pierwsze na biało. "
    "Konsola pisze „Prosze czekac...” przy każdej klatce. Nic nią nie steruje, to obraz nieruchomy.",
    "Prostokąt 200 na 100 obracający się wokół środka okna. Steruje zegar: jeden obrót w około "
    "2,3 s.",
    "Punkt na okręgu jednostkowym, jego rzuty oraz krzywe cosinusa i sinusa, które kreślą, z kątem, "
    "cosinusem i sinusem w liczbach. Steruje zegar: trzy obroty w około 6,8 s, potem od początku.",
    "Trzy sinusoidy przesunięte względem siebie o jedną trzecią obrotu, z ich promieniami na okręgu "
    "jednostkowym. Steruje zegar, jak w obrazie 7.",
    "Dzielniki liczb od 1 do 1280 (biała kropka dla każdego), liczby pierwsze zaznaczone "
    "ciemnoczerwonym słupkiem i niebieskim licznikiem. Nic nim nie steruje, to obraz nieruchomy.",
    "Sinus złożony z szeregu Taylora, x − x³/3! + x⁵/5! − ..., i liczba użytych wyrazów. Steruje "
    "mysz (na stronie także palec i strzałki): od 1 wyrazu przy lewej krawędzi do 10 przy prawej; "
    "wielomian przylega do sinusa coraz dalej.",
};
