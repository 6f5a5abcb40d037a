#pragma once

// Components with a property of every kind the tables have, and a form
// class with handler methods, for the form filer's tests.

#include "framework/core/ClassBuilder.h"
#include "framework/core/Component.h"
#include "framework/core/Filer.h"
#include "framework/core/FormFiles.h"
#include "framework/core/Reader.h"
#include "framework/core/Streams.h"
#include "framework/core/Writer.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace formtest {

using namespace folio;

enum TShapeKind : std::uint8_t { skBox, skCircle, skStar };
enum class TSide { sdLeft, sdTop, sdRight, sdBottom };
using TSides = TSet<TSide>;

// Everything the test components report, in order.
inline std::vector<String>& Journal() {
    static std::vector<String> Lines;
    return Lines;
}

class TShapeFont : public TPersistent {
    FOLIO_CLASS(TShapeFont)
public:
    int GetSize() const { return FSize; }
    void SetSize(int Value) { FSize = Value; }
    const String& GetName() const { return FName; }
    void SetName(const String& Value) { FName = Value; }

private:
    int FSize = 8;
    String FName = "Sans";
};

class TShape : public TComponent {
    FOLIO_CLASS(TShape)
public:
    explicit TShape(TComponent* AOwner) : TComponent(AOwner) {}

    int GetWidth() const { return FWidth; }
    void SetWidth(int Value) {
        FWidth = Value;
        if (IsLoading()) Journal().push_back(GetName() + " width while loading");
    }
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    TShapeKind GetKind() const { return FKind; }
    void SetKind(TShapeKind Value) { FKind = Value; }
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value) { FCaption = Value; }
    long long GetSides() const { return static_cast<long long>(FSides.Bits()); }
    void SetSides(long long Value) { FSides = TSides::FromBits(static_cast<std::uint64_t>(Value)); }
    short GetSmall() const { return FSmall; }
    void SetSmall(short Value) { FSmall = Value; }
    long long GetBig() const { return FBig; }
    void SetBig(long long Value) { FBig = Value; }
    TShapeFont* GetFont() const { return const_cast<TShapeFont*>(&FFont); }
    void SetFont(TShapeFont* Value) {
        FFont.SetSize(Value->GetSize());
        FFont.SetName(Value->GetName());
    }
    TShape* GetBuddy() const { return FBuddy; }
    void SetBuddy(TShape* Value) {
        if (FBuddy) FBuddy->RemoveFreeNotification(this);
        FBuddy = Value;
        if (FBuddy) FBuddy->FreeNotification(this);
    }

    // A number the tables cannot express, stored only when it is set, and
    // a block of bytes with a length of its own.
    int Extra = 0;
    String Blob;

    std::function<void(TObject* Sender)> OnClick;
    std::function<void(TObject* Sender, int Code)> OnCode;

    void DefineProperties(TFiler* Filer) override {
        TComponent::DefineProperties(Filer);
        Filer->DefineProperty(
            "Extra", [this](TReader& R) { Extra = static_cast<int>(R.ReadInteger()); },
            [this](TWriter& W) { W.WriteInteger(Extra); }, Extra != 0);
        Filer->DefineBinaryProperty(
            "Blob",
            [this](TStream& S) {
                std::int32_t N;
                S.ReadBuffer(&N, 4);
                String Bytes(static_cast<size_t>(N > 0 ? N : 0), '\0');
                S.ReadBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
                Blob = Bytes;
            },
            [this](TStream& S) {
                const std::int32_t N = static_cast<std::int32_t>(Blob.size());
                S.WriteBuffer(&N, 4);
                S.WriteBuffer(Blob.data(), N);
            },
            !Blob.empty());
    }

    void Loaded() override {
        TComponent::Loaded();
        Journal().push_back(GetName() + " loaded");
    }

    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == FBuddy) FBuddy = nullptr;
    }

private:
    int FWidth = 10;
    bool FVisible = true;
    TShapeKind FKind = skBox;
    TColor FColor = 0;
    String FCaption;
    TSides FSides{TSide::sdLeft, TSide::sdTop};
    short FSmall = 0;
    long long FBig = 0;
    TShapeFont FFont;
    TShape* FBuddy = nullptr;
};

// A shape that holds others, as a panel holds controls.
class TShapeBox : public TShape {
    FOLIO_CLASS(TShapeBox)
public:
    explicit TShapeBox(TComponent* AOwner) : TShape(AOwner) {}
};

// A shape inside a box nests in the box's block of the form.
class TBoxedShape : public TShape {
    FOLIO_CLASS(TBoxedShape)
public:
    explicit TBoxedShape(TComponent* AOwner) : TShape(AOwner) {}
    TComponent* GetParentComponent() const override { return FBox; }
    void SetParentComponent(TComponent* Value) override { FBox = dynamic_cast<TShapeBox*>(Value); }

private:
    TShapeBox* FBox = nullptr;
};

class TShapeForm : public TComponent {
    FOLIO_CLASS(TShapeForm)
public:
    explicit TShapeForm(TComponent* AOwner) : TComponent(AOwner) {}

    const String& GetTitle() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }

    void ShapeClick(TObject* Sender) {
        Journal().push_back(GetName() + " clicked by " +
                            static_cast<TComponent*>(Sender)->GetName());
    }
    void ShapeCode(TObject*, int Code) { Journal().push_back("code " + std::to_string(Code)); }

    void Loaded() override {
        TComponent::Loaded();
        Journal().push_back(GetName() + " loaded");
    }

private:
    String FTitle;
};

// A form class that adds a handler of its own.
class TShapeForm2 : public TShapeForm {
    FOLIO_CLASS(TShapeForm2)
public:
    explicit TShapeForm2(TComponent* AOwner) : TShapeForm(AOwner) {}
    void OtherClick(TObject*) { Journal().push_back("other click"); }
};

} // namespace formtest
