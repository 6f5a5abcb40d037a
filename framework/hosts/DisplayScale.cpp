#include "framework/hosts/DisplayScale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace folio {

namespace {

// The whole of Text as a number; false for anything else.
bool ParseNumber(const char* Text, double& Value) {
    if (!Text || !*Text) return false;
    char* End = nullptr;
    Value = std::strtod(Text, &End);
    while (End && (*End == ' ' || *End == '\t')) ++End;
    return End != Text && End && (*End == '\0' || *End == '\n') && std::isfinite(Value);
}

} // namespace

int PixelsPerInchFromScale(const char* Text) {
    double Factor = 0;
    if (!ParseNumber(Text, Factor) || Factor < 0.5 || Factor > 8) return 0;
    return static_cast<int>(std::lround(96 * Factor));
}

int PixelsPerInchFromResources(const char* Resources) {
    if (!Resources) return 0;
    static const char Key[] = "Xft.dpi";
    for (const char* Line = Resources; *Line;) {
        const char* Next = std::strchr(Line, '\n');
        if (std::strncmp(Line, Key, sizeof Key - 1) == 0) {
            const char* P = Line + sizeof Key - 1;
            while (*P == ' ' || *P == '\t') ++P;
            if (*P == ':') {
                ++P;
                while (*P == ' ' || *P == '\t') ++P;
                double Dpi = 0;
                if (ParseNumber(P, Dpi) && Dpi >= 48 && Dpi <= 768)
                    return static_cast<int>(std::lround(Dpi));
                return 0;
            }
        }
        if (!Next) break;
        Line = Next + 1;
    }
    return 0;
}

int PixelsPerInchFromDisplayDpi(float Dpi) {
    if (!std::isfinite(Dpi) || Dpi <= 0) return 0;
    if (Dpi < 120) return 96;
    const long Steps = std::lround(Dpi / 24.0);
    return static_cast<int>(std::min(Steps, 32L) * 24);
}

int PixelsPerInchFromEnvironment() {
    return PixelsPerInchFromScale(std::getenv("FOLIO_SCALE"));
}

} // namespace folio
