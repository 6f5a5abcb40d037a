#pragma once

// The shortcut bar: TFolio and its model (groups and items), with the binary
// stream and file format of its contents and their registry layout.

#include "folio/FolioCollection.h"
#include "framework/core/RegistryRoots.h"
#include "framework/core/Streams.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Font.h"
#include "framework/gfx/ImageList.h"
#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/input/DragObject.h"
#include "framework/ui/input/WheelNotches.h"

#include <cstdint>
#include <functional>
#include <memory>

/// Everything of Folio: the framework, the shortcut bar and the sample
/// controls.
namespace folio {

class TFolio;
class TFolioGroups;
class TFolioGroup;
class TFolioItems;
class TFolioItem;
class TFolioReader;
class TRegistry;
class TFolEditor;
class TFolioAnimThread;
struct TFolioAnimLink;
struct TFolioLook;

// Enumerations are stored as one byte holding the ordinal. Loading takes the
// byte as it is, so a value outside the named ones survives a round trip.

/// How the captions stack: top to bottom, or side by side left to right.
enum TFolAlignment : std::uint8_t { baVertical, baHorizontal };
/// How a group opens: at once, sliding at an even pace, or sliding faster
/// as it goes.
enum TFolAnimationStyle : std::uint8_t { asNone, asLinear, asAccelerate };
/// How a caption is drawn: resting, under the pointer, or pressed.
enum TFolGroupState : std::uint8_t { gsNormal, gsOver, gsPressed };
/// Whether a group's items show small pictures with captions beside them or
/// large ones with captions below.
enum TFolImageSize : std::uint8_t { isSmall, isLarge };
/// What an open group's face shows: its colour, its picture or a gradient.
/// "Backgroung" is the published spelling, which callers and stored form
/// files use; TFolGroupBackgroundStyle is the same type.
enum TFolGroupBackgroungStyle : std::uint8_t { gbColor, gbBitmap, gbGradient };
/// The same type as TFolGroupBackgroungStyle, correctly spelled.
using TFolGroupBackgroundStyle = TFolGroupBackgroungStyle;
/// How an item's frame is drawn: none, raised under the pointer, or sunken
/// while pressed.
enum TFrameRectState : std::uint8_t { frsRegular, frsOver, frsPressed };

/// The private message the in-place editor posts to the bar to close itself.
constexpr unsigned WM_HIDEEDITOR = WM_USER + 100;

/// The bar's window timer that repeats a held scroll button.
constexpr unsigned FolioRepeatTimerId = 1;
/// The bar's window timer that opens a group a dragged item rests on.
constexpr unsigned FolioOpenTimerId = 2;
/// How long a dragged item rests on a closed group's caption before the group
/// opens, in milliseconds.
constexpr unsigned FolioOpenDelay = 300;

// Events. Sender is always the bar; a reference parameter arrives with a
// default the handler may change.

/// An event about an item: OnItemClick, OnItemDeletion.
using TFolItemEvent = std::function<void(TObject* Sender, TFolioItem* Item)>;
/// An event about a group: OnGroupClick, OnGroupDeletion.
using TFolGroupEvent = std::function<void(TObject* Sender, TFolioGroup* Group)>;
/// OnGroupCanClick: Allow arrives true; false refuses the press.
using TFolGroupClickEvent = std::function<void(TObject* Sender, TFolioGroup* Group, bool& Allow)>;
/// OnPrevButtonClick, OnNextButtonClick: StartItem arrives as the proposed
/// first item.
using TFolGroupButtonEvent =
    std::function<void(TObject* Sender, TFolioGroup* Group, int& StartItem)>;
/// OnDrawGroupCaption: draw Group's caption into CaptionRect of Canvas.
using TFolGroupCaptionDrawEvent =
    std::function<void(TObject* Sender, TCanvas* Canvas, TFolioGroup* Group,
                       const TRect& CaptionRect, TFolGroupState State)>;
/// OnDrawGroup: draw the open group's face into GroupRect of Canvas.
using TFolGroupDrawEvent = std::function<void(TObject* Sender, TCanvas* Canvas, TFolioGroup* Group,
                                              const TRect& GroupRect)>;
/// OnEditingItem: CanEdit arrives true; false keeps the editor closed.
using TFolEditingItemEvent = std::function<void(TObject* Sender, TFolioItem* Item, bool& CanEdit)>;
/// OnEditingGroup: CanEdit arrives true; false keeps the editor closed.
using TFolEditingGroupEvent =
    std::function<void(TObject* Sender, TFolioGroup* Group, bool& CanEdit)>;
/// OnEditedItem: NewText arrives as typed and becomes the caption.
using TFolEditedItemEvent = std::function<void(TObject* Sender, TFolioItem* Item, String& NewText)>;
/// OnEditedGroup: NewText arrives as typed and becomes the caption.
using TFolEditedGroupEvent =
    std::function<void(TObject* Sender, TFolioGroup* Group, String& NewText)>;
/// OnGetItemEditRect: EditRect arrives as the editor's default place.
using TFolGetItemEditRectEvent =
    std::function<void(TObject* Sender, TFolioItem* Item, TRect& EditRect)>;
/// OnGetGroupEditRect: EditRect arrives as the caption strip.
using TFolGetGroupEditRectEvent =
    std::function<void(TObject* Sender, TFolioGroup* Group, TRect& EditRect)>;

// ---------------------------------------------------------------------------
// Items

/// One shortcut of a group: a caption with a picture from the bar's image
/// list. An item belongs to a group's TFolioItems, which owns it; changing
/// what it shows repaints the bar.
class TFolioItem : public TPersistent, public TFolioListed {
    FOLIO_CLASS(TFolioItem)
public:
    /// A new item at the end of AItems (which owns it), or, for a null
    /// AItems, an item outside any collection, group or bar.
    explicit TFolioItem(TFolioItems* AItems);
    /// Leaves the collection; the bar fires OnItemDeletion first and
    /// forgets every reference it held to the item.
    ~TFolioItem() override;
    TFolioItem(const TFolioItem&) = delete;
    TFolioItem& operator=(const TFolioItem&) = delete;

    /// @cond internal
    // Items come from a pool of large pages: a group may hold millions.
    static void* operator new(std::size_t Size);
    static void operator delete(void* Item, std::size_t Size) noexcept;
    /// @endcond

    /// Copies the stored fields of Source, another TFolioItem (caption,
    /// pictures, Data, Tag, hint); raises EConvertError for any other class.
    void Assign(const TPersistent* Source) override;
    /// Whether Item has the same stored fields (Data not compared).
    bool IsEqual(const TFolioItem* Item) const;
    /// Destroys the item, as its destructor does (OnItemDeletion fires).
    void Delete();
    /// Moves this item next to Target (before or after it), into Target's
    /// collection, also from another group or bar; nothing for a null
    /// Target or the item itself.
    void MoveTo(TFolioItem* Target, bool Before);

    /// Opens the bar's in-place editor on the caption, as TFolio::EditItem.
    void Edit();
    /// Closes the editor open on this item: keeps the typed text (through
    /// OnEditedItem) unless Cancel.
    void EndEdit(bool Cancel);
    /// Whether the bar's in-place editor is open on this item.
    bool GetEdited() const;

    /// The position in the collection, from 0; -1 outside any.
    int GetIndex() const;
    /// The bar showing the item; null outside any bar.
    TFolio* GetBar() const { return FBar; }
    /// The bar's groups; null outside any bar.
    TFolioGroups* GetGroups() const { return FGroups; }
    /// The group holding the item; null outside any group.
    TFolioGroup* GetGroup() const { return FGroup; }
    /// The collection holding the item; null outside any.
    TFolioItems* GetItems() const { return FItems; }

    ///@{
    /// The caption drawn below (large pictures) or beside (small pictures)
    /// the picture; "" by default. A change repaints the open group and is
    /// told to screen readers.
    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    ///@}
    ///@{
    /// The index of the item's picture in the bar's LargeImages or
    /// SmallImages (by the group's ImageSize); -1 (the default) or an index
    /// outside the list draws no picture. A change repaints.
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    ///@}
    ///@{
    /// The picture shown while the pointer rests on the item; -1 by
    /// default, which shows no picture then. A change repaints.
    int GetOverImageIndex() const { return FOverImageIndex; }
    void SetOverImageIndex(int Value);
    ///@}
    ///@{
    /// A pointer the application keeps with the item; null by default.
    /// Streams and deep copies keep its value, the registry does not; the
    /// item never frees it.
    void* GetData() const { return FData; }
    void SetData(void* Value) { FData = Value; }
    ///@}
    ///@{
    /// A number the application keeps with the item; 0 by default.
    int GetTag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    ///@}
    ///@{
    /// The tooltip of the item, shown when ShowHint is true and the bar
    /// shows hints; "" by default.
    const String& GetHint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    ///@}
    ///@{
    /// Whether the item shows its Hint as a tooltip; false by default.
    bool GetShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    ///@}

    ///@{
    /// The item's picture, caption and whole slot, in client coordinates of
    /// the bar; empty without a bar. Items scrolled out before the group's
    /// StartItem keep their rectangles.
    TRect GetImageRect() const;
    TRect GetTextRect() const;
    TRect GetClientRect() const;
    ///@}

    /// @cond internal
    void Paint(TCanvas* Canvas);

    // The item's stored fields, described once (FolioRecords.h): its
    // equality, copy, stream record and registry key are made from them.
    static constexpr auto Fields();

    // One item record of the stream format. ReadData changes nothing unless
    // the whole record could be read.
    void WriteData(TStream& Stream) const;
    void ReadData(TStream& Stream);
    /// @endcond

    ///@{
    /// The item's registry key, `Path\Group g\Item i`, with its six values.
    /// LoadFromRegistry reads into a scratch item first: a missing key or
    /// value raises ERegistryException and changes nothing.
    void SaveToRegistry(TRegistry& Registry, const String& Path) const;
    void LoadFromRegistry(TRegistry& Registry, const String& Path);
    ///@}

private:
    // The collection reads, stores, binds and places its items.
    friend class TFolioItems;

    void ReadRecord(TFolioReader& Reader);
    /// The registry key of item Number of group GroupNumber, both from 1.
    void WriteRegistry(TRegistry& Registry, const String& Path, int GroupNumber, int Number) const;
    void ReadRegistry(TRegistry& Registry, const String& Path, int GroupNumber, int Number);
    /// The group number of the item's key: its group's index plus one.
    int RegistryGroupNumber() const;
    /// Takes the collection's references (or clears them for null).
    void Bind(TFolioItems* AItems);

    TFolio* FBar = nullptr;
    TFolioGroups* FGroups = nullptr;
    TFolioGroup* FGroup = nullptr;
    TFolioItems* FItems = nullptr;
    int FImageIndex = -1;
    int FOverImageIndex = -1;
    String FCaption;
    void* FData = nullptr;
    int FTag = 0;
    bool FShowHint = false;
    String FHint;
};

/// The items of one group, in order. It owns them: deleting the collection
/// or clearing it deletes them, firing OnItemDeletion for each.
class TFolioItems : public TFolioCollection<TFolioItem> {
    FOLIO_CLASS(TFolioItems)
public:
    /// An empty collection of AGroup's items; AGroup may be null for a
    /// collection outside any bar.
    explicit TFolioItems(TFolioGroup* AGroup);
    /// Destroys the items (OnItemDeletion fires for each).
    ~TFolioItems() override;

    /// The item at Index; raises Exception("Index out of range") for an
    /// index outside 0 to GetCount() - 1.
    TFolioItem* GetItem(int Index) const { return At(Index); }
    /// Copies Item's stored fields into the item at Index (range as GetItem).
    void SetItem(int Index, const TFolioItem* Item);
    /// The first item; null when there are none.
    TFolioItem* GetFirstItem() const { return FList.First(); }
    /// The last item; null when there are none.
    TFolioItem* GetLastItem() const { return FList.Last(); }

    /// Appends an item with Caption and the picture ImageIndex (-1 for
    /// none) and answers it; repaints an open group.
    TFolioItem* Add(const String& Caption, int ImageIndex);
    /// Add with the item's Data set to Data.
    TFolioItem* AddObject(const String& Caption, int ImageIndex, void* Data);
    /// Inserts an item at Index (0 to GetCount(); GetCount() appends) and
    /// answers it; raises EListError for any other Index.
    TFolioItem* Insert(int Index, const String& Caption, int ImageIndex);
    /// Insert with the item's Data set to Data.
    TFolioItem* InsertObject(int Index, const String& Caption, int ImageIndex, void* Data);
    /// Moves Item (from any collection, also of another bar) to NewIndex
    /// here; beyond the count appends.
    void Move(TFolioItem* Item, int NewIndex);
    /// Whether Items holds as many items with the same stored fields, in
    /// the same order.
    bool Equals(const TFolioItems* Items) const;
    /// Replaces the items by deep copies of Source's (another TFolioItems),
    /// through the stream format; Data values keep their full width. The
    /// old items are deleted with their events.
    void Assign(const TPersistent* Source) override;

    /// The bar's groups; null outside any bar.
    TFolioGroups* GetGroups() const { return FGroups; }
    /// The group whose items these are; null outside any group.
    TFolioGroup* GetGroup() const { return FGroup; }

    /// @cond internal
    virtual void Paint(TCanvas* Canvas);

    // The items record. ReadData validates the whole record before it touches
    // the collection: on failure nothing changes; on success the old items are
    // deleted (with their deletion events) and the new ones appended.
    void WriteData(TStream& Stream) const;
    void ReadData(TStream& Stream);
    /// @endcond

    ///@{
    /// The "Items" count in the open key (the group's), then every item's
    /// key. Loading is all or nothing: a missing key or value raises
    /// ERegistryException and leaves the items as they were.
    void SaveToRegistry(TRegistry& Registry, const String& Path) const;
    void LoadFromRegistry(TRegistry& Registry, const String& Path);
    ///@}

private:
    // An item takes itself out as it is destroyed or moves elsewhere.
    friend class TFolioItem;
    // A group reads, stores and rebinds its items.
    friend class TFolioGroup;

    /// Appends a fresh item without asking for a repaint.
    TFolioItem* AppendNew();
    void ReadRecord(TFolioReader& Reader);
    void WriteRegistry(TRegistry& Registry, const String& Path, int GroupNumber) const;
    void ReadRegistry(TRegistry& Registry, const String& Path, int GroupNumber);
    /// Replaces the items by Staging's, as a load does, and repaints.
    void TakeLoaded(TFolioItems& Staging);
    /// Moves every item of Staging to the end of this collection.
    void Adopt(TFolioItems& Staging);
    /// Re-clamps the owning group's scroll position after a removal.
    void ItemRemoved();
    /// Takes the group's references, for the collection and its items.
    void Rebind(TFolioGroup* AGroup);

    TFolioGroup* FGroup = nullptr;
    TFolioGroups* FGroups = nullptr;
};

// ---------------------------------------------------------------------------
// Groups

/// One group of the bar: a caption strip and, while it is the open group,
/// its items on a face of a colour, a gradient or a picture. The bar's
/// TFolioGroups owns it; changing what it shows repaints the bar.
class TFolioGroup : public TPersistent, public TFolioListed {
    FOLIO_CLASS(TFolioGroup)
public:
    /// A new group at the end of AGroups (which owns it); AGroups may be
    /// null only for a group outside any collection.
    explicit TFolioGroup(TFolioGroups* AGroups);
    /// Leaves the collection with its items; the bar fires OnItemDeletion
    /// for each item, then OnGroupDeletion, and keeps an open group open.
    ~TFolioGroup() override;
    TFolioGroup(const TFolioGroup&) = delete;
    TFolioGroup& operator=(const TFolioGroup&) = delete;

    /// Copies the stored fields and deep copies of the items of Source,
    /// another TFolioGroup; raises EConvertError for any other class.
    void Assign(const TPersistent* Source) override;
    /// Whether Group has the same stored fields and equal items.
    bool IsEqual(const TFolioGroup* Group) const;
    /// Destroys the group, as its destructor does.
    void Delete();
    /// The bar, for the designer's names of the group's properties.
    TPersistent* GetOwner() const override;
    /// The group's name in the designer's inspector ("Folio1.Groups[2]").
    String GetNamePath() const override;

    /// The position among the bar's groups, from 0; -1 outside any.
    int GetIndex() const;
    ///@{
    /// Whether this is the bar's open group. Setting true opens it as
    /// TFolio::SetVisibleGroup does (the switch may slide); false does
    /// nothing, since one group is always open.
    bool GetVisible() const;
    void SetVisible(bool Value);
    ///@}
    /// The bar; null outside any bar.
    TFolio* GetBar() const { return FBar; }
    /// The collection holding the group; null outside any.
    TFolioGroups* GetGroups() const { return FGroups; }

    ///@{
    /// The text on the caption strip; "" by default. A change repaints and
    /// is told to screen readers.
    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    ///@}
    ///@{
    /// What the open group's face shows: gbColor (the default, Color),
    /// gbGradient (StartColor to EndColor) or gbBitmap (Bitmap). A change
    /// repaints.
    TFolGroupBackgroungStyle GetStyle() const { return FStyle; }
    void SetStyle(TFolGroupBackgroungStyle Value);
    ///@}
    ///@{
    /// The face's colour for gbColor; clBtnShadow by default.
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    ///@}
    ///@{
    /// Where the gbGradient face starts (top, or left on a horizontal
    /// bar); clBtnShadow by default.
    TColor GetStartColor() const { return FStartColor; }
    void SetStartColor(TColor Value);
    ///@}
    ///@{
    /// Where the gbGradient face ends; clBtnShadow by default.
    TColor GetEndColor() const { return FEndColor; }
    void SetEndColor(TColor Value);
    ///@}
    ///@{
    /// The face's picture for gbBitmap, the group's own; empty by default.
    /// Setting copies Value's picture (null empties it) and repaints.
    TBitmap* GetBitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap* Value);
    ///@}
    ///@{
    /// The colour of the caption strip; clBtnFace by default.
    TColor GetCaptionColor() const { return FCaptionColor; }
    void SetCaptionColor(TColor Value);
    ///@}
    ///@{
    /// A number the application keeps with the group; 0 by default.
    int GetTag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    ///@}
    ///@{
    /// Whether the items show large pictures (isLarge, the default: the
    /// bar's LargeImages, captions below) or small ones (isSmall:
    /// SmallImages, captions beside). A change repaints an open group.
    TFolImageSize GetImageSize() const { return FImageSize; }
    void SetImageSize(TFolImageSize Value);
    ///@}
    ///@{
    /// A pointer the application keeps with the group; null by default,
    /// kept by streams and deep copies, not by the registry, never freed.
    void* GetData() const { return FData; }
    void SetData(void* Value) { FData = Value; }
    ///@}
    ///@{
    /// The caption's tooltip, shown when ShowHint is true and the bar shows
    /// hints; "" by default.
    const String& GetHint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    ///@}
    ///@{
    /// Whether the caption shows its Hint as a tooltip; false by default.
    bool GetShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    ///@}
    ///@{
    /// Whether a gbBitmap face keeps its picture still while the items
    /// scroll (true, the default) or scrolls it with them.
    bool GetFixedBitmap() const { return FFixedBitmap; }
    void SetFixedBitmap(bool Value) { FFixedBitmap = Value; }
    ///@}
    ///@{
    /// The first item shown, scrolled to by the scroll buttons; 0 by
    /// default. Setting clamps the value so that the last slot is filled
    /// where there are enough items, then repaints.
    int GetStartItem() const { return FStartItem; }
    void SetStartItem(int Value);
    ///@}
    ///@{
    /// The group's items, owned by the group. Setting replaces them by
    /// deep copies of Value's.
    TFolioItems* GetItems() const { return FItems.get(); }
    void SetItems(TFolioItems* Value);
    ///@}

    /// Scrolls back by one item, as a click on the upper (left) scroll
    /// button does: OnPrevButtonClick may change where it goes.
    void ClickPrevButton();
    /// Scrolls on by one item, as the lower (right) scroll button does,
    /// through OnNextButtonClick.
    void ClickNextButton();
    /// Scrolls by Step items as the scroll buttons do, through Handler (the
    /// buttons' event, which may change the step or delete the group).
    void ScrollByButton(int Step, TFolGroupButtonEvent Handler);
    /// Opens the bar's in-place editor on the caption, as TFolio::EditGroup.
    void Edit();
    /// Closes the editor open on this group's caption: keeps the typed text
    /// (through OnEditedGroup) unless Cancel.
    void EndEdit(bool Cancel);

    ///@{
    /// Geometry, in client coordinates of the bar; empty without a bar: the
    /// whole group (caption and, when open, its face), the caption strip,
    /// and the face below it.
    TRect GetBoundsRect() const;
    TRect GetCaptionRect() const;
    TRect GetClientRect() const;
    ///@}
    /// The bar's image list the items take their pictures from (by
    /// ImageSize); null without one.
    TImageList* GetImages() const;
    ///@{
    /// The room a picture takes and the size of an item's slot, in pixels
    /// at the bar's resolution.
    int GetImagesWidth() const;
    int GetImagesHeight() const;
    int GetItemHeight() const;
    int GetItemWidth() const;
    ///@}
    /// Whole item slots that fit in the client area; 0 before the bar has a
    /// window.
    int GetVisibleItems() const;
    ///@{
    /// Whether the scroll buttons show (items before StartItem, items past
    /// the last slot) and where; the rectangles are empty while hidden.
    bool GetPrevButtonVisible() const;
    bool GetNextButtonVisible() const;
    TRect GetPrevButtonRect() const;
    TRect GetNextButtonRect() const;
    ///@}
    ///@{
    /// Where the buttons sit whether they show or not.
    TRect GetPrevButtonPlace() const;
    TRect GetNextButtonPlace() const;
    ///@}
    /// The first item, in index order, whose picture or caption lies under
    /// the point; -1 for none.
    int GetOnItem(int X, int Y) const;
    /// The gap before slot Index (after the last item for Index = count),
    /// where the insert mark for that position is drawn. A dragged item let
    /// go at its centre lands at Index.
    TRect GetInsertMarkRect(int Index) const;
    /// How the caption is drawn now: gsPressed while a press on it is held
    /// and the pointer is over it, gsOver under the pointer, else gsNormal.
    TFolGroupState GetState() const;

    /// @cond internal
    // A switch's slide (FolioAnimation.cpp) moves the captions between the
    // two sliding groups by AnimOffset; before it starts, those two groups
    // paint at the origin of pictures of their own (PaintAtOrigin).
    int GetAnimOffset() const { return FAnimOffset; }
    void SetAnimOffset(int Value) { FAnimOffset = Value; }
    bool GetPaintAtOrigin() const { return FPaintAtOrigin; }
    void SetPaintAtOrigin(bool Value) { FPaintAtOrigin = Value; }

    virtual void Paint(TCanvas* Canvas);
    void PaintCaption(TCanvas* Canvas);
    void PaintClientRect(TCanvas* Canvas);
    void PaintItems(TCanvas* Canvas);
    void PaintButtons(TCanvas* Canvas);
    void PaintInsertMark(TCanvas* Canvas);

    // The group's stored fields, described once (FolioRecords.h): its
    // equality, copy, stream record, registry key and a form's has-data
    // comparison are made from them.
    static constexpr auto Fields();

    // One group record; ReadData is all-or-nothing as for the collections.
    void WriteData(TStream& Stream) const;
    void ReadData(TStream& Stream);
    /// @endcond

    ///@{
    /// The group's registry key, `Path\Group g`, with its eleven values and
    /// "Items", then its items. The picture, Data and StartItem are not
    /// stored. LoadFromRegistry is all or nothing (a missing key or value
    /// raises ERegistryException) and leaves the picture and Data as they
    /// are.
    void SaveToRegistry(TRegistry& Registry, const String& Path) const;
    void LoadFromRegistry(TRegistry& Registry, const String& Path);
    ///@}

private:
    // The collection reads, stores and rebinds its groups.
    friend class TFolioGroups;
    // Tests seed the scroll position and the slide.
    friend struct TFolioTestAccess;

    void ReadRecord(TFolioReader& Reader);
    /// The registry key of group Number, from 1.
    void WriteRegistry(TRegistry& Registry, const String& Path, int Number) const;
    void ReadRegistry(TRegistry& Registry, const String& Path, int Number);
    /// Takes over every field and item of a staged group, as a load does.
    void TakeContents(TFolioGroup& Staged);
    void Rebind(TFolioGroups* AGroups);
    /// Asks the bar to repaint when there is one.
    void Changed() const;

    bool FPaintAtOrigin = false;
    int FAnimOffset = 0;
    std::unique_ptr<TFolioItems> FItems;
    TFolioGroups* FGroups = nullptr;
    TFolio* FBar = nullptr;
    String FCaption;
    void* FData = nullptr;
    TColor FEndColor = clBtnShadow;
    TColor FColor = clBtnShadow;
    TColor FStartColor = clBtnShadow;
    std::unique_ptr<TBitmap> FBitmap;
    TFolGroupBackgroungStyle FStyle = gbColor;
    TColor FCaptionColor = clBtnFace;
    bool FFixedBitmap = true;
    int FTag = 0;
    String FHint;
    bool FShowHint = false;
    TFolImageSize FImageSize = isLarge;
    int FStartItem = 0;
};

/// The groups of a bar, in order from the top (or the left). It owns them;
/// the first group added to a bar opens at once.
class TFolioGroups : public TFolioCollection<TFolioGroup> {
    FOLIO_CLASS(TFolioGroups)
public:
    /// An empty collection of ABar's groups; ABar may be null for a
    /// collection outside any bar.
    explicit TFolioGroups(TFolio* ABar);
    /// Destroys the groups and their items, with their deletion events.
    ~TFolioGroups() override;

    /// The group at Index; raises Exception("Index out of range") for an
    /// index outside 0 to GetCount() - 1.
    TFolioGroup* GetGroup(int Index) const { return At(Index); }
    /// Copies Group's fields and items into the group at Index (range as
    /// GetGroup).
    void SetGroup(int Index, const TFolioGroup* Group);
    /// The first group; null when there are none.
    TFolioGroup* GetFirstGroup() const { return FList.First(); }
    /// The last group; null when there are none.
    TFolioGroup* GetLastGroup() const { return FList.Last(); }

    /// Appends a group with Caption and answers it; the bar's first group
    /// opens at once, without a switch or an event.
    TFolioGroup* Add(const String& Caption);
    /// Add with the group's Data set to Data.
    TFolioGroup* AddObject(const String& Caption, void* Data);
    /// Inserts a group at Index (0 to GetCount()) and answers it; raises
    /// EListError for any other Index. The open group stays open.
    TFolioGroup* Insert(int Index, const String& Caption);
    /// Insert with the group's Data set to Data.
    TFolioGroup* InsertObject(int Index, const String& Caption, void* Data);
    /// Replaces the groups by deep copies of Source's (another
    /// TFolioGroups), through the stream format; Data values keep their full
    /// width. The old groups are deleted with their events.
    void Assign(const TPersistent* Source) override;
    /// Stores the groups in a form file as the binary property "Data" (the
    /// stream format), found under the bar as Groups.Data.
    void DefineProperties(TFiler* Filer) override;

    /// @cond internal
    virtual void Paint(TCanvas* Canvas);

    // The groups record: the whole stream of a bar. ReadData validates the
    // whole record before it touches the collection.
    void WriteData(TStream& Stream) const;
    void ReadData(TStream& Stream);
    /// @endcond

    ///@{
    /// The registry layout: "Groups" in the key at Path, then every group's
    /// key. Loading reads every key into a scratch collection first; a
    /// missing key or value raises ERegistryException and leaves the
    /// collection as it was.
    void SaveToRegistry(TRegistry& Registry, const String& Path) const;
    void LoadFromRegistry(TRegistry& Registry, const String& Path);
    ///@}

private:
    // A group takes itself out as it is destroyed.
    friend class TFolioGroup;

    /// Appends a fresh group, doing the first-group bookkeeping of AddObject.
    TFolioGroup* Append(TFolioGroup* Group);
    void ReadRecord(TFolioReader& Reader);
    void ReadRegistry(TRegistry& Registry, const String& Path);
    void Adopt(TFolioGroups& Staging);
};

// ---------------------------------------------------------------------------
// Item drag and drop

/// What an item drag carries. The bar makes one for each drag it starts from
/// a pressed item; the framework frees it when the drag ends. Item turns null
/// when the item is destroyed mid-drag, which ends the drag.
class TFolioDragItem : public TDragObject {
    FOLIO_CLASS(TFolioDragItem)
public:
    /// The item being dragged; null once it was destroyed.
    TFolioItem* Item = nullptr;

private:
    friend class TFolioItem;
    /// Called as an item is destroyed: the drag carrying it ends without a drop.
    static void ItemDestroyed(TFolioItem* Item);
};

// ---------------------------------------------------------------------------
// The bar

/// The shortcut bar: a stack of group captions, top to bottom (or left to
/// right), of which one group is open and shows its items as large or
/// small pictures with captions. Users open a group by clicking its
/// caption, scroll long groups with two repeating buttons, click items,
/// rename captions in place and drag items to new places, other groups or
/// other bars. The bar paints only through the paint pass; every setter
/// below that changes what shows repaints it.
class TFolio : public TCustomControl {
    FOLIO_CLASS(TFolio)
public:
    /// A bar of 50 by 100 pixels without groups, owned by AOwner.
    explicit TFolio(TComponent* AOwner);
    /// Ends a running switch and deletes the groups (their deletion events
    /// fire while the bar is still whole).
    ~TFolio() override;

    ///@{
    /// bsSingle (the default) draws a sunken border round the bar, bsNone
    /// none. A change re-creates the bar's window.
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    ///@}
    ///@{
    /// The font of the captions (turned on a horizontal bar); items use the
    /// bar's Font. Setting copies Value.
    TFont* GetGroupsFont() const { return FGroupsFont.get(); }
    void SetGroupsFont(TFont* Value);
    ///@}
    ///@{
    /// The groups, owned by the bar. Setting replaces them by deep copies
    /// of Value's (the old ones are deleted with their events).
    TFolioGroups* GetGroups() const { return FGroups.get(); }
    void SetGroups(TFolioGroups* Value);
    ///@}
    ///@{
    /// baVertical (the default): captions stacked top to bottom; or
    /// baHorizontal: captions side by side, left to right, their text
    /// turned. A change repaints.
    TFolAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TFolAlignment Value);
    ///@}
    /// Whether the captions stack top to bottom. An alignment value other than
    /// the two named ones (a damaged stream can hold any byte) reads as the
    /// default, vertical; geometry, painting and the slide all ask here so
    /// that they never disagree about the axis.
    bool IsVertical() const { return FAlignment != baHorizontal; }
    ///@{
    /// The pictures of groups whose ImageSize is isSmall; null (the
    /// default) shows none. The bar only refers to the list and forgets it
    /// when the list is freed; a change of the list repaints.
    TImageList* GetSmallImages() const { return FSmallImages; }
    void SetSmallImages(TImageList* Value);
    ///@}
    ///@{
    /// The pictures of groups whose ImageSize is isLarge (the default);
    /// null shows none. Referred to as SmallImages is.
    TImageList* GetLargeImages() const { return FLargeImages; }
    void SetLargeImages(TImageList* Value);
    ///@}
    ///@{
    /// A third image list the application may keep with the bar; the bar
    /// does not draw from it. Null by default.
    TImageList* GetGroupImages() const { return FGroupImages; }
    void SetGroupImages(TImageList* Value);
    ///@}
    ///@{
    /// The index of the open group; -1 while the bar has no groups.
    /// Setting an index outside 0 to count - 1 (-1 too) does nothing;
    /// another group opens at once (AnimationStyle asNone, while loading,
    /// with reduced motion or a single group) or slides open on the switch's
    /// worker thread, GetSwitching() true until it ends. A request during a
    /// switch waits for its end; only the last one counts. An open caption
    /// edit ends first, keeping its text. OnGroupClick is not fired: it
    /// answers clicks only.
    int GetVisibleGroup() const { return FVisibleGroup; }
    void SetVisibleGroup(int Value);
    ///@}
    ///@{
    /// The open group; null while there is none. Setting opens Value as
    /// SetVisibleGroup does; null does nothing.
    TFolioGroup* GetVisibleGroupObject() const;
    void SetVisibleGroupObject(TFolioGroup* Value);
    ///@}
    ///@{
    /// The height of a caption strip (its width on a horizontal bar), in
    /// pixels; 20 by default, scaled with the bar. A change repaints.
    int GetGroupCaptionHeight() const { return FGroupCaptionHeight; }
    void SetGroupCaptionHeight(int Value);
    ///@}
    ///@{
    /// How a group opens: asNone at once, asLinear sliding at an even pace,
    /// asAccelerate (the default) sliding faster as it goes.
    TFolAnimationStyle GetAnimationStyle() const { return FAnimationStyle; }
    void SetAnimationStyle(TFolAnimationStyle Value) { FAnimationStyle = Value; }
    ///@}
    ///@{
    /// How fast a switch slides, from 1 (slowest) to 100; 30 by default.
    /// Values outside are kept in range.
    int GetAnimationSpeed() const { return FAnimationSpeed; }
    void SetAnimationSpeed(int Value);
    ///@}
    ///@{
    /// The room between two items' slots, in pixels; 12 by default, scaled
    /// with the bar. A change repaints.
    int GetItemSpacing() const { return FItemSpacing; }
    void SetItemSpacing(int Value);
    ///@}
    ///@{
    /// The light edge of the frame round an item under the pointer (the
    /// dark edge when pressed); clBtnFace by default. A change repaints.
    TColor GetFrameHighlightColor() const { return FFrameHighlightColor; }
    void SetFrameHighlightColor(TColor Value);
    ///@}
    ///@{
    /// The dark edge of that frame; cl3DDkShadow by default. A change
    /// repaints.
    TColor GetFrameShadowColor() const { return FFrameShadowColor; }
    void SetFrameShadowColor(TColor Value);
    ///@}
    ///@{
    /// The resting cursor, crDefault by default; over a caption the bar
    /// shows a pointing hand instead.
    TCursor GetCursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    ///@}
    ///@{
    /// Whether OnDrawGroupCaption draws the captions instead of the bar
    /// (false by default; without a handler the bar draws them). A change
    /// repaints.
    bool GetCustomDrawGroupCaption() const { return FCustomDrawGroupCaption; }
    void SetCustomDrawGroupCaption(bool Value);
    ///@}
    ///@{
    /// Whether OnDrawGroup draws the open group's face instead of the bar
    /// (false by default); the bar still draws the items, buttons and
    /// insert mark over it. A change repaints.
    bool GetCustomDrawGroup() const { return FCustomDrawGroup; }
    void SetCustomDrawGroup(bool Value);
    ///@}
    ///@{
    /// How often a held scroll button repeats, in milliseconds; 150 by
    /// default, at least 50 (smaller values are taken as 50).
    int GetButtonClickDelay() const { return FButtonClickDelay; }
    void SetButtonClickDelay(int Value);
    ///@}
    ///@{
    /// Whether the user may drag items, within the bar and to other bars;
    /// true by default.
    bool GetAllowDragging() const { return FAllowDragging; }
    void SetAllowDragging(bool Value) { FAllowDragging = Value; }
    ///@}
    ///@{
    /// Whether the border is a flat line instead of a sunken edge; false by
    /// default. Setting true also sets BorderStyle bsSingle and Ctl3D false;
    /// a change re-creates the window.
    bool GetFlatBorder() const { return FFlatBorder; }
    void SetFlatBorder(bool Value);
    ///@}
    ///@{
    /// The colour of the line showing where a dragged item would land;
    /// clBlack by default. A change repaints.
    TColor GetInsertMarkColor() const { return FInsertMarkColor; }
    void SetInsertMarkColor(TColor Value);
    ///@}
    ///@{
    /// Whether OnGetItemEditRect may move the in-place editor of an item's
    /// caption; false by default.
    bool GetCustomItemEditing() const { return FCustomItemEditing; }
    void SetCustomItemEditing(bool Value) { FCustomItemEditing = Value; }
    ///@}
    ///@{
    /// Whether OnGetGroupEditRect may move the in-place editor of a
    /// caption; false by default.
    bool GetCustomGroupEditing() const { return FCustomGroupEditing; }
    void SetCustomGroupEditing(bool Value) { FCustomGroupEditing = Value; }
    ///@}

    /// Fired as an item is deleted (also by Clear, a load or the bar's
    /// destruction), before it goes.
    TFolItemEvent OnItemDeletion;
    /// Fired when a press and release on the same item of the open group
    /// make a click, or Enter or Space on the focused item.
    TFolItemEvent OnItemClick;
    /// Fired as a group is deleted, after its items' OnItemDeletion.
    TFolGroupEvent OnGroupDeletion;
    /// Fired after a click on a caption opened its group (or on the open
    /// group's caption); not for SetVisibleGroup.
    TFolGroupEvent OnGroupClick;
    /// Asked when a caption is pressed: setting Allow false (it arrives
    /// true) refuses the press, and the group does not open.
    TFolGroupClickEvent OnGroupCanClick;
    /// Asked when the upper (left) scroll button scrolls; StartItem arrives
    /// as the proposed first item and may be changed.
    TFolGroupButtonEvent OnPrevButtonClick;
    /// Asked when the lower (right) scroll button scrolls, as
    /// OnPrevButtonClick.
    TFolGroupButtonEvent OnNextButtonClick;
    /// Draws a caption in CaptionRect in its State when
    /// CustomDrawGroupCaption is true.
    TFolGroupCaptionDrawEvent OnDrawGroupCaption;
    /// Draws the open group's face in GroupRect when CustomDrawGroup is
    /// true; the items are painted over it afterwards.
    TFolGroupDrawEvent OnDrawGroup;
    /// Asked before an item's caption is edited in place; CanEdit arrives
    /// true, false refuses.
    TFolEditingItemEvent OnEditingItem;
    /// Fired when an item's edit is accepted; NewText arrives as typed and
    /// becomes the caption as the handler leaves it.
    TFolEditedItemEvent OnEditedItem;
    /// Asked before a caption is edited in place, as OnEditingItem.
    TFolEditingGroupEvent OnEditingGroup;
    /// Fired when a caption's edit is accepted, as OnEditedItem.
    TFolEditedGroupEvent OnEditedGroup;
    /// Asked for the caption editor's place when CustomGroupEditing is
    /// true; EditRect arrives as the caption strip.
    TFolGetGroupEditRectEvent OnGetGroupEditRect;
    /// Asked for an item editor's place when CustomItemEditing is true;
    /// EditRect arrives as the place the bar would give it.
    TFolGetItemEditRectEvent OnGetItemEditRect;

    /// Where a dragged item let go over the bar would land in the open group,
    /// shown by the insert mark; -1 when no position is shown.
    int GetInsertIndex() const { return FInsertIndex; }

    /// The group being opened by a switch; -1 while none is.
    int GetTargetGroup() const { return FTargetGroup; }
    /// Whether a switch runs (from SetVisibleGroup to the new group being
    /// open).
    bool GetSwitching() const { return FSwitching; }
    ///@{
    /// Whether the running switch's slide shows, and the pictures of the
    /// two sliding groups it copies; null outside a slide.
    bool GetAnimating() const { return FAnimating; }
    TBitmap* GetVisibleBitmap() const { return FVisibleBitmap.get(); }
    TBitmap* GetTargetBitmap() const { return FTargetBitmap.get(); }
    ///@}
    ///@{
    /// The index of the caption and of the open group's item under the
    /// pointer; -1 for none.
    int GetHoverGroup() const { return FHoverGroup; }
    int GetHoverItem() const { return FHoverItem; }
    ///@}
    ///@{
    /// A press held on a caption, an item or a scroll button, what it
    /// pressed, and whether the pointer is still over it (painting draws
    /// it pressed then). Only the bar's own handlers change them.
    bool GetGroupPressed() const { return FGroupPressed; }
    int GetPressedGroup() const { return FPressedGroup; }
    bool GetGroupPressInside() const { return FGroupPressInside; }
    bool GetItemPressed() const { return FItemPressed; }
    TFolioItem* GetPressedItem() const { return FPressedItem; }
    bool GetItemPressInside() const { return FItemPressInside; }
    bool GetPrevPressed() const { return FPrevPressed; }
    bool GetPrevPressInside() const { return FPrevPressInside; }
    bool GetNextPressed() const { return FNextPressed; }
    bool GetNextPressInside() const { return FNextPressInside; }
    ///@}
    ///@{
    /// The in-place editor, whether it edits a caption (else an item), and
    /// what it edits; null and false while nothing is edited.
    TFolEditor* GetEditor() const { return FEditor; }
    bool GetEditing() const { return FEditing; }
    bool GetEditingGroup() const { return FEditingGroup; }
    TFolioItem* GetEditedItem() const { return FEditedItem; }
    TFolioGroup* GetEditedGroup() const { return FEditedGroup; }
    ///@}

    /// @cond internal
    // What the model tells its bar. A group joined the bar's collection (the
    // first one opens at once, without a switch or an event); a group at
    // Index is leaving it, so the open group keeps pointing at the same
    // group or its neighbour and a scroll button held on it is let go.
    void GroupAdded();
    void GroupRemoving(int Index);
    /// @endcond

    ///@{
    /// The caption and the item under the pointer as the last pointer move
    /// or drag found them (no new hit test); null for none. "Curosr" is the
    /// published spelling, which callers use; the correctly spelled names
    /// answer the same.
    TFolioGroup* GetGroupUnderCurosr() const;
    TFolioItem* GetItemUnderCurosr() const;
    TFolioGroup* GetGroupUnderCursor() const { return GetGroupUnderCurosr(); }
    TFolioItem* GetItemUnderCursor() const { return GetItemUnderCurosr(); }
    ///@}
    ///@{
    /// Between BeginUpdate and its matching EndUpdate the bar records what
    /// changed instead of repainting; the last EndUpdate repaints once when
    /// anything did. Calls nest; an EndUpdate without a BeginUpdate does
    /// nothing. GetUpdateCount tells how deep the calls are.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int GetUpdateCount() const { return FUpdateCount; }
    ///@}
    /// Repaints the whole bar, or, between BeginUpdate and EndUpdate,
    /// records that it must.
    void Invalidate() override;
    /// The group whose caption contains the point, -1 for none (and while a
    /// switch animation runs).
    int GetOnGroup(int X, int Y) const;
    ///@{
    /// Whether the painted caption of a group or item ends in an ellipsis
    /// because it does not fit (its tooltip then shows the whole text).
    bool IsCaptionCut(const TFolioGroup* Group);
    bool IsItemCaptionCut(const TFolioItem* Item);
    ///@}
    /// @cond internal
    // Called by the destructors of groups and items: fire the deletion event
    // and forget every reference the bar holds to the object.
    void DeleteGroup(TFolioGroup* Group);
    void DeleteItem(TFolioItem* Item);
    // Drops every reference to an item that is deleted or leaves this bar.
    void ForgetItem(TFolioItem* Item);
    /// @endcond

    ///@{
    /// The bar's contents in the stream format. Loads are all or nothing: a
    /// damaged stream or file raises (EReadError, EInvalidGraphic for a
    /// picture, EFOpenError for a file that cannot be opened) and leaves the
    /// bar as it was; a complete load first deletes the old groups with
    /// their events. The pictures of one load share the load pixel budget
    /// (PictureBudget.h). A file is replaced only when the whole save has
    /// been written; a save that fails leaves an earlier file as it was.
    void SaveToStream(TStream& Stream);
    void LoadFromStream(TStream& Stream);
    void SaveToFile(const String& FileName);
    void LoadFromFile(const String& FileName);
    ///@}
    ///@{
    /// The groups and items in the registry below KeyPath of RootKey, one key
    /// per group and per item, without pictures and Data values. Begin
    /// KeyPath with a backslash: every group and item key is opened with the
    /// same path, and a relative one is taken from the key opened before.
    /// The save is written in one atomic step when it is complete; a failed
    /// load raises ERegistryException and leaves the bar as it was.
    void SaveToRegistry(HKEY RootKey, const String& KeyPath);
    void LoadFromRegistry(HKEY RootKey, const String& KeyPath);
    ///@}

    /// Opens the in-place editor on Group's caption, after accepting any
    /// open edit; false (no editor) for a group of another bar, during a
    /// switch, or when OnEditingGroup refuses. Enter or a click elsewhere
    /// accepts (OnEditedGroup), Escape cancels.
    bool EditGroup(TFolioGroup* Group);
    /// Opens the in-place editor on Item's caption, as EditGroup does, asking
    /// OnEditingItem and answering with OnEditedItem.
    bool EditItem(TFolioItem* Item);
    /// Appends a group with Caption and opens the editor on its caption;
    /// answers the new group.
    TFolioGroup* EditNewGroup(const String& Caption);
    /// Closes the in-place editor, if open: with Accept the typed text goes
    /// through OnEditedGroup or OnEditedItem into the caption; without, it is
    /// dropped.
    void HideEditor(bool Accept);
    ///@{
    /// Asks OnEditingGroup or OnEditingItem whether the caption may be
    /// edited; true without a handler.
    bool CanEditGroup(TFolioGroup* Group);
    bool CanEditItem(TFolioItem* Item);
    ///@}

    ///@{
    /// Keyboard: the caption or the item of the open group that the keys act
    /// on (at most one of the two; both null before the bar first had the
    /// focus). A bar is not a tab stop unless the application sets TabStop;
    /// then Tab and a click give it the keyboard. The focus rectangle shows
    /// on it while the bar has the focus and the keyboard is in use. Setting
    /// one scrolls an item into view.
    TFolioGroup* GetFocusedGroup() const;
    TFolioItem* GetFocusedItem() const;
    void SetFocusedGroup(TFolioGroup* Group);
    void SetFocusedItem(TFolioItem* Item);
    ///@}
    ///@{
    /// Act on a caption or item as a click does, OnGroupCanClick's veto
    /// included (OnGroupClick or OnItemClick fire); false when refused.
    bool PressGroup(TFolioGroup* Group);
    bool PressItem(TFolioItem* Item);
    ///@}
    /// Scrolls the open group by the least amount that shows the whole slot
    /// of Item; nothing for an item of another group.
    void ScrollIntoView(TFolioItem* Item);

    /// The settings painting takes from the bar, at its resolution
    /// (FolioView.h's paint functions take them).
    TFolioLook GetLook() const;

    /// @cond internal

    /// Rebuilds the rotated copy of GroupsFont used by horizontal captions.
    void CreateRotatedFont();
    TFont* GetRotatedFont() const { return FRotatedFont.get(); }

    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    bool DoMouseHWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void DoStartDrag(TDragObject*& DragObject) override;
    void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
    void DragDrop(TObject* Source, int X, int Y) override;
    void DragCanceled() override;
    /// A new Ctl3D value takes effect through the window's creation parameters.
    void CMCtl3DChanged(TMessage& Message) override;
    /// Caption height, spacing and the captions' font grow with the bar;
    /// picture sizes, scroll buttons and frame lines follow its CurrentPPI.
    void ChangeScale(int M, int D) override;
    /// @endcond

private:
    // The switch's worker steps the slide on the bar's fields.
    friend class TFolioAnimThread;
    // Tests seed the interaction state to try painting in every state.
    friend struct TFolioTestAccess;

    void WMTimer(TMessage& Message);
    void WMHideEditor(TMessage& Message);
    void WMNCPaint(TMessage& Message);
    void CMMouseLeave(TMessage& Message);
    void CMDesignHitTest(TMessage& Message);
    void WMGetDlgCode(TMessage& Message);
    void WMFocusChanged(TMessage& Message);

    /// Keyboard navigation (FolioKeyboard.cpp).
    bool NavigationKey(unsigned short Key, TShiftState Shift);
    void StepFocus(int Direction);
    void PageFocus(int Direction);
    void MoveFocusedItem(int Direction);
    void ActivateFocused();
    void EditFocused();
    /// A caption clicked or activated: opens the group and tells the
    /// application, as a click released over it does.
    void GroupClicked(TFolioGroup* Group);
    /// Asks OnGroupCanClick; false when the handler refused or deleted the group.
    bool AllowGroupClick(TFolioGroup* Group);
    /// The focused caption or item, made consistent with the open group.
    void ValidateFocus();
    void FocusUnderPointer(int X, int Y);
    bool ShowsFocusCue() const;
    void PaintFocusCue(TCanvas* Canvas);
    /// The wheel (FolioWheel.cpp): Delta in wheel units, positive towards
    /// the later items.
    bool WheelScroll(int Delta, TPoint ScreenPos);
    /// Tooltips (FolioHints.cpp): each caption and item its own hint target.
    void CMHintShow(TMessage& Message);

    void InternalSetVisibleGroup(int Index);
    /// Group switching: starts the worker of an animated switch, ends a
    /// switch on the user-interface thread, and on destruction parts from a
    /// worker that is still running before the bar goes.
    void StartSwitch(int Index);
    void FinishSwitch();
    void StopSwitch();
    /// Mouse handling: the pressed caption, button or item. A press marks
    /// itself held and inside and repaints R; while it is held, a pointer
    /// move keeps Inside up to date, repainting R when it changes.
    void InvalidateNoErase(const TRect& R);
    void Press(bool& Pressed, bool& Inside, const TRect& R);
    void TrackPress(bool& Inside, bool Now, const TRect& R);
    /// The press on a scroll button scrolls once and starts the repeat timer.
    void PressScrollButton(TFolioGroup& Open, bool Next);
    /// Whether the application draws captions or group backgrounds itself.
    bool DrawsCustom() const;
    /// Whether a paint of the bar sets every pixel of its client area, so
    /// that erasing the background first would only be painted over.
    bool PaintCoversClient() const;
    void WMEraseBkgnd(TMessage& Message);
    /// Lets go of a held scroll button: no more repeats, nothing drawn pressed.
    void StopButtonRepeat();
    /// Drag handling: the drag of one of the bar's kind now running, with its
    /// item still there (null otherwise); a drag resting on a scroll button;
    /// the opening timer's tick; and forgetting everything a drag showed or
    /// started on the bar.
    static TFolioDragItem* ItemDrag(TObject* Source);
    void HoldButtonForDrag(bool Next);
    void ReleaseButtonsForDrag();
    void StopOpenTimer();
    void OpenTimerTick();
    void ForgetDrag();
    void UpdateHoverCursor();
    /// The caption under the pointer at (X, Y) becomes the hovered one, with
    /// its cursor; nothing is repainted.
    void HoverCaptionAt(int X, int Y);
    /// The hover state of a pointer at P with nothing pressed: the caption
    /// under it and the open group's item under it, none over a scroll
    /// button's place. Repaints when either changed.
    void HoverAt(TPoint P);
    /// After the layout changed under a pointer resting on the bar, takes
    /// the hover state from where the pointer is now.
    void HoverFromPointer();
    void ImagesChanged(TObject* Sender);
    void GroupsFontChanged(TObject* Sender);
    void SetImageList(TImageList*& Field, TChangeLink& Link, TImageList* Value);
    void DesignerModified();

    TBorderStyle FBorderStyle = bsSingle;
    std::unique_ptr<TFont> FGroupsFont;
    std::unique_ptr<TFolioGroups> FGroups;
    TFolAlignment FAlignment = baVertical;
    TImageList* FSmallImages = nullptr;
    TImageList* FLargeImages = nullptr;
    TImageList* FGroupImages = nullptr;
    int FVisibleGroup = -1;
    int FGroupCaptionHeight = 20;
    TFolAnimationStyle FAnimationStyle = asAccelerate;
    int FAnimationSpeed = 30;
    int FItemSpacing = 12;
    TColor FFrameHighlightColor = clBtnFace;
    TColor FFrameShadowColor = cl3DDkShadow;
    TCursor FCursor = crDefault;
    bool FCustomDrawGroupCaption = false;
    bool FCustomDrawGroup = false;
    int FButtonClickDelay = 150;
    bool FAllowDragging = true;
    bool FFlatBorder = false;
    TColor FInsertMarkColor = clBlack;
    bool FCustomItemEditing = false;
    bool FCustomGroupEditing = false;

    std::unique_ptr<TFont> FRotatedFont;
    std::unique_ptr<TChangeLink> FSmallImagesLink;
    std::unique_ptr<TChangeLink> FLargeImagesLink;
    std::unique_ptr<TChangeLink> FGroupImagesLink;
    int FTargetGroup = -1;
    bool FSwitching = false;
    bool FAnimating = false;
    std::unique_ptr<TBitmap> FVisibleBitmap;
    std::unique_ptr<TBitmap> FTargetBitmap;
    /// What the slide's frame step about to repaint changed (empty: the
    /// whole bar); the repaint request takes it.
    TRect FFrameDamage;
    int FHoverGroup = -1;
    int FHoverItem = -1;
    bool FGroupPressed = false;
    int FPressedGroup = -1;
    bool FGroupPressInside = false;
    bool FItemPressed = false;
    TFolioItem* FPressedItem = nullptr;
    bool FItemPressInside = false;
    TPoint FPressPoint;
    bool FPrevPressed = false;
    bool FNextPressed = false;
    bool FPrevPressInside = false;
    bool FNextPressInside = false;
    unsigned FRepeatTimer = 0;
    unsigned FOpenTimer = 0;
    int FInsertIndex = -1;
    TFolEditor* FEditor = nullptr;
    TFolioItem* FEditedItem = nullptr;
    TFolioGroup* FEditedGroup = nullptr;
    bool FEditingGroup = false;
    bool FEditing = false;
    /// The object whose edited event runs now; deleting it clears this, so
    /// the text is applied only to an object that is still there.
    TPersistent* FClosingEdit = nullptr;
    /// The running switch's tie to its worker, and the request that arrived
    /// while it ran (-1 none), applied when it ends.
    std::shared_ptr<TFolioAnimLink> FAnimLink;
    int FPendingGroup = -1;
    /// The keyboard's caption or item (see GetFocusedGroup).
    TFolioGroup* FFocusGroup = nullptr;
    int FUpdateCount = 0;
    bool FUpdateChanged = false;
    TFolioItem* FFocusItem = nullptr;
    TWheelNotches FWheel;
};

} // namespace folio
