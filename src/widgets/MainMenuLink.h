#pragma once

#include <functional>

// The editors hand the screen back to the main menu when they close. The main menu lives in the
// app, above them, so the app says here how it is shown.
namespace MainMenuLink {

void setShow(std::function<void()> show);
// Shows the main menu (creating it when it does not exist yet); nothing before the app has said
// how.
void show();

} // namespace MainMenuLink
