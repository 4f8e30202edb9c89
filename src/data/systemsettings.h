#pragma once

#include <vector>

// The needle-bed width (the system block's word 58) as the upper bound of a setting.
constexpr int kBedWidth = -1;

// The system block described once, setting by setting: the words each fills, its factory
// default by cam-board type and, where a page shows it, what the operator may enter there.
// The factory defaults and the cells of the running, system and frequent-settings pages are
// all made from it.
class SystemSettings
{
public:
    // How the operator enters a setting; None: no page shows it, it is a default alone.
    enum class Entry : unsigned char { None, Number, Signed, OnOff, Lock, Taught, Belt };

    struct Setting
    {
        unsigned short first, last; // words, inclusive
        unsigned short value[3];    // by cam-board type
        Entry entry = Entry::None;
        int min = 0, max = 0; // as shown; max may be kBedWidth
        // Written in Chinese, marked in the "ParamCell" context.
        const char *label = nullptr;
        const char *help = nullptr;
        const char *question = nullptr; // taught and belt settings: the value as %1
    };

    // Every setting, by word; no word is in two.
    static const std::vector<Setting> &all();
    // The setting a page shows at word; null when there is none.
    static const Setting *shown(int word);
    // camType: the controller configuration's field 3, 0 standard, 1 and 2 the two special cam
    // boards; any other counts as 0.
    static unsigned short factoryValue(const Setting &setting, int camType);
};
