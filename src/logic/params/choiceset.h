#pragma once

// Texts a choice cell shows for the stored values 0, 1, 2 and writes for the digits 0, 1, 2
// (nullptr: none; digit n stands for the value n), the key panel that offers them, and which
// shown states Enter takes as they are (bit n: the state of value n).
struct ChoiceSet
{
    const char *shown[3];
    const char *typed[3];
    int panel;
    unsigned char confirmable;
};
