#pragma once

// The panel's buzzer: opened once at start, then every handled key sounds a short beep that
// holds the GUI thread for its length. Silent and instant while the device is not open, or
// where the program made none (the application's BuzzerDevice).
constexpr int kKeyBeepMs = 20;

void initBuzzer(); // opens the device and sounds one 1000 ms beep
void buzzer(int ms);
