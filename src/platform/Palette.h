#pragma once
#include <QColor>

// The fixed sixteen-colour palette of panes, labels and indicators.
inline QColor PaletteColour(int n)
{
    static const QColor table[16] = {
        {0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128},
        {128, 0, 0},     {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
        {128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
        {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};
    return table[(n % 16 + 16) % 16];
}
