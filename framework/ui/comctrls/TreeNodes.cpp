#include "framework/ui/comctrls/TreeNodes.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Reader.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Writer.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace folio {

// --- nodes -----------------------------------------------------------------------------------

TTreeNode::TTreeNode(TTreeNodes* Owner, TTreeNode* Parent) : FOwner(Owner), FParent(Parent) {}

TTreeNode::~TTreeNode() {
    // A deep tree is freed one node at a time: freeing children from their
    // parent's destructor would nest as deep as the tree.
    std::vector<std::unique_ptr<TTreeNode>> Pending = std::move(FChildren);
    while (!Pending.empty()) {
        std::unique_ptr<TTreeNode> Node = std::move(Pending.back());
        Pending.pop_back();
        for (auto& Child : Node->FChildren) Pending.push_back(std::move(Child));
        Node->FChildren.clear();
    }
}

void TTreeNode::SetText(const String& Value) {
    if (Value == FText) return;
    FText = Value;
    FOwner->Changed();
}

void TTreeNode::SetImageIndex(int Value) {
    Value = std::max(Value, -1);
    if (Value == FImageIndex) return;
    FImageIndex = Value;
    FOwner->Changed();
}

TTreeNode* TTreeNode::GetParent() const {
    return FParent && FParent->FParent ? FParent : nullptr;
}

TTreeNode* TTreeNode::GetItem(int Index) const {
    if (Index < 0 || Index >= GetCount())
        throw EListError(
            Format("Tree node index %d out of range (0 to %d)", Index, GetCount() - 1));
    return FChildren[static_cast<size_t>(Index)].get();
}

int TTreeNode::GetIndex() const {
    if (!FParent) return -1;
    const auto& Siblings = FParent->FChildren;
    for (size_t I = 0; I < Siblings.size(); ++I)
        if (Siblings[I].get() == this) return static_cast<int>(I);
    return -1;
}

int TTreeNode::GetLevel() const {
    int Level = 0;
    for (const TTreeNode* P = GetParent(); P; P = P->GetParent()) ++Level;
    return Level;
}

void TTreeNode::SetExpanded(bool Value) {
    if (Value == FExpanded) return;
    TTreeNodesView* View = FOwner->FView;
    if (View && !View->CanExpand(this, Value)) return;
    FExpanded = Value;
    FOwner->Changed();
    if (View) View->Expanded(this, Value);
}

void TTreeNode::Expand(bool Recurse) {
    if (!Recurse) {
        SetExpanded(true);
        return;
    }
    // The view hears of the whole subtree once.
    FOwner->BeginUpdate();
    std::vector<TTreeNode*> Pending{this};
    while (!Pending.empty()) {
        TTreeNode* Node = Pending.back();
        Pending.pop_back();
        if (Node->HasChildren()) Node->SetExpanded(true);
        for (auto& Child : Node->FChildren) Pending.push_back(Child.get());
    }
    FOwner->EndUpdate();
}

void TTreeNode::Collapse(bool Recurse) {
    FOwner->BeginUpdate();
    if (Recurse) {
        std::vector<TTreeNode*> Pending{this};
        while (!Pending.empty()) {
            TTreeNode* Node = Pending.back();
            Pending.pop_back();
            if (Node != this) Node->SetExpanded(false);
            for (auto& Child : Node->FChildren) Pending.push_back(Child.get());
        }
    }
    SetExpanded(false);
    FOwner->EndUpdate();
}

bool TTreeNode::IsVisible() const {
    for (const TTreeNode* P = GetParent(); P; P = P->GetParent())
        if (!P->FExpanded) return false;
    return true;
}

bool TTreeNode::IsAncestorOf(const TTreeNode* Node) const {
    for (const TTreeNode* P = Node ? Node->GetParent() : nullptr; P; P = P->GetParent())
        if (P == this) return true;
    return false;
}

void TTreeNode::Delete() {
    FOwner->Delete(this);
}

void TTreeNode::MoveTo(TTreeNode* Destination, TNodeAttachMode Mode) {
    if (Destination == this || IsAncestorOf(Destination))
        throw EInvalidOperation("A tree node cannot move into itself or below itself");
    if (Destination && Destination->FOwner != FOwner)
        throw EInvalidOperation("A tree node moves only within its own tree");
    auto& From = FParent->FChildren;
    const auto It =
        std::find_if(From.begin(), From.end(),
                     [this](const std::unique_ptr<TTreeNode>& N) { return N.get() == this; });
    std::unique_ptr<TTreeNode> Self = std::move(*It);
    From.erase(It);
    TTreeNode* NewParent = FOwner->FRoot.get();
    std::size_t At = 0;
    if (Mode == naAddChild) {
        if (Destination) NewParent = Destination;
        At = NewParent->FChildren.size();
    } else {
        if (Destination) NewParent = Destination->FParent;
        At = Destination ? static_cast<std::size_t>(Destination->GetIndex())
                         : NewParent->FChildren.size();
    }
    FParent = NewParent;
    NewParent->FChildren.insert(NewParent->FChildren.begin() + static_cast<std::ptrdiff_t>(At),
                                std::move(Self));
    FOwner->Changed();
}

// --- the nodes -------------------------------------------------------------------------------

const TClassInfo& TTreeNodes::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TTreeNodes>("TTreeNodes", &TPersistent::StaticClassInfo()).Build();
    return Info;
}

TTreeNodes::TTreeNodes(TTreeNodesView* View)
    : FView(View), FRoot(std::make_unique<TTreeNode>(this, nullptr)) {}

TTreeNodes::~TTreeNodes() {
    FView = nullptr;
}

void TTreeNodes::Changed() {
    if (FUpdate.Change() && FView) FView->NodesChanged();
}

TTreeNode* TTreeNodes::AddAt(TTreeNode* Parent, std::size_t Index, const String& Text) {
    if (Parent && Parent->FOwner != this)
        throw EInvalidOperation("A tree node is added to a node of another tree");
    TTreeNode* Into = Parent ? Parent : FRoot.get();
    auto Node = std::make_unique<TTreeNode>(this, Into);
    Node->FText = Text;
    TTreeNode* Made = Node.get();
    Index = std::min(Index, Into->FChildren.size());
    Into->FChildren.insert(Into->FChildren.begin() + static_cast<std::ptrdiff_t>(Index),
                           std::move(Node));
    ++FCount;
    Changed();
    return Made;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const String& Text) {
    TTreeNode* Parent = Sibling ? Sibling->GetParent() : nullptr;
    return AddChild(Parent, Text);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const String& Text) {
    return AddAt(Parent, SIZE_MAX, Text);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const String& Text) {
    if (!Sibling) return AddChild(nullptr, Text);
    return AddAt(Sibling->GetParent(), static_cast<std::size_t>(Sibling->GetIndex()), Text);
}

void TTreeNodes::Delete(TTreeNode* Node) {
    if (!Node || Node->FOwner != this || Node == FRoot.get()) return;
    if (FView) FView->NodeDeleting(Node);
    int Gone = 0;
    ForEachBelow(Node, [&](TTreeNode*) { ++Gone; });
    auto& Siblings = Node->FParent->FChildren;
    const auto It =
        std::find_if(Siblings.begin(), Siblings.end(),
                     [Node](const std::unique_ptr<TTreeNode>& N) { return N.get() == Node; });
    if (It == Siblings.end()) return;
    FCount -= Gone;
    Siblings.erase(It);
    Changed();
}

void TTreeNodes::Clear() {
    if (FCount == 0) return;
    if (FView)
        for (auto& Top : FRoot->FChildren) FView->NodeDeleting(Top.get());
    FRoot = std::make_unique<TTreeNode>(this, nullptr);
    FCount = 0;
    Changed();
}

void TTreeNodes::ForEachBelow(TTreeNode* From, const std::function<void(TTreeNode*)>& Visit) {
    std::vector<TTreeNode*> Pending{From};
    while (!Pending.empty()) {
        TTreeNode* Node = Pending.back();
        Pending.pop_back();
        Visit(Node);
        for (auto It = Node->FChildren.rbegin(); It != Node->FChildren.rend(); ++It)
            Pending.push_back(It->get());
    }
}

void TTreeNodes::ForEach(const std::function<void(TTreeNode*)>& Visit) const {
    for (auto& Top : FRoot->FChildren) ForEachBelow(Top.get(), Visit);
}

TTreeNode* TTreeNodes::FindText(const String& Text) const {
    TTreeNode* Found = nullptr;
    ForEach([&](TTreeNode* N) {
        if (!Found && N->GetText() == Text) Found = N;
    });
    return Found;
}

bool TTreeNodes::SameAs(const TTreeNodes& Other) const {
    if (FCount != Other.FCount) return false;
    std::vector<std::pair<const TTreeNode*, const TTreeNode*>> Pending{
        {FRoot.get(), Other.FRoot.get()}};
    while (!Pending.empty()) {
        auto [A, B] = Pending.back();
        Pending.pop_back();
        if (A->FText != B->FText || A->FImageIndex != B->FImageIndex ||
            A->FChildren.size() != B->FChildren.size())
            return false;
        for (size_t I = 0; I < A->FChildren.size(); ++I)
            Pending.emplace_back(A->FChildren[I].get(), B->FChildren[I].get());
    }
    return true;
}

void TTreeNodes::Assign(const TPersistent* Source) {
    const auto* From = dynamic_cast<const TTreeNodes*>(Source);
    if (!From) {
        TPersistent::Assign(Source);
        return;
    }
    if (From == this) return;
    BeginUpdate();
    Clear();
    std::vector<std::pair<const TTreeNode*, TTreeNode*>> Pending{{From->FRoot.get(), nullptr}};
    while (!Pending.empty()) {
        auto [Src, Dst] = Pending.back();
        Pending.pop_back();
        for (auto It = Src->FChildren.rbegin(); It != Src->FChildren.rend(); ++It) {
            TTreeNode* Copy = AddAt(Dst, 0, (*It)->FText);
            Copy->FImageIndex = (*It)->FImageIndex;
            Copy->FExpanded = (*It)->FExpanded;
            Pending.emplace_back(It->get(), Copy);
        }
    }
    EndUpdate();
}

// --- forms -----------------------------------------------------------------------------------

void TTreeNodes::DefineProperties(TFiler* Filer) {
    const auto* Ancestor = dynamic_cast<const TTreeNodes*>(Filer->Ancestor());
    Filer->DefineProperty(
        "Nodes", [this](TReader& Reader) { ReadNodes(Reader); },
        [this](TWriter& Writer) { WriteNodes(Writer); },
        Ancestor ? !SameAs(*Ancestor) : FCount > 0);
}

void TTreeNodes::WriteNodes(TWriter& Writer) const {
    Writer.WriteListBegin();
    std::vector<std::pair<const TTreeNode*, int>> Pending;
    for (auto It = FRoot->FChildren.rbegin(); It != FRoot->FChildren.rend(); ++It)
        Pending.emplace_back(It->get(), 0);
    while (!Pending.empty()) {
        auto [Node, Level] = Pending.back();
        Pending.pop_back();
        Writer.WriteListBegin();
        Writer.WriteInteger(Level);
        Writer.WriteString(Node->FText);
        Writer.WriteInteger(Node->FImageIndex);
        Writer.WriteListEnd();
        for (auto It = Node->FChildren.rbegin(); It != Node->FChildren.rend(); ++It)
            Pending.emplace_back(It->get(), Level + 1);
    }
    Writer.WriteListEnd();
}

void TTreeNodes::ReadNodes(TReader& Reader) {
    // The nodes are read into a tree of their own and handed over only when
    // the whole list was read.
    TTreeNodes Read(nullptr);
    std::vector<TTreeNode*> Path; // the last node read at each level
    Reader.ReadListBegin();
    while (!Reader.EndOfList()) {
        if (Read.FCount >= MaxFormTreeNodes)
            throw EReadError(Format("A tree holds at most %d nodes", MaxFormTreeNodes));
        Reader.ReadListBegin();
        const long long Level = Reader.ReadInteger();
        const String Text = Reader.ReadString();
        const long long Image = Reader.ReadInteger();
        Reader.ReadListEnd();
        if (Level > MaxFormTreeLevel)
            throw EReadError(
                Format("A tree node's level is at most %d, found %lld", MaxFormTreeLevel, Level));
        if (Level < 0 || Level > static_cast<long long>(Path.size()))
            throw EReadError(Format("A tree node's level must be 0 to %zu (one below the node "
                                    "before it), found %lld",
                                    Path.size(), Level));
        Path.resize(static_cast<size_t>(Level));
        TTreeNode* Node = Read.AddChild(Level == 0 ? nullptr : Path.back(), Text);
        Node->FImageIndex = static_cast<int>(std::clamp<long long>(Image, -1, INT_MAX));
        Path.push_back(Node);
    }
    Reader.ReadListEnd();
    if (SameAs(Read)) return;
    BeginUpdate();
    Clear();
    Read.ForEach([this](TTreeNode* N) { N->FOwner = this; });
    FRoot = std::move(Read.FRoot);
    FRoot->FOwner = this;
    Read.FRoot = std::make_unique<TTreeNode>(&Read, nullptr);
    FCount = Read.FCount;
    Read.FCount = 0;
    Changed();
    EndUpdate();
}

} // namespace folio
