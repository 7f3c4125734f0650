#include "pad_input.h"

namespace sim {

namespace {

constexpr int kStickMoved = 16000;  // about half the stick's reach

bool KeyHeld(const Uint8* keys, SDL_Keycode key) {
    return keys[SDL_GetScancodeFromKey(key)] != 0;
}

bool Button(const PadDevice& device, SDL_GameControllerButton button) {
    return device.controller != nullptr && SDL_GameControllerGetButton(device.controller, button) != 0;
}

float Axis(const PadDevice& device, SDL_GameControllerAxis axis) {
    if (device.controller == nullptr) {
        return 0.0f;
    }
    const float value = static_cast<float>(SDL_GameControllerGetAxis(device.controller, axis)) / 32767.0f;
    return value < -1.0f ? -1.0f : value;
}

}  // namespace

bool HandlePadEvent(const SDL_Event& event, PadDevice& device, fakehost::PadInput& scripted) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            if (device.controller == nullptr) {
                device.controller = SDL_GameControllerOpen(event.cdevice.which);
            }
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            if (device.controller != nullptr &&
                SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(device.controller)) == event.cdevice.which) {
                ClosePad(device);
            }
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
            scripted.inUse = true;
            return true;
        case SDL_CONTROLLERAXISMOTION:
            if (event.caxis.value > kStickMoved || event.caxis.value < -kStickMoved) {
                scripted.inUse = true;
            }
            return true;
        case SDL_KEYDOWN:
            if (event.key.keysym.sym == SDLK_g && event.key.repeat == 0) {
                scripted.inUse = !scripted.inUse;
                return true;
            }
            return false;
        default:
            return false;
    }
}

void ClosePad(PadDevice& device) {
    if (device.controller != nullptr) {
        SDL_GameControllerClose(device.controller);
        device.controller = nullptr;
    }
}

fakehost::PadInput ReadPad(const PadDevice& device, const Uint8* keys, const fakehost::PadInput& scripted) {
    fakehost::PadInput pad = scripted;
    pad.wheelButton = scripted.wheelButton || KeyHeld(keys, SDLK_h) || Button(device, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    pad.accept = scripted.accept || KeyHeld(keys, SDLK_z) || Button(device, SDL_CONTROLLER_BUTTON_A);
    pad.cancel = scripted.cancel || KeyHeld(keys, SDLK_x) || Button(device, SDL_CONTROLLER_BUTTON_B);
    pad.leftBumper = scripted.leftBumper || KeyHeld(keys, SDLK_LEFTBRACKET) ||
                     Button(device, SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    pad.rightBumper = scripted.rightBumper || KeyHeld(keys, SDLK_RIGHTBRACKET) ||
                      Button(device, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    const float keyX = (KeyHeld(keys, SDLK_RIGHT) ? 1.0f : 0.0f) - (KeyHeld(keys, SDLK_LEFT) ? 1.0f : 0.0f);
    const float keyY = (KeyHeld(keys, SDLK_DOWN) ? 1.0f : 0.0f) - (KeyHeld(keys, SDLK_UP) ? 1.0f : 0.0f);
    const float realX = Axis(device, SDL_CONTROLLER_AXIS_RIGHTX);
    const float realY = Axis(device, SDL_CONTROLLER_AXIS_RIGHTY);
    if (keyX != 0.0f || keyY != 0.0f) {
        pad.stickX = keyX;
        pad.stickY = keyY;
    } else if (realX * realX + realY * realY > scripted.stickX * scripted.stickX + scripted.stickY * scripted.stickY) {
        pad.stickX = realX;
        pad.stickY = realY;
    }
    return pad;
}

}  // namespace sim
