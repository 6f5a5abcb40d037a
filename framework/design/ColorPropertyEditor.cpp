#include "framework/core/ColorIdents.h"
#include "framework/core/SysUtils.h"
#include "framework/design/StdPropertyEditors.h"
#include "framework/gfx/Colors.h"
#include "framework/ui/dialogs/ColorDialog.h"

#include <cstdint>

namespace folio {

TPropertyAttributes TColorProperty::GetAttributes() {
    return {paMultiSelect, paValueList, paDialog, paRevertable};
}

void TColorProperty::Edit() {
    const auto Was = static_cast<TColor>(GetOrdValue());
    TColorDialog Dialog(nullptr);
    Dialog.SetColor(Was);
    if (!Dialog.Execute()) return;
    // The dialog works in plain red, green and blue: OK on the colour it
    // was shown keeps a system colour such as clBtnFace, which would
    // otherwise stop following the desktop's scheme.
    if (Dialog.GetColor() == ColorToRGB(Was)) return;
    SetOrdValue(Dialog.GetColor());
}

String TColorProperty::GetValueAt(int Index) const {
    const auto Color = static_cast<TColor>(GetOrdValueAt(Index));
    String Name;
    if (ColorToIdent(Color, Name)) return Name;
    return Format("$%.8X", static_cast<unsigned>(static_cast<std::uint32_t>(Color)));
}

void TColorProperty::GetValues(const TGetStrProc& Proc) {
    GetColorValues(Proc);
}

void TColorProperty::SetValue(const String& Value) {
    const String Text = Trim(Value);
    TColor Color = 0;
    if (IdentToColor(Text, Color)) return SetOrdValue(Color);
    // Names typed in another case still name their colour.
    String Found;
    GetColorValues([&](const String& Name) {
        if (Found.empty() && SameText(Name, Text)) Found = Name;
    });
    if (!Found.empty() && IdentToColor(Found, Color)) return SetOrdValue(Color);
    long long Number = 0;
    // A colour is 32 bits, written either way: "$80000010" or -2147483632.
    if (!TryStrToInt64(Text, Number) || Number < INT32_MIN || Number > UINT32_MAX)
        InvalidValue(Value);
    SetOrdValue(static_cast<TColor>(static_cast<std::uint32_t>(Number)));
}

} // namespace folio
