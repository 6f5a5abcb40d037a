#include "framework/core/Object.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Resources.h"
#include "framework/core/SysUtils.h"

#include <cmath>

namespace folio {

bool TPropInfo::HasDefaultValue(const TObject& Instance) const {
    if (Kind == TTypeKind::tkFloat) {
        if (!FloatDefault || !GetFloat) return false;
        const long double Value = GetFloat(Instance);
        // Zero's sign is kept: -0.0 is not the default 0.0.
        return Value == *FloatDefault && std::signbit(Value) == std::signbit(*FloatDefault);
    }
    return IsOrdinal() && Default && GetOrd && GetOrd(Instance) == *Default;
}

String TPropInfo::EnumName(long long Ordinal) const {
    if (Ordinal >= 0 && Ordinal < static_cast<long long>(EnumNames.size()))
        return EnumNames[static_cast<size_t>(Ordinal)];
    return IntToStr(Ordinal);
}

long long TPropInfo::EnumValue(const String& ValueName) const {
    for (size_t I = 0; I < EnumNames.size(); ++I)
        if (EnumNames[I] == ValueName) return static_cast<long long>(I);
    throw EConvertError("'" + ValueName + "' is not a value of " + TypeName + " (property " + Name +
                        ")");
}

bool TClassInfo::InheritsFrom(const TClassInfo& Other) const {
    for (const TClassInfo* C = this; C; C = C->Parent)
        if (C == &Other) return true;
    return false;
}

const TPublishedList::TList& TPublishedList::Keep(std::unique_ptr<TList> List) const {
    const TList* Expected = nullptr;
    if (FList.compare_exchange_strong(Expected, List.get(), std::memory_order_acq_rel))
        return *List.release();
    return *Expected;
}

const std::vector<const TPropInfo*>& TClassInfo::PublishedProperties() const {
    if (const auto* Kept = Published.Get()) return *Kept;
    auto Result = std::make_unique<TPublishedList::TList>();
    if (Parent) *Result = Parent->PublishedProperties();
    for (const TPropInfo& P : OwnProperties) {
        if (!P.Published) continue;
        bool Replaced = false;
        for (const TPropInfo*& Existing : *Result)
            if (Existing->Name == P.Name) {
                Existing = &P;
                Replaced = true;
                break;
            }
        if (!Replaced) Result->push_back(&P);
    }
    return Published.Keep(std::move(Result));
}

const TPropInfo* TClassInfo::FindProperty(const String& PropName) const {
    for (const TPropInfo* P : PublishedProperties())
        if (P->Name == PropName) return P;
    return nullptr;
}

const TPropInfo* TClassInfo::FindDeclared(const String& PropName) const {
    for (const TClassInfo* C = this; C; C = C->Parent)
        for (const TPropInfo& P : C->OwnProperties)
            if (P.Name == PropName) return &P;
    return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(const String& MethodName) const {
    for (const TClassInfo* C = this; C; C = C->Parent)
        for (const TMethodInfo& M : C->Methods)
            if (M.Name == MethodName) return &M;
    return nullptr;
}

const TPropInfo& FindAncestorProperty(const TClassInfo* Parent, const char* Name,
                                      const String& ClassName) {
    const TPropInfo* P = Parent ? Parent->FindDeclared(Name) : nullptr;
    if (!P)
        throw EInvalidOperation(ClassName + " publishes '" + Name +
                                "', which no ancestor declares");
    return *P;
}

const TClassInfo& TObject::StaticClassInfo() {
    static const TClassInfo Info{"TObject", nullptr, {}, {}};
    return Info;
}

FOLIO_DEFINE_CLASS(TPersistent, TObject)

void TPersistent::Assign(const TPersistent* Source) {
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) const {
    Dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* Source) const {
    const String SourceName = Source ? Source->ClassName() : String("nil");
    throw EConvertError(Format(SAssignError, SourceName.c_str(), ClassName().c_str()));
}

void TPersistent::DefineProperties(TFiler*) {}

String TPersistent::GetNamePath() const {
    String Result = ClassName();
    if (const TPersistent* Owner = GetOwner()) {
        const String OwnerPath = Owner->GetNamePath();
        if (!OwnerPath.empty()) Result = OwnerPath + "." + Result;
    }
    return Result;
}

} // namespace folio
