// Links into the page: "#answer=4" opens picture 4 live; "#answer=4&mouse=720,240&ticks=1234"
// shows that one frame, frozen, as the exporter draws it.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

struct PageLink {
    std::string answer;     // the menu answer; empty for the menu itself
    bool frozen = false;    // mouse or ticks given: one still frame
    std::uint32_t ticks = 0;
    SDL_Point mouse{0, 0};
};

// Reads what follows '#' in the page address (the '#' itself may be left on). An empty fragment
// is the menu. Returns "" for a good link, otherwise the message the page shows; link is only
// filled in for a good one.
std::string readPageLink(const std::string& fragment, PageLink& link);

// The link that shows link.answer frozen at link.ticks and link.mouse, without the '#': the
// answer escaped where an address needs it, so readPageLink reads back the same.
std::string frozenLink(const PageLink& link);
