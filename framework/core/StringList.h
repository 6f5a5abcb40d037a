#pragma once

#include "framework/core/Object.h"

#include <functional>
#include <initializer_list>
#include <vector>

namespace folio {

class TReader;
class TStream;
class TWriter;

// An ordered list of strings: the items of list and combo boxes, the pages
// of a notebook, the tabs of a tab control. OnChange tells the owner after
// every change (once per BeginUpdate / EndUpdate bracket). A published
// TStrings property (TClassBuilder::Object, "Items") is stored in a form
// file as the list "Items.Strings = ('one' 'two')"; reading also takes
// "Items.Text", one string per line, and the block of bytes that forms
// written before lists existed hold (ReadStrings). An inherited form stores
// the list when it differs from the ancestor's.
class TStrings : public TPersistent {
    FOLIO_CLASS(TStrings)
public:
    TStrings() = default;
    TStrings(std::initializer_list<String> Items) : FItems(Items) {}

    int GetCount() const { return static_cast<int>(FItems.size()); }
    // Raises EListError outside 0 .. Count - 1.
    const String& GetString(int Index) const;
    void SetString(int Index, const String& Value);
    const String& operator[](int Index) const { return GetString(Index); }

    // Answers the index of the new string.
    int Add(const String& Value);
    // Index may be Count (append). A list whose strings stand for things (a
    // notebook's pages) makes or frees the thing in its own Insert and
    // Delete.
    virtual void Insert(int Index, const String& Value);
    virtual void Delete(int Index);
    void Move(int CurIndex, int NewIndex);
    void Clear();
    // The first index of an exactly equal string, or -1.
    int IndexOf(const String& Value) const;

    // The strings joined with line breaks; setting splits at "\n" (a "\r"
    // before it goes too), and a final line break adds no empty line.
    String GetText() const;
    void SetText(const String& Value);

    const std::vector<String>& Items() const { return FItems; }

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    void Assign(const TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;
    // The "Strings" list of a form file.
    void WriteList(TWriter& Writer) const;
    void ReadList(TReader& Reader);
    // The bytes older forms hold: a 32-bit count, then each string as a
    // 32-bit length and its bytes. Reading checks every length against what
    // is left and replaces the list only when all of it was read.
    void WriteStrings(TStream& Stream) const;
    void ReadStrings(TStream& Stream);

    std::function<void(TObject* Sender)> OnChange;

protected:
    void Changed();

private:
    void CheckIndex(int Index, int Limit) const;

    std::vector<String> FItems;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
};

// The list the application makes for itself.
class TStringList : public TStrings {
    FOLIO_CLASS(TStringList)
public:
    using TStrings::TStrings;
};

} // namespace folio
