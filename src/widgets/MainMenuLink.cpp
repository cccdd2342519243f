#include "widgets/MainMenuLink.h"

namespace MainMenuLink {
namespace {

std::function<void()>& shower() {
    static std::function<void()> show;
    return show;
}

} // namespace

void setShow(std::function<void()> show) {
    shower() = std::move(show);
}

void show() {
    if (shower())
        shower()();
}

} // namespace MainMenuLink
