// The wine host's pad scenario (pad_wine.cpp).
#pragma once

// pad: the wheel on a game pad with controller = True, then with the setting off.
void PadWheel();
