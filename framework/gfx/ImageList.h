#pragma once

#include "framework/core/Component.h"
#include "framework/gfx/GraphicsTypes.h"
#include "framework/gfx/Surface.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace folio {

class TBitmap;
class TCanvas;
class TImageList;
class TStream;

/// A holder's subscription to an image list's changes: the list calls the
/// link's OnChange after every change. A link registered with a list
/// unregisters itself when it is destroyed, and a list that is destroyed
/// first detaches its links (their Sender becomes null).
class TChangeLink : public TObject {
    FOLIO_CLASS(TChangeLink)
public:
    /// A link registered with no list.
    TChangeLink() = default;
    /// Unregisters the link from its list.
    ~TChangeLink() override;
    TChangeLink(const TChangeLink&) = delete;
    TChangeLink& operator=(const TChangeLink&) = delete;

    /// The list the link is registered with; null when none.
    TImageList* GetSender() const { return FSender; }
    /// Called by the list; fires OnChange with the list as sender.
    virtual void Change();

    /// Fired after every change of the list, with the list as Sender.
    TNotifyEvent OnChange;

private:
    friend class TImageList;
    TImageList* FSender = nullptr;
};

/// A list of same-sized pictures with transparency, drawn by index. Every
/// change (adding, deleting, clearing, resizing) notifies the registered
/// change links and OnChange. Being a component, it tells the components that
/// asked for free notification when it is destroyed.
class TImageList : public TComponent {
    FOLIO_CLASS(TImageList)
public:
    /// An empty list of 16 x 16 pictures.
    explicit TImageList(TComponent* AOwner = nullptr);
    /// Detaches the change links.
    ~TImageList() override;

    ///@{
    /// The size of the list's pictures in pixels; 16 x 16 by default.
    int GetWidth() const { return FWidth; }
    int GetHeight() const { return FHeight; }
    ///@}
    ///@{
    /// Changing the picture size empties the list, its other sizes included,
    /// and notifies. A size below 1 (or larger than a bitmap may be) raises
    /// EInvalidOperation.
    void SetWidth(int Value);
    void SetHeight(int Value);
    ///@}
    /// How many pictures the list holds.
    int GetCount() const { return static_cast<int>(FImages.size()); }

    /// Adds the pictures in Image (one per Width columns, at least one) and
    /// answers the index of the first. Mask pixels that are black mark the
    /// picture's opaque pixels; without a mask the whole picture is opaque.
    /// An empty or null Image adds nothing and answers -1.
    int Add(const TBitmap* Image, const TBitmap* Mask);
    /// As Add, with the pixels of MaskColor transparent. clDefault takes the
    /// colour of the bottom-left pixel; clNone makes nothing transparent.
    int AddMasked(const TBitmap* Image, TColor MaskColor);
    /// Draws picture Index with its top-left corner at (X, Y). A disabled
    /// picture is drawn embossed: its dark opaque pixels in the button
    /// highlight colour one pixel down and right, then in the button shadow
    /// colour. An index outside the list draws nothing.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true) const;
    /// Sizes Image to the list's pictures and draws picture Index onto it; an
    /// index outside the list, or a null Image, does nothing.
    void GetBitmap(int Index, TBitmap* Image) const;
    /// Raises EListError for an index outside the list; the picture goes
    /// from every size that has it.
    void Delete(int Index);
    /// Empties the list and its other sizes (which stay, empty).
    void Clear();

    /// Other sizes of the same pictures, for denser screens: picture N of a
    /// size is picture N of the list drawn for that size. The list's own size
    /// is the one its holders lay out with. AddSize answers the size's own
    /// list (the one already there for that size, or this list itself for
    /// its own size), to be filled with Add or AddMasked; a change of any
    /// size notifies the list's links.
    TImageList* AddSize(int Width, int Height);
    /// How many other sizes the list has (its own not counted).
    int GetSizeCount() const { return static_cast<int>(FSizes.size()); }
    /// Other size Index (0 to GetSizeCount - 1, else EListError).
    TImageList* GetSize(int Index) const;
    /// Of this list and its sizes, the one that draws best into Width x
    /// Height: the same size, else the smallest larger one, else the
    /// largest.
    const TImageList* BestFit(int Width, int Height) const;
    /// Draws picture Index into R from the best fitting size, scaled to R's
    /// size (nearest pixel) unless that size matches R. A size without the
    /// picture falls back to the list's own.
    void DrawScaled(TCanvas* Canvas, const TRect& R, int Index, bool Enabled = true) const;

    /// Registers Value to be told of every change, taking it from the list
    /// it was registered with; null is ignored.
    void RegisterChanges(TChangeLink* Value);
    /// Stops telling Value (its Sender becomes null); an unknown link is ignored.
    void UnRegisterChanges(TChangeLink* Value);

    /// True when Other holds the same pictures, transparency and other sizes
    /// included.
    bool Equals(const TImageList* Other) const;
    /// In a form file the pictures are the binary property "Bitmap", the
    /// other sizes "Sizes".
    void DefineProperties(TFiler* Filer) override;

    /// Fired after every change, with the list as Sender (a published event).
    TNotifyEvent OnChange;

protected:
    /// Tells the change links, then fires OnChange.
    void Change();

private:
    struct TImage {
        std::vector<TPixel> Pixels;
        std::vector<std::uint8_t> Opaque;
        friend bool operator==(const TImage&, const TImage&) = default;
    };
    int AddImages(const TBitmap* Image, const TBitmap* Mask, bool UseColor, TColor MaskColor);
    void ReadImages(TStream& Stream);
    void WriteImages(TStream& Stream) const;
    void ReadSizes(TStream& Stream);
    void WriteSizes(TStream& Stream) const;
    std::unique_ptr<TImageList> MakeSize(int Width, int Height);
    static void DrawImage(TCanvas* Canvas, int X, int Y, int Width, int Height, const TImage& Image,
                          bool Enabled);
    static void DrawDisabled(TCanvas* Canvas, int X, int Y, int Width, int Height,
                             const TImage& Image);

    int FWidth = 16;
    int FHeight = 16;
    std::vector<TImage> FImages;
    std::vector<TChangeLink*> FLinks;
    std::vector<std::unique_ptr<TImageList>> FSizes;
};

} // namespace folio
