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

/// OnChange, OnExpanded, OnCollapsed: the node (null when the selection went).
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
/// OnExpanding, OnCollapsing: AllowExpansion arrives true; false refuses.
using TTVExpandingEvent =
    std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
/// OnEditing: AllowEdit arrives true; false keeps the edit box closed.
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
/// OnEdited: S arrives as typed and becomes the caption.
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, String& S)>;

/// What lies under a point of a tree.
enum class TTreeHitTest {
    htNowhere,  ///< no row
    htOnIndent, ///< the indent left of a node's picture
    htOnButton, ///< a node's +/- button
    htOnIcon,   ///< a node's picture
    htOnLabel,  ///< a node's caption
    htOnRight   ///< the row right of the caption
};
using enum TTreeHitTest;

/// A tree of captioned nodes with pictures from an image list. A node's
/// children show while it is expanded: by its +/- button, a double click,
/// Right and Left, + and - (and * for everything below it). The arrows,
/// Home, End, Page Up and Page Down move the selection; F2 or a slow second
/// click on the selected caption renames it in place (OnEditing may refuse,
/// OnEdited may change the text). With DragMode dmAutomatic a node dragged
/// onto another becomes its last child. The rows shown are kept in a flat
/// list rebuilt after a change, so painting and hit tests cost what is
/// visible, whatever the size of the tree.
class TTreeView : public TCustomControl, private TTreeNodesView {
    FOLIO_CLASS(TTreeView)
public:
    /// An empty tree 121 by 97 pixels in clWindow, with buttons, lines and root
    /// lines, taking the keyboard (TabStop).
    explicit TTreeView(TComponent* AOwner);
    /// Frees the nodes (without events), the edit box and the scroll bar.
    ~TTreeView() override;

    /// The tree owns its nodes; SetItems copies the given ones.
    ///@{
    TTreeNodes* GetItems() const { return FItems.get(); }
    void SetItems(TTreeNodes* Value) { FItems->Assign(Value); }
    ///@}
    /// The nodes' pictures; null by default. A reference, dropped when the list
    /// is freed; its changes repaint.
    ///@{
    TImageList* GetImages() const { return FImages; }
    void SetImages(TImageList* Value);
    ///@}
    /// The selected node, or null (the default). Setting it closes an open
    /// rename (keeping the text), expands the node's ancestors, scrolls it into
    /// view and fires OnChange.
    ///@{
    TTreeNode* GetSelected() const { return FSelected; }
    void SetSelected(TTreeNode* Node);
    ///@}
    /// How far each level stands in from its parent, in pixels (0 to 1000); 19
    /// by default, scaled with the form.
    ///@{
    int GetIndent() const { return FIndent; }
    void SetIndent(int Value);
    ///@}
    /// Whether nodes with children show a +/- button; true by default.
    ///@{
    bool GetShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool Value);
    ///@}
    /// Whether dotted lines join the nodes; true by default.
    ///@{
    bool GetShowLines() const { return FShowLines; }
    void SetShowLines(bool Value);
    ///@}
    /// Whether the top-level nodes have lines and buttons too; true by default.
    ///@{
    bool GetShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool Value);
    ///@}
    /// Whether the captions cannot be renamed in place; false by default.
    ///@{
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    ///@}
    /// Whether the selection is drawn only while the tree has the focus; true
    /// by default.
    ///@{
    bool GetHideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    ///@}
    /// bsSingle (the default) draws a border (sunken with Ctl3D), bsNone none.
    ///@{
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    ///@}

    /// Expands every node, as one change.
    void FullExpand();
    /// Collapses every node, as one change.
    void FullCollapse();

    /// Every row's height in pixels: a text line, a picture or a button,
    /// whichever is highest.
    int GetItemHeight() const;
    ///@{
    /// The first row on show, kept so that the last rows fill the view.
    int GetTopIndex() const { return FTopIndex; }
    void SetTopIndex(int Value);
    ///@}
    /// How many whole rows fit the view (at least 1).
    int VisibleRowCount() const;
    /// The nodes that have rows (every ancestor expanded), top to bottom.
    const std::vector<TTreeNode*>& Rows() const;
    /// The row of a node, or -1 when an ancestor is collapsed.
    int RowOf(const TTreeNode* Node) const;
    /// The node whose row is at a client point, or null.
    TTreeNode* GetNodeAt(int X, int Y) const;
    /// What part of a row lies at a client point.
    TTreeHitTest GetHitTestAt(int X, int Y) const;
    /// A node's row across the tree, and the parts of it, in client
    /// coordinates (empty for a node without a row).
    ///@{
    TRect RowRect(const TTreeNode* Node) const;
    TRect ButtonRect(const TTreeNode* Node) const;
    TRect LabelRect(const TTreeNode* Node) const;
    ///@}
    /// Scrolls so that Node's row is on show; nothing for a node without a row.
    void MakeVisible(const TTreeNode* Node);
    /// The tree's own scroll bar, shown only when the rows do not fit.
    TScrollBar* GetScrollBar() const { return FScrollBar.get(); }

    /// True while a caption is being renamed in place.
    bool IsEditing() const { return FEditor && FEditor->Editing(); }
    /// The node being renamed, or null.
    TTreeNode* GetEditingNode() const { return IsEditing() ? FEditNode : nullptr; }
    /// Opens the edit box over Node's caption when OnEditing allows, ending
    /// another rename first (keeping its text); nothing for a null node,
    /// when ReadOnly or disabled.
    void StartEdit(TTreeNode* Node);
    /// Ends a rename: Accept keeps the typed text.
    void EndEdit(bool Accept);
    /// The edit box, a part of the tree.
    TInplaceEdit* GetEditor() const { return FEditor.get(); }

    /// The node a drag would drop onto, while one is over the tree.
    TTreeNode* GetDropTarget() const { return FDropTarget; }

    /// The arrow keys and typed characters are the tree's own; a slow second
    /// click's timer opens the rename.
    void Dispatch(TMessage& Message) override;

    /// Fired after the selection changed, by the user or the program, and when
    /// the selected node was deleted.
    TTVChangedEvent OnChange;
    /// Asked before a node expands; it may refuse.
    TTVExpandingEvent OnExpanding;
    /// Asked before a node collapses; it may refuse.
    TTVExpandingEvent OnCollapsing;
    /// Fired after a node expanded.
    TTVChangedEvent OnExpanded;
    /// Fired after a node collapsed (a selection inside it has moved up to it).
    TTVChangedEvent OnCollapsed;
    /// Asked before the edit box opens; it may refuse.
    TTVEditingEvent OnEditing;
    /// Fired when a rename is accepted, before the text becomes the caption; it
    /// may change the text.
    TTVEditedEvent OnEdited;

protected:
    /// A single border is drawn sunken with Ctl3D, plain without.
    void CreateParams(TCreateParams& Params) override;
    /// An image list being freed is dropped.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    /// Draws the rows on show: lines, buttons, pictures and captions, the
    /// selection and the drop target.
    void Paint() override;
    /// Closes an open rename and takes the focus; a left press on a button
    /// expands or collapses its node, a press elsewhere on a row selects the
    /// node.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// Letting go on the caption of the node that was already selected opens
    /// the rename after the double-click time.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// A double click on a row (not its button) expands or collapses the node,
    /// then OnDblClick fires.
    void DblClick() override;
    /// The arrows, Home, End, Page Up and Page Down move the selection; Right
    /// and Left expand and collapse (or step to the first child and the
    /// parent); numeric +, - and * expand, collapse and expand all below; F2
    /// renames.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    /// +, - and * typed on the main keyboard act as the numeric keys.
    void KeyPress(char& Key) override;
    /// The wheel scrolls by three rows when no handler took it.
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    /// Keeps the scroll bar and the top row fitting the new size.
    void Resize() override;
    /// A new font changes the rows' height.
    void FontChanged() override;
    /// Scales Indent with the form.
    void ChangeScale(int M, int D) override;
    /// A drag takes the selected node along.
    void DoStartDrag(TDragObject*& DragObject) override;
    /// Forgets the dragged node and the drop target.
    void DoEndDrag(TObject* Target, int X, int Y) override;
    /// Without an OnDragOver handler, a node of this tree is accepted onto any
    /// node but itself and those below it, which shows as the drop target.
    void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
    /// Without an OnDragDrop handler, a dropped node of this tree becomes the
    /// last child of the node under the pointer, which expands, and is
    /// selected.
    void DragDrop(TObject* Source, int X, int Y) override;

private:
    // TTreeNodesView
    void NodesChanged() override;
    void NodeDeleting(TTreeNode* Node) override;
    bool CanExpand(TTreeNode* Node, bool Expanding) override;
    void Expanded(TTreeNode* Node, bool Expanding) override;

    void RebuildRows() const;
    int RowLevel(int Row) const;
    /// The left edge of a node's button column and of its picture.
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
    /// A press on the caption of the node already selected: its release
    /// starts a rename unless a double click follows.
    bool FPressedSelected = false;
    mutable std::vector<TTreeNode*> FRows;
    mutable std::vector<int> FRowLevels;
    mutable bool FRowsValid = false;
};

} // namespace folio
