#pragma once

// Display texts of every field of one program row, in fixed buffers (no allocation).
struct CntRowTexts
{
    struct Block
    {
        char pat_line[6];
        char select_a[17];
        char select_h[17];
        char a_text[8];
        char h_text[8];
    };
    Block block[4];
    char mouth[2][17];
    char density_group[4];
    char speed_group[4];
    char rora_main[4];
    char rora_aux[4];
    char rora_open[4];
    char bed[4];
    char mouth_park[4];
    char pic_line[2][6];
    char end_flag[4];
    char back_to[7];    // back_line + 1, the row the operator sees
    char loop_count[4];
};
