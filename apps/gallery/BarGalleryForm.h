#pragma once

#include "folio/Folio.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/ImageList.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/Form.h"
#include "framework/ui/Panel.h"

#include <memory>

namespace gallery {

// The gallery's form class: its handlers are what its form file names for
// the bars' events.
class TGalleryBarForm : public folio::TForm {
    FOLIO_CLASS(TGalleryBarForm)
public:
    explicit TGalleryBarForm(folio::TComponent* AOwner) : folio::TForm(AOwner) {}

    // The window's title names the item clicked last.
    void BarItemClick(folio::TObject*, folio::TFolioItem* Item);
};

// The bar gallery's form: a vertical bar down the left side that fills the
// form's height and a horizontal bar across the top of the rest that fills
// its width, each on a panel that keeps a margin round it. The form does
// not shrink below the size at which every caption and one item of each
// bar still show.
struct TGalleryForm {
    std::unique_ptr<folio::TBitmap> Tile;
    TGalleryBarForm Form{nullptr};
    folio::TImageList* Large = nullptr;
    folio::TImageList* Small = nullptr;
    folio::TPanel* BarSide = nullptr;
    folio::TPanel* StripSide = nullptr;
    folio::TFolio* Vertical = nullptr;
    folio::TFolio* Horizontal = nullptr;

    TGalleryForm();

    void SetAnimation(folio::TFolAnimationStyle Style);
    // Opens the long group and scrolls it so that both scroll buttons show.
    void OpenLongGroup();
    // Rests the pointer on a picture of the vertical bar's open group, as a
    // user would, so that the item shows its hover frame. Answers whether
    // the bar took it as the item under the pointer.
    bool HoverItem(folio::THeadlessHost& Host, int Index);
    // Moves the pointer onto the form beside the bars, where nothing hovers.
    void RestPointer(folio::THeadlessHost& Host);

private:
    static void WireRenaming(folio::TFolio* Bar);
    void WireF2();
    bool RenameUnderPointer();
    void SetMinimumSize();
};

} // namespace gallery
