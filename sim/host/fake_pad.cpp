// The stand-in game's game pad: the natives that ask which input is in use and read the disabled
// controls, answered from the pad as it was sampled at the start of the frame.
#include <cstring>

#include "fake_host.h"
#include "game_names.h"

namespace fakehost {

namespace {

PadInput sampled;
PadInput before;

bool IsControl(uint32_t hash, const char* name) {
    return hash == fakegame::NameHash(name);
}

bool IsDown(const PadInput& pad, uint32_t hash) {
    return (IsControl(hash, pad.wheelControl) && pad.wheelButton) ||
           (IsControl(hash, "INPUT_FRONTEND_ACCEPT") && pad.accept) ||
           (IsControl(hash, "INPUT_FRONTEND_CANCEL") && pad.cancel) ||
           (IsControl(hash, "INPUT_FRONTEND_LB") && pad.leftBumper) ||
           (IsControl(hash, "INPUT_FRONTEND_RB") && pad.rightBumper);
}

uint64_t FloatSlot(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

void SamplePad(const PadInput& pad) {
    before = sampled;
    sampled = pad;
}

void ResetPad() {
    sampled = PadInput{};
    before = PadInput{};
}

bool AnswerPad(uint64_t hash, const std::vector<uint64_t>& args, uint64_t* result) {
    const uint32_t control = args.size() > 1 ? static_cast<uint32_t>(args[1]) : 0;
    switch (hash) {
        case fakegame::kIsUsingKeyboardAndMouse:
            *result = !sampled.inUse;
            return true;
        case fakegame::kIsDisabledControlPressed:
            *result = IsDown(sampled, control);
            return true;
        case fakegame::kIsDisabledControlJustPressed:
            *result = IsDown(sampled, control) && !IsDown(before, control);
            return true;
        case fakegame::kGetDisabledControlNormal:
            *result = IsControl(control, "INPUT_LOOK_LR")   ? FloatSlot(sampled.stickX)
                      : IsControl(control, "INPUT_LOOK_UD") ? FloatSlot(sampled.stickY)
                                                            : 0;
            return true;
        default:
            return false;
    }
}

}  // namespace fakehost
