// dispatch_event: keyboard, text, mouse and controller events.
#include "frame.h"
#include "state.h"

void dispatch_event(const SDL_Event *) {}
