#include "samples/Ccalendr.h"
#include "samples/Cgauges.h"
#include "samples/Cgrid.h"
#include "samples/Perfgrap.h"

#include "framework/core/FormFiles.h"
#include "framework/core/FormText.h"
#include "framework/core/Streams.h"
#include "framework/core/Writer.h"
#include "framework/ui/forms/Form.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace folio;

namespace {

String Text(TComponent* Root) {
    TWriter Writer;
    return FormToText(Writer.WriteRoot(Root));
}

struct TSampleCase {
    const char* ClassName;
    std::function<void(TComponent*)> Change;
};

const TSampleCase Samples[] = {
    {"TCCalendar",
     [](TComponent* C) {
         auto* X = static_cast<TCCalendar*>(C);
         X->SetStartOfWeek(7);
         X->SetReadOnly(true);
     }},
    {"TCColorGrid",
     [](TComponent* C) {
         auto* X = static_cast<TCColorGrid*>(C);
         X->SetGridOrdering(go8x2);
         X->SetForegroundIndex(5);
         X->SetBackgroundIndex(9);
         X->EnableBackground(false);
     }},
    {"TCGauge",
     [](TComponent* C) {
         auto* X = static_cast<TCGauge*>(C);
         // A range wholly above the default one: its minimum is read while
         // the maximum is still the default.
         X->SetMaxValue(300);
         X->SetMinValue(200);
         X->SetProgress(250);
         X->SetKind(gkPie);
         X->SetForeColor(clNavy);
     }},
    {"TPerformanceGraph",
     [](TComponent* C) {
         auto* X = static_cast<TPerformanceGraph*>(C);
         X->SetKind(pgBar);
         X->SetGridSize(20);
         X->SetScale(500);
         X->SetBackColor(0x102030);
     }},
};

class SampleForm : public testing::TestWithParam<TSampleCase> {};

TEST_P(SampleForm, WritesWhatDiffersFromTheDeclaredDefaultsAndReadsItBack) {
    TForm Form(nullptr);
    Form.SetName("Form1");
    TComponent* Control = CreateComponent(GetParam().ClassName, &Form);
    Control->SetName("Sample1");
    Control->SetParentComponent(&Form);

    // Fresh from its constructor, a control writes an ordinal property
    // exactly when it differs from the declared default.
    const String Fresh = Text(&Form);
    for (const TPropInfo* P : Control->ClassInfo().PublishedProperties()) {
        if (!P->IsOrdinal() || !P->Default || !P->IsStored(*Control)) continue;
        const bool Written = Fresh.find("\n    " + P->Name + " = ") != String::npos;
        EXPECT_EQ(Written, !P->HasDefaultValue(*Control)) << P->Name << "\n" << Fresh;
    }

    GetParam().Change(Control);
    const String Changed = Text(&Form);
    TMemoryStream S;
    WriteComponent(S, &Form, nullptr, feBinary);
    S.SetPosition(0);
    TForm Read(nullptr);
    ReadComponent(S, &Read);
    EXPECT_EQ(Text(&Read), Changed);
}

INSTANTIATE_TEST_SUITE_P(Controls, SampleForm, testing::ValuesIn(Samples),
                         [](const auto& Info) { return String(Info.param.ClassName); });

} // namespace
