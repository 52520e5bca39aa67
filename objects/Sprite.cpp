// Drawing a field object's picture.
#include "objects/Sprite.h"

#include "display/Window.h"

void Sprite::draw(Window& target, const Point& at, Uint32 now) const {
    if (!isVisible(now)) return;
    image->setAlpha(alphaFlags, SDL_ALPHA_OPAQUE);
    target.blit(*image, at);
}
