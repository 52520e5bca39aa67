// The game: owns everything a match needs and runs start-up, the front end and the matches.
#pragma once

#include "core/Singleton.h"

#include <SDL.h>

#include <array>
#include <memory>

class Info;
class MainWindow;
class Window;
namespace MSDL {
class InputBase;
class JoystickMgr;
}  // namespace MSDL

class Game : public Singleton<Game> {
public:
    // Makes the joystick manager; touches no SDL: start-up is init()'s.
    Game();
    ~Game() override;

    // Starts SDL, opens the window (stretched when a "screen" file asks), loads the images.
    void init();
    // 0 when a match is to be played, non-zero when the program is to end.
    int menu();
    // One match: 0 to go back to the menu, non-zero to end the program.
    int play();
    // Clean-up after a match that went back to the menu.
    void reset();

    std::unique_ptr<MainWindow> window;

    std::unique_ptr<Window> ballImage;
    std::array<std::unique_ptr<Window>, 2> haloImages;
    std::array<std::unique_ptr<Window>, 2> enemyImages;
    std::array<std::unique_ptr<Window>, 2> firingBulletImages;
    std::array<std::unique_ptr<Window>, 2> plainBulletImages;
    std::array<std::unique_ptr<Window>, 2> shotImages;
    std::array<std::unique_ptr<Window>, 2> dyeImages;
    std::array<std::unique_ptr<Window>, 2> playerImages;
    std::array<std::unique_ptr<Window>, 2> lifeIcons;

    // The game clock: only the frame clock writes these; every object reads them.
    double frameSeconds = 0.0;
    int frameCount = 0;
    Uint32 lastTicks = 0;
    Uint32 startTicks = 0;
    bool matchOver = false;
    bool quitRequested = false;

    // The first from "1Pkey.conf"; the second is made for each match by the front end.
    std::array<std::unique_ptr<MSDL::InputBase>, 2> inputs;
    std::unique_ptr<Info> info;
    // Outlives the inputs, whose joystick sources it owns.
    std::unique_ptr<MSDL::JoystickMgr> joysticks;

private:
    void openWindow();
    void loadImages();
};
