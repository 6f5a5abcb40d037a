#include "framework/gfx/ImageList.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Filer.h"
#include "framework/core/Resources.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"

#include <algorithm>

namespace folio {

// --- TChangeLink -----------------------------------------------------------

FOLIO_DEFINE_CLASS(TChangeLink, TObject)

TChangeLink::~TChangeLink() {
    if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
    if (OnChange) OnChange(FSender);
}

// --- TImageList ------------------------------------------------------------

const TClassInfo& TImageList::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TImageList>("TImageList", &TComponent::StaticClassInfo())
            .Int("Height", &TImageList::GetHeight, &TImageList::SetHeight, 16)
            .Int("Width", &TImageList::GetWidth, &TImageList::SetWidth, 16)
            .Event("OnChange", &TImageList::OnChange)
            .Creatable()
            .Build();
    return Info;
}

FOLIO_REGISTER_CLASS(TImageList)

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}

TImageList::~TImageList() {
    // Holders keep their links; they only lose the list.
    for (TChangeLink* Link : FLinks) Link->FSender = nullptr;
    FLinks.clear();
}

void TImageList::Change() {
    // A handler may unregister links (or free them): walk a copy and skip
    // links that are gone by the time their turn comes.
    const std::vector<TChangeLink*> Links = FLinks;
    for (TChangeLink* Link : Links)
        if (std::find(FLinks.begin(), FLinks.end(), Link) != FLinks.end()) Link->Change();
    if (OnChange) OnChange(this);
}

void TImageList::RegisterChanges(TChangeLink* Value) {
    if (!Value || Value->FSender == this) return;
    if (Value->FSender) Value->FSender->UnRegisterChanges(Value);
    Value->FSender = this;
    FLinks.push_back(Value);
}

void TImageList::UnRegisterChanges(TChangeLink* Value) {
    auto It = std::find(FLinks.begin(), FLinks.end(), Value);
    if (It == FLinks.end()) return;
    FLinks.erase(It);
    Value->FSender = nullptr;
}

void TImageList::SetWidth(int Value) {
    if (Value == FWidth) return;
    if (Value < 1 || Value > MaxBitmapDimension)
        throw EInvalidOperation(Format("Invalid image width %d", Value));
    FWidth = Value;
    FImages.clear();
    Change();
}

void TImageList::SetHeight(int Value) {
    if (Value == FHeight) return;
    if (Value < 1 || Value > MaxBitmapDimension)
        throw EInvalidOperation(Format("Invalid image height %d", Value));
    FHeight = Value;
    FImages.clear();
    Change();
}

int TImageList::AddImages(const TBitmap* Image, const TBitmap* Mask, bool UseColor,
                          TColor MaskColor) {
    if (!Image || Image->GetEmpty()) return -1;
    const int Count = std::max(1, Image->GetWidth() / FWidth);
    TPixel Transparent = 0;
    bool HasTransparent = false;
    if (UseColor && MaskColor != clNone) {
        HasTransparent = true;
        Transparent = MaskColor == clDefault
                          ? Image->ScanLine(Image->GetHeight() - 1)[0] & 0x00FFFFFFu
                          : RgbToPixel(ColorToRGB(MaskColor)) & 0x00FFFFFFu;
    }
    const int First = GetCount();
    const size_t Size = static_cast<size_t>(FWidth) * FHeight;
    for (int N = 0; N < Count; ++N) {
        // Parts of the picture beyond the source bitmap stay transparent.
        TImage Item{std::vector<TPixel>(Size, 0xFF000000u), std::vector<std::uint8_t>(Size, 0)};
        const int X0 = N * FWidth;
        const int W = std::min(FWidth, Image->GetWidth() - X0);
        const int H = std::min(FHeight, Image->GetHeight());
        for (int Y = 0; Y < H; ++Y) {
            const TPixel* Src = Image->ScanLine(Y) + X0;
            const TPixel* MaskRow = Mask && Y < Mask->GetHeight() ? Mask->ScanLine(Y) : nullptr;
            for (int X = 0; X < W; ++X) {
                const size_t At = static_cast<size_t>(Y) * FWidth + X;
                Item.Pixels[At] = Src[X] | 0xFF000000u;
                bool Opaque = true;
                if (HasTransparent)
                    Opaque = (Src[X] & 0x00FFFFFFu) != Transparent;
                else if (MaskRow && X0 + X < Mask->GetWidth())
                    Opaque = (MaskRow[X0 + X] & 0x00FFFFFFu) == 0;
                Item.Opaque[At] = Opaque ? 1 : 0;
            }
        }
        FImages.push_back(std::move(Item));
    }
    Change();
    return First;
}

int TImageList::Add(const TBitmap* Image, const TBitmap* Mask) {
    return AddImages(Image, Mask, false, clNone);
}

int TImageList::AddMasked(const TBitmap* Image, TColor MaskColor) {
    return AddImages(Image, nullptr, true, MaskColor);
}

void TImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) const {
    if (!Canvas || Index < 0 || Index >= GetCount()) return;
    const TImage& Image = FImages[static_cast<size_t>(Index)];
    if (Enabled)
        Canvas->DrawMaskedPixels(X, Y, FWidth, FHeight, Image.Pixels.data(), Image.Opaque.data());
    else
        DrawDisabled(Canvas, X, Y, Image);
}

void TImageList::DrawDisabled(TCanvas* Canvas, int X, int Y, const TImage& Image) const {
    // Light pixels vanish into the face; the dark ones form the embossed shape.
    const size_t Size = Image.Pixels.size();
    std::vector<std::uint8_t> Dark(Size);
    for (size_t I = 0; I < Size; ++I) {
        const TPixel P = Image.Pixels[I];
        const int Gray = (((P >> 16) & 0xFF) * 30 + ((P >> 8) & 0xFF) * 59 + (P & 0xFF) * 11) / 100;
        Dark[I] = Image.Opaque[I] && Gray < 0xC0;
    }
    const std::vector<TPixel> Highlight(Size, RgbToPixel(ColorToRGB(clBtnHighlight)));
    const std::vector<TPixel> Shadow(Size, RgbToPixel(ColorToRGB(clBtnShadow)));
    Canvas->DrawMaskedPixels(X + 1, Y + 1, FWidth, FHeight, Highlight.data(), Dark.data());
    Canvas->DrawMaskedPixels(X, Y, FWidth, FHeight, Shadow.data(), Dark.data());
}

void TImageList::GetBitmap(int Index, TBitmap* Image) const {
    if (!Image || Index < 0 || Index >= GetCount()) return;
    Image->SetSize(FWidth, FHeight);
    Draw(Image->GetCanvas(), 0, 0, Index, true);
}

void TImageList::Delete(int Index) {
    if (Index < 0 || Index >= GetCount()) throw EListError(Format(SListIndexError, Index));
    FImages.erase(FImages.begin() + Index);
    Change();
}

void TImageList::Clear() {
    if (FImages.empty()) return;
    FImages.clear();
    Change();
}

// --- form files ---------------------------------------------------------------

bool TImageList::Equals(const TImageList* Other) const {
    return Other && Other->FWidth == FWidth && Other->FHeight == FHeight &&
           Other->FImages == FImages;
}

void TImageList::DefineProperties(TFiler* Filer) {
    TComponent::DefineProperties(Filer);
    const auto* Ancestor = dynamic_cast<const TImageList*>(Filer->Ancestor());
    const bool HasData = Ancestor ? !Equals(Ancestor) : !FImages.empty();
    Filer->DefineBinaryProperty(
        "Bitmap", [this](TStream& Stream) { ReadImages(Stream); },
        [this](TStream& Stream) { WriteImages(Stream); }, HasData);
}

// The pictures as the form file keeps them: the count, the width and the
// height (32 bits each), then for each picture its pixels (32 bits each, rows
// top-down) followed by one opacity byte per pixel.
void TImageList::WriteImages(TStream& Stream) const {
    const std::int32_t Head[3] = {static_cast<std::int32_t>(FImages.size()), FWidth, FHeight};
    Stream.WriteBuffer(Head, sizeof Head);
    for (const TImage& Image : FImages) {
        Stream.WriteBuffer(Image.Pixels.data(),
                           static_cast<std::int64_t>(Image.Pixels.size() * sizeof(TPixel)));
        Stream.WriteBuffer(Image.Opaque.data(), static_cast<std::int64_t>(Image.Opaque.size()));
    }
}

void TImageList::ReadImages(TStream& Stream) {
    std::int32_t Head[3];
    Stream.ReadBuffer(Head, sizeof Head);
    const auto [Count, Width, Height] = Head;
    if (Count < 0 || Width < 1 || Height < 1 || Width > MaxBitmapDimension ||
        Height > MaxBitmapDimension || static_cast<long long>(Width) * Height > MaxBitmapPixels)
        throw EReadError(
            Format("The image list data is damaged: %d pictures of %d x %d", Count, Width, Height));
    const long long PerImage = static_cast<long long>(Width) * Height * (sizeof(TPixel) + 1);
    // Checked before anything is allocated for the pictures.
    if (Count > 0 && Stream.Remaining() / Count < PerImage)
        throw EReadError(Format("The image list data ends before its %d pictures", Count));
    std::vector<TImage> Images(static_cast<size_t>(Count));
    const size_t Size = static_cast<size_t>(Width) * Height;
    for (TImage& Image : Images) {
        Image.Pixels.resize(Size);
        Image.Opaque.resize(Size);
        Stream.ReadBuffer(Image.Pixels.data(), static_cast<std::int64_t>(Size * sizeof(TPixel)));
        Stream.ReadBuffer(Image.Opaque.data(), static_cast<std::int64_t>(Size));
    }
    FWidth = Width;
    FHeight = Height;
    FImages = std::move(Images);
    Change();
}

} // namespace folio
