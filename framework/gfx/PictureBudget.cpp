#include "framework/gfx/PictureBudget.h"

#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"

#include <atomic>

namespace folio {

namespace {

std::atomic<long long> PictureBudget{DefaultPicturePixelBudget};
std::atomic<long long> LoadBudget{DefaultLoadPixelBudget};

thread_local TPictureLoadScope* OpenLoad = nullptr;
thread_local int TrustedScopes = 0;

void CheckBudget(long long Pixels, const char* Name) {
    if (Pixels < 1)
        throw ERangeError(Format(
            "A %s budget of %lld pixels is not possible; it must be at least 1", Name, Pixels));
}

} // namespace

long long GetPicturePixelBudget() {
    return PictureBudget.load();
}

void SetPicturePixelBudget(long long Pixels) {
    CheckBudget(Pixels, "picture");
    PictureBudget.store(Pixels);
}

long long GetLoadPixelBudget() {
    return LoadBudget.load();
}

void SetLoadPixelBudget(long long Pixels) {
    CheckBudget(Pixels, "load");
    LoadBudget.store(Pixels);
}

TPictureLoadScope::TPictureLoadScope() : FOuter(OpenLoad) {
    if (!FOuter) OpenLoad = this;
}

TPictureLoadScope::~TPictureLoadScope() {
    if (!FOuter) OpenLoad = nullptr;
}

TTrustedPictureScope::TTrustedPictureScope() {
    ++TrustedScopes;
}

TTrustedPictureScope::~TTrustedPictureScope() {
    --TrustedScopes;
}

void ChargePictureBudget(const char* What, long long Width, long long Height) {
    if (TrustedScopes > 0) return;
    const long long Pixels = Width * Height;
    const long long PerPicture = PictureBudget.load();
    if (Pixels > PerPicture)
        throw EInvalidGraphic(Format("The %s of %lld x %lld pixels is refused: a picture may have "
                                     "at most %lld pixels (see SetPicturePixelBudget)",
                                     What, Width, Height, PerPicture));
    TPictureLoadScope* Load = OpenLoad;
    if (!Load) return;
    const long long PerLoad = LoadBudget.load();
    if (Pixels > PerLoad - Load->FSpent)
        throw EInvalidGraphic(Format("The %s of %lld x %lld pixels is refused: the pictures of one "
                                     "load may have at most %lld pixels together, and %lld are "
                                     "taken (see SetLoadPixelBudget)",
                                     What, Width, Height, PerLoad, Load->FSpent));
    Load->FSpent += Pixels;
}

} // namespace folio
