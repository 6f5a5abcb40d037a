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

// Where MoveTo puts a node: as the last child of the destination, or as a
// sibling just before it.
enum class TNodeAttachMode { naAddChild, naInsert };
using enum TNodeAttachMode;

// One node of a tree: its caption, its picture in the tree's image list
// and its children. Nodes are made and freed by their TTreeNodes only.
class TTreeNode {
public:
    TTreeNode(TTreeNodes* Owner, TTreeNode* Parent);
    ~TTreeNode();
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    const String& GetText() const { return FText; }
    void SetText(const String& Value);
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    // Null for a top-level node.
    TTreeNode* GetParent() const;
    int GetCount() const { return static_cast<int>(FChildren.size()); }
    bool HasChildren() const { return !FChildren.empty(); }
    TTreeNode* GetItem(int Index) const;
    // The node's place among its siblings (a count of them).
    int GetIndex() const;
    // 0 for a top-level node (a count of its ancestors).
    int GetLevel() const;
    bool GetExpanded() const { return FExpanded; }
    // Expanding asks the tree's OnExpanding (collapsing OnCollapsing),
    // which may refuse.
    void SetExpanded(bool Value);
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    // Whether every ancestor is expanded, so that the node has a row.
    bool IsVisible() const;
    bool IsAncestorOf(const TTreeNode* Node) const;
    void Delete();
    void MoveTo(TTreeNode* Destination, TNodeAttachMode Mode);
    TTreeNodes* GetOwner() const { return FOwner; }
    const std::vector<std::unique_ptr<TTreeNode>>& Children() const { return FChildren; }

    // The application's own data.
    void* Data = nullptr;

private:
    friend class TTreeNodes;
    friend class TTreeView;

    TTreeNodes* FOwner;
    // The node's row in its view, while it has one.
    int FRow = -1;
    TTreeNode* FParent; // the nodes' hidden root for a top-level node
    std::vector<std::unique_ptr<TTreeNode>> FChildren;
    String FText;
    int FImageIndex = -1;
    bool FExpanded = false;
};

// What the nodes tell the control that shows them.
class TTreeNodesView {
public:
    virtual ~TTreeNodesView() = default;
    // The rows or a caption changed (several changes in an update come as one).
    virtual void NodesChanged() = 0;
    // Node and its descendants are about to be freed.
    virtual void NodeDeleting(TTreeNode* Node) = 0;
    virtual bool CanExpand(TTreeNode* Node, bool Expanding) = 0;
    virtual void Expanded(TTreeNode* Node, bool Expanding) = 0;
};

// The nodes of a tree: top-level nodes in order, each with its children.
// A form stores them as the list "Nodes" of one small list per node, in
// document order: (level caption image-index), a child one level below
// its parent. Reading refuses a tree deeper than MaxFormTreeLevel or with
// more than MaxFormTreeNodes nodes, and replaces the nodes only when the
// whole list was read.
class TTreeNodes : public TPersistent {
    FOLIO_CLASS(TTreeNodes)
public:
    static constexpr int MaxFormTreeLevel = 10000;
    static constexpr int MaxFormTreeNodes = 1000000;

    explicit TTreeNodes(TTreeNodesView* View = nullptr);
    ~TTreeNodes() override;

    // The number of nodes at every level.
    int GetCount() const { return FCount; }
    int GetTopCount() const { return FRoot->GetCount(); }
    TTreeNode* GetTopItem(int Index) const { return FRoot->GetItem(Index); }
    TTreeNode* GetFirstNode() const { return FRoot->HasChildren() ? FRoot->GetItem(0) : nullptr; }
    // A node after the last child of Sibling's parent (a top-level node
    // when Sibling is null).
    TTreeNode* Add(TTreeNode* Sibling, const String& Text);
    // A last child of Parent (top-level when null).
    TTreeNode* AddChild(TTreeNode* Parent, const String& Text);
    // A node just before Sibling (a last top-level node when null).
    TTreeNode* Insert(TTreeNode* Sibling, const String& Text);
    void Delete(TTreeNode* Node);
    void Clear();
    // The first node, in document order, whose caption is Text.
    TTreeNode* FindText(const String& Text) const;
    // Every node in document order (parents before their children).
    void ForEach(const std::function<void(TTreeNode*)>& Visit) const;

    // Changes between the brackets tell the view once, at the end.
    void BeginUpdate() { FUpdate.Begin(); }
    void EndUpdate() {
        if (FUpdate.End()) Changed();
    }
    bool Updating() const { return FUpdate.Open(); }

    void Assign(const TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;
    void WriteNodes(TWriter& Writer) const;
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
