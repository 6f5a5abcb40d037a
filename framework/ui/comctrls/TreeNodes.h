#pragma once

#include "framework/core/Object.h"
#include "framework/ui/comctrls/UpdateBracket.h"

#include <functional>
#include <memory>
#include <vector>

namespace folio {

class TTreeNodes;
class TReader;
class TWriter;

/// Where MoveTo puts a node: as the last child of the destination, or as a
/// sibling just before it.
enum class TNodeAttachMode {
    naAddChild, ///< the last child of the destination
    naInsert    ///< a sibling just before the destination
};
using enum TNodeAttachMode;

/// One node of a tree: its caption, its picture in the tree's image list
/// and its children. Nodes are made and freed by their TTreeNodes only.
class TTreeNode {
public:
    /// Made by TTreeNodes only: an empty, collapsed node of Owner under Parent.
    TTreeNode(TTreeNodes* Owner, TTreeNode* Parent);
    /// Frees the node's subtree, one node at a time, however deep.
    ~TTreeNode();
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    /// The node's caption; empty by default. A change repaints the view.
    ///@{
    const String& GetText() const { return FText; }
    void SetText(const String& Value);
    ///@}
    /// The picture in the view's image list; -1 (the default, and anything
    /// below it) shows none.
    ///@{
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    ///@}
    /// Null for a top-level node.
    TTreeNode* GetParent() const;
    /// How many children the node has.
    int GetCount() const { return static_cast<int>(FChildren.size()); }
    /// True when the node has a child.
    bool HasChildren() const { return !FChildren.empty(); }
    /// Child Index, from 0; raises EListError outside the children.
    TTreeNode* GetItem(int Index) const;
    /// The node's place among its siblings (a count of them).
    int GetIndex() const;
    /// 0 for a top-level node (a count of its ancestors).
    int GetLevel() const;
    /// Whether the node shows its children; false by default.
    bool GetExpanded() const { return FExpanded; }
    /// Expanding asks the tree's OnExpanding (collapsing OnCollapsing),
    /// which may refuse.
    void SetExpanded(bool Value);
    /// Expands the node, and with Recurse every node below it that has
    /// children, as one change.
    void Expand(bool Recurse);
    /// Collapses the node, and with Recurse every node below it, as one change.
    void Collapse(bool Recurse);
    /// Whether every ancestor is expanded, so that the node has a row.
    bool IsVisible() const;
    /// True when Node lies somewhere below this node.
    bool IsAncestorOf(const TTreeNode* Node) const;
    /// Frees the node and its subtree (the view hears of it first).
    void Delete();
    /// Moves the node with its subtree: as the last child of Destination
    /// (naAddChild) or just before it (naInsert); a null Destination makes it
    /// the last top-level node. Raises EInvalidOperation for a destination at
    /// or below the node, or in another tree.
    void MoveTo(TTreeNode* Destination, TNodeAttachMode Mode);
    /// The nodes the node belongs to.
    TTreeNodes* GetOwner() const { return FOwner; }
    /// The children, in order.
    const std::vector<std::unique_ptr<TTreeNode>>& Children() const { return FChildren; }

    /// The application's own data.
    void* Data = nullptr;

private:
    friend class TTreeNodes;
    friend class TTreeView;

    TTreeNodes* FOwner;
    /// The node's row in its view, while it has one.
    int FRow = -1;
    TTreeNode* FParent; // the nodes' hidden root for a top-level node
    std::vector<std::unique_ptr<TTreeNode>> FChildren;
    String FText;
    int FImageIndex = -1;
    bool FExpanded = false;
};

/// What the nodes tell the control that shows them.
class TTreeNodesView {
public:
    /// A view is not owned by the nodes.
    virtual ~TTreeNodesView() = default;
    /// The rows or a caption changed (several changes in an update come as one).
    virtual void NodesChanged() = 0;
    /// Node and its descendants are about to be freed.
    virtual void NodeDeleting(TTreeNode* Node) = 0;
    /// Asked before Node expands (Expanding) or collapses; false refuses.
    virtual bool CanExpand(TTreeNode* Node, bool Expanding) = 0;
    /// Node has expanded (Expanding) or collapsed.
    virtual void Expanded(TTreeNode* Node, bool Expanding) = 0;
};

/// The nodes of a tree: top-level nodes in order, each with its children.
/// A form stores them as the list "Nodes" of one small list per node, in
/// document order: (level caption image-index), a child one level below
/// its parent. Reading refuses a tree deeper than MaxFormTreeLevel or with
/// more than MaxFormTreeNodes nodes, and replaces the nodes only when the
/// whole list was read.
class TTreeNodes : public TPersistent {
    FOLIO_CLASS(TTreeNodes)
public:
    /// The deepest level a form may store.
    static constexpr int MaxFormTreeLevel = 10000;
    /// The most nodes a form may store for one tree.
    static constexpr int MaxFormTreeNodes = 1000000;

    /// No nodes yet, telling View (may be null) of changes.
    explicit TTreeNodes(TTreeNodesView* View = nullptr);
    /// Frees every node without telling the view.
    ~TTreeNodes() override;

    /// The number of nodes at every level.
    int GetCount() const { return FCount; }
    /// How many top-level nodes there are.
    int GetTopCount() const { return FRoot->GetCount(); }
    /// Top-level node Index, from 0; raises EListError outside them.
    TTreeNode* GetTopItem(int Index) const { return FRoot->GetItem(Index); }
    /// The first top-level node, or null for an empty tree.
    TTreeNode* GetFirstNode() const { return FRoot->HasChildren() ? FRoot->GetItem(0) : nullptr; }
    /// A node captioned Text after the last child of Sibling's parent (a
    /// top-level node when Sibling is null).
    TTreeNode* Add(TTreeNode* Sibling, const String& Text);
    /// A node captioned Text as the last child of Parent (top-level when
    /// null). Raises EInvalidOperation for a parent of another tree.
    TTreeNode* AddChild(TTreeNode* Parent, const String& Text);
    /// A node captioned Text just before Sibling (a last top-level node
    /// when null).
    TTreeNode* Insert(TTreeNode* Sibling, const String& Text);
    /// Frees Node and its subtree (the view hears of it first); a null node or
    /// one of another tree is left alone.
    void Delete(TTreeNode* Node);
    /// Frees every node.
    void Clear();
    /// The first node, in document order, whose caption is Text.
    TTreeNode* FindText(const String& Text) const;
    /// Every node in document order (parents before their children).
    void ForEach(const std::function<void(TTreeNode*)>& Visit) const;

    /// Changes between the brackets tell the view once, at the end;
    /// brackets nest, and Updating is true while one is open.
    ///@{
    void BeginUpdate() { FUpdate.Begin(); }
    void EndUpdate() {
        if (FUpdate.End()) Changed();
    }
    bool Updating() const { return FUpdate.Open(); }
    ///@}

    /// Copies the captions, pictures, shape and expanded nodes of other
    /// tree nodes (not Data), as one change.
    void Assign(const TPersistent* Source) override;
    /// Stores the nodes as "Nodes" when they differ from the ancestor's (or,
    /// without one, when there are any).
    void DefineProperties(TFiler* Filer) override;
    /// Writes the nodes as the "Nodes" list.
    void WriteNodes(TWriter& Writer) const;
    /// Reads a "Nodes" list in place of the nodes; raises EReadError for a list
    /// too deep, too long or with a level that skips one, leaving the nodes as
    /// they were.
    void ReadNodes(TReader& Reader);

private:
    friend class TTreeNode;
    TTreeNode* AddAt(TTreeNode* Parent, std::size_t Index, const String& Text);
    static void ForEachBelow(TTreeNode* From, const std::function<void(TTreeNode*)>& Visit);
    void Changed();
    bool SameAs(const TTreeNodes& Other) const;

    TTreeNodesView* FView;
    std::unique_ptr<TTreeNode> FRoot;
    int FCount = 0;
    TUpdateBracket FUpdate;
};

} // namespace folio
