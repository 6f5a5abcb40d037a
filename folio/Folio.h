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
enum TFolAlignment : std::uint8_t { baVertical, baHorizontal };
enum TFolAnimationStyle : std::uint8_t { asNone, asLinear, asAccelerate };
enum TFolGroupState : std::uint8_t { gsNormal, gsOver, gsPressed };
enum TFolImageSize : std::uint8_t { isSmall, isLarge };
// "Backgroung" is the published spelling, which callers and stored form
// files use; TFolGroupBackgroundStyle below is the same type.
enum TFolGroupBackgroungStyle : std::uint8_t { gbColor, gbBitmap, gbGradient };
using TFolGroupBackgroundStyle = TFolGroupBackgroungStyle;
enum TFrameRectState : std::uint8_t { frsRegular, frsOver, frsPressed };

// The private message the in-place editor posts to the bar to close itself.
constexpr unsigned WM_HIDEEDITOR = WM_USER + 100;

// Timer ids on the bar's window.
constexpr unsigned FolioRepeatTimerId = 1;
constexpr unsigned FolioOpenTimerId = 2;
// How long a dragged item rests on a closed group's caption before the group
// opens, in milliseconds.
constexpr unsigned FolioOpenDelay = 300;

// Events. Sender is always the bar.
using TFolItemEvent = std::function<void(TObject* Sender, TFolioItem* Item)>;
using TFolGroupEvent = std::function<void(TObject* Sender, TFolioGroup* Group)>;
using TFolGroupClickEvent = std::function<void(TObject* Sender, TFolioGroup* Group, bool& Allow)>;
using TFolGroupButtonEvent =
    std::function<void(TObject* Sender, TFolioGroup* Group, int& StartItem)>;
using TFolGroupCaptionDrawEvent =
    std::function<void(TObject* Sender, TCanvas* Canvas, TFolioGroup* Group,
                       const TRect& CaptionRect, TFolGroupState State)>;
using TFolGroupDrawEvent = std::function<void(TObject* Sender, TCanvas* Canvas, TFolioGroup* Group,
                                              const TRect& GroupRect)>;
using TFolEditingItemEvent = std::function<void(TObject* Sender, TFolioItem* Item, bool& CanEdit)>;
using TFolEditingGroupEvent =
    std::function<void(TObject* Sender, TFolioGroup* Group, bool& CanEdit)>;
using TFolEditedItemEvent = std::function<void(TObject* Sender, TFolioItem* Item, String& NewText)>;
using TFolEditedGroupEvent =
    std::function<void(TObject* Sender, TFolioGroup* Group, String& NewText)>;
using TFolGetItemEditRectEvent =
    std::function<void(TObject* Sender, TFolioItem* Item, TRect& EditRect)>;
using TFolGetGroupEditRectEvent =
    std::function<void(TObject* Sender, TFolioGroup* Group, TRect& EditRect)>;

// ---------------------------------------------------------------------------
// Items

class TFolioItem : public TPersistent, public TFolioListed {
    FOLIO_CLASS(TFolioItem)
public:
    // Items may be null: such an item has no collection, group or bar.
    explicit TFolioItem(TFolioItems* AItems);
    ~TFolioItem() override;
    TFolioItem(const TFolioItem&) = delete;
    TFolioItem& operator=(const TFolioItem&) = delete;

    // Items come from a pool of large pages: a group may hold millions.
    static void* operator new(std::size_t Size);
    static void operator delete(void* Item, std::size_t Size) noexcept;

    void Assign(const TPersistent* Source) override;
    bool IsEqual(const TFolioItem* Item) const;
    void Delete();
    // Moves this item next to Target, into Target's collection.
    void MoveTo(TFolioItem* Target, bool Before);

    void Edit();
    void EndEdit(bool Cancel);
    bool GetEdited() const;

    int GetIndex() const;
    TFolio* GetBar() const { return FBar; }
    TFolioGroups* GetGroups() const { return FGroups; }
    TFolioGroup* GetGroup() const { return FGroup; }
    TFolioItems* GetItems() const { return FItems; }

    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    int GetOverImageIndex() const { return FOverImageIndex; }
    void SetOverImageIndex(int Value);
    void* GetData() const { return FData; }
    void SetData(void* Value) { FData = Value; }
    int GetTag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    const String& GetHint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    bool GetShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }

    // Geometry, in client coordinates of the bar; empty without a bar. Items
    // scrolled out before the group's StartItem keep their rectangles.
    TRect GetImageRect() const;
    TRect GetTextRect() const;
    TRect GetClientRect() const;

    void Paint(TCanvas* Canvas);

    // The item's stored fields, described once (FolioRecords.h): its
    // equality, copy, stream record and registry key are made from them.
    static constexpr auto Fields();

    // One item record of the stream format. ReadData changes nothing unless
    // the whole record could be read.
    void WriteData(TStream& Stream) const;
    void ReadData(TStream& Stream);

    // The item's registry key, Path\Group g\Item i, with its six values.
    // LoadFromRegistry reads into a scratch item first: a missing key or
    // value raises and changes nothing.
    void SaveToRegistry(TRegistry& Registry, const String& Path) const;
    void LoadFromRegistry(TRegistry& Registry, const String& Path);

private:
    // The collection reads, stores, binds and places its items.
    friend class TFolioItems;

    void ReadRecord(TFolioReader& Reader);
    // The registry key of item Number of group GroupNumber, both from 1.
    void WriteRegistry(TRegistry& Registry, const String& Path, int GroupNumber, int Number) const;
    void ReadRegistry(TRegistry& Registry, const String& Path, int GroupNumber, int Number);
    // The group number of the item's key: its group's index plus one.
    int RegistryGroupNumber() const;
    // Takes the collection's references (or clears them for null).
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

class TFolioItems : public TFolioCollection<TFolioItem> {
    FOLIO_CLASS(TFolioItems)
public:
    // Group may be null for a collection outside any bar.
    explicit TFolioItems(TFolioGroup* AGroup);
    ~TFolioItems() override;

    // Raise Exception("Index out of range") for an index outside 0..Count-1.
    TFolioItem* GetItem(int Index) const { return At(Index); }
    void SetItem(int Index, const TFolioItem* Item);
    TFolioItem* GetFirstItem() const { return FList.First(); }
    TFolioItem* GetLastItem() const { return FList.Last(); }

    TFolioItem* Add(const String& Caption, int ImageIndex);
    TFolioItem* AddObject(const String& Caption, int ImageIndex, void* Data);
    TFolioItem* Insert(int Index, const String& Caption, int ImageIndex);
    TFolioItem* InsertObject(int Index, const String& Caption, int ImageIndex, void* Data);
    // Moves Item (from any collection) to NewIndex here; beyond the count appends.
    void Move(TFolioItem* Item, int NewIndex);
    bool Equals(const TFolioItems* Items) const;
    // Deep copy through the stream format; Data values keep their full width.
    void Assign(const TPersistent* Source) override;

    TFolioGroups* GetGroups() const { return FGroups; }
    TFolioGroup* GetGroup() const { return FGroup; }

    virtual void Paint(TCanvas* Canvas);

    // The items record. ReadData validates the whole record before it touches
    // the collection: on failure nothing changes; on success the old items are
    // deleted (with their deletion events) and the new ones appended.
    void WriteData(TStream& Stream) const;
    void ReadData(TStream& Stream);

    // The "Items" count in the open key (the group's), then every item's key.
    // Loading is all-or-nothing as for ReadData.
    void SaveToRegistry(TRegistry& Registry, const String& Path) const;
    void LoadFromRegistry(TRegistry& Registry, const String& Path);

private:
    // An item takes itself out as it is destroyed or moves elsewhere.
    friend class TFolioItem;
    // A group reads, stores and rebinds its items.
    friend class TFolioGroup;

    // Appends a fresh item without asking for a repaint.
    TFolioItem* AppendNew();
    void ReadRecord(TFolioReader& Reader);
    void WriteRegistry(TRegistry& Registry, const String& Path, int GroupNumber) const;
    void ReadRegistry(TRegistry& Registry, const String& Path, int GroupNumber);
    // Replaces the items by Staging's, as a load does, and repaints.
    void TakeLoaded(TFolioItems& Staging);
    // Moves every item of Staging to the end of this collection.
    void Adopt(TFolioItems& Staging);
    // Re-clamps the owning group's scroll position after a removal.
    void ItemRemoved();
    // Takes the group's references, for the collection and its items.
    void Rebind(TFolioGroup* AGroup);

    TFolioGroup* FGroup = nullptr;
    TFolioGroups* FGroups = nullptr;
};

// ---------------------------------------------------------------------------
// Groups

class TFolioGroup : public TPersistent, public TFolioListed {
    FOLIO_CLASS(TFolioGroup)
public:
    // Groups may be null only for a group outside any collection.
    explicit TFolioGroup(TFolioGroups* AGroups);
    ~TFolioGroup() override;
    TFolioGroup(const TFolioGroup&) = delete;
    TFolioGroup& operator=(const TFolioGroup&) = delete;

    void Assign(const TPersistent* Source) override;
    bool IsEqual(const TFolioGroup* Group) const;
    void Delete();
    TPersistent* GetOwner() const override;
    String GetNamePath() const override;

    int GetIndex() const;
    bool GetVisible() const;
    void SetVisible(bool Value);
    TFolio* GetBar() const { return FBar; }
    TFolioGroups* GetGroups() const { return FGroups; }

    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    TFolGroupBackgroungStyle GetStyle() const { return FStyle; }
    void SetStyle(TFolGroupBackgroungStyle Value);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    TColor GetStartColor() const { return FStartColor; }
    void SetStartColor(TColor Value);
    TColor GetEndColor() const { return FEndColor; }
    void SetEndColor(TColor Value);
    TBitmap* GetBitmap() const { return FBitmap.get(); }
    // Copies Value's picture into the group's own bitmap.
    void SetBitmap(TBitmap* Value);
    TColor GetCaptionColor() const { return FCaptionColor; }
    void SetCaptionColor(TColor Value);
    int GetTag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    TFolImageSize GetImageSize() const { return FImageSize; }
    void SetImageSize(TFolImageSize Value);
    void* GetData() const { return FData; }
    void SetData(void* Value) { FData = Value; }
    const String& GetHint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    bool GetShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    bool GetFixedBitmap() const { return FFixedBitmap; }
    void SetFixedBitmap(bool Value) { FFixedBitmap = Value; }
    int GetStartItem() const { return FStartItem; }
    // Clamps Value to the items and the visible slots, then stores it.
    void SetStartItem(int Value);
    TFolioItems* GetItems() const { return FItems.get(); }
    // Copies Value into the group's own collection.
    void SetItems(TFolioItems* Value);

    void ClickPrevButton();
    void ClickNextButton();
    // Scrolls by Step items as the scroll buttons do, through Handler (the
    // buttons' event, which may change the step or delete the group).
    void ScrollByButton(int Step, TFolGroupButtonEvent Handler);
    void Edit();
    void EndEdit(bool Cancel);

    // Geometry, in client coordinates of the bar; empty without a bar.
    TRect GetBoundsRect() const;
    TRect GetCaptionRect() const;
    TRect GetClientRect() const;
    TImageList* GetImages() const;
    int GetImagesWidth() const;
    int GetImagesHeight() const;
    int GetItemHeight() const;
    int GetItemWidth() const;
    // Whole item slots that fit in the client area; 0 before the bar has a window.
    int GetVisibleItems() const;
    bool GetPrevButtonVisible() const;
    bool GetNextButtonVisible() const;
    TRect GetPrevButtonRect() const;
    TRect GetNextButtonRect() const;
    // Where the buttons sit whether they show or not (the rectangles above
    // are empty while a button is hidden).
    TRect GetPrevButtonPlace() const;
    TRect GetNextButtonPlace() const;
    // The first item, in index order, whose picture or caption lies under
    // the point; -1 for none.
    int GetOnItem(int X, int Y) const;
    // The gap before slot Index (after the last item for Index = count),
    // where the insert mark for that position is drawn. A dragged item let
    // go at its centre lands at Index.
    TRect GetInsertMarkRect(int Index) const;
    TFolGroupState GetState() const;

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

    // The group's registry key, Path\Group g, with its eleven values and
    // "Items", then its items. The picture, Data and StartItem are not
    // stored. LoadFromRegistry is all-or-nothing and leaves the picture and
    // Data as they are.
    void SaveToRegistry(TRegistry& Registry, const String& Path) const;
    void LoadFromRegistry(TRegistry& Registry, const String& Path);

private:
    // The collection reads, stores and rebinds its groups.
    friend class TFolioGroups;
    // Tests seed the scroll position and the slide.
    friend struct TFolioTestAccess;

    void ReadRecord(TFolioReader& Reader);
    // The registry key of group Number, from 1.
    void WriteRegistry(TRegistry& Registry, const String& Path, int Number) const;
    void ReadRegistry(TRegistry& Registry, const String& Path, int Number);
    // Takes over every field and item of a staged group, as a load does.
    void TakeContents(TFolioGroup& Staged);
    void Rebind(TFolioGroups* AGroups);
    // Asks the bar to repaint when there is one.
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

class TFolioGroups : public TFolioCollection<TFolioGroup> {
    FOLIO_CLASS(TFolioGroups)
public:
    // Bar may be null for a collection outside any bar.
    explicit TFolioGroups(TFolio* ABar);
    ~TFolioGroups() override;

    // Raise Exception("Index out of range") for an index outside 0..Count-1.
    TFolioGroup* GetGroup(int Index) const { return At(Index); }
    void SetGroup(int Index, const TFolioGroup* Group);
    TFolioGroup* GetFirstGroup() const { return FList.First(); }
    TFolioGroup* GetLastGroup() const { return FList.Last(); }

    TFolioGroup* Add(const String& Caption);
    TFolioGroup* AddObject(const String& Caption, void* Data);
    TFolioGroup* Insert(int Index, const String& Caption);
    TFolioGroup* InsertObject(int Index, const String& Caption, void* Data);
    // Deep copy through the stream format; Data values keep their full width.
    void Assign(const TPersistent* Source) override;
    // In a form file the collection is the binary property "Data" (the
    // groups record), found under the bar as Groups.Data.
    void DefineProperties(TFiler* Filer) override;

    virtual void Paint(TCanvas* Canvas);

    // The groups record: the whole stream of a bar. ReadData validates the
    // whole record before it touches the collection.
    void WriteData(TStream& Stream) const;
    void ReadData(TStream& Stream);

    // The registry layout: "Groups" in the key at Path, then every group's
    // key. Loading reads every key into a scratch collection first; a missing
    // key or value raises and leaves the collection as it was.
    void SaveToRegistry(TRegistry& Registry, const String& Path) const;
    void LoadFromRegistry(TRegistry& Registry, const String& Path);

private:
    // A group takes itself out as it is destroyed.
    friend class TFolioGroup;

    // Appends a fresh group, doing the first-group bookkeeping of AddObject.
    TFolioGroup* Append(TFolioGroup* Group);
    void ReadRecord(TFolioReader& Reader);
    void ReadRegistry(TRegistry& Registry, const String& Path);
    void Adopt(TFolioGroups& Staging);
};

// ---------------------------------------------------------------------------
// Item drag and drop

// What an item drag carries. The bar makes one for each drag it starts from
// a pressed item; the framework frees it when the drag ends. Item turns null
// when the item is destroyed mid-drag, which ends the drag.
class TFolioDragItem : public TDragObject {
    FOLIO_CLASS(TFolioDragItem)
public:
    TFolioItem* Item = nullptr;

private:
    friend class TFolioItem;
    // Called as an item is destroyed: the drag carrying it ends without a drop.
    static void ItemDestroyed(TFolioItem* Item);
};

// ---------------------------------------------------------------------------
// The bar

class TFolio : public TCustomControl {
    FOLIO_CLASS(TFolio)
public:
    explicit TFolio(TComponent* AOwner);
    ~TFolio() override;

    // Published properties, in declaration order.
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TFont* GetGroupsFont() const { return FGroupsFont.get(); }
    void SetGroupsFont(TFont* Value);
    TFolioGroups* GetGroups() const { return FGroups.get(); }
    void SetGroups(TFolioGroups* Value);
    TFolAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TFolAlignment Value);
    // Whether the captions stack top to bottom. An alignment value other than
    // the two named ones (a damaged stream can hold any byte) reads as the
    // default, vertical; geometry, painting and the slide all ask here so
    // that they never disagree about the axis.
    bool IsVertical() const { return FAlignment != baHorizontal; }
    TImageList* GetSmallImages() const { return FSmallImages; }
    void SetSmallImages(TImageList* Value);
    TImageList* GetLargeImages() const { return FLargeImages; }
    void SetLargeImages(TImageList* Value);
    TImageList* GetGroupImages() const { return FGroupImages; }
    void SetGroupImages(TImageList* Value);
    int GetVisibleGroup() const { return FVisibleGroup; }
    void SetVisibleGroup(int Value);
    TFolioGroup* GetVisibleGroupObject() const;
    void SetVisibleGroupObject(TFolioGroup* Value);
    int GetGroupCaptionHeight() const { return FGroupCaptionHeight; }
    void SetGroupCaptionHeight(int Value);
    TFolAnimationStyle GetAnimationStyle() const { return FAnimationStyle; }
    void SetAnimationStyle(TFolAnimationStyle Value) { FAnimationStyle = Value; }
    int GetAnimationSpeed() const { return FAnimationSpeed; }
    void SetAnimationSpeed(int Value);
    int GetItemSpacing() const { return FItemSpacing; }
    void SetItemSpacing(int Value);
    TColor GetFrameHighlightColor() const { return FFrameHighlightColor; }
    void SetFrameHighlightColor(TColor Value);
    TColor GetFrameShadowColor() const { return FFrameShadowColor; }
    void SetFrameShadowColor(TColor Value);
    // The resting cursor; over a caption the bar shows a pointing hand instead.
    TCursor GetCursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    bool GetCustomDrawGroupCaption() const { return FCustomDrawGroupCaption; }
    void SetCustomDrawGroupCaption(bool Value);
    bool GetCustomDrawGroup() const { return FCustomDrawGroup; }
    void SetCustomDrawGroup(bool Value);
    int GetButtonClickDelay() const { return FButtonClickDelay; }
    void SetButtonClickDelay(int Value);
    bool GetAllowDragging() const { return FAllowDragging; }
    void SetAllowDragging(bool Value) { FAllowDragging = Value; }
    bool GetFlatBorder() const { return FFlatBorder; }
    void SetFlatBorder(bool Value);
    TColor GetInsertMarkColor() const { return FInsertMarkColor; }
    void SetInsertMarkColor(TColor Value);
    bool GetCustomItemEditing() const { return FCustomItemEditing; }
    void SetCustomItemEditing(bool Value) { FCustomItemEditing = Value; }
    bool GetCustomGroupEditing() const { return FCustomGroupEditing; }
    void SetCustomGroupEditing(bool Value) { FCustomGroupEditing = Value; }

    TFolItemEvent OnItemDeletion;
    TFolItemEvent OnItemClick;
    TFolGroupEvent OnGroupDeletion;
    TFolGroupEvent OnGroupClick;
    TFolGroupClickEvent OnGroupCanClick;
    TFolGroupButtonEvent OnPrevButtonClick;
    TFolGroupButtonEvent OnNextButtonClick;
    TFolGroupCaptionDrawEvent OnDrawGroupCaption;
    TFolGroupDrawEvent OnDrawGroup;
    TFolEditingItemEvent OnEditingItem;
    TFolEditedItemEvent OnEditedItem;
    TFolEditingGroupEvent OnEditingGroup;
    TFolEditedGroupEvent OnEditedGroup;
    TFolGetGroupEditRectEvent OnGetGroupEditRect;
    TFolGetItemEditRectEvent OnGetItemEditRect;

    // Where a dragged item let go over the bar would land in the open group,
    // shown by the insert mark; -1 when no position is shown.
    int GetInsertIndex() const { return FInsertIndex; }

    // The interaction state that geometry and painting read. Only the bar's
    // own handlers change it.
    // The group being opened (-1 none); whether a switch runs, and whether
    // its slide shows, copying the two pictures of the sliding groups.
    int GetTargetGroup() const { return FTargetGroup; }
    bool GetSwitching() const { return FSwitching; }
    bool GetAnimating() const { return FAnimating; }
    TBitmap* GetVisibleBitmap() const { return FVisibleBitmap.get(); }
    TBitmap* GetTargetBitmap() const { return FTargetBitmap.get(); }
    // The caption and the open group's item under the pointer (-1 none).
    int GetHoverGroup() const { return FHoverGroup; }
    int GetHoverItem() const { return FHoverItem; }
    // A press held on a caption, an item or a scroll button, and whether the
    // pointer is still over what it pressed.
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
    // The in-place editor and what it edits (null when nothing is edited).
    TFolEditor* GetEditor() const { return FEditor; }
    bool GetEditing() const { return FEditing; }
    bool GetEditingGroup() const { return FEditingGroup; }
    TFolioItem* GetEditedItem() const { return FEditedItem; }
    TFolioGroup* GetEditedGroup() const { return FEditedGroup; }

    // What the model tells its bar. A group joined the bar's collection (the
    // first one opens at once, without a switch or an event); a group at
    // Index is leaving it, so the open group keeps pointing at the same
    // group or its neighbour and a scroll button held on it is let go.
    void GroupAdded();
    void GroupRemoving(int Index);

    // The last hover state computed by mouse or drag handling; no hit test.
    // "Curosr" is the published spelling, which callers use; the correctly
    // spelled names answer the same.
    TFolioGroup* GetGroupUnderCurosr() const;
    TFolioItem* GetItemUnderCurosr() const;
    TFolioGroup* GetGroupUnderCursor() const { return GetGroupUnderCurosr(); }
    TFolioItem* GetItemUnderCursor() const { return GetItemUnderCurosr(); }
    // Between BeginUpdate and its matching EndUpdate the bar records what
    // changed instead of repainting; the last EndUpdate repaints once when
    // anything did. Calls nest; an EndUpdate without a BeginUpdate does
    // nothing.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int GetUpdateCount() const { return FUpdateCount; }
    void Invalidate() override;
    // The group whose caption contains the point, -1 for none (and while a
    // switch animation runs).
    int GetOnGroup(int X, int Y) const;
    // Whether the painted caption of a group or item ends in an ellipsis
    // because it does not fit (its tooltip then shows the whole text).
    bool IsCaptionCut(const TFolioGroup* Group);
    bool IsItemCaptionCut(const TFolioItem* Item);
    // Called by the destructors of groups and items: fire the deletion event
    // and forget every reference the bar holds to the object.
    void DeleteGroup(TFolioGroup* Group);
    void DeleteItem(TFolioItem* Item);
    // Drops every reference to an item that is deleted or leaves this bar.
    void ForgetItem(TFolioItem* Item);

    // The bar's contents in the stream format. Loads are all-or-nothing: a
    // damaged stream or file raises and leaves the bar as it was. The
    // pictures of one load share the load pixel budget (PictureBudget.h). A
    // file is replaced only when the whole save has been written; a save
    // that fails leaves an earlier file as it was.
    void SaveToStream(TStream& Stream);
    void LoadFromStream(TStream& Stream);
    void SaveToFile(const String& FileName);
    void LoadFromFile(const String& FileName);
    // The groups and items in the registry below KeyPath of RootKey, one key
    // per group and per item, without pictures and Data values. The save is
    // written in one atomic step when it is complete; a failed load raises
    // and leaves the bar as it was.
    void SaveToRegistry(HKEY RootKey, const String& KeyPath);
    void LoadFromRegistry(HKEY RootKey, const String& KeyPath);

    // In-place caption editing.
    bool EditGroup(TFolioGroup* Group);
    bool EditItem(TFolioItem* Item);
    TFolioGroup* EditNewGroup(const String& Caption);
    void HideEditor(bool Accept);
    bool CanEditGroup(TFolioGroup* Group);
    bool CanEditItem(TFolioItem* Item);

    // Keyboard: the caption or the item of the open group that the keys act
    // on (at most one of the two; both null before the bar first had the
    // focus). A bar is not a tab stop unless the application sets TabStop;
    // then Tab and a click give it the keyboard. The focus rectangle shows
    // on it while the bar has the focus and the keyboard is in use. Setting
    // one scrolls an item into view.
    TFolioGroup* GetFocusedGroup() const;
    TFolioItem* GetFocusedItem() const;
    // Act on a caption or item as a click does, OnGroupCanClick's veto
    // included; false when refused (FolioAccessible.cpp, for the
    // accessibility tree's press action).
    bool PressGroup(TFolioGroup* Group);
    bool PressItem(TFolioItem* Item);
    void SetFocusedGroup(TFolioGroup* Group);
    void SetFocusedItem(TFolioItem* Item);
    // Scrolls the open group by the least amount that shows the whole slot
    // of Item; nothing for an item of another group.
    void ScrollIntoView(TFolioItem* Item);

    // The settings painting takes from the bar, at its resolution (FolioView.h).
    TFolioLook GetLook() const;

    // Rebuilds the rotated copy of GroupsFont used by horizontal captions.
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
    // A new Ctl3D value takes effect through the window's creation parameters.
    void CMCtl3DChanged(TMessage& Message) override;
    // Caption height, spacing and the captions' font grow with the bar;
    // picture sizes, scroll buttons and frame lines follow its CurrentPPI.
    void ChangeScale(int M, int D) override;

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

    // Keyboard navigation (FolioKeyboard.cpp).
    bool NavigationKey(unsigned short Key, TShiftState Shift);
    void StepFocus(int Direction);
    void PageFocus(int Direction);
    void MoveFocusedItem(int Direction);
    void ActivateFocused();
    void EditFocused();
    // A caption clicked or activated: opens the group and tells the
    // application, as a click released over it does.
    void GroupClicked(TFolioGroup* Group);
    // Asks OnGroupCanClick; false when the handler refused or deleted the group.
    bool AllowGroupClick(TFolioGroup* Group);
    // The focused caption or item, made consistent with the open group.
    void ValidateFocus();
    void FocusUnderPointer(int X, int Y);
    bool ShowsFocusCue() const;
    void PaintFocusCue(TCanvas* Canvas);
    // The wheel (FolioWheel.cpp): Delta in wheel units, positive towards
    // the later items.
    bool WheelScroll(int Delta, TPoint ScreenPos);
    // Tooltips (FolioHints.cpp): each caption and item its own hint target.
    void CMHintShow(TMessage& Message);

    void InternalSetVisibleGroup(int Index);
    // Group switching: starts the worker of an animated switch, ends a
    // switch on the user-interface thread, and on destruction parts from a
    // worker that is still running before the bar goes.
    void StartSwitch(int Index);
    void FinishSwitch();
    void StopSwitch();
    // Mouse handling: the pressed caption, button or item. A press marks
    // itself held and inside and repaints R; while it is held, a pointer
    // move keeps Inside up to date, repainting R when it changes.
    void InvalidateNoErase(const TRect& R);
    void Press(bool& Pressed, bool& Inside, const TRect& R);
    void TrackPress(bool& Inside, bool Now, const TRect& R);
    // The press on a scroll button scrolls once and starts the repeat timer.
    void PressScrollButton(TFolioGroup& Open, bool Next);
    // Whether the application draws captions or group backgrounds itself.
    bool DrawsCustom() const;
    // Whether a paint of the bar sets every pixel of its client area, so
    // that erasing the background first would only be painted over.
    bool PaintCoversClient() const;
    void WMEraseBkgnd(TMessage& Message);
    // Lets go of a held scroll button: no more repeats, nothing drawn pressed.
    void StopButtonRepeat();
    // Drag handling: the drag of one of the bar's kind now running, with its
    // item still there (null otherwise); a drag resting on a scroll button;
    // the opening timer's tick; and forgetting everything a drag showed or
    // started on the bar.
    static TFolioDragItem* ItemDrag(TObject* Source);
    void HoldButtonForDrag(bool Next);
    void ReleaseButtonsForDrag();
    void StopOpenTimer();
    void OpenTimerTick();
    void ForgetDrag();
    void UpdateHoverCursor();
    // The caption under the pointer at (X, Y) becomes the hovered one, with
    // its cursor; nothing is repainted.
    void HoverCaptionAt(int X, int Y);
    // The hover state of a pointer at P with nothing pressed: the caption
    // under it and the open group's item under it, none over a scroll
    // button's place. Repaints when either changed.
    void HoverAt(TPoint P);
    // After the layout changed under a pointer resting on the bar, takes
    // the hover state from where the pointer is now.
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
    // What the slide's frame step about to repaint changed (empty: the
    // whole bar); the repaint request takes it.
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
    // The object whose edited event runs now; deleting it clears this, so
    // the text is applied only to an object that is still there.
    TPersistent* FClosingEdit = nullptr;
    // The running switch's tie to its worker, and the request that arrived
    // while it ran (-1 none), applied when it ends.
    std::shared_ptr<TFolioAnimLink> FAnimLink;
    int FPendingGroup = -1;
    // The keyboard's caption or item (see GetFocusedGroup).
    TFolioGroup* FFocusGroup = nullptr;
    int FUpdateCount = 0;
    bool FUpdateChanged = false;
    TFolioItem* FFocusItem = nullptr;
    TWheelNotches FWheel;
};

} // namespace folio
