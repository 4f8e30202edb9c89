#pragma once

// The font configuration, made ready before the toolkit asks for its first font.
class FontConfiguration
{
public:
    // Loads the configuration fontconfig itself would (FONTCONFIG_FILE, else the system's) and
    // makes it the current one. Started by the toolkit instead, fontconfig also parses every rule
    // template the distribution ships, only to be able to list them, applying none: half the
    // instructions a bare window spends starting. False, with fontconfig left to start itself,
    // when the configuration cannot be read or names no cache folder.
    static bool load();
};
