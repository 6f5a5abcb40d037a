#pragma once

#include "folio/Folio.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/ImageList.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/stdctrls/Panel.h"

#include <functional>
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
    // A horizontal bar's caption is a tall, narrow strip whose text is drawn
    // turned, while an editor's text runs across: the gallery edits such a
    // caption in a box one line high and wide enough for its text, centred
    // on the strip and inside the bar. A vertical bar's caption is left as
    // it is.
    void BarGetGroupEditRect(folio::TObject* Sender, folio::TFolioGroup* Group,
                             folio::TRect& EditRect);

    // Called after the form and its controls took a change of the system
    // colours.
    std::function<void()> OnSystemColorsChanged;

protected:
    void WndProc(folio::TMessage& Message) override;
};

// The bar gallery's form: a vertical bar down the left side that fills the
// form's height and a horizontal bar across the top of the rest that fills
// its width, each on a panel that keeps a margin round it. The form does
// not shrink below the size at which every caption and one item of each
// bar still show. Both bars are tab stops, so Tab and a click give them the
// keyboard; the horizontal one places its caption editor itself.
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
    // Gives the groups with colours or a picture of the gallery's own their
    // light or dark variant, as the active colour scheme is light or dark: the
    // items' captions are drawn in the scheme's text colour, which must
    // stay legible on them.
    void ColorGroupsForScheme();
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
    void ShowHints();
    bool RenameUnderPointer();
    void SetMinimumSize();
};

} // namespace gallery
