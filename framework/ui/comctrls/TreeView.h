#pragma once

#include "framework/gfx/ImageList.h"
#include "framework/ui/comctrls/InplaceEdit.h"
#include "framework/ui/comctrls/TreeNodes.h"
#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/stdctrls/ScrollBar.h"

#include <functional>
#include <memory>
#include <vector>

namespace folio {

class TTreeView;

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent =
    std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, String& S)>;

// What lies under a point of a tree.
enum class TTreeHitTest { htNowhere, htOnIndent, htOnButton, htOnIcon, htOnLabel, htOnRight };
using enum TTreeHitTest;

// A tree of captioned nodes with pictures from an image list. A node's
// children show while it is expanded: by its +/- button, a double click,
// Right and Left, + and - (and * for everything below it). The arrows,
// Home, End, Page Up and Page Down move the selection; F2 or a slow second
// click on the selected caption renames it in place (OnEditing may refuse,
// OnEdited may change the text). With DragMode dmAutomatic a node dragged
// onto another becomes its last child. The rows shown are kept in a flat
// list rebuilt after a change, so painting and hit tests cost what is
// visible, whatever the size of the tree.
class TTreeView : public TCustomControl, private TTreeNodesView {
    FOLIO_CLASS(TTreeView)
public:
    explicit TTreeView(TComponent* AOwner);
    ~TTreeView() override;

    // The tree owns its nodes; SetItems copies the given ones.
    TTreeNodes* GetItems() const { return FItems.get(); }
    void SetItems(TTreeNodes* Value) { FItems->Assign(Value); }
    TImageList* GetImages() const { return FImages; }
    void SetImages(TImageList* Value);
    TTreeNode* GetSelected() const { return FSelected; }
    void SetSelected(TTreeNode* Node);
    int GetIndent() const { return FIndent; }
    void SetIndent(int Value);
    bool GetShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool Value);
    bool GetShowLines() const { return FShowLines; }
    void SetShowLines(bool Value);
    bool GetShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool Value);
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool GetHideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);

    void FullExpand();
    void FullCollapse();

    // Geometry: rows of one height, from the first shown (TopIndex).
    int GetItemHeight() const;
    int GetTopIndex() const { return FTopIndex; }
    void SetTopIndex(int Value);
    int VisibleRowCount() const;
    // The nodes that have rows (every ancestor expanded), top to bottom.
    const std::vector<TTreeNode*>& Rows() const;
    // The row of a node, or -1 when an ancestor is collapsed.
    int RowOf(const TTreeNode* Node) const;
    TTreeNode* GetNodeAt(int X, int Y) const;
    TTreeHitTest GetHitTestAt(int X, int Y) const;
    // A node's row across the tree, and the parts of it, in client
    // coordinates (empty for a node without a row).
    TRect RowRect(const TTreeNode* Node) const;
    TRect ButtonRect(const TTreeNode* Node) const;
    TRect LabelRect(const TTreeNode* Node) const;
    void MakeVisible(const TTreeNode* Node);
    TScrollBar* GetScrollBar() const { return FScrollBar.get(); }

    // Renaming in place.
    bool IsEditing() const { return FEditor && FEditor->Editing(); }
    TTreeNode* GetEditingNode() const { return IsEditing() ? FEditNode : nullptr; }
    void StartEdit(TTreeNode* Node);
    // Ends a rename: Accept keeps the typed text.
    void EndEdit(bool Accept);
    TInplaceEdit* GetEditor() const { return FEditor.get(); }

    // The node a drag would drop onto, while one is over the tree.
    TTreeNode* GetDropTarget() const { return FDropTarget; }

    void Dispatch(TMessage& Message) override;

    TTVChangedEvent OnChange;
    TTVExpandingEvent OnExpanding;
    TTVExpandingEvent OnCollapsing;
    TTVChangedEvent OnExpanded;
    TTVChangedEvent OnCollapsed;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void Resize() override;
    void FontChanged() override;
    void ChangeScale(int M, int D) override;
    void DoStartDrag(TDragObject*& DragObject) override;
    void DoEndDrag(TObject* Target, int X, int Y) override;
    void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
    void DragDrop(TObject* Source, int X, int Y) override;

private:
    // TTreeNodesView
    void NodesChanged() override;
    void NodeDeleting(TTreeNode* Node) override;
    bool CanExpand(TTreeNode* Node, bool Expanding) override;
    void Expanded(TTreeNode* Node, bool Expanding) override;

    void RebuildRows() const;
    int RowLevel(int Row) const;
    // The left edge of a node's button column and of its picture.
    int ColumnLeft(int Level) const;
    int ImageWidth() const;
    TRect ItemArea() const;
    void UpdateScrollBar();
    void SelectByUser(TTreeNode* Node);
    void SetDropTarget(TTreeNode* Node);
    void PaintRow(TCanvas* Canvas, int Row, const TRect& R);
    void PaintLines(TCanvas* Canvas, int Row, const TRect& R);

    std::unique_ptr<TTreeNodes> FItems;
    std::unique_ptr<TScrollBar> FScrollBar;
    std::unique_ptr<TInplaceEdit> FEditor;
    TChangeLink FImageLink;
    TImageList* FImages = nullptr;
    TTreeNode* FSelected = nullptr;
    TTreeNode* FEditNode = nullptr;
    TTreeNode* FDragNode = nullptr;
    TTreeNode* FDropTarget = nullptr;
    int FIndent = 19;
    int FTopIndex = 0;
    bool FShowButtons = true;
    bool FShowLines = true;
    bool FShowRoot = true;
    bool FReadOnly = false;
    bool FHideSelection = true;
    TBorderStyle FBorderStyle = bsSingle;
    // A press on the caption of the node already selected: its release
    // starts a rename unless a double click follows.
    bool FPressedSelected = false;
    mutable std::vector<TTreeNode*> FRows;
    mutable std::vector<int> FRowLevels;
    mutable bool FRowsValid = false;
};

} // namespace folio
