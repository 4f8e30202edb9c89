#include "paradefaults.h"

#include "protocol.h"

namespace {

struct SystemDefault
{
    unsigned short first, last;  // word range, inclusive
    unsigned short value[3];     // by cam-board type
};

// Words 0-137 and 186-201; the 138-185 triples are filled separately.
const SystemDefault kSystem[] = {
    {0, 0, {1, 1, 1}},         {1, 1, {90, 100, 90}},     {2, 2, {60, 60, 60}},
    {3, 3, {20, 30, 20}},      {4, 4, {12, 15, 12}},      {5, 5, {1200, 1200, 1200}},
    {6, 6, {10, 10, 10}},      {7, 7, {70, 60, 70}},      {8, 8, {1, 1, 1}},
    {9, 9, {30, 10, 30}},      {10, 10, {3, 1, 3}},       {11, 11, {25, 20, 25}},
    {12, 12, {300, 200, 220}}, {17, 17, {300, 200, 220}},
    {13, 13, {550, 200, 100}}, {15, 15, {550, 200, 100}}, {19, 19, {550, 200, 100}}, {21, 21, {550, 200, 100}},
    {14, 14, {50, 200, 340}},  {16, 16, {50, 200, 340}},  {18, 18, {50, 200, 340}},  {20, 20, {50, 200, 340}},
    {22, 22, {1, 1, 1}},       {23, 23, {20, 20, 20}},    {24, 24, {255, 255, 255}},
    {25, 27, {0, 0, 0}},       {28, 28, {2, 2, 2}},       {29, 29, {0, 0, 0}},
    {30, 30, {686, 623, 727}}, {31, 31, {643, 579, 669}}, {32, 32, {635, 560, 657}},
    {33, 33, {571, 573, 573}}, {34, 34, {563, 560, 560}}, {35, 35, {1306, 1274, 1384}},
    {36, 36, {437, 494, 466}}, {37, 37, {20710, 22039, 23800}},
    {38, 39, {500, 500, 500}}, {40, 40, {40, 30, 50}},    {41, 41, {5, 10, 5}},
    {42, 43, {7, 7, 7}},       {44, 44, {4, 4, 4}},       {45, 46, {6, 6, 6}},
    {47, 47, {1, 2, 1}},       {49, 49, {1, 2, 1}},       {48, 48, {2, 2, 2}},
    {50, 50, {500, 500, 500}}, {51, 51, {40, 100, 80}},   {52, 52, {60, 100, 80}},
    {53, 53, {30, 30, 80}},    {54, 54, {0, 1, 0}},       {55, 55, {1000, 2000, 2000}},
    {56, 56, {2500, 2000, 2000}}, {57, 57, {12, 12, 12}}, {58, 58, {624, 624, 636}},
    {59, 59, {23, 23, 23}},    {60, 75, {500, 500, 500}}, {76, 83, {0, 0, 0}},
    {84, 137, {1000, 1000, 1000}}, {186, 201, {0, 0, 0}},
};

} // namespace

void ParaDefaults::buildSystem(ParamBlock<kSystemSize> &block, int camType)
{
    const int t = camType >= 0 && camType <= 2 ? camType : 0;
    block.clear();
    for (const SystemDefault &d : kSystem) {
        for (unsigned w = d.first; w <= d.last; ++w)
            block.setWord(w, d.value[t]);
    }
    // 16 triples (100, 0, 0) from word 138.
    for (unsigned w = 138; w <= 185; ++w)
        block.setWord(w, (w - 138) % 3 == 0 ? 100 : 0);
}

void ParaDefaults::buildWork(ParamBlock<kWorkSize> &block)
{
    block.clear();
    for (unsigned w = 0; w <= 239; ++w)
        block.setWord(w, w >= 176 && w <= 191 ? 10 : 180);
    for (unsigned w = 240; w <= 359; ++w)
        block.setWord(w, w == 292 || w == 322 || w == 352 ? 1 : 40);
    for (unsigned w = 360; w <= 487; ++w)
        block.setWord(w, static_cast<unsigned short>(8 + 2 * ((w - 360) % 8)));
    for (unsigned w = 488; w <= 495; ++w)
        block.setWord(w, 8);
    for (unsigned w = 504; w <= 695; ++w)
        block.setWord(w, 8);
    for (unsigned w = 696; w <= 775; ++w)
        block.setWord(w, static_cast<unsigned short>(1 + (w - 696) % 8));
    block.setWord(Protocol::JobStartNeedleWord, 1);
}

void ParaDefaults::buildMouthSpeed(ParamBlock<kMouthSpeedSize> &block)
{
    block.clear();
    for (unsigned w = 64; w <= 383; ++w)
        block.setWord(w, 100);
}
