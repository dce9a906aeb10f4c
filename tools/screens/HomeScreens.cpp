#include "ScreenGallery.h"
#include "Views/Home/HomeViewController.h"

namespace keyloom {

void renderHomeWindow(ScreenContext& ctx) {
    ctx.save(ctx.home()->window(), "home");
}

}  // namespace keyloom
