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
    FSizes.clear();
    Change();
}

void TImageList::SetHeight(int Value) {
    if (Value == FHeight) return;
    if (Value < 1 || Value > MaxBitmapDimension)
        throw EInvalidOperation(Format("Invalid image height %d", Value));
    FHeight = Value;
    FImages.clear();
    FSizes.clear();
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
    DrawImage(Canvas, X, Y, FWidth, FHeight, FImages[static_cast<size_t>(Index)], Enabled);
}

void TImageList::DrawImage(TCanvas* Canvas, int X, int Y, int Width, int Height,
                           const TImage& Image, bool Enabled) {
    if (Enabled)
        Canvas->DrawMaskedPixels(X, Y, Width, Height, Image.Pixels.data(), Image.Opaque.data());
    else
        DrawDisabled(Canvas, X, Y, Width, Height, Image);
}

void TImageList::DrawDisabled(TCanvas* Canvas, int X, int Y, int Width, int Height,
                              const TImage& Image) {
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
    Canvas->DrawMaskedPixels(X + 1, Y + 1, Width, Height, Highlight.data(), Dark.data());
    Canvas->DrawMaskedPixels(X, Y, Width, Height, Shadow.data(), Dark.data());
}

// --- other sizes --------------------------------------------------------------

std::unique_ptr<TImageList> TImageList::MakeSize(int Width, int Height) {
    auto Size = std::make_unique<TImageList>();
    Size->SetWidth(Width);
    Size->SetHeight(Height);
    Size->OnChange = [this](TObject*) { Change(); };
    return Size;
}

TImageList* TImageList::AddSize(int Width, int Height) {
    if (Width == FWidth && Height == FHeight) return this;
    for (const auto& Size : FSizes)
        if (Size->FWidth == Width && Size->FHeight == Height) return Size.get();
    FSizes.push_back(MakeSize(Width, Height));
    Change();
    return FSizes.back().get();
}

TImageList* TImageList::GetSize(int Index) const {
    if (Index < 0 || Index >= GetSizeCount()) throw EListError(Format(SListIndexError, Index));
    return FSizes[static_cast<size_t>(Index)].get();
}

const TImageList* TImageList::BestFit(int Width, int Height) const {
    const TImageList* Best = this;
    auto Covers = [&](const TImageList* L) { return L->FWidth >= Width && L->FHeight >= Height; };
    auto Area = [](const TImageList* L) { return static_cast<long long>(L->FWidth) * L->FHeight; };
    for (const auto& Owned : FSizes) {
        const TImageList* L = Owned.get();
        if (L->FWidth == Width && L->FHeight == Height) return L;
        if (Best->FWidth == Width && Best->FHeight == Height) continue;
        // A larger picture scaled down keeps its detail; a smaller one
        // scaled up only grows its pixels.
        if (Covers(L) != Covers(Best)) {
            if (Covers(L)) Best = L;
        } else if (Covers(L) ? Area(L) < Area(Best) : Area(L) > Area(Best)) {
            Best = L;
        }
    }
    return Best;
}

void TImageList::DrawScaled(TCanvas* Canvas, const TRect& R, int Index, bool Enabled) const {
    if (!Canvas || Index < 0 || Index >= GetCount() || R.IsEmpty()) return;
    const TImageList* From = BestFit(R.Width(), R.Height());
    if (Index >= From->GetCount()) From = this;
    const TImage& Image = From->FImages[static_cast<size_t>(Index)];
    if (From->FWidth == R.Width() && From->FHeight == R.Height()) {
        DrawImage(Canvas, R.Left, R.Top, From->FWidth, From->FHeight, Image, Enabled);
        return;
    }
    // Nearest pixel, each target pixel from the source pixel its centre
    // falls on. The scratch picture is kept, so that painting many items
    // does not allocate each time.
    thread_local TImage Scaled;
    const int W = R.Width();
    const int H = R.Height();
    const size_t Size = static_cast<size_t>(W) * H;
    Scaled.Pixels.resize(Size);
    Scaled.Opaque.resize(Size);
    for (int Y = 0; Y < H; ++Y) {
        const int SY = static_cast<int>((2LL * Y + 1) * From->FHeight / (2LL * H));
        for (int X = 0; X < W; ++X) {
            const int SX = static_cast<int>((2LL * X + 1) * From->FWidth / (2LL * W));
            const size_t Src = static_cast<size_t>(SY) * From->FWidth + SX;
            const size_t Dst = static_cast<size_t>(Y) * W + X;
            Scaled.Pixels[Dst] = Image.Pixels[Src];
            Scaled.Opaque[Dst] = Image.Opaque[Src];
        }
    }
    DrawImage(Canvas, R.Left, R.Top, W, H, Scaled, Enabled);
}

void TImageList::GetBitmap(int Index, TBitmap* Image) const {
    if (!Image || Index < 0 || Index >= GetCount()) return;
    Image->SetSize(FWidth, FHeight);
    Draw(Image->GetCanvas(), 0, 0, Index, true);
}

void TImageList::Delete(int Index) {
    if (Index < 0 || Index >= GetCount()) throw EListError(Format(SListIndexError, Index));
    FImages.erase(FImages.begin() + Index);
    for (const auto& Size : FSizes)
        if (Index < Size->GetCount()) Size->FImages.erase(Size->FImages.begin() + Index);
    Change();
}

void TImageList::Clear() {
    const bool SizesEmpty = std::all_of(FSizes.begin(), FSizes.end(),
                                        [](const auto& Size) { return Size->FImages.empty(); });
    if (FImages.empty() && SizesEmpty) return;
    FImages.clear();
    for (const auto& Size : FSizes) Size->FImages.clear();
    Change();
}

// --- form files ---------------------------------------------------------------

bool TImageList::Equals(const TImageList* Other) const {
    if (!Other || Other->FWidth != FWidth || Other->FHeight != FHeight ||
        Other->FImages != FImages || Other->FSizes.size() != FSizes.size())
        return false;
    for (size_t I = 0; I < FSizes.size(); ++I)
        if (!FSizes[I]->Equals(Other->FSizes[I].get())) return false;
    return true;
}

void TImageList::DefineProperties(TFiler* Filer) {
    TComponent::DefineProperties(Filer);
    const auto* Ancestor = dynamic_cast<const TImageList*>(Filer->Ancestor());
    const bool HasData = Ancestor ? !Equals(Ancestor) : !FImages.empty();
    Filer->DefineBinaryProperty(
        "Bitmap", [this](TStream& Stream) { ReadImages(Stream); },
        [this](TStream& Stream) { WriteImages(Stream); }, HasData);
    const bool HasSizes = Ancestor ? !Equals(Ancestor) && !FSizes.empty() : !FSizes.empty();
    Filer->DefineBinaryProperty(
        "Sizes", [this](TStream& Stream) { ReadSizes(Stream); },
        [this](TStream& Stream) { WriteSizes(Stream); }, HasSizes);
}

// The other sizes: their count (32 bits), then each as "Bitmap" holds the
// list's own pictures.
void TImageList::WriteSizes(TStream& Stream) const {
    const std::int32_t Count = static_cast<std::int32_t>(FSizes.size());
    Stream.WriteBuffer(&Count, sizeof Count);
    for (const auto& Size : FSizes) Size->WriteImages(Stream);
}

void TImageList::ReadSizes(TStream& Stream) {
    // A handful of sizes serve every screen; more means damaged data.
    constexpr std::int32_t MaxSizes = 16;
    std::int32_t Count = 0;
    Stream.ReadBuffer(&Count, sizeof Count);
    if (Count < 0 || Count > MaxSizes)
        throw EReadError(Format("The image list data is damaged: %d other sizes", Count));
    std::vector<std::unique_ptr<TImageList>> Sizes;
    for (std::int32_t I = 0; I < Count; ++I) {
        auto Size = std::make_unique<TImageList>();
        Size->ReadImages(Stream);
        Sizes.push_back(std::move(Size));
    }
    for (auto& Size : Sizes) Size->OnChange = [this](TObject*) { Change(); };
    FSizes = std::move(Sizes);
    Change();
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
