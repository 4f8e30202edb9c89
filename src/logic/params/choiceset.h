#pragma once

// Texts a choice cell shows for the stored values 0, 1, 2 and writes for the digits 0, 1, 2
// (nullptr: none), and the key panel that offers them.
struct ChoiceSet
{
    const char *shown[3];
    const char *typed[3];
    int panel;
};
