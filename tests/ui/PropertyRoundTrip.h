#pragma once

// Copies an object's published properties into another object the way a
// form file carries them: ordinal and string values through the class
// table, owned sub-objects property by property, binary properties through
// DefineProperties and a byte stream. A control whose table cannot carry
// one of its values fails to compare equal afterwards.

#include "framework/core/Filer.h"
#include "framework/core/Object.h"
#include "framework/core/Streams.h"
#include "framework/core/StringList.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace proptest {

using namespace folio;

// Writes or reads the binary properties an object defines.
class TCaptureFiler : public TFiler {
public:
    std::map<String, std::vector<char>> Data;
    bool Reading = false;

    // The controls under test define binary properties only.
    void DefineProperty(const String&, TReaderProc, TWriterProc, bool) override {}

    void DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override {
        if (!Reading) {
            if (!HasData) return;
            TMemoryStream S;
            WriteData(S);
            Data[Name].assign(S.Memory(), S.Memory() + S.GetSize());
            return;
        }
        auto It = Data.find(Name);
        if (It == Data.end()) return;
        TMemoryStream S;
        S.WriteBuffer(It->second.data(), static_cast<std::int64_t>(It->second.size()));
        S.SetPosition(0);
        ReadData(S);
        EXPECT_EQ(S.Remaining(), 0) << "binary property " << Name << " left bytes unread";
    }
};

inline void CopyPublished(const TPersistent& From, TPersistent& To) {
    TCaptureFiler Writer;
    const_cast<TPersistent&>(From).DefineProperties(&Writer);
    for (const TPropInfo* P : From.ClassInfo().PublishedProperties()) {
        if (!P->IsStored(From)) continue;
        if (P->IsOrdinal() && P->SetOrd) {
            P->SetOrd(To, P->GetOrd(From));
        } else if (P->Kind == TTypeKind::tkString && P->SetStr) {
            P->SetStr(To, P->GetStr(From));
        } else if (P->Kind == TTypeKind::tkClass) {
            auto* Src = dynamic_cast<TPersistent*>(P->GetObj(From));
            auto* Dst = dynamic_cast<TPersistent*>(P->GetObj(To));
            // A string list is a list value in a form, which only a form
            // reader reads; its older byte form carries the same lines.
            auto* Lines = dynamic_cast<TStrings*>(Src);
            auto* LinesTo = dynamic_cast<TStrings*>(Dst);
            if (Lines && LinesTo) {
                TMemoryStream S;
                Lines->WriteStrings(S);
                S.SetPosition(0);
                LinesTo->ReadStrings(S);
                EXPECT_EQ(S.Remaining(), 0) << "string list " << P->Name << " left bytes unread";
            } else if (Src && Dst) {
                CopyPublished(*Src, *Dst);
            }
        }
    }
    TCaptureFiler Reader;
    Reader.Data = Writer.Data;
    Reader.Reading = true;
    To.DefineProperties(&Reader);
}

// Every published value of A equals B's (sub-objects and binary properties
// included).
inline void ExpectSamePublished(const TPersistent& A, const TPersistent& B,
                                const String& Path = "") {
    for (const TPropInfo* P : A.ClassInfo().PublishedProperties()) {
        const String Name = Path + P->Name;
        // The tab order is a place among siblings, which a copy without a
        // parent does not have.
        if (P->Name == "TabOrder") continue;
        // What a form file leaves out (a colour taken from the parent) the
        // copy takes from its own surroundings.
        if (!P->IsStored(A)) continue;
        if (P->IsOrdinal()) {
            EXPECT_EQ(P->GetOrd(A), P->GetOrd(B)) << Name;
        } else if (P->Kind == TTypeKind::tkString) {
            EXPECT_EQ(P->GetStr(A), P->GetStr(B)) << Name;
        } else if (P->Kind == TTypeKind::tkClass) {
            auto* X = dynamic_cast<TPersistent*>(P->GetObj(A));
            auto* Y = dynamic_cast<TPersistent*>(P->GetObj(B));
            auto* LinesX = dynamic_cast<TStrings*>(X);
            auto* LinesY = dynamic_cast<TStrings*>(Y);
            if (LinesX && LinesY) {
                EXPECT_EQ(LinesX->Items(), LinesY->Items()) << Name;
            } else if (X && Y) {
                ExpectSamePublished(*X, *Y, Name + ".");
            }
        }
    }
    TCaptureFiler WA, WB;
    const_cast<TPersistent&>(A).DefineProperties(&WA);
    const_cast<TPersistent&>(B).DefineProperties(&WB);
    EXPECT_EQ(WA.Data, WB.Data) << Path << " binary properties";
}

} // namespace proptest
