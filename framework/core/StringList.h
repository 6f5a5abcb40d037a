#pragma once

#include "framework/core/Object.h"

#include <functional>
#include <initializer_list>
#include <vector>

namespace folio {

class TReader;
class TStream;
class TWriter;

/// An ordered list of strings: the items of list and combo boxes, the pages
/// of a notebook, the tabs of a tab control. OnChange tells the owner after
/// every change (once per BeginUpdate / EndUpdate bracket). A published
/// TStrings property (TClassBuilder::Object, "Items") is stored in a form
/// file as the list "Items.Strings = ('one' 'two')"; reading also takes
/// "Items.Text", one string per line, and the block of bytes that forms
/// written before lists existed hold (ReadStrings). An inherited form stores
/// the list when it differs from the ancestor's.
class TStrings : public TPersistent {
    FOLIO_CLASS(TStrings)
public:
    /// An empty list.
    TStrings() = default;
    /// A list of the strings given, in order.
    TStrings(std::initializer_list<String> Items) : FItems(Items) {}

    /// How many strings the list holds.
    int GetCount() const { return static_cast<int>(FItems.size()); }
    ///@{
    /// The string at Index; raises EListError outside 0 to Count - 1.
    /// Setting a different string fires OnChange.
    const String& GetString(int Index) const;
    void SetString(int Index, const String& Value);
    const String& operator[](int Index) const { return GetString(Index); }
    ///@}

    /// Appends Value (through Insert) and answers its index.
    int Add(const String& Value);
    /// Inserts Value before Index; Index may be Count (append), outside
    /// 0 to Count raises EListError. A list whose strings stand for things (a
    /// notebook's pages) makes or frees the thing in its own Insert and
    /// Delete. Fires OnChange.
    virtual void Insert(int Index, const String& Value);
    /// Removes the string at Index (0 to Count - 1, else EListError); fires
    /// OnChange.
    virtual void Delete(int Index);
    /// Moves the string at CurIndex to NewIndex (both 0 to Count - 1, else
    /// EListError); fires OnChange when they differ.
    void Move(int CurIndex, int NewIndex);
    /// Removes every string; fires OnChange unless the list was empty.
    void Clear();
    /// The first index of an exactly equal string, or -1.
    int IndexOf(const String& Value) const;

    ///@{
    /// The strings, each followed by a line break; setting splits at "\n" (a
    /// "\r" before it goes too), and a final line break adds no empty line.
    /// OnChange fires when the lines differ.
    String GetText() const;
    void SetText(const String& Value);
    ///@}

    /// The strings, for reading them all at once.
    const std::vector<String>& Items() const { return FItems; }

    ///@{
    /// Changes between BeginUpdate and EndUpdate fire OnChange once, at the
    /// end; brackets nest.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    ///@}

    /// Copies another list's strings (OnChange fires when they differ); any
    /// other Source goes to TPersistent::Assign.
    void Assign(const TPersistent* Source) override;
    /// Defines the "Strings" list a form file stores (when not empty, or when
    /// it differs from the ancestor's) and the "Text" a reader also takes.
    void DefineProperties(TFiler* Filer) override;
    ///@{
    /// The "Strings" list of a form file. Reading also takes the block of
    /// bytes older forms hold (ReadStrings), and raises EReadError when
    /// bytes are left over.
    void WriteList(TWriter& Writer) const;
    void ReadList(TReader& Reader);
    ///@}
    ///@{
    /// The bytes older forms hold: a 32-bit count, then each string as a
    /// 32-bit length and its bytes. Reading checks every length against what
    /// is left (EReadError) and replaces the list only when all of it was read.
    void WriteStrings(TStream& Stream) const;
    void ReadStrings(TStream& Stream);
    ///@}

    /// Fired after every change, once per BeginUpdate / EndUpdate bracket.
    std::function<void(TObject* Sender)> OnChange;

protected:
    /// Reports a change: OnChange at once, or once at EndUpdate.
    void Changed();

private:
    void CheckIndex(int Index, int Limit) const;

    std::vector<String> FItems;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
};

/// The list the application makes for itself.
class TStringList : public TStrings {
    FOLIO_CLASS(TStringList)
public:
    using TStrings::TStrings;
};

} // namespace folio
