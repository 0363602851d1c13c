#include "fx/trig.h"

#include <cmath>
#include <numbers>

float SinTable[361];
float CosTable[361];

void Trig_Init() {
    for (int d = 0; d <= 360; ++d) {
        const double r = d * std::numbers::pi / 180.0;
        SinTable[d] = static_cast<float>(std::sin(r));
        CosTable[d] = static_cast<float>(std::cos(r));
    }
}

namespace {

int Trig_Index(int deg) {
    deg %= 360;
    return deg < 0 ? deg + 360 : deg;
}

} // namespace

float Trig_Sin(int deg) {
    return SinTable[Trig_Index(deg)];
}

float Trig_Cos(int deg) {
    return CosTable[Trig_Index(deg)];
}
