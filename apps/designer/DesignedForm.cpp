#include "DesignedForm.h"

#include "framework/core/AtomicFile.h"
#include "framework/core/Collection.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"

namespace designer {

using namespace folio;

namespace {

std::unique_ptr<TForm> MakeDesignForm(IDesigner* Designer) {
    auto Form = std::make_unique<TForm>(nullptr);
    // Marked before reading, so that every component read is marked too and
    // events keep their handler names.
    Form->SetDesigning(true);
    Form->SetDesigner(Designer);
    return Form;
}

// Reads Tree, whose root class the designer does not know, into a plain
// form: the root is renamed to TForm on the way.
TDesignedForm ReadTree(TFormObject Tree, IDesigner* Designer) {
    TDesignedForm Result;
    Result.RootClassName = Tree.ClassName;
    Tree.ClassName = TForm::StaticClassInfo().Name;
    TMemoryStream Bytes;
    WriteFormObject(Tree, Bytes, feBinary);
    Bytes.SetPosition(0);
    Result.Form = MakeDesignForm(Designer);
    ReadComponent(Bytes, Result.Form.get());
    return Result;
}

void LoadSnapshot(TMemoryStream& Bytes, const String& Snapshot) {
    Bytes.Write(Snapshot.data(), static_cast<std::int64_t>(Snapshot.size()));
    Bytes.SetPosition(0);
}

// Reads a snapshot into Root, a form marked as designed.
void ReadSnapshot(const String& Snapshot, TForm& Root) {
    TMemoryStream Bytes;
    LoadSnapshot(Bytes, Snapshot);
    ReadComponent(Bytes, &Root);
}

} // namespace

TDesignedForm ReadDesignedForm(TStream& Stream, IDesigner* Designer) {
    return ReadTree(ReadFormObject(Stream), Designer);
}

TDesignedForm ReadDesignedForm(const String& FileName, IDesigner* Designer) {
    TFileStream File(FileName, fmOpenRead);
    try {
        return ReadDesignedForm(File, Designer);
    } catch (const Exception& E) {
        throw EFormError(FileName + ": " + E.Message());
    }
}

TDesignedForm NewDesignedForm(IDesigner* Designer) {
    TDesignedForm Result;
    Result.Form = MakeDesignForm(Designer);
    Result.Form->SetName("Form1");
    Result.Form->SetCaption("Form1");
    Result.Form->SetBounds(300, 40, 640, 480);
    Result.RootClassName = "TForm1";
    return Result;
}

void WriteDesignedForm(const TDesignedForm& Designed, const String& FileName,
                       TFormEncoding Encoding) {
    TMemoryStream Bytes;
    WriteComponent(Bytes, Designed.Form.get(), nullptr, feBinary);
    Bytes.SetPosition(0);
    TFormObject Tree = ReadFormObject(Bytes);
    Tree.ClassName = Designed.RootClassName;
    // A save that fails half way leaves the file that was there.
    TAtomicFileStream File(FileName);
    WriteFormObject(Tree, File, Encoding);
    File.Commit();
}

String SnapshotForm(TForm& Form) {
    TMemoryStream Bytes;
    WriteComponent(Bytes, &Form, nullptr, feBinary);
    return String(Bytes.Memory(), static_cast<size_t>(Bytes.GetSize()));
}

TFormObject SnapshotTree(const String& Snapshot) {
    TMemoryStream Bytes;
    LoadSnapshot(Bytes, Snapshot);
    return ReadFormObject(Bytes);
}

String TreeSnapshot(const TFormObject& Tree) {
    TMemoryStream Bytes;
    WriteFormObject(Tree, Bytes, feBinary);
    return String(Bytes.Memory(), static_cast<size_t>(Bytes.GetSize()));
}

std::unique_ptr<TForm> RestoreForm(const String& Snapshot, IDesigner* Designer) {
    auto Form = MakeDesignForm(Designer);
    ReadSnapshot(Snapshot, *Form);
    return Form;
}

void RestoreFormInPlace(TForm& Form, const String& Snapshot) {
    const TPoint Place{Form.GetLeft(), Form.GetTop()};
    Form.DestroyComponents();
    // A snapshot holds only what differs from a new form's defaults, so
    // whatever the form had set must go back to them before it is read.
    // The new form takes the form's place first, so that the window does not
    // move, and its name, so that the form is never without one.
    const auto Blank = MakeDesignForm(nullptr);
    Blank->SetName(Form.GetName());
    Blank->SetBounds(Place.X, Place.Y, Blank->GetWidth(), Blank->GetHeight());
    AssignPublished(Form, *Blank);
    // Taking a font makes a form keep its own, while a new form follows the
    // default one; the font is written only when it is the form's own.
    Form.SetParentFont(Blank->GetParentFont());
    for (const TPropInfo* Prop : Form.ClassInfo().PublishedProperties())
        if (Prop->Kind == TTypeKind::tkMethod) Form.SetEventHandlerName(Prop->Name, String());
    ReadSnapshot(Snapshot, Form);
    Form.SetBounds(Place.X, Place.Y, Form.GetWidth(), Form.GetHeight());
}

} // namespace designer
